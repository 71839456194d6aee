// The whole PX400 to PX600 conversion: header, model settings, block order,
// the delay check, and the sample models end to end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "convert/Conversion.h"
#include "convert/PX400Convert.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/PX400Samples.h"

using samples::DelayRecord;
using samples::PX400Builder;

namespace {

void FixedClock(SYSTEMTIME* out)
{
    *out = SYSTEMTIME{};
    out->wYear = 2031;
    out->wMonth = 7;
    out->wDay = 14;
    out->wHour = 9;
    out->wMinute = 41;
    out->wSecond = 58;
}

class PX400Build : public ::testing::Test {
protected:
    void SetUp() override { SetLocalClockForTesting(&FixedClock); }
    void TearDown() override { SetLocalClockForTesting(nullptr); }

    // Converts the builder's image; the hardware table is not in use.
    std::unique_ptr<CModelDataPX600> Convert(const PX400Builder& b)
    {
        m_source = std::make_unique<CModelDataPX400>();
        std::memcpy(m_source->GetImage(), b.Image().data(), PX400_IMAGE_SIZE);
        auto target = std::make_unique<CModelDataPX600>(&m_table);
        EXPECT_EQ(ConvertFromPX400(*target, *m_source), 1);
        return target;
    }

    CConvertHW m_table;
    std::unique_ptr<CModelDataPX400> m_source;
};

const uint8_t* ConditionTarget(CModelDataPX600& t, int n) { return t.GetImage() + 640 + 3056 * n; }

}  // namespace

TEST_F(PX400Build, HeaderNameTypeAndDate)
{
    PX400Builder b;
    b.SetModelName(u"ABCDEFGHIJKLMNOPQRST");  // 20 characters
    b.SetModelType(MODEL_MOTOR_GLIDER);
    SYSTEMTIME old{};
    old.wYear = 2009;
    old.wMonth = 3;
    old.wDay = 2;
    b.SetDate(old);
    auto t = Convert(b);
    const uint8_t* img = t->GetImage();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(img), 8), "PX600   ");
    EXPECT_EQ(GetBE16(img + 8), 680);
    EXPECT_EQ(std::u16string(t->GetModelName()), u"ABCDEFGHIJKLMNO");
    EXPECT_EQ(GetBE16(img + 40), 0);
    EXPECT_EQ(t->GetModelType(), MODEL_GLIDER);
    const uint8_t date[] = {31, 7, 14, 9, 41, 58};
    EXPECT_EQ(0, std::memcmp(img + 43, date, 6));
    for (int i = 49; i < 64; ++i)
        EXPECT_EQ(img[i], 0) << i;
    // The checksum seals the image.
    uint32_t sum = 0;
    for (int i = 0; i < 32764; ++i)
        sum += img[i];
    EXPECT_EQ(GetBE32(img + 32764), sum);
}

TEST_F(PX400Build, ModelSettingsAndGliderBit)
{
    for (uint16_t type : {MODEL_AIRPLANE, MODEL_HELICOPTER, MODEL_GLIDER, MODEL_MOTOR_GLIDER}) {
        PX400Builder b;
        b.SetModelType(type);
        for (int at = 64; at <= 606; ++at)
            b.SetSettingsByte(at, uint8_t(at * 13));
        b.SetSettingsByte(94, 0x1F);  // bit 4 set, bit 5 clear
        for (int i = 0; i < 16; ++i)
            b.SetByte(108434 + i, uint8_t(0xA0 + i));
        for (int i = 0; i < 112; ++i)
            b.SetByte(130956 + i, uint8_t(0x30 + i));
        b.SetByte(8188 + 543, 0x77);  // just past the settings block
        auto t = Convert(b);
        const uint8_t* img = t->GetImage();
        const bool glider = type == MODEL_GLIDER || type == MODEL_MOTOR_GLIDER;
        EXPECT_EQ(img[94], glider ? 0x2F : 0x1F) << type;
        // Bytes outside the switch fields come over as they are.
        for (int at : {64, 93, 95, 200, 233, 300, 606})
            EXPECT_EQ(img[at], uint8_t(at * 13)) << at;
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(img[607 + i], 0xA0 + i);
        for (int i = 623; i < 640; ++i)
            EXPECT_EQ(img[i], 0) << i;
        for (int i = 0; i < 112; ++i)
            EXPECT_EQ(img[25088 + i], 0x30 + i);
        EXPECT_EQ(t->GetModelType(), glider ? uint16_t(MODEL_GLIDER) : type);
    }
}

