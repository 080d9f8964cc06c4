// The program's date-time: days since 1899-12-30, the time of day as the
// fraction (so day 2 is 1900-01-01), and the clock readings it comes from.
#pragma once

#include "platform/time.h"

#include <cstdint>

namespace veltrano::platform {

// Whole days from 1899-12-30 to a date of the proleptic Gregorian calendar.
std::int64_t day_number(int year, int month, int day);

double to_date_time(const SystemTime& t);
// Rounded to the millisecond; the day of the week is filled in.
SystemTime from_date_time(double days);

}  // namespace veltrano::platform
