#include "shell/page_table.h"

#include "admin/admin_page.h"
#include "i18n/translate.h"
#include "procmon/process_monitor.h"
#include "regclean/regclean_page.h"
#include "shell/welcome.h"
#include "tips/undo.h"

#include <array>

namespace veltrano::shell {

namespace {

tips::Context tips_context(const PageContext& c) {
    return {{c.primitives, c.store, c.services.time}, c.view, c.dialogs, c.services.sound, c.services.file_system,
            c.services.ansi_text, c.help_base, c.profile_ticks, c.services.system_restore,
            c.services.writer_gate};
}

template <tips::Group G> std::unique_ptr<ui::Page> make_tips_page(PageContext& c) {
    return std::make_unique<tips::TipPage>(G, tips_context(c));
}

std::unique_ptr<ui::Page> make_undo(PageContext& c) { return std::make_unique<tips::UndoPage>(tips_context(c)); }

std::unique_ptr<ui::Page> make_welcome(PageContext& c) { return std::make_unique<WelcomePage>(c); }

std::unique_ptr<ui::Page> make_process_monitor(PageContext& c) {
    return std::make_unique<procmon::ProcessMonitor>(c.services.processes, c.view, c.dialogs);
}

std::unique_ptr<ui::Page> make_regclean(PageContext& c) {
    return std::make_unique<regclean::RegCleanPage>(c.services.registry, c.services.file_system, c.services.time,
                                                    c.services.shell, c.view, c.dialogs, c.services.system_restore,
                                                    &c.primitives.log());
}

std::unique_ptr<ui::Page> make_admin(PageContext& c) {
    return std::make_unique<admin::AdminPage>(
        admin::Context{c.primitives, c.store, c.view, c.dialogs, c.services.sound, c.services.shell,
                       c.services.secrets},
        admin::make_time_sync_page(c.primitives, c.store, c.services.time, c.view, c.services.make_socket));
}

constexpr int kShort = kShortPageHeight, kTall = kTallPageHeight;

using tips::Group;
using tips::group_display;

// The captions (the navigation bar's entries, a word under each picture)
// and titles (each page's frame) stay English here and are translated where
// they are shown.
const std::array<PageRow, 9> kPageTable{{
    // TRANSLATORS: the navigation bar's entry of the welcome page, under its picture
    {i18n::N_("Main"), "Image_welcome_screen", false, kWelcomePage, i18n::N_("Main Screen"), kTall, make_welcome},
    // TRANSLATORS: the navigation bar's entry of the network tips, under its picture
    {i18n::N_("Network"), "Image_network_options", true, group_display(Group::Network).group_box,
     i18n::N_("Your network boosting choices"), kShort, make_tips_page<Group::Network>},
    // TRANSLATORS: the navigation bar's entry of the power tips, under its picture
    {i18n::N_("Power"), "Image_power_options", true, group_display(Group::Power).group_box,
     i18n::N_("Your power saving choices"), kShort, make_tips_page<Group::Power>},
    // TRANSLATORS: the navigation bar's entry of the system tips, under its picture
    {i18n::N_("System"), "Image_system_options", true, group_display(Group::System).group_box,
     i18n::N_("Your system tuning choices"), kShort, make_tips_page<Group::System>},
    // TRANSLATORS: the navigation bar's entry of the customization tips, under its picture
    {i18n::N_("Customize"), "Image_customization_options", true, group_display(Group::Customization).group_box,
     i18n::N_("Your customization choices"), kShort, make_tips_page<Group::Customization>},
    // TRANSLATORS: the navigation bar's entry of the Undo page, under its picture
    {i18n::N_("Undo "), "Image_undo_options", true, tips::kUndoGroupBox, i18n::N_("Undo Options"), kShort,
     make_undo},
    // TRANSLATORS: the navigation bar's entry of the registry cleaner, under its picture
    {i18n::N_("RegClean"), "Image_regclean_option", true, regclean::kPage, i18n::N_("Registry Analyser and Cleaner"),
     kTall, make_regclean},
    // TRANSLATORS: the navigation bar's entry of the process list, under its picture
    {i18n::N_("Process"), "Image_process_monitor", true, procmon::kPage, i18n::N_("System Process list"), kTall,
     make_process_monitor},
    // TRANSLATORS: the navigation bar's entry of the administrator's options, under its picture
    {i18n::N_("Admin"), "Image_admin_options", true, admin::kPage, i18n::N_("Admin Options"), kShort, make_admin},
}};

}  // namespace

std::span<const PageRow> page_table() { return kPageTable; }

}  // namespace veltrano::shell
