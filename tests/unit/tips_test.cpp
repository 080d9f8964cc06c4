// The tip pages and their engine against an in-memory machine that looks,
// for the keys the tips touch, like a stock Windows XP.
#include "core/error.h"
#include "support/catalogue_fixture.h"
#include "support/fake_view.h"
#include "support/fake_writer_gate.h"
#include "support/fakes.h"
#include "support/print.h"
#include "tips/customization.h"
#include "tips/tip_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace veltrano;
using platform::RegValue;
using platform::Root;
using testing::ElementsAre;
using tips::Group;

namespace {

const std::string S = "SOFTWARE\\VELTRANO\\VERSION\\2.0\\";
const std::string kInterfaces = "\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
const std::string kClass1 = "{F3A614DC-ABE0-11d2-A441-00C04F795683}";

RegValue data_of(const tips::WriteRow& r) {
    return r.type == core::INT_TYPE ? RegValue::number(static_cast<std::uint32_t>(r.num)) : RegValue::string(std::string(r.str));
}

class TipsTest : public fakes::CatalogueFixture {
protected:

    // What the tips touch on a stock machine: each value the restore writes
    // already holds the restored data; the values it deletes are absent.
    void seed_stock_machine() {
        for (Group g : {Group::Network, Group::Power, Group::System, Group::Customization})
            for (const tips::RestoreStep& s : tips::group_tables(g).restore)
                if (s.action == tips::RestoreStep::Action::Write)
                    reg.put(s.root, std::string(s.key), std::string(s.value),
                            s.type == core::INT_TYPE ? RegValue::number(static_cast<std::uint32_t>(s.num))
                                                 : RegValue::string(std::string(s.str)));
        for (auto k : {"\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters",
                       "\\SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\Parameters",
                       "\\SYSTEM\\CurrentControlSet\\Services\\AFD",
                       "\\System\\CurrentControlSet\\Services\\NTFS\\EFS",
                       "\\System\\CurrentControlSet\\Control\\PriorityControl",
                       "\\System\\CurrentControlSet\\Control\\Class\\{4D36E96A-E325-11CE-BFC1-08002BE10318}\\0000",
                       "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\EFS",
                       "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                       "\\Software\\Policies\\Microsoft"})
            reg.open(Root::LocalMachine, k, true);
        for (auto k : {"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                       "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                       "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                       "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets"})
            reg.open(Root::CurrentUser, k, true);
        seed_adapters();
        reg.open(Root::LocalMachine, kRemoteNameSpace + "\\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}", true);
        reg.open(Root::LocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\DelegateFolders\\{59031a47-3f72-44a7-89c5-5595fe6b30ee}", true);
        reg.open(Root::LocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}", true);
        reg.open(Root::LocalMachine, kRecycleBinOnDesktop, true);
        for (const auto& r : tips::kMessengerRecords)
            reg.put(r.root, std::string(r.key), std::string(r.value), RegValue::string(std::string(r.name) + " text"));
    }
    // Listed in registry order as AdapterA, NdisWanIp, WirelessB.
    void seed_adapters() {
        for (auto a : {"AdapterA", "NdisWanIp", "WirelessB"}) {
            reg.open(Root::LocalMachine, "\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Adapters\\" + std::string(a), true);
            reg.open(Root::LocalMachine, kInterfaces + a, true);
        }
    }

    using Snapshot = std::map<std::string, std::map<std::string, RegValue>>;
    // Every key and value outside the program's own store, paths in lower
    // case: the keys keep the case of whoever made them first.
    Snapshot snapshot() {
        Snapshot out;
        for (Root root : {Root::ClassesRoot, Root::CurrentUser, Root::LocalMachine, Root::Users}) walk(root, "", out);
        return out;
    }
    void walk(Root root, const std::string& path, Snapshot& out) {
        const std::string full = lower(std::string(platform::root_name(root)) + "\\" + path);
        if (full == "hkey_local_machine\\software\\veltrano") return;
        auto key = reg.open(root, path, false);
        auto& values = out[full];
        for (const auto& name : key->value_names()) values[name] = *key->query(name);
        for (const auto& sub : key->subkey_names()) walk(root, path.empty() ? sub : path + "\\" + sub, out);
    }
    static std::string lower(std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }

    void set_flag(int tip, std::uint32_t v) {
        reg.put(Root::LocalMachine, S + core::tip_key(tip), "HasThisTipBeenApplied", RegValue::number(v));
    }
    void tick(int tip) { widgets.set_checked(tips::tip_display(tip).check_box, true); }
    bool enabled(int tip) { return widgets.is_enabled(tips::tip_display(tip).check_box); }
    bool checked(int tip) { return widgets.is_checked(tips::tip_display(tip).check_box); }
    std::optional<RegValue> flag(int tip) { return reg.get(Root::LocalMachine, S + core::tip_key(tip), "HasThisTipBeenApplied"); }
    std::optional<RegValue> record(int tip, const std::string& side, const std::string& name) {
        return reg.get(Root::LocalMachine, S + core::tip_key(tip) + "\\" + side, name);
    }
    void apply_all() {
        for (int tip = 1; tip <= tips::kTipCount; ++tip) tick(tip);
        for (Group g : {Group::Network, Group::Power, Group::System, Group::Customization}) page(g).apply();
    }
    // The callers' own lines, without the primitives' listing and outcome lines.
    std::vector<std::string> narration() const {
        std::vector<std::string> out;
        for (const auto& l : log.lines)
            if (l.find(" has an Entry Called ") == std::string::npos && l.rfind("Data value ", 0) != 0 &&
                !(l.rfind("Setting ", 0) == 0 && l.ends_with("OptionsUndone")) &&
                l.rfind("Error opening key: [", 0) != 0 && !l.ends_with("] key did not exist but has been created"))
                out.push_back(l);
        return out;
    }

    static inline const std::string kRemoteNameSpace =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RemoteComputer\\NameSpace";
    static inline const std::string kRecycleBinOnDesktop =
        "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}";
    static inline const std::string kAfd = "\\SYSTEM\\CurrentControlSet\\Services\\AFD\\Parameters";
};

// ---- the engine over the tables

// What a tip writes and how the store recognises it are two tables side by
// side; applied on a stock machine, every tip must then be derived as
// applied, or the page would offer it again.
TEST_F(TipsTest, EveryAppliedTipIsDerivedAsAppliedAgain) {
    seed_stock_machine();
    apply_all();
    for (int tip = 1; tip <= tips::kTipCount; ++tip) set_flag(tip, 7);
    store.set_veltrano_flags();
    for (int tip = 1; tip <= tips::kTipCount; ++tip) EXPECT_EQ(flag(tip), RegValue::number(1)) << "tip " << tip;
}

class EveryGroup : public TipsTest, public testing::WithParamInterface<Group> {};
INSTANTIATE_TEST_SUITE_P(Tips, EveryGroup,
                         testing::Values(Group::Network, Group::Power, Group::System, Group::Customization));

TEST_P(EveryGroup, ApplyWritesEveryRowAndRecordsWhatItReplaced) {
    seed_stock_machine();
    // Rows naming a value twice (tips 31 and 37) leave the last row's record.
    std::map<std::pair<int, std::string>, RegValue> old;
    for (const tips::WriteRow& r : tips::group_tables(GetParam()).writes)
        old[{r.tip, std::string(r.value)}] = reg.get(r.root, std::string(r.key), std::string(r.value))
                                                 .value_or(r.type == core::INT_TYPE ? RegValue::number(0) : RegValue::string(""));
    apply_all();
    for (const tips::WriteRow& r : tips::group_tables(GetParam()).writes) {
        SCOPED_TRACE(std::string(r.key) + "\\" + std::string(r.value));
        EXPECT_EQ(reg.get(r.root, std::string(r.key), std::string(r.value)), data_of(r));
        EXPECT_EQ(flag(r.tip), RegValue::number(1));
        EXPECT_EQ(record(r.tip, "NEW_VALUES", std::string(r.value)), data_of(r));
    }
    for (const auto& [tip_value, data] : old)
        EXPECT_EQ(record(tip_value.first, "OLD_VALUES", tip_value.second), data) << tip_value.second;
}

TEST_F(TipsTest, RestoringEveryGroupAfterApplyingEveryTipGivesBackTheStockMachine) {
    seed_stock_machine();
    auto expected = snapshot();
    apply_all();
    EXPECT_NE(snapshot(), expected);
    for (Group g : {Group::Network, Group::Power, Group::System, Group::Customization}) restore_factory(g);
    EXPECT_EQ(snapshot(), expected);
}

TEST_F(TipsTest, PlainTipRecordsEveryValueBeforeItWritesAny) {
    reg.open(Root::LocalMachine, "\\SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\Parameters", true);
    tick(2);
    network.apply();
    EXPECT_THAT(narration(),
                ElementsAre("Setting flag for TIP0002", "Setting LASTDATE for TIP0002", "Storing REGPATH for MaxCmds",
                            "Storing old value of MaxCmds", "Storing REGPATH for MaxCmds", "Storing new value of MaxCmds",
                            "Setting flag for TIP0002", "Setting LASTDATE for TIP0002", "Storing REGPATH for MaxThreads",
                            "Storing old value of MaxThreads", "Storing REGPATH for MaxThreads",
                            "Storing new value of MaxThreads", "Starting the process of boosting MaxCmds",
                            "Starting the process of boosting MaxThreads"));
}

TEST_F(TipsTest, AdapterTipsSkipTheDialUpAdapterButCountItInTheIndex) {
    seed_adapters();
    tick(3);
    network.apply();
    for (auto a : {"AdapterA", "WirelessB"}) EXPECT_EQ(reg.get(Root::LocalMachine, kInterfaces + a, "EnablePMTUDiscovery"), RegValue::number(1));
    EXPECT_EQ(reg.get(Root::LocalMachine, kInterfaces + "NdisWanIp", "EnablePMTUDiscovery"), std::nullopt);
    EXPECT_EQ(record(3, "NEW_VALUES", "REGPATH_for_EnablePMTUDiscovery - 0"),
              RegValue::string("HKEY_LOCAL_MACHINE" + kInterfaces + "AdapterA"));
    EXPECT_EQ(record(3, "NEW_VALUES", "REGPATH_for_EnablePMTUDiscovery - 2"),
              RegValue::string("HKEY_LOCAL_MACHINE" + kInterfaces + "WirelessB"));
    EXPECT_EQ(record(3, "NEW_VALUES", "EnablePMTUDiscovery - 1"), std::nullopt);
    // Recorded and written adapter by adapter.
    std::vector<std::string> order;
    for (const auto& l : narration())
        if (l.rfind("Storing new value", 0) == 0 || l.rfind("Starting", 0) == 0) order.push_back(l);
    EXPECT_THAT(order, ElementsAre("Storing new value of EnablePMTUDiscovery - 0",
                                   "Starting the process of enabling EnablePMTUDiscovery",
                                   "Storing new value of EnablePMTUDiscovery - 2",
                                   "Starting the process of enabling EnablePMTUDiscovery"));
}

TEST_F(TipsTest, AdapterTipWithoutAdaptersKeyWritesNoRecordSoItComesBack) {
    tick(7);
    network.apply();
    EXPECT_EQ(log.lines.front(), "Error opening key: [\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Adapters]");
    EXPECT_THAT(narration(), testing::IsEmpty());
    network.refresh();
    EXPECT_TRUE(enabled(7));
}

TEST_F(TipsTest, SchedulerScanRemovalMarksItselfAppliedEvenWithoutTheNamespace) {
    tick(5);
    network.apply();
    EXPECT_EQ(flag(5), RegValue::number(1));
    EXPECT_EQ(narration().back(), "Key does not exist and system is already boosted by skipping scheduled task scan");
    EXPECT_EQ(record(5, "OLD_VALUES", "REGPATH_for_{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"), std::nullopt);
}

TEST_F(TipsTest, SchedulerScanRemovalListsTheNamespaceAndDeletesTheClass) {
    reg.open(Root::LocalMachine, kRemoteNameSpace + "\\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}\\Inner", true);
    reg.open(Root::LocalMachine, kRemoteNameSpace + "\\{2227A280-3AEA-1069-A2DE-08002B30309D}", true);
    tick(5);
    network.apply();
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, kRemoteNameSpace + "\\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"));
    EXPECT_TRUE(reg.key_exists(Root::LocalMachine, kRemoteNameSpace + "\\{2227A280-3AEA-1069-A2DE-08002B30309D}"));
    const auto lines = narration();
    EXPECT_THAT(std::vector<std::string>(lines.end() - 4, lines.end()),
                ElementsAre("Key: [" + kRemoteNameSpace + "] has an entry called {2227A280-3AEA-1069-A2DE-08002B30309D}",
                            "Key: [" + kRemoteNameSpace + "] has an entry called {D6277990-4C6A-11CF-8D87-00AA0060F5BF}",
                            "Storing REGPATH for {D6277990-4C6A-11CF-8D87-00AA0060F5BF} ",
                            "Key did exist and system has been boosted by deleting this key from registry"));
    EXPECT_EQ(record(5, "OLD_VALUES", "REGPATH_for_{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"),
              RegValue::string("HKEY_LOCAL_MACHINE\\" + kRemoteNameSpace));
}

TEST_F(TipsTest, AfdRestoreKeepsTheKeyWhileItHoldsOtherSettings) {
    reg.put(Root::LocalMachine, kAfd, "DefaultReceiveWindow", RegValue::number(65536));
    tick(4);
    network.apply();
    restore_factory(Group::Network);
    EXPECT_EQ(reg.get(Root::LocalMachine, kAfd, "DefaultReceiveWindow"), RegValue::number(65536));
    EXPECT_EQ(reg.get(Root::LocalMachine, kAfd, "PriorityBoost"), std::nullopt);

    reg.open(Root::LocalMachine, kAfd, true)->delete_value("DefaultReceiveWindow");
    restore_factory(Group::Network);
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, kAfd));
}

TEST_F(TipsTest, NamespaceTipsKeepTheirOwnRecordsAndRemoveTheClassKey) {
    seed_stock_machine();
    tick(34);
    customization.apply();
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, kRecycleBinOnDesktop));
    EXPECT_EQ(flag(34), RegValue::number(1));
    EXPECT_EQ(record(34, "OLD_VALUES", "REGPATH_for_{645FF040-5081-101B-9F08-00AA002F954E}"),
              RegValue::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace"));
    EXPECT_THAT(narration(), ElementsAre("Setting TIP0034", "Setting LASTDATE for TIP0034",
                                         "Storing REGPATH for {645FF040-5081-101B-9F08-00AA002F954E} ",
                                         "Removing RECYLE BIN icon from desktop",
                                         "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
                                         "{645FF040-5081-101B-9F08-00AA002F954E} key has been deleted"));
}

// ---- tip 41: the Messenger class registrations

TEST_F(TipsTest, MessengerTipSavesAndEmptiesTheRegistrationsAndTheRestorePutsThemBack) {
    seed_stock_machine();
    reg.put(Root::LocalMachine, "\\SOFTWARE\\Classes\\CLSID\\" + kClass1 + "\\InProcServer32", "",
            RegValue::expand_string("%ProgramFiles%\\msmsgs.dll"));
    tick(41);
    customization.apply();
    for (const auto& r : tips::kMessengerRecords)
        EXPECT_EQ(reg.get(r.root, std::string(r.key), std::string(r.value)), RegValue::string("")) << r.name;
    EXPECT_EQ(record(41, "OLD_VALUES", "LocalServer32_1_1_(Default)"), RegValue::string("LocalServer32_1_1_(Default) text"));
    EXPECT_EQ(record(41, "OLD_VALUES", "InProcServer32_1_2_(Default)"), RegValue::expand_string("%ProgramFiles%\\msmsgs.dll"));
    EXPECT_EQ(record(41, "OLD_VALUES", "REGPATH_for_1_" + kClass1), RegValue::string("HKEY_CLASSES_ROOT\\CLSID\\" + kClass1));
    EXPECT_EQ(reg.get(Root::LocalMachine, "\\Software\\Policies\\Microsoft\\Messenger\\Client", "PreventRun"), RegValue::number(1));
    const auto lines = narration();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.rfind("Disabling MSN Messenger ...part ", 0) == 0; }), 12);
    EXPECT_EQ(lines.back(), "Starting the process of setting PreventRun");

    restore_factory(Group::Customization);
    for (const auto& r : tips::kMessengerRecords) {
        if (r.name == "InProcServer32_1_2_(Default)") continue;
        EXPECT_EQ(reg.get(r.root, std::string(r.key), std::string(r.value)), RegValue::string(std::string(r.name) + " text"));
    }
    EXPECT_EQ(reg.get(Root::LocalMachine, "\\SOFTWARE\\Classes\\CLSID\\" + kClass1 + "\\InProcServer32", ""),
              RegValue::expand_string("%ProgramFiles%\\msmsgs.dll"))
        << "still expandable";
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, "\\Software\\Policies\\Microsoft\\Messenger"));
}

