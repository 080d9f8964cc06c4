// What the registry analyser asks of the file system.
#pragma once

#include <string>

namespace veltrano::platform {

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual DriveType drive_type(const std::string& root) = 0;  // "C:\"
    virtual bool exists(const std::string& path) = 0;            // file or folder
};

}  // namespace veltrano::platform
