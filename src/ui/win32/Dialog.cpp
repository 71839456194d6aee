#include "ui/win32/Dialog.h"

#include "ui/win32/Prompts.h"

INT_PTR CDialog::DoModal(HWND owner)
{
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner, &CDialog::Procedure,
                             reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result)
{
    ::EndDialog(m_window, result);
}

INT_PTR CALLBACK CDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_window = window;
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!dialog)
        return FALSE;
    if (message == WM_SHOWWINDOW && wParam && !dialog->m_shown) {
        dialog->m_shown = true;
        ::PostMessageW(window, WM_ARK_SHOWN, 0, 0);
    } else if (message == WM_ARK_SHOWN) {
        DialogShown(window, dialog->m_templateId);
        return TRUE;
    }
    INT_PTR result = TRUE;
    const bool handled = dialog->HandleMessage(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->m_window = nullptr;
    }
    return handled ? result : FALSE;
}
