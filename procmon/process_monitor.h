// The process monitor page: one grid showing, one list at a time, the
// processes of the machine, the modules of our own process or every thread,
// and a kill for the process of the current row. Each list is a picture
// taken when it is asked for; nothing refreshes by itself.
#pragma once

#include "platform/processes.h"
#include "ui/dialogs.h"
#include "ui/page.h"
#include "ui/widgets.h"

#include <string_view>

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
    void CloseProcess1Click();  // "Close Process", BitBtn19

    void list_processes();
    void list_modules();
    void list_threads();

    int shown_list() const { return shown_list_; }

private:
    void show_kill_button(bool shown);
    template <class Table, class Entries> void fill(const Table& table, const Entries& entries);

    platform::Processes& processes_;
    ui::Widgets& widgets_;
    ui::Dialogs& dialogs_;
    int shown_list_ = 0;
};

}  // namespace veltrano::procmon
