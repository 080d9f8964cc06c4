// The narration of every registry write, line by line, and the type errors
// that stop an operation.
#include "core/error.h"
#include "core/registry_primitives.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"

#include "support/print.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace veltrano;
using core::INT_TYPE;
using core::STR_TYPE;
using platform::RegValue;
using platform::Root;
using ::testing::ElementsAre;

namespace {

const std::string kAfd = "\\SYSTEM\\CurrentControlSet\\Services\\AFD\\Parameters";

class PrimitivesTest : public ::testing::Test {
protected:
    fakes::MemoryRegistry reg;
    fakes::MemoryLog log;
    core::RegistryPrimitives prim{reg, log};

    void write_int(const std::string& path, const std::string& name, int value, bool create = true) {
        prim.write_value(Root::LocalMachine, path, name, INT_TYPE, "", value, "msg", create);
    }
};

TEST_F(PrimitivesTest, NarratesAnAddedValueAfterListingTheKey) {
    reg.put(Root::LocalMachine, kAfd, "TransmitWorker", RegValue::number(4));
    prim.write_value(Root::LocalMachine, kAfd, "PriorityBoost", INT_TYPE, "", 10,
                             "Starting the process of boosting PriorityBoost", true);
    EXPECT_THAT(log.lines,
                ElementsAre("Starting the process of boosting PriorityBoost",
                            "Key: [\\SYSTEM\\CurrentControlSet\\Services\\AFD\\Parameters] has an Entry Called "
                            "TransmitWorker",
                            "Data value PriorityBoost did not exist and hence added and enabled"));
    EXPECT_EQ(reg.get(Root::LocalMachine, kAfd, "PriorityBoost"), RegValue::number(10));
}

TEST_F(PrimitivesTest, SecondWriteOfTheSameDataChangesNothing) {
    reg.put(Root::CurrentUser, "Control Panel\\Desktop", "MenuShowDelay", RegValue::string("400"));
    for (int i = 0; i < 2; ++i)
        prim.write_value(Root::CurrentUser, "\\Control Panel\\Desktop", "MenuShowDelay", STR_TYPE, "15", 0,
                                 "m", true);
    EXPECT_THAT(log.lines, ElementsAre("m", "Key: [\\Control Panel\\Desktop] has an Entry Called MenuShowDelay",
                                       "Data value MenuShowDelay already exists but was not enabled and hence enabled",
                                       "m", "Key: [\\Control Panel\\Desktop] has an Entry Called MenuShowDelay",
                                       "Data value MenuShowDelay already exists and enabled"));
    EXPECT_EQ(reg.get(Root::CurrentUser, "Control Panel\\Desktop", "MenuShowDelay"), RegValue::string("15"));
}

TEST_F(PrimitivesTest, StringComparisonIsCaseSensitive) {
    reg.put(Root::LocalMachine, "K", "Enable", RegValue::string("y"));
    prim.write_value(Root::LocalMachine, "K", "Enable", STR_TYPE, "Y", 0, "m", true);
    EXPECT_EQ(log.lines.back(), "Data value Enable already exists but was not enabled and hence enabled");
    EXPECT_EQ(reg.get(Root::LocalMachine, "K", "Enable"), RegValue::string("Y"));
}

TEST_F(PrimitivesTest, MissingKeyIsCreatedOnlyWhenAllowed) {
    write_int("\\A\\B", "V", 1, false);
    EXPECT_THAT(log.lines, ElementsAre("msg", "Error opening key: [\\A\\B]"));
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, "A"));

    log.lines.clear();
    write_int("\\A\\B", "V", 1, true);
    EXPECT_THAT(log.lines, ElementsAre("msg", "Error opening key: [\\A\\B]",
                                       "[\\A\\B] key did not exist but has been created",
                                       "Data value V did not exist and hence added and enabled"));
    EXPECT_EQ(reg.get(Root::LocalMachine, "A\\B", "V"), RegValue::number(1));
}

TEST_F(PrimitivesTest, KeyThatCannotBeOpenedIsNarratedAndLeftAlone) {
    reg.put(Root::LocalMachine, "Locked", "V", RegValue::number(5));
    reg.deny(Root::LocalMachine, "Locked");
    write_int("Locked", "V", 1);
    // No word of a creation that did not happen; the system's reason instead.
    EXPECT_THAT(log.lines, ElementsAre("msg", "Error opening key: [Locked]",
                                       "Serious problem creating key: [Locked] - cannot proceed: Access is denied.",
                                       "Error opening key: [Locked]"));
    EXPECT_EQ(reg.get(Root::LocalMachine, "Locked", "V"), RegValue::number(5));
}

