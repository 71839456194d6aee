// The two model-wide blocks of a PX600 image built from a PX200 model: the
// model settings block and the model-wide block. The layouts are tables in
// PX200ModelLayout.h; this file walks them and holds the few steps that are
// arithmetic rather than layout.
#include <cstring>

#include "convert/PX200Convert.h"
#include "convert/PX200ModelLayout.h"
#include "model/ModelData.h"

namespace {

using namespace px200;
using namespace px200::model;

static_assert(kModelDataSize == PX200_DATA_SIZE && kModelDataSize <= PX200_IMAGE_SIZE);

// Spreads a 2-byte PX200 bit set into a 4-byte PX600 bit set: bit k of the
// result is bit (channel of function k) of the source, 0 when function k has
// no channel.
void PermuteBits(uint8_t* target, const uint8_t* bits, const uint8_t* px200)
{
    std::memset(target, 0, 4);
    for (int k = 0; k < kFunctions; ++k) {
        const int v = Channel(px200, k);
        if (v < kChannels && ((bits[v / 8] >> (v % 8)) & 1))
            target[k / 8] |= uint8_t(1u << (k % 8));
    }
}

void ApplyRow(uint8_t* img, const uint8_t* px200, int type, const Row& row)
{
    uint8_t* t = img + row.target;
    const uint8_t* s = px200 + row.source;
    switch (row.op) {
    case Op::Copy:
        std::memcpy(t, s, row.size);
        break;
    case Op::Fill:
        std::memset(t, row.value, row.size);
        break;
    case Op::EverySecond:
        for (int k = 0; k < row.size; ++k)
            t[k] = s[2 * k];
        break;
    case Op::ChannelBytes:
        for (int k = 0; k < row.size; ++k) {
            const int v = Channel(px200, k);
            t[k] = v < kChannels ? s[v] : row.value;
        }
        break;
    case Op::Permute:
        PermuteBits(t, s, px200);
        break;
    case Op::CopyHeliGlider:
        if (type == kHelicopter || type == kGlider)
            std::memcpy(t, s, row.size);
        break;
    case Op::CopyUnlessHeliByte:
        if (px200[kModelTypeByte] == kHeliModelTypeByte)
            std::memcpy(t, kHeliBytes370, sizeof(kHeliBytes370));
        else
            std::memcpy(t, s, row.size);
        break;
    }
}

void ApplyRows(uint8_t* img, const uint8_t* px200, int type, std::span<const Row> rows)
{
    for (const Row& row : rows)
        ApplyRow(img, px200, type, row);
}

void ApplyBits(uint8_t* img, const uint8_t* px200, std::span<const BitField> bits)
{
    for (const BitField& b : bits) {
        const unsigned mask = (1u << b.width) - 1u;
        const unsigned value = (px200[b.source] >> b.sourceBit) & mask;
        uint8_t& t = img[b.target];
        t = uint8_t((t & ~(mask << b.targetBit)) | (value << b.targetBit));
    }
}

// A mode byte's bits 0..1: the PX200 mode 0..3, anything larger mode 1.
uint8_t ModeValue(uint8_t b)
{
    return b > 3 ? 1 : b;
}

}  // namespace

void ConvertPX200SettingsBlock(uint8_t* img, const uint8_t* px200, int type)
{
    for (int k = 0; k < px600::kSettingsRanges.count; ++k)
        std::memcpy(img + px600::kSettingsRanges.At(k), px600::kNoSwitchRange, sizeof px600::kNoSwitchRange);
    ApplyRows(img, px200, type, kSettingsRows);
    ApplyBits(img, px200, kSettingsBits);

    // With no channel for the last function, both copies of the table end in
    // one past the highest channel in use.
    if (px200[kLastFunction] >= kChannels) {
        int highest = 0;
        for (int k = 0; k < kFunctions; ++k) {
            const int v = Channel(px200, k);
            if (v < kChannels && v > highest)
                highest = v;
        }
        for (uint16_t at : kLastChannelEntries)
            img[at] = uint8_t(highest + 1);
    }
}

void ConvertPX200ModelBlock(uint8_t* img, const uint8_t* px200, int type)
{
    ApplyRows(img, px200, type, kModelHead);

    // The timers' values: a count-down timer (bit 1 of F) stores 10 * T - E,
    // the others E, each times 100. The products wrap modulo 2^32 as the
    // transmitter's own arithmetic does; unsigned types keep that defined.
    for (const TimerRow& timer : kTimers) {
        const uint8_t f = px200[timer.flags];
        const uint32_t t = GetBE16(px200 + timer.flags + 1);
        const uint32_t e = GetBE32(px200 + timer.total);
        const uint32_t v = (f & kTimerCountDown) ? 10u * t - e : e;
        PutBE32(img + timer.value, 100u * v);
    }
    for (int i = 0; i < px600::kTimers.count; ++i) {
        const TimerRow& timer = kTimers[i];
        uint8_t* record = img + px600::kTimers.At(i);
        std::memset(record, 0, px600::kTimers.size);
        record[0] = uint8_t(px200[timer.flags] & kTimerFlagMask);
        for (const TimerField& field : kTimerFields)
            std::memcpy(record + field.at, px200 + timer.flags + field.from, field.size);
        std::memcpy(record + kTimerExtraAt, px200 + timer.extraRecord, 3);
    }

    ApplyRows(img, px200, type, kModelSwitchDefaults);
    ApplyBits(img, px200, kModelBits);
    const uint8_t flags = px200[kSourceFlags];
    const uint8_t sourceMode = (flags & 0x40) ? 2 : (flags & 0x10) ? 1 : 0;
    img[kSourceModeByte] = uint8_t((img[kSourceModeByte] & ~0x0C) | (sourceMode << 2));

    const uint8_t modeBits = px200[kModeBits];
    for (const ModeRow& row : kModeBytes) {
        uint16_t source = row.source;
        uint8_t bit = row.bit;
        if (type == kGlider) {
            source = row.gliderSource;
            bit = row.gliderBit;
        } else if (type == kHelicopter) {
            source = row.heliSource;
            bit = row.heliBit;
        }
        uint8_t& t = img[row.target];
        t = uint8_t((t & ~0x03) | ModeValue(px200[source]));
        t = uint8_t((t & ~0x0C) | (((modeBits >> bit) & 1) << 2));
    }
    img[kModeTail] &= uint8_t(~0x0F);

    ApplyRows(img, px200, type, kModelZeros);

    // 50 - s / 2 truncated toward zero, s the signed percentage; integer
    // division truncates the same way, and the low 7 bits are kept also when
    // the result is negative.
    const int s = S8(px200 + kPercentSource);
    const int percent = (100 - s) / 2;
    img[kPercentTarget] = uint8_t((unsigned(percent) & 0x7F) | (px200[kPercentFlag] & 0x80));

    ApplyRows(img, px200, type, kModelTail);
}
