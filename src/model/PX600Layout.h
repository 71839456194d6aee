// The PX600 model data image by name: its blocks, the records inside them as
// far as the format names them, their fields, and a look-up from an image
// offset to the block, condition and record that hold it. The conversion
// tables, the delay check, the switch pass and the switch report take their
// positions from here; the static checks at the end prove that the blocks tile
// the image and that each record lies inside its block, apart from or inside
// the records before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace px600 {

constexpr uint32_t kImageSize = 32768;
constexpr int kConditions = 8;

// A condition block ends in a tail laid out one way for helicopter models and
// another for every other type; so does the curve settings block from 402 on.
enum class Form : uint8_t { Any, Plane, Heli };
constexpr uint32_t kTailOffset = 1984;

// count records of size bytes, stride bytes apart (0: one after another),
// from offset: within the block in the blocks of the conditions, else an image
// offset. A block is a record in no block; those of the conditions come once
// per condition.
struct Record {
    const char* name;
    const Record* block;
    uint16_t offset;
    uint16_t size;
    uint16_t count = 1;
    uint16_t stride = 0;
    Form form = Form::Any;
    constexpr uint32_t At(int k) const { return offset + uint32_t(stride ? stride : size) * uint32_t(k); }
    constexpr uint32_t End() const { return At(count - 1) + size; }
    // Which of the records holds byte `at`, or -1.
    constexpr int IndexOf(uint32_t at) const
    {
        for (int k = 0; k < count; ++k)
            if (at >= At(k) && at < At(k) + size)
                return k;
        return -1;
    }
};

// The blocks, in image order.
inline constexpr Record kHeader{"header", nullptr, 0, 64};
inline constexpr Record kModelSettings{"model settings", nullptr, 64, 576};
inline constexpr Record kConditionBlock{"condition", nullptr, 640, 3056, kConditions};
inline constexpr Record kModelBlock2{"model block 2", nullptr, 25088, 112};
inline constexpr Record kModelWide{"model-wide", nullptr, 25200, 2940};
inline constexpr Record kCurveSettings{"curve settings", nullptr, 28140, 578, kConditions};
inline constexpr Record kChecksum{"checksum", nullptr, 32764, 4};  // byte sum of all before it
inline constexpr const Record* kBlocks[] = {&kHeader,    &kModelSettings, &kConditionBlock, &kModelBlock2,
                                            &kModelWide, &kCurveSettings, &kChecksum};

// Switch range record: control byte (low 6 bits the control, bits 6 and 7
// mode flags, 0xFF none), first and second position (signed). This one says
// no control, +5, -5.
inline constexpr uint8_t kNoSwitchRange[3] = {0xFF, 0x05, 0xFB};

// Header
inline constexpr Record kTransmitterName{"transmitter name", &kHeader, 0, 8};
inline constexpr Record kBuildMark{"build mark", &kHeader, 8, 2};
inline constexpr Record kModelName{"model name", &kHeader, 10, 32};  // 16 UTF-16 units, big-endian
inline constexpr Record kModelType{"model type", &kHeader, 42, 1};
inline constexpr Record kDate{"date", &kHeader, 43, 6};  // year % 100, month, day, hour, minute, second
constexpr uint16_t kBuiltFromPX400 = 680, kBuiltFromPX200 = 756;  // the build mark

// Model settings block
inline constexpr Record kSettingsRanges{"switch range", &kModelSettings, 65, 3, 7, 4};
inline constexpr Record kChannelTables{"channel table", &kModelSettings, 118, 32, 2};
inline constexpr Record kControlFields{"control", &kModelSettings, 234, 1, 16};
inline constexpr Record kSettingsRanges2{"switch range", &kModelSettings, 362, 3, 2, 4};
inline constexpr Record kSettingsRanges3{"switch range", &kModelSettings, 371, 3, 2, 79};  // 371, 450
inline constexpr Record kSettingsRange4{"switch range", &kModelSettings, 453, 3};
inline constexpr Record kSwitchPairs{"switch record pair", &kModelSettings, 456, 6, 10};
inline constexpr Record kSettingsRange5{"switch range", &kModelSettings, 524, 3};
inline constexpr Record kModeControlFields{"control with mode bits", &kModelSettings, 530, 1, 12};
inline constexpr Record kExtraSettings{"extra settings", &kModelSettings, 607, 16};

