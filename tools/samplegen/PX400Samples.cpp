#include "samplegen/PX400Samples.h"

#include <cmath>
#include <random>

#include "samplegen/SampleFiles.h"

using samples::CurvePoint;
using samples::CurveSetting;
using samples::DelayRecord;
using samples::PX400Builder;

namespace {

// Control codes used in switch fields.
constexpr uint8_t kJ1 = 0, kRD = 8, kRS = 9, kRST = 10, kLD = 16, kLST = 17, kLS = 18, kCDSW = 19, kCD = 26;
constexpr uint8_t kSwitchA = 4, kSwitchB = 5, kSwitchC = 6;

const char16_t* const kHeliConditions[8] = {u"NORMAL", u"IDLEUP1", u"IDLEUP2", u"IDLEUP3",
                                            u"HOLD", u"", u"", u""};
const char16_t* const kPlaneConditions[8] = {u"CRUISE", u"TAKEOFF", u"LANDING", u"SPEED", u"", u"", u"", u""};
// U+0398 (Greek capital theta) has no place in code page 1252.
const char16_t* const kGliderConditions[8] = {u"LAUNCH", u"\u0398ERMAL", u"SPEED", u"ZOOM",
                                              u"LANDING", u"CRUISE", u"", u""};

// A curve of points points, with the inner points placed off the grid
// (shifted by up to +-60) along an expo-shaped line scaled by gain.
std::vector<CurvePoint> ExpoCurve(int points, double gain, double expo, std::mt19937& rng)
{
    std::vector<CurvePoint> c;
    const double step = 3200.0 / (points - 1);
    for (int k = 0; k < points; ++k) {
        int x = int(-1600 + step * k);
        if (k > 0 && k < points - 1)
            x += int(rng() % 121) - 60;
        const double u = x / 1600.0;
        const double y = gain * 1600.0 * ((1.0 - expo) * u + expo * u * u * u);
        c.push_back({x, int(std::trunc(y))});
    }
    return c;
}

void AddCurves(PX400Builder& b, int c, std::mt19937& rng, bool heli)
{
    const double gain = 0.6 + 0.05 * c;
    for (int k = 0; k < 16; ++k)
        b.SetCurve(c, 48 + 53 * k, 17, ExpoCurve(17, gain, 0.1 * (k % 5), rng));
    for (int k = 0; k < 6; ++k) {
        uint8_t* r = b.ConditionBlock(c) + 896 + 57 * k;
        r[0] = uint8_t(0x01 | (k % 2 ? 0x60 : 0x00));
        b.SetCurve(c, 896 + 57 * k + 4, 17, ExpoCurve(17, 1.0, 0.3, rng));
    }
    for (int k = 0; k < 10; ++k) {
        uint8_t* r = b.ConditionBlock(c) + 1238 + 63 * k;
        if (k % 3 == 2) {
            r[0] = 0x11;  // four groups of values
            for (int i = 6; i < 56; ++i)
                r[i] = uint8_t(rng() % 100);
            r[14] = kSwitchA;
            r[24] = kRST;
            r[34] = 0x3F;
            r[44] = kSwitchB;
        } else {
            r[0] = 0x21;  // a curve mix with a switch at byte 1
            r[1] = k == 0 ? kCDSW : kSwitchC;
            b.SetCurve(c, 1238 + 63 * k + 6, 17, ExpoCurve(17, 0.5 + 0.05 * k, 0.0, rng));
            r[61] = k == 1 ? kLST : kSwitchA;
        }
        r[3] = kSwitchB;
        r[4] = 0x20;
        r[5] = 0x40;
    }
    if (heli) {
        for (int k = 0; k < 4; ++k)
            b.SetCurve(c, 2030 + 55 * k, 17, ExpoCurve(17, 0.8, 0.0, rng));
        for (int k = 0; k < 3; ++k)
            b.SetCurve(c, 2250 + 60 * k, 17, ExpoCurve(17, 0.9, 0.2, rng));
        b.SetCurve(c, 2430, 17, ExpoCurve(17, 1.0, 0.0, rng));
        b.SetCurve(c, 2487, 17, ExpoCurve(17, 0.7, 0.1, rng));
        b.ConditionBlock(c)[2486] = 0x85;
        b.SetSwitch(c, 1985, kCD);
        b.SetSwitch(c, 1988, kSwitchA);
        b.SetSwitchRange(c, 2610, kLST, 0x20, 0x40);
        b.SetSwitch(c, 2614, kCDSW);
    } else {
        for (int at : {1993, 2054, 2095, 2136, 2175, 2234, 2279, 2320, 2371, 2414, 2649})
            b.SetCurve(c, at, 11, ExpoCurve(11, 0.4 + 0.02 * (at % 7), 0.0, rng));
        b.SetCurve(c, 2465, 17, ExpoCurve(17, 1.0, 0.4, rng));
        b.SetCurve(c, 2522, 17, ExpoCurve(17, 0.8, 0.2, rng));
        b.SetSwitch(c, 1992, kRST);
        b.SetSwitch(c, 2169, kSwitchB);
        b.SetSwitchRange(c, 2043, kLD, 10, -10);
        b.SetSwitchRange(c, 2172, kCD, 0x20, 0x40);
    }
    // Direct switch fields of the condition tables.
    for (int i = 0; i < 32; ++i)
        b.SetSwitch(c, i, uint8_t(0xFF));
    b.SetSwitch(c, 0, kRS);
    b.SetSwitch(c, 1, kRST);
    b.SetSwitch(c, 16, kLST);
    b.SetSwitch(c, 17, kCDSW);
    b.SetSwitch(c, 18, kCD);
    b.SetSwitch(c, 19, kLS);
    for (int k = 0; k < 6; ++k)
        b.SetSwitchRange(c, 897 + 57 * k, k == 0 ? kRD : (k == 1 ? kCD : kSwitchA), 0x20, 0x40);
}

void AddCurveSettings(PX400Builder& b, int c, std::mt19937& rng, bool heli)
{
    auto setting = [&](int type) {
        CurveSetting s;
        s.type = uint8_t(type);
        s.p1 = uint16_t(600 + rng() % 400);
        s.p2 = uint16_t(600 + rng() % 400);
        s.q1 = uint16_t(rng() % 100);
        s.q2 = uint16_t(rng() % 100);
        s.r1 = uint16_t(uint16_t(-int(rng() % 100)));
        s.r2 = uint16_t(rng() % 100);
        s.flag = uint8_t(rng() % 2);
        return s;
    };
    for (int k = 0; k < 16; ++k)
        b.SetCurveSetting(c, 358 + 162 * k, setting(k % 6));
    for (int k = 0; k < 6; ++k)
        b.SetCurveSetting(c, 3026 + 226 * k, setting(k == 5 ? 2 : 1));
    for (int k = 0; k < 10; ++k)
        b.SetCurveSetting(c, 4318 + 164 * k, setting((k + c) % 6));
    if (heli) {
        for (int at : {8326, 8484, 8642, 8800, 8958, 9118, 9278, 9438, 9598, 9758})
            b.SetCurveSetting(c, at, setting(int(rng() % 3)));
        for (int at : {9816, 9818, 9820, 9827, 9833})
            b.SetControlByte(c, at, 0x02);
    } else {
        for (int at : {8282, 8404, 8526, 8648, 8772, 8896, 9018, 9140, 9270, 9394, 9554, 9714, 9864, 10032})
            b.SetCurveSetting(c, at, setting(int(rng() % 6)));
        b.SetControlByte(c, 10120, 0x05);
        b.SetControlByte(c, 10121, 0x02);
    }
}

void AddDelays(PX400Builder& b, int c, bool trips)
{
    // Swappable delays: every selected group's rates are covered.
    DelayRecord swap;
    swap.select1 = 0x0F;
    swap.select2 = 0x1C;
    for (int i = 0; i < 8; ++i)
        swap.pairs[i] = uint8_t(10 + 5 * i + c);
    b.SetDelayRecord(c, 0, swap);

    DelayRecord second;
    second.select1 = 0x30;
    second.rates[6] = 0;  // R7
    second.rates[7] = 0;  // R8
    second.pairs[2] = 20;
    second.pairs[3] = 40;
    if (trips && c == 1) {
        // R7 is set but bit 6 of the selection is clear: the delay of the
        // second group cannot be carried over.
        second.rates[6] = 25;
    }
    b.SetDelayRecord(c, 1, second);
}

}  // namespace

