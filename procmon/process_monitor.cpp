#include "procmon/process_monitor.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>

namespace veltrano::procmon {

namespace {

using platform::ModuleEntry;
using platform::ProcessEntry;
using platform::ThreadEntry;

// One column of a list: its heading, its width and what of an entry it shows.
template <class Entry> struct Column {
    std::string_view heading;
    int width;
    std::string (*text)(const Entry&);
};

template <class Entry, std::size_t Columns> struct ListTable {
    ShownList list;
    std::string_view caption;  // the page's group box says which list it shows
    std::array<Column<Entry>, Columns> columns;
};

constexpr int kDefaultWidth = 64;

const ListTable<ProcessEntry, 8> kProcessTable{kProcessList, "List of processes in memory", {{
    {"Executable Program Name", 145, [](const ProcessEntry& e) { return e.exe_file; }},
    {"Process id", kDefaultWidth, [](const ProcessEntry& e) { return std::to_string(e.pid); }},
    {"Usage", 40, [](const ProcessEntry& e) { return std::to_string(e.usage); }},
    {"Module id", 50, [](const ProcessEntry& e) { return std::to_string(e.module_id); }},
    {"Heap id", 45, [](const ProcessEntry& e) { return std::to_string(e.default_heap_id); }},
    {"No. of Threads ", 75, [](const ProcessEntry& e) { return std::to_string(e.threads); }},
    {"Parent Process id", 90, [](const ProcessEntry& e) { return std::to_string(e.parent_pid); }},
    {"PriClassBase", kDefaultWidth, [](const ProcessEntry& e) { return std::to_string(e.base_priority); }},
}}};

const ListTable<ModuleEntry, 7> kModuleTable{kModuleList, "List of program modules in memory", {{
    {"Module Name", 100, [](const ModuleEntry& e) { return e.module_name; }},
    {"Physical File Path", 250, [](const ModuleEntry& e) { return e.exe_path; }},
    {"Module id", kDefaultWidth, [](const ModuleEntry& e) { return std::to_string(e.module_id); }},
    {"Process id", kDefaultWidth, [](const ModuleEntry& e) { return std::to_string(e.pid); }},
    {"Global Usage", 74, [](const ModuleEntry& e) { return std::to_string(e.global_usage); }},
    {"Process Usage", 84, [](const ModuleEntry& e) { return std::to_string(e.process_usage); }},
    {"Heap Module", 70, [](const ModuleEntry& e) { return std::to_string(e.handle); }},
}}};

const ListTable<ThreadEntry, 5> kThreadTable{kThreadList, "List of threads in memory", {{
    {"Thread id", 74, [](const ThreadEntry& e) { return std::to_string(e.tid); }},
    {"Usage", 74, [](const ThreadEntry& e) { return std::to_string(e.usage); }},
    {"Process id", 74, [](const ThreadEntry& e) { return std::to_string(e.owner_pid); }},
    {"Base Priority", 74, [](const ThreadEntry& e) { return std::to_string(e.base_priority); }},
    {"Delta Priority", 74, [](const ThreadEntry& e) { return std::to_string(e.delta_priority); }},
}}};

constexpr int kPidColumn = 1;

// Process ids are unsigned 32-bit and shown so; one above 2147483647 must
// still read back as the process it names.
std::optional<std::uint32_t> parse_pid(const std::string& text) {
    std::uint32_t pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return pid;
}

}  // namespace

template <class Table, class Entries> void ProcessMonitor::fill(const Table& table, const Entries& entries) {
    shown_list_ = table.list;
    widgets_.set_text(kPage, std::string(table.caption));
    ui::Grid& grid = widgets_.grid(kGrid);
    const int remembered = grid.current_row();

    const int columns = static_cast<int>(table.columns.size());
    grid.set_column_count(columns);
    // The old rows go first: a picture without entries shows one empty row
    // under the new headings, not what the last list had there (a process
    // id in it would still be killable).
    grid.set_row_count(1);
    grid.set_row_count(std::max(2, static_cast<int>(entries.size()) + 1));
    for (int column = 0; column < columns; ++column) {
        grid.set_column_width(column, table.columns[column].width);
        grid.set_cell(column, 0, std::string(table.columns[column].heading));
    }
    int row = 1;
    for (const auto& entry : entries) {
        for (int column = 0; column < columns; ++column) grid.set_cell(column, row, table.columns[column].text(entry));
        ++row;
    }

    if (remembered >= 1 && remembered < grid.row_count()) grid.set_current_row(remembered);
    widgets_.set_enabled(kCloseProcessItem, table.list == kProcessList);
}

void ProcessMonitor::list_processes() { fill(kProcessTable, processes_.list_processes()); }
void ProcessMonitor::list_modules() { fill(kModuleTable, processes_.list_modules()); }
void ProcessMonitor::list_threads() { fill(kThreadTable, processes_.list_threads()); }

void ProcessMonitor::show_kill_button(bool shown) {
    widgets_.set_enabled(kKillButton, shown);
    widgets_.set_visible(kKillButton, shown);
}

void ProcessMonitor::Refresh1Click() {
    show_kill_button(true);
    list_processes();
}

void ProcessMonitor::Modules1Click() {
    show_kill_button(false);
    list_modules();
}

void ProcessMonitor::Threads1Click() {
    show_kill_button(false);
    list_threads();
}

void ProcessMonitor::CloseProcess1Click() {
    // Only a process list has process ids in column 1; the menu's shortcut
    // reaches here whatever is shown.
    if (shown_list_ != kProcessList) return;
    ui::Grid& grid = widgets_.grid(kGrid);
    const int row = grid.current_row();
    // No row chosen yet, or the empty row of an empty list: nothing to end.
    const auto pid = row >= 1 ? parse_pid(grid.cell(kPidColumn, row)) : std::nullopt;
    if (!pid) return;
    const std::string failure = processes_.terminate(*pid);
    list_processes();
    if (!failure.empty()) dialogs_.show_message(failure);
}

}  // namespace veltrano::procmon
