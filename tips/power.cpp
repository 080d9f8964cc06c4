// Tips 8 to 12: the power scheme and four shutdown settings of the user.
#include "i18n/translate.h"
#include "tips/groups.h"

namespace veltrano::tips {

using enum platform::Root;
using i18n::N_;
using i18n::tr;
using i18n::trf;

namespace {


constexpr std::string_view kPowerCfg = "\\Control Panel\\PowerCfg";
constexpr std::string_view kDesktop = "\\Control Panel\\Desktop";
constexpr std::string_view kExplorerPolicies = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

constexpr WriteRow kWrites[] = {
    str_row(8, CurrentUser, kPowerCfg, "CurrentPowerPolicy", "0", true, N_("Starting the process of setting CurrentPowerPolicy")),
    str_row(9, CurrentUser, kDesktop, "WaitToKillAppTimeout", "3500", true, N_("Starting the process of setting WaitToKillAppTimeout")),
    str_row(9, CurrentUser, kDesktop, "HungAppTimeout", "5000", true, N_("Starting the process of setting HungAppTimeout")),
    str_row(10, CurrentUser, kDesktop, "AutoEndTasks", "1", true, N_("Starting the process of setting AutoEndTasks")),
    str_row(11, CurrentUser, kExplorerPolicies, "NoSaveSettings", "1", true, N_("Starting the process of setting NoSaveSettings")),
    str_row(12, CurrentUser, kDesktop, "PowerOffActive", "1", true, N_("Starting the process of setting PowerOffActive")),
};

// How the store tells whether each tip is in effect on this machine.
using core::flag::compare;

constexpr core::FlagRow kFlags[] = {
    compare(8, CurrentUser, kPowerCfg, "CurrentPowerPolicy", "0"),
    compare(9, CurrentUser, kDesktop, "WaitToKillAppTimeout", "3500"),
    compare(9, CurrentUser, kDesktop, "HungAppTimeout", "5000"),
    compare(10, CurrentUser, kDesktop, "AutoEndTasks", "1"),
    compare(11, CurrentUser, kExplorerPolicies, "NoSaveSettings", "1"),
    compare(12, CurrentUser, kDesktop, "PowerOffActive", "1"),
};

using namespace restore;

// Windows' own defaults; "0" and "5000" happen to be what tips 8 and 9
// write, so those two still read as applied after a restore.
constexpr RestoreStep kRestore[] = {
    write_str(8, CurrentUser, kPowerCfg, "CurrentPowerPolicy", "0", true, N_("Starting the process of setting CurrentPowerPolicy")),
    write_str(9, CurrentUser, kDesktop, "WaitToKillAppTimeout", "20000", true, N_("Starting the process of setting WaitToKillAppTimeout")),
    write_str(9, CurrentUser, kDesktop, "HungAppTimeout", "5000", true, N_("Starting the process of setting HungAppTimeout")),
    write_str(10, CurrentUser, kDesktop, "AutoEndTasks", "0", true, N_("Starting the process of setting AutoEndTasks")),
    delete_value(11, CurrentUser, kExplorerPolicies, "NoSaveSettings", N_("Starting the process of setting NoSaveSettings")),
    write_str(12, CurrentUser, kDesktop, "PowerOffActive", "0", true, N_("Starting the process of setting PowerOffActive")),
};

static_assert(covers_every_tip(Group::Power, kWrites, {}, kRestore, kFlags));

}  // namespace

const GroupTables& power_tables() {
    static const GroupTables tables{Group::Power, kWrites, {}, kRestore, kFlags};
    return tables;
}

}  // namespace veltrano::tips
