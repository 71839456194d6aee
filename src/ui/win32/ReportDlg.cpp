#include "ui/win32/ReportDlg.h"

#include <cstring>

#include "app/Strings.h"
#include "ui/win32/Prompts.h"
#include "ui/win32/resource.h"

namespace {

enum : unsigned {
    IDS_OK = 2125,
    IDS_SAVE = 2300,
    IDS_COPY = 2301,
    IDS_SAVE_FAILED = 2303,
    IDS_REPORT_FILE = 2304,
};

const ControlText kTexts[] = {
    {IDC_REPORT_SAVE, IDS_SAVE},
    {IDC_REPORT_COPY, IDS_COPY},
    {IDOK, IDS_OK},
};

std::wstring WindowsLines(const std::wstring& text)
{
    std::wstring lines;
    for (wchar_t c : text) {
        if (c == L'\n' && (lines.empty() || lines.back() != L'\r'))
            lines += L'\r';
        lines += c;
    }
    return lines;
}

bool WriteTextFile(const std::wstring& path, const std::wstring& text)
{
    OwnedHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return false;
    // UTF-8 with its byte order mark, as every editor reads it.
    const std::string bytes = "\xEF\xBB\xBF" + Utf8(text);
    DWORD written = 0;
    return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

CReportDlg::CReportDlg(std::wstring message, std::wstring caption, std::wstring report)
    : CDialog(IDD_REPORT), m_message(std::move(message)), m_caption(std::move(caption)), m_report(WindowsLines(report))
{
}

bool CReportDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result)
{
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowTextW(Window(), m_caption.c_str());
        SetItemTexts(Window(), kTexts);
        ::SendMessageW(Item(IDC_REPORT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_WARNING)), 0);
        SetItemText(Window(), IDC_REPORT_MESSAGE, m_message);
        SetItemText(Window(), IDC_REPORT_TEXT, m_report);
        ::MessageBeep(MB_ICONEXCLAMATION);
        // OK has the focus, and the report shows its first lines.
        ::SendMessageW(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
        result = FALSE;
        return true;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_REPORT_SAVE:
            OnSave();
            return true;
        case IDC_REPORT_COPY:
            OnCopy();
            return true;
        case IDOK:
        case IDCANCEL:
            EndDialog(IDOK);
            return true;
        default:
            return true;
        }
    default:
        return false;
    }
}

void CReportDlg::OnSave()
{
    const std::optional<std::wstring> path = ChooseSaveFile(Window(), Text(IDS_REPORT_FILE));
    if (!path)
        return;
    if (!WriteTextFile(*path, m_message + L"\r\n\r\n" + m_report))
        ShowMessage(Window(), Wide(FormatString(IDS_SAVE_FAILED, {Utf16(*path)})), m_caption, MB_OK | MB_ICONSTOP);
}

void CReportDlg::OnCopy()
{
    const std::wstring text = WindowsLines(m_message) + L"\r\n\r\n" + m_report;
    if (!::OpenClipboard(Window()))
        return;
    ::EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* data = ::GlobalLock(memory)) {
            std::memcpy(data, text.c_str(), bytes);
            ::GlobalUnlock(memory);
            if (!::SetClipboardData(CF_UNICODETEXT, memory))
                ::GlobalFree(memory);
        } else {
            ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
}
