// The process monitor page: one grid showing, one list at a time, the
// processes of the machine, the modules of our own process or every thread,
// and a kill for the process of the current row. Each list is a picture
// taken when it is asked for; the process list is taken again every 2 s
// while it is in view, in place, the chosen process staying chosen. A
// click on a heading sorts the picture by that column, and each list keeps
// its order for its next picture. The filter shows the processes whose
// name holds its text.
#pragma once

#include "platform/processes.h"
#include "ui/dialogs.h"
#include "ui/page.h"
#include "ui/widgets.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrano::procmon {

inline constexpr ui::GroupBox kPage{"GroupBox17"};
inline constexpr ui::StringGrid kGrid{"Grid"};
inline constexpr ui::Button kKillButton{"BitBtn19"};
inline constexpr ui::MenuItem kCloseProcessItem{"CloseProcess1"};
inline constexpr ui::CheckBox kAutoRefreshBox{"CheckBoxRefresh"};
inline constexpr ui::Edit kFilterEdit{"EditFilter"};
inline constexpr unsigned kRefreshIntervalMs = 2000;

// What `shown_list` holds.
enum ShownList { kProcessList = 1, kThreadList = 2, kModuleList = 3 };

// One picture of the processes with the clock it was taken by, so that
// two of them give each process's share of the processors in between.
struct ProcessPicture {
    std::vector<platform::ProcessEntry> processes;
    std::uint64_t taken_at = 0;  // 100 ns units
    unsigned processors = 1;
};

// Takes one; safe on another thread as long as `processes` is.
ProcessPicture take_picture(platform::Processes& processes);

// Percent of all processors a process used between two pictures, rounded;
// 0 to 100 whatever the clocks say.
int cpu_percent(std::uint64_t cpu_before, std::uint64_t cpu_now, std::uint64_t elapsed, unsigned processors);

// A working set as Task Manager shows it: "12,345 K".
std::string memory_text(std::uint64_t bytes);

// A row of the process list: the entry and what two pictures tell of it.
struct ProcessRow : platform::ProcessEntry {
    int cpu = -1;  // percent; -1 before a second picture
};

class ProcessMonitor : public ui::Page {
public:
    ProcessMonitor(platform::Processes& processes, ui::Widgets& widgets, ui::Dialogs& dialogs)
        : processes_(processes), widgets_(widgets), dialogs_(dialogs) {}

    // Opening the page always shows the process list; the kill button stays
    // as the last list left it.
    void shown() override;
    void hidden() override { in_view_ = false; }

    // The buttons and the grid's menu: "Processes", "Modules", "Threads".
    void show_process_list();
    void show_module_list();
    void show_thread_list();
    // "Close Process", and Ctrl+C: ends the chosen process once the user agrees.
    void close_selected_process();
    // A click on a heading: sorts by that column, the other way round when
    // it already sorts by it.
    void sort_by_column(int column);
    // The filter's text changed (typed, or Esc cleared it).
    void apply_filter();

    // Whether the process list is to be taken again now: in view, the box
    // ticked, no kill under way. The window's minimised state is the view's
    // to tell.
    bool auto_refresh_due() const;
    // Shows a picture taken for the auto refresh, in place: sort, filter,
    // chosen process and scroll stay. One taken before the list last
    // changed by hand is dropped.
    void show_picture(ProcessPicture picture);

    void list_processes();
    void list_modules();
    void list_threads();

    int shown_list() const { return shown_list_; }
    // What the pictures are taken of, for the view's own refresh thread.
    platform::Processes& processes() { return processes_; }

private:
    struct Sort {
        int column = -1;  // none: the system's order
        bool descending = false;
    };
    void show_kill_button(bool shown);
    // Shows the picture in the list's order. With `keep_entry`, the current
    // row follows the entry it was on (a new order of the same picture);
    // otherwise it stays at its place (a new picture).
    enum class Keep {
        Place,      // a new picture by hand: the chosen entry, else the row's place
        Entry,      // a new order of the same picture
        EntryOnly,  // a refresh by itself: the chosen entry or none, and no scrolling
    };
    template <class Table, class Entries> void fill(const Table& table, const Entries& entries, Keep keep);
    template <class Table, class Entries> void sort(const Table& table, const Entries& entries);
    // The picture as rows, each process's processor share from the last one.
    void take_rows(ProcessPicture picture);
    // The entry of the current row, before the picture or its order changes,
    // for the row to follow it.
    void remember_choice();
    // The process of the grid's current row, as the picture has it.
    const platform::ProcessEntry* chosen_process() const;
    // A new picture of the processes; without the one just ended, which
    // the system may list for a moment after it said it was gone.
    void show_processes(const platform::ProcessEntry* ended);
    void end_process(const platform::ProcessEntry& chosen);

    platform::Processes& processes_;
    ui::Widgets& widgets_;
    ui::Dialogs& dialogs_;
    int shown_list_ = 0;
    // The pictures as data, in the system's order; row r of the grid shows
    // entry order_[r - 1] of the one shown.
    std::vector<ProcessRow> processes_shown_;
    std::vector<platform::ModuleEntry> modules_shown_;
    std::vector<platform::ThreadEntry> threads_shown_;
    std::vector<std::size_t> order_;
    std::array<Sort, kModuleList + 1> sorts_{};  // by ShownList
    // Set while a kill waits for its process to end: the window stays
    // alive meanwhile, and a second kill must not start inside the first.
    bool ending_ = false;
    bool in_view_ = false;
    std::string filter_;  // lower case
    // The processor times of the last picture, by process id and start.
    std::map<std::pair<std::uint32_t, std::uint64_t>, std::uint64_t> cpu_before_;
    std::uint64_t last_taken_at_ = 0;
    std::optional<ProcessRow> chosen_process_;
    std::optional<platform::ModuleEntry> chosen_module_;
    std::optional<platform::ThreadEntry> chosen_thread_;
};

}  // namespace veltrano::procmon
