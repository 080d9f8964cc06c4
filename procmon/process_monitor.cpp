#include "procmon/process_monitor.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <numeric>
#include <optional>
#include <string>

namespace veltrano::procmon {

namespace {

using platform::ModuleEntry;
using platform::ProcessEntry;
using platform::ThreadEntry;

// One column of a list: its heading, its width, what of an entry it shows
// and how two entries compare by it.
template <class Entry> struct Column {
    std::string_view heading;
    int width;
    std::string (*text)(const Entry&);
    bool (*less)(const Entry&, const Entry&);
};

template <class Entry, std::size_t Columns> struct ListTable {
    ShownList list;
    std::string_view caption;  // the page's group box says which list it shows
    std::array<Column<Entry>, Columns> columns;
};

template <class> struct MemberOf;
template <class Entry, class Field> struct MemberOf<Field Entry::*> {
    using entry = Entry;
};

bool less_without_case(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) < std::tolower(y);
    });
}

// A number sorts by its value, so 9 comes before 10 and -2 before 0.
template <auto field> constexpr auto number(std::string_view heading, int width) {
    using Entry = typename MemberOf<decltype(field)>::entry;
    return Column<Entry>{heading, width, [](const Entry& e) { return std::to_string(e.*field); },
                         [](const Entry& a, const Entry& b) { return a.*field < b.*field; }};
}

// Names sort as people read them, whatever their case: "explorer.exe" among
// the e's, not after every capital.
template <auto field> constexpr auto text(std::string_view heading, int width) {
    using Entry = typename MemberOf<decltype(field)>::entry;
    return Column<Entry>{heading, width, [](const Entry& e) { return e.*field; },
                         [](const Entry& a, const Entry& b) { return less_without_case(a.*field, b.*field); }};
}

constexpr int kDefaultWidth = 64;

const ListTable<ProcessEntry, 8> kProcessTable{kProcessList, "List of processes in memory", {{
    text<&ProcessEntry::exe_file>("Executable Program Name", 145),
    number<&ProcessEntry::pid>("Process id", kDefaultWidth),
    number<&ProcessEntry::usage>("Usage", 40),
    number<&ProcessEntry::module_id>("Module id", 50),
    number<&ProcessEntry::default_heap_id>("Heap id", 45),
    number<&ProcessEntry::threads>("No. of Threads ", 75),
    number<&ProcessEntry::parent_pid>("Parent Process id", 90),
    number<&ProcessEntry::base_priority>("PriClassBase", kDefaultWidth),
}}};

const ListTable<ModuleEntry, 7> kModuleTable{kModuleList, "List of program modules in memory", {{
    text<&ModuleEntry::module_name>("Module Name", 100),
    text<&ModuleEntry::exe_path>("Physical File Path", 250),
    number<&ModuleEntry::module_id>("Module id", kDefaultWidth),
    number<&ModuleEntry::pid>("Process id", kDefaultWidth),
    number<&ModuleEntry::global_usage>("Global Usage", 74),
    number<&ModuleEntry::process_usage>("Process Usage", 84),
    number<&ModuleEntry::handle>("Heap Module", 70),
}}};

const ListTable<ThreadEntry, 5> kThreadTable{kThreadList, "List of threads in memory", {{
    number<&ThreadEntry::tid>("Thread id", 74),
    number<&ThreadEntry::usage>("Usage", 74),
    number<&ThreadEntry::owner_pid>("Process id", 74),
    number<&ThreadEntry::base_priority>("Base Priority", 74),
    number<&ThreadEntry::delta_priority>("Delta Priority", 74),
}}};

// Ending one of these takes Windows down at once, with every program's
// unsaved work.
bool is_critical(const std::string& exe_file) {
    static const std::array<std::string_view, 7> kCritical{"system",    "smss.exe",     "csrss.exe",   "wininit.exe",
                                                           "winlogon.exe", "services.exe", "lsass.exe"};
    std::string name = exe_file;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::find(kCritical.begin(), kCritical.end(), name) != kCritical.end();
}

std::string named(const ProcessEntry& process) {
    return process.exe_file + " (process id " + std::to_string(process.pid) + ")";
}

std::string kill_question(const ProcessEntry& process) {
    std::string question = "End the process " + named(process) + "?\n\n";
    if (is_critical(process.exe_file))
        question += "Warning: " + process.exe_file +
                    " is a critical part of Windows. Ending it stops Windows at once, and unsaved work in every "
                    "program is lost.";
    else
        question += "Unsaved work in it will be lost.";
    return question;
}

}  // namespace

template <class Table, class Entries> void ProcessMonitor::sort(const Table& table, const Entries& entries) {
    order_.resize(entries.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    const Sort& by = sorts_[table.list];
    if (by.column < 0 || by.column >= static_cast<int>(table.columns.size())) return;
    const auto less = table.columns[static_cast<std::size_t>(by.column)].less;
    // Stable, so rows that compare equal keep the system's order either way.
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        return by.descending ? less(entries[b], entries[a]) : less(entries[a], entries[b]);
    });
}

