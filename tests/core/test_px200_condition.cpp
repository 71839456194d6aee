// Condition block conversion from a PX200 model: which conditions and model
// types take which PX200 values, the defaults everything else keeps, and the
// two tails.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "convert/PX200Convert.h"
#include "convert/PX200Curves.h"

namespace {

constexpr int kAirplane = 0, kHeli = 1, kGlider = 2, kMulti = 4;
constexpr size_t kBlock = 3056, kSource = 6618;

using Bytes = std::vector<uint8_t>;

// A PX200 image of random bytes with no group marker set; every function
// without a channel.
Bytes RandomPX200(uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes px(kSource);
    for (auto& b : px)
        b = uint8_t(rng());
    for (uint32_t marker : {527u, 562u, 597u, 1161u, 1201u, 1282u, 1322u})
        if (px[marker] == 0x2F)
            px[marker] = 0;
    std::memset(px.data() + 190, 0xFF, 32);
    return px;
}

Bytes Convert(const Bytes& px, int type, int c)
{
    Bytes block(kBlock, 0);
    ConvertPX200ConditionBlock(block.data(), px.data(), type, c);
    return block;
}

Bytes At(const Bytes& b, size_t at, size_t n) { return Bytes(b.begin() + at, b.begin() + at + n); }
Bytes Curve(const uint8_t* c, size_t n = kCurve17Size) { return Bytes(c, c + n); }

// A default curve with a builder applied, as the block should hold it.
Bytes Built(const uint8_t* def, size_t n, const std::function<void(uint8_t*)>& build)
{
    Bytes c = Curve(def, n);
    build(c.data());
    return c;
}

const Bytes kNoSwitch{0xFF, 0x05, 0xFB};
const Bytes kHeadSwitch{0x00, 0xFF, 0x05, 0xFB};

}  // namespace

TEST(PX200Condition, ConditionsFiveToSevenTakeOnlyTheSharedValues)
{
    // Two different PX200 images that agree only in what every condition
    // reads (switch fields, curve records, 632, 152) give equal blocks for
    // conditions 5..7.
    const Bytes a = RandomPX200(11);
    Bytes b = RandomPX200(12);
    const std::pair<int, int> shared[] = {{222, 24}, {391, 60}, {632, 1}, {152, 1}};
    for (auto [from, n] : shared)
        std::memcpy(b.data() + from, a.data() + from, n);
    for (int type : {kAirplane, kHeli, kGlider, kMulti}) {
        const Bytes ref = Convert(a, type, 5);
        for (int c : {5, 6, 7}) {
            EXPECT_EQ(Convert(a, type, c), ref) << "type " << type << " condition " << c;
            EXPECT_EQ(Convert(b, type, c), ref) << "type " << type << " condition " << c;
        }
    }
}

