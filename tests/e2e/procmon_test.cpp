// The process monitor worked from outside: it lists a helper the test
// started and ends it only after asking, says so of one already gone, sorts
// by the heading clicked, and its menu keys win in the grid, where the
// module list offers no kill. A real notepad's memory and user are shown,
// the filter typed leaves only its row, and a process started later comes
// into the list by itself while the chosen row stays chosen.
#include "e2e_environment.h"
#include "veltrano_session.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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
    // A program just started shows its window, then raises it in steps of
    // its own. A click sent meanwhile can find that window over the point by
    // the time it is delivered, and Wine then drops it: the click waits
    // until the newcomer is back at its message loop.
    void wait_for_window(const wchar_t* title, ChildProcess& started) {
        HWND window = find_top_window(title, started.id());
        ASSERT_NE(window, nullptr) << to_utf8(title) << " never appeared";
        ASSERT_TRUE(wait_until_idle(window)) << to_utf8(title) << " never settled";
    }
    // A helper window of our own, started before the page takes its list.
    void open_page_with(ChildProcess& helper) {
        ASSERT_TRUE(helper.start(setting(L"VELTRANO_FIXTURE_APP"))) << "cannot start the helper: error " << GetLastError();
        ASSERT_NO_FATAL_FAILURE(wait_for_window(L"Driver Fixture", helper));
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
    // "Process id", right of the 145 wide first column.
    void click_id_heading() {
        HWND header = control(L"@SysHeader32");
        const LPARAM at = MAKELPARAM(145 + 20, 8);
        PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(header, WM_LBUTTONUP, 0, at);
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
    ASSERT_NO_FATAL_FAILURE(wait_for_window(L"Driver Fixture", second));
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
    const auto click_heading = [&] { click_id_heading(); };
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

TEST_F(ProcessMonitorPage, ANotepadShowsItsMemoryAndUserAndTheFilterTypedLeavesOnlyItsRow) {
    ChildProcess notepad;
    ASSERT_TRUE(notepad.start(L"C:\\windows\\notepad.exe")) << "error " << GetLastError();
    ASSERT_NO_FATAL_FAILURE(wait_for_window(L"Untitled - Notepad", notepad));
    ASSERT_NO_FATAL_FAILURE(click_caption(L"Process"));
    EXPECT_EQ(listview_columns(grid()).size(), 11u);
    ASSERT_TRUE(wait_until([&] { return row_of(notepad.id()) >= 0; }));
    const auto row = listview_rows(grid())[static_cast<std::size_t>(row_of(notepad.id()))];
    std::wstring kilobytes = row[9];
    std::erase(kilobytes, L',');
    EXPECT_TRUE(row[9].ends_with(L" K")) << to_utf8(row[9]);
    EXPECT_GT(std::wcstoul(kilobytes.c_str(), nullptr, 10), 0ul) << to_utf8(row[9]);
    EXPECT_FALSE(row[10].empty()) << "no user";
    // Its processor share comes with the next picture.
    EXPECT_TRUE(wait_until([&] {
        const auto now = listview_rows(grid());
        const int at = row_of(notepad.id());
        return at >= 0 && !now[static_cast<std::size_t>(at)][8].empty();
    }));

    // Into the filter by its underlined letter, from the grid.
    HWND filter = control(L"@Edit");
    ASSERT_TRUE(click(grid(), ClickMethod::MouseInput));
    send_keys({{VK_MENU, true}, {'F', true}, {'F', false}, {VK_MENU, false}});
    ASSERT_TRUE(wait_until([&] {
        GUITHREADINFO info{sizeof info};
        return GetGUIThreadInfo(GetWindowThreadProcessId(filter, nullptr), &info) && info.hwndFocus == filter;
    })) << "Alt+F did not reach the filter";
    send_keys({{'N', true}, {'N', false}, {'O', true}, {'O', false}, {'T', true}, {'T', false}, {'E', true},
               {'E', false}});
    ASSERT_TRUE(wait_until([&] { return listview_rows(grid()).size() == 1 && row_of(notepad.id()) == 0; }))
        << listview_rows(grid()).size() << " rows";
    send_keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    EXPECT_TRUE(wait_until([&] { return listview_rows(grid()).size() > 2; }));
    EXPECT_EQ(text_of(filter), L"");
}

// A program busy on one of two processors has half of the machine: the
// share comes from the system's own process list, which moves under Wine
// where GetProcessTimes on another process does not (the column read 0).
// The helper measures itself too: on a machine busy with other work its
// thread gets less than a processor, and the column must say so as well.
TEST_F(ProcessMonitorPage, AProgramBusyOnOneProcessorShowsItsShareInTheCpuColumn) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    if (system.dwNumberOfProcessors != 2) GTEST_SKIP() << system.dwNumberOfProcessors << " processors, not 2";
    ChildProcess busy;
    ASSERT_TRUE(busy.start(setting(L"VELTRANO_FIXTURE_APP"), {L"--busy"})) << "error " << GetLastError();
    ASSERT_NO_FATAL_FAILURE(wait_for_window(L"Driver Fixture", busy));
    HWND own_log = find_control(find_top_window(L"Driver Fixture", busy.id()), Selector::parse(L"@ListBox"));
    ASSERT_NE(own_log, nullptr);
    ASSERT_NO_FATAL_FAILURE(click_caption(L"Process"));
    std::string seen;
    unsigned long column = 0, own = 0;
    EXPECT_TRUE(wait_until(
        [&] {
            const int at = row_of(busy.id());
            const auto lines = listbox_lines(own_log);
            if (at < 0 || lines.empty()) return false;
            const std::wstring cpu = listview_rows(grid())[static_cast<std::size_t>(at)][8];
            if (cpu.empty()) return false;
            column = std::wcstoul(cpu.c_str(), nullptr, 10);
            own = std::wcstoul(lines.back().c_str() + 8, nullptr, 10);  // "own cpu N"
            seen += " " + std::to_string(column) + "/" + std::to_string(own);
            // An idle machine gives the helper its processor: 40 to 60.
            return own >= 40 ? column >= 40 && column <= 60 : column + 10 >= own && column <= own + 10 && column > 0;
        },
        kDefaultTimeout, Millis(500)))
        << "CPU column / the helper's own share:" << seen;
    std::printf("a program busy on one of two processors: CPU column %lu, its own measure %lu\n", column, own);
}

TEST_F(ProcessMonitorPage, AProcessStartedLaterComesByItselfAndTheChosenRowStaysOnItsProcess) {
    ChildProcess chosen, later;
    ASSERT_NO_FATAL_FAILURE(open_page_with(chosen));
    // Newest first, so the newcomer pushes the chosen row down.
    click_id_heading();
    click_id_heading();
    ASSERT_TRUE(wait_until([&] {
        std::vector<unsigned long> ids;
        for (const auto& id : column(1)) ids.push_back(std::stoul(id));
        return std::ranges::is_sorted(ids, std::greater<>()) && row_of(chosen.id()) >= 0;
    }));
    ASSERT_NO_FATAL_FAILURE(select_row(row_of(chosen.id())));
    EXPECT_EQ(is_checked(control(Selector::by_caption(L"Refresh every 2 s"))), std::optional<bool>(true));

    ASSERT_TRUE(later.start(setting(L"VELTRANO_FIXTURE_APP")));
    ASSERT_NE(find_top_window(L"Driver Fixture", later.id()), nullptr);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(wait_until([&] { return row_of(later.id()) >= 0; })) << "not listed without a click";
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("a process started later was listed %.2f s after its window showed\n", seconds);
    EXPECT_EQ(focused_row(), row_of(chosen.id()));
    EXPECT_EQ(ListView_GetSelectedCount(grid()), 1u);
}

}  // namespace
}  // namespace veltrano::e2e
