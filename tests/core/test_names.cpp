// Model name rules, source condition and dual rate names, code page round
// trips and the condition names written into a PX600 image.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/ModelData.h"
#include "model/Names.h"
#include "platform/CodePage.h"

namespace {

void PutLEText(uint8_t* p, const std::u16string& s)
{
    for (size_t i = 0; i < s.size(); ++i) {
        p[2 * i] = static_cast<uint8_t>(s[i]);
        p[2 * i + 1] = static_cast<uint8_t>(s[i] >> 8);
    }
}

} // namespace

TEST(ModelNameRules, EnteredLengthAndCharacters)
{
    EXPECT_FALSE(CheckModelNameEntered(u""));
    EXPECT_TRUE(CheckModelNameEntered(u" "));

    EXPECT_TRUE(CheckModelNameLength(u"ABCDEFGHIJKLMNO"));
    EXPECT_FALSE(CheckModelNameLength(u"ABCDEFGHIJKLMNOP"));
    EXPECT_TRUE(CheckModelNameLength(u""));

    EXPECT_TRUE(CheckModelNameChars(u"ABCDEFGHIJKLMNO"));
    EXPECT_TRUE(CheckModelNameChars(u"A~C.B"));
    EXPECT_TRUE(CheckModelNameChars(u"\uFF71\uFF61\uFF9F"));
    EXPECT_TRUE(CheckModelNameChars(u""));
    for (char16_t refused : std::u16string(u"\"*/:<>?\\")) {
        const char16_t name[] = {u'A', refused, u'B', 0};
        EXPECT_FALSE(CheckModelNameChars(name)) << char(refused);
    }
    EXPECT_FALSE(CheckModelNameChars(u"Caf\u00E9"));
    EXPECT_FALSE(CheckModelNameChars(u"\uFF21"));
    EXPECT_FALSE(CheckModelNameChars(u"A\tB"));
    EXPECT_FALSE(CheckModelNameChars(u"\uFF60"));
    EXPECT_FALSE(CheckModelNameChars(u"\uFFA0"));
    // Sixteen accepted characters with no terminator among them fail too.
    EXPECT_FALSE(CheckModelNameChars(u"ABCDEFGHIJKLMNOP"));
    // A refused character beyond position 16 is never looked at.
    EXPECT_FALSE(CheckModelNameChars(u"ABCDEFGHIJKLMNOP?"));
}

TEST(SourceNames, PX400ConditionAndDualRateNamesStopAtTheirFields)
{
    SetAnsiCodePage(AnsiCodePage::Windows1252);
    auto m = std::make_unique<CModelDataPX400>();
    uint8_t* img = m->GetImage();
    PutLEText(img + 8826 + 12222 * 2, u"THERMIK");
    // Condition 7: eight characters with no terminator; the next bytes hold text too.
    PutLEText(img + 8826 + 12222 * 7, u"ABCDEFGHIJKL");
    PutLEText(img + 11592 + 12222 * 3 + 226 * 5, u"Landung");
    PutLEText(img + 11592 + 12222 * 0, u"Pr\u00E9cis \u0141");  // Ł is not in code page 1252

    EXPECT_EQ(GetConditionNamePX400(img, 2), u"THERMIK");
    EXPECT_EQ(GetConditionNamePX400(img, 7), u"ABCDEFGH");
    EXPECT_EQ(GetConditionNamePX400(img, 0), u"");
    EXPECT_EQ(GetDualRateNamePX400(img, 3, 5), u"Landung");
    EXPECT_EQ(GetDualRateNamePX400(img, 0, 0), u"Pr\u00E9cis ?");
    EXPECT_EQ(GetConditionNamePX400(img, 8), u"");
    EXPECT_EQ(GetDualRateNamePX400(img, 0, 6), u"");

    // The last dual rate of the last condition ends before the image does,
    // even with no terminator anywhere.
    for (size_t i = 11592 + 12222 * 7 + 226 * 5; i < PX400_IMAGE_SIZE; ++i)
        img[i] = 'x';
    EXPECT_LE(GetDualRateNamePX400(img, 7, 5).size(), 83u);
}

