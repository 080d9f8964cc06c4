// The admin page (GroupBox18): a column of four buttons (GroupBox25) that
// switches between the sub-pages auto logon, control panel, utility apps and
// time sync. The time sync sub-page is a page of its own, handed in.
#pragma once

#include "admin/auto_logon.h"
#include "admin/context.h"
#include "admin/control_panel.h"
#include "admin/launchers.h"
#include "admin/time_sync.h"
#include "ui/page.h"

#include <array>
#include <memory>
#include <string_view>

namespace veltrano::admin {

inline constexpr ui::GroupBox kPage{"GroupBox18"};
inline constexpr ui::GroupBox kAutoLogonPage{"GroupBox19"};
inline constexpr ui::GroupBox kControlPanelPage{"GroupBox26"};
inline constexpr ui::GroupBox kLaunchersPage{"GroupBox27"};
inline constexpr ui::GroupBox kTimeSyncPage{"GroupBox28"};
inline constexpr std::array<ui::GroupBox, 4> kSubPages{kAutoLogonPage, kControlPanelPage, kLaunchersPage, kTimeSyncPage};

class AdminPage : public ui::Page {
public:
    // time_sync may be null: the page then has three working sub-pages.
    AdminPage(Context ctx, std::unique_ptr<TimeSyncPage> time_sync);

    void created() override;
    // The auto logon sub-page, its edits read anew; Timer2 stopped.
    void shown() override;
    void hidden() override { hide_admin_options(); }
    void destroyed() override;

    void show_admin_options();
    void hide_admin_options();

    // The four buttons of the column: each shows its sub-page alone.
    void show_auto_logon();
    void show_control_panel();
    void show_utility_apps();
    void show_time_sync();

    TimeSyncPage* time_sync() { return time_sync_.get(); }
    AutoLogon& auto_logon() { return auto_logon_; }
    ControlPanel& control_panel() { return control_panel_; }
    Launchers& launchers() { return launchers_; }

private:
    void show_only(ui::GroupBox sub_page);
    void stop_time_sync_clock();

    Context ctx_;
    std::unique_ptr<TimeSyncPage> time_sync_;
    AutoLogon auto_logon_;
    ControlPanel control_panel_;
    Launchers launchers_;
    // The page is drawn the first time it shows: before that there is no
    // Timer2 to stop, and reaching for it would draw every page at once.
    bool drawn_ = false;
};

}  // namespace veltrano::admin