TEST_F(TipsTest, RestoreLeavesRegistrationsAloneWhenTheMessengerTipNeverSavedThem) {
    seed_stock_machine();
    tick(33);
    customization.apply();
    // One record survives from some earlier run; only it is put back.
    reg.put(Root::LocalMachine, S + "TIP0041\\OLD_VALUES", "LocalServer32_2_1_(Default)", RegValue::string("saved"));
    log.lines.clear();
    restore_factory(Group::Customization);
    for (const auto& r : tips::kMessengerRecords)
        EXPECT_EQ(reg.get(r.root, std::string(r.key), std::string(r.value)),
                  RegValue::string(r.name == "LocalServer32_2_1_(Default)" ? "saved" : std::string(r.name) + " text"));
    const auto lines = narration();
    EXPECT_THAT(lines, testing::Contains("Disabling MSN Messenger ...part 7"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.rfind("Disabling MSN Messenger", 0) == 0; }), 1);
}

// ---- the page logic

TEST_P(EveryGroup, ShowMirrorsTheFlagsAndWritesTheGroupFlag) {
    const auto& g = tips::group_display(GetParam());
    const std::string undone(g.undone.name);
    page(GetParam()).refresh();
    EXPECT_EQ(reg.get(Root::LocalMachine, S, undone), RegValue::number(1));
    EXPECT_EQ(log.lines.front(), "Setting " + undone);

    set_flag(g.last_tip, 1);
    tick(g.last_tip);
    page(GetParam()).refresh();
    EXPECT_EQ(reg.get(Root::LocalMachine, S, undone), RegValue::number(0));
    EXPECT_FALSE(enabled(g.last_tip));
    EXPECT_TRUE(checked(g.last_tip)) << "showing leaves the ticks alone";
    EXPECT_TRUE(enabled(g.first_tip));
}

