#include "ui/win32/BatchDlg.h"

#include "app/Strings.h"
#include "ui/DialogTexts.h"
#include "ui/win32/ReportDlg.h"
#include "ui/win32/resource.h"

namespace {

using namespace batch_texts;

constexpr COLORREF kMarkColour = RGB(0xC0, 0, 0);
constexpr UINT_PTR kStepTimer = 1;

// A message on one line of a list cell.
std::wstring OneLine(const std::u16string& text)
{
    std::wstring line = Wide(text);
    for (wchar_t& c : line)
        if (c == L'\n')
            c = L' ';
    return line;
}

void AddColumns(HWND list, std::initializer_list<unsigned> headings)
{
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP,
                   LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP);
    int c = 0;
    for (unsigned id : headings) {
        const std::wstring heading = Text(id);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_SUBITEM | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(heading.c_str());
        column.iSubItem = c;
        column.cx = 80;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c++), reinterpret_cast<LPARAM>(&column));
    }
}

void SetCell(HWND list, int row, int column, const std::wstring& text)
{
    LVITEMW item = {};
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    if (column == 0 && row >= static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) {
        item.mask = LVIF_TEXT;
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

int SelectedItem(HWND list)
{
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace

// ---- Names ---------------------------------------------------------------------

CBatchNamesDlg::CBatchNamesDlg(const MainDialogState& state, std::vector<BatchModel> models)
    : CDialog(IDD_BATCH_NAMES), m_state(state), m_models(std::move(models)), m_refused(m_models.size())
{
}

bool CBatchNamesDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowTextW(Window(), Text(IDS_NAMES_CAPTION).c_str());
        SetItemText(Window(), IDC_BATCH_INTRO,
                    Wide(FormatString(IDS_NAMES_INTRO, {static_cast<long long>(m_models.size())})));
        SetItemText(Window(), IDOK, Text(IDS_CONVERT));
        SetItemText(Window(), IDCANCEL, Text(IDS_CANCEL));
        // The name is the item itself, so that it can be edited in place; it
        // is shown second, after the source model.
        HWND list = Item(IDC_BATCH_LIST);
        AddColumns(list, {IDS_NEW_NAME, IDS_SOURCE_MODEL, IDS_CHECK});
        int order[3] = {1, 0, 2};
        ::SendMessageW(list, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
        for (size_t i = 0; i < m_models.size(); ++i) {
            SetCell(list, static_cast<int>(i), 0, Wide(m_models[i].name));
            SetCell(list, static_cast<int>(i), 1, Wide(m_models[i].modelName));
        }
        CheckNames();
        FitListColumns(list);
        result = TRUE;
        return true;
    }
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(LOWORD(wParam));
        return true;
    default:
        return false;
    }
}

bool CBatchNamesDlg::OnNotify(const NMHDR& header, INT_PTR& result)
{
    if (header.idFrom != IDC_BATCH_LIST)
        return false;
    switch (header.code) {
    case LVN_BEGINLABELEDITW: {
        HWND edit = reinterpret_cast<HWND>(::SendMessageW(header.hwndFrom, LVM_GETEDITCONTROL, 0, 0));
        ::SendMessageW(edit, EM_LIMITTEXT, MODEL_NAME_MAX_TYPED, 0);
        ::SetWindowLongPtrW(Window(), DWLP_MSGRESULT, FALSE);
        return true;
    }
    case LVN_ENDLABELEDITW: {
        const auto& edited = reinterpret_cast<const NMLVDISPINFOW&>(header);
        const bool changed = edited.item.pszText != nullptr;
        if (changed) {
            m_models[static_cast<size_t>(edited.item.iItem)].name = Utf16(edited.item.pszText);
            CheckNames();
        }
        ::SetWindowLongPtrW(Window(), DWLP_MSGRESULT, changed);
        result = TRUE;
        return true;
    }
    case NM_CUSTOMDRAW: {
        // The Check column's texts are the problems: red.
        auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header));
        LRESULT answer = CDRF_DODEFAULT;
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
            answer = CDRF_NOTIFYITEMDRAW;
        else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            answer = CDRF_NOTIFYSUBITEMDRAW;
        else if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM))
            draw.clrText = draw.iSubItem == 2 ? kMarkColour : ::GetSysColor(COLOR_WINDOWTEXT);
        ::SetWindowLongPtrW(Window(), DWLP_MSGRESULT, answer);
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

