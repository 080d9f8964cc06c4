// The registry contract: behaviour the logic relies on, checked against the
// real registry (under Wine, or Windows) and against the in-memory fake. The
// fake is only trusted where both pass.
#include "tests/contract/registry_factory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace veltrano::platform {
// Readable failures: kind and data instead of the object's raw bytes.
void PrintTo(const RegValue& value, std::ostream* out) {
    static const char* const kinds[] = {"String", "ExpandString", "Dword", "Binary", "Other"};
    *out << kinds[static_cast<int>(value.kind)] << "(";
    switch (value.kind) {
    case ValueKind::String:
    case ValueKind::ExpandString:
        *out << '"' << (value.text.size() > 80 ? value.text.substr(0, 80) + "..." : value.text) << "\" ("
             << value.text.size() << " bytes)";
        break;
    case ValueKind::Dword: *out << value.dword; break;
    default: *out << value.bytes.size() << " bytes"; break;
    }
    *out << ")";
}
}  // namespace veltrano::platform

namespace veltrano::contract {
namespace {

using platform::RegKey;
using fakes::RegistryFlavour;
using platform::RegValue;
using platform::ValueKind;
using Names = std::vector<std::string>;

class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = make_registry_backend();
        ASSERT_TRUE(backend_);
        scratch_ = open("");
        ASSERT_TRUE(scratch_) << "scratch key " << backend_->scratch() << " does not open";
    }
    void TearDown() override {
        scratch_.reset();
        backend_.reset();
    }

    // scratch\relative; "" is the scratch key itself.
    std::string path(const std::string& relative) const {
        return relative.empty() ? backend_->scratch() : backend_->scratch() + "\\" + relative;
    }
    std::unique_ptr<RegKey> open(const std::string& relative, bool create = false) {
        return backend_->registry().open(backend_->root(), path(relative), create);
    }
    std::unique_ptr<RegKey> create(const std::string& relative) { return open(relative, true); }
    bool wine() const { return backend_->flavour() == RegistryFlavour::Wine; }

    std::unique_ptr<RegistryBackend> backend_;
    std::unique_ptr<RegKey> scratch_;
};

// ---------------------------------------------------------------------------
// Names compare without case (ASCII and beyond) and keep the case they were
// first written with.

struct NameCase {
    const char* stored;
    const char* asked;
};

class NameCaseContract : public RegistryContract, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NameCaseContract, ValueFoundUnderOtherCaseKeepsFirstSpelling) {
    const auto [stored, asked] = GetParam();
    ASSERT_TRUE(scratch_->set(stored, RegValue::number(1)));
    ASSERT_EQ(scratch_->query(asked), RegValue::number(1));

    ASSERT_TRUE(scratch_->set(asked, RegValue::number(2)));  // overwrites, does not add
    EXPECT_EQ(scratch_->value_names(), Names{stored});
    EXPECT_EQ(scratch_->query(stored), RegValue::number(2));

    EXPECT_TRUE(scratch_->delete_value(asked));
    EXPECT_TRUE(scratch_->value_names().empty());
}

TEST_P(NameCaseContract, KeyFoundUnderOtherCaseKeepsFirstSpelling) {
    const auto [stored, asked] = GetParam();
    ASSERT_TRUE(create(stored));
    auto again = create(asked);  // opens, does not add
    ASSERT_TRUE(again);
    ASSERT_TRUE(again->set("marker", RegValue::string("x")));
    EXPECT_EQ(scratch_->subkey_names(), Names{stored});
    auto reopened = open(stored);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->query("marker"), RegValue::string("x"));

    EXPECT_TRUE(scratch_->delete_subtree(asked));
    EXPECT_TRUE(scratch_->subkey_names().empty());
}

INSTANTIATE_TEST_SUITE_P(Names, NameCaseContract,
                         ::testing::Values(NameCase{"MixedCase", "mixedcase"}, NameCase{"MixedCase", "MIXEDCASE"},
                                           NameCase{"Été", "éTÉ"},                // Latin-1
                                           NameCase{"Čeština", "čEŠTINA"},        // Latin Extended-A
                                           NameCase{"Жучка", "жУЧКА"},            // Cyrillic
                                           NameCase{"Ωμέγα", "ωΜΈΓΑ"},            // Greek, with tonos
                                           NameCase{"ÿ", "Ÿ"}));                  // pairs across blocks

