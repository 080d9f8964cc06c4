// Snapshots of processes, their modules and threads, and ending a process.
// Every field the process monitor shows is here, as the tool-help entries
// carry it: counts and identifiers unsigned, priorities signed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrano::platform {

struct ProcessEntry {
    std::string exe_file;
    std::uint32_t pid = 0, usage = 0, module_id = 0;
    std::uint64_t default_heap_id = 0;  // pointer-sized on 64-bit Windows
    std::uint32_t threads = 0, parent_pid = 0;
    std::int32_t base_priority = 0;
};

struct ModuleEntry {
    std::string module_name, exe_path;
    std::uint32_t module_id = 0, pid = 0, global_usage = 0, process_usage = 0;
    std::uint64_t handle = 0;  // hModule, which is also the base address
};

struct ThreadEntry {
    std::uint32_t tid = 0, usage = 0, owner_pid = 0;
    std::int32_t base_priority = 0, delta_priority = 0;
};

class Processes {
public:
    virtual ~Processes() = default;
    // Each list is one picture of the system, taken when asked for.
    virtual std::vector<ProcessEntry> list_processes() = 0;
    // The modules of this program's own process.
    virtual std::vector<ModuleEntry> list_modules() = 0;
    // Every thread of every process.
    virtual std::vector<ThreadEntry> list_threads() = 0;
    // Ends the process and waits a little for it to be gone. Empty on
    // success, else the system's message for the error.
    virtual std::string terminate(std::uint32_t pid) = 0;
};

}  // namespace veltrano::platform
