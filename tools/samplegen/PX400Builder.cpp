#include "samplegen/PX400Builder.h"

#include <cmath>
#include <stdexcept>

namespace samples {

namespace {

constexpr uint32_t kConditionSize = 3056;
constexpr uint32_t kControlSize = 12222;
constexpr uint32_t kModelName = 30;
constexpr size_t kModelNameUnits = 33;
constexpr uint32_t kConditionName = 94;  // in a control block
constexpr uint32_t kDualRateName = 2860; // + 226 * d, in a control block
constexpr size_t kShortNameUnits = 8;
constexpr size_t kDualRateNameUnits = 30;
constexpr uint32_t kDelayRecords[2] = {2797, 2840};

int Sign12(int v)
{
    v &= 0xFFF;
    return v >= 0x800 ? v - 0x1000 : v;
}

}  // namespace

void WriteCurveRecord(uint8_t* record, int points, const std::vector<CurvePoint>& curve)
{
    if (int(curve.size()) != points)
        throw std::invalid_argument("curve point count");
    for (int i = 0; i < points; ++i) {
        const int x = curve[i].x & 0xFFF;
        const int y = curve[i].y & 0xFFF;
        record[i] = uint8_t(y & 0xFF);
        record[points + i] = uint8_t(x & 0xFF);
        record[2 * points + i] = uint8_t(((x >> 8) << 4) | (y >> 8));
    }
}

void WriteCurveRecord(uint8_t* record, int points, std::initializer_list<CurvePoint> curve)
{
    WriteCurveRecord(record, points, std::vector<CurvePoint>(curve));
}

CurvePoint ReadCurvePoint(const uint8_t* record, int points, int index)
{
    const uint8_t nibbles = record[2 * points + index];
    return {Sign12(record[points + index] | ((nibbles >> 4) << 8)), Sign12(record[index] | ((nibbles & 0x0F) << 8))};
}

PX400Builder::PX400Builder() : m_image(kImageSize, 0)
{
    PutText(0, u"PX400   ", 8);
}

void PX400Builder::PutText(uint32_t offset, std::u16string_view text, size_t maxUnits)
{
    for (size_t i = 0; i < maxUnits; ++i)
        SetLE16(offset + 2 * uint32_t(i), i < text.size() ? uint16_t(text[i]) : 0);
}

void PX400Builder::SetModelName(std::u16string_view name)
{
    PutText(kModelName, name, kModelNameUnits);
}

void PX400Builder::SetModelType(uint16_t modelType)
{
    m_image[96] = modelType == 1 ? 1 : 0;
    uint8_t top = 0;
    if (modelType == 3)
        top = 0x40;
    else if (modelType == 2)
        top = 0x80;
    m_image[97] = uint8_t((m_image[97] & 0x3F) | top);
}

void PX400Builder::SetDate(const SYSTEMTIME& d)
{
    const uint16_t words[8] = {d.wYear, d.wMonth, d.wDayOfWeek, d.wDay, d.wHour, d.wMinute, d.wSecond, d.wMilliseconds};
    for (int i = 0; i < 8; ++i)
        SetLE16(168 + 2 * i, words[i]);
}

void PX400Builder::SetVersion(uint32_t first, uint32_t second, uint8_t third, uint8_t fourth)
{
    SetLE32(16, first);
    SetLE32(20, second);
    m_image[24] = third;
    m_image[25] = fourth;
}

uint8_t* PX400Builder::ConditionBlock(int condition)
{
    return m_image.data() + kConditionBlock + kConditionSize * uint32_t(condition);
}

uint8_t* PX400Builder::ControlBlock(int condition)
{
    return m_image.data() + kControlBlock + kControlSize * uint32_t(condition);
}

void PX400Builder::SetConditionName(int condition, std::u16string_view name)
{
    PutText(kControlBlock + kControlSize * condition + kConditionName, name, kShortNameUnits);
}

void PX400Builder::SetDualRateName(int condition, int rate, std::u16string_view name)
{
    PutText(kControlBlock + kControlSize * condition + kDualRateName + 226 * rate, name, kDualRateNameUnits);
}

void PX400Builder::SetCurve(int condition, int blockOffset, int points, const std::vector<CurvePoint>& curve)
{
    WriteCurveRecord(ConditionBlock(condition) + blockOffset, points, curve);
}

void PX400Builder::SetCurve(int condition, int blockOffset, int points, std::initializer_list<CurvePoint> curve)
{
    SetCurve(condition, blockOffset, points, std::vector<CurvePoint>(curve));
}

void PX400Builder::SetLineCurve(int condition, int blockOffset, int points, const std::vector<int>& xs,
                                double x0, double y0, double x1, double y1)
{
    std::vector<CurvePoint> curve;
    for (int x : xs)
        curve.push_back({x, int(std::trunc(y0 + (x - x0) * (y1 - y0) / (x1 - x0)))});
    SetCurve(condition, blockOffset, points, curve);
}

void PX400Builder::SetCurveSetting(int condition, int controlOffset, const CurveSetting& s)
{
    const uint32_t at = kControlBlock + kControlSize * uint32_t(condition) + uint32_t(controlOffset);
    m_image[at] = s.type;
    SetLE16(at + 20, s.p1);
    SetLE16(at + 22, s.p2);
    SetLE16(at + 6, s.q1);
    SetLE16(at + 8, s.q2);
    SetLE16(at + 10, s.r1);
    SetLE16(at + 24, s.r2);
    m_image[at + 32] = s.flag;
}

void PX400Builder::SetSwitch(int condition, int blockOffset, uint8_t code)
{
    ConditionBlock(condition)[blockOffset] = code;
}

void PX400Builder::SetSwitchRange(int condition, int blockOffset, uint8_t control, int8_t first, int8_t second)
{
    uint8_t* r = ConditionBlock(condition) + blockOffset;
    r[0] = control;
    r[1] = uint8_t(first);
    r[2] = uint8_t(second);
}

void PX400Builder::SetSettingsByte(int px600Offset, uint8_t value)
{
    if (px600Offset < 64 || px600Offset > 606)
        throw std::out_of_range("settings offset");
    m_image[kSettingsBlock + uint32_t(px600Offset - 64)] = value;
}

void PX400Builder::SetSettingsRange(int px600Offset, uint8_t control, int8_t first, int8_t second)
{
    SetSettingsByte(px600Offset, control);
    SetSettingsByte(px600Offset + 1, uint8_t(first));
    SetSettingsByte(px600Offset + 2, uint8_t(second));
}

void PX400Builder::SetDelayRecord(int condition, int record, const DelayRecord& delay)
{
    uint8_t* r = ConditionBlock(condition) + kDelayRecords[record];
    r[0] = delay.select2;
    r[4] = delay.select1;
    for (int i = 0; i < 10; ++i)
        r[5 + i] = delay.rates[i];
    for (int i = 0; i < 8; ++i)
        r[28 + i] = delay.pairs[i];
}

void PX400Builder::SetTimer(int timer, const Timer& t)
{
    const uint32_t base = timer == 0 ? 260 : 772;
    m_image[base] = t.enabled;
    SetLE32(base + 4, uint32_t(t.milliseconds));
    for (int i = 0; i < 12; ++i)
        m_image[base + 8 + i] = t.settings[i];
    const uint32_t mode = timer == 0 ? 769 : 1281;
    m_image[mode] = uint8_t((m_image[mode] & 0xFC) | (t.mode & 3));
    m_image[timer == 0 ? 7645 : 7647] = t.flagA;
    m_image[timer == 0 ? 7644 : 7646] = t.flagB;
}

void PX400Builder::SetTotalTime(uint16_t hours, uint8_t minutes, uint8_t seconds)
{
    m_image[6480] = seconds;
    m_image[6481] = minutes;
    SetLE16(6482, hours);
}

void PX400Builder::SetTableValue(int group, int index, uint16_t value)
{
    SetLE16(7260 + 32 * uint32_t(group) + 2 * uint32_t(index), value);
}

void PX400Builder::SetControlByte(int condition, int controlOffset, uint8_t value)
{
    ControlBlock(condition)[controlOffset] = value;
}

void PX400Builder::SetAllInUse()
{
    for (int c = 0; c < 8; ++c) {
        uint8_t* k = ControlBlock(c);
        for (int i = 0; i < 64; ++i)
            k[i] = 1;
        for (int i = 71; i <= 92; ++i)
            k[i] = 1;
        k[5856] = k[5865] = k[5870] = 1;
        for (int i = 8192; i <= 8215; ++i)
            k[i] = 1;
        for (int i : {9822, 9823, 9824, 9825, 9829, 9830, 9831})
            k[i] = 1;
    }
}

void PX400Builder::SetByte(uint32_t offset, uint8_t value)
{
    m_image.at(offset) = value;
}

void PX400Builder::SetLE16(uint32_t offset, uint16_t value)
{
    m_image.at(offset) = uint8_t(value);
    m_image.at(offset + 1) = uint8_t(value >> 8);
}

void PX400Builder::SetLE32(uint32_t offset, uint32_t value)
{
    SetLE16(offset, uint16_t(value));
    SetLE16(offset + 2, uint16_t(value >> 16));
}

}  // namespace samples
