// A window and the object that answers for it: the object kept in the
// window's GWLP_USERDATA, bound once and looked up by every procedure.
#pragma once

#include <windows.h>

namespace veltrano::shell::win32 {

template <class T> void bind_window(HWND hwnd, T* object) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

template <class T> T* bound_object(HWND hwnd) { return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

// For a window procedure: at WM_NCCREATE the object handed to
// CreateWindowExW is bound; then, and for every later message, the bound
// object, or null for the messages before it.
template <class T> T* window_object(HWND hwnd, UINT msg, LPARAM lp) {
    if (msg == WM_NCCREATE) bind_window(hwnd, static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    return bound_object<T>(hwnd);
}

}  // namespace veltrano::shell::win32
