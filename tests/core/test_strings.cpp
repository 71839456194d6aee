// String tables, UTF conversion and printf-style formatting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Strings.h"
#include "platform/Text.h"

namespace {

constexpr Language kAllLanguages[] = {Language::English, Language::German, Language::French, Language::Japanese};

std::string U8(unsigned id, Language language)
{
    return Utf16ToUtf8(LoadString(id, language));
}

// The conversion specifiers of a text in order ("%s", "%d", ...), with flags and
// width dropped; "%%" is not one.
std::vector<char> Specifiers(const std::u16string& text)
{
    std::vector<char> out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'%')
            continue;
        size_t j = i + 1;
        while (j < text.size() && std::u16string_view(u"-0+ #123456789.lhz").find(text[j]) != std::u16string_view::npos)
            ++j;
        if (j >= text.size())
            break;
        if (text[j] != u'%')
            out.push_back(static_cast<char>(text[j]));
        i = j;
    }
    return out;
}

} // namespace

TEST(StringTables, EnglishTextsOfMessagesAreExact)
{
    const std::map<unsigned, std::string> expected = {
        {101, "&About PX600 Arkleton..."},
        {102, "Please choose the Model Data Folder."},
        {103, "The %s data could not store to the location %s.\nPlease check the \"Transmitter\" type and the "
              "\"Location\" in the \"Convert to\" group."},
        {104, "No items were selected in the \"Convert from\" group.\nPlease select an item on the model list."},
        {105, "There is %s file.\nPlease change the Model Name."},
        {106, "Could not open the %s file.\nPlease check the \"Location\" in the \"Convert from\" group."},
        {107, "Could not open the %s file.\nPlease check the Model Name and the \"Location\" in the \"Convert to\" "
              "group."},
        {108, "The conversion of data was completed."},
        {109, "Version %d.%d.%d"},
        {110, ".mdl"},
        {631, "The Arkleton resets all condition names. \n\nReset all Condition Names?"},
        {632, "The Arkleton resets all Dual Rate names of all Condition.\n\nReset all Dual Rate names?"},
        {634, "With PX600,\nwhen the Condition Name and the Dual Rate Name exceed 8 letters,\nletter as for after the "
              "9th letter it is not indicated.\n\nWhen the Condition Name and the Dual Rate Name exceed 8 "
              "letters,\nplease make within 8 letters."},
        {635, "The Arkleton sets all Condition Names to default.\n\nSet all Condition Names to default?"},
        {700, "Unsupported data selected.\nThis data is saved with the transmitter of an older version of the "
              "software.\nPlease update your transmitter accordingly."},
        {701, "Unsupported data selected.\nPlease use a newer data converter."},
        {702, "The Arkleton could not convert delay parameter of the Trim Mix.\nPlease adjust conversion data with "
              "your transmitter."},
        {703, "The Arkleton could not convert delay parameter of the Air Brake.\nPlease adjust conversion data with "
              "your transmitter."},
        {704, "The \"Transmitter\" type of the \"Convert from\" group is not correct.\nPlease check the "
              "\"Transmitter\" type and the items on the model list in the \"Convert from\" group."},
        {705, "A kind of the hardware and the numbers of the switch position are different by a transmitter.\n"
              "Please check the operation before the flight."},
        {706, "The model name length is too long.\nPlease check the \"Model name\" in the \"Convert to\" group.\n"
              "When converting data to the PX600, please edit\nthe model name so that it is no longer than 15 "
              "characters."},
        {707, "The use of the character which is not usable for a model name in the PX600.\nPlease check the "
              "\"Model name\" in the \"Convert to\" group."},
        {708, "Please enter a model name into the \"Model name\" in the \"Convert to\" group."},
        {900, "Please restart the Arkleton."},
        {1200, "Se&tting..."},
        {1201, "SYSTEM"},
        {1202, "ENGLISH"},
        {1203, "JAPANESE"},
        {1204, "GERMAN"},
        {1205, "FRENCH"},
        {501, "Transmitter"},
        {502, "Model Type"},
        {503, "Model Name"},
        {504, "Date"},
        {505, "Default condition"},
        {512, "Condition 8"},
    };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(U8(id, Language::English), text) << "id " << id;
}

TEST(StringTables, LoadStringFollowsTheCurrentLanguage)
{
    const Language saved = CurrentLanguage();
    SetLanguage(Language::English);
    EXPECT_EQ(Utf16ToUtf8(LoadString(108)), "The conversion of data was completed.");
    EXPECT_EQ(Utf16ToUtf8(FormatString(105, {u"C:\\a\\b.mdl"})),
              "There is C:\\a\\b.mdl file.\nPlease change the Model Name.");
    EXPECT_TRUE(LoadString(4242).empty());
    EXPECT_FALSE(HasString(4242, Language::English));
    SetLanguage(saved);
}
