// veltrano.exe with arguments: the command line, without a window.
#include "shell/win32/command_line_main.h"

#include "i18n/translate.h"
#include "platform/win32/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_ansi_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system_restore.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_time.h"
#include "shell/command_line.h"
#include "shell/startup_stages.h"
#include "shell/win32/stage_timing.h"
#include "tips/win32/writer_lock.h"

#include <shellapi.h>

#include <cstdint>
#include <cstdlib>

namespace veltrano::shell::win32 {

namespace {

// A GUI program has no console of its own. Output redirected by the caller
// (a pipe, a file) is used as it is; otherwise the console of the program
// that started us, when there is one.
class Win32Console : public Console {
public:
    Win32Console() {
        out_ = GetStdHandle(STD_OUTPUT_HANDLE);
        if (out_ && out_ != INVALID_HANDLE_VALUE && GetFileType(out_) != FILE_TYPE_UNKNOWN) return;
        out_ = nullptr;
        // Loaded at run time: the exe must start on every XP, whatever its
        // kernel32 exports.
        using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
        const auto attach = reinterpret_cast<AttachConsoleFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AttachConsole")));
        if (!attach || !attach(ATTACH_PARENT_PROCESS)) return;
        console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
        // The prompt was already printed when we attached: start on a line of our own.
        if (console_) write_console(L"\r\n");
    }

    void say(const std::string& line) override {
        std::string text = line;
        if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
        if (console_) {
            write_console(platform::win32::to_utf16(text));
        } else if (out_) {
            DWORD written = 0;
            WriteFile(out_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        }
    }

private:
    void write_console(const std::wstring& text) {
        DWORD written = 0;
        WriteConsoleW(console_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    HANDLE out_ = nullptr;  // the standard output's, not ours to close
    platform::win32::unique_file_handle console_;
};

std::string user_name() {
    wchar_t name[257] = {};
    DWORD count = 257;
    // TRANSLATORS: stands for the user's name in the log's first line when Windows does not tell it
    return GetUserNameW(name, &count) ? platform::win32::to_utf8(name) : i18n::tr("(unknown)");
}

// LocalSystem, as a machine start-up script runs: its HKEY_CURRENT_USER is
// the system account's own, not any person's.
bool runs_as_system() {
    platform::win32::unique_kernel_handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    alignas(TOKEN_USER) std::uint8_t buffer[256];
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size)) return false;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID system = nullptr;
    if (!AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system)) return false;
    const bool same = EqualSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, system) != FALSE;
    FreeSid(system);
    return same;
}

}  // namespace

// Not CommandLineToArgvW: it would load shell32 before the window shows.
bool has_command_line() { return has_arguments(GetCommandLineW()); }

int run_command_line() {
    int count = 0;
    LPWSTR* raw = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; raw && i < count; ++i) args.push_back(platform::win32::to_utf8(raw[i]));
    if (raw) LocalFree(raw);

    Win32Console console;
    platform::win32::Win32Registry registry;
    platform::win32::Win32Time time;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32AnsiText ansi;
    platform::win32::Win32SystemInfo system_info;
    tips::win32::WriterLock gate;
    platform::win32::Win32SystemRestore system_restore;
    const Invocation invocation{platform::win32::to_utf8(GetCommandLineW()), system_info.computer_name(), user_name(),
                                runs_as_system()};
    const int code = run_arguments(args, invocation,
                                   {timed_for_stages(registry), time, files, ansi, gate, &timed_for_stages(system_restore)},
                                   console);
    VELTRANO_STAGE("command done");
    VELTRANO_STAGES_WRITE();
    return code;
}

}  // namespace veltrano::shell::win32