const std::vector<PX400Sample>& PX400SampleList()
{
    static const std::vector<PX400Sample> list = {
        {"TRAINER", 0, u"ARK TRAINER", true, 11},
        {"HELI450", 1, u"ARK HELI 450", false, 22},
        {"THERMAL", 2, u"ARK THERMAL 3M", true, 33},
        {"EGLIDER", 3, u"ARK E-GLIDER", false, 44},
        {"LONGNAME", 0, u"ARK SPORT AEROBATIC 2", false, 55},
    };
    return list;
}

PX400Builder MakePX400Sample(const PX400Sample& sample)
{
    std::mt19937 rng(sample.seed);
    PX400Builder b;
    const bool heli = sample.modelType == 1;
    b.SetModelName(sample.modelName);
    b.SetModelType(sample.modelType);
    b.SetVersion(0x00010006, 2153, 1, 0x2C);
    SYSTEMTIME date{};
    date.wYear = 2019;
    date.wMonth = uint16_t(1 + sample.seed % 12);
    date.wDayOfWeek = 0;
    date.wDay = uint16_t(1 + sample.seed % 28);
    date.wHour = 14;
    date.wMinute = 30;
    date.wSecond = 5;
    b.SetDate(date);

    // Model settings: plausible bytes, with switch fields named on the PX600
    // side (ranges at 65.., direct fields at 234.., masked fields at 530..).
    for (int at = 64; at <= 606; ++at)
        b.SetSettingsByte(at, uint8_t(rng() % 64));
    b.SetSettingsByte(94, uint8_t(0x15));
    for (int k = 0; k < 7; ++k)
        b.SetSettingsRange(65 + 4 * k, k == 2 ? kLST : kSwitchA, 0x20, 0x40);
    for (int k = 0; k < 16; ++k)
        b.SetSettingsByte(234 + k, k == 3 ? kRST : (k == 4 ? kCD : 0xFF));
    for (int k = 0; k < 20; ++k)
        b.SetSettingsRange(456 + 3 * k, k == 0 ? kCDSW : (k == 1 ? 0x31 : kJ1), 100, -100);
    for (int k = 0; k < 12; ++k)
        b.SetSettingsByte(530 + k, uint8_t(k == 0 ? (0x40 | kCDSW) : kSwitchB));

    const char16_t* const* names =
        heli ? kHeliConditions : (sample.modelType == 0 ? kPlaneConditions : kGliderConditions);
    for (int c = 0; c < 8; ++c) {
        b.SetConditionName(c, names[c]);
        for (int d = 0; d < 6; ++d) {
            std::u16string rate = u"RATE ";
            rate += char16_t(u'1' + d);
            if (c == 0 && d == 5)
                rate = u"\u03A9 SNAP";  // outside code page 1252
            b.SetDualRateName(c, d, rate);
        }
        AddCurves(b, c, rng, heli);
        AddCurveSettings(b, c, rng, heli);
        if (!heli)
            AddDelays(b, c, sample.tripsDelayWarning);
    }
    b.SetAllInUse();
    for (int c = 2; c < 8; ++c)
        b.SetControlByte(c, 8195, 0);  // a function unused in the later conditions

    samples::Timer t1;
    t1.milliseconds = 300000 + int32_t(sample.seed) * 1000;
    t1.enabled = 1;
    t1.mode = 1;
    t1.flagA = 1;
    b.SetTimer(0, t1);
    samples::Timer t2;
    t2.milliseconds = 4000000;
    t2.mode = 2;
    t2.flagB = 1;
    b.SetTimer(1, t2);
    b.SetTotalTime(uint16_t(sample.seed % 40), uint8_t(sample.seed % 60), 17);
    for (int m = 0; m < 8; ++m)
        for (int h = 0; h < 16; ++h)
            b.SetTableValue(m, h, uint16_t(100 * m + h));
    b.SetByte(7516, 1);
    b.SetByte(7642, 2);
    b.SetByte(7643, 0xA5);
    for (int m = 0; m < 8; ++m)
        b.SetByte(131105 + m, uint8_t(m % 4));
    // Model block 2.
    for (int i = 0; i < 112; ++i)
        b.SetByte(130956 + i, uint8_t(rng()));
    return b;
}

void WritePX400Samples(const std::string& folder)
{
    for (const PX400Sample& sample : PX400SampleList())
        WriteSampleFile(folder + "/" + sample.fileName + ".MDL", MakePX400Sample(sample).Image());
}
