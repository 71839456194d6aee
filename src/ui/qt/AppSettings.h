// The settings store of the Qt program: Qt's per-user settings under the
// company "Varkel Corp." and the program's base name (an INI file on Linux,
// the registry on Windows). Which values there are and their defaults are the
// core's (app/AppSettings.h).
#pragma once

#include <memory>

#include <QSettings>

#include "app/AppSettings.h"

class CQtSettings : public ISettingsStore {
public:
    CQtSettings();

    std::optional<int> ReadInt(const std::string& section, const std::string& name) override;
    std::optional<std::u16string> ReadText(const std::string& section, const std::string& name) override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;
    void WriteText(const std::string& section, const std::string& name, const std::u16string& value) override;
    // Writes what was changed to the store now.
    void Sync() { m_settings.sync(); }

private:
    QSettings m_settings;
};

// The store of the running program.
std::unique_ptr<CQtSettings> OpenSettings();
