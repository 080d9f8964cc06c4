// Sizes grow with the screen's DPI. Every position and size a page declares
// is in pixels at 96 DPI (the "small fonts" a layout is drawn for); the
// window that builds them turns them into pixels at the system's DPI here,
// so at 96 DPI nothing moves and at 120 or 144 DPI everything grows by 1.25
// or 1.5 together with the font.
#pragma once

namespace veltrano::ui {

inline constexpr int kBaseDpi = 96;

// value * dpi / 96, rounded half away from zero as MulDiv does.
constexpr int scale(int value, int dpi) {
    const long long product = static_cast<long long>(value) * dpi;
    const long long half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

// A font's height (negative: the character's, as CreateFont takes it) at a
// DPI, rounded toward zero: a caption never grows more than the place laid
// out for it, which grows by the exact factor. Rounded to the nearer pixel,
// MS Sans Serif's -11 became -14 at 120 DPI (1.27x) and its text outgrew the
// check boxes that hold it at 96 DPI with a few pixels to spare.
constexpr int scale_font(int height, int dpi) { return static_cast<int>(static_cast<long long>(height) * dpi / kBaseDpi); }

struct Box {
    int left, top, width, height;
};

// Scaled by its edges rather than its size, so boxes that touch or stand
// apart at 96 DPI still touch or stand apart at any DPI; the size is then
// within a pixel of the exact one.
constexpr Box scale(const Box& box, int dpi) {
    const int left = scale(box.left, dpi), top = scale(box.top, dpi);
    return {left, top, scale(box.left + box.width, dpi) - left, scale(box.top + box.height, dpi) - top};
}

}  // namespace veltrano::ui
