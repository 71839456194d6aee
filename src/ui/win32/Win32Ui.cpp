#include "ui/win32/Win32Ui.h"

#include <algorithm>

#include "app/Settings.h"
#include "app/Strings.h"
#include "ui/win32/resource.h"

std::wstring Text(unsigned id)
{
    return Wide(LoadString(id));
}

std::wstring WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

std::wstring ItemText(HWND dialog, int id)
{
    return WindowText(::GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::wstring& text)
{
    ::SetDlgItemTextW(dialog, id, text.c_str());
}

void SetComboItems(HWND combo, const std::wstring* items, size_t count)
{
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < count; ++i)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
}

int ComboSelection(HWND combo)
{
    return static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

std::wstring ComboItemText(HWND combo, int index)
{
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void ApplyLanguage(int index)
{
    const Language language = LanguageFromIndex(index);
    SetLanguage(language);
    // Index 0 leaves the system its own language.
    static const LANGID kLanguageIds[] = {0, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
                                          MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)};
    if (index >= 1 && index <= 4)
        ::SetThreadUILanguage(kLanguageIds[index]);
}

void FitListColumns(HWND list, int headingMargin, int cellMargin)
{
    const int dpi = static_cast<int>(WindowDpi(list));
    auto width = [list](const wchar_t* text) {
        return static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
    };
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RECT client = {};
    ::GetClientRect(list, &client);
    int used = 0;
    for (int c = 0; c < columns; ++c) {
        wchar_t text[512] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 512;
        ::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        int fit = width(text) + ::MulDiv(headingMargin, dpi, 96);
        for (int r = 0; r < rows; ++r) {
            LVITEMW item = {};
            item.iSubItem = c;
            item.pszText = text;
            item.cchTextMax = 512;
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
            fit = std::max(fit, width(text) + ::MulDiv(cellMargin, dpi, 96));
        }
        if (c + 1 == columns)
            fit = std::max(fit, static_cast<int>(client.right) - used);
        ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), fit);
        used += fit;
    }
}

UINT WindowDpi(HWND window)
{
    // Windows 10 and later know the monitor's DPI per window.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = getDpi && window ? getDpi(window) : 0;
    if (dpi == 0) {
        HDC screen = ::GetDC(nullptr);
        dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX));
        ::ReleaseDC(nullptr, screen);
    }
    return dpi ? dpi : 96;
}

HICON LoadProgramIcon(bool big, UINT dpi)
{
    const int size = ::MulDiv(big ? 32 : 16, static_cast<int>(dpi), 96);
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                           size, size, LR_DEFAULTCOLOR));
}
