// What a screen reader reads of a sheet: one child per item, a label by its
// text, a picture as a graphic, a frame as a group by its caption, each
// where it is drawn. The sheet answers WM_GETOBJECT with it; oleacc is
// loaded only when a reader asks, so the program never imports it.
#pragma once

#include "ui/win32/sheet.h"

#include <oleacc.h>
#include <windows.h>

namespace veltrano::ui::win32 {

// A new object over the sheet's window, with one reference for the caller.
// It reads the sheet at every call and answers "not connected" once the
// window is gone, however long a reader holds it.
IAccessible* make_sheet_accessible(HWND sheet);

// The answer to WM_GETOBJECT for the client area; 0 when oleacc is missing.
LRESULT answer_sheet_object(HWND sheet, WPARAM wp);

}  // namespace veltrano::ui::win32
