// The admin tools' Time Sync sub-page inside GroupBox28: the clock, the
// server list with "Add TimeServer", the polling interval with "Set the
// interval", and the exchange's results with "&Synchronize now".
#include "admin/win32/admin_page.h"

#include "i18n/translate.h"

namespace veltrano::admin::win32 {

using namespace ui::win32;

void build_time_sync_page(const PageBuilder& b, admin::TimeSyncPage& logic) {
    b.add({ControlKind::Label, "StaticText13", i18n::tr("Your current system date/time:"), 8, 18, 160, 14});
    b.add({ControlKind::Label, std::string(admin::kLocalTime), "", 172, 18, 200, 14});

    HWND servers = b.add({ControlKind::Panel, "GroupBox29",
                          i18n::tr("Choose a  NIST (National Institute of Standards and Technology ) Time Servers"),
                          8, 38, 452, 74});
    const std::vector<std::string> server_items = logic.server_items();
    // What a screen reader names the box by, the label right before it; the
    // frame's caption says it on screen, so it takes no room.
    b.add_to(servers, {ControlKind::Label, "LabelServers", i18n::tr("Time server"), 8, 18, 0, 0});
    // No item chosen at start: the box shows the first server's text.
    ControlDecl server_list{ControlKind::ComboBox, std::string(admin::kServerList), server_items.front(), 8, 18, 436,
                            21};
    server_list.items = server_items;
    server_list.editable = true;
    b.add_to(servers, server_list);
    b.add_to(servers, {ControlKind::Button, "Button4", i18n::tr("Add TimeServer"), 8, 44, 120, 24,
                       [&logic] { logic.add_time_server(); }});

    HWND interval = b.add({ControlKind::Panel, "GroupBox30", i18n::tr("Set Polling Interval"), 8, 116, 452, 70});
    b.add_to(interval, {ControlKind::Label, "StaticText15",
                        i18n::tr("Polling Interval (how often to perform of time synchronization)"), 8, 18, 436, 14});
    ControlDecl interval_list{ControlKind::ComboBox, std::string(admin::kIntervalList), "", 8, 38, 80, 21,
                              [&logic] { logic.polling_interval_select(); }};
    interval_list.items.assign(admin::kPollIntervals.begin(), admin::kPollIntervals.end());
    interval_list.selected = 0;
    b.add_to(interval, interval_list);
    b.add_to(interval, {ControlKind::Button, "Button5", i18n::tr("Set the interval"), 100, 36, 120, 24,
                        [&logic] { logic.set_polling_interval(); }});

    HWND exchange = b.add({ControlKind::Panel, "GroupBox31",
                           i18n::tr("If not behind a Firewall, you can synchronize now"), 8, 190, 452, 124});
    b.add_to(exchange, {ControlKind::Label, "Label37", i18n::tr("Round Trip Time: "), 8, 22, 96, 14});
    b.add_to(exchange, {ControlKind::Label, std::string(admin::kRoundTrip), "", 108, 22, 80, 14});
    b.add_to(exchange, {ControlKind::Label, "Label38",
                        // TRANSLATORS: how far the computer's clock is off the server's, in seconds
                        i18n::tr("Error in Time:"), 8, 44, 96, 14});
    b.add_to(exchange, {ControlKind::Label, std::string(admin::kOffset), "", 108, 44, 80, 14});
    b.add_to(exchange, {ControlKind::Label, "Label39", i18n::tr("Server  Time:"), 8, 66, 96, 14});
    b.add_to(exchange, {ControlKind::Label, std::string(admin::kServerTime), "", 108, 66, 160, 14});
    b.add_to(exchange, {ControlKind::Label, std::string(admin::kStatus), "", 8, 96, 436, 14});
    b.add_to(exchange, {ControlKind::Button, "BitBtn29", i18n::tr("&Synchronize now"), 300, 20, 140, 30,
                        [&logic] { logic.synchronize_now(); }});

    // Stopped until the page is shown.
    ControlDecl timer{ControlKind::Timer, std::string(admin::kTimer), "", 0, 0, 0, 0,
                      [&logic] { logic.on_second(); }};
    timer.visible = false;
    timer.interval_ms = 1000;
    b.add(timer);
}

}  // namespace veltrano::admin::win32
