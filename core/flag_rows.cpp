#include "core/flag_rows.h"

#include <array>

namespace veltrano::core {

namespace {

using K = FlagRow::Kind;
constexpr auto HKLM = platform::Root::LocalMachine;
constexpr auto HKCU = platform::Root::CurrentUser;
constexpr auto HKU = platform::Root::Users;

constexpr FlagRow C(std::string_view tip, platform::Root root, std::string_view key,
                    std::string_view value, std::int32_t num) {
    return {K::Compare, tip, root, key, value, "INT_TYPE", "", num};
}
constexpr FlagRow S(std::string_view tip, platform::Root root, std::string_view key,
                    std::string_view value, std::string_view str) {
    return {K::Compare, tip, root, key, value, "STR_TYPE", str, 0};
}
constexpr FlagRow Adapters(std::string_view tip, std::string_view value, std::int32_t num) {
    return {K::Adapters, tip, HKLM, "", value, "INT_TYPE", "", num};
}
constexpr FlagRow Absent(std::string_view tip, std::string_view probe) {
    return {K::Absence, tip, HKLM, probe, "", "", "", 0};
}

constexpr std::string_view kDnsCache = "\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
constexpr std::string_view kLanman = "\\SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\Parameters";
constexpr std::string_view kAfd = "\\SYSTEM\\CurrentControlSet\\Services\\AFD\\Parameters";
constexpr std::string_view kInternet = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::string_view kDesktop = "\\Control Panel\\Desktop";
constexpr std::string_view kPolicyExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr std::string_view kMemory = "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
constexpr std::string_view kFileSystem = "\\System\\CurrentControlSet\\Control\\FileSystem";
constexpr std::string_view kHklmExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr std::string_view kHklmAdvanced = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr std::string_view kLsa = "\\SYSTEM\\CurrentControlSet\\Control\\Lsa";
constexpr std::string_view kDefaultDesktop = "\\.DEFAULT\\Control Panel\\Desktop";
constexpr std::string_view kHkcuExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr std::string_view kHkcuAdvanced = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

constexpr std::array kRows{
    C("TIP0001", HKLM, kDnsCache, "CacheHashTableBucketSize", 1),
    C("TIP0001", HKLM, kDnsCache, "CacheHashTableSize", 384),
    C("TIP0001", HKLM, kDnsCache, "MaxCacheEntryTtlLimit", 64000),
    C("TIP0001", HKLM, kDnsCache, "MaxSOACacheEntryTtlLimit", 301),
    C("TIP0002", HKLM, kLanman, "MaxCmds", 104),
    C("TIP0002", HKLM, kLanman, "MaxThreads", 104),
    Adapters("TIP0003", "EnablePMTUDiscovery", 1),
    C("TIP0004", HKLM, kAfd, "TransmitWorker", 16),
    C("TIP0004", HKLM, kAfd, "PriorityBoost", 10),
    Absent("TIP0005", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace\\"
                      "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"),
    C("TIP0006", HKCU, kInternet, "MaxConnectionsPerServer", 8),
    C("TIP0006", HKCU, kInternet, "MaxConnectionsPer1_0Server", 8),
    Adapters("TIP0007", "MTU", 1500),
    S("TIP0008", HKCU, "\\Control Panel\\PowerCfg", "CurrentPowerPolicy", "0"),
    S("TIP0009", HKCU, kDesktop, "WaitToKillAppTimeout", "3500"),
    S("TIP0009", HKCU, kDesktop, "HungAppTimeout", "5000"),
    S("TIP0010", HKCU, kDesktop, "AutoEndTasks", "1"),
    S("TIP0011", HKCU, kPolicyExplorer, "NoSaveSettings", "1"),
    S("TIP0012", HKCU, kDesktop, "PowerOffActive", "1"),
    C("TIP0013", HKLM, kMemory, "DisablePagingExecutive", 1),
    C("TIP0014", HKLM, "\\System\\CurrentControlSet\\Control\\PriorityControl", "IRQ8Priority", 1),
    C("TIP0015", HKLM, kMemory, "IoPageLockLimit", 8388608),
    S("TIP0016", HKLM, "\\SOFTWARE\\Microsoft\\Dfrg\\BootOptimizeFunction", "Enable", "Y"),
    C("TIP0017", HKLM, kFileSystem, "NtfsMftZoneReservation", 2),
    C("TIP0018", HKLM, kFileSystem, "NtfsDisable8dot3NameCreation", 1),
    S("TIP0019", HKCU, kDesktop, "LowLevelHooksTimeout", "3000"),
    S("TIP0020", HKLM, "\\System\\CurrentControlSet\\Services\\NTFS\\EFS\\Parameters", "EFSKCACHEPERIOD", "5"),
    S("TIP0021", HKLM, "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\EFS", "KeyCacheValidationPeriod", "86400"),
    C("TIP0022", HKLM, kHklmExplorer, "AlwaysUnloadDLL", 1),
    C("TIP0023", HKLM, "\\System\\CurrentControlSet\\Control\\Class\\{4D36E96A-E325-11CE-BFC1-08002BE10318}\\0000",
      "EnableUDMA66", 1),
    C("TIP0024", HKLM, kHklmAdvanced, "SeparateProcess", 1),
    C("TIP0025", HKLM, kMemory, "LargeSystemCache", 1),
    C("TIP0026", HKLM, kHklmExplorer, "DesktopProcess", 1),
    C("TIP0027", HKLM, kHklmExplorer, "DownloadScope", 1),
    C("TIP0028", HKLM, kLsa, "forceguest", 1),
    S("TIP0029", HKLM, kLsa, "BrowseNewProcess", "Yes"),
    C("TIP0030", HKLM, "\\System\\CurrentControlSet\\Control\\Session Manager", "ProtectionMode", 1),
    S("TIP0031", HKCU, kDesktop, "FontSmoothing", "2"),
    C("TIP0031", HKCU, kDesktop, "FontSmoothingType", 2),
    S("TIP0031", HKU, kDefaultDesktop, "FontSmoothing", "2"),
    C("TIP0031", HKU, kDefaultDesktop, "FontSmoothingType", 2),
    Absent("TIP0032", "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
                      "DelegateFolders\\{59031a47-3f72-44a7-89c5-5595fe6b30ee}"),
    S("TIP0033", HKCU, kDesktop, "MenuShowDelay", "15"),
    Absent("TIP0034", "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
                      "{645FF040-5081-101B-9F08-00AA002F954E}"),
    C("TIP0035", HKLM, "\\SYSTEM\\ControlSet001\\Services\\W32Time\\TimeProviders\\NtpClient",
      "SpecialPollInterval", 86400),
    S("TIP0036", HKU, "\\.DEFAULT\\Control Panel\\Keyboard", "InitialKeyboardIndicators", "0"),
    S("TIP0037", HKU, "\\.DEFAULT\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "ParseAutoexec", "0"),
    S("TIP0037", HKCU, "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "ParseAutoexec", "0"),
    C("TIP0038", HKLM, "\\SYSTEM\\CurrentControlSet\\Control\\CrashControl", "AutoReboot", 1),
    C("TIP0039", HKLM, kHklmAdvanced, "TaskbarGroupSize", 1),
    S("TIP0040", HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", "LastKey", ""),
    C("TIP0041", HKLM, "\\Software\\Policies\\Microsoft\\Messenger\\Client", "PreventRun", 1),
    C("TIP0042", HKCU, kDesktop, "MenuDropAlignment", 1),
    C("TIP0043", HKCU, kHkcuExplorer, "CaseSensitive", 1),
    C("TIP0044", HKCU, kHkcuExplorer, "SearchHidden", 1),
    C("TIP0045", HKCU, kHkcuAdvanced, "ShowAttribCol", 1),
    C("TIP0046", HKCU, kPolicyExplorer, "NoChangeStartMenu", 1),
    C("TIP0047", HKCU, kHkcuAdvanced, "DisableThumbnailCache", 1),
    C("TIP0048", HKCU, kPolicyExplorer, "NoCDBurning", 1),
};
static_assert(kRows.size() == 59);

}  // namespace

std::span<const FlagRow> flag_rows() { return kRows; }

}  // namespace veltrano::core