TEST_F(PrimitivesTest, NegativeIntegersRoundTripAsDwords) {
    write_int("K", "V", -1);
    EXPECT_EQ(reg.get(Root::LocalMachine, "K", "V"), RegValue::number(0xFFFFFFFFu));
    EXPECT_EQ(prim.read_number(Root::LocalMachine, "\\K", "V"), -1);
}

// Each row: a value of one type met by a read or a write of another.
struct WrongType {
    RegValue stored;
    bool write_as_string;
};

class WrongTypeTest : public PrimitivesTest, public ::testing::WithParamInterface<WrongType> {};

TEST_P(WrongTypeTest, StopsWithTheNameAndKeepsTheValue) {
    reg.put(Root::LocalMachine, "K", "Odd Name!", GetParam().stored);
    const bool as_str = GetParam().write_as_string;
    try {
        prim.write_value(Root::LocalMachine, "K", "Odd Name!", as_str ? STR_TYPE : INT_TYPE, "1", 1, "m",
                                 true);
        FAIL() << "no error";
    } catch (const core::VeltranoError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Odd Name!'");
    }
    EXPECT_EQ(reg.get(Root::LocalMachine, "K", "Odd Name!"), GetParam().stored);
    EXPECT_THROW(as_str ? (void)prim.read_text(Root::LocalMachine, "K", "Odd Name!")
                        : (void)prim.read_number(Root::LocalMachine, "K", "Odd Name!"),
                 core::VeltranoError);
}

INSTANTIATE_TEST_SUITE_P(Rows, WrongTypeTest,
                         ::testing::Values(WrongType{RegValue::number(1), true},
                                           WrongType{RegValue::string("1"), false},
                                           WrongType{RegValue::expand_string("1"), false},
                                           WrongType{RegValue::binary({1, 0, 0, 0}), false},
                                           WrongType{RegValue::binary({'1', 0}), true}));

TEST_F(PrimitivesTest, ReadsGiveDefaultsForWhatIsMissingAndExpandNothing) {
    reg.put(Root::LocalMachine, "K", "", RegValue::string("default"));
    reg.put(Root::LocalMachine, "K", "Path", RegValue::expand_string("%SystemRoot%\\x"));
    EXPECT_EQ(prim.read_text(Root::LocalMachine, "\\K", ""), "default");
    EXPECT_EQ(prim.read_text(Root::LocalMachine, "K", "Path"), "%SystemRoot%\\x");
    EXPECT_EQ(prim.read_text(Root::LocalMachine, "K", "Nope"), "");
    EXPECT_EQ(prim.read_text(Root::LocalMachine, "Missing", ""), "");
    EXPECT_EQ(prim.read_number(Root::LocalMachine, "Missing", "V"), 0);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(PrimitivesTest, DeletingNarratesEvenWhatWasNotThere) {
    reg.put(Root::LocalMachine, "P\\Sub\\Deep", "x", RegValue::number(1));
    reg.put(Root::LocalMachine, "P", "Keep", RegValue::number(1));
    prim.delete_entry(Root::LocalMachine, "\\P", "Sub", core::KEY, "del key");
    prim.delete_entry(Root::LocalMachine, "\\P", "Sub", core::KEY, "again");
    prim.delete_entry(Root::LocalMachine, "\\P", "Keep", core::VALUENAME, "del value");
    prim.delete_entry(Root::LocalMachine, "\\P", "Keep", core::VALUENAME, "again");
    prim.delete_entry(Root::LocalMachine, "\\Gone", "x", core::KEY, "missing key");
    EXPECT_THAT(log.lines,
                ElementsAre("del key", "Key: [\\P] has an Entry Called Keep", "\\P\\Sub key has been deleted",
                            "again", "Key: [\\P] has an Entry Called Keep", "\\P\\Sub key has been deleted",
                            "del value", "Key: [\\P] has an Entry Called Keep", "\\P\\Keep data value has been deleted",
                            "again", "\\P\\Keep data value does not exist or has already been deleted",
                            "missing key", "Error opening key: [\\Gone]"));
    EXPECT_FALSE(reg.key_exists(Root::LocalMachine, "P\\Sub"));
    EXPECT_TRUE(reg.key_exists(Root::LocalMachine, "P"));
}

TEST_F(PrimitivesTest, DeletingASubkeyWithAnEmptyNameSparesTheKey) {
    reg.put(Root::LocalMachine, "P", "Keep", RegValue::number(1));
    prim.delete_entry(Root::LocalMachine, "P", "", core::KEY, "m");
    EXPECT_TRUE(reg.key_exists(Root::LocalMachine, "P"));
}

}  // namespace
