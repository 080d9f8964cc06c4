#include "shell/win32/balloon.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "shell/startup_stages.h"
#include "shell/win32/window_classes.h"
#include "ui/win32/dpi.h"
#include "ui/win32/palette.h"

namespace veltrano::shell::win32 {

using namespace ui::win32;

namespace {

constexpr COLORREF kSkyBlue = RGB(166, 202, 240);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr UINT_PTR kTimer1 = 1;

}  // namespace

unique_gdi make_balloon_region(int width, int height, const RegionCalls& calls) {
    const POINT tail[] = {{px(200), px(258)}, {px(257), px(176)}, {px(307), px(176)}};
    unique_gdi triangle(calls.polygon(tail, 3, WINDING));
    if (!triangle) return {};
    unique_gdi shape(calls.ellipse(0, px(60), px(width - 30), px(height - 90)));
    if (!shape) return {};
    // The union lands in the ellipse itself; the triangle is ours to free.
    if (calls.combine(static_cast<HRGN>(shape.get()), static_cast<HRGN>(shape.get()),
                      static_cast<HRGN>(triangle.get()), RGN_OR) == ERROR)
        return {};
    return shape;
}

BalloonDialog::BalloonDialog(HINSTANCE instance, RegionCalls calls)
    : ModalDialog(instance, kBalloonClass, kWidth, kHeight, kSkyBlue, kTitle), calls_(calls) {}

void BalloonDialog::create_controls() {
    auto close = [this] { dismiss(); };
    // Clickable statics (SS_NOTIFY) so a click on the message closes the
    // balloon as a click on the body does. They sit inside the ellipse,
    // where it is wide enough for a line of text.
    HWND label = controls().create(
        hwnd(), {ControlKind::LinkText, "Label1", i18n::tr("All selected tips have been applied on your computer."), 48, 84,
                 290, 42, close},
        font());
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold_font()), FALSE);
    controls().create(hwnd(),
                      {ControlKind::LinkText, "StaticText2",
                       i18n::tr("If you want to close this balloon, click any where on its body. !"), 28, 134, 330, 14, close},
                      font());
    controls().create(hwnd(),
                      {ControlKind::Label, "StaticText1",
                       i18n::tr("This balloon will automatically close in 5 seconds"), 62,
                       160, 262, 14},
                      font());

    // Once SetWindowRgn takes the region it is the window's; on any failure
    // the window simply stays the rectangle it was made as.
    unique_gdi region = make_balloon_region(kWidth, kHeight, calls_);
    if (region && SetWindowRgn(hwnd(), static_cast<HRGN>(region.get()), TRUE)) (void)region.release();
}

void BalloonDialog::show_message(const std::string& text) {
    SetWindowTextW(controls().get("Label1"), platform::win32::to_utf16(text).c_str());
    // The promise is five seconds from the moment the user sees it, so the
    // count starts afresh with every showing.
    ticks_ = 0;
    SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
    show_modal();
    KillTimer(hwnd(), kTimer1);
}

void BalloonDialog::dismiss() { end_modal(); }

void BalloonDialog::on_second() {
    if (++ticks_ >= kSecondsShown) dismiss();
}

bool BalloonDialog::handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_SHOWWINDOW:
        if (wp) {
            VELTRANO_STAGE("balloon shows");
            VELTRANO_STAGES_WRITE();
        }
        return false;
    case WM_LBUTTONUP:
        dismiss();
        result = 0;
        return true;
    case WM_TIMER:
        if (wp != kTimer1) return false;
        on_second();
        result = 0;
        return true;
    }
    return false;
}

HBRUSH BalloonDialog::colour_static(HWND control, HDC dc) {
    if (controls().name_of(control) == "StaticText1") SetTextColor(dc, palette().text(kBlue));
    return ModalDialog::colour_static(control, dc);
}

}  // namespace veltrano::shell::win32