// Unusual characters survive the trip to the registry and back.
class UnusualNameContract : public RegistryContract, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnusualNameContract, ValueNameRoundTrips) {
    const std::string name = GetParam();
    ASSERT_TRUE(scratch_->set(name, RegValue::string(name)));
    EXPECT_EQ(scratch_->value_names(), Names{name});
    EXPECT_EQ(scratch_->query(name), RegValue::string(name));
}

TEST_P(UnusualNameContract, KeyNameRoundTrips) {
    const std::string name = GetParam();
    ASSERT_TRUE(create(name));
    EXPECT_EQ(scratch_->subkey_names(), Names{name});
    EXPECT_TRUE(open(name));
}

INSTANTIATE_TEST_SUITE_P(Names, UnusualNameContract,
                         ::testing::Values("with space", " leading space", "trailing space ", "dots.in.the.name",
                                           "...", "ünïcødé", "日本語のキー", "emoji 😀 beyond the BMP", "semi;colon",
                                           "forward/slash", "quote\"and'apostrophe", "percent %PATH%"));

// In a value name a backslash is just a character; in a key path it
// separates keys.
TEST_F(RegistryContract, BackslashIsOrdinaryInValueNames) {
    ASSERT_TRUE(scratch_->set("back\\slash", RegValue::number(1)));
    EXPECT_EQ(scratch_->value_names(), Names{"back\\slash"});
    EXPECT_EQ(scratch_->query("BACK\\SLASH"), RegValue::number(1));
    EXPECT_TRUE(scratch_->subkey_names().empty());
}

// ---------------------------------------------------------------------------
// Enumeration order.

TEST_F(RegistryContract, SubkeysEnumerateSortedWithoutCase) {
    // Created in this order; the characters between 'Z' and 'a' tell an
    // upper-casing sort from a lower-casing one.
    for (const char* name : {"b", "_under", "A", "[bracket", "^caret", "a1", "Z", "{GUID}", "~tilde", "`tick", "zz",
                             "@at", "0zero"})
        ASSERT_TRUE(create(name)) << name;
    const Names upper_cased{"0zero", "@at", "A", "a1", "b", "Z", "zz", "[bracket", "^caret", "_under", "`tick",
                            "{GUID}", "~tilde"};
    const Names lower_cased{"0zero", "@at", "[bracket", "^caret", "_under", "`tick", "A", "a1", "b", "Z", "zz",
                            "{GUID}", "~tilde"};
    EXPECT_EQ(scratch_->subkey_names(), wine() ? lower_cased : upper_cased);
}

TEST_F(RegistryContract, SubkeysBeyondAsciiSortByFoldedCodeUnit) {
    for (const char* name : {"Ω", "z", "é", "É2", "Ā", "ж", "日"}) ASSERT_TRUE(create(name)) << name;
    // é folds to É (U+00C9) or stays é (U+00E9); both sort after z and
    // before Ā, Greek, Cyrillic and CJK.
    EXPECT_EQ(scratch_->subkey_names(), (Names{"z", "é", "É2", "Ā", "Ω", "ж", "日"}));
}

struct ValueStep {
    enum Op { Set, Delete } op;
    const char* name;
};

struct ValueOrderRow {
    const char* what;
    std::vector<ValueStep> steps;
    Names windows, wine;
};

class ValueOrderContract : public RegistryContract, public ::testing::WithParamInterface<ValueOrderRow> {};

TEST_P(ValueOrderContract, ValuesEnumerateInFlavourOrder) {
    const auto& row = GetParam();
    std::uint32_t n = 0;
    for (const auto& step : row.steps) {
        if (step.op == ValueStep::Set)
            ASSERT_TRUE(scratch_->set(step.name, RegValue::number(++n))) << step.name;
        else
            ASSERT_TRUE(scratch_->delete_value(step.name)) << step.name;
    }
    EXPECT_EQ(scratch_->value_names(), wine() ? row.wine : row.windows);
}

