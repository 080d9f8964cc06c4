// The process monitor worked from outside: it lists a helper the test
// started and ends it only after asking, says so of one already gone, sorts
// by the heading clicked, and its menu keys win in the grid, where the
// module list offers no kill.
#include "e2e_environment.h"
#include "veltrano_session.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>

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
    std::vector<std::wstring> column(int c) {
        std::vector<std::wstring> out;
        for (const auto& row : listview_rows(grid())) out.push_back(row[static_cast<std::size_t>(c)]);
        return out;
    }
};

TEST_F(ProcessMonitorPage, KillAsksFirstWithNoAsDefaultNoLeavesTheHelperYesEndsItAndTheRowStays) {
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
    const std::wstring named = row[0] + L" (process id " + std::to_wstring(victim_id) + L")";

    // The button, then the menu's Ctrl+C: each asks.
    for (const bool yes : {false, true}) {
        ASSERT_NO_FATAL_FAILURE(select_row(victim_row));
        if (yes)
            press_ctrl('C');
        else
            click_caption(kKill);
        const auto box = find_message_box(process_id());
        ASSERT_TRUE(box.has_value()) << "no question";
        EXPECT_NE(box->text.find(named), std::wstring::npos) << to_utf8(box->text);
        EXPECT_EQ(box->buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
        EXPECT_EQ(box->default_button, L"No");
        ASSERT_TRUE(press_message_box_button(box->hwnd, yes ? L"Yes" : L"No"));
        if (!yes) {
            settle();
            EXPECT_TRUE(victim.running());
            EXPECT_EQ(row_of(victim_id), victim_row);
        }
    }
    EXPECT_TRUE(victim.wait_for_exit(kDefaultTimeout));
    // Taken again once the end is seen: gone at the first look.
    settle();
    EXPECT_LT(row_of(victim_id), 0) << "process " << victim_id << " still listed";
    EXPECT_TRUE(survivor.running());
    EXPECT_EQ(focused_row(), victim_row);
    EXPECT_FALSE(find_message_box(process_id(), Millis{0}).has_value());
}

TEST_F(ProcessMonitorPage, KillingAProcessAlreadyGoneSaysSoAndTakesTheListAgain) {
    ChildProcess helper;
    ASSERT_NO_FATAL_FAILURE(open_page_with(helper));
    const DWORD gone = helper.id();
    ASSERT_TRUE(wait_until([&] { return row_of(gone) >= 0; }));
    const std::wstring name = listview_rows(grid())[static_cast<std::size_t>(row_of(gone))][0];
    ASSERT_NO_FATAL_FAILURE(select_row(row_of(gone)));
    helper.terminate();
    ASSERT_TRUE(helper.wait_for_exit());

    click_caption(kKill);
    auto box = find_message_box(process_id());
    ASSERT_TRUE(box.has_value()) << "no question";
    ASSERT_TRUE(press_message_box_button(box->hwnd, L"Yes"));
    box = find_message_box(process_id());
    ASSERT_TRUE(box.has_value()) << "no message";
    EXPECT_EQ(box->text, L"The process " + name + L" (process id " + std::to_wstring(gone) + L") has already ended.");
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(press_message_box_button(box->hwnd, L"OK"));
    EXPECT_LT(row_of(gone), 0);
}

TEST_F(ProcessMonitorPage, AHeadingClickSortsByThatColumnAndAgainReverses) {
    ChildProcess helper;
    ASSERT_NO_FATAL_FAILURE(open_page_with(helper));
    HWND header = control(L"@SysHeader32");
    // "Process id", right of the 145 wide first column.
    const auto click_heading = [&] {
        const LPARAM at = MAKELPARAM(145 + 20, 8);
        PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(header, WM_LBUTTONUP, 0, at);
    };
    const auto ids = [&] {
        std::vector<unsigned long> out;
        for (const auto& id : column(1)) out.push_back(std::stoul(id));
        return out;
    };
    click_heading();
    ASSERT_TRUE(wait_until([&] { return std::ranges::is_sorted(ids()); })) << "not sorted by id";
    click_heading();
    ASSERT_TRUE(wait_until([&] { return std::ranges::is_sorted(ids(), std::greater<>()); })) << "not reversed";
    EXPECT_GT(ids().size(), 2u);
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
