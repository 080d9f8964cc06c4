#include "tips/customization.h"

namespace veltrano::tips {

using enum platform::Root;
using i18n::N_;
using i18n::tr;
using i18n::trf;

namespace {

constexpr Root CR = Root::ClassesRoot;
constexpr Root US = Root::Users;

constexpr std::string_view kDesktop = "\\Control Panel\\Desktop";
constexpr std::string_view kDefaultDesktop = "\\.DEFAULT\\Control Panel\\Desktop";
constexpr std::string_view kNtpClient = "\\SYSTEM\\ControlSet001\\Services\\W32Time\\TimeProviders\\NtpClient";
constexpr std::string_view kDefaultKeyboard = "\\.DEFAULT\\Control Panel\\Keyboard";
constexpr std::string_view kDefaultWinlogon = "\\.DEFAULT\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr std::string_view kWinlogon = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr std::string_view kCrashControl = "\\SYSTEM\\CurrentControlSet\\Control\\CrashControl";
constexpr std::string_view kMachineAdvanced = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr std::string_view kRegedit = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
constexpr std::string_view kExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr std::string_view kAdvanced = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr std::string_view kPolicies = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr std::string_view kMessengerPolicy = "\\Software\\Policies\\Microsoft\\Messenger";
constexpr std::string_view kMessengerClient = "\\Software\\Policies\\Microsoft\\Messenger\\Client";

constexpr WriteRow kWrites[] = {
    str_row(31, CurrentUser, kDesktop, "FontSmoothing", "2", true, N_("Starting the process of setting current user FontSmoothing")),
    int_row(31, CurrentUser, kDesktop, "FontSmoothingType", 2, true, N_("Starting the process of setting current user FontSmoothingType")),
    str_row(31, US, kDefaultDesktop, "FontSmoothing", "2", true, N_("Starting the process of setting default user FontSmoothing")),
    int_row(31, US, kDefaultDesktop, "FontSmoothingType", 2, true, N_("Starting the process of setting default user FontSmoothingType")),
    str_row(33, CurrentUser, kDesktop, "MenuShowDelay", "15", true, N_("Starting the process of reducing MenuShowDelay")),
    int_row(35, LocalMachine, kNtpClient, "SpecialPollInterval", 86400, true, N_("Starting the process of reducing SpecialPollInterval")),
    str_row(36, US, kDefaultKeyboard, "InitialKeyboardIndicators", "0", true, N_("Starting the process of setting InitialKeyboardIndicators")),
    str_row(37, US, kDefaultWinlogon, "ParseAutoexec", "0", true, N_("Starting the process of setting ParseAutoexec for default user")),
    str_row(37, CurrentUser, kWinlogon, "ParseAutoexec", "0", true, N_("Starting the process of setting ParseAutoexec for current user")),
    int_row(38, LocalMachine, kCrashControl, "AutoReboot", 1, true, N_("Starting the process of enabling auto reboot at BSOD")),
    // One, while the caption and the log speak of five: the flag derivation
    // compares with one as well, so the two must stay together.
    int_row(39, LocalMachine, kMachineAdvanced, "TaskbarGroupSize", 1, true, N_("Starting the process of increasing TaskbarGroupSize to 5")),
    str_row(40, CurrentUser, kRegedit, "LastKey", "", true, N_("Starting the process of clearing LastKey")),
    int_row(42, CurrentUser, kDesktop, "MenuDropAlignment", 1, true, N_("Starting the process of setting MenuDropAlignment")),
    int_row(43, CurrentUser, kExplorer, "CaseSensitive", 1, true, N_("Starting the process of setting CaseSensitive")),
    int_row(44, CurrentUser, kExplorer, "SearchHidden", 1, true, N_("Starting the process of setting SearchHidden")),
    int_row(45, CurrentUser, kAdvanced, "ShowAttribCol", 1, true, N_("Starting the process of setting ShowAttribCol")),
    int_row(46, CurrentUser, kPolicies, "NoChangeStartMenu", 1, true, N_("Starting the process of setting NoChangeStartMenu")),
    int_row(47, CurrentUser, kAdvanced, "DisableThumbnailCache", 1, true, N_("Starting the process of setting DisableThumbnailCache")),
    int_row(48, CurrentUser, kPolicies, "NoCDBurning", 1, true, N_("Starting the process of setting NoCDBurning")),
};

// Tips 32 and 34 keep their own records: what they remove is a key, which
// the value records cannot describe.
struct NamespaceRemoval {
    int tip;
    std::string_view class_id;
    std::string_view parent;
    // Marked English, logged translated; the record's takes the class id.
    std::string_view record_message;
    std::string_view removal_message;
};

constexpr NamespaceRemoval kSharedDocuments{
    32, "{59031a47-3f72-44a7-89c5-5595fe6b30ee}",
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\DelegateFolders",
    N_("Storing REGPATH for {0}"), N_("Removing my shared documents folder")};
constexpr NamespaceRemoval kRecycleBin{
    34, "{645FF040-5081-101B-9F08-00AA002F954E}", "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace",
    N_("Storing REGPATH for {0} "), N_("Removing RECYLE BIN icon from desktop")};

void remove_namespace_key(TipServices& services, const NamespaceRemoval& r) {
    const std::string tip = core::tip_key(r.tip);
    services.store.mark_applied(r.tip, trf("Setting {0}", tip), trf("Setting LASTDATE for {0}", tip));
    services.store.remove_key_with_record(r.tip, LocalMachine, std::string(r.parent), std::string(r.class_id),
                                     trf(r.record_message, r.class_id), tr(r.removal_message));
}

void remove_shared_documents(TipServices& services) { remove_namespace_key(services, kSharedDocuments); }
void remove_recycle_bin(TipServices& services) { remove_namespace_key(services, kRecycleBin); }

constexpr std::string_view kMessengerClass1 = "{F3A614DC-ABE0-11d2-A441-00C04F795683}";
constexpr std::string_view kMessengerClass2 = "{FB7199AB-79BF-11d2-8D94-0000F875C541}";


std::string part_message(std::size_t index) { return trf("Disabling MSN Messenger ...part {0}", std::to_string(index + 1)); }

void disable_messenger_with_outlook_express(TipServices& services) {
    auto& reg = services.reg;
    for (std::string_view class_id : {kMessengerClass1, kMessengerClass2}) {
        const std::string id(class_id);
        const std::string message = trf("Storing REGPATH for {0} ", id);
        services.store.write_old_text(41, "REGPATH_for_1_" + id, "HKEY_CLASSES_ROOT\\CLSID\\" + id, message);
        services.store.write_old_text(41, "REGPATH_for_2_" + id, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + id,
                                 message);
    }
    // All twelve old texts are safe in the store before the first is emptied.
    // Each with its type: a REG_EXPAND_SZ put back as a plain string would
    // stop its environment variables from expanding.
    for (const MessengerRecord& r : kMessengerRecords)
        services.store.record_value_as(core::tip_key(41), r.root, std::string(r.key), std::string(r.value),
                                  std::string(r.name), core::STR_TYPE, "", 0, true);
    for (std::size_t i = 0; i < kMessengerRecords.size(); ++i) {
        const MessengerRecord& r = kMessengerRecords[i];
        reg.write_value(r.root, std::string(r.key), std::string(r.value), core::STR_TYPE, "", 0,
                                part_message(i), true);
    }
    services.store.record_value(core::tip_key(41), LocalMachine, "HKEY_LOCAL_MACHINE", std::string(kMessengerClient), "PreventRun",
                           core::INT_TYPE, "", 1, true);
    reg.write_value(LocalMachine, std::string(kMessengerClient), "PreventRun", core::INT_TYPE, "", 1,
                            tr("Starting the process of setting PreventRun"), true);
}

// Puts back the texts tip 41 saved. A record that is not in the store was
// never saved (tip 41 not applied since the store was made): its value was
// never emptied by us, so it is left as it stands rather than overwritten
// with an empty text.
void restore_messenger_registrations(TipServices& services) {
    auto& reg = services.reg;
    const std::string tip41_records = services.store.old_values_key(41);
    for (std::size_t i = 0; i < kMessengerRecords.size(); ++i) {
        const MessengerRecord& r = kMessengerRecords[i];
        const std::string name(r.name);
        {
            auto records = reg.registry().open(LocalMachine, tip41_records, false);
            if (!records || !records->query(name)) continue;
        }
        const std::string saved = reg.read_text(LocalMachine, tip41_records, name);
        std::optional<platform::RegValue> typed;
        if (auto records = reg.registry().open(LocalMachine, tip41_records, false)) typed = records->query(name);
        if (typed && typed->kind == platform::ValueKind::ExpandString)
            reg.write_exact_value(r.root, std::string(r.key), std::string(r.value), *typed, part_message(i), true);
        else
            reg.write_value(r.root, std::string(r.key), std::string(r.value), core::STR_TYPE, saved, 0,
                                    part_message(i), true);
    }
}

constexpr SpecialTip kSpecials[] = {
    {32, remove_shared_documents},
    {34, remove_recycle_bin},
    {41, disable_messenger_with_outlook_express},
};

constexpr ExportRow kExports[] = {
    {32, LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\DelegateFolders\\"
             "{59031a47-3f72-44a7-89c5-5595fe6b30ee}", ""},
    {34, LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
             "{645FF040-5081-101B-9F08-00AA002F954E}", ""},
    {41, LocalMachine, "", "it empties the Messenger registrations found on this machine, which another machine may not have"},
};

// How the store tells whether each tip is in effect on this machine.
using core::flag::absent;
using core::flag::compare;

constexpr core::FlagRow kFlags[] = {
    compare(31, CurrentUser, kDesktop, "FontSmoothing", "2"),
    compare(31, CurrentUser, kDesktop, "FontSmoothingType", 2),
    compare(31, US, kDefaultDesktop, "FontSmoothing", "2"),
    compare(31, US, kDefaultDesktop, "FontSmoothingType", 2),
    absent(32, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
               "DelegateFolders\\{59031a47-3f72-44a7-89c5-5595fe6b30ee}"),
    compare(33, CurrentUser, kDesktop, "MenuShowDelay", "15"),
    // The desktop's namespace: the key the tip removes and the restore puts back.
    absent(34, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
               "{645FF040-5081-101B-9F08-00AA002F954E}"),
    compare(35, LocalMachine, kNtpClient, "SpecialPollInterval", 86400),
    compare(36, US, kDefaultKeyboard, "InitialKeyboardIndicators", "0"),
    compare(37, US, kDefaultWinlogon, "ParseAutoexec", "0"),
    compare(37, CurrentUser, kWinlogon, "ParseAutoexec", "0"),
    compare(38, LocalMachine, kCrashControl, "AutoReboot", 1),
    compare(39, LocalMachine, kMachineAdvanced, "TaskbarGroupSize", 1),
    compare(40, CurrentUser, kRegedit, "LastKey", ""),
    compare(41, LocalMachine, kMessengerClient, "PreventRun", 1),
    compare(42, CurrentUser, kDesktop, "MenuDropAlignment", 1),
    compare(43, CurrentUser, kExplorer, "CaseSensitive", 1),
    compare(44, CurrentUser, kExplorer, "SearchHidden", 1),
    compare(45, CurrentUser, kAdvanced, "ShowAttribCol", 1),
    compare(46, CurrentUser, kPolicies, "NoChangeStartMenu", 1),
    compare(47, CurrentUser, kAdvanced, "DisableThumbnailCache", 1),
    compare(48, CurrentUser, kPolicies, "NoCDBurning", 1),
};

using namespace restore;

constexpr RestoreStep kRestore[] = {
    write_str(31, CurrentUser, kDesktop, "FontSmoothing", "2", true, N_("Starting the process of setting current user FontSmoothing")),
    write_int(31, CurrentUser, kDesktop, "FontSmoothingType", 1, true, N_("Starting the process of setting current user FontSmoothingType")),
    write_str(31, US, kDefaultDesktop, "FontSmoothing", "2", true, N_("Starting the process of setting default user FontSmoothing")),
    write_int(31, US, kDefaultDesktop, "FontSmoothingType", 1, true, N_("Starting the process of setting default user FontSmoothingType")),
    recreate_key(32, LocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\DelegateFolders\\"
                       "{59031a47-3f72-44a7-89c5-5595fe6b30ee}"),
    write_str(33, CurrentUser, kDesktop, "MenuShowDelay", "400", true, N_("Starting the process of reducing MenuShowDelay to default 400")),
    // Back on the desktop the tip removed it from; it used to be made below
    // My Computer, so the bin never came back.
    recreate_key(34, LocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
                         "{645FF040-5081-101B-9F08-00AA002F954E}"),
    write_int(35, LocalMachine, kNtpClient, "SpecialPollInterval", 604800, true, N_("Starting the process of setting SpecialPollInterval to default 604800")),
    write_str(36, US, kDefaultKeyboard, "InitialKeyboardIndicators", "0x80000000", true,
              N_("Starting the process of setting InitialKeyboardIndicators  to default 0x80000000")),
    write_str(37, US, kDefaultWinlogon, "ParseAutoexec", "1", true, N_("Starting the process of setting ParseAutoexec to default 1")),
    write_str(37, CurrentUser, kWinlogon, "ParseAutoexec", "1", true, N_("Starting the process of setting ParseAutoexec to default 1")),
    write_int(38, LocalMachine, kCrashControl, "AutoReboot", 1, true, N_("Starting the process of setting autoreboot to 1")),
    delete_value(39, LocalMachine, kMachineAdvanced, "TaskbarGroupSize", N_("Starting the process of increasing TaskbarGroupSize to 5")),
    delete_value(40, CurrentUser, kRegedit, "LastKey", N_("Starting the process of clearing LastKey")),
    // Regedit keeps its Favorites and window state here, and an administrator
    // may have set other Messenger policies: only what the tips wrote goes,
    // and a key only when that leaves it empty.
    delete_key_if_empty(40, CurrentUser, kRegedit),
    delete_value(41, LocalMachine, kMessengerClient, "PreventRun", N_("Starting the process of deleting PreventRun")),
    delete_key_if_empty(41, LocalMachine, kMessengerClient),
    delete_key_if_empty(41, LocalMachine, kMessengerPolicy),
    special(41, restore_messenger_registrations),
    delete_value(42, CurrentUser, kDesktop, "MenuDropAlignment", N_("Starting the process of deleting MenuDropAlignment")),
    delete_value(43, CurrentUser, kExplorer, "CaseSensitive", N_("Starting the process of deleting CaseSensitive")),
    delete_value(44, CurrentUser, kExplorer, "SearchHidden", N_("Starting the process of deleting SearchHidden")),
    delete_value(45, CurrentUser, kAdvanced, "ShowAttribCol", N_("Starting the process of deleting ShowAttribCol")),
    delete_value(46, CurrentUser, kPolicies, "NoChangeStartMenu", N_("Starting the process of deleting NoChangeStartMenu")),
    delete_value(47, CurrentUser, kAdvanced, "DisableThumbnailCache", N_("Starting the process of deleting DisableThumbnailCache")),
    delete_value(48, CurrentUser, kPolicies, "NoCDBurning", N_("Starting the process of deleting NoCDBurning")),
};

static_assert(exports_cover_specials(kSpecials, kExports));
static_assert(covers_every_tip(Group::Customization, kWrites, kSpecials, kRestore, kFlags));

}  // namespace

const std::array<MessengerRecord, 12> kMessengerRecords{{
    {"LocalServer32_1_1_(Default)", CR, "\\CLSID\\{F3A614DC-ABE0-11d2-A441-00C04F795683}\\LocalServer32", ""},
    {"LocalServer32_1_2_(Default)", LocalMachine, "\\SOFTWARE\\Classes\\CLSID\\{F3A614DC-ABE0-11d2-A441-00C04F795683}\\LocalServer32", ""},
    {"InProcServer32_1_1_(Default)", CR, "\\CLSID\\{F3A614DC-ABE0-11d2-A441-00C04F795683}\\InProcServer32", ""},
    {"InProcServer32_1_2_(Default)", LocalMachine, "\\SOFTWARE\\Classes\\CLSID\\{F3A614DC-ABE0-11d2-A441-00C04F795683}\\InProcServer32", ""},
    {"InProcServer32_1_1_ThreadingModel", CR, "\\CLSID\\{F3A614DC-ABE0-11d2-A441-00C04F795683}\\InProcServer32", "ThreadingModel"},
    {"InProcServer32_1_2_ThreadingModel", LocalMachine, "\\SOFTWARE\\Classes\\CLSID\\{F3A614DC-ABE0-11d2-A441-00C04F795683}\\InProcServer32", "ThreadingModel"},
    {"LocalServer32_2_1_(Default)", CR, "\\CLSID\\{FB7199AB-79BF-11d2-8D94-0000F875C541}\\LocalServer32", ""},
    {"LocalServer32_2_2_(Default)", LocalMachine, "\\SOFTWARE\\Classes\\CLSID\\{FB7199AB-79BF-11d2-8D94-0000F875C541}\\LocalServer32", ""},
    {"InProcServer32_2_1_(Default)", CR, "\\CLSID\\{FB7199AB-79BF-11d2-8D94-0000F875C541}\\InProcServer32", ""},
    {"InProcServer32_2_2_(Default)", LocalMachine, "\\SOFTWARE\\Classes\\CLSID\\{FB7199AB-79BF-11d2-8D94-0000F875C541}\\InProcServer32", ""},
    {"InProcServer32_2_1_ThreadingModel", CR, "\\CLSID\\{FB7199AB-79BF-11d2-8D94-0000F875C541}\\InProcServer32", "ThreadingModel"},
    {"InProcServer32_2_2_ThreadingModel", LocalMachine, "\\SOFTWARE\\Classes\\CLSID\\{FB7199AB-79BF-11d2-8D94-0000F875C541}\\InProcServer32", "ThreadingModel"},
}};

const GroupTables& customization_tables() {
    static const GroupTables tables{Group::Customization, kWrites, kSpecials, kRestore, kFlags, kExports};
    return tables;
}

}  // namespace veltrano::tips
