// How long the user waits on Apply and Undo, against the registry calls the
// same action cannot avoid. Each action is first run in-process through the
// recording registry, exactly as the window would run it (start-up, the page
// shown, the boxes ticked, the button's handler); its registry calls are then
// replayed bare for the floor, and veltrano.exe is worked from outside with
// the driver, from the click to the done balloon on the screen with the
// activity log written out. Prints medians and ratios; asserts nothing.
#include "bench/bare_replay.h"
#include "bench/machine_journal.h"
#include "bench/recording_registry.h"
#include "bench/stages.h"
#include "bench/timing.h"
#include "driver/driver.h"
#include "driver/process.h"
#include "driver/registry_probe.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_ansi_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_shutdown.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_time.h"
#include "shell/main_form.h"
#include "shell/win32/window_classes.h"
#include "support/fake_view.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "tips/catalogue.h"
#include "tips/tip_page.h"
#include "tips/undo.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace veltrano;
using bench::Clock;
using bench::median;
using bench::ms_since;
using driver::Millis;
using driver::Selector;

namespace {

constexpr wchar_t kMainTitle[] = L"Veltrano 3.1 for Micrsoft Windows XP Professional";

// ---- the window, in-process: the native tests' recorded screen ------------

// The boxes the in-process run ticked, for the exe run to tick the same.
std::vector<std::string> ticked(const fakes::RecordingView& view) {
    std::vector<std::string> names;
    for (const auto& [name, state] : view.controls)
        if (state.checked && name.rfind("CheckBox", 0) == 0) names.push_back(name);
    return names;
}

// ---- the actions -----------------------------------------------------------

struct Action {
    const char* title;
    std::size_t navigation;  // entry of the navigation bar
    int tip_by_hand;         // a tip ticked on its own, or 0: the page's Select All
    std::function<void(shell::MainForm&)> select_all;
    std::function<void(shell::MainForm&)> go;  // the handler of the timed button
    std::wstring select_all_button, go_button;
};

std::wstring wide(std::string_view s) { return platform::win32::to_utf16(std::string(s)); }

std::vector<Action> actions() {
    using tips::Group;
    // The navigation entry of a group's page is its place in the page table.
    auto page = [](shell::MainForm& f, std::size_t entry) -> tips::TipPage& {
        return *static_cast<tips::TipPage*>(f.page(entry));
    };
    auto apply = [page](std::size_t entry) { return [page, entry](shell::MainForm& f) { page(f, entry).apply(); }; };
    auto select_all = [page](std::size_t entry) {
        return [page, entry](shell::MainForm& f) { page(f, entry).select_all(); };
    };
    auto undo = [](shell::MainForm& f) -> tips::UndoPage& { return *static_cast<tips::UndoPage*>(f.page(5)); };
    auto apply_caption = [](Group g) { return wide(tips::group_display(g).apply.caption); };
    return {
        {"Apply tip 1 (Network)", 1, 1, {}, apply(1), {}, apply_caption(Group::Network)},
        {"Apply tip 41 (Customize)", 4, 41, {}, apply(4), {}, apply_caption(Group::Customization)},
        {"Apply all system tips", 3, 0, select_all(3), apply(3),
         wide(tips::group_display(Group::System).select_all.caption), apply_caption(Group::System)},
        {"Undo all four groups", 5, 0, [undo](shell::MainForm& f) { undo(f).select_all(); },
         [undo](shell::MainForm& f) { undo(f).undo(); }, wide(tips::kUndoButtons.select_all.caption),
         wide(tips::kUndoButtons.undo.caption)},
    };
}

std::wstring caption_of_box(const std::string& name) {
    const int number = std::stoi(name.substr(8));
    if (number >= 1 && number <= tips::kTipCount) return wide(tips::tip_display(number).caption);
    for (const auto& line : tips::kUndoLines)
        if (line.check_box.name() == name) return wide(line.check_caption);
    return {};
}

// What the in-process run left for the exe run to match.
struct Recorded {
    std::vector<bench::RegistryCall> calls;
    std::vector<std::string> ticked;
    std::vector<std::string> lines;  // the action's own log lines
    std::string balloon;
};

struct InProcess {
    platform::win32::Win32SystemInfo system_info;
    platform::win32::Win32Time time;
    platform::win32::Win32Shutdown shutdown;
    fakes::FakeSound sound;
    fakes::FakeBrowser browser;
    fakes::RecordingView view;
    fakes::FakeDialogs dialogs;
    platform::win32::Win32FileSystem file_system;
    platform::win32::Win32AnsiText ansi_text;
    platform::win32::Win32Processes processes;
    platform::win32::Win32Shell shell;
    fakes::MemoryLog log;
    shell::MainForm form;
    explicit InProcess(platform::Registry& registry)
        : form({registry, system_info, time, sound, shutdown, browser, file_system, processes, shell, ansi_text}, view, dialogs, log,
               "") {}

