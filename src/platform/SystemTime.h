// Calendar time records and the local clock.
#pragma once

#include <cstdint>
#include <ctime>

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

// The local calendar time a stored date stands for, as the C library's
// mktime and localtime give it: the fields normalised (the 31st of a 30-day
// month is the 1st of the next) and moved out of a daylight-saving gap. A year
// below 1900 stands for the start of the epoch. False when the date has no
// local time. The time zone is looked up once, not on every call.
bool LocalCalendarTime(const SYSTEMTIME& date, struct tm* out);

// Shared by the system layers: the fields of a calendar time from a local
// struct tm (a leap second shows as 59), and the struct tm that a stored
// date's fields name (not yet normalised, daylight saving left to the
// library).
SYSTEMTIME SystemTimeFromTm(const struct tm& local, uint16_t milliseconds);
struct tm TmFromSystemTime(const SYSTEMTIME& date);

// The system's local clock, one implementation per system.
void SystemLocalTime(SYSTEMTIME* out);