TEST(SourceNames, PX200ConditionNamesUseTheTransmitterCharacterSet)
{
    SetAnsiCodePage(AnsiCodePage::Windows1252);
    auto m = std::make_unique<CModelDataPX200>();
    uint8_t* img = m->GetImage();
    const uint8_t blanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    std::memcpy(img + 1700 + 9 * 1, blanks, 8);
    const uint8_t thermal[9] = {'T', 'H', 0x84, 'R', 'M', 'I', 'K', 'X', 'Y'};  // 0x84 = ä
    std::memcpy(img + 1700 + 9 * 2, thermal, 9);
    const uint8_t kana[8] = {0xB1, 'B', 0, 'C', 'D', 'E', 'F', 'G'};
    std::memcpy(img + 1700 + 9 * 3, kana, 8);

    EXPECT_EQ(GetConditionNamePX200(img, 1), u"        ");
    EXPECT_EQ(GetConditionNamePX200(img, 2), u"TH\u00E4RMIKX");
    EXPECT_EQ(GetConditionNamePX200(img, 3), u"?B");  // half-width katakana is not in 1252
    EXPECT_EQ(GetConditionNamePX200(img, 5), u"");
    EXPECT_EQ(GetDualRateNamePX200(img, 0, 2), u"D/R 3   ");

    SetAnsiCodePage(AnsiCodePage::Windows932);
    EXPECT_EQ(GetConditionNamePX200(img, 3), u"\uFF71B");
    EXPECT_EQ(GetConditionNamePX200(img, 2), u"TH?RMIKX");
    SetAnsiCodePage(AnsiCodePage::Windows1252);
}

TEST(CodePage, RoundTripsKeepWhatTheCodePageHolds)
{
    EXPECT_EQ(AnsiRoundTrip(u"\u0152uvre \u20AC 5", AnsiCodePage::Windows1252), u"\u0152uvre \u20AC 5");
    EXPECT_EQ(AnsiRoundTrip(u"\u0141\u0101\u3042", AnsiCodePage::Windows1252), u"???");
    EXPECT_EQ(AnsiRoundTrip(u"\u3042\u30D7\uFF71A", AnsiCodePage::Windows932), u"\u3042\u30D7\uFF71A");
    EXPECT_EQ(AnsiRoundTrip(u"\u00E9", AnsiCodePage::Windows932), u"?");
    // A surrogate pair is one character, so one '?'.
    EXPECT_EQ(AnsiRoundTrip(u"a\U0001F681b", AnsiCodePage::Windows1252), u"a?b");
    EXPECT_EQ(AnsiToUtf16(std::string("\x82\xA0", 2), AnsiCodePage::Windows932), u"\u3042");
    EXPECT_EQ(AnsiToUtf16(std::string("\x82", 1), AnsiCodePage::Windows932), u"?");
}

TEST(DefaultNames, HelicopterAndOtherModels)
{
    const char16_t* heli[] = {u"NORMAL", u"IDLEUP1", u"IDLEUP2", u"IDLEUP3", u"HOLD", u"CONDIT6", u"CONDIT7", u"CONDIT8"};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(GetDefaultConditionName(true, c), heli[c]);
        EXPECT_EQ(GetDefaultConditionName(false, c), u"CONDIT" + std::u16string(1, char16_t(u'1' + c)));
    }
    EXPECT_EQ(GetDefaultDualRateName(0), u"D/R 1   ");
    EXPECT_EQ(GetDefaultDualRateName(5), u"D/R 6   ");
}

TEST(PutConditionName, WritesEightUnitsAndATerminatorBigEndian)
{
    auto m = std::make_unique<CModelDataPX600>();
    uint8_t* img = m->GetImage();
    std::memset(img + 28140, 0xEE, 578 * 8);
    PutConditionName(img, 0, u"IDLEUP1");
    const uint8_t idle[18] = {0, 'I', 0, 'D', 0, 'L', 0, 'E', 0, 'U', 0, 'P', 0, '1', 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(img + 28140, idle, 18), 0);
    EXPECT_EQ(img[28140 + 18], 0xEE);

    PutConditionName(img, 7, u"LANDEANFLUG");
    const uint8_t land[18] = {0, 'L', 0, 'A', 0, 'N', 0, 'D', 0, 'E', 0, 'A', 0, 'N', 0, 'F', 0, 0};
    EXPECT_EQ(std::memcmp(img + 28140 + 578 * 7, land, 18), 0);

    PutConditionName(img, 3, std::u16string(u"AB\0CD", 5));
    const uint8_t cut[6] = {0, 'A', 0, 'B', 0, 0};
    EXPECT_EQ(std::memcmp(img + 28140 + 578 * 3, cut, 6), 0);
    EXPECT_EQ(img[28140 + 578 * 3 + 7], 0);  // 'C' after the terminator is not written

    PutConditionName(img, 1, u"\u30A2\u00C4");
    EXPECT_EQ(img[28140 + 578], 0x30);
    EXPECT_EQ(img[28140 + 578 + 1], 0xA2);
    EXPECT_EQ(img[28140 + 578 + 3], 0xC4);
}

