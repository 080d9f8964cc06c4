#pragma once

#include "platform/time.h"

namespace veltrano::platform::win32 {

class Win32Time : public Time {
public:
    std::string short_date_today() const override;
    SystemTime local_time() const override;
    SystemTime system_time_utc() const override;
    bool set_system_time_utc(const SystemTime& utc) override;
    std::string last_error_text() const override;
    std::uint32_t tick_count_ms() const override;

private:
    unsigned long error_ = 0;
};

}  // namespace veltrano::platform::win32
