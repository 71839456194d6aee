// The user-interface language of the Qt program: the language index
// (CLanguage, app/DialogChoices.h) applied to the string tables and to Qt's
// own texts.
#pragma once

#include "app/DialogChoices.h"

// Chooses the string tables of the index's language and loads Qt's own
// translations (message box buttons, the folder browser) for it.
void ApplyLanguage(int index);
