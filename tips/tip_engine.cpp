#include "tips/tip_engine.h"

#include "core/error.h"
#include "core/restore_point.h"
#include "i18n/translate.h"
#include "tips/groups.h"
#include "tips/profile.h"

#include <algorithm>

namespace veltrano::tips {

using core::INT_TYPE;
using core::STR_TYPE;
using i18n::N_;
using i18n::tr;
using i18n::trf;

namespace {


// A table's log line (marked where the table is), in the language in use.
std::string log_line(std::string_view message) { return message.empty() ? std::string() : tr(message); }

void delete_key_directly(platform::Registry& registry, Root root, std::string_view key, bool only_if_empty) {
    if (only_if_empty) {
        auto target = registry.open(root, std::string(key), false);
        if (!target) return;
        if (!target->value_names().empty() || !target->subkey_names().empty()) return;
    }
    platform::delete_key(registry, root, std::string(key));
}

void run_step(const RestoreStep& step, TipServices& services) {
    using Action = RestoreStep::Action;
    switch (step.action) {
    case Action::Write:
        services.reg.write_value(step.root, std::string(step.key), std::string(step.value), step.type, std::string(step.str), step.num,
                                    log_line(step.message), step.create);
        break;
    case Action::DeleteValue:
        services.reg.delete_entry(step.root, std::string(step.key), std::string(step.value), core::VALUENAME, log_line(step.message));
        break;
    case Action::DeleteKey:
        delete_key_directly(services.reg.registry(), step.root, step.key, false);
        break;
    case Action::DeleteKeyIfEmpty:
        delete_key_directly(services.reg.registry(), step.root, step.key, true);
        break;
    case Action::RecreateKey:
        // Created empty, its values and subkeys were lost; the record has them.
        if (!services.store.restore_original_key(core::tip_key(step.tip), step.root, std::string(step.key)))
            services.reg.registry().open(step.root, std::string(step.key), true);
        break;
    case Action::DeleteOnAdapters:
        for (const core::TcpipAdapter& adapter : core::tcpip_adapters(services.reg))
            services.reg.delete_entry(Root::LocalMachine, adapter.interface_key(), std::string(step.value), core::VALUENAME,
                                    log_line(step.message));
        break;
    case Action::Special:
        step.special(services);
        break;
    }
}

}  // namespace

const GroupTables& group_tables(Group group) {
    switch (group) {
    case Group::Network: return network_tables();
    case Group::Power: return power_tables();
    case Group::System: return system_tables();
    case Group::Customization: break;
    }
    return customization_tables();
}

std::span<const core::FlagRow> flag_rows() {
    static const std::vector<core::FlagRow> rows = [] {
        std::vector<core::FlagRow> all;
        for (const GroupDisplay& g : kGroupDisplay) {
            const auto flags = group_tables(g.group).flags;
            all.insert(all.end(), flags.begin(), flags.end());
        }
        return all;
    }();
    return rows;
}

void apply_tip(const GroupTables& tables, TipServices& services, int tip) {
    for (const SpecialTip& special : tables.specials)
        if (special.tip == tip) return special.apply(services);
    // Every record first, so each old value is read before any of the tip's
    // own writes can change it (tip 31 writes the same names twice).
    const std::string key = core::tip_key(tip);
    for (const WriteRow& r : tables.writes)
        if (r.tip == tip)
            services.store.record_value(key, r.root, platform::root_name(r.root), std::string(r.key), std::string(r.value), r.type,
                                   std::string(r.str), r.num, true);
    for (const WriteRow& r : tables.writes)
        if (r.tip == tip)
            services.reg.write_value(r.root, std::string(r.key), std::string(r.value), r.type, std::string(r.str), r.num, log_line(r.message),
                                        r.create);
}

void run_restore(const GroupTables& tables, TipServices& services) {
    for (const RestoreStep& step : tables.restore) run_step(step, services);
}

void run_restore_previous(const GroupTables& tables, TipServices& services) {
    const GroupDisplay& g = group_display(tables.group);
    for (int tip = g.last_tip; tip >= g.first_tip; --tip) {
        const std::string key = core::tip_key(tip);
        if (services.store.has_original_records(key)) services.store.restore_original(key);
    }
}

void run_restore_of_tip(const GroupTables& tables, TipServices& services, int tip) {
    for (const RestoreStep& step : tables.restore)
        if (step.tip == tip) run_step(step, services);
}

bool flagged_applied(TipServices& services, int tip) { return services.store.is_applied(tip); }

std::vector<int> applied_tips(TipServices& services) {
    std::vector<int> tips;
    for (int tip = 1; tip <= kTipCount; ++tip)
        if (flagged_applied(services, tip)) tips.push_back(tip);
    return tips;
}

bool group_has_applied_tip(TipServices& services, Group group) {
    const GroupDisplay& g = group_display(group);
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip)
        if (flagged_applied(services, tip)) return true;
    return false;
}

