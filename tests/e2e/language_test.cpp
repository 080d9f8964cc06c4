// Veltrano in another language, as its user meets it: the window's pages
// and the command line speak it, what scripts read stays English. What each
// text should say comes from the language's own catalogue, as the build put
// it into the program.
#include "e2e_environment.h"
#include "temp_files.h"
#include "tips_session.h"

#include "i18n/catalogue.h"
#include "i18n/languages.h"
#include "shell/command_line.h"
#include "tips/tip_page.h"

#include <fstream>
#include <iterator>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

std::wstring to_utf16(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

i18n::Catalogue catalogue_of(std::string_view gettext_name) {
    std::ifstream in(std::string(VELTRANO_CATALOGUE_DIR) + "/" + std::string(gettext_name) + ".mo", std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return i18n::Catalogue::from_mo(bytes);
}

// The navigation entries in English, Exit left out: it would end the run.
constexpr const char* kEntries[] = {"Main", "Network", "Power", "System", "Customize", "Undo ", "RegClean", "Process", "Admin"};

class InLanguage : public TipsSession {
protected:
    InLanguage(std::string_view code, std::string_view gettext_name) : code_(code), catalogue_(catalogue_of(gettext_name)) {}

    std::vector<std::wstring> arguments() const override { return {L"/lang", to_utf16(code_)}; }
    bool english_title() const override { return false; }

    // The text in this language, which may be the English word itself
    // ("System" in German).
    std::wstring shown_as(std::string_view english) const { return to_utf16(std::string(catalogue_.find(english))); }
    // A sentence or caption that must be in this language: fails where it
    // is still English.
    std::wstring said(std::string_view english) const {
        EXPECT_NE(catalogue_.find(english), english) << "untranslated: " << english;
        return shown_as(english);
    }

    void visit_every_page() {
        const auto entries = navigation_entries();
        ASSERT_EQ(entries.size(), std::size(kEntries) + 1);
        for (std::size_t i = 0; i < std::size(kEntries); ++i) {
            EXPECT_EQ(entries[i], shown_as(kEntries[i]));
            ASSERT_NO_FATAL_FAILURE(click_caption(entries[i].c_str()));
            settle();
        }
    }

    // What the command line printed, run with /lang and these arguments.
    std::string printed(std::vector<std::wstring> args) const {
        const std::wstring file = temp_file(L"printed.txt");
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        const auto language = arguments();
        args.insert(args.begin(), language.begin(), language.end());
        ChildProcess script;
        const bool started = script.start(setting(L"VELTRANO_EXE"), args, out);
        CloseHandle(out);
        EXPECT_TRUE(started && script.wait_for_exit());
        return read_file(file);
    }

    std::string code_;
    i18n::Catalogue catalogue_;
};

class German : public InLanguage {
protected:
    German() : InLanguage("de", "de") {}
};

TEST_F(German, PagesBalloonUndoAndCleanerSpeakGerman) {
    ASSERT_NO_FATAL_FAILURE(visit_every_page());
    ASSERT_NO_FATAL_FAILURE(click_caption(shown_as("Network").c_str()));
    tick(said(tips::tip_display(1).caption));
    // Apply by its underlined letter in German.
    const std::wstring apply = said("&Apply");
    const std::size_t amp = apply.find(L'&');
    ASSERT_LT(amp + 1, apply.size());
    const WORD key = LOBYTE(VkKeyScanW(apply[amp + 1]));
    // The page's own shortcut first: the keys then go to the page, as a
    // keyboard user's do.
    send_keys({{VK_CONTROL, true}, {'2', true}, {'2', false}, {VK_CONTROL, false}});
    ASSERT_TRUE(wait_until_idle(main_window()));
    send_keys({{VK_MENU, true}, {key, true}, {key, false}, {VK_MENU, false}});
    EXPECT_EQ(close_balloon(), std::optional<std::wstring>(said(tips::kAppliedText)));
    ASSERT_NO_FATAL_FAILURE(click_caption(shown_as("Undo ").c_str()));
    EXPECT_TRUE(shown(Selector::by_caption(said("&Undo"))));
    ASSERT_NO_FATAL_FAILURE(click_caption(shown_as("RegClean").c_str()));
    EXPECT_TRUE(shown(Selector::by_caption(said("&Start Registry Scan"))));
    EXPECT_TRUE(shown(Selector::by_caption(said("&Remove Selected Entry"))));
}

// What people read is German; what scripts read of /list stays English.
TEST_F(German, UsageAndListSpeakGermanAroundEnglishFields) {
    const std::string usage(catalogue_.find(shell::kUsage));
    ASSERT_NE(usage, shell::kUsage);
    EXPECT_NE(printed({L"/?"}).find(usage.substr(0, usage.find('\n'))), std::string::npos);
    const std::string list = printed({L"/list"});
    std::string caption(catalogue_.find(tips::tip_display(1).caption));
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    EXPECT_NE(list.find("TIP0001\tnetwork\tnot applied\tnot in effect\t" + caption + "\r\n"), std::string::npos) << list;
}

// A German Windows, no /lang: Veltrano takes Windows' display language.
// Wine takes it from LANG, which the test veltrano_e2e_german_windows sets.
class GermanWindows : public InLanguage {
protected:
    GermanWindows() : InLanguage("de", "de") {}
    std::vector<std::wstring> arguments() const override { return {}; }
    void SetUp() override {
        if (PRIMARYLANGID(GetUserDefaultUILanguage()) != LANG_GERMAN)
            GTEST_SKIP() << "runs under LANG=de_DE.UTF-8 (ctest veltrano_e2e_german_windows)";
        InLanguage::SetUp();
    }
};

TEST_F(GermanWindows, TheWindowAndTheCommandLineSpeakGerman) {
    ASSERT_NO_FATAL_FAILURE(visit_every_page());
    const std::string usage(catalogue_.find(shell::kUsage));
    EXPECT_NE(printed({L"/?"}).find(usage.substr(0, usage.find('\n'))), std::string::npos);
}

class Japanese : public InLanguage {
protected:
    Japanese() : InLanguage("ja", "ja") {}
};

TEST_F(Japanese, EveryPageSpeaksJapanese) { visit_every_page(); }

class Russian : public InLanguage {
protected:
    Russian() : InLanguage("ru", "ru") {}
};

TEST_F(Russian, EveryPageSpeaksRussian) { visit_every_page(); }

}  // namespace
}  // namespace veltrano::e2e
