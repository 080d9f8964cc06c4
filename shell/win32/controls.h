// Windows built from declarations: a page is a list of controls (kind, name,
// caption, position, size, handler), and one builder makes them. Clicks come
// back to the handler of the control that was clicked.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace veltrano::shell::win32 {

enum class ControlKind {
    Panel,      // a group box holding controls: a page or the navigation bar
    Label,      // plain static text
    LinkText,   // static text that answers clicks, with a hand cursor
    Picture,    // a bitmap resource, clickable
    Button,
    CheckBox,
    ListBox,
    MonthCalendar,
};

struct ControlDecl {
    ControlKind kind;
    std::string name;
    std::string caption;  // for Picture: the bitmap resource name
    int left, top, width, height;
    std::function<void()> on_click = {};
    bool visible = true;
};

class Controls {
public:
    HWND create(HWND parent, const ControlDecl& decl, HFONT font);
    HWND get(std::string_view name) const;
    const std::string& name_of(HWND hwnd) const;
    // Runs the click handler of the control that sent WM_COMMAND; false when
    // it has none.
    bool command(HWND from, UINT code) const;
    bool has_hand_cursor(HWND hwnd) const;

private:
    struct Entry {
        std::string name;
        ControlKind kind;
        std::function<void()> on_click;
    };
    std::map<std::string, HWND, std::less<>> by_name_;
    std::map<HWND, Entry> by_hwnd_;
};

// A panel forwards what its children tell it to the top-level window, so
// handlers live in one place however deep a control sits.
void register_panel_class(HINSTANCE instance);

}  // namespace veltrano::shell::win32