TEST_P(EveryGroup, SelectAllAndClearAllNeverTouchDisabledBoxes) {
    const auto& g = tips::group_display(GetParam());
    set_flag(g.first_tip, 1);
    page(GetParam()).refresh();
    // Unticked and disabled, as a tip that stopped the last Apply is.
    widgets.set_checked(tips::tip_display(g.first_tip).check_box, false);
    page(GetParam()).select_all();
    EXPECT_FALSE(checked(g.first_tip));
    for (int tip = g.first_tip + 1; tip <= g.last_tip; ++tip) EXPECT_TRUE(checked(tip)) << tip;

    widgets.set_enabled(tips::tip_display(g.first_tip).check_box, true);
    widgets.set_checked(tips::tip_display(g.first_tip).check_box, true);
    widgets.set_enabled(tips::tip_display(g.first_tip).check_box, false);
    page(GetParam()).clear_all();
    EXPECT_TRUE(checked(g.first_tip));
    for (int tip = g.first_tip + 1; tip <= g.last_tip; ++tip) EXPECT_FALSE(checked(tip)) << tip;
}

TEST_P(EveryGroup, BalloonSaysWhetherThereWasAnythingToApply) {
    const auto& g = tips::group_display(GetParam());
    page(GetParam()).refresh();
    page(GetParam()).apply();
    EXPECT_THAT(dialogs.shown, ElementsAre("balloon " + std::string(tips::kChooseText)));
    EXPECT_THAT(sound.played, ElementsAre("DONE"));

    // The last tip offered, on a machine where it takes.
    seed_stock_machine();
    for (int tip = g.first_tip + 1; tip <= g.last_tip; ++tip) set_flag(tip, 1);
    page(GetParam()).refresh();
    tick(g.first_tip);
    page(GetParam()).apply();
    EXPECT_EQ(dialogs.shown.back(), "balloon " + std::string(tips::kAllAppliedText));
    EXPECT_FALSE(enabled(g.first_tip));
    EXPECT_TRUE(checked(g.first_tip)) << "an applied tip reads as checked";

    // Every box ticked now, all of them applied: none is applied again.
    const std::size_t lines = log.lines.size();
    page(GetParam()).apply();
    EXPECT_EQ(dialogs.shown.back(), "balloon " + std::string(tips::kAllAppliedText));
    EXPECT_EQ(sound.played.size(), 3u);
    EXPECT_EQ(log.lines.size(), lines) << "an applied tip was applied again";
}

