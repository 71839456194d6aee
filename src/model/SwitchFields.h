// Where the PX600 image keeps its switch fields: every byte or 3-byte record
// that names a control, with the operation the switch pass applies to it, in
// the order the pass visits them. Fields inside named records are placed by
// the record (PX600Layout.h); the tails' fields by their block offsets.
#pragma once

#include <cstdint>
#include <span>

#include "model/PX600Layout.h"

namespace switchfields {

enum class Kind : uint8_t {
    Range,      // switch range record, converted
    RangeStar,  // switch range record, reset when it holds a code 0x30..0x3E
    Reset,      // switch range record, always reset
    Switch,     // one-byte switch field
    Direct,     // one-byte field looked up whole in the hardware table
    Masked,     // one-byte field, low 6 bits looked up, only with the table
};

// Gated fields live in a curve record, whose flags byte selects its form: a
// field is visited when the flags byte, masked, holds the value.
struct Gate {
    uint8_t mask = 0;
    uint8_t value = 0;
    constexpr bool Open(uint8_t flags) const { return (flags & mask) == value; }
};
constexpr Gate kAlways{}, kHasSwitch{px600::curverecord::kHasSwitch, px600::curverecord::kHasSwitch},
    kHasGroups{px600::curverecord::kHasGroups, px600::curverecord::kHasGroups},
    kHasCurve{px600::curverecord::kHasGroups, 0};

// A run of fields: `count` records `stride` bytes apart starting at `offset`;
// in each record `perRecord` fields starting at byte `at`, `fieldStride` apart.
// The gate is tested on byte 0 of each record.
struct Run {
    uint16_t offset;
    uint16_t count;
    uint16_t stride;
    Kind kind;
    Gate gate = kAlways;
    uint8_t at = 0;
    uint8_t perRecord = 1;
    uint8_t fieldStride = 0;
};

// The fields at `at` of every record of a named record group.
constexpr Run In(const px600::Record& r, Kind kind, uint8_t at = 0, Gate gate = kAlways, uint8_t perRecord = 1,
                 uint8_t fieldStride = 0)
{
    return {r.offset, r.count, uint16_t(r.At(1) - r.At(0)), kind, gate, at, perRecord, fieldStride};
}

constexpr int Width(Kind kind)
{
    return kind == Kind::Range || kind == Kind::RangeStar || kind == Kind::Reset ? 3 : 1;
}

// Model-wide fields, image offsets.
inline constexpr Run kModelWide[] = {
    In(px600::kSettingsRanges, Kind::Range),
    In(px600::kControlFields, Kind::Direct),
    In(px600::kSettingsRanges2, Kind::Range),
    In(px600::kSettingsRanges3, Kind::Range),
    In(px600::kSettingsRange4, Kind::Range),
    In(px600::kSwitchPairs, Kind::RangeStar, 0, kAlways, 2, 3),
    In(px600::kSettingsRange5, Kind::Range),
    In(px600::kModeControlFields, Kind::Masked),
    In(px600::kTimers, Kind::Range, px600::timer::kSwitchRange, kAlways, px600::timer::kSwitchRanges,
       px600::timer::kRangeStride),
};

// Every condition block, block offsets.
inline constexpr Run kConditionCommon[] = {
    // bytes 0 and 16, 1 and 17, ..., 15 and 31 of the byte tables, pair by pair
    {px600::kByteTables.offset, px600::kByteTables.size, 1, Kind::Direct, kAlways, 0, 2,
     uint8_t(px600::kByteTables.size)},
    In(px600::kDualRates, Kind::RangeStar, px600::dualrate::kSwitch),
    In(px600::kCurveRecords, Kind::Switch, px600::curverecord::kSwitch, kHasSwitch),
    In(px600::kCurveRecords, Kind::RangeStar, px600::curverecord::kSwitchRange),
    In(px600::kCurveRecords, Kind::Switch, px600::curverecord::kGroupSwitch, kHasGroups,
       px600::curverecord::kGroups, px600::curverecord::kGroupSize),
    In(px600::kCurveRecords, Kind::Switch, px600::curverecord::kCurveSwitch, kHasCurve),
    In(px600::kResetRanges, Kind::Reset),
};

// One switch field or range* record of a tail.
constexpr Run SwitchAt(uint16_t offset) { return {offset, 1, 0, Kind::Switch}; }
constexpr Run RangeAt(uint16_t offset) { return {offset, 1, 0, Kind::RangeStar}; }

// Tail of AIRPLANE, GLIDER and MULTICOPTER condition blocks.
inline constexpr Run kTailPlane[] = {
    SwitchAt(1992), SwitchAt(2169), SwitchAt(2228), SwitchAt(2408), SwitchAt(2451), SwitchAt(2516), SwitchAt(2573),
    SwitchAt(2757), SwitchAt(2759), SwitchAt(2765), SwitchAt(2767), SwitchAt(2773), SwitchAt(2775), SwitchAt(2781),
    SwitchAt(2783), SwitchAt(2789), SwitchAt(2791), SwitchAt(2813), SwitchAt(2856),
    RangeAt(2043), RangeAt(2051), RangeAt(2092), RangeAt(2133), RangeAt(2172), RangeAt(2231), RangeAt(2364),
    RangeAt(2368), RangeAt(2411), RangeAt(2462), RangeAt(2519), RangeAt(2576), RangeAt(2589), RangeAt(2602),
    RangeAt(2615), RangeAt(2627), RangeAt(2631), RangeAt(2635), RangeAt(2695), RangeAt(2798), RangeAt(2834),
    RangeAt(2837), RangeAt(2841), RangeAt(2877), RangeAt(2880), RangeAt(2884), RangeAt(2894), RangeAt(2901),
    RangeAt(2908), RangeAt(2927),
};

// Tail of HELICOPTER condition blocks: switch fields, range* records, then
// thirteen pairs of a range* record and its switch field.
inline constexpr Run kTailHeli[] = {
    SwitchAt(1985), SwitchAt(1988), SwitchAt(1991), SwitchAt(1996), SwitchAt(2600), SwitchAt(2602),
    RangeAt(2013), RangeAt(2020), RangeAt(2027), RangeAt(2082), RangeAt(2137), RangeAt(2192), RangeAt(2247),
    RangeAt(2307), RangeAt(2367), RangeAt(2427),
    RangeAt(2610), SwitchAt(2614), RangeAt(2660), SwitchAt(2664), RangeAt(2681), SwitchAt(2685),
    RangeAt(2617), SwitchAt(2621), RangeAt(2667), SwitchAt(2671), RangeAt(2688), SwitchAt(2692),
    RangeAt(2624), SwitchAt(2628), RangeAt(2674), SwitchAt(2678), RangeAt(2695), SwitchAt(2699),
    RangeAt(2631), SwitchAt(2635), RangeAt(2638), SwitchAt(2642), RangeAt(2645), SwitchAt(2649),
    RangeAt(2652), SwitchAt(2655),
};

// One visited field: its offset (image or block), kind, and the offset of the
// flags byte its gate reads.
struct Field {
    uint32_t offset;
    uint32_t flagsOffset;
    Kind kind;
    Gate gate;
};

// Calls visit(Field) for every field of the runs, in visiting order.
template <typename Visit>
constexpr void ForEachField(std::span<const Run> runs, Visit&& visit)
{
    for (const Run& run : runs) {
        for (uint32_t r = 0; r < run.count; ++r) {
            const uint32_t record = run.offset + r * run.stride;
            for (uint32_t f = 0; f < run.perRecord; ++f)
                visit(Field{record + run.at + f * run.fieldStride, record, run.kind, run.gate});
        }
    }
}

}  // namespace switchfields
