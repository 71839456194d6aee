#include "platform/SystemLocale.h"

#include <cstdlib>

std::string SystemLanguageCode()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == 0)
            continue;
        std::string code(value, value[1] == 0 ? 1 : 2);
        for (char& c : code)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return code;
    }
    return SystemUiLanguageCode();
}
