// The settings store of the Windows program: the user's part of the registry,
// HKEY_CURRENT_USER\Software\Varkel Corp.\<application>\<section>, integers as
// REG_DWORD and texts as REG_SZ (as Qt's settings on Windows write them;
// arkleton-cli reads the language there).
#pragma once

#include "app/AppSettings.h"
#include "ui/win32/Win32Ui.h"

class CRegistrySettings : public ISettingsStore {
public:
    // application: the program file's base name ("arkleton").
    explicit CRegistrySettings(std::wstring application);

    std::optional<int> ReadInt(const std::string& section, const std::string& name) override;
    std::optional<std::u16string> ReadText(const std::string& section, const std::string& name) override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;
    void WriteText(const std::string& section, const std::string& name, const std::u16string& value) override;

    // The base name of the running program's file.
    static std::wstring ProgramName();

private:
    std::wstring KeyPath(const std::string& section) const;

    std::wstring m_application;
};
