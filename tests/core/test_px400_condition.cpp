// Condition block conversion from a PX400 model: curve resampling onto the
// PX600 grid, the record rules and the two tails.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "convert/PX400Convert.h"
#include "samplegen/PX400Builder.h"

using samples::CurvePoint;
using samples::PX400Builder;
using samples::ReadCurvePoint;

namespace {

constexpr int kBlock = 3056;

std::vector<uint8_t> Convert(PX400Builder& b, int heli, int condition = 0)
{
    std::vector<uint8_t> target(kBlock, 0);
    ConvertPX400ConditionBlock(target.data(), b.ConditionBlock(condition), heli);
    return target;
}

int Grid(int points, int k) { return -1600 + (points == 17 ? 200 : 320) * k; }

std::vector<uint8_t> Resample(const std::vector<CurvePoint>& source)
{
    const int n = int(source.size());
    std::vector<uint8_t> s(3 * n), t(3 * n, 0);
    samples::WriteCurveRecord(s.data(), n, source);
    ResampleCurve(t.data(), s.data(), n);
    return t;
}

}  // namespace

TEST(PX400Resample, PointsOnTheGridAreCarriedOver)
{
    for (int n : {17, 11}) {
        std::vector<CurvePoint> source;
        for (int k = 0; k < n; ++k)
            source.push_back({Grid(n, k), (k * 37) % 500 - 250 - (k == 3 ? 1300 : 0)});
        const auto t = Resample(source);
        for (int k = 0; k < n; ++k) {
            const CurvePoint p = ReadCurvePoint(t.data(), n, k);
            EXPECT_EQ(p.x, Grid(n, k)) << n << " points, point " << k;
            EXPECT_EQ(p.y, source[k].y) << n << " points, point " << k;
        }
    }
}

TEST(PX400Resample, StraightLineLandsOnTheGrid)
{
    // y = 5x / 8 through (-1600, -1000) and (1600, 1000); the inner points sit
    // off the grid at multiples of 8, where the line has whole values, so the
    // resampled curve is the line itself.
    for (int n : {17, 11}) {
        std::vector<CurvePoint> source{{-1600, -1000}};
        for (int k = 1; k < n - 1; ++k) {
            const int x = -1600 + (3200 * k) / (n - 1) / 8 * 8 + 56;
            source.push_back({x, 5 * x / 8});
        }
        source.push_back({1600, 1000});
        const auto t = Resample(source);
        for (int k = 0; k < n; ++k) {
            const CurvePoint p = ReadCurvePoint(t.data(), n, k);
            EXPECT_EQ(p.x, Grid(n, k));
            EXPECT_EQ(p.y, 5 * Grid(n, k) / 8) << n << " points, point " << k;
        }
    }
}

TEST(PX400Resample, SlopeTruncatesTowardZeroStepByStep)
{
    // Two points: (-1600, 0) and (1600, 1000) spread over an 11-point record
    // whose other points all sit at X = 1600: every grid point finds the lower
    // segment and adds 320 * 0.3125 = 100 to the previous stored value.
    std::vector<CurvePoint> source{{-1600, 0}};
    for (int k = 1; k < 11; ++k)
        source.push_back({1600, 1000});
    auto t = Resample(source);
    for (int k = 1; k < 10; ++k)
        EXPECT_EQ(ReadCurvePoint(t.data(), 11, k).y, 100 * k);

    // A falling line: each step of 200 adds to the previous stored value and
    // truncates toward zero, so the error grows along the curve.
    std::vector<CurvePoint> falling{{-1600, 0}};
    for (int k = 1; k < 17; ++k)
        falling.push_back({1600, -1067});
    // -1067 / 3200 * 200 = -66.6875: each step loses the fraction, so the
    // stored points fall by 66 per step, not along the line.
    t = Resample(falling);
    for (int k = 1; k < 16; ++k)
        EXPECT_EQ(ReadCurvePoint(t.data(), 17, k).y, -66 * k) << k;
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 16).y, -1067);
}