// Showing marks each applied tip ticked and unavailable; an Undo offers it
// again unticked, so the next Apply does not take it for a choice.
TEST_P(EveryGroup, AppliedTipsReadAsCheckedUntilUndoOffersThemAgain) {
    const auto& g = tips::group_display(GetParam());
    set_flag(g.first_tip, 1);
    page(GetParam()).refresh();
    EXPECT_TRUE(checked(g.first_tip));
    EXPECT_FALSE(enabled(g.first_tip));
    EXPECT_FALSE(checked(g.last_tip));

    set_flag(g.first_tip, 0);
    page(GetParam()).refresh();
    EXPECT_FALSE(checked(g.first_tip));
    EXPECT_TRUE(enabled(g.first_tip));
    page(GetParam()).apply();
    EXPECT_EQ(dialogs.shown.back(), "balloon " + std::string(tips::kChooseText));
}

TEST_F(TipsTest, ValueOfTheWrongTypeStopsApplyAtThatTip) {
    reg.put(Root::CurrentUser, "\\Control Panel\\Desktop", "HungAppTimeout", RegValue::number(5000));
    for (int tip : {8, 9, 10}) tick(tip);
    EXPECT_THROW(power.apply(), core::VeltranoError);
    EXPECT_EQ(reg.get(Root::CurrentUser, "\\Control Panel\\PowerCfg", "CurrentPowerPolicy"), RegValue::string("0"));
    EXPECT_TRUE(checked(8));
    EXPECT_FALSE(enabled(8));
    EXPECT_FALSE(checked(9));
    EXPECT_FALSE(enabled(9));
    // Nothing of tip 9 was written, so it is not applied: offered again at the next showing.
    EXPECT_EQ(flag(9), RegValue::number(0));
    EXPECT_THAT(log.lines, testing::Contains("TIP0009 could not be applied: a value has the wrong type"));
    // Tip 9 records both values before it writes either.
    EXPECT_EQ(reg.get(Root::CurrentUser, "\\Control Panel\\Desktop", "WaitToKillAppTimeout"), std::nullopt);
    EXPECT_TRUE(checked(10));
    EXPECT_TRUE(enabled(10));
    EXPECT_EQ(flag(10), std::nullopt);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(sound.played.empty());
    power.refresh();
    EXPECT_TRUE(enabled(9));
}

