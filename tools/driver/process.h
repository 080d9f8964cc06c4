// Starts the program under test as a child of the test and ends it again.
// Only this child is ever ended: the test never reaches for anything it did
// not start itself.
#pragma once

#include "driver/driver.h"
#include "platform/win32/unique_handle.h"

#include <string>
#include <vector>

namespace veltrano::driver {

// Wine runs a path like /work/x/app.exe relative to the current drive; the Z:
// drive is the Unix root, so say so explicitly. Windows paths pass unchanged.
std::wstring to_windows_path(std::wstring_view path);

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&&) noexcept = default;
    ~ChildProcess() { terminate(); }

    // Starts `exe` with the arguments (each quoted as needed) in the exe's
    // own folder, as Explorer would. False with GetLastError set on failure.
    // Given an inheritable handle, the program's standard output and error
    // go there, as a script's redirection sends them.
    bool start(const std::wstring& exe, const std::vector<std::wstring>& arguments = {}, HANDLE output = nullptr);

    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }
    bool running() const;
    // nullopt while it still runs.
    std::optional<DWORD> exit_code() const;
    bool wait_for_exit(Millis timeout = kDefaultTimeout) const;
    void terminate();

private:
    platform::win32::unique_kernel_handle process_;
    DWORD id_ = 0;
};

// Runs a program to its end and returns its exit code (nullopt: it could not
// start or did not finish in time, and then it is ended).
std::optional<DWORD> run_to_completion(const std::wstring& command_line, Millis timeout = kDefaultTimeout);

}  // namespace veltrano::driver
