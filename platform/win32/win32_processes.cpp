#include "platform/win32/win32_processes.h"

#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

#include <windows.h>
#include <tlhelp32.h>

namespace veltrano::platform::win32 {

namespace {

// One picture of everything: processes, every thread, and the modules of
// the process asked for, which for 0 is our own.
unique_file_handle snapshot() {
    unique_file_handle snap;
    // A module snapshot fails with ERROR_BAD_LENGTH while the target is
    // loading or unloading a module; a few retries get past it.
    for (int attempt = 0; attempt < 5; ++attempt) {
        snap.reset(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
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

// XP's full access: the mask of newer headers is refused there.
constexpr DWORD kProcessAllAccess = 0x1F0FFF;
// TerminateProcess only starts the end; a list taken at once may still show
// the process. This long we wait for it to be gone.
constexpr DWORD kTerminateWaitMs = 2000;

}  // namespace

std::vector<ProcessEntry> Win32Processes::list_processes() {
    std::vector<ProcessEntry> out;
    walk<PROCESSENTRY32W>(snapshot(), Process32FirstW, Process32NextW, [&](const PROCESSENTRY32W& e) {
        out.push_back({to_utf8(e.szExeFile), e.th32ProcessID, e.cntUsage, e.th32ModuleID, e.th32DefaultHeapID,
                       e.cntThreads, e.th32ParentProcessID, static_cast<std::int32_t>(e.pcPriClassBase)});
    });
    return out;
}

std::vector<ModuleEntry> Win32Processes::list_modules() {
    std::vector<ModuleEntry> out;
    walk<MODULEENTRY32W>(snapshot(), Module32FirstW, Module32NextW, [&](const MODULEENTRY32W& e) {
        out.push_back({to_utf8(e.szModule), to_utf8(e.szExePath), e.th32ModuleID, e.th32ProcessID, e.GlblcntUsage,
                       e.ProccntUsage, reinterpret_cast<std::uintptr_t>(e.hModule)});
    });
    return out;
}

std::vector<ThreadEntry> Win32Processes::list_threads() {
    std::vector<ThreadEntry> out;
    walk<THREADENTRY32>(snapshot(), Thread32First, Thread32Next, [&](const THREADENTRY32& e) {
        out.push_back({e.th32ThreadID, e.cntUsage, e.th32OwnerProcessID, static_cast<std::int32_t>(e.tpBasePri),
                       static_cast<std::int32_t>(e.tpDeltaPri)});
    });
    return out;
}

std::string Win32Processes::terminate(std::uint32_t pid) {
    unique_kernel_handle process(OpenProcess(kProcessAllAccess, TRUE, pid));
    if (!process) return system_message(GetLastError());
    if (!TerminateProcess(process.get(), 0)) return system_message(GetLastError());
    WaitForSingleObject(process.get(), kTerminateWaitMs);
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
