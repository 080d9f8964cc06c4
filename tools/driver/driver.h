// Works a running Win32 program from outside, the way a person at the screen
// would: find its window, find a control by what it shows, click it, read
// what it says. Everything here goes through messages and the input queue,
// never through the program's own code, so a test that passes with the
// driver passes for the user too.
#pragma once

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <utility>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace veltrano::driver {

using Millis = std::chrono::milliseconds;

// The one deadline of every wait. A wait ends the moment its condition holds,
// so a generous deadline costs nothing on a fast machine; it only has to
// outlast the slowest, busiest one, while a hung program still fails its
// test rather than stalling the run. An Undo that logs some 600 lines took
// over a minute with both cores busy elsewhere.
inline constexpr Millis kDefaultTimeout{120000};
inline constexpr Millis kPollInterval{20};

// Polls until the condition holds or the time is up; returns the last
// answer. Checking first means a condition that already holds costs nothing.
template <typename Condition>
bool wait_until(Condition&& condition, Millis timeout = kDefaultTimeout,
                Millis poll = kPollInterval) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(poll);
    }
}

// ---- windows and controls -------------------------------------------------

struct ControlInfo {
    HWND hwnd = nullptr;
    std::wstring class_name;
    std::wstring text;
    int id = 0;
    RECT screen_rect{};
    int depth = 0;  // 1 for a direct child of the top window
};

// What identifies a control to a person: its caption, its kind, and when
// several look alike, which one in reading order of creation. Empty fields
// match anything.
struct Selector {
    std::optional<std::wstring> caption;  // exact; '&' mnemonics ignored
    std::wstring class_name;               // case-insensitive
    int index = 0;                         // among the visible matches
    std::optional<int> id;

    static Selector by_caption(std::wstring text) { return {std::move(text), {}, 0, {}}; }
    static Selector by_class(std::wstring cls, int index = 0) { return {{}, std::move(cls), index, {}}; }
    static Selector by(std::wstring cls, std::wstring text) { return {std::move(text), std::move(cls), 0, {}}; }

    // "Caption", "@Class", "@Class#2", "@Class:Caption", "#1001" (control id).
    static Selector parse(std::wstring_view text);
    std::wstring describe() const;
};

std::wstring class_of(HWND hwnd);
// WM_GETTEXT through a timed send, so a hung target cannot hang the caller.
std::wstring text_of(HWND hwnd);
bool is_visible(HWND hwnd);
RECT screen_rect_of(HWND hwnd);
// One window as a control: its class, text, id and place (depth left 0).
ControlInfo control_info(HWND hwnd);

// A visible top-level window whose title is exactly `title`; with a process
// id, only that process's windows count. nullptr after the timeout.
HWND find_top_window(std::wstring_view title, DWORD process_id = 0, Millis timeout = kDefaultTimeout);

// Every visible descendant, group box contents included, in the order the
// system enumerates them (creation order), with its depth below `top`.
std::vector<ControlInfo> visible_children(HWND top);

// The first visible descendant matching; waits for it to appear.
HWND find_control(HWND top, const Selector& selector, Millis timeout = kDefaultTimeout);
// All visible descendants matching, without waiting.
std::vector<HWND> find_controls(HWND top, const Selector& selector);
bool caption_matches(std::wstring_view shown, std::wstring_view wanted);

// ---- acting ----------------------------------------------------------------

enum class ClickMethod {
    Automatic,     // buttons get BM_CLICK, everything else a real mouse click
    ButtonMessage, // post BM_CLICK
    MouseInput,    // SendInput at the control's centre, after making sure
                   // nothing else covers that point
    PostedMouse,   // post WM_LBUTTONDOWN/UP straight to the control
};

// Returns false when the click could not be delivered: the control is
// hidden or disabled, its window is disabled under a modal one, or (for
// MouseInput) another window covers the point.
bool click(HWND control, ClickMethod method = ClickMethod::Automatic);
// A real click on a list view's item (0 for the first), scrolled into view
// first; with Ctrl held, as a person adds a row to the selection.
bool click_listview_item(HWND listview, int item, bool with_ctrl = false);

// A real click on a toolbar's button (0 for the first).
bool click_toolbar_button(HWND toolbar, int index);
// The first visible toolbar button of `top` with that text, without waiting.
struct ToolbarButton {
    HWND toolbar;
    int index;
};
std::optional<ToolbarButton> find_toolbar_button(HWND top, std::wstring_view text);

// Waits until the program behind `top` has finished the step in hand: no
// modal window holds `top` (it is enabled) and then its thread is back at a
// message loop (it answers a sent message). WaitForInputIdle cannot tell:
// it answers at once for good after the first idle moment. A check that
// something did not happen comes after this and waits no more.
bool wait_until_idle(HWND top, Millis timeout = kDefaultTimeout);

// Real key strokes through the input queue, in order: (virtual key, down).
// They go to whichever window has the focus, as a person's typing does.
void send_keys(std::initializer_list<std::pair<WORD, bool>> strokes);

// Sets the focus-less text of an edit control, as pasting would.
bool set_text(HWND control, std::wstring_view text);

// Picks a combo box's item as a person's choice from its list does: the
// selection moves and the owner hears CBN_SELCHANGE (a bare CB_SETCURSEL
// tells it nothing). Posted, so a handler that opens a box cannot block.
bool choose_combo_item(HWND combo, int index);

// ---- reading ---------------------------------------------------------------

std::vector<std::wstring> listbox_lines(HWND listbox);
std::vector<std::wstring> combo_lines(HWND combo);
int combo_selection(HWND combo);  // -1 for none
std::optional<bool> is_checked(HWND button);  // nullopt if not a check box
// The size a button, check box or radio button says it needs to show its
// caption whole, glyph and margins included (BCM_GETIDEALSIZE, in its own
// font); nullopt when it cannot say.
std::optional<SIZE> ideal_size(HWND button);

// List-view text lives in the target's memory: these borrow a buffer there.
std::vector<std::wstring> listview_columns(HWND listview);
std::vector<std::vector<std::wstring>> listview_rows(HWND listview);
// A toolbar's button texts, in order; so are they.
std::vector<std::wstring> toolbar_buttons(HWND toolbar);
bool toolbar_button_checked(HWND toolbar, int index);  // shown pressed

// ---- message boxes ---------------------------------------------------------

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;                  // the statics' text, joined by newlines
    std::vector<std::wstring> buttons;  // captions, '&' removed
    std::wstring default_button;        // the one Enter presses, '&' removed
};

// The process's top-level windows of that class (exact), hidden ones too
// unless visible_only.
std::vector<HWND> windows_of_process(DWORD process_id, std::wstring_view cls, bool visible_only);
// Its visible dialog boxes, message boxes among them.
std::vector<HWND> dialogs_of_process(DWORD process_id);
std::optional<MessageBoxInfo> read_message_box(HWND dialog);
// The first visible dialog (#32770) of the process; waits for one.
std::optional<MessageBoxInfo> find_message_box(DWORD process_id, Millis timeout = kDefaultTimeout);
// Clicks the button with that caption and waits for the box to close and
// its owner to take input again.
bool press_message_box_button(HWND dialog, std::wstring_view caption, Millis timeout = kDefaultTimeout);

// ---- text helpers ----------------------------------------------------------

std::string to_utf8(std::wstring_view text);
std::wstring from_utf8(std::string_view text);
std::wstring strip_mnemonic(std::wstring_view caption);

}  // namespace veltrano::driver
