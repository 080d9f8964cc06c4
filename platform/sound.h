// The program's own WAVE resources, always played without waiting.
#pragma once

#include <string>

namespace veltrano::platform {

class Sound {
public:
    virtual ~Sound() = default;
    virtual void play_resource_async(const std::string& resource_name) = 0;
};

}  // namespace veltrano::platform
