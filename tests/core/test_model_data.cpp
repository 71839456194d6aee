// Model data objects: header facts, model type decoding, names, dates,
// character sets and the checksum.
#include <gtest/gtest.h>

#include "Portable.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "app/Strings.h"
#include "convert/Conversion.h"
#include "model/ModelData.h"

namespace {

void FixedClock(SYSTEMTIME* t)
{
    *t = SYSTEMTIME{2026, 3, 0, 14, 15, 9, 26, 535};
}

struct UtcZone {
    UtcZone()
    {
        const char* tz = std::getenv("TZ");
        m_had = tz != nullptr;
        if (tz)
            m_old = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcZone()
    {
        if (m_had)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    bool m_had = false;
    std::string m_old;
};

void PutLEText(uint8_t* p, const std::u16string& s)
{
    for (size_t i = 0; i < s.size(); ++i)
        PutLE16(p + 2 * i, s[i]);
}

} // namespace

TEST(ModelType, PX400DecodesHelicopterFlagThenWingBits)
{
    auto m = std::make_unique<CModelDataPX400>();
    struct Case { uint8_t heli, wing; uint16_t expected; };
    const Case cases[] = {
        {1, 0x40, MODEL_HELICOPTER}, {1, 0xC0, MODEL_HELICOPTER}, {1, 0x00, MODEL_HELICOPTER},
        {0, 0x40, MODEL_MOTOR_GLIDER}, {0, 0x7F, MODEL_MOTOR_GLIDER},
        {0, 0x80, MODEL_GLIDER}, {0, 0xC0, MODEL_GLIDER}, {0, 0xFF, MODEL_GLIDER},
        {0, 0x3F, MODEL_AIRPLANE}, {0, 0x00, MODEL_AIRPLANE},
        {2, 0x00, MODEL_AIRPLANE},  // only the value 1 means helicopter
    };
    for (const Case& c : cases) {
        m->GetImage()[96] = c.heli;
        m->GetImage()[97] = c.wing;
        EXPECT_EQ(m->GetModelType(), c.expected) << int(c.heli) << "/" << int(c.wing);
    }
}

TEST(ModelType, PX200AndPX600ReportStoredThreeAsMulticopter)
{
    auto px200 = std::make_unique<CModelDataPX200>();
    auto px600 = std::make_unique<CModelDataPX600>();
    for (uint8_t stored : {0, 1, 2, 3}) {
        px200->GetImage()[1] = stored;
        px600->GetImage()[42] = stored;
        const uint16_t expected = stored == 3 ? uint16_t{MODEL_MULTICOPTER} : uint16_t{stored};
        EXPECT_EQ(px200->GetModelType(), expected);
        EXPECT_EQ(px600->GetModelType(), expected);
    }
}

TEST(ModelType, PX600StoresMotorGliderAsGliderAndMulticopterAsThree)
{
    auto m = std::make_unique<CModelDataPX600>();
    EXPECT_EQ(m->SetModelType(MODEL_MOTOR_GLIDER), MODEL_GLIDER);
    EXPECT_EQ(m->GetImage()[42], MODEL_GLIDER);
    EXPECT_EQ(m->GetModelType(), MODEL_GLIDER);
    EXPECT_EQ(m->SetModelType(MODEL_MULTICOPTER), 3);
    EXPECT_EQ(m->GetImage()[42], 3);
    EXPECT_EQ(m->GetModelType(), MODEL_MULTICOPTER);
    EXPECT_EQ(m->SetModelType(MODEL_HELICOPTER), MODEL_HELICOPTER);
    EXPECT_EQ(m->GetModelType(), MODEL_HELICOPTER);
}

TEST(ModelName, PX600KeepsFifteenCharactersBigEndian)
{
    auto m = std::make_unique<CModelDataPX600>();
    std::memset(m->GetImage() + 10, 0xEE, 32);
    m->SetModelName(u"ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(std::u16string(m->GetModelName()), u"ABCDEFGHIJKLMNO");
    EXPECT_EQ(m->GetImage()[10], 0x00);
    EXPECT_EQ(m->GetImage()[11], 'A');
    EXPECT_EQ(m->GetImage()[39], 'O');
    EXPECT_EQ(m->GetImage()[40], 0);
    EXPECT_EQ(m->GetImage()[41], 0);

    m->SetModelName(u"\u00E9t\u30D7");  // any UTF-16 unit is stored as it is
    EXPECT_EQ(m->GetImage()[10], 0x00);
    EXPECT_EQ(m->GetImage()[11], 0xE9);
    EXPECT_EQ(m->GetImage()[14], 0x30);
    EXPECT_EQ(m->GetImage()[15], 0xD7);
    for (int i = 16; i < 42; ++i)
        EXPECT_EQ(m->GetImage()[i], 0) << i;
}

TEST(ModelName, PX400AndPX200NamesStopAtTheirFields)
{
    auto px400 = std::make_unique<CModelDataPX400>();
    // No terminator within the 33-character field; byte 96 onwards is not text.
    for (int i = 0; i < 33; ++i)
        PutLE16(px400->GetImage() + 30 + 2 * i, u'A' + (i % 26));
    px400->GetImage()[96] = 'Z';
    px400->GetImage()[97] = 0;
    EXPECT_EQ(std::u16string(px400->GetModelName()).size(), 33u);

    px400->SetModelName(u"Extra 330");
    EXPECT_EQ(std::u16string(px400->GetModelName()), u"Extra 330");
    EXPECT_EQ(px400->GetImage()[30 + 18], 0);
    EXPECT_EQ(px400->GetImage()[95], 0);
    EXPECT_EQ(px400->GetImage()[96], 'Z');  // the field's neighbour is untouched

    auto px200 = std::make_unique<CModelDataPX200>();
    for (int i = 0; i < 31; ++i)
        PutLE16(px200->GetImage() + 18 + 2 * i, u'x');
    EXPECT_EQ(std::u16string(px200->GetModelName()).size(), 31u);
}

TEST(ModelName, PX200WritesTheTransmitterCharacterSetCopy)
{
    auto m = std::make_unique<CModelDataPX200>();
    std::memset(m->GetImage() + 88, 0x55, 11);
    m->GetImage()[99] = 0x77;
    m->SetModelName(u"ASK-21 \u00C4\uFF71 Glider long");
    EXPECT_EQ(std::u16string(m->GetModelName()), u"ASK-21 \u00C4\uFF71 Glider long");
    const uint8_t expected[11] = {'A', 'S', 'K', '-', '2', '1', ' ', 0x8E, 0xB1, ' ', 'G'};
    EXPECT_EQ(std::memcmp(m->GetImage() + 88, expected, 11), 0);
    EXPECT_EQ(m->GetImage()[99], 0x77);

    m->SetModelName(u"Ka8");
    const uint8_t shortName[11] = {'K', 'a', '8', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(m->GetImage() + 88, shortName, 11), 0);
}

TEST(TransmitterName, EachClassWritesAndReadsItsOwnField)
{
    auto px400 = std::make_unique<CModelDataPX400>();
    auto px200 = std::make_unique<CModelDataPX200>();
    auto px600 = std::make_unique<CModelDataPX600>();
    px400->InitTransmitterName(TX_PX400);
    px200->InitTransmitterName(TX_PX200);
    px600->InitTransmitterName(TX_PX600);
    char16_t name[9];
    px400->GetTransmitterName(name);
    EXPECT_EQ(std::u16string(name), u"PX400   ");
    EXPECT_EQ(px400->GetImage()[0], 'P');
    EXPECT_EQ(px400->GetImage()[1], 0);
    px200->GetTransmitterName(name);
    EXPECT_EQ(std::u16string(name), u"PX200   ");
    EXPECT_EQ(px200->GetImage()[2], 'P');
    px600->GetTransmitterName(name);
    EXPECT_EQ(std::u16string(name), u"PX600   ");
    EXPECT_EQ(std::memcmp(px600->GetImage(), "PX600   ", 8), 0);

    // An unknown type code has no text: nothing is written.
    auto blank = std::make_unique<CModelDataPX600>();
    blank->InitTransmitterName(77);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(blank->GetImage()[i], 0);
}

TEST(TxCharset, ConvertsBothWaysAndStopsAtZero)
{
    const uint8_t in[3] = {0x41, 0x00, 0x42};
    char16_t out[4] = {1, 1, 1, 1};
    TxCharToUnicodeZ(in, out, 3);
    EXPECT_EQ(out[0], u'A');
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], 0);

