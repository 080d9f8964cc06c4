// The balloon: one message in a sky-blue balloon with a tail,
// shown after Apply and Undo. It goes away on a click on its body, its
// message or its hint, or on its own after the five seconds its hint promises.
#pragma once

#include "i18n/translate.h"

#include "ui/win32/gdi.h"
#include "ui/win32/modal_dialog.h"

#include <string>

namespace veltrano::shell::win32 {

// The region calls, replaceable so that a test can make each one fail and
// see the balloon fall back to its plain rectangle.
struct RegionCalls {
    HRGN (*polygon)(const POINT*, int, int) = [](const POINT* p, int n, int mode) {
        return CreatePolygonRgn(p, n, mode);
    };
    HRGN (*ellipse)(int, int, int, int) = [](int l, int t, int r, int b) { return CreateEllipticRgn(l, t, r, b); };
    int (*combine)(HRGN, HRGN, HRGN, int) = [](HRGN dst, HRGN a, HRGN b, int mode) {
        return CombineRgn(dst, a, b, mode);
    };
};

// The balloon's outline for a window of that size: an ellipse over the
// upper part and the tail below it. Null when any step fails; the caller
// then keeps its rectangle.
ui::win32::unique_gdi make_balloon_region(int width, int height, const RegionCalls& calls = {});

class BalloonDialog : public ui::win32::ModalDialog {
public:
    static constexpr int kWidth = 415, kHeight = 289;
    // The window's text: what a screen reader names it by; no title bar shows it.
    // TRANSLATORS: the name a screen reader gives the balloon that says the chosen tips were applied
    static constexpr std::string_view kTitle = i18n::N_("Done");
    static constexpr UINT kTimer1Interval = 1000;
    static constexpr int kSecondsShown = 5;

    explicit BalloonDialog(HINSTANCE instance, RegionCalls calls = {});

    // Label1 takes the message, then the balloon stays until it is closed.
    void show_message(const std::string& text);

    // A click on the body, Label1 or StaticText2. Not the window's close
    // event: the balloon only hides, it lives as long as the program.
    void dismiss();
    // Each second (Timer1): the balloon dismisses itself after kSecondsShown.
    void on_second();
    // Timer ticks since the balloon was last shown.
    int ticks_since_shown() const { return ticks_; }

protected:
    void create_controls() override;
    bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    HBRUSH colour_static(HWND control, HDC dc) override;

private:
    RegionCalls calls_;
    int ticks_ = 0;
};

}  // namespace veltrano::shell::win32
