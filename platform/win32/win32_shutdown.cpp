#include "platform/win32/win32_shutdown.h"

#include "platform/win32/text.h"

#include <cstring>

namespace veltrano::platform::win32 {

bool Win32Shutdown::open_process_token() {
    return OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token_.put()) != FALSE;
}

bool Win32Shutdown::lookup_privilege(const std::string& machine, const std::string& privilege_name) {
    const std::wstring wide_machine = to_utf16(machine);
    const std::wstring wide_name = to_utf16(privilege_name);
    LUID luid{};
    // Asked of the target machine: a remote one may number its privileges
    // differently from ours.
    if (!LookupPrivilegeValueW(wide_machine.empty() ? nullptr : wide_machine.c_str(), wide_name.c_str(), &luid))
        return false;
    privileges_.PrivilegeCount = 1;
    privileges_.Privileges[0].Luid = luid;
    return true;
}

std::uint32_t Win32Shutdown::adjust_privilege(bool enable) {
    privileges_.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    SetLastError(ERROR_SUCCESS);
    AdjustTokenPrivileges(token_.get(), FALSE, &privileges_, sizeof previous_state_,
                          reinterpret_cast<PTOKEN_PRIVILEGES>(previous_state_), &previous_length_);
    // The call "succeeds" for an account that does not hold the privilege at
    // all and says so only through the last error (ERROR_NOT_ALL_ASSIGNED).
    const DWORD error = GetLastError();
    if (enable) std::memcpy(before_enabling_, previous_state_, sizeof before_enabling_);
    return error;
}

void Win32Shutdown::restore_privilege() {
    // The previous state lists only what the enabling changed: empty when the
    // privilege was on already, and then there is nothing to put back.
    auto* before = reinterpret_cast<PTOKEN_PRIVILEGES>(before_enabling_);
    if (!token_ || before->PrivilegeCount == 0) return;
    AdjustTokenPrivileges(token_.get(), FALSE, before, 0, nullptr, nullptr);
}

bool Win32Shutdown::initiate_restart(const std::string& machine, const std::string& message,
                                     unsigned timeout_seconds) {
    std::wstring wide_machine = to_utf16(machine);
    std::wstring wide_message = to_utf16(message);
    // The message has told the user for the whole time-out to close their
    // programs; what is still open then is closed without asking.
    return InitiateSystemShutdownW(wide_machine.empty() ? nullptr : wide_machine.data(),
                                   wide_message.empty() ? nullptr : wide_message.data(), timeout_seconds,
                                   TRUE, TRUE) != FALSE;
}

}  // namespace veltrano::platform::win32
