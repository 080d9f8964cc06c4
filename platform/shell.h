// Starting documents and tools the way Explorer does ("open" verb).
#pragma once

#include <string>

namespace veltrano::platform {

class Shell {
public:
    virtual ~Shell() = default;
    // Returns the ShellExecute result code (greater than 32 on success).
    virtual long open(const std::string& file) = 0;
    // Where Windows keeps its own programs: system32 of wherever it is installed.
    virtual std::string system_folder() const = 0;
};

}  // namespace veltrano::platform
