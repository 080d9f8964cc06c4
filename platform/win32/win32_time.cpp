#include "platform/win32/win32_time.h"

#include "platform/win32/text.h"

#include <windows.h>

namespace veltrano::platform::win32 {

namespace {

SystemTime from_native(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

SYSTEMTIME to_native(const SystemTime& t) {
    SYSTEMTIME out{};
    out.wYear = t.year;
    out.wMonth = t.month;
    out.wDayOfWeek = t.day_of_week;
    out.wDay = t.day;
    out.wHour = t.hour;
    out.wMinute = t.minute;
    out.wSecond = t.second;
    out.wMilliseconds = t.milliseconds;
    return out;
}

}  // namespace

std::string Win32Time::short_date_today() const {
    wchar_t date[80] = {};
    const int count = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 80);
    if (count <= 1) return {};
    return to_utf8(date, static_cast<std::size_t>(count - 1));  // the count includes the terminator
}

SystemTime Win32Time::local_time() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return from_native(t);
}

SystemTime Win32Time::system_time_utc() const {
    SYSTEMTIME t{};
    GetSystemTime(&t);
    return from_native(t);
}

bool Win32Time::set_system_time_utc(const SystemTime& utc) {
    const SYSTEMTIME native = to_native(utc);
    return SetSystemTime(&native) != FALSE;
}

}  // namespace veltrano::platform::win32
