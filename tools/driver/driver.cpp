#include "driver/driver.h"

#include "platform/win32/unique_handle.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>

namespace veltrano::driver {

namespace {

// A target busy in a long handler answers once it is back at its message
// loop: the read waits for that rather than giving up early (or, with
// SMTO_ABORTIFHUNG, at once after five busy seconds) and reading nothing.
// A hung target still cannot hang the caller past the deadline.
LRESULT send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, bool* ok = nullptr) {
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_BLOCK,
                                             static_cast<UINT>(kDefaultTimeout.count()), &result);
    if (ok) *ok = sent != 0;
    return static_cast<LRESULT>(result);
}

bool iequal(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(x) == std::towlower(y);
           });
}

bool matches(const ControlInfo& info, const Selector& selector) {
    if (!selector.class_name.empty() && !iequal(info.class_name, selector.class_name)) return false;
    if (selector.id && info.id != *selector.id) return false;
    if (selector.caption && !caption_matches(info.text, *selector.caption)) return false;
    return true;
}

struct EnumState {
    HWND top;
    std::vector<ControlInfo>* out;
};

int depth_below(HWND hwnd, HWND top) {
    int depth = 0;
    for (HWND h = hwnd; h && h != top; h = GetParent(h)) ++depth;
    return depth;
}

BOOL CALLBACK collect_visible(HWND hwnd, LPARAM lparam) {
    auto* state = reinterpret_cast<EnumState*>(lparam);
    // IsWindowVisible looks at every ancestor, so the contents of a hidden
    // group box drop out here along with the box.
    if (!IsWindowVisible(hwnd)) return TRUE;
    ControlInfo info = control_info(hwnd);
    info.depth = depth_below(hwnd, state->top);
    state->out->push_back(std::move(info));
    return TRUE;
}

struct TopSearch {
    std::wstring_view title;
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK find_top(HWND hwnd, LPARAM lparam) {
    auto* search = reinterpret_cast<TopSearch*>(lparam);
    if (!IsWindowVisible(hwnd)) return TRUE;
    if (search->process_id) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != search->process_id) return TRUE;
    }
    // GetWindowText reads a top-level title from the window manager's copy,
    // so a busy program cannot slow the search down.
    wchar_t title[512] = {};
    GetWindowTextW(hwnd, title, 512);
    if (search->title != title) return TRUE;
    search->found = hwnd;
    return FALSE;
}

struct ClassSearch {
    DWORD process_id;
    std::wstring_view cls;
    bool visible_only;
    std::vector<HWND>* out;
};

BOOL CALLBACK find_of_class(HWND hwnd, LPARAM lparam) {
    auto* search = reinterpret_cast<ClassSearch*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->process_id && (!search->visible_only || IsWindowVisible(hwnd)) &&
        class_of(hwnd) == search->cls)
        search->out->push_back(hwnd);
    return TRUE;
}

bool is_push_like_button(HWND hwnd) {
    if (!iequal(class_of(hwnd), L"Button")) return false;
    const LONG type = GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
    return type != BS_GROUPBOX && type != BS_OWNERDRAW;
}

