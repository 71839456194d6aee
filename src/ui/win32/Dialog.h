// A modal dialog from a template of the resource script, run by one small
// dialog procedure per dialog: HandleMessage turns the messages it knows into
// calls on the dialog object and leaves the rest to the system.
#pragma once

#include "ui/win32/Win32Ui.h"

class CDialog {
public:
    explicit CDialog(int templateId) : m_templateId(templateId) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally over owner; returns the id it ended with
    // (IDOK, IDCANCEL), -1 when it could not be created.
    INT_PTR DoModal(HWND owner);
    HWND Window() const { return m_window; }
    int TemplateId() const { return m_templateId; }

protected:
    // The dialog's own messages. Returns true when it handled the message;
    // result is then the dialog procedure's result (SetWindowLongPtr's
    // DWLP_MSGRESULT for notifications that need one).
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;

    void EndDialog(INT_PTR result);
    HWND Item(int id) const { return ::GetDlgItem(m_window, id); }
    // The caption of the dialog, as message boxes over it show it.
    std::wstring Caption() const { return WindowText(m_window); }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    HWND m_window = nullptr;
    bool m_shown = false;
};

// Posted to a dialog when it is first shown, so that the test hook runs
// inside the dialog's own message loop.
constexpr UINT WM_ARK_SHOWN = WM_APP + 1;
