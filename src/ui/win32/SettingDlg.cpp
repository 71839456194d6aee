#include "ui/win32/SettingDlg.h"

#include "app/DialogChoices.h"
#include "ui/win32/Prompts.h"
#include "ui/win32/resource.h"

namespace {

enum : unsigned {
    IDS_SETTING_CAPTION = 2210,
    IDS_LANGUAGE_GROUP = 2211,
    IDS_OK = 2212,
    IDS_CANCEL = 2213,
};

const ControlText kTexts[] = {
    {IDC_LANGUAGE_GROUP, IDS_LANGUAGE_GROUP},
    {IDOK, IDS_OK},
    {IDCANCEL, IDS_CANCEL},
};

}  // namespace

bool CSettingDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result)
{
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowTextW(Window(), Text(IDS_SETTING_CAPTION).c_str());
        SetItemTexts(Window(), kTexts);
        std::wstring choices[kLanguageChoiceCount];
        for (int i = 0; i < kLanguageChoiceCount; ++i)
            choices[i] = Wide(LanguageChoiceText(i));
        SetComboItems(Item(IDC_LANGUAGE), choices, kLanguageChoiceCount);
        // A stored index outside the list leaves it without a selection.
        ::SendMessageW(Item(IDC_LANGUAGE), CB_SETCURSEL, static_cast<WPARAM>(m_language), 0);
        result = TRUE;
        return true;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_LANGUAGE:
            if (HIWORD(wParam) == CBN_SELCHANGE) {
                const int index = ComboSelection(Item(IDC_LANGUAGE));
                if (index >= 0)
                    m_language = index;
            }
            return true;
        case IDOK: {
            const std::u16string notice = ChooseLanguage(m_language);
            if (!notice.empty())
                ShowMessage(Window(), Wide(notice), Caption(), MB_OK | MB_ICONINFORMATION);
            EndDialog(IDOK);
            return true;
        }
        case IDCANCEL:
            EndDialog(IDCANCEL);
            return true;
        default:
            return true;
        }
    default:
        return false;
    }
}
