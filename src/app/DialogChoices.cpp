#include "app/DialogChoices.h"

#include <algorithm>
#include <iterator>

#include "app/AppSettings.h"
#include "model/ModelData.h"
#include "app/StringIds.h"
#include "app/Strings.h"

namespace {

enum : unsigned {
    IDS_ABOUT_MENU = 101,
    IDS_RESTART = 900,
    IDS_SETTING_MENU = 1200,
    IDS_LANGUAGE_CHOICE = 1201,  // 1201..1205: System, English, Japanese, German, French
};

// Headings of the columns in their order: Transmitter, Model Name, Model Type, Date.
constexpr unsigned kHeadingIds[kListColumns] = {501, 503, 502, 504};

// The language each entry after "System" stands for.
constexpr Language kChoiceLanguages[kLanguageChoiceCount] = {Language::English, Language::English, Language::Japanese,
                                                             Language::German, Language::French};

}  // namespace

const uint16_t kSourceTransmitters[2] = {TX_PX400, TX_PX200};
const uint16_t kTargetTransmitters[1] = {TX_PX600};

std::u16string TransmitterChoiceText(uint16_t type)
{
    return LoadString(IDS_TX_COMBO_BASE + type);
}

uint16_t SourceTransmitterAt(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(kSourceTransmitters)) ? kSourceTransmitters[index]
                                                                                 : uint16_t{TX_UNKNOWN};
}

uint16_t TargetTransmitterAt(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(kTargetTransmitters)) ? kTargetTransmitters[index]
                                                                                 : uint16_t{TX_UNKNOWN};
}

std::u16string ListColumnHeading(int column)
{
    return column >= 0 && column < kListColumns ? LoadString(kHeadingIds[column]) : std::u16string();
}

std::vector<std::u16string> ListColumnSamples(int column)
{
    std::vector<std::u16string> samples;
    switch (column) {
    case 0:
        for (uint16_t type : {TX_PX400, TX_PX200, TX_PX600})
            samples.emplace_back(TransmitterName(type));
        break;
    case 2:
        for (unsigned id = IDS_MODEL_TYPE_UNKNOWN; id <= IDS_MODEL_TYPE_BASE + MODEL_MULTICOPTER; ++id)
            samples.push_back(LoadString(id));
        break;
    case 3:
        samples.push_back(u"00/00/00 00:00:00");
        break;
    default:
        break;
    }
    return samples;
}

std::vector<SystemMenuItem> SystemMenuItems()
{
    std::u16string about = LoadString(IDS_ABOUT_MENU);
    std::u16string setting = LoadString(IDS_SETTING_MENU);
    if (about.empty() || setting.empty())
        return {};
    return {{kAboutCommand, std::move(about)}, {kSettingCommand, std::move(setting)}};
}

CLanguage& TheLanguage()
{
    static CLanguage language;
    return language;
}

std::u16string LanguageChoiceText(int index)
{
    if (index < 0 || index >= kLanguageChoiceCount)
        return {};
    const unsigned id = IDS_LANGUAGE_CHOICE + static_cast<unsigned>(index);
    return index == 0 ? LoadString(id) : LoadString(id, kChoiceLanguages[index]);
}

std::u16string ChooseLanguage(int index)
{
    const int old = TheLanguage().m_language;
    TheLanguage().m_language = index;
    return old != index ? LoadString(IDS_RESTART) : std::u16string();
}

bool PlaceBrowsedLocation(std::vector<std::string>& entries, const std::string& path, const std::string& stored)
{
    if (path == stored)
        return false;
    const auto found = std::find(entries.begin(), entries.end(), path);
    if (found != entries.end())
        entries.erase(found);
    else if (entries.size() > static_cast<size_t>(kHistorySize))
        entries.resize(kHistorySize);
    entries.insert(entries.begin(), path);
    return true;
}

bool PlaceChosenLocation(std::vector<std::string>& entries, int index, const std::string& stored)
{
    if (index < 0 || static_cast<size_t>(index) >= entries.size() || entries[static_cast<size_t>(index)] == stored)
        return false;
    std::string chosen = std::move(entries[static_cast<size_t>(index)]);
    entries.erase(entries.begin() + index);
    entries.insert(entries.begin(), std::move(chosen));
    return true;
}