void CBatchNamesDlg::CheckNames()
{
    const std::vector<std::optional<std::u16string>> problems = BatchNameProblems(m_state, m_models);
    bool usable = true;
    HWND list = Item(IDC_BATCH_LIST);
    for (size_t i = 0; i < problems.size(); ++i) {
        SetCell(list, static_cast<int>(i), 2, problems[i] ? OneLine(*problems[i]) : std::wstring());
        usable = usable && !problems[i];
    }
    ::EnableWindow(Item(IDOK), usable);
}

// ---- Progress ------------------------------------------------------------------

CBatchProgressDlg::CBatchProgressDlg(CBatchConvert& run, IDialogHost& host)
    : CDialog(IDD_BATCH_PROGRESS), m_run(run), m_host(host)
{
}

bool CBatchProgressDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result)
{
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowTextW(Window(), Text(IDS_MAIN_CAPTION).c_str());
        SetItemText(Window(), IDCANCEL, Text(IDS_CANCEL));
        ::SendDlgItemMessageW(Window(), IDC_BATCH_PROGRESS_BAR, PBM_SETRANGE32, 0, static_cast<LPARAM>(m_run.Count()));
        result = TRUE;
        return true;
    case WM_SHOWWINDOW:
        // One model per timer tick: the window paints and Cancel is seen
        // between two models.
        if (wParam)
            ::SetTimer(Window(), kStepTimer, 1, nullptr);
        return false;
    case WM_TIMER:
        ::KillTimer(Window(), kStepTimer);
        Step();
        return true;
    case WM_COMMAND:
        // Cancel stops after the model being converted.
        if (LOWORD(wParam) == IDCANCEL) {
            m_run.Cancel();
            ::EnableWindow(Item(IDCANCEL), FALSE);
        }
        return true;
    default:
        return false;
    }
}

void CBatchProgressDlg::Step()
{
    if (!m_run.Finished()) {
        const BatchModel& next = m_run.Outcomes()[m_run.Done()].model;
        SetItemText(Window(), IDC_BATCH_PROGRESS_TEXT,
                    Wide(FormatString(IDS_PROGRESS, {next.name, static_cast<long long>(m_run.Done() + 1),
                                                     static_cast<long long>(m_run.Count())})));
        ::UpdateWindow(Window());
        m_run.ConvertNext(m_host);
        ::SendDlgItemMessageW(Window(), IDC_BATCH_PROGRESS_BAR, PBM_SETPOS, m_run.Done(), 0);
    }
    if (m_run.Finished())
        EndDialog(IDOK);
    else
        ::SetTimer(Window(), kStepTimer, 1, nullptr);
}

// ---- Summary -------------------------------------------------------------------

CBatchSummaryDlg::CBatchSummaryDlg(const CBatchConvert& run) : CDialog(IDD_BATCH_SUMMARY), m_run(run) {}

