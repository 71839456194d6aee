// The PX400 to PX600 build: header, model settings, the per-condition blocks,
// the model-wide block and the delay check. The switch pass and the checksum
// follow in ConvertFromPX400 (Conversion.cpp).
#include "convert/PX400Convert.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "convert/Conversion.h"
#include "convert/PX400Layout.h"
#include "model/ModelData.h"

namespace {

using namespace px400;

int SignExtend12(int v)
{
    v &= 0xFFF;
    return v >= 0x800 ? v - 0x1000 : v;
}

// ---------------------------------------------------------------------------
// Point curves

constexpr int kCurveLimit = 1600;

int GridX(int points, int index)
{
    const int step = points == 17 ? 200 : 320;
    return -kCurveLimit + step * index;
}

void SetPointY(uint8_t* record, int points, int index, int y)
{
    record[index] = uint8_t(y & 0xFF);
    uint8_t& nibbles = record[2 * points + index];
    nibbles = uint8_t((nibbles & 0xF0) | ((y >> 8) & 0x0F));
}

void SetPointX(uint8_t* record, int points, int index, int x)
{
    record[points + index] = uint8_t(x & 0xFF);
    uint8_t& nibbles = record[2 * points + index];
    nibbles = uint8_t((nibbles & 0x0F) | (((x >> 8) & 0x0F) << 4));
}

// A computed point as stored: not a number gives 0, anything outside the
// curve range the nearer limit (a value past 2047 would otherwise flip sign
// in 12 bits), the rest truncated toward zero. The range is checked before
// the conversion to an integer.
int StoreComputed(double value)
{
    if (std::isnan(value))
        return 0;
    const double t = std::trunc(value);
    if (t > kCurveLimit)
        return kCurveLimit;
    if (t < -kCurveLimit)
        return -kCurveLimit;
    return int(t);
}

// ---------------------------------------------------------------------------
// Condition block interpreter

void ApplyField(uint8_t* target, const uint8_t* source, const Field& field)
{
    switch (field.op) {
    case Op::Copy:
        std::memcpy(target + field.offset, source + field.offset, field.size);
        break;
    case Op::Zero:
        std::memset(target + field.offset, 0, field.size);
        break;
    case Op::Curve17:
        ResampleCurve(target + field.offset, source + field.offset, 17);
        break;
    case Op::Curve11:
        ResampleCurve(target + field.offset, source + field.offset, 11);
        break;
    case Op::Masked:
        target[field.offset] = uint8_t(source[field.offset] & field.mask);
        break;
    }
}

void ApplyRows(uint8_t* target, const uint8_t* source, std::span<const Row> rows)
{
    for (const Row& row : rows) {
        for (int k = 0; k < row.count; ++k) {
            const size_t at = size_t(row.offset) + size_t(row.stride) * k;
            const bool alternative = !row.altFields.empty() && (source[at] & row.selectBits) != 0;
            if (row.fields.empty())
                ApplyField(target + at, source + at, {0, row.stride, row.op});
            for (const Field& field : alternative ? row.altFields : row.fields)
                ApplyField(target + at, source + at, field);
        }
    }
}

// ---------------------------------------------------------------------------
// Curve settings

const uint8_t* TemplateBytes(Template t)
{
    return kTemplateBytes[int(t) - 1];
}

bool TypeSetsAllPoints(uint8_t type) { return type == 0 || type == 3 || type == 4 || type == 5; }

void ApplySettingRows(uint8_t* target, const uint8_t* source, std::span<const SettingRow> rows)
{
    for (const SettingRow& row : rows) {
        for (int k = 0; k < row.count; ++k) {
            uint8_t* record = target + row.target + px600::kRateRecordSize * k;
            const uint8_t* from = source + row.source + size_t(row.sourceStride) * k;
            std::memcpy(record, TemplateBytes(row.tmpl), px600::kRateRecordSize);
            ConvertCurveSettingRecord(record, from);
            if (TypeSetsAllPoints(from[kRecType]))
                (row.tmpl == Template::T3 ? px600::rate::SetMask11 : px600::rate::SetMask17)(record);
        }
    }
}

void ApplyBitColumns(uint8_t* target, const uint8_t* source, std::span<const BitColumn> rows)
{
    for (const BitColumn& row : rows) {
        for (int i = 0; i < row.count; ++i) {
            const uint8_t bit = uint8_t(1u << row.targetBit);
            if ((source[row.source + i] >> row.sourceBit) & 1)
                target[row.target + i] |= bit;
            else
                target[row.target + i] &= uint8_t(~bit);
        }
    }
}

// ---------------------------------------------------------------------------
// Model-wide block

void ConvertTimer(uint8_t* record, const uint8_t* s, const TimerLayout& timer)
{
    uint8_t flags = 0;
    flags |= uint8_t(s[timer.flagBit0] & 1);
    flags |= uint8_t(s[timer.zeroTest] == 0 ? 0x02 : 0);
    flags |= uint8_t((s[timer.flagBit3] & 1) << 3);
    flags |= uint8_t((s[timer.mode] & 3) << 4);
    record[0] = flags;
    // C++ division truncates toward zero and the remainder takes the sign of
    // the dividend: a negative time stays negative.
    const int32_t ms = int32_t(GetLE32(s + timer.milliseconds));
    const int32_t seconds = (ms / 1000) % 3600;
    PutBE16(record + 1, uint16_t(seconds));
    std::memcpy(record + 3, s + timer.settings, 12);
}

void ApplyClearRows(uint8_t* flags, const uint8_t* k, std::span<const ClearRow> rows)
{
    for (const ClearRow& row : rows) {
        for (int i = 0; i < row.count; ++i) {
            const uint8_t v = k[row.k + i];
            const bool fires = row.when == ClearOn::Zero ? v == 0 : v != 0;
            if (!fires)
                continue;
            const int bit = (row.tByte - kCombinedFlags) * 8 + row.tBit + i;
            flags[bit / 8] &= uint8_t(~(1u << (bit % 8)));
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------

int CurvePointX(const uint8_t* record, int points, int index)
{
    return SignExtend12(record[points + index] | ((record[2 * points + index] >> 4) << 8));
}

int CurvePointY(const uint8_t* record, int points, int index)
{
    return SignExtend12(record[index] | ((record[2 * points + index] & 0x0F) << 8));
}

int FindNearestPoint(const uint8_t* source, int points, int x)
{
    if (x == CurvePointX(source, points, 0))
        return 0;
    for (int i = 1; i < points; ++i) {
        const int xi = CurvePointX(source, points, i);
        if (x == xi)
            return i;
        if (x < xi) {
            const int below = CurvePointX(source, points, i - 1);
            return std::abs(x - below) > std::abs(xi - x) ? i : i - 1;
        }
    }
    return points - 1;
}

void ResampleCurve(uint8_t* target, const uint8_t* source, int points)
{
    if (points != 17 && points != 11)
        return;
    const int n = points;
    // The template: grid positions, all outputs 0.
    std::memset(target, 0, size_t(3 * n));
    for (int k = 0; k < n; ++k)
        SetPointX(target, n, k, GridX(n, k));
    // The two end points, X and Y as they are.
    for (int k : {0, n - 1}) {
        target[k] = source[k];
        target[n + k] = source[n + k];
        target[2 * n + k] = source[2 * n + k];
    }
    for (int k = 1; k <= n - 2; ++k) {
        const int xt = GridX(n, k);
        const int p = FindNearestPoint(source, n, xt);
        const int xp = CurvePointX(source, n, p);
        if (xp == xt) {
            SetPointY(target, n, k, CurvePointY(source, n, p));
            continue;
        }
        const int q = p == 0 ? 1 : p - 1;
        const int dx = xp - CurvePointX(source, n, q);
        int y = 0;  // two source points at one X have no slope
        if (dx != 0) {
            const int dy = CurvePointY(source, n, p) - CurvePointY(source, n, q);
            const float slope = float(dy) / float(dx);
            const double prevY = CurvePointY(target, n, k - 1);
            const double prevX = CurvePointX(target, n, k - 1);
            y = StoreComputed(prevY + (double(xt) - prevX) * double(slope));
        }
        SetPointY(target, n, k, y);
    }
}

void ConvertPX400ConditionBlock(uint8_t* target, const uint8_t* source, int heli)
{
    ApplyRows(target, source, kConditionCommon);
    ApplyRows(target, source, heli ? std::span<const Row>(kConditionTailHeli) : std::span<const Row>(kConditionTailPlane));
}

void ConvertCurveSettingRecord(uint8_t* target, const uint8_t* source)
{
    target[2] &= uint8_t(~0x78);
    const uint8_t type = source[kRecType];
    if (type > 5)
        return;
    if (type == 2)
        target[2] |= 0x08;
    if (TypeSetsAllPoints(type))
        target[2] |= 0x10;
    using namespace px600::rate;
    PutPair(target + kP, GetLE16(source + kRecP1), GetLE16(source + kRecP2));
    PutPair(target + kQ, GetLE16(source + kRecQ1), GetLE16(source + kRecQ2));
    PutPair(target + kR, GetLE16(source + kRecR1), GetLE16(source + kRecR2));
    target[2] = uint8_t((target[2] & 0x7F) | ((source[kRecFlag] & 1) << 7));
}

void ConvertPX400CurveSettingsBlock(uint8_t* target, const uint8_t* source, int heli)
{
    // The condition name: all eight units, each turned big-endian, and a 0
    // terminator.
    for (int i = 0; i < kConditionNameUnits; ++i)
        PutBE16(target + 2 * i, GetLE16(source + kConditionNameSource + 2 * i));
    PutBE16(target + 2 * kConditionNameUnits, 0);
    ApplySettingRows(target, source, kSettingsCommon);
    if (heli) {
        ApplySettingRows(target, source, kSettingsHeli);
        ApplyBitColumns(target, source, kSettingsHeliBits);
        std::memset(target + px600::kHeliFlags.End(), 0, px600::kCurveSettings.size - px600::kHeliFlags.End());
    } else {
        ApplySettingRows(target, source, kSettingsPlane);
        target[px600::kPlaneFlags.offset] &= uint8_t(~0x03);
        ApplyBitColumns(target, source, kSettingsPlaneBits);
        std::memset(target + px600::kPlaneFlags.End(), 0, px600::kCurveSettings.size - px600::kPlaneFlags.End());
    }
}

void ConvertPX400ModelBlock(uint8_t* target, const uint8_t* s, int heli)
{
    const uint32_t total = uint32_t(s[kTotalSeconds]) + 60u * s[kTotalMinutes] + 3600u * GetLE16(s + kTotalHours);
    PutBE32(target + 0, total);
    PutBE32(target + 4, GetLE32(s + kValue4Source));
    PutBE32(target + 8, GetLE32(s + kValue8Source));
    for (int i = 0; i < px600::kTimers.count; ++i)
        ConvertTimer(target + px600::kTimers.At(i) - px600::kModelWide.offset, s, kTimers[i]);

    uint8_t* flags = target + kCombinedFlags;
    std::memset(flags, 0xFF, px600::kCombinedFlags.size);
    for (int n = 0; n < px600::kConditions; ++n) {
        const uint8_t* k = s + kControlSource + size_t(kControlSize) * n;
        ApplyClearRows(flags, k, kClearCommon);
        ApplyClearRows(flags, k, heli ? std::span<const ClearRow>(kClearHeli) : std::span<const ClearRow>(kClearPlane));
    }

    target[58] = 0;
    target[59] = 0;
    for (const FlagBitRow& row : kFlagBytes) {
        const uint8_t bits = uint8_t(s[row.source] & ((1u << row.width) - 1));
        target[row.target] |= uint8_t(bits << row.targetBit);
    }
    for (int m = 0; m < 8; ++m) {
        const uint8_t low = uint8_t(s[kFlagBytes8Source + m] & 0x03);
        const uint8_t bit = uint8_t((s[kFlagBits8Source] >> (7 - m)) & 1);
        target[kFlagBytes8 + m] = uint8_t(low + bit * 4);
    }
    std::memset(target + 68, 0, 32);

    for (const ValueRow& row : kValueTables)
        for (int m = 0; m < kValueGroups; ++m)
            for (int h = 0; h < row.count; ++h)
                PutBE16(target + row.target + row.targetGroupStride * m + 2 * h,
                        GetLE16(s + row.source + kValueSourceGroupStride * m + 2 * h));

    std::memcpy(target + kFixedBytesAt, kFixedBytes, sizeof(kFixedBytes));
}

int BuildFromPX400(CModelDataPX600& target, CModelDataBase& source)
{
    uint8_t* t = target.GetImage();
    const uint8_t* s = source.GetImage();

    std::memset(t, 0, PX600_IMAGE_SIZE);
    target.InitTransmitterName(TX_PX600);
    PutBE16(t + px600::kBuildMark.offset, px600::kBuiltFromPX400);
    target.SetModelName(source.GetModelName());
    target.SetModelType(source.GetModelType());
    SYSTEMTIME unused{};
    target.StampDate(&unused);

    std::memcpy(t + px600::kModelSettings.offset, s + kSettingsSource, kSettingsSize);
    const uint16_t modelType = target.GetModelType();
    if (modelType == MODEL_GLIDER)
        t[kGliderByte] = uint8_t((t[kGliderByte] & ~0x10) | 0x20);
    const int heli = modelType == MODEL_HELICOPTER ? 1 : 0;
    std::memcpy(t + px600::kExtraSettings.offset, s + kHeaderExtraSource, px600::kExtraSettings.size);

    for (int n = 0; n < px600::kConditions; ++n) {
        ConvertPX400ConditionBlock(t + px600::kConditionBlock.At(n),
                                   s + kConditionSource + size_t(px600::kConditionBlock.size) * n, heli);
        ConvertPX400CurveSettingsBlock(t + px600::kCurveSettings.At(n), s + kControlSource + size_t(kControlSize) * n,
                                       heli);
    }

    std::memcpy(t + px600::kModelBlock2.offset, s + kModelBlock2Source, px600::kModelBlock2.size);
    ConvertPX400ModelBlock(t + px600::kModelWide.offset, s, heli);
    target.CheckDelayRecords();
    return 1;
}
