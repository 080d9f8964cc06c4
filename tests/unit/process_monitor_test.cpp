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
        monitor.CloseProcess1Click();
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
    monitor.Refresh1Click();
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
        ListCase{&ProcessMonitor::Refresh1Click, 1, "List of processes in memory",
                 {"Executable Program Name", "Process id", "Usage", "Module id", "Heap id", "No. of Threads ",
                  "Parent Process id", "PriClassBase"},
                 {145, 64, 40, 50, 45, 75, 90, 64}},
        ListCase{&ProcessMonitor::Modules1Click, 3, "List of program modules in memory",
                 {"Module Name", "Physical File Path", "Module id", "Process id", "Global Usage", "Process Usage",
                  "Heap Module"},
                 {100, 250, 64, 64, 74, 84, 70}},
        ListCase{&ProcessMonitor::Threads1Click, 2, "List of threads in memory",
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
                                                   "3000000000", "-1"}));
    kill_row(1);
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{4294967292u});
}

TEST_F(ProcessMonitorTest, AnEmptyPictureShowsOneEmptyRowNotTheLastListsFirstRow) {
    monitor.list_processes();
    monitor.list_threads();
    EXPECT_EQ(rows(), std::vector<Row>{Row(5, "")});
    // Nor does that row name a process to kill.
    processes.processes.clear();
    monitor.Refresh1Click();
    kill_row(1);
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(ProcessMonitorTest, KillEndsTheRowsProcessOnlyFromTheProcessListAndTheRowStays) {
    // Column 1 of the thread list holds a usage count, here a live pid.
    processes.threads = {{7, 368, 1460, 8, 0}};
    monitor.Threads1Click();
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
    monitor.GridColumnClick(1);
    EXPECT_THAT(column(1), ::testing::ElementsAre("4", "92", "368", "1460"));
    EXPECT_EQ(grid().current_row(), 4) << "the row follows its process";
    monitor.GridColumnClick(1);
    EXPECT_THAT(column(1), ::testing::ElementsAre("1460", "368", "92", "4"));
    monitor.GridColumnClick(0);
    EXPECT_THAT(column(0), ::testing::ElementsAre("explorer.exe", "smss.exe", "System", "Zeta.exe"));

    // Each list keeps its own order, through a new picture too.
    monitor.Threads1Click();
    monitor.GridColumnClick(4);
    EXPECT_THAT(column(4), ::testing::ElementsAre("-2", "0", "2"));
    processes.processes.push_back({"alg.exe", 1800, 0, 0, 0, 1, 4, 8});
    monitor.Refresh1Click();
    EXPECT_THAT(column(0), ::testing::ElementsAre("alg.exe", "explorer.exe", "smss.exe", "System", "Zeta.exe"));

    // The kill ends the process the row shows, not the one at that place
    // in the system's list.
    kill_row(1);
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{1800});
}

}  // namespace
