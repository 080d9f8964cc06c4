// Ending a process: the one Win32 service test that starts a program, a
// small window of our own, and ends it again.
#include "platform/win32/win32_processes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace veltrano::contract {
namespace {

using platform::win32::Win32Processes;

std::wstring helper_exe() {
    wchar_t value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VELTRANO_FIXTURE_APP", value, MAX_PATH);
    std::wstring path = length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
    // Wine takes a Unix path for one on the current drive.
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
        path = L"Z:" + path;
    }
    return path;
}

TEST(Win32ProcessesTest, TerminateReturnsOnlyOnceTheProcessHasEnded) {
    const std::wstring exe = helper_exe();
    if (exe.empty()) GTEST_SKIP() << "VELTRANO_FIXTURE_APP is not set";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    std::wstring command = L"\"" + exe + L"\"";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &child))
        << GetLastError();
    CloseHandle(child.hThread);
    WaitForInputIdle(child.hProcess, 10000);

    EXPECT_EQ(Win32Processes().terminate(child.dwProcessId), "");
    // A list taken now must not show it: it has ended already, with 0.
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 0), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    EXPECT_EQ(code, 0u);

    if (WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, 5000);
    }
    CloseHandle(child.hProcess);
}

}  // namespace
}  // namespace veltrano::contract