TEST(PX200Condition, DefaultsOfConditionsWithoutPX200Data)
{
    Bytes px = RandomPX200(21);
    px[152] = 0x20;  // bits 4..5 = 2
    const Bytes d1 = Curve(kCurveD1), d0 = Curve(kCurveD0), d2 = Curve(kCurveD2);
    const Bytes e0 = Curve(kCurveE0, kCurve11Size), e1 = Curve(kCurveE1, kCurve11Size);
    Bytes curveRecord{0x00, 0x00, 0x01, 0xFF, 0x00, 0x00};
    curveRecord.insert(curveRecord.end(), d0.begin(), d0.end());
    curveRecord.resize(63, 0);
    const Bytes dualRate = [&] {
        Bytes r{0x00, 0xFF, 0x05, 0xFB};
        r.insert(r.end(), d1.begin(), d1.end());
        r.resize(57, 0);
        return r;
    }();

    struct Row {
        int type;  // -1: every type
        size_t at;
        Bytes bytes;
    };
    const Row rows[] = {
        {-1, 12, {0xFF, 0xFF, 0xFF, 0xFF}},
        {-1, 32, Bytes(16, 0)},
        {-1, 48 + 53 * 7, d1},
        {-1, 48 + 53 * 7 + 51, {0, 0}},
        {-1, 896 + 57 * 3, dualRate},
        {-1, 1238 + 63 * 5, curveRecord},
        {-1, 1238 + 63 * 9, curveRecord},
        {-1, 1869, {4, 4, 4, 4, 1, 1, 1, 1, 3}},
        {-1, 1878 + 3 * 15, kNoSwitch},
        {kAirplane, 1984, Bytes(8, 0x64)},
        {kMulti, 1992, {0xFF}},
        {kGlider, 1993, e0},
        {kAirplane, 2026, {0x64, 0x64, 0x64, 0x64, 0, 0, 0, 0}},
        {kMulti, 2046, {0x64, 0x64, 0, 0}},
        {kGlider, 2136, e0},
        {kAirplane, 2169, {0xFF, 0x00, 0x00, 0xFF, 0x05, 0xFB}},
        {kMulti, 2363, {0x00, 0xFF, 0xFB, 0x00, 0x00, 0xFF, 0x05, 0xFB}},
        {kGlider, 2453, {0x64, 0x64, 0x64, 0x64, 0, 0, 0, 0}},
        {kGlider, 2461 + 57, kHeadSwitch},
        {kGlider, 2465 + 57, d0},
        {kAirplane, 2465, d2},
        {kMulti, 2516, {0xFF, 0x00}},
        {kAirplane, 2575, {0x03, 0xFF, 0x0A, 0xF6, 0x64, 0x64, 0x64, 0, 0, 0, 0, 0, 0, 0x1B}},
        {kGlider, 2601, {0x17}},
        {kGlider, 2614, {0x0F, 0xFF, 0x0A, 0xF6, 0x64, 0x64, 0x64, 0, 0, 0, 0, 0, 0}},
        {kMulti, 2627, {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x0A, 0xF6, 0x00, 0xFF, 0x00}},
        {kAirplane, 2649, e1},
        {kGlider, 2692, {0, 0, 0, 0xFF, 0x05, 0xFB, 0xEE, 0xEE, 0}},
        {kMulti, 2883, {0x00, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0xFF, 0, 0, 0, 0, 0, 0x01}},
        {kAirplane, 2914, {0, 0, 0, 0, 0x32, 0x32, 0, 0, 0, 0, 0x32, 0x32, 0, 0xFF, 0, 0, 0, 0, 0, 0x32, 0x32, 0}},
        {kHeli, 1984, {0x00, 0xFF, 0xE2, 0x00, 0xFF, 0x1E, 0x00, 0xFF, 0xE2, 100, 0x40, 0x00, 0xFF, 0xE2, 100, 0x40}},
        {kHeli, 2000, {0, 0, 0, 0, 0x32, 0x32, 0, 0, 0, 0, 0x32, 0x32, 0x00, 0xFF, 0x05, 0xFB, 0x42, 0, 0, 0}},
        {kHeli, 2020, {0xFF, 0x05, 0xFB, 0, 0, 0, 0x00, 0xFF, 0x05, 0xFB}},
        {kHeli, 2030 + 55 * 3, d0},
        {kHeli, 2246 + 60 * 2 + 55, {0, 0, 0, 0x32, 0x32, 0x00, 0xFF, 0x05, 0xFB}},
        {kHeli, 2430, d0},
        {kHeli, 2481, {0, 0, 0, 0x32, 0x32, 0x00}},
        {kHeli, 2487, d2},
        {kHeli, 2609, {0x81, 0xFF, 0, 0, 0x32, 0xFF, 0, 0x01, 0xFF, 0, 0, 0x32, 0xFF, 0}},
        {kHeli, 2630 + 14, {0x00, 0xFF, 0, 0, 0, 0xFF, 0}},
        {kHeli, 2680 + 14, {0x01, 0xFF, 0, 0, 0x32, 0xFF, 0, 0}},
    };
    for (int type : {kAirplane, kHeli, kGlider, kMulti}) {
        const Bytes block = Convert(px, type, 6);
        for (const Row& r : rows) {
            if (r.type == type || r.type == -1) {
                EXPECT_EQ(At(block, r.at, r.bytes.size()), r.bytes) << "type " << type << " at " << r.at;
            }
        }
    }
    // The eight bytes at 2453 follow bits 4..5 of PX200 152.
    const Bytes patterns[4] = {Bytes(8, 0), Bytes(8, 0x32), {0x64, 0x64, 0x64, 0x64, 0, 0, 0, 0},
                               {0, 0, 0, 0, 0x64, 0x64, 0x64, 0x64}};
    for (int bits = 0; bits < 4; ++bits) {
        px[152] = uint8_t(0xCF | (bits << 4));
        EXPECT_EQ(At(Convert(px, kAirplane, 7), 2453, 8), patterns[bits]) << bits;
    }
}

