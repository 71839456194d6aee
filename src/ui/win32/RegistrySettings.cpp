#include "ui/win32/RegistrySettings.h"

#include <cstring>
#include <vector>

#include "app/Settings.h"

namespace {

// Owner of an open registry key.
class Key {
public:
    Key(const std::wstring& path, bool create)
    {
        const LSTATUS status =
            create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &m_key, nullptr)
                   : ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &m_key);
        if (status != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~Key()
    {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::wstring WideName(const std::string& name)
{
    return WidePath(name);
}

// A value's type and bytes; none when missing.
struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

std::optional<Value> Query(const std::wstring& keyPath, const std::string& name)
{
    Key key(keyPath, false);
    if (!key.Get())
        return std::nullopt;
    const std::wstring valueName = WideName(name);
    Value value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size + sizeof(wchar_t));
    if (::RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

// The text of a REG_SZ value, without the terminating zero.
std::u16string TextOf(const Value& value)
{
    std::u16string text(value.data.size() / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), value.data.data(), text.size() * sizeof(char16_t));
    text.resize(BoundedLength(text.c_str(), text.size()));
    return text;
}

}  // namespace

CRegistrySettings::CRegistrySettings(std::wstring application) : m_application(std::move(application)) {}

std::wstring CRegistrySettings::ProgramName()
{
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring CRegistrySettings::KeyPath(const std::string& section) const
{
    return L"Software\\" + WideName(SettingsName::kCompany) + L"\\" + m_application + L"\\" + WideName(section);
}

std::optional<int> CRegistrySettings::ReadInt(const std::string& section, const std::string& name)
{
    const std::optional<Value> value = Query(KeyPath(section), name);
    if (!value)
        return std::nullopt;
    if (value->type == REG_DWORD && value->data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, value->data.data(), sizeof number);
        return static_cast<int>(number);
    }
    if (value->type == REG_SZ || value->type == REG_EXPAND_SZ) {
        // A number written as text: the INI rules of a number apply.
        const std::string ini = "[s]\nv=" + Utf16ToUtf8(TextOf(*value));
        return ReadIniInt(ini, "s", "v");
    }
    return std::nullopt;
}

std::optional<std::u16string> CRegistrySettings::ReadText(const std::string& section, const std::string& name)
{
    const std::optional<Value> value = Query(KeyPath(section), name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ))
        return std::nullopt;
    return TextOf(*value);
}

void CRegistrySettings::WriteInt(const std::string& section, const std::string& name, int value)
{
    Key key(KeyPath(section), true);
    if (!key.Get())
        return;
    const DWORD number = static_cast<DWORD>(value);
    ::RegSetValueExW(key.Get(), WideName(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

void CRegistrySettings::WriteText(const std::string& section, const std::string& name, const std::u16string& value)
{
    Key key(KeyPath(section), true);
    if (!key.Get())
        return;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(char16_t));
    ::RegSetValueExW(key.Get(), WideName(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}
