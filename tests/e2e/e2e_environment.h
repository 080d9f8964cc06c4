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

}  // namespace veltrano::e2e
