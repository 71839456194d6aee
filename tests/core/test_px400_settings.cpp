// Curve settings blocks and the model-wide block converted from a PX400 model.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <span>
#include <vector>

#include "convert/PX400Convert.h"
#include "convert/PX400Layout.h"
#include "samplegen/PX400Builder.h"

using samples::CurveSetting;
using samples::PX400Builder;

namespace {

constexpr int kSettingsBlock = 578;
constexpr int kModelWide = 2940;

std::vector<uint8_t> ConvertSettings(PX400Builder& b, int condition, int heli)
{
    std::vector<uint8_t> t(kSettingsBlock, 0);
    ConvertPX400CurveSettingsBlock(t.data(), b.ControlBlock(condition), heli);
    return t;
}

std::vector<uint8_t> ConvertModelWide(PX400Builder& b, int heli)
{
    std::vector<uint8_t> t(kModelWide, 0);
    ConvertPX400ModelBlock(t.data(), b.Data(), heli);
    return t;
}

std::array<uint8_t, 12> Record(const std::vector<uint8_t>& block, int offset)
{
    std::array<uint8_t, 12> r{};
    std::copy(block.begin() + offset, block.begin() + offset + 12, r.begin());
    return r;
}

using Bytes12 = std::array<uint8_t, 12>;
constexpr Bytes12 kTemplate1{0x55, 0x55, 0x01, 0xE8, 0xE8, 0x33, 0, 0, 0, 0, 0, 0};
constexpr Bytes12 kTemplate2{0x55, 0x55, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr Bytes12 kTemplate3{0xFF, 0x07, 0x00, 0xE8, 0xE8, 0x33, 0, 0, 0, 0, 0, 0};

}  // namespace

TEST(PX400CurveSettings, RecordByCurveType)
{
    // Values packed as three pairs of 12 bits: P from offsets 20/22, Q from
    // 6/8, R from 10/24.
    CurveSetting s;
    s.p1 = 0xF123;
    s.p2 = 0x0456;
    s.q1 = 0x0789;
    s.q2 = 0x0ABC;
    s.r1 = 0x0DEF;
    s.r2 = 0x0321;
    s.flag = 0x01;

    PX400Builder b;
    const int types[] = {0, 1, 2, 3, 4, 5, 9};
    for (int i = 0; i < 7; ++i) {
        s.type = uint8_t(types[i]);
        b.SetCurveSetting(0, 358 + 162 * i, s);
    }
    const auto t = ConvertSettings(b, 0, 0);

    const Bytes12 values{0, 0, 0, 0x23, 0x56, 0x14, 0x89, 0xBC, 0x7A, 0xEF, 0x21, 0xD3};
    auto expect = [&](int i, uint8_t m0, uint8_t m1, uint8_t byte2) {
        Bytes12 e = values;
        e[0] = m0;
        e[1] = m1;
        e[2] = byte2;
        EXPECT_EQ(Record(t, 18 + 12 * i), e) << "type " << types[i];
    };
    expect(0, 0xFF, 0xFF, 0x80 | 0x10 | 0x01);  // all points, bit 4
    expect(1, 0x55, 0x55, 0x80 | 0x01);         // template mask, neither bit
    expect(2, 0x55, 0x55, 0x80 | 0x08 | 0x01);  // bit 3
    expect(3, 0xFF, 0xFF, 0x80 | 0x10 | 0x01);
    expect(4, 0xFF, 0xFF, 0x80 | 0x10 | 0x01);
    expect(5, 0xFF, 0xFF, 0x80 | 0x10 | 0x01);
    EXPECT_EQ(Record(t, 18 + 12 * 6), kTemplate1);  // type 9: the template as it is
    // Records whose source is all zero are type 0: all points, zero values.
    EXPECT_EQ(Record(t, 18 + 12 * 7), (Bytes12{0xFF, 0xFF, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// Each setting row of the layout (whose static checks hold its places): a
// source record of type 6 leaves the row's template as it is; type 1 with P1 =
// a running index shows that the row's target takes its own source (the low
// byte of P1 lands in byte 3).
TEST(PX400CurveSettings, EveryRowTakesItsTemplateOrItsSource)
{
    using namespace px400;
    for (int heli : {0, 1}) {
        const std::span<const SettingRow> rows[] = {kSettingsCommon,
                                                    heli ? std::span<const SettingRow>(kSettingsHeli) : kSettingsPlane};
        for (uint8_t type : {6, 1}) {
            SCOPED_TRACE(testing::Message() << "heli " << heli << " type " << int(type));
            PX400Builder b;
            int index = 0;
            for (const auto& list : rows)
                for (const SettingRow& row : list)
                    for (int k = 0; k < row.count; ++k)
                        b.SetCurveSetting(heli, row.source + row.sourceStride * k, {type, uint16_t(++index)});
            const auto t = ConvertSettings(b, heli, heli);
            index = 0;
            for (const auto& list : rows)
                for (const SettingRow& row : list)
                    for (int k = 0; k < row.count; ++k) {
                        const int at = row.target + 12 * k;
                        ++index;
                        if (type == 6)
                            EXPECT_TRUE(std::equal(t.begin() + at, t.begin() + at + 12, kTemplateBytes[int(row.tmpl) - 1]))
                                << at;
                        else
                            EXPECT_EQ(t[at + 3], index) << at;
                    }
        }
    }

    // An 11-point record of type 0 (the first plane row) sets its 11 mask bits only.
    PX400Builder v;
    v.SetCurveSetting(0, px400::kSettingsPlane[0].source, {0});
    const auto t = ConvertSettings(v, 0, 0);
    EXPECT_EQ(t[402], 0xFF);
    EXPECT_EQ(t[403], 0x07);
    EXPECT_EQ(t[404], 0x10);
}

TEST(PX400CurveSettings, NameAndFlagBytes)
{
    PX400Builder b;
    b.SetConditionName(0, u"IDLEUP1\u03A9");
    // Units after a 0 unit are carried over as well.
    b.SetConditionName(1, u"AB");
    b.ControlBlock(1)[94 + 2 * 5] = 'Z';
    for (int i = 10120; i <= 10122; ++i)
        b.ControlBlock(0)[i] = 0;
    b.ControlBlock(0)[10120] = 0x01;  // bit 0 -> target 571 bit 7
    b.ControlBlock(0)[10121] = 0x06;  // bits 1, 2 -> target 572 bits 6, 5
    b.ControlBlock(0)[10122] = 0xF8;  // no bit 0..2
    auto t = ConvertSettings(b, 0, 0);
    const uint8_t name[] = {0, 'I', 0, 'D', 0, 'L', 0, 'E', 0, 'U', 0, 'P', 0, '1', 0x03, 0xA9, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(t.begin(), t.begin() + 18), std::vector<uint8_t>(name, name + 18));
    EXPECT_EQ(t[570], 0);
    EXPECT_EQ(t[571], 0x80);
    EXPECT_EQ(t[572], 0x60);
    EXPECT_EQ(t[573], 0x00);
    for (int i = 574; i < kSettingsBlock; ++i)
        EXPECT_EQ(t[i], 0);

    t = ConvertSettings(b, 1, 0);
    EXPECT_EQ(t[1], 'A');
    EXPECT_EQ(t[5], 0);
    EXPECT_EQ(t[11], 'Z');

    // Helicopter: bit 1 of 9816..9821, 9826..9828, 9832..9834 become bit 7
    // of 522..533; everything from 534 on stays 0.
    PX400Builder h;
    uint8_t* k = h.ControlBlock(2);
    for (int i = 9816; i <= 9834; ++i)
        k[i] = 0xFD;  // bit 1 clear
    for (int i : {9817, 9821, 9826, 9834, 9822, 9829})
        k[i] = 0x02;
    k[10120] = k[10121] = k[10122] = 0xFF;
    t = ConvertSettings(h, 2, 1);
    const int expected1[] = {523, 527, 528, 533};
    for (int i = 522; i < 534; ++i) {
        const bool set = std::find(std::begin(expected1), std::end(expected1), i) != std::end(expected1);
        EXPECT_EQ(t[i], set ? 0x80 : 0x00) << i;
    }
    for (int i = 534; i < kSettingsBlock; ++i)
        EXPECT_EQ(t[i], 0) << i;
}

TEST(PX400ModelBlock, TimesAndTimers)
{
    PX400Builder b;
    b.SetTotalTime(5, 2, 3);
    samples::Timer t1;
    t1.milliseconds = 3723000;
    t1.enabled = 0;
    t1.mode = 2;
    t1.flagA = 1;
    t1.flagB = 0;
    for (int i = 0; i < 12; ++i)
        t1.settings[i] = uint8_t(0x10 + i);
    b.SetTimer(0, t1);
    samples::Timer t2;
    t2.milliseconds = -3723999;  // -3723 s: remainder -123, stored 0xFF85
    t2.enabled = 7;
    t2.mode = 3;
    t2.flagA = 0xFE;  // bit 0 clear
    t2.flagB = 0x03;
    b.SetTimer(1, t2);
    b.SetLE32(7524, 0x11223344);
    b.SetLE32(7532, 0x55667788);

    const auto t = ConvertModelWide(b, 0);
    EXPECT_EQ(std::vector<uint8_t>(t.begin(), t.begin() + 4), (std::vector<uint8_t>{0x00, 0x00, 0x46, 0xCB}));
    EXPECT_EQ(std::vector<uint8_t>(t.begin() + 4, t.begin() + 12),
              (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}));
    EXPECT_EQ(t[12], 0x01 | 0x02 | 0x20);
    EXPECT_EQ(t[13], 0);
    EXPECT_EQ(t[14], 123);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(t[15 + i], 0x10 + i);
    EXPECT_EQ(t[27], 0x08 | 0x30);
    EXPECT_EQ(t[28], 0xFF);
    EXPECT_EQ(t[29], 0x85);

    // The largest total time: 65535 h 255 min 255 s.
    b.SetTotalTime(0xFFFF, 255, 255);
    const auto big = ConvertModelWide(b, 0);
    const uint32_t total = 255u + 60u * 255u + 3600u * 65535u;
    EXPECT_EQ(big[0], uint8_t(total >> 24));
    EXPECT_EQ(big[3], uint8_t(total));

    // The most negative time stays within its 16 bits.
    t2.milliseconds = INT32_MIN;  // -2147483 s, remainder -1883
    b.SetTimer(1, t2);
    const auto low = ConvertModelWide(b, 0);
    EXPECT_EQ((low[28] << 8) | low[29], 0x10000 - 1883);
}

TEST(PX400ModelBlock, CombinedFlagBits)
{
    PX400Builder b;
    b.SetAllInUse();
    auto t = ConvertModelWide(b, 0);
    for (int i = 42; i < 57; ++i)
        EXPECT_EQ(t[i], 0xFF) << i;
    EXPECT_EQ(t[57], 0xFF);  // plane: 10123, 10125, 10127 are 0, nothing cleared

    // One condition's zero clears the bit for all.
    b.SetControlByte(5, 5, 0);
    b.SetControlByte(7, 16 + 9, 0);
    b.SetControlByte(3, 71 + 11, 0);
    b.SetControlByte(0, 5865, 0);
    b.SetControlByte(6, 83 + 9, 0);
    b.SetControlByte(2, 8206, 0);
    b.SetControlByte(4, 10125, 1);
    t = ConvertModelWide(b, 0);
    EXPECT_EQ(t[42], 0xFF & ~0x20);
    EXPECT_EQ(t[45], 0xFF & ~0x02);
    EXPECT_EQ(t[51], 0xFF & ~0x08 & ~0x40);
    EXPECT_EQ(t[53], 0xFF & ~0x02);
    EXPECT_EQ(t[55], 0xFF & ~0x40);
    EXPECT_EQ(t[57], 0xFF & ~0x02);

    // The helicopter reads other bytes: 8206 clears T 57 bit 2; 10125 nothing.
    t = ConvertModelWide(b, 1);
    EXPECT_EQ(t[55], 0xFF);
    EXPECT_EQ(t[57], 0xFF & ~0x04);

    // Everything zero: every bit that a test names is cleared; the rest of
    // T 50..57 stays set.
    PX400Builder z;
    t = ConvertModelWide(z, 0);
    for (int i = 42; i < 51; ++i)
        EXPECT_EQ(t[i], 0) << i;
    EXPECT_EQ(t[51], 0x10);  // bit 4 of 50..51 names nothing
    EXPECT_EQ(t[52], 0);
    EXPECT_EQ(t[53], 0xFC);
    EXPECT_EQ(t[54], 0);
    EXPECT_EQ(t[55], 0);
    EXPECT_EQ(t[56], 0);
    EXPECT_EQ(t[57], 0xFF);  // plane: cleared by non-zero bytes only
    t = ConvertModelWide(z, 1);
    EXPECT_EQ(t[54], 0);
    EXPECT_EQ(t[55], 0);
    EXPECT_EQ(t[56], 0);
    EXPECT_EQ(t[57], 0x80);  // helicopter: bit 7 names nothing
}

TEST(PX400ModelBlock, FlagBytesValuesAndFixedBytes)
{
    PX400Builder b;
    b.SetByte(7516, 0xFF);
    b.SetByte(7520, 0x00);
    b.SetByte(7528, 0x01);
    b.SetByte(7776, 0x03);
    b.SetByte(7642, 0xFE);   // bits 0..1 = 2
    b.SetByte(18551, 0x01);
    b.SetByte(7643, 0x81);   // bit 7 -> T 60, bit 0 -> T 67
    for (int m = 0; m < 8; ++m)
        b.SetByte(131105 + m, uint8_t(0xFC | (m & 3)));
    for (int m = 0; m < 8; ++m)
        for (int h = 0; h < 16; ++h)
            b.SetTableValue(m, h, uint16_t(0x0100 * m + h + (h > 10 ? 0x8000 : 0)));
    b.SetByte(7259, 0xAA);  // just before the table

    const auto t = ConvertModelWide(b, 0);
    EXPECT_EQ(t[58], 0x01 | 0x02 | 0x08);
    EXPECT_EQ(t[59], 0x08 | 0x10);
    for (int m = 0; m < 8; ++m) {
        const int bit = m == 0 || m == 7 ? 4 : 0;
        EXPECT_EQ(t[60 + m], (m & 3) + bit) << m;
    }
    for (int i = 68; i < 100; ++i)
        EXPECT_EQ(t[i], 0) << i;
    for (int m = 0; m < 8; ++m) {
        for (int h = 0; h < 11; ++h) {
            EXPECT_EQ(t[100 + 22 * m + 2 * h], m) << m << "," << h;
            EXPECT_EQ(t[101 + 22 * m + 2 * h], h) << m << "," << h;
        }
        for (int o = 0; o < 5; ++o) {
            EXPECT_EQ(t[276 + 10 * m + 2 * o], 0x80 + m);
            EXPECT_EQ(t[277 + 10 * m + 2 * o], 11 + o);
        }
    }
    // The fixed bytes, and zeros around them.
    const size_t fixedEnd = px400::kFixedBytesAt + sizeof(px400::kFixedBytes);
    EXPECT_TRUE(std::equal(t.begin() + px400::kFixedBytesAt, t.begin() + fixedEnd, px400::kFixedBytes));
    for (size_t i = 356; i < t.size(); ++i)
        if (i < px400::kFixedBytesAt || i >= fixedEnd) {
            ASSERT_EQ(t[i], 0) << i;
        }
}