// Windows keeps a restore point from before each batch: asked for ahead of
// the first change, told when the batch ends; where there is none the log
// says so and the work goes on.
TEST_F(TipsTest, ARestorePointIsAskedForBeforeEachBatchAndItsAbsenceIsLogged) {
    fakes::FakeSystemRestore restore;
    tips::Context with_restore = ctx;
    with_restore.system_restore = &restore;
    tips::TipPage page{Group::Power, with_restore};
    tips::UndoPage undo_page{with_restore};

    for (int tip : {8, 10}) tick(tip);
    page.apply();
    EXPECT_EQ(log.lines.front(), "System Restore point made: Veltrano: apply 2 tips");
    restore.refusal = "System Restore is turned off";
    log.lines.clear();
    tick(12);
    page.apply();
    EXPECT_EQ(log.lines.front(), "No System Restore point was made (System Restore is turned off); the work goes on without one");
    EXPECT_EQ(flag(12), RegValue::number(1));

    restore.refusal.clear();
    undo_page.refresh();
    for (const auto& line : tips::kUndoLines) widgets.set_checked(line.check_box, true);
    undo_page.undo();
    reg.put(Root::CurrentUser, "\\Control Panel\\Desktop", "HungAppTimeout", RegValue::number(5000));
    tick(9);
    EXPECT_THROW(page.apply(), core::VeltranoError);
    EXPECT_EQ(restore.steps, (std::vector<std::string>{"begin Veltrano: apply 2 tips", "end", "begin Veltrano: apply 1 tip",
                                                      "begin Veltrano: undo 4 groups", "end",
                                                      "begin Veltrano: apply 1 tip", "end after an error"}));
}

