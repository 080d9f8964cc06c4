#pragma once

#include "platform/browser.h"

namespace veltrano::platform::win32 {

// The browser's automation object ("InternetExplorer.Application") driven
// through plain IDispatch, the way any automation client would.
class Win32Browser : public Browser {
public:
    Win32Browser() = default;
    ~Win32Browser() override;
    Win32Browser(const Win32Browser&) = delete;
    Win32Browser& operator=(const Win32Browser&) = delete;

    std::optional<std::string> open_window(const std::string& address) override;

private:
    // COM starts at the first window asked for: most runs never ask, and
    // ole32 need not load before the main window shows.
    bool com_tried_ = false;
    bool com_ready_ = false;
};

// The system's own words for a COM or Win32 failure code, without the line
// break FormatMessage ends them with; the code in hex when it has none.
std::string describe_hresult(long hr);

}  // namespace veltrano::platform::win32
