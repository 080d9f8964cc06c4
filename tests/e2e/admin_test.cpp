// The admin tools worked from outside: the auto logon form typed in and
// applied, its keyboard, the control panel boxes read and applied, and a launcher picture
// clicked with the prefix opening .msc files with a recorder of ours.
#include "e2e_environment.h"
#include "tips_session.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

const HKEY LM = HKEY_LOCAL_MACHINE;
const HKEY CU = HKEY_CURRENT_USER;
const std::wstring kWinlogon = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::wstring kDontLoad = L"Control Panel\\don't load";

class Admin : public TipsSession {
protected:
    void open_admin() {
        ASSERT_NO_FATAL_FAILURE(go(L"Admin"));
        ASSERT_NE(control(L"Auto Logon Settings"), nullptr);
    }
    HWND edit(int n) { return control(Selector::by_class(L"Edit", n - 1)); }  // Edit1 is the first
    void type(int n, const wchar_t* text) { ASSERT_TRUE(set_text(edit(n), text)) << "Edit" << n; }
    void choose(const wchar_t* radio) {
        HWND target = control(Selector::by(L"Button", radio));
        ASSERT_TRUE(click(target, ClickMethod::ButtonMessage));
        ASSERT_TRUE(wait_until([&] { return checked(target); })) << to_utf8(radio);
    }
    HWND focused() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main_window(), nullptr), &info);
        return info.hwndFocus;
    }
    bool focus_reaches(HWND target) const {
        return wait_until([&] { return focused() == target; });
    }
    std::optional<std::wstring> record(const wchar_t* tip, const wchar_t* side, const wchar_t* name) {
        return read_string(LM, kStateBase + L"\\" + tip + L"\\" + side, name);
    }
};

class AutoLogon : public Admin {
protected:
    static constexpr const wchar_t* kValues[] = {L"AutoAdminLogon",  L"DefaultUserName",     L"DefaultPassword",
                                                 L"DefaultDomainName", L"AutoLogonCount",    L"IgnoreShiftOverride",
                                                 L"ForceAutoLogon",  L"LegalNoticeCaption", L"LegalNoticeText"};
    void forget() {
        for (const wchar_t* name : kValues) delete_value(LM, kWinlogon, name);
    }
    void seed_machine() override {
        forget();
        ASSERT_TRUE(write_string(LM, kWinlogon, L"DefaultPassword", L"old secret"));
    }
    void TearDown() override {
        Admin::TearDown();
        forget();
    }
};

// Wine keeps no LSA secrets: the password goes to the registry only when
// the user says so.
constexpr wchar_t kKeepInClear[] = L"Windows would not keep the password as a secret (";

// The answer's button pressed, and no wait for the main window: the done
// balloon takes it over as the box goes.
void answer(HWND box, const wchar_t* button) {
    HWND target = find_control(box, Selector::by(L"Button", button));
    ASSERT_TRUE(target && click(target, ClickMethod::ButtonMessage));
}

TEST_F(AutoLogon, ApplyWritesTheFormAndRecordsThePasswordMasked) {
    ASSERT_NO_FATAL_FAILURE(open_admin());
    EXPECT_EQ(text_of(edit(2)), L"********") << "the password itself read back into the window";
    EXPECT_EQ(SendMessageW(edit(2), EM_GETPASSWORDCHAR, 0, 0), L'#');
    EXPECT_EQ(SendMessageW(edit(6), EM_GETLIMITTEXT, 0, 0), 1024);
    EXPECT_EQ(text_of(edit(4)), L"") << "no AutoLogonCount yet";

    type(1, L"ann");
    type(2, L"s3cret");
    type(4, L"3");
    type(5, L"Notice");
    type(6, L"Authorised users only");
    ASSERT_NO_FATAL_FAILURE(choose(L"disable"));  // the shift override's
    press(L"Apply changes");
    auto question = find_message_box(process_id());
    ASSERT_TRUE(question.has_value()) << "no question about the password in clear";
    EXPECT_EQ(question->text.rfind(kKeepInClear, 0), 0u) << to_utf8(question->text);
    EXPECT_EQ(question->default_button, L"No");
    ASSERT_NO_FATAL_FAILURE(answer(question->hwnd, L"Yes"));
    EXPECT_EQ(close_balloon(), L"Autologon enabled and settings applied. Please Reboot ");

    EXPECT_EQ(read_string(LM, kWinlogon, L"AutoAdminLogon"), L"1");
    EXPECT_EQ(read_string(LM, kWinlogon, L"DefaultPassword"), L"s3cret");
    EXPECT_EQ(read_dword(LM, kWinlogon, L"AutoLogonCount"), 3u);
    EXPECT_EQ(read_string(LM, kWinlogon, L"IgnoreShiftOverride"), L"0");
    EXPECT_EQ(read_string(LM, kWinlogon, L"LegalNoticeText"), L"Authorised users only");
    EXPECT_EQ(record(L"TIP0049", L"OLD_VALUES", L"DefaultPassword"), L"********");
    EXPECT_TRUE(in_order(log_lines(), {L"Starting the process of setting default password",
                                       L"The default password is kept in the registry in clear: every user of this computer can read it",
                                       L"Starting the process of setting LegalNoticeText"}));
}

