// Calendar time records and the local clock.
#pragma once

#include <cstdint>

// The eight 16-bit fields of a calendar time, in the order model files store them.
struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};

// The current local time.
void GetLocalTime(SYSTEMTIME* out);

// A replaceable clock, so that tests can fix "now". Pass nullptr to restore the
// system clock.
using LocalClockFn = void (*)(SYSTEMTIME* out);
void SetLocalClockForTesting(LocalClockFn clock);
