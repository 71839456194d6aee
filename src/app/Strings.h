// The string tables: every user-visible text of the program, in four languages,
// keyed by numeric id. The tables are compiled into the program (resources/).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Text.h"

enum class Language { English, German, French, Japanese };

// Language whose table LoadString reads; English until changed.
void SetLanguage(Language language);
Language CurrentLanguage();

// Language of the user's environment (LC_ALL, LC_MESSAGES, LANG), English when
// it names none of the four; when none is set, the system's UI language on
// Windows, English elsewhere.
Language SystemLanguage();

// Short code of a language ("en", "de", "fr", "ja") and back; false when unknown.
const char* LanguageCode(Language language);
bool LanguageFromCode(const std::string& code, Language& out);

// The text of id in the current language; empty when the table has no such id.
std::u16string LoadString(unsigned id);
std::u16string LoadString(unsigned id, Language language);
bool HasString(unsigned id, Language language);

// All ids of one language's table, ascending.
std::vector<unsigned> StringIds(Language language);

// LoadString(id) formatted with FormatText.
std::u16string FormatString(unsigned id, std::initializer_list<FormatArg> args);
