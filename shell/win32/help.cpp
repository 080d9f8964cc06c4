#include "shell/win32/help.h"

#include "core/error.h"
#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "shell/win32/browser_host.h"
#include "shell/win32/window_classes.h"
#include "ui/win32/dpi.h"

#include <ole2.h>

#include <cstdio>

namespace veltrano::shell::win32 {

using namespace ui::win32;

namespace {

constexpr RECT kWebBrowser1{0, 32, 0 + 809, 32 + 465};

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

}  // namespace

std::string help_base_address() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        // XP fills the buffer without a terminator when it is too short.
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L"\\/") + 1);
    // The pages of the language in use sit in a folder named by its code
    // ("help\\de"); English ones in "help" itself.
    const i18n::Language& language = i18n::language_in_use();
    std::string folder = platform::win32::to_utf8(path) + "help";
    if (language.code != i18n::english().code) folder += "\\" + std::string(language.code);
    std::string address = "file:///";
    for (char c : folder) {
        // A file URL keeps its path as it is, but for the separators and the
        // few characters a URL would read otherwise.
        switch (c) {
        case '\\': address += '/'; break;
        case ' ': address += "%20"; break;
        case '#': address += "%23"; break;
        case '%': address += "%25"; break;
        default: address += c;
        }
    }
    return address;
}

HelpViewer::HelpViewer(HINSTANCE instance)
    : ModalDialog(instance, kHelpViewerClass, kWidth, kHeight, GetSysColor(COLOR_ACTIVECAPTION), kTitle),
      browser_(std::make_unique<BrowserHost>()) {}

HelpViewer::~HelpViewer() {
    // The control goes before OLE does, and before the window it lives in.
    browser_.reset();
    if (ole_initialised_) OleUninitialize();
}

void HelpViewer::create_controls() {
    HWND close = controls().create(hwnd(), {ControlKind::Button, "BitBtn1", i18n::tr("&Close"), (kWidth - 75) / 2, 503, 75,
                                            25, [this] { end_modal(); }},
                                   bold_font());
    // The standard close button answers Escape as well.
    SetWindowLongPtrW(close, GWLP_ID, IDCANCEL);
}

void HelpViewer::create_browser() {
    if (browser_tried_) return;
    browser_tried_ = true;
    // OLE, not just COM: in-place activation needs the clipboard and drag
    // and drop machinery that only OleInitialize sets up.
    ole_initialised_ = SUCCEEDED(OleInitialize(nullptr));
    if (ole_initialised_) browser_->create(hwnd(), px(kWebBrowser1));
}

void HelpViewer::navigate(const std::string& address) {
    // Made at the first help link, not at start-up: most runs never ask for
    // help, and the control costs a good part of a start.
    create_browser();
    if (!browser_->created()) {
        const HRESULT why = ole_initialised_ ? browser_->creation_result() : CO_E_NOTINITIALIZED;
        // TRANSLATORS: {0} is the help page's address, {1} the error's number (0x80040154)
        throw core::VeltranoError(i18n::trf("The help page {0} cannot be shown: this computer has no web browser "
                                            "control to show it with (error {1}).",
                                            address, hex(why)));
    }
    const HRESULT hr = browser_->navigate(platform::win32::to_utf16(address));
    if (FAILED(hr))
        throw core::VeltranoError(
            i18n::trf("The help page {0} cannot be shown: the web browser control refused it (error {1}).", address,
                      hex(hr)));
    // Wine without its Gecko engine, for one, takes every address and then
    // fails in the background, leaving an empty viewer: say so instead.
    if (FAILED(browser_->engine_result()))
        throw core::VeltranoError(i18n::trf("The help page {0} cannot be shown: the web browser control has no "
                                            "engine to display pages with (error {1}).",
                                            address, hex(browser_->engine_result())));
}

void HelpViewer::show_help(const std::string& address) {
    navigate(address);
    show_modal();
}

}  // namespace veltrano::shell::win32
