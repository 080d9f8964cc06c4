// What the main window's logic asks of the screen. The Win32 window
// implements it; the native tests record it.
#pragma once

#include "shell/pages.h"
#include "shell/widgets.h"

#include <string>

namespace veltrano::shell {

class MainView : public virtual Widgets {
public:
    virtual void set_page_visible(Page page, bool visible) = 0;
    // Label2, Image5 and ListBox1 together.
    virtual void set_log_visible(bool visible) = 0;
    virtual void set_timer2_enabled(bool enabled) = 0;
    virtual void centre_on_screen() = 0;
    virtual void set_calendar_today() = 0;
    virtual void set_system_labels_visible(bool visible) = 0;
    // Row 0 of the analyser's grid and its two action buttons.
    virtual void set_grid_heading(int column, const std::string& text) = 0;
    virtual void set_regclean_buttons_enabled(bool enabled) = 0;
    // The admin page's sub-panels: auto logon shown, the other three hidden.
    virtual void show_admin_auto_logon_panel() = 0;
    virtual void show_error(const std::string& message) = 0;
    // A modal question with the buttons Yes and No; true only for Yes.
    virtual bool ask_yes_no(const std::string& question) = 0;
    // A progress bar's position within its range.
    virtual void set_progress(std::string_view name, int position) = 0;
    virtual void terminate() = 0;
};

}  // namespace veltrano::shell
