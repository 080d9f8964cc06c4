// The admin tools against an in-memory registry and recorded controls: what
// "Apply changes" writes and records on the auto logon and control panel
// sub-pages, where it stops, what the launchers open, and which sub-page
// shows when.
#include "admin/admin_page.h"
#include "core/error.h"
#include "platform/memory/memory_registry.h"
#include "support/fake_view.h"
#include "support/fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using ::testing::ElementsAre;

namespace {

const std::string kWinlogon = admin::kWinlogonKey;
const std::string kStore = "SOFTWARE\\VELTRANO\\VERSION\\2.0\\";

// Writes down what the admin page asks of its time sync sub-page.
class RecordingPage : public ui::Page {
public:
    explicit RecordingPage(std::vector<std::string>& calls) : calls_(calls) {}
    void created() override { calls_.push_back("created"); }
    void shown() override { calls_.push_back("shown"); }
    void destroyed() override { calls_.push_back("destroyed"); }

private:
    std::vector<std::string>& calls_;
};

class Admin : public ::testing::Test {
protected:
    platform::MemoryRegistry reg;
    fakes::FakeTime time;
    ui::MemoryLog log;
    fakes::FakeWidgets widgets;
    fakes::FakeDialogs dialogs;
    fakes::FakeSound sound;
    fakes::FakeShell shell;
    core::RegistryPrimitives prim{reg, log};
    core::TipStateStore store{prim, time, {}};
    admin::Context ctx{prim, store, widgets, dialogs, sound, shell};
    std::vector<std::string> time_sync_calls;
    admin::AdminPage page{ctx, std::make_unique<RecordingPage>(time_sync_calls)};

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
    std::optional<RegValue> record(const std::string& tip, const char* side, const std::string& name) const {
        return reg.get(Root::LocalMachine, kStore + tip + "\\" + side, name);
    }
    // Every string below the program's own key, for what must not be there.
    bool store_holds(const std::string& text) const {
        std::function<bool(const std::string&)> walk = [&](const std::string& path) {
            auto key = const_cast<platform::MemoryRegistry&>(reg).open(Root::LocalMachine, path, false);
            if (!key) return false;
            for (const auto& name : key->value_names())
                if (key->query(name)->text == text) return true;
            for (const auto& sub : key->subkey_names())
                if (walk(path + "\\" + sub)) return true;
            return false;
        };
        return walk("SOFTWARE\\VELTRANO");
    }
};

TEST_F(Admin, EnablingWritesTheChosenValuesAndKeepsThePasswordOutOfTheHistory) {
    reg.put(Root::LocalMachine, kWinlogon, "DefaultPassword", RegValue::string("old secret"));
    reg.put(Root::LocalMachine, kWinlogon, "DefaultDomainName", RegValue::string("WORK"));
    fill_form("  ann ", " s3cret ");
    choose("RadioButton10", "RadioButton9");  // shift override: disable

    page.auto_logon().BitBtn23Click();

    EXPECT_EQ(winlogon("AutoAdminLogon"), RegValue::string("1"));
    EXPECT_EQ(winlogon("DefaultUserName"), RegValue::string("ann"));
    EXPECT_EQ(winlogon("DefaultPassword"), RegValue::string("s3cret"));
    EXPECT_EQ(winlogon("IgnoreShiftOverride"), RegValue::string("0"));
    EXPECT_EQ(winlogon("ForceAutoLogon"), RegValue::string("1"));
    EXPECT_EQ(winlogon("DefaultDomainName"), RegValue::string("WORK")) << "an empty domain is left alone";
    EXPECT_FALSE(winlogon("AutoLogonCount"));

    EXPECT_EQ(record("TIP0049", "NEW_VALUES", "DefaultUserName"), RegValue::string("ann"));
    EXPECT_EQ(record("TIP0049", "NEW_VALUES", "DefaultPassword"), RegValue::string(admin::kPasswordMask));
    EXPECT_EQ(record("TIP0049", "OLD_VALUES", "DefaultPassword"), RegValue::string(admin::kPasswordMask));
    EXPECT_EQ(record("TIP0049", "OLD_VALUES", "REGPATH_for_DefaultPassword"),
              RegValue::string("HKEY_LOCAL_MACHINE" + kWinlogon));
    EXPECT_FALSE(store_holds("s3cret"));
    EXPECT_FALSE(store_holds("old secret"));

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
        page.auto_logon().BitBtn23Click();
        FAIL() << "no conversion error";
    } catch (const core::VeltranoError& e) {
        EXPECT_STREQ(e.what(), "'3x' is not a valid integer value");
    }
    EXPECT_EQ(winlogon("AutoAdminLogon"), RegValue::string("1"));
    EXPECT_EQ(winlogon("DefaultDomainName"), RegValue::string("WORK"));
    EXPECT_FALSE(winlogon("AutoLogonCount"));
    EXPECT_FALSE(winlogon("IgnoreShiftOverride"));
    EXPECT_FALSE(winlogon("LegalNoticeCaption")) << "the legal notice comes after";
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(sound.played.empty());

