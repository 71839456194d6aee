// Layout of a PX600 curve settings block built from a PX200 model, as data.
// Each table mirrors one group of rate records row by row; the interpreter in
// PX200CurveSettings.cpp walks them. The static checks at the end prove that
// every row lies inside the block and reads only inside the PX200 model data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/PX600Layout.h"

namespace px200::curvesettings {

constexpr size_t kRecordSize = px600::kRateRecordSize;
constexpr size_t kSourceSize = 6618;   // PX200 model data; nothing beyond is read
constexpr int kFunctions = 32;         // entries of the channel table

// ---------------------------------------------------------------------------
// Condition name

constexpr uint16_t kNameUnits = 8;            // big-endian UTF-16 at 0..15, 16..17 zero
constexpr uint16_t kNameSource = 1700;        // + 9 * c, transmitter character set
constexpr uint16_t kNameStride = 9;
// The default name; its last unit is the digit of condition c + 1.
inline constexpr char16_t kDefaultName[kNameUnits - 1] = {
    0x30B3, 0x30F3, 0x30C7, 0x30A3, 0x30B7, 0x30E7, 0x30F3};

// ---------------------------------------------------------------------------
// Record defaults

enum class Default : uint8_t { A, B, C };

// A, B, C in that order: mask 0x15555 with P = 1000, 1000; mask 0x15555 with
// all values 0; mask 0x007FF with P = 1000, 1000.
inline constexpr const auto& kDefaultBytes = px600::rate::kDefaults;

// count consecutive records from offset, each set to the default.
struct DefaultRow {
    uint16_t offset;
    uint16_t count;
    Default value;
};

// The records of a named rate record group.
constexpr DefaultRow DefaultsOf(const px600::Record& r, Default value) { return {r.offset, r.count, value}; }

inline constexpr DefaultRow kDefaultsCommon[] = {
    DefaultsOf(px600::kChannelRates, Default::A),
    DefaultsOf(px600::kDualRateRates, Default::A),  // from the rate tables' shared entries
    DefaultsOf(px600::kCurveRates, Default::B),
};

inline constexpr DefaultRow kDefaultsHeli[] = {
    {402, 4, Default::B},
    {450, 3, Default::B},
    {486, 2, Default::B},
    {510, 1, Default::A},
};

inline constexpr DefaultRow kDefaultsPlane[] = {
    {402, 1, Default::C},
    {414, 3, Default::C},
    {450, 6, Default::C},
    {522, 2, Default::B},
    {546, 1, Default::C},
    {558, 1, Default::A},
};

// ---------------------------------------------------------------------------
// Record fills

enum class Fill : uint8_t {
    Table,   // rate table entry a (rates a[3], a[4], exponentials a[5], a[6]) and offset b[0]
    Record,  // 12-byte PX200 curve record at a
    Pair,    // two rates a[0], a[1] and offset b[0]
    Curve,   // 5-point curve (positions a, values b): type and point mask only
    Values,  // two values
    Short,   // two values, 11-point mask
};

// How an operand is read: the byte at addr + stride * index as an address
// (Table, Record, Pair, Curve) or as a value (Values, Short).
enum class Read : uint8_t {
    Address,  // the fill reads the bytes it needs from here
    Signed,   // the signed byte
    Negated,  // the signed byte negated as an integer (-(-128) = 128)
    Zero,     // the value 0 (a curve: fixed positions); addr is not read
};

struct Operand {
    uint16_t addr;
    uint8_t stride = 0;  // per index step
    Read read = Read::Address;
};

// Which conditions a step runs for.
enum class When : uint8_t {
    Live,   // HELICOPTER and GLIDER: c < 5; other types: c = 0
    PX200,  // c < 5 for every model type
    First,  // c = 0
    Every,  // every condition 0..7 (no per-condition source)
};

// An extra condition of a step.
enum class Only : uint8_t {
    Always,
    CurveInUse,   // bit 7 of PX200 1427
    Airplane,     // model type 0
    SharedEntry,  // HELICOPTER and GLIDER: the table's marker is not 0x2F
};

constexpr uint16_t kCurveInUse = 1427;
constexpr uint8_t kNoFunction = 0xFF;

// One fill of one record. The record is the per-channel record of function
// (skipped when its channel is 16 or more) or, without a function, the one at
// record. The index of the operands is the condition c, or the entry index
// of the table whose group marker is at marker.
struct Step {
    Fill fill;
    uint8_t function;
    uint16_t record;
    Operand a;
    Operand b;
    uint8_t type = 0;
    When when = When::Live;
    Only only = Only::Always;
    uint16_t marker = 0;
};

constexpr uint16_t kRateTable0 = 527, kRateTable1 = 562, kRateTable3 = 597;  // 7 bytes per entry
constexpr uint16_t kOffsets0 = 682, kOffsets1 = 687, kOffsets3 = 692;

// The rate table entry i of a function into its per-channel record.
constexpr Step RateTable(uint8_t function, uint16_t table, uint16_t offsets)
{
    return {Fill::Table, function, 0, {table, 7}, {offsets, 1}, 0, When::Live, Only::Always, table};
}
// A fixed entry of a rate table into a fixed record.
constexpr Step SharedEntry(uint16_t record, uint16_t table, int entry, uint16_t offset)
{
    return {Fill::Table, kNoFunction, record, {uint16_t(table + 7 * entry)}, {offset}, 0,
            When::Live, Only::SharedEntry, table};
}
constexpr Step ChannelPair(uint8_t function, uint16_t rates, uint16_t offset, Only only = Only::Always)
{
    return {Fill::Pair, function, 0, {rates, 2}, {offset, 1}, 2, When::Live, only};
}
constexpr Step ChannelCurve(uint8_t function, uint16_t curve, uint8_t stride, Only only = Only::Always)
{
    return {Fill::Curve, function, 0, {curve, stride}, {uint16_t(curve + 5), stride}, 2, When::Live, only};
}
constexpr Step CurveRecord(uint16_t record, uint16_t source)
{
    return {Fill::Record, kNoFunction, record, {source}, {source}, 2, When::Every};
}
constexpr Step Values(uint16_t record, Operand a, Operand b)
{
    return {Fill::Values, kNoFunction, record, a, b, 0, When::PX200};
}
constexpr Operand S(uint16_t addr, uint8_t stride) { return {addr, stride, Read::Signed}; }
constexpr Operand Neg(uint16_t addr, uint8_t stride) { return {addr, stride, Read::Negated}; }
constexpr Operand kZero{0, 0, Read::Zero};

// Per-channel records: the three rate tables for every model type first.
inline constexpr Step kRateTables[] = {
    RateTable(0, kRateTable0, kOffsets0),
    RateTable(1, kRateTable1, kOffsets1),
    RateTable(3, kRateTable3, kOffsets3),
};

inline constexpr Step kChannelsHeli[] = {
    ChannelCurve(5, 1034, 10),
    ChannelCurve(2, 1084, 10),
};

inline constexpr Step kChannelsGlider[] = {
    ChannelPair(5, 1479, 1519),
    ChannelPair(23, 1509, 1534),
    ChannelPair(19, 1489, 1524),
    ChannelPair(22, 1499, 1529),
    ChannelCurve(24, 1428, 0, Only::CurveInUse),
};

inline constexpr Step kChannelsOther[] = {
    ChannelCurve(2, 1428, 0, Only::CurveInUse),
    ChannelPair(5, 1479, 1519, Only::Airplane),
    ChannelPair(23, 1509, 1534, Only::Airplane),
};

// Records 210..281: entries 2 and 1 of each rate table.
inline constexpr Step kSharedEntries[] = {
    SharedEntry(210, kRateTable0, 2, kOffsets0 + 2),
    SharedEntry(222, kRateTable0, 1, kOffsets0 + 1),
    SharedEntry(234, kRateTable1, 2, kOffsets1 + 2),
    SharedEntry(246, kRateTable1, 1, kOffsets1 + 1),
    SharedEntry(258, kRateTable3, 2, kOffsets3 + 2),
    SharedEntry(270, kRateTable3, 1, kOffsets3 + 1),
};

// Records 282..330 from the five PX200 curve records, in every condition.
inline constexpr Step kCurveRecords[] = {
    CurveRecord(282, 391),
    CurveRecord(294, 403),
    CurveRecord(306, 415),
    CurveRecord(318, 427),
    CurveRecord(330, 439),
};

inline constexpr Step kTailHeli[] = {
    Values(402, S(885, 8), S(886, 8)),
    Values(414, S(887, 8), S(888, 8)),
    Values(426, S(889, 8), S(890, 8)),
    Values(438, S(891, 8), S(892, 8)),
    Values(450, Neg(937, 6), S(938, 6)),
    Values(462, S(939, 6), Neg(940, 6)),
    Values(474, S(941, 6), S(942, 6)),
    // Positions -100, -50, 0, 50, 100 are fixed; the values at 1039 + 10c.
    {Fill::Curve, kNoFunction, 498, kZero, {1039, 10}, 2, When::PX200},
};

// Record 402 from the mode byte at 1563 + 2c and the value after it.
constexpr uint16_t kModeRecord = px600::kPlaneRates.offset;
constexpr uint16_t kModeSource = 1563;
constexpr uint8_t kModeStride = 2;

inline constexpr Step kTailGlider[] = {
    {Fill::Short, kNoFunction, 438, S(820, 2), S(821, 2), 0, When::PX200},
    Values(522, S(1403, 2), S(1404, 2)),
    Values(534, S(1417, 2), S(1418, 2)),
    {Fill::Short, kNoFunction, 546, kZero, kZero, 2, When::PX200},
};

inline constexpr Step kTailOther[] = {
    {Fill::Short, kNoFunction, 438, S(820, 2), S(821, 2), 0, When::PX200},
    {Fill::Curve, kNoFunction, 522, {1459}, {1464}, 2, When::First},
    {Fill::Curve, kNoFunction, 534, {1469}, {1474}, 2, When::First},
    {Fill::Short, kNoFunction, 546, kZero, kZero, 2, When::PX200},
};

// Record 558 keeps bytes 566..569 zero and byte 570 bits 0..1 clear.
constexpr uint16_t kPlaneZeroFrom = 566, kPlaneZeroTo = px600::kPlaneFlags.offset;
constexpr uint16_t kPlaneFlagByte = px600::kPlaneFlags.offset;

// ---------------------------------------------------------------------------
// Flag bits

// Three consecutive target bytes, each with bit targetBit first set to
// initial, then (PX200 conditions only) taken from bit sourceBit of the
// source byte (inverted when invert is set). The source of byte j is
// source + stride * j; when the marker at marker is 0x2F only the first
// target byte is written, from source + stride * c.
struct BitTriple {
    uint16_t target;
    uint8_t targetBit;
    uint16_t source;
    uint8_t sourceBit;
    uint8_t stride;
    bool initial;
    bool invert;
    uint16_t marker = 0;  // 0: no marker, every byte from its own source
};
constexpr int kTripleBytes = 3;

inline constexpr BitTriple kBitsHeli[] = {
    {522, 7, 1160, 1, 8, false, true, 1161},
    {525, 7, 1200, 1, 8, false, false, 1201},
    {528, 7, 1281, 1, 8, false, true, 1282},
    {531, 7, 1321, 1, 8, false, true, 1322},
};

inline constexpr BitTriple kBitsPlane[] = {
    {571, 5, 1378, 3, 7, true, false},
    {571, 6, 1378, 2, 7, true, false},
    {571, 7, 1378, 1, 7, true, false},
};

// ---------------------------------------------------------------------------
// Static checks of the tables

namespace check {

constexpr size_t kLastPX200Condition = 4;

// Default rows ascending, not overlapping, inside from..to.
constexpr bool DefaultsFit(std::span<const DefaultRow> rows, size_t from, size_t to)
{
    size_t at = from;
    for (const DefaultRow& row : rows) {
        if (row.offset < at || row.count == 0)
            return false;
        at = row.offset + kRecordSize * row.count;
    }
    return at <= to;
}
static_assert(DefaultsFit(kDefaultsCommon, px600::kChannelRates.offset, px600::kCurveRates.End()));
static_assert(DefaultsFit(kDefaultsHeli, px600::kHeliRates.offset, px600::kHeliRates.End()));
static_assert(DefaultsFit(kDefaultsPlane, px600::kPlaneRates.offset, px600::kPlaneRates.End()));

constexpr size_t OperandSpan(Fill fill, bool first)
{
    switch (fill) {
    case Fill::Table: return first ? 7 : 1;
    case Fill::Record: return 12;
    case Fill::Pair: return first ? 2 : 1;
    case Fill::Curve: return 5;
    default: return 1;
    }
}

// The highest index an operand is read with: entries and conditions 0..4.
constexpr bool OperandFits(const Operand& op, Fill fill, bool first)
{
    const bool value = fill == Fill::Values || fill == Fill::Short;
    if (op.read == Read::Zero)
        return value || fill == Fill::Curve;
    if (value != (op.read != Read::Address))
        return false;
    return op.addr + op.stride * kLastPX200Condition + OperandSpan(fill, first) <= kSourceSize;
}

// Every step writes a record inside from..to (steps naming a function only
// in the per-channel group at 18), reads inside the PX200 data, and a step
// that runs in conditions 5..7 reads no per-condition source.
constexpr bool StepsFit(std::span<const Step> steps, size_t from, size_t to)
{
    for (const Step& s : steps) {
        if (s.function == kNoFunction) {
            if (s.record < from || s.record + kRecordSize > to)
                return false;
        } else if (s.function >= kFunctions || from != px600::kChannelRates.offset) {
            return false;
        }
        if (!OperandFits(s.a, s.fill, true) || !OperandFits(s.b, s.fill, false))
            return false;
        if (s.when == When::Every && (s.a.stride != 0 || s.b.stride != 0))
            return false;
        if (s.type > 15 || s.marker >= kSourceSize)
            return false;
        if ((s.only == Only::SharedEntry) != (s.marker != 0 && s.function == kNoFunction))
            return false;
    }
    return true;
}
constexpr bool StepsFit(std::span<const Step> steps, const px600::Record& r)
{
    return StepsFit(steps, r.offset, r.End());
}
static_assert(StepsFit(kRateTables, px600::kChannelRates));
static_assert(StepsFit(kChannelsHeli, px600::kChannelRates));
static_assert(StepsFit(kChannelsGlider, px600::kChannelRates));
static_assert(StepsFit(kChannelsOther, px600::kChannelRates));
static_assert(StepsFit(kSharedEntries, px600::kDualRateRates));
static_assert(StepsFit(kCurveRecords, px600::kCurveRates));
static_assert(StepsFit(kTailHeli, px600::kHeliRates));
static_assert(StepsFit(kTailGlider, px600::kPlaneRates));
static_assert(StepsFit(kTailOther, px600::kPlaneRates));
static_assert(kModeSource + kModeStride * kLastPX200Condition + 2 <= kSourceSize);
static_assert(kNameSource + kNameStride * kLastPX200Condition + kNameUnits <= kSourceSize);

constexpr bool BitsFit(std::span<const BitTriple> rows, size_t from, size_t to)
{
    for (const BitTriple& row : rows) {
        if (row.target < from || row.target + size_t(kTripleBytes) > to || row.targetBit > 7 || row.sourceBit > 7)
            return false;
        const size_t last = row.marker != 0 ? kLastPX200Condition : kTripleBytes - 1;
        if (row.source + row.stride * last >= kSourceSize || row.marker >= kSourceSize)
            return false;
    }
    return true;
}
static_assert(BitsFit(kBitsHeli, px600::kHeliFlags.offset, px600::kHeliFlags.End()));
static_assert(BitsFit(kBitsPlane, px600::kPlaneFlags.offset + 1, px600::kPlaneFlags.End()));

}  // namespace check

}  // namespace px200::curvesettings
