// What the main window's logic asks of the screen beyond its controls. The
// Win32 window implements it; the native tests record it.
#pragma once

#include "ui/widgets.h"

#include <cstddef>
#include <string_view>

namespace veltrano::shell {

class MainView : public virtual ui::Widgets {
public:
    virtual void centre_on_screen() = 0;
    // Ends the program: the main window goes, and the message loop with it.
    virtual void terminate() = 0;
    // The page of that navigation entry is the one in view: the navigation
    // shows its entry as current, and the keyboard's focus goes into the
    // page (where it last was there, or its first control), never staying
    // on a control of a page now hidden.
    virtual void show_current_page(std::size_t entry, ui::GroupBox group_box) = 0;
};

}  // namespace veltrano::shell
