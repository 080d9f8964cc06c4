// The help viewer: a web browser control (WebBrowser1) hosted in a
// borderless window, with a Close button under it. The browser is made once
// with the window and keeps the last page until the next help link.
#pragma once

#include "i18n/translate.h"

#include "ui/win32/modal_dialog.h"

#include <memory>
#include <string>

namespace veltrano::shell::win32 {

class BrowserHost;

// "file:///" and the folder "help" beside the program, with forward slashes
// and no trailing one: the help pages are installed there with the program,
// those of a language other than English in its folder below ("help/de").
std::string help_base_address();

class HelpViewer : public ui::win32::ModalDialog {
public:
    static constexpr int kWidth = 806, kHeight = 536;
    // The window's text: what a screen reader names it by; no title bar shows it.
    static constexpr std::string_view kTitle = i18n::N_("Help");

    explicit HelpViewer(HINSTANCE instance);
    ~HelpViewer() override;

    // Points the browser at the address, then shows the viewer modally. A
    // browser that is missing or refuses the address raises VeltranoError
    // and the viewer stays closed.
    void show_help(const std::string& address);

protected:
    void create_controls() override;

private:
    void create_browser();
    void navigate(const std::string& address);

    std::unique_ptr<BrowserHost> browser_;
    bool ole_initialised_ = false;
    bool browser_tried_ = false;
};

}  // namespace veltrano::shell::win32
