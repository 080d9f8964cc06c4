// The process monitor worked from outside: it lists a helper program the
// test started, ends it, says in the system's words why it could not end one
// that is already gone, lists only its own modules, and lets its menu keys
// win over the navigation bar's while the grid has the focus.
#include "e2e_environment.h"
#include "veltrano_session.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

namespace veltrano::e2e {
namespace {

using namespace veltrano::driver;
using Rows = std::vector<std::vector<std::wstring>>;

constexpr wchar_t kProcessCaption[] = L"List of processes in memory";
constexpr wchar_t kModuleCaption[] = L"List of program modules in memory";
constexpr wchar_t kThreadCaption[] = L"List of threads in memory";
constexpr wchar_t kKill[] = L"Kill Selected Process";

std::wstring lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

// What the system says for the error, as a message box shows it.
std::wstring system_text(DWORD error) {
    wchar_t* buffer = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = buffer ? buffer : L"";
    LocalFree(buffer);
    while (!text.empty() && std::iswspace(text.back())) text.pop_back();
    return text;
}

class ProcessMonitorPage : public VeltranoSession {
protected:
    void SetUp() override {
        VeltranoSession::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        helper_exe_ = setting(L"VELTRANO_FIXTURE_APP");
        if (helper_exe_.empty()) GTEST_SKIP() << "VELTRANO_FIXTURE_APP is not set";
    }

    // A small window program of our own, shown before the list is taken.
    void start_helper(ChildProcess& helper) {
        ASSERT_TRUE(helper.start(helper_exe_)) << "cannot start the helper: error " << GetLastError();
        ASSERT_NE(find_top_window(L"Driver Fixture", helper.id()), nullptr) << "the helper's window never showed";
    }

    HWND grid() { return control(L"@SysListView32"); }
    Rows rows() { return listview_rows(grid()); }
    // The row (from 0, as the list view counts) whose column shows the id.
    int row_of(DWORD id, int column = 1) {
        const Rows all = rows();
        const std::wstring wanted = std::to_wstring(id);
        for (std::size_t r = 0; r < all.size(); ++r)
            if (static_cast<int>(all[r].size()) > column && all[r][column] == wanted) return static_cast<int>(r);
        return -1;
    }
    int focused_row() {
        DWORD_PTR item = 0;
        SendMessageTimeoutW(grid(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED, SMTO_NORMAL, 5000, &item);
        return static_cast<int>(static_cast<LRESULT>(item));
    }
    bool grid_has_focus() {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(grid(), nullptr), &info) && info.hwndFocus == grid();
    }
    // As a person would: click into the grid, go to the top, walk down.
    void select_row(int row) {
        ASSERT_TRUE(click(grid(), ClickMethod::MouseInput));
        ASSERT_TRUE(wait_until([&] { return grid_has_focus(); })) << "the grid never took the focus";
        send_keys({{VK_HOME, true}, {VK_HOME, false}});
        for (int i = 0; i < row; ++i) send_keys({{VK_DOWN, true}, {VK_DOWN, false}});
        ASSERT_TRUE(wait_until([&] { return focused_row() == row; })) << "focused row " << focused_row();
    }
    void right_click_grid() {
        const RECT r = screen_rect_of(grid());
        const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        INPUT inputs[3]{};
        const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
        for (int i = 0; i < 3; ++i) {
            inputs[i].type = INPUT_MOUSE;
            inputs[i].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
            inputs[i].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
            inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        }
        ASSERT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
    }
    // The program's pop-up menu window, once it is up.
    bool menu_shown() {
        struct Search {
            DWORD pid;
            bool found;
        } search{process_id(), false};
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                if (pid == s.pid && IsWindowVisible(hwnd) && class_of(hwnd) == L"#32768") s.found = true;
                return !s.found;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    void press(WORD key) { send_keys({{key, true}, {key, false}}); }
    void press_ctrl(WORD key) { send_keys({{VK_CONTROL, true}, {key, true}, {key, false}, {VK_CONTROL, false}}); }
    // Returns once the program is back in a message loop: a message box a
    // handler was going to show is then up.
    void settle() {
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutW(main_window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored));
    }
    void open_page() {
        ASSERT_NO_FATAL_FAILURE(click_caption(L"Process"));
        ASSERT_NE(control(Selector::by_caption(kProcessCaption)), nullptr);
    }

