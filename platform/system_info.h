// Facts about the machine: the version gate, the computer name, memory.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano::platform {

// Platform identifiers as GetVersionEx reports them; 2 is the NT family.
constexpr std::uint32_t kPlatformWin32Nt = 2;

struct VersionInfo {
    std::uint32_t platform_id = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

struct MemoryStatus {
    std::uint32_t memory_load = 0;  // percent in use
    std::uint64_t total_phys = 0;
    std::uint64_t avail_phys = 0;
    std::uint64_t total_page_file = 0;
    std::uint64_t avail_page_file = 0;
    std::uint64_t total_virtual = 0;
    std::uint64_t avail_virtual = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual VersionInfo version() const = 0;
    // At most 15 characters, as the NetBIOS name is.
    virtual std::string computer_name() const = 0;
    virtual MemoryStatus memory_status() const = 0;
    // What the user writes between the whole and the fractional part of a
    // number (Regional Options), read afresh each time so a change applies.
    virtual std::string decimal_separator() const = 0;
};

}  // namespace veltrano::platform
