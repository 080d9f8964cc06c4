#pragma once

#include "platform/system_info.h"

namespace veltrano::platform::win32 {

class Win32SystemInfo : public SystemInfo {
public:
    VersionInfo version() const override;
    std::string computer_name() const override;
    MemoryStatus memory_status() const override;
    std::string decimal_separator() const override;
};

}  // namespace veltrano::platform::win32
