// The curve settings block of one PX600 condition, built from a PX200 model:
// the condition name, then rate records set to their defaults and filled from
// the PX200's rate tables, curve records and per-condition values. The layout
// is data (PX200CurveSettingsLayout.h); this file holds the record fills and
// the interpreter that walks the tables.
#include <cstring>
#include <span>

#include "convert/PX200Convert.h"
#include "convert/PX200CurveSettingsLayout.h"
#include "model/ModelData.h"
#include "platform/ByteOrder.h"

using namespace px200::curvesettings;
using px200::S8;

namespace {

// ---------------------------------------------------------------------------
// Rate record fields

using namespace px600::rate;

// A percentage as stored: 10 * v in 12-bit two's complement (-100 -> 0xC18).
unsigned Stored(int percent)
{
    return (static_cast<unsigned>(percent) * 10u) & 0xFFFu;
}

void PutFirst(uint8_t* pair, int percent) { px600::rate::PutFirst(pair, Stored(percent)); }
void PutSecond(uint8_t* pair, int percent) { px600::rate::PutSecond(pair, Stored(percent)); }
void PutPair(uint8_t* pair, int first, int second) { px600::rate::PutPair(pair, Stored(first), Stored(second)); }

// ---------------------------------------------------------------------------
// Record fills

// Rate table entry a: rates a[3], a[4] unsigned, exponentials a[5], a[6]
// signed; the offset b[0] to the second value of R.
void FillRateTable(uint8_t* rec, const uint8_t* a, const uint8_t* b)
{
    SetMask17(rec);
    SetType(rec, 0);
    PutPair(rec + kP, a[3], a[4]);
    PutPair(rec + kQ, S8(a + 5), S8(a + 6));
    PutSecond(rec + kR, S8(b));
}

// A 12-byte PX200 curve record. With bit 4 of r[0] set the record holds five
// points, whose values do not go into the rate record; type and mask still do.
void FillRateRecord(uint8_t* rec, const uint8_t* r)
{
    SetMask17(rec);
    SetType(rec, 2);
    if (r[0] & 0x10)
        return;
    PutPair(rec + kP, S8(r + 6), S8(r + 7));
    PutPair(rec + kQ, S8(r + 8), S8(r + 9));
    PutSecond(rec + kR, S8(r + 11));
}

void FillRatePair(uint8_t* rec, const uint8_t* a, const uint8_t* b, unsigned t)
{
    SetMask17(rec);
    SetType(rec, t);
    PutPair(rec + kP, S8(a), S8(a + 1));
    if (t == 1)
        PutFirst(rec + kR, S8(b));
    else
        PutSecond(rec + kR, S8(b));
}

// The five-point curve reaches the rate record only as its type and mask.
void FillRateCurve(uint8_t* rec, unsigned t)
{
    SetMask17(rec);
    SetType(rec, t);
}

void FillRateValues(uint8_t* rec, int first, int second, unsigned t)
{
    SetMask17(rec);
    SetType(rec, t);
    PutPair(rec + kP, first, second);
}

void FillRateShort(uint8_t* rec, int first, int second, unsigned t)
{
    SetMask11(rec);
    SetType(rec, t);
    PutPair(rec + kP, first, second);
}

// ---------------------------------------------------------------------------
// Interpreter

struct Context {
    uint8_t* block;
    const uint8_t* px200;
    int type;
    int c;

