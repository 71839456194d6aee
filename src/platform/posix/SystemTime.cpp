#include "platform/SystemTime.h"

#include <ctime>
#include <sys/time.h>

namespace {

bool SameWallClock(const struct tm& a, const struct tm& b)
{
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour
           && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

} // namespace

void SystemLocalTime(SYSTEMTIME* out)
{
    struct timeval tv{};
    ::gettimeofday(&tv, nullptr);
    const time_t seconds = tv.tv_sec;
    struct tm local{};
    if (!::localtime_r(&seconds, &local)) {
        *out = SYSTEMTIME{1980, 1, 2, 1, 0, 0, 0, 0};
        return;
    }
    *out = SystemTimeFromTm(local, static_cast<uint16_t>(tv.tv_usec / 1000));
}

bool LocalCalendarTime(const SYSTEMTIME& date, struct tm* out)
{
    // localtime_r reads the time zone once; mktime would look at the zone file
    // again on every call, so it is kept for the dates the fast path cannot
    // settle (those in a daylight-saving gap).
    static const bool zoneRead = (::tzset(), true);
    (void)zoneRead;
    time_t value = 0;
    if (date.wYear >= 1900) {
        struct tm wanted = TmFromSystemTime(date);
        wanted.tm_isdst = 0;
        const time_t asUtc = ::timegm(&wanted);  // normalises the fields
        // The instant whose local time shows these fields: the zone offset is
        // taken at a first guess and once more at the instant it gives.
        time_t guess = asUtc;
        struct tm local{};
        bool found = false;
        for (int step = 0; step < 3 && !found; ++step) {
            if (!::localtime_r(&guess, &local))
                break;
            found = SameWallClock(local, wanted);
            if (!found)
                guess = asUtc - local.tm_gmtoff;
        }
        if (found) {
            *out = local;
            return true;
        }
        struct tm t = TmFromSystemTime(date);
        value = ::mktime(&t);
        if (value == static_cast<time_t>(-1))
            return false;
    }
    return ::localtime_r(&value, out) != nullptr;
}
