// Stands in for the management console in the end-to-end prefix: the test
// associates .msc files with it as
//     "msc_recorder.exe" "OUT_FILE" "%1"
// and it writes every argument after OUT_FILE, one a line in UTF-8, into
// OUT_FILE, then ends. The file appears whole (written aside, then renamed),
// so a test waiting for it never reads half of it.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 2) return 2;
    std::string lines;
    for (int i = 2; i < count; ++i) {
        const int length = WideCharToMultiByte(CP_UTF8, 0, args[i], -1, nullptr, 0, nullptr, nullptr);
        std::string line(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, args[i], -1, line.data(), length, nullptr, nullptr);
        lines += line + "\n";
    }
    const std::wstring out = args[1], aside = out + L".part";
    LocalFree(args);
    HANDLE file = CreateFileW(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExW(aside.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
    return 0;
}