TEST(PX400Resample, LastPointShortOfTheEnd)
{
    // y = x up to a last point at (1000, 1000): the grid points beyond 1000
    // continue the slope of the last segment; the end point keeps its X.
    std::vector<CurvePoint> source;
    for (int i = 0; i < 16; ++i)
        source.push_back({-1600 + 162 * i, -1600 + 162 * i});
    source.push_back({1000, 1000});
    auto t = Resample(source);
    for (int k = 1; k < 16; ++k)
        EXPECT_EQ(ReadCurvePoint(t.data(), 17, k).y, Grid(17, k)) << k;
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 16).x, 1000);
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 16).y, 1000);

    // Ending at full output short of the end: continuing the slope would pass
    // 2047 and flip sign in 12 bits; the computed points stop at 1600.
    source.back() = {1000, 1600};
    source[15] = {800, 1200};
    t = Resample(source);
    for (int k = 0; k < 17; ++k) {
        const int y = ReadCurvePoint(t.data(), 17, k).y;
        EXPECT_GE(y, -1600) << k;
        EXPECT_LE(y, 1600) << k;
    }
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 14).y, 1600);  // X = 1200
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 15).y, 1600);  // X = 1400

    // The same at the bottom, falling.
    for (auto& p : source)
        p.y = -p.y;
    t = Resample(source);
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 14).y, -1600);
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 15).y, -1600);
}

TEST(PX400Resample, CopiedPointsAreNotClamped)
{
    // The end points and exact grid hits keep their stored values even
    // outside the curve range.
    std::vector<CurvePoint> source;
    for (int k = 0; k < 11; ++k)
        source.push_back({Grid(11, k), 0});
    source[0].y = -2000;
    source[5].y = 2000;
    source[10].y = 1900;
    const auto t = Resample(source);
    EXPECT_EQ(ReadCurvePoint(t.data(), 11, 0).y, -2000);
    EXPECT_EQ(ReadCurvePoint(t.data(), 11, 5).y, 2000);
    EXPECT_EQ(ReadCurvePoint(t.data(), 11, 10).y, 1900);
}

TEST(PX400Resample, TwoPointsAtOneXGiveZero)
{
    std::vector<CurvePoint> source;
    for (int k = 0; k < 17; ++k)
        source.push_back({Grid(17, k), 500});
    // Points 9 and 10 both at X = 100; grid X = 200 lies nearest to point 10
    // and its slope partner, point 9, shares its X.
    source[9] = {100, 300};
    source[10] = {100, 900};
    const auto t = Resample(source);
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 9).y, 0);  // X = 200
    // X = 0 sits on point 8 and is carried over.
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 8).y, 500);
    // X = 400 is nearest to point 11 (600, 500) and takes the slope from
    // point 10 (100, 900), -0.8, starting from the stored 0 at X = 200.
    EXPECT_EQ(ReadCurvePoint(t.data(), 17, 10).y, -160);
}

TEST(PX400Resample, NearestPoint)
{
    std::vector<uint8_t> s(51);
    std::vector<CurvePoint> source;
    for (int k = 0; k < 17; ++k)
        source.push_back({-1600 + 200 * k + (k > 0 && k < 16 ? 50 : 0), 0});
    samples::WriteCurveRecord(s.data(), 17, source);
    EXPECT_EQ(FindNearestPoint(s.data(), 17, -1600), 0);
    EXPECT_EQ(FindNearestPoint(s.data(), 17, -1350), 1);   // exact
    EXPECT_EQ(FindNearestPoint(s.data(), 17, -1250), 1);   // tie between -1350 and -1150: lower
    EXPECT_EQ(FindNearestPoint(s.data(), 17, -1249), 2);
    EXPECT_EQ(FindNearestPoint(s.data(), 17, -1700), 0);   // before the first point
    EXPECT_EQ(FindNearestPoint(s.data(), 17, 1600), 16);
    EXPECT_EQ(FindNearestPoint(s.data(), 17, 1700), 16);   // beyond the last point
    // X values are signed 12-bit: 0xF9C is -100, between points 7 (-150)
    // and 9 (250).
    s[17 + 8] = 0x9C;
    s[34 + 8] = 0xF0;
    EXPECT_EQ(FindNearestPoint(s.data(), 17, -100), 8);
    EXPECT_EQ(FindNearestPoint(s.data(), 17, -130), 7);
}

