#include "platform/win32/win32_processes.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <map>
#include <vector>

namespace veltrano::platform::win32 {

namespace {

// One picture of everything: processes, every thread, and the modules of
// the process asked for, which for 0 is our own. The process list asks for
// processes alone: taken every 2 s, it need not copy every thread.
unique_file_handle snapshot(DWORD what = TH32CS_SNAPALL) {
    unique_file_handle snap;
    // A module snapshot fails with ERROR_BAD_LENGTH while the target is
    // loading or unloading a module; a few retries get past it.
    for (int attempt = 0; attempt < 5; ++attempt) {
        snap.reset(CreateToolhelp32Snapshot(what, 0));
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

// The name the system lists for the id now; empty when it lists none.
std::string exe_file_of(DWORD pid) {
    std::string name;
    walk<PROCESSENTRY32W>(snapshot(TH32CS_SNAPPROCESS), Process32FirstW, Process32NextW, [&](const PROCESSENTRY32W& e) {
        if (e.th32ProcessID == pid) name = to_utf8(e.szExeFile);
    });
    return name;
}

// XP knows no PROCESS_QUERY_LIMITED_INFORMATION and refuses a mask that holds
// it; from Vista on it is granted where the full query right is not (other
// users' and protected processes). Which one to ask for is known without a
// round trip: GetVersion reads memory the process already has.
DWORD query_access() {
    constexpr DWORD kQueryLimitedInformation = 0x1000;
    return LOBYTE(LOWORD(GetVersion())) >= 6 ? kQueryLimitedInformation : PROCESS_QUERY_INFORMATION;
}

std::uint64_t ticks(const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

// 0 when the system will not say.
std::uint64_t start_time_of(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return ticks(created);
}

// XP's GetProcessMemoryInfo reads the process's memory counters with the
// VM read right as well; later systems are content with the query right.
unique_kernel_handle open_for_figures(DWORD pid) {
    const bool xp = LOBYTE(LOWORD(GetVersion())) < 6;
    unique_kernel_handle process(OpenProcess(query_access() | (xp ? PROCESS_VM_READ : 0), FALSE, pid));
    if (!process && xp) process.reset(OpenProcess(query_access(), FALSE, pid));
    return process;
}

// The token's user as a SID in bytes; empty when the token is closed to us.
std::string sid_of(HANDLE process) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return {};
    const unique_kernel_handle token(raw);
    // A TOKEN_USER with the longest SID there is fits in this.
    alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD length = 0;
    if (!GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &length)) return {};
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
    if (!IsValidSid(sid)) return {};
    return std::string(static_cast<const char*>(sid), GetLengthSid(sid));
}

std::string account_of(const std::string& sid) {
    wchar_t name[256], domain[256];
    DWORD name_length = 256, domain_length = 256;
    SID_NAME_USE use{};
    if (!LookupAccountSidW(nullptr, const_cast<char*>(sid.data()), name, &name_length, domain, &domain_length, &use))
        return {};
    const std::wstring who = domain_length > 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name);
    return to_utf8(who);
}

bool has_ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// What the system's own process list says of one process: the figures Task
// Manager shows, for every process at once, also for those OpenProcess
// refuses. Under Wine, GetProcessTimes on another process does not move;
// this list does.
struct SystemFigures {
    std::uint64_t start_time = 0, cpu_time = 0, working_set = 0;
    std::uint32_t threads = 0;
};

// An entry of NtQuerySystemInformation's SystemProcessInformation, as far as
// we read it; the same on every Windows from XP on, the sizes following the
// pointer size.
struct SystemProcessEntry {
    ULONG next_entry_offset;
    ULONG thread_count;
    LARGE_INTEGER reserved[3];
    LARGE_INTEGER create_time;
    LARGE_INTEGER user_time;
    LARGE_INTEGER kernel_time;
    struct {
        USHORT length;
        USHORT maximum_length;
        PWSTR buffer;
    } image_name;
    LONG base_priority;
    HANDLE process_id;
    HANDLE parent_process_id;
    ULONG handle_count;
    ULONG session_id;
    ULONG_PTR process_key;
    SIZE_T peak_virtual_size;
    SIZE_T virtual_size;
    ULONG page_fault_count;
    SIZE_T peak_working_set_size;
    SIZE_T working_set_size;
};

using NtQuerySystemInformationFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// Looked up once: ntdll is in every process, and the call is not part of
// the documented exports we may link against.
NtQuerySystemInformationFn query_system_information() {
    static const auto fn = [] {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll ? reinterpret_cast<NtQuerySystemInformationFn>(
                           reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")))
                     : nullptr;
    }();
    return fn;
}

// Every process's figures by id; empty when the system will not give them,
// and the caller asks each process instead.
std::map<std::uint32_t, SystemFigures> system_figures() {
    constexpr ULONG kSystemProcessInformation = 5;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::map<std::uint32_t, SystemFigures> out;
    const NtQuerySystemInformationFn query = query_system_information();
    if (!query) return out;
    // Processes come and go between the size asked and the call: grow and
    // ask again, within reason.
    std::vector<std::uint64_t> buffer(64 * 1024);  // 8-byte aligned
    LONG status = kInfoLengthMismatch;
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        const ULONG length = static_cast<ULONG>(buffer.size() * sizeof buffer[0]);
        status = query(kSystemProcessInformation, buffer.data(), length, &needed);
        if (status != kInfoLengthMismatch) break;
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed / sizeof buffer[0] + 4096));
    }
    if (status < 0) return out;
    const auto* base = reinterpret_cast<const unsigned char*>(buffer.data());
    const std::size_t size = buffer.size() * sizeof buffer[0];
    for (std::size_t offset = 0; offset + sizeof(SystemProcessEntry) <= size;) {
        const auto* e = reinterpret_cast<const SystemProcessEntry*>(base + offset);
        SystemFigures figures;
        figures.start_time = static_cast<std::uint64_t>(e->create_time.QuadPart);
        figures.cpu_time = static_cast<std::uint64_t>(e->user_time.QuadPart) +
                           static_cast<std::uint64_t>(e->kernel_time.QuadPart);
        figures.working_set = e->working_set_size;
        figures.threads = e->thread_count;
        out[static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(e->process_id))] = figures;
        if (e->next_entry_offset == 0) break;
        offset += e->next_entry_offset;
    }
    return out;
}