POINT centre_of(HWND hwnd) {
    const RECT r = screen_rect_of(hwnd);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct LastClick {
    POINT at{-1, -1};
    DWORD tick = 0;
} last_click;

// Two clicks on one spot within the double-click time are a double click,
// which a static reports as STN_DBLCLK and not as a click. A person who
// clicks the same link twice pauses in between; so do we.
void keep_apart_from_last_click(POINT at) {
    const int slack_x = GetSystemMetrics(SM_CXDOUBLECLK), slack_y = GetSystemMetrics(SM_CYDOUBLECLK);
    if (std::abs(at.x - last_click.at.x) > slack_x || std::abs(at.y - last_click.at.y) > slack_y) return;
    const DWORD elapsed = GetTickCount() - last_click.tick;
    const DWORD needed = GetDoubleClickTime() + 50;
    if (elapsed < needed) Sleep(needed - elapsed);
}

bool mouse_click_at(HWND control, POINT at, bool with_ctrl = false) {
    HWND root = GetAncestor(control, GA_ROOT);
    // Bring the window up first: with no window manager nothing else raises
    // it, and a click on a covered point would land on the cover.
    SetForegroundWindow(root);
    BringWindowToTop(root);
    // A static without SS_NOTIFY answers the hit test with HTTRANSPARENT, so
    // a real click falls through to whatever lies below. WindowFromPoint
    // cannot tell us: it asks no other thread's window for its hit test.
    if (iequal(class_of(control), L"Static") && !(GetWindowLongW(control, GWL_STYLE) & SS_NOTIFY)) return false;
    // Something else on top of the point would take the click instead. The
    // raise above reaches the target's thread a moment later; a modal window
    // was refused before, so a cover that outlasts the deadline is a fault.
    if (!wait_until([&] { return WindowFromPoint(at) == control; })) return false;
    keep_apart_from_last_click(at);
    // Every event carries the position: under Wine SetCursorPos reaches the
    // X server later than a button event sent right after it, and the click
    // then lands where the pointer was before.
    const LONG width = std::max(2, GetSystemMetrics(SM_CXSCREEN));
    const LONG height = std::max(2, GetSystemMetrics(SM_CYSCREEN));
    // Ctrl goes in the same batch as the click: sent apart, the click could
    // reach the window before the key state that should come with it.
    std::vector<INPUT> inputs;
    const auto ctrl = [&](DWORD flags) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_CONTROL;
        key.ki.dwFlags = flags;
        inputs.push_back(key);
    };
    if (with_ctrl) ctrl(0);
    for (DWORD flag : {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT mouse{};
        mouse.type = INPUT_MOUSE;
        mouse.mi.dx = MulDiv(at.x, 65535, width - 1);
        mouse.mi.dy = MulDiv(at.y, 65535, height - 1);
        mouse.mi.dwFlags = flag | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        inputs.push_back(mouse);
    }
    if (with_ctrl) ctrl(KEYEVENTF_KEYUP);
    const bool sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
    last_click = {at, GetTickCount()};
    return sent;
}

bool mouse_click_at_centre(HWND control) { return mouse_click_at(control, centre_of(control)); }

bool posted_click(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
    return PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(control, WM_LBUTTONUP, 0, at);
}

DWORD process_of(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

// A buffer inside another process, for the controls whose messages carry
// pointers (list-view items and columns). Freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, SIZE_T size) : size_(size) {
        process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                                   FALSE, process_of(owner)));
        if (process_) address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    char* at(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    bool write(SIZE_T offset, const void* data, SIZE_T length) const {
        SIZE_T done = 0;
        return offset + length <= size_ &&
               WriteProcessMemory(process_.get(), at(offset), data, length, &done) && done == length;
    }
    bool read(SIZE_T offset, void* data, SIZE_T length) const {
        SIZE_T done = 0;
        return offset + length <= size_ &&
               ReadProcessMemory(process_.get(), at(offset), data, length, &done) && done == length;
    }

private:
    platform::win32::unique_kernel_handle process_;
    void* address_ = nullptr;
    SIZE_T size_;
};

constexpr int kRemoteTextChars = 1024;

// Fetches one list-view string through the target: the struct goes over
// with its text pointer aimed just behind it, in the same allocation.
template <typename Item>
std::optional<std::wstring> remote_text(const RemoteBuffer& buffer, HWND listview, UINT message, WPARAM wparam,
                                        Item item) {
    const SIZE_T text_offset = (sizeof(Item) + 15) & ~SIZE_T{15};
    item.pszText = reinterpret_cast<LPWSTR>(buffer.at(text_offset));
    item.cchTextMax = kRemoteTextChars;
    const wchar_t nothing = 0;
    if (!buffer.write(0, &item, sizeof item) || !buffer.write(text_offset, &nothing, sizeof nothing)) return std::nullopt;
    bool ok = false;
    send(listview, message, wparam, reinterpret_cast<LPARAM>(buffer.at(0)), &ok);
    if (!ok) return std::nullopt;
    std::wstring text(kRemoteTextChars, L'\0');
    if (!buffer.read(text_offset, text.data(), text.size() * sizeof(wchar_t))) return std::nullopt;
    text.resize(std::wcslen(text.c_str()));
    return text;
}

