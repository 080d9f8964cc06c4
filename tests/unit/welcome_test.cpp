// The welcome page: the machine's facts as the registry holds them, the
// memory statistics as the system reports them, and its three buttons.
#include "core/error.h"
#include "shell/language_setting.h"
#include "shell/web_addresses.h"
#include "shell/welcome.h"
#include "support/form_fixture.h"

#include <gmock/gmock.h>

#include <map>

using namespace veltrano;
using platform::RegValue;
using platform::Root;

namespace {

const std::string kCpu0 = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
const std::string kNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

class SystemInformation : public fakes::FormFixture {
protected:
    // An XP machine with one processor and an owner name padded with blanks.
    void seed_one_processor_machine() {
        auto text = [&](const std::string& key, const std::string& name, const std::string& value) {
            reg.put(Root::LocalMachine, key, name, RegValue::string(value));
        };
        text(kCpu0, "Identifier", "x86 Family 6 Model 15 Stepping 11");
        text(kCpu0, "VendorIdentifier", "GenuineIntel");
        reg.put(Root::LocalMachine, kCpu0, "~MHZ", RegValue::number(2394));
        text("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProductId", "55274-640-1234567-23911");
        text(kNt, "BuildLab", "2600.xpsp_sp3_qfe.100216-1510");
        text(kNt, "CurrentBuildNumber", "2600");
        text(kNt, "CurrentType", "Uniprocessor Free");
        text(kNt, "CurrentVersion", "5.1");
        text(kNt, "ProductName", "Microsoft Windows XP");
        text(kNt, "SystemRoot", "C:\\WINDOWS");
        text(kNt, "RegisteredOwner", "  Ann & Co ");
        text("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", "BootDir", "C:\\");
        text("SOFTWARE\\Microsoft\\Internet Explorer", "Build", "6.0.2900.5512");
        text("SOFTWARE\\Microsoft\\Internet Explorer", "Version", "6.0.2900.5512");
    }
    std::map<std::string, std::string> value_labels() const {
        std::map<std::string, std::string> texts;
        for (const auto& label : shell::system_labels()) texts[std::string(label.name)] = view.text(label.name);
        return texts;
    }
};

TEST_F(SystemInformation, EachLabelJoinsItsValuesExactlyAndAMissingProcessorReadsEmptyAndZero) {
    seed_one_processor_machine();
    form.start_up();
    EXPECT_EQ(value_labels(), (std::map<std::string, std::string>{
                                  {"Label3", "CPU 1: x86 Family 6 Model 15 Stepping 11 Vendor: GenuineIntel 2394 MHz"},
                                  {"Label4", "CPU 2:  Vendor:  0 MHz"},
                                  {"Label5", "Windows ProductId: 55274-640-1234567-23911"},
                                  {"Label6", "Windows BuildLab: 2600.xpsp_sp3_qfe.100216-1510"},
                                  {"Label7", "Windows CurrentBuildNumber: 2600"},
                                  {"Label8", "Windows Type: Uniprocessor Free Version: 5.1"},
                                  {"Label9", "Windows Name: Microsoft Windows XP"},
                                  {"Label10", "Windows Boot Drive: C:\\   and System Root: C:\\WINDOWS"},
                                  {"Label11", "Windows Registered Owner:   Ann & Co "},
                                  {"Label12", "Internet Explorer Build: 6.0.2900.5512 Version: 6.0.2900.5512"},
                              }));
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(SystemInformation, AnEmptyValueLeavesItsNeighboursSideBySide) {
    seed_one_processor_machine();
    reg.put(Root::LocalMachine, kNt, "CurrentType", RegValue::string(""));
    reg.put(Root::LocalMachine, kNt, "CurrentVersion", RegValue::string(" 5.1 "));
    form.start_up();
    EXPECT_EQ(view.text("Label8"), "Windows Type:  Version:  5.1 ");
}

TEST_F(SystemInformation, AWronglyTypedValueStopsTheFillingThereAndStartUpGoesOn) {
    seed_one_processor_machine();
    reg.put(Root::LocalMachine, kNt, "CurrentBuildNumber", RegValue::number(2600));
    form.start_up();
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Invalid data type for 'CurrentBuildNumber'"});
    const auto texts = value_labels();
    EXPECT_EQ(texts.at("Label6"), "Windows BuildLab: 2600.xpsp_sp3_qfe.100216-1510");
    EXPECT_EQ(texts.at("Label7"), "");
    EXPECT_EQ(texts.at("Label12"), "");
    EXPECT_EQ(view.visible_pages(), std::vector<std::string>{"GroupBox3"});
}

TEST_F(SystemInformation, OutsideNtNothingIsRead) {
    seed_one_processor_machine();
    sys.ver.platform_id = 1;
    form.start_up();
    for (const auto& [name, text] : value_labels()) EXPECT_EQ(text, "") << name;
}

// ---- memory statistics -------------------------------------------------------

struct Tick {
    const char* name;
    platform::MemoryStatus status;
    std::string separator;
    int bar;
    std::vector<std::string> labels;  // Label1, Label25, Label26, Label27, Label28
};

void PrintTo(const Tick& tick, std::ostream* os) { *os << tick.name; }

class MemoryStatistics : public fakes::FormFixture, public ::testing::WithParamInterface<Tick> {
protected:
    std::vector<std::string> statistics() const {
        std::vector<std::string> texts;
        for (const auto& label : shell::kMemoryLabels) texts.push_back(view.text(label.name));
        return texts;
    }
};

constexpr std::uint64_t GiB = 1024ull * 1024 * 1024;

TEST_P(MemoryStatistics, EachTickWritesTheBarAndTheFiveLabels) {
    form.start_up();
    sys.memory = GetParam().status;
    sys.separator = GetParam().separator;
    welcome().refresh_memory_status();
    EXPECT_EQ(view.progress.at(std::string(shell::kMemoryBar)), GetParam().bar);
    EXPECT_EQ(statistics(), GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, MemoryStatistics,
    ::testing::Values(
        Tick{"TwoGigabytesAndAFraction", {37, 2 * GiB, 1536, 3 * GiB, 1536, 0, 0}, ".", 37,
             {"Net physical memory in use: 37%", "Total  of physical memory: 2097152 kbytes",
              "Available physical memory: 1.5 kbytes", "Total size of paging file: 3145728 kbytes",
              "Available in  paging file: 1.5 kbytes"}},
        Tick{"TheUsersDecimalComma", {0, 1024 + 256, 0, 1024 + 512 + 1, 1, 0, 0}, ",", 0,
             {"Net physical memory in use: 0%", "Total  of physical memory: 1,25 kbytes",
              "Available physical memory: 0 kbytes", "Total size of paging file: 1,5009765625 kbytes",
              "Available in  paging file: 0,0009765625 kbytes"}},
        // Past 4 GB, where the 32-bit status capped or wrapped its figures.
        Tick{"TwentyFourGigabytes", {100, 24 * GiB, 5 * GiB + 1, 48 * GiB, 40 * GiB, 0, 0}, ".", 100,
             {"Net physical memory in use: 100%", "Total  of physical memory: 25165824 kbytes",
              "Available physical memory: 5242880.00097656 kbytes", "Total size of paging file: 50331648 kbytes",
              "Available in  paging file: 41943040 kbytes"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MemoryStatistics, HoldNoFiguresBeforeTheFirstTick) {
    sys.memory = {50, 2 * GiB, GiB, 3 * GiB, GiB, 0, 0};
    form.start_up();
    for (const auto& text : statistics()) EXPECT_EQ(text, "");
    EXPECT_TRUE(view.progress.empty());
}

TEST(GeneralNumber, KeepsFifteenSignificantDigitsAndNoMore) {
    EXPECT_EQ(shell::general_number(123456789012345.0, "."), "123456789012345");
    EXPECT_EQ(shell::general_number(1.0 / 3, "."), "0.333333333333333");
    EXPECT_EQ(shell::general_number(2.5, " dec "), "2 dec 5");
}

// ---- buttons -------------------------------------------------------------------

using WelcomeButtons = fakes::FormFixture;

TEST_F(WelcomeButtons, UpdatesAndVoteEachOpenANewBrowserWindowOnTheirAddress) {
    form.start_up();
    welcome().check_for_updates();
    welcome().vote_for_veltrano();
    welcome().check_for_updates();
    const std::string products = std::string(shell::kVendorSite) + "/veltrano_products.htm";
    EXPECT_EQ(browser.opened, (std::vector<std::string>{products, std::string(shell::kVotePage), products}));
    EXPECT_THAT(products, ::testing::StartsWith("http"));
}

TEST_F(WelcomeButtons, ABrowserThatCannotBeMadeIsAnErrorAndThePageStays) {
    form.start_up();
    browser.failure = "Invalid class string";
    try {
        welcome().check_for_updates();
        FAIL() << "no error";
    } catch (const core::VeltranoError& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("Invalid class string"));
    }
    EXPECT_EQ(view.visible_pages(), std::vector<std::string>{"GroupBox3"});
    EXPECT_FALSE(view.terminated);
}

TEST_F(WelcomeButtons, AgreeingToTheTermsOrClosingThemChangesNothing) {
    form.start_up();
    for (ui::TermsAnswer answer : {ui::TermsAnswer::Agreed, ui::TermsAnswer::Closed}) {
        dialogs.terms_answer = answer;
        welcome().show_terms_of_use();
    }
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"terms of use", "terms of use"}));
    EXPECT_FALSE(view.terminated);
}

TEST_F(WelcomeButtons, NotAgreeingEndsTheProgramAtOnceWithoutTheExitSteps) {
    form.start_up();
    set_tip_flag(1, 1);  // an exit would now ask about restarting
    dialogs.terms_answer = ui::TermsAnswer::Declined;
    welcome().show_terms_of_use();
    EXPECT_TRUE(view.terminated);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtEnd))), RegValue::number(0));
}

}  // namespace

