// Windows built from declarations: a page is a list of controls (kind, name,
// caption, position, size, handler), and one builder makes them. Clicks come
// back to the handler of the control that was clicked.
#pragma once

#include "ui/win32/gdi.h"
#include "ui/win32/grid_view.h"
#include "ui/win32/sheet.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::ui::win32 {

enum class ControlKind {
    Panel,      // a group box holding controls: a page or the navigation bar
    Label,      // plain static text
    LinkText,   // static text that answers clicks, with a hand cursor
    Picture,    // a bitmap resource; clickable when it has a handler
    Button,
    CheckBox,
    ListBox,
    MonthCalendar,
    ProgressBar,  // range 0 to 100
    RadioButton,  // excludes the other radio buttons of its parent
    Timer,        // no window of its own to see; ticks while enabled
    Grid,         // a string grid: a list view over cells kept by a GridView
    MenuItem,     // an entry of a grid's pop-up menu ("-" a separator): like a
                  // timer, a hidden window carries its name, caption and
                  // enabled state, so the logic reaches it as any control
    ReadOnlyText, // a multi-line edit the user reads and selects from, not types in
    Edit,         // a one-line edit; password_char and max_length apply
    Icon,         // the icon the shell shows for the file named by the caption
                  // (small below 32 pixels wide), a plain one when it has
                  // none; clickable, with the hand cursor, when it has a handler
    ComboBox,     // a drop-down list of `items`; `editable`: the user may type
                  // instead; on_click runs when the user picks an item
    PictureButton,  // a push button showing the bitmap resource the caption
                    // names, with the hand cursor: Tab reaches it, Enter or
                    // Space presses it, the system draws its focus
    Sheet,  // one window that draws the labels and pictures put on it
            // (add_to_sheet) instead of a window each
    FlatPictureButton,  // a button drawn as the bitmap resource the caption
                        // names and nothing else (no edge), with a focus
                        // rectangle: the keyboard reaches a clickable picture
};

struct ControlDecl {
    ControlKind kind;
    std::string name;
    std::string caption;  // for Picture: the bitmap resource name
    int left, top, width, height;
    std::function<void()> on_click = {};  // a timer's tick
    bool visible = true;                  // a timer: enabled from the start
    unsigned interval_ms = 0;             // a timer's
    bool multi_select = false;            // a grid's: several rows at once
    char shortcut = 0;                    // a menu item's: Ctrl with this key ('1', 'C')
    wchar_t password_char = 0;            // an edit's: shown for every character typed
    int max_length = 0;                   // an edit's, in characters; 0: no limit of ours
    std::vector<std::string> items = {};  // a combo box's list
    int selected = -1;                    // a combo box's chosen item; -1 shows the caption
    bool editable = false;                // a combo box's
    bool clear_on_escape = false;         // an edit's: Esc empties it (a filter box);
                                          // on_click runs whenever its text changes
    // A picture button's window text: what a screen reader says for a
    // control whose caption names its picture. The picture alone is drawn.
    std::string accessible_name = {};
    // F1 while the control has the focus.
    std::function<void()> on_help = {};
};

