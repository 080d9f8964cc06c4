// System Restore through srclient.dll, loaded when first asked: not every
// Windows has it (Server editions, XP Embedded), and the exe must start
// everywhere.
#pragma once

#include "platform/system_restore.h"

#include <cstdint>
#include <string>

namespace veltrano::platform::win32 {

class Win32SystemRestore : public SystemRestore {
public:
    bool begin(const std::string& description, std::string& why) override;
    void end(bool succeeded) override;

private:
    std::int64_t sequence_ = 0;
    bool open_ = false;
    // Why Windows makes no point in this run, once it said so for good.
    std::string refused_for_the_run_;
};

}  // namespace veltrano::platform::win32
