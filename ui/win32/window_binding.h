// A window and the object that answers for it: the object kept in the
// window's GWLP_USERDATA, bound once and looked up by every procedure.
#pragma once

#include <windows.h>

namespace veltrano::ui::win32 {

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

// The window procedure of a class whose object answers its messages: the
// object bound at WM_NCCREATE learns its window there, and gets every
// message from then on.
template <class T, HWND T::*Window, LRESULT (T::*Answer)(UINT, WPARAM, LPARAM)>
LRESULT answer_by_object(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    T* self = window_object<T>(hwnd, msg, lp);
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCCREATE) self->*Window = hwnd;
    return (self->*Answer)(msg, wp, lp);
}

}  // namespace veltrano::ui::win32
