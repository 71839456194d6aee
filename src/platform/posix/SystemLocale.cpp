#include "platform/SystemLocale.h"

std::string SystemUiLanguageCode()
{
    return "en";
}