TEST(PX200Condition, ChannelCurvesByTypeAndCondition)
{
    Bytes px = RandomPX200(31);
    // Functions 0, 1, 2, 3, 5, 19, 22, 23, 24 on channels 0, 1, 2, 3, 5, 6, 7, 8, 9.
    const std::pair<int, int> channels[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {5, 5}, {19, 6}, {22, 7}, {23, 8}, {24, 9}};
    for (auto [function, channel] : channels)
        px[190 + function] = uint8_t(channel);
    px[527] = 0x2F;  // function 0: an entry per condition
    px[1427] = 0x80;
    px[1362] = 0xD5;
    const uint8_t* p = px.data();

    using Build = std::function<void(uint8_t*)>;
    auto exp = [p](int a, int b) -> Build { return [=](uint8_t* c) { BuildExpCurve(c, p + a, p + b); }; };
    auto lin = [p](int a, int b) -> Build { return [=](uint8_t* c) { BuildLinearCurve(c, p + a, p + b); }; };
    auto pts = [p](int x) -> Build { return [=](uint8_t* c) { BuildPointCurve17(c, p + x, p + x + 5); }; };
    struct Row {
        int type, c;
        std::vector<std::pair<int, Build>> channels;  // every other channel keeps D1
    };
    const Row rows[] = {
        {kHeli, 4, {{0, exp(527 + 28, 686)}, {1, exp(562, 687)}, {3, exp(597, 692)}, {5, pts(1034 + 40)}, {2, pts(1084 + 40)}}},
        {kGlider, 2,
         {{0, exp(527 + 14, 684)}, {1, exp(562, 687)}, {3, exp(597, 692)}, {5, lin(1483, 1521)}, {8, lin(1513, 1536)},
          {6, lin(1493, 1526)}, {7, lin(1503, 1531)}, {9, pts(1428)}}},
        {kAirplane, 0,
         {{0, exp(527, 682)}, {1, exp(562, 687)}, {3, exp(597, 692)}, {2, pts(1428)}, {5, lin(1479, 1519)}, {8, lin(1509, 1534)}}},
        {kMulti, 0, {{0, exp(527, 682)}, {1, exp(562, 687)}, {3, exp(597, 692)}, {2, pts(1428)}}},
        {kAirplane, 1, {}},
        {kMulti, 3, {}},
        {kGlider, 5, {}},
    };
    for (const Row& r : rows) {
        const Bytes block = Convert(px, r.type, r.c);
        for (int ch = 0; ch < 16; ++ch) {
            Bytes expected = Curve(kCurveD1);
            for (const auto& [channel, build] : r.channels)
                if (channel == ch)
                    build(expected.data());
            EXPECT_EQ(At(block, 48 + 53 * ch, 51), expected) << "type " << r.type << " c " << r.c << " channel " << ch;
            // Only an AIRPLANE model's throttle channel (function 2) takes
            // the 7 bits of PX200 1362 in its two flag bytes.
            const uint8_t flags = r.type == kAirplane && r.c == 0 && ch == 2 ? 0x55 : 0x00;
            EXPECT_EQ(At(block, 48 + 53 * ch + 51, 2), Bytes(2, flags)) << "type " << r.type << " channel " << ch;
        }
    }
}

