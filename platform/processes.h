// Snapshots of processes, their modules and threads, and ending a process.
// Every field the process monitor shows is here, as the tool-help entries
// carry it: counts and identifiers unsigned, priorities signed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace veltrano::platform {

struct ProcessEntry {
    std::string exe_file;
    std::uint32_t pid = 0, usage = 0, module_id = 0;
    std::uint64_t default_heap_id = 0;  // pointer-sized on 64-bit Windows
    std::uint32_t threads = 0, parent_pid = 0;
    std::int32_t base_priority = 0;
    // When the process started (100 ns since 1601, as FILETIME counts); 0
    // when the system would not say. With the name it tells this process
    // from a later one that was given the same id.
    std::uint64_t start_time = 0;
    // Kernel and user time spent so far (100 ns units), for the share of the
    // processors between two pictures.
    std::uint64_t cpu_time = 0;
    // The working set in bytes, the memory Task Manager shows.
    std::uint64_t working_set = 0;
    // "DOMAIN\name" of the account it runs as; empty where the system
    // will not say.
    std::string user;
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

struct Termination {
    enum Outcome {
        Ended,     // gone within the wait
        Ending,    // accepted, still winding down when the wait ran out
        Gone,      // the listed program had ended; its id may be another's now
        Refused,   // `message` holds the system's words
    } outcome;
    std::string message;
};

class Processes {
public:
    virtual ~Processes() = default;
    // Each list is one picture of the system, taken when asked for.
    virtual std::vector<ProcessEntry> list_processes() = 0;
    // The clock the pictures' processor times are measured against (100 ns
    // units), and how many processors share the time.
    virtual std::uint64_t now() const = 0;
    virtual unsigned processor_count() const = 0;
    // The modules of this program's own process.
    virtual std::vector<ModuleEntry> list_modules() = 0;
    // Every thread of every process.
    virtual std::vector<ThreadEntry> list_threads() = 0;
    // Ends the process the entry names, but only while its id still belongs
    // to that program: the same name and start time, checked on the handle
    // that ends it, so the id cannot be handed on in between. Waits up to
    // 2 s for the end, calling `while_waiting` when messages arrive so that
    // the window stays alive.
    virtual Termination terminate(const ProcessEntry& listed, const std::function<void()>& while_waiting) = 0;
};

}  // namespace veltrano::platform
