// TForm1 on the screen: the window, its navigation bar, pages and activity
// log, drawn with user32 and comctl32. It shows what the logic asks and hands
// it every click; an error that escapes a handler is shown here, once.
#pragma once

#include "core/activity_log.h"
#include "shell/main_form.h"
#include "shell/dialogs.h"
#include "shell/main_view.h"
#include "shell/win32/controls.h"
#include "shell/win32/gdi.h"
#include "shell/win32/log_view.h"

#include <windows.h>

#include <memory>

namespace veltrano::shell::win32 {

inline constexpr wchar_t kMainCaption[] = L"Veltrano 3.1 for Micrsoft Windows XP Professional";

class MainWindow : public MainView, public core::ActivityLog {
public:
    MainWindow(HINSTANCE instance, Services services, Dialogs& dialogs);
    ~MainWindow() override;

    // Creates the window and runs TForm1.FormCreate; false if the window
    // could not be made.
    bool create();
    void show();
    // The keyboard's way to the navigation bar.
    unique_accelerators create_accelerators() const;
    HWND hwnd() const { return hwnd_; }

    // MainView
    void set_page_visible(Page page, bool visible) override;
    void set_log_visible(bool visible) override;
    void set_timer2_enabled(bool enabled) override;
    void centre_on_screen() override;
    void set_calendar_today() override;
    void set_system_labels_visible(bool visible) override;
    void set_grid_heading(int column, const std::string& text) override;
    void set_regclean_buttons_enabled(bool enabled) override;
    void show_admin_auto_logon_panel() override;
    void show_error(const std::string& message) override;
    bool ask_yes_no(const std::string& question) override;
    void set_progress(std::string_view name, int position) override;
    void terminate() override;

    // Widgets
    void set_enabled(std::string_view name, bool enabled) override;
    bool is_enabled(std::string_view name) const override;
    void set_checked(std::string_view name, bool checked) override;
    bool is_checked(std::string_view name) const override;
    void set_visible(std::string_view name, bool visible) override;
    bool is_visible(std::string_view name) const override;
    void set_text(std::string_view name, const std::string& text) override;
    std::string text(std::string_view name) const override;

    // ActivityLog
    void add(const std::string& line) override;
    void clear() override;

private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void build_controls();
    void paint_frame(HDC dc);
    // Every handler runs through here: the one place an error becomes a box.
    template <class Fn> void guarded(Fn fn);
    // The control of that name; a name no page declares is a fault of ours.
    HWND control(std::string_view name) const;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    LogView log_;
    Controls controls_;
    unique_gdi font_, bold_font_, white_brush_, cream_brush_;
    TForm1 form_;
};

}  // namespace veltrano::shell::win32
