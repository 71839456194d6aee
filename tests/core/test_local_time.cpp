// The local calendar time of a stored date, and the date text of the model
// lists, agree with the C library's mktime, localtime and strftime in zones
// with and without daylight saving, also for dates in a gap, in an overlap
// and past the end of their month.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "model/ModelData.h"
#include "platform/SystemTime.h"
#include "platform/Text.h"

namespace {

struct ZoneGuard {
    explicit ZoneGuard(const char* zone)
    {
        if (const char* tz = std::getenv("TZ"))
            m_old = tz, m_had = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard()
    {
        if (m_had)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    bool m_had = false;
    std::string m_old;
};

std::string Format(const struct tm& t)
{
    char buf[64];
    return std::string(buf, std::strftime(buf, sizeof buf, "%Y/%m/%d %H:%M:%S", &t));
}

}  // namespace

TEST(LocalCalendarTime, AgreesWithMktimeInEveryZone)
{
    const SYSTEMTIME dates[] = {
        {2021, 3, 0, 28, 2, 30, 0, 0},   // spring gap in Europe
        {2021, 10, 0, 31, 2, 30, 0, 0},  // autumn overlap in Europe
        {2021, 3, 0, 14, 2, 15, 0, 0},   // spring gap in North America
        {2021, 4, 0, 4, 1, 45, 0, 0},    // half-hour overlap at Lord Howe
        {2021, 10, 0, 3, 2, 10, 0, 0},   // half-hour gap at Lord Howe
        {2023, 2, 0, 31, 23, 59, 59, 0}, // past the end of February
        {1900, 1, 0, 1, 0, 0, 0, 0},
        {2099, 12, 0, 31, 23, 59, 59, 0},
        {1999, 6, 0, 15, 12, 0, 0, 0},
        {1899, 7, 0, 4, 5, 6, 7, 0},     // before 1900: the epoch
    };
    for (const char* zone : {"UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "Asia/Tokyo"}) {
        ZoneGuard guard(zone);
        for (const SYSTEMTIME& d : dates) {
            SCOPED_TRACE(std::string(zone) + " " + std::to_string(d.wYear) + "-" + std::to_string(d.wMonth) + "-" +
                         std::to_string(d.wDay) + " " + std::to_string(d.wHour) + ":" + std::to_string(d.wMinute));
            time_t value = 0;
            if (d.wYear >= 1900) {
                struct tm t{};
                t.tm_year = d.wYear - 1900;
                t.tm_mon = d.wMonth - 1;
                t.tm_mday = d.wDay;
                t.tm_hour = d.wHour;
                t.tm_min = d.wMinute;
                t.tm_sec = d.wSecond;
                t.tm_isdst = -1;
                value = mktime(&t);
            }
            struct tm expected{};
            ASSERT_NE(localtime_r(&value, &expected), nullptr);
            struct tm got{};
            ASSERT_TRUE(LocalCalendarTime(d, &got));
            EXPECT_EQ(Format(got), Format(expected));
            // The model lists' date text is the same time, two digits a field.
            char text[64];
            const size_t n = std::strftime(text, sizeof text, "%y/%m/%d %H:%M:%S", &expected);
            EXPECT_EQ(FormatModelDate(d), Utf8ToUtf16(std::string(text, n)));
        }
    }
}
#endif
