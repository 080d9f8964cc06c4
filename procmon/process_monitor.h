// The process monitor page: one grid showing, one list at a time, the
// processes of the machine, the modules of our own process or every thread,
// and a kill for the process of the current row. Each list is a picture
// taken when it is asked for; nothing refreshes by itself. A click on a
// heading sorts the picture by that column, and each list keeps its order
// for its next picture.
#pragma once

#include "platform/processes.h"
#include "ui/dialogs.h"
#include "ui/page.h"
#include "ui/widgets.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace veltrano::procmon {

inline constexpr std::string_view kPage = "GroupBox17";
inline constexpr std::string_view kGrid = "Grid";
inline constexpr std::string_view kKillButton = "BitBtn19";
inline constexpr std::string_view kCloseProcessItem = "CloseProcess1";

// What `shown_list` holds.
enum ShownList { kProcessList = 1, kThreadList = 2, kModuleList = 3 };

class ProcessMonitor : public ui::Page {
public:
    ProcessMonitor(platform::Processes& processes, ui::Widgets& widgets, ui::Dialogs& dialogs)
        : processes_(processes), widgets_(widgets), dialogs_(dialogs) {}

    // Opening the page always shows the process list; the kill button stays
    // as the last list left it.
    void shown() override { list_processes(); }

    void Refresh1Click();       // "Processes", BitBtn20
    void Modules1Click();       // "Modules", BitBtn21
    void Threads1Click();       // "Threads", BitBtn22
    void CloseProcess1Click();  // "Close Process", BitBtn19, Ctrl+C
    // A click on a heading: sorts by that column, the other way round when
    // it already sorts by it.
    void GridColumnClick(int column);

    void list_processes();
    void list_modules();
    void list_threads();

    int shown_list() const { return shown_list_; }

private:
    struct Sort {
        int column = -1;  // none: the system's order
        bool descending = false;
    };
    void show_kill_button(bool shown);
    // Shows the picture in the list's order. With `keep_entry`, the current
    // row follows the entry it was on (a new order of the same picture);
    // otherwise it stays at its place (a new picture).
    template <class Table, class Entries> void fill(const Table& table, const Entries& entries, bool keep_entry);
    template <class Table, class Entries> void sort(const Table& table, const Entries& entries);
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
    std::vector<platform::ProcessEntry> processes_shown_;
    std::vector<platform::ModuleEntry> modules_shown_;
    std::vector<platform::ThreadEntry> threads_shown_;
    std::vector<std::size_t> order_;
    std::array<Sort, kModuleList + 1> sorts_{};  // by ShownList
    // Set while a kill waits for its process to end: the window stays
    // alive meanwhile, and a second kill must not start inside the first.
    bool ending_ = false;
};

}  // namespace veltrano::procmon