class AutoLogonOnACleanMachine : public AutoLogon {
    void seed_machine() override { forget(); }
};

TEST_F(AutoLogonOnACleanMachine, NoToThePasswordInClearWritesNoPasswordAndSaysWhy) {
    ASSERT_NO_FATAL_FAILURE(open_admin());
    EXPECT_EQ(text_of(edit(2)), L"");
    type(1, L"ann");
    type(2, L"s3cret");
    press(L"Apply changes");
    auto question = find_message_box(process_id());
    ASSERT_TRUE(question.has_value()) << "no question about the password in clear";
    EXPECT_EQ(question->text.rfind(kKeepInClear, 0), 0u) << to_utf8(question->text);
    ASSERT_NO_FATAL_FAILURE(answer(question->hwnd, L"No"));
    EXPECT_EQ(close_balloon(), L"Autologon enabled and settings applied. Please Reboot ");
    EXPECT_FALSE(read_value(LM, kWinlogon, L"DefaultPassword"));
    EXPECT_EQ(read_string(LM, kWinlogon, L"DefaultUserName"), L"ann");
    const auto lines = log_lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::wstring& line) {
        return line.starts_with(L"No default password was written: Windows would not keep it as a secret (");
    }));
}

TEST_F(AutoLogon, NoRemovesThePasswordAndRecordsItMasked) {
    ASSERT_NO_FATAL_FAILURE(open_admin());
    type(2, L"new secret");  // typed, not applied: the choice is No
    ASSERT_NO_FATAL_FAILURE(choose(L"No. Please disable autologon on this computer"));
    EXPECT_EQ(press_for_balloon(L"Apply changes"), L"Autologon setting disabled. Please Reboot. ");
    EXPECT_EQ(read_string(LM, kWinlogon, L"AutoAdminLogon"), L"0");
    EXPECT_FALSE(read_value(LM, kWinlogon, L"DefaultPassword"));
    EXPECT_EQ(record(L"TIP0049", L"OLD_VALUES", L"DefaultPassword"), L"********");
}

TEST_F(AutoLogon, TabAndTheUnderlinedLettersReachTheEditsAndTheSubPages) {
    ASSERT_NO_FATAL_FAILURE(open_admin());
    ASSERT_TRUE(click(edit(1)));
    ASSERT_TRUE(focus_reaches(edit(1)));
    send_keys({{VK_MENU, true}, {'W', true}, {'W', false}, {VK_MENU, false}});  // Default pass&word
    EXPECT_TRUE(focus_reaches(edit(2)));
    send_keys({{VK_TAB, true}, {VK_TAB, false}});
    EXPECT_TRUE(focus_reaches(edit(3)));
    send_keys({{VK_MENU, true}, {'C', true}, {'C', false}, {VK_MENU, false}});  // &Control Panel
    EXPECT_TRUE(wait_until([&] { return shown(Selector::by_caption(L"Control Panel Options")); }));
    EXPECT_FALSE(shown(Selector::by_caption(L"Auto Logon Settings")));
}

class ControlPanel : public Admin {
protected:
    // Apply deletes the other eleven itself.
    void forget() {
        for (const wchar_t* name : {L"access.cpl", L"desk.cpl", L"joy.cpl"}) delete_value(CU, kDontLoad, name);
    }
    void seed_machine() override {
        forget();
        ASSERT_TRUE(write_string(CU, kDontLoad, L"access.cpl", L"no"));
        ASSERT_TRUE(write_string(CU, kDontLoad, L"desk.cpl", L"No"));
    }
    void TearDown() override {
        Admin::TearDown();
        forget();
    }
};

TEST_F(ControlPanel, ShowsTheAppletsSetToNoAndApplyWritesOrDeletesEach) {
    ASSERT_NO_FATAL_FAILURE(open_admin());
    ASSERT_NO_FATAL_FAILURE(press(L"Control Panel"));
    HWND desk = box(L"Do not show desk.cpl in control panel");
    ASSERT_TRUE(wait_until([&] { return checked(desk); }));
    EXPECT_FALSE(checked(box(L"Do not show access.cpl in control panel"))) << "\"no\" is not \"No\"";
    ASSERT_NO_FATAL_FAILURE(tick(L"Do not show joy.cpl in control panel"));

    EXPECT_EQ(press_for_balloon(L"Apply changes"), L"Settings Saved, Please Reboot. ");
    EXPECT_FALSE(read_value(CU, kDontLoad, L"access.cpl"));
    EXPECT_EQ(read_string(CU, kDontLoad, L"desk.cpl"), L"No");
    EXPECT_EQ(read_string(CU, kDontLoad, L"joy.cpl"), L"No");
    EXPECT_EQ(value_names(CU, kDontLoad).size(), 2u);
    EXPECT_EQ(record(L"TIP0050", L"NEW_VALUES", L"access.cpl"), L"Yes");
    EXPECT_EQ(record(L"TIP0050", L"OLD_VALUES", L"access.cpl"), L"no");
}