    // Up to the moment of the timed click, as the window does it.
    void prepare(const Action& action) {
        form.start_up();
        form.navigation_click(action.navigation);
        if (action.tip_by_hand)
            view.set_checked(tips::tip_display(action.tip_by_hand).check_box, true);
        else
            action.select_all(form);
    }
};

Recorded record(const Action& action, bench::MachineJournal& journal) {
    platform::win32::Win32Registry win32;
    bench::RecordingRegistry recorder(win32);
    recorder.before_call = [&journal](const bench::RegistryCall& c) { journal.note(c); };
    InProcess run(recorder);
    run.prepare(action);
    Recorded out;
    out.ticked = ticked(run.view);
    const std::size_t lines_before = run.log.lines.size();
    recorder.calls.clear();
    action.go(run.form);
    out.calls = recorder.calls;
    out.lines.assign(run.log.lines.begin() + static_cast<std::ptrdiff_t>(lines_before), run.log.lines.end());
    for (const std::string& error : run.dialogs.errors) std::printf("  in-process error: %s\n", error.c_str());
    // What the balloon said, without the fake's "balloon " in front.
    if (!run.dialogs.shown.empty()) out.balloon = run.dialogs.shown.back().substr(std::string("balloon ").size());
    return out;
}

double bare_run(const Action& action, const Recorded& recorded, int& orphans) {
    platform::win32::Win32Registry win32;
    InProcess run(win32);
    run.prepare(action);
    const bench::ReplayResult result = bench::replay_bare(recorded.calls);
    orphans = result.orphan_calls;
    return result.ms;
}

// ---- the exe, from outside --------------------------------------------------

struct ExeTiming {
    double balloon_ms = -1;  // click to the balloon shown
    double settled_ms = -1;  // ... and every line of the action in the log
    std::size_t lines = 0;
    bool newest_in_view = false, last_line_matches = false;
    std::wstring message;
    bench::Stages stages;  // since the click, from a build that records them
};

// Where the exe writes its stages: the exe inherits the variable.
std::wstring stages_file() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"veltrano-action-stages.txt";
}

bool has_stage(const bench::Stages& stages, const char* name) {
    return std::any_of(stages.at.begin(), stages.at.end(), [name](const auto& s) { return s.first == name; });
}

LRESULT send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, 60000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

HWND log_list(HWND main) {
    for (HWND list : driver::find_controls(main, Selector::by_class(L"ListBox")))
        if (GetParent(list) == main) return list;
    return nullptr;
}

