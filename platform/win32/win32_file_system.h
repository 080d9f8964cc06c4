#pragma once

#include "platform/file_system.h"

namespace veltrano::platform::win32 {

class Win32FileSystem : public FileSystem {
public:
    DriveType drive_type(const std::string& root) override;
    bool exists(const std::string& path) override;
};

}  // namespace veltrano::platform::win32
