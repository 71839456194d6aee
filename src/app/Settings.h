// The per-user settings the program shares with its graphical front end: the
// names they are stored under, and the language index read from the store
// (platform/SettingsStore.h says where the system keeps it).
#pragma once

#include <optional>
#include <string>

#include "app/Strings.h"

// Names of the company, the sections and the values in the settings store.
// They are part of the stored format, not texts of the user interface: the
// same in every language, so that any language reads what another wrote.
namespace SettingsName {
constexpr const char* kCompany = "Varkel Corp.";
constexpr const char* kWindow = "Window";
constexpr const char* kConvertFrom = "Convert from";
constexpr const char* kConvertTo = "Convert to";
constexpr const char* kSystem = "system";
// "Window": the four edges of the main window.
constexpr const char* kEdges[4] = {"Left", "Top", "Right", "Bottom"};
// "Convert from" and "Convert to": "Folder1".."Folder10" (kFolder and the
// entry's number from 1), the selected entry, the transmitters, the widths of
// the list columns 0..3.
constexpr const char* kFolder = "Folder";
constexpr const char* kMru = "MRU";
constexpr const char* kSourceTransmitter = "TransmitterSrc";
constexpr const char* kTargetTransmitter = "Transmitter";
constexpr const char* kColumns[4] = {"ID", "Name", "Type", "Date"};
// "system": the language index.
constexpr const char* kLanguage = "Language";
}  // namespace SettingsName

// $XDG_CONFIG_HOME (else ~/.config) + "/Varkel Corp./arkleton.conf"; empty when
// neither the variable nor a home folder is known, and on Windows.
std::string SettingsFilePath();

// Integer value of key in [section] of an INI text; none when absent or not a number.
std::optional<int> ReadIniInt(const std::string& iniText, const std::string& section, const std::string& key);

// The stored language index: 0 system, 1 English, 2 Japanese, 3 German,
// 4 French; 0 when the file or the value is missing. Without an argument:
// the settings file, or on Windows the value Language of the registry key
// HKEY_CURRENT_USER\Software\Varkel Corp.\arkleton\system (a number or a
// decimal text).
int ReadStoredLanguageIndex();
int ReadStoredLanguageIndex(const std::string& settingsFile);

// The language an index stands for; any index but 1..4 means the system's.
Language LanguageFromIndex(int index);
