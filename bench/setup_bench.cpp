// How much the tip state store's first-run set-up costs over the registry
// calls it cannot avoid, and how long the program takes to show its window.
// Prints figures and ratios against baselines measured in the same run.
#include "bench/bare_replay.h"
#include "bench/recording_registry.h"
#include "bench/stages.h"
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
#include <cstdlib>
#include <string>
#include <utility>
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

struct Start {
    double ms = -1;  // to the window shown and painted; -1: it never came
    int windows = 0;  // the window's visible children and theirs
    // veltrano.exe's stages (a build with VELTRANO_BENCH_STAGES), each in ms
    // since CreateProcess, in the order they came.
    std::vector<std::pair<std::string, double>> stages;
};

BOOL CALLBACK count_visible(HWND child, LPARAM count) {
    if (IsWindowVisible(child)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// From CreateProcess to the first window with the title, shown and painted.
// Not WaitForInputIdle: under Wine it often returned while UpdateWindow was
// still painting (a timing print after UpdateWindow was often missing from
// the programs it let us end), so the first paint, about 100 ms of
// Veltrano's start, went unmeasured. A sent message is answered only once
// the program is back in a message loop, after ShowWindow and UpdateWindow
// have returned.
Start time_to_window(const std::wstring& exe, const wchar_t* title, const std::wstring& stages_file = {},
                     const std::wstring& arguments = {}) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!arguments.empty()) cmd += L" " + arguments;
    if (!stages_file.empty()) DeleteFileW(stages_file.c_str());
    // The child inherits it; a program built without stages ignores it.
    SetEnvironmentVariableW(L"VELTRANO_STAGES_FILE", stages_file.empty() ? nullptr : stages_file.c_str());
    LARGE_INTEGER counter_at_start;
    QueryPerformanceCounter(&counter_at_start);
    const auto start = Clock::now();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
    Start result;
    while (ms_since(start) < 20000) {
        HWND hwnd = FindWindowW(nullptr, title);
        if (hwnd && IsWindowVisible(hwnd)) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
            result.ms = ms_since(start);
            EnumChildWindows(hwnd, count_visible, reinterpret_cast<LPARAM>(&result.windows));
            break;
        }
        Sleep(1);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    SetEnvironmentVariableW(L"VELTRANO_STAGES_FILE", nullptr);
    if (!stages_file.empty()) result.stages = bench::read_stages(stages_file, counter_at_start).at;
    return result;
}

double median_ms(const std::vector<Start>& starts) {
    std::vector<double> v;
    for (const Start& s : starts) v.push_back(s.ms);
    return median(v);
}

// The medians of the stages over the runs, each as the time since start and
// the time since the stage before; nothing when the build records none.
void print_stages(const char* which, const std::vector<Start>& starts) {
    if (starts.empty() || starts.front().stages.empty()) return;
    std::printf("  %s, stage by stage (median ms since start, and since the stage before):\n", which);
    double before = 0;
    for (std::size_t i = 0; i < starts.front().stages.size(); ++i) {
        std::vector<double> at;
        for (const Start& s : starts)
            if (i < s.stages.size() && s.stages[i].first == starts.front().stages[i].first)
                at.push_back(s.stages[i].second);
        const double m = median(at);
        std::printf("    %-22s %8.1f %+8.1f\n", starts.front().stages[i].first.c_str(), m, m - before);
        before = m;
    }
    std::printf("    %-22s %8.1f %+8.1f\n", "window answers", median_ms(starts), median_ms(starts) - before);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 7;
    bool start_only = false;
    std::wstring veltrano_exe, minimal_exe, themed_exe;
    for (int i = 1; i < argc; ++i) {
        const std::wstring flag = argv[i];
        if (flag == L"--start-only") start_only = true;
        if (i + 1 >= argc) continue;
        if (flag == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
        if (flag == L"--veltrano") veltrano_exe = argv[i + 1];
        if (flag == L"--minimal") minimal_exe = argv[i + 1];
        if (flag == L"--themed") themed_exe = argv[i + 1];
    }

    platform::win32::Win32Registry registry;
    if (!start_only) {
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
    }

    if (!veltrano_exe.empty() && !minimal_exe.empty() && !themed_exe.empty()) {
        const wchar_t* title = L"Veltrano 3.1 for Micrsoft Windows XP Professional";
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::wstring stages_file = std::wstring(temp) + L"veltrano-start-stages.txt";
        // The floor again with as many windows as Veltrano's first paint
        // shows (the floor has three besides its own): what the windows
        // alone cost under Wine, apart from our work around them.
        const int windows = time_to_window(veltrano_exe, title).windows;
        const std::wstring labels = std::to_wstring(std::max(0, windows - 3));
        // Taking turns within each round, so a slower moment of the machine
        // falls on all five alike.
        std::vector<Start> first_run, later, themed;
        std::vector<double> minimal, as_many;
        for (int i = 0; i < runs; ++i) {
            remove_store(registry);
            first_run.push_back(time_to_window(veltrano_exe, title, stages_file));
            later.push_back(time_to_window(veltrano_exe, title, stages_file));
            minimal.push_back(time_to_window(minimal_exe, L"Veltrano bench window").ms);
            themed.push_back(time_to_window(themed_exe, L"Veltrano bench themed window", stages_file));
            as_many.push_back(time_to_window(themed_exe, L"Veltrano bench themed window", {}, labels).ms);
        }
        DeleteFileW(stages_file.c_str());
        const double floor = median_ms(themed);
        std::printf("start to window (median of %d)\n", runs);
        std::printf("  minimal program              %8.1f ms\n", median(minimal));
        std::printf("  themed minimal program       %8.1f ms  (the floor)\n", floor);
        std::printf("  first run                    %8.1f ms  %6.2fx the floor (goal: within 1.5x)\n", median_ms(first_run),
                    median_ms(first_run) / floor);
        std::printf("  later run                    %8.1f ms  %6.2fx the floor (goal: within 1.3x)\n", median_ms(later),
                    median_ms(later) / floor);
        std::printf("  themed, %3d windows as ours  %8.1f ms  %6.2fx the floor; a later run is %.2fx this\n", windows,
                    median(as_many), median(as_many) / floor, median_ms(later) / median(as_many));
        print_stages("themed minimal program", themed);
        print_stages("first run", first_run);
        print_stages("later run", later);
    }
    return 0;
}
