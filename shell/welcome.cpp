// The welcome page: the machine's facts read once at start-up, the memory
// statistics every second, and the three buttons.
#include "shell/welcome.h"

#include "core/error.h"
#include "i18n/translate.h"
#include "shell/language_setting.h"
#include "shell/web_addresses.h"

#include <cstdio>

namespace veltrano::shell {

using platform::Root;
using Value = LabelValue;

const std::vector<SystemLabel>& system_labels() {
    static const std::vector<SystemLabel> labels{
        // TRANSLATORS: {0} is the processor's name, {1} its maker, {2} its speed in MHz
        {kCpu1Label, i18n::N_("CPU 1: {0} Vendor: {1} {2} MHz"),
         {{Value::String, "Identifier", kCpu0Key}, {Value::String, "VendorIdentifier", kCpu0Key},
          {Value::Integer, "~MHZ", kCpu0Key}}},
        // Read whether or not a second processor exists: one processor gives
        // "CPU 2:  Vendor:  0 MHz", which says as much.
        {kCpu2Label, i18n::N_("CPU 2: {0} Vendor: {1} {2} MHz"),
         {{Value::String, "Identifier", kCpu1Key}, {Value::String, "VendorIdentifier", kCpu1Key},
          {Value::Integer, "~MHZ", kCpu1Key}}},
        // TRANSLATORS: {0} is a value read from Windows' registry
        {kProductIdLabel, i18n::N_("Windows ProductId: {0}"), {{Value::String, "ProductId", kWindowsKey}}},
        {kBuildLabLabel, i18n::N_("Windows BuildLab: {0}"), {{Value::String, "BuildLab", kWindowsNtKey}}},
        {kBuildNumberLabel,
         i18n::N_("Windows CurrentBuildNumber: {0}"),
         {{Value::String, "CurrentBuildNumber", kWindowsNtKey}}},
        {kWindowsTypeLabel,
         i18n::N_("Windows Type: {0} Version: {1}"),
         {{Value::String, "CurrentType", kWindowsNtKey}, {Value::String, "CurrentVersion", kWindowsNtKey}}},
        {kWindowsNameLabel, i18n::N_("Windows Name: {0}"), {{Value::String, "ProductName", kWindowsNtKey}}},
        {kBootDriveLabel,
         i18n::N_("Windows Boot Drive: {0}   and System Root: {1}"),
         {{Value::String, "BootDir", kSetupKey}, {Value::String, "SystemRoot", kWindowsNtKey}}},
        {kOwnerLabel,
         i18n::N_("Windows Registered Owner: {0}"),
         {{Value::String, "RegisteredOwner", kWindowsNtKey}}},
        {kExplorerLabel,
         i18n::N_("Internet Explorer Build: {0} Version: {1}"),
         {{Value::String, "Build", kExplorerKey}, {Value::String, "Version", kExplorerKey}}},
    };
    return labels;
}

std::string system_label_text(core::RegistryPrimitives& primitives, const SystemLabel& label) {
    std::string values[kMostLabelValues];
    for (std::size_t i = 0; i < label.values.size() && i < kMostLabelValues; ++i) {
        const LabelValue& value = label.values[i];
        const std::string key(value.key), name(value.value);
        values[i] = value.kind == LabelValue::String
                        ? primitives.read_text(Root::LocalMachine, key, name)
                        : std::to_string(primitives.read_number(Root::LocalMachine, key, name));
    }
    static_assert(kMostLabelValues == 3);
    return i18n::trf(label.text, values[0], values[1], values[2]);
}

std::string general_number(double value, std::string_view decimal_separator) {
    // %g drops trailing zeros and a bare point; the C library always writes
    // a point here (we never change its locale), so swap in the user's own.
    char digits[40];
    std::snprintf(digits, sizeof digits, "%.15g", value);
    std::string text;
    for (const char* c = digits; *c; ++c) {
        if (*c == '.')
            text += decimal_separator;
        else
            text += *c;
    }
    return text;
}

void WelcomePage::created() {
    const platform::SystemTime today = services_.time.local_time();
    view_.set_date(kCalendar, {today.year, today.month, today.day});
    const bool nt = services_.system_info.version().platform_id == platform::kPlatformWin32Nt;
    for (const SystemLabel& label : system_labels()) view_.set_visible(label.name, nt);
    if (nt) fill_system_information();
    const auto languages = i18n::languages();
    for (std::size_t i = 0; i < languages.size(); ++i)
        if (languages[i].code == i18n::language_in_use().code) view_.set_selected_index(kLanguageList, static_cast<int>(i));
}

void WelcomePage::choose_language() {
    const auto languages = i18n::languages();
    const int chosen = view_.selected_index(kLanguageList);
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= languages.size()) return;
    const i18n::Language& language = languages[static_cast<std::size_t>(chosen)];
    if (!remember_language(services_.registry, language)) {
        dialogs_.show_error(i18n::tr("Your choice of language could not be saved."));
        return;
    }
    dialogs_.show_information(i18n::trf("Veltrano will speak {0} from its next start.", language.own_name));
}

void WelcomePage::fill_system_information() {
    // Each label is set as soon as it is read: a wrongly typed value stops
    // the filling there, and what came before stays on the page.
    for (const SystemLabel& label : system_labels()) view_.set_text(label.name, system_label_text(primitives_, label));
}

void WelcomePage::refresh_memory_status() {
    // The 64-bit status: the 32-bit one caps or wraps above 4 GB, which every
    // machine has nowadays.
    const platform::MemoryStatus status = services_.system_info.memory_status();
    const std::string separator = services_.system_info.decimal_separator();
    view_.set_position(kMemoryBar, static_cast<int>(status.memory_load));
    const double figures[] = {
        static_cast<double>(status.memory_load),
        static_cast<double>(status.total_phys) / 1024,
        static_cast<double>(status.avail_phys) / 1024,
        static_cast<double>(status.total_page_file) / 1024,
        static_cast<double>(status.avail_page_file) / 1024,
    };
    for (std::size_t i = 0; i < kMemoryLabels.size(); ++i) {
        const MemoryLabel& label = kMemoryLabels[i];
        view_.set_text(label.name, i18n::trf(label.text, general_number(figures[i], separator)));
    }
}

void WelcomePage::show_terms_of_use() {
    // Not agreeing ends the program on the spot: no counters, no restart.
    if (dialogs_.show_terms_of_use() == ui::TermsAnswer::Declined) view_.terminate();
}

void WelcomePage::check_for_updates() { open_in_browser(std::string(kVendorSite) + "/veltrano_products.htm"); }

void WelcomePage::vote_for_veltrano() { open_in_browser(std::string(kVotePage)); }

void WelcomePage::open_in_browser(const std::string& address) {
    if (auto failure = services_.browser.open_window(address))
        // TRANSLATORS: {0} is a web address, {1} why Windows could not open it
        throw core::VeltranoError(i18n::trf("Cannot open a browser window on {0}: {1}", address, *failure));
}

}  // namespace veltrano::shell