// Condition block; bytes 0..31, the first two byte tables, are control fields.
inline constexpr Record kByteTables{"byte table", &kConditionBlock, 0, 16, 3};
inline constexpr Record kChannelCurves{"channel curve", &kConditionBlock, 48, 53, 16};
inline constexpr Record kDualRates{"dual rate", &kConditionBlock, 896, 57, 6};
inline constexpr Record kCurveRecords{"curve record", &kConditionBlock, 1238, 63, 10};
inline constexpr Record kConditionSettings{"settings", &kConditionBlock, 1868, 74};
inline constexpr Record kResetRanges{"switch range", &kConditionBlock, 1878, 3, 16};  // always reset
inline constexpr Record kTail{"tail", &kConditionBlock, kTailOffset, 1072};
inline constexpr Record kDelayRecords{"delay record", &kConditionBlock, 2797, 43, 2, 0, Form::Plane};

// Dual rate: flags, the switch range record that selects it, a 17-point curve.
namespace dualrate { constexpr uint8_t kFlags = 0, kSwitch = 1, kCurve = 4; }

// Curve record: flags (bit 5: byte 1 is a switch field; bit 4: four 10-byte
// groups with a switch field each instead of the curve and its switch field
// at 61), a switch range record, then the curve or the groups.
namespace curverecord {
constexpr uint8_t kFlags = 0, kSwitch = 1, kSwitchRange = 3, kCurve = 6, kCurveSwitch = 61;
constexpr uint8_t kGroupSwitch = 14, kGroups = 4, kGroupSize = 10;
constexpr uint8_t kHasGroups = 0x10, kHasSwitch = 0x20;
}

// Delay record: selection bytes, rates R1..R10, four pairs (current value,
// alternative).
namespace delay { constexpr uint8_t kSelect2 = 0, kSelect1 = 4, kRates = 5, kPairs = 28; }

// Model block 2 and the model-wide block
inline constexpr Record kBlock2Records{"block 2 record", &kModelBlock2, 25088, 14, 8};
inline constexpr Record kTotalTime{"total time", &kModelWide, 25200, 4};
inline constexpr Record kTimers{"timer", &kModelWide, 25212, 15, 2};
inline constexpr Record kCombinedFlags{"combined flags", &kModelWide, 25242, 16};

// Timer: flags, time, three switch range records 4 bytes apart from byte 4.
namespace timer { constexpr uint8_t kFlags = 0, kTime = 1, kSwitchRange = 4, kSwitchRanges = 3, kRangeStride = 4; }

// Curve settings block: the condition name (8 big-endian UTF-16 units and a
// 0), then 12-byte rate records.
constexpr uint16_t kRateRecordSize = 12;
inline constexpr Record kConditionName{"condition name", &kCurveSettings, 0, 18};
inline constexpr Record kChannelRates{"channel rate", &kCurveSettings, 18, kRateRecordSize, 16};
inline constexpr Record kDualRateRates{"dual rate", &kCurveSettings, 210, kRateRecordSize, 6};
inline constexpr Record kCurveRates{"curve record", &kCurveSettings, 282, kRateRecordSize, 10};
inline constexpr Record kPlaneRates{"rate", &kCurveSettings, 402, kRateRecordSize, 14, 0, Form::Plane};
inline constexpr Record kPlaneFlags{"flags", &kCurveSettings, 570, 4, 1, 0, Form::Plane};
inline constexpr Record kHeliRates{"rate", &kCurveSettings, 402, kRateRecordSize, 10, 0, Form::Heli};
inline constexpr Record kHeliFlags{"flags", &kCurveSettings, 522, 12, 1, 0, Form::Heli};

// Rate record: point mask in bits 0..16 of bytes 0..2 (point n is bit n % 8 of
// byte n / 8), type in bits 3..6 of byte 2, then three pairs of 12-bit values
// P, Q, R (low bytes of both values, then the first's high nibble above the
// second's).
namespace rate {
constexpr int kP = 3, kQ = 6, kR = 9;

// Its three defaults: 17 points, every second, P = 1000, 1000; the same with
// all values 0; 11 points, all, P = 1000, 1000.
inline constexpr uint8_t kDefaults[3][kRateRecordSize] = {
    {0x55, 0x55, 0x01, 0xE8, 0xE8, 0x33, 0, 0, 0, 0, 0, 0},
    {0x55, 0x55, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0},
    {0xFF, 0x07, 0x00, 0xE8, 0xE8, 0x33, 0, 0, 0, 0, 0, 0},
};

// The low 12 bits of v as the first or the second value of a pair.
inline void PutFirst(uint8_t* pair, unsigned v)
{
    pair[0] = uint8_t(v & 0xFF);
    pair[2] = uint8_t((pair[2] & 0x0F) | (((v >> 8) & 0x0F) << 4));
}
inline void PutSecond(uint8_t* pair, unsigned v)
{
    pair[1] = uint8_t(v & 0xFF);
    pair[2] = uint8_t((pair[2] & 0xF0) | ((v >> 8) & 0x0F));
}
inline void PutPair(uint8_t* pair, unsigned first, unsigned second)
{
    PutFirst(pair, first);
    PutSecond(pair, second);
}

// Type t into bits 3..6 of byte 2; the other bits stay.
inline void SetType(uint8_t* rec, unsigned t) { rec[2] = uint8_t((rec[2] & ~0x78u) | ((t & 0x0Fu) << 3)); }

// Point mask bits 0..16 (or 0..10) set; bits already set stay.
inline void SetMask17(uint8_t* rec)
{
    rec[0] = rec[1] = 0xFF;
    rec[2] |= 0x01;
}
inline void SetMask11(uint8_t* rec)
{
    rec[0] = 0xFF;
    rec[1] |= 0x07;
}
}  // namespace rate