constexpr SIZE_T kRemoteBufferLength = 64 + kRemoteTextChars * sizeof(wchar_t) + sizeof(LVITEMW) + sizeof(LVCOLUMNW);

}  // namespace

// ---- text helpers ----------------------------------------------------------

std::string to_utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring from_utf8(std::string_view text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

std::wstring strip_mnemonic(std::wstring_view caption) {
    std::wstring out;
    out.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        // "&&" shows a single ampersand; a lone one only underlines.
        if (caption[i] == L'&') {
            if (i + 1 < caption.size() && caption[i + 1] == L'&') {
                out += L'&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

bool caption_matches(std::wstring_view shown, std::wstring_view wanted) {
    // Blanks count: the program tells captions apart by them ("Undo ").
    return shown == wanted || strip_mnemonic(shown) == wanted;
}

// ---- selectors -------------------------------------------------------------

Selector Selector::parse(std::wstring_view text) {
    Selector selector;
    if (text.size() > 1 && text[0] == L'#' &&
        std::all_of(text.begin() + 1, text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        selector.id = std::stoi(std::wstring(text.substr(1)));
        return selector;
    }
    if (text.empty() || text[0] != L'@') {
        selector.caption = std::wstring(text);
        return selector;
    }
    std::wstring_view rest = text.substr(1);
    const size_t colon = rest.find(L':');
    if (colon != std::wstring_view::npos) {
        selector.caption = std::wstring(rest.substr(colon + 1));
        rest = rest.substr(0, colon);
    }
    const size_t hash = rest.find(L'#');
    if (hash != std::wstring_view::npos) {
        selector.index = std::stoi(std::wstring(rest.substr(hash + 1)));
        rest = rest.substr(0, hash);
    }
    selector.class_name = std::wstring(rest);
    return selector;
}

std::wstring Selector::describe() const {
    std::wstring out;
    if (!class_name.empty()) out += L"class " + class_name + L" ";
    if (caption) out += L"caption \"" + *caption + L"\" ";
    if (id) out += L"id " + std::to_wstring(*id) + L" ";
    if (index) out += L"#" + std::to_wstring(index) + L" ";
    if (out.empty()) return L"any control";
    out.pop_back();
    return out;
}

// ---- windows and controls -------------------------------------------------

std::wstring class_of(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::wstring text_of(HWND hwnd) {
    bool ok = false;
    const LRESULT length = send(hwnd, WM_GETTEXTLENGTH, 0, 0, &ok);
    if (!ok || length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &ok);
    if (!ok) return {};
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

bool is_visible(HWND hwnd) { return IsWindow(hwnd) && IsWindowVisible(hwnd); }

RECT screen_rect_of(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

ControlInfo control_info(HWND hwnd) {
    ControlInfo info;
    info.hwnd = hwnd;
    info.class_name = class_of(hwnd);
    info.text = text_of(hwnd);
    info.id = GetDlgCtrlID(hwnd);
    info.screen_rect = screen_rect_of(hwnd);
    return info;
}

HWND find_top_window(std::wstring_view title, DWORD process_id, Millis timeout) {
    TopSearch search{title, process_id, nullptr};
    wait_until(
        [&] {
            search.found = nullptr;
            EnumWindows(find_top, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout);
    return search.found;
}

std::vector<ControlInfo> visible_children(HWND top) {
    std::vector<ControlInfo> out;
    if (!top) return out;
    EnumState state{top, &out};
    // EnumChildWindows already walks the whole tree, grandchildren included.
    EnumChildWindows(top, collect_visible, reinterpret_cast<LPARAM>(&state));
    return out;
}

std::vector<HWND> find_controls(HWND top, const Selector& selector) {
    std::vector<HWND> found;
    for (const ControlInfo& info : visible_children(top))
        if (matches(info, selector)) found.push_back(info.hwnd);
    return found;
}

HWND find_control(HWND top, const Selector& selector, Millis timeout) {
    HWND found = nullptr;
    wait_until(
        [&] {
            const std::vector<HWND> all = find_controls(top, selector);
            found = selector.index >= 0 && static_cast<size_t>(selector.index) < all.size() ? all[selector.index]
                                                                                            : nullptr;
            return found != nullptr;
        },
        timeout);
    return found;
}

// ---- acting ----------------------------------------------------------------

bool click(HWND control, ClickMethod method) {
    if (!is_visible(control) || !IsWindowEnabled(control)) return false;
    // A modal window disables its owner: the person could not click there,
    // and a click that got through anyway would act behind the modal's back.
    if (!IsWindowEnabled(GetAncestor(control, GA_ROOT))) return false;
    if (method == ClickMethod::Automatic)
        method = is_push_like_button(control) ? ClickMethod::ButtonMessage : ClickMethod::MouseInput;
    switch (method) {
        case ClickMethod::ButtonMessage:
            // Posted, not sent: a click that opens a modal box would keep a
            // sent message waiting until someone closes the box.
            return PostMessageW(control, BM_CLICK, 0, 0) != 0;
        case ClickMethod::MouseInput:
            return mouse_click_at_centre(control);
        case ClickMethod::PostedMouse:
            return posted_click(control);
        case ClickMethod::Automatic:
            break;
    }
    return false;
}

bool set_text(HWND control, std::wstring_view text) {
    const std::wstring copy(text);
    bool ok = false;
    send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()), &ok);
    return ok;
}

bool choose_combo_item(HWND combo, int index) {
    bool ok = false;
    if (send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, &ok) == CB_ERR && index >= 0) return false;
    if (!ok) return false;
    const auto id = static_cast<WORD>(GetDlgCtrlID(combo));
    return PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(combo)) != FALSE;
}

// ---- reading ---------------------------------------------------------------

namespace {

// List boxes and combo boxes answer the same three questions under their own
// message numbers; both say -1 (LB_ERR, CB_ERR) for an error.
std::vector<std::wstring> item_lines(HWND control, UINT count_message, UINT length_message, UINT text_message) {
    static_assert(LB_ERR == CB_ERR);
    std::vector<std::wstring> lines;
    const LRESULT count = send(control, count_message, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = send(control, length_message, i, 0);
        if (length == LB_ERR) break;
        // The W message is the one Wine marshals across processes as text.
        std::wstring line(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied = send(control, text_message, i, reinterpret_cast<LPARAM>(line.data()));
        line.resize(copied == LB_ERR ? 0 : static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

std::vector<std::wstring> listbox_lines(HWND listbox) {
    return item_lines(listbox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::wstring> combo_lines(HWND combo) {
    return item_lines(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int combo_selection(HWND combo) { return static_cast<int>(send(combo, CB_GETCURSEL, 0, 0)); }

std::optional<bool> is_checked(HWND button) {
    if (!iequal(class_of(button), L"Button")) return std::nullopt;
    const LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    const bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                           type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    if (!checkable) return std::nullopt;
    return send(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::wstring> listview_columns(HWND listview) {
    std::vector<std::wstring> columns;
    const auto header = reinterpret_cast<HWND>(send(listview, LVM_GETHEADER, 0, 0));
    const LRESULT count = header ? send(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    if (count <= 0) return columns;
    RemoteBuffer buffer(listview, kRemoteBufferLength);
    if (!buffer) return columns;
    for (LRESULT i = 0; i < count; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        columns.push_back(remote_text(buffer, listview, LVM_GETCOLUMNW, i, column).value_or(L""));
    }
    return columns;
}

bool click_listview_item(HWND listview, int item, bool with_ctrl) {
    send(listview, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
    RemoteBuffer buffer(listview, sizeof(RECT));
    RECT bounds{};
    bounds.left = LVIR_LABEL;  // the first column's cell
    bool ok = false;
    if (!buffer || !buffer.write(0, &bounds, sizeof bounds)) return false;
    send(listview, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(buffer.at(0)), &ok);
    if (!ok || !buffer.read(0, &bounds, sizeof bounds) || bounds.right <= bounds.left) return false;
    POINT at{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    MapWindowPoints(listview, nullptr, &at, 1);
    return mouse_click_at(listview, at, with_ctrl);
}

bool click_toolbar_button(HWND toolbar, int index) {
    RemoteBuffer buffer(toolbar, sizeof(RECT));
    RECT bounds{};
    bool ok = false;
    if (!buffer) return false;
    send(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.at(0)), &ok);
    if (!ok || !buffer.read(0, &bounds, sizeof bounds) || bounds.right <= bounds.left) return false;
    POINT at{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    MapWindowPoints(toolbar, nullptr, &at, 1);
    return mouse_click_at(toolbar, at);
}

std::optional<ToolbarButton> find_toolbar_button(HWND top, std::wstring_view text) {
    for (HWND toolbar : find_controls(top, Selector::by_class(L"ToolbarWindow32"))) {
        const auto texts = toolbar_buttons(toolbar);
        if (auto it = std::find(texts.begin(), texts.end(), text); it != texts.end())
            return ToolbarButton{toolbar, static_cast<int>(it - texts.begin())};
    }
    return std::nullopt;
}

std::optional<SIZE> ideal_size(HWND button) {
    const RemoteBuffer buffer(button, sizeof(SIZE));
    const SIZE none{0, 0};
    if (!buffer || !buffer.write(0, &none, sizeof none)) return std::nullopt;
    DWORD_PTR answered = 0;
    if (!SendMessageTimeoutW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(buffer.at(0)), SMTO_BLOCK, 5000,
                             &answered) ||
        !answered)
        return std::nullopt;
    SIZE size{};
    if (!buffer.read(0, &size, sizeof size)) return std::nullopt;
    return size;
}

std::vector<std::wstring> toolbar_buttons(HWND toolbar) {
    std::vector<std::wstring> texts;
    const LRESULT count = send(toolbar, TB_BUTTONCOUNT, 0, 0);
    RemoteBuffer buffer(toolbar, sizeof(TBBUTTON) + kRemoteTextChars * sizeof(wchar_t));
    if (!buffer) return texts;
    for (LRESULT i = 0; i < count; ++i) {
        TBBUTTON button{};
        bool ok = false;
        send(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.at(0)), &ok);
        if (!ok || !buffer.read(0, &button, sizeof button)) break;
        const LRESULT length = send(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand), 0);
        std::wstring text(static_cast<std::size_t>(std::clamp<LRESULT>(length, 0, kRemoteTextChars - 1)), L'\0');
        if (length > 0) {
            send(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                 reinterpret_cast<LPARAM>(buffer.at(sizeof(TBBUTTON))), &ok);
            if (!ok || !buffer.read(sizeof(TBBUTTON), text.data(), text.size() * sizeof(wchar_t))) text.clear();
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

bool toolbar_button_checked(HWND toolbar, int index) {
    RemoteBuffer buffer(toolbar, sizeof(TBBUTTON));
    TBBUTTON button{};
    bool ok = false;
    if (!buffer) return false;
    send(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.at(0)), &ok);
    if (!ok || !buffer.read(0, &button, sizeof button)) return false;
    return (button.fsState & TBSTATE_CHECKED) != 0;
}

std::vector<std::vector<std::wstring>> listview_rows(HWND listview) {
    std::vector<std::vector<std::wstring>> rows;
    const auto header = reinterpret_cast<HWND>(send(listview, LVM_GETHEADER, 0, 0));
    // A list view outside report mode has no header columns yet still one
    // text per item.
    const LRESULT column_count = std::max<LRESULT>(1, header ? send(header, HDM_GETITEMCOUNT, 0, 0) : 1);
    const LRESULT row_count = send(listview, LVM_GETITEMCOUNT, 0, 0);
    if (row_count <= 0) return rows;
    RemoteBuffer buffer(listview, kRemoteBufferLength);
    if (!buffer) return rows;
    for (LRESULT row = 0; row < row_count; ++row) {
        std::vector<std::wstring> cells;
        for (LRESULT column = 0; column < column_count; ++column) {
            LVITEMW item{};
            item.iSubItem = static_cast<int>(column);
            cells.push_back(remote_text(buffer, listview, LVM_GETITEMTEXTW, row, item).value_or(L""));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

// ---- message boxes ---------------------------------------------------------

std::vector<HWND> windows_of_process(DWORD process_id, std::wstring_view cls, bool visible_only) {
    std::vector<HWND> found;
    ClassSearch search{process_id, cls, visible_only, &found};
    EnumWindows(find_of_class, reinterpret_cast<LPARAM>(&search));
    return found;
}

std::vector<HWND> dialogs_of_process(DWORD process_id) { return windows_of_process(process_id, L"#32770", true); }

std::optional<MessageBoxInfo> read_message_box(HWND dialog) {
    if (!is_visible(dialog)) return std::nullopt;
    MessageBoxInfo info;
    info.hwnd = dialog;
    info.title = text_of(dialog);
    for (const ControlInfo& child : visible_children(dialog)) {
        if (iequal(child.class_name, L"Static") && !child.text.empty()) {
            if (!info.text.empty()) info.text += L"\n";
            info.text += child.text;
        } else if (iequal(child.class_name, L"Button")) {
            info.buttons.push_back(strip_mnemonic(child.text));
        }
    }
    for (HWND button = GetWindow(dialog, GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT))
        if (iequal(class_of(button), L"Button") &&
            (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            info.default_button = strip_mnemonic(text_of(button));
    return info;
}

std::optional<MessageBoxInfo> find_message_box(DWORD process_id, Millis timeout) {
    std::optional<MessageBoxInfo> box;
    wait_until(
        [&] {
            for (HWND dialog : dialogs_of_process(process_id))
                if ((box = read_message_box(dialog))) return true;
            return false;
        },
        timeout);
    return box;
}

bool press_message_box_button(HWND dialog, std::wstring_view caption, Millis timeout) {
    const Selector selector{std::wstring(caption), L"Button", 0, {}};
    HWND button = find_control(dialog, selector, timeout);
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!button || !click(button, ClickMethod::ButtonMessage)) return false;
    // The owner is enabled again a moment after the box hides (unless the
    // answer closed it, or the answer brought up the next box); a click on it
    // before then would be refused.
    const DWORD process = process_of(dialog);
    return wait_until(
        [&] {
            if (IsWindow(dialog) && IsWindowVisible(dialog)) return false;
            if (!owner || !IsWindow(owner) || IsWindowEnabled(owner)) return true;
            for (HWND next : dialogs_of_process(process))
                if (next != dialog && IsWindowVisible(next)) return true;
            return false;
        },
        timeout);
}

bool wait_until_idle(HWND top, Millis timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    if (!wait_until([&] { return IsWindow(top) && IsWindowEnabled(top); }, timeout)) return false;
    const auto left = std::chrono::duration_cast<Millis>(deadline - std::chrono::steady_clock::now()).count();
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_BLOCK, static_cast<UINT>(std::max<Millis::rep>(left, 1)),
                               &result) != 0;
}

}  // namespace veltrano::driver

namespace veltrano::driver {

void send_keys(std::initializer_list<std::pair<WORD, bool>> strokes) {
    std::vector<INPUT> inputs;
    for (auto [key, down] : strokes) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace veltrano::driver
