// The local clock and calendar on Windows, through the C runtime (the Win32
// names of these records are the program's own here).
#include "platform/SystemTime.h"

#include <chrono>
#include <ctime>

namespace {

LocalClockFn g_clock = nullptr;

void SystemClock(SYSTEMTIME* out)
{
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const __time64_t seconds = static_cast<__time64_t>(ms / 1000);
    struct tm local{};
    if (_localtime64_s(&local, &seconds) != 0) {
        *out = SYSTEMTIME{1980, 1, 2, 1, 0, 0, 0, 0};
        return;
    }
    out->wYear = static_cast<uint16_t>(local.tm_year + 1900);
    out->wMonth = static_cast<uint16_t>(local.tm_mon + 1);
    out->wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
    out->wDay = static_cast<uint16_t>(local.tm_mday);
    out->wHour = static_cast<uint16_t>(local.tm_hour);
    out->wMinute = static_cast<uint16_t>(local.tm_min);
    out->wSecond = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    out->wMilliseconds = static_cast<uint16_t>(ms % 1000);
}

} // namespace

void GetLocalTime(SYSTEMTIME* out)
{
    if (g_clock)
        g_clock(out);
    else
        SystemClock(out);
}

void SetLocalClockForTesting(LocalClockFn clock)
{
    g_clock = clock;
}

bool LocalCalendarTime(const SYSTEMTIME& date, struct tm* out)
{
    __time64_t value = 0;
    if (date.wYear >= 1900) {
        struct tm t{};
        t.tm_year = date.wYear - 1900;
        t.tm_mon = date.wMonth - 1;
        t.tm_mday = date.wDay;
        t.tm_hour = date.wHour;
        t.tm_min = date.wMinute;
        t.tm_sec = date.wSecond;
        t.tm_isdst = -1;
        value = _mktime64(&t);
        if (value == static_cast<__time64_t>(-1))
            return false;
    }
    return _localtime64_s(out, &value) == 0;
}
