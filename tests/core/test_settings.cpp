// The stored language setting read from the per-user INI file.
#include <gtest/gtest.h>

#include "Portable.h"

#include <cstdlib>
#include <fstream>

#include "RecordingHost.h"
#include "app/Settings.h"

TEST(SettingsTest, ReadsTheLanguageOfTheSystemSectionOnly)
{
    const std::string ini = "[General]\nLanguage=2\n\n[system]\n  Language = 3 \r\n[Window]\nLanguage=1\n";
    EXPECT_EQ(ReadIniInt(ini, "system", "Language"), 3);
    EXPECT_EQ(ReadIniInt(ini, "General", "Language"), 2);
    EXPECT_FALSE(ReadIniInt(ini, "system", "Left").has_value());
    EXPECT_FALSE(ReadIniInt("[system]\nLanguage=abc\n", "system", "Language").has_value());
    EXPECT_FALSE(ReadIniInt("[system]\nLanguage=99999999999\n", "system", "Language").has_value());
    EXPECT_FALSE(ReadIniInt("Language=4\n", "system", "Language").has_value());

    TempFolder temp;
    const std::string file = temp.Path() + "/arkleton.conf";
    EXPECT_EQ(ReadStoredLanguageIndex(file), 0);  // missing file
    std::ofstream(file) << "[system]\nLanguage=4\n";
    EXPECT_EQ(ReadStoredLanguageIndex(file), 4);
    EXPECT_EQ(LanguageFromIndex(4), Language::French);
    EXPECT_EQ(LanguageFromIndex(2), Language::Japanese);
    EXPECT_EQ(LanguageFromIndex(3), Language::German);
    EXPECT_EQ(LanguageFromIndex(7), SystemLanguage());
}

#ifndef _WIN32  // Windows keeps the settings in the registry
TEST(SettingsTest, FileLivesUnderTheUsersConfigFolder)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(SettingsFilePath(), "/cfg/Varkel Corp./arkleton.conf");
    unsetenv("XDG_CONFIG_HOME");
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(SettingsFilePath(), std::string(home) + "/.config/Varkel Corp./arkleton.conf");
    }
    if (saved)
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
}
#endif
