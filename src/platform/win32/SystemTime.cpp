// The local clock and calendar on Windows, through the C runtime (the Win32
// names of these records are the program's own here).
#include "platform/SystemTime.h"

#include <chrono>
#include <ctime>

void SystemLocalTime(SYSTEMTIME* out)
{
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const __time64_t seconds = static_cast<__time64_t>(ms / 1000);
    struct tm local{};
    if (_localtime64_s(&local, &seconds) != 0) {
        *out = SYSTEMTIME{1980, 1, 2, 1, 0, 0, 0, 0};
        return;
    }
    *out = SystemTimeFromTm(local, static_cast<uint16_t>(ms % 1000));
}

bool LocalCalendarTime(const SYSTEMTIME& date, struct tm* out)
{
    __time64_t value = 0;
    if (date.wYear >= 1900) {
        struct tm t = TmFromSystemTime(date);
        value = _mktime64(&t);
        if (value == static_cast<__time64_t>(-1))
            return false;
    }
    return _localtime64_s(out, &value) == 0;
}
