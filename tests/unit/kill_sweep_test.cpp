// A run ended at any registry call, as when the power fails or the process
// is ended from Task Manager: applying all 48 tips, undoing all four groups
// to the previous settings, or undoing one tip alone either way, is stopped
// before each of its registry calls in turn. After each stop the program
// starts afresh on what was left and runs Undo to the previous settings
// (the machine must be exactly as before any apply), the apply again
// (exactly one clean apply, records included) or, after one tip's undo,
// nothing more (exactly as the whole undo left the machine and the
// records, or as they were before it). A stop before a call that only
// reads leaves what a stop before the next change leaves, so the stops
// before the changes cover them all.
#include "core/registry_primitives.h"
#include "core/tip_state_store.h"
#include "support/fakes.h"
#include "support/memory_log.h"
#include "support/memory_registry.h"
#include "support/reg_file.h"
#include "support/stopping_registry.h"
#include "support/xp_machine.h"
#include "tips/tip_engine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>

using namespace veltrano;
using platform::RegValue;
using platform::Root;

namespace {

// Every key of every root, paths and value names folded, so a run that
// deleted and re-made a value compares equal with one that kept it.
using Dump = std::map<std::string, std::map<std::string, RegValue>>;

std::string folded(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void walk(platform::Registry& reg, Root root, const std::string& path, bool with_store, Dump& out) {
    const std::string full = folded(std::string(platform::root_name(root)) + "\\" + path);
    if (!with_store && full.rfind("hkey_local_machine\\software\\veltrano", 0) == 0) return;
    auto key = reg.open(root, path, false);
    auto& values = out[full];
    for (const auto& name : key->value_names()) values[folded(name)] = *key->query(name);
    for (const auto& sub : key->subkey_names()) walk(reg, root, path.empty() ? sub : path + "\\" + sub, with_store, out);
}

Dump dump(platform::Registry& reg, bool with_store) {
    Dump out;
    for (Root root : platform::kAllRoots) walk(reg, root, "", with_store, out);
    return out;
}

std::string first_difference(const Dump& got, const Dump& want) {
    std::ostringstream out;
    for (const auto& [key, values] : want) {
        auto it = got.find(key);
        if (it == got.end()) return "missing key " + key;
        for (const auto& [name, value] : values) {
            auto v = it->second.find(name);
            if (v == it->second.end()) return key + ": missing value " + name;
            if (v->second != value) return key + ": " + name + " differs";
        }
        for (const auto& [name, value] : it->second)
            if (!values.count(name)) return key + ": extra value " + name;
    }
    for (const auto& [key, values] : got)
        if (!want.count(key)) return "extra key " + key;
    return "";
}

enum class Action { None, ApplyAll, UndoAllToPrevious, UndoTipToFactory, UndoTipToPrevious };

// The tip undone alone: one that removes a key and puts it back whole.
constexpr int kTipUndoneAlone = 32;

// One start of the program on the registry given, as veltrano.exe /apply
// and /undo go: the store's set-up, work left unfinished finished, then
// the action.
void start_and(platform::Registry& reg, Action action) {
    fakes::FakeTime time;
    fakes::MemoryLog log;
    core::RegistryPrimitives prim(reg, log);
    core::TipStateStore store(prim, time, tips::flag_rows());
    tips::TipServices tip_services{prim, store, time};
    store.check_for_previous_install();
    tips::finish_interrupted_work(tip_services);
    if (action == Action::ApplyAll) {
        std::vector<int> to_apply;
        for (int tip = 1; tip <= tips::kTipCount; ++tip)
            if (!tips::flagged_applied(tip_services, tip)) to_apply.push_back(tip);
        tips::apply_tips(tip_services, to_apply);
    } else if (action == Action::UndoAllToPrevious) {
        std::vector<tips::GroupUndo> groups;
        for (const tips::GroupDisplay& g : tips::kGroupDisplay) groups.push_back({g.group, true});
        tips::undo_groups(tip_services, groups);
    } else if (action == Action::UndoTipToFactory || action == Action::UndoTipToPrevious) {
        tips::undo_tip(tip_services, kTipUndoneAlone, action == Action::UndoTipToPrevious);
    }
}

// The XP machine with others' values in the tips' keys, after the first start.
void prepare(fakes::MemoryRegistry& reg, Action before_the_stop) {
    ASSERT_TRUE(fakes::load_reg_file(reg, VELTRANO_MACHINE_REG));
    fakes::place_extras(reg);
    start_and(reg, Action::None);
    start_and(reg, before_the_stop);
}

// What the next start does after a stop, and what it must come to.
struct Then {
    Action after;
    bool with_store;  // compared with the records, or the machine alone
};

struct Sweep {
    const char* name;
    Action before;   // done whole before the run that is stopped
    Action stopped;  // the run stopped at each change
    std::vector<Then> then;
    // What `then` must come to: its run after the whole of `stopped` (or,
    // for a stop before the first change, on what was there before it),
    // not on the machine before any apply.
    bool after_whole_run = false;
    std::size_t fewest_stops = 100;
};

class KillSweep : public ::testing::TestWithParam<Sweep> {};

TEST_P(KillSweep, EveryStopEndsAsTheWholeRunWouldOrAsItWasBefore) {
    const Sweep& sweep = GetParam();
    fakes::MemoryRegistry start;
    prepare(start, sweep.before);
    // Undo: the machine before any apply; apply again: what one clean apply leaves.
    fakes::MemoryRegistry untouched;
    prepare(untouched, Action::None);
    std::vector<Dump> want, as_before;
    for (const Then& then : sweep.then) {
        if (sweep.after_whole_run) {
            fakes::MemoryRegistry unchanged(start);
            start_and(unchanged, then.after);
            as_before.push_back(dump(unchanged, then.with_store));
        }
        fakes::MemoryRegistry reg(sweep.after_whole_run ? start : untouched);
        if (sweep.after_whole_run)
            start_and(reg, sweep.stopped), start_and(reg, then.after);
        else if (then.after == Action::ApplyAll)
            start_and(reg, Action::ApplyAll);
        want.push_back(dump(reg, then.with_store));
    }
    std::vector<std::size_t> stops;
    {
        fakes::MemoryRegistry reg(start);
        fakes::StoppingRegistry counting(reg);
        start_and(counting, sweep.stopped);
        stops = counting.changes();
    }
    ASSERT_GT(stops.size(), sweep.fewest_stops);

    std::vector<std::size_t> differing;
    std::string first;
    for (std::size_t stop : stops) {
        fakes::MemoryRegistry stopped(start);
        fakes::StoppingRegistry stopping(stopped, stop);
        EXPECT_THROW(start_and(stopping, sweep.stopped), fakes::Stopped);
        for (std::size_t i = 0; i < sweep.then.size(); ++i) {
            fakes::MemoryRegistry reg(stopped);
            start_and(reg, sweep.then[i].after);
            const Dump got = dump(reg, sweep.then[i].with_store);
            const std::string difference = first_difference(got, want[i]);
            if (difference.empty() || (sweep.after_whole_run && first_difference(got, as_before[i]).empty())) continue;
            if (differing.empty()) first = "stopped before call " + std::to_string(stop) + ": " + difference;
            differing.push_back(stop);
        }
    }
    EXPECT_THAT(differing, ::testing::IsEmpty()) << differing.size() << " of " << stops.size() << " stops; first " << first;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, KillSweep,
    ::testing::Values(Sweep{"Apply", Action::None, Action::ApplyAll,
                            {{Action::UndoAllToPrevious, false}, {Action::ApplyAll, true}}},
                      Sweep{"Undo", Action::ApplyAll, Action::UndoAllToPrevious, {{Action::UndoAllToPrevious, false}}},
                      // One tip alone, its group's others applied: the records and flags too.
                      Sweep{"UndoOneTipToFactory", Action::ApplyAll, Action::UndoTipToFactory,
                            {{Action::None, true}}, true, 3},
                      Sweep{"UndoOneTipToPrevious", Action::ApplyAll, Action::UndoTipToPrevious,
                            {{Action::None, true}}, true, 3}),
    [](const ::testing::TestParamInfo<Sweep>& info) { return std::string(info.param.name); });

}  // namespace
