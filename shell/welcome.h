// The welcome page: the machine's facts (which registry values make up each
// system information label), the memory statistics and how their figures are
// written, and the page's three buttons.
#pragma once

#include "core/registry_primitives.h"
#include "i18n/translate.h"
#include "shell/page_table.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::shell {

// Where a label's values come from, all below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kCpu0Key = "\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
inline constexpr std::string_view kCpu1Key = "\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\1";
inline constexpr std::string_view kWindowsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr std::string_view kWindowsNtKey = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr std::string_view kSetupKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
inline constexpr std::string_view kExplorerKey = "\\SOFTWARE\\Microsoft\\Internet Explorer";

// The labels of the facts about the machine, each filled from the registry.
inline constexpr ui::Label kCpu1Label{"Label3"}, kCpu2Label{"Label4"}, kProductIdLabel{"Label5"},
    kBuildLabLabel{"Label6"}, kBuildNumberLabel{"Label7"}, kWindowsTypeLabel{"Label8"}, kWindowsNameLabel{"Label9"},
    kBootDriveLabel{"Label10"}, kOwnerLabel{"Label11"}, kExplorerLabel{"Label12"};

// A value a label shows: a string or DWORD value read from a key.
struct LabelValue {
    enum Kind { String, Integer } kind;
    std::string_view value;
    std::string_view key;
};

// A label's text, in English with {0}.. where its values go (translated
// where it is shown), and the values in that order.
struct SystemLabel {
    ui::Label name;
    std::string_view text;
    std::vector<LabelValue> values;
};
inline constexpr std::size_t kMostLabelValues = 3;

// The ten value labels, in the order they are filled; within a label the
// values are read in order.
const std::vector<SystemLabel>& system_labels();

// The label's text with its values put in exactly, trimming nothing: an
// empty value leaves its neighbours side by side.
std::string system_label_text(core::RegistryPrimitives& primitives, const SystemLabel& label);

// A number in its shortest general form, at most 15 significant digits,
// with the user's decimal separator: 1.5, 2097152, 0,25.
std::string general_number(double value, std::string_view decimal_separator);

// The memory statistics labels and what each one says, in English with {0}
// where its figure goes.
struct MemoryLabel {
    ui::Label name;
    std::string_view text;
};
// The page, a group box of the main window.
inline constexpr ui::GroupBox kWelcomePage{"GroupBox3"};

inline constexpr ui::ProgressBar kMemoryBar{"ProgressBar1"};
inline constexpr std::array<MemoryLabel, 5> kMemoryLabels{{
    // TRANSLATORS: {0} is a percentage
    {ui::Label{"Label1"}, i18n::N_("Net physical memory in use: {0}%")},
    // TRANSLATORS: {0} is a number of kilobytes
    {ui::Label{"Label25"}, i18n::N_("Total  of physical memory: {0} kbytes")},
    {ui::Label{"Label26"}, i18n::N_("Available physical memory: {0} kbytes")},
    {ui::Label{"Label27"}, i18n::N_("Total size of paging file: {0} kbytes")},
    {ui::Label{"Label28"}, i18n::N_("Available in  paging file: {0} kbytes")},
}};

inline constexpr ui::Calendar kCalendar{"MonthCalendar1"};
// The user's choice of language for the window, one item per language of
// i18n::languages(), in its own name.
inline constexpr ui::ComboBox kLanguageList{"ComboLanguage"};

class WelcomePage : public ui::Page {
public:
    explicit WelcomePage(const PageContext& context)
        : services_(context.services), primitives_(context.primitives), view_(context.view),
          dialogs_(context.dialogs) {}

    // Today in the calendar; the facts only on the NT family, whose keys
    // they come from: elsewhere the captions stand alone.
    void created() override;
    void fill_system_information();
    // Each second: the memory figures and their bar.
    void refresh_memory_status();
    void show_terms_of_use();
    // The vendor's products page and the rating site's vote page, in a
    // browser window of their own.
    void check_for_updates();
    void vote_for_veltrano();
    void open_in_browser(const std::string& address);
    // Remembered for this user; the window speaks it from its next start.
    void choose_language();

private:
    Services services_;
    core::RegistryPrimitives& primitives_;
    MainView& view_;
    ui::Dialogs& dialogs_;
};

}  // namespace veltrano::shell
