// veltrano.exe with arguments: the command line, without a window.
#include "shell/win32/command_line_main.h"

#include "platform/win32/text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system_restore.h"
#include "platform/win32/win32_time.h"
#include "shell/command_line.h"
#include "shell/win32/writer_lock.h"

#include <shellapi.h>

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
        console_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (console_ == INVALID_HANDLE_VALUE) console_ = nullptr;
        // The prompt was already printed when we attached: start on a line of our own.
        if (console_) write_console(L"\r\n");
    }
    ~Win32Console() override {
        if (console_) CloseHandle(console_);
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
        WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    HANDLE out_ = nullptr;
    HANDLE console_ = nullptr;
};

// How long a script waits for another Veltrano before it gives up.
constexpr DWORD kWriterWaitMs = 5 * 60 * 1000;

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
    std::string error;
    const std::optional<Command> command = parse_command(args, error);
    if (!command) {
        console.say("veltrano: " + error + ". Nothing was changed; veltrano /? tells the usage.");
        return kExitBadInput;
    }

    platform::win32::Win32Registry registry;
    platform::win32::Win32Time time;
    platform::win32::Win32FileSystem files;
    WriterLock lock;
    if (changes_machine(*command) && !lock.acquire(0)) {
        console.say("Another Veltrano is applying or undoing tips: waiting for it to finish.");
        if (!command->log_file.empty()) {
            const std::string line = "Waiting for another Veltrano to finish applying or undoing tips\r\n";
            files.append_file(command->log_file, {line.begin(), line.end()});
        }
        if (!lock.acquire(kWriterWaitMs)) {
            console.say("Another Veltrano is still applying or undoing tips. Nothing was changed.");
            return kExitSomeNotApplied;
        }
    }
    platform::win32::Win32SystemRestore system_restore;
    return run_command(*command, registry, time, files, console, &system_restore);
}

}  // namespace veltrano::shell::win32
