// Start-up and navigation of the main window against a recorded view.
#include "platform/memory/memory_registry.h"
#include "shell/main_form.h"
#include "support/form_fixture.h"

#include "support/print.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using shell::Page;

namespace {

using MainFormTest = fakes::FormFixture;

TEST_F(MainFormTest, FirstStartBuildsTheStoreThenWritesBothCounters) {
    form.FormCreate();
    // A bare machine has tips 5, 32, 34 and 40 applied from the start.
    EXPECT_EQ(counter(shell::kStartCounter), RegValue::number(4));
    EXPECT_EQ(counter(shell::kEndCounter), RegValue::number(0));
    // Only what start-up writes after the set-up remains in the log.
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.front(), "Starting the process of writing AppliedTipsCounter_start_of_exec");
    EXPECT_EQ(form.machine_unc_name, "\\\\TUNEBOX");
    EXPECT_EQ(form.poll_countdown, 30);
    EXPECT_EQ(view.visible_pages(), std::vector<Page>{Page::Welcome});
    EXPECT_FALSE(view.log_visible);
    EXPECT_FALSE(view.timer2);
    EXPECT_TRUE(view.labels_visible);
    EXPECT_EQ(view.headings, (std::map<int, std::string>{{0, "Registry Key"}, {1, "Last Modification"},
                                                         {2, "String Value"}, {3, "File/Path reference"}}));
    EXPECT_FALSE(view.regclean_buttons);
    EXPECT_EQ(form.next_free_row, 1);
    EXPECT_TRUE(form.select_first_pending);
}

TEST_F(MainFormTest, LaterStartCountsWhatTheStoreSaysAndResetsTheEndCounter) {
    reg.open(Root::LocalMachine, "SOFTWARE\\VELTRANO", true);
    for (int tip : {1, 12, 48}) reg.put(Root::LocalMachine, kStore + core::tip_key(tip), "HasThisTipBeenApplied", RegValue::number(1));
    reg.put(Root::LocalMachine, kStore, shell::kEndCounter, RegValue::number(17));
    form.FormCreate();
    EXPECT_EQ(counter(shell::kStartCounter), RegValue::number(3));
    EXPECT_EQ(counter(shell::kEndCounter), RegValue::number(0));
}

TEST_F(MainFormTest, ATypeErrorInTheSetUpIsShownAndStartUpGoesOn) {
    reg.put(Root::CurrentUser, "Control Panel\\Desktop", "AutoEndTasks", RegValue::number(1));
    form.FormCreate();
    EXPECT_EQ(view.errors, std::vector<std::string>{"Invalid data type for 'AutoEndTasks'"});
    EXPECT_TRUE(counter(shell::kStartCounter).has_value());
    EXPECT_EQ(view.visible_pages(), std::vector<Page>{Page::Welcome});
}

struct Visit {
    std::size_t entry;
    Page page;
    bool log;
};

class NavigationTest : public MainFormTest, public ::testing::WithParamInterface<Visit> {};

TEST_P(NavigationTest, EachEntryLeavesOnlyItsPageAndTheLogOnShortPages) {
    form.FormCreate();
    // Arrive from every page in turn, so no hide method is missed.
    for (std::size_t from = 0; from < 9; ++from) {
        form.navigation_click(from);
        form.navigation_click(GetParam().entry);
        EXPECT_EQ(view.visible_pages(), std::vector<Page>{GetParam().page}) << "from " << from;
        EXPECT_EQ(view.log_visible, GetParam().log) << "from " << from;
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, NavigationTest,
                         ::testing::Values(Visit{0, Page::Welcome, false}, Visit{1, Page::Network, true},
                                           Visit{2, Page::Power, true}, Visit{3, Page::System, true},
                                           Visit{4, Page::Customize, true}, Visit{5, Page::Undo, true},
                                           Visit{6, Page::RegClean, false}, Visit{7, Page::Process, false},
                                           Visit{8, Page::Admin, true}),
                         [](const auto& info) {
                             return std::string(shell::page_info(info.param.page).group_box);
                         });

TEST_F(MainFormTest, LeavingAdminStopsTheTimeSyncClock) {
    form.FormCreate();
    form.Image_admin_optionsClick();
    EXPECT_EQ(view.calls.back(), "auto logon panel");
    view.timer2 = true;
    form.Image_power_optionsClick();
    EXPECT_FALSE(view.timer2);
}

TEST_F(MainFormTest, OutsideNtOnlyMainAndExitWork) {
    sys.ver.platform_id = 1;
    form.FormCreate();
    EXPECT_FALSE(view.labels_visible);
    for (std::size_t entry = 1; entry <= 8; ++entry) form.navigation_click(entry);
    EXPECT_EQ(std::count(dialogs.shown.begin(), dialogs.shown.end(), "not compatible"), 8);
    EXPECT_EQ(view.visible_pages(), std::vector<Page>{Page::Welcome});
    form.Image_welcome_screenClick();
    EXPECT_EQ(view.visible_pages(), std::vector<Page>{Page::Welcome});
    form.Image_exit_optionsClick();
    EXPECT_TRUE(view.terminated);
}

}  // namespace
