// What a start-up script pays for `veltrano /apply` of a profile of all 48
// tips, from process start to exit, against the least any program could do:
// a minimal console program's start and end, plus the same registry calls
// made bare. Both start from the same machine (the fixture, no records);
// prints medians and the ratio, measured in the same run.
#include "bench/bare_replay.h"
#include "bench/machine_journal.h"
#include "bench/recording_registry.h"
#include "bench/stages.h"
#include "bench/timing.h"
#include "driver/process.h"
#include "driver/registry_probe.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_ansi_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_time.h"
#include "shell/command_line.h"
#include "tips/profile.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace veltrano;
using bench::Clock;
using bench::median;
using bench::ms_since;

namespace {

class QuietConsole : public shell::Console {
public:
    void say(const std::string&) override {}
};

// Start to exit; -1 when it would not start or end. The performance
// counter at the start, for the stages a bench build of veltrano.exe writes.
double run_ms(const std::wstring& command_line, DWORD& exit_code, LARGE_INTEGER* counter_at_start = nullptr) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = command_line;
    if (counter_at_start) QueryPerformanceCounter(counter_at_start);
    const auto start = Clock::now();
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    const bool ended = WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0;
    const double ms = ms_since(start);
    GetExitCodeProcess(pi.hProcess, &exit_code);
    if (!ended) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ended ? ms : -1;
}

void remove_store() { driver::delete_tree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VELTRANO"); }

bool reset_machine(const std::wstring& fixture) {
    remove_store();
    if (fixture.empty()) return true;
    const auto code = driver::run_to_completion(
        L"reg.exe import \"" + driver::to_windows_path(fixture) + L"\" /reg:64", driver::Millis{30000});
    return code == std::optional<DWORD>(0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 7;
    std::wstring veltrano_exe, console_exe, fixture;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring flag = argv[i];
        if (flag == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
        if (flag == L"--veltrano") veltrano_exe = argv[i + 1];
        if (flag == L"--console") console_exe = argv[i + 1];
        if (flag == L"--machine-reg") fixture = argv[i + 1];
    }
    if (veltrano_exe.empty() || console_exe.empty()) {
        std::fprintf(stderr, "usage: apply_bench --veltrano EXE --console EXE [--machine-reg FILE.reg] [--runs N]\n");
        return 2;
    }
    if (!reset_machine(fixture)) {
        std::fprintf(stderr, "apply_bench: cannot reset the machine\n");
        return 1;
    }

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring profile = std::wstring(folder) + L"all 48 tips.txt";
    std::vector<int> all;
    for (int tip = 1; tip <= tips::kTipCount; ++tip) all.push_back(tip);
    const std::string text = tips::format_profile(all, "every tip");
    platform::win32::Win32FileSystem files;
    files.replace_file(platform::win32::to_utf8(profile), {text.begin(), text.end()});

    // The calls /apply makes, recorded in process; the journal puts the
    // machine back after each run, as every run makes the same calls.
    bench::MachineJournal journal;
    std::vector<bench::RegistryCall> calls;
    {
        platform::win32::Win32Registry win32;
        bench::RecordingRegistry recorder(win32);
        recorder.before_call = [&journal](const bench::RegistryCall& c) { journal.note(c); };
        platform::win32::Win32Time time;
        QuietConsole console;
        shell::Command command;
        command.action = shell::Command::Action::Apply;
        command.file = platform::win32::to_utf8(profile);
        platform::win32::Win32AnsiText ansi;
        // Free for the taking: the bench runs alone.
        struct FreeGate : tips::WriterGate {
            bool acquire(std::uint32_t) override { return true; }
            void release() override {}
        } gate;
        const int code = shell::run_command(command, {}, {recorder, time, files, ansi, gate}, console);
        calls = recorder.calls;
        std::printf("/apply of all 48 tips: %zu registry calls, exit code %d\n", calls.size(), code);
    }
    journal.restore();
    remove_store();

    // As a start-up script runs it: with the log appended to a file, and
    // without, the two taking turns.
    const std::wstring apply_line = L"\"" + veltrano_exe + L"\" /apply \"" + profile + L"\"";
    const std::wstring log_file = std::wstring(folder) + L"veltrano-apply-bench.log";
    const std::wstring logged_line = apply_line + L" /log \"" + log_file + L"\"";
    const std::wstring stages_file = std::wstring(folder) + L"veltrano-apply-stages.txt";
    struct Variant {
        const char* title;
        std::wstring line;
        std::vector<double> ms, ratios;
        std::vector<bench::Stages> stages;
    };
    Variant variants[] = {{"veltrano /apply", apply_line, {}, {}, {}}, {"veltrano /apply /log FILE", logged_line, {}, {}, {}}};
    std::vector<double> floor_ms, start_ms, bare_ms;
    for (int i = 0; i < runs; ++i) {
        DWORD code = 0;
        double ms[2] = {};
        for (int v = 0; v < 2; ++v) {
            LARGE_INTEGER counter_at_start;
            DeleteFileW(stages_file.c_str());
            DeleteFileW(log_file.c_str());
            SetEnvironmentVariableW(L"VELTRANO_STAGES_FILE", stages_file.c_str());
            ms[v] = run_ms(variants[v].line, code, &counter_at_start);
            SetEnvironmentVariableW(L"VELTRANO_STAGES_FILE", nullptr);
            variants[v].stages.push_back(bench::read_stages(stages_file, counter_at_start));
            if (ms[v] < 0 || code > 1) std::printf("  run %d: %s ended with %lu\n", i + 1, variants[v].title, code);
            journal.restore();
            remove_store();
        }

        const double start = run_ms(L"\"" + console_exe + L"\"", code);
        const double bare = bench::replay_bare(calls).ms;
        journal.restore();
        remove_store();
        floor_ms.push_back(start + bare);
        start_ms.push_back(start);
        bare_ms.push_back(bare);
        for (int v = 0; v < 2; ++v) {
            variants[v].ms.push_back(ms[v]);
            variants[v].ratios.push_back(ms[v] / (start + bare));
        }
    }
    std::printf("medians of %d runs; the ratio is the median of each run's time / its floor (goal: within 1.5x)\n", runs);
    std::printf("minimal console start + bare calls   %8.1f ms  (the floor: %.1f ms start, %.1f ms calls)\n",
                median(floor_ms), median(start_ms), median(bare_ms));
    for (const Variant& v : variants)
        std::printf("%-26s start to exit %8.1f ms %8.2fx\n", v.title, median(v.ms), median(v.ratios));
    for (const Variant& v : variants) {
        std::printf("%s, stage by stage (median ms since the start, and since the stage before; then the\n"
                    "time spent in each kind of call, all calls summed):\n",
                    v.title);
        bench::print_stage_medians(v.stages, "  ");
    }
    DeleteFileW(stages_file.c_str());
    DeleteFileW(log_file.c_str());
    reset_machine(fixture);
    return 0;
}
