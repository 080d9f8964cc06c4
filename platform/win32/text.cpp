#include "platform/win32/text.h"

#include <windows.h>

namespace veltrano::platform::win32 {

std::wstring to_utf16(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (count <= 0) return {};
    std::wstring out(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), count);
    return out;
}

std::string to_utf8(const wchar_t* utf16, std::size_t count) {
    if (count == 0) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(count), out.data(), length, nullptr, nullptr);
    return out;
}

std::string to_utf8(const std::wstring& utf16) { return to_utf8(utf16.data(), utf16.size()); }

}  // namespace veltrano::platform::win32
