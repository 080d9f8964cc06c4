#include "procmon/process_monitor.h"

#include "i18n/numbers.h"
#include "i18n/translate.h"
#include "platform/ascii.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <numeric>
#include <optional>
#include <string>
#include <type_traits>

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
    // Whether two pictures' entries are the same thing, for the chosen row
    // to follow it.
    bool (*same)(const Entry&, const Entry&);
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
template <auto field, class Entry = typename MemberOf<decltype(field)>::entry>
constexpr auto number(std::string_view heading, int width) {
    return Column<Entry>{heading, width, [](const Entry& e) { return std::to_string(e.*field); },
                         [](const Entry& a, const Entry& b) { return a.*field < b.*field; }};
}

// Names sort as people read them, whatever their case: "explorer.exe" among
// the e's, not after every capital.
template <auto field, class Entry = typename MemberOf<decltype(field)>::entry>
constexpr auto text(std::string_view heading, int width) {
    return Column<Entry>{heading, width, [](const Entry& e) { return e.*field; },
                         [](const Entry& a, const Entry& b) { return less_without_case(a.*field, b.*field); }};
}

constexpr int kDefaultWidth = 64;

// TRANSLATORS: the column of the process's share of the processor, in per cent
constexpr Column<ProcessRow> kCpuColumn{i18n::N_("CPU"), 40,
                                        [](const ProcessRow& p) { return p.cpu < 0 ? std::string() : std::to_string(p.cpu); },
                                        [](const ProcessRow& a, const ProcessRow& b) { return a.cpu < b.cpu; }};
constexpr Column<ProcessRow> kMemoryColumn{
    // TRANSLATORS: the column of the process's memory (its working set), in KB
    i18n::N_("Memory"), 80, [](const ProcessRow& p) { return memory_text(p.working_set); },
    [](const ProcessRow& a, const ProcessRow& b) { return a.working_set < b.working_set; }};

// Started at the same moment under the same id: the same process. A
// process whose start the system would not tell is known by its id alone.
bool same_process(const ProcessRow& a, const ProcessRow& b) {
    return a.pid == b.pid && a.start_time == b.start_time;
}

const ListTable<ProcessRow, 11> kProcessTable{kProcessList, i18n::N_("List of processes in memory"), same_process, {{
    text<&ProcessEntry::exe_file, ProcessRow>(i18n::N_("Executable Program Name"), 145),
    number<&ProcessEntry::pid, ProcessRow>(i18n::N_("Process id"), kDefaultWidth),
    // TRANSLATORS: the column of how many references the system holds to the process
    number<&ProcessEntry::usage, ProcessRow>(i18n::N_("Usage"), 40),
    number<&ProcessEntry::module_id, ProcessRow>(i18n::N_("Module id"), 50),
    number<&ProcessEntry::default_heap_id, ProcessRow>(i18n::N_("Heap id"), 45),
    number<&ProcessEntry::threads, ProcessRow>(i18n::N_("No. of Threads "), 75),
    number<&ProcessEntry::parent_pid, ProcessRow>(i18n::N_("Parent Process id"), 90),
    // TRANSLATORS: the column of the process's base priority, named as Windows names the field
    number<&ProcessEntry::base_priority, ProcessRow>(i18n::N_("PriClassBase"), kDefaultWidth),
    kCpuColumn,
    kMemoryColumn,
    // TRANSLATORS: the column of the user account the process runs as
    text<&ProcessEntry::user, ProcessRow>(i18n::N_("User"), 120),
}}};

const ListTable<ModuleEntry, 7> kModuleTable{
    kModuleList, i18n::N_("List of program modules in memory"),
    [](const ModuleEntry& a, const ModuleEntry& b) { return a.handle == b.handle && a.exe_path == b.exe_path; }, {{
    text<&ModuleEntry::module_name>(i18n::N_("Module Name"), 100),
    text<&ModuleEntry::exe_path>(i18n::N_("Physical File Path"), 250),
    number<&ModuleEntry::module_id>(i18n::N_("Module id"), kDefaultWidth),
    number<&ModuleEntry::pid>(i18n::N_("Process id"), kDefaultWidth),
    number<&ModuleEntry::global_usage>(i18n::N_("Global Usage"), 74),
    number<&ModuleEntry::process_usage>(i18n::N_("Process Usage"), 84),
    // TRANSLATORS: the column of the module's handle in the process
    number<&ModuleEntry::handle>(i18n::N_("Heap Module"), 70),
}}};

const ListTable<ThreadEntry, 5> kThreadTable{
    kThreadList, i18n::N_("List of threads in memory"),
    [](const ThreadEntry& a, const ThreadEntry& b) { return a.tid == b.tid && a.owner_pid == b.owner_pid; }, {{
    number<&ThreadEntry::tid>(i18n::N_("Thread id"), 74),
    // TRANSLATORS: the column of how many references the system holds to the thread
    number<&ThreadEntry::usage>(i18n::N_("Usage"), 74),
    number<&ThreadEntry::owner_pid>(i18n::N_("Process id"), 74),
    number<&ThreadEntry::base_priority>(i18n::N_("Base Priority"), 74),
    number<&ThreadEntry::delta_priority>(i18n::N_("Delta Priority"), 74),
}}};