TEST(PX200Condition, ChannelEntriesUpTo15AddressRecordsHigherOnesNone)
{
    Bytes px = RandomPX200(41);
    for (int entry : {11, 12, 15, 16, 200, 255}) {
        px[190] = uint8_t(entry);
        const Bytes block = Convert(px, kHeli, 0);
        const Bytes built = Built(kCurveD1, kCurve17Size, [&](uint8_t* c) { BuildExpCurve(c, &px[527], &px[682]); });
        for (int ch = 0; ch < 16; ++ch)
            EXPECT_EQ(At(block, 48 + 53 * ch, 51), ch == entry ? built : Curve(kCurveD1)) << entry << " " << ch;
    }
}

TEST(PX200Condition, DualRatePairsByMarkerTypeAndCondition)
{
    Bytes px = RandomPX200(51);
    // Function 3's table carries the group marker; function 1's does not.
    px[597] = 0x2F;
    const auto filled = [&](int table, int offsets, int u) {
        Bytes r(px.begin() + table + 7 * u, px.begin() + table + 7 * u + 3);
        const Bytes c = Built(kCurveD1, kCurve17Size, [&](uint8_t* cv) { BuildExpCurve(cv, &px[table + 7 * u], &px[offsets + u]); });
        r.insert(r.end(), c.begin(), c.end());
        return r;
    };
    Bytes unfilled = kNoSwitch;
    unfilled.insert(unfilled.end(), kCurveD1, kCurveD1 + kCurve17Size);

    struct Row {
        int type, c;
        bool numbered;        // function numbers written
        bool markedFilled;    // function 3 (marker 0x2F) filled
    };
    const Row rows[] = {
        {kGlider, 1, true, false}, {kHeli, 4, true, false}, {kAirplane, 0, true, true},
        {kMulti, 0, true, true},   {kAirplane, 1, false, false}, {kGlider, 5, false, false},
    };
    for (const Row& r : rows) {
        const Bytes block = Convert(px, r.type, r.c);
        const auto at = [&](int rec) { return At(block, 896 + 57 * rec + 1, 54); };
        const int n3 = r.numbered ? 0x03 : 0;
        // Function 1 (records 2 and 3): filled whenever the pair is numbered.
        EXPECT_EQ(block[896 + 57 * 2], r.numbered ? 0x81 : 0) << r.type << " c " << r.c;
        EXPECT_EQ(block[896 + 57 * 3], r.numbered ? 0x81 : 0) << r.type << " c " << r.c;
        EXPECT_EQ(at(2), r.numbered ? filled(562, 687, 2) : unfilled) << r.type << " c " << r.c;
        EXPECT_EQ(at(3), r.numbered ? filled(562, 687, 1) : unfilled) << r.type << " c " << r.c;
        // Function 3 (records 4 and 5).
        EXPECT_EQ(block[896 + 57 * 4], n3 | (r.markedFilled ? 0x80 : 0)) << r.type << " c " << r.c;
        EXPECT_EQ(block[896 + 57 * 5], n3 | (r.markedFilled ? 0x80 : 0)) << r.type << " c " << r.c;
        EXPECT_EQ(at(4), r.markedFilled ? filled(597, 692, 2) : unfilled) << r.type << " c " << r.c;
        EXPECT_EQ(at(5), r.markedFilled ? filled(597, 692, 1) : unfilled) << r.type << " c " << r.c;
    }
}

