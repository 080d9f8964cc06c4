// How much the tip state store's first-run set-up costs over the registry
// calls it cannot avoid, and how long the program takes to show its window.
// Prints figures and ratios against baselines measured in the same run.
#include "bench/bare_replay.h"
#include "bench/recording_registry.h"
#include "bench/timing.h"
#include "core/tip_state_store.h"
#include "tips/tip_engine.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_time.h"
#include "support/memory_log.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace veltrano;
using platform::win32::to_utf16;
using bench::Clock;
using bench::median;
using bench::ms_since;

namespace {

void remove_store(platform::Registry& registry) {
    if (auto software = registry.open(platform::Root::LocalMachine, "SOFTWARE", false))
        software->delete_subtree("VELTRANO");
}

double run_store_setup(platform::Registry& registry) {
    fakes::MemoryLog log;
    platform::win32::Win32Time time;
    core::RegistryPrimitives primitives(registry, log);
    core::TipStateStore store(primitives, time, tips::flag_rows());
    const auto start = Clock::now();
    store.create_veltrano_key_structure();
    return ms_since(start);
}

// From CreateProcess to the first window with the title, shown and painted.
// Not WaitForInputIdle: under Wine it often returned while UpdateWindow was
// still painting (a timing print after UpdateWindow was often missing from
// the programs it let us end), so the first paint, about 100 ms of
// Veltrano's start, went unmeasured. A sent message is answered only once
// the program is back in a message loop, after ShowWindow and UpdateWindow
// have returned.
double time_to_window(const std::wstring& exe, const wchar_t* title) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    const auto start = Clock::now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    double elapsed = -1;
    while (ms_since(start) < 20000) {
        HWND hwnd = FindWindowW(nullptr, title);
        if (hwnd && IsWindowVisible(hwnd)) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
            elapsed = ms_since(start);
            break;
        }
        Sleep(1);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 7;
    std::wstring veltrano_exe, minimal_exe;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring flag = argv[i];
        if (flag == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
        if (flag == L"--veltrano") veltrano_exe = argv[i + 1];
        if (flag == L"--minimal") minimal_exe = argv[i + 1];
    }

    platform::win32::Win32Registry registry;
    bench::RecordingRegistry recorder(registry);
    remove_store(registry);
    run_store_setup(recorder);
    std::printf("first-run set-up: %zu registry calls\n", recorder.calls.size());

    std::vector<double> store_ms, bare_ms;
    for (int i = 0; i < runs; ++i) {
        remove_store(registry);
        store_ms.push_back(run_store_setup(registry));
        remove_store(registry);
        bare_ms.push_back(bench::replay_bare(recorder.calls).ms);
    }
    remove_store(registry);
    const double store = median(store_ms), bare = median(bare_ms);
    std::printf("store set-up   %8.1f ms (median of %d)\n", store, runs);
    std::printf("bare calls     %8.1f ms (median of %d)\n", bare, runs);
    std::printf("ratio          %8.2fx (goal: within 1.5x)\n", store / bare);

    if (!veltrano_exe.empty() && !minimal_exe.empty()) {
        const wchar_t* title = L"Veltrano 3.1 for Micrsoft Windows XP Professional";
        std::vector<double> first_run, later, minimal;
        for (int i = 0; i < std::min(runs, 3); ++i) {
            remove_store(registry);
            first_run.push_back(time_to_window(veltrano_exe, title));
            later.push_back(time_to_window(veltrano_exe, title));
            minimal.push_back(time_to_window(minimal_exe, L"Veltrano bench window"));
        }
        const double m = median(minimal);
        std::printf("start to window, minimal program   %8.1f ms\n", m);
        std::printf("start to window, first run         %8.1f ms  %6.2fx (goal: under 1000 ms)\n", median(first_run),
                    median(first_run) / m);
        std::printf("start to window, later run         %8.1f ms  %6.2fx\n", median(later), median(later) / m);
    }
    return 0;
}
