// The process monitor against fake processes: what each list shows and how
// its numbers read, the current row across a rebuild, the order a heading
// click chooses, and the kill, which only the process list offers, which
// asks first and which ends only the program the row showed.
#include "procmon/process_monitor.h"
#include "support/fake_view.h"
#include "support/fakes.h"

#include <gmock/gmock.h>

using namespace veltrano;
using procmon::ProcessMonitor;
using Row = std::vector<std::string>;
using ThreadRow = platform::ThreadEntry;
using ModuleRow = platform::ModuleEntry;

namespace {

class ProcessMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        processes.processes = {{"System", 4, 0, 0, 0, 52, 0, 8}, {"smss.exe", 368, 0, 0, 0, 3, 4, 11},
                               {"explorer.exe", 1460, 1, 0, 0, 14, 1436, 8}};
    }
    fakes::FakeGrid& grid() { return widgets.grids["Grid"]; }
    std::vector<Row> rows() {
        std::vector<Row> out;
        for (int r = 1; r < grid().row_count(); ++r) out.push_back(grid().row(r));
        return out;
    }
    void kill_row(int row, bool answer = true) {
        grid().set_current_row(row);
        dialogs.answer_yes = answer;
        monitor.close_selected_process();
    }
    std::vector<std::string> column(int c) {
        std::vector<std::string> out;
        for (const Row& r : rows()) out.push_back(r[static_cast<std::size_t>(c)]);
        return out;
    }
    fakes::FakeProcesses processes;
    fakes::FakeWidgets widgets;
    fakes::FakeDialogs dialogs;
    ProcessMonitor monitor{processes, widgets, dialogs};
};

struct ListCase {
    void (ProcessMonitor::*click)();
    int shown_list;
    const char* caption;
    Row headings;
    std::vector<int> widths;
};

void PrintTo(const ListCase& list, std::ostream* out) { *out << list.caption; }

class EachList : public ProcessMonitorTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(EachList, ShowsItsCaptionHeadingsAndWidthsAndOffersTheKillOnlyForProcesses) {
    const ListCase& list = GetParam();
    // After the widest list, whose extra columns must go.
    monitor.show_process_list();
    (monitor.*list.click)();
    EXPECT_EQ(monitor.shown_list(), list.shown_list);
    EXPECT_EQ(widgets.text("GroupBox17"), list.caption);
    EXPECT_EQ(grid().row(0), list.headings);
    for (std::size_t c = 0; c < list.widths.size(); ++c) EXPECT_EQ(grid().widths[int(c)], list.widths[c]) << c;
    const bool processes_shown = list.shown_list == 1;
    EXPECT_EQ(widgets.is_enabled("CloseProcess1"), processes_shown);
    EXPECT_EQ(widgets.is_enabled("BitBtn19") && widgets.is_visible("BitBtn19"), processes_shown);
}

INSTANTIATE_TEST_SUITE_P(
    ProcessMonitor, EachList,
    ::testing::Values(
        ListCase{&ProcessMonitor::show_process_list, 1, "List of processes in memory",
                 {"Executable Program Name", "Process id", "Usage", "Module id", "Heap id", "No. of Threads ",
                  "Parent Process id", "PriClassBase", "CPU", "Memory", "User"},
                 {145, 64, 40, 50, 45, 75, 90, 64, 40, 80, 120}},
        ListCase{&ProcessMonitor::show_module_list, 3, "List of program modules in memory",
                 {"Module Name", "Physical File Path", "Module id", "Process id", "Global Usage", "Process Usage",
                  "Heap Module"},
                 {100, 250, 64, 64, 74, 84, 70}},
        ListCase{&ProcessMonitor::show_thread_list, 2, "List of threads in memory",
                 {"Thread id", "Usage", "Process id", "Base Priority", "Delta Priority"}, {74, 74, 74, 74, 74}}));