TEST(PX200Condition, CurveRecordsFromThePX200InEveryCondition)
{
    Bytes px = RandomPX200(61);
    px[391] = 0x3F;       // record 0: five points (bit 4 set)
    px[391 + 12] = 0x2F;  // record 1: rates and centre
    px[391 + 12 + 10] = 30;
    for (int c : {0, 4, 7}) {
        const Bytes block = Convert(px, kGlider, c);
        for (int k = 0; k < 5; ++k) {
            const uint8_t* r = &px[391 + 12 * k];
            Bytes expected{uint8_t(r[0] & 0xEF), r[1], r[2], r[3], r[4], r[5]};
            const Bytes curve = Built(kCurveD0, kCurve17Size, [&](uint8_t* cv) { BuildRecordCurve(cv, r); });
            expected.insert(expected.end(), curve.begin(), curve.end());
            expected.resize(63, 0);
            EXPECT_EQ(At(block, 1238 + 63 * k, 63), expected) << "c " << c << " record " << k;
        }
    }
}

TEST(PX200Condition, HelicopterConditionFourOwnsBytes2012To2018)
{
    Bytes px = RandomPX200(71);
    px[866] = 0x11, px[867] = 0x22, px[868] = 0x33;
    for (int c = 0; c < 8; ++c) {
        const Bytes block = Convert(px, kHeli, c);
        const Bytes expected = c == 4 ? Bytes{0x80, 0xFF, 0x00, 0x00, 0x11, 0x22, 0x33}
                                      : Bytes{0x00, 0xFF, 0x05, 0xFB, 0x42, 0x00, 0x00};
        EXPECT_EQ(At(block, 2012, 7), expected) << "c " << c;
    }
}

TEST(PX200Condition, TailFillsByTypeAndCondition)
{
    const Bytes px = RandomPX200(81);
    struct Row {
        int type, c;
        size_t at;
        int source;    // PX200 bytes the block holds, or -1: the bytes below
        size_t size;
        Bytes bytes = {};
    };
    const Row rows[] = {
        {kMulti, 2, 1984, 1087 + 18, 8},
        {kMulti, 3, 2046, 748 + 12, 4},
        {kAirplane, 4, 2087 + 41, 772 + 24 + 16, 4},
        {kGlider, 1, 2208, 835 + 20, 20},
        {kAirplane, 1, 2169, 1573 + 2, 2},
        {kMulti, 4, 2363, 1059, 8},
        {kMulti, 4, 2404, 1067 + 16, 4},
        {kMulti, 4, 2404 + 43, -1, 4, {0, 0, 0, 0}},
        {kAirplane, 2, 2453, 1303, 8},
        {kGlider, 3, 2461 + 57, 1399 + 14, 4},
        {kAirplane, 0, 2461, 1399, 4},
        {kAirplane, 1, 2461, -1, 4, kHeadSwitch},
        {kMulti, 0, 2588, 1318, 7},
        {kMulti, 1, 2588, -1, 3, {0x1B, 0xFF, 0x0A}},
        {kAirplane, 0, 2627, 1339, 7},
        {kGlider, 2, 2627, -1, 7, {0xFF, 0, 0, 0, 0xFF, 0x0A, 0xF6}},
        {kMulti, 4, 2634, 1132, 4},
        {kMulti, 4, 2640, 1139 + 64, 8},
        {kGlider, 3, 2682, 1147 + 48, 4},
        {kGlider, 4, 2698, 1136, 2},
        {kGlider, 4, 2884, 1369, 9},
        {kAirplane, 2, 2894 + 7, 1379 + 7, 6},
        {kHeli, 3, 1985 + 3, 763 + 12 + 20, 2},
        {kHeli, 3, 1990 + 5, 802 + 30 + 18, 4},
        {kHeli, 2, 2026 + 55 * 3, 869 + 12, 4},
        {kHeli, 1, 2246 + 120, 925 + 8, 4},
    };
    for (const Row& r : rows) {
        const Bytes expected = r.source < 0 ? r.bytes : At(px, size_t(r.source), r.size);
        EXPECT_EQ(At(Convert(px, r.type, r.c), r.at, r.size), expected) << "type " << r.type << " c " << r.c << " at " << r.at;
    }
    // A multicopter has the tail of the other non-helicopter types.
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(At(Convert(px, kMulti, c), 1984, kBlock - 1984), At(Convert(px, kAirplane, c), 1984, kBlock - 1984));
}

