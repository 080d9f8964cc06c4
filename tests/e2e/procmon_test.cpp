// The process monitor worked from outside: it lists a helper the test
// started and ends it, gives the system's words for one already gone, and
// its menu keys win in the grid, where the module list offers no kill.
#include "e2e_environment.h"
#include "veltrano_session.h"

#include <commctrl.h>

#include <algorithm>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;

constexpr wchar_t kProcessCaption[] = L"List of processes in memory";
constexpr wchar_t kModuleCaption[] = L"List of program modules in memory";
constexpr wchar_t kKill[] = L"Kill Selected Process";

class ProcessMonitorPage : public VeltranoSession {
protected:
    void SetUp() override {
        if (setting(L"VELTRANO_FIXTURE_APP").empty()) GTEST_SKIP() << "VELTRANO_FIXTURE_APP is not set";
        VeltranoSession::SetUp();
    }
    // A helper window of our own, started before the page takes its list.
    void open_page_with(ChildProcess& helper) {
        ASSERT_TRUE(helper.start(setting(L"VELTRANO_FIXTURE_APP"))) << "cannot start the helper: error " << GetLastError();
        ASSERT_NE(find_top_window(L"Driver Fixture", helper.id()), nullptr);
        ASSERT_NO_FATAL_FAILURE(click_caption(L"Process"));
        ASSERT_NE(control(Selector::by_caption(kProcessCaption)), nullptr);
    }
    HWND grid() { return control(L"@SysListView32"); }
    // The row (from 0) showing the id in column 1; -1 when none does.
    int row_of(DWORD id) {
        const auto rows = listview_rows(grid());
        auto it = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r[1] == std::to_wstring(id); });
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }
    int focused_row() { return static_cast<int>(SendMessageW(grid(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)); }
    // As a person would: into the grid, to the top, down the rows.
    void select_row(int row) {
        ASSERT_TRUE(click(grid(), ClickMethod::MouseInput));
        send_keys({{VK_HOME, true}, {VK_HOME, false}});
        for (int i = 0; i < row; ++i) send_keys({{VK_DOWN, true}, {VK_DOWN, false}});
        ASSERT_TRUE(wait_until([&] { return focused_row() == row; })) << "focused row " << focused_row();
    }
    void press_ctrl(WORD key) { send_keys({{VK_CONTROL, true}, {key, true}, {key, false}, {VK_CONTROL, false}}); }
};

TEST_F(ProcessMonitorPage, KillEndsTheChosenHelperAndTheRowStays) {
    ChildProcess first, second;
    ASSERT_NO_FATAL_FAILURE(open_page_with(first));
    ASSERT_TRUE(second.start(setting(L"VELTRANO_FIXTURE_APP")));
    click_caption(L"Process's list");
    ASSERT_TRUE(wait_until([&] { return row_of(first.id()) >= 0 && row_of(second.id()) >= 0; }));
    const auto row = listview_rows(grid())[static_cast<std::size_t>(row_of(first.id()))];
    EXPECT_EQ(row[6], std::to_wstring(GetCurrentProcessId())) << "parent process id";
    // The one listed higher goes, so its row is still there afterwards.
    const bool first_higher = row_of(first.id()) < row_of(second.id());
    ChildProcess& victim = first_higher ? first : second;
    ChildProcess& survivor = first_higher ? second : first;
    const DWORD victim_id = victim.id();
    const int victim_row = row_of(victim_id);
    ASSERT_NO_FATAL_FAILURE(select_row(victim_row));

    click_caption(kKill);
    EXPECT_TRUE(victim.wait_for_exit(kDefaultTimeout));
    EXPECT_TRUE(wait_until([&] { return row_of(victim_id) < 0; })) << "process " << victim_id << " still listed";
    settle();
    EXPECT_TRUE(survivor.running());
    EXPECT_EQ(focused_row(), victim_row);
    EXPECT_FALSE(find_message_box(process_id(), Millis{0}).has_value());
}

TEST_F(ProcessMonitorPage, KillingAProcessAlreadyGoneShowsTheSystemsText) {
    ChildProcess helper;
    ASSERT_NO_FATAL_FAILURE(open_page_with(helper));
    const DWORD gone = helper.id();
    ASSERT_TRUE(wait_until([&] { return row_of(gone) >= 0; }));
    ASSERT_NO_FATAL_FAILURE(select_row(row_of(gone)));
    helper.terminate();
    // The system is the oracle for its own words. An ended process lingers
    // while a handle to it is open somewhere.
    DWORD error = 0;
    ASSERT_TRUE(wait_until([&] {
        HANDLE process = OpenProcess(0x1F0FFF, TRUE, gone);
        if (process) CloseHandle(process);
        error = GetLastError();
        return process == nullptr;
    }));
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, 512, nullptr);
    std::wstring expected = text;
    expected.erase(expected.find_last_not_of(L"\r\n ") + 1);

    click_caption(kKill);
    const auto box = find_message_box(process_id());
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(box->text, expected);
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(press_message_box_button(box->hwnd, L"OK"));
    EXPECT_LT(row_of(gone), 0);
}

TEST_F(ProcessMonitorPage, MenuKeysWinInTheGridAndTheModuleListHoldsOnlyOurModulesAndNoKill) {
    ChildProcess helper;
    ASSERT_NO_FATAL_FAILURE(open_page_with(helper));
    ASSERT_TRUE(wait_until([&] { return row_of(helper.id()) >= 0; }));
    ASSERT_NO_FATAL_FAILURE(select_row(row_of(helper.id())));
    // On the bar Ctrl+2 would be the Network page.
    press_ctrl('2');
    ASSERT_NE(control(Selector::by_caption(kModuleCaption)), nullptr);
    const auto modules = listview_rows(grid());
    ASSERT_GT(modules.size(), 1u);
    for (const auto& module : modules) EXPECT_EQ(module[3], std::to_wstring(process_id())) << to_utf8(module[0]);
    EXPECT_EQ(CharLowerW(std::wstring(modules[0][0]).data()), std::wstring(L"veltrano.exe"));
    EXPECT_FALSE(shown(Selector::by_caption(kKill)));

    press_ctrl('C');
    press_ctrl('1');
    ASSERT_NE(control(Selector::by_caption(kProcessCaption)), nullptr);
    settle();
    EXPECT_TRUE(helper.running());
    EXPECT_FALSE(find_message_box(process_id(), Millis{0}).has_value());
}

}  // namespace
}  // namespace veltrano::e2e