// Ending one of these takes Windows down at once, with every program's
// unsaved work.
bool is_critical(const std::string& exe_file) {
    static const std::array<std::string_view, 7> kCritical{"system",    "smss.exe",     "csrss.exe",   "wininit.exe",
                                                           "winlogon.exe", "services.exe", "lsass.exe"};
    const std::string name = platform::ascii_lower(exe_file);
    return std::find(kCritical.begin(), kCritical.end(), name) != kCritical.end();
}

std::string kill_question(const ProcessEntry& process) {
    const std::string pid = std::to_string(process.pid);
    // TRANSLATORS: {0} the program's file name (explorer.exe), {1} its process id
    if (is_critical(process.exe_file))
        return i18n::trf("End the process {0} (process id {1})?\n\nWarning: {0} is a critical part of Windows. Ending "
                         "it stops Windows at once, and unsaved work in every program is lost.",
                         process.exe_file, pid);
    // TRANSLATORS: {0} the program's file name (explorer.exe), {1} its process id
    return i18n::trf("End the process {0} (process id {1})?\n\nUnsaved work in it will be lost.", process.exe_file,
                     pid);
}

bool passes(const std::string& filter, const ProcessRow& process) {
    return filter.empty() || platform::ascii_lower(process.exe_file).find(filter) != std::string::npos;
}
template <class Entry> bool passes(const std::string&, const Entry&) { return true; }

}  // namespace

ProcessPicture take_picture(platform::Processes& processes) {
    ProcessPicture picture;
    picture.processes = processes.list_processes();
    picture.taken_at = processes.now();
    picture.processors = std::max(1u, processes.processor_count());
    return picture;
}

int cpu_percent(std::uint64_t cpu_before, std::uint64_t cpu_now, std::uint64_t elapsed, unsigned processors) {
    if (elapsed == 0 || processors == 0 || cpu_now <= cpu_before) return 0;
    const double share = 100.0 * static_cast<double>(cpu_now - cpu_before) /
                         (static_cast<double>(elapsed) * static_cast<double>(processors));
    return static_cast<int>(std::min(100.0, share + 0.5));
}

std::string memory_text(std::uint64_t bytes) {
    return i18n::grouped(bytes / 1024) + " K";
}

template <class Table, class Entries> void ProcessMonitor::sort(const Table& table, const Entries& entries) {
    order_.resize(entries.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    std::erase_if(order_, [&](std::size_t i) { return !passes(filter_, entries[i]); });
    const Sort& by = sorts_[table.list];
    if (by.column < 0 || by.column >= static_cast<int>(table.columns.size())) return;
    const auto less = table.columns[static_cast<std::size_t>(by.column)].less;
    // Stable, so rows that compare equal keep the system's order either way.
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        return by.descending ? less(entries[b], entries[a]) : less(entries[a], entries[b]);
    });
}

template <class Table, class Entries>
void ProcessMonitor::fill(const Table& table, const Entries& entries, Keep keep) {
    using Entry = typename Entries::value_type;
    ui::Grid& grid = widgets_.grid(kGrid);
    const bool same_list = shown_list_ == table.list;
    const int remembered = grid.current_row();
    std::optional<Entry> chosen;
    if (same_list) {
        if constexpr (std::is_same_v<Entry, ProcessRow>) chosen = chosen_process_;
        else if constexpr (std::is_same_v<Entry, ModuleEntry>) chosen = chosen_module_;
        else chosen = chosen_thread_;
    }
    shown_list_ = table.list;
    sort(table, entries);

    const int columns = static_cast<int>(table.columns.size());
    const int rows = std::max(2, static_cast<int>(order_.size()) + 1);
    if (keep == Keep::EntryOnly && same_list) {
        // In place: the list view keeps its scroll and draws only what changed.
        grid.set_row_count(rows);
    } else {
        widgets_.set_text(kPage, i18n::tr(table.caption));
        grid.set_column_count(columns);
        // The old rows go first: a picture without entries shows one empty
        // row under the new headings, not what the last list had there.
        grid.set_row_count(1);
        grid.set_row_count(rows);
        for (int column = 0; column < columns; ++column) {
            grid.set_column_width(column, table.columns[column].width);
            grid.set_cell(column, 0, i18n::tr(table.columns[column].heading));
        }
    }
    int row = 1;
    for (const std::size_t index : order_) {
        for (int column = 0; column < columns; ++column)
            grid.set_cell(column, row, table.columns[column].text(entries[index]));
        ++row;
    }
    if (order_.empty())
        for (int column = 0; column < columns; ++column) grid.set_cell(column, 1, "");

    int found = 0;
    if (chosen)
        for (std::size_t r = 0; r < order_.size() && !found; ++r)
            if (table.same(entries[order_[r]], *chosen)) found = static_cast<int>(r) + 1;
    if (keep == Keep::EntryOnly)
        grid.keep_current_row(found);
    else if (found)
        grid.set_current_row(found);
    else if (remembered >= 1 && remembered < grid.row_count())
        grid.set_current_row(remembered);
    widgets_.set_enabled(kCloseProcessItem, table.list == kProcessList);
    widgets_.set_enabled(kFilterEdit, table.list == kProcessList);
}