void write_undone_flag(TipServices& services, Group group) {
    const GroupDisplay& g = group_display(group);
    services.store.write_group_undone(g.undone,
                                      group_has_applied_tip(services, group) ? kTipsApplied : kRestoredToFactory);
}

namespace {

// A tip whose work did not take is not applied, whatever its records say;
// but one that was applied before and has drifted stays recorded as applied,
// its originals kept, until it is put back in effect or undone: taking its
// flag back would hide the drift from /verify and the Undo page.
void take_back_flag(TipServices& services, int tip, bool was_applied) {
    if (was_applied) {
        services.store.set_applied_flag(tip, 1);
        services.reg.log().add(trf("{0} stays recorded as applied: it was applied before and is not in effect now; "
                                   "its original values are kept for Undo",
                                   core::tip_key(tip)));
        return;
    }
    services.store.set_applied_flag(tip, 0);
}

bool took_effect(TipServices& services, int tip, bool was_applied) {
    // The store refused the flag: the log holds its error lines.
    if (!flagged_applied(services, tip)) return false;
    if (services.store.derives_applied(tip)) return true;
    services.reg.log().add(trf("{0} could not be applied: its settings were not written", core::tip_key(tip)));
    take_back_flag(services, tip, was_applied);
    return false;
}

bool apply_one(TipServices& services, int tip) {
    const bool was_applied = flagged_applied(services, tip);
    services.store.mark_group_changing(group_display(tip_display(tip).group).undone);
    services.store.begin_work(tip, core::Work::Apply);
    try {
        apply_tip(group_tables(tip_display(tip).group), services, tip);
    } catch (const core::VeltranoError&) {
        // The flag was set before the bad value was met: the tip is not in
        // effect, so it must not read as newly applied. Its records stay for Undo.
        services.reg.log().add(trf("{0} could not be applied: a value has the wrong type", core::tip_key(tip)));
        take_back_flag(services, tip, was_applied);
        services.store.end_work(tip);
        throw;
    }
    const bool took = took_effect(services, tip, was_applied);
    services.store.end_work(tip);
    return took;
}

}  // namespace

ApplyOutcome apply_tips(TipServices& services, std::span<const int> tips) {
    ApplyOutcome outcome;
    bool touched[kGroupCount] = {};
    for (std::size_t i = 0; i < tips.size(); ++i) {
        const int tip = tips[i];
        touched[static_cast<std::size_t>(tip_display(tip).group)] = true;
        try {
            (apply_one(services, tip) ? outcome.applied : outcome.not_applied).push_back(tip);
        } catch (const core::VeltranoError& e) {
            outcome.not_applied.push_back(tip);
            outcome.not_reached.assign(tips.begin() + static_cast<std::ptrdiff_t>(i) + 1, tips.end());
            outcome.stopped = e.what();
            break;
        }
        services.reg.log().checkpoint();
    }
    // The Undo page reads these flags: right after an apply it must offer the group.
    for (const GroupDisplay& g : kGroupDisplay)
        if (touched[static_cast<std::size_t>(g.group)]) write_undone_flag(services, g.group);
    return outcome;
}

void undo_groups(TipServices& services, std::span<const GroupUndo> groups) {
    std::vector<int> undone;
    for (const GroupUndo& undo : groups) {
        const GroupDisplay& g = group_display(undo.group);
        const GroupTables& tables = group_tables(undo.group);
        if (undo.to_previous) {
            // The records decide, not the flags: a tip cut off half way
            // reads as not applied, yet what it changed is in its records.
            for (int tip = g.last_tip; tip >= g.first_tip; --tip) {
                if (!services.store.has_original_records(core::tip_key(tip))) continue;
                services.store.begin_work(tip, core::Work::UndoToPrevious);
                services.store.restore_original(core::tip_key(tip));
                undone.push_back(tip);
            }
        } else {
            for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
                services.store.begin_work(tip, core::Work::UndoToFactory);
                undone.push_back(tip);
            }
            run_restore(tables, services);
        }
        services.store.write_group_undone(g.undone,
                                        undo.to_previous ? kRestoredToPrevious : kRestoredToFactory);
        services.reg.log().checkpoint();
    }
    if (std::any_of(groups.begin(), groups.end(), [](const GroupUndo& u) { return !u.to_previous; }))
        services.store.remove_emptied_keys();
    // Once, after every group: a flag derived from a machine still half
    // restored would hide a later group's records.
    std::sort(undone.begin(), undone.end());
    services.store.derive_flags(undone);
    for (int tip : undone) services.store.end_work(tip);
    services.reg.log().checkpoint();
}

