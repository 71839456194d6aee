// The language the user's environment and the system name, as the first two
// letters of its code in lower case ("de" of "de_DE.UTF-8"); the string
// tables decide what a code means.
#pragma once

#include <string>

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty, as it
// does for the C library's message catalogues; without any, the system's
// user-interface language.
std::string SystemLanguageCode();
// Windows: the user's UI language ("de", "fr", "ja", else "en"). Elsewhere
// "en" (the environment decides there).
std::string SystemUiLanguageCode();
