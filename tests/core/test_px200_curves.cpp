// PX200 curve builders: the default curves, the value lists of each builder,
// points that no segment reaches, and the guards for any parameter bytes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "convert/PX200Curves.h"

namespace {

using Values = std::vector<int>;
using Bytes = std::vector<uint8_t>;
// A builder over one list of parameter bytes.
using Builder = std::function<void(uint8_t*, const uint8_t*)>;

int Read12(int low, int nibble) { return ((nibble << 8 | low) ^ 0x800) - 0x800; }

Values Points(const uint8_t* c, int n, bool x)
{
    Values v;
    for (int k = 0; k < n; ++k)
        v.push_back(x ? Read12(c[n + k], c[2 * n + k] >> 4) : Read12(c[k], c[2 * n + k] & 0x0F));
    return v;
}

Values Grid(int n, int step, int from = -1600)
{
    Values v;
    for (int k = 0; k < n; ++k)
        v.push_back(from + step * k);
    return v;
}

// The y values a builder gives, starting from the default curve start.
Values Build(const Builder& build, const Bytes& bytes, const uint8_t* start = kCurveD0, int n = 17)
{
    std::vector<uint8_t> c(start, start + 3 * n);
    build(c.data(), bytes.data());
    return Points(c.data(), n, false);
}

uint8_t B(int v) { return static_cast<uint8_t>(v); }

const Builder kExp = [](uint8_t* c, const uint8_t* b) { BuildExpCurve(c, b, b + 7); };
const Builder kLinear = [](uint8_t* c, const uint8_t* b) { BuildLinearCurve(c, b, b + 2); };
const Builder kPoint17 = [](uint8_t* c, const uint8_t* b) { BuildPointCurve17(c, b, b + 5); };
const Builder kPoint13 = [](uint8_t* c, const uint8_t* b) { BuildPointCurve13(c, b, b + 5); };
const Builder kBreak = [](uint8_t* c, const uint8_t* b) { BuildBreakCurve11(c, b, b + 3); };
// The callers of the two-rate curves pass negated bytes too: 128 included.
const Builder kTwoRate = [](uint8_t* c, const uint8_t* b) { BuildTwoRateCurve(c, -int8_t(b[0]), int8_t(b[1])); };
const Builder kTwoRate11 = [](uint8_t* c, const uint8_t* b) { BuildTwoRateCurve11(c, int8_t(b[0]), -int8_t(b[1])); };

const Values kExpZero{-1050, -918, -787, -656, -525, -393, -262, -131, 0, 131, 262, 393, 525, 656, 787, 918, 1050};
const Values kExpPlus{-1050, -1039, -1018, -987, -929, -840, -682, -425, 0, 425, 682, 840, 929, 987, 1018, 1039, 1050};
const Values kExpMinus{-1050, -624, -367, -210, -120, -63, -31, -10, 0, 10, 31, 63, 120, 210, 367, 624, 1050};
const Values kD2Grid{-1600, -1325, -1050, -875, -700, -525, -350, -175, 0, 175, 350, 525, 700, 875, 1050, 1325, 1600};

Values Join(const Values& low, const Values& high)
{
    Values v(low.begin(), low.begin() + 9);
    v.insert(v.end(), high.begin() + 9, high.end());
    return v;
}

}  // namespace

TEST(PX200Curves, StoringRule)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct { float p; int stored; } cases[] = {
        {0.0f, 0}, {-0.0f, 0}, {12.9f, 12}, {-12.9f, -12}, {-0.99f, 0}, {1600.0f, 1600}, {1600.5f, 1600},
        {-1600.9f, -1600}, {-1680.0f, -1600}, {2048.0f, 1600}, {3e38f, 1600}, {-3e38f, -1600},
        {inf, 1600}, {-inf, -1600}, {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StoredCurveValue(c.p), c.stored) << c.p;
}

