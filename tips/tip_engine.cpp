#include "tips/tip_engine.h"

#include "core/error.h"

namespace veltrano::tips {

using core::INT_TYPE;
using core::STR_TYPE;

namespace {

std::string s(std::string_view v) { return std::string(v); }

// A key path split at its last backslash: the parent and the key's own name.
std::pair<std::string, std::string> parent_and_name(std::string_view key) {
    const auto slash = key.rfind('\\');
    if (slash == std::string_view::npos) return {"", s(key)};
    return {s(key.substr(0, slash)), s(key.substr(slash + 1))};
}

void delete_key_directly(platform::Registry& registry, Root root, std::string_view key, bool only_if_empty) {
    const auto [parent, name] = parent_and_name(key);
    if (only_if_empty) {
        auto target = registry.open(root, s(key), false);
        if (!target) return;
        if (!target->value_names().empty() || !target->subkey_names().empty()) return;
    }
    if (auto p = registry.open(root, parent, false)) p->delete_subtree(name);
}

void run_step(const RestoreStep& step, Context& ctx) {
    using A = RestoreStep::Action;
    switch (step.action) {
    case A::Write:
        ctx.reg.Manipulate_Registry(step.root, s(step.key), s(step.value), step.type, s(step.str), step.num,
                                    s(step.message), step.create);
        break;
    case A::DeleteValue:
        ctx.reg.Delete_Registry(step.root, s(step.key), s(step.value), core::VALUENAME, s(step.message));
        break;
    case A::DeleteKey:
        delete_key_directly(ctx.reg.registry(), step.root, step.key, false);
        break;
    case A::DeleteKeyIfEmpty:
        delete_key_directly(ctx.reg.registry(), step.root, step.key, true);
        break;
    case A::CreateKey:
        ctx.reg.registry().open(step.root, s(step.key), true);
        break;
    case A::RecreateKey:
        // Created empty, its values and subkeys were lost; the record has them.
        if (!ctx.store.restore_original_key(core::tip_key(step.tip), step.root, s(step.key)))
            ctx.reg.registry().open(step.root, s(step.key), true);
        break;
    case A::DeleteOnAdapters:
        for (const core::TcpipAdapter& adapter : core::tcpip_adapters(ctx.reg))
            ctx.reg.Delete_Registry(Root::LocalMachine, adapter.interface_key(), s(step.value), core::VALUENAME,
                                    s(step.message));
        break;
    case A::Special:
        step.special(ctx);
        break;
    }
}

}  // namespace

std::string state_key(int tip) { return core::kStateKeyBase + core::tip_key(tip); }


void apply_tip(const GroupTables& tables, Context& ctx, int tip) {
    for (const SpecialTip& special : tables.specials)
        if (special.tip == tip) return special.apply(ctx);
    // Every record first, so each old value is read before any of the tip's
    // own writes can change it (tip 31 writes the same names twice).
    const std::string key = core::tip_key(tip);
    for (const WriteRow& r : tables.writes)
        if (r.tip == tip)
            ctx.store.create_veltrano_log(key, r.root, platform::root_name(r.root), s(r.key), s(r.value), r.type,
                                          s(r.str), r.num, true);
    for (const WriteRow& r : tables.writes)
        if (r.tip == tip)
            ctx.reg.Manipulate_Registry(r.root, s(r.key), s(r.value), r.type, s(r.str), r.num, s(r.message),
                                        r.create);
}

void run_restore(const GroupTables& tables, Context& ctx) {
    for (const RestoreStep& step : tables.restore) run_step(step, ctx);
}

void run_restore_previous(const GroupTables& tables, Context& ctx) {
    const GroupDisplay& g = group_display(tables.group);
    for (int tip = g.last_tip; tip >= g.first_tip; --tip) {
        const std::string key = core::tip_key(tip);
        const bool applied =
            ctx.reg.Get_Sysinfo_Registry_integer(Root::LocalMachine, state_key(tip), core::kAppliedFlag) == 1;
        if (applied && ctx.store.has_original_records(key)) ctx.store.restore_original(key);
    }
}

namespace {
bool flagged_applied(core::RegistryPrimitives& reg, int tip) {
    return reg.Get_Sysinfo_Registry_integer(Root::LocalMachine, state_key(tip), core::kAppliedFlag) == 1;
}
}  // namespace

void TipPage::refresh() {
    const GroupDisplay& g = display();
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip)
        ctx_.widgets.set_enabled(tip_display(tip).check_box, !flagged_applied(ctx_.reg, tip));
    write_undone_flag();
}

