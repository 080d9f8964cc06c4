// veltrano-driver: the driver from a shell, for scripts and for a person
// poking at a running program under Wine. Prints UTF-8, one item a line;
// exits 0 on success, 1 when what was asked for is not there, 2 on misuse.
#include "driver/driver.h"
#include "driver/process.h"
#include "driver/registry_probe.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace veltrano::driver;

namespace {

struct Options {
    std::vector<std::wstring> positional;
    Millis timeout = kDefaultTimeout;
    ClickMethod method = ClickMethod::Automatic;
};

void print(const std::wstring& line) {
    const std::string text = to_utf8(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void fail(const std::wstring& message) {
    const std::string text = "veltrano-driver: " + to_utf8(message) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

std::wstring rect_text(const RECT& r) {
    return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right - r.left) + L" " +
           std::to_wstring(r.bottom - r.top);
}

std::wstring hex(HWND hwnd) {
    wchar_t buffer[32];
    swprintf(buffer, 32, L"0x%08llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return buffer;
}

// TITLE, or @Class for a window whose title is in another language.
HWND window_or_fail(const Options& options) {
    const std::wstring& title = options.positional.at(0);
    HWND top = nullptr;
    if (title.rfind(L"@", 0) == 0)
        wait_until([&] { return (top = FindWindowW(title.c_str() + 1, nullptr)) && IsWindowVisible(top); }, options.timeout);
    else
        top = find_top_window(title, 0, options.timeout);
    if (!top) fail(L"no visible window titled \"" + options.positional[0] + L"\"");
    return top;
}

HWND control_or_fail(const Options& options, HWND top, const std::wstring& fallback) {
    const std::wstring text = options.positional.size() > 1 ? options.positional[1] : fallback;
    const Selector selector = Selector::parse(text);
    HWND control = find_control(top, selector, options.timeout);
    if (!control) fail(L"no visible control with " + selector.describe());
    return control;
}

int print_lines(const std::vector<std::wstring>& lines) {
    for (const std::wstring& line : lines) print(line);
    return 0;
}

int wait_window(const Options& o) {
    HWND top = window_or_fail(o);
    if (!top) return 1;
    print(hex(top));
    return 0;
}

int window_rect(const Options& o) {
    HWND top = window_or_fail(o);
    if (!top) return 1;
    print(rect_text(screen_rect_of(top)));
    return 0;
}

int visible_children_command(const Options& o) {
    HWND top = window_or_fail(o);
    if (!top) return 1;
    const RECT origin = screen_rect_of(top);
    print(L"window " + hex(top) + L" \"" + text_of(top) + L"\" at " + rect_text(origin));
    for (const ControlInfo& c : visible_children(top)) {
        RECT r = c.screen_rect;
        OffsetRect(&r, -origin.left, -origin.top);
        print(std::wstring(c.depth * 2, L' ') + c.class_name + L" id=" + std::to_wstring(c.id) + L" \"" + c.text +
              L"\" at " + rect_text(r) + L" " + hex(c.hwnd) + (IsWindowEnabled(c.hwnd) ? L"" : L" disabled"));
    }
    return 0;
}

int click_command(const Options& o) {
    HWND top = window_or_fail(o);
    HWND control = top ? control_or_fail(o, top, L"") : nullptr;
    if (!control) return 1;
    if (!click(control, o.method)) {
        fail(L"the click did not reach the control");
        return 1;
    }
    return 0;
}

// A toolbar's button by its text: the first toolbar of the window that has it.
int click_toolbar_command(const Options& o) {
    HWND top = window_or_fail(o);
    if (!top) return 1;
    // #N: the Nth button, whatever its text says.
    const std::wstring& text = o.positional.at(1);
    const auto by_index = [&]() -> std::optional<ToolbarButton> {
        const auto bars = find_controls(top, Selector::by_class(L"ToolbarWindow32"));
        if (bars.empty()) return std::nullopt;
        return ToolbarButton{bars.front(), std::stoi(text.substr(1))};
    };
    const auto button = text.size() > 1 && text[0] == L'#' ? by_index() : find_toolbar_button(top, text);
    if (!button) {
        fail(L"no toolbar button \"" + o.positional[1] + L"\"");
        return 1;
    }
    if (!click_toolbar_button(button->toolbar, button->index)) {
        fail(L"the click did not reach the button");
        return 1;
    }
    return 0;
}

int text_command(const Options& o) {
    HWND top = window_or_fail(o);
    HWND control = top ? control_or_fail(o, top, L"") : nullptr;
    if (!control) return 1;
    print(text_of(control));
    return 0;
}

int visible_command(const Options& o) {
    HWND top = window_or_fail(o);
    if (!top) return 1;
    // Asking whether something is visible must not wait for it to appear.
    const bool shown = !find_controls(top, Selector::parse(o.positional.at(1))).empty();
    print(shown ? L"visible" : L"hidden");
    return shown ? 0 : 1;
}

int listbox_command(const Options& o) {
    HWND top = window_or_fail(o);
    HWND control = top ? control_or_fail(o, top, L"@ListBox") : nullptr;
    return control ? print_lines(listbox_lines(control)) : 1;
}

int combo_command(const Options& o) {
    HWND top = window_or_fail(o);
    HWND control = top ? control_or_fail(o, top, L"@ComboBox") : nullptr;
    return control ? print_lines(combo_lines(control)) : 1;
}

int listview_command(const Options& o) {
    HWND top = window_or_fail(o);
    HWND control = top ? control_or_fail(o, top, L"@SysListView32") : nullptr;
    if (!control) return 1;
    auto join = [](const std::vector<std::wstring>& cells) {
        std::wstring line;
        for (size_t i = 0; i < cells.size(); ++i) line += (i ? L"\t" : L"") + cells[i];
        return line;
    };
    const auto columns = listview_columns(control);
    if (!columns.empty()) print(join(columns));
    for (const auto& row : listview_rows(control)) print(join(row));
    return 0;
}

DWORD process_of_window(const Options& o) {
    HWND top = window_or_fail(o);
    DWORD pid = 0;
    if (top) GetWindowThreadProcessId(top, &pid);
    return pid;
}

int msgbox_command(const Options& o) {
    const DWORD pid = process_of_window(o);
    if (!pid) return 1;
    const auto box = find_message_box(pid, o.timeout);
    if (!box) {
        fail(L"no message box open");
        return 1;
    }
    print(L"title: " + box->title);
    print(L"text: " + box->text);
    for (const std::wstring& b : box->buttons) print(L"button: " + b);
    return 0;
}

int msgbox_press_command(const Options& o) {
    const DWORD pid = process_of_window(o);
    if (!pid) return 1;
    const auto box = find_message_box(pid, o.timeout);
    if (!box) {
        fail(L"no message box open");
        return 1;
    }
    if (!press_message_box_button(box->hwnd, o.positional.at(1), o.timeout)) {
        fail(L"could not press \"" + o.positional[1] + L"\"");
        return 1;
    }
    return 0;
}

int reg_query_command(const Options& o) {
    const auto where = parse_registry_path(o.positional.at(0));
    if (!where) {
        fail(L"unknown root in " + o.positional[0]);
        return 2;
    }
    if (o.positional.size() < 2) {
        for (const std::wstring& name : subkey_names(where->root, where->path)) print(L"key: " + name);
        for (const std::wstring& name : value_names(where->root, where->path)) print(L"value: " + name);
        return key_exists(where->root, where->path) ? 0 : 1;
    }
    const auto value = read_value(where->root, where->path, o.positional[1]);
    if (!value) return 1;
    if (auto d = value->as_dword()) print(std::to_wstring(*d));
    else if (auto s = value->as_string()) print(*s);
    else print(L"(type " + std::to_wstring(value->type) + L", " + std::to_wstring(value->data.size()) + L" bytes)");
    return 0;
}

int close_command(const Options& o) {
    HWND top = window_or_fail(o);
    if (!top) return 1;
    // WM_CLOSE, as the close box sends it: the program may still ask first.
    PostMessageW(top, WM_CLOSE, 0, 0);
    return wait_until([&] { return !IsWindow(top); }, o.timeout) ? 0 : 1;
}

struct Command {
    int arguments;  // positional arguments required
    const wchar_t* usage;
    std::function<int(const Options&)> run;
};

const std::map<std::wstring, Command>& commands() {
    static const std::map<std::wstring, Command> table = {
        {L"wait-window", {1, L"TITLE                 wait for the window, print its handle", wait_window}},
        {L"window-rect", {1, L"TITLE                 print the window's screen rect: x y width height", window_rect}},
        {L"visible-children", {1, L"TITLE            dump every visible control: class, id, caption, rect", visible_children_command}},
        {L"click", {2, L"TITLE SELECTOR              click a control", click_command}},
        {L"click-toolbar", {2, L"TITLE TEXT|#N       click a toolbar's button (a navigation entry), by text or index", click_toolbar_command}},
        {L"text", {2, L"TITLE SELECTOR               print a control's text", text_command}},
        {L"visible", {2, L"TITLE SELECTOR            exit 0 if such a control is visible now", visible_command}},
        {L"listbox-lines", {1, L"TITLE [SELECTOR]    print a list box's lines", listbox_command}},
        {L"combo-lines", {1, L"TITLE [SELECTOR]      print a combo box's lines", combo_command}},
        {L"listview-rows", {1, L"TITLE [SELECTOR]    print a list view's columns and rows, tab separated", listview_command}},
        {L"msgbox", {1, L"TITLE                      print the open message box of that window's program", msgbox_command}},
        {L"msgbox-press", {2, L"TITLE BUTTON         press a button of that message box", msgbox_press_command}},
        {L"close", {1, L"TITLE                      close the window as its close box would; wait until it is gone", close_command}},
        {L"reg-query", {1, L"KEY [VALUE]             print a value, or a key's subkeys and values", reg_query_command}},
    };
    return table;
}

int usage() {
    std::fputs("usage: veltrano-driver COMMAND ARGS [--timeout MS] [--method auto|button|mouse|posted]\n", stderr);
    for (const auto& [name, command] : commands())
        std::fprintf(stderr, "  %s %s\n", to_utf8(name).c_str(), to_utf8(command.usage).c_str());
    std::fputs("TITLE: a top window's title, or @Class\n", stderr);
    std::fputs("SELECTOR: Caption | @Class | @Class#N | @Class:Caption | #ControlId\n", stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Scripts read our output on Linux: no CR before the newlines.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return usage();
    const auto found = commands().find(argv[1]);
    if (found == commands().end()) return usage();

    Options options;
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--timeout" && i + 1 < argc) {
            options.timeout = Millis{std::wcstol(argv[++i], nullptr, 10)};
        } else if (arg == L"--method" && i + 1 < argc) {
            const std::wstring m = argv[++i];
            options.method = m == L"button"   ? ClickMethod::ButtonMessage
                             : m == L"mouse"  ? ClickMethod::MouseInput
                             : m == L"posted" ? ClickMethod::PostedMouse
                                              : ClickMethod::Automatic;
        } else {
            options.positional.push_back(arg);
        }
    }
    if (static_cast<int>(options.positional.size()) < found->second.arguments) return usage();
    return found->second.run(options);
}
