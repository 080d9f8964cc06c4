// The palette the screen is painted with now: the system's colours while
// High Contrast is on (SPI_GETHIGHCONTRAST), ours otherwise. Read at the
// first paint and again when Windows says its colours or settings changed.
#pragma once

#include "ui/palette.h"

#include <windows.h>

namespace veltrano::ui::win32 {

inline ui::Palette read_palette() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    ui::Palette palette;
    palette.high_contrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                            (contrast.dwFlags & HCF_HIGHCONTRASTON);
    palette.system = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_HIGHLIGHT),
                      GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HOTLIGHT)};
    return palette;
}

// The one palette of the process: the screen is one.
inline ui::Palette& current_palette_store() {
    static ui::Palette palette = read_palette();
    return palette;
}

inline const ui::Palette& palette() { return current_palette_store(); }

// After WM_SYSCOLORCHANGE or WM_SETTINGCHANGE; the caller repaints.
inline void reread_palette() { current_palette_store() = read_palette(); }

// The ground behind texts and pages: a stock or system brush, never ours
// to delete.
inline HBRUSH ground_brush() {
    return palette().high_contrast ? GetSysColorBrush(COLOR_WINDOW) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

}  // namespace veltrano::ui::win32
