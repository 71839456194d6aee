// Where the settings live on Windows: the user's part of the registry, under
// the key the GUI's settings store uses.
#include "app/Settings.h"

#include <cstring>
#include <string>

#include "platform/win32/Win32.h"

namespace {

// The names are ASCII.
std::wstring Wide(const char* ascii)
{
    return std::wstring(ascii, ascii + std::strlen(ascii));
}

// HKEY_CURRENT_USER\Software\<company>\arkleton\system
std::wstring SystemKey()
{
    return L"Software\\" + Wide(SettingsName::kCompany) + L"\\arkleton\\" + Wide(SettingsName::kSystem);
}

}  // namespace

std::string SettingsFilePath()
{
    return {};
}

int ReadStoredLanguageIndex()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SystemKey().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    int index = 0;
    DWORD type = 0;
    BYTE data[64] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (::RegQueryValueExW(key, Wide(SettingsName::kLanguage).c_str(), nullptr, &type, data, &size) == ERROR_SUCCESS) {
        if ((type == REG_DWORD) && size == sizeof(DWORD)) {
            DWORD value = 0;
            std::memcpy(&value, data, sizeof value);
            index = static_cast<int>(value);
        } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
            // A text value: the INI rules of a number apply.
            const std::string text = std::string("[") + SettingsName::kSystem + "]\n" + SettingsName::kLanguage + "=" +
                                     NarrowPath(reinterpret_cast<const wchar_t*>(data));
            index = ReadIniInt(text, SettingsName::kSystem, SettingsName::kLanguage).value_or(0);
        }
    }
    ::RegCloseKey(key);
    return index;
}
