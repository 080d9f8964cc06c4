#include "ui/win32/window_widgets.h"

#include "i18n/languages.h"
#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "ui/win32/fit_captions.h"

#include <commctrl.h>

#include <cassert>

namespace veltrano::ui::win32 {

using platform::win32::to_utf16;
using platform::win32::to_utf8;

bool can_take_focus(HWND window, HWND control) {
    return control && IsWindow(control) && IsChild(window, control) && IsWindowVisible(control) &&
           IsWindowEnabled(control);
}

// Every handle is declared by a page and made by its view, so a control
// that cannot be found is a view that forgot one: a fault of ours for the
// tests to find, never a box for the user. A release build goes on, and the
// call reaches no window.
HWND WindowWidgets::window_of(ui::Control control) const {
    const std::string_view name = control.name();
    HWND hwnd = controls_.get(name);
    if (!hwnd) {
        if (const auto page = pages_.page_of_panel(name)) return pages_.page_panel(*page);
        pages_.build_pages_holding(name);
        hwnd = controls_.get(name);
    }
    assert(hwnd && "a page declares a control its view does not make");
    return hwnd;
}

std::optional<Controls::OnSheet> WindowWidgets::sheet_label(ui::Control control) const {
    const std::string_view name = control.name();
    if (controls_.get(name) || pages_.page_of_panel(name)) return std::nullopt;
    if (!controls_.on_sheet(name)) pages_.build_pages_holding(name);
    return controls_.on_sheet(name);
}

void WindowWidgets::set_enabled(ui::Control control, bool enabled) {
    HWND hwnd = window_of(control);
    if (controls_.is_timer(hwnd)) {
        controls_.set_timer_running(hwnd, enabled);
        return;
    }
    HWND focus = GetFocus();
    const bool had_focus = !enabled && focus && (focus == hwnd || IsChild(hwnd, focus));
    EnableWindow(hwnd, enabled);
    // A disabled control keeps no focus: it goes on to the next control,
    // not nowhere, where no key would reach the page.
    if (had_focus) {
        HWND next = GetNextDlgTabItem(pages_.window(), hwnd, FALSE);
        if (can_take_focus(pages_.window(), next) && next != hwnd)
            SetFocus(next);
        else
            pages_.focus_current_page();
    }
}

bool WindowWidgets::is_enabled(ui::Control control) const {
    HWND hwnd = window_of(control);
    return controls_.is_timer(hwnd) ? controls_.timer_running(hwnd) : IsWindowEnabled(hwnd) != FALSE;
}

void WindowWidgets::set_checked(ui::Checkable control, bool checked) {
    SendMessageW(window_of(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool WindowWidgets::is_checked(ui::Checkable control) const {
    return SendMessageW(window_of(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WindowWidgets::set_visible(ui::Control control, bool visible) {
    if (const auto label = sheet_label(control)) return label->sheet->set_visible(label->index, visible);
    if (const auto page = pages_.page_of_panel(control.name())) {
        // A page not made yet is hidden already; one is drawn before it
        // first shows, so it appears whole.
        if (!visible && !controls_.get(control.name())) return;
        if (visible) pages_.build_page(*page);
        HWND panel = window_of(control);
        // The focus leaves a page that hides, remembered for its return:
        // left there, keys would reach the hidden page's controls.
        if (HWND focus = GetFocus(); !visible && focus && IsChild(panel, focus)) {
            pages_.remember_focus(panel, focus);
            SetFocus(pages_.window());
        }
    }
    ShowWindow(window_of(control), visible ? SW_SHOW : SW_HIDE);
}

// The control's own flag: a control on a hidden page still counts as shown.
bool WindowWidgets::is_visible(ui::Control control) const {
    if (const auto label = sheet_label(control)) return label->sheet->item(label->index).visible;
    return (GetWindowLongPtrW(window_of(control), GWL_STYLE) & WS_VISIBLE) != 0;
}

void WindowWidgets::set_text(ui::Control control, const std::string& text) {
    if (const auto label = sheet_label(control)) return label->sheet->set_text(label->index, to_utf16(text));
    HWND hwnd = window_of(control);
    SetWindowTextW(hwnd, to_utf16(text).c_str());
    // The English texts a page sets were laid out for; a translation may
    // need more room (a measure each costs a round trip under Wine).
    if (i18n::language_in_use().code != i18n::english().code) fit_caption(hwnd);
}

std::string WindowWidgets::text(ui::Control control) const {
    if (const auto label = sheet_label(control)) return to_utf8(label->sheet->item(label->index).text);
    HWND hwnd = window_of(control);
    std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    buffer.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()))));
    return to_utf8(buffer);
}

void WindowWidgets::set_position(ui::ProgressBar bar, int position) {
    SendMessageW(window_of(bar), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void WindowWidgets::set_date(ui::Calendar calendar, ui::Date date) {
    SYSTEMTIME day{};
    day.wYear = static_cast<WORD>(date.year);
    day.wMonth = static_cast<WORD>(date.month);
    day.wDay = static_cast<WORD>(date.day);
    SendMessageW(window_of(calendar), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
}

ui::Grid& WindowWidgets::grid(ui::StringGrid control) {
    window_of(control);  // draws the grid's page if it is not drawn yet
    if (GridView* grid = controls_.grid(control.name())) return *grid;
    // As for any control (window_of): cannot happen with a declared handle;
    // a release build writes to a grid of no window.
    assert(!"a page declares a grid its view does not make");
    static GridView nowhere(nullptr);
    return nowhere;
}

int WindowWidgets::selected_index(ui::ComboBox box) const {
    return static_cast<int>(SendMessageW(window_of(box), CB_GETCURSEL, 0, 0));
}

void WindowWidgets::set_selected_index(ui::ComboBox box, int index) {
    SendMessageW(window_of(box), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void WindowWidgets::hand_focus(ui::Control from, ui::Control to) {
    HWND giver = window_of(from);
    HWND taker = window_of(to);
    if (GetFocus() == giver && can_take_focus(pages_.window(), taker)) SetFocus(taker);
}

void WindowWidgets::pump_messages() {
    if (!pump_throttle_.due()) return;
    // The handler that calls this is still on the stack: a message that would
    // end the program is put back for the main loop to see afterwards.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (IsDialogMessageW(pages_.window(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace veltrano::ui::win32
