// Start-up and navigation of the main window against a recorded view.
#include "shell/main_form.h"
#include "support/form_fixture.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"

#include "support/print.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

using namespace veltrano;
using platform::RegValue;
using ::testing::ElementsAre;
using platform::Root;

namespace {

using MainFormTest = fakes::FormFixture;
using Pages = std::vector<std::string>;

TEST_F(MainFormTest, FirstStartBuildsTheStoreThenWritesBothCounters) {
    form.start_up();
    // A bare machine has tips 5, 32, 34 and 40 applied from the start.
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtStart))), RegValue::number(4));
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtEnd))), RegValue::number(0));
    // Only what start-up writes after the set-up remains in the log.
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.front(), "Starting the process of writing AppliedTipsCounter_start_of_exec");
    EXPECT_EQ(form.machine_unc_name, "\\\\TUNEBOX");
    EXPECT_EQ(view.visible_pages(), Pages{"GroupBox3"});
    EXPECT_FALSE(view.log_visible());
    EXPECT_TRUE(view.is_visible("Label3"));
}

// A tip left in progress by a run that was stopped is finished before the
// counters read any flag, and only by the one writer of the machine.
TEST_F(MainFormTest, StartFinishesATipLeftInProgressBeforeCounting) {
    reg.open(Root::LocalMachine, "SOFTWARE\\VELTRANO", true);
    reg.put(Root::LocalMachine, kStore + core::tip_key(33), "WorkInProgress", RegValue::string("Apply"));
    gate.held_elsewhere = true;
    form.start_up();
    EXPECT_THAT(log.lines, ::testing::Contains(
                               "Another Veltrano is applying or undoing tips: any tip it leaves half done is finished at a later start"));
    EXPECT_EQ(reg.get(Root::LocalMachine, kStore + core::tip_key(33), "WorkInProgress"), RegValue::string("Apply"));

    gate.held_elsewhere = false;
    log.lines.clear();
    shell::MainForm again{services(), view, dialogs, log, "file:///C:/Veltrano/help"};
    again.start_up();
    EXPECT_EQ(log.lines.front(), "TIP0033 was being applied when Veltrano was stopped: finishing it from its records");
    EXPECT_EQ(reg.get(Root::CurrentUser, "Control Panel\\Desktop", "MenuShowDelay"), RegValue::string("15"));
    EXPECT_EQ(reg.get(Root::LocalMachine, kStore + core::tip_key(33), "WorkInProgress"), std::nullopt);
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtStart))), RegValue::number(1));
}

TEST_F(MainFormTest, LaterStartCountsWhatTheStoreSaysAndResetsTheEndCounter) {
    reg.open(Root::LocalMachine, "SOFTWARE\\VELTRANO", true);
    for (int tip : {1, 12, 48}) reg.put(Root::LocalMachine, kStore + core::tip_key(tip), "HasThisTipBeenApplied", RegValue::number(1));
    reg.put(Root::LocalMachine, kStore, std::string(core::counter_name(core::AppliedCounter::AtEnd)), RegValue::number(17));
    form.start_up();
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtStart))), RegValue::number(3));
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtEnd))), RegValue::number(0));
}

// The set-up judges each tip on its own: no error box, the tip named in the log.
TEST_F(MainFormTest, AWronglyTypedValueInTheSetUpIsNamedInTheLogAndStartUpGoesOn) {
    reg.put(Root::CurrentUser, "Control Panel\\Desktop", "AutoEndTasks", RegValue::number(1));
    form.start_up();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_THAT(log.lines, ::testing::Contains(::testing::HasSubstr(
                               "TIP0010 is taken as not applied: Invalid data type for 'AutoEndTasks'")));
    EXPECT_TRUE(counter(std::string(core::counter_name(core::AppliedCounter::AtStart))).has_value());
    EXPECT_EQ(view.visible_pages(), Pages{"GroupBox3"});
}

TEST_F(MainFormTest, AWronglyTypedEndCounterCostsOnlyThatCounter) {
    reg.open(Root::LocalMachine, "SOFTWARE\\VELTRANO", true);
    set_tip_flag(1, 1);
    reg.put(Root::LocalMachine, kStore, std::string(core::counter_name(core::AppliedCounter::AtEnd)), RegValue::string("0"));
    form.start_up();
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"Invalid data type for 'AppliedTipsCounter_end_of_exec'"});
    EXPECT_EQ(counter(std::string(core::counter_name(core::AppliedCounter::AtStart))), RegValue::number(1));
}

