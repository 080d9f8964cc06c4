// The process monitor against a machine of fake processes: what each list
// shows and how its numbers are written, the current row across a rebuild,
// and the kill, which only the process list offers.
#include "procmon/process_monitor.h"
#include "support/fake_view.h"
#include "support/fakes.h"

#include <gmock/gmock.h>

using namespace veltrano;
using platform::ModuleEntry;
using platform::ProcessEntry;
using platform::ThreadEntry;
using Row = std::vector<std::string>;

namespace {

class ProcessMonitorTest : public ::testing::Test {
protected:
    ProcessMonitorTest() {
        processes.processes = {
            {"[System Process]", 0, 0, 0, 0, 1, 0, 0},
            {"System", 4, 0, 0, 0, 52, 0, 8},
            {"smss.exe", 368, 0, 0, 0, 3, 4, 11},
            {"explorer.exe", 1460, 1, 0, 0, 14, 1436, 8},
        };
    }
    fakes::FakeGrid& grid() { return widgets.grids["Grid"]; }
    std::vector<Row> data_rows() {
        std::vector<Row> rows;
        for (int r = 1; r < grid().row_count(); ++r) rows.push_back(grid().row(r));
        return rows;
    }
    std::vector<std::string> process_names() {
        std::vector<std::string> names;
        for (const Row& row : data_rows()) names.push_back(row[0]);
        return names;
    }

