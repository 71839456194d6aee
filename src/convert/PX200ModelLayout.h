// Layouts of the two model-wide PX200 to PX600 conversions, as data: the
// model settings block (PX600 64..639) and the model-wide block (PX600
// 25200..28139). Each table mirrors the layout row by row; the interpreter in
// PX200ModelBlocks.cpp walks them. The static checks at the end prove that
// every row lies inside its block, that the rows of a table ascend without
// overlap, and that every source byte lies inside the PX200 model data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

#include "model/PX600Layout.h"

namespace px200::model {

constexpr uint32_t kModelDataSize = 6618;      // bytes of PX200 model data

constexpr uint32_t kModelTypeByte = 1;         // PX200 model type byte
constexpr uint8_t kHeliModelTypeByte = 1;
constexpr int kChannels = 12;                  // channel numbers 0..11
constexpr int kFunctions = 32;                 // entries of the channel table

// ---------------------------------------------------------------------------
// Rows of copied, filled and rebuilt bytes

enum class Op : uint8_t {
    Copy,          // size bytes from source on, as stored
    Fill,          // size bytes of value
    EverySecond,   // byte k from source + 2 * k
    ChannelBytes,  // entry k: the per-channel byte at source + channel of
                   // function k, or value when function k has no channel
    Permute,       // a 2-byte bit set at source spread by the channel table
                   // into 4 bytes: bit k = bit (channel of function k)
    CopyHeliGlider,     // Copy for HELICOPTER and GLIDER models only
    CopyUnlessHeliByte, // Copy unless the PX200 model type byte is 1
};

struct Row {
    uint16_t target;   // PX600 image offset
    uint16_t size;     // target bytes
    Op op;
    uint16_t source = 0;  // PX200 image offset (not used by Fill)
    uint8_t value = 0;    // Fill: the byte; ChannelBytes: the byte for no channel
};

// Bytes of PX600 370..374 for a PX200 helicopter (model type byte 1).
inline constexpr uint8_t kHeliBytes370[] = {0x00, 0xFF, 0x00, 0x00, 0x00};

// The model settings block, in order. The seven switch range records at
// 65 + 4k are reset first; the 64..79 row may overwrite them.
inline constexpr Row kSettingsRows[] = {
    {64, 16, Op::CopyHeliGlider, 451},
    {93, 2, Op::Copy, 152},
    {95, 1, Op::Fill, 0, 0x00},
    {96, 1, Op::Copy, 159},
    {98, 16, Op::Copy, 174},
    {114, 4, Op::Fill, 0, 0x1F},
    {118, 32, Op::Copy, 190},   // the channel table, first copy
    {150, 32, Op::Copy, 190},   // the channel table, second copy
    {182, 32, Op::ChannelBytes, 246, 0x1E},
    {214, 4, Op::Fill, 0, 0x00},
    {218, 4, Op::Permute, 260},
    {222, 4, Op::Permute, 262},
    {226, 4, Op::Copy, 264},
    {230, 3, Op::Fill, 0, 0x04},
    {233, 19, Op::Fill, 0, 0x00},
    {252, 1, Op::Copy, 268},
    {253, 1, Op::Copy, 165},
    {254, 16, Op::Copy, 290},
    {270, 8, Op::Copy, 706},
    {278, 16, Op::Copy, 664},
    {294, 8, Op::Copy, 714},
    {302, 32, Op::Fill, 0, 0x00},
    {334, 1, Op::Copy, 269},
    {335, 1, Op::Copy, 697},
    {336, 16, Op::Copy, 270},
    {352, 8, Op::Copy, 698},
    {360, 1, Op::Copy, 286},
    {361, 1, Op::Copy, 164},
    {362, 3, Op::Copy, 287},    // a switch range record
    {365, 4, Op::Copy, 386},    // 366..368 a switch range record
    {369, 1, Op::Copy, 390},
    {370, 5, Op::CopyUnlessHeliByte, 1363},
    {375, 2, Op::Copy, 730},
    {377, 1, Op::Copy, 732},
    {378, 8, Op::Copy, 733},
    {386, 2, Op::Copy, 741},
    {388, 2, Op::Copy, 728},
    {390, 8, Op::Copy, 751},
    {398, 1, Op::Copy, 759},
    {399, 1, Op::Copy, 760},
    {400, 1, Op::Copy, 761},
    {401, 2, Op::Copy, 2208},
    {403, 1, Op::Copy, 2205},
    {404, 2, Op::Fill, 0, 0x00},
    {406, 8, Op::Copy, 2196},
    {414, 16, Op::Copy, 306},
    {430, 8, Op::Copy, 166},
    {438, 12, Op::EverySecond, 1812},
    {450, 6, Op::Copy, 322},    // two switch range records, 450 and 453
    {456, 18, Op::Copy, 328},   // three pairs of switch range records
    {519, 4, Op::Permute, 258},
    {523, 7, Op::Copy, 633},    // 524..526 a switch range record
    {530, 12, Op::Fill, 0, 0xFF},  // twelve one-byte switch fields: no control
    {542, 12, Op::Copy, 652},
    {554, 8, Op::Copy, 743},
    {562, 8, Op::Fill, 0, 0x64},
    {570, 8, Op::Fill, 0, 0x87},
    {578, 29, Op::Fill, 0, 0x00},
    {607, 12, Op::Copy, 640},
};

// The last entries of both copies of the channel table, set when the PX200's
// last function has no channel.
constexpr uint16_t kLastChannelEntries[] = {181, 213};
constexpr uint16_t kLastFunction = 190 + kFunctions - 1;

// ---------------------------------------------------------------------------
// Bit fields: width bits from bit sourceBit of a PX200 byte, placed at bit
// targetBit of a PX600 byte; the target's other bits keep their values.

struct BitField {
    uint16_t target;
    uint8_t targetBit;
    uint16_t source;
    uint8_t sourceBit;
    uint8_t width = 1;
};

// Settings block bytes 92, 516 and 518; the bits not named stay 0.
inline constexpr BitField kSettingsBits[] = {
    {92, 0, 2207, 7},
    {92, 1, 2206, 7},
    {92, 2, 156, 7},
    {92, 4, 154, 0, 4},
    {516, 1, 2204, 0},
    {516, 2, 2206, 0, 6},
    {518, 5, 154, 5, 3},
};

// ---------------------------------------------------------------------------
// Model-wide block

// Copied and fixed bytes, each group in the place of its step.
inline constexpr Row kModelHead[] = {
    {25200, 4, Op::Copy, 80},
};

// Two timer records: flag byte F at 110 + 9i, the 16-bit value T after it,
// the 32-bit value E at 135 + 4i; into PX600 timer record i and its 32-bit
// value at 25204 + 4i.
struct TimerRow {
    uint16_t flags;       // PX200 F
    uint16_t total;       // PX200 E (big-endian 32 bits)
    uint16_t extraRecord; // PX200 switch range record at 144 + 3i
    uint16_t value;       // PX600 4-byte value
};

inline constexpr TimerRow kTimers[] = {
    {110, 135, 144, 25204},
    {119, 139, 147, 25208},
};

constexpr uint8_t kTimerFlagMask = 0x0B;   // bits 0, 1 and 3 of F
constexpr uint8_t kTimerCountDown = 0x02;  // bit 1 of F: v = 10 * T - E

// One field of a timer record: size bytes from the PX200 at F + from.
struct TimerField {
    uint8_t at;     // within the 15-byte record
    uint8_t size;
    uint8_t from;   // from the flag byte F on
};
// The time T, the first and third switch range records from the ones after
// T; the second comes from the separate record (kTimers[i].extraRecord).
inline constexpr TimerField kTimerFields[] = {
    {px600::timer::kTime, 2, 1},
    {px600::timer::kSwitchRange, 3, 3},
    {px600::timer::kSwitchRange + 2 * px600::timer::kRangeStride, 3, 6},
};
constexpr uint8_t kTimerExtraAt = px600::timer::kSwitchRange + px600::timer::kRangeStride;

inline constexpr BitField kModelBits[] = {
    {25212, 4, 1698, 0, 2},   // the timer records' modes
    {25227, 4, 1699, 0, 2},
    {25258, 0, 99, 0},
    {25258, 1, 119, 2},
    {25258, 2, 110, 2},
    {25258, 3, 99, 2},
    {25259, 0, 99, 7},        // bits 0..1: 0 or 1
    {25259, 4, 99, 1},
};

// Byte 25259 bits 2..3: 2 when bit 6 of PX200 99 is set, else 1 when bit 4
// is set, else 0.
constexpr uint16_t kSourceModeByte = 25259;
constexpr uint16_t kSourceFlags = 99;

inline constexpr Row kModelSwitchDefaults[] = {
    {25242, 2, Op::Fill, 0, 0xFF},
    {25244, 2, Op::Fill, 0, 0xFF},
    {25246, 6, Op::Fill, 0, 0x00},
    {25252, 2, Op::Fill, 0, 0xFF},
    {25254, 4, Op::Fill, 0, 0x00},
};

// Seven mode bytes: bits 0..1 from a PX200 mode byte (above 3: mode 1), bit 2
// from one bit of PX200 143. Gliders and helicopters take some from
// elsewhere.
struct ModeRow {
    uint16_t target;
    uint16_t source;
    uint8_t bit;
    uint16_t gliderSource;
    uint8_t gliderBit;
    uint16_t heliSource;
    uint8_t heliBit;
};

constexpr uint16_t kModeBits = 143;
inline constexpr ModeRow kModeBytes[] = {
    {25260, 1685, 0, 1685, 0, 1685, 0},
    {25261, 1686, 1, 1686, 1, 1686, 1},
    {25262, 1687, 2, 1687, 2, 1687, 2},
    {25263, 1688, 3, 1690, 5, 1688, 3},
    {25264, 1692, 7, 1692, 7, 1692, 7},
    {25265, 1691, 6, 1691, 6, 1690, 5},
    {25266, 1689, 4, 1689, 4, 1689, 4},
};
constexpr uint16_t kModeTail = 25267;   // bits 0..3 cleared

inline constexpr Row kModelZeros[] = {
    {25268, 32, Op::Fill, 0, 0x00},
    {25300, 256, Op::Fill, 0, 0x00},
    {25564, 1, Op::Fill, 0, 0x00},
    {27742, 2, Op::Fill, 0, 0xFF},
    {27744, 1, Op::Fill, 0, 0xFF},
};

// Byte 27747: bits 0..6 from the signed percentage at 1880, bit 7 from 1876.
constexpr uint16_t kPercentTarget = 27747;
constexpr uint16_t kPercentSource = 1880;
constexpr uint16_t kPercentFlag = 1876;

inline constexpr Row kModelTail[] = {
    {27748, 2, Op::Copy, 1877},
    {27750, 1, Op::Copy, 1879},
};

// ---------------------------------------------------------------------------
// Static checks of the tables

namespace check {

// PX200 bytes a row reads, one past the last.
constexpr size_t SourceEnd(const Row& row)
{
    switch (row.op) {
    case Op::Fill:
        return 0;
    case Op::EverySecond:
        return size_t(row.source) + 2u * (row.size - 1u) + 1u;
    case Op::ChannelBytes:
        return size_t(row.source) + kChannels;
    case Op::Permute:
        return size_t(row.source) + 2u;
    default:
        return size_t(row.source) + row.size;
    }
}

// Rows ascend without overlap inside [from, to); each reads only PX200 model
// data; the shaped rows have their fixed sizes.
constexpr bool RowsFit(std::span<const Row> rows, size_t from, size_t to)
{
    size_t at = from;
    for (const Row& row : rows) {
        if (row.target < at || row.size == 0)
            return false;
        at = size_t(row.target) + row.size;
        if (SourceEnd(row) > kModelDataSize)
            return false;
        if (row.op == Op::Permute && row.size != 4)
            return false;
        if (row.op == Op::ChannelBytes && row.size != kFunctions)
            return false;
        if (row.op == Op::CopyUnlessHeliByte && row.size != sizeof(kHeliBytes370))
            return false;
    }
    return at <= to;
}

constexpr bool Covered(std::span<const Row> rows, size_t target)
{
    for (const Row& row : rows)
        if (target >= row.target && target < size_t(row.target) + row.size)
            return true;
    return false;
}

// Bit rows stay inside their block and their bytes; the settings block's bit
// bytes lie between rows, so no row overwrites them.
constexpr bool BitsFit(std::span<const BitField> bits, std::span<const Row> rows, size_t from, size_t to)
{
    for (const BitField& b : bits) {
        if (b.target < from || b.target >= to || b.width == 0)
            return false;
        if (b.targetBit + b.width > 8 || b.sourceBit + b.width > 8 || b.source >= kModelDataSize)
            return false;
        if (Covered(rows, b.target))
            return false;
    }
    return true;
}

static_assert(RowsFit(kSettingsRows, px600::kModelSettings.offset, px600::kModelSettings.End()));
static_assert(BitsFit(kSettingsBits, kSettingsRows, px600::kModelSettings.offset, px600::kModelSettings.End()));
static_assert(px600::kSettingsRanges.End() <= kSettingsRows[1].target);
static_assert(Covered(kSettingsRows, kLastChannelEntries[0]) && Covered(kSettingsRows, kLastChannelEntries[1]));

static_assert(RowsFit(kModelHead, px600::kModelWide.offset, kTimers[0].value));
static_assert(RowsFit(kModelSwitchDefaults, px600::kTimers.End(), kSourceModeByte - 1));
static_assert(RowsFit(kModelZeros, kModeTail + 1, kPercentTarget));
static_assert(RowsFit(kModelTail, kPercentTarget + 1, px600::kModelWide.End()));
static_assert(BitsFit(kModelBits, kModelSwitchDefaults, px600::kModelWide.offset, px600::kModelWide.End()));

// Each timer field lies inside its 9-byte PX200 record and its PX600 record;
// the two PX600 records follow the two values without a gap.
constexpr bool TimersFit()
{
    for (const TimerRow& t : kTimers) {
        for (const TimerField& f : kTimerFields)
            if (f.at + f.size > px600::kTimers.size || f.from + f.size > 9)
                return false;
        if (kTimerExtraAt + 3 > px600::kTimers.size || t.extraRecord + 3u > kModelDataSize)
            return false;
    }
    return std::size(kTimers) == px600::kTimers.count && kTimers[1].value + 4u == px600::kTimers.offset &&
           kTimers[1].flags == kTimers[0].flags + 9 && kTimers[1].extraRecord == kTimers[0].extraRecord + 3;
}
static_assert(TimersFit());

constexpr bool ModesFit()
{
    uint16_t at = kModeBytes[0].target;
    for (const ModeRow& m : kModeBytes) {
        if (m.target != at++ || m.bit > 7 || m.gliderBit > 7 || m.heliBit > 7)
            return false;
        for (uint16_t s : {m.source, m.gliderSource, m.heliSource})
            if (s < 1685 || s > 1692)
                return false;
    }
    return at == kModeTail;
}
static_assert(ModesFit());

}  // namespace check

}  // namespace px200::model
