// What one refresh of the process list costs with 200 processes: the
// picture (taken on the refresh's own thread) against the bare snapshot
// calls it cannot do without, and the interface's share, the rows of a real
// list view updated in place and painted, which the window spends.
// Prints figures and ratios; nothing asserts on time.
#include "bench/null_widgets.h"
#include "bench/timing.h"
#include "platform/win32/win32_processes.h"
#include "procmon/process_monitor.h"
#include "ui/win32/grid_view.h"
#include "support/fake_view.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace veltrano;
using bench::Clock;
using bench::median;
using bench::ms_since;

namespace {

constexpr int kProcesses = 200;

// The baseline: the snapshot walked, and per process the handle, its times
// and its memory, as any tool that shows them must.
int bare_snapshot() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    std::vector<DWORD> ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap, &entry); more; more = Process32NextW(snap, &entry))
        ids.push_back(entry.th32ProcessID);
    CloseHandle(snap);
    for (DWORD id : ids) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
        if (!process) continue;
        FILETIME created, exited, kernel, user;
        GetProcessTimes(process, &created, &exited, &kernel, &user);
        PROCESS_MEMORY_COUNTERS memory{};
        GetProcessMemoryInfo(process, &memory, sizeof memory);
        CloseHandle(process);
    }
    return static_cast<int>(ids.size());
}

class GridWidgets : public bench::NullWidgets {
public:
    explicit GridWidgets(HWND list) : grid_(list) {}
    bool is_checked(ui::Checkable) const override { return true; }  // the refresh is on
    ui::Grid& grid(ui::StringGrid) override { return grid_; }
    ui::win32::GridView grid_;
};

GridWidgets* g_widgets = nullptr;

LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && g_widgets) {
        LRESULT result = 0;
        if (g_widgets->grid_.notify(*reinterpret_cast<const NMHDR*>(lp), result)) return result;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int count_processes() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    int n = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snap, &entry); more; more = Process32NextW(snap, &entry)) ++n;
    CloseHandle(snap);
    return n;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"--wait") {
        // One of the crowd: waits until the bench ends it.
        Sleep(INFINITE);
        return 0;
    }
    int runs = 7;
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::wstring(argv[i]) == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));

    // The crowd: copies of this program waiting, up to 200 processes.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::vector<PROCESS_INFORMATION> crowd;
    // A console program may bring a console host along: counted each time.
    while (count_processes() < kProcesses) {
        std::wstring command = L"\"" + std::wstring(self) + L"\" --wait";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &startup, &info))
            break;
        crowd.push_back(info);
    }
    const int listed = count_processes();

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ProcmonBench";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"ProcmonBench", L"ProcmonBench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 520,
                                nullptr, nullptr, wc.hInstance, nullptr);
    HWND list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 8, 8, 600, 460,
                              window, nullptr, wc.hInstance, nullptr);
    GridWidgets widgets(list);
    g_widgets = &widgets;
    fakes::FakeDialogs dialogs;  // answers No, shows nothing
    platform::win32::Win32Processes processes;
    procmon::ProcessMonitor monitor(processes, widgets, dialogs);
    monitor.shown();
    monitor.sort_by_column(9);  // by memory, which moves rows about
    widgets.grid_.set_current_row(5);
    UpdateWindow(window);

    std::vector<double> bare_ms, picture_ms, interface_ms, paint_ms, repaint_ms;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        bare_snapshot();
        bare_ms.push_back(ms_since(start));
        start = Clock::now();
        procmon::ProcessPicture picture = procmon::take_picture(processes);
        picture_ms.push_back(ms_since(start));
        start = Clock::now();
        monitor.show_picture(std::move(picture));
        const auto painting = Clock::now();
        UpdateWindow(list);
        interface_ms.push_back(ms_since(start));
        paint_ms.push_back(ms_since(painting));
        // The floor: the same list painted again with nothing changed.
        start = Clock::now();
        InvalidateRect(list, nullptr, FALSE);
        UpdateWindow(list);
        repaint_ms.push_back(ms_since(start));
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    const double bare = median(bare_ms), picture = median(picture_ms), shown = median(interface_ms);
    std::printf("processes listed       %4d\n", listed);
    std::printf("bare snapshot calls %9.2f ms (median of %d)\n", bare, runs);
    std::printf("picture (own thread)%9.2f ms, %.2fx the bare calls\n", picture, picture / bare);
    std::printf("interface's share   %9.2f ms (rows updated in place and painted; goal: a few ms)\n", shown);
    std::printf("  of which painting %9.2f ms; the same list repainted unchanged %.2f ms\n", median(paint_ms),
                median(repaint_ms));

    g_widgets = nullptr;
    DestroyWindow(window);
    for (PROCESS_INFORMATION& info : crowd) {
        TerminateProcess(info.hProcess, 0);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    return 0;
}