TEST(PutConditionName, NeverSplitsASurrogatePairAtTheCut)
{
    const struct { std::u16string text, stored; } cases[] = {
        {u"1234567\U0001F600", u"1234567"},
        {u"123456\U0001F600x", u"123456\U0001F600"},
        {u"a\x1B\x01\U0001F600\U0001F600\U0001F600", u"a\x1B\x01\U0001F600\U0001F600"},  // controls of a source name pass
        {u"1234567\xD800x", u"1234567\xD800"},  // a source's lone surrogate is no pair: written as before
    };
    auto m = std::make_unique<CModelDataPX600>();
    for (const auto& c : cases) {
        PutConditionName(m->GetImage(), 2, c.text);
        std::u16string stored;
        for (int i = 0; i < 9 && GetBE16(m->GetImage() + 28140 + 578 * 2 + 2 * i); ++i)
            stored += GetBE16(m->GetImage() + 28140 + 578 * 2 + 2 * i);
        EXPECT_EQ(stored, c.stored) << stored.size();
    }
}

TEST(ModelNameRules, DeviceNamesInAnyCaseAreRefused)
{
    const struct {
        const char16_t* name;
        bool allowed;
    } cases[] = {
        {u"CON", false},   {u"con", false},     {u"Prn", false},    {u"aux", false},   {u"NUL", false},
        {u"COM1", false},  {u"com9", false},    {u"LPT1", false},   {u"lpt9", false},  {u"CON.x", false},
        {u"NUL ", false},  {u"AUX. .", false},  {u"conin$", false}, {u"CONOUT$", false},
        {u"COM0", true},   {u"LPT10", true},    {u"CONS", true},    {u"XCON", true},   {u"CO N", true},
        {u"COM", true},    {u".CON", true},     {u"NULL", true},    {u"PRN1", true},   {u"", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckModelNameNotDevice(c.name), c.allowed) << std::u16string(c.name).size();
}

TEST(ModelNameRules, AnyTextIsMadeAValidNumberedName)
{
    const struct {
        std::u16string text, fallback;
        std::vector<std::u16string> taken;
        std::u16string made;
    } cases[] = {
        {u"  TRAINER  ", u"F", {}, u"TRAINER"},
        {u"ARK SPORT AEROBATIC", u"F", {}, u"ARK SPORT AEROB"},
        {u"ABCDEFGHIJKLMN OP", u"F", {}, u"ABCDEFGHIJKLMN"},  // the cut leaves no blank at the end
        {u"A/B:C?D*E\"F<G>H\\I|J", u"F", {}, u"A_B_C_D_E_F_G_H"},
        {u"Caf\u00E9 \uFF71\uFF21\tX", u"F", {}, u"Caf_ \uFF71__X"},
        {u"\U0001F681 HELI", u"F", {}, u"_ HELI"},            // a surrogate pair is one character
        {std::u16string(u"AB\0CD", 5), u"F", {}, u"AB"},
        {u" .HIDDEN", u"F", {}, u"_HIDDEN"},
        {u"con", u"F", {}, u"_con"},
        {u"NUL.X", u"F", {}, u"_NUL.X"},
        {u"LPT1          X", u"F", {}, u"LPT1          X"},
        {u"COM1           X", u"F", {}, u"_COM1"},             // a device once the cut drops the rest
        {u"    ", u"TRAINER", {}, u"TRAINER"},
        {u"", u" a:b ", {}, u"a_b"},
        {u"", u"", {}, u"MODEL"},
        {u"TRAINER", u"F", {u"trainer"}, u"TRAINER 2"},
        {u"TRAINER", u"F", {u"TRAINER", u"Trainer 2", u"TRAINER 4"}, u"TRAINER 3"},
        {u"ARK SPORT AEROBATIC", u"F", {u"ARK SPORT AEROB"}, u"ARK SPORT AER 2"},
        {u"ABCDEFGHIJKL NO", u"F", {u"ABCDEFGHIJKL NO"}, u"ABCDEFGHIJKL 2"},
        {u"ARK SPORT AEROB", u"F",
         {u"ARK SPORT AEROB", u"ARK SPORT AER 2", u"ARK SPORT AER 3", u"ARK SPORT AER 4", u"ARK SPORT AER 5",
          u"ARK SPORT AER 6", u"ARK SPORT AER 7", u"ARK SPORT AER 8", u"ARK SPORT AER 9"},
         u"ARK SPORT AE 10"},
        {u"   ", u"", {u"model"}, u"MODEL 2"},
    };
    for (const auto& c : cases) {
        auto taken = [&](const std::u16string& name) {
            for (const std::u16string& t : c.taken)
                if (SameModelFileName(t, name))
                    return true;
            return false;
        };
        const std::u16string made = MakeModelNameValid(c.text, c.fallback, taken);
        EXPECT_EQ(made, c.made) << std::string(c.made.begin(), c.made.end());
        // Whatever it is made from, the name passes every check of the Convert command.
        EXPECT_EQ(TrimModelName(made), made);
        EXPECT_TRUE(CheckModelNameEntered(made.c_str()) && CheckModelNameLength(made.c_str()) &&
                    CheckModelNameChars(made.c_str()) && CheckModelNameNotDevice(made.c_str()));
        EXPECT_FALSE(taken(made));
    }
}
