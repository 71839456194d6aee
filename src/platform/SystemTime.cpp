#include "platform/SystemTime.h"

#include <ctime>
#include <sys/time.h>

namespace {

LocalClockFn g_clock = nullptr;

void SystemClock(SYSTEMTIME* out)
{
    struct timeval tv{};
    ::gettimeofday(&tv, nullptr);
    const time_t seconds = tv.tv_sec;
    struct tm local{};
    if (!::localtime_r(&seconds, &local)) {
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
    out->wMilliseconds = static_cast<uint16_t>(tv.tv_usec / 1000);
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
