#include "platform/win32/win32_time.h"

#include "i18n/translate.h"
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
    // A user without the right to change the time is refused here: that
    // answer is what the page must show, not a correction.
    error_ = SetSystemTime(&native) ? ERROR_SUCCESS : GetLastError();
    return error_ == ERROR_SUCCESS;
}

std::uint32_t Win32Time::tick_count_ms() const { return GetTickCount(); }

std::string Win32Time::last_error_text() const {
    if (error_ == ERROR_SUCCESS) return {};
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error_, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    // The system's texts end with a line break, which a status line must not carry.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    // TRANSLATORS: a system error that has no words of its own, by its number, inside a sentence
    return text.empty() ? i18n::trf("error {0}", std::to_string(error_)) : to_utf8(text);
}

}  // namespace veltrano::platform::win32
