// The controls of a window, for the logic of the pages: what a page reads
// and sets of its controls, and nothing of how they are drawn. Each control
// is a typed handle its page declares (control_ref.h).
#pragma once

#include "ui/control_ref.h"
#include "ui/grid.h"

#include <string>

namespace veltrano::ui {

struct Date {
    int year, month, day;
};

class Widgets {
public:
    virtual ~Widgets() = default;
    // A timer runs while it is enabled.
    virtual void set_enabled(Control control, bool enabled) = 0;
    virtual bool is_enabled(Control control) const = 0;
    virtual void set_checked(Checkable control, bool checked) = 0;
    virtual bool is_checked(Checkable control) const = 0;
    virtual void set_visible(Control control, bool visible) = 0;
    // The control's own flag: a control on a hidden page still counts as shown.
    virtual bool is_visible(Control control) const = 0;
    virtual void set_text(Control control, const std::string& text) = 0;
    virtual std::string text(Control control) const = 0;
    // A progress bar's position within its range.
    virtual void set_position(ProgressBar bar, int position) = 0;
    // The day a calendar shows as chosen.
    virtual void set_date(Calendar calendar, Date date) = 0;
    virtual Grid& grid(StringGrid control) = 0;
    // The item chosen in a combo box's list; -1 for none, which leaves the
    // box blank. Screens without combo boxes need not answer.
    virtual int selected_index(ComboBox /*box*/) const { return -1; }
    virtual void set_selected_index(ComboBox /*box*/, int /*index*/) {}
    // The keyboard's focus goes from one control to the other if it is on
    // the first: before the first is disabled, so that it does not fall
    // nowhere. Screens without a keyboard focus need not answer.
    virtual void hand_focus(Control /*from*/, Control /*to*/) {}
    // Lets the clicks and repaints waiting in the queue in, for a handler
    // that works for long (a scan) and must stay stoppable.
    virtual void pump_messages() = 0;
};

}  // namespace veltrano::ui
