// The small Win32 services, checked against facts the test process knows
// about itself. Nothing here changes the clock, restarts or starts programs.
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_shutdown.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_time.h"
#include "platform/win32/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace veltrano::contract {
namespace {

using namespace platform;
using namespace platform::win32;

std::string own_exe_path() {
    wchar_t path[MAX_PATH] = {};
    const DWORD count = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return to_utf8(path, count);
}

TEST(Win32SystemInfoTest, ReportsAnNtSystemAndSaneMemory) {
    Win32SystemInfo info;
    EXPECT_EQ(info.version().platform_id, kPlatformWin32Nt);
    EXPECT_GE(info.version().major, 5u);
    const std::string name = info.computer_name();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 15u);
    const MemoryStatus memory = info.memory_status();
    EXPECT_GT(memory.total_phys, 0u);
    EXPECT_LE(memory.avail_phys, memory.total_phys);
    EXPECT_LE(memory.memory_load, 100u);
}

TEST(Win32ProcessesTest, FindsItselfItsThreadAndItsExe) {
    Win32Processes processes;
    const auto pid = static_cast<std::uint32_t>(GetCurrentProcessId());
    const auto all = processes.list_processes();
    const auto self = std::find_if(all.begin(), all.end(), [&](const ProcessEntry& e) { return e.pid == pid; });
    ASSERT_NE(self, all.end());
    EXPECT_EQ(self->exe_file, "registry_contract_win32.exe");
    EXPECT_GE(self->threads, 1u);

    // Every thread of the machine, ours among them.
    const auto threads = processes.list_threads();
    EXPECT_TRUE(std::any_of(threads.begin(), threads.end(), [&](const ThreadEntry& t) {
        return t.tid == GetCurrentThreadId() && t.owner_pid == pid;
    }));
    EXPECT_TRUE(std::any_of(threads.begin(), threads.end(), [&](const ThreadEntry& t) { return t.owner_pid != pid; }));

    // Only our own modules, the exe first.
    const auto modules = processes.list_modules();
    ASSERT_FALSE(modules.empty());
    EXPECT_EQ(modules.front().module_name, "registry_contract_win32.exe");
    EXPECT_EQ(modules.front().handle, reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr)));
    EXPECT_TRUE(std::all_of(modules.begin(), modules.end(), [&](const ModuleEntry& m) { return m.pid == pid; }));
}

// The kill's re-check against the test process itself: an entry that no
// longer matches it by name or start time must leave it running (a missing
// check would end this test). Nothing that matches is ever passed.
TEST(Win32ProcessesTest, AnIdNoLongerTheProgramListedIsNotEnded) {
    Win32Processes processes;
    const auto all = processes.list_processes();
    const auto self = std::find_if(all.begin(), all.end(),
                                   [](const ProcessEntry& e) { return e.pid == GetCurrentProcessId(); });
    ASSERT_NE(self, all.end());
    FILETIME created{}, exited{}, kernel{}, user{};
    ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user));
    EXPECT_EQ(self->start_time, (std::uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime);

    ProcessEntry started_later = *self, another_program = *self, no_process{};
    started_later.start_time += 1;
    another_program.exe_file = "setup.exe";
    // Process ids are multiples of four, so this one never exists.
    no_process.pid = 0xFFFFFFF1u;
    for (const ProcessEntry& listed : {started_later, another_program, no_process}) {
        int pumps = 0;
        const Termination result = processes.terminate(listed, [&] { ++pumps; });
        EXPECT_EQ(result.outcome, Termination::Gone) << listed.exe_file << " " << listed.start_time;
        EXPECT_EQ(pumps, 0);
    }
}

TEST(Win32FileSystemTest, KnowsTheSystemDriveAndItsOwnExe) {
    Win32FileSystem files;
    EXPECT_EQ(files.drive_type("C:\\"), DriveType::Fixed);
    EXPECT_TRUE(files.exists(own_exe_path()));
    EXPECT_TRUE(files.exists("C:\\"));
    EXPECT_FALSE(files.exists("C:\\no such folder\\no such file.txt"));
}

TEST(Win32FileSystemTest, TellsFoldersFromFilesWithoutMovingTheCurrentDirectory) {
    Win32FileSystem files;
    wchar_t before[MAX_PATH] = {}, after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    const std::string exe = own_exe_path();
    EXPECT_TRUE(files.is_directory(exe.substr(0, exe.rfind('\\') + 1)));
    EXPECT_TRUE(files.is_directory("C:\\"));
    EXPECT_FALSE(files.is_directory(exe));
    EXPECT_FALSE(files.is_directory("C:\\no such folder\\"));
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_EQ(std::wstring(after), std::wstring(before));
}