class NavigationTest : public MainFormTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(NavigationTest, EachEntryLeavesOnlyItsPageAndTheLogOnShortPages) {
    const shell::PageRow& row = shell::page_table()[GetParam()];
    form.start_up();
    // Arrive from every page in turn, so no page is left shown behind.
    for (std::size_t from = 0; from < shell::page_table().size(); ++from) {
        form.navigation_click(from);
        form.navigation_click(GetParam());
        EXPECT_EQ(view.visible_pages(), Pages{std::string(row.group_box)}) << "from " << from;
        EXPECT_EQ(view.log_visible(), row.height == shell::kShortPageHeight) << "from " << from;
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, NavigationTest, ::testing::Range<std::size_t>(0, 9), [](const auto& info) {
    return std::string(shell::page_table()[info.param].group_box);
});

// A page that writes down what the navigation told it.
struct Probe : ui::Page {
    explicit Probe(std::vector<std::string>& said, std::string name) : said(said), name(std::move(name)) {}
    void created() override { said.push_back(name + " created"); }
    void shown() override { said.push_back(name + " shown"); }
    void hidden() override { said.push_back(name + " hidden"); }
    std::vector<std::string>& said;
    std::string name;
};

std::vector<std::string> said;

const shell::PageRow kProbeRows[] = {
    {"One", "Image1", false, ui::GroupBox{"GroupBoxA"}, "A", shell::kTallPageHeight,
     [](shell::PageContext&) -> std::unique_ptr<ui::Page> { return std::make_unique<Probe>(said, "A"); }},
    {"Two", "Image2", true, ui::GroupBox{"GroupBoxB"}, "B", shell::kShortPageHeight,
     [](shell::PageContext&) -> std::unique_ptr<ui::Page> { return std::make_unique<Probe>(said, "B"); }},
    {"Three", "Image3", true, ui::GroupBox{"GroupBoxC"}, "C", shell::kShortPageHeight, nullptr},
};

// The main window's logic over the three probe pages.
class Navigator : public ::testing::Test {
protected:
    Navigator() { said.clear(); }
    fakes::MemoryRegistry reg;
    fakes::FakeTime time;
    fakes::FakeSystemInfo sys;
    fakes::MemoryLog log;
    fakes::RecordingView view;
    fakes::FakeDialogs dialogs;
    fakes::FakeSound sound;
    fakes::FakeShutdown shutdown;
    fakes::FakeBrowser browser;
    fakes::FakeFileSystem files;
    fakes::FakeAnsiText ansi;
    fakes::FakeProcesses processes;
    fakes::FakeShell shell;
    shell::MainForm form{{reg, sys, time, sound, shutdown, browser, files, processes, shell, ansi}, view, dialogs, log, "", kProbeRows};
};

TEST_F(Navigator, TellsEachPageOfItsTurnsAndTakesFramesWithoutLogic) {
    form.start_up();
    EXPECT_EQ(said, (std::vector<std::string>{"B hidden", "A created", "B created"}));
    said.clear();
    form.navigation_click(1);
    form.navigation_click(2);
    EXPECT_EQ(said, (std::vector<std::string>{"A hidden", "B shown", "A hidden", "B hidden"}));
    EXPECT_TRUE(view.is_visible("GroupBoxC"));
    EXPECT_FALSE(view.is_visible("GroupBoxB"));
    EXPECT_TRUE(view.log_visible());
    form.navigation_click(form.navigation_entries() - 1);
    EXPECT_TRUE(view.terminated);
}

// The window sets up the store, plays the start chime and creates the hidden
// pages after its first paint: each page is created once, after every page but the first is
// hidden, and the page being created is named, so the window draws that page
// alone for the controls it asks for.
TEST_F(Navigator, LeavesTheStoreAndTheHiddenPagesForLaterWhenAsked) {
    form.start_up(true);
    EXPECT_EQ(said, (std::vector<std::string>{"B hidden", "A created"}));
    EXPECT_FALSE(form.page_being_created().has_value());
    EXPECT_FALSE(reg.key_exists(platform::Root::LocalMachine, "SOFTWARE\\VELTRANO"));
    EXPECT_TRUE(sound.played.empty());
    form.finish_start_up();
    EXPECT_TRUE(reg.key_exists(platform::Root::LocalMachine, "SOFTWARE\\VELTRANO"));
    form.finish_start_up();
    EXPECT_THAT(sound.played, ElementsAre("START"));
    EXPECT_EQ(said, (std::vector<std::string>{"B hidden", "A created", "B created"}));
    EXPECT_FALSE(form.page_being_created().has_value());
}

// Ctrl+Tab and Ctrl+Shift+Tab go round the pages the user may open, and
// every page shown is made current for the bar and the keyboard's focus.
TEST_F(MainFormTest, NextAndPreviousPageGoRoundThePagesAndMakeEachCurrent) {
    form.start_up();
    const std::size_t pages = shell::page_table().size();
    for (std::size_t i = 0; i < pages; ++i) form.next_page();
    form.next_page(true);
    std::vector<std::size_t> expected{0};
    for (std::size_t i = 1; i <= pages; ++i) expected.push_back(i % pages);
    expected.push_back(pages - 1);
    EXPECT_EQ(view.current_entries, expected);
    EXPECT_EQ(view.visible_pages(), Pages{std::string(shell::page_table().back().group_box)});

    sys.ver.platform_id = 1;  // outside NT only the first page may open
    form.next_page();
    form.next_page(true);
    EXPECT_EQ(form.current_page(), 0u);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainFormTest, OutsideNtOnlyMainAndExitWork) {
    sys.ver.platform_id = 1;
    form.start_up();
    EXPECT_FALSE(view.is_visible("Label3"));
    for (std::size_t entry = 1; entry <= 8; ++entry) form.navigation_click(entry);
    EXPECT_EQ(std::count(dialogs.shown.begin(), dialogs.shown.end(), "not compatible"), 8);
    EXPECT_EQ(view.visible_pages(), Pages{"GroupBox3"});
    form.navigation_click(0);
    EXPECT_EQ(view.visible_pages(), Pages{"GroupBox3"});
    form.navigation_click(9);
    EXPECT_TRUE(view.terminated);
}

}  // namespace
