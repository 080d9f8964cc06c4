// The one engine behind the four tip pages and the command line. A group is
// data: the rows each tip writes (recorded first, then written), the few
// tips that need a function of their own, the steps of its restore-defaults
// action and the comparisons that tell whether each tip is in effect. It
// reaches the registry and the records, never the screen (tip_page.h is the
// pages' side).
//
// A registry value of the wrong type raises core::VeltranoError from the
// primitives; it is left to run out of Apply or the restore, so the work
// stops at that tip and the message box shows it.
#pragma once

#include "core/flag_rows.h"
#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "platform/registry.h"
#include "platform/time.h"
#include "tips/catalogue.h"
#include "tips/writer_gate.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano::tips {

using platform::Root;

// What a tip or a restore step reaches: the registry and the records, never
// the screen, so the window and the command line run the same work.
struct TipServices {
    core::RegistryPrimitives& reg;
    core::TipStateStore& store;
    platform::Time& time;
};

// One system value a tip records and then writes. The tip's record in the
// state store takes root, key, value, type and data from the same row.
struct WriteRow {
    int tip;
    Root root;
    std::string_view key;
    std::string_view value;
    core::ValueType type;
    std::string_view str;   // data of a string row, "" otherwise
    std::int32_t num;       // data of an integer row, 0 otherwise
    bool create;            // create the key when missing
    std::string_view message;
};

constexpr WriteRow int_row(int tip, Root root, std::string_view key, std::string_view value, std::int32_t num,
                           bool create, std::string_view message) {
    return {tip, root, key, value, core::INT_TYPE, "", num, create, message};
}
constexpr WriteRow str_row(int tip, Root root, std::string_view key, std::string_view value, std::string_view str,
                           bool create, std::string_view message) {
    return {tip, root, key, value, core::STR_TYPE, str, 0, create, message};
}

// A tip whose work does not fit the rows.
struct SpecialTip {
    int tip;
    void (*apply)(TipServices&);
};

struct RestoreStep {
    enum class Action {
        Write,            // write_value with the step's type, data, create flag and message
        DeleteValue,      // delete_entry of the value, narrated
        DeleteKey,        // the key with its subtree, silently; failure ignored
        DeleteKeyIfEmpty, // as DeleteKey, but only when nothing is left in the key
        RecreateKey,      // a key the tip deleted: back whole from its record, else created empty
        DeleteOnAdapters, // delete_entry of the value in every adapter's interface key
        Special,          // a function of its own
    };
    int tip;
    Action action;
    Root root;
    std::string_view key;
    std::string_view value;
    core::ValueType type;   // of a Write step
    std::string_view str;
    std::int32_t num;
    bool create;
    std::string_view message;
    void (*special)(TipServices&) = nullptr;
};

namespace restore {
using Action = RestoreStep::Action;
constexpr RestoreStep write_int(int tip, Root root, std::string_view key, std::string_view value, std::int32_t num,
                                bool create, std::string_view message) {
    return {tip, Action::Write, root, key, value, core::INT_TYPE, "", num, create, message};
}
constexpr RestoreStep write_str(int tip, Root root, std::string_view key, std::string_view value,
                                std::string_view str, bool create, std::string_view message) {
    return {tip, Action::Write, root, key, value, core::STR_TYPE, str, 0, create, message};
}
constexpr RestoreStep delete_value(int tip, Root root, std::string_view key, std::string_view value,
                                   std::string_view message) {
    return {tip, Action::DeleteValue, root, key, value, core::INT_TYPE, "", 0, false, message};
}
constexpr RestoreStep delete_key(int tip, Root root, std::string_view key) {
    return {tip, Action::DeleteKey, root, key, "", core::INT_TYPE, "", 0, false, ""};
}
constexpr RestoreStep delete_key_if_empty(int tip, Root root, std::string_view key) {
    return {tip, Action::DeleteKeyIfEmpty, root, key, "", core::INT_TYPE, "", 0, false, ""};
}
constexpr RestoreStep recreate_key(int tip, Root root, std::string_view key) {
    return {tip, Action::RecreateKey, root, key, "", core::INT_TYPE, "", 0, true, ""};
}
constexpr RestoreStep delete_on_adapters(int tip, std::string_view value, std::string_view message) {
    return {tip, Action::DeleteOnAdapters, Root::LocalMachine, "", value, core::INT_TYPE, "", 0, false, message};
}
constexpr RestoreStep special(int tip, void (*fn)(TipServices&)) {
    return {tip, Action::Special, Root::LocalMachine, "", "", core::INT_TYPE, "", 0, false, "", fn};
}
}  // namespace restore

// How a tip written by a function of its own goes into an exported .reg
// file: the key it deletes, or why it cannot go at all.
struct ExportRow {
    int tip;
    Root root;
    std::string_view deleted_key;  // "" when the tip cannot be exported
    std::string_view left_out;     // why, for the file's comment
};

struct GroupTables {
    Group group;
    std::span<const WriteRow> writes;
    std::span<const SpecialTip> specials;
    std::span<const RestoreStep> restore;
    std::span<const core::FlagRow> flags;
    std::span<const ExportRow> exports = {};
};

