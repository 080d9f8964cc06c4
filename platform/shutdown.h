// Restarting the computer: the shutdown privilege and the restart request.
#pragma once

#include <string>

namespace veltrano::platform {

class Shutdown {
public:
    virtual ~Shutdown() = default;
    // Each step answers whether it succeeded; the caller words the failure.
    virtual bool open_process_token() = 0;
    virtual bool lookup_shutdown_privilege() = 0;
    virtual bool enable_shutdown_privilege() = 0;
    virtual bool disable_shutdown_privilege() = 0;
    virtual bool initiate_restart(const std::string& machine, const std::string& message,
                                  unsigned timeout_seconds) = 0;
};

}  // namespace veltrano::platform
