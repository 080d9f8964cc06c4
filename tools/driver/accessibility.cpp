#include "driver/accessibility.h"

#include <algorithm>
#include <cwctype>
#include <iterator>

namespace veltrano::driver {

namespace {

bool class_is(HWND hwnd, const wchar_t* cls) { return _wcsicmp(class_of(hwnd).c_str(), cls) == 0; }

bool any_class(HWND hwnd, std::initializer_list<const wchar_t*> classes) {
    const std::wstring own = class_of(hwnd);
    return std::any_of(classes.begin(), classes.end(), [&](const wchar_t* c) { return _wcsicmp(own.c_str(), c) == 0; });
}

// The classes whose own text is their content: they take the label's.
bool named_by_label(HWND hwnd) {
    return any_class(hwnd, {L"Edit", L"ComboBox", L"ListBox", L"SysListView32", L"SysTreeView32", L"msctls_trackbar32",
                            L"SysMonthCal32", L"msctls_updown32"});
}

std::wstring without_mnemonics(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

bool blank(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswspace(c) != 0; });
}

// A static that shows a text (not a picture or an icon).
bool is_text_label(HWND hwnd) {
    if (!class_is(hwnd, L"Static")) return false;
    const LONG type = GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK;
    return type != SS_BITMAP && type != SS_ICON && type != SS_ENHMETAFILE && type != SS_ETCHEDFRAME &&
           type != SS_ETCHEDHORZ && type != SS_ETCHEDVERT && type != SS_BLACKRECT && type != SS_GRAYRECT &&
           type != SS_WHITERECT && type != SS_BLACKFRAME && type != SS_GRAYFRAME && type != SS_WHITEFRAME;
}

// The label just before the control in z-order, hidden windows passed over
// (a timer carried by a hidden window is no label); none when the window
// just before is not a label.
std::wstring label_before(HWND control) {
    for (HWND previous = GetWindow(control, GW_HWNDPREV); previous; previous = GetWindow(previous, GW_HWNDPREV)) {
        if (!(GetWindowLongW(previous, GWL_STYLE) & WS_VISIBLE)) continue;
        return is_text_label(previous) ? without_mnemonics(text_of(previous)) : std::wstring();
    }
    return {};
}

}  // namespace

bool is_interactive(HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (class_is(control, L"Button")) return (style & BS_TYPEMASK) != BS_GROUPBOX;
    if (class_is(control, L"Static")) return (style & SS_NOTIFY) != 0;
    return named_by_label(control) || any_class(control, {L"ToolbarWindow32", L"SysTabControl32", L"SysLink"});
}

std::wstring accessible_name(HWND control) {
    // The edit inside an editable combo box is named as the box is.
    HWND parent = GetParent(control);
    if (class_is(control, L"Edit") && parent && class_is(parent, L"ComboBox")) return accessible_name(parent);
    const std::wstring name = named_by_label(control) ? label_before(control) : without_mnemonics(text_of(control));
    return blank(name) ? std::wstring() : name;
}

namespace {

// Shown as soon as `top` is: it and every window between it and `top`.
bool shown_with(HWND control, HWND top) {
    for (HWND w = control; w && w != top; w = GetParent(w))
        if (!(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE)) return false;
    return true;
}

struct Walk {
    HWND top;
    std::vector<ControlInfo>* unnamed;
};

BOOL CALLBACK check_one(HWND hwnd, LPARAM lp) {
    const auto& walk = *reinterpret_cast<const Walk*>(lp);
    if (shown_with(hwnd, walk.top) && is_interactive(hwnd) && accessible_name(hwnd).empty())
        walk.unnamed->push_back(control_info(hwnd));
    return TRUE;
}

}  // namespace

std::vector<ControlInfo> unnamed_controls(HWND top) {
    std::vector<ControlInfo> unnamed;
    Walk walk{top, &unnamed};
    EnumChildWindows(top, check_one, reinterpret_cast<LPARAM>(&walk));
    return unnamed;
}

}  // namespace veltrano::driver
