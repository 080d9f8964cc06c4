#include "regclean/file_time.h"

#include <string>

namespace veltrano::regclean {

std::string zero_padded(long long n, std::size_t width) {
    std::string text = std::to_string(n);
    return std::string(text.size() < width ? width - text.size() : 0, '0') + text;
}

std::string format_last_write(std::uint64_t ticks) {
    const std::uint64_t minutes = ticks / 600'000'000u;
    const int minute = static_cast<int>(minutes % 60), hour = static_cast<int>(minutes / 60 % 24);
    // Days since 1601-01-01 moved to days since 0000-03-01, so that every
    // 400-year era starts the day after a leap day (the civil-from-days
    // method: no table of month lengths, no loop over years).
    const std::int64_t days = static_cast<std::int64_t>(minutes / (60 * 24)) + 584'694;
    const std::int64_t era = days / 146'097;
    const std::int64_t day_of_era = days - era * 146'097;
    const std::int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
    const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;  // 0 is March
    const int day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
    const int month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
    const long long year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);

    const int clock_hour = hour % 12 == 0 ? 12 : hour % 12;
    return zero_padded(month) + "/" + zero_padded(day) + "/" + zero_padded(year, 4) + " " + zero_padded(clock_hour) +
           ":" + zero_padded(minute) + (hour < 12 ? "AM" : "PM");
}

}  // namespace veltrano::regclean
