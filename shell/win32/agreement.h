// The terms of use. Agreeing or Esc closes them; not agreeing ends the
// program.
#pragma once

#include "i18n/translate.h"

#include "ui/dialogs.h"
#include "ui/win32/modal_dialog.h"

namespace veltrano::shell::win32 {

class TermsOfUseDialog : public ui::win32::ModalDialog {
public:
    static constexpr int kWidth = 495, kHeight = 428;
    // The window's text: what a screen reader names it by; no title bar shows it.
    static constexpr std::string_view kTitle = i18n::N_("Terms of use");

    explicit TermsOfUseDialog(HINSTANCE instance);

    // Shows the terms modally; how the user left them.
    ui::TermsAnswer show_terms();
    // "Yes, I Agree" and "No, I don't Agree".
    void agree();
    void disagree();

protected:
    void create_controls() override;
    HBRUSH colour_static(HWND control, HDC dc) override;

private:
    ui::TermsAnswer answer_ = ui::TermsAnswer::Closed;
    ui::win32::unique_gdi terms_font_, terms_bold_font_, button_font_;
};

}  // namespace veltrano::shell::win32
