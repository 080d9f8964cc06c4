// The controls of a window by their component names ("CheckBox13",
// "BitBtn5", "Label3", "Timer2"), for the logic of the pages: what a page
// reads and sets of its controls, and nothing of how they are drawn.
#pragma once

#include "ui/grid.h"

#include <string>
#include <string_view>

namespace veltrano::ui {

struct Date {
    int year, month, day;
};

class Widgets {
public:
    virtual ~Widgets() = default;
    // A timer runs while it is enabled.
    virtual void set_enabled(std::string_view name, bool enabled) = 0;
    virtual bool is_enabled(std::string_view name) const = 0;
    virtual void set_checked(std::string_view name, bool checked) = 0;
    virtual bool is_checked(std::string_view name) const = 0;
    virtual void set_visible(std::string_view name, bool visible) = 0;
    // The control's own flag: a control on a hidden page still counts as shown.
    virtual bool is_visible(std::string_view name) const = 0;
    virtual void set_text(std::string_view name, const std::string& text) = 0;
    virtual std::string text(std::string_view name) const = 0;
    // A progress bar's position within its range.
    virtual void set_position(std::string_view name, int position) = 0;
    // The day a calendar shows as chosen.
    virtual void set_date(std::string_view name, Date date) = 0;
    virtual Grid& grid(std::string_view name) = 0;
    // The item chosen in a combo box's list; -1 for none, which leaves the
    // box blank. Screens without combo boxes need not answer.
    virtual int selected_index(std::string_view /*name*/) const { return -1; }
    virtual void set_selected_index(std::string_view /*name*/, int /*index*/) {}
    // The keyboard's focus goes from one control to the other if it is on
    // the first: before the first is disabled, so that it does not fall
    // nowhere. Screens without a keyboard focus need not answer.
    virtual void hand_focus(std::string_view /*from*/, std::string_view /*to*/) {}
    // Lets the clicks and repaints waiting in the queue in, for a handler
    // that works for long (a scan) and must stay stoppable.
    virtual void pump_messages() = 0;
};

}  // namespace veltrano::ui
