// The store's first-run set-up, the flag derivation and the records a tip
// leaves behind.
#include "core/error.h"
#include "core/tip_state_store.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"
#include "support/print.h"
#include "tips/tip_engine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>


using namespace veltrano;
using core::INT_TYPE;
using core::STR_TYPE;
using platform::RegValue;
using platform::Root;
using testing::HasSubstr;

namespace {

const std::string S = "SOFTWARE\\VELTRANO\\VERSION\\2.0\\";
const std::string kDns = "\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
const std::string kAdapters = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Adapters\\";
const std::string kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
const std::string kRecycleBin =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
    "{645FF040-5081-101B-9F08-00AA002F954E}";

class StoreTest : public ::testing::Test {
protected:
    fakes::MemoryRegistry reg;
    fakes::MemoryLog log;
    fakes::FakeTime time;
    core::RegistryPrimitives prim{reg, log};
    core::TipStateStore store{prim, time, tips::flag_rows()};

    std::optional<RegValue> flag(int tip) { return reg.get(Root::LocalMachine, S + core::tip_key(tip), "HasThisTipBeenApplied"); }
    bool applied(int tip) { return flag(tip) == RegValue::number(1); }
    // A machine on which the presence probes find their keys, so that only
    // what a test seeds counts as applied.
    void stock_machine() {
        const std::string ns = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
        reg.open(Root::LocalMachine, ns + "RemoteComputer\\NameSpace\\{D6277990-4C6A-11CF-8D87-00AA0060F5BF}", true);
        reg.open(Root::LocalMachine, ns + "MyComputer\\NameSpace\\DelegateFolders\\{59031a47-3f72-44a7-89c5-5595fe6b30ee}", true);
        reg.open(Root::LocalMachine, kRecycleBin, true);
        reg.put(Root::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", "LastKey",
                RegValue::string("My Computer"));
    }
};

TEST_F(StoreTest, FirstRunBuildsEveryStateKeyAndEndsWithAnEmptyLog) {
    stock_machine();
    store.check_for_previous_install();
    for (int n = 1; n <= 48; ++n) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(reg.key_exists(Root::LocalMachine, S + core::tip_key(n) + "\\OLD_VALUES"));
        EXPECT_TRUE(reg.key_exists(Root::LocalMachine, S + core::tip_key(n) + "\\NEW_VALUES"));
        if (n == 3 || n == 7) continue;  // no adapters here, so nothing decides them
        EXPECT_TRUE(flag(n).has_value());
        EXPECT_EQ(reg.get(Root::LocalMachine, S + core::tip_key(n), "LastDateThisTipApplied"),
                  RegValue::string(time.date));
    }
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, S + "TIP0049"));
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(store.count_applied_tips(), 0);
}

TEST_F(StoreTest, LaterRunsUseTheStoreAsFound) {
    reg.open(Root::LocalMachine, "SOFTWARE\\VELTRANO", true);
    store.check_for_previous_install();
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, S + "TIP0001"));
}

TEST_F(StoreTest, OnlyTheLastComparisonOfATipCounts) {
    stock_machine();
    reg.put(Root::LocalMachine, kDns, "MaxSOACacheEntryTtlLimit", RegValue::number(301));
    store.create_veltrano_key_structure();
    EXPECT_TRUE(applied(1));

    reg.put(Root::LocalMachine, kDns, "MaxSOACacheEntryTtlLimit", RegValue::number(300));
    reg.put(Root::LocalMachine, kDns, "CacheHashTableBucketSize", RegValue::number(1));
    store.set_veltrano_flags();
    EXPECT_FALSE(applied(1));
}

TEST_F(StoreTest, AbsentProbeKeysAndAnEmptyLastKeyCountAsApplied) {
    store.create_veltrano_key_structure();  // a bare machine
    for (int tip : {5, 32, 34, 40}) EXPECT_TRUE(applied(tip)) << tip;
    EXPECT_EQ(store.count_applied_tips(), 4);

    reg.open(Root::LocalMachine, kRecycleBin, true);
    store.set_veltrano_flags();
    EXPECT_FALSE(applied(34));
}

TEST_F(StoreTest, AdaptersSkipDialUpAndTheLastAdapterDecides) {
    stock_machine();
    // Registry order: {A...} and {B...} sort after NdisWanIp.
    reg.open(Root::LocalMachine, kAdapters + "{BBBB}", true);
    reg.open(Root::LocalMachine, kAdapters + "NdisWanIp", true);
    reg.open(Root::LocalMachine, kAdapters + "{AAAA}", true);
    reg.put(Root::LocalMachine, kInterfaces + "{BBBB}", "MTU", RegValue::number(1500));
    reg.put(Root::LocalMachine, kInterfaces + "NdisWanIp", "EnablePMTUDiscovery", RegValue::string("not read"));
    reg.put(Root::LocalMachine, kInterfaces + "{AAAA}", "EnablePMTUDiscovery", RegValue::number(1));
    store.create_veltrano_key_structure();
    EXPECT_FALSE(applied(3));
    EXPECT_TRUE(applied(7));
}