TEST(Win32FileSystemTest, WritesANewFileInNewFoldersAndNeverOverAnOldOne) {
    Win32FileSystem files;
    const std::string folder = files.app_data_folder() + "\\VeltranoContract";
    const std::string file = folder + "\\" + std::to_string(GetCurrentProcessId()) + "\\backup.reg";
    ASSERT_TRUE(files.create_directories(file.substr(0, file.rfind('\\'))));
    ASSERT_TRUE(files.write_new_file(file, {0xFF, 0xFE, 'x', 0}));
    EXPECT_FALSE(files.write_new_file(file, {'y'}));
    EXPECT_TRUE(files.exists(file));
    EXPECT_FALSE(files.is_directory(file));
    // Listed by the end of the name: "*.reg" alone would take "x.regx" too
    // (by its short name), and a folder is no file.
    const std::string beside = file.substr(0, file.rfind('\\'));
    ASSERT_TRUE(files.write_new_file(beside + "\\x.regx", {}));
    ASSERT_TRUE(files.create_directories(beside + "\\folder.reg"));
    EXPECT_EQ(files.file_names(beside, ".reg"), std::vector<std::string>{"backup.reg"});
    DeleteFileW(to_utf16(beside + "\\x.regx").c_str());
    RemoveDirectoryW(to_utf16(beside + "\\folder.reg").c_str());
    DeleteFileW(to_utf16(file).c_str());
    RemoveDirectoryW(to_utf16(file.substr(0, file.rfind('\\'))).c_str());
    RemoveDirectoryW(to_utf16(folder).c_str());
}

// What a log viewer sees of a file another program is writing.
std::vector<std::uint8_t> read_shared(const std::string& path) {
    const HANDLE file = CreateFileW(to_utf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::vector<std::uint8_t> bytes(4096);
    DWORD got = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

// A run's /log: each append is in the file when it returns (a run killed
// next keeps it), and what another writer added meanwhile stays before it.
TEST(Win32FileSystemTest, AnAppenderKeptOpenPutsEachAppendAtTheFilesEndAtOnce) {
    Win32FileSystem files;
    const std::string file = files.app_data_folder() + "\\VeltranoAppend" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileW(to_utf16(file).c_str());
    auto appender = files.open_for_appending(file);
    ASSERT_NE(appender, nullptr);
    ASSERT_TRUE(appender->append({'a', '\n'}));
    EXPECT_EQ(read_shared(file), (std::vector<std::uint8_t>{'a', '\n'}));
    ASSERT_TRUE(files.append_file(file, {'b', '\n'}));
    ASSERT_TRUE(appender->append({'c', '\n'}));
    EXPECT_EQ(read_shared(file), (std::vector<std::uint8_t>{'a', '\n', 'b', '\n', 'c', '\n'}));
    EXPECT_EQ(files.open_for_appending("C:\\no such folder\\x.log"), nullptr);
    appender.reset();
    DeleteFileW(to_utf16(file).c_str());
}

TEST(Win32TimeTest, ShortDateHoldsTodaysDay) {
    Win32Time time;
    const SystemTime now = time.local_time();
    const std::string date = time.short_date_today();
    EXPECT_NE(date.find(std::to_string(now.day)), std::string::npos) << date;
    const SystemTime utc = time.system_time_utc();
    EXPECT_NE(utc.year, 0u);
}

// Whether our own token has the shutdown privilege enabled right now, asked
// of the token directly rather than of the code under test.
bool shutdown_privilege_enabled() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    LUID luid{};
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid);
    DWORD length = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &length);
    std::vector<unsigned char> buffer(length);
    bool enabled = false;
    if (GetTokenInformation(token, TokenPrivileges, buffer.data(), length, &length)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
            if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
                enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    CloseHandle(token);
    return enabled;
}

TEST(Win32ShutdownTest, EnablesAndDisablesThePrivilegeLookedUpOnTheTargetMachine) {
    Win32Shutdown early;
    EXPECT_NE(early.adjust_privilege(true), 0u);  // no token yet

    Win32Shutdown shutdown;
    ASSERT_TRUE(shutdown.open_process_token());
    EXPECT_FALSE(shutdown.lookup_privilege("", "SeNoSuchPrivilege"));
    // The machine as the exit names it: "\\" and the computer name.
    const std::string machine = "\\\\" + Win32SystemInfo().computer_name();
    ASSERT_TRUE(shutdown.lookup_privilege(machine, "SeShutdownPrivilege")) << machine;
    EXPECT_EQ(shutdown.adjust_privilege(true), 0u);
    EXPECT_TRUE(shutdown_privilege_enabled());
    EXPECT_EQ(shutdown.adjust_privilege(false), 0u);
    EXPECT_FALSE(shutdown_privilege_enabled());
}

TEST(Win32SystemInfoTest, DecimalSeparatorIsTheUsersOwn) {
    wchar_t expected[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, expected, 8);
    EXPECT_EQ(Win32SystemInfo().decimal_separator(), to_utf8(expected));
}

}  // namespace
}  // namespace veltrano::contract
