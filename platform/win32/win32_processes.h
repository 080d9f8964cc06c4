#pragma once

#include "platform/processes.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace veltrano::platform::win32 {

// The process list may be taken on a thread of its own (the process
// monitor's refresh) while the window takes one too: what is remembered
// between pictures is guarded.
class Win32Processes : public Processes {
public:
    std::vector<ProcessEntry> list_processes() override;
    std::uint64_t now() const override;
    unsigned processor_count() const override;
    std::vector<ModuleEntry> list_modules() override;
    std::vector<ThreadEntry> list_threads() override;
    Termination terminate(const ProcessEntry& listed, const std::function<void()>& while_waiting) override;

private:
    std::string user_of(HANDLE process, const ProcessEntry& entry);
    std::mutex users_lock_;
    std::map<std::pair<std::uint32_t, std::uint64_t>, std::string> users_by_process_;
    std::map<std::string, std::string> accounts_;  // by SID, as bytes
};

// The system's own wording for an error code, without the trailing line break.
std::string system_message(unsigned long error);

}  // namespace veltrano::platform::win32
