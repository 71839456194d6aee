// Layout of the PX200 to PX600 condition block conversion, as data: the two
// tails of the block (block offsets 1984..3055), one for helicopter models and
// one for every other model type, row by row. Each row names a run of block
// bytes, the bytes or curve it holds by default, and what fills it from the
// PX200 image and when. ApplyTail in PX200Condition.cpp walks the rows in
// order: for each record of a row the default, then the fill.
//
// The static checks at the end prove that every row lies inside the block,
// that no two rows give defaults to the same byte, that curve rows have the
// size of their curve, and that every PX200 byte a fill reads lies inside the
// 6618-byte model image for conditions 0..4.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/PX600Layout.h"

namespace px200::condition {

using px600::kNoSwitchRange;
constexpr uint32_t kBlockSize = px600::kConditionBlock.size;
constexpr uint32_t kSourceSize = 6618;

// The PX200 curve records that fill the first five PX600 curve records.
constexpr int kSourceCurveRecords = 5;      // PX200 391 + 12k
constexpr uint32_t kSourceCurveRecord = 391;

// A curve record before anything fills it: flags, bytes 1..5, then curve D0
// (copied separately), then six zero bytes.
inline constexpr uint8_t kCurveRecordHead[px600::curverecord::kCurve] = {0x00, 0x00, 0x01, 0xFF, 0x00, 0x00};

// ---------------------------------------------------------------------------
// Channel curves and dual rates (the curve decoder reads them too)

// The three functions with rate tables: 7-byte entries per condition (the
// first byte of the table doubles as group marker), one offset byte per
// condition, and the pair of dual-rate records they fill (the first of them).
struct RateTable {
    int function;
    uint16_t table;
    uint16_t offsets;
    int dualRate;
};
constexpr RateTable kRateTables[] = {
    {0, 527, 682, 0},
    {1, 562, 687, 2},
    {3, 597, 692, 4},
};

// Straight-line curves: the function, its two rates (2 bytes per condition)
// and its offset (1 byte per condition). AIRPLANE models use the first two.
struct LinearCurve {
    int function;
    uint16_t rates;
    uint16_t offset;
};
constexpr LinearCurve kLinearCurves[] = {
    {5, 1479, 1519},
    {23, 1509, 1534},
    {19, 1489, 1524},
    {22, 1499, 1529},
};

constexpr uint32_t kSharedCurveFlag = 1427;   // bit 7: the 5-point curve at 1428 is in use
constexpr uint32_t kSharedCurve = 1428;       // 5 positions, then 5 values
constexpr uint32_t kThrottleBits = 1362;      // AIRPLANE: bits 0..6 for the throttle channel
constexpr uint32_t kHeliPointCurves[2][2] = {{1034, 5}, {1084, 2}};  // source, function

// ---------------------------------------------------------------------------
// Tail rows

enum class Def : uint8_t {
    Keep,    // the row has no default of its own (it only fills)
    Bytes,   // the bytes of `bytes`
    Zero,    // size bytes of 0
    D0,      // 17-point curves (51 bytes)
    D2,
    E0,      // 11-point curves (33 bytes)
    E1,
    Bits,    // byte = (byte & keepBits) | setBits, on the default already there
    Select,  // 8 bytes chosen by bits 4..5 of PX200 152 (kSelectPatterns)
};

enum class Fill : uint8_t {
    None,
    Copy,         // size bytes from src, each ANDed with mask
    Spread,       // every byte of the row = the byte at src AND mask
    Merge,        // the bits of mask come from the byte at src
    MoveBit,      // bit toBit = bit fromBit of the byte at src
    Set,          // every byte = value
    SetBits,      // every byte |= value
    ModeCurve11,  // BuildModeCurve11(src)
    TwoRate11,    // BuildTwoRateCurve11(s src, s src2)
    TwoRate,      // BuildTwoRateCurve(s src, s src2), one of them negated as negate says
    Point13,      // BuildPointCurve13(x = src, y = src2)
    Thirds,       // BuildThirdsCurve(src)
    Break11,      // BuildBreakCurve11(p = src, q = src2)
};

enum class When : uint8_t {
    Px200,  // PX200 conditions 0..4
    First,  // condition 0 only
    Last,   // condition 4 only
};

enum class Types : uint8_t { All, Glider, NotGlider };

constexpr bool Applies(Types only, bool glider)
{
    return only == Types::All || (only == Types::Glider) == glider;
}

enum class Negate : uint8_t { None, First, Second };

// One row: count records of size bytes, the first at block offset at, each
// next one step bytes further. The fill of record k reads PX200
// src + cStride * c + kStride * k (and src2 + c2Stride * c + kStride * k).
struct TailRow {
    uint16_t at = 0;
    uint16_t size = 0;
    Def def = Def::Keep;
    std::span<const uint8_t> bytes = {};
    uint8_t keepBits = 0xFF, setBits = 0;
    Fill fill = Fill::None;
    When when = When::Px200;
    uint16_t src = 0, cStride = 0;
    uint16_t src2 = 0, c2Stride = 0;
    uint8_t mask = 0xFF;  // Copy, Spread, Merge: source bits; Set, SetBits: the value
    uint8_t fromBit = 0, toBit = 0;
    Negate negate = Negate::None;
    bool unlessFF = false;   // no fill when the byte at src is 0xFF
    bool firstOnly = false;  // fill record 0 only
    uint8_t count = 1, step = 0;
    uint16_t kStride = 0;
    Types only = Types::All;

