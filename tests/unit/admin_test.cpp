// The admin tools against an in-memory registry and recorded controls: what
// the auto logon's "Apply changes" writes and records and where it stops,
// what the launchers open, and which sub-page shows when.
#include "admin/admin_page.h"
#include "core/error.h"
#include "support/fake_view.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using ::testing::ElementsAre;

namespace {

const std::string kWinlogon = admin::kWinlogonKey;
const std::string kRecords = "SOFTWARE\\VELTRANO\\VERSION\\2.0\\TIP0049\\";

class Admin : public ::testing::Test {
protected:
    fakes::MemoryRegistry reg;
    fakes::FakeTime time;
    fakes::MemoryLog log;
    fakes::FakeWidgets widgets;
    fakes::FakeDialogs dialogs;
    fakes::FakeSound sound;
    fakes::FakeShell shell;
    fakes::FakeSecrets secrets;
    core::RegistryPrimitives prim{reg, log};
    core::TipStateStore store{prim, time, {}};
    admin::AdminPage page{{prim, store, widgets, dialogs, sound, shell, &secrets},
                          std::make_unique<admin::TimeSyncPage>(prim, store, time, widgets, nullptr)};

    // The auto logon sub-page as it starts: every first radio button checked.
    void fill_form(const std::string& user, const std::string& password) {
        for (const char* radio : {"RadioButton13", "RadioButton9", "RadioButton11", "RadioButton15"})
            widgets.set_checked(radio, true);
        widgets.set_text("Edit1", user);
        widgets.set_text("Edit2", password);
    }
    void choose(const char* radio, const char* other) {
        widgets.set_checked(radio, true);
        widgets.set_checked(other, false);
    }
    std::optional<RegValue> winlogon(const std::string& name) const {
        return reg.get(Root::LocalMachine, kWinlogon, name);
    }
    std::optional<RegValue> record(const char* side, const std::string& name) const {
        return reg.get(Root::LocalMachine, kRecords + side, name);
    }
};

TEST_F(Admin, EnablingWritesTheChosenValuesAndKeepsThePasswordAsASecretOnly) {
    reg.put(Root::LocalMachine, kWinlogon, "DefaultPassword", RegValue::string("old secret"));
    reg.put(Root::LocalMachine, kWinlogon, "DefaultDomainName", RegValue::string("WORK"));
    fill_form("  ann ", " s3cret ");
    choose("RadioButton10", "RadioButton9");  // shift override: disable
    widgets.set_text("Edit5", "Notice");      // a notice without text is no notice
    widgets.set_text("Edit6", "  ");

    page.auto_logon().apply_changes();

    EXPECT_EQ(winlogon("DefaultUserName"), RegValue::string("ann"));
    EXPECT_EQ(secrets.kept["DefaultPassword"], "s3cret");
    EXPECT_FALSE(winlogon("DefaultPassword")) << "an older password left readable in the registry";
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(winlogon("IgnoreShiftOverride"), RegValue::string("0"));
    EXPECT_EQ(winlogon("ForceAutoLogon"), RegValue::string("1"));
    EXPECT_EQ(winlogon("DefaultDomainName"), RegValue::string("WORK")) << "an empty domain is left alone";
    EXPECT_FALSE(winlogon("AutoLogonCount"));
    EXPECT_FALSE(winlogon("LegalNoticeCaption"));
    EXPECT_EQ(record("NEW_VALUES", "DefaultPassword"), RegValue::string(admin::kPasswordMask));
    EXPECT_EQ(record("OLD_VALUES", "DefaultPassword"), RegValue::string(admin::kPasswordMask));
    EXPECT_THAT(dialogs.shown, ElementsAre("balloon " + std::string(admin::kAutoLogonEnabled)));
    EXPECT_THAT(sound.played, ElementsAre("DONE"));
}

TEST_F(Admin, ACountThatIsNoWholeNumberStopsAtTheCountWithWhatCameBeforeKept) {
    fill_form("ann", "pw");
    widgets.set_text("Edit3", "WORK");
    widgets.set_text("Edit4", " 3x ");
    widgets.set_text("Edit5", "Notice");
    widgets.set_text("Edit6", "Authorised users only");
    try {
        page.auto_logon().apply_changes();
        FAIL() << "no conversion error";
    } catch (const core::VeltranoError& e) {
        EXPECT_STREQ(e.what(), "'3x' is not a valid integer value");
    }
    EXPECT_EQ(winlogon("DefaultDomainName"), RegValue::string("WORK"));
    EXPECT_FALSE(winlogon("IgnoreShiftOverride"));
    EXPECT_FALSE(winlogon("LegalNoticeCaption")) << "the legal notice comes after";
    EXPECT_TRUE(dialogs.shown.empty());

    widgets.set_text("Edit4", "3");
    page.auto_logon().apply_changes();
    EXPECT_EQ(winlogon("AutoLogonCount"), RegValue::number(3));
    EXPECT_EQ(winlogon("LegalNoticeText"), RegValue::string("Authorised users only"));

    choose("RadioButton16", "RadioButton15");  // disabling empties both, recorded
    choose("RadioButton14", "RadioButton13");
    page.auto_logon().apply_changes();
    EXPECT_EQ(winlogon("LegalNoticeCaption"), RegValue::string(""));
    EXPECT_EQ(record("OLD_VALUES", "LegalNoticeText"), RegValue::string("Authorised users only"));
}

// Every text below the program's own key, which every user can read.
std::vector<std::string> texts_below(platform::Registry& registry, const std::string& path) {
    std::vector<std::string> found;
    auto key = registry.open(Root::LocalMachine, path, false);
    if (!key) return found;
    for (const std::string& name : key->value_names())
        if (auto value = key->query(name); value && value->kind == platform::ValueKind::String)
            found.push_back(value->text);
    for (const std::string& sub : key->subkey_names())
        for (std::string& text : texts_below(registry, path + "\\" + sub)) found.push_back(std::move(text));
    return found;
}

TEST_F(Admin, DisablingRemovesThePasswordAndSaysSo) {
    fill_form("ann", "s3cret");
    page.auto_logon().apply_changes();
    ASSERT_TRUE(secrets.holds("DefaultPassword"));

    choose("RadioButton14", "RadioButton13");
    log.lines.clear();
    page.auto_logon().apply_changes();
    EXPECT_EQ(winlogon("AutoAdminLogon"), RegValue::string("0"));
    EXPECT_FALSE(winlogon("DefaultPassword"));
    EXPECT_FALSE(secrets.holds("DefaultPassword"));
    EXPECT_EQ(winlogon("DefaultUserName"), RegValue::string("ann"));
    EXPECT_EQ(record("OLD_VALUES", "DefaultPassword"), RegValue::string(admin::kPasswordMask));
    EXPECT_EQ(record("NEW_VALUES", "DefaultPassword"), RegValue::string(""));
    EXPECT_THAT(texts_below(reg, core::kStoreRoot), ::testing::Not(::testing::Contains("s3cret")));
    EXPECT_THAT(log.lines, ::testing::IsSupersetOf({"Starting the process of disabling autologon feature",
                                                    "Starting the process of removing default password"}));
    EXPECT_THAT(log.lines, ::testing::Not(::testing::Contains("Starting the process of enabling autologon feature")));
}

// Where Windows will not keep the secret, the user decides before any write
// (Yes, the password in clear, is shown under Wine, which always refuses).
TEST_F(Admin, ARefusedSecretAsksAndNoWritesNoPasswordWhileTheMaskKeepsTheStoredOne) {
    secrets.refusal = "The object was not found.";
    fill_form("ann", "s3cret");
    page.auto_logon().apply_changes();
    EXPECT_THAT(dialogs.questions, ElementsAre(admin::keep_in_clear_question("The object was not found.")));
    EXPECT_EQ(winlogon("AutoAdminLogon"), RegValue::string("1"));
    EXPECT_FALSE(winlogon("DefaultPassword"));
    EXPECT_FALSE(record("NEW_VALUES", "DefaultPassword")) << "a password recorded that was never written";
    EXPECT_THAT(log.lines, ::testing::Contains(::testing::StartsWith("No default password was written")));

    // The mask left as it was keeps the stored password: no question, no write.
    reg.put(Root::LocalMachine, kWinlogon, "DefaultPassword", RegValue::string("kept"));
    dialogs.questions.clear();
    page.shown();
    ASSERT_EQ(widgets.text("Edit2"), admin::kPasswordMask);
    widgets.set_checked("RadioButton13", true);
    page.auto_logon().apply_changes();
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(winlogon("DefaultPassword"), RegValue::string("kept"));
}

TEST(AdminCount, TakesWholeNumbersOnly) {
    EXPECT_EQ(admin::to_integer("+3"), 3);
    EXPECT_EQ(admin::to_integer("-2147483648"), -2147483648LL);
    for (const char* text : {"", "abc", "3.0", "1e3", "0x10", "2147483648", "+", "-", "++3", "3 4"})
        EXPECT_THROW(admin::to_integer(text), core::VeltranoError) << text;
}

TEST_F(Admin, OpeningShowsTheAutoLogonSubPageWithTheWinlogonValues) {
    reg.put(Root::LocalMachine, kWinlogon, "DefaultPassword", RegValue::string("pw"));
    for (std::string_view sub : admin::kSubPages) widgets.set_visible(sub, true);
    widgets.set_text("Edit4", "7");
    page.shown();
    EXPECT_EQ(widgets.text("Edit2"), admin::kPasswordMask) << "the password itself read back into the window";
    EXPECT_EQ(widgets.text("Edit4"), "") << "no count: nothing to write back as 0";
    EXPECT_TRUE(widgets.is_visible("GroupBox19"));
    for (const char* other : {"GroupBox26", "GroupBox27", "GroupBox28"}) EXPECT_FALSE(widgets.is_visible(other));

    reg.put(Root::LocalMachine, kWinlogon, "AutoLogonCount", RegValue::number(0));
    page.show_auto_logon();
    EXPECT_EQ(widgets.text("Edit4"), "0");
}

TEST_F(Admin, TheButtonsSwitchSubPagesAndOnlyTimeSyncKeepsTimer2) {
    page.hidden();  // at start-up, before the page is drawn: no Timer2 yet
    EXPECT_FALSE(widgets.controls.count("Timer2"));
    page.created();
    page.shown();
    page.show_time_sync();
    EXPECT_TRUE(widgets.is_visible("GroupBox28"));
    EXPECT_FALSE(widgets.is_visible("GroupBox19"));
    // Shown as a page of its own: its clock read, its timer running.
    EXPECT_FALSE(widgets.text("Label36").empty());
    EXPECT_TRUE(widgets.is_enabled("Timer2"));

    const std::function<void()> clicks[] = {[&] { page.show_auto_logon(); }, [&] { page.show_control_panel(); },
                                            [&] { page.show_utility_apps(); }, [&] { page.hidden(); },
                                            [&] { page.shown(); }};  // "Admin" clicked again
    for (const auto& click : clicks) {
        page.show_time_sync();
        ASSERT_TRUE(widgets.is_visible("GroupBox28"));
        widgets.set_enabled("Timer2", true);
        click();
        EXPECT_FALSE(widgets.is_enabled("Timer2"));
        EXPECT_FALSE(widgets.is_visible("GroupBox28") && widgets.is_visible("GroupBox18"));
    }
}

TEST_F(Admin, ControlPanelHidesExactlyTheAppletsSetToNo) {
    reg.put(Root::CurrentUser, admin::kDontLoadKey, "access.cpl", RegValue::string("no"));
    reg.put(Root::CurrentUser, admin::kDontLoadKey, "desk.cpl", RegValue::string("No"));
    page.show_control_panel();
    for (const admin::Applet& applet : admin::kApplets)
        EXPECT_EQ(widgets.is_checked(applet.check_box), applet.value_name == "desk.cpl") << applet.check_box.name();

    page.control_panel().apply_changes();
    EXPECT_FALSE(reg.get(Root::CurrentUser, admin::kDontLoadKey, "access.cpl")) << "a clear box deletes its value";
    EXPECT_EQ(reg.get(Root::CurrentUser, admin::kDontLoadKey, "desk.cpl"), RegValue::string("No"));
    for (const admin::Applet& applet : admin::kApplets)
        EXPECT_EQ(reg.get(Root::LocalMachine, "SOFTWARE\\VELTRANO\\VERSION\\2.0\\TIP0050\\NEW_VALUES",
                          std::string(applet.value_name)),
                  RegValue::string(applet.value_name == "desk.cpl" ? "No" : "Yes"));
    EXPECT_THAT(dialogs.shown, ElementsAre("balloon " + std::string(admin::kSettingsSaved)));
}

TEST_F(Admin, EachLauncherOpensItsOwnSnapInInTheSystemsFolderAndAMissingOneIsSaid) {
    shell.missing.insert("D:\\WINNT\\system32\\ntmsmgr.msc");
    for (std::size_t i = 0; i < admin::kLaunchers.size(); ++i) page.launchers().launch(i);
    EXPECT_EQ(shell.opened.at(8), "D:\\WINNT\\system32\\gpedit.msc");  // Image34
    EXPECT_EQ(std::set<std::string>(shell.opened.begin(), shell.opened.end()).size(), admin::kLaunchers.size());
    EXPECT_THAT(dialogs.messages, ElementsAre("D:\\WINNT\\system32\\ntmsmgr.msc is not on this computer: this "
                                              "edition of Windows does not have that console."));
}

}  // namespace
