#include "tips/tip_engine.h"

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

void TipPage::refresh() {
    const GroupDisplay& g = display();
    bool all_enabled = true;
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
        const bool applied =
            ctx_.reg.Get_Sysinfo_Registry_integer(Root::LocalMachine, state_key(tip), core::kAppliedFlag) == 1;
        ctx_.widgets.set_enabled(tip_display(tip).check_box, !applied);
        all_enabled = all_enabled && !applied;
    }
    ctx_.reg.Manipulate_Registry(Root::LocalMachine, core::kStateKeyBase, s(g.undone_flag), INT_TYPE, "",
                                 all_enabled ? 1 : 0, "Setting " + s(g.undone_flag), true);
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
    std::string_view text = kChooseText;
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
        const std::string_view box = tip_display(tip).check_box;
        // The tick decides, not the enabled state: a box ticked before a
        // show disabled it is still the user's choice.
        if (!ctx_.widgets.is_checked(box)) continue;
        // Unticked and disabled before the work, so a tip that stops on a
        // bad value is not offered twice.
        ctx_.widgets.set_checked(box, false);
        ctx_.widgets.set_enabled(box, false);
        text = kAppliedText;
        apply_tip(tables_, ctx_, tip);
    }
    bool all_disabled = true;
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip)
        all_disabled = all_disabled && !ctx_.widgets.is_enabled(tip_display(tip).check_box);
    if (all_disabled) text = kAllAppliedText;
    ctx_.sound.play_resource_async("DONE");
    ctx_.dialogs.show_balloon(s(text));
}

void TipPage::restore_defaults() { run_restore(tables_, ctx_); }

void TipPage::help_image_click(int tip) {
    ctx_.dialogs.show_help(ctx_.help_base + "/" + s(tip_display(tip).help_link));
}

}  // namespace veltrano::tips
