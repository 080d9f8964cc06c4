// The application's error handling: an error that escapes a handler is shown
// once in a message box and the program goes on. A command, a notification
// and a timer tick reach their handler through enter_handler, in the kit
// (controls.cpp, grid_view.cpp); the windows' own steps (creation, close,
// navigation) through run_guarded. No exception crosses into Windows.
#pragma once

#include "platform/win32/text.h"

#include <windows.h>

#include <exception>

namespace veltrano::ui::win32 {

inline void show_error_box(HWND owner, const std::string& message) {
    MessageBoxW(owner, platform::win32::to_utf16(message).c_str(), L"Veltrano", MB_OK | MB_ICONERROR);
}

template <class Fn> void run_guarded(HWND owner, Fn&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        show_error_box(owner, e.what());
    }
}

// The door of every control's handler: the box is owned by the control's
// top-level window.
template <class Fn> void enter_handler(HWND control, Fn&& fn) {
    run_guarded(GetAncestor(control, GA_ROOT), fn);
}

}  // namespace veltrano::ui::win32
