// Restarting the computer: the shutdown privilege in our own process token
// and the restart request. Each step is a call of its own because the caller
// words each failure differently.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano::platform {

class Shutdown {
public:
    virtual ~Shutdown() = default;
    // Opens the process token for adjusting and querying privileges and keeps
    // it until the program ends (a second call replaces it).
    virtual bool open_process_token() = 0;
    // Looks up the privilege's identifier as the target machine knows it,
    // and keeps it for adjust_privilege.
    virtual bool lookup_privilege(const std::string& machine, const std::string& privilege_name) = 0;
    // Enables or disables the looked-up privilege in the kept token and
    // answers the thread's last error as it stands afterwards: 0 only when the
    // privilege really changed (a token without it at all still "succeeds").
    virtual std::uint32_t adjust_privilege(bool enable) = 0;
    // Puts the privilege back to what it was before the last enabling: off if
    // the enabling switched it on, untouched if it was on already.
    virtual void restore_privilege() = 0;
    // Restart after the time-out, applications closed without asking.
    virtual bool initiate_restart(const std::string& machine, const std::string& message,
                                  unsigned timeout_seconds) = 0;
};

}  // namespace veltrano::platform
