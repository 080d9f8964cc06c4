#include "platform/win32/win32_shell.h"

#include "platform/win32/text.h"

#include <windows.h>
#include <shellapi.h>

namespace veltrano::platform::win32 {

long Win32Shell::open(const std::string& file) {
    const std::wstring wide = to_utf16(file);
    // ShellExecute answers with a fake HINSTANCE that is really a result code.
    const HINSTANCE result = ShellExecuteW(owner_, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

std::string Win32Shell::system_folder() const {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return to_utf8(folder, length);
}

}  // namespace veltrano::platform::win32