TEST_F(ProcessMonitorTest, UnsignedFieldsReadUnsignedPrioritiesSignedAndAWidePidIsKilledAsShown) {
    processes.processes = {{"wide.exe", 4294967292u, 4294967295u, 7, 0x7FFE0000ull, 2, 3000000000u, -1}};
    processes.modules = {{"veltrano.exe", "C:\\veltrano.exe", 1, 2147483648u, 65535, 2, 0x400000}};
    processes.threads = {{4294967288u, 0, 4294967292u, 15, -2}};
    monitor.list_modules();
    EXPECT_THAT(rows(), ::testing::ElementsAre(Row{"veltrano.exe", "C:\\veltrano.exe", "1", "2147483648", "65535",
                                                   "2", "4194304"}));
    monitor.list_threads();
    EXPECT_THAT(rows(), ::testing::ElementsAre(Row{"4294967288", "0", "4294967292", "15", "-2"}));
    monitor.list_processes();
    EXPECT_THAT(rows(), ::testing::ElementsAre(Row{"wide.exe", "4294967292", "4294967295", "7", "2147352576", "2",
                                                   "3000000000", "-1", "", "0 K", ""}));
    kill_row(1);
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{4294967292u});
}

TEST_F(ProcessMonitorTest, AnEmptyPictureShowsOneEmptyRowNotTheLastListsFirstRow) {
    monitor.list_processes();
    monitor.list_threads();
    EXPECT_EQ(rows(), std::vector<Row>{Row(5, "")});
    // Nor after the filter took every row away.
    processes.processes = {{"a.exe", 1}};
    monitor.show_process_list();
    widgets.set_text("EditFilter", "zzz");
    monitor.apply_filter();
    EXPECT_EQ(rows(), std::vector<Row>{Row(11, "")});
    // Nor does that row name a process to kill.
    processes.processes.clear();
    monitor.show_process_list();
    kill_row(1);
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(ProcessMonitorTest, KillEndsTheRowsProcessOnlyFromTheProcessListAndTheRowStays) {
    // Column 1 of the thread list holds a usage count, here a live pid.
    processes.threads = {{7, 368, 1460, 8, 0}};
    monitor.show_thread_list();
    kill_row(1);
    monitor.shown();  // opens on processes, the kill button still hidden
    EXPECT_FALSE(widgets.is_visible("BitBtn19"));
    kill_row(0);  // no row chosen
    EXPECT_TRUE(processes.terminated.empty());
    kill_row(2);  // smss.exe
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{368});
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(grid().current_row(), 2);
    EXPECT_TRUE(dialogs.messages.empty() && dialogs.errors.empty());
}

TEST_F(ProcessMonitorTest, ARefusedKillRebuildsTheListAndShowsTheSystemsTextInAPlainBox) {
    processes.refusals[4] = "Access is denied.";
    monitor.shown();
    processes.processes.push_back({"late.exe", 2000, 0, 0, 0, 1, 4, 8});
    kill_row(1);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Access is denied."});
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(rows().back()[0], "late.exe");
}

TEST_F(ProcessMonitorTest, TheKillAsksFirstNamingTheProgramAndWarnsForWindowsOwnAndNoLeavesItRunning) {
    processes.processes.push_back({"CSRSS.EXE", 520, 0, 0, 0, 11, 368, 13});
    monitor.shown();
    struct Case {
        int row;
        const char* names;
        bool critical;
    };
    for (const Case& c : {Case{1, "System (process id 4)", true}, Case{2, "smss.exe (process id 368)", true},
                          Case{3, "explorer.exe (process id 1460)", false}, Case{4, "CSRSS.EXE (process id 520)", true}}) {
        dialogs.questions.clear();
        kill_row(c.row, false);
        ASSERT_EQ(dialogs.questions.size(), 1u) << c.names;
        EXPECT_THAT(dialogs.questions[0], ::testing::HasSubstr(c.names));
        EXPECT_EQ(dialogs.questions[0].find("critical") != std::string::npos, c.critical) << dialogs.questions[0];
    }
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_EQ(rows().size(), 4u);

    kill_row(3);
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{1460});
    EXPECT_THAT(column(0), ::testing::ElementsAre("System", "smss.exe", "CSRSS.EXE"));
}