TEST_F(PX400Build, BlocksOfEachCondition)
{
    // Each condition's curve, name and curve setting land in its own blocks,
    // and the model-wide block is built.
    PX400Builder b;
    b.SetModelType(MODEL_HELICOPTER);
    for (int c = 0; c < 8; ++c) {
        std::vector<samples::CurvePoint> curve;
        for (int k = 0; k < 17; ++k)
            curve.push_back({-1600 + 200 * k, 10 * c + k});
        b.SetCurve(c, 48, 17, curve);
        b.SetConditionName(c, std::u16string(u"COND") + char16_t(u'0' + c));
        b.SetCurveSetting(c, 358, {2, uint16_t(100 + c)});
        b.SetByte(106508 + 3056 * c + 2700, 0x5A);  // helicopter tail copies 2609..2700
    }
    b.SetTotalTime(1, 0, 0);
    auto t = Convert(b);
    const uint8_t* img = t->GetImage();
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(CurvePointY(ConditionTarget(*t, c) + 48, 17, 5), 10 * c + 5);
        EXPECT_EQ(ConditionTarget(*t, c)[2700], 0x5A);
        const uint8_t* s = img + 28140 + 578 * c;
        EXPECT_EQ(s[9], '0' + c);
        EXPECT_EQ(s[18 + 3], 100 + c);
        EXPECT_EQ(s[18 + 2] & 0x08, 0x08);
    }
    EXPECT_EQ(GetBE32(img + 25200), 3600u);
    EXPECT_EQ(img[25200 + 2547], 50);
}

TEST_F(PX400Build, DelayCheck)
{
    struct Case {
        const char* what;
        DelayRecord record;
        int warning;
        uint8_t pairs[8];  // after the check
    };
    auto rec = [](uint8_t s2, uint8_t s1, std::initializer_list<uint8_t> rates, std::initializer_list<uint8_t> pairs) {
        DelayRecord r;
        r.select2 = s2;
        r.select1 = s1;
        int i = 0;
        for (uint8_t v : rates)
            r.rates[i++] = v;
        i = 0;
        for (uint8_t v : pairs)
            r.pairs[i++] = v;
        return r;
    };
    const Case cases[] = {
        {"equal pairs", rec(0xFF, 0xFF, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}, {3, 3, 4, 4, 5, 5, 6, 6}), 0,
         {3, 3, 4, 4, 5, 5, 6, 6}},
        {"S1 bit 0 with R2 set", rec(0, 0x01, {0, 5}, {1, 2}), 1, {1, 2}},
        {"S1 bit 0, R2..R4 zero", rec(0, 0x01, {7}, {1, 2}), 0, {2, 1}},
        {"S1 bits 0..3 cover the rates", rec(0, 0x0F, {1, 2, 3, 4}, {1, 2}), 0, {2, 1}},
        {"no selection bit: nothing", rec(0, 0xF0, {1, 2, 3, 4}, {1, 2}), 0, {1, 2}},
        {"S1 bit 6 with R5 set", rec(0, 0x40, {0, 0, 0, 0, 8}, {0, 0, 1, 2}), 1, {0, 0, 1, 2}},
        {"S1 bits 4..7", rec(0, 0xF0, {0, 0, 0, 0, 8, 8, 8, 8}, {0, 0, 1, 2}), 0, {0, 0, 2, 1}},
        {"S2 bit 2 with R10 set", rec(0x04, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {0, 0, 0, 0, 1, 2}), 1,
         {0, 0, 0, 0, 1, 2}},
        {"S2 bits 2 and 3", rec(0x0C, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1, 1}, {0, 0, 0, 0, 1, 2}), 0, {0, 0, 0, 0, 2, 1}},
        {"S2 bit 4 swaps, never warns", rec(0x10, 0, {}, {0, 0, 0, 0, 0, 0, 1, 2}), 0, {0, 0, 0, 0, 0, 0, 2, 1}},
        {"bit 7 of the current values is cleared", rec(0, 0, {}, {0x81, 0x81, 0x82, 2, 0x83, 3, 0x84, 0x84}), 0,
         {0x01, 0x81, 0x02, 2, 0x03, 3, 0x04, 0x84}},
        {"a swap carries bit 7 of the alternative", rec(0, 0x01, {}, {0x85, 0x83}), 0, {0x83, 0x05}},
    };
    for (const Case& c : cases) {
        for (int record = 0; record < 2; ++record) {
            for (uint16_t type : {MODEL_AIRPLANE, MODEL_GLIDER}) {
                PX400Builder b;
                b.SetModelType(type);
                b.SetDelayRecord(5, record, c.record);
                auto t = Convert(b);
                EXPECT_EQ(t->GetDelayWarning(), c.warning) << c.what << ", record " << record;
                const uint8_t* r = ConditionTarget(*t, 5) + (record ? 2840 : 2797);
                for (int i = 0; i < 8; ++i)
                    EXPECT_EQ(r[28 + i], c.pairs[i]) << c.what << ", byte " << 28 + i;
            }
        }
    }
}