// Another Veltrano applying or undoing: Apply and Undo leave the boxes and
// the machine as they are and say so; a held gate is let go however the
// work ends, a wrongly typed value included.
TEST_F(TipsTest, ApplyAndUndoWaitForNoOtherWriterAndLetTheGateGo) {
    fakes::FakeWriterGate gate;
    gate.held_elsewhere = true;
    tips::Context shared = ctx;
    shared.writer = &gate;
    tips::TipPage page{Group::Power, shared};
    tips::UndoPage undo_page{shared};

    tick(8);
    page.apply();
    undo_page.refresh();
    for (const auto& line : tips::kUndoLines) widgets.set_checked(line.check_box, true);
    undo_page.undo();
    EXPECT_TRUE(checked(8));
    EXPECT_EQ(flag(8), std::nullopt);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>(2, std::string(tips::kAnotherWriter))));
    EXPECT_EQ(gate.waits, (std::vector<std::uint32_t>{0, 0}));

    gate.held_elsewhere = false;
    reg.put(Root::CurrentUser, "\\Control Panel\\Desktop", "HungAppTimeout", RegValue::number(5000));
    tick(9);
    EXPECT_THROW(page.apply(), core::VeltranoError);
    EXPECT_EQ(flag(8), RegValue::number(1));
    EXPECT_FALSE(gate.held);
}

