#include "shell/win32/agreement.h"

#include "i18n/translate.h"
#include "shell/web_addresses.h"
#include "shell/win32/window_classes.h"
#include "ui/win32/palette.h"

#include <string>

namespace veltrano::shell::win32 {

using namespace ui::win32;

namespace {

constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);
// Stands in for the window's picture: the caption colour behind it is too
// dark to read dark text on.
constexpr COLORREF kParchment = RGB(236, 241, 250);

struct Paragraph {
    const char* name;
    const char* text;
    int top, height;
    bool bold;
    COLORREF colour;
};

constexpr Paragraph kParagraphs[] = {
    {"Label1",
     i18n::N_(" Veltrano software comes with no warranty of any kind. Veltrano has been developed in good faith but makes no "
     "claim of its suitability for your specific computing needs. If you have bought this software, you would get "
     "email support."),
     12, 66, false, RGB(0, 0, 0)},
    {"Label2",
     i18n::N_("You must agree to these terms and conditions before you can install or use the software. If you continue to "
     "use this software, it is assumed that  you have understood the risks involved and won't hold me liable in any "
     "manner direct or indirect."),
     84, 84, true, RGB(0, 0, 0)},
    {"Label3",
     i18n::N_("Most of the tuneup acts modify your registry and as such have potential for causing trouble. Even though all "
     "of them have been tested by me, I still can not say that they would work flawlessly. Hence use it at your own "
     "risk."),
     174, 66, false, kMaroon},
    {"Label5",
     i18n::N_("Before using Veltrano,you must know how to take Registry backup and in case of fatal crash, how to  restore "
     "it. I am not responsible for any damage caused by this software. Its provided as it is in good faith."),
     246, 66, false, kMaroon},
};

// The authorship line names the web site the build points at.
std::string authorship() {
    // TRANSLATORS: {0} is the vendor's web site, {1} the feedback mail address
    return i18n::trf("Veltrano 3.1 by the Veltrano developers, all rights reserved. Web: {0}  Feedback: {1}",
                     kVendorSite, "feedback@veltrano.example");
}

}  // namespace

TermsOfUseDialog::TermsOfUseDialog(HINSTANCE instance)
    : ModalDialog(instance, kTermsOfUseClass, kWidth, kHeight, kParchment, kTitle) {}

void TermsOfUseDialog::create_controls() {
    terms_font_.reset(make_ui_font(-13, FW_NORMAL));
    terms_bold_font_.reset(make_ui_font(-13, FW_BOLD));
    button_font_.reset(make_ui_font(-11, FW_BOLD));
    for (const Paragraph& p : kParagraphs) {
        // A plain static wraps at word boundaries by itself.
        HWND label = controls().create(hwnd(), {ControlKind::Label, p.name, i18n::tr(p.text), 16, p.top, kWidth - 32, p.height},
                                       font());
        SendMessageW(label, WM_SETFONT,
                     reinterpret_cast<WPARAM>(p.bold ? terms_bold_font_.get() : terms_font_.get()), FALSE);
        controls().set_text_colour(label, p.colour);
    }
    HWND rights = controls().create(hwnd(), {ControlKind::Label, "Label4", authorship(), 16, 318, kWidth - 32, 40},
                                    font());
    SendMessageW(rights, WM_SETFONT, reinterpret_cast<WPARAM>(terms_font_.get()), FALSE);
    controls().set_text_colour(rights, kNavy);
    const auto add_button = [&](const char* name, const std::string& caption, int left, std::function<void()> click) {
        HWND button = controls().create(hwnd(), {ControlKind::Button, name, caption, left, 378, 170, 32, click},
                                        font());
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(button_font_.get()), FALSE);
    };
    add_button("BitBtn1", i18n::tr("&Yes, I Agree"), 60, [this] { agree(); });
    add_button("BitBtn2", i18n::tr("&No, I don't Agree"), 265, [this] { disagree(); });
    // Esc closes the terms as any dialog (ModalDialog): it once answered
    // "No" and ended the program on a stray key.
}

ui::TermsAnswer TermsOfUseDialog::show_terms() {
    answer_ = ui::TermsAnswer::Closed;
    show_modal();
    return answer_;
}

void TermsOfUseDialog::agree() {
    answer_ = ui::TermsAnswer::Agreed;
    end_modal();
}

void TermsOfUseDialog::disagree() {
    answer_ = ui::TermsAnswer::Declined;
    end_modal();
}

HBRUSH TermsOfUseDialog::colour_static(HWND control, HDC dc) {
    if (auto colour = controls().text_colour(control)) SetTextColor(dc, palette().text(*colour));
    return ModalDialog::colour_static(control, dc);
}

}  // namespace veltrano::shell::win32
