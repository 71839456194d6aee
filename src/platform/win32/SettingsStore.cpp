// Where the settings live on Windows: the user's part of the registry, under
// the key the GUI's settings store uses.
#include "platform/SettingsStore.h"

#include <cstring>

#include "platform/win32/Win32.h"

std::string UserConfigFilePath(const std::string&, const std::string&)
{
    return {};
}

std::optional<std::string> ReadUserRegistryValue(const std::string& keyPath, const std::string& name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, WidePath(keyPath).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> value;
    DWORD type = 0;
    BYTE data[64] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (::RegQueryValueExW(key, WidePath(name).c_str(), nullptr, &type, data, &size) == ERROR_SUCCESS) {
        if (type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD number = 0;
            std::memcpy(&number, data, sizeof number);
            value = std::to_string(static_cast<int>(number));
        } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
            value = NarrowPath(reinterpret_cast<const wchar_t*>(data));
        }
    }
    ::RegCloseKey(key);
    return value;
}