    widgets.set_text("Edit4", "3");
    page.auto_logon().BitBtn23Click();
    EXPECT_EQ(winlogon("AutoLogonCount"), RegValue::number(3));
    EXPECT_EQ(record("TIP0049", "NEW_VALUES", "AutoLogonCount"), RegValue::number(3));
    EXPECT_EQ(winlogon("LegalNoticeText"), RegValue::string("Authorised users only"));
}

TEST(AdminCount, TakesWholeNumbersOnly) {
    for (const char* text : {"0", "3", "+3", "-2", "2147483647"})
        EXPECT_NO_THROW(admin::to_integer(text)) << text;
    for (const char* text : {"", "abc", "3.0", "1e3", "0x10", "2147483648", "+", "-", "++3", "3 4"})
        EXPECT_THROW(admin::to_integer(text), core::VeltranoError) << text;
}

TEST_F(Admin, DisablingWritesOnlyAutoAdminLogon) {
    fill_form("ann", "pw");
    choose("RadioButton14", "RadioButton13");
    widgets.set_text("Edit4", "abc");  // block A does not run, so nothing converts it

    page.auto_logon().BitBtn23Click();

    EXPECT_EQ(winlogon("AutoAdminLogon"), RegValue::string("0"));
    for (const char* untouched : {"DefaultUserName", "DefaultPassword", "IgnoreShiftOverride", "ForceAutoLogon"})
        EXPECT_FALSE(winlogon(untouched)) << untouched;
    EXPECT_THAT(dialogs.shown, ElementsAre("balloon " + std::string(admin::kAutoLogonDisabled)));
}

struct NoticeCase {
    const char* name;
    bool enable;  // RadioButton15, else RadioButton16
    std::string caption, text;
    std::optional<std::string> written_caption, written_text;
};

class LegalNotice : public Admin, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(LegalNotice, IsWrittenAndRecordedOnlyWhenWhole) {
    const NoticeCase& c = GetParam();
    reg.put(Root::LocalMachine, kWinlogon, "LegalNoticeCaption", RegValue::string("Old"));
    fill_form("", "");  // block A skipped silently
    if (!c.enable) choose("RadioButton16", "RadioButton15");
    widgets.set_text("Edit5", c.caption);
    widgets.set_text("Edit6", c.text);

    page.auto_logon().BitBtn23Click();

