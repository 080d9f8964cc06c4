// Snapshots of processes, their modules and threads, and ending a process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrano::platform {

struct ProcessEntry {
    std::uint32_t pid = 0, parent_pid = 0, threads = 0;
    std::int32_t base_priority = 0;
    std::string exe_file;
};

struct ModuleEntry {
    std::uint32_t pid = 0;
    std::uint64_t base_address = 0, base_size = 0;
    std::string module_name, exe_path;
};

struct ThreadEntry {
    std::uint32_t tid = 0, owner_pid = 0;
    std::int32_t base_priority = 0;
};

class Processes {
public:
    virtual ~Processes() = default;
    virtual std::vector<ProcessEntry> list_processes() = 0;
    virtual std::vector<ModuleEntry> list_modules(std::uint32_t pid) = 0;
    virtual std::vector<ThreadEntry> list_threads(std::uint32_t pid) = 0;
    // Empty on success, else the system's message for the error.
    virtual std::string terminate(std::uint32_t pid) = 0;
};

}  // namespace veltrano::platform
