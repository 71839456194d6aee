// Where the settings live on POSIX: an INI file in the user's configuration
// folder, the place the GUI's settings store uses.
#include "app/Settings.h"

#include <cstdlib>

namespace {

constexpr const char* kSettingsFile = "arkleton.conf";

}  // namespace

std::string SettingsFilePath()
{
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home)
            return {};
        base = std::string(home) + "/.config";
    }
    return base + "/" + SettingsName::kCompany + "/" + kSettingsFile;
}

int ReadStoredLanguageIndex()
{
    return ReadStoredLanguageIndex(SettingsFilePath());
}
