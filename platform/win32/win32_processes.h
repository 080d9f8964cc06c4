#pragma once

#include "platform/processes.h"

namespace veltrano::platform::win32 {

class Win32Processes : public Processes {
public:
    std::vector<ProcessEntry> list_processes() override;
    std::vector<ModuleEntry> list_modules() override;
    std::vector<ThreadEntry> list_threads() override;
    Termination terminate(const ProcessEntry& listed, const std::function<void()>& while_waiting) override;
};

// The system's own wording for an error code, without the trailing line break.
std::string system_message(unsigned long error);

}  // namespace veltrano::platform::win32
