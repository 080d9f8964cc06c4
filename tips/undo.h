// The Undo page: one line per tip group, each restoring its whole group to
// the factory defaults and recording that the group was undone.
#pragma once

#include "tips/tip_engine.h"

#include <array>

namespace veltrano::tips {

inline constexpr std::string_view kUndoChooseText = "Please make a choice before clicking on Undo button !";
inline constexpr std::string_view kUndoneText = "Congratulations ! Selected options have been UNDONE. ";
inline constexpr std::string_view kAllUndoneText = "All Selected Options have already been UNDONE ";

class UndoPage {
public:
    // The groups' pages in the order of the lines: network, power, system,
    // customization.
    UndoPage(Context& ctx, std::array<TipPage*, kGroupCount> groups) : ctx_(ctx), groups_(groups) {}

    // After the shell made GroupBox7 and the log visible.
    void refresh();
    void BitBtn15Click();  // Select All
    void BitBtn16Click();  // Clear All
    void BitBtn17Click();  // Undo

private:
    Context& ctx_;
    std::array<TipPage*, kGroupCount> groups_;
};

}  // namespace veltrano::tips
