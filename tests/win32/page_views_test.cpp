// Every page whose row makes logic is drawn by a view that takes that
// logic: a page name mistyped or a view bound to the wrong logic would
// otherwise show as an empty page, found only by someone clicking there.
#include "platform/win32/text.h"
#include "shell/page_table.h"
#include "shell/win32/main_window.h"
#include "shell/welcome.h"
#include "shell/win32/page_views.h"
#include "support/form_fixture.h"

#include <string>
#include <vector>

namespace veltrano {

namespace {

using PageViews = fakes::FormFixture;

TEST_F(PageViews, EveryPageWithLogicHasTheViewForThatLogic) {
    const auto rows = shell::page_table();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(std::string(rows[i].group_box));
        ui::Page* logic = form.page(i);
        ASSERT_NE(logic, nullptr) << "every page of the program has logic";
        const ui::win32::PageView* view = shell::win32::find_page_view(rows[i].group_box);
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->fits(*logic));
    }
}

// The main window made on the same fakes: a page's group box comes at the
// page's first use, and still takes its place in the pages' order, which is
// the order Tab walks them in and the order the log follows.
class MainWindowOnFakes : public fakes::FormFixture {
protected:
    shell::win32::Win32Dialogs dialogs{GetModuleHandleW(nullptr)};
    shell::win32::MainWindow window{GetModuleHandleW(nullptr),
                                    {reg, sys, time, sound, shutdown, browser, files, processes, shell, ansi}, dialogs};
};

TEST_F(MainWindowOnFakes, PagesMadeLateStandInTheTableOrder) {
    ASSERT_TRUE(window.create());
    const auto rows = shell::page_table();
    window.set_visible(rows[6].group_box, true);
    window.set_visible(rows[2].group_box, true);
    std::vector<std::wstring> order;
    for (HWND child = GetWindow(window.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[128] = {};
        GetWindowTextW(child, text, 128);
        order.emplace_back(text);
    }
    const auto title = [&](std::size_t row) { return platform::win32::to_utf16(std::string(rows[row].title)); };
    // The navigation bar, the pages, then the log: its strip, its caption
    // and its list, the caption right before the list that it names.
    EXPECT_EQ(order, (std::vector<std::wstring>{L"Navigation", title(0), title(2), title(6), L"",
                                                L"Log of activities carried out in this session", L""}));
}

// The welcome page's facts are drawn by one window, not a window each: the
// logic still sets, reads and hides each by its name, and the window's text
// is the shown ones, a line each, for whoever reads the screen.
TEST_F(MainWindowOnFakes, LabelsOnASheetAnswerByName) {
    ASSERT_TRUE(window.create());
    window.set_text(shell::kCpu2Label, "CPU 2: a second processor");
    window.set_text(shell::kWindowsNameLabel, "Windows Name: fake");
    EXPECT_EQ(window.text(shell::kCpu2Label), "CPU 2: a second processor");
    HWND welcome = FindWindowExW(window.hwnd(), nullptr, nullptr, L"Main Screen");
    HWND sheet = FindWindowExW(welcome, nullptr, L"VeltranoSheet", nullptr);
    ASSERT_NE(sheet, nullptr);
    const auto lines = [&] {
        wchar_t text[4096] = {};
        GetWindowTextW(sheet, text, 4096);
        return std::wstring(text);
    };
    EXPECT_NE(lines().find(L"OS Name: \r\nWindows Name: fake\r\n"), std::wstring::npos);
    window.set_visible(shell::kCpu2Label, false);
    EXPECT_FALSE(window.is_visible(shell::kCpu2Label));
    EXPECT_EQ(lines().find(L"a second processor"), std::wstring::npos);
}

}  // namespace

}  // namespace veltrano
