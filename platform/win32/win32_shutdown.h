#pragma once

#include "platform/shutdown.h"
#include "platform/win32/unique_handle.h"

namespace veltrano::platform::win32 {

// The steps are separate calls because the caller words each failure on its
// own; they must run in order: token, privilege lookup, enable, restart.
class Win32Shutdown : public Shutdown {
public:
    bool open_process_token() override;
    bool lookup_shutdown_privilege() override;
    bool enable_shutdown_privilege() override;
    bool disable_shutdown_privilege() override;
    bool initiate_restart(const std::string& machine, const std::string& message,
                          unsigned timeout_seconds) override;

private:
    bool adjust(DWORD attributes);
    unique_kernel_handle token_;
    LUID privilege_{};
    bool have_privilege_ = false;
};

}  // namespace veltrano::platform::win32