TEST(PX200Condition, TailBitFieldsAndCurves)
{
    Bytes px = RandomPX200(91);
    const int c = 2;
    px[1563 + 2 * c] = 0x5A;   // mode 1, low bits 0x1A
    px[937 + 6 * c] = 0x80;    // negated: 128
    px[940 + 6 * c] = 0x9C;    // negated: 100
    px[1368] = 0xFF;
    px[1378 + 7] = 0x7E;       // bits 0 and 7 clear
    px[762 + 4 * c + 20] = 0x80;
    px[806 + 6 * c] = 0xBF;
    px[1134] = 0xFF;
    const uint8_t* p = px.data();
    const auto s = [&](int at) { return int(int8_t(px[at])); };
    const Bytes plane = Convert(px, kAirplane, c), glider = Convert(px, kGlider, c), heli = Convert(px, kHeli, c);

    EXPECT_EQ(plane[1992], 0x1A);
    EXPECT_EQ(plane[2883], 0x83);
    EXPECT_EQ(plane[2893 + 7], 0x00);
    EXPECT_EQ(heli[1984 + 3], 0x80);
    EXPECT_EQ(heli[1990 + 4], 0x80);  // bits 6..7 = 10
    EXPECT_EQ(heli[2486], 0x80);
    struct Row {
        const Bytes* block;
        size_t at;
        const uint8_t* def;
        size_t size;
        std::function<void(uint8_t*)> build;
    };
    const Row rows[] = {
        {&plane, 1993, kCurveE0, kCurve11Size, [&](uint8_t* cv) { BuildModeCurve11(cv, p + 1563 + 2 * c); }},
        {&plane, 2136, kCurveE0, kCurve11Size, [&](uint8_t* cv) { BuildTwoRateCurve11(cv, s(820 + 2 * c), s(821 + 2 * c)); }},
        {&plane, 2649, kCurveE1, kCurve11Size, [&](uint8_t* cv) { BuildBreakCurve11(cv, p + 1438 + 3 * c, p + 1136); }},
        {&glider, 2465 + 57, kCurveD0, kCurve17Size, [&](uint8_t* cv) { BuildTwoRateCurve(cv, s(1417 + 2 * c), s(1418 + 2 * c)); }},
        {&heli, 2030 + 55, kCurveD0, kCurve17Size, [&](uint8_t* cv) { BuildTwoRateCurve(cv, s(887 + 8 * c), s(888 + 8 * c)); }},
        {&heli, 2250, kCurveD0, kCurve17Size, [&](uint8_t* cv) { BuildTwoRateCurve(cv, 128, s(938 + 6 * c)); }},
        {&heli, 2310, kCurveD0, kCurve17Size, [&](uint8_t* cv) { BuildTwoRateCurve(cv, s(939 + 6 * c), 100); }},
        {&heli, 2487, kCurveD2, kCurve17Size, [&](uint8_t* cv) { BuildThirdsCurve(cv, p + 1135 + 5 * c); }},
    };
    for (const Row& r : rows)
        EXPECT_EQ(At(*r.block, r.at, r.size), Built(r.def, r.size, r.build)) << "at " << r.at;

    // Condition 0 of other model types: the five-point curves at 2465.
    const Bytes plane0 = Convert(px, kAirplane, 0);
    EXPECT_EQ(At(plane0, 2465 + 57, 51), Built(kCurveD2, kCurve17Size, [&](uint8_t* cv) { BuildPointCurve13(cv, p + 1469, p + 1474); }));
    // A mode byte of 0xFF leaves 1992 and its curve at their defaults.
    px[1563 + 2 * c] = 0xFF;
    const Bytes none = Convert(px, kGlider, c);
    EXPECT_EQ(none[1992], 0xFF);
    EXPECT_EQ(At(none, 1993, 33), Curve(kCurveE0, kCurve11Size));
}

