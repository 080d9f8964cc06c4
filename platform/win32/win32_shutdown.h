#pragma once

#include "platform/shutdown.h"
#include "platform/win32/unique_handle.h"

namespace veltrano::platform::win32 {

// Keeps the token and the privilege record from enabling to disabling, so
// the disable undoes exactly what the enable did.
class Win32Shutdown : public Shutdown {
public:
    bool open_process_token() override;
    bool lookup_privilege(const std::string& machine, const std::string& privilege_name) override;
    std::uint32_t adjust_privilege(bool enable) override;
    void restore_privilege() override;
    bool initiate_restart(const std::string& machine, const std::string& message,
                          unsigned timeout_seconds) override;

private:
    unique_kernel_handle token_;
    TOKEN_PRIVILEGES privileges_{};
    // What AdjustTokenPrivileges reports the privilege was before; one entry
    // fits in 16 bytes, the length we promise it.
    alignas(TOKEN_PRIVILEGES) unsigned char previous_state_[16] = {};
    DWORD previous_length_ = 0;
    // The same, as the last enabling left it: the disabling overwrites the other.
    alignas(TOKEN_PRIVILEGES) unsigned char before_enabling_[16] = {};
};

}  // namespace veltrano::platform::win32
