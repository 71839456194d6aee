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

#include <cwchar>
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

// True when path names no file on a disk (a folder, a DOS device such as NUL
// or COM1.MDL, a named pipe, a volume or a drive), found without opening it:
// opening alone can act on a device or answer a pipe's server. A name that
// does not exist yet is a file to be.
inline bool NamesNoDiskFile(const std::string& utf8)
{
    const std::wstring path = WidePath(utf8);
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.assign(length, L'\0');
        length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    auto startsWith = [&full](const wchar_t* prefix) { return ::_wcsnicmp(full.c_str(), prefix, ::wcslen(prefix)) == 0; };
    // The device namespace holds files only below a drive letter (\\.\C:\...).
    const bool belowDrive = full.size() > 7 && ((full[4] | 0x20) >= L'a' && (full[4] | 0x20) <= L'z')
                            && full[5] == L':' && full[6] == L'\\';
    if ((startsWith(L"\\\\.\\") && !belowDrive) || startsWith(L"\\\\?\\GLOBALROOT\\"))
        return true;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
           && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0;
}
