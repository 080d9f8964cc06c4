// Owners for GDI objects, memory device contexts, accelerator tables and
// menus, on the same template as every other handle; drawing a bitmap
// centred in a rectangle, as a centred picture static does, and a group's
// etched frame with its caption.
#pragma once

#include "platform/win32/unique_handle.h"

namespace veltrano::shell::win32 {

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
    SetBkColor(dc, RGB(255, 255, 255));
    const RECT at{frame.left + 8, frame.top, frame.left + 8 + text.cx + 4, frame.top + text.cy};
    ExtTextOutW(dc, at.left + 2, at.top, ETO_OPAQUE, &at, caption, static_cast<UINT>(length), nullptr);
}

}  // namespace veltrano::shell::win32
