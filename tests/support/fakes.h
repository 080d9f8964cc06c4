// Stand-ins for the machine in the native tests.
#pragma once

#include "platform/system_info.h"
#include "platform/time.h"

#include <string>

namespace veltrano::fakes {

class FakeTime : public platform::Time {
public:
    std::string short_date_today() const override { return date; }
    platform::SystemTime local_time() const override { return now; }
    platform::SystemTime system_time_utc() const override { return now; }
    bool set_local_time(const platform::SystemTime& t) override {
        now = t;
        return true;
    }
    std::string date = "07/12/2026";
    platform::SystemTime now{2026, 12, 1, 7, 8, 0, 0, 0};
};

class FakeSystemInfo : public platform::SystemInfo {
public:
    platform::VersionInfo version() const override { return ver; }
    std::string computer_name() const override { return name; }
    platform::MemoryStatus memory_status() const override { return memory; }
    platform::VersionInfo ver{platform::kPlatformWin32Nt, 5, 1, 2600};
    std::string name = "TUNEBOX";
    platform::MemoryStatus memory{};
};

}  // namespace veltrano::fakes
