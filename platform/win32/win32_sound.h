#pragma once

#include "platform/sound.h"

namespace veltrano::platform::win32 {

class Win32Sound : public Sound {
public:
    void play_resource_async(const std::string& resource_name) override;
};

}  // namespace veltrano::platform::win32
