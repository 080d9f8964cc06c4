// The driver against a window whose every reaction we wrote ourselves. When
// an end-to-end test of veltrano.exe fails, this suite says whether to blame
// the program or the driver.
#include "driver/driver.h"
#include "driver/process.h"
#include "driver/registry_probe.h"
#include "e2e_environment.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace veltrano::driver {
namespace {

constexpr wchar_t kTitle[] = L"Driver Fixture";

class FixtureApp : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring exe = e2e::setting(L"VELTRANO_FIXTURE_APP");
        if (exe.empty()) GTEST_SKIP() << "VELTRANO_FIXTURE_APP is not set";
        ASSERT_TRUE(app_.start(exe)) << "CreateProcess failed: " << GetLastError();
        window_ = find_top_window(kTitle, app_.id());
        ASSERT_NE(window_, nullptr) << "the fixture window never showed";
    }

    HWND control(const Selector& selector) {
        HWND found = find_control(window_, selector);
        EXPECT_NE(found, nullptr) << to_utf8(selector.describe());
        return found;
    }
    HWND control(const wchar_t* selector) { return control(Selector::parse(selector)); }

    std::vector<std::wstring> log() { return listbox_lines(control(L"@ListBox")); }

    // The log gains exactly `line` as its newest entry.
    ::testing::AssertionResult logged(const std::wstring& line) {
        const bool seen = wait_until([&] {
            const auto lines = log();
            return !lines.empty() && lines.back() == line;
        });
        if (seen) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "log never ended with \"" << to_utf8(line) << "\"; it holds:";
        for (const auto& l : log()) failure << " [" << to_utf8(l) << "]";
        return failure;
    }

    ChildProcess app_;
    HWND window_ = nullptr;
};

// ---- finding ---------------------------------------------------------------

using Finding = FixtureApp;

TEST_F(Finding, SeesControlsInsideGroupBoxesOneLevelDeeper) {
    const auto children = visible_children(window_);
    auto depth_of = [&](const std::wstring& text) {
        auto it = std::find_if(children.begin(), children.end(), [&](const ControlInfo& c) { return c.text == text; });
        return it == children.end() ? -1 : it->depth;
    };
    EXPECT_EQ(depth_of(L"Fixture Group"), 1);
    EXPECT_EQ(depth_of(L"Click Me"), 2);
    EXPECT_EQ(depth_of(L"&Press"), 2);
}

// The fixture makes every control before it shows its window, so what is
// not found once the window is up never will be: those looks wait for nothing.
TEST_F(Finding, LeavesOutHiddenGroupsAndTheirContents) {
    const auto children = visible_children(window_);
    for (const ControlInfo& c : children) {
        EXPECT_NE(c.text, L"Hidden Group");
        EXPECT_NE(c.text, L"Hidden Caption");
    }
    EXPECT_EQ(find_control(window_, Selector::by_caption(L"Hidden Caption"), Millis{0}), nullptr);
}

TEST_F(Finding, TellsCaptionsApartByTrailingBlanks) {
    HWND blank = control(L"Undo ");
    HWND bare = control(L"Undo");
    ASSERT_NE(blank, nullptr);
    ASSERT_NE(bare, nullptr);
    EXPECT_NE(blank, bare);
    EXPECT_EQ(GetDlgCtrlID(blank), 107);
    EXPECT_EQ(GetDlgCtrlID(bare), 108);
}

TEST_F(Finding, MatchesCaptionsWithOrWithoutTheirMnemonic) {
    HWND with = control(L"&Press");
    EXPECT_EQ(control(L"Press"), with);
    // Class names compare as Windows compares them, captions exactly.
    EXPECT_EQ(control(L"@button:Press"), with);
    EXPECT_EQ(find_control(window_, Selector::parse(L"@Button:press"), Millis{0}), nullptr);
}

TEST_F(Finding, SelectsByClassIndexAndControlId) {
    EXPECT_EQ(GetDlgCtrlID(control(L"#600")), 600);
    EXPECT_EQ(class_of(control(L"@Edit")), L"Edit");
    // Statics in creation order: Click Me, Plain Label, Undo , Undo.
    EXPECT_EQ(text_of(control(L"@Static#1")), L"Plain Label");
    EXPECT_EQ(text_of(control(L"@static#3")), L"Undo");
    EXPECT_EQ(find_control(window_, Selector::parse(L"@Static#9"), Millis{0}), nullptr);
}

