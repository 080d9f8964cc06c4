// The registry analyser and cleaner inside the 600 x 489 group box: the
// grid of problematic entries with its menu, the description of the
// selected one with the scan's progress below it, and the five buttons
// along the bottom. "Ignored..." opens a small window of the ignore list,
// "Restore..." one of the backups of removals.
#include "regclean/win32/regclean_page.h"
#include "regclean/win32/restore_window.h"
#include "ui/win32/modal_dialog.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"

#include <memory>
#include <string>
#include <vector>

namespace veltrano::regclean::win32 {

using namespace ui::win32;

namespace {

using platform::win32::to_utf16;

// The ignore list, one entry a line, and the button that takes the chosen
// one off it. Escape or "Close" closes it.
class IgnoredWindow : public ModalDialog {
public:
    IgnoredWindow(HINSTANCE instance, regclean::RegCleanPage& logic)
        : ModalDialog(instance, L"Ignored entries", 520, 300, GetSysColor(COLOR_BTNFACE), i18n::N_("Ignored entries")), logic_(logic) {}

    void open(HWND owner) {
        if (!hwnd() && !create(owner)) return;
        fill();
        show_modal();
    }

protected:
    void create_controls() override {
        controls().create(hwnd(), {ControlKind::Label, "LabelIgnored",
                                   i18n::tr("The registry scans leave out these entries:"), 12, 12, 496, 16},
                          font());
        list_ = controls().create(hwnd(), {ControlKind::ListBox, "ListIgnored", "", 12, 32, 496, 220}, font());
        controls().create(hwnd(),
                          {ControlKind::Button, "ButtonUnignore", i18n::tr("&Take off the list"), 12, 262, 140, 26,
                           [this] { take_off(); }},
                          font());
        HWND close = controls().create(hwnd(),
                                       {ControlKind::Button, "ButtonCloseIgnored", i18n::tr("Close"), 428, 262, 80, 26,
                                        [this] { end_modal(); }},
                                       font());
        SetWindowLongPtrW(close, GWLP_ID, IDCANCEL);
    }

private:
    // What a screen reader says when it opens; the language is set once at
    // start, before any window.
    void fill() {
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        for (const std::string& line : logic_.ignored_entries())
            SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(to_utf16(line).c_str()));
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
        EnableWindow(controls().get("ButtonUnignore"), SendMessageW(list_, LB_GETCOUNT, 0, 0) > 0);
        SetFocus(list_);
    }
    void take_off() {
        const LRESULT chosen = SendMessageW(list_, LB_GETCURSEL, 0, 0);
        if (chosen == LB_ERR) return;
        logic_.unignore({static_cast<std::size_t>(chosen)});
        fill();
        const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
        if (count > 0) SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(std::min<LRESULT>(chosen, count - 1)), 0);
    }

    regclean::RegCleanPage& logic_;
    HWND list_ = nullptr;
};

}  // namespace

void build_regclean_page(const PageBuilder& b, regclean::RegCleanPage& logic) {
    HWND entries = b.add({ControlKind::Panel, "GroupBox15", i18n::tr("Problematic entries"), 8, 16, 584, 270});
    // A screen reader names a list, edit or combo box by the label right
    // before it; the frame's caption says it on screen, so these labels
    // take no room.
    b.add_to(entries, {ControlKind::Label, "LabelEntries", i18n::tr("Problematic entries"), 8, 18, 0, 0});
    // Several rows at once: they are removed together.
    ControlDecl grid{ControlKind::Grid, std::string(regclean::kGrid), "", 8, 18, 568, 244};
    grid.multi_select = true;
    Controls& controls = b.controls;  // outlives the builder
    grid.on_click = [&logic, &controls] {
        if (GridView* view = controls.grid(regclean::kGrid)) logic.describe_row(view->current_row());
    };
    HWND grid_window = b.add_to(entries, grid);
    if (GridView* view = controls.grid(regclean::kGrid)) {
        view->on_delete_key = [&logic] { logic.remove_selected_entries(); };
        view->on_column_click = [&logic](int column) { logic.sort_by_column(column); };
    }
    b.controls.set_popup_menu(
        grid_window,
        {b.add({ControlKind::MenuItem, std::string(regclean::kIgnoreEntryItem), i18n::tr("Ignore this entry"), 0, 0,
                0, 0, [&logic] { logic.ignore_selected_entries(); }}),
         b.add({ControlKind::MenuItem, std::string(regclean::kIgnoreKeyItem),
                i18n::tr("Ignore everything below this key"), 0, 0, 0, 0,
                [&logic] { logic.ignore_selected_keys(); }})});

    HWND selected = b.add({ControlKind::Panel, "GroupBox16", i18n::tr("Selected Entry"), 8, 292, 584, 146});
    b.add_to(selected, {ControlKind::Label, "LabelSelectedEntry", i18n::tr("Selected Entry"), 8, 18, 0, 0});
    b.add_to(selected, {ControlKind::ReadOnlyText, std::string(regclean::kDescription), "", 8, 18, 568, 100});
    // Below the description, where the scan says how far it got.
    b.add_to(selected,
             // TRANSLATORS: the registry cleaner's status line before the first scan
             {ControlKind::Label, std::string(regclean::kProgress), i18n::tr("Registry path is: "), 8, 122, 568, 16});
    b.add({ControlKind::Label, "Label30", "", 8, 444, 8, 14});

    b.add({ControlKind::Button, std::string(regclean::kStartButton), i18n::tr("&Start Registry Scan"), 16, 448, 130, 28,
           [&logic] { logic.start_scan(); }});
    b.add({ControlKind::Button, std::string(regclean::kRemoveButton), i18n::tr("&Remove Selected Entry"), 160, 448, 130,
           28, [&logic] { logic.remove_selected_entries(); }});
    b.add({ControlKind::Button, std::string(regclean::kStopButton), i18n::tr("S&top Registry Scan"), 304, 448, 130, 28,
           [&logic] { logic.stop_scan(); }});
    HWND page = b.page;
    auto window = std::make_shared<IgnoredWindow>(
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(page, GWLP_HINSTANCE)), logic);
    // The two small windows share the place of one button.
    b.add({ControlKind::Button, std::string(regclean::kIgnoredButton), i18n::tr("&Ignored..."), 448, 448, 62, 28,
           [window, page] { window->open(GetAncestor(page, GA_ROOT)); }});
    auto restore = std::make_shared<RestoreWindow>(
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(page, GWLP_HINSTANCE)), logic);
    b.add({ControlKind::Button, std::string(regclean::kRestoreButton), i18n::tr("Rest&ore..."), 516, 448, 62, 28,
           [restore, page, &logic] {
               if (logic.restore_may_open()) restore->open(GetAncestor(page, GA_ROOT));
           }});
}

}  // namespace veltrano::regclean::win32
