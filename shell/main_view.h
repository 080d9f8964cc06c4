// What the main window's logic asks of the screen beyond its controls. The
// Win32 window implements it; the native tests record it.
#pragma once

#include "ui/widgets.h"

namespace veltrano::shell {

class MainView : public virtual ui::Widgets {
public:
    virtual void centre_on_screen() = 0;
    // Ends the program: the main window goes, and the message loop with it.
    virtual void terminate() = 0;
};

}  // namespace veltrano::shell
