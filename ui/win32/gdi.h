// Owners for GDI objects, memory device contexts, accelerator tables and
// menus, on the same template as every other handle; and drawing a bitmap
// centred in a rectangle, as a centred picture static does.
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

}  // namespace veltrano::shell::win32