TEST(PX400Resample, NoWrapForAnyEndPoints)
{
    // Any 12-bit end points and inner points: every computed point stays
    // within the curve range, and the grid X values are exact.
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        const int n = round % 2 ? 17 : 11;
        std::vector<uint8_t> s(3 * n), t(3 * n);
        for (auto& b : s)
            b = uint8_t(rng());
        ResampleCurve(t.data(), s.data(), n);
        for (int k = 1; k < n - 1; ++k) {
            const CurvePoint p = ReadCurvePoint(t.data(), n, k);
            EXPECT_EQ(p.x, Grid(n, k));
            const CurvePoint hit = ReadCurvePoint(s.data(), n, FindNearestPoint(s.data(), n, p.x));
            if (hit.x != p.x) {
                ASSERT_GE(p.y, -1600);
                ASSERT_LE(p.y, 1600);
            }
        }
    }
}

TEST(PX400ConditionBlock, RecordRules)
{
    PX400Builder b;
    uint8_t* s = b.ConditionBlock(2);
    for (int i = 0; i < kBlock; ++i)
        s[i] = uint8_t(i * 7 + 3);
    // 57-byte record 1: flags 0xFF, a straight curve at bytes 4..54.
    const int r57 = 896 + 57;
    s[r57] = 0xFF;
    b.SetLineCurve(2, r57 + 4, 17, {-1600, -1496, -1296, -1096, -896, -696, -496, -296, -96, 104, 304, 504, 704, 904,
                                    1104, 1304, 1600},
                   -1600, -1600, 1600, 1600);
    // 63-byte record 0: the group form; record 1: the curve form.
    const int g63 = 1238, c63 = 1238 + 63;
    s[g63] = 0x10 | 0x20;
    s[c63] = 0x2F;
    b.SetLineCurve(2, c63 + 6, 17, {-1600, -1500, -1300, -1100, -900, -700, -500, -300, -100, 100, 300, 500, 700, 900,
                                    1100, 1300, 1600},
                   -1600, 800, 1600, -800);

    const auto t = Convert(b, 0, 2);
    EXPECT_EQ(t[r57], 0x9F);
    EXPECT_EQ(t[896], uint8_t(s[896] & 0x9F));
    for (int i : {1, 2, 3, 55, 56})
        EXPECT_EQ(t[r57 + i], s[r57 + i]) << i;
    for (int k = 0; k < 17; ++k)
        EXPECT_EQ(ReadCurvePoint(&t[r57 + 4], 17, k).y, Grid(17, k)) << k;

    for (int i = 0; i <= 55; ++i)
        EXPECT_EQ(t[g63 + i], s[g63 + i]) << i;
    for (int i = 56; i <= 62; ++i)
        EXPECT_EQ(t[g63 + i], 0) << i;

    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(t[c63 + i], s[c63 + i]) << i;
    for (int k = 0; k < 17; ++k)
        EXPECT_EQ(ReadCurvePoint(&t[c63 + 6], 17, k).y, -Grid(17, k) / 2) << k;
    for (int i = 57; i <= 62; ++i)
        EXPECT_EQ(t[c63 + i], s[c63 + i]) << i;

    // The 53-byte records keep their two trailing bytes; the settings at
    // 1868..1941 are copied and 1942..1983 stay zero.
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(t[48 + 53 * k + 51], s[48 + 53 * k + 51]);
        EXPECT_EQ(t[48 + 53 * k + 52], s[48 + 53 * k + 52]);
    }
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(t[i], s[i]);
    for (int i = 1868; i < 1942; ++i)
        EXPECT_EQ(t[i], s[i]);
    for (int i = 1942; i < 1984; ++i)
        EXPECT_EQ(t[i], 0);
}

