#include "shell/win32/win32_dialogs.h"

#include "core/error.h"

namespace veltrano::shell::win32 {

Win32Dialogs::Win32Dialogs(HINSTANCE instance) : form3_(instance) {}

bool Win32Dialogs::create(HWND owner) { return form3_.create(owner); }

void Win32Dialogs::show_terms_of_use() { throw core::VeltranoError("The terms of use are not available."); }

void Win32Dialogs::show_not_compatible() { form3_.show_modal(); }

void Win32Dialogs::show_help(const std::string&) { throw core::VeltranoError("The help viewer is not available."); }

void Win32Dialogs::show_balloon(const std::string&) {}

}  // namespace veltrano::shell::win32
