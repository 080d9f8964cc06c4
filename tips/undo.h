// The Undo page: one line per tip group, each restoring its whole group
// either to the factory defaults or to what the machine held before its tips
// were first applied, and recording that the group was undone.
#pragma once

#include "tips/tip_page.h"

namespace veltrano::tips {

inline constexpr std::string_view kUndoChooseText = i18n::N_("Please make a choice before clicking on Undo button !");
inline constexpr std::string_view kUndoneText = i18n::N_("Congratulations ! Selected options have been UNDONE. ");
inline constexpr std::string_view kAllUndoneText = i18n::N_("All Selected Options have already been UNDONE ");

class UndoPage : public ui::Page {
public:
    explicit UndoPage(Context ctx) : ctx_(std::move(ctx)) {}

    // After the shell made GroupBox7 and the log visible.
    void refresh();
    void shown() override { refresh(); }
    // The buttons of kUndoButtons: Select All, Clear All, Undo.
    void select_all();
    void clear_all();
    void undo();

private:
    void undo_ticked();
    Context ctx_;
};

}  // namespace veltrano::tips
