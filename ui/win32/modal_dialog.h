// The small windows: borderless, centred on the screen when made, created
// once and shown modally as often as needed.
#pragma once

#include "ui/win32/controls.h"
#include "ui/win32/gdi.h"

#include <windows.h>

#include <string_view>

namespace veltrano::ui::win32 {

class ModalDialog {
public:
    // `title`: the window's text, which no title bar shows but a screen
    // reader says when the dialog opens, in English (shown translated); the
    // class name when none.
    ModalDialog(HINSTANCE instance, const wchar_t* class_name, int client_width, int client_height,
                COLORREF background, std::string_view title = {});
    virtual ~ModalDialog();
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Makes the hidden window, centres it and builds its controls.
    bool create(HWND owner);
    // Shows the window and returns once it has been closed; the owner takes
    // no input meanwhile.
    void show_modal();
    void end_modal();
    HWND hwnd() const { return hwnd_; }
    Controls& controls() { return controls_; }
    HFONT font() const { return static_cast<HFONT>(font_.get()); }
    HFONT bold_font() const { return static_cast<HFONT>(bold_font_.get()); }

protected:
    // Builds the dialog's controls, once, when its window is made.
    virtual void create_controls() = 0;
    // Messages the dialog wants before the default handling; true if handled.
    virtual bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Colours of its statics; the default paints them on the background.
    virtual HBRUSH colour_static(HWND control, HDC dc);

    HINSTANCE instance_;

private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);

    const wchar_t* class_name_;
    std::string_view title_;
    int client_width_, client_height_;
    COLORREF background_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    bool running_ = false;
    Controls controls_;
    unique_gdi font_, bold_font_, background_brush_;
};

// The font every window of the program uses, at the given height (at 96
// DPI, grown with the screen's): MS Sans Serif, or for Japanese, Chinese
// and Korean a face that holds their glyphs.
HFONT make_ui_font(int height, int weight);

}  // namespace veltrano::ui::win32