// TerminateProcess only starts the end; a list taken at once may still show
// the process. This long we wait for it to be gone.
constexpr DWORD kTerminateWaitMs = 2000;

// Waits for the process to end while the window goes on answering: each
// time messages arrive they are handed to `pump`.
bool wait_for_end(HANDLE process, const std::function<void()>& pump) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= kTerminateWaitMs) return has_ended(process);
        const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, kTerminateWaitMs - elapsed, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) return true;
        if (woke != WAIT_OBJECT_0 + 1) return has_ended(process);
        if (pump) pump();
    }
}

}  // namespace

std::vector<ProcessEntry> Win32Processes::list_processes() {
    std::vector<ProcessEntry> out;
    walk<PROCESSENTRY32W>(snapshot(TH32CS_SNAPPROCESS), Process32FirstW, Process32NextW, [&](const PROCESSENTRY32W& e) {
        ProcessEntry entry;
        entry.exe_file = to_utf8(e.szExeFile);
        entry.pid = e.th32ProcessID;
        entry.usage = e.cntUsage;
        entry.module_id = e.th32ModuleID;
        entry.default_heap_id = e.th32DefaultHeapID;
        entry.threads = e.cntThreads;
        entry.parent_pid = e.th32ParentProcessID;
        entry.base_priority = static_cast<std::int32_t>(e.pcPriClassBase);
        out.push_back(std::move(entry));
    });
    // After the snapshot is closed: the system's figures for all at once,
    // then a handle per process, one at a time, for what only it tells.
    const std::map<std::uint32_t, SystemFigures> figures = system_figures();
    std::map<std::pair<std::uint32_t, std::uint64_t>, std::string> users;
    for (ProcessEntry& entry : out) {
        const auto listed = figures.find(entry.pid);
        if (listed != figures.end()) {
            entry.start_time = listed->second.start_time;
            entry.cpu_time = listed->second.cpu_time;
            entry.working_set = listed->second.working_set;
            entry.threads = listed->second.threads;
        }
        const unique_kernel_handle process = open_for_figures(entry.pid);
        if (!process) continue;
        FILETIME created{}, exited{}, kernel{}, user{};
        if (GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) {
            // The start as the kill will check it, on a handle.
            entry.start_time = ticks(created);
            if (listed == figures.end()) entry.cpu_time = ticks(kernel) + ticks(user);
        }
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (entry.working_set == 0 && GetProcessMemoryInfo(process.get(), &memory, sizeof memory))
            entry.working_set = memory.WorkingSetSize;
        entry.user = user_of(process.get(), entry);
        users.emplace(std::pair{entry.pid, entry.start_time}, entry.user);
    }
    // Only the processes of this picture: a later one with a reused id
    // and start time 0 must not inherit a name.
    const std::lock_guard lock(users_lock_);
    users_by_process_ = std::move(users);
    return out;
}

