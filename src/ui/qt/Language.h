// The user-interface language: one object for the whole run holding the
// language index (0 the system's language, 1 English, 2 Japanese, 3 German,
// 4 French; any other index also means the system's language).
#pragma once

#include <cstdint>

class CLanguage {
public:
    virtual ~CLanguage() = default;
    int32_t m_language = 0;
};

CLanguage& TheLanguage();

// Chooses the string tables of the index's language and loads Qt's own
// translations (message box buttons, the folder browser) for it.
void ApplyLanguage(int index);