TEST(PX400ConditionBlock, Tails)
{
    PX400Builder b;
    uint8_t* s = b.ConditionBlock(0);
    std::mt19937 rng(3);
    for (int i = 0; i < kBlock; ++i)
        s[i] = uint8_t(rng() | 1);

    const auto plane = Convert(b, 0);
    for (int i = 2700; i < 2797; ++i)
        EXPECT_EQ(plane[i], 0) << i;
    for (int i = 2797; i < 2935; ++i)
        EXPECT_EQ(plane[i], s[i]) << i;  // delay records and what follows
    for (int i = 2935; i < kBlock; ++i)
        EXPECT_EQ(plane[i], 0) << i;
    for (int i : {1984, 1992, 2026, 2053, 2169, 2174, 2447, 2464, 2516, 2573, 2648, 2682, 2699})
        EXPECT_EQ(plane[i], s[i]) << i;

    const auto heli = Convert(b, 1);
    for (int i = 1984; i < 2030; ++i)
        EXPECT_EQ(heli[i], s[i]) << i;
    for (int k = 0; k < 4; ++k)
        for (int i = 51; i < 55; ++i)
            EXPECT_EQ(heli[2030 + 55 * k + i], s[2030 + 55 * k + i]);
    for (int k = 0; k < 3; ++k)
        for (int i = 51; i < 60; ++i)
            EXPECT_EQ(heli[2250 + 60 * k + i], s[2250 + 60 * k + i]);
    EXPECT_EQ(heli[2486], s[2486] & 0x80);
    for (int i = 2543; i < 2609; ++i)
        EXPECT_EQ(heli[i], 0) << i;
    for (int i = 2609; i < 2701; ++i)
        EXPECT_EQ(heli[i], s[i]) << i;
    for (int i = 2701; i < kBlock; ++i)
        EXPECT_EQ(heli[i], 0) << i;
}

TEST(PX400ConditionBlock, TailCurvesAreResampled)
{
    // A grid-shaped curve placed at every curve position of each tail comes
    // out on the grid with the same outputs; a curve one step off the grid
    // shows which positions are curves and which are copies.
    const int planeCurves11[] = {1993, 2054, 2095, 2136, 2175, 2234, 2279, 2320, 2371, 2414, 2649};
    const int planeCurves17[] = {2465, 2522};
    const int heliCurves17[] = {2030, 2085, 2140, 2195, 2250, 2310, 2370, 2430, 2487};

    auto shifted = [](int n) {
        std::vector<CurvePoint> c;
        for (int k = 0; k < n; ++k)
            c.push_back({Grid(n, k) + (k > 0 && k < n - 1 ? 16 : 0), Grid(n, k) / 2 + (k > 0 && k < n - 1 ? 8 : 0)});
        return c;
    };

    PX400Builder b;
    for (int at : planeCurves11)
        b.SetCurve(0, at, 11, shifted(11));
    for (int at : planeCurves17)
        b.SetCurve(0, at, 17, shifted(17));
    for (int at : heliCurves17)
        b.SetCurve(1, at, 17, shifted(17));

    const auto plane = Convert(b, 0, 0);
    for (int at : planeCurves11)
        for (int k = 0; k < 11; ++k) {
            EXPECT_EQ(ReadCurvePoint(&plane[at], 11, k).x, Grid(11, k)) << at;
            EXPECT_EQ(ReadCurvePoint(&plane[at], 11, k).y, Grid(11, k) / 2) << at;
        }
    for (int at : planeCurves17)
        for (int k = 0; k < 17; ++k)
            EXPECT_EQ(ReadCurvePoint(&plane[at], 17, k).y, Grid(17, k) / 2) << at;

    const auto heli = Convert(b, 1, 1);
    for (int at : heliCurves17)
        for (int k = 0; k < 17; ++k) {
            EXPECT_EQ(ReadCurvePoint(&heli[at], 17, k).x, Grid(17, k)) << at;
            EXPECT_EQ(ReadCurvePoint(&heli[at], 17, k).y, Grid(17, k) / 2) << at;
        }
}