TEST_F(TipsTest, HelpImagesOpenTheirPageBelowTheHelpBase) {
    for (int tip : {20, 21}) system.help_image_click(tip);
    network.help_image_click(1);
    EXPECT_THAT(dialogs.shown, ElementsAre("help file:///C:/Veltrano/help/tip0075.htm#marker69",
                                           "help file:///C:/Veltrano/help/tip0075.htm#marker69",
                                           "help file:///C:/Veltrano/help/tip0025.htm#marker4"));
}

// F1 on a tip's box opens what its help image opens; a box of another
// page, or no tip's box, opens nothing.
TEST_P(EveryGroup, F1OnATipsBoxOpensItsHelpImagesPage) {
    const auto& g = tips::group_display(GetParam());
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
        page(GetParam()).help_image_click(tip);
        page(GetParam()).check_box_help(tips::tip_display(tip).check_box);
        ASSERT_EQ(dialogs.shown.size(), 2u * static_cast<std::size_t>(tip - g.first_tip + 1));
        EXPECT_EQ(dialogs.shown.back(), dialogs.shown[dialogs.shown.size() - 2]) << tip;
    }
    const std::size_t shown = dialogs.shown.size();
    const int elsewhere = g.first_tip == 1 ? tips::kTipCount : 1;
    page(GetParam()).check_box_help(tips::tip_display(elsewhere).check_box);
    page(GetParam()).check_box_help("Button1");
    EXPECT_EQ(dialogs.shown.size(), shown);
}

}  // namespace

// ---- what a factory-default Undo must keep, and a tip that does not take

namespace {

class KeptByUndo : public TipsTest {
protected:
    void undo_customization(bool previous = false) {
        undo.refresh();
        widgets.set_checked(tips::kUndoLines[3].factory_radio, !previous);
        widgets.set_checked(tips::kUndoLines[3].previous_radio, previous);
        widgets.set_checked(tips::kUndoLines[3].check_box, true);
        undo.undo();
    }
    const std::string kRegedit = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
    const std::string kMessenger = "\\Software\\Policies\\Microsoft\\Messenger";
};

TEST_F(KeptByUndo, FactoryDefaultsTakeOnlyWhatTheTipsWrote) {
    seed_stock_machine();
    reg.put(Root::CurrentUser, kRegedit + "\\Favorites", "Dns", RegValue::string("My Computer\\HKEY_LOCAL_MACHINE"));
    reg.put(Root::LocalMachine, kMessenger, "CEIP", RegValue::number(2));
    reg.put(Root::LocalMachine, kRecycleBinOnDesktop, "", RegValue::string("Recycle Bin"));
    reg.put(Root::LocalMachine, kRecycleBinOnDesktop + "\\DefaultIcon", "", RegValue::expand_string("%SystemRoot%\\x.dll,31"));
    for (int tip : {34, 40, 41}) tick(tip);
    customization.apply();
    ASSERT_FALSE(reg.key_exists(Root::LocalMachine, kRecycleBinOnDesktop));
    undo_customization();

    EXPECT_EQ(reg.get(Root::CurrentUser, kRegedit + "\\Favorites", "Dns"), RegValue::string("My Computer\\HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(reg.get(Root::CurrentUser, kRegedit, "LastKey"), std::nullopt);
    EXPECT_EQ(reg.get(Root::LocalMachine, kMessenger, "CEIP"), RegValue::number(2));
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, kMessenger + "\\Client")) << "emptied, so gone";
    // The bin is back on the desktop whole, and the flag looks there.
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecycleBinOnDesktop, ""), RegValue::string("Recycle Bin"));
    EXPECT_EQ(reg.get(Root::LocalMachine, kRecycleBinOnDesktop + "\\DefaultIcon", ""),
              RegValue::expand_string("%SystemRoot%\\x.dll,31"));
    EXPECT_EQ(flag(34), RegValue::number(0));

    // With nothing of others left, the keys the tips made go with their values.
    reg.open(Root::CurrentUser, kRegedit, false)->delete_subtree("Favorites");
    reg.open(Root::LocalMachine, kMessenger, false)->delete_value("CEIP");
    customization.refresh();
    for (int tip : {40, 41}) tick(tip);
    customization.apply();
    undo_customization();
    EXPECT_FALSE(reg.key_exists(Root::CurrentUser, kRegedit));
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, kMessenger));
}

