#include "platform/win32/win32_ansi_text.h"

#include "platform/win32/text.h"

#include <windows.h>

namespace veltrano::platform::win32 {

std::string Win32AnsiText::to_utf8(std::string_view bytes) const {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int count = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), count);
    return win32::to_utf8(wide);
}

}  // namespace veltrano::platform::win32