    bool HeliOrGlider() const { return type == px200::kHelicopter || type == px200::kGlider; }
};

bool Runs(const Step& s, const Context& x)
{
    switch (s.when) {
    case When::Live:
        if (x.HeliOrGlider() ? x.c >= px200::kConditions : x.c != 0)
            return false;
        break;
    case When::PX200:
        if (x.c >= px200::kConditions)
            return false;
        break;
    case When::First:
        if (x.c != 0)
            return false;
        break;
    case When::Every:
        break;
    }
    switch (s.only) {
    case Only::Always:
        return true;
    case Only::CurveInUse:
        return (x.px200[kCurveInUse] & 0x80) != 0;
    case Only::Airplane:
        return x.type == px200::kAirplane;
    case Only::SharedEntry:
        return !x.HeliOrGlider() || x.px200[s.marker] != px200::kGroupMarker;
    }
    return false;
}

int ReadValue(const uint8_t* px200, const Operand& op, int index)
{
    const uint8_t* p = px200 + op.addr + op.stride * index;
    switch (op.read) {
    case Read::Signed: return S8(p);
    case Read::Negated: return -S8(p);
    case Read::Zero:
    case Read::Address: break;
    }
    return 0;
}

void RunSteps(const Context& x, std::span<const Step> steps)
{
    for (const Step& s : steps) {
        if (!Runs(s, x))
            continue;
        size_t at = s.record;
        if (s.function != kNoFunction) {
            const int ch = px200::Channel(x.px200, s.function);
            if (ch >= px600::kChannelRates.count)
                continue;
            at = px600::kChannelRates.At(ch);
        }
        // Per-condition operands only run for c < 5 (checked with the tables).
        const int index = s.marker != 0 ? px200::EntryIndex(x.px200, s.marker, x.c) : x.c;
        uint8_t* rec = x.block + at;
        const uint8_t* a = x.px200 + s.a.addr + s.a.stride * index;
        const uint8_t* b = x.px200 + s.b.addr + s.b.stride * index;
        switch (s.fill) {
        case Fill::Table: FillRateTable(rec, a, b); break;
        case Fill::Record: FillRateRecord(rec, a); break;
        case Fill::Pair: FillRatePair(rec, a, b, s.type); break;
        case Fill::Curve: FillRateCurve(rec, s.type); break;
        case Fill::Values:
            FillRateValues(rec, ReadValue(x.px200, s.a, index), ReadValue(x.px200, s.b, index), s.type);
            break;
        case Fill::Short:
            FillRateShort(rec, ReadValue(x.px200, s.a, index), ReadValue(x.px200, s.b, index), s.type);
            break;
        }
    }
}

void SetDefaults(uint8_t* block, std::span<const DefaultRow> rows)
{
    for (const DefaultRow& row : rows)
        for (int k = 0; k < row.count; ++k)
            std::memcpy(block + row.offset + kRecordSize * k, kDefaultBytes[int(row.value)], kRecordSize);
}

void PutBit(uint8_t* p, unsigned bit, bool on)
{
    const uint8_t mask = uint8_t(1u << bit);
    *p = on ? uint8_t(*p | mask) : uint8_t(*p & ~mask);
}

void ApplyBits(const Context& x, std::span<const BitTriple> rows)
{
    for (const BitTriple& row : rows) {
        for (int j = 0; j < kTripleBytes; ++j)
            PutBit(x.block + row.target + j, row.targetBit, row.initial);
        if (x.c >= px200::kConditions)
            continue;
        const bool own = row.marker != 0 && x.px200[row.marker] == px200::kGroupMarker;
        for (int j = 0; j < (own ? 1 : kTripleBytes); ++j) {
            const uint8_t s = x.px200[row.source + row.stride * (own ? x.c : j)];
            const bool bit = ((s >> row.sourceBit) & 1u) != 0;
            PutBit(x.block + row.target + j, row.targetBit, bit != row.invert);
        }
    }
}

// The condition name, 8 big-endian UTF-16 units, then a zero terminator.
void PutName(const Context& x)
{
    char16_t name[kNameUnits];
    const bool fromPX200 = x.HeliOrGlider() ? x.c < px200::kConditions : x.c == 0;
    if (fromPX200) {
        TxCharToUnicode(x.px200 + kNameSource + kNameStride * x.c, name, kNameUnits);
    } else {
        std::memcpy(name, kDefaultName, sizeof kDefaultName);
        name[kNameUnits - 1] = char16_t(u'1' + x.c);
    }
    std::memset(x.block, 0, px600::kConditionName.size);
    for (int i = 0; i < kNameUnits; ++i)
        PutBE16(x.block + 2 * i, name[i]);
}

// Record 402 of non-helicopter models: the mode byte's top two bits choose
// the values (0: v, v; 3: v, -v; 1 and 2: a type 2 record of zeros); 0xFF
// leaves the default.
void FillModeRecord(const Context& x)
{
    if (x.c >= px200::kConditions)
        return;
    const uint8_t u = x.px200[kModeSource + kModeStride * x.c];
    if (u == 0xFF)
        return;
    const int v = S8(x.px200 + kModeSource + kModeStride * x.c + 1);
    uint8_t* rec = x.block + kModeRecord;
    switch (u >> 6) {
    case 0: FillRateShort(rec, v, v, 0); break;
    case 3: FillRateShort(rec, v, -v, 0); break;
    default: FillRateShort(rec, 0, 0, 2); break;
    }
}

} // namespace

void ConvertPX200CurveSettingsBlock(uint8_t* block, const uint8_t* px200, int type, int c)
{
    const Context x{block, px200, type, c};
    const bool heli = type == px200::kHelicopter;

    PutName(x);
    SetDefaults(block, kDefaultsCommon);
    SetDefaults(block, heli ? std::span<const DefaultRow>(kDefaultsHeli) : std::span<const DefaultRow>(kDefaultsPlane));

    RunSteps(x, kRateTables);
    if (heli)
        RunSteps(x, kChannelsHeli);
    else if (type == px200::kGlider)
        RunSteps(x, kChannelsGlider);
    else
        RunSteps(x, kChannelsOther);
    RunSteps(x, kSharedEntries);
    RunSteps(x, kCurveRecords);

    if (heli) {
        RunSteps(x, kTailHeli);
        ApplyBits(x, kBitsHeli);
        return;
    }
    FillModeRecord(x);
    RunSteps(x, type == px200::kGlider ? std::span<const Step>(kTailGlider) : std::span<const Step>(kTailOther));
    std::memset(block + kPlaneZeroFrom, 0, kPlaneZeroTo - kPlaneZeroFrom);
    block[kPlaneFlagByte] &= uint8_t(~0x03u);
    ApplyBits(x, kBitsPlane);
}