// ---- the language ----------------------------------------------------------------

using WelcomeLanguage = fakes::FormFixture;

// The choice is the user's own: kept under HKEY_CURRENT_USER, read back at
// the next start, and a stranger's value there is passed over.
TEST_F(WelcomeLanguage, AChoiceIsRememberedForTheUserAndAnOddValueIsPassedOver) {
    form.start_up();
    EXPECT_EQ(view.selected["ComboLanguage"], 0);  // English, the language in use
    view.selected["ComboLanguage"] = 1;
    welcome().choose_language();
    EXPECT_EQ(shell::remembered_language(reg), "de");
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(), "Veltrano will speak Deutsch from its next start.");

    reg.open(platform::Root::CurrentUser, "Software\\VELTRANO", true)->set("Language", platform::RegValue::number(7));
    EXPECT_EQ(shell::remembered_language(reg), "");
}

TEST(LanguageOption, OnlyLangAndItsCodeStartTheWindow) {
    const auto option = [](std::string_view line) {
        const auto args = shell::split_command_line(line);
        return shell::language_option(std::span<const std::string>(args).subspan(1));
    };
    EXPECT_TRUE(option("\"C:\\Program Files\\veltrano.exe\" /lang ja").only_option);
    EXPECT_EQ(option("veltrano.exe /LANG ja").code, "ja");
    const auto with_list = option("veltrano.exe /list /lang de");
    EXPECT_EQ(with_list.code, "de");
    EXPECT_FALSE(with_list.only_option);
    EXPECT_EQ(option("veltrano.exe /lang").code, "");
}
