#include "platform/win32/win32_processes.h"

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

#include <windows.h>
#include <tlhelp32.h>

namespace veltrano::platform::win32 {

namespace {

unique_file_handle snapshot(DWORD flags, DWORD pid) {
    unique_file_handle snap;
    // A module snapshot fails with ERROR_BAD_LENGTH while the target is
    // loading or unloading a module; a few retries get past it.
    for (int attempt = 0; attempt < 5; ++attempt) {
        snap.reset(CreateToolhelp32Snapshot(flags, pid));
        if (snap || GetLastError() != ERROR_BAD_LENGTH) break;
    }
    return snap;
}

// Walks a snapshot with the First/Next pair of one entry kind.
template <typename Entry, typename First, typename Next, typename Visit>
void walk(const unique_file_handle& snap, First first, Next next, Visit visit) {
    if (!snap) return;
    Entry entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(snap.get(), &entry); more; more = next(snap.get(), &entry)) visit(entry);
}

}  // namespace

std::vector<ProcessEntry> Win32Processes::list_processes() {
    std::vector<ProcessEntry> out;
    walk<PROCESSENTRY32W>(snapshot(TH32CS_SNAPPROCESS, 0), Process32FirstW, Process32NextW,
                          [&](const PROCESSENTRY32W& e) {
                              out.push_back({e.th32ProcessID, e.th32ParentProcessID, e.cntThreads,
                                             static_cast<std::int32_t>(e.pcPriClassBase), to_utf8(e.szExeFile)});
                          });
    return out;
}

std::vector<ModuleEntry> Win32Processes::list_modules(std::uint32_t pid) {
    std::vector<ModuleEntry> out;
    walk<MODULEENTRY32W>(snapshot(TH32CS_SNAPMODULE, pid), Module32FirstW, Module32NextW,
                         [&](const MODULEENTRY32W& e) {
                             out.push_back({e.th32ProcessID, reinterpret_cast<std::uintptr_t>(e.modBaseAddr),
                                            e.modBaseSize, to_utf8(e.szModule), to_utf8(e.szExePath)});
                         });
    return out;
}

std::vector<ThreadEntry> Win32Processes::list_threads(std::uint32_t pid) {
    std::vector<ThreadEntry> out;
    // Thread snapshots always hold every thread in the system; the pid
    // argument is ignored by Windows, so filter here.
    walk<THREADENTRY32>(snapshot(TH32CS_SNAPTHREAD, 0), Thread32First, Thread32Next, [&](const THREADENTRY32& e) {
        if (e.th32OwnerProcessID == pid)
            out.push_back({e.th32ThreadID, e.th32OwnerProcessID, static_cast<std::int32_t>(e.tpBasePri)});
    });
    return out;
}

std::string Win32Processes::terminate(std::uint32_t pid) {
    unique_kernel_handle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
    if (!process) return system_message(GetLastError());
    if (!TerminateProcess(process.get(), 1)) return system_message(GetLastError());
    return {};
}

std::string system_message(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD count = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (count == 0 || !buffer) return "Error " + std::to_string(error);
    std::wstring text(buffer, count);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return to_utf8(text);
}

}  // namespace veltrano::platform::win32