TEST_F(StoreTest, WithoutAdaptersTheFlagIsNotWrittenAndTheLogSaysWhy) {
    reg.open(Root::LocalMachine, kAdapters + "NdisWanIp", true);
    store.set_veltrano_flags();
    EXPECT_EQ(flag(3), std::nullopt);
    reg.open(Root::LocalMachine, "", false)->delete_subtree(kAdapters);
    log.lines.clear();
    store.set_veltrano_flags();
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(),
                         "Error opening key: [\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Adapters]"),
              2);
}

// A machine as administrators leave it: values of another type than the
// tips write. Each such tip is judged on its own; the rest are set up.
TEST_F(StoreTest, AWronglyTypedSystemValueMakesOnlyItsOwnTipNotAppliedAndIsNamedInTheLog) {
    stock_machine();
    // TIP0010 compares text, TIP0002 a number; TIP0002's last row matches.
    reg.put(Root::CurrentUser, "Control Panel\\Desktop", "AutoEndTasks", RegValue::number(1));
    reg.put(Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\Parameters", "MaxCmds",
            RegValue::string("104"));
    reg.put(Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\LanmanWorkstation\\Parameters", "MaxThreads",
            RegValue::number(104));
    reg.put(Root::CurrentUser, "Control Panel\\Desktop", "PowerOffActive", RegValue::string("1"));
    store.check_for_previous_install();
    for (int n = 1; n <= 48; ++n)
        if (n != 3 && n != 7) EXPECT_TRUE(flag(n).has_value()) << n;
    EXPECT_FALSE(applied(10));
    EXPECT_FALSE(applied(2)) << "a later row that matches does not make up for an odd one";
    EXPECT_TRUE(applied(12)) << "the tips after the odd values are still set up";
    EXPECT_THAT(log.lines, testing::ElementsAre(HasSubstr("TIP0002 is taken as not applied: Invalid data type for 'MaxCmds'"),
                                                HasSubstr("TIP0010 is taken as not applied: Invalid data type for 'AutoEndTasks'")));
}

TEST_F(StoreTest, CountingReadsOnlyTipsOneToFortyEightAndOnlyTheValueOne) {
    reg.put(Root::LocalMachine, S + "TIP0001", "HasThisTipBeenApplied", RegValue::number(1));
    reg.put(Root::LocalMachine, S + "TIP0002", "HasThisTipBeenApplied", RegValue::number(2));
    reg.put(Root::LocalMachine, S + "TIP0048", "HasThisTipBeenApplied", RegValue::number(1));
    reg.put(Root::LocalMachine, S + "TIP0049", "HasThisTipBeenApplied", RegValue::number(1));
    reg.open(Root::LocalMachine, S + "TIP0003", true);
    EXPECT_EQ(store.count_applied_tips(), 2);
}

TEST_F(StoreTest, RecordsHoldThePathTheOldDataAndTheNewData) {
    reg.put(Root::LocalMachine, kDns, "CacheHashTableSize", RegValue::number(211));
    store.record_value("TIP0001", Root::LocalMachine, "HKEY_LOCAL_MACHINE", kDns, "CacheHashTableSize",
                       INT_TYPE, "", 384, true);
    const std::string where = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Dnscache\\Parameters";
    EXPECT_TRUE(applied(1));
    EXPECT_EQ(reg.get(Root::LocalMachine, S + "TIP0001\\OLD_VALUES", "REGPATH_for_CacheHashTableSize"),
              RegValue::string(where));
    EXPECT_EQ(reg.get(Root::LocalMachine, S + "TIP0001\\OLD_VALUES", "CacheHashTableSize"), RegValue::number(211));
    EXPECT_EQ(reg.get(Root::LocalMachine, S + "TIP0001\\NEW_VALUES", "REGPATH_for_CacheHashTableSize"),
              RegValue::string(where));
    EXPECT_EQ(reg.get(Root::LocalMachine, S + "TIP0001\\NEW_VALUES", "CacheHashTableSize"), RegValue::number(384));
    // The system value is the caller's to write.
    EXPECT_EQ(reg.get(Root::LocalMachine, kDns, "CacheHashTableSize"), RegValue::number(211));

    const std::vector<std::string> messages{"Setting flag for TIP0001", "Setting LASTDATE for TIP0001",
                                            "Storing REGPATH for CacheHashTableSize",
                                            "Storing old value of CacheHashTableSize",
                                            "Storing REGPATH for CacheHashTableSize",
                                            "Storing new value of CacheHashTableSize"};
    auto at = log.lines.begin();
    for (const auto& m : messages) {
        at = std::find(at, log.lines.end(), m);
        ASSERT_NE(at, log.lines.end()) << m;
    }
}

