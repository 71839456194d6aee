// Layouts of the PX400 to PX600 block conversions, as data. Each table mirrors
// one layout row by row; small interpreters in PX400Convert.cpp walk them.
// The static checks at the end prove that every row lies inside its block and
// that the rows of a block neither overlap nor leave gaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

#include "model/PX600Layout.h"

namespace px400 {

// ---------------------------------------------------------------------------
// Source positions (PX400 image); the targets are the PX600 blocks

constexpr uint32_t kSettingsSource = 8188;       // 543 bytes to the model settings block
constexpr uint32_t kSettingsSize = 543;
constexpr uint32_t kGliderByte = 94;             // target byte of the glider bit fix
constexpr uint32_t kHeaderExtraSource = 108434;  // the extra settings, inside condition block 0
constexpr uint32_t kModelBlock2Source = 130956;  // the whole of model block 2
constexpr uint32_t kConditionSource = 106508;    // + condition block size * n
constexpr uint32_t kControlSource = 8732;        // + 12222 * n, to the curve settings block n
constexpr uint32_t kControlSize = 12222;

// ---------------------------------------------------------------------------
// Condition block (the same offsets in source and target)

enum class Op : uint8_t {
    Copy,     // bytes taken over at their own offset
    Zero,     // left 0
    Curve17,  // 17-point curve record, resampled onto the grid
    Curve11,  // 11-point curve record, resampled onto the grid
    Masked,   // one byte copied through a bit mask
};

// One field of a record, offsets within the record.
struct Field {
    uint16_t offset;
    uint16_t size;
    Op op;
    uint8_t mask = 0xFF;  // Masked only: the source bits that are kept
};

// count records of stride bytes from offset; each record is laid out by
// fields, or by altFields when the record's byte 0 has a bit of selectBits set;
// a record without fields is one run of op.
struct Row {
    uint16_t offset;
    uint16_t count;
    uint16_t stride;
    std::span<const Field> fields = {};
    std::span<const Field> altFields = {};
    uint8_t selectBits = 0;
    Op op = Op::Copy;
};

// size bytes at offset, copied, zeroed or resampled as one.
constexpr Row Run(uint16_t offset, uint16_t size, Op op = Op::Copy) { return {offset, 1, size, {}, {}, 0, op}; }

// 53-byte record: 17-point curve and 2 bytes.
inline constexpr Field kRecord53[] = {{0, 51, Op::Curve17}, {51, 2, Op::Copy}};
// 57-byte record: flags with bits 5 and 6 cleared, bytes 1..3, curve, 2 bytes.
inline constexpr Field kRecord57[] = {
    {0, 1, Op::Masked, 0x9F}, {1, 3, Op::Copy}, {4, 51, Op::Curve17}, {55, 2, Op::Copy}};
// 63-byte record, bit 4 of byte 0 clear: bytes 0..5, curve at 6, bytes 57..62.
inline constexpr Field kRecord63Curve[] = {{0, 6, Op::Copy}, {6, 51, Op::Curve17}, {57, 6, Op::Copy}};
// 63-byte record, bit 4 of byte 0 set: bytes 0..5, four groups and values
// (6..55), zeros at 56..62.
inline constexpr Field kRecord63Groups[] = {{0, 6, Op::Copy}, {6, 50, Op::Copy}, {56, 7, Op::Zero}};

// The rows of a named record group.
constexpr Row RowsOf(const px600::Record& r, std::span<const Field> fields = {}, std::span<const Field> altFields = {},
                     uint8_t selectBits = 0)
{
    return {r.offset, r.count, uint16_t(r.At(1) - r.At(0)), fields, altFields, selectBits};
}

inline constexpr Row kConditionCommon[] = {
    RowsOf(px600::kByteTables),
    RowsOf(px600::kChannelCurves, kRecord53),
    RowsOf(px600::kDualRates, kRecord57),
    RowsOf(px600::kCurveRecords, kRecord63Curve, kRecord63Groups, px600::curverecord::kHasGroups),
    RowsOf(px600::kConditionSettings),
    Run(1942, 42, Op::Zero),
};

// Tail of AIRPLANE, GLIDER and MULTICOPTER models.
inline constexpr Row kConditionTailPlane[] = {
    Run(1984, 9),
    Run(1993, 33, Op::Curve11),
    Run(2026, 28),
    Run(2054, 33, Op::Curve11),
    Run(2087, 8),
    Run(2095, 33, Op::Curve11),
    Run(2128, 8),
    Run(2136, 33, Op::Curve11),
    Run(2169, 6),
    Run(2175, 33, Op::Curve11),
    Run(2208, 26),
    Run(2234, 33, Op::Curve11),
    Run(2267, 12),
    Run(2279, 33, Op::Curve11),
    Run(2312, 8),
    Run(2320, 33, Op::Curve11),
    Run(2353, 18),
    Run(2371, 33, Op::Curve11),
    Run(2404, 10),
    Run(2414, 33, Op::Curve11),
    Run(2447, 18),
    Run(2465, 51, Op::Curve17),
    Run(2516, 6),
    Run(2522, 51, Op::Curve17),
    Run(2573, 76),
    Run(2649, 33, Op::Curve11),
    Run(2682, 18),
    Run(2700, 97, Op::Zero),
    Run(2797, 138),  // the two delay records and 52 bytes after them
    Run(2935, 121, Op::Zero),
};

// 55-byte record: 17-point curve, 4 bytes; 60-byte record: curve, 9 bytes.
inline constexpr Field kRecord55[] = {{0, 51, Op::Curve17}, {51, 4, Op::Copy}};
inline constexpr Field kRecord60[] = {{0, 51, Op::Curve17}, {51, 9, Op::Copy}};
inline constexpr Field kBit7Only[] = {{0, 1, Op::Masked, 0x80}};

// Tail of HELICOPTER models.
inline constexpr Row kConditionTailHeli[] = {
    Run(1984, 46),
    {2030, 4, 55, kRecord55},
    {2250, 3, 60, kRecord60},
    Run(2430, 51, Op::Curve17),
    Run(2481, 5),
    {2486, 1, 1, kBit7Only},
    Run(2487, 51, Op::Curve17),
    Run(2538, 5),
    Run(2543, 66, Op::Zero),
    Run(2609, 92),
    Run(2701, 355, Op::Zero),
};

// ---------------------------------------------------------------------------
// Curve settings block (578 bytes per condition, from the 12222-byte
// condition control block)

constexpr uint32_t kConditionNameSource = 94;  // 8 UTF-16 little-endian units
constexpr int kConditionNameUnits = 8;

enum class Template : uint8_t { None, T1, T2, T3 };

// T1, T2, T3 in that order.
inline constexpr const auto& kTemplateBytes = px600::rate::kDefaults;

// count target records of 12 bytes from target, each from the source record
// at source + sourceStride * k.
struct SettingRow {
    uint16_t target;
    uint16_t count;
    Template tmpl;
    uint16_t source;
    uint16_t sourceStride;
};

// The records of a named rate record group.
constexpr SettingRow RatesOf(const px600::Record& r, Template t, uint16_t source, uint16_t sourceStride)
{
    return {r.offset, r.count, t, source, sourceStride};
}

inline constexpr SettingRow kSettingsCommon[] = {
    RatesOf(px600::kChannelRates, Template::T1, 358, 162),
    RatesOf(px600::kDualRateRates, Template::T1, 3026, 226),  // curve head at 166 of 2860 + 226 * k
    RatesOf(px600::kCurveRates, Template::T2, 4318, 164),
};

inline constexpr SettingRow kSettingsPlane[] = {
    {402, 1, Template::T3, 8282, 0},
    {414, 1, Template::T3, 8404, 0},
    {426, 1, Template::T3, 8526, 0},
    {438, 1, Template::T3, 8648, 0},
    {450, 1, Template::T3, 8772, 0},
    {462, 1, Template::T3, 8896, 0},
    {474, 1, Template::T3, 9018, 0},
    {486, 1, Template::T3, 9140, 0},
    {498, 1, Template::T3, 9270, 0},
    {510, 1, Template::T3, 9394, 0},
    {522, 1, Template::T2, 9554, 0},
    {534, 1, Template::T2, 9714, 0},
    {546, 1, Template::T3, 9864, 0},
    {558, 1, Template::T1, 10032, 0},
};

inline constexpr SettingRow kSettingsHeli[] = {
    {402, 4, Template::T2, 8326, 158},
    {450, 3, Template::T2, 8958, 160},
    {486, 1, Template::T2, 9438, 0},
    {498, 1, Template::T2, 9598, 0},
    {510, 1, Template::T1, 9758, 0},
};

// One flag bit taken over: count consecutive bytes, each target byte's bit
// targetBit from the matching source byte's bit sourceBit.
struct BitColumn {
    uint16_t target;
    uint8_t targetBit;
    uint16_t source;
    uint8_t sourceBit;
    uint16_t count;
};

// Plane 570..577: 570 stays 0; 571..573 bits 7, 6, 5 from bits 0, 1, 2.
inline constexpr BitColumn kSettingsPlaneBits[] = {
    {571, 7, 10120, 0, 3},
    {571, 6, 10120, 1, 3},
    {571, 5, 10120, 2, 3},
};

inline constexpr BitColumn kSettingsHeliBits[] = {
    {522, 7, 9816, 1, 6},
    {528, 7, 9826, 1, 3},
    {531, 7, 9832, 1, 3},
};

// Fields of a source curve record (little-endian 16-bit values).
constexpr int kRecType = 0;
constexpr int kRecP1 = 20, kRecP2 = 22;
constexpr int kRecQ1 = 6, kRecQ2 = 8;
constexpr int kRecR1 = 10, kRecR2 = 24;
constexpr int kRecFlag = 32;
constexpr int kSourceRecordSpan = 33;  // bytes a record conversion reads

// ---------------------------------------------------------------------------
// Model-wide block (T offsets within the block; sources are image offsets,
// K offsets are within a condition control block)

constexpr uint32_t kTotalSeconds = 6480, kTotalMinutes = 6481, kTotalHours = 6482;
constexpr uint32_t kValue4Source = 7524, kValue8Source = 7532;

// The sources of the two PX600 timer records.
struct TimerLayout {
    uint32_t flagBit0;      // byte 0 bit 0
    uint32_t zeroTest;      // byte 0 bit 1 when this byte is 0
    uint32_t flagBit3;      // byte 0 bit 3
    uint32_t mode;          // byte 0 bits 4..5 from bits 0..1
    uint32_t milliseconds;  // signed 32-bit; seconds modulo 3600 at bytes 1..2
    uint32_t settings;      // 12 bytes, taken over unswapped at bytes 3..14
};

inline constexpr TimerLayout kTimers[] = {
    {7645, 260, 7644, 769, 264, 268},
    {7647, 772, 7646, 1281, 776, 780},
};
static_assert(std::size(kTimers) == px600::kTimers.count);

// Combined flag bits at T 42..57: bit index i is byte 42 + i / 8, bit i % 8.
constexpr uint16_t kCombinedFlags = uint16_t(px600::kCombinedFlags.offset - px600::kModelWide.offset);

enum class ClearOn : uint8_t { Zero, NonZero };

// count consecutive K bytes, each clearing the next bit from T byte/bit on.
struct ClearRow {
    uint16_t k;
    uint16_t count;
    uint8_t tByte;
    uint8_t tBit;
    ClearOn when = ClearOn::Zero;
};

inline constexpr ClearRow kClearCommon[] = {
    {0, 16, 42, 0},
    {16, 16, 44, 0},
    {32, 16, 46, 0},
    {48, 16, 48, 0},
    {71, 12, 50, 0},
    {5856, 1, 51, 7},
    {5865, 1, 51, 6},
    {5870, 1, 51, 5},
    {83, 10, 52, 0},
};

inline constexpr ClearRow kClearPlane[] = {
    {8192, 1, 54, 0},
    {8193, 2, 54, 1},
    {8195, 1, 54, 3},
    {8196, 2, 54, 4},
    {8198, 1, 54, 6},
    {8199, 1, 54, 7},
    {8200, 1, 55, 0},
    {8201, 2, 55, 1},
    {8203, 1, 55, 3},
    {8204, 2, 55, 4},
    {8206, 1, 55, 6},
    {8207, 1, 55, 7},
    {8208, 1, 56, 0},
    {8209, 1, 56, 1},
    {8210, 2, 56, 2},
    {8212, 1, 56, 4},
    {8213, 3, 56, 5},
    {10123, 1, 57, 0, ClearOn::NonZero},
    {10125, 1, 57, 1, ClearOn::NonZero},
    {10127, 1, 57, 2, ClearOn::NonZero},
};

inline constexpr ClearRow kClearHeli[] = {
    {8192, 2, 54, 0},
    {8194, 2, 54, 2},
    {8196, 2, 54, 4},
    {8198, 2, 54, 6},
    {8200, 4, 55, 0},
    {8204, 3, 57, 0},
    {8207, 1, 55, 4},
    {8208, 1, 55, 5},
    {8209, 1, 55, 6},
    {9822, 1, 55, 7},
    {8210, 3, 56, 0},
    {8213, 3, 56, 3},
    {9823, 2, 56, 6},
    {9825, 1, 57, 3},
    {9829, 3, 57, 4},
};

// One bit field of a flag byte: width bits from source bit 0 on, placed at
// target bit.
struct FlagBitRow {
    uint16_t target;
    uint8_t targetBit;
    uint32_t source;
    uint8_t width;
};

inline constexpr FlagBitRow kFlagBytes[] = {
    {58, 0, 7516, 1},   // flag byte A
    {58, 1, 7528, 1},
    {58, 2, 7520, 1},
    {58, 3, 7776, 1},
    {59, 2, 7642, 2},   // flag byte B
    {59, 4, 18551, 1},
};

// T 60 + m = (S[131105 + m] bits 0..1) + 4 * (bit 7 - m of S[7643]).
constexpr uint16_t kFlagBytes8 = 60;
constexpr uint32_t kFlagBytes8Source = 131105;
constexpr uint32_t kFlagBits8Source = 7643;

// Value table: 8 groups of 16 source values; values 0..10 to the first
// table, 11..15 to the second.
struct ValueRow {
    uint16_t target;
    uint16_t targetGroupStride;
    uint32_t source;
    uint16_t count;
};
constexpr uint32_t kValueSourceGroupStride = 32;
constexpr int kValueGroups = 8;
inline constexpr ValueRow kValueTables[] = {
    {100, 22, 7260, 11},
    {276, 10, 7282, 5},
};

constexpr uint16_t kFixedBytesAt = 2542;
inline constexpr uint8_t kFixedBytes[] = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 50, 0xFF, 0x00, 0x00};

