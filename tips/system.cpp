// Tips 13 to 30: memory management, the file system, EFS caching, process
// separation of the shell and a few security settings; one value each.
#include "i18n/translate.h"
#include "tips/groups.h"

namespace veltrano::tips {

using enum platform::Root;
using i18n::N_;
using i18n::tr;
using i18n::trf;

namespace {


// The paths keep the capitals they always had ("\SYSTEM" and "\System"):
// the registry ignores them, but the log and the records show them.
constexpr std::string_view kMemory = "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
constexpr std::string_view kPriority = "\\System\\CurrentControlSet\\Control\\PriorityControl";
constexpr std::string_view kBootOptimize = "\\SOFTWARE\\Microsoft\\Dfrg\\BootOptimizeFunction";
constexpr std::string_view kFileSystem = "\\System\\CurrentControlSet\\Control\\FileSystem";
constexpr std::string_view kDesktop = "\\Control Panel\\Desktop";
constexpr std::string_view kEfsParameters = "\\System\\CurrentControlSet\\Services\\NTFS\\EFS\\Parameters";
constexpr std::string_view kEfs = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\EFS";
constexpr std::string_view kExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr std::string_view kIdeChannel = "\\System\\CurrentControlSet\\Control\\Class\\{4D36E96A-E325-11CE-BFC1-08002BE10318}\\0000";
constexpr std::string_view kExplorerAdvanced = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr std::string_view kLsa = "\\SYSTEM\\CurrentControlSet\\Control\\Lsa";
constexpr std::string_view kSessionManager = "\\System\\CurrentControlSet\\Control\\Session Manager";

constexpr WriteRow kWrites[] = {
    int_row(13, LocalMachine, kMemory, "DisablePagingExecutive", 1, false, N_("Starting the process of setting DisablePagingExecutive")),
    int_row(14, LocalMachine, kPriority, "IRQ8Priority", 1, true, N_("Starting the process of boosting IRQ8Priority")),
    int_row(15, LocalMachine, kMemory, "IoPageLockLimit", 8388608, false, N_("Starting the process of setting IoPageLockLimit")),
    str_row(16, LocalMachine, kBootOptimize, "Enable", "Y", false, N_("Starting the process of enabling BootOptimizeFunction")),
    int_row(17, LocalMachine, kFileSystem, "NtfsMftZoneReservation", 2, false, N_("Starting the process of increasing NtfsMftZoneReservation to 25%")),
    int_row(18, LocalMachine, kFileSystem, "NtfsDisable8dot3NameCreation", 1, false, N_("Starting the process of disabling NtfsDisable8dot3NameCreation")),
    str_row(19, CurrentUser, kDesktop, "LowLevelHooksTimeout", "3000", false, N_("Starting the process of enabling LowLevelHooksTimeout")),
    str_row(20, LocalMachine, kEfsParameters, "EFSKCACHEPERIOD", "5", true, N_("Starting the process of setting EFSKCACHEPERIOD ")),
    str_row(21, LocalMachine, kEfs, "KeyCacheValidationPeriod", "86400", true, N_("Starting the process of setting KeyCacheValidationPeriod")),
    int_row(22, LocalMachine, kExplorer, "AlwaysUnloadDLL", 1, true, N_("Starting the process of setting AlwaysUnloadDLL")),
    int_row(23, LocalMachine, kIdeChannel, "EnableUDMA66", 1, true, N_("Starting the process of setting EnableUDMA66")),
    int_row(24, LocalMachine, kExplorerAdvanced, "SeparateProcess", 1, true, N_("Starting the process of setting SeparateProcess")),
    int_row(25, LocalMachine, kMemory, "LargeSystemCache", 1, true, N_("Starting the process of setting LargeSystemCache")),
    int_row(26, LocalMachine, kExplorer, "DesktopProcess", 1, true, N_("Starting the process of setting DesktopProcess")),
    int_row(27, LocalMachine, kExplorer, "DownloadScope", 1, true, N_("Starting the process of setting DownloadScope")),
    int_row(28, LocalMachine, kLsa, "forceguest", 1, true, N_("Starting the process of setting forceguest")),
    str_row(29, LocalMachine, kLsa, "BrowseNewProcess", "Yes", true, N_("Starting the process of setting BrowseNewProcess")),
    int_row(30, LocalMachine, kSessionManager, "ProtectionMode", 1, true, N_("Starting the process of setting ProtectionMode")),
};

// How the store tells whether each tip is in effect on this machine.
using core::flag::compare;

constexpr core::FlagRow kFlags[] = {
    compare(13, LocalMachine, kMemory, "DisablePagingExecutive", 1),
    compare(14, LocalMachine, kPriority, "IRQ8Priority", 1),
    compare(15, LocalMachine, kMemory, "IoPageLockLimit", 8388608),
    compare(16, LocalMachine, kBootOptimize, "Enable", "Y"),
    compare(17, LocalMachine, kFileSystem, "NtfsMftZoneReservation", 2),
    compare(18, LocalMachine, kFileSystem, "NtfsDisable8dot3NameCreation", 1),
    compare(19, CurrentUser, kDesktop, "LowLevelHooksTimeout", "3000"),
    compare(20, LocalMachine, kEfsParameters, "EFSKCACHEPERIOD", "5"),
    compare(21, LocalMachine, kEfs, "KeyCacheValidationPeriod", "86400"),
    compare(22, LocalMachine, kExplorer, "AlwaysUnloadDLL", 1),
    compare(23, LocalMachine, kIdeChannel, "EnableUDMA66", 1),
    compare(24, LocalMachine, kExplorerAdvanced, "SeparateProcess", 1),
    compare(25, LocalMachine, kMemory, "LargeSystemCache", 1),
    compare(26, LocalMachine, kExplorer, "DesktopProcess", 1),
    compare(27, LocalMachine, kExplorer, "DownloadScope", 1),
    compare(28, LocalMachine, kLsa, "forceguest", 1),
    compare(29, LocalMachine, kLsa, "BrowseNewProcess", "Yes"),
    compare(30, LocalMachine, kSessionManager, "ProtectionMode", 1),
};

using namespace restore;

constexpr RestoreStep kRestore[] = {
    write_int(13, LocalMachine, kMemory, "DisablePagingExecutive", 0, false, N_("Starting the process of setting DisablePagingExecutive")),
    delete_value(14, LocalMachine, kPriority, "IRQ8Priority", N_("Starting the process of deleting IRQ8Priority")),
    delete_value(15, LocalMachine, kMemory, "IoPageLockLimit", N_("Starting the process of deleting IoPageLockLimit")),
    write_str(16, LocalMachine, kBootOptimize, "Enable", "Y", false, N_("Starting the process of enabling BootOptimizeFunction")),
    delete_value(17, LocalMachine, kFileSystem, "NtfsMftZoneReservation", N_("Starting the process of deleting NtfsMftZoneReservation")),
    write_int(18, LocalMachine, kFileSystem, "NtfsDisable8dot3NameCreation", 0, false, N_("Starting the process of disabling NtfsDisable8dot3NameCreation")),
    delete_value(19, CurrentUser, kDesktop, "LowLevelHooksTimeout", N_("Starting the process of deleting LowLevelHooksTimeout")),
    delete_value(20, LocalMachine, kEfsParameters, "EFSKCACHEPERIOD", N_("Starting the process of deleting EFSKCACHEPERIOD ")),
    // Other EFS parameters may live beside the tip's; keep the key for them.
    delete_key_if_empty(20, LocalMachine, kEfsParameters),
    delete_value(21, LocalMachine, kEfs, "KeyCacheValidationPeriod", N_("Starting the process of deleting KeyCacheValidationPeriod")),
    delete_value(22, LocalMachine, kExplorer, "AlwaysUnloadDLL", N_("Starting the process of deleting AlwaysUnloadDLL")),
    delete_value(23, LocalMachine, kIdeChannel, "EnableUDMA66", N_("Starting the process of deleting EnableUDMA66")),
    delete_value(24, LocalMachine, kExplorerAdvanced, "SeparateProcess", N_("Starting the process of deleting SeparateProcess")),
    write_int(25, LocalMachine, kMemory, "LargeSystemCache", 0, true, N_("Starting the process of setting LargeSystemCache to default 0")),
    write_int(26, LocalMachine, kExplorer, "DesktopProcess", 0, true, N_("Starting the process of setting DesktopProcess to default 0")),
    write_int(27, LocalMachine, kExplorer, "DownloadScope", 0, true, N_("Starting the process of setting DownloadScope to default 0")),
    write_int(28, LocalMachine, kLsa, "forceguest", 1, true, N_("Starting the process of setting forceguest to default 1")),
    delete_value(29, LocalMachine, kLsa, "BrowseNewProcess", N_("Starting the process of deleting BrowseNewProcess")),
    write_int(30, LocalMachine, kSessionManager, "ProtectionMode", 1, true, N_("Starting the process of setting ProtectionMode to to default 1")),
};

static_assert(covers_every_tip(Group::System, kWrites, {}, kRestore, kFlags));
// One value per tip.
static_assert(std::size(kWrites) == 30 - 13 + 1 && std::size(kRestore) == 19);

}  // namespace

const GroupTables& system_tables() {
    static const GroupTables tables{Group::System, kWrites, {}, kRestore, kFlags};
    return tables;
}

}  // namespace veltrano::tips
