// Where the settings live on POSIX: a file in the user's configuration folder,
// the place the GUI's settings store uses.
#include "platform/SettingsStore.h"

#include <cstdlib>

std::string UserConfigFilePath(const std::string& folder, const std::string& file)
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
    return base + "/" + folder + "/" + file;
}

std::optional<std::string> ReadUserRegistryValue(const std::string&, const std::string&)
{
    return std::nullopt;
}