// The prefix opens .msc files with our recorder, which writes down the file
// it was given.
class Launchers : public Admin {
protected:
    const std::wstring kClasses = L"Software\\Classes";
    const std::wstring kProgId = L"VeltranoE2E.mscfile";
    std::wstring out_file_;
    // Wine's shell opens only a file that is there: an empty one will do,
    // the recorder never reads it. Made here unless the prefix has one.
    const std::vector<std::wstring> kSnapIns = {L"c:\\windows\\system32\\gpedit.msc",
                                                L"c:\\windows\\system32\\lusrmgr.msc"};
    std::vector<std::wstring> made_;

    void forget() {
        delete_tree(LM, kClasses + L"\\.msc");
        delete_tree(LM, kClasses + L"\\" + kProgId);
        DeleteFileW(out_file_.c_str());
        for (const std::wstring& file : made_) DeleteFileW(file.c_str());
        made_.clear();
    }
    void seed_machine() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        out_file_ = std::wstring(temp) + L"veltrano_msc_opened.txt";
        forget();
        const std::wstring recorder = setting(L"VELTRANO_MSC_RECORDER");
        ASSERT_FALSE(recorder.empty()) << "VELTRANO_MSC_RECORDER is not set";
        for (const std::wstring& snap_in : kSnapIns) {
            if (GetFileAttributesW(snap_in.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
            HANDLE file = CreateFileW(snap_in.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot make " << to_utf8(snap_in);
            CloseHandle(file);
            made_.push_back(snap_in);
        }
        ASSERT_TRUE(write_string(LM, kClasses + L"\\.msc", L"", kProgId));
        ASSERT_TRUE(write_string(LM, kClasses + L"\\" + kProgId + L"\\shell\\open\\command", L"",
                                 L"\"" + to_windows_path(recorder) + L"\" \"" + out_file_ + L"\" \"%1\""));
    }
    void TearDown() override {
        Admin::TearDown();
        forget();
    }
    std::optional<std::string> opened() const {
        std::ifstream in{std::filesystem::path(out_file_)};
        if (!in) return std::nullopt;
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    // What the next press opens.
    std::optional<std::string> next_opened() {
        EXPECT_TRUE(wait_until([&] { return opened().has_value(); })) << "the shell started nothing";
        std::optional<std::string> file = opened();
        DeleteFileW(out_file_.c_str());
        return file;
    }
};

TEST_F(Launchers, APictureOpensItsSnapInInTheSystemsFolderAndTheKeyboardReachesThem) {
    ASSERT_NO_FATAL_FAILURE(open_admin());
    ASSERT_NO_FATAL_FAILURE(press(L"Utility Apps"));
    HWND board = control(Selector::by_caption(L"Microsoft Mangement Console Applications"));
    ASSERT_NE(board, nullptr);
    // Image34: the third of the second row; Image35 after it.
    HWND gpedit = find_control(board, Selector::by_class(L"Button", 8));
    HWND lusrmgr = find_control(board, Selector::by_class(L"Button", 9));
    ASSERT_TRUE(gpedit && lusrmgr);
    ASSERT_TRUE(click(gpedit, ClickMethod::MouseInput));
    // The prefix's Windows folder, as the system names it.
    EXPECT_EQ(next_opened(), "C:\\windows\\system32\\gpedit.msc\n");

    ASSERT_TRUE(focus_reaches(gpedit));
    send_keys({{VK_TAB, true}, {VK_TAB, false}});
    ASSERT_TRUE(focus_reaches(lusrmgr));
    EXPECT_TRUE(SendMessageW(lusrmgr, BM_GETSTATE, 0, 0) & BST_FOCUS);
    EXPECT_FALSE(SendMessageW(lusrmgr, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) << "the focus is not drawn";
    send_keys({{VK_RETURN, true}, {VK_RETURN, false}});
    EXPECT_EQ(next_opened(), "C:\\windows\\system32\\lusrmgr.msc\n");
    ASSERT_NO_FATAL_FAILURE(settle());
    send_keys({{VK_SPACE, true}, {VK_SPACE, false}});
    EXPECT_EQ(next_opened(), "C:\\windows\\system32\\lusrmgr.msc\n");
}

}  // namespace
}  // namespace veltrano::e2e
