#include "platform/win32/win32_sound.h"

#include "platform/win32/text.h"

#include <windows.h>
#include <mmsystem.h>

namespace veltrano::platform::win32 {

void Win32Sound::play_resource_async(const std::string& resource_name) {
    const std::wstring name = to_utf16(resource_name);
    // SND_ASYNC returns at once; a missing sound device is no reason to hold
    // up the user, so the result is not looked at. SND_NODEFAULT keeps a
    // missing resource silent instead of playing the system's default beep.
    PlaySoundW(name.c_str(), GetModuleHandleW(nullptr), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace veltrano::platform::win32
