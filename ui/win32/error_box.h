// The application's error handling: an error that escapes a handler is shown
// once in a message box and the program goes on. Every handler runs here.
#pragma once

#include "platform/win32/text.h"

#include <windows.h>

#include <exception>

namespace veltrano::shell::win32 {

inline void show_error_box(HWND owner, const std::string& message) {
    MessageBoxW(owner, platform::win32::to_utf16(message).c_str(), L"Veltrano", MB_OK | MB_ICONERROR);
}

template <class Fn> void run_guarded(HWND owner, Fn&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        show_error_box(owner, e.what());
    }
}

}  // namespace veltrano::shell::win32