// Every named record; one lying inside another follows it.
inline constexpr const Record* kRecords[] = {
    &kTransmitterName, &kBuildMark,      &kModelName,      &kModelType,         &kDate,
    &kSettingsRanges,  &kChannelTables,  &kControlFields,  &kSettingsRanges2,   &kSettingsRanges3,
    &kSettingsRange4,  &kSwitchPairs,    &kSettingsRange5, &kModeControlFields, &kExtraSettings,
    &kByteTables,      &kChannelCurves,  &kDualRates,      &kCurveRecords,      &kConditionSettings,
    &kResetRanges,     &kTail,           &kDelayRecords,   &kBlock2Records,     &kTotalTime,
    &kTimers,          &kCombinedFlags,  &kConditionName,  &kChannelRates,      &kDualRateRates,
    &kCurveRates,      &kPlaneRates,     &kPlaneFlags,     &kHeliRates,         &kHeliFlags,
};

// Where an image offset lies: its block, the condition (0..7 in the blocks of
// the conditions, else -1), the offset as its records count it, and the
// innermost named record holding it (or null), which of them and the byte
// within it.
struct Place {
    const Record* block;
    int condition;
    uint32_t offset;
    const Record* record;
    int index;
    uint32_t byte;
};

// The image offset of `offset` in condition c's block, or of the image offset
// itself when c is -1.
constexpr uint32_t ImageOffset(int condition, uint32_t offset)
{
    return condition < 0 ? offset : kConditionBlock.At(condition) + offset;
}

// For an offset below kImageSize; a tail's records are found only when form
// names that tail.
constexpr Place PlaceOf(uint32_t imageOffset, Form form = Form::Any)
{
    Place p{&kChecksum, -1, imageOffset, nullptr, 0, 0};
    for (const Record* b : kBlocks) {
        const int n = b->IndexOf(imageOffset);
        if (n >= 0)
            p = b->count > 1 ? Place{b, n, imageOffset - b->At(n), nullptr, 0, 0}
                             : Place{b, -1, imageOffset, nullptr, 0, 0};
    }
    for (const Record* r : kRecords) {
        const bool mine = r->block->offset == p.block->offset && (r->form == Form::Any || r->form == form);
        const int k = mine ? r->IndexOf(p.offset) : -1;
        if (k >= 0)
            p = {p.block, p.condition, p.offset, r, k, p.offset - r->At(k)};
    }
    return p;
}

namespace check {

constexpr bool BlocksTileTheImage()
{
    uint32_t at = 0;
    for (const Record* b : kBlocks) {
        if (b->offset != at)
            return false;
        at = b->End();
    }
    return at == kImageSize;
}
static_assert(BlocksTileTheImage());

// Each record lies inside its block (a tail's inside the tail) and its copies
// do not overlap; one that meets an earlier record of a form it shares lies
// inside one copy of it. (Blocks are told apart by their offsets: some
// compilers cannot compare addresses in a constant expression.)
constexpr bool RecordsNest()
{
    for (size_t i = 0; i < std::size(kRecords); ++i) {
        const Record* r = kRecords[i];
        const uint32_t base = r->block->count > 1 ? 0 : r->block->offset;
        const uint32_t tail = r->block->offset == kConditionBlock.offset ? kTailOffset : kCurveRates.End();
        if (r->offset < base + (r->form == Form::Any ? 0 : tail) || r->End() > base + r->block->size ||
            r->count < 1 || (r->stride != 0 && r->stride < r->size))
            return false;
        for (size_t j = 0; j < i; ++j) {
            const Record* e = kRecords[j];
            const bool apart = e->block->offset != r->block->offset || r->End() <= e->offset || r->offset >= e->End() ||
                               (e->form != Form::Any && r->form != Form::Any && e->form != r->form);
            const int k = e->IndexOf(r->offset);
            if (!apart && (k < 0 || r->End() > e->At(k) + e->size))
                return false;
        }
    }
    return true;
}
static_assert(RecordsNest());
static_assert(kCurveRates.End() == kPlaneRates.offset && kPlaneRates.End() == kPlaneFlags.offset &&
              kHeliRates.End() == kHeliFlags.offset);

}  // namespace check

}  // namespace px600
