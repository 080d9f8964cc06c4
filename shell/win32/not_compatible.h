// The notice shown instead of a page on Windows outside the NT family.
#pragma once

#include "i18n/translate.h"

#include "ui/win32/modal_dialog.h"

namespace veltrano::shell::win32 {

class NotCompatibleDialog : public ui::win32::ModalDialog {
public:
    explicit NotCompatibleDialog(HINSTANCE instance);
    // The window's text: what a screen reader names it by; no title bar shows it.
    static constexpr std::string_view kTitle = i18n::N_("Not compatible");

protected:
    void create_controls() override;
};

}  // namespace veltrano::shell::win32