TEST_F(KeptByUndo, ATipWhoseKeyCannotBeMadeIsNotAppliedAndIsOfferedAgain) {
    // Tip 1 may not create its key; tip 14 may, but its parent refuses.
    // Tip 4 takes: the balloon counts it, and congratulates on nothing.
    reg.deny(Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Control");
    for (int tip : {1, 4, 14}) tick(tip);
    network.apply();
    EXPECT_EQ(dialogs.shown.back(), "balloon Applied 1 of 2 selected choices. The activity log says why the others "
                                    "could not be applied. ");
    system.apply();
    for (int tip : {1, 14}) {
        EXPECT_EQ(flag(tip), RegValue::number(0)) << tip;
        EXPECT_THAT(log.lines, testing::Contains(core::tip_key(tip) + " could not be applied: its settings were not written"));
    }
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\PriorityControl"));
    network.refresh();
    system.refresh();
    EXPECT_TRUE(enabled(1));
    EXPECT_TRUE(enabled(14));
    // Nothing of the group is applied, so the Undo page has nothing to offer.
    EXPECT_EQ(reg.get(Root::LocalMachine, S, std::string(core::kSystemUndone.name)), RegValue::number(1));
}

TEST_F(KeptByUndo, ApplyingAgainAfterAnUndoKeepsTheOriginalsForThePreviousSettings) {
    seed_stock_machine();
    reg.put(Root::CurrentUser, "\\Control Panel\\Desktop", "MenuShowDelay", RegValue::string("250"));
    tick(33);
    customization.apply();
    undo_customization();  // factory: "400"
    customization.refresh();
    tick(33);
    customization.apply();
    EXPECT_EQ(reg.get(Root::CurrentUser, "\\Control Panel\\Desktop", "MenuShowDelay"), RegValue::string("15"));
    EXPECT_EQ(record(33, "OLD_VALUES", "MenuShowDelay"), RegValue::string("250"));

    undo_customization(true);
    EXPECT_EQ(reg.get(Root::CurrentUser, "\\Control Panel\\Desktop", "MenuShowDelay"), RegValue::string("250"));
    EXPECT_EQ(reg.get(Root::LocalMachine, S, std::string(core::kCustomizationUndone.name)), RegValue::number(2));
    EXPECT_EQ(flag(33), RegValue::number(0));
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, S + "TIP0033\\ORIGINAL_VALUES")) << "used up";
}

TEST_F(KeptByUndo, AdapterTipsRecordEachAdaptersOwnValue) {
    seed_adapters();
    reg.put(Root::LocalMachine, kInterfaces + "AdapterA", "MTU", RegValue::number(1400));
    tick(7);
    network.apply();
    EXPECT_EQ(record(7, "OLD_VALUES", "MTU - 0"), RegValue::number(1400));
    EXPECT_EQ(record(7, "OLD_VALUES", "MTU - 2"), RegValue::number(0)) << "absent on WirelessB";
    undo.refresh();
    widgets.set_checked(tips::kUndoLines[0].factory_radio, false);
    widgets.set_checked(tips::kUndoLines[0].previous_radio, true);
    widgets.set_checked(tips::kUndoLines[0].check_box, true);
    undo.undo();
    EXPECT_EQ(reg.get(Root::LocalMachine, kInterfaces + "AdapterA", "MTU"), RegValue::number(1400));
    EXPECT_EQ(reg.get(Root::LocalMachine, kInterfaces + "WirelessB", "MTU"), std::nullopt);
}

}  // namespace