    const auto as_value = [](const std::optional<std::string>& s) {
        return s ? std::optional(RegValue::string(*s)) : std::nullopt;
    };
    EXPECT_EQ(winlogon("LegalNoticeCaption"), as_value(c.written_caption ? c.written_caption : "Old"));
    EXPECT_EQ(winlogon("LegalNoticeText"), as_value(c.written_text));
    EXPECT_EQ(record("TIP0049", "NEW_VALUES", "LegalNoticeText"), as_value(c.written_text));
    if (c.written_caption) EXPECT_EQ(record("TIP0049", "OLD_VALUES", "LegalNoticeCaption"), RegValue::string("Old"));
    EXPECT_FALSE(winlogon("AutoAdminLogon"));
    EXPECT_TRUE(dialogs.shown.empty()) << "the legal notice has no balloon of its own";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LegalNotice,
    ::testing::Values(NoticeCase{"Enabled", true, " Notice ", "Authorised users only", "Notice", "Authorised users only"},
                      NoticeCase{"EnabledWithoutText", true, "Notice", "  ", std::nullopt, std::nullopt},
                      NoticeCase{"DisabledEmptiesBoth", false, "Notice", "Text", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Admin, OpeningShowsTheAutoLogonSubPageWithTheWinlogonValues) {
    reg.put(Root::LocalMachine, kWinlogon, "DefaultUserName", RegValue::string("ann"));
    reg.put(Root::LocalMachine, kWinlogon, "DefaultPassword", RegValue::string("pw"));
    for (std::string_view sub : admin::kSubPages) widgets.set_visible(sub, true);
    widgets.set_text("Edit4", "7");

    page.shown();
    EXPECT_EQ(widgets.text("Edit1"), "ann");
    EXPECT_EQ(widgets.text("Edit2"), "pw");
    EXPECT_EQ(widgets.text("Edit4"), "") << "no count: nothing to write back as 0";
    EXPECT_TRUE(widgets.is_visible("GroupBox19"));
    for (const char* other : {"GroupBox26", "GroupBox27", "GroupBox28"}) EXPECT_FALSE(widgets.is_visible(other));

    reg.put(Root::LocalMachine, kWinlogon, "AutoLogonCount", RegValue::number(0));
    page.BitBtn25Click();
    EXPECT_EQ(widgets.text("Edit4"), "0");
}

TEST_F(Admin, TheButtonsSwitchSubPagesAndOnlyTimeSyncKeepsTimer2) {
    page.hidden();  // at start-up, before the page is drawn: no Timer2 yet
    EXPECT_FALSE(widgets.controls.count("Timer2"));
    page.created();
    page.shown();

    page.BitBtn28Click();
    EXPECT_TRUE(widgets.is_visible("GroupBox28"));
    EXPECT_FALSE(widgets.is_visible("GroupBox19"));
    EXPECT_THAT(time_sync_calls, ElementsAre("created", "shown"));

    const std::function<void()> clicks[] = {[&] { page.BitBtn25Click(); }, [&] { page.BitBtn26Click(); },
                                            [&] { page.BitBtn27Click(); }, [&] { page.hidden(); }};
    for (const auto& click : clicks) {
        widgets.set_enabled("Timer2", true);
        click();
        EXPECT_FALSE(widgets.is_enabled("Timer2"));
        EXPECT_FALSE(widgets.is_visible("GroupBox28"));
    }
    EXPECT_FALSE(widgets.is_visible("GroupBox18"));
    EXPECT_FALSE(widgets.is_visible("ListBox1"));
}

TEST_F(Admin, ControlPanelChecksExactlyTheAppletsSetToNo) {
    reg.put(Root::CurrentUser, admin::kDontLoadKey, "access.cpl", RegValue::string("no"));
    reg.put(Root::CurrentUser, admin::kDontLoadKey, "desk.cpl", RegValue::string("No"));
    widgets.set_checked("CheckBox_cpl1", true);

    page.BitBtn26Click();
    EXPECT_TRUE(widgets.is_visible("GroupBox26"));
    for (const admin::Applet& applet : admin::kApplets)
        EXPECT_EQ(widgets.is_checked(applet.check_box), applet.value_name == "desk.cpl") << applet.check_box;

    widgets.set_checked("CheckBox_cpl14", true);
    page.control_panel().BitBtn24Click();
    EXPECT_FALSE(reg.get(Root::CurrentUser, admin::kDontLoadKey, "access.cpl")) << "a clear box deletes its value";
    EXPECT_EQ(reg.get(Root::CurrentUser, admin::kDontLoadKey, "desk.cpl"), RegValue::string("No"));
    EXPECT_EQ(reg.get(Root::CurrentUser, admin::kDontLoadKey, "nusrmgr.cpl"), RegValue::string("No"));
    for (const admin::Applet& applet : admin::kApplets) {
        const bool hidden = applet.value_name == "desk.cpl" || applet.value_name == "nusrmgr.cpl";
        EXPECT_EQ(record("TIP0050", "NEW_VALUES", std::string(applet.value_name)),
                  RegValue::string(hidden ? "No" : "Yes"))
            << applet.value_name;
    }
    EXPECT_EQ(record("TIP0050", "OLD_VALUES", "access.cpl"), RegValue::string("no"));
    EXPECT_THAT(dialogs.shown, ElementsAre("balloon " + std::string(admin::kSettingsSaved)));
    EXPECT_THAT(sound.played, ElementsAre("DONE"));
}

TEST_F(Admin, EachLauncherOpensItsOwnSnapIn) {
    for (std::size_t i = 0; i < admin::kLaunchers.size(); ++i) page.launchers().ImageClick(i);
    ASSERT_EQ(shell.opened.size(), admin::kLaunchers.size());
    EXPECT_EQ(shell.opened[8], "c:\\windows\\system32\\gpedit.msc");  // Image34
    EXPECT_EQ(std::set<std::string>(shell.opened.begin(), shell.opened.end()).size(), admin::kLaunchers.size());
}

}  // namespace
