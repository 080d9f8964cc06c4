#pragma once

#include "platform/shell.h"

namespace veltrano::platform::win32 {

class Win32Shell : public Shell {
public:
    long open(const std::string& file) override;
};

}  // namespace veltrano::platform::win32
