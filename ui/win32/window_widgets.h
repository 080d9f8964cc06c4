// ui::Widgets over the controls of one window: what the pages' logic sets
// and reads reaches the control of that handle, drawing the page that holds
// it first when nobody has looked at that page yet.
#pragma once

#include "ui/widgets.h"
#include "ui/win32/controls.h"
#include "ui/win32/pump_throttle.h"

#include <windows.h>

#include <optional>
#include <string_view>

namespace veltrano::ui::win32 {

// What the widgets ask of the window that holds the pages: the pages come
// at their first use, and the keyboard's focus must never be left on a
// control that hides or is disabled.
class PageHost {
public:
    virtual ~PageHost() = default;
    virtual HWND window() const = 0;
    // The page whose group box has that name, if one has.
    virtual std::optional<std::size_t> page_of_panel(std::string_view name) const = 0;
    // A page's group box, made at its first use.
    virtual HWND page_panel(std::size_t page) = 0;
    // Draws a page's contents unless they are drawn already.
    virtual void build_page(std::size_t page) = 0;
    // Draws the pages that may hold a control of that name.
    virtual void build_pages_holding(std::string_view name) = 0;
    // The focus on the page in view: its control last focused, or its first.
    virtual void focus_current_page() = 0;
    // The control that had the focus on a page that hides, for its return.
    virtual void remember_focus(HWND panel, HWND focus) = 0;
};

// Whether the focus may go to the control: the window's, in view and enabled.
bool can_take_focus(HWND window, HWND control);

class WindowWidgets : public virtual ui::Widgets {
public:
    WindowWidgets(Controls& controls, PageHost& pages) : controls_(controls), pages_(pages) {}

    void set_enabled(ui::Control control, bool enabled) override;
    bool is_enabled(ui::Control control) const override;
    void set_checked(ui::Checkable control, bool checked) override;
    bool is_checked(ui::Checkable control) const override;
    void set_visible(ui::Control control, bool visible) override;
    bool is_visible(ui::Control control) const override;
    void set_text(ui::Control control, const std::string& text) override;
    std::string text(ui::Control control) const override;
    void set_position(ui::ProgressBar bar, int position) override;
    void set_date(ui::Calendar calendar, ui::Date date) override;
    ui::Grid& grid(ui::StringGrid control) override;
    int selected_index(ui::ComboBox box) const override;
    void set_selected_index(ui::ComboBox box, int index) override;
    void hand_focus(ui::Control from, ui::Control to) override;
    void pump_messages() override;

private:
    // The control's window, its page drawn first if need be.
    HWND window_of(ui::Control control) const;
    // The label when a sheet draws it, not a window.
    std::optional<Controls::OnSheet> sheet_label(ui::Control control) const;

    Controls& controls_;
    PageHost& pages_;
    PumpThrottle pump_throttle_;
};

}  // namespace veltrano::ui::win32
