#include "admin/admin_page.h"

#include "ui/activity_log.h"

namespace veltrano::admin {

AdminPage::AdminPage(Context ctx, std::unique_ptr<TimeSyncPage> time_sync)
    : ctx_(ctx), time_sync_(std::move(time_sync)), auto_logon_(ctx), control_panel_(ctx), launchers_(ctx.shell, ctx.dialogs) {}

void AdminPage::created() {
    if (time_sync_) time_sync_->created();
}

void AdminPage::destroyed() {
    // The main window tells only the pages of its table; the time sync
    // sub-page has a socket to let go of too.
    if (time_sync_) time_sync_->destroyed();
}

void AdminPage::shown() {
    drawn_ = true;
    show_admin_options();
    show_only(kAutoLogonPage);
    // "Admin" clicked again while the Time Sync sub-page shows: it goes, and
    // its clock must not go on polling and setting the time out of sight.
    stop_time_sync_clock();
    auto_logon_.fill();
}

void AdminPage::show_admin_options() {
    ctx_.widgets.set_visible(kPage, true);
    for (ui::Control control : ui::kLogControls) ctx_.widgets.set_visible(control, true);
}

void AdminPage::hide_admin_options() {
    ctx_.widgets.set_visible(kPage, false);
    for (ui::Control control : ui::kLogControls) ctx_.widgets.set_visible(control, false);
    stop_time_sync_clock();
}

void AdminPage::stop_time_sync_clock() {
    if (drawn_ && time_sync_) ctx_.widgets.set_enabled(kTimer, false);
}

void AdminPage::show_only(ui::GroupBox sub_page) {
    // Hidden first: two sub-pages never show at once, not even for a moment.
    for (ui::GroupBox page : kSubPages)
        if (page != sub_page) ctx_.widgets.set_visible(page, false);
    ctx_.widgets.set_visible(sub_page, true);
}

void AdminPage::show_auto_logon() {
    show_only(kAutoLogonPage);
    stop_time_sync_clock();
    auto_logon_.fill();
}

void AdminPage::show_control_panel() {
    show_only(kControlPanelPage);
    stop_time_sync_clock();
    control_panel_.read();
}

void AdminPage::show_utility_apps() {
    show_only(kLaunchersPage);
    stop_time_sync_clock();
}

void AdminPage::show_time_sync() {
    show_only(kTimeSyncPage);
    // It starts Timer2 itself.
    if (time_sync_) time_sync_->shown();
}

}  // namespace veltrano::admin
