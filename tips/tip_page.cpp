#include "tips/tip_page.h"

#include "core/error.h"
#include "core/restore_point.h"
#include "i18n/translate.h"
#include "tips/profile.h"

#include <algorithm>

namespace veltrano::tips {

namespace {


}  // namespace

void TipPage::refresh() {
    const GroupDisplay& g = display();
    show_flags();
    auto& waiting = ctx_.profile_ticks->waiting[static_cast<std::size_t>(g.group)];
    if (waiting) {
        for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
            const ui::CheckBox box = tip_display(tip).check_box;
            const bool chosen = std::find(waiting->begin(), waiting->end(), tip) != waiting->end();
            if (ctx_.widgets.is_enabled(box)) ctx_.widgets.set_checked(box, chosen);
        }
        waiting.reset();
    }
    write_undone_flag(ctx_.services, g.group);
}

void TipPage::show_flags() {
    const GroupDisplay& g = display();
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip) show_applied(tip, flagged_applied(ctx_.services, tip));
}

// An applied tip's box is ticked and disabled, so it reads "checked,
// unavailable"; one offered again after an undo starts unticked, as the
// tick there was the applied state's and not the user's choice.
void TipPage::show_applied(int tip, bool applied) {
    const ui::CheckBox box = tip_display(tip).check_box;
    if (applied) {
        ctx_.widgets.set_checked(box, true);
    } else if (!ctx_.widgets.is_enabled(box)) {
        ctx_.widgets.set_checked(box, false);
    }
    ctx_.widgets.set_enabled(box, !applied);
    ctx_.widgets.set_enabled(undo_tip_menu_item(tip, false), applied);
    ctx_.widgets.set_enabled(undo_tip_menu_item(tip, true), applied && has_previous_settings(ctx_.services, tip));
}

void TipPage::undo_tip(int tip, bool to_previous) {
    // The menu shows the page as it was last drawn; the store decides.
    const bool offered = flagged_applied(ctx_.services, tip) && (!to_previous || has_previous_settings(ctx_.services, tip));
    if (!offered) return show_flags();
    std::string caption = i18n::tr(tip_display(tip).caption);
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    // Asked before the writer gate is taken: a script must not wait on the user.
    if (!ctx_.dialogs.ask_yes_no(caption + "\r\n\r\n" +
                                 i18n::tr(to_previous ? kUndoTipPreviousQuestion : kUndoTipFactoryQuestion)))
        return;
    as_page_writer(ctx_, [this, tip, to_previous] {
        core::RestorePoint point(ctx_.system_restore, ctx_.services.reg.log(), restore_point_name("undo", 1, "tip"));
        tips::undo_tip(ctx_.services, tip, to_previous);
        point.succeeded();
    });
    // Not the group's flag: the undo wrote it as the Undo page must read it.
    show_flags();
}

ui::MenuItem undo_tip_menu_item(int tip, bool to_previous) {
    // Spelt once for every tip, and kept: a handle only points at its name.
    static const auto names = [] {
        std::array<std::array<std::string, 2>, kTipCount> made;
        for (int t = 1; t <= kTipCount; ++t)
            for (const bool previous : {false, true})
                made[static_cast<std::size_t>(t - 1)][previous] =
                    (previous ? "UndoTipPrevious_" : "UndoTipFactory_") + std::string(tip_display(t).check_box);
        return made;
    }();
    return ui::MenuItem{names[static_cast<std::size_t>(tip - 1)][to_previous]};
}

void TipPage::save_profile() {
    const std::string path = ctx_.dialogs.choose_profile_to_save();
    if (path.empty()) return;
    const std::vector<int> tips = applied_tips(ctx_.services);
    const std::string text = format_profile(tips, "the tips applied on this machine on " + ctx_.services.time.short_date_today());
    if (!ctx_.files.replace_file(path, std::vector<std::uint8_t>(text.begin(), text.end())))
        throw core::VeltranoError(i18n::trf("The profile could not be written to {0}", path));
    ctx_.services.reg.log().add(i18n::trf("Profile saved to {0}: {1} tips applied", path, std::to_string(tips.size())));
}