    fakes::FakeProcesses processes;
    fakes::FakeWidgets widgets;
    fakes::FakeDialogs dialogs;
    procmon::ProcessMonitor monitor{processes, widgets, dialogs};
};

// ---- the three lists ---------------------------------------------------------

struct ListCase {
    const char* name;
    void (procmon::ProcessMonitor::*click)();
    int shown_list;
    const char* caption;
    Row headings;
    std::map<int, int> widths;
    bool kill_offered;
};

const ListCase kLists[] = {
    {"Processes", &procmon::ProcessMonitor::Refresh1Click, 1, "List of processes in memory",
     {"Executable Program Name", "Process id", "Usage", "Module id", "Heap id", "No. of Threads ",
      "Parent Process id", "PriClassBase"},
     {{0, 145}, {1, 64}, {2, 40}, {3, 50}, {4, 45}, {5, 75}, {6, 90}, {7, 64}},
     true},
    {"Modules", &procmon::ProcessMonitor::Modules1Click, 3, "List of program modules in memory",
     {"Module Name", "Physical File Path", "Module id", "Process id", "Global Usage", "Process Usage", "Heap Module"},
     {{0, 100}, {1, 250}, {2, 64}, {3, 64}, {4, 74}, {5, 84}, {6, 70}},
     false},
    {"Threads", &procmon::ProcessMonitor::Threads1Click, 2, "List of threads in memory",
     {"Thread id", "Usage", "Process id", "Base Priority", "Delta Priority"},
     {{0, 74}, {1, 74}, {2, 74}, {3, 74}, {4, 74}},
     false},
};

void PrintTo(const ListCase& list, std::ostream* out) { *out << list.name; }

class EachList : public ProcessMonitorTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(EachList, ShowsItsCaptionHeadingsAndWidthsAndOffersTheKillOnlyForProcesses) {
    const ListCase& list = GetParam();
    // Coming from another list, whose wider columns and rows must go.
    monitor.Refresh1Click();
    monitor.Threads1Click();
    monitor.Modules1Click();
    (monitor.*list.click)();
    EXPECT_EQ(monitor.shown_list(), list.shown_list);
    EXPECT_EQ(widgets.text("GroupBox17"), list.caption);
    EXPECT_EQ(grid().column_count(), static_cast<int>(list.headings.size()));
    EXPECT_EQ(grid().row(0), list.headings);
    for (const auto& [column, width] : list.widths) EXPECT_EQ(grid().widths[column], width) << "column " << column;
    EXPECT_EQ(widgets.is_enabled("CloseProcess1"), list.kill_offered);
    EXPECT_EQ(widgets.is_enabled("BitBtn19"), list.kill_offered);
    EXPECT_EQ(widgets.is_visible("BitBtn19"), list.kill_offered);
}

INSTANTIATE_TEST_SUITE_P(ProcessMonitor, EachList, ::testing::ValuesIn(kLists),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProcessMonitorTest, WritesUnsignedFieldsUnsignedAndPrioritiesWithTheirSign) {
    processes.processes = {{"wide.exe", 4294967292u, 4294967295u, 7, 0x7FFE0000ull, 2, 3000000000u, -1}};
    processes.modules = {{"veltrano.exe", "C:\\Veltrano\\veltrano.exe", 1, 2147483648u, 65535, 65535, 0x400000}};
    processes.threads = {{4294967288u, 0, 4294967292u, 15, -2}, {12, 1, 8, -15, 0}};
    monitor.list_processes();
    EXPECT_THAT(data_rows(), ::testing::ElementsAre(Row{"wide.exe", "4294967292", "4294967295", "7", "2147352576",
                                                        "2", "3000000000", "-1"}));
    monitor.list_modules();
    EXPECT_THAT(data_rows(), ::testing::ElementsAre(Row{"veltrano.exe", "C:\\Veltrano\\veltrano.exe", "1",
                                                        "2147483648", "65535", "65535", "4194304"}));
    monitor.list_threads();
    EXPECT_THAT(data_rows(), ::testing::ElementsAre(Row{"4294967288", "0", "4294967292", "15", "-2"},
                                                    Row{"12", "1", "8", "-15", "0"}));
}

TEST_F(ProcessMonitorTest, AnEmptyPictureShowsOneEmptyRowNotTheLastListsFirstRow) {
    monitor.list_processes();
    processes.threads.clear();
    monitor.list_threads();
    EXPECT_EQ(grid().row_count(), 2);
    EXPECT_EQ(grid().row(1), Row(5, ""));
}

TEST_F(ProcessMonitorTest, OpeningThePageListsProcessesAndLeavesTheKillButtonAsTheLastListLeftIt) {
    monitor.Modules1Click();
    monitor.shown();
    EXPECT_EQ(monitor.shown_list(), 1);
    EXPECT_EQ(process_names(), (std::vector<std::string>{"[System Process]", "System", "smss.exe", "explorer.exe"}));
    EXPECT_FALSE(widgets.is_visible("BitBtn19"));
    // The menu still ends processes.
    EXPECT_TRUE(widgets.is_enabled("CloseProcess1"));
}

TEST_F(ProcessMonitorTest, TheCurrentRowStaysWhereItWasWhileThatRowExists) {
    monitor.list_processes();
    grid().set_current_row(3);
    processes.processes.erase(processes.processes.begin());
    monitor.list_processes();
    EXPECT_EQ(grid().current_row(), 3);
    // Switching lists keeps it too, by position.
    monitor.list_threads();
    grid().set_current_row(1);
    processes.threads = {{1, 0, 4, 8, 0}, {2, 0, 4, 8, 0}};
    monitor.list_threads();
    EXPECT_EQ(grid().current_row(), 1);
}

// ---- ending a process ----------------------------------------------------------

TEST_F(ProcessMonitorTest, KillEndsTheProcessOfTheCurrentRowAndListsTheRestQuietly) {
    monitor.shown();
    grid().set_current_row(3);  // smss.exe
    monitor.CloseProcess1Click();
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{368});
    EXPECT_EQ(process_names(), (std::vector<std::string>{"[System Process]", "System", "explorer.exe"}));
    EXPECT_EQ(grid().current_row(), 3);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(ProcessMonitorTest, ARefusedKillRebuildsTheListThenShowsTheSystemsTextInAPlainBox) {
    processes.refusals[4] = "Access is denied.";
    monitor.shown();
    grid().set_current_row(2);
    processes.processes.push_back({"late.exe", 2000, 0, 0, 0, 1, 4, 8});
    monitor.CloseProcess1Click();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Access is denied."});
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(process_names().back(), "late.exe");
}

TEST_F(ProcessMonitorTest, AProcessIdAboveTwoToTheThirtyFirstIsKilledAsItIsShown) {
    processes.processes = {{"wide.exe", 4294967292u, 0, 0, 0, 1, 4, 8}};
    monitor.shown();
    grid().set_current_row(1);
    monitor.CloseProcess1Click();
    EXPECT_EQ(processes.terminated, std::vector<std::uint32_t>{4294967292u});
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ProcessMonitorTest, NothingIsKilledOutsideTheProcessListOrWithoutAProcessRow) {
    // Column 1 of the other lists holds a usage or a path, never a process.
    processes.modules = {{"veltrano.exe", "C:\\Veltrano\\veltrano.exe", 1, 1460, 1, 1, 0x400000}};
    processes.threads = {{368, 4, 1460, 8, 0}};
    for (auto click : {&procmon::ProcessMonitor::Modules1Click, &procmon::ProcessMonitor::Threads1Click}) {
        (monitor.*click)();
        grid().set_current_row(1);
        monitor.CloseProcess1Click();
    }
    // No row chosen yet; then the empty row of an empty list.
    monitor.Refresh1Click();
    grid().set_current_row(0);
    monitor.CloseProcess1Click();
    processes.processes.clear();
    monitor.Refresh1Click();
    grid().set_current_row(1);
    monitor.CloseProcess1Click();
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.errors.empty());
}

}  // namespace
