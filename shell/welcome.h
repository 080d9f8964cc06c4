// The welcome page: the machine's facts (which registry values make up each
// system information label), the memory statistics and how their figures are
// written, and the page's three buttons.
#pragma once

#include "core/registry_primitives.h"
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

// One piece of a label: a literal text, or a string or DWORD value read
// from a key.
struct LabelPart {
    enum Kind { Text, String, Integer } kind;
    std::string_view text_or_value;
    std::string_view key = {};
};

struct SystemLabel {
    std::string_view name;
    std::vector<LabelPart> parts;
};

// The ten value labels, in the order they are filled; within a label the
// values are read left to right.
const std::vector<SystemLabel>& system_labels();

// Joins a label's literal texts and values exactly, trimming nothing: an
// empty value leaves its neighbours side by side.
std::string system_label_text(core::RegistryPrimitives& primitives, const SystemLabel& label);

// A number in its shortest general form, at most 15 significant digits,
// with the user's decimal separator: 1.5, 2097152, 0,25.
std::string general_number(double value, std::string_view decimal_separator);

// The memory statistics labels and what each one says before its figure.
struct MemoryLabel {
    std::string_view name;
    std::string_view prefix;
    std::string_view suffix;
};
// The page, a group box of the main window.
inline constexpr std::string_view kWelcomePage = "GroupBox3";

inline constexpr std::string_view kMemoryBar = "ProgressBar1";
inline constexpr std::array<MemoryLabel, 5> kMemoryLabels{{
    {"Label1", "Net physical memory in use: ", "%"},
    {"Label25", "Total  of physical memory: ", " kbytes"},
    {"Label26", "Available physical memory: ", " kbytes"},
    {"Label27", "Total size of paging file: ", " kbytes"},
    {"Label28", "Available in  paging file: ", " kbytes"},
}};

inline constexpr std::string_view kCalendar = "MonthCalendar1";
// The user's choice of language for the window, one item per language of
// i18n::languages(), in its own name.
inline constexpr std::string_view kLanguageList = "ComboLanguage";

class WelcomePage : public ui::Page {
public:
    explicit WelcomePage(const PageContext& context)
        : services_(context.services), primitives_(context.primitives), view_(context.view),
          dialogs_(context.dialogs) {}

    // Today in the calendar; the facts only on the NT family, whose keys
    // they come from: elsewhere the captions stand alone.
    void created() override;
    void fill_system_information();
    void Timer1Timer();
    void show_terms_of_use();
    void BitBtn2Click();   // Check for updates
    void BitBtn18Click();  // Vote for Veltrano
    void OpenInternetExplorer(const std::string& address);
    // Remembered for this user; the window speaks it from its next start.
    void choose_language();

private:
    Services services_;
    core::RegistryPrimitives& primitives_;
    MainView& view_;
    ui::Dialogs& dialogs_;
};

}  // namespace veltrano::shell
