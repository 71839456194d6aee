// Where the PX600 image keeps its switch fields: every byte or 3-byte record
// that names a control, with the operation the switch pass applies to it, in
// the order the pass visits them.
#pragma once

#include <cstdint>
#include <span>

namespace switchfields {

enum class Kind : uint8_t {
    Range,      // switch range record, converted
    RangeStar,  // switch range record, reset when it holds a code 0x30..0x3E
    Reset,      // switch range record, always reset
    Switch,     // one-byte switch field
    Direct,     // one-byte field looked up whole in the hardware table
    Masked,     // one-byte field, low 6 bits looked up, only with the table
};

// Gated fields live in a record whose byte 0 holds flags selecting its form.
enum class Gate : uint8_t {
    Always,
    Bit5Set,
    Bit4Set,
    Bit4Clear,
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

constexpr int Width(Kind kind)
{
    return kind == Kind::Range || kind == Kind::RangeStar || kind == Kind::Reset ? 3 : 1;
}

constexpr const char* KindName(Kind kind)
{
    switch (kind) {
    case Kind::Range: return "range";
    case Kind::RangeStar: return "range*";
    case Kind::Reset: return "reset";
    case Kind::Switch: return "switch";
    case Kind::Direct: return "direct";
    case Kind::Masked: return "masked";
    }
    return "";
}

constexpr uint32_t kConditionBase = 640;
constexpr uint32_t kConditionSize = 3056;
constexpr uint32_t kTailOffset = 1984;

// Model-wide fields, image offsets.
inline constexpr Run kModelWide[] = {
    {65, 7, 4, Kind::Range},
    {234, 16, 1, Kind::Direct},
    {362, 2, 4, Kind::Range},
    {371, 2, 79, Kind::Range},  // 371 and 450
    {453, 1, 0, Kind::Range},
    {456, 20, 3, Kind::RangeStar},
    {524, 1, 0, Kind::Range},
    {530, 12, 1, Kind::Masked},
    {25216, 3, 4, Kind::Range},
    {25231, 3, 4, Kind::Range},
};

// Every condition block, block offsets.
inline constexpr Run kConditionCommon[] = {
    // 0 and 16, 1 and 17, ..., 15 and 31, pair by pair
    {0, 16, 1, Kind::Direct, Gate::Always, 0, 2, 16},
    {897, 6, 57, Kind::RangeStar},
    // ten 63-byte records at 1238, their form chosen by bits 4 and 5 of byte 0
    {1238, 10, 63, Kind::Switch, Gate::Bit5Set, 1},
    {1238, 10, 63, Kind::RangeStar, Gate::Always, 3},
    {1238, 10, 63, Kind::Switch, Gate::Bit4Set, 14, 4, 10},  // bytes 14, 24, 34, 44
    {1238, 10, 63, Kind::Switch, Gate::Bit4Clear, 61},
    {1878, 16, 3, Kind::Reset},
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
