#include "ui/win32/DetailDlg.h"

#include "app/Strings.h"
#include "ui/DialogTexts.h"
#include "ui/win32/Prompts.h"
#include "ui/win32/resource.h"

namespace {

using namespace detail_texts;

constexpr int kHardwareColumns = 3;
constexpr COLORREF kMarkColour = RGB(0xC0, 0, 0);

const ControlText kTexts[] = {
    {IDC_CONDITION_GROUP, IDS_CONDITION_GROUP},
    {IDC_CONDITION_RESET, IDS_CONDITION_RESET_BUTTON},
    {IDC_CONDITION_DEFAULT, IDS_CONDITION_DEFAULT_BUTTON},
    {IDC_DUAL_RATE_GROUP, IDS_DUAL_RATE_GROUP},
    {IDC_CONDITION_SELECTOR_LABEL, IDS_SELECTOR_LABEL},
    {IDC_DUAL_RATE_RESET, IDS_DUAL_RATE_RESET},
    {IDC_HARDWARE_GROUP, IDS_HARDWARE_GROUP},
    {IDOK, IDS_OK},
    {IDCANCEL, IDS_CANCEL},
};

template <size_t N>
int IndexOf(const int (&ids)[N], int id)
{
    for (size_t i = 0; i < N; ++i)
        if (ids[i] == id)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

CDetailDlg::CDetailDlg(CDetailData& data) : CDialog(IDD_DETAIL), m_data(data) {}

bool CDetailDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return true;
    case WM_CTLCOLORSTATIC:
        result = OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return result != 0;
    default:
        return false;
    }
}

BOOL CDetailDlg::OnInitDialog()
{
    ::SetWindowTextW(Window(), Text(IDS_DETAIL_CAPTION).c_str());
    SetItemTexts(Window(), kTexts);
    for (int k = 0; k < kHardwareColumns; ++k) {
        SetItemText(Window(), IDC_HARDWARE_FROM_HEADING + k, Text(IDS_CONVERT_FROM));
        SetItemText(Window(), IDC_HARDWARE_TO_HEADING + k, Text(IDS_CONVERT_TO));
    }
    m_tips = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window(), nullptr, nullptr, nullptr);
    ::SendMessageW(m_tips, TTM_SETMAXTIPWIDTH, 0, 400);

    // Conditions: labels, edits, marks.
    for (int c = 0; c < CONDITION_COUNT; ++c) {
        SetItemText(Window(), IDC_CONDITION_LABEL + c, Text(IDS_CONDITION_LABEL + static_cast<unsigned>(c)));
        ::SendMessageW(Item(kConditionEditIds[c]), EM_LIMITTEXT, CONDITION_NAME_MAX_TYPED, 0);
        AddTip(kConditionEditIds[c]);
        AddTip(IDC_CONDITION_MARK + c);
    }

    // 1. The condition selector.
    HWND selector = Item(IDC_CONDITION_SELECTOR);
    std::wstring conditions[CONDITION_COUNT];
    for (int c = 0; c < CONDITION_COUNT; ++c)
        conditions[c] = Text(IDS_CONDITION_CHOICE + static_cast<unsigned>(c));
    SetComboItems(selector, conditions, CONDITION_COUNT);
    ::SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(m_data.m_currentCondition), 0);

    // 2. Dual rates: the PX600 keeps no dual rate names; they are shown, not
    // edited. The selector still switches the condition shown.
    const BOOL dualRates = m_data.m_dualRateEnabled != 0;
    for (int d = 0; d < DUAL_RATE_COUNT; ++d) {
        SetItemText(Window(), kDualRateLabelIds[d], Text(IDS_DUAL_RATE_LABEL + static_cast<unsigned>(d)));
        ::SendMessageW(Item(kDualRateEditIds[d]), EM_LIMITTEXT, DUAL_RATE_NAME_MAX_TYPED, 0);
        ::EnableWindow(Item(kDualRateLabelIds[d]), dualRates);
        ::EnableWindow(Item(kDualRateEditIds[d]), dualRates);
    }
    ::EnableWindow(Item(IDC_DUAL_RATE_RESET), dualRates);

    // 3. Hardware rows.
    InitHardware();
    LoadData();
    return TRUE;
}