INSTANTIATE_TEST_SUITE_P(
    Order, ValueOrderContract,
    ::testing::Values(
        ValueOrderRow{"created", {{ValueStep::Set, "c"}, {ValueStep::Set, "a"}, {ValueStep::Set, "b"}},
                      {"c", "a", "b"}, {"a", "b", "c"}},
        ValueOrderRow{"default value last",
                      {{ValueStep::Set, "x"}, {ValueStep::Set, "_y"}, {ValueStep::Set, ""}},
                      {"x", "_y", ""}, {"", "_y", "x"}},
        ValueOrderRow{"deleted and added again in other case",
                      {{ValueStep::Set, "c"}, {ValueStep::Set, "a"}, {ValueStep::Set, "b"},
                       {ValueStep::Delete, "a"}, {ValueStep::Set, "A"}},
                      {"c", "b", "A"}, {"A", "b", "c"}},
        ValueOrderRow{"overwritten in other case",
                      {{ValueStep::Set, "c"}, {ValueStep::Set, "a"}, {ValueStep::Set, "C"}},
                      {"c", "a"}, {"a", "c"}}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// ---------------------------------------------------------------------------
// Values of each kind come back as written.

struct RoundTrip {
    const char* what;
    RegValue value;
};

class ValueRoundTripContract : public RegistryContract, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(ValueRoundTripContract, ReadsBackWhatWasWritten) {
    const RegValue& value = GetParam().value;
    ASSERT_TRUE(scratch_->set("v", value));
    EXPECT_EQ(scratch_->query("v"), value);
    EXPECT_EQ(scratch_->query("V"), value);
}

TEST_P(ValueRoundTripContract, OverwritingChangesKindAndData) {
    ASSERT_TRUE(scratch_->set("v", RegValue::binary({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9})));
    ASSERT_TRUE(scratch_->set("v", GetParam().value));
    EXPECT_EQ(scratch_->query("v"), GetParam().value);
}

std::vector<std::uint8_t> pattern(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ValueRoundTripContract,
    ::testing::Values(RoundTrip{"empty_string", RegValue::string("")},
                      RoundTrip{"string", RegValue::string("C:\\Program Files\\Veltrano")},
                      RoundTrip{"non_ascii_string", RegValue::string("Grüße, 日本, 😀")},
                      RoundTrip{"long_string", RegValue::string(std::string(100000, 'x') + "end")},
                      // Stays unexpanded: the logic shows and restores what is stored.
                      RoundTrip{"expand_string", RegValue::expand_string("%SystemRoot%\\system32")},
                      RoundTrip{"empty_expand_string", RegValue::expand_string("")},
                      RoundTrip{"dword_zero", RegValue::number(0)},
                      RoundTrip{"dword_max", RegValue::number(0xFFFFFFFFu)},
                      RoundTrip{"dword_byte_order", RegValue::number(0x12345678u)},
                      RoundTrip{"empty_binary", RegValue::binary({})},
                      RoundTrip{"binary_with_zeros", RegValue::binary({0, 1, 0, 255, 0})},
                      RoundTrip{"large_binary", RegValue::binary(pattern(200000))}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(RegistryContract, OtherKindCannotBeWritten) {
    RegValue other;
    other.kind = ValueKind::Other;
    other.bytes = {1, 2, 3};
    EXPECT_FALSE(scratch_->set("v", other));
    EXPECT_FALSE(scratch_->query("v"));
    EXPECT_TRUE(scratch_->value_names().empty());
}

// Read with its type code, a value of another kind goes back as it was.
TEST_F(RegistryContract, OtherKindWithItsTypeCodeRoundTrips) {
    const RegValue multi = RegValue::other(7, {'a', 0, 0, 0, 0, 0});           // REG_MULTI_SZ
    const RegValue qword = RegValue::other(11, {1, 2, 3, 4, 5, 6, 7, 8});      // REG_QWORD
    ASSERT_TRUE(scratch_->set("multi", multi));
    ASSERT_TRUE(scratch_->set("qword", qword));
    EXPECT_EQ(scratch_->query("multi"), multi);
    EXPECT_EQ(scratch_->query("qword"), qword);
}

// ---------------------------------------------------------------------------
// The default value is the value with the empty name.

TEST_F(RegistryContract, NewKeyHasNoDefaultValue) {
    auto key = create("fresh");
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->query(""));
    EXPECT_TRUE(key->value_names().empty());
}

TEST_F(RegistryContract, DefaultValueIsSetListedAndDeletedLikeAnyOther) {
    ASSERT_TRUE(scratch_->set("", RegValue::string("default")));
    EXPECT_EQ(scratch_->query(""), RegValue::string("default"));
    EXPECT_EQ(scratch_->value_names(), Names{""});
    EXPECT_TRUE(scratch_->delete_value(""));
    EXPECT_FALSE(scratch_->query(""));
    EXPECT_FALSE(scratch_->delete_value(""));
}

// ---------------------------------------------------------------------------
// Missing keys and values.

TEST_F(RegistryContract, MissingThingsAreReportedNotCreated) {
    EXPECT_FALSE(open("missing"));
    EXPECT_FALSE(open("missing\\deeper"));
    EXPECT_FALSE(scratch_->query("missing"));
    EXPECT_FALSE(scratch_->delete_value("missing"));
    EXPECT_FALSE(scratch_->delete_subtree("missing"));
    EXPECT_FALSE(scratch_->delete_subtree("missing\\deeper"));
    EXPECT_FALSE(scratch_->delete_subtree(""));
    EXPECT_TRUE(scratch_->subkey_names().empty());
    EXPECT_TRUE(scratch_->value_names().empty());
}

TEST_F(RegistryContract, CreateMakesEveryMissingKeyOnThePath) {
    ASSERT_TRUE(create("a\\b\\c"));
    EXPECT_EQ(scratch_->subkey_names(), Names{"a"});
    auto a = open("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->subkey_names(), Names{"b"});
    EXPECT_TRUE(open("a\\b\\c"));
}

// ---------------------------------------------------------------------------
// Path spellings. {prefix} stands for the scratch key's path.

struct PathRow {
    const char* what;
    const char* form;
    bool opens;
};

class PathContract : public RegistryContract, public ::testing::WithParamInterface<PathRow> {
protected:
    std::string spelled(const std::string& form) const {
        std::string out = form;
        out.replace(out.find("{prefix}"), 8, backend_->scratch());
        return out;
    }
};

TEST_P(PathContract, OpensTheSameKeyOrNone) {
    auto target = create("k");
    ASSERT_TRUE(target);
    ASSERT_TRUE(target->set("marker", RegValue::number(7)));

    auto key = backend_->registry().open(backend_->root(), spelled(GetParam().form), false);
    if (!GetParam().opens) {
        EXPECT_FALSE(key);
        return;
    }
    ASSERT_TRUE(key);
    EXPECT_EQ(key->query("marker"), RegValue::number(7));
}

TEST_P(PathContract, CreatesTheSameKeyOrNone) {
    auto key = backend_->registry().open(backend_->root(), spelled(GetParam().form), true);
    EXPECT_EQ(static_cast<bool>(key), GetParam().opens);
    EXPECT_EQ(scratch_->subkey_names(), GetParam().opens ? Names{"k"} : Names{});
}

INSTANTIATE_TEST_SUITE_P(Paths, PathContract,
                         ::testing::Values(PathRow{"plain", "{prefix}\\k", true},
                                           PathRow{"leading_backslash", "\\{prefix}\\k", true},
                                           PathRow{"trailing_backslash", "{prefix}\\k\\", true},
                                           PathRow{"two_trailing_backslashes", "{prefix}\\k\\\\", true},
                                           PathRow{"doubled_inner_backslash", "{prefix}\\\\k", true},
                                           PathRow{"both_ends", "\\{prefix}\\k\\", true},
                                           PathRow{"two_leading_backslashes", "\\\\{prefix}\\k", false}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(RegistryContract, EmptyPathOpensTheRootItself) {
    auto root = backend_->registry().open(backend_->root(), "", false);
    ASSERT_TRUE(root);
    const Names top = root->subkey_names();
    EXPECT_NE(std::find(top.begin(), top.end(), "Software"), top.end());
    EXPECT_TRUE(backend_->registry().open(backend_->root(), "\\", false));
}

// ---------------------------------------------------------------------------
// Deleting trees.

class SubtreeContract : public RegistryContract {
protected:
    // A tree `depth` keys deep with `fan_out` subkeys on each of the first
    // two levels, a value on every key; answers the number of keys.
    int build(const std::string& relative, int depth, int fan_out) {
        int made = 0;
        std::function<void(const std::string&, int)> grow = [&](const std::string& at, int level) {
            auto key = create(at);
            if (!key) return;
            ++made;
            key->set("level", RegValue::number(static_cast<std::uint32_t>(level)));
            if (level + 1 >= depth) return;
            const int children = level < 2 ? fan_out : 1;
            for (int i = 0; i < children; ++i) grow(at + "\\n" + std::to_string(i), level + 1);
        };
        grow(relative, 0);
        return made;
    }
};

TEST_F(SubtreeContract, DeepTreeGoesEntirely) {
    ASSERT_TRUE(create("sibling"));
    ASSERT_EQ(build("tree", 12, 3), 1 + 3 + 9 * 10);
    ASSERT_TRUE(scratch_->delete_subtree("tree"));
    EXPECT_FALSE(open("tree"));
    EXPECT_FALSE(open("tree\\n0\\n0"));
    EXPECT_EQ(scratch_->subkey_names(), Names{"sibling"});
}

TEST_F(SubtreeContract, NestedPathDeletesOnlyTheLastKey) {
    build("tree", 4, 2);
    ASSERT_TRUE(scratch_->delete_subtree("TREE\\n1"));
    auto tree = open("tree");
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->subkey_names(), Names{"n0"});
    EXPECT_EQ(tree->query("level"), RegValue::number(0));
}

TEST_F(SubtreeContract, HandlesToDeletedKeysGoDeadNotStale) {
    build("tree", 5, 2);
    auto deep = open("tree\\n1\\n0\\n0");
    auto top = open("tree");
    ASSERT_TRUE(deep && top);
    ASSERT_TRUE(scratch_->delete_subtree("tree"));

    for (RegKey* key : {deep.get(), top.get()}) {
        EXPECT_FALSE(key->query("level"));
        EXPECT_TRUE(key->value_names().empty());
        EXPECT_TRUE(key->subkey_names().empty());
        EXPECT_FALSE(key->set("late", RegValue::number(1)));
        EXPECT_FALSE(key->delete_value("level"));
    }
    // Writing through the dead handles brought nothing back.
    EXPECT_FALSE(open("tree"));
    EXPECT_TRUE(scratch_->subkey_names().empty());
}

TEST_F(SubtreeContract, RecreatedKeyStartsEmpty) {
    build("tree", 3, 2);
    ASSERT_TRUE(scratch_->delete_subtree("tree"));
    auto again = create("tree");
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->value_names().empty());
    EXPECT_TRUE(again->subkey_names().empty());
}

// ---------------------------------------------------------------------------
// Keys that refuse to open.

TEST_F(RegistryContract, DeniedKeyRefusesToOpenButIsListed) {
    ASSERT_TRUE(create("locked\\inner"));
    backend_->deny("locked");
    EXPECT_FALSE(open("locked"));
    EXPECT_FALSE(open("locked", true));
    EXPECT_EQ(scratch_->subkey_names(), Names{"locked"});
    // Its access list is its own: an older subkey still opens through it.
    EXPECT_TRUE(open("locked\\inner"));
}

TEST_F(RegistryContract, NewKeyBelowADeniedKeyOnlyUnderWine) {
    // Windows wants KEY_CREATE_SUB_KEY on the parent; Wine checks nothing
    // on the way down a path.
    backend_->deny("locked");
    EXPECT_EQ(static_cast<bool>(open("locked\\new", true)), wine());
}

// A refusal comes with the system's reason, the same reason for the same
// refusal whichever call met it; a missing key or value has another.
TEST_F(RegistryContract, RefusalsCarryTheSystemsText) {
    ASSERT_TRUE(create("tree\\locked"));
    backend_->deny("tree\\locked");
    EXPECT_FALSE(open("tree\\locked"));
    const std::string denied = backend_->registry().last_error_text();
    EXPECT_FALSE(denied.empty());
    EXPECT_FALSE(scratch_->delete_subtree("tree"));
    EXPECT_EQ(scratch_->last_error_text(), denied);

    EXPECT_FALSE(open("missing"));
    const std::string missing = backend_->registry().last_error_text();
    EXPECT_FALSE(missing.empty());
    EXPECT_NE(missing, denied);
    EXPECT_FALSE(scratch_->delete_value("missing"));
    EXPECT_EQ(scratch_->last_error_text(), missing);
    EXPECT_TRUE(open("tree"));
    EXPECT_EQ(backend_->registry().last_error_text(), "") << "a success leaves no reason behind";
}

TEST_F(RegistryContract, DeniedKeyStopsTheTreeDelete) {
    ASSERT_TRUE(create("tree\\locked"));
    backend_->deny("tree\\locked");
    EXPECT_FALSE(scratch_->delete_subtree("tree"));
    auto tree = open("tree");
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->subkey_names(), Names{"locked"});
}

// ---------------------------------------------------------------------------
// Opening for less than everything, and one level at a time.

TEST_F(RegistryContract, ReadingAsksForNoMoreThanItNeeds) {
    ASSERT_TRUE(create("ro\\inner"));
    ASSERT_TRUE(open("ro")->set("v", RegValue::string("x")));
    backend_->deny_changes("ro");
    auto& registry = backend_->registry();
    EXPECT_FALSE(open("ro"));
    EXPECT_FALSE(registry.open_existing(backend_->root(), path("ro"), platform::Access::ChangeValues));
    auto read = registry.open_existing(backend_->root(), path("ro"), platform::Access::Read);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->query("v"), RegValue::string("x"));
    EXPECT_FALSE(read->set("w", RegValue::number(1)));
    EXPECT_FALSE(read->delete_value("v"));
    EXPECT_EQ(read->subkey_names(), Names{"inner"});
    EXPECT_TRUE(read->open_subkey("inner"));
    EXPECT_FALSE(registry.open_existing(backend_->root(), path("missing"), platform::Access::Read));

    // What may change values may change nothing else of its key's rights.
    ASSERT_TRUE(create("rw"));
    auto change = registry.open_existing(backend_->root(), path("rw"), platform::Access::ChangeValues);
    ASSERT_TRUE(change);
    EXPECT_TRUE(change->set("w", RegValue::number(1)));
    EXPECT_TRUE(change->delete_value("w"));
}

TEST_F(RegistryContract, SubkeysOpenBelowTheirParentAndValuesListWithTheirKinds) {
    ASSERT_TRUE(create("a\\b"));
    ASSERT_TRUE(create("locked"));
    backend_->deny("locked");
    auto a = scratch_->open_subkey("A");
    ASSERT_TRUE(a);
    auto b = a->open_subkey("b");
    ASSERT_TRUE(b);
    EXPECT_FALSE(scratch_->open_subkey("missing"));
    EXPECT_FALSE(scratch_->open_subkey("locked"));
    EXPECT_FALSE(scratch_->open_subkey("a\\b")) << "one level only";
    EXPECT_FALSE(b->set("x", RegValue::number(1))) << "opened for reading";

    auto key = create("kinds");
    ASSERT_TRUE(key->set("s", RegValue::string("C:\\x")));
    ASSERT_TRUE(key->set("e", RegValue::expand_string("%x%")));
    ASSERT_TRUE(key->set("d", RegValue::number(7)));
    ASSERT_TRUE(key->set("", RegValue::binary({1, 2})));
    ASSERT_TRUE(key->set("m", RegValue::other(7, {0, 0})));
    std::vector<std::string> names;
    std::vector<ValueKind> kinds;
    for (const platform::ValueEntry& entry : key->value_entries()) {
        names.push_back(entry.name);
        kinds.push_back(entry.kind);
    }
    EXPECT_EQ(names, key->value_names());
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(kinds[i], key->query(names[i])->kind) << names[i];
}

// ---------------------------------------------------------------------------
// Last write time.

TEST_F(RegistryContract, LastWriteTimeMovesForwardOnWrite) {
    auto key = create("timed");
    ASSERT_TRUE(key);
    const auto before = key->last_write_time();
    EXPECT_NE(before, 0u);
    ASSERT_TRUE(key->set("v", RegValue::number(1)));
    EXPECT_GE(key->last_write_time(), before);
}

}  // namespace
}  // namespace veltrano::contract