TEST_F(PX400Build, HelicopterNeverWarnsAboutDelays)
{
    PX400Builder b;
    b.SetModelType(MODEL_HELICOPTER);
    DelayRecord d;
    d.select1 = 0x01;
    d.rates[1] = 5;
    d.pairs[0] = 1;
    d.pairs[1] = 2;
    for (int c = 0; c < 8; ++c)
        b.SetDelayRecord(c, 0, d);
    auto t = Convert(b);
    EXPECT_EQ(t->GetDelayWarning(), 0);
    b.SetModelType(MODEL_AIRPLANE);
    t = Convert(b);
    EXPECT_EQ(t->GetDelayWarning(), 1);
    // A later conversion without a trouble spot reports no warning.
    b.SetDelayRecord(0, 0, DelayRecord{});
    for (int c = 0; c < 8; ++c)
        b.SetDelayRecord(c, 0, DelayRecord{});
    EXPECT_EQ(Convert(b)->GetDelayWarning(), 0);
}

TEST_F(PX400Build, SampleModels)
{
    for (const PX400Sample& sample : PX400SampleList()) {
        SCOPED_TRACE(sample.fileName);
        PX400Builder b = MakePX400Sample(sample);
        EXPECT_EQ(b.Image().size(), PX400_IMAGE_SIZE);
        auto t = Convert(b);
        const uint8_t* img = t->GetImage();
        std::u16string name = sample.modelName.substr(0, 15);
        EXPECT_EQ(std::u16string(t->GetModelName()), name);
        EXPECT_EQ(t->GetModelType(), sample.modelType == MODEL_MOTOR_GLIDER ? uint16_t(MODEL_GLIDER) : sample.modelType);
        EXPECT_EQ(t->GetDelayWarning(), sample.tripsDelayWarning ? 1 : 0);
        // The resampled curves sit on the grid and stay in range.
        for (int c = 0; c < 8; ++c)
            for (int k = 0; k < 16; ++k) {
                const uint8_t* curve = ConditionTarget(*t, c) + 48 + 53 * k;
                for (int p = 1; p < 16; ++p) {
                    EXPECT_EQ(CurvePointX(curve, 17, p), -1600 + 200 * p);
                    EXPECT_LE(std::abs(CurvePointY(curve, 17, p)), 1600);
                }
            }
        // Without the hardware table the PX600-less switches are cleared.
        EXPECT_EQ(ConditionTarget(*t, 0)[1], 0xFF);   // was RST
        EXPECT_EQ(ConditionTarget(*t, 0)[0], 9);      // RS stays
        EXPECT_EQ(img[234 + 3], 0xFF);                // was RST
        uint32_t sum = 0;
        for (int i = 0; i < 32764; ++i)
            sum += img[i];
        EXPECT_EQ(GetBE32(img + 32764), sum);
    }
    // Samples are deterministic.
    EXPECT_EQ(MakePX400Sample(PX400SampleList()[2]).Image(), MakePX400Sample(PX400SampleList()[2]).Image());
}