HWND shown_balloon(DWORD pid) {
    for (HWND w = FindWindowW(shell::win32::kBalloonClass, nullptr); w;
         w = FindWindowExW(nullptr, w, shell::win32::kBalloonClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

std::optional<ExeTiming> exe_run(const std::wstring& exe, const Action& action, const Recorded& recorded) {
    driver::ChildProcess app;
    if (!app.start(exe)) return std::nullopt;
    HWND main = driver::find_top_window(kMainTitle, app.id(), Millis{30000});
    if (!main) return std::nullopt;
    if (!driver::wait_until_idle(main)) return std::nullopt;

    // The navigation bar's entries are a toolbar's buttons, in the page table's order.
    HWND nav = driver::find_control(main, Selector::by_class(L"ToolbarWindow32"));
    if (!nav || !driver::click_toolbar_button(nav, static_cast<int>(action.navigation))) return std::nullopt;
    HWND go = driver::find_control(main, Selector::by(L"Button", action.go_button));
    if (!go) return std::nullopt;
    if (!action.tip_by_hand) {
        HWND all = driver::find_control(main, Selector::by(L"Button", action.select_all_button));
        if (!all || !driver::click(all, driver::ClickMethod::ButtonMessage)) return std::nullopt;
    }
    for (const std::string& name : recorded.ticked) {
        HWND box = driver::find_control(main, Selector::by(L"Button", caption_of_box(name)));
        if (!box) return std::nullopt;
        if (action.tip_by_hand) driver::click(box, driver::ClickMethod::ButtonMessage);
        if (!driver::wait_until([&] { return driver::is_checked(box).value_or(false); }, Millis{5000}))
            return std::nullopt;
    }
    HWND list = log_list(main);
    if (!list) return std::nullopt;
    const LRESULT before = send(list, LB_GETCOUNT);
    const LRESULT expected = before + static_cast<LRESULT>(recorded.lines.size());
    const LRESULT item = std::max<LRESULT>(1, send(list, LB_GETITEMHEIGHT));
    RECT client{};
    GetClientRect(list, &client);
    const LRESULT page_lines = (client.bottom - client.top) / item;

    ExeTiming t;
    // A build that times its clicks sums its registry calls from the start
    // on: its start-up stages hold spans.
    const bool times_clicks = !bench::read_stages(stages_file(), LARGE_INTEGER{}).spans.empty();
    DeleteFileW(stages_file().c_str());
    LARGE_INTEGER counter_at_click;
    QueryPerformanceCounter(&counter_at_click);
    const auto start = Clock::now();
    if (!driver::click(go, driver::ClickMethod::ButtonMessage)) return std::nullopt;
    HWND balloon = nullptr;
    LRESULT count = 0;
    if (times_clicks) {
        // The program's own marks on the performance counter every process
        // shares say when the balloon showed and the log was painted. Asking
        // the windows every millisecond instead cost the Wine server several
        // requests each time, in competition with the program's registry
        // calls. The file is only looked at.
        WIN32_FILE_ATTRIBUTE_DATA seen{};
        for (;;) {
            WIN32_FILE_ATTRIBUTE_DATA now{};
            if (GetFileAttributesExW(stages_file().c_str(), GetFileExInfoStandard, &now) &&
                (now.nFileSizeLow != seen.nFileSizeLow ||
                 CompareFileTime(&now.ftLastWriteTime, &seen.ftLastWriteTime) != 0)) {
                seen = now;
                t.stages = bench::read_stages(stages_file(), counter_at_click);
                if (has_stage(t.stages, "balloon shows") && has_stage(t.stages, "log in view and painted")) break;
            }
            if (ms_since(start) > 60000) return std::nullopt;
            Sleep(1);
        }
        for (const auto& [name, ms] : t.stages.at) {
            if (name == "balloon shows") t.balloon_ms = ms;
            if (name == "balloon shows" || name == "log in view and painted") t.settled_ms = std::max(t.settled_ms, ms);
        }
        // Marked as it begins to show.
        driver::wait_until([&] { return (balloon = shown_balloon(app.id())) != nullptr; }, Millis{5000});
        if (!balloon) return std::nullopt;
        count = send(list, LB_GETCOUNT);
        t.newest_in_view = count > 0 && send(list, LB_GETTOPINDEX) + page_lines >= count;
    } else {
        while (!(balloon = shown_balloon(app.id()))) {
            if (ms_since(start) > 60000) return std::nullopt;
            Sleep(1);
        }
        t.balloon_ms = ms_since(start);
        // A sent message is answered only when the program pumps messages
        // again, so each answer is a state between two messages: the log is
        // done once it holds every line and shows the newest.
        for (;;) {
            count = send(list, LB_GETCOUNT);
            t.newest_in_view = count > 0 && send(list, LB_GETTOPINDEX) + page_lines >= count;
            if (count < 0 || (count >= expected && t.newest_in_view) || ms_since(start) > 60000) break;
            Sleep(1);
        }
        t.settled_ms = ms_since(start);
    }
    t.lines = static_cast<std::size_t>(std::max<LRESULT>(0, count - before));
    const auto shown = driver::listbox_lines(list);
    t.last_line_matches = !recorded.lines.empty() && !shown.empty() &&
                          driver::to_utf8(shown.back()) == recorded.lines.back();
    if (HWND label = driver::find_control(balloon, Selector::by_class(L"Static"), Millis{1000}))
        t.message = driver::text_of(label);
    PostMessageW(balloon, WM_LBUTTONUP, 0, MAKELPARAM(20, 120));
    driver::wait_until([&] { return !IsWindowVisible(balloon); }, Millis{3000});
    app.terminate();
    return t;
}

// As the end-to-end rig does it: no store, the machine's keys as the fixture has them.
bool reset_machine(const std::wstring& fixture) {
    driver::delete_tree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\VELTRANO");
    if (fixture.empty()) return true;
    const auto code = driver::run_to_completion(L"reg.exe import \"" + driver::to_windows_path(fixture) + L"\" /reg:64",
                                                Millis{30000});
    return code == std::optional<DWORD>(0);
}

}  // namespace

// With --veltrano given more than once the builds take turns within each
// run, so two builds meet the same load on the machine (other builds, the
// wine server saving its registry) and their figures compare.
int wmain(int argc, wchar_t** argv) {
    int runs = 5;
    std::vector<std::wstring> exes;
    std::wstring fixture;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring flag = argv[i];
        if (flag == L"--runs") runs = std::max(1, _wtoi(argv[i + 1]));
        if (flag == L"--veltrano") exes.push_back(argv[i + 1]);
        if (flag == L"--machine-reg") fixture = argv[i + 1];
    }
    if (exes.empty()) {
        std::fprintf(stderr, "usage: action_bench --veltrano EXE [--veltrano EXE2 ...] [--machine-reg FILE.reg] [--runs N]\n");
        return 2;
    }
    SetEnvironmentVariableW(L"VELTRANO_STAGES_FILE", stages_file().c_str());
    if (!reset_machine(fixture)) {
        std::fprintf(stderr, "action_bench: cannot reset the machine\n");
        return 1;
    }

    struct Row {
        std::string title;
        double bare;
        std::vector<double> balloon, settled, ratio;  // per exe: medians
        std::vector<std::vector<bench::Stages>> stages;  // per exe, per run
    };
    std::vector<Row> rows;
    for (const Action& action : actions()) {
        bench::MachineJournal journal;
        const Recorded recorded = record(action, journal);
        journal.restore();
        std::printf("%s: %zu registry calls, %zu log lines, %zu boxes ticked, %zu keys journalled\n", action.title,
                    recorded.calls.size(), recorded.lines.size(), recorded.ticked.size(), journal.entries());
        std::vector<double> bare_ms;
        std::vector<std::vector<double>> balloon_ms(exes.size()), settled_ms(exes.size()), ratios(exes.size());
        std::vector<std::vector<bench::Stages>> stages(exes.size());
        for (int i = 0; i < runs; ++i) {
            int orphans = 0;
            const double bare = bare_run(action, recorded, orphans);
            bare_ms.push_back(bare);
            journal.restore();
            if (orphans) std::printf("  note: %d replayed calls on keys opened before the click\n", orphans);

            for (std::size_t e = 0; e < exes.size(); ++e) {
                const auto t = exe_run(exes[e], action, recorded);
                journal.restore();
                if (!t) {
                    std::printf("  run %d, exe %zu: the exe could not be worked to the balloon\n", i + 1, e + 1);
                    continue;
                }
                balloon_ms[e].push_back(t->balloon_ms);
                settled_ms[e].push_back(t->settled_ms);
                ratios[e].push_back(t->settled_ms / bare);
                stages[e].push_back(t->stages);
                if (i == 0 || t->lines != recorded.lines.size() || !t->newest_in_view || !t->last_line_matches ||
                    t->message != wide(recorded.balloon))
                    std::printf("  run %d, exe %zu: %zu lines logged (%zu expected), newest line %s, last line %s, "
                                "balloon \"%s\"\n",
                                i + 1, e + 1, t->lines, recorded.lines.size(),
                                t->newest_in_view ? "in view" : "NOT in view",
                                t->last_line_matches ? "as recorded" : "DIFFERS", driver::to_utf8(t->message).c_str());
            }
        }
        Row row{action.title, median(bare_ms), {}, {}, {}, stages};
        for (std::size_t e = 0; e < exes.size(); ++e) {
            row.balloon.push_back(median(balloon_ms[e]));
            row.settled.push_back(median(settled_ms[e]));
            row.ratio.push_back(median(ratios[e]));
        }
        rows.push_back(row);
    }

    std::printf("\nmedians of %d runs; the ratio is the median of each run's log done / bare calls\n"
                "goal: within 1.5x of the bare calls\n",
                runs);
    for (std::size_t e = 0; e < exes.size(); ++e) {
        std::printf("\n%s\n%-26s %13s %13s %13s %8s\n", driver::to_utf8(exes[e]).c_str(), "", "balloon shown",
                    "log done", "bare calls", "ratio");
        for (const Row& r : rows)
            std::printf("%-26s %10.1f ms %10.1f ms %10.1f ms %7.2fx\n", r.title.c_str(), r.balloon[e], r.settled[e],
                        r.bare, r.ratio[e]);
        std::printf("stage by stage (median ms since the click, and since the stage before; then the time spent in\n"
                    "each kind of call, all calls summed):\n");
        for (const Row& r : rows) {
            std::printf("  %s (bare calls %.1f ms)\n", r.title.c_str(), r.bare);
            bench::print_stage_medians(r.stages[e], "    ");
        }
    }
    return 0;
}