class Controls {
public:
    HWND create(HWND parent, const ControlDecl& decl, HFONT font);
    HWND get(std::string_view name) const;
    const std::string& name_of(HWND hwnd) const;
    // A label, picture or panel (a group's frame, holding nothing) drawn by
    // the sheet, placed within it; the logic reaches it by name as any
    // control.
    void add_to_sheet(HWND sheet, const ControlDecl& decl, HFONT font, COLORREF colour = RGB(0, 0, 0));
    struct OnSheet {
        Sheet* sheet;
        std::size_t index;
    };
    // The sheet and place of the label of that name; none for a window.
    std::optional<OnSheet> on_sheet(std::string_view name) const;
    // The bitmap resource of that name, loaded once and kept as long as the
    // controls; null when there is none.
    HBITMAP bitmap(const std::string& name);
    // Runs the click handler of the control that sent WM_COMMAND; false when
    // it has none.
    bool command(HWND from, UINT code) const;
    bool has_hand_cursor(HWND hwnd) const;
    bool is_timer(HWND hwnd) const;
    // The grid of that name; null when there is none.
    GridView* grid(std::string_view name) const;
    // A grid's notifications (drawing, selection, context menu); true when
    // one was answered.
    bool notify(const NMHDR& header, LRESULT& result) const;
    // A control's pop-up menu, its items in order: shown on a right click,
    // the Apps key or Shift+F10, and their shortcuts work while the control
    // has the focus. Several controls may share one menu.
    void set_popup_menu(HWND control, std::vector<HWND> items);
    // At the pointer, or when the keyboard asked by a grid's focused row or
    // below any other control.
    void show_popup_menu(HWND control, bool from_keyboard = false) const;
    // WM_CONTEXTMENU of a control with a menu (a grid opens its own): from
    // the control itself, or from the panel under a disabled one, which
    // takes no mouse. True when a menu was shown.
    bool context_menu(HWND from, LPARAM at) const;
    // WM_SETCURSOR: a right button pressed on a disabled control with a
    // menu (a hit the system refuses) asks for its menu, as it would
    // enabled. True when it did.
    bool right_click_on_disabled(HWND under, LPARAM hit) const;
    // A key for the focused grid's menu runs its item, unless the item is
    // disabled; true for any key of that menu, so it goes no further. So
    // do the keys that open the menu, Esc in an edit that it clears and F1
    // on a control with help of its own.
    bool shortcut(const MSG& msg) const;
    // A timer runs from now on, or stops.
    void set_timer_running(HWND timer, bool running);
    bool timer_running(HWND timer) const;
    // The cursor over a control: the hand over link texts, or one set here
    // (the help cursor over the tips' help images); null for the default.
    void set_cursor(HWND hwnd, LPCWSTR cursor_id) { cursors_[hwnd] = cursor_id; }
    HCURSOR cursor(HWND hwnd) const;
    // A tip shown while the mouse rests on the control (a clickable one: a
    // static that does not notify never sees the mouse).
    void set_tooltip(HWND hwnd, const std::string& text);
    // A static's own text colour, for the window that paints its statics.
    void set_text_colour(HWND hwnd, COLORREF colour) { text_colours_[hwnd] = colour; }
    std::optional<COLORREF> text_colour(HWND hwnd) const {
        auto it = text_colours_.find(hwnd);
        return it == text_colours_.end() ? std::nullopt : std::optional<COLORREF>(it->second);
    }

private:
    struct Entry {
        std::string name;
        ControlKind kind;
        std::function<void()> on_click;
        unsigned interval_ms = 0;
        bool running = false;
        char shortcut = 0;
        bool clear_on_escape = false;
        std::function<void()> on_help;
    };
    static void CALLBACK timer_tick(HWND hwnd, UINT, UINT_PTR, DWORD);
    std::map<std::string, HWND, std::less<>> by_name_;
    std::map<HWND, Entry> by_hwnd_;
    std::map<HWND, COLORREF> text_colours_;
    std::map<HWND, LPCWSTR> cursors_;
    std::map<HWND, std::unique_ptr<GridView>> grids_;
    std::map<HWND, std::unique_ptr<Sheet>> sheets_;
    std::map<std::string, OnSheet, std::less<>> on_sheet_;
    // A picture's bitmap, loaded once however many statics show it (the
    // tips' help image stands beside every tip); a static does not delete a
    // bitmap it was given, so they are ours to free, after the statics.
    std::map<std::string, unique_gdi, std::less<>> bitmaps_;
    std::map<HWND, std::vector<HWND>> menus_;
    // The shell's icons are copies of our own to destroy; the plain one is shared.
    std::vector<unique_icon> icons_;
    // One tooltip window serves every control of its top-level window; it
    // goes with that window.
    HWND tooltips_ = nullptr;
};

// A panel forwards what its children tell it to the top-level window, so
// handlers live in one place however deep a control sits. The sheet's class
// is registered with it.
void register_panel_class(HINSTANCE instance);

}  // namespace veltrano::ui::win32
