// What ctest hands the end-to-end programs: paths of the programs under test
// and of the registry fixture, through the environment (Wine passes the Unix
// environment on to Windows programs).
#pragma once

#include <windows.h>

#include <string>

namespace veltrano::e2e {

inline std::wstring setting(const wchar_t* name) {
    wchar_t value[4096];
    const DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return length > 0 && length < 4096 ? std::wstring(value, length) : std::wstring();
}

// The 64-bit reg.exe, also for a 32-bit test: Wine's 32-bit one deletes a
// .reg file's [-KEY] sections in the 32-bit view, whatever /reg:64 says.
inline std::wstring native_reg_exe() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring native = std::wstring(windows) + L"\\sysnative\\reg.exe";
    return GetFileAttributesW(native.c_str()) != INVALID_FILE_ATTRIBUTES ? L"\"" + native + L"\"" : L"reg.exe";
}

}  // namespace veltrano::e2e
