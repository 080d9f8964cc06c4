// What a screen reader can say for each control, found as Windows' standard
// proxies find it: a button, a check box or a toolbar by its own text; a
// list, edit, combo box, calendar or track bar by the static label just
// before it in z-order (its own text is its content, not its name).
#pragma once

#include "driver/driver.h"

#include <windows.h>

#include <string>
#include <vector>

namespace veltrano::driver {

// A control the user works rather than reads: buttons of every kind (not a
// group box's frame), edits, lists, combo boxes, list and tree views,
// toolbars, track bars, calendars, and statics that answer clicks.
bool is_interactive(HWND control);

// Its name as a screen reader would say it, mnemonics' '&' left out; empty
// when it has none.
std::wstring accessible_name(HWND control);

// The interactive controls below `top` that have no name, of those shown
// whenever `top` is: a dialog still hidden is walked as it would show.
std::vector<ControlInfo> unnamed_controls(HWND top);

}  // namespace veltrano::driver