// Applied again after an undo, the value found is the first apply's data:
// the original must survive it, and the originals say the value was "400".
TEST_F(StoreTest, ReapplyingKeepsOneSetOfRecordsWithTheOriginalAsOldData) {
    const std::string desk = "\\Control Panel\\Desktop";
    reg.put(Root::CurrentUser, desk, "MenuShowDelay", RegValue::string("400"));
    store.record_value("TIP0033", Root::CurrentUser, "HKEY_CURRENT_USER", desk, "MenuShowDelay", STR_TYPE,
                       "15", 0, true);
    prim.write_value(Root::CurrentUser, desk, "MenuShowDelay", STR_TYPE, "15", 0, "apply", true);
    store.record_value("TIP0033", Root::CurrentUser, "HKEY_CURRENT_USER", desk, "MenuShowDelay", STR_TYPE,
                       "15", 0, true);
    auto old_key = reg.open(Root::LocalMachine, S + "TIP0033\\OLD_VALUES", false);
    EXPECT_EQ(old_key->value_names().size(), 2u);
    EXPECT_EQ(old_key->query("MenuShowDelay"), RegValue::string("400"));
    EXPECT_EQ(reg.count_keys(Root::LocalMachine, S + "TIP0033\\ORIGINAL_VALUES"), 2u) << "one record";
    EXPECT_EQ(reg.get(Root::LocalMachine, S + "TIP0033\\ORIGINAL_VALUES\\0001", "Data"), RegValue::string("400"));
}

TEST_F(StoreTest, SuppliedOldDataIsStoredWithoutReadingTheSystem) {
    reg.put(Root::ClassesRoot, "CLSID\\{X}\\LocalServer32", "", RegValue::number(7));  // would not read as text
    store.record_given_values("TIP0041", Root::ClassesRoot, "HKEY_CLASSES_ROOT", "\\CLSID\\{X}\\LocalServer32",
                              "LocalServer32_1_1_(Default)", STR_TYPE, "C:\\msmsgs.exe", 0, "", 0, true);
    EXPECT_EQ(reg.get(Root::LocalMachine, S + "TIP0041\\OLD_VALUES", "LocalServer32_1_1_(Default)"),
              RegValue::string("C:\\msmsgs.exe"));
    EXPECT_EQ(reg.get(Root::LocalMachine, S + "TIP0041\\NEW_VALUES", "LocalServer32_1_1_(Default)"),
              RegValue::string(""));
    EXPECT_EQ(reg.get(Root::LocalMachine, S + "TIP0041\\OLD_VALUES", "REGPATH_for_LocalServer32_1_1_(Default)"),
              RegValue::string("HKEY_CLASSES_ROOT\\CLSID\\{X}\\LocalServer32"));
}

// Records an earlier version wrote carry no completion mark: at the first
// start each that holds all its parts is marked and trusted; one cut off
// after "Present" never deletes the value it names.
TEST_F(StoreTest, AnEarlierVersionsRecordsAreTrustedOnlyWhenWhole) {
    const std::string desk = "\\Control Panel\\Desktop";
    auto record = [&](const std::string& tip, const std::string& name, std::optional<RegValue> data) {
        const std::string at = S + tip + "\\ORIGINAL_VALUES\\0001";
        reg.put(Root::LocalMachine, at, "Root", RegValue::string("HKEY_CURRENT_USER"));
        reg.put(Root::LocalMachine, at, "Key", RegValue::string(desk));
        reg.put(Root::LocalMachine, at, "Kind", RegValue::string("VALUE"));
        reg.put(Root::LocalMachine, at, "Name", RegValue::string(name));
        reg.put(Root::LocalMachine, at, "Present", RegValue::number(1));
        if (data) reg.put(Root::LocalMachine, at, "Data", *data);
    };
    record("TIP0033", "MenuShowDelay", RegValue::string("400"));
    record("TIP0031", "FontSmoothing", std::nullopt);
    reg.put(Root::CurrentUser, desk, "MenuShowDelay", RegValue::string("15"));
    reg.put(Root::CurrentUser, desk, "FontSmoothing", RegValue::string("1"));

    store.check_for_previous_install();
    EXPECT_TRUE(store.has_original_records("TIP0033"));
    EXPECT_FALSE(store.has_original_records("TIP0031"));
    store.restore_original("TIP0033");
    store.restore_original("TIP0031");
    EXPECT_EQ(reg.get(Root::CurrentUser, desk, "MenuShowDelay"), RegValue::string("400"));
    EXPECT_EQ(reg.get(Root::CurrentUser, desk, "FontSmoothing"), RegValue::string("1"));
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, S + "TIP0031\\ORIGINAL_VALUES"));
}

}  // namespace