void TipPage::load_profile() {
    const std::string path = ctx_.dialogs.choose_profile_to_open();
    if (path.empty()) return;
    const std::vector<int> tips = read_profile(ctx_.files, path, ctx_.ansi);
    int ticked = 0, already = 0;
    for (const GroupDisplay& g : kGroupDisplay) {
        auto& waiting = ctx_.profile_ticks->waiting[static_cast<std::size_t>(g.group)];
        waiting.emplace();
        for (int tip : tips)
            if (tip >= g.first_tip && tip <= g.last_tip) {
                waiting->push_back(tip);
                (flagged_applied(ctx_.services, tip) ? already : ticked) += 1;
            }
    }
    refresh();
    ctx_.services.reg.log().add(i18n::trf("Profile {0} loaded: {1} tips ticked on the four pages, {2} applied already",
                                          path, std::to_string(ticked), std::to_string(already)));
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

void as_page_writer(Context& ctx, const std::function<void()>& work) {
    if (!as_writer(ctx.writer, kWindowWriterWaitMs, work)) ctx.dialogs.show_information(i18n::tr(kAnotherWriter));
}

void TipPage::apply() {
    as_page_writer(ctx_, [this] { apply_ticked(); });
}

void TipPage::apply_ticked() {
    const GroupDisplay& g = display();
    std::vector<int> ticked;
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip) {
        const ui::CheckBox box = tip_display(tip).check_box;
        // A disabled box is an applied tip (ticked to say so) or one that
        // stopped the last Apply: neither is the user's choice now.
        if (!ctx_.widgets.is_enabled(box) || !ctx_.widgets.is_checked(box)) continue;
        // Unticked and disabled before the work, so a tip that stops on a
        // bad value is not offered twice.
        ctx_.widgets.set_checked(box, false);
        ctx_.widgets.set_enabled(box, false);
        ticked.push_back(tip);
    }
    ApplyOutcome outcome;
    if (!ticked.empty()) {
        core::RestorePoint point(ctx_.system_restore, ctx_.services.reg.log(), restore_point_name("apply", ticked.size(), "tip"));
        outcome = apply_tips(ctx_.services, ticked);
        if (outcome.stopped.empty()) point.succeeded();
    }
    for (int tip : outcome.applied) show_applied(tip, true);
    if (!outcome.stopped.empty()) {
        // The tips never reached stay the user's choice, as they were.
        for (int tip : outcome.not_reached) {
            ctx_.widgets.set_enabled(tip_display(tip).check_box, true);
            ctx_.widgets.set_checked(tip_display(tip).check_box, true);
        }
        throw core::VeltranoError(outcome.stopped);
    }
    const int applied = static_cast<int>(outcome.applied.size());
    const int asked = static_cast<int>(ticked.size());
    bool all_disabled = true;
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip)
        all_disabled = all_disabled && !ctx_.widgets.is_enabled(tip_display(tip).check_box);
    ctx_.sound.play_resource_async("DONE");
    ctx_.dialogs.show_balloon(applied == asked && all_disabled ? i18n::tr(kAllAppliedText) : apply_text(applied, asked));
}



void TipPage::help_image_click(int tip) {
    ctx_.dialogs.show_help(ctx_.help_base + "/" + std::string(tip_display(tip).help_link));
}

void TipPage::check_box_help(std::string_view check_box) {
    const GroupDisplay& g = display();
    for (int tip = g.first_tip; tip <= g.last_tip; ++tip)
        if (tip_display(tip).check_box == check_box) return help_image_click(tip);
}

std::string help_image_name(int tip) {
    std::string caption = i18n::tr(tip_display(tip).caption);
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    return i18n::trf("Help: {0}", caption);
}

std::string apply_text(int applied, int ticked) {
    if (ticked == 0) return i18n::tr(kChooseText);
    if (applied == ticked) return i18n::tr(kAppliedText);
    if (applied == 0) return i18n::tr(kNoneAppliedText);
    return i18n::trf("Applied {0} of {1} selected choices. The activity log says why the others could not be applied. ",
                     std::to_string(applied), std::to_string(ticked));
}

}  // namespace veltrano::tips
