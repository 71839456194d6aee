// The Win32 headers for the platform layer, without the macros whose names
// the program's own classes and functions use, and wide/UTF-8 helpers.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef FindNextFile
#undef FindFirstFile
#undef MessageBox
#undef LoadString
#undef GetLocalTime

#include <string>

#include "platform/Text.h"

// Paths and texts are UTF-8 in the program and UTF-16 at the system's calls.
inline std::wstring WidePath(const std::string& utf8)
{
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string NarrowPath(const wchar_t* wide)
{
    const std::u16string text(reinterpret_cast<const char16_t*>(wide));
    return Utf16ToUtf8(text);
}