    // Modifiers, so that a table line reads like the layout row it mirrors.
    constexpr TailRow Times(uint8_t n, uint8_t stepBytes, uint16_t sourceStep = 0) const
    {
        TailRow r = *this;
        r.count = n;
        r.step = stepBytes;
        r.kStride = sourceStep;
        return r;
    }
    constexpr TailRow Copy(uint16_t from, uint16_t perCondition = 0, uint8_t bits = 0xFF) const
    {
        return With(Fill::Copy, from, perCondition, bits);
    }
    constexpr TailRow Spread(uint16_t from, uint16_t perCondition, uint8_t bits) const
    {
        return With(Fill::Spread, from, perCondition, bits);
    }
    constexpr TailRow Merge(uint16_t from, uint16_t perCondition, uint8_t bits) const
    {
        return With(Fill::Merge, from, perCondition, bits);
    }
    constexpr TailRow MoveBit(uint16_t from, uint16_t perCondition, uint8_t sourceBit, uint8_t targetBit) const
    {
        TailRow r = With(Fill::MoveBit, from, perCondition, 0xFF);
        r.fromBit = sourceBit;
        r.toBit = targetBit;
        return r;
    }
    constexpr TailRow Set(uint8_t value) const { return With(Fill::Set, 0, 0, value); }
    constexpr TailRow SetBits(uint8_t value) const { return With(Fill::SetBits, 0, 0, value); }
    // A builder reading its parameters at from (+ perCondition * c) and, for
    // two-address builders, at second (+ secondPerCondition * c).
    constexpr TailRow Build(Fill f, uint16_t from, uint16_t perCondition, uint16_t second = 0,
                            uint16_t secondPerCondition = 0) const
    {
        TailRow r = With(f, from, perCondition, 0xFF);
        r.src2 = second;
        r.c2Stride = secondPerCondition;
        return r;
    }
    // BuildTwoRateCurve from two neighbouring bytes.
    constexpr TailRow TwoRate(uint16_t from, uint16_t perCondition, Negate n = Negate::None) const
    {
        TailRow r = Build(Fill::TwoRate, from, perCondition, uint16_t(from + 1), perCondition);
        r.negate = n;
        return r;
    }
    constexpr TailRow In(When w) const { TailRow r = *this; r.when = w; return r; }
    constexpr TailRow For(Types t) const { TailRow r = *this; r.only = t; return r; }
    constexpr TailRow UnlessFF() const { TailRow r = *this; r.unlessFF = true; return r; }
    constexpr TailRow FirstOnly() const { TailRow r = *this; r.firstOnly = true; return r; }

private:
    constexpr TailRow With(Fill f, uint16_t from, uint16_t perCondition, uint8_t bits) const
    {
        TailRow r = *this;
        r.fill = f;
        r.src = from;
        r.cStride = perCondition;
        r.mask = bits;
        return r;
    }
};

// A row of size bytes at `at` with its default.
constexpr TailRow Row(uint16_t at, uint16_t size, Def def) { return {.at = at, .size = size, .def = def}; }
constexpr TailRow Bytes(uint16_t at, std::span<const uint8_t> b)
{
    return {.at = at, .size = uint16_t(b.size()), .def = Def::Bytes, .bytes = b};
}
constexpr TailRow Zero(uint16_t at, uint16_t size) { return Row(at, size, Def::Zero); }
constexpr uint16_t CurveSize(Def d) { return d == Def::E0 || d == Def::E1 ? 33 : 51; }
constexpr TailRow Curve(uint16_t at, Def d) { return Row(at, CurveSize(d), d); }
// A row that only fills bytes another row gave their default.
constexpr TailRow Keep(uint16_t at, uint16_t size) { return Row(at, size, Def::Keep); }
// Changes to one default byte: byte = (byte & keep) | set.
constexpr TailRow Bits(uint16_t at, uint8_t keep, uint8_t set)
{
    return {.at = at, .size = 1, .def = Def::Bits, .keepBits = keep, .setBits = set};
}
constexpr TailRow Selected(uint16_t at) { return Row(at, 8, Def::Select); }

// Default bytes in use.
inline constexpr uint8_t kFF[] = {0xFF};
inline constexpr uint8_t kFF00[] = {0xFF, 0x00};
inline constexpr uint8_t kFF0000[] = {0xFF, 0x00, 0x00};
inline constexpr uint8_t k3232[] = {0x32, 0x32};
inline constexpr uint8_t k6464[] = {0x64, 0x64};
inline constexpr uint8_t k64x8[] = {0x64, 0x64, 0x64, 0x64, 0x64, 0x64, 0x64, 0x64};
inline constexpr uint8_t k64x4Zero4[] = {0x64, 0x64, 0x64, 0x64, 0x00, 0x00, 0x00, 0x00};
inline constexpr uint8_t kHeadSwitch[] = {0x00, 0xFF, 0x05, 0xFB};  // flags, then a switch record
inline constexpr uint8_t kSwitchFB00[] = {0xFF, 0xFB, 0x00};
inline constexpr uint8_t kWideSwitch[] = {0x00, 0xFF, 0x0A, 0xF6};
// Byte 0 with bits 0..1 set, then FF 0A F6 64 64 64 and six 00.
inline constexpr uint8_t kPlaneGroup13[] = {0x03, 0xFF, 0x0A, 0xF6, 0x64, 0x64, 0x64, 0, 0, 0, 0, 0, 0};
inline constexpr uint8_t k00FF0000[] = {0x00, 0xFF, 0x00, 0x00};
inline constexpr uint8_t kDelayHead[] = {0x03, 0xFF, 0x00, 0x00};  // bits 0..1 set
inline constexpr uint8_t kDelayTail[] = {0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00};
inline constexpr uint8_t kPlaneSeven[] = {0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00};
// Byte 0 (bit 7 cleared), 00 00 00, 32 32.
inline constexpr uint8_t kZero4_3232[] = {0x00, 0x00, 0x00, 0x00, 0x32, 0x32};
inline constexpr uint8_t kFF00x5_3232[] = {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x32, 0x32};
inline constexpr uint8_t kSwitchZero3[] = {0xFF, 0x05, 0xFB, 0x00, 0x00, 0x00};
inline constexpr uint8_t kEEEE[] = {0xEE, 0xEE};
// Helicopter: two switch records 00 FF E2 and 00 FF 1E (bit 7 of each control
// byte cleared), then two 5-byte records whose byte 4 has bits 6..7 = 01.
inline constexpr uint8_t kHeliSwitches[] = {0x00, 0xFF, 0xE2, 0x00, 0xFF, 0x1E};
inline constexpr uint8_t kHeliHead[] = {0x00, 0xFF, 0xE2, 100};
inline constexpr uint8_t kBits6To7Are01[] = {0x40};
inline constexpr uint8_t k420000[] = {0x42, 0x00, 0x00};
inline constexpr uint8_t kHeliSevenFirst[] = {0x81, 0xFF, 0x00, 0x00, 0x32, 0xFF, 0x00};
inline constexpr uint8_t kHeliSeven[] = {0x01, 0xFF, 0x00, 0x00, 0x32, 0xFF, 0x00};
inline constexpr uint8_t kHeliSevenOther[] = {0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00};

// Defaults of 2453..2460 by bits 4..5 of PX200 152.
constexpr uint32_t kSelectSource = 152;
inline constexpr uint8_t kSelectPatterns[4][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},
    {0x32, 0x32, 0x32, 0x32, 0x32, 0x32, 0x32, 0x32},
    {0x64, 0x64, 0x64, 0x64, 0, 0, 0, 0},
    {0, 0, 0, 0, 0x64, 0x64, 0x64, 0x64},
};