    // Every byte that has a character of its own comes back to itself.
    for (int b = 1; b < 256; ++b) {
        const uint8_t byte = static_cast<uint8_t>(b);
        char16_t w;
        TxCharToUnicode(&byte, &w, 1);
        uint8_t back = 0;
        UnicodeToTxChar(&w, &back, 1);
        const bool kept = (b >= 0x20 && b <= 0x7F) || (b >= 0x80 && b <= 0x9B) || (b >= 0xA1 && b <= 0xDF);
        const bool starred = b < 0x20 || (b >= 0x9C && b <= 0xA0) || b == 0xEB || b == 0xEC;
        if (kept) {
            EXPECT_EQ(back, byte) << b;
        } else if (starred) {
            EXPECT_EQ(back, '*') << b;
        }
    }

    struct Pair { char16_t w; uint8_t b; };
    const Pair pairs[] = {
        {0x00C7, 0x80}, {0x00DF, 0x9B}, {0x00C4, 0x8E}, {0xFF61, 0xA1}, {0xFF9F, 0xDF},
        {0xFF21, 'A'}, {0xFF01, '!'}, {0x30D7, '*'}, {0x30C9, '*'}, {0x0009, '*'},
        {0x0085, '*'}, {0x00E1, '*'}, {0x007F, 0x7F},
    };
    for (const Pair& p : pairs) {
        uint8_t b = 0;
        UnicodeToTxChar(&p.w, &b, 1);
        EXPECT_EQ(b, p.b) << std::hex << int(p.w);
    }
    const uint8_t katakanaP = 0xEB, katakanaDo = 0xEC;
    char16_t w;
    TxCharToUnicode(&katakanaP, &w, 1);
    EXPECT_EQ(w, 0x30D7);
    TxCharToUnicode(&katakanaDo, &w, 1);
    EXPECT_EQ(w, 0x30C9);
}

TEST(Checksum, SumsBytesBigEndianAndWraps)
{
    auto m = std::make_unique<CModelDataPX600>();
    m->GetImage()[0] = 0xFF;
    m->UpdateChecksum();
    const uint8_t expected[4] = {0, 0, 0, 0xFF};
    EXPECT_EQ(std::memcmp(m->GetImage() + 32764, expected, 4), 0);

    // Every byte 0xFF, and the old checksum bytes do not count.
    std::memset(m->GetImage(), 0xFF, PX600_IMAGE_SIZE);
    m->UpdateChecksum();
    EXPECT_EQ(GetBE32(m->GetImage() + 32764), 32764u * 255u);
    m->UpdateChecksum();
    EXPECT_EQ(GetBE32(m->GetImage() + 32764), 32764u * 255u);
}

TEST(Dates, PX600StampsAndReadsTheLocalTime)
{
    UtcZone utc;
    SetLocalClockForTesting(FixedClock);
    auto m = std::make_unique<CModelDataPX600>();
    m->StampDate(nullptr);
    const uint8_t expected[6] = {26, 3, 14, 15, 9, 26};
    EXPECT_EQ(std::memcmp(m->GetImage() + 43, expected, 6), 0);
    SYSTEMTIME t{};
    m->GetDate(&t);
    EXPECT_EQ(t.wYear, 2026);
    EXPECT_EQ(t.wDayOfWeek, 0);
    EXPECT_EQ(t.wMilliseconds, 0);
    EXPECT_EQ(m->GetDateText(), u"26/03/14 15:09:26");

    // The PX400 fills the record it is given and leaves its image alone.
    auto px400 = std::make_unique<CModelDataPX400>();
    SYSTEMTIME r{};
    px400->StampDate(&r);
    EXPECT_EQ(r.wMinute, 9);
    for (size_t i = 0; i < 400; ++i)
        ASSERT_EQ(px400->GetImage()[i], 0);
    SetLocalClockForTesting(nullptr);
}

TEST(Dates, TextIsEmptyForFieldsOutOfRange)
{
    UtcZone utc;
    auto m = std::make_unique<CModelDataPX400>();
    auto setDate = [&](uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, uint16_t s) {
        const uint16_t words[8] = {y, mo, 0, d, h, mi, s, 0};
        for (int i = 0; i < 8; ++i)
            PutLE16(m->GetImage() + 168 + 2 * i, words[i]);
    };
    setDate(2024, 7, 0, 0, 0, 0);  // day 0
    EXPECT_EQ(m->GetDateText(), u"");
    setDate(2024, 13, 1, 0, 0, 0);
    EXPECT_EQ(m->GetDateText(), u"");
    setDate(2024, 7, 4, 24, 0, 0);
    EXPECT_EQ(m->GetDateText(), u"");
    setDate(2024, 7, 4, 23, 60, 0);
    EXPECT_EQ(m->GetDateText(), u"");
    setDate(2024, 7, 4, 23, 59, 60);
    EXPECT_EQ(m->GetDateText(), u"");
    setDate(2024, 7, 4, 23, 59, 58);
    EXPECT_EQ(m->GetDateText(), u"24/07/04 23:59:58");
    // A year before 1900 stands for the time value 0, whatever the rest holds.
    setDate(1899, 99, 99, 99, 99, 99);
    EXPECT_EQ(m->GetDateText(), u"70/01/01 00:00:00");

    auto px200 = std::make_unique<CModelDataPX200>();
    std::memset(px200->GetImage(), 0x5A, 200);
    EXPECT_EQ(px200->GetDateText(), u"");
    SYSTEMTIME t{1, 1, 1, 1, 1, 1, 1, 1};
    px200->GetDate(&t);
    EXPECT_EQ(t.wYear, 0);
    EXPECT_EQ(t.wMonth, 0);
    EXPECT_EQ(t.wMilliseconds, 0);
}

TEST(Version, RecordsComeFromTheirFields)
{
    auto px400 = std::make_unique<CModelDataPX400>();
    const uint8_t v[10] = {0x06, 0x00, 0x01, 0x00, 0x69, 0x08, 0x00, 0x00, 0x01, 0x2C};
    std::memcpy(px400->GetImage() + 16, v, sizeof(v));
    VersionRecord r{};
    px400->GetVersion(&r);
    EXPECT_EQ(r.first, 0x00010006u);
    EXPECT_EQ(r.second, 2153u);
    EXPECT_EQ(r.third, 1);
    EXPECT_EQ(r.fourth, 0x2C);
    VersionRecord supported{};
    px400->GetSupportedVersion(&supported, 1);
    EXPECT_EQ(supported.first, r.first);
    EXPECT_EQ(supported.second, r.second);

    auto px200 = std::make_unique<CModelDataPX200>();
    px200->GetImage()[100] = 0x04;
    px200->GetImage()[101] = 0x4D;
    px200->GetVersion(&r);
    EXPECT_EQ(r.first, 0u);
    EXPECT_EQ(r.second, 1101u);
    EXPECT_EQ(r.fourth, 0);
    EXPECT_EQ(px400->CheckVersion(1), 0);
    EXPECT_EQ(px200->CheckVersion(0), 0);
}

TEST(BuildFromPX200, WritesTheHeaderAndRepeatsTheFirstRecord)
{
    SetLocalClockForTesting(FixedClock);
    auto source = std::make_unique<CModelDataPX200>();
    uint8_t* s = source->GetImage();
    s[1] = 3;
    PutLEText(s + 18, u"Quad 450");
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < 8; ++i)
            s[1624 + 8 * k + i] = static_cast<uint8_t>(0x10 * (k + 1) + i);
    auto target = std::make_unique<CModelDataPX600>();
    std::memset(target->GetImage(), 0xAA, PX600_IMAGE_SIZE);
    BuildFromPX200(*target, *source);
    const uint8_t* t = target->GetImage();
    EXPECT_EQ(std::memcmp(t, "PX600   ", 8), 0);
    EXPECT_EQ(t[8], 0x02);
    EXPECT_EQ(t[9], 0xF4);
    EXPECT_EQ(std::u16string(target->GetModelName()), u"Quad 450");
    EXPECT_EQ(t[42], 3);
    EXPECT_EQ(t[43], 26);
    for (int k = 0; k < 8; ++k) {
        const int from = k < 5 ? k : 0;
        for (int i = 0; i < 14; ++i) {
            const uint8_t expected = i < 8 ? static_cast<uint8_t>(0x10 * (from + 1) + i) : 0;
            EXPECT_EQ(t[25088 + 14 * k + i], expected) << k << "/" << i;
        }
    }
    EXPECT_EQ(t[64], 0);  // blocks the header build does not fill are zero
    SetLocalClockForTesting(nullptr);
}