// A process keeps its account for life, and an account its name for the
// run: each is asked of the system once.
std::string Win32Processes::user_of(HANDLE process, const ProcessEntry& entry) {
    const std::pair key{entry.pid, entry.start_time};
    {
        const std::lock_guard lock(users_lock_);
        if (entry.start_time != 0)
            if (auto known = users_by_process_.find(key); known != users_by_process_.end()) return known->second;
    }
    const std::string sid = sid_of(process);
    if (sid.empty()) return {};
    {
        const std::lock_guard lock(users_lock_);
        if (auto known = accounts_.find(sid); known != accounts_.end()) return known->second;
    }
    // Outside the lock: a lookup may ask a domain controller.
    std::string account = account_of(sid);
    const std::lock_guard lock(users_lock_);
    accounts_.emplace(sid, account);
    return account;
}

std::uint64_t Win32Processes::now() const {
    FILETIME t{};
    GetSystemTimeAsFileTime(&t);
    return ticks(t);
}

unsigned Win32Processes::processor_count() const {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
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

Termination Win32Processes::terminate(const ProcessEntry& listed, const std::function<void()>& while_waiting) {
    // The open handle keeps the id from going to another process, so what is
    // checked on it below is what TerminateProcess ends.
    unique_kernel_handle process(
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | query_access(), FALSE, listed.pid));
    if (!process) {
        const DWORD error = GetLastError();
        // No process has that id any more.
        if (error == ERROR_INVALID_PARAMETER) return {Termination::Gone, {}};
        return {Termination::Refused, system_message(error)};
    }
    if (has_ended(process.get()) || start_time_of(process.get()) != listed.start_time ||
        exe_file_of(listed.pid) != listed.exe_file)
        return {Termination::Gone, {}};
    if (!TerminateProcess(process.get(), 0)) {
        const DWORD error = GetLastError();
        // It ended by itself after the check.
        if (has_ended(process.get())) return {Termination::Gone, {}};
        return {Termination::Refused, system_message(error)};
    }
    return {wait_for_end(process.get(), while_waiting) ? Termination::Ended : Termination::Ending, {}};
}

std::string system_message(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD count = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    // TRANSLATORS: a system error that has no words of its own, by its number
    if (count == 0 || !buffer) return i18n::trf("Error {0}", std::to_string(error));
    std::wstring text(buffer, count);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return to_utf8(text);
}

}  // namespace veltrano::platform::win32