void TipPage::write_undone_flag() {
    const GroupDisplay& g = display();
    bool none_applied = true;
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip) none_applied = none_applied && !flagged_applied(ctx_.reg, tip);
    ctx_.reg.Manipulate_Registry(Root::LocalMachine, core::kStateKeyBase, s(g.undone_flag), INT_TYPE, "",
                                 none_applied ? 1 : 0, "Setting " + s(g.undone_flag), true);
}

bool TipPage::took_effect(int tip) {
    // The store refused the flag: the log holds its error lines.
    if (!flagged_applied(ctx_.reg, tip)) return false;
    if (ctx_.store.derives_applied(tip)) return true;
    const std::string key = core::tip_key(tip);
    ctx_.reg.log().add(key + " could not be applied: its settings were not written");
    ctx_.reg.Manipulate_Registry(Root::LocalMachine, state_key(tip), core::kAppliedFlag, INT_TYPE, "", 0,
                                 "Setting flag for " + key, true);
    return false;
}

void TipPage::select_all() {
    const GroupDisplay& g = display();
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip)
        if (ctx_.widgets.is_enabled(tip_display(tip).check_box)) ctx_.widgets.set_checked(tip_display(tip).check_box, true);
}

void TipPage::clear_all() {
    const GroupDisplay& g = display();
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip)
        if (ctx_.widgets.is_enabled(tip_display(tip).check_box)) ctx_.widgets.set_checked(tip_display(tip).check_box, false);
}

void TipPage::apply() {
    const GroupDisplay& g = display();
    int ticked = 0, applied = 0;
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
        const std::string_view box = tip_display(tip).check_box;
        // The tick decides, not the enabled state: a box ticked before a
        // show disabled it is still the user's choice.
        if (!ctx_.widgets.is_checked(box)) continue;
        // Unticked and disabled before the work, so a tip that stops on a
        // bad value is not offered twice.
        ctx_.widgets.set_checked(box, false);
        ctx_.widgets.set_enabled(box, false);
        ++ticked;
        try {
            apply_tip(tables_, ctx_, tip);
        } catch (const core::VeltranoError&) {
            // A wrongly typed value stops Apply here, after the flag was set:
            // nothing of this tip took, so it must not read as applied.
            ctx_.reg.log().add(core::tip_key(tip) + " could not be applied: a value has the wrong type");
            ctx_.reg.Manipulate_Registry(Root::LocalMachine, state_key(tip), core::kAppliedFlag, INT_TYPE, "", 0,
                                         "Setting flag for " + core::tip_key(tip), true);
            write_undone_flag();
            throw;
        }
        applied += took_effect(tip);
    }
    // The Undo page reads this flag: right after Apply it must offer the group.
    write_undone_flag();
    bool all_disabled = true;
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip)
        all_disabled = all_disabled && !ctx_.widgets.is_enabled(tip_display(tip).check_box);
    ctx_.sound.play_resource_async("DONE");
    ctx_.dialogs.show_balloon(applied == ticked && all_disabled ? s(kAllAppliedText) : apply_text(applied, ticked));
}

std::string apply_text(int applied, int ticked) {
    if (ticked == 0) return s(kChooseText);
    if (applied == ticked) return s(kAppliedText);
    if (applied == 0) return s(kNoneAppliedText);
    return "Applied " + std::to_string(applied) + " of " + std::to_string(ticked) +
           " selected choices. The activity log says why the others could not be applied. ";
}

void TipPage::restore_defaults() { run_restore(tables_, ctx_); }

void TipPage::help_image_click(int tip) {
    ctx_.dialogs.show_help(ctx_.help_base + "/" + s(tip_display(tip).help_link));
}

}  // namespace veltrano::tips
