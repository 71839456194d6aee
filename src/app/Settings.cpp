#include "app/Settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "platform/File.h"
#include "platform/SettingsStore.h"

namespace {

constexpr size_t kMaxSettingsBytes = 1 << 20;
constexpr const char* kSettingsFile = "arkleton.conf";

std::string Trim(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    const size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

}  // namespace

std::optional<int> ReadIniInt(const std::string& iniText, const std::string& section, const std::string& key)
{
    std::istringstream in(iniText);
    std::string line;
    bool inSection = false;
    std::optional<int> result;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[') {
            inSection = line.back() == ']' && Trim(line.substr(1, line.size() - 2)) == section;
            continue;
        }
        const size_t eq = line.find('=');
        if (!inSection || eq == std::string::npos || Trim(line.substr(0, eq)) != key)
            continue;
        const std::string value = Trim(line.substr(eq + 1));
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(value.c_str(), &end, 10);
        if (!value.empty() && end && *end == '\0' && errno == 0 && v >= INT_MIN && v <= INT_MAX)
            result = static_cast<int>(v);
        else
            result.reset();
    }
    return result;
}

int ReadStoredLanguageIndex(const std::string& settingsFile)
{
    if (settingsFile.empty())
        return 0;
    // Anything but a regular file (a named pipe, a device) counts as missing.
    std::string text;
    ReadSmallFile(settingsFile, kMaxSettingsBytes, text);
    return ReadIniInt(text, SettingsName::kSystem, SettingsName::kLanguage).value_or(0);
}

std::string SettingsFilePath()
{
    return UserConfigFilePath(SettingsName::kCompany, kSettingsFile);
}

int ReadStoredLanguageIndex()
{
    // Windows: a number or a decimal text, read by the INI rules of a number.
    const std::string key = std::string("Software\\") + SettingsName::kCompany + "\\arkleton\\" + SettingsName::kSystem;
    if (const std::optional<std::string> value = ReadUserRegistryValue(key, SettingsName::kLanguage))
        return ReadIniInt(std::string("[") + SettingsName::kSystem + "]\n" + SettingsName::kLanguage + "=" + *value,
                          SettingsName::kSystem, SettingsName::kLanguage)
            .value_or(0);
    return ReadStoredLanguageIndex(SettingsFilePath());
}

Language LanguageFromIndex(int index)
{
    switch (index) {
    case 1: return Language::English;
    case 2: return Language::Japanese;
    case 3: return Language::German;
    case 4: return Language::French;
    default: return SystemLanguage();
    }
}