void ProcessMonitor::remember_choice() {
    chosen_process_.reset();
    chosen_module_.reset();
    chosen_thread_.reset();
    const int row = widgets_.grid(kGrid).current_row();
    if (row < 1 || row > static_cast<int>(order_.size())) return;
    const std::size_t index = order_[static_cast<std::size_t>(row - 1)];
    if (shown_list_ == kProcessList && index < processes_shown_.size()) chosen_process_ = processes_shown_[index];
    if (shown_list_ == kModuleList && index < modules_shown_.size()) chosen_module_ = modules_shown_[index];
    if (shown_list_ == kThreadList && index < threads_shown_.size()) chosen_thread_ = threads_shown_[index];
}

void ProcessMonitor::shown() {
    in_view_ = true;
    list_processes();
}

void ProcessMonitor::list_processes() { show_processes(nullptr); }

void ProcessMonitor::take_rows(ProcessPicture picture) {
    const std::uint64_t elapsed = picture.taken_at > last_taken_at_ ? picture.taken_at - last_taken_at_ : 0;
    std::map<std::pair<std::uint32_t, std::uint64_t>, std::uint64_t> cpu_now;
    processes_shown_.clear();
    processes_shown_.reserve(picture.processes.size());
    for (platform::ProcessEntry& entry : picture.processes) {
        ProcessRow row;
        static_cast<platform::ProcessEntry&>(row) = std::move(entry);
        const std::pair key{row.pid, row.start_time};
        if (auto before = cpu_before_.find(key); before != cpu_before_.end() && last_taken_at_ != 0)
            row.cpu = cpu_percent(before->second, row.cpu_time, elapsed, picture.processors);
        cpu_now.emplace(key, row.cpu_time);
        processes_shown_.push_back(std::move(row));
    }
    cpu_before_ = std::move(cpu_now);
    last_taken_at_ = picture.taken_at;
}

void ProcessMonitor::show_processes(const ProcessEntry* ended) {
    remember_choice();
    take_rows(take_picture(processes_));
    // The system may list a process for a moment after it reported the end.
    if (ended)
        std::erase_if(processes_shown_, [&](const ProcessEntry& p) {
            return p.pid == ended->pid && p.start_time == ended->start_time;
        });
    fill(kProcessTable, processes_shown_, Keep::Place);
}

bool ProcessMonitor::auto_refresh_due() const {
    return in_view_ && shown_list_ == kProcessList && !ending_ && widgets_.is_checked(kAutoRefreshBox);
}

void ProcessMonitor::show_picture(ProcessPicture picture) {
    // Taken before the list last changed by hand, or for a list no longer shown.
    if (!auto_refresh_due() || picture.taken_at < last_taken_at_) return;
    remember_choice();
    take_rows(std::move(picture));
    fill(kProcessTable, processes_shown_, Keep::EntryOnly);
}

void ProcessMonitor::apply_filter() {
    std::string filter = platform::ascii_lower(widgets_.text(kFilterEdit));
    if (filter == filter_) return;
    filter_ = std::move(filter);
    remember_choice();
    if (shown_list_ == kProcessList) fill(kProcessTable, processes_shown_, Keep::EntryOnly);
}

void ProcessMonitor::list_modules() {
    remember_choice();
    modules_shown_ = processes_.list_modules();
    fill(kModuleTable, modules_shown_, Keep::Place);
}

void ProcessMonitor::list_threads() {
    remember_choice();
    threads_shown_ = processes_.list_threads();
    fill(kThreadTable, threads_shown_, Keep::Place);
}

void ProcessMonitor::sort_by_column(int column) {
    if (shown_list_ == 0 || column < 0) return;
    remember_choice();
    Sort& by = sorts_[static_cast<std::size_t>(shown_list_)];
    by.descending = by.column == column && !by.descending;
    by.column = column;
    switch (shown_list_) {
    case kProcessList: fill(kProcessTable, processes_shown_, Keep::Entry); break;
    case kModuleList: fill(kModuleTable, modules_shown_, Keep::Entry); break;
    case kThreadList: fill(kThreadTable, threads_shown_, Keep::Entry); break;
    }
}

void ProcessMonitor::show_kill_button(bool shown) {
    widgets_.set_enabled(kKillButton, shown);
    widgets_.set_visible(kKillButton, shown);
}

void ProcessMonitor::show_process_list() {
    show_kill_button(true);
    list_processes();
}

void ProcessMonitor::show_module_list() {
    show_kill_button(false);
    list_modules();
}

void ProcessMonitor::show_thread_list() {
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

void ProcessMonitor::close_selected_process() {
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
        // TRANSLATORS: {0} the program's file name (explorer.exe), {1} its process id
        dialogs_.show_information(i18n::trf("The process {0} (process id {1}) has already ended.", chosen.exe_file,
                                            std::to_string(chosen.pid)));
    else if (result.outcome == platform::Termination::Refused)
        dialogs_.show_message(result.message);
}

}  // namespace veltrano::procmon