TEST_F(ProcessMonitorTest, AnIdThatNowBelongsToAnotherProgramIsNotEndedAndTheListIsTakenAgain) {
    const std::vector<platform::ProcessEntry> listed = {{"notepad.exe", 1460, 0, 0, 0, 1, 4, 8, 1000},
                                                        {"calc.exe", 1520, 0, 0, 0, 1, 4, 8, 1200}};
    // Both ended after the picture was taken and their ids went to other
    // processes, one of them the same program started again.
    const std::vector<platform::ProcessEntry> now = {{"setup.exe", 1460, 0, 0, 0, 1, 4, 8, 5000},
                                                     {"calc.exe", 1520, 0, 0, 0, 1, 4, 8, 5100}};
    for (int row : {1, 2}) {
        processes.processes = listed;
        monitor.shown();
        processes.processes = now;
        kill_row(row);
        EXPECT_THAT(column(0), ::testing::ElementsAre("setup.exe", "calc.exe"));
    }
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_THAT(dialogs.messages, ::testing::ElementsAre("The process notepad.exe (process id 1460) has already ended.",
                                                         "The process calc.exe (process id 1520) has already ended."));
}

TEST_F(ProcessMonitorTest, WhileAKillWaitsTheWindowLivesButASecondKillDoesNotStart) {
    monitor.shown();
    int pumps_seen_busy = 0;
    widgets.on_pump = [&] {
        pumps_seen_busy += grid().busy;
        kill_row(1);  // System, chosen while explorer.exe is ending
    };
    kill_row(3);
    EXPECT_EQ(pumps_seen_busy, 1);
    EXPECT_FALSE(grid().busy);
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{1460});
}

TEST_F(ProcessMonitorTest, AHeadingClickSortsNumbersAsNumbersTextWithoutCaseAndAgainReverses) {
    processes.processes.push_back({"Zeta.exe", 92, 0, 0, 0, 1, 4, 8});
    processes.threads = {{10, 0, 4, 8, 2}, {9, 0, 4, 8, -2}, {11, 0, 4, 8, 0}};
    monitor.shown();
    grid().set_current_row(3);  // explorer.exe
    monitor.sort_by_column(1);
    EXPECT_THAT(column(1), ::testing::ElementsAre("4", "92", "368", "1460"));
    EXPECT_EQ(grid().current_row(), 4) << "the row follows its process";
    monitor.sort_by_column(1);
    EXPECT_THAT(column(1), ::testing::ElementsAre("1460", "368", "92", "4"));
    monitor.sort_by_column(0);
    EXPECT_THAT(column(0), ::testing::ElementsAre("explorer.exe", "smss.exe", "System", "Zeta.exe"));

    // Each list keeps its own order, through a new picture too.
    monitor.show_thread_list();
    monitor.sort_by_column(4);
    EXPECT_THAT(column(4), ::testing::ElementsAre("-2", "0", "2"));
    processes.processes.push_back({"alg.exe", 1800, 0, 0, 0, 1, 4, 8});
    monitor.show_process_list();
    EXPECT_THAT(column(0), ::testing::ElementsAre("alg.exe", "explorer.exe", "smss.exe", "System", "Zeta.exe"));

    // The kill ends the process the row shows, not the one at that place
    // in the system's list.
    kill_row(1);
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{1800});
}

// ---- what each process costs, the filter, the refresh by itself -------------------

