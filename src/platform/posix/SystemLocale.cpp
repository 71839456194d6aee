#include "platform/SystemLocale.h"

Language SystemUiLanguage()
{
    return Language::English;
}