// Tail of AIRPLANE, GLIDER and MULTICOPTER models.
inline constexpr TailRow kPlaneTail[] = {
    Bytes(1984, k64x8).Copy(1087, 9),
    Bytes(1992, kFF).Copy(1563, 2, 0x3F).UnlessFF(),
    Curve(1993, Def::E0).Build(Fill::ModeCurve11, 1563, 2).UnlessFF(),
    Bytes(2026, k64x4Zero4).Copy(728),
    Bytes(2034, k64x4Zero4).Copy(736),
    Zero(2042, 1).Copy(744),
    Bytes(2043, kNoSwitchRange).Copy(745),
    Bytes(2046, k6464).Copy(748, 4),
    Zero(2048, 2).Copy(750, 4),
    Bytes(2050, kHeadSwitch).Times(2, 41, 24).Copy(768),
    Curve(2054, Def::E0).Times(2, 41),
    Zero(2087, 4).Times(2, 41, 24).Copy(772, 4),
    Bytes(2132, kHeadSwitch).Copy(816),
    Curve(2136, Def::E0).Build(Fill::TwoRate11, 820, 2, 821, 2),
    Bytes(2169, kFF00).Copy(1573, 2),
    Bytes(2171, kHeadSwitch).Copy(830),
    Curve(2175, Def::E0),
    Zero(2208, 20).Copy(835, 20),
    Bytes(2228, kFF00),
    Bytes(2230, kHeadSwitch).Copy(935),
    Curve(2234, Def::E0),
    Zero(2267, 8).Copy(939, 24),
    Zero(2275, 4).Copy(959, 24),
    Curve(2279, Def::E0),
    Zero(2312, 8).Copy(947, 24),
    Curve(2320, Def::E0),
    Zero(2353, 4).Copy(955, 24),
    Zero(2357, 6),
    Zero(2363, 1).Copy(1059),
    Bytes(2364, kSwitchFB00).Copy(1060),
    Bytes(2367, kHeadSwitch).Times(2, 43).Copy(1063).FirstOnly(),
    Curve(2371, Def::E0).Times(2, 43),
    Zero(2404, 4).Times(2, 43).Copy(1067, 4).FirstOnly(),
    Bytes(2408, kFF00).Times(2, 43),
    Selected(2453).Copy(1303),
    Bytes(2461, kHeadSwitch).Times(2, 57, 14).Copy(1399).For(Types::Glider),
    Bytes(2461, kHeadSwitch).Times(2, 57, 14).Copy(1399).In(When::First).For(Types::NotGlider),
    Curve(2465, Def::D0).Times(2, 57, 14).TwoRate(1403, 2).For(Types::Glider),
    Curve(2465, Def::D2).Times(2, 57, 10).Build(Fill::Point13, 1459, 0, 1464).In(When::First).For(Types::NotGlider),
    Bytes(2516, kFF00).Times(2, 57),
    Bytes(2575, kPlaneGroup13).Times(4, 13),
    Bits(2575, 0xE3, 0x00),  // bits 2..4 cleared
    Bits(2588, 0xFB, 0x18),  // bit 2 cleared, bits 3 and 4 set
    Bits(2601, 0xF7, 0x14),  // bit 3 cleared, bits 2 and 4 set
    Bits(2614, 0xEF, 0x0C),  // bit 4 cleared, bits 2 and 3 set
    Keep(2575, 7).Times(4, 13, 7).Copy(1311).In(When::First),
    Bytes(2627, kFF0000).Copy(1339).In(When::First),
    Bytes(2630, kWideSwitch).Copy(1342).In(When::First),
    Bytes(2634, k00FF0000).Copy(1132),
    Zero(2638, 1).Copy(1138, 16),
    Zero(2639, 1),
    Zero(2640, 8).Copy(1139, 16),
    Zero(2648, 1),
    Curve(2649, Def::E1).Build(Fill::Break11, 1438, 3, 1136, 0),
    Zero(2682, 4).Copy(1147, 16),
    Zero(2686, 2).Spread(1151, 16, 0xFF),
    Zero(2688, 2).Spread(1152, 16, 0xFF),
    Zero(2690, 2).Spread(1153, 16, 0xFF),
    Zero(2692, 3),
    Bytes(2695, kNoSwitchRange),
    Bytes(2698, kEEEE).Copy(1136),
    Zero(2700, 97),
    // Delay records: the defaults of both, the fill of the first.
    Bytes(2797, kDelayHead).Times(2, 43).Copy(1218).FirstOnly(),
    Bytes(2813, kFF).Times(2, 43),
    Bytes(2834, kDelayTail).Times(2, 43).Copy(1297).FirstOnly(),
    Keep(2797, 1).MoveBit(1233, 15, 7, 2),
    Keep(2797, 1).MoveBit(1234, 15, 7, 3),
    Keep(2801, 1).Copy(1222, 15),
    Keep(2802, 10).Copy(1223, 15),
    Keep(2825, 2).Spread(1233, 15, 0x7F),
    Keep(2827, 2).Spread(1234, 15, 0x7F),
    Keep(2829, 2).Spread(1235, 15, 0x7F),
    Keep(2833, 1).Copy(1236, 15),
    Zero(2883, 1).Merge(1368, 0, 0x83),
    Bytes(2884, kFF).Copy(1369),
    Zero(2885, 8).Copy(1370),
    Bytes(2893, kPlaneSeven).Times(3, 7),
    Keep(2893, 1).Times(3, 7, 7).Merge(1378, 0, 0x81),
    Keep(2894, 6).Times(3, 7, 7).Copy(1379),
    Bytes(2914, kZero4_3232),
    Bytes(2920, kZero4_3232),
    Bytes(2927, kFF00x5_3232),
};

