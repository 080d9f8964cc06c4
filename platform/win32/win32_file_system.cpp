#include "platform/win32/win32_file_system.h"

#include "platform/win32/text.h"

#include <windows.h>

namespace veltrano::platform::win32 {

DriveType Win32FileSystem::drive_type(const std::string& root) {
    switch (GetDriveTypeW(to_utf16(root).c_str())) {
    case DRIVE_NO_ROOT_DIR: return DriveType::NoRootDir;
    case DRIVE_REMOVABLE: return DriveType::Removable;
    case DRIVE_FIXED: return DriveType::Fixed;
    case DRIVE_REMOTE: return DriveType::Remote;
    case DRIVE_CDROM: return DriveType::CdRom;
    case DRIVE_RAMDISK: return DriveType::RamDisk;
    default: return DriveType::Unknown;
    }
}

bool Win32FileSystem::exists(const std::string& path) {
    // A path on an empty floppy or CD drive would otherwise make XP stop and
    // ask "There is no disk in the drive" while the analyser walks the
    // registry's file references.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD attributes = GetFileAttributesW(to_utf16(path).c_str());
    SetErrorMode(previous);
    return attributes != INVALID_FILE_ATTRIBUTES;
}

}  // namespace veltrano::platform::win32