// Every tip of the group is either written by rows or by a function, never
// both, has at least one restore step and at least one flag row; the flag
// rows run in tip order.
constexpr bool covers_every_tip(Group group, std::span<const WriteRow> writes, std::span<const SpecialTip> specials,
                                std::span<const RestoreStep> steps, std::span<const core::FlagRow> flags) {
    const GroupDisplay& g = group_display(group);
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
        int rows = 0, functions = 0, restores = 0, flag_rows = 0;
        for (const WriteRow& r : writes) rows += r.tip == tip;
        for (const SpecialTip& s : specials) functions += s.tip == tip;
        for (const RestoreStep& s : steps) restores += s.tip == tip;
        for (const core::FlagRow& f : flags) flag_rows += f.tip == tip;
        if ((rows > 0) == (functions > 0) || functions > 1 || restores == 0 || flag_rows == 0) return false;
    }
    for (const WriteRow& r : writes)
        if (r.tip < g.first_tip || r.tip > g.last_tip) return false;
    for (const RestoreStep& s : steps)
        if (s.tip < g.first_tip || s.tip > g.last_tip) return false;
    int previous = g.first_tip;
    for (const core::FlagRow& f : flags) {
        if (f.tip < previous || f.tip > g.last_tip) return false;
        previous = f.tip;
    }
    return true;
}

// A tip of its own function is exported by a row of its own, once.
constexpr bool exports_cover_specials(std::span<const SpecialTip> specials, std::span<const ExportRow> exports) {
    for (const SpecialTip& s : specials) {
        int rows = 0;
        for (const ExportRow& e : exports) rows += e.tip == s.tip;
        if (rows != 1) return false;
    }
    return specials.size() == exports.size();
}


// The work of one tip: its records, then its writes.
void apply_tip(const GroupTables& tables, TipServices& services, int tip);
void run_restore(const GroupTables& tables, TipServices& services);
// "Restore to previous registry settings": every tip of the group that
// holds records gets back what the machine held before it was first
// applied, the last tip first.
void run_restore_previous(const GroupTables& tables, TipServices& services);
// The restore steps of one tip alone, in the group's order.
void run_restore_of_tip(const GroupTables& tables, TipServices& services, int tip);

// What applying a list of tips came to.
struct ApplyOutcome {
    std::vector<int> applied;      // recorded, written and now in effect
    std::vector<int> not_applied;  // the activity log says why
    std::vector<int> not_reached;  // left after a value of the wrong type stopped the work
    std::string stopped;           // that value's message; empty when nothing stopped
};

// The one way tips are applied, for the window and the command line alike:
// each tip in the order given, its flag taken back when its work did not
// take, and the groups' undo flags written afterwards. A value of the wrong
// type stops the work at that tip (it is not applied) and is reported, not
// thrown, so the caller can tell the tips that were never reached.
ApplyOutcome apply_tips(TipServices& services, std::span<const int> tips);
bool flagged_applied(TipServices& services, int tip);
// Tips 1 to 48 whose flag reads 1, in order.
std::vector<int> applied_tips(TipServices& services);
// A group's undo state in the store, what the Undo page offers for it: 0 while
// some of its tips are applied, 1 once restored to the factory defaults
// (or when none is applied), 2 once restored to the previous settings.
inline constexpr std::int32_t kTipsApplied = 0, kRestoredToFactory = 1, kRestoredToPrevious = 2;
void write_undone_flag(TipServices& services, Group group);
// Whether some tip of the group is recorded as applied: what makes a group
// one that can be undone, in the window and on the command line alike.
bool group_has_applied_tip(TipServices& services, Group group);
// Takes back groups' tips, each to the factory defaults or to what the
// machine held before, records that each group was undone and, once after
// all of them, derives the flags of the tips undone.
struct GroupUndo {
    Group group;
    bool to_previous;
};
void undo_groups(TipServices& services, std::span<const GroupUndo> groups);
// Takes back one tip alone: its own restore steps, or its own records
// (written back, then dropped). The other tips of its group stay applied;
// the group's undo state reads 1 or 2, as a group undo leaves it,
// only once none of its tips is applied. Nothing for a tip not applied.
void undo_tip(TipServices& services, int tip, bool to_previous);
// Whether "the previous settings" of the tip can be put back: it holds
// complete records of what the machine held before.
bool has_previous_settings(TipServices& services, int tip);
// At every start, before anything else reads the store, and only by the one
// writer: a tip whose work was cut off (the flag of work in progress still
// set) is finished: an apply from its complete records, an undo likewise.
// The activity log says which and why.
void finish_interrupted_work(TipServices& services);

const GroupTables& group_tables(Group group);
// Every group's flag rows, in tip order: what the store derives the flags from.
std::span<const core::FlagRow> flag_rows();


// What the restore point before a batch is called: "Veltrano: apply 3 tips".
std::string restore_point_name(std::string_view action, std::size_t count, std::string_view thing);

}  // namespace veltrano::tips
