// The system's DPI, read once at start: a program that declares itself
// DPI-aware is not stretched by Windows, and the DPI of the session does not
// change while it runs. px() is what every builder and painter of a
// declared position goes through.
#pragma once

#include "ui/scale.h"

#include <windows.h>

namespace veltrano::ui::win32 {

inline int screen_dpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int read = screen ? GetDeviceCaps(screen, LOGPIXELSY) : ui::kBaseDpi;
        if (screen) ReleaseDC(nullptr, screen);
        return read > 0 ? read : ui::kBaseDpi;
    }();
    return dpi;
}

// A length at 96 DPI in pixels at the screen's DPI.
inline int px(int value) { return ui::scale(value, screen_dpi()); }

// A font's height at 96 DPI at the screen's (ui::scale_font).
inline int font_px(int height) { return ui::scale_font(height, screen_dpi()); }

inline RECT px(const RECT& r) {
    const ui::Box box = ui::scale(ui::Box{r.left, r.top, r.right - r.left, r.bottom - r.top}, screen_dpi());
    return {box.left, box.top, box.left + box.width, box.top + box.height};
}

}  // namespace veltrano::ui::win32
