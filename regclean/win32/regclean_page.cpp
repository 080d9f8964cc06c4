// The registry analyser and cleaner inside the 600 x 489 group box: the
// grid of problematic entries, the description of the selected one with the
// scan's progress below it, and the three buttons along the bottom.
#include "regclean/win32/regclean_page.h"

namespace veltrano::shell::win32 {

void build_regclean_page(const PageBuilder& b, regclean::RegCleanPage& logic) {
    HWND entries = b.add({ControlKind::Panel, "GroupBox15", "Problematic entries", 8, 16, 584, 270});
    // Several rows at once: they are removed together.
    ControlDecl grid{ControlKind::Grid, std::string(regclean::kGrid), "", 8, 18, 568, 244};
    grid.multi_select = true;
    Controls& controls = b.controls;  // outlives the builder
    grid.on_click = [&logic, &controls] {
        if (GridView* view = controls.grid(regclean::kGrid)) logic.StringGrid1SelectCell(view->current_row());
    };
    b.add_to(entries, grid);
    if (GridView* view = controls.grid(regclean::kGrid)) {
        view->on_delete_key = [&logic] { logic.Button2Click(); };
        view->on_column_click = [&logic](int column) { logic.StringGrid1ColumnClick(column); };
    }

    HWND selected = b.add({ControlKind::Panel, "GroupBox16", "Selected Entry", 8, 292, 584, 146});
    b.add_to(selected, {ControlKind::ReadOnlyText, std::string(regclean::kDescription), "", 8, 18, 568, 100});
    // Below the description, where the scan says how far it got.
    b.add_to(selected, {ControlKind::Label, std::string(regclean::kProgress), "Registry path is: ", 8, 122, 568, 16});
    b.add({ControlKind::Label, "Label30", "", 8, 444, 8, 14});

    b.add({ControlKind::Button, std::string(regclean::kStartButton), "Start Registry Scan", 24, 448, 160, 28,
           [&logic] { logic.Button1Click(); }});
    b.add({ControlKind::Button, std::string(regclean::kRemoveButton), "Remove Selected Entry", 220, 448, 160, 28,
           [&logic] { logic.Button2Click(); }});
    b.add({ControlKind::Button, std::string(regclean::kStopButton), "Stop Registry Scan", 416, 448, 160, 28,
           [&logic] { logic.Button3Click(); }});
}

}  // namespace veltrano::shell::win32