TEST_F(Finding, GivesUpOnAMissingWindowAfterItsTimeout) {
    // The length of the wait is what is tested here, so it is short.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(find_top_window(L"No Such Window", 0, Millis{300}), nullptr);
    EXPECT_GE(std::chrono::steady_clock::now() - start, Millis{300});
    // Another process's window with the same title is not ours.
    EXPECT_EQ(find_top_window(kTitle, GetCurrentProcessId(), Millis{0}), nullptr);
}

TEST(SelectorParsing, ReadsEveryForm) {
    struct Row {
        const wchar_t* text;
        std::optional<std::wstring> caption;
        std::wstring class_name;
        int index;
        std::optional<int> id;
    };
    const Row rows[] = {
        {L"Main", L"Main", L"", 0, {}},
        {L"Undo ", L"Undo ", L"", 0, {}},
        {L"@ListBox", {}, L"ListBox", 0, {}},
        {L"@Static#4", {}, L"Static", 4, {}},
        {L"@Button:OK", L"OK", L"Button", 0, {}},
        {L"@Button:a:b", L"a:b", L"Button", 0, {}},
        {L"#1001", {}, L"", 0, 1001},
        {L"#x", L"#x", L"", 0, {}},  // not a number: a caption that starts with '#'
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(to_utf8(row.text));
        const Selector s = Selector::parse(row.text);
        EXPECT_EQ(s.caption, row.caption);
        EXPECT_EQ(s.class_name, row.class_name);
        EXPECT_EQ(s.index, row.index);
        EXPECT_EQ(s.id, row.id);
    }
}

TEST(Mnemonics, DoubledAmpersandStaysSingle) {
    EXPECT_EQ(strip_mnemonic(L"&Yes"), L"Yes");
    EXPECT_EQ(strip_mnemonic(L"Save && Exit"), L"Save & Exit");
    EXPECT_EQ(strip_mnemonic(L"trailing&"), L"trailing");
    EXPECT_TRUE(caption_matches(L"&No", L"No"));
    EXPECT_FALSE(caption_matches(L"Undo ", L"Undo"));
}

// ---- clicking --------------------------------------------------------------

using Clicking = FixtureApp;

TEST_F(Clicking, ButtonsArriveAsBmClick) {
    ASSERT_TRUE(click(control(L"Press")));
    EXPECT_TRUE(logged(L"pressed"));
}

TEST_F(Clicking, NotifyingStaticsTakeARealMouseClick) {
    ASSERT_TRUE(click(control(L"Click Me"), ClickMethod::MouseInput));
    EXPECT_TRUE(logged(L"clicked [Click Me]"));
    ASSERT_TRUE(click(control(L"Undo "), ClickMethod::MouseInput));
    EXPECT_TRUE(logged(L"clicked [Undo ]"));
}

TEST_F(Clicking, TwoClicksOnOneStaticStayTwoClicks) {
    HWND link = control(L"Click Me");
    ASSERT_TRUE(click(link, ClickMethod::MouseInput));
    ASSERT_TRUE(click(link, ClickMethod::MouseInput));
    EXPECT_TRUE(wait_until([&] { return log().size() == 2; })) << "the second click became a double click";
    EXPECT_EQ(log(), (std::vector<std::wstring>(2, L"clicked [Click Me]")));
}

TEST_F(Clicking, NotifyingStaticsTakePostedMouseMessages) {
    ASSERT_TRUE(click(control(L"Undo"), ClickMethod::PostedMouse));
    EXPECT_TRUE(logged(L"clicked [Undo]"));
}

TEST_F(Clicking, AutomaticPicksAMethodThatReachesStatics) {
    ASSERT_TRUE(click(control(L"Click Me")));
    EXPECT_TRUE(logged(L"clicked [Click Me]"));
}

TEST_F(Clicking, RefusesAMouseClickThatWouldLandOnSomethingElse) {
    // A static without SS_NOTIFY is transparent to the mouse: a click at
    // its centre belongs to the group box behind it.
    EXPECT_FALSE(click(control(L"Plain Label"), ClickMethod::MouseInput));
}

TEST_F(Clicking, CheckBoxesToggleAndReportTheirState) {
    HWND option = control(L"Option");
    ASSERT_EQ(is_checked(option), std::optional<bool>(false));
    ASSERT_TRUE(click(option));
    EXPECT_TRUE(logged(L"option on"));
    EXPECT_EQ(is_checked(option), std::optional<bool>(true));
    ASSERT_TRUE(click(option));
    EXPECT_TRUE(logged(L"option off"));
    EXPECT_EQ(is_checked(control(L"Press")), std::nullopt);
}