// Tail of HELICOPTER models.
inline constexpr TailRow kHeliTail[] = {
    Bytes(1984, kHeliSwitches),
    Keep(1984, 1).Times(2, 3, 20).Merge(762, 4, 0x80),
    Keep(1985, 2).Times(2, 3, 20).Copy(763, 4),
    Bytes(1990, kHeliHead).Times(2, 5, 30).Copy(802, 6),
    Bytes(1994, kBits6To7Are01).Times(2, 5, 30).Merge(806, 6, 0xC0),
    Bytes(2000, kZero4_3232).Times(2, 6),
    Zero(2012, 1).SetBits(0x80).In(When::Last),
    Bytes(2013, kNoSwitchRange),
    Keep(2014, 2).Set(0x00).In(When::Last),
    Bytes(2016, k420000).Copy(866).In(When::Last),
    Bytes(2020, kSwitchZero3),
    Bytes(2026, kHeadSwitch).Times(4, 55, 4).Copy(869),
    Curve(2030, Def::D0).Times(4, 55, 2).TwoRate(885, 8),
    Bytes(2246, kHeadSwitch).Times(3, 60, 4).Copy(925),
    Curve(2250, Def::D0).TwoRate(937, 6, Negate::First),
    Curve(2310, Def::D0).TwoRate(939, 6, Negate::Second),
    Curve(2370, Def::D0).TwoRate(941, 6),
    Bytes(2304, k3232).Times(3, 60),
    Bytes(2427, kNoSwitchRange),
    Curve(2430, Def::D0),
    Bytes(2484, k3232),
    Zero(2486, 1).Merge(1134, 0, 0x80),
    Curve(2487, Def::D2).Build(Fill::Thirds, 1135, 5),
    Bytes(2541, k3232),
    Zero(2543, 66),
    Bytes(2609, kHeliSevenFirst),
    Bytes(2616, kHeliSeven).Times(2, 7),
    Keep(2613, 1).Times(3, 7).Set(0x50).In(When::First),
    Bytes(2630, kHeliSevenOther).Times(3, 7),
    Zero(2651, 8),
    Bytes(2659, kHeliSevenFirst),
    Bytes(2666, kHeliSeven).Times(2, 7),
    Bytes(2680, kHeliSevenFirst),
    Bytes(2687, kHeliSeven).Times(2, 7),
};