TEST(PX200Curves, DefaultCurvesHoldTheirValues)
{
    const Values d1{-1050, -919, -788, -657, -525, -394, -263, -132, 0, 131, 262, 393, 524, 656, 787, 918, 1050};
    const Values e1{-1600, -1050, -788, -525, -263, 0, 263, 525, 788, 1050, 1600};
    const struct { const char* name; const uint8_t* bytes; int n; Values x, y; } cases[] = {
        {"D0", kCurveD0, 17, Grid(17, 200), Values(17, 0)}, {"D1", kCurveD1, 17, Grid(17, 200), d1},
        {"D2", kCurveD2, 17, kD2Grid, Values(17, 0)},       {"E0", kCurveE0, 11, Grid(11, 320), Grid(11, 320)},
        {"E1", kCurveE1, 11, e1, e1},
    };
    // Every byte of a curve is part of some point's x or y.
    for (const auto& c : cases) {
        EXPECT_EQ(Points(c.bytes, c.n, true), c.x) << c.name;
        EXPECT_EQ(Points(c.bytes, c.n, false), c.y) << c.name;
    }
}

TEST(PX200Curves, SeventeenPointValueLists)
{
    Values rate160 = Grid(17, 210, -1680);  // ends clamped, inner points as computed
    rate160.front() = -1600;
    rate160.back() = 1600;
    const struct { const char* name; Builder build; Bytes bytes; Values y; } cases[] = {
        // Rate entry bytes 3..6 (rates, exponentials), then the offset.
        {"exp 0", kExp, {0, 0, 0, 100, 100, 0, 0, 0}, kExpZero},
        {"exp +100", kExp, {0, 0, 0, 100, 100, 100, 100, 0}, kExpPlus},
        {"exp -100", kExp, {0, 0, 0, 100, 100, B(-100), B(-100), 0}, kExpMinus},
        {"exp per side", kExp, {0, 0, 0, 100, 100, 100, B(-100), 0}, Join(kExpPlus, kExpMinus)},
        {"exp 160 %", kExp, {0, 0, 0, 160, 160, 0, 0, 0}, rate160},
        {"two rate", kTwoRate, {B(-100), 100}, Grid(17, 200)},
        {"two rate 128", kTwoRate, {0x80, 1}, Join({-1600, -1600, -1536, -1280, -1024, -768, -512, -256, 0}, Grid(17, 2, -16))},
        // Point curves: positions 0..4, values 5..9.
        {"17 in order", kPoint17, {B(-100), B(-50), 0, 50, 100, B(-100), B(-50), 0, 50, 100}, kExpZero},
        // Repeated positions; the last point short of the end leaves 13..15
        // to the line towards point 16.
        {"17 repeated", kPoint17, {B(-100), 0, 0, 50, 50, 0, 16, 32, 64, 80},
         {0, 21, 42, 63, 84, 105, 126, 147, 336, 420, 504, 588, 840, 840, 840, 840, 840}},
        // Out of order: later segments overwrite earlier ones; 13..15 are
        // filled from points 12 and 16 as they stand at the end.
        {"17 out of order", kPoint17, {0, 50, B(-50), B(-100), 25, 0, 8, 100, 20, 40},
         {210, 231, 252, 273, 294, 315, 336, 357, 378, 399, 420, 77, 84, 168, 252, 336, 420}},
        {"13 in order", kPoint13, {B(-100), B(-50), 0, 50, 100, B(-100), B(-50), 0, 50, 100}, kD2Grid},
        // 12 and 13 unreached: filled before the ends are extended.
        {"13 out of order", kPoint13, {0, B(-100), 50, 50, 0, 0, 16, 22, 48, 64},
         {146, 157, 168, 175, 182, 189, 196, 203, 672, 217, 224, 504, 560, 616, 672, 760, 848}},
        {"thirds", BuildThirdsCurve, {B(-100), B(-50), 0, 50, 100}, kD2Grid},
        {"thirds bump", BuildThirdsCurve, {0, 1, 0, 0, 0}, {-11, -5, 0, 3, 7, 10, 7, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Records: rates at 6 and 7, centre position at 10, offset at 11;
        // bit 4 of byte 0 selects thirds from bytes 6..10.
        {"record centre", BuildRecordCurve, {0, 0, 0, 0, 0, 0, 100, 100, 0, 0, 0, 0}, kD2Grid},
        {"record centre low", BuildRecordCurve, {0xEF, 0, 0, 0, 0, 0, 100, 100, 0, 0, B(-100), 20},
         {-1390, -1115, -840, -665, -490, -315, -140, 35, 210, 385, 560, 735, 910, 1085, 1260, 1535, 1600}},
        {"record off centre", BuildRecordCurve, {0, 0, 0, 0, 0, 0, 72, 24, 0, 0, 50, 0},
         {-1020, -888, -756, -672, -588, -504, -420, -336, -252, -168, -84, 0, 84, 168, 252, 384, 516}},
        {"record thirds", BuildRecordCurve, {0x10, 0, 0, 0, 0, 0, B(-100), B(-50), 0, 50, 100, 77}, kD2Grid},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Build(c.build, c.bytes), c.y) << c.name;
}

TEST(PX200Curves, SinglePrecisionSteps)
{
    // Each case has a point that moves by one when computed in double
    // precision (or with the stretch constants as doubles), with the steps
    // of one formula in another order, or with a product and a sum fused.
    const struct { const char* name; Builder build; Bytes bytes; int n; Values y; } cases[] = {
        {"point 17 fused", kPoint17, {103, 84, 82, 92, 76, 78, 178, 194, 196, 42}, 17,
         {819, 709, 600, 491, 382, 273, 163, 54, -54, -163, -273, -382, -491, -600, 441, -630, 441}},
        {"point 13 fused", kPoint13, {12, 245, 240, 43, 185, 23, 89, 42, 136, 198}, 17,
         {-194, 23, 241, 380, -609, 657, 795, 441, 15, -409, -834, -1260, -1043, -826, -609, -268, 73}},
        {"thirds fused", BuildThirdsCurve, {226, 134, 162, 49, 116}, 17,
         {697, 191, -315, -637, -959, -1281, -1183, -1085, -987, -486, 14, 514, 749, 983, 1218, 1586, 1600}},
        {"break fused", kBreak, {222, 233, 107, 43, 17}, 11, {440, 357, 317, 277, 238, 198, 158, 119, 79, 39, 0}},
        {"exp sum order", kExp, {0, 0, 0, 136, 123, 61, 84, 188}, 17,
         {-1428, -1402, -1360, -1306, -1238, -1157, -1051, -911, -714, -13, 436, 739, 937, 1084, 1185, 1256, 1291}},
        {"record line order", BuildRecordCurve, {0, 0, 0, 0, 0, 0, 14, 133, 0, 0, 174, 49}, 17,
         {-94, 136, 367, 514, 397, 279, 162, 44, -72, -189, -307, -424, -542, -659, -777, -961, -1146}},
        {"break stretch", kBreak, {220, 193, 55, 139, 170}, 11, {0, 94, 189, 283, 378, 472, 567, 661, 519, 378, 80}},
        {"exp", kExp, {0, 0, 0, 233, 233, 42, 42, 0}, 17,
         {-1600, -1600, -1600, -1600, -1600, -1321, -969, -544, 0, 544, 969, 1321, 1600, 1600, 1600, 1600, 1600}},
        {"point 13", kPoint13, {1, 7, 22, 33, B(-7), 9, 66, 24, 62, 10}, 17,
         {-219, -62, 94, 194, 294, 393, 493, 593, 105, 252, 651, 514, 378, 241, 105, -109, -324}},
        {"record", BuildRecordCurve, {0, 0, 0, 0, 0, 0, 50, B(-74), 0, 0, 64, 98}, 17,
         {339, 421, 504, 556, 609, 661, 714, 766, 819, 871, 924, 976, 1029, 640, 252, -358, -969}},
        {"break", kBreak, {15, 28, 2, 0xF7, 0x63}, 11, {0, 0, 0, 0, 0, -294, -259, -225, -191, -157, -85}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Build(c.build, c.bytes, c.n == 17 ? kCurveD0 : kCurveE1, c.n), c.y) << c.name;
}

TEST(PX200Curves, ZeroExponentialAndLinearCurveAreStraightLines)
{
    // With exponential 0 the inner positions are the linear ones, and every
    // value involved is exact in binary, so both builders give the lines
    // lo-mid-hi truncated toward zero, for any rates and offset. The
    // exponential curve reads its rates unsigned, the linear one signed.
    for (int lo = 0; lo < 256; ++lo)
        for (int offset = -128; offset < 128; offset += 3) {
            const int hi = (lo * 7 + 31) & 0xFF;
            const Values exp = Build(kExp, {0, 0, 0, B(lo), B(hi), 0, 0, B(offset)});
            const Values lin = Build(kLinear, {B(lo), B(hi), B(offset)});
            for (int k = 0; k <= 16; ++k) {
                auto line = [&](double l, double h) {
                    const double mid = 10.5 * offset;
                    const double p = k < 8 ? l + (mid - l) * k / 8 : mid + (h - mid) * (k - 8) / 8;
                    return int(std::trunc(std::fmin(1600, std::fmax(-1600, p))));
                };
                ASSERT_EQ(exp[k], line(-10.5 * lo, 10.5 * hi)) << lo << " " << offset << " point " << k;
                ASSERT_EQ(lin[k], line(-10.5 * int8_t(lo), 10.5 * int8_t(hi))) << lo << " " << offset << " point " << k;
            }
        }
}

TEST(PX200Curves, ElevenPointValueLists)
{
    const struct { const char* name; Builder build; Bytes bytes; Values y; } cases[] = {
        // Mode in the top two bits of byte 0, value 50 (v = 800).
        {"mode 0", BuildModeCurve11, {0x3F, 50}, Grid(11, 160, -800)},
        {"mode 3", BuildModeCurve11, {0xC0, 50}, {-800, -640, -480, -320, -160, 0, -160, -320, -480, -640, -800}},
        {"mode 1", BuildModeCurve11, {0x40, 50}, Grid(11, -80, 0)},
        {"mode 2", BuildModeCurve11, {0x80, 50}, Grid(11, 80, -800)},
        {"two rate", kTwoRate11, {100, B(-100)}, Grid(11, 320)},
        {"two rate 128", kTwoRate11, {B(-5), 0x80}, {80, 64, 48, 32, 16, 0, 409, 819, 1228, 1600, 1600}},
        // Break entry (rate, value, position; outside -100..100 none), then v.
        {"break none v 0", kBreak, {100, 0, 127, 0, 0}, {0, 0, 0, 0, 0, 0, -262, -525, -787, -1050, -1600}},
        {"break none v > 0", kBreak, {100, 0, 127, 0x06, 0x40}, {-1490, -1050, -840, -630, -420, -210, 0, 0, 0, 0, 0}},
        {"break", kBreak, {100, 50, 0, 0xF9, 0xC0}, {0, 0, 0, 0, 0, -525, -656, -787, -918, -1050, -1325}},
        // Breaks at the ends of their range, on either side of the zero index.
        {"break 100", kBreak, {100, 50, 100, 0, 0}, {0, 0, 0, 0, 0, 0, -175, -350, -525, -1050, -1600}},
        {"break -100", kBreak, {100, 50, B(-100), 0, 0}, {0, 0, -525, -600, -675, -750, -825, -900, -975, -1050, -1207}},
        {"break 100 v > 0", kBreak, {100, 50, 100, 0x06, 0x40}, {-1207, -1050, -975, -900, -825, -750, -675, -600, -525, 0, 0}},
        {"break -100 v > 0", kBreak, {100, 50, B(-100), 0x0C, 0x80}, {-1600, -1050, -525, -420, -315, -210, -105, 0, 0, 0, 0}},
        {"break -8000", kBreak, {40, B(-60), 100, 0xE0, 0xC0}, {0, 78, 157, 236, 315, 393, 472, 551, 630, -420, -1600}},
        // v far outside -8000..8000: the zero index stays at the last point.
        {"break 32767", kBreak, {100, 0, 127, 0x7F, 0xFF}, {-1294, -1050, -933, -816, -700, -583, -466, -350, -233, -116, 0}},
        {"break -32768", kBreak, {100, 0, 127, 0x80, 0x00}, {0, -116, -233, -350, -466, -583, -700, -816, -933, -1050, -1294}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Build(c.build, c.bytes, kCurveE1, 11), c.y) << c.name;
}

TEST(PX200Curves, PositionsBeyondTheRangeActLikeTheEnds)
{
    // Point curves: positions at 1..4; records: centre position at 10.
    auto bytes = [](int x) { return Bytes{0, B(x), B(x), B(x), B(x), 30, 40, 50, 60, 70, B(x), 20}; };
    for (const Builder& build : {kPoint17, kPoint13, Builder(BuildRecordCurve)})
        for (int x = 101; x <= 128; ++x) {
            EXPECT_EQ(Build(build, bytes(-x)), Build(build, bytes(-100))) << -x;
            if (x < 128) {
                EXPECT_EQ(Build(build, bytes(x)), Build(build, bytes(100))) << x;
            }
        }
}

TEST(PX200Curves, AnyBytesStayInsideTheCurveAndItsRange)
{
    // Each builder from a default curve; the record curve resets x to D0.
    const struct { const char* name; int n; const uint8_t* start; const uint8_t* x; Builder build; } cases[] = {
        {"exp", 17, kCurveD1, kCurveD1, kExp},
        {"linear", 17, kCurveD1, kCurveD1, kLinear},
        {"two rate", 17, kCurveD0, kCurveD0, kTwoRate},
        {"point 17", 17, kCurveD1, kCurveD1, kPoint17},
        {"point 13", 17, kCurveD2, kCurveD2, kPoint13},
        {"thirds", 17, kCurveD2, kCurveD2, BuildThirdsCurve},
        {"record", 17, kCurveD2, kCurveD0, BuildRecordCurve},
        {"mode 11", 11, kCurveE0, kCurveE0, BuildModeCurve11},
        {"two rate 11", 11, kCurveE0, kCurveE0, kTwoRate11},
        {"break 11", 11, kCurveE1, kCurveE1, kBreak},
    };
    constexpr size_t kGuard = 16;
    std::mt19937 rng(20261208);
    for (const auto& c : cases) {
        const size_t size = 3 * size_t(c.n);
        // For each byte value: the same byte everywhere, a spread around it,
        // and random bytes.
        for (int value = 0; value < 256; ++value)
            for (int pattern = 0; pattern < 3; ++pattern) {
                uint8_t bytes[12];
                for (int i = 0; i < 12; ++i)
                    bytes[i] = pattern == 0 ? B(value) : pattern == 1 ? B(value + 41 * i) : B(value ^ rng());
                std::vector<uint8_t> buf(size + 2 * kGuard, 0xA5);
                std::memcpy(buf.data() + kGuard, c.start, size);
                c.build(buf.data() + kGuard, bytes);
                for (size_t i = 0; i < kGuard; ++i)
                    ASSERT_TRUE(buf[i] == 0xA5 && buf[kGuard + size + i] == 0xA5) << c.name << " " << value;
                ASSERT_EQ(Points(buf.data() + kGuard, c.n, true), Points(c.x, c.n, true)) << c.name << " " << value;
                for (int y : Points(buf.data() + kGuard, c.n, false))
                    ASSERT_TRUE(y >= -1600 && y <= 1600) << c.name << " " << value << ": " << y;
            }
    }
}
