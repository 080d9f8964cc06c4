// The process monitor: the grid over most of the 600 x 489 group box, its
// four buttons below it, and the grid's pop-up menu, which offers the same
// four actions with their shortcuts.
#include "procmon/win32/procmon_page.h"

#include <vector>

namespace veltrano::shell::win32 {

namespace {

using procmon::ProcessMonitor;

// Each action is a button and an item of the grid's menu.
struct Action {
    const char* button;
    const char* button_caption;
    const char* item;
    const char* item_caption;
    char shortcut;
    void (ProcessMonitor::*click)();
};

constexpr Action kActions[] = {
    {"BitBtn20", "Process's list", "Refresh1", "Processes", '1', &ProcessMonitor::Refresh1Click},
    {"BitBtn21", "Module's list", "Modules1", "Modules", '2', &ProcessMonitor::Modules1Click},
    {"BitBtn22", "Thread's List", "Threads1", "Threads", '3', &ProcessMonitor::Threads1Click},
    {"BitBtn19", "Kill Selected Process", "CloseProcess1", "Close Process", 'C', &ProcessMonitor::CloseProcess1Click},
};

constexpr int kLeft = 8, kWidth = 584, kGridTop = 18, kGridHeight = 424;
constexpr int kButtonTop = 452, kButtonWidth = 140, kButtonHeight = 28, kButtonGap = 8;

}  // namespace

void build_process_monitor(const PageBuilder& b, ProcessMonitor& logic) {
    HWND grid = b.add({ControlKind::Grid, std::string(procmon::kGrid), "", kLeft, kGridTop, kWidth, kGridHeight});
    if (GridView* view = b.controls.grid(procmon::kGrid))
        view->on_column_click = [&logic](int column) { logic.GridColumnClick(column); };
    std::vector<HWND> menu;
    int left = kLeft;
    for (const Action& action : kActions) {
        const auto click = [&logic, fn = action.click] { (logic.*fn)(); };
        b.add({ControlKind::Button, action.button, action.button_caption, left, kButtonTop, kButtonWidth,
               kButtonHeight, click});
        left += kButtonWidth + kButtonGap;
        // The kill stands apart from the lists in the menu.
        if (action.click == &ProcessMonitor::CloseProcess1Click)
            menu.push_back(b.add({ControlKind::MenuItem, "N1", "-", 0, 0, 0, 0}));
        ControlDecl item{ControlKind::MenuItem, action.item, action.item_caption, 0, 0, 0, 0, click};
        item.shortcut = action.shortcut;
        menu.push_back(b.add(item));
    }
    b.controls.set_popup_menu(grid, std::move(menu));
}

}  // namespace veltrano::shell::win32
