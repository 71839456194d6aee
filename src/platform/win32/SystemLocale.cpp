// The user's UI language on Windows.
#include "platform/SystemLocale.h"

#include "platform/win32/Win32.h"

Language SystemUiLanguage()
{
    switch (PRIMARYLANGID(::GetUserDefaultUILanguage())) {
    case LANG_GERMAN: return Language::German;
    case LANG_FRENCH: return Language::French;
    case LANG_JAPANESE: return Language::Japanese;
    default: return Language::English;
    }
}
