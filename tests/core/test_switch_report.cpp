// Printable switch change reports: place, kind and both values, in every language.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/Strings.h"
#include "app/SwitchReport.h"
#include "model/SwitchFields.h"
#include "platform/Text.h"

namespace {

using switchfields::Kind;

class SwitchReport : public ::testing::Test {
protected:
    void SetUp() override { saved = CurrentLanguage(); SetLanguage(Language::English); }
    void TearDown() override { SetLanguage(saved); }
    Language saved = Language::English;
};

std::string Describe(int condition, uint32_t offset, Kind kind, std::initializer_list<uint8_t> before,
                     std::initializer_list<uint8_t> after)
{
    CModelDataPX600::SwitchChange change{};
    change.condition = condition;
    change.offset = offset;
    change.kind = kind;
    change.width = static_cast<uint8_t>(before.size());
    std::copy(before.begin(), before.end(), change.before);
    std::copy(after.begin(), after.end(), change.after);
    return Utf16ToUtf8(DescribeSwitchChange(change));
}

TEST_F(SwitchReport, NamesPlaceKindAndBothValues)
{
    EXPECT_EQ(Describe(2, 2169, Kind::Switch, {0x53}, {0xFF}),
              "Condition 3, offset 2169 (switch): CD-SW (0x53) changed to none (0xFF).");
    EXPECT_EQ(Describe(-1, 25235, Kind::Range, {0x1A, 1, 2}, {0xFF, 5, 0xFB}),
              "Model settings, offset 25235 (switch range): CD (0x1A), positions 1 and 2 changed to "
              "none (0xFF), positions 5 and -5.");
    EXPECT_EQ(Describe(1, 897, Kind::RangeStar, {0x0A, 1, 2}, {0xFF, 5, 0xFB}),
              "Condition 2, offset 897 (switch range): RST (0x0A), positions 1 and 2 changed to none (0xFF), "
              "positions 5 and -5.");
    EXPECT_EQ(Describe(0, 12, Kind::Direct, {0x0C}, {0x0D}),
              "Condition 1, offset 12 (control assignment): SW-A (0x0C) changed to SW-B (0x0D).");
    // Codes without a name are shown by number; flag bits show in the raw byte.
    EXPECT_EQ(Describe(-1, 530, Kind::Masked, {0x8B}, {0xFF}),
              "Model settings, offset 530 (control assignment with mode bits): code 11 (0x8B) changed to "
              "none (0xFF).");
    EXPECT_EQ(Describe(7, 1923, Kind::Reset, {0x00, 0x00, 0x00}, {0xFF, 5, 0xFB}),
              "Condition 8, offset 1923 (switch range, always reset): J1 (0x00), positions 0 and 0 changed "
              "to none (0xFF), positions 5 and -5.");
}

TEST_F(SwitchReport, EveryLanguageHasTheTexts)
{
    for (Language language : {Language::English, Language::German, Language::French, Language::Japanese}) {
        for (unsigned id : {1500u, 1501u, 1502u, 1503u, 1504u, 1510u, 1511u, 1512u, 1513u, 1514u})
            EXPECT_TRUE(HasString(id, language)) << LanguageCode(language) << " " << id;
    }
    SetLanguage(Language::German);
    const std::string german = Describe(2, 2169, Kind::Switch, {0x53}, {0xFF});
    EXPECT_NE(german.find("Flugzustand 3"), std::string::npos) << german;
    EXPECT_NE(german.find("CD-SW (0x53)"), std::string::npos) << german;
    SetLanguage(Language::Japanese);
    const std::string japanese = Describe(-1, 65, Kind::Range, {0x13, 0x20, 0x40}, {0xFF, 5, 0xFB});
    EXPECT_NE(japanese.find("なし (0xFF)"), std::string::npos) << japanese;
    EXPECT_NE(japanese.find("65"), std::string::npos) << japanese;
}

}  // namespace
