// The user-interface language the system itself reports, where it reports one.
#pragma once

#include "app/Strings.h"

// Windows: the user's UI language when it is German, French or Japanese,
// else English. Elsewhere: English (the environment decides there).
Language SystemUiLanguage();