// The helicopter 7-byte records (three at each block offset) and the PX200
// 8-byte record tables they come from; the group marker is byte 1 of a table.
struct SevenByteRecords {
    uint16_t at;
    uint16_t source;
};
inline constexpr SevenByteRecords kHeliSevenRecords[] = {
    {2609, 1160},
    {2659, 1281},
    {2680, 1321},
    {2630, 1200},
};
constexpr int kSevenRecordCount = 3;

// ---------------------------------------------------------------------------
// Static checks

namespace check {

constexpr bool WritesDefault(Def d) { return d != Def::Keep && d != Def::Bits; }

constexpr bool IsCurveFill(Fill f)
{
    return f == Fill::ModeCurve11 || f == Fill::TwoRate11 || f == Fill::TwoRate || f == Fill::Point13 ||
           f == Fill::Thirds || f == Fill::Break11;
}

constexpr uint16_t CurveFillSize(Fill f)
{
    return f == Fill::ModeCurve11 || f == Fill::TwoRate11 || f == Fill::Break11 ? 33 : 51;
}

// Bytes a fill reads at src and at src2.
constexpr uint32_t FirstReadSize(const TailRow& r)
{
    switch (r.fill) {
    case Fill::None:
    case Fill::Set:
    case Fill::SetBits:
        return 0;
    case Fill::Copy:
        return r.size;
    case Fill::ModeCurve11:
        return 2;
    case Fill::Point13:
    case Fill::Thirds:
        return 5;
    case Fill::Break11:
        return 3;
    default:
        return 1;
    }
}

constexpr uint32_t SecondReadSize(const TailRow& r)
{
    switch (r.fill) {
    case Fill::TwoRate11:
    case Fill::TwoRate:
        return 1;
    case Fill::Point13:
        return 5;
    case Fill::Break11:
        return 2;
    default:
        return 0;
    }
}

constexpr bool ReadsFit(uint32_t base, uint16_t cStride, uint32_t kOffset, uint32_t size, int lastCondition)
{
    return size == 0 || base + uint32_t(cStride) * uint32_t(lastCondition) + kOffset + size <= kSourceSize;
}

// Every row inside the tail, rows with defaults never on the same byte, curve
// rows of their curve's size, and every read inside the PX200 image.
constexpr bool TailFits(std::span<const TailRow> rows, bool glider)
{
    bool given[kBlockSize] = {};
    for (const TailRow& r : rows) {
        if (!Applies(r.only, glider))
            continue;
        if (r.size == 0 || r.count == 0 || (r.count > 1 && r.step < r.size))
            return false;
        if (r.def == Def::Bytes && r.bytes.size() != r.size)
            return false;
        if (r.def == Def::Select && r.size != 8)
            return false;
        if ((r.def == Def::D0 || r.def == Def::D2 || r.def == Def::E0 || r.def == Def::E1) &&
            r.size != CurveSize(r.def))
            return false;
        if (IsCurveFill(r.fill) && r.size != CurveFillSize(r.fill))
            return false;
        if ((r.fill == Fill::MoveBit || r.fill == Fill::Merge) && (r.size != 1 || r.fromBit > 7 || r.toBit > 7))
            return false;
        const int lastCondition = r.when == When::First ? 0 : 4;
        for (int k = 0; k < r.count; ++k) {
            const uint32_t begin = r.at + uint32_t(r.step) * k;
            if (begin < px600::kTailOffset || begin + r.size > kBlockSize)
                return false;
            if (WritesDefault(r.def))
                for (uint32_t i = begin; i < begin + r.size; ++i) {
                    if (given[i])
                        return false;
                    given[i] = true;
                }
            const uint32_t kOffset = uint32_t(r.kStride) * k;
            if (!ReadsFit(r.src, r.cStride, kOffset, FirstReadSize(r), lastCondition) ||
                !ReadsFit(r.src2, r.c2Stride, kOffset, SecondReadSize(r), lastCondition))
                return false;
        }
    }
    return true;
}

static_assert(TailFits(kPlaneTail, false));
static_assert(TailFits(kPlaneTail, true));
static_assert(TailFits(kHeliTail, false));

// The helicopter 7-byte records lie inside the tail and do not overlap.
constexpr bool SevenRecordsFit()
{
    bool used[kBlockSize] = {};
    for (const SevenByteRecords& s : kHeliSevenRecords) {
        if (s.at < px600::kTailOffset || s.at + 7u * kSevenRecordCount > kBlockSize)
            return false;
        // Entry c (up to 4) or k (up to 2): at most 5 records of 8 bytes.
        if (s.source + 8u * 5 > kSourceSize)
            return false;
        for (int i = s.at; i < s.at + 7 * kSevenRecordCount; ++i) {
            if (used[i])
                return false;
            used[i] = true;
        }
    }
    return true;
}
static_assert(SevenRecordsFit());

static_assert(kSourceCurveRecord + 12u * kSourceCurveRecords <= kSourceSize);

}  // namespace check

}  // namespace px200::condition