    std::wstring helper_exe_;
};

TEST_F(ProcessMonitorPage, ListsAHelperWithItsParentAndItsThreads) {
    ChildProcess helper;
    ASSERT_NO_FATAL_FAILURE(start_helper(helper));
    ASSERT_NO_FATAL_FAILURE(open_page());
    EXPECT_EQ(listview_columns(grid()),
              (std::vector<std::wstring>{L"Executable Program Name", L"Process id", L"Usage", L"Module id", L"Heap id",
                                         L"No. of Threads ", L"Parent Process id", L"PriClassBase"}));
    ASSERT_TRUE(wait_until([&] { return row_of(helper.id()) >= 0; })) << "helper " << helper.id() << " not listed";
    const auto row = rows()[static_cast<std::size_t>(row_of(helper.id()))];
    EXPECT_EQ(lower(row[0]), L"driver_fixture_app.exe");
    EXPECT_EQ(row[6], std::to_wstring(GetCurrentProcessId()));

    click_caption(L"Thread's List");
    ASSERT_NE(control(Selector::by_caption(kThreadCaption)), nullptr);
    EXPECT_EQ(listview_columns(grid()), (std::vector<std::wstring>{L"Thread id", L"Usage", L"Process id",
                                                                   L"Base Priority", L"Delta Priority"}));
    EXPECT_TRUE(wait_until([&] { return row_of(helper.id(), 2) >= 0; })) << "no thread of the helper";
    EXPECT_FALSE(shown(Selector::by_caption(kKill)));
}

TEST_F(ProcessMonitorPage, KillEndsTheChosenHelperOnlyAndKeepsTheRow) {
    ChildProcess first, second;
    ASSERT_NO_FATAL_FAILURE(start_helper(first));
    ASSERT_NO_FATAL_FAILURE(start_helper(second));
    ASSERT_NO_FATAL_FAILURE(open_page());
    ASSERT_TRUE(wait_until([&] { return row_of(first.id()) >= 0 && row_of(second.id()) >= 0; }));
    // The one listed higher goes, so its row still exists afterwards.
    ChildProcess& victim = row_of(first.id()) < row_of(second.id()) ? first : second;
    ChildProcess& survivor = &victim == &first ? second : first;
    const DWORD victim_id = victim.id();
    const int row = row_of(victim_id);
    ASSERT_NO_FATAL_FAILURE(select_row(row));

    click_caption(kKill);
    EXPECT_TRUE(victim.wait_for_exit(kDefaultTimeout));
    // Taken after the end, not while the system was still ending it.
    EXPECT_TRUE(wait_until([&] { return row_of(victim_id) < 0; })) << "process " << victim_id << " still listed";
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(victim.exit_code(), std::optional<DWORD>(0));
    EXPECT_TRUE(survivor.running());
    EXPECT_GE(row_of(survivor.id()), 0);
    EXPECT_EQ(focused_row(), row);
    EXPECT_FALSE(find_message_box(process_id(), Millis{0}).has_value());
}

TEST_F(ProcessMonitorPage, KillingAProcessAlreadyGoneShowsTheSystemsText) {
    ChildProcess helper;
    ASSERT_NO_FATAL_FAILURE(start_helper(helper));
    ASSERT_NO_FATAL_FAILURE(open_page());
    ASSERT_TRUE(wait_until([&] { return row_of(helper.id()) >= 0; }));
    const DWORD gone = helper.id();
    ASSERT_NO_FATAL_FAILURE(select_row(row_of(gone)));
    helper.terminate();
    // The system itself is the oracle for what it says. An ended process
    // lingers while anyone holds a handle to it.
    DWORD error = 0;
    ASSERT_TRUE(wait_until([&] {
        HANDLE process = OpenProcess(0x1F0FFF, TRUE, gone);
        if (!process) error = GetLastError();
        else CloseHandle(process);
        return process == nullptr;
    })) << "process " << gone << " can still be opened";
    const std::wstring expected = system_text(error);

    click_caption(kKill);
    const auto box = find_message_box(process_id());
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(box->text, expected);
    EXPECT_EQ(box->title, L"Veltrano");
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(press_message_box_button(box->hwnd, L"OK"));
    EXPECT_LT(row_of(gone), 0);
}

TEST_F(ProcessMonitorPage, TheModuleListHoldsOnlyTheProgramsOwnModules) {
    ASSERT_NO_FATAL_FAILURE(open_page());
    click_caption(L"Module's list");
    ASSERT_NE(control(Selector::by_caption(kModuleCaption)), nullptr);
    EXPECT_EQ(listview_columns(grid()),
              (std::vector<std::wstring>{L"Module Name", L"Physical File Path", L"Module id", L"Process id",
                                         L"Global Usage", L"Process Usage", L"Heap Module"}));
    const Rows modules = rows();
    ASSERT_GT(modules.size(), 1u);
    const std::wstring own = std::to_wstring(process_id());
    for (const auto& module : modules) EXPECT_EQ(module[3], own) << to_utf8(module[0]);
    EXPECT_TRUE(std::any_of(modules.begin(), modules.end(), [](const auto& m) {
        return lower(m[0]) == L"veltrano.exe" && lower(m[1]).ends_with(L"\\veltrano.exe");
    }));
    EXPECT_FALSE(shown(Selector::by_caption(kKill)));
}

TEST_F(ProcessMonitorPage, ARightClickOnTheGridOffersItsMenu) {
    ASSERT_NO_FATAL_FAILURE(open_page());
    ASSERT_NO_FATAL_FAILURE(select_row(0));
    ASSERT_NO_FATAL_FAILURE(right_click_grid());
    ASSERT_TRUE(wait_until([&] { return menu_shown(); })) << "no pop-up menu";
    // Processes, then Modules.
    press(VK_DOWN);
    press(VK_DOWN);
    press(VK_RETURN);
    EXPECT_NE(control(Selector::by_caption(kModuleCaption)), nullptr);
    EXPECT_TRUE(wait_until([&] { return !menu_shown(); }));
}

TEST_F(ProcessMonitorPage, MenuKeysWinOverTheBarAndCtrlCDoesNothingOnTheModuleList) {
    ChildProcess helper;
    ASSERT_NO_FATAL_FAILURE(start_helper(helper));
    ASSERT_NO_FATAL_FAILURE(open_page());
    ASSERT_TRUE(wait_until([&] { return row_of(helper.id()) >= 0; }));
    ASSERT_NO_FATAL_FAILURE(select_row(row_of(helper.id())));

    // On the bar Ctrl+2 and Ctrl+3 would be Network and Power.
    press_ctrl('2');
    ASSERT_NE(control(Selector::by_caption(kModuleCaption)), nullptr);
    press_ctrl('C');
    press_ctrl('3');
    ASSERT_NE(control(Selector::by_caption(kThreadCaption)), nullptr);
    press_ctrl('1');
    ASSERT_NE(control(Selector::by_caption(kProcessCaption)), nullptr);
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_FALSE(shown(Selector::by_caption(L"Your network boosting choices")));
    EXPECT_FALSE(shown(Selector::by_caption(L"Your power saving choices")));
    EXPECT_TRUE(helper.running());
    EXPECT_GE(row_of(helper.id()), 0);
    EXPECT_FALSE(find_message_box(process_id(), Millis{0}).has_value());
}

}  // namespace
}  // namespace veltrano::e2e
