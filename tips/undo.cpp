#include "tips/undo.h"

#include "core/restore_point.h"

#include <vector>

namespace veltrano::tips {

void UndoPage::refresh() {
    for (const UndoLineDisplay& line : kUndoLines) {
        const std::int32_t undone =
            ctx_.services.store.group_undone(group_display(line.group).undone);
        const bool previous = undone == kRestoredToPrevious;
        ctx_.widgets.set_enabled(line.check_box, undone != kRestoredToFactory && !previous);
        ctx_.widgets.set_checked(line.factory_radio, !previous);
        ctx_.widgets.set_checked(line.previous_radio, previous);
    }
}

void UndoPage::select_all() {
    for (const UndoLineDisplay& line : kUndoLines)
        if (ctx_.widgets.is_enabled(line.check_box)) ctx_.widgets.set_checked(line.check_box, true);
}

void UndoPage::clear_all() {
    for (const UndoLineDisplay& line : kUndoLines)
        if (ctx_.widgets.is_enabled(line.check_box)) ctx_.widgets.set_checked(line.check_box, false);
}

void UndoPage::undo() {
    as_page_writer(ctx_, [this] { undo_ticked(); });
}

void UndoPage::undo_ticked() {
    std::string_view text = kUndoChooseText;
    std::vector<GroupUndo> groups;
    for (const UndoLineDisplay& line : kUndoLines) {
        // The tick decides: a box ticked before a later show disabled it
        // still undoes its group.
        if (!ctx_.widgets.is_checked(line.check_box)) continue;
        ctx_.widgets.set_enabled(line.check_box, false);
        ctx_.widgets.set_checked(line.check_box, false);
        text = kUndoneText;
        groups.push_back({line.group, !ctx_.widgets.is_checked(line.factory_radio)});
    }
    if (!groups.empty()) {
        core::RestorePoint point(ctx_.system_restore, ctx_.services.reg.log(), restore_point_name("undo", groups.size(), "group"));
        undo_groups(ctx_.services, groups);
        point.succeeded();
    }
    bool all_disabled = true;
    for (const UndoLineDisplay& line : kUndoLines)
        all_disabled = all_disabled && !ctx_.widgets.is_enabled(line.check_box);
    if (all_disabled) text = kAllUndoneText;
    ctx_.sound.play_resource_async("DONE");
    ctx_.dialogs.show_balloon(i18n::tr(text));
}

}  // namespace veltrano::tips
