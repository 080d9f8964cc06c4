// MainForm on the screen: the window, its navigation bar, pages and activity
// log, drawn with user32 and comctl32. It shows what the logic asks and hands
// it every click; an error that escapes a handler is shown here, once.
#pragma once

#include "i18n/translate.h"
#include "shell/main_form.h"
#include "shell/main_view.h"
#include "ui/win32/controls.h"
#include "ui/win32/gdi.h"
#include "shell/win32/log_view.h"
#include "ui/win32/navigation_bar.h"
#include "ui/win32/page_builder.h"
#include "ui/win32/window_widgets.h"
#include "shell/win32/win32_dialogs.h"

#include <windows.h>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace veltrano::shell::win32 {

inline constexpr std::string_view kMainCaption = i18n::N_("Veltrano 3.1 for Micrsoft Windows XP Professional");

// The widgets are the kit's (WindowWidgets), the activity log the log
// view's; the window is the widgets' pages' host.
class MainWindow : public MainView, public ui::win32::WindowWidgets, private ui::win32::PageHost {
public:
    MainWindow(HINSTANCE instance, Services services, Win32Dialogs& dialogs);
    ~MainWindow() override;

    // Creates the window and starts MainForm up; false if the window
    // could not be made.
    bool create();
    // Shows and paints the window; the message loop then finishes the start
    // (the store's set-up, the counters, the hidden pages) and makes the
    // dialogs' four small windows before it reads any click, and ends with
    // exit code 1 if those cannot be made.
    void show();
    // The keyboard's way to the navigation bar.
    ui::win32::unique_accelerators create_accelerators() const;
    // A page's own shortcuts, which win over the navigation bar's while
    // their control has the focus: true when the message was one of them,
    // or a key for a control that is not in view, which is dropped.
    bool translate_shortcut(const MSG& msg);
    HWND hwnd() const { return hwnd_; }

    // MainView
    void centre_on_screen() override;
    void terminate() override;
    void show_current_page(std::size_t entry, ui::GroupBox group_box) override;

private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void build_controls();
    // PageHost
    HWND window() const override { return hwnd_; }
    // The pages not shown at start have no group box before their first use.
    HWND page_panel(std::size_t page) override;
    std::optional<std::size_t> page_of_panel(std::string_view name) const override;
    void build_page(std::size_t page) override;
    void build_pages_holding(std::string_view name) override;
    // The control last focused on the page in view, or its first, or the
    // navigation bar when it has none; only remembered while another
    // window is active.
    void focus_current_page() override;
    void remember_focus(HWND panel, HWND focus) override { page_focus_[panel] = focus; }
    void paint_frame(HDC dc);
    // Every handler runs through here: the one place an error becomes a box.
    template <class Fn> void guarded(Fn fn);
    std::optional<std::size_t> navigation_entry(WPARAM wp, LPARAM lp) const;
    bool can_take_focus(HWND control) const { return ui::win32::can_take_focus(hwnd_, control); }

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    LogView log_;
    Win32Dialogs& dialogs_;
    ui::win32::Controls controls_;
    ui::win32::NavigationBar navigation_;
    ui::win32::unique_gdi font_, bold_font_, cream_brush_;
    std::array<ui::win32::unique_gdi, 4> frame_bitmaps_;
    MainForm form_;
    std::vector<bool> page_built_;
    // The page in view, and the control last focused on each page, so that
    // coming back finds the user where they were.
    HWND current_panel_ = nullptr;
    std::map<HWND, HWND> page_focus_;
    // The focus when the window last lost the activation, given back when
    // it returns: after a dialog, to the control that opened it.
    HWND focus_before_deactivation_ = nullptr;
    bool from_bar_ = false;  // the page in hand was chosen on the bar itself
};

}  // namespace veltrano::shell::win32
