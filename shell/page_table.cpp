#include "shell/page_table.h"

#include "admin/admin_page.h"
#include "procmon/process_monitor.h"
#include "regclean/regclean_page.h"
#include "shell/welcome.h"
#include "tips/customization.h"
#include "tips/network.h"
#include "tips/power.h"
#include "tips/system.h"
#include "tips/undo.h"

#include <array>

namespace veltrano::shell {

namespace {

tips::Context tips_context(const PageContext& c) {
    return {{c.primitives, c.store, c.services.time}, c.view, c.dialogs, c.services.sound, c.services.file_system,
            c.help_base, c.profile_ticks};
}

template <class Page> std::unique_ptr<ui::Page> make_tips_page(PageContext& c) {
    return std::make_unique<Page>(tips_context(c));
}

std::unique_ptr<ui::Page> make_welcome(PageContext& c) { return std::make_unique<WelcomePage>(c); }

std::unique_ptr<ui::Page> make_process_monitor(PageContext& c) {
    return std::make_unique<procmon::ProcessMonitor>(c.services.processes, c.view, c.dialogs);
}

std::unique_ptr<ui::Page> make_regclean(PageContext& c) {
    return std::make_unique<regclean::RegCleanPage>(c.services.registry, c.services.file_system, c.services.time,
                                                    c.services.shell, c.view, c.dialogs);
}

std::unique_ptr<ui::Page> make_admin(PageContext& c) {
    return std::make_unique<admin::AdminPage>(
        admin::Context{c.primitives, c.store, c.view, c.dialogs, c.services.sound, c.services.shell},
        admin::make_time_sync_page(c.primitives, c.store, c.services.time, c.view, c.services.make_socket));
}

constexpr int kShort = kShortPageHeight, kTall = kTallPageHeight;

const std::array<PageRow, 9> kPageTable{{
    {"Main", "StaticText6", "Image_welcome_screen", false, "GroupBox3", "Main Screen", kTall, make_welcome},
    {"Network", "StaticText1", "Image_network_options", true, "GroupBox2", "Your network boosting choices", kShort,
     make_tips_page<tips::NetworkPage>},
    {"Power", "StaticText3", "Image_power_options", true, "GroupBox4", "Your power saving choices", kShort,
     make_tips_page<tips::PowerPage>},
    {"System", "StaticText4", "Image_system_options", true, "GroupBox5", "Your system tuning choices", kShort,
     make_tips_page<tips::SystemPage>},
    {"Customize", "StaticText5", "Image_customization_options", true, "GroupBox6", "Your customization choices",
     kShort, make_tips_page<tips::CustomizationPage>},
    {"Undo ", "StaticText7", "Image_undo_options", true, "GroupBox7", "Undo Options", kShort,
     make_tips_page<tips::UndoPage>},
    {"RegClean", "StaticText9", "Image_regclean_option", true, "GroupBox14", "Registry Analyser and Cleaner", kTall,
     make_regclean},
    {"Process", "StaticText14", "Image_process_monitor", true, "GroupBox17", "System Process list", kTall,
     make_process_monitor},
    {"Admin", "StaticText11", "Image_admin_options", true, "GroupBox18", "Admin Options", kShort, make_admin},
}};

}  // namespace

std::span<const PageRow> page_table() { return kPageTable; }

}  // namespace veltrano::shell
