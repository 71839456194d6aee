// The hardware warning after a conversion, with the report of the controls
// the conversion changed below it: to read, to save as a text file, or to
// copy.
#pragma once

#include "ui/win32/Dialog.h"

class CReportDlg : public CDialog {
public:
    CReportDlg(std::wstring message, std::wstring caption, std::wstring report);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnSave();
    void OnCopy();

    std::wstring m_message;
    std::wstring m_caption;
    std::wstring m_report;  // lines ended by CR LF
};
