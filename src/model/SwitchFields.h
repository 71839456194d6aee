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

// Gated fields live in a curve record, whose flags byte selects its form.
enum class Gate : uint8_t {
    Always,
    HasSwitch,  // flag bit 5 set
    HasGroups,  // flag bit 4 set
    HasCurve,   // flag bit 4 clear
};

// A run of fields: `count` records `stride` bytes apart starting at `offset`;
// in each record `perRecord` fields starting at byte `at`, `fieldStride` apart.
// The gate is tested on byte 0 of each record.
struct Run {
    uint16_t offset;
    uint16_t count;
    uint16_t stride;
    Kind kind;
    Gate gate = Gate::Always;
    uint8_t at = 0;
    uint8_t perRecord = 1;
    uint8_t fieldStride = 0;
};

// The fields at `at` of every record of a named record group.
constexpr Run In(const px600::Record& r, Kind kind, uint8_t at = 0, Gate gate = Gate::Always, uint8_t perRecord = 1,
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
    In(px600::kSwitchPairs, Kind::RangeStar, 0, Gate::Always, 2, 3),
    In(px600::kSettingsRange5, Kind::Range),
    In(px600::kModeControlFields, Kind::Masked),
    In(px600::kTimers, Kind::Range, px600::timer::kSwitchRange, Gate::Always, px600::timer::kSwitchRanges,
       px600::timer::kSwitchRangeStride),
};

// Every condition block, block offsets.
inline constexpr Run kConditionCommon[] = {
    // bytes 0 and 16, 1 and 17, ..., 15 and 31 of the byte tables, pair by pair
    {px600::kByteTables.offset, px600::kByteTables.size, 1, Kind::Direct, Gate::Always, 0, 2,
     uint8_t(px600::kByteTables.size)},
    In(px600::kDualRates, Kind::RangeStar, px600::dualrate::kSwitch),
    In(px600::kCurveRecords, Kind::Switch, px600::curverecord::kSwitch, Gate::HasSwitch),
    In(px600::kCurveRecords, Kind::RangeStar, px600::curverecord::kSwitchRange),
    In(px600::kCurveRecords, Kind::Switch, px600::curverecord::kGroupSwitch, Gate::HasGroups,
       px600::curverecord::kGroups, px600::curverecord::kGroupSize),
    In(px600::kCurveRecords, Kind::Switch, px600::curverecord::kCurveSwitch, Gate::HasCurve),
    In(px600::kResetRanges, Kind::Reset),
};

// Tail of AIRPLANE, GLIDER and MULTICOPTER condition blocks.
inline constexpr Run kTailPlane[] = {
    {1992, 1, 0, Kind::Switch}, {2169, 1, 0, Kind::Switch}, {2228, 1, 0, Kind::Switch},
    {2408, 1, 0, Kind::Switch}, {2451, 1, 0, Kind::Switch}, {2516, 1, 0, Kind::Switch},
    {2573, 1, 0, Kind::Switch}, {2757, 1, 0, Kind::Switch}, {2759, 1, 0, Kind::Switch},
    {2765, 1, 0, Kind::Switch}, {2767, 1, 0, Kind::Switch}, {2773, 1, 0, Kind::Switch},
    {2775, 1, 0, Kind::Switch}, {2781, 1, 0, Kind::Switch}, {2783, 1, 0, Kind::Switch},
    {2789, 1, 0, Kind::Switch}, {2791, 1, 0, Kind::Switch}, {2813, 1, 0, Kind::Switch},
    {2856, 1, 0, Kind::Switch},

    {2043, 1, 0, Kind::RangeStar}, {2051, 1, 0, Kind::RangeStar}, {2092, 1, 0, Kind::RangeStar},
    {2133, 1, 0, Kind::RangeStar}, {2172, 1, 0, Kind::RangeStar}, {2231, 1, 0, Kind::RangeStar},
    {2364, 1, 0, Kind::RangeStar}, {2368, 1, 0, Kind::RangeStar}, {2411, 1, 0, Kind::RangeStar},
    {2462, 1, 0, Kind::RangeStar}, {2519, 1, 0, Kind::RangeStar}, {2576, 1, 0, Kind::RangeStar},
    {2589, 1, 0, Kind::RangeStar}, {2602, 1, 0, Kind::RangeStar}, {2615, 1, 0, Kind::RangeStar},
    {2627, 1, 0, Kind::RangeStar}, {2631, 1, 0, Kind::RangeStar}, {2635, 1, 0, Kind::RangeStar},
    {2695, 1, 0, Kind::RangeStar}, {2798, 1, 0, Kind::RangeStar}, {2834, 1, 0, Kind::RangeStar},
    {2837, 1, 0, Kind::RangeStar}, {2841, 1, 0, Kind::RangeStar}, {2877, 1, 0, Kind::RangeStar},
    {2880, 1, 0, Kind::RangeStar}, {2884, 1, 0, Kind::RangeStar}, {2894, 1, 0, Kind::RangeStar},
    {2901, 1, 0, Kind::RangeStar}, {2908, 1, 0, Kind::RangeStar}, {2927, 1, 0, Kind::RangeStar},
};

// Tail of HELICOPTER condition blocks.
inline constexpr Run kTailHeli[] = {
    {1985, 1, 0, Kind::Switch}, {1988, 1, 0, Kind::Switch}, {1991, 1, 0, Kind::Switch},
    {1996, 1, 0, Kind::Switch}, {2600, 1, 0, Kind::Switch}, {2602, 1, 0, Kind::Switch},

    {2013, 1, 0, Kind::RangeStar}, {2020, 1, 0, Kind::RangeStar}, {2027, 1, 0, Kind::RangeStar},
    {2082, 1, 0, Kind::RangeStar}, {2137, 1, 0, Kind::RangeStar}, {2192, 1, 0, Kind::RangeStar},
    {2247, 1, 0, Kind::RangeStar}, {2307, 1, 0, Kind::RangeStar}, {2367, 1, 0, Kind::RangeStar},
    {2427, 1, 0, Kind::RangeStar},

    // thirteen pairs of a range record and its switch field
    {2610, 1, 0, Kind::RangeStar}, {2614, 1, 0, Kind::Switch},
    {2660, 1, 0, Kind::RangeStar}, {2664, 1, 0, Kind::Switch},
    {2681, 1, 0, Kind::RangeStar}, {2685, 1, 0, Kind::Switch},
    {2617, 1, 0, Kind::RangeStar}, {2621, 1, 0, Kind::Switch},
    {2667, 1, 0, Kind::RangeStar}, {2671, 1, 0, Kind::Switch},
    {2688, 1, 0, Kind::RangeStar}, {2692, 1, 0, Kind::Switch},
    {2624, 1, 0, Kind::RangeStar}, {2628, 1, 0, Kind::Switch},
    {2674, 1, 0, Kind::RangeStar}, {2678, 1, 0, Kind::Switch},
    {2695, 1, 0, Kind::RangeStar}, {2699, 1, 0, Kind::Switch},
    {2631, 1, 0, Kind::RangeStar}, {2635, 1, 0, Kind::Switch},
    {2638, 1, 0, Kind::RangeStar}, {2642, 1, 0, Kind::Switch},
    {2645, 1, 0, Kind::RangeStar}, {2649, 1, 0, Kind::Switch},
    {2652, 1, 0, Kind::RangeStar}, {2655, 1, 0, Kind::Switch},
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
