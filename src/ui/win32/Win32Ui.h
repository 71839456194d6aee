// Small helpers of the Windows front end: wide texts, the string tables as
// wide texts, and owners of the handles the dialogs create.
#pragma once

// The core names its own calendar record SYSTEMTIME (platform/SystemTime.h);
// the system's record of that name is renamed while its headers are read.
#define SYSTEMTIME WIN32_SYSTEMTIME
#include "platform/win32/Win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>
#undef SYSTEMTIME

#include <string>
#include <utility>

// The core's UTF-16 texts are the system's wide strings.
inline std::wstring Wide(const std::u16string& text)
{
    return std::wstring(text.begin(), text.end());
}
inline std::u16string Utf16(const std::wstring& text)
{
    return std::u16string(text.begin(), text.end());
}
inline std::string Utf8(const std::wstring& text)
{
    return Utf16ToUtf8(Utf16(text));
}

// Text of a string-table id in the current language.
std::wstring Text(unsigned id);

std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::wstring& text);
// Sets each control's text from its string-table id.
struct ControlText {
    int control;
    unsigned text;
};
template <size_t N>
void SetItemTexts(HWND dialog, const ControlText (&texts)[N])
{
    for (const ControlText& t : texts)
        SetItemText(dialog, t.control, Text(t.text));
}

// Combo box helpers: the entries, the selected index (-1 for none) and its text.
void SetComboItems(HWND combo, const std::wstring* items, size_t count);
int ComboSelection(HWND combo);
std::wstring ComboItemText(HWND combo, int index);

// Owner of one handle: frees it with Free when replaced or destroyed.
template <typename T, auto Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(T handle) : m_handle(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept
    {
        Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    ~Owned() { Reset(); }

    T Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset(T handle = nullptr)
    {
        if (m_handle && m_handle != handle)
            Free(m_handle);
        m_handle = handle;
    }

private:
    T m_handle = nullptr;
};

inline void FreeGdiObject(HGDIOBJ object)
{
    ::DeleteObject(object);
}
inline void FreeIcon(HICON icon)
{
    ::DestroyIcon(icon);
}
inline void FreeHandle(HANDLE handle)
{
    if (handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle);
}
inline void FreeWindow(HWND window)
{
    ::DestroyWindow(window);
}

using OwnedFont = Owned<HFONT, FreeGdiObject>;
using OwnedIcon = Owned<HICON, FreeIcon>;
using OwnedHandle = Owned<HANDLE, FreeHandle>;
using OwnedWindow = Owned<HWND, FreeWindow>;

// The language of the string tables and of the system's own dialogs (the
// buttons of a message box) for a language index of the settings.
void ApplyLanguage(int index);

// A report-view list's columns as wide as their headings and cells (the
// last one also takes the room the others leave); headingMargin and
// cellMargin are the room beside a text, in pixels at 96 dots per inch.
void FitListColumns(HWND list, int headingMargin = 16, int cellMargin = 13);

// The dots per inch of a window's monitor (96 where the system cannot say).
UINT WindowDpi(HWND window);
// The program's icon at the size the system uses for big or small icons at dpi.
HICON LoadProgramIcon(bool big, UINT dpi);
