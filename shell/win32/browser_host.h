// A minimal OLE container for the web browser control: just the client
// site, in-place site and frame that the control asks its host for before it
// will draw inside one of our windows. No menus, no toolbars, no status bar.
#pragma once

#include "platform/win32/com_ptr.h"

#include <exdisp.h>
#include <ole2.h>
#include <windows.h>

#include <memory>
#include <string>

namespace veltrano::shell::win32 {

class BrowserHost {
public:
    BrowserHost();
    ~BrowserHost();
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    // Creates the control and activates it in place over `area` of `parent`.
    // Needs OLE initialised on this thread. Returns the first failure.
    HRESULT create(HWND parent, const RECT& area);
    HRESULT navigate(const std::wstring& address);
    bool created() const { return static_cast<bool>(browser_); }
    HRESULT creation_result() const { return creation_result_; }
    // Whether the control has its HTML engine. The control itself is only a
    // frame: without the engine it accepts every address and then shows
    // nothing, so this is the one early sign that no page will come.
    HRESULT engine_result() const { return engine_result_; }
    // Deactivates and lets go of the control; safe to call twice.
    void close();

private:
    class Site;
    std::unique_ptr<Site> site_;
    platform::win32::com_ptr<IOleObject> object_;
    platform::win32::com_ptr<IWebBrowser2> browser_;
    HRESULT creation_result_ = E_FAIL;
    HRESULT engine_result_ = E_FAIL;
};

}  // namespace veltrano::shell::win32
