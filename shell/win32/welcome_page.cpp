#include "shell/win32/page_builder.h"

namespace veltrano::shell::win32 {

void build_welcome_page(const PageBuilder& b) {
    HWND calendar = b.add(Page::Welcome, {ControlKind::MonthCalendar, "MonthCalendar1", "", 392, 300, 196, 160});
    EnableWindow(calendar, FALSE);  // it shows today; it is not for picking
}

}  // namespace veltrano::shell::win32