TEST_F(Clicking, SwappingPagesHidesOneGroupAndShowsTheOther) {
    HWND first = control(L"Fixture Group");
    ASSERT_TRUE(click(control(L"Swap")));
    HWND second = find_control(window_, Selector::by_caption(L"Hidden Group"));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(wait_until([&] { return !is_visible(first); }));
    // A control on a page that went away cannot be clicked.
    EXPECT_FALSE(click(GetDlgItem(first, 103)));
    ASSERT_TRUE(click(control(L"Hidden Caption")));
    EXPECT_TRUE(logged(L"clicked [Hidden Caption]"));
}

// ---- reading ---------------------------------------------------------------

using Reading = FixtureApp;

TEST_F(Reading, ListBoxLinesInOrder) {
    click(control(L"Press"));
    click(control(L"Click Me"));
    ASSERT_TRUE(logged(L"clicked [Click Me]"));
    EXPECT_EQ(log(), (std::vector<std::wstring>{L"pressed", L"clicked [Click Me]"}));
}

TEST_F(Reading, ListViewColumnsAndCellsFromTheOtherProcess) {
    HWND grid = control(L"@SysListView32");
    EXPECT_EQ(listview_columns(grid), (std::vector<std::wstring>{L"Name", L"Value"}));
    const std::vector<std::vector<std::wstring>> expected = {{L"alpha", L"1"}, {L"beta", L"2"}, {L"gamma", L"3"}};
    EXPECT_EQ(listview_rows(grid), expected);
}

TEST_F(Reading, ComboLinesAndEditText) {
    EXPECT_EQ(combo_lines(control(L"@ComboBox")), (std::vector<std::wstring>{L"first", L"second", L"third"}));
    EXPECT_EQ(text_of(control(L"@ComboBox")), L"second");
    HWND edit = control(L"@Edit");
    EXPECT_EQ(text_of(edit), L"edit text");
    ASSERT_TRUE(set_text(edit, L"changed"));
    EXPECT_EQ(text_of(edit), L"changed");
}

// ---- message boxes ---------------------------------------------------------

using MessageBoxes = FixtureApp;

TEST_F(MessageBoxes, ReadsTextAndButtonsThenAnswers) {
    for (const wchar_t* answer : {L"No", L"Yes"}) {
        SCOPED_TRACE(to_utf8(answer));
        ASSERT_TRUE(click(control(L"Ask")));
        const auto box = find_message_box(app_.id());
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, L"Fixture Question");
        EXPECT_EQ(box->text, L"Proceed with the test?");
        EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
        // Under the box the window takes no clicks and is not idle; the
        // short wait is the one thing tested there.
        EXPECT_FALSE(click(control(L"Press"))) << "a click went through under the box";
        EXPECT_FALSE(wait_until_idle(window_, Millis{200})) << "idle with the box open";
        ASSERT_TRUE(press_message_box_button(box->hwnd, answer));
        EXPECT_TRUE(logged(std::wstring(L"answer ") + (answer[0] == L'Y' ? L"yes" : L"no")));
    }
    EXPECT_TRUE(dialogs_of_process(app_.id()).empty());
}

TEST_F(MessageBoxes, NoneFoundWhenNoneIsOpen) {
    ASSERT_TRUE(wait_until_idle(window_));
    EXPECT_FALSE(find_message_box(app_.id(), Millis{0}).has_value());
}

// ---- processes ---------------------------------------------------------------

TEST(ChildProcesses, TerminateEndsOnlyTheChildAndReportsItsExit) {
    const std::wstring exe = e2e::setting(L"VELTRANO_FIXTURE_APP");
    if (exe.empty()) GTEST_SKIP() << "VELTRANO_FIXTURE_APP is not set";
    ChildProcess app;
    ASSERT_TRUE(app.start(exe));
    EXPECT_TRUE(app.running());
    EXPECT_EQ(app.exit_code(), std::nullopt);
    HANDLE handle = app.handle();
    DWORD code = 0;
    // Keep our own handle to see the end after terminate() closed its one.
    HANDLE watch = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &watch, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    app.terminate();
    // terminate() returns once the child is gone, not before.
    EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0);
    GetExitCodeProcess(watch, &code);
    CloseHandle(watch);
    EXPECT_EQ(code, 1u);
    EXPECT_FALSE(app.running());
}

TEST(WindowsPaths, UnixPathsGoThroughTheZDrive) {
    EXPECT_EQ(to_windows_path(L"/work/build/app.exe"), L"Z:\\work\\build\\app.exe");
    EXPECT_EQ(to_windows_path(L"C:\\windows\\regedit.exe"), L"C:\\windows\\regedit.exe");
    EXPECT_EQ(to_windows_path(L""), L"");
}

