// Condition block of a PX600 model built from a PX200 model: switch fields,
// the per-channel and dual-rate response curves, the five PX200 curve
// records, and the model-type tail (helicopter or not) laid out in
// PX200ConditionLayout.h. PX600 conditions 5..7 have no PX200 counterpart and
// get defaults; so do conditions 1..7 of AIRPLANE and MULTICOPTER models in
// the curve steps, which take PX200 curves into condition 0 only.
#include <cstring>

#include "convert/PX200ConditionLayout.h"
#include "convert/PX200Convert.h"
#include "convert/PX200Curves.h"

namespace {

using namespace px200;
using namespace px200::condition;

// ---------------------------------------------------------------------------
// Common part, block offsets 0..1941

constexpr uint32_t kSwitchFields = 222;       // 12 bytes, and 12 more at 234
constexpr uint32_t kConditionSwitches = 467;  // 12 bytes per condition
constexpr uint32_t kMixFlags = 632;

// The channel curve record of function k, or null when the function has no
// PX600 channel (entry 16 or more).
uint8_t* ChannelCurve(uint8_t* block, const uint8_t* px, int k)
{
    const int ch = Channel(px, k);
    if (ch >= px600::kChannelCurves.count)
        return nullptr;
    return block + px600::kChannelCurves.At(ch);
}

void ConvertSwitchFields(uint8_t* block, const uint8_t* px, bool fromPX200, int c)
{
    // The two byte tables of control fields, then the third.
    std::memset(block, 0xFF, px600::kByteTables.At(2));
    std::memset(block + px600::kByteTables.At(2), 0, px600::kByteTables.size);
    for (int k = 0; k < 12; ++k) {
        block[k] = px[kSwitchFields + k];
        block[px600::kByteTables.At(1) + k] = px[kSwitchFields + 12 + k];
        if (fromPX200)
            block[px600::kByteTables.At(2) + k] = px[kConditionSwitches + 12 * c + k];
    }
}

void ConvertChannelCurves(uint8_t* block, const uint8_t* px, int type, bool own, int c)
{
    for (int ch = 0; ch < px600::kChannelCurves.count; ++ch) {
        uint8_t* rec = block + px600::kChannelCurves.At(ch);
        std::memcpy(rec, kCurveD1, kCurve17Size);
        rec[51] = 0;
        rec[52] = 0;
    }
    if (!own)
        return;

    // Other model types reach here for condition 0 only, where every table's
    // entry is entry 0 whatever its marker.
    for (const RateTable& t : kRateTables)
        if (uint8_t* curve = ChannelCurve(block, px, t.function)) {
            const int i = EntryIndex(px, t.table, c);
            BuildExpCurve(curve, px + t.table + 7 * i, px + t.offsets + i);
        }

    if (type == kHelicopter) {
        for (const auto& [source, function] : kHeliPointCurves)
            if (uint8_t* curve = ChannelCurve(block, px, int(function)))
                BuildPointCurve17(curve, px + source + 10 * c, px + source + 5 + 10 * c);
        return;
    }

    const bool sharedCurve = (px[kSharedCurveFlag] & 0x80) != 0;
    if (type == kGlider) {
        for (const LinearCurve& l : kLinearCurves)
            if (uint8_t* curve = ChannelCurve(block, px, l.function))
                BuildLinearCurve(curve, px + l.rates + 2 * c, px + l.offset + c);
        if (sharedCurve)
            if (uint8_t* curve = ChannelCurve(block, px, 24))
                BuildPointCurve17(curve, px + kSharedCurve, px + kSharedCurve + 5);
        return;
    }

    if (sharedCurve)
        if (uint8_t* curve = ChannelCurve(block, px, 2))
            BuildPointCurve17(curve, px + kSharedCurve, px + kSharedCurve + 5);
    if (type != kAirplane)
        return;
    for (const LinearCurve& l : std::span(kLinearCurves).first(2))
        if (uint8_t* curve = ChannelCurve(block, px, l.function))
            BuildLinearCurve(curve, px + l.rates, px + l.offset);
    if (uint8_t* rec = ChannelCurve(block, px, 2))
        for (int i : {51, 52})
            rec[i] = uint8_t((rec[i] & 0x80) | (px[kThrottleBits] & 0x7F));
}

void ConvertDualRates(uint8_t* block, const uint8_t* px, bool perCondition, bool own)
{
    using namespace px600::dualrate;
    for (int k = 0; k < px600::kDualRates.count; ++k) {
        uint8_t* rec = block + px600::kDualRates.At(k);
        rec[kFlags] = 0;
        std::memcpy(rec + kSwitch, kNoSwitchRange, sizeof kNoSwitchRange);
        std::memcpy(rec + kCurve, kCurveD1, kCurve17Size);
        rec[55] = 0;
        rec[56] = 0;
    }
    if (!own)
        return;

    for (const RateTable& t : kRateTables) {
        uint8_t* pair[2] = {block + px600::kDualRates.At(t.dualRate), block + px600::kDualRates.At(t.dualRate + 1)};
        for (uint8_t* rec : pair)
            rec[kFlags] = uint8_t((rec[kFlags] & 0xE0) | t.function);
        // Models with a rate entry per condition keep their dual rates in
        // those entries; the pair then stays at its defaults.
        if (perCondition && px[t.table] == kGroupMarker)
            continue;
        // The first record of the pair from entry 2, the second from entry 1.
        for (int j = 0; j < 2; ++j) {
            const int u = 2 - j;
            const uint8_t* entry = px + t.table + 7 * u;
            uint8_t* rec = pair[j];
            BuildExpCurve(rec + kCurve, entry, px + t.offsets + u);
            rec[kFlags] |= 0x80;
            std::memcpy(rec + kSwitch, entry, 3);
        }
    }
}

void ConvertCurveRecords(uint8_t* block, const uint8_t* px)
{
    using px600::curverecord::kCurve;
    for (int k = 0; k < px600::kCurveRecords.count; ++k) {
        uint8_t* rec = block + px600::kCurveRecords.At(k);
        std::memcpy(rec, kCurveRecordHead, sizeof kCurveRecordHead);
        std::memcpy(rec + kCurve, kCurveD0, kCurve17Size);
        std::memset(rec + kCurve + kCurve17Size, 0, px600::kCurveRecords.size - kCurve - kCurve17Size);
    }
    // The same five PX200 records in every condition; the PX600 record
    // always holds a curve, so the 5-point form's flag is dropped.
    for (int k = 0; k < kSourceCurveRecords; ++k) {
        const uint8_t* r = px + kSourceCurveRecord + 12 * k;
        uint8_t* rec = block + px600::kCurveRecords.At(k);
        rec[0] = uint8_t(r[0] & ~px600::curverecord::kHasGroups);
        std::memcpy(rec + 1, r + 1, 5);
        BuildRecordCurve(rec + kCurve, r);
    }
}

// The settings record: four bytes, the reset switch range records, zeros.
void ConvertFixedSettings(uint8_t* block, const uint8_t* px)
{
    uint8_t* settings = block + px600::kConditionSettings.offset;
    settings[0] = uint8_t(px[kMixFlags] | 0xF0);
    std::memset(settings + 1, 4, 4);
    std::memset(settings + 5, 1, 4);
    settings[9] = 3;
    for (int k = 0; k < px600::kResetRanges.count; ++k)
        std::memcpy(block + px600::kResetRanges.At(k), kNoSwitchRange, sizeof kNoSwitchRange);
    std::memset(block + px600::kResetRanges.End(), 0, px600::kConditionSettings.End() - px600::kResetRanges.End());
}

// ---------------------------------------------------------------------------
// Tail interpreter

const uint8_t* DefaultCurve(Def d)
{
    switch (d) {
    case Def::D0:
        return kCurveD0;
    case Def::D2:
        return kCurveD2;
    case Def::E0:
        return kCurveE0;
    case Def::E1:
        return kCurveE1;
    default:
        return nullptr;
    }
}

void WriteDefault(uint8_t* at, const TailRow& r, const uint8_t* px)
{
    switch (r.def) {
    case Def::Keep:
        break;
    case Def::Bytes:
        std::memcpy(at, r.bytes.data(), r.size);
        break;
    case Def::Zero:
        std::memset(at, 0, r.size);
        break;
    case Def::D0:
    case Def::D2:
    case Def::E0:
    case Def::E1:
        std::memcpy(at, DefaultCurve(r.def), r.size);
        break;
    case Def::Bits:
        at[0] = uint8_t((at[0] & r.keepBits) | r.setBits);
        break;
    case Def::Select:
        std::memcpy(at, kSelectPatterns[(px[kSelectSource] >> 4) & 3], r.size);
        break;
    }
}

void ApplyFill(uint8_t* at, const TailRow& r, const uint8_t* s, const uint8_t* s2)
{
    if (r.unlessFF && s[0] == 0xFF)
        return;
    switch (r.fill) {
    case Fill::None:
        break;
    case Fill::Copy:
        for (int i = 0; i < r.size; ++i)
            at[i] = uint8_t(s[i] & r.mask);
        break;
    case Fill::Spread:
        std::memset(at, s[0] & r.mask, r.size);
        break;
    case Fill::Merge:
        at[0] = uint8_t((at[0] & ~r.mask) | (s[0] & r.mask));
        break;
    case Fill::MoveBit: {
        const uint8_t bit = uint8_t(1u << r.toBit);
        at[0] = uint8_t(((s[0] >> r.fromBit) & 1) ? at[0] | bit : at[0] & ~bit);
        break;
    }
    case Fill::Set:
        std::memset(at, r.mask, r.size);
        break;
    case Fill::SetBits:
        for (int i = 0; i < r.size; ++i)
            at[i] |= r.mask;
        break;
    case Fill::ModeCurve11:
        BuildModeCurve11(at, s);
        break;
    case Fill::TwoRate11:
        BuildTwoRateCurve11(at, S8(s), S8(s2));
        break;
    case Fill::TwoRate: {
        // A negated byte is the signed value negated as an integer (-(-128)
        // is 128).
        const int a = r.negate == Negate::First ? -S8(s) : S8(s);
        const int b = r.negate == Negate::Second ? -S8(s2) : S8(s2);
        BuildTwoRateCurve(at, a, b);
        break;
    }
    case Fill::Point13:
        BuildPointCurve13(at, s, s2);
        break;
    case Fill::Thirds:
        BuildThirdsCurve(at, s);
        break;
    case Fill::Break11:
        BuildBreakCurve11(at, s, s2);
        break;
    }
}

bool Fills(When when, bool fromPX200, int c)
{
    switch (when) {
    case When::Px200:
        return fromPX200;
    case When::First:
        return c == 0;
    case When::Last:
        return c == kConditions - 1;
    }
    return false;
}

void ApplyTail(uint8_t* block, const uint8_t* px, std::span<const TailRow> rows, bool glider, bool fromPX200, int c)
{
    for (const TailRow& r : rows) {
        if (!Applies(r.only, glider))
            continue;
        const bool fills = r.fill != Fill::None && Fills(r.when, fromPX200, c);
        for (int k = 0; k < r.count; ++k) {
            uint8_t* at = block + r.at + size_t(r.step) * k;
            WriteDefault(at, r, px);
            if (!fills || (r.firstOnly && k > 0))
                continue;
            // Only reached for conditions 0..4, where every source lies
            // inside the image (checked in the layout header).
            const size_t kOffset = size_t(r.kStride) * k;
            ApplyFill(at, r, px + r.src + size_t(r.cStride) * c + kOffset,
                      px + r.src2 + size_t(r.c2Stride) * c + kOffset);
        }
    }
}

// The helicopter 7-byte records from the PX200's 8-byte records s: three
// shared records, or with the group marker the condition's own record into
// the first of the three (its switch then reads "no control").
void FillSevenByteRecord(uint8_t* rec, const uint8_t* s, bool perCondition)
{
    rec[0] = uint8_t((rec[0] & ~0x81) | (s[0] & 0x81));
    if (perCondition) {
        rec[1] = 0xFF;
        rec[2] = 0;
        rec[3] = 0;
    } else {
        std::memcpy(rec + 1, s + 1, 3);
    }
    rec[4] = s[4];
    rec[5] = s[6];
    rec[6] = s[7];
}

void FillSevenByteRecords(uint8_t* block, const uint8_t* px, int c)
{
    for (const SevenByteRecords& t : kHeliSevenRecords) {
        const uint8_t* table = px + t.source;
        if (table[1] == kGroupMarker) {
            FillSevenByteRecord(block + t.at, table + 8 * c, true);
            continue;
        }
        for (int k = 0; k < kSevenRecordCount; ++k)
            FillSevenByteRecord(block + t.at + 7 * k, table + 8 * k, false);
    }
}

}  // namespace

void ConvertPX200ConditionBlock(uint8_t* block, const uint8_t* px200, int type, int c)
{
    const bool fromPX200 = c >= 0 && c < kConditions;
    const bool perCondition = type == kHelicopter || type == kGlider;
    // Helicopter and glider models take their curves into every PX200
    // condition; the other types into condition 0 only.
    const bool own = perCondition ? fromPX200 : c == 0;

    ConvertSwitchFields(block, px200, fromPX200, c);
    ConvertChannelCurves(block, px200, type, own, c);
    ConvertDualRates(block, px200, perCondition, own);
    ConvertCurveRecords(block, px200);
    ConvertFixedSettings(block, px200);

    if (type == kHelicopter) {
        ApplyTail(block, px200, kHeliTail, false, fromPX200, c);
        if (fromPX200)
            FillSevenByteRecords(block, px200, c);
    } else {
        ApplyTail(block, px200, kPlaneTail, type == kGlider, fromPX200, c);
    }
}