TEST(PX200Condition, DelayRecordFill)
{
    Bytes px = RandomPX200(101);
    struct Row {
        int c;
        uint8_t b1233, b1234, b1235;
        uint8_t byte0;  // 0x5B with bits 2 and 3 from bit 7 of 1233 and 1234
    };
    const Row rows[] = {
        {0, 0x85, 0x07, 0xFF, 0x57},
        {3, 0x05, 0x87, 0x80, 0x5B},
        {4, 0x80, 0x80, 0x01, 0x5F},
    };
    for (const Row& r : rows) {
        const int o = 15 * r.c;
        px[1218] = 0x5B, px[1219] = 0x12, px[1220] = 0x34, px[1221] = 0x56;
        px[1233 + o] = r.b1233, px[1234 + o] = r.b1234, px[1235 + o] = r.b1235;
        Bytes expected{r.byte0, 0x12, 0x34, 0x56};
        expected.insert(expected.end(), px.begin() + 1222 + o, px.begin() + 1233 + o);  // bytes 4..14
        expected.insert(expected.end(), {0x00, 0xFF});                                  // 15, 16
        expected.resize(28, 0);
        const uint8_t b28 = r.b1233 & 0x7F, b30 = r.b1234 & 0x7F, b32 = r.b1235 & 0x7F;
        expected.insert(expected.end(), {b28, b28, b30, b30, b32, b32, 0, 0, px[1236 + o]});
        expected.insert(expected.end(), px.begin() + 1297, px.begin() + 1303);
        const Bytes block = Convert(px, kMulti, r.c);
        EXPECT_EQ(At(block, 2797, 43), expected) << "c " << r.c;
        Bytes second{0x03, 0xFF, 0x00, 0x00};
        second.resize(16, 0);
        second.push_back(0xFF);
        second.resize(37, 0);
        second.insert(second.end(), {0xFF, 0, 0, 0xFF, 0, 0});
        EXPECT_EQ(At(block, 2840, 43), second) << "c " << r.c;
    }
}

TEST(PX200Condition, HelicopterSevenByteRecordsByMarker)
{
    Bytes px = RandomPX200(111);
    for (uint32_t base : {1160u, 1200u, 1281u, 1321u})
        for (int i = 0; i < 40; ++i)
            px[base + i] = uint8_t(base + i);  // distinct recognisable bytes
    struct Row {
        int c;
        bool marker;
    };
    for (const Row r : {Row{0, false}, Row{0, true}, Row{3, true}, Row{1, false}}) {
        for (uint32_t base : {1160u, 1200u, 1281u, 1321u})
            px[base + 1] = r.marker ? 0x2F : uint8_t(base + 1);
        const Bytes block = Convert(px, kHeli, r.c);
        struct Target {
            size_t at;
            uint32_t source;
            uint8_t first, rest, mid;  // defaults: byte 0 of record 0, of 1 and 2; byte 4
        };
        const uint8_t mid2609 = r.c == 0 ? 0x50 : 0x32;
        for (const Target& t : {Target{2609, 1160, 0x81, 0x01, mid2609}, Target{2659, 1281, 0x81, 0x01, 0x32},
                                Target{2680, 1321, 0x81, 0x01, 0x32}, Target{2630, 1200, 0x00, 0x00, 0x00}}) {
            for (int k = 0; k < 3; ++k) {
                Bytes expected;
                const uint8_t d0 = k == 0 ? t.first : t.rest;
                const uint8_t def5 = 0xFF;
                if (r.marker && k > 0) {
                    expected = {d0, 0xFF, 0, 0, t.mid, def5, 0};
                } else {
                    const uint8_t* s = &px[t.source + 8 * (r.marker ? r.c : k)];
                    const uint8_t b0 = uint8_t((d0 & 0x7E) | (s[0] & 0x81));
                    expected = r.marker ? Bytes{b0, 0xFF, 0, 0, s[4], s[6], s[7]} : Bytes{b0, s[1], s[2], s[3], s[4], s[6], s[7]};
                }
                EXPECT_EQ(At(block, t.at + 7 * k, 7), expected) << "c " << r.c << " marker " << r.marker << " at " << t.at << " k " << k;
            }
        }
    }
}
