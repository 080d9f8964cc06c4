// The process monitor: the filter above the grid, the grid over most of the
// 600 x 489 group box, its four buttons and the auto refresh's check box
// below it, and the grid's pop-up menu, which offers the same four actions
// with their shortcuts.
#include "procmon/win32/procmon_page.h"

#include "i18n/translate.h"

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace veltrano::procmon::win32 {

using namespace ui::win32;

namespace {

using procmon::ProcessMonitor;

// Each action is a button and an item of the grid's menu; the captions are
// translated where they are shown.
struct Action {
    std::string_view button;
    const char* button_caption;
    std::string_view item;
    const char* item_caption;
    char shortcut;
    void (ProcessMonitor::*click)();
};

constexpr Action kActions[] = {
    // TRANSLATORS: a button and a menu entry that show the list of running processes
    {"BitBtn20", i18n::N_("Process's list"), "Refresh1", i18n::N_("Processes"), '1',
     &ProcessMonitor::show_process_list},
    // TRANSLATORS: a button and a menu entry that show the list of modules (DLLs) loaded in the processes
    {"BitBtn21", i18n::N_("Module's list"), "Modules1", i18n::N_("Modules"), '2', &ProcessMonitor::show_module_list},
    // TRANSLATORS: a button and a menu entry that show the list of threads of the processes
    {"BitBtn22", i18n::N_("Thread's List"), "Threads1", i18n::N_("Threads"), '3', &ProcessMonitor::show_thread_list},
    // TRANSLATORS: a button and a menu entry that end the chosen process
    {procmon::kKillButton, i18n::N_("Kill Selected Process"), procmon::kCloseProcessItem, i18n::N_("Close Process"), 'C',
     &ProcessMonitor::close_selected_process},
};

constexpr int kLeft = 8, kWidth = 584, kFilterTop = 18, kGridTop = 44, kGridHeight = 398;
constexpr int kButtonTop = 452, kButtonWidth = 112, kButtonHeight = 28, kButtonGap = 6;

// The auto refresh's picture is taken on a thread of its own: a handle per
// process and the account lookups cost tens of milliseconds under Wine with
// 200 processes, which the window would otherwise not answer in. The window
// asks for the result on a short timer while one is being taken, and only
// shows it: the rows are updated in place.
class Sampler {
public:
    explicit Sampler(platform::Processes& processes) : processes_(processes) {}
    bool busy() const { return pending_.valid(); }
    void start() {
        platform::Processes& processes = processes_;
        pending_ = std::async(std::launch::async, [&processes] { return procmon::take_picture(processes); });
    }
    // The picture once it is there.
    std::optional<procmon::ProcessPicture> ready() {
        if (!pending_.valid() || pending_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return std::nullopt;
        return pending_.get();
    }

private:
    platform::Processes& processes_;
    // Its destruction waits for a picture under way, before the services
    // it uses go.
    std::future<procmon::ProcessPicture> pending_;
};

constexpr std::string_view kRefreshTimer = "TimerRefresh";
constexpr std::string_view kPictureTimer = "TimerPicture";
constexpr unsigned kPicturePollMs = 25;

}  // namespace

void build_process_monitor(const PageBuilder& b, ProcessMonitor& logic) {
    Controls& controls = b.controls;  // outlives the builder
    // A mnemonic on the label takes the focus to the edit made after it.
    b.add({ControlKind::Label, "LabelFilter", i18n::tr("&Filter:"), kLeft, kFilterTop + 3, 34, 14});
    ControlDecl filter{ControlKind::Edit, std::string(procmon::kFilterEdit), "", kLeft + 36, kFilterTop, 200, 20,
                       [&logic] { logic.apply_filter(); }};
    filter.clear_on_escape = true;
    b.add(filter);

    // What a screen reader names the list by, the label right before it;
    // the page's caption says it on screen, so it takes no room.
    b.add({ControlKind::Label, "LabelProcesses", i18n::tr("System Process list"), kLeft, kGridTop, 0, 0});
    HWND grid = b.add({ControlKind::Grid, std::string(procmon::kGrid), "", kLeft, kGridTop, kWidth, kGridHeight});
    if (GridView* view = b.controls.grid(procmon::kGrid))
        view->on_column_click = [&logic](int column) { logic.sort_by_column(column); };
    std::vector<HWND> menu;
    int left = kLeft;
    for (const Action& action : kActions) {
        const auto click = [&logic, fn = action.click] { (logic.*fn)(); };
        b.add({ControlKind::Button, std::string(action.button), i18n::tr(action.button_caption), left, kButtonTop, kButtonWidth,
               kButtonHeight, click});
        left += kButtonWidth + kButtonGap;
        // The kill stands apart from the lists in the menu.
        if (action.click == &ProcessMonitor::close_selected_process)
            menu.push_back(b.add({ControlKind::MenuItem, "N1", "-", 0, 0, 0, 0}));
        ControlDecl item{ControlKind::MenuItem, std::string(action.item), i18n::tr(action.item_caption), 0, 0, 0, 0, click};
        item.shortcut = action.shortcut;
        menu.push_back(b.add(item));
    }
    b.controls.set_popup_menu(grid, std::move(menu));

    HWND box = b.add({ControlKind::CheckBox, std::string(procmon::kAutoRefreshBox), i18n::tr("&Refresh every 2 s"),
                      left + 4, kButtonTop + 6, kLeft + kWidth - left - 4, 16});
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);

    auto sampler = std::make_shared<Sampler>(logic.processes());
    HWND page = b.page;
    ControlDecl poll{ControlKind::Timer, std::string(kPictureTimer), "", 0, 0, 0, 0,
                     [&logic, &controls, sampler] {
                         std::optional<procmon::ProcessPicture> picture = sampler->ready();
                         if (!picture) return;
                         controls.set_timer_running(controls.get(kPictureTimer), false);
                         logic.show_picture(std::move(*picture));
                     }};
    poll.visible = false;
    poll.interval_ms = kPicturePollMs;
    b.add(poll);
    ControlDecl tick{ControlKind::Timer, std::string(kRefreshTimer), "", 0, 0, 0, 0,
                     [&logic, &controls, sampler, page] {
                         // Minimised, nobody looks: nothing is taken.
                         if (IsIconic(GetAncestor(page, GA_ROOT)) || !logic.auto_refresh_due() || sampler->busy())
                             return;
                         sampler->start();
                         controls.set_timer_running(controls.get(kPictureTimer), true);
                     }};
    tick.interval_ms = procmon::kRefreshIntervalMs;
    b.add(tick);
}

}  // namespace veltrano::procmon::win32
