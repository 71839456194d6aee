// The parts of the local clock that do not touch the system: the test seam
// and the conversions between calendar records and struct tm.
#include "platform/SystemTime.h"

namespace {

LocalClockFn g_clock = nullptr;

} // namespace

void GetLocalTime(SYSTEMTIME* out)
{
    if (g_clock)
        g_clock(out);
    else
        SystemLocalTime(out);
}

void SetLocalClockForTesting(LocalClockFn clock)
{
    g_clock = clock;
}

SYSTEMTIME SystemTimeFromTm(const struct tm& local, uint16_t milliseconds)
{
    SYSTEMTIME out{};
    out.wYear = static_cast<uint16_t>(local.tm_year + 1900);
    out.wMonth = static_cast<uint16_t>(local.tm_mon + 1);
    out.wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
    out.wDay = static_cast<uint16_t>(local.tm_mday);
    out.wHour = static_cast<uint16_t>(local.tm_hour);
    out.wMinute = static_cast<uint16_t>(local.tm_min);
    out.wSecond = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    out.wMilliseconds = milliseconds;
    return out;
}

struct tm TmFromSystemTime(const SYSTEMTIME& date)
{
    struct tm t{};
    t.tm_year = date.wYear - 1900;
    t.tm_mon = date.wMonth - 1;
    t.tm_mday = date.wDay;
    t.tm_hour = date.wHour;
    t.tm_min = date.wMinute;
    t.tm_sec = date.wSecond;
    t.tm_isdst = -1;
    return t;
}