namespace {

// The part of an undo that follows its intent: the machine, the tip's flag,
// the group's state, and last the intent cleared. Run again whole by the
// next start when it was cut off.
void finish_tip_undo(TipServices& services, int tip, bool to_previous) {
    const Group group = tip_display(tip).group;
    if (to_previous) {
        services.store.restore_original(core::tip_key(tip));
    } else {
        run_restore_of_tip(group_tables(group), services, tip);
        services.store.remove_emptied_keys();
    }
    const int tips[] = {tip};
    services.store.derive_flags(tips);
    // While any tip of the group is applied the Undo page must still offer
    // it; the last one undone leaves the group as its own undo would. A
    // group undo cut off half way ends the same.
    if (!group_has_applied_tip(services, group))
        services.store.write_group_undone(group_display(group).undone,
                                          to_previous ? kRestoredToPrevious : kRestoredToFactory);
    services.store.end_work(tip);
}

}  // namespace

bool has_previous_settings(TipServices& services, int tip) {
    return services.store.has_original_records(core::tip_key(tip));
}

void undo_tip(TipServices& services, int tip, bool to_previous) {
    if (!flagged_applied(services, tip)) return;
    const std::string name = core::tip_key(tip);
    services.reg.log().add(
        to_previous
            ? trf("{0} is being undone alone, to the previous settings; the other tips of its group stay as they are", name)
            : trf("{0} is being undone alone, to the factory defaults; the other tips of its group stay as they are", name));
    services.store.begin_work(tip, to_previous ? core::Work::UndoToPrevious : core::Work::UndoToFactory);
    finish_tip_undo(services, tip, to_previous);
    if (flagged_applied(services, tip))
        services.reg.log().add(trf("{0} still counts as applied: the settings put back are those it writes", name));
    services.reg.log().checkpoint();
}

void finish_interrupted_work(TipServices& services) {
    for (int tip = 1; tip <= kTipCount; ++tip) {
        const auto work = services.store.work_in_progress(tip);
        if (!work) continue;
        const std::string name = core::tip_key(tip);
        const Group group = tip_display(tip).group;
        // A record cut off before its mark describes a value never touched.
        services.store.drop_incomplete_records(tip);
        try {
            switch (*work) {
            case core::Work::Apply:
                services.reg.log().add(
                    trf("{0} was being applied when Veltrano was stopped: finishing it from its records", name));
                apply_one(services, tip);
                write_undone_flag(services, group);
                break;
            case core::Work::UndoToPrevious:
            case core::Work::UndoToFactory: {
                const bool previous = *work == core::Work::UndoToPrevious;
                services.reg.log().add(
                    previous ? trf("{0} was being undone when Veltrano was stopped: finishing its restore to the "
                                   "previous settings",
                                   name)
                             : trf("{0} was being undone when Veltrano was stopped: finishing its restore to the "
                                   "factory defaults",
                                   name));
                finish_tip_undo(services, tip, previous);
                break;
            }
            }
        } catch (const core::VeltranoError& e) {
            // apply_one has settled the tip; an undo stopped by a wrongly
            // typed value is left to the user's next Undo, which starts anew.
            // TRANSLATORS: a tip's name (TIP0017), then why its unfinished work stopped
            services.reg.log().add(trf("{0}: {1}", name, e.what()));
            services.store.end_work(tip);
        }
        services.reg.log().checkpoint();
    }
}

// The names a restore point can have, whole, for the translators: the name
// is built in English from the caller's words and then looked up.
[[maybe_unused]] constexpr std::string_view kRestorePointNames[] = {
    // TRANSLATORS: a System Restore point's name; {0} is 1, the number of tips
    N_("Veltrano: apply {0} tip"),
    // TRANSLATORS: a System Restore point's name; {0} is a number of tips other than 1
    N_("Veltrano: apply {0} tips"),
    // TRANSLATORS: a System Restore point's name; {0} is 1, the number of the Undo page's groups
    N_("Veltrano: undo {0} group"),
    // TRANSLATORS: a System Restore point's name; {0} is a number of the Undo page's groups other than 1
    N_("Veltrano: undo {0} groups"),
};

std::string restore_point_name(std::string_view action, std::size_t count, std::string_view thing) {
    const std::string name =
        "Veltrano: " + std::string(action) + " {0} " + std::string(thing) + (count == 1 ? "" : "s");
    return trf(name, std::to_string(count));
}

}  // namespace veltrano::tips
