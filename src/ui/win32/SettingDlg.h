// The Setting dialog (template 135): the user-interface language for the
// next start.
#pragma once

#include "ui/win32/Dialog.h"

class CSettingDlg : public CDialog {
public:
    // language: the index the list shows chosen (0 the system's language,
    // 1 English, 2 Japanese, 3 German, 4 French).
    explicit CSettingDlg(int language) : CDialog(IDD), m_language(language) {}
    static constexpr int IDD = 135;

    int Language() const { return m_language; }

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    int m_language;
};