bool CBatchSummaryDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    using Result = BatchOutcome::Result;
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowTextW(Window(), Text(IDS_SUMMARY_CAPTION).c_str());
        SetItemText(Window(), IDC_BATCH_COUNTS,
                    Wide(FormatString(IDS_SUMMARY_COUNTS, {static_cast<long long>(m_run.Count(Result::Stored)),
                                                           static_cast<long long>(m_run.Count()),
                                                           static_cast<long long>(m_run.Count(Result::Refused)),
                                                           static_cast<long long>(m_run.Count(Result::NotConverted))})));
        SetItemText(Window(), IDC_BATCH_REPORT, Text(IDS_REPORT_BUTTON));
        SetItemText(Window(), IDCANCEL, Text(IDS_CLOSE));
        // Every stored model has the hardware warning: it is said once.
        if (m_run.Count(Result::Stored) > 0)
            SetItemText(Window(), IDC_BATCH_WARNING, Text(IDS_HARDWARE_WARNING));
        HWND list = Item(IDC_BATCH_LIST);
        AddColumns(list, {IDS_SOURCE_MODEL, IDS_NEW_NAME, IDS_RESULT, IDS_MUST_CHECK, IDS_MESSAGES});
        const std::vector<BatchOutcome>& outcomes = m_run.Outcomes();
        for (size_t i = 0; i < outcomes.size(); ++i) {
            const BatchOutcome& o = outcomes[i];
            const int row = static_cast<int>(i);
            const bool stored = o.result == Result::Stored;
            SetCell(list, row, 0, Wide(o.model.modelName));
            SetCell(list, row, 1, Wide(o.model.name));
            SetCell(list, row, 2, Text(stored ? IDS_STORED : o.result == Result::Refused ? IDS_REFUSED : IDS_NOT_CONVERTED));
            SetCell(list, row, 3, stored ? std::to_wstring(o.MustCheck()) : std::wstring());
            std::u16string messages;
            for (const std::u16string& m : o.messages)
                messages += (messages.empty() ? u"" : u" ") + m;
            SetCell(list, row, 4, OneLine(messages));
        }
        FitListColumns(list);
        ::EnableWindow(Item(IDC_BATCH_REPORT), FALSE);
        result = TRUE;
        return true;
    }
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom != IDC_BATCH_LIST)
            return false;
        if (header.code == LVN_ITEMCHANGED) {
            const int row = SelectedItem(Item(IDC_BATCH_LIST));
            ::EnableWindow(Item(IDC_BATCH_REPORT),
                           row >= 0 && m_run.Outcomes()[static_cast<size_t>(row)].result == Result::Stored);
        } else if (header.code == NM_DBLCLK) {
            ShowReport();
        }
        return false;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != Item(IDC_BATCH_WARNING))
            return false;
        ::SetTextColor(reinterpret_cast<HDC>(wParam), kMarkColour);
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        result = reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_BATCH_REPORT)
            ShowReport();
        else if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)
            EndDialog(IDCANCEL);
        return true;
    default:
        return false;
    }
}

void CBatchSummaryDlg::ShowReport()
{
    const int row = SelectedItem(Item(IDC_BATCH_LIST));
    if (row < 0 || m_run.Outcomes()[static_cast<size_t>(row)].result != BatchOutcome::Result::Stored)
        return;
    const BatchOutcome& o = m_run.Outcomes()[static_cast<size_t>(row)];
    CReportDlg report(Text(IDS_HARDWARE_WARNING), Wide(FormatString(IDS_REPORT_TITLE, {o.model.name})),
                      Wide(o.report.Document(o.model.name)));
    report.DoModal(Window());
}

void RunBatchCommand(HWND owner, MainDialogState& state, IDialogHost& host, const std::vector<int>& rows)
{
    const std::vector<int> selected = SaveDialogDataKeepingRows(state, host, rows);
    // A refilled list shows other models now; nothing was chosen among them.
    if (selected.empty())
        return;
    if (const std::optional<CommandRefusal> refusal = CheckBatchTarget(state)) {
        if (refusal->focus)
            host.FocusControl(*refusal->focus, refusal->selectAll);
        host.MessageBox(refusal->text, LoadString(IDS_MAIN_CAPTION), MessageKind::Error);
        return;
    }
    CBatchNamesDlg names(state, ProposeBatchNames(state, selected));
    if (names.DoModal(owner) != IDOK)
        return;
    CBatchConvert run(state, TheConvertHW(), names.Models());
    CBatchProgressDlg progress(run, host);
    progress.DoModal(owner);
    run.Finish(host);
    CBatchSummaryDlg summary(run);
    summary.DoModal(owner);
}
