// The user's UI language on Windows.
#include "platform/SystemLocale.h"

#include "platform/win32/Win32.h"

std::string SystemUiLanguageCode()
{
    switch (PRIMARYLANGID(::GetUserDefaultUILanguage())) {
    case LANG_GERMAN: return "de";
    case LANG_FRENCH: return "fr";
    case LANG_JAPANESE: return "ja";
    default: return "en";
    }
}
