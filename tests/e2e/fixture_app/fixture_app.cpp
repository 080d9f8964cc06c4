// The driver's sparring partner: one of each control the driver has to find,
// click and read, laid out the way veltrano.exe lays out its own (controls
// inside real group-box windows, notifying statics as links). Every action
// writes a line to the list box, so a test can see what arrived.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <initializer_list>

namespace {

enum ControlId {
    kGroup = 100,
    kNotifyStatic = 101,
    kPlainStatic = 102,
    kPress = 103,
    kOption = 104,
    kAsk = 105,
    kSwap = 106,
    kUndoBlank = 107,
    kUndo = 108,
    kHiddenGroup = 200,
    kHiddenCaption = 201,
    kLog = 300,
    kGrid = 400,
    kCombo = 500,
    kEdit = 600,
};

HINSTANCE g_instance;
HWND g_main, g_log, g_group, g_hidden_group;
WNDPROC g_groupbox_proc;

void log_line(const wchar_t* text) { SendMessageW(g_log, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }

// "--busy": one thread keeps a processor busy for as long as the program
// runs, for the process monitor's CPU column; every 2 s the list gets a line
// "own cpu N": the share of all processors the program measured on itself,
// which a machine busy with other work holds below half.
DWORD WINAPI spin(void*) {
    for (volatile unsigned long n = 0;; n = n + 1) {
    }
}

constexpr UINT_PTR kOwnShareTimer = 1;

unsigned long long as_ticks(const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void log_own_share() {
    static unsigned long long cpu_before = 0, wall_before = 0;
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long cpu = as_ticks(kernel) + as_ticks(user), wall = as_ticks(now);
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    if (wall_before != 0 && wall > wall_before && system.dwNumberOfProcessors > 0) {
        wchar_t line[32];
        wsprintfW(line, L"own cpu %u",
                  static_cast<unsigned>(100 * (cpu - cpu_before) / (wall - wall_before) / system.dwNumberOfProcessors));
        log_line(line);
    }
    cpu_before = cpu;
    wall_before = wall;
}

HWND make(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, HWND parent, int id,
          DWORD ex_style = 0) {
    HWND hwnd = CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return hwnd;
}

// A group box does not pass its children's notifications on; the real
// program's framework does, so this one must too.
LRESULT CALLBACK forwarding_groupbox(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND || message == WM_NOTIFY) return SendMessageW(g_main, message, wparam, lparam);
    return CallWindowProcW(g_groupbox_proc, hwnd, message, wparam, lparam);
}

HWND make_group(const wchar_t* caption, int x, int y, int w, int h, int id, bool visible) {
    HWND group = make(L"BUTTON", caption, BS_GROUPBOX, x, y, w, h, g_main, id);
    g_groupbox_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(group, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(forwarding_groupbox)));
    if (!visible) ShowWindow(group, SW_HIDE);
    return group;
}

void fill_grid(HWND grid) {
    const wchar_t* headers[] = {L"Name", L"Value"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 80;
        column.pszText = const_cast<wchar_t*>(headers[i]);
        SendMessageW(grid, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    const wchar_t* rows[][2] = {{L"alpha", L"1"}, {L"beta", L"2"}, {L"gamma", L"3"}};
    for (int r = 0; r < 3; ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<wchar_t*>(rows[r][0]);
        SendMessageW(grid, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(rows[r][1]);
        SendMessageW(grid, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
    }
}

void create_controls() {
    g_group = make_group(L"Fixture Group", 10, 10, 300, 220, kGroup, true);
    make(L"STATIC", L"Click Me", SS_NOTIFY, 20, 25, 120, 20, g_group, kNotifyStatic);
    make(L"STATIC", L"Plain Label", 0, 160, 25, 120, 20, g_group, kPlainStatic);
    make(L"BUTTON", L"&Press", BS_PUSHBUTTON, 20, 55, 80, 24, g_group, kPress);
    make(L"BUTTON", L"Option", BS_AUTOCHECKBOX, 120, 55, 100, 24, g_group, kOption);
    make(L"BUTTON", L"Ask", BS_PUSHBUTTON, 20, 90, 80, 24, g_group, kAsk);
    make(L"BUTTON", L"Swap", BS_PUSHBUTTON, 120, 90, 80, 24, g_group, kSwap);
    make(L"STATIC", L"Undo ", SS_NOTIFY, 20, 125, 80, 20, g_group, kUndoBlank);
    make(L"STATIC", L"Undo", SS_NOTIFY, 120, 125, 80, 20, g_group, kUndo);
    make(L"EDIT", L"edit text", ES_AUTOHSCROLL, 20, 160, 200, 22, g_group, kEdit, WS_EX_CLIENTEDGE);

    g_hidden_group = make_group(L"Hidden Group", 10, 10, 300, 220, kHiddenGroup, false);
    make(L"STATIC", L"Hidden Caption", SS_NOTIFY, 20, 30, 120, 20, g_hidden_group, kHiddenCaption);

    g_log = make(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL, 320, 10, 260, 150, g_main, kLog);
    HWND grid = make(WC_LISTVIEWW, L"", LVS_REPORT | WS_BORDER, 320, 170, 260, 110, g_main, kGrid);
    fill_grid(grid);
    HWND combo = make(L"COMBOBOX", L"", CBS_DROPDOWNLIST, 10, 240, 150, 120, g_main, kCombo);
    for (const wchar_t* line : {L"first", L"second", L"third"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
}

void on_command(int id, int code, HWND control) {
    switch (id) {
        case kNotifyStatic:
        case kUndoBlank:
        case kUndo:
        case kHiddenCaption:
            if (code == STN_CLICKED) {
                wchar_t text[64] = L"";
                GetWindowTextW(control, text, 64);
                wchar_t line[96];
                wsprintfW(line, L"clicked [%s]", text);
                log_line(line);
            }
            break;
        case kPress:
            log_line(L"pressed");
            break;
        case kOption:
            log_line(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"option on" : L"option off");
            break;
        case kAsk: {
            const int answer = MessageBoxW(g_main, L"Proceed with the test?", L"Fixture Question",
                                           MB_YESNO | MB_ICONQUESTION);
            log_line(answer == IDYES ? L"answer yes" : L"answer no");
            break;
        }
        case kSwap: {
            const bool first_shown = IsWindowVisible(g_group);
            ShowWindow(g_group, first_shown ? SW_HIDE : SW_SHOW);
            ShowWindow(g_hidden_group, first_shown ? SW_SHOW : SW_HIDE);
            break;
        }
    }
}

LRESULT CALLBACK main_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            g_main = hwnd;
            create_controls();
            return 0;
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
            return 0;
        case WM_TIMER:
            if (wparam == kOwnShareTimer) log_own_share();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR arguments, int show) {
    g_instance = instance;
    const bool busy = arguments && wcsstr(arguments, L"--busy");
    if (busy) CloseHandle(CreateThread(nullptr, 0, spin, nullptr, 0, nullptr));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSW wc{};
    wc.lpfnWndProc = main_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VeltranoDriverFixture";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Driver Fixture", WS_OVERLAPPEDWINDOW, 40, 40, 600, 330,
                                nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    if (busy) {
        log_own_share();
        SetTimer(hwnd, kOwnShareTimer, 2000, nullptr);
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
