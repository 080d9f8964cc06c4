#include "driver/process.h"

namespace veltrano::driver {

namespace {

// The quoting CommandLineToArgvW undoes: backslashes are literal except
// before a quote.
std::wstring quote(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

std::wstring folder_of(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::wstring to_windows_path(std::wstring_view path) {
    if (path.empty() || path[0] != L'/') return std::wstring(path);
    std::wstring out = L"Z:";
    for (wchar_t c : path) out += c == L'/' ? L'\\' : c;
    return out;
}

bool ChildProcess::start(const std::wstring& exe, const std::vector<std::wstring>& arguments, HANDLE output) {
    terminate();
    const std::wstring path = to_windows_path(exe);
    std::wstring command_line = quote(path);
    for (const std::wstring& argument : arguments) command_line += L" " + quote(argument);
    const std::wstring folder = folder_of(path);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION info{};
    auto create = [&] {
        return CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, output ? TRUE : FALSE, 0, nullptr,
                              folder.empty() ? nullptr : folder.c_str(), &startup, &info) != 0;
    };
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while the
    // child before is still being torn down; once that is done it goes
    // through. Any other error is final.
    bool created = false;
    DWORD error = ERROR_SUCCESS;
    wait_until([&] {
        created = create();
        error = GetLastError();
        return created || error != ERROR_INTERNAL_ERROR;
    });
    if (!created) {
        SetLastError(error);
        return false;
    }
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
    return true;
}

bool ChildProcess::running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> ChildProcess::exit_code() const {
    DWORD code = 0;
    if (!process_ || running() || !GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

bool ChildProcess::wait_for_exit(Millis timeout) const {
    return !process_ || WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void ChildProcess::terminate() {
    if (!process_) return;
    if (running()) {
        TerminateProcess(process_.get(), 1);
        wait_for_exit();
    }
    process_.reset();
    id_ = 0;
}

std::optional<DWORD> run_to_completion(const std::wstring& command_line, Millis timeout) {
    std::wstring line = command_line;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return std::nullopt;
    CloseHandle(info.hThread);
    platform::win32::unique_kernel_handle process(info.hProcess);
    if (WaitForSingleObject(process.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), static_cast<DWORD>(kDefaultTimeout.count()));
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

}  // namespace veltrano::driver
