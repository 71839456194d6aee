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

CModelDataPX600::SwitchChange Change(Kind kind, std::initializer_list<uint8_t> before,
                                     std::initializer_list<uint8_t> after)
{
    CModelDataPX600::SwitchChange change{};
    change.condition = -1;
    change.kind = kind;
    change.width = static_cast<uint8_t>(before.size());
    std::copy(before.begin(), before.end(), change.before);
    std::copy(after.begin(), after.end(), change.after);
    return change;
}

TEST_F(SwitchReport, SummaryCountsFieldsPerControlBeforeTheFieldLines)
{
    // CD-SW twice to none (one of them a masked field cleared to 0x3F with its
    // mode bits), RST once to SW-A, SW-C keeping its control with new positions.
    const CModelDataPX600::SwitchChange changes[] = {
        Change(Kind::Switch, {0x53}, {0xFF}),
        Change(Kind::Direct, {0x0A}, {0x0C}),
        Change(Kind::Masked, {0x93}, {0xBF}),
        Change(Kind::Range, {0x04, 0x20, 0x40}, {0x04, 5, 0xFB}),
        Change(Kind::Reset, {0xFF, 0, 0}, {0xFF, 5, 0xFB}),  // no control: no summary line
    };
    struct Row {
        Language language;
        std::vector<std::string> summary;
    };
    const Row rows[] = {
        {Language::English,
         {"Controls changed by the conversion:", "CD-SW: set to none, in 2 field(s)", "RST: moved to SW-A, in 1 field(s)",
          "SW-C: switch positions changed, in 1 field(s)"}},
        {Language::German,
         {"Von der Konvertierung geänderte Bedienelemente:", "CD-SW: auf kein Bedienelement gesetzt, in 2 Feld(ern)",
          "RST: auf SW-A verlegt, in 1 Feld(ern)", "SW-C: Schalterpositionen geändert, in 1 Feld(ern)"}},
    };
    for (const Row& row : rows) {
        SetLanguage(row.language);
        const std::string text = Utf16ToUtf8(SwitchReportText(changes, std::size(changes)));
        std::vector<std::string> lines;
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        ASSERT_EQ(lines.size(), row.summary.size() + 2 + std::size(changes)) << text;
        for (size_t i = 0; i < row.summary.size(); ++i)
            EXPECT_EQ(lines[i], row.summary[i]);
        EXPECT_EQ(lines[row.summary.size()], "");
        // The field lines follow in the order of the pass.
        for (size_t i = 0; i < std::size(changes); ++i)
            EXPECT_EQ(lines[row.summary.size() + 2 + i], Utf16ToUtf8(DescribeSwitchChange(changes[i])));
    }
    for (Language language : {Language::French, Language::Japanese})
        for (unsigned id = 1520; id <= 1524; ++id)
            EXPECT_TRUE(HasString(id, language)) << LanguageCode(language) << " " << id;
    EXPECT_TRUE(SwitchReportText(changes, 0).empty());
}

}  // namespace
