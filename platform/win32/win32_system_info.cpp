#include "platform/win32/win32_system_info.h"

#include "platform/win32/text.h"

#include <windows.h>

namespace veltrano::platform::win32 {

VersionInfo Win32SystemInfo::version() const {
    // GetVersionExW, not a manifest-aware helper: the version gate has to see
    // what XP reports, and XP knows nothing newer.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::string Win32SystemInfo::computer_name() const {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD count = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &count)) return {};
    return to_utf8(name, count);
}

MemoryStatus Win32SystemInfo::memory_status() const {
    // GlobalMemoryStatus tops out below 4 GB (and reports about 3.5 GB on
    // larger machines); the Ex form has 64-bit fields.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return {};
    MemoryStatus out;
    out.memory_load = status.dwMemoryLoad;
    out.total_phys = status.ullTotalPhys;
    out.avail_phys = status.ullAvailPhys;
    out.total_page_file = status.ullTotalPageFile;
    out.avail_page_file = status.ullAvailPageFile;
    out.total_virtual = status.ullTotalVirtual;
    out.avail_virtual = status.ullAvailVirtual;
    return out;
}

std::string Win32SystemInfo::decimal_separator() const {
    // At most three characters and the terminator, as Regional Options allow.
    wchar_t separator[4] = {};
    const int count = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4);
    if (count <= 1) return ".";
    return to_utf8(separator, static_cast<std::size_t>(count - 1));
}

}  // namespace veltrano::platform::win32