TEST(ProcessFigures, CpuIsTheShareOfAllProcessorsAndMemoryReadsAsTaskManagerShowsIt) {
    constexpr std::uint64_t kSecond = 10'000'000;
    EXPECT_EQ(procmon::cpu_percent(0, kSecond, 2 * kSecond, 1), 50);
    EXPECT_EQ(procmon::cpu_percent(kSecond, 2 * kSecond, 2 * kSecond, 2), 25);
    EXPECT_EQ(procmon::cpu_percent(0, 3 * kSecond, 2 * kSecond, 1), 100) << "clocks that disagree";
    EXPECT_EQ(procmon::cpu_percent(0, 199'000, 20'000'000, 1), 1) << "rounded";
    EXPECT_EQ(procmon::cpu_percent(5, 4, kSecond, 1), 0);
    EXPECT_EQ(procmon::cpu_percent(0, kSecond, 0, 1), 0);
    EXPECT_EQ(procmon::memory_text(1023), "0 K");
    EXPECT_EQ(procmon::memory_text(999 * 1024), "999 K");
    EXPECT_EQ(procmon::memory_text(1000 * 1024), "1,000 K");
    EXPECT_EQ(procmon::memory_text(1234567ull * 1024), "1,234,567 K");
}

class Costs : public ProcessMonitorTest {
protected:
    void SetUp() override {
        processes.processes = {entry("System", 4, 0, 300 * 1024, "NT AUTHORITY\\SYSTEM"),
                               entry("notepad.exe", 1460, 0, 9000 * 1024, "XP\\ann"),
                               entry("NOTEPAD.EXE", 1500, 0, 12000 * 1024, "XP\\ann"),
                               entry("explorer.exe", 1520, 0, 20000 * 1024, "")};
        processes.clock = 1000;
        widgets.set_checked("CheckBoxRefresh", true);
    }
    static platform::ProcessEntry entry(const char* name, std::uint32_t pid, std::uint64_t cpu, std::uint64_t memory,
                                        const char* user) {
        platform::ProcessEntry e;
        e.exe_file = name;
        e.pid = pid;
        e.start_time = pid * 10;
        e.cpu_time = cpu;
        e.working_set = memory;
        e.user = user;
        return e;
    }
    // The next picture, 2 s on, with each process's processor time moved.
    void two_seconds_on(std::uint64_t cpu) {
        processes.clock += 20'000'000;
        for (auto& p : processes.processes) p.cpu_time += cpu;
    }
    void type_filter(const std::string& text) {
        widgets.set_text("EditFilter", text);
        monitor.apply_filter();
    }
    // The 2 s tick as the view answers it, the picture taken here rather
    // than on a thread of its own.
    void refresh_tick() {
        if (monitor.auto_refresh_due()) monitor.show_picture(procmon::take_picture(processes));
    }
};

TEST_F(Costs, CpuComesFromTwoPicturesMemoryAndUserFromOneAndTheySortAsNumbers) {
    monitor.shown();
    EXPECT_THAT(column(8), ::testing::Each(""));
    EXPECT_THAT(column(9), ::testing::ElementsAre("300 K", "9,000 K", "12,000 K", "20,000 K"));
    EXPECT_THAT(column(10), ::testing::ElementsAre("NT AUTHORITY\\SYSTEM", "XP\\ann", "XP\\ann", ""));
    two_seconds_on(5'000'000);
    processes.processes[3].cpu_time += 15'000'000;
    processes.processes.push_back(entry("new.exe", 1600, 0, 0, ""));
    refresh_tick();
    EXPECT_THAT(column(8), ::testing::ElementsAre("25", "25", "25", "100", "")) << "the newcomer has no interval yet";
    monitor.sort_by_column(9);
    EXPECT_THAT(column(0), ::testing::ElementsAre("new.exe", "System", "notepad.exe", "NOTEPAD.EXE", "explorer.exe"));
    monitor.sort_by_column(8);
    monitor.sort_by_column(8);
    EXPECT_EQ(column(0).front(), "explorer.exe");
    EXPECT_EQ(column(0).back(), "new.exe");
}

TEST_F(Costs, TheFilterShowsNamesHoldingItInAnyCaseKillsWhatItShowsAndEscBringsAllBack) {
    monitor.shown();
    type_filter("Note");
    EXPECT_THAT(column(0), ::testing::ElementsAre("notepad.exe", "NOTEPAD.EXE"));
    kill_row(2);
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{1500});
    EXPECT_THAT(column(0), ::testing::ElementsAre("notepad.exe")) << "filtered still after the kill";
    type_filter("");
    EXPECT_EQ(rows().size(), 3u);
    // Only the process list is filtered; the box waits for it.
    type_filter("note");
    monitor.show_module_list();
    EXPECT_FALSE(widgets.is_enabled("EditFilter"));
    monitor.show_process_list();
    EXPECT_TRUE(widgets.is_enabled("EditFilter"));
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(Costs, ARefreshByItselfKeepsTheChosenProcessTheSortAndTheScrollAndShowsNewcomers) {
    monitor.shown();
    monitor.sort_by_column(9);  // by memory
    grid().set_current_row(2);   // notepad.exe, 1460
    const int scrolls = grid().scrolls;
    two_seconds_on(0);
    processes.processes[1].working_set = 50000 * 1024;  // now the largest
    processes.processes.push_back(entry("late.exe", 1700, 0, 100 * 1024, ""));
    refresh_tick();
    EXPECT_THAT(column(0), ::testing::ElementsAre("late.exe", "System", "NOTEPAD.EXE", "explorer.exe", "notepad.exe"));
    EXPECT_EQ(grid().current_row(), 5);
    EXPECT_EQ(grid().scrolls, scrolls) << "the view stays where the user left it";
    // The chosen process ended, and another took its id: nothing is chosen.
    two_seconds_on(0);
    processes.processes[1].start_time = 99999;
    refresh_tick();
    EXPECT_EQ(grid().current_row(), 0);
    kill_row(0);
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(Costs, NoRefreshWhenTurnedOffHiddenOnAnotherListOrWithAnOlderPicture) {
    monitor.shown();
    const auto older = procmon::take_picture(processes);
    processes.processes.push_back(entry("late.exe", 1700, 0, 0, ""));
    two_seconds_on(0);
    const auto refresh_shows_late = [&] {
        refresh_tick();
        return rows().size() == 5u;
    };
    widgets.set_checked("CheckBoxRefresh", false);
    EXPECT_FALSE(refresh_shows_late());
    widgets.set_checked("CheckBoxRefresh", true);
    monitor.hidden();
    EXPECT_FALSE(refresh_shows_late());
    monitor.shown();
    monitor.show_thread_list();
    EXPECT_FALSE(monitor.auto_refresh_due());
    monitor.show_process_list();
    ASSERT_EQ(rows().size(), 5u);
    monitor.show_picture(older);  // taken before the list was taken by hand
    EXPECT_EQ(rows().size(), 5u);
}

TEST_F(Costs, ModulesAndThreadsTakenAgainKeepTheChosenEntryAndTheSort) {
    processes.modules = {{"b.dll", "C:\\b.dll", 1, 7, 1, 1, 0x2000}, {"a.dll", "C:\\a.dll", 1, 7, 1, 1, 0x1000}};
    processes.threads = {{30, 0, 7, 8, 0}, {10, 0, 7, 8, 0}, {20, 0, 7, 8, 0}};
    monitor.show_thread_list();
    monitor.sort_by_column(0);
    grid().set_current_row(2);  // thread 20
    processes.threads.insert(processes.threads.begin(), ThreadRow{15, 0, 7, 8, 0});
    monitor.show_thread_list();
    EXPECT_THAT(column(0), ::testing::ElementsAre("10", "15", "20", "30"));
    EXPECT_EQ(grid().current_row(), 3);
    monitor.show_module_list();
    grid().set_current_row(1);  // b.dll
    processes.modules.insert(processes.modules.begin(), ModuleRow{"c.dll", "C:\\c.dll", 1, 7, 1, 1, 0x3000});
    monitor.show_module_list();
    EXPECT_EQ(grid().cell(0, grid().current_row()), "b.dll");
}

}  // namespace
