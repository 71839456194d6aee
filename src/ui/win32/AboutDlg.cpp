#include "ui/win32/AboutDlg.h"

#include <vector>

#include "app/Strings.h"
#include "ui/win32/resource.h"

namespace {

enum : unsigned {
    IDS_VERSION = 109,
    IDS_ABOUT_CAPTION = 2200,
    IDS_ABOUT_NAME = 2201,
    IDS_ABOUT_NOTICE = 2202,
    IDS_OK = 2203,
};

const ControlText kTexts[] = {
    {IDC_ABOUT_NAME, IDS_ABOUT_NAME},
    {IDC_ABOUT_NOTICE, IDS_ABOUT_NOTICE},
    {IDOK, IDS_OK},
};

// The version line's place in dialog units: (60, 32)-(260, 50) in pixels of
// the dialog font at 96 dots per inch, so that it keeps its place beside the
// other lines at every size of font and screen.
constexpr RECT kVersionRect = {40, 20, 173, 31};
constexpr int kFontHeight = 14;  // pixels at 96 dots per inch

}  // namespace

CStaticVersion::CStaticVersion(HMODULE module)
{
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &handle);
    std::vector<BYTE> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size && ::GetFileVersionInfoW(path.c_str(), 0, size, info.data()) &&
        ::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
        length >= sizeof *fixed) {
        m_major = HIWORD(fixed->dwFileVersionMS);
        m_minor = LOWORD(fixed->dwFileVersionMS);
        m_build = HIWORD(fixed->dwFileVersionLS);
    }
    m_text = Wide(FormatString(IDS_VERSION, {m_major, m_minor, m_build}));
}

void CStaticVersion::Create(HWND parent)
{
    // The dialog's own face, bold and 14 pixels high: a face of its own
    // would lack the letters of some languages.
    LOGFONTW font = {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfHeight = ::MulDiv(kFontHeight, static_cast<int>(WindowDpi(parent)), 96);
    font.lfWeight = FW_BOLD;
    font.lfItalic = font.lfUnderline = font.lfStrikeOut = FALSE;
    m_font.Reset(::CreateFontIndirectW(&font));
    RECT place = kVersionRect;
    ::MapDialogRect(parent, &place);
    ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, place.left, place.top,
                      place.right - place.left, place.bottom - place.top, parent,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_VERSION)), nullptr, nullptr);
}

void CStaticVersion::Draw(const DRAWITEMSTRUCT& item) const
{
    RECT text = item.rcItem;
    const HGDIOBJ old = ::SelectObject(item.hDC, m_font.Get());
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextW(item.hDC, m_text.c_str(), static_cast<int>(m_text.size()), &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(item.hDC, old);
}

bool CAboutDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowTextW(Window(), Text(IDS_ABOUT_CAPTION).c_str());
        SetItemTexts(Window(), kTexts);
        // The icon as crisp as the monitor allows.
        m_icon.Reset(LoadProgramIcon(true, WindowDpi(Window())));
        ::SendMessageW(Item(IDC_ABOUT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(m_icon.Get()), 0);
        m_version.Create(Window());
        result = TRUE;
        return true;
    case WM_DRAWITEM:
        if (wParam != IDC_VERSION)
            return false;
        m_version.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(LOWORD(wParam));
        return true;
    default:
        return false;
    }
}
