#include "shell/win32/not_compatible.h"

#include "i18n/translate.h"
#include "shell/win32/window_classes.h"

namespace veltrano::shell::win32 {

using namespace ui::win32;

NotCompatibleDialog::NotCompatibleDialog(HINSTANCE instance)
    : ModalDialog(instance, kNotCompatibleClass, 436, 127, GetSysColor(COLOR_ACTIVECAPTION),
                  kTitle) {}

void NotCompatibleDialog::create_controls() {
    HWND label = controls().create(
        hwnd(),
        {ControlKind::Label, "Label1",
         i18n::tr("Veltrano software has been designed for Windows XP and it will not work well with other operating system, "
         "specially Windows 95 and Window 98. You are trying to run it on a system is does not appear to be Windows "
         "XP."),
         13, 13, 410, 60},
        font());
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold_font()), FALSE);
    HWND cancel = controls().create(hwnd(), {ControlKind::Button, "BitBtn1", i18n::tr("Cancel"), 180, 85, 75, 25,
                                             [this] { end_modal(); }},
                                    font());
    // Escape answers the standard cancel button, as it would on any dialog.
    SetWindowLongPtrW(cancel, GWLP_ID, IDCANCEL);
}

}  // namespace veltrano::shell::win32
