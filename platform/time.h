// Clock and calendar: today's date as the user writes it, the system time,
// and setting the clock in UTC (the time synchronisation's correction).
#pragma once

#include <cstdint>
#include <string>

namespace veltrano::platform {

struct SystemTime {
    std::uint16_t year = 0, month = 0, day_of_week = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
    bool operator==(const SystemTime&) const = default;
};

class Time {
public:
    virtual ~Time() = default;
    // Today's date in the user's short date format.
    virtual std::string short_date_today() const = 0;
    virtual SystemTime local_time() const = 0;
    virtual SystemTime system_time_utc() const = 0;
    // Sets the clock from a UTC reading: right on both sides of a
    // daylight-saving change, which a local time is not. False when the
    // clock stayed as it was; last_error_text() then says why.
    virtual bool set_system_time_utc(const SystemTime& utc) = 0;
    virtual std::string last_error_text() const = 0;
    // Milliseconds on a clock that nobody sets, for waits: it wraps after
    // 49 days, so only differences of readings mean anything.
    virtual std::uint32_t tick_count_ms() const = 0;
};

}  // namespace veltrano::platform
