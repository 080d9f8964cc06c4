#include "platform/date_time.h"

#include <cmath>

namespace veltrano::platform {

namespace {

constexpr int kMillisecondsPerDay = 86400000;
// 1899-12-30 counted from 1970-01-01.
constexpr long long kDateTimeEpoch = -25569;

// Days from 1970-01-01 of a civil date, and back (proleptic Gregorian).
long long days_from_civil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civil_from_days(long long z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

}  // namespace

std::int64_t day_number(int year, int month, int day) {
    return days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDateTimeEpoch;
}

double to_date_time(const SystemTime& t) {
    const long long days = day_number(t.year, t.month, t.day);
    const double ms = ((t.hour * 60.0 + t.minute) * 60.0 + t.second) * 1000.0 + t.milliseconds;
    return static_cast<double>(days) + ms / kMillisecondsPerDay;
}

SystemTime from_date_time(double days) {
    // To whole milliseconds first, so 23:59:59.9996 becomes the next day's
    // midnight rather than a second 60.
    const long long total_ms = std::llround(days * kMillisecondsPerDay);
    long long day = total_ms / kMillisecondsPerDay;
    long long ms = total_ms % kMillisecondsPerDay;
    if (ms < 0) {
        ms += kMillisecondsPerDay;
        --day;
    }
    int year;
    unsigned month, dom;
    civil_from_days(day + kDateTimeEpoch, year, month, dom);
    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.day = static_cast<std::uint16_t>(dom);
    // 1899-12-30 was a Saturday (6).
    t.day_of_week = static_cast<std::uint16_t>(((day % 7) + 7 + 6) % 7);
    t.hour = static_cast<std::uint16_t>(ms / 3600000);
    t.minute = static_cast<std::uint16_t>(ms / 60000 % 60);
    t.second = static_cast<std::uint16_t>(ms / 1000 % 60);
    t.milliseconds = static_cast<std::uint16_t>(ms % 1000);
    return t;
}

}  // namespace veltrano::platform