template <class Table, class Entries>
void ProcessMonitor::fill(const Table& table, const Entries& entries, bool keep_entry) {
    shown_list_ = table.list;
    widgets_.set_text(kPage, std::string(table.caption));
    ui::Grid& grid = widgets_.grid(kGrid);
    const int remembered = grid.current_row();
    std::optional<std::size_t> kept;
    if (keep_entry && remembered >= 1 && remembered <= static_cast<int>(order_.size()))
        kept = order_[static_cast<std::size_t>(remembered - 1)];
    sort(table, entries);

    const int columns = static_cast<int>(table.columns.size());
    grid.set_column_count(columns);
    // The old rows go first: a picture without entries shows one empty row
    // under the new headings, not what the last list had there.
    grid.set_row_count(1);
    grid.set_row_count(std::max(2, static_cast<int>(entries.size()) + 1));
    for (int column = 0; column < columns; ++column) {
        grid.set_column_width(column, table.columns[column].width);
        grid.set_cell(column, 0, std::string(table.columns[column].heading));
    }
    int row = 1;
    for (const std::size_t index : order_) {
        for (int column = 0; column < columns; ++column)
            grid.set_cell(column, row, table.columns[column].text(entries[index]));
        ++row;
    }

    if (kept) {
        const auto at = std::find(order_.begin(), order_.end(), *kept);
        grid.set_current_row(static_cast<int>(at - order_.begin()) + 1);
    } else if (remembered >= 1 && remembered < grid.row_count()) {
        grid.set_current_row(remembered);
    }
    widgets_.set_enabled(kCloseProcessItem, table.list == kProcessList);
}

void ProcessMonitor::list_processes() { show_processes(nullptr); }

void ProcessMonitor::show_processes(const ProcessEntry* ended) {
    processes_shown_ = processes_.list_processes();
    // The system may list a process for a moment after it reported the end.
    if (ended)
        std::erase_if(processes_shown_, [&](const ProcessEntry& p) {
            return p.pid == ended->pid && p.start_time == ended->start_time;
        });
    fill(kProcessTable, processes_shown_, false);
}

void ProcessMonitor::list_modules() {
    modules_shown_ = processes_.list_modules();
    fill(kModuleTable, modules_shown_, false);
}

void ProcessMonitor::list_threads() {
    threads_shown_ = processes_.list_threads();
    fill(kThreadTable, threads_shown_, false);
}

void ProcessMonitor::GridColumnClick(int column) {
    if (shown_list_ == 0 || column < 0) return;
    Sort& by = sorts_[static_cast<std::size_t>(shown_list_)];
    by.descending = by.column == column && !by.descending;
    by.column = column;
    switch (shown_list_) {
    case kProcessList: fill(kProcessTable, processes_shown_, true); break;
    case kModuleList: fill(kModuleTable, modules_shown_, true); break;
    case kThreadList: fill(kThreadTable, threads_shown_, true); break;
    }
}

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

const ProcessEntry* ProcessMonitor::chosen_process() const {
    // Only a process list names processes; the menu's shortcut reaches here
    // whatever is shown.
    if (shown_list_ != kProcessList) return nullptr;
    const int row = widgets_.grid(kGrid).current_row();
    // No row chosen yet, or the empty row of an empty list: nothing to end.
    if (row < 1 || row > static_cast<int>(order_.size())) return nullptr;
    return &processes_shown_[order_[static_cast<std::size_t>(row - 1)]];
}

void ProcessMonitor::CloseProcess1Click() {
    if (ending_) return;
    const ProcessEntry* chosen = chosen_process();
    if (!chosen) return;
    // A copy: the picture is taken again before this is done with it.
    const ProcessEntry process = *chosen;
    if (!dialogs_.warn_yes_no(kill_question(process))) return;
    end_process(process);
}

void ProcessMonitor::end_process(const ProcessEntry& chosen) {
    ui::Grid& grid = widgets_.grid(kGrid);
    struct Busy {
        bool& ending;
        ui::Grid& grid;
        Busy(bool& e, ui::Grid& g) : ending(e), grid(g) { ending = true, grid.set_busy(true); }
        ~Busy() { ending = false, grid.set_busy(false); }
    };
    platform::Termination result{};
    {
        const Busy busy(ending_, grid);
        result = processes_.terminate(chosen, [this] { widgets_.pump_messages(); });
    }
    // The user may have turned to another list while the process ended.
    if (shown_list_ == kProcessList) show_processes(result.outcome == platform::Termination::Ended ? &chosen : nullptr);
    if (result.outcome == platform::Termination::Gone)
        dialogs_.show_information("The process " + named(chosen) + " has already ended.");
    else if (result.outcome == platform::Termination::Refused)
        dialogs_.show_message(result.message);
}

}  // namespace veltrano::procmon
