// One tip taken back alone, from its page's context menu: what it changes
// of the machine and of the store, and what the group keeps.
#include "support/catalogue_fixture.h"
#include "support/reg_file.h"
#include "support/xp_machine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using testing::HasSubstr;

namespace {

const std::string kFileSystem = "\\SYSTEM\\CurrentControlSet\\Control\\FileSystem";

// Tips 17, 18 and 20 of the system group applied on the XP machine, where
// the administrator had set tip 17's value to a figure of their own.
class TipUndo : public fakes::CatalogueFixture, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(fakes::load_reg_file(reg, VELTRANO_MACHINE_REG));
        fakes::place_extras(reg);
        reg.put(Root::LocalMachine, kFileSystem, "NtfsMftZoneReservation", RegValue::number(3));
        store.check_for_previous_install();
        for (int tip : {17, 18, 20}) widgets.set_checked(tips::tip_display(tip).check_box, true);
        system.refresh();
        system.apply();
        for (int tip = 13; tip <= 30; ++tip) ASSERT_EQ(store.is_applied(tip), tip == 17 || tip == 18 || tip == 20) << tip;
    }
    std::int32_t group_undone() { return store.group_undone(core::kSystemUndone); }
    bool holds_records(int tip) { return tips::has_previous_settings(ctx.services, tip); }
    bool previous() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(FactoryOrPrevious, TipUndo, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Previous" : "Factory"); });

TEST_P(TipUndo, OnlyThatTipGoesAndTheGroupIsOfferedUntilItsLastTipIsUndone) {
    tips::undo_tip(ctx.services, 17, previous());
    EXPECT_EQ(reg.get(Root::LocalMachine, kFileSystem, "NtfsMftZoneReservation"),
              previous() ? std::optional(RegValue::number(3)) : std::nullopt);
    EXPECT_FALSE(store.is_applied(17));
    EXPECT_EQ(holds_records(17), !previous()) << "the previous settings are used up; the factory defaults keep them";
    EXPECT_EQ(reg.get(Root::LocalMachine, kFileSystem, "NtfsDisable8dot3NameCreation"), RegValue::number(1));
    EXPECT_TRUE(store.is_applied(18) && store.is_applied(20));
    EXPECT_TRUE(holds_records(18) && holds_records(20));
    EXPECT_EQ(group_undone(), tips::kTipsApplied);
    EXPECT_FALSE(store.work_in_progress(17));

    log.lines.clear();
    tips::undo_tip(ctx.services, 17, previous());
    EXPECT_TRUE(log.lines.empty()) << "a tip not applied is left alone";

    tips::undo_tip(ctx.services, 20, !previous());
    EXPECT_EQ(group_undone(), tips::kTipsApplied);
    tips::undo_tip(ctx.services, 18, previous());
    EXPECT_EQ(group_undone(), previous() ? tips::kRestoredToPrevious : tips::kRestoredToFactory);
    EXPECT_FALSE(tips::group_has_applied_tip(ctx.services, tips::Group::System));
}

// What Yes does the end-to-end test shows on the screen.
TEST_P(TipUndo, TheMenuOffersOnlyAppliedTipsAndNoChangesNothing) {
    EXPECT_TRUE(widgets.is_enabled(tips::undo_tip_menu_item(17, previous())));
    EXPECT_FALSE(widgets.is_enabled(tips::undo_tip_menu_item(19, previous())));
    system.undo_tip(17, previous());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(store.is_applied(17));
}

}  // namespace