// ---- registry ----------------------------------------------------------------

class RegistryProbe : public ::testing::Test {
protected:
    static constexpr wchar_t kKey[] = L"Software\\VeltranoDriverSelftest";
    void SetUp() override { ASSERT_TRUE(delete_tree(HKEY_CURRENT_USER, kKey)); }
    void TearDown() override { delete_tree(HKEY_CURRENT_USER, kKey); }
};

TEST_F(RegistryProbe, WrittenValuesReadBackWithTheirType) {
    ASSERT_TRUE(write_dword(HKEY_CURRENT_USER, kKey, L"Count", 0x12d));
    ASSERT_TRUE(write_string(HKEY_CURRENT_USER, kKey, L"Name", L"Veltrano"));
    ASSERT_TRUE(write_string(HKEY_CURRENT_USER, kKey, L"Path", L"%SystemRoot%", REG_EXPAND_SZ));
    EXPECT_EQ(read_dword(HKEY_CURRENT_USER, kKey, L"Count"), 0x12du);
    EXPECT_EQ(read_string(HKEY_CURRENT_USER, kKey, L"Name"), L"Veltrano");
    EXPECT_EQ(read_string(HKEY_CURRENT_USER, kKey, L"Path"), L"%SystemRoot%");
    // A value of the other type is not silently converted.
    EXPECT_EQ(read_dword(HKEY_CURRENT_USER, kKey, L"Name"), std::nullopt);
    EXPECT_EQ(read_string(HKEY_CURRENT_USER, kKey, L"Count"), std::nullopt);
    EXPECT_EQ(read_dword(HKEY_CURRENT_USER, kKey, L"Missing"), std::nullopt);
    EXPECT_TRUE(delete_value(HKEY_CURRENT_USER, kKey, L"Name"));
    EXPECT_EQ(read_string(HKEY_CURRENT_USER, kKey, L"Name"), std::nullopt);
}

TEST_F(RegistryProbe, DeleteTreeRemovesNestedKeysAndToleratesAbsence) {
    const std::wstring deep = std::wstring(kKey) + L"\\A\\B\\C";
    ASSERT_TRUE(write_dword(HKEY_CURRENT_USER, deep, L"x", 1));
    ASSERT_TRUE(write_dword(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\A\\Other", L"y", 2));
    EXPECT_EQ(subkey_names(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\A"), (std::vector<std::wstring>{L"B", L"Other"}));
    EXPECT_TRUE(delete_tree(HKEY_CURRENT_USER, kKey));
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, kKey));
    EXPECT_TRUE(delete_tree(HKEY_CURRENT_USER, kKey));
}

TEST_F(RegistryProbe, SubkeysEnumerateSortedIgnoringCase) {
    for (const wchar_t* name : {L"{B-GUID}", L"NdisWanIp", L"{A-GUID}", L"adapters"})
        ASSERT_TRUE(write_dword(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\" + name, L"v", 0));
    EXPECT_EQ(subkey_names(HKEY_CURRENT_USER, kKey),
              (std::vector<std::wstring>{L"adapters", L"NdisWanIp", L"{A-GUID}", L"{B-GUID}"}));
}

TEST(RegistryView, SoftwareGoesWhereTheProgramLooksEvenFromA32BitTest) {
    const std::wstring key = L"SOFTWARE\\VeltranoDriverSelftest";
    ASSERT_TRUE(write_dword(HKEY_LOCAL_MACHINE, key, L"v", 7));
    HKEY raw = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &raw), ERROR_SUCCESS)
        << "not in the 64-bit view";
    if (raw) RegCloseKey(raw);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (wow64) {
        raw = nullptr;
        EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &raw), ERROR_SUCCESS)
            << "written to the redirected 32-bit view";
        if (raw) RegCloseKey(raw);
    }
    EXPECT_TRUE(delete_tree(HKEY_LOCAL_MACHINE, key));
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, key));
}

TEST(RegistryPaths, SplitRootFromPath) {
    const auto hklm = parse_registry_path(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\VELTRANO");
    ASSERT_TRUE(hklm.has_value());
    EXPECT_EQ(hklm->root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(hklm->path, L"SOFTWARE\\VELTRANO");
    const auto hkcu = parse_registry_path(L"hkcu");
    ASSERT_TRUE(hkcu.has_value());
    EXPECT_EQ(hkcu->root, HKEY_CURRENT_USER);
    EXPECT_EQ(hkcu->path, L"");
    EXPECT_FALSE(parse_registry_path(L"HKXX\\Software").has_value());
}

}  // namespace
}  // namespace veltrano::driver
