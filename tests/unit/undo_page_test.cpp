// The Undo page, and the tip pages as the main window shows them.
#include "support/catalogue_fixture.h"
#include "support/fake_view.h"
#include "support/fakes.h"
#include "support/form_fixture.h"
#include "support/memory_registry.h"
#include "support/print.h"
#include "tips/tip_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using testing::ElementsAre;

namespace {

const std::string S = "SOFTWARE\\VELTRANO\\VERSION\\2.0\\";

class UndoPageTest : public fakes::CatalogueFixture {
protected:
    const tips::UndoLineDisplay& line(tips::Group g) { return tips::kUndoLines[static_cast<std::size_t>(g)]; }
    void set_undone(tips::Group g, std::uint32_t v) {
        reg.put(Root::LocalMachine, S, std::string(tips::group_display(line(g).group).undone.name), RegValue::number(v));
    }
    std::optional<RegValue> undone(tips::Group g) { return reg.get(Root::LocalMachine, S, std::string(tips::group_display(line(g).group).undone.name)); }
    void tick(tips::Group g) { widgets.set_checked(line(g).check_box, true); }
    bool enabled(tips::Group g) { return widgets.is_enabled(line(g).check_box); }
    bool checked(tips::Group g) { return widgets.is_checked(line(g).check_box); }
    std::optional<RegValue> flag(int tip) {
        return reg.get(Root::LocalMachine, S + core::tip_key(tip), "HasThisTipBeenApplied");
    }
    std::size_t count(const std::string& text) const { return std::count(log.lines.begin(), log.lines.end(), text); }
    std::string balloon() const { return dialogs.shown.empty() ? "" : dialogs.shown.back(); }
};

struct ShowRow {
    std::optional<std::uint32_t> flag;
    bool box_enabled;
    bool previous_selected;
};

class UndoShow : public UndoPageTest, public testing::WithParamInterface<ShowRow> {};
INSTANTIATE_TEST_SUITE_P(Flags, UndoShow,
                         testing::Values(ShowRow{std::nullopt, true, false}, ShowRow{0, true, false},
                                         ShowRow{1, false, false}, ShowRow{2, false, true}, ShowRow{7, true, false}));

TEST_P(UndoShow, EachLineFollowsItsGroupFlag) {
    for (const auto& l : tips::kUndoLines) {
        if (GetParam().flag) set_undone(l.group, *GetParam().flag);
        widgets.set_checked(l.check_box, true);
    }
    undo.refresh();
    for (const auto& l : tips::kUndoLines) {
        EXPECT_EQ(widgets.is_enabled(l.check_box), GetParam().box_enabled) << l.check_box.name();
        EXPECT_TRUE(widgets.is_checked(l.check_box)) << "showing leaves the ticks alone";
        EXPECT_EQ(widgets.is_checked(l.previous_radio), GetParam().previous_selected);
        EXPECT_EQ(widgets.is_checked(l.factory_radio), !GetParam().previous_selected);
    }
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(UndoPageTest, NothingTickedChangesNothingAndSaysSo) {
    undo.refresh();
    undo.undo();
    EXPECT_EQ(balloon(), "balloon Please make a choice before clicking on Undo button !");
    EXPECT_THAT(sound.played, ElementsAre("DONE"));
    EXPECT_TRUE(log.lines.empty());

    for (const auto& l : tips::kUndoLines) set_undone(l.group, 1);
    undo.refresh();
    undo.undo();
    EXPECT_EQ(balloon(), "balloon All Selected Options have already been UNDONE ");
}

TEST_F(UndoPageTest, SelectAllAndClearAllLeaveUndoneGroupsAlone) {
    set_undone(tips::Group::Power, 1);
    undo.refresh();
    undo.select_all();
    EXPECT_FALSE(checked(tips::Group::Power));
    EXPECT_TRUE(checked(tips::Group::Network) && checked(tips::Group::System) && checked(tips::Group::Customization));
    widgets.set_checked(line(tips::Group::Power).check_box, true);
    undo.clear_all();
    EXPECT_TRUE(checked(tips::Group::Power));
    EXPECT_FALSE(checked(tips::Group::Network));
}

TEST_F(UndoPageTest, TwoGroupsAreRestoredInPageOrderEachWithItsFlagThenTheirTipsDerivedOnce) {
    undo.refresh();
    tick(tips::Group::Customization);
    tick(tips::Group::Network);
    undo.undo();
    EXPECT_EQ(undone(tips::Group::Network), RegValue::number(1));
    EXPECT_EQ(undone(tips::Group::Customization), RegValue::number(1));
    EXPECT_EQ(undone(tips::Group::Power), std::nullopt);
    EXPECT_FALSE(enabled(tips::Group::Network));
    EXPECT_FALSE(checked(tips::Group::Network));
    EXPECT_EQ(count("Setting flag for TIP0001"), 4u) << "four comparisons of tip 1, in one derivation";
    EXPECT_EQ(count("Setting flag for TIP0009"), 0u) << "a group not undone keeps its flags";
    const auto at = [&](const std::string& text) { return std::find(log.lines.begin(), log.lines.end(), text) - log.lines.begin(); };
    EXPECT_LT(at("Starting the process of deleting CacheHashTableBucketSize"), at("Setting NetworkOptionsUndone"));
    EXPECT_LT(at("Setting NetworkOptionsUndone"), at("Starting the process of setting current user FontSmoothing"));
    EXPECT_LT(at("Starting the process of setting current user FontSmoothing"), at("Setting CustomizationOptionsUndone"));
    EXPECT_LT(at("Setting CustomizationOptionsUndone"), at("Setting flag for TIP0001"));
    EXPECT_EQ(balloon(), "balloon Congratulations ! Selected options have been UNDONE. ");
}

TEST_F(UndoPageTest, BoxTickedBeforeAShowDisabledItStillUndoesItsGroup) {
    undo.refresh();
    tick(tips::Group::System);
    set_undone(tips::Group::System, 1);
    undo.refresh();
    undo.undo();
    EXPECT_EQ(count("Starting the process of setting DisablePagingExecutive"), 1u);
    EXPECT_FALSE(checked(tips::Group::System));
}

TEST_F(UndoPageTest, PreviousSettingsChoiceWithNothingAppliedOnlyRecordsTheUndo) {
    undo.refresh();
    widgets.set_checked(line(tips::Group::Power).factory_radio, false);
    widgets.set_checked(line(tips::Group::Power).previous_radio, true);
    tick(tips::Group::Power);
    undo.undo();
    EXPECT_EQ(undone(tips::Group::Power), RegValue::number(2));
    EXPECT_EQ(count("Starting the process of setting WaitToKillAppTimeout"), 0u);
}

TEST_F(UndoPageTest, PowerRestoreLeavesTipsEightAndNineApplied) {
    for (int tip = 8; tip <= 12; ++tip) widgets.set_checked(tips::tip_display(tip).check_box, true);
    power.apply();
    power.refresh();
    undo.refresh();
    tick(tips::Group::Power);
    undo.undo();
    EXPECT_EQ(balloon(), "balloon Congratulations ! Selected options have been UNDONE. ");
    for (int tip : {8, 9}) EXPECT_EQ(flag(tip), RegValue::number(1)) << tip;
    for (int tip : {10, 11, 12}) EXPECT_EQ(flag(tip), RegValue::number(0)) << tip;
    power.refresh();
    EXPECT_FALSE(widgets.is_enabled("CheckBox9"));
    EXPECT_TRUE(widgets.is_enabled("CheckBox10"));
}

TEST_F(UndoPageTest, UndoingTheLastOpenGroupSaysAllAreUndone) {
    for (auto g : {tips::Group::Network, tips::Group::Power, tips::Group::System}) set_undone(g, 2);
    undo.refresh();
    tick(tips::Group::Customization);
    undo.undo();
    EXPECT_EQ(balloon(), "balloon All Selected Options have already been UNDONE ");
}

// ---- through the main window

class TipPagesInForm : public fakes::FormFixture {};
constexpr std::size_t kSystemEntry = 3, kUndoEntry = 5;

TEST_F(TipPagesInForm, NavigationShowsThePageThenMirrorsItsFlags) {
    form.start_up();
    set_tip_flag(13, 1);
    form.navigation_click(kSystemEntry);
    EXPECT_FALSE(view.is_enabled("CheckBox13"));
    EXPECT_TRUE(view.is_enabled("CheckBox14"));
    EXPECT_EQ(counter(std::string(core::kSystemUndone.name)), RegValue::number(0));

    view.set_checked("CheckBox14", true);
    static_cast<tips::TipPage*>(form.page(kSystemEntry))->apply();
    EXPECT_FALSE(view.is_enabled("CheckBox14"));
    EXPECT_EQ(dialogs.shown.back(), "balloon Congratulations ! Selected choices have been applied. ");

    form.navigation_click(kUndoEntry);
    EXPECT_TRUE(view.is_enabled("CheckBox51"));
    view.set_checked("CheckBox51", true);
    static_cast<tips::UndoPage*>(form.page(kUndoEntry))->undo();
    EXPECT_EQ(counter(std::string(core::kSystemUndone.name)), RegValue::number(1));
    form.navigation_click(kSystemEntry);
    EXPECT_TRUE(view.is_enabled("CheckBox14"));
}

}  // namespace