void CDetailDlg::AddTip(int controlId)
{
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Window();
    tool.uId = reinterpret_cast<UINT_PTR>(Item(controlId));
    tool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(m_tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CDetailDlg::SetTip(int controlId, const std::u16string& tip)
{
    const std::wstring text = Wide(tip);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = Window();
    tool.uId = reinterpret_cast<UINT_PTR>(Item(controlId));
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(m_tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CDetailDlg::InitHardware()
{
    for (int r = 0; r < HW_ROWS; ++r) {
        const DetailHardwareLine line = m_data.HardwareLine(r);
        HWND combo = Item(kHardwareComboIds[r]);
        SetItemText(Window(), kHardwareLabelIds[r], Wide(line.label));
        ::EnableWindow(Item(kHardwareLabelIds[r]), line.enabled);
        ::EnableWindow(combo, line.enabled);
        std::vector<std::wstring> options;
        for (const std::u16string& option : line.options)
            options.push_back(Wide(option));
        SetComboItems(combo, options.data(), options.size());
        if (line.enabled)
            ::SendMessageW(combo, CB_SETCURSEL, m_data.m_hardwareChoice[r], 0);
        AddTip(kHardwareComboIds[r]);
        AddTip(IDC_HARDWARE_OUTCOME + r);
        ShowOutcome(r);
    }
}

void CDetailDlg::LoadData()
{
    m_loading = true;
    for (int c = 0; c < CONDITION_COUNT; ++c) {
        SetItemText(Window(), kConditionEditIds[c], Wide(m_data.m_conditionText[c]));
        OnConditionEdited(c);
    }
    // The exchanged dual rate texts are replaced at once by the names of the
    // condition shown.
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        SetItemText(Window(), kDualRateEditIds[d], Wide(m_data.ShownDualRate(d)));
    m_loading = false;
}

void CDetailDlg::SaveData()
{
    for (int c = 0; c < CONDITION_COUNT; ++c)
        m_data.m_conditionText[c] = Utf16(ItemText(Window(), kConditionEditIds[c]));
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        m_data.m_dualRateText[d] = Utf16(ItemText(Window(), kDualRateEditIds[d]));
}

void CDetailDlg::StoreDualRates()
{
    std::u16string texts[DUAL_RATE_COUNT];
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        texts[d] = Utf16(ItemText(Window(), kDualRateEditIds[d]));
    m_data.StoreDualRates(texts);
}

void CDetailDlg::Press(bool (CDetailData::*action)(IQuestionHost&))
{
    // The buttons act on the names as they stand in the edits: those go into
    // the data first, so that a reload shows them again instead of the names
    // the dialog opened with.
    SaveData();
    if (m_data.m_dualRateEnabled)
        StoreDualRates();
    if ((m_data.*action)(*this))
        LoadData();
}

void CDetailDlg::OnConditionSelected(int index)
{
    // What was typed belongs to the condition shown until now, also when the
    // edit has not yet lost the focus.
    if (m_data.m_dualRateEnabled)
        StoreDualRates();
    m_data.SelectCondition(index);
    SaveData();
    m_loading = true;
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        SetItemText(Window(), kDualRateEditIds[d], Wide(m_data.ShownDualRate(d)));
    m_loading = false;
}

void CDetailDlg::OnHardwareChosen(int row, int index)
{
    m_data.ChooseHardware(row, index);
    // A choice can make other rows share a control, or stop sharing one.
    for (int r = 0; r < HW_ROWS; ++r)
        ShowOutcome(r);
}

void CDetailDlg::ShowMark(int controlId, const std::u16string& text, bool marked, bool& flag)
{
    HWND control = Item(controlId);
    flag = marked;
    ::SetWindowTextW(control, Wide(text).c_str());
    ::InvalidateRect(control, nullptr, TRUE);
}

void CDetailDlg::ShowOutcome(int row)
{
    const DetailHardwareOutcome outcome = m_data.HardwareOutcome(row);
    // "none" and a shared control must not go unnoticed.
    ShowMark(IDC_HARDWARE_OUTCOME + row, outcome.text, outcome.Marked(), m_outcomeMarked[row]);
    SetTip(IDC_HARDWARE_OUTCOME + row, outcome.tip);
    SetTip(kHardwareComboIds[row], outcome.tip);
}

void CDetailDlg::OnConditionEdited(int condition)
{
    m_data.m_conditionText[condition] = Utf16(ItemText(Window(), kConditionEditIds[condition]));
    const DetailNameMark mark = m_data.ConditionNameMark(condition);
    ShowMark(IDC_CONDITION_MARK + condition, mark.text, mark.shortened, m_conditionMarked[condition]);
    SetTip(IDC_CONDITION_MARK + condition, mark.tip);
    SetTip(kConditionEditIds[condition], mark.tip);
}

INT_PTR CDetailDlg::OnColorStatic(HDC dc, HWND control)
{
    const int id = ::GetDlgCtrlID(control);
    const bool condition = id >= IDC_CONDITION_MARK && id < IDC_CONDITION_MARK + CONDITION_COUNT;
    const bool outcome = id >= IDC_HARDWARE_OUTCOME && id < IDC_HARDWARE_OUTCOME + HW_ROWS;
    if (!(condition && m_conditionMarked[id - IDC_CONDITION_MARK]) && !(outcome && m_outcomeMarked[id - IDC_HARDWARE_OUTCOME]))
        return 0;
    ::SetTextColor(dc, kMarkColour);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
}

void CDetailDlg::OnCommand(int id, int code)
{
    switch (id) {
    case IDOK:
        OnOK();
        return;
    case IDCANCEL:
        EndDialog(IDCANCEL);
        return;
    case IDC_CONDITION_RESET:
        Press(&CDetailData::ResetConditionNames);
        return;
    case IDC_CONDITION_DEFAULT:
        Press(&CDetailData::SetDefaultConditionNames);
        return;
    case IDC_DUAL_RATE_RESET:
        Press(&CDetailData::ResetDualRateNames);
        return;
    case IDC_CONDITION_SELECTOR:
        if (code == CBN_SELCHANGE)
            OnConditionSelected(ComboSelection(Item(id)));
        return;
    default:
        break;
    }
    if (const int c = IndexOf(kConditionEditIds, id); c >= 0 && code == EN_CHANGE) {
        OnConditionEdited(c);
    } else if (IndexOf(kDualRateEditIds, id) >= 0 && code == EN_KILLFOCUS && !m_loading) {
        StoreDualRates();
    } else if (const int r = IndexOf(kHardwareComboIds, id); r >= 0 && code == CBN_SELCHANGE) {
        OnHardwareChosen(r, ComboSelection(Item(id)));
    }
}

void CDetailDlg::OnOK()
{
    SaveData();
    if (m_data.m_dualRateEnabled)
        StoreDualRates();
    // A typed condition name the core refuses keeps the dialog open on it.
    const int refused = m_data.RefusedConditionName();
    if (refused >= 0) {
        ShowMessage(Window(), Wide(ConditionNameRefusal(refused)), Wide(m_data.m_caption), MB_OK | MB_ICONSTOP);
        HWND edit = Item(kConditionEditIds[refused]);
        ::SendMessageW(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        return;
    }
    EndDialog(IDOK);
}

bool CDetailDlg::AskYesNo(const std::u16string& text, const std::u16string& caption)
{
    return ShowMessage(Window(), Wide(text), Wide(caption), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool CDetailRunner::RunDetailDialog(CDetailData& data)
{
    CDetailDlg dialog(data);
    return dialog.DoModal(m_owner) == IDOK;
}
