// Owners for GDI objects, memory device contexts, accelerator tables and
// menus, on the same template as every other handle; drawing a bitmap
// centred in a rectangle, as a centred picture static does, and a group's
// etched frame with its caption.
#pragma once

#include "platform/win32/unique_handle.h"
#include "ui/win32/dpi.h"
#include "ui/win32/palette.h"

namespace veltrano::ui::win32 {

using platform::win32::closed_by;
using unique_gdi = platform::win32::unique_handle<closed_by<HGDIOBJ, DeleteObject>>;
// A memory device context of our own making (CreateCompatibleDC).
using unique_dc = platform::win32::unique_handle<closed_by<HDC, DeleteDC>>;
using unique_accelerators = platform::win32::unique_handle<closed_by<HACCEL, DestroyAcceleratorTable>>;
using unique_menu = platform::win32::unique_handle<closed_by<HMENU, DestroyMenu>>;
// An icon made for us (SHGetFileInfo's), never a shared one from LoadIcon.
using unique_icon = platform::win32::unique_handle<closed_by<HICON, DestroyIcon>>;

inline void draw_centred(HDC dc, HBITMAP picture, const RECT& in) {
    if (!picture) return;
    BITMAP info{};
    GetObjectW(picture, sizeof info, &info);
    const unique_dc memory(CreateCompatibleDC(dc));
    HGDIOBJ old = SelectObject(memory.get(), picture);
    BitBlt(dc, in.left + (in.right - in.left - info.bmWidth) / 2, in.top + (in.bottom - in.top - info.bmHeight) / 2,
           info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
    SelectObject(memory.get(), old);
}

// A copy of a bitmap at the screen's DPI, smoothed; null when it cannot be
// made.
inline unique_gdi scaled_bitmap(HBITMAP picture) {
    BITMAP info{};
    if (!GetObjectW(picture, sizeof info, &info)) return {};
    const int width = px(info.bmWidth), height = px(info.bmHeight);
    HDC screen = GetDC(nullptr);
    if (!screen) return {};
    unique_gdi scaled(CreateCompatibleBitmap(screen, width, height));
    const unique_dc from(CreateCompatibleDC(screen)), to(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (!scaled || !from || !to) return {};
    HGDIOBJ old_from = SelectObject(from.get(), picture);
    HGDIOBJ old_to = SelectObject(to.get(), scaled.get());
    // HALFTONE blends the pixels a stretch merges; it wants the brush origin
    // set after it.
    SetStretchBltMode(to.get(), HALFTONE);
    SetBrushOrgEx(to.get(), 0, 0, nullptr);
    StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(to.get(), old_to);
    SelectObject(from.get(), old_from);
    return scaled;
}

// A group box's look in `frame`: the etched line half the caption's height
// down, broken by the caption on an opaque white ground. The DC's font and
// text colour are the caption's.
inline void draw_group_frame(HDC dc, const RECT& frame, const wchar_t* caption, int length) {
    SIZE text{0, 0};
    GetTextExtentPoint32W(dc, caption, length, &text);
    RECT line = frame;
    line.top += text.cy / 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_RECT);
    if (length <= 0) return;
    SetBkColor(dc, palette().ground());
    const RECT at{frame.left + px(8), frame.top, frame.left + px(8) + text.cx + px(4), frame.top + text.cy};
    ExtTextOutW(dc, at.left + px(2), at.top, ETO_OPAQUE, &at, caption, static_cast<UINT>(length), nullptr);
}

}  // namespace veltrano::ui::win32