// ---------------------------------------------------------------------------
// Static checks of the tables

namespace check {

// Fields follow one another without gap or overlap and fill the record;
// curve fields have the size of their curve record.
constexpr bool FieldsTile(std::span<const Field> fields, size_t recordSize)
{
    size_t at = 0;
    for (const Field& f : fields) {
        if (f.offset != at || f.size == 0)
            return false;
        if (f.op == Op::Curve17 && f.size != 51)
            return false;
        if (f.op == Op::Curve11 && f.size != 33)
            return false;
        if (f.op == Op::Masked && f.size != 1)
            return false;
        at += f.size;
    }
    return at == recordSize;
}

// Rows follow one another without gap or overlap from `from` to `to`; the
// fields of each record (and of its alternative form) tile its stride.
constexpr bool RowsTile(std::span<const Row> rows, size_t from, size_t to)
{
    size_t at = from;
    for (const Row& row : rows) {
        const Field whole[] = {{0, row.stride, row.op}};
        if (row.offset != at || row.count == 0)
            return false;
        if (!FieldsTile(row.fields.empty() ? std::span<const Field>(whole) : row.fields, row.stride))
            return false;
        if (!row.altFields.empty() && (!FieldsTile(row.altFields, row.stride) || row.selectBits == 0))
            return false;
        at += size_t(row.count) * row.stride;
    }
    return at == to;
}

static_assert(RowsTile(kConditionCommon, 0, px600::kTailOffset));
static_assert(RowsTile(kConditionTailPlane, px600::kTailOffset, px600::kConditionBlock.size));
static_assert(RowsTile(kConditionTailHeli, px600::kTailOffset, px600::kConditionBlock.size));

// The delay records lie inside a copied row of the plane tail.
constexpr bool DelayRecordsCopied()
{
    for (const Row& row : kConditionTailPlane)
        if (row.fields.empty() && row.op == Op::Copy && row.count == 1 && row.offset <= px600::kDelayRecords.offset &&
            px600::kDelayRecords.End() <= uint32_t(row.offset) + row.stride)
            return true;
    return false;
}
static_assert(DelayRecordsCopied());

// Setting rows: ascending, not overlapping, inside the block; each source
// record inside the control block.
constexpr bool SettingRowsFit(std::span<const SettingRow> rows, size_t from, size_t to)
{
    size_t at = from;
    for (const SettingRow& row : rows) {
        if (row.target < at || row.count == 0 || row.tmpl == Template::None)
            return false;
        at = row.target + px600::kRateRecordSize * row.count;
        if (size_t(row.source) + size_t(row.sourceStride) * (row.count - 1) + kSourceRecordSpan > kControlSize)
            return false;
    }
    return at <= to;
}
static_assert(SettingRowsFit(kSettingsCommon, px600::kChannelRates.offset, px600::kCurveRates.End()));
static_assert(SettingRowsFit(kSettingsPlane, px600::kPlaneRates.offset, px600::kPlaneRates.End()));
static_assert(SettingRowsFit(kSettingsHeli, px600::kHeliRates.offset, px600::kHeliRates.End()));

constexpr bool BitColumnsFit(std::span<const BitColumn> rows, size_t from, size_t to)
{
    for (const BitColumn& row : rows)
        if (row.target < from || row.target + row.count > to || row.targetBit > 7 || row.sourceBit > 7 ||
            row.source + row.count > kControlSize)
            return false;
    return true;
}
// Plane flag byte 570 keeps only its cleared bits.
static_assert(BitColumnsFit(kSettingsPlaneBits, px600::kPlaneFlags.offset + 1, px600::kPlaneFlags.End()));
static_assert(BitColumnsFit(kSettingsHeliBits, px600::kHeliFlags.offset, px600::kHeliFlags.End()));

// Every clear row stays inside T 42..57 and each bit is named at most once
// per model type.
constexpr bool ClearRowsFit(std::span<const ClearRow> common, std::span<const ClearRow> tail)
{
    bool seen[128] = {};
    for (auto rows : {common, tail})
        for (const ClearRow& row : rows) {
            if (row.k + row.count > kControlSize || row.tBit > 7)
                return false;
            for (int i = 0; i < row.count; ++i) {
                int bit = (row.tByte - kCombinedFlags) * 8 + row.tBit + i;
                if (bit < 0 || bit >= 8 * px600::kCombinedFlags.size || seen[bit])
                    return false;
                seen[bit] = true;
            }
        }
    return true;
}
static_assert(ClearRowsFit(kClearCommon, kClearPlane));
static_assert(ClearRowsFit(kClearCommon, kClearHeli));

static_assert(kValueTables[0].target + kValueGroups * kValueTables[0].targetGroupStride == kValueTables[1].target);
static_assert(kValueTables[1].target + kValueGroups * kValueTables[1].targetGroupStride == 356);
static_assert(kValueTables[0].source + 2 * kValueTables[0].count == kValueTables[1].source);
static_assert(kFixedBytesAt + sizeof(kFixedBytes) <= px600::kModelWide.size);

}  // namespace check

}  // namespace px400
