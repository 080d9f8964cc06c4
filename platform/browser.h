// A web page in a browser window of its own, through the browser's
// automation object, as the update check and the vote open theirs.
#pragma once

#include <optional>
#include <string>

namespace veltrano::platform {

class Browser {
public:
    virtual ~Browser() = default;
    // Opens a new visible browser window on the address and lets it live on
    // after we let go of it. Nothing on success; otherwise why it failed, in
    // the system's words.
    virtual std::optional<std::string> open_window(const std::string& address) = 0;
};

}  // namespace veltrano::platform
