#include "platform/win32/win32_shutdown.h"

#include "platform/win32/text.h"

namespace veltrano::platform::win32 {

bool Win32Shutdown::open_process_token() {
    return OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token_.put()) != FALSE;
}

bool Win32Shutdown::lookup_shutdown_privilege() {
    have_privilege_ = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privilege_) != FALSE;
    return have_privilege_;
}

bool Win32Shutdown::adjust(DWORD attributes) {
    if (!token_ || !have_privilege_) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = privilege_;
    privileges.Privileges[0].Attributes = attributes;
    if (!AdjustTokenPrivileges(token_.get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr))
        return false;
    // AdjustTokenPrivileges "succeeds" for an account that does not hold the
    // privilege at all; only the last error tells.
    return GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

bool Win32Shutdown::enable_shutdown_privilege() { return adjust(SE_PRIVILEGE_ENABLED); }

bool Win32Shutdown::disable_shutdown_privilege() { return adjust(0); }

bool Win32Shutdown::initiate_restart(const std::string& machine, const std::string& message,
                                     unsigned timeout_seconds) {
    std::wstring wide_machine = to_utf16(machine);
    std::wstring wide_message = to_utf16(message);
    // Null machine means this one. Applications are asked, not forced, to
    // close, so nobody loses unsaved work to a tuning tool.
    return InitiateSystemShutdownW(wide_machine.empty() ? nullptr : wide_machine.data(),
                                   wide_message.empty() ? nullptr : wide_message.data(), timeout_seconds,
                                   FALSE, TRUE) != FALSE;
}

}  // namespace veltrano::platform::win32
