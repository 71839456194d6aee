#include "ui/win32/ArkletonDlg.h"

#include <algorithm>

#include "app/DialogChoices.h"
#include "model/ConvertHW.h"
#include "app/Strings.h"
#include "ui/DialogTexts.h"
#include "storage/TinyImage.h"
#include "ui/win32/AboutDlg.h"
#include "ui/win32/BatchDlg.h"
#include "ui/win32/DetailDlg.h"
#include "ui/win32/Prompts.h"
#include "ui/win32/ReportDlg.h"
#include "ui/win32/SettingDlg.h"
#include "ui/win32/resource.h"

namespace {

using namespace main_texts;

constexpr int kModelNameMax = 32;
constexpr int kLocationMax = 255;
constexpr COLORREF kGreyedText = RGB(150, 150, 150);
constexpr COLORREF kListText = RGB(0, 0, 0);
// Room beside a column's text: the heading's and a cell's margins and grid
// line, in pixels at 96 dots per inch.
constexpr int kHeadingMargin = 16;
constexpr int kCellMargin = 13;

const ControlText kTexts[] = {
    {IDC_GROUP_FROM, IDS_GROUP_FROM},
    {IDC_SOURCE_TRANSMITTER_LABEL, IDS_SOURCE_TRANSMITTER},
    {IDC_SOURCE_LOCATION_LABEL, IDS_SOURCE_LOCATION},
    {IDC_BROWSE_SOURCE, IDS_BROWSE_SOURCE},
    {IDC_GROUP_TO, IDS_GROUP_TO},
    {IDC_TARGET_TRANSMITTER_LABEL, IDS_TARGET_TRANSMITTER},
    {IDC_TARGET_LOCATION_LABEL, IDS_TARGET_LOCATION},
    {IDC_BROWSE_TARGET, IDS_BROWSE_TARGET},
    {IDC_MODEL_NAME_LABEL, IDS_MODEL_NAME},
    {IDC_DETAIL, IDS_DETAIL},
    {IDC_CONVERT, IDS_CONVERT},
};

// The rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child)
{
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Place(HDWP& positions, HWND child, int left, int top, int right, int bottom)
{
    if (positions)
        positions = ::DeferWindowPos(positions, child, nullptr, left, top, right - left, bottom - top,
                                     SWP_NOZORDER | SWP_NOACTIVATE);
}

int ControlOf(FocusTarget target)
{
    switch (target) {
    case FocusTarget::SourceTransmitter: return IDC_SOURCE_TRANSMITTER;
    case FocusTarget::SourceLocation: return IDC_SOURCE_LOCATION;
    case FocusTarget::SourceList: return IDC_SOURCE_LIST;
    case FocusTarget::TargetTransmitter: return IDC_TARGET_TRANSMITTER;
    case FocusTarget::TargetLocation: return IDC_TARGET_LOCATION;
    case FocusTarget::ModelName: return IDC_MODEL_NAME;
    }
    return 0;
}

UINT IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error: return MB_ICONSTOP;
    case MessageKind::Information: return MB_ICONINFORMATION;
    default: return MB_ICONEXCLAMATION;
    }
}

// A rectangle in workspace coordinates (window placement) turned into screen
// coordinates, and back: they differ by a task bar at the top or the left.
POINT WorkspaceOffset(const RECT& rect)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
    return {monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
}

// A window rectangle that no monitor shows (one unplugged since) is moved
// onto the nearest monitor's work area.
RECT OnSomeMonitor(RECT rect)
{
    if (::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        return rect;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    rect.left = monitor.rcWork.left;
    rect.top = monitor.rcWork.top;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    return rect;
}

}  // namespace

CArkletonDlg::CArkletonDlg(ISettingsStore& settings) : CDialog(IDD_ARKLETON_DIALOG), m_settings(settings) {}

bool CArkletonDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return true;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_HELP:
        RunAbout();
        return true;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_SIZING:
        OnSizing(wParam, *reinterpret_cast<RECT*>(lParam));
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<INT_PTR>(m_bigIcon.Get());
        return true;
    case WM_SETCURSOR:
        if (m_waitDepth == 0)
            return false;
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        ::SetWindowLongPtrW(Window(), DWLP_MSGRESULT, TRUE);
        return true;
    case WM_DPICHANGED:
        SetIcons();
        return false;
    default:
        return false;
    }
}

// ---- Start-up and the end ------------------------------------------------------

BOOL CArkletonDlg::OnInitDialog()
{
    // 1. Texts, system menu items, icons.
    SetTexts();
    if (const std::vector<SystemMenuItem> items = SystemMenuItems(); !items.empty()) {
        HMENU menu = ::GetSystemMenu(Window(), FALSE);
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        for (const SystemMenuItem& item : items)
            ::AppendMenuW(menu, MF_STRING, item.command, Wide(item.text).c_str());
    }
    SetIcons();
    ::SendMessageW(Item(IDC_MODEL_NAME), EM_LIMITTEXT, kModelNameMax, 0);

    // 2. The template's size is the smallest the window may take.
    RECT window = {};
    ::GetWindowRect(Window(), &window);
    m_minSize = {window.right - window.left, window.bottom - window.top};
    MeasureLayout();

    // 3, 4. Lists, placement, histories, transmitters, columns.
    for (int listId : {IDC_SOURCE_LIST, IDC_TARGET_LIST}) {
        const DWORD styles = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
        ::SendMessageW(Item(listId), LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    }
    RestoreSettings();

    // 5. Both stored locations are empty: both lists are filled.
    TransferControls();
    SaveDialogData(m_state, *this);
    return TRUE;
}

void CArkletonDlg::SetTexts()
{
    ::SetWindowTextW(Window(), Text(IDS_MAIN_CAPTION).c_str());
    SetItemTexts(Window(), kTexts);
    std::wstring sources[std::size(kSourceTransmitters)];
    for (size_t i = 0; i < std::size(kSourceTransmitters); ++i)
        sources[i] = Wide(TransmitterChoiceText(kSourceTransmitters[i]));
    SetComboItems(Item(IDC_SOURCE_TRANSMITTER), sources, std::size(sources));
    std::wstring targets[std::size(kTargetTransmitters)];
    for (size_t i = 0; i < std::size(kTargetTransmitters); ++i)
        targets[i] = Wide(TransmitterChoiceText(kTargetTransmitters[i]));
    SetComboItems(Item(IDC_TARGET_TRANSMITTER), targets, std::size(targets));
}

void CArkletonDlg::SetIcons()
{
    const UINT dpi = WindowDpi(Window());
    m_bigIcon.Reset(LoadProgramIcon(true, dpi));
    m_smallIcon.Reset(LoadProgramIcon(false, dpi));
    ::SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    ::SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
}

void CArkletonDlg::MeasureLayout()
{
    RECT client = {};
    ::GetClientRect(Window(), &client);
    const int c = (client.right - client.left) / 2;
    const RECT from = ChildRect(Item(IDC_GROUP_FROM));
    const RECT list = ChildRect(Item(IDC_SOURCE_LIST));
    m_offsets.fromGroupRight = c - from.right;
    m_offsets.toGroupLeft = ChildRect(Item(IDC_GROUP_TO)).left - c;
    m_offsets.locationRight = c - ChildRect(Item(IDC_SOURCE_LOCATION)).right;
    m_offsets.browseRight = c - ChildRect(Item(IDC_BROWSE_SOURCE)).right;
    m_offsets.listRight = c - list.right;
    m_offsets.convertLeft = ChildRect(Item(IDC_CONVERT)).left - c;
    m_offsets.targetListLeft = ChildRect(Item(IDC_TARGET_LIST)).left - c;
    m_offsets.groupBottom = client.bottom - from.bottom;
    m_offsets.listBottom = client.bottom - list.bottom;
}

void CArkletonDlg::RestoreSettings()
{
    const WindowEdges edges = ReadWindowEdges(m_settings);
    RECT rect = {edges.left, edges.top, edges.right, edges.bottom};
    rect.right = rect.left + std::max<LONG>(rect.right - rect.left, m_minSize.cx);
    rect.bottom = rect.top + std::max<LONG>(rect.bottom - rect.top, m_minSize.cy);
    rect = OnSomeMonitor(rect);
    m_layoutReady = 1;
    ::MoveWindow(Window(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);

    std::wstring currentDir(32768, L'\0');
    currentDir.resize(::GetCurrentDirectoryW(static_cast<DWORD>(currentDir.size()), currentDir.data()));
    for (SettingsGroup group : {SettingsGroup::Source, SettingsGroup::Target}) {
        const bool source = group == SettingsGroup::Source;
        const GroupSettings values = ReadGroupSettings(m_settings, group, Utf16(currentDir));
        std::vector<std::string> entries;
        for (const std::u16string& folder : values.folders)
            entries.push_back(Utf16ToUtf8(folder));
        // An index outside the entries leaves the combo box without a selection.
        SetLocationEntries(group, entries, values.mru);
        ::SendMessageW(Item(source ? IDC_SOURCE_TRANSMITTER : IDC_TARGET_TRANSMITTER), CB_SETCURSEL,
                       static_cast<WPARAM>(values.transmitter), 0);
        FillColumns(source ? IDC_SOURCE_LIST : IDC_TARGET_LIST, values.columnWidths);
    }
}

GroupSettings CArkletonDlg::CollectGroupSettings(SettingsGroup group) const
{
    const bool source = group == SettingsGroup::Source;
    GroupSettings values;
    for (const std::string& entry : LocationEntries(group))
        values.folders.push_back(Utf8ToUtf16(entry));
    values.mru = ComboSelection(LocationCombo(group));
    values.transmitter = ComboSelection(Item(source ? IDC_SOURCE_TRANSMITTER : IDC_TARGET_TRANSMITTER));
    const ListColumns& columns = source ? m_sourceColumns : m_targetColumns;
    for (int c = 0; c < kListColumns; ++c)
        values.columnWidths[c] = columns.width[c];
    return values;
}

void CArkletonDlg::SaveSettings()
{
    // The restored rectangle, also while maximised or minimised.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(Window(), &placement);
    RECT rect = placement.rcNormalPosition;
    const POINT offset = WorkspaceOffset(rect);
    ::OffsetRect(&rect, offset.x, offset.y);
    WriteWindowEdges(m_settings, {rect.left, rect.top, rect.right, rect.bottom});
    WriteGroupSettings(m_settings, SettingsGroup::Source, CollectGroupSettings(SettingsGroup::Source));
    WriteGroupSettings(m_settings, SettingsGroup::Target, CollectGroupSettings(SettingsGroup::Target));
    WriteLanguageIndex(m_settings, TheLanguage().m_language);
}

void CArkletonDlg::OnCancel()
{
    SaveSettings();
    EndDialog(IDCANCEL);
}

// ---- Controls and members ------------------------------------------------------

HWND CArkletonDlg::LocationCombo(SettingsGroup group) const
{
    return Item(group == SettingsGroup::Source ? IDC_SOURCE_LOCATION : IDC_TARGET_LOCATION);
}

std::vector<std::string> CArkletonDlg::LocationEntries(SettingsGroup group) const
{
    HWND combo = LocationCombo(group);
    const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(Utf8(ComboItemText(combo, i)));
    return entries;
}

void CArkletonDlg::SetLocationEntries(SettingsGroup group, const std::vector<std::string>& entries, int select)
{
    std::vector<std::wstring> texts;
    for (const std::string& entry : entries)
        texts.push_back(WidePath(entry));
    HWND combo = LocationCombo(group);
    SetComboItems(combo, texts.data(), texts.size());
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(select), 0);
}

int CArkletonDlg::SelectedRow(int listId) const
{
    return static_cast<int>(::SendMessageW(Item(listId), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CArkletonDlg::TransferControls()
{
    auto limited = [](std::wstring text, size_t max) {
        if (text.size() > max)
            text.resize(max);
        return text;
    };
    m_state.sourceTransmitter = SourceTransmitterAt(ComboSelection(Item(IDC_SOURCE_TRANSMITTER)));
    m_state.targetTransmitter = TargetTransmitterAt(ComboSelection(Item(IDC_TARGET_TRANSMITTER)));
    m_state.sourceLocationText = Utf8(limited(ItemText(Window(), IDC_SOURCE_LOCATION), kLocationMax));
    m_state.targetLocationText = Utf8(limited(ItemText(Window(), IDC_TARGET_LOCATION), kLocationMax));
    m_state.modelNameText = Utf16(ItemText(Window(), IDC_MODEL_NAME));
    m_state.selectedSourceRow = SelectedRow(IDC_SOURCE_LIST);
}

// ---- Model lists ---------------------------------------------------------------

void CArkletonDlg::FillColumns(int listId, const int (&widths)[kListColumns])
{
    HWND list = Item(listId);
    ListColumns& columns = Columns(listId);
    m_arranging = true;
    for (int c = 0; c < kListColumns; ++c) {
        const std::wstring heading = Wide(ListColumnHeading(c));
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.pszText = const_cast<wchar_t*>(heading.c_str());
        column.cx = widths[c] > 0 ? widths[c] : 0;
        column.iSubItem = c;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        columns.fits[c] = widths[c] <= 0;
        columns.width[c] = widths[c];
    }
    m_arranging = false;
    FitColumns(listId);
}

void CArkletonDlg::FitColumns(int listId)
{
    HWND list = Item(listId);
    ListColumns& columns = Columns(listId);
    const ModelListing& listing = listId == IDC_SOURCE_LIST ? m_state.sourceList : m_state.targetList;
    const int dpi = static_cast<int>(WindowDpi(Window()));
    auto textWidth = [list, dpi](const std::u16string& text, int margin) {
        const std::wstring wide = Wide(text);
        return static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str()))) +
               ::MulDiv(margin, dpi, 96);
    };
    for (int c = 0; c < kListColumns; ++c) {
        if (!columns.fits[c])
            continue;
        // The widest of the heading, the rows and what the column may show
        // in another folder, so that it keeps its width from one to the next.
        int width = textWidth(ListColumnHeading(c), kHeadingMargin);
        for (const ModelListRow& row : listing.rows)
            width = std::max(width, textWidth(row.columns[c], kCellMargin));
        for (const std::u16string& sample : ListColumnSamples(c))
            width = std::max(width, textWidth(sample, kCellMargin));
        columns.width[c] = width;
    }
    ArrangeColumns(listId);
}

void CArkletonDlg::ArrangeColumns(int listId)
{
    // Every column at its own width; the last one also takes the room the
    // others leave, so that a wider window shows more of it.
    HWND list = Item(listId);
    const ListColumns& columns = Columns(listId);
    RECT client = {};
    ::GetClientRect(list, &client);
    m_arranging = true;
    int others = 0;
    for (int c = 0; c + 1 < kListColumns; ++c) {
        ::SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), columns.width[c]);
        others += columns.width[c];
    }
    const int last = std::max(columns.width[kListColumns - 1], static_cast<int>(client.right) - others);
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, kListColumns - 1, last);
    m_arranging = false;
}

void CArkletonDlg::ShowModelList(ListSide side, const ModelListing& listing)
{
    const bool source = side == ListSide::Source;
    const int listId = source ? IDC_SOURCE_LIST : IDC_TARGET_LIST;
    HWND list = Item(listId);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageW(list, LVM_SETITEMCOUNT, listing.rows.size(), 0);
    for (size_t r = 0; r < listing.rows.size(); ++r) {
        const ModelListRow& row = listing.rows[r];
        for (int c = 0; c < kListColumns; ++c) {
            const std::wstring text = Wide(row.columns[c]);
            LVITEMW item = {};
            item.iItem = static_cast<int>(r);
            item.iSubItem = c;
            item.pszText = const_cast<wchar_t*>(text.c_str());
            if (c == 0) {
                item.mask = LVIF_TEXT | LVIF_PARAM;
                item.lParam = static_cast<LPARAM>(r);
                ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            } else {
                item.mask = LVIF_TEXT;
                ::SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
            }
        }
    }
    FitColumns(listId);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);

    HWND notice = Item(source ? IDC_SOURCE_NOTICE : IDC_TARGET_NOTICE);
    ::SetWindowTextW(notice, Wide(listing.notice).c_str());
    ::ShowWindow(notice, listing.notice.empty() ? SW_HIDE : SW_SHOWNA);
    RECT client = {};
    ::GetClientRect(Window(), &client);
    OnSize(SIZE_RESTORED, client.right, client.bottom);

    if (source) {
        if (listing.selected >= 0) {
            LVITEMW state = {};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(listing.selected), reinterpret_cast<LPARAM>(&state));
            ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(listing.selected), FALSE);
        }
        ReportSourceSelection();  // another location, also one without rows
    } else {
        // An image location cannot receive a model: the list is greyed,
        // disabled and shows no selection.
        const bool greyed = listing.isVolume;
        ::SendMessageW(list, LVM_SETTEXTCOLOR, 0, greyed ? kGreyedText : kListText);
        ::EnableWindow(list, !greyed);
        if (!greyed && listing.selected >= 0) {
            LVITEMW state = {};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(listing.selected), reinterpret_cast<LPARAM>(&state));
        }
    }
    ::InvalidateRect(list, nullptr, TRUE);
}

// ---- IDialogHost ---------------------------------------------------------------

void CArkletonDlg::BeginWaitCursor()
{
    ++m_waitDepth;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

void CArkletonDlg::EndWaitCursor()
{
    if (m_waitDepth == 0)
        return;
    if (--m_waitDepth == 0) {
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        ::SetCursorPos(cursor.x, cursor.y);  // the window under it sets its own cursor again
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    }
}

void CArkletonDlg::FocusControl(FocusTarget target, bool selectAll)
{
    HWND control = Item(ControlOf(target));
    if (!control)
        return;
    ::SendMessageW(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    if (selectAll && target == FocusTarget::ModelName)
        ::SendMessageW(control, EM_SETSEL, 0, -1);
}

void CArkletonDlg::MessageBox(const std::u16string& text, const std::u16string& caption, MessageKind kind)
{
    // A box must not show the wait cursor.
    const int depth = m_waitDepth;
    m_waitDepth = 0;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    // The hardware warning after a conversion offers the conversion report,
    // to read, save or copy.
    if (kind == MessageKind::HardwareWarning && m_converting) {
        CReportDlg report(Wide(text), Wide(caption), Wide(m_report.Document(m_state.m_modelName)));
        report.DoModal(Window());
    } else {
        ShowMessage(Window(), Wide(text), Wide(caption), MB_OK | IconOf(kind));
    }
    m_waitDepth = depth;
    if (depth > 0)
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

// ---- Commands ------------------------------------------------------------------

void CArkletonDlg::OnCommand(int id, int code)
{
    switch (id) {
    case IDC_CONVERT:
        OnConvert();
        break;
    case IDC_DETAIL:
        OnDetail();
        break;
    case IDC_BROWSE_SOURCE:
        OnBrowse(SettingsGroup::Source);
        break;
    case IDC_BROWSE_TARGET:
        OnBrowse(SettingsGroup::Target);
        break;
    case IDC_SOURCE_LOCATION:
    case IDC_TARGET_LOCATION:
        if (code == CBN_SELENDOK)
            OnLocationChosen(id == IDC_SOURCE_LOCATION ? SettingsGroup::Source : SettingsGroup::Target);
        break;
    case IDC_SOURCE_TRANSMITTER:
        if (code == CBN_SELCHANGE)
            ReportSourceSelection();
        break;
    case IDC_MODEL_NAME:
        // A change the program makes is not the pilot's.
        if (code == EN_CHANGE && !m_settingName)
            m_state.ModelNameEdited(Utf16(ItemText(Window(), IDC_MODEL_NAME)));
        break;
    case IDOK:
        // Enter runs the default button, Convert.
        OnConvert();
        break;
    case IDCANCEL:
        OnCancel();
        break;
    default:
        break;
    }
}

bool CArkletonDlg::OnNotify(const NMHDR& header)
{
    const int id = static_cast<int>(header.idFrom);
    if (id != IDC_SOURCE_LIST && id != IDC_TARGET_LIST) {
        // A column dragged by the pilot keeps its width from then on.
        if (header.code != HDN_ITEMCHANGEDW || m_arranging)
            return false;
        const auto& change = reinterpret_cast<const NMHEADERW&>(header);
        if (!change.pitem || !(change.pitem->mask & HDI_WIDTH) || change.iItem < 0 || change.iItem >= kListColumns)
            return false;
        for (int listId : {IDC_SOURCE_LIST, IDC_TARGET_LIST}) {
            if (reinterpret_cast<HWND>(::SendMessageW(Item(listId), LVM_GETHEADER, 0, 0)) == header.hwndFrom) {
                Columns(listId).fits[change.iItem] = false;
                Columns(listId).width[change.iItem] = change.pitem->cxy;
            }
        }
        return false;
    }
    switch (header.code) {
    case NM_DBLCLK:
        OnListDoubleClick(id);
        return true;
    case LVN_KEYDOWN: {
        // Ctrl+A selects every model of the source list.
        const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
        if (id == IDC_SOURCE_LIST && key.wVKey == 'A' && (::GetKeyState(VK_CONTROL) & 0x8000)) {
            LVITEMW all = {};
            all.stateMask = all.state = LVIS_SELECTED;
            ::SendMessageW(Item(id), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
        }
        return true;
    }
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (id == IDC_SOURCE_LIST && (change.uChanged & LVIF_STATE) &&
            ((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
            OnSourceSelectionChanged();
        return true;
    }
    default:
        return false;
    }
}

bool CArkletonDlg::OnSysCommand(WPARAM command)
{
    if (command == kAboutCommand) {
        RunAbout();
        return true;
    }
    if (command == kSettingCommand) {
        RunSetting();
        return true;
    }
    return false;
}

std::vector<int> CArkletonDlg::SelectedSourceRows() const
{
    std::vector<int> rows;
    HWND list = Item(IDC_SOURCE_LIST);
    for (int row = -1;
         (row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;)
        rows.push_back(row);
    return rows;
}

void CArkletonDlg::OnConvert()
{
    TransferControls();
    if (const std::vector<int> rows = SelectedSourceRows(); rows.size() > 1) {
        RunBatchCommand(Window(), m_state, *this, rows);
        return;
    }
    m_report = ConversionReport();
    ConvertOptions options;
    options.report = &m_report;
    m_converting = true;
    ::OnConvert(m_state, *this, TheConvertHW(), options);
    m_converting = false;
}

void CArkletonDlg::OnDetail()
{
    if (SelectedSourceRows().size() > 1)
        return;
    TransferControls();
    CDetailRunner runner(Window());
    ::OnDetail(m_state, *this, TheConvertHW(), runner);
}

void CArkletonDlg::OnBrowse(SettingsGroup group)
{
    const bool source = group == SettingsGroup::Source;
    const std::optional<std::wstring> path =
        ChooseFolder(Window(), Text(IDS_BROWSE_TITLE), ItemText(Window(), source ? IDC_SOURCE_LOCATION : IDC_TARGET_LOCATION));
    if (!path)
        return;
    std::vector<std::string> entries = LocationEntries(group);
    if (PlaceBrowsedLocation(entries, Utf8(*path), source ? m_state.m_sourceLocation : m_state.m_targetLocation))
        SetLocationEntries(group, entries, 0);
    TransferControls();
    SaveDialogData(m_state, *this);
}

void CArkletonDlg::OnLocationChosen(SettingsGroup group)
{
    const bool source = group == SettingsGroup::Source;
    const int index = ComboSelection(LocationCombo(group));
    std::vector<std::string> entries = LocationEntries(group);
    if (!PlaceChosenLocation(entries, index, source ? m_state.m_sourceLocation : m_state.m_targetLocation))
        return;
    SetLocationEntries(group, entries, 0);
    TransferControls();
    SaveDialogData(m_state, *this);
}

void CArkletonDlg::CopyModelName(int listId)
{
    const int row = SelectedRow(listId);
    const ModelListing& listing = listId == IDC_SOURCE_LIST ? m_state.sourceList : m_state.targetList;
    if (row < 0 || static_cast<size_t>(row) >= listing.rows.size())
        return;
    m_state.ModelNameCopied(listing.rows[static_cast<size_t>(row)].columns[1]);
    ShowModelName();
    TransferControls();
    SaveDialogData(m_state, *this);
}

void CArkletonDlg::OnListDoubleClick(int listId)
{
    CopyModelName(listId);
}

void CArkletonDlg::ReportSourceSelection()
{
    m_state.sourceTransmitter = SourceTransmitterAt(ComboSelection(Item(IDC_SOURCE_TRANSMITTER)));
    m_state.selectedSourceRow = SelectedRow(IDC_SOURCE_LIST);
    NoteSourceSelection(m_state, TheConvertHW());
}

void CArkletonDlg::OnSourceSelectionChanged()
{
    // Detail choices and the model name edit serve one model's conversion;
    // several models get their names in the conversion's own dialog.
    const BOOL single = SelectedSourceRows().size() <= 1;
    ::EnableWindow(Item(IDC_DETAIL), single);
    ::EnableWindow(Item(IDC_MODEL_NAME), single);
    ReportSourceSelection();
    if (m_state.FollowSourceSelection())
        ShowModelName();
}

void CArkletonDlg::ShowModelName()
{
    m_settingName = true;
    ::SetDlgItemTextW(Window(), IDC_MODEL_NAME, Wide(m_state.modelNameText).c_str());
    m_settingName = false;
}

void CArkletonDlg::RunAbout()
{
    CAboutDlg about;
    about.DoModal(Window());
}

void CArkletonDlg::RunSetting()
{
    CSettingDlg setting(TheLanguage().m_language);
    setting.DoModal(Window());
}

// ---- Size ----------------------------------------------------------------------

void CArkletonDlg::OnSizing(WPARAM edge, RECT& rect) const
{
    if (rect.right - rect.left < m_minSize.cx) {
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
            rect.left = rect.right - m_minSize.cx;
        else if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT)
            rect.right = rect.left + m_minSize.cx;
    }
    if (rect.bottom - rect.top < m_minSize.cy) {
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
            rect.top = rect.bottom - m_minSize.cy;
        else if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT)
            rect.bottom = rect.top + m_minSize.cy;
    }
}

void CArkletonDlg::OnSize(UINT type, int width, int height)
{
    if (!m_layoutReady || (type != SIZE_RESTORED && type != SIZE_MAXIMIZED))
        return;
    const LayoutOffsets& d = m_offsets;
    const int b = width / 2;
    const int h = height & ~1;
    const RECT from = ChildRect(Item(IDC_GROUP_FROM));
    const RECT location = ChildRect(Item(IDC_SOURCE_LOCATION));
    const RECT browse = ChildRect(Item(IDC_BROWSE_SOURCE));
    const RECT list = ChildRect(Item(IDC_SOURCE_LIST));
    const RECT targetLabel = ChildRect(Item(IDC_TARGET_LOCATION_LABEL));
    const RECT targetLocation = ChildRect(Item(IDC_TARGET_LOCATION));

    const int fromRight = b - d.fromGroupRight;
    const int groupBottom = h - d.groupBottom;
    const int locationRight = b - d.locationRight;
    const int listRight = b - d.listRight;
    const int listBottom = h - d.listBottom;
    const int browseRight = b - d.browseRight;
    const int toLeft = b + d.toGroupLeft;
    const int toRight = toLeft + (fromRight - from.left);
    const int targetLeft = b + d.targetListLeft;
    const int shift = toRight - fromRight;
    const int columnLeft = b + d.convertLeft;

    HDWP positions = ::BeginDeferWindowPos(24);
    Place(positions, Item(IDC_GROUP_FROM), from.left, from.top, fromRight, groupBottom);
    Place(positions, Item(IDC_SOURCE_LOCATION), location.left, location.top, locationRight, location.bottom);
    Place(positions, Item(IDC_BROWSE_SOURCE), browseRight - (browse.right - browse.left), browse.top, browseRight, browse.bottom);
    Place(positions, Item(IDC_GROUP_TO), toLeft, from.top, toRight, groupBottom);
    Place(positions, Item(IDC_TARGET_LOCATION_LABEL), targetLeft, targetLabel.top,
          targetLeft + (targetLabel.right - targetLabel.left), targetLabel.bottom);
    Place(positions, Item(IDC_TARGET_LOCATION), targetLeft, targetLocation.top,
          targetLeft + (locationRight - location.left), targetLocation.bottom);
    Place(positions, Item(IDC_BROWSE_TARGET), browseRight - (browse.right - browse.left) + shift, browse.top,
          browseRight + shift, browse.bottom);
    // The lists end above the line that says why an image was passed over.
    for (bool source : {true, false}) {
        HWND notice = Item(source ? IDC_SOURCE_NOTICE : IDC_TARGET_NOTICE);
        const RECT noticeRect = ChildRect(notice);
        const int noticeHeight = noticeRect.bottom - noticeRect.top;
        const bool shown = ::IsWindowVisible(notice) != FALSE;
        const int left = source ? list.left : targetLeft;
        const int right = source ? listRight : targetLeft + (listRight - list.left);
        const int bottom = shown ? listBottom - noticeHeight - 2 : listBottom;
        Place(positions, Item(source ? IDC_SOURCE_LIST : IDC_TARGET_LIST), left, list.top, right, bottom);
        Place(positions, notice, left, bottom + 2, right, bottom + 2 + noticeHeight);
    }
    const int column[] = {IDC_TARGET_TRANSMITTER_LABEL, IDC_TARGET_TRANSMITTER, IDC_MODEL_NAME_LABEL, IDC_MODEL_NAME,
                          IDC_DETAIL, IDC_CONVERT};
    for (int id : column) {
        const RECT r = ChildRect(Item(id));
        Place(positions, Item(id), columnLeft, r.top, columnLeft + (r.right - r.left), r.bottom);
    }
    if (positions)
        ::EndDeferWindowPos(positions);
    ArrangeColumns(IDC_SOURCE_LIST);
    ArrangeColumns(IDC_TARGET_LIST);
    ::InvalidateRect(Window(), nullptr, TRUE);
}

// ---- The run -------------------------------------------------------------------

int RunArkleton(ISettingsStore& settings)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    TheLanguage().m_language = ReadLanguageIndex(settings);
    ApplyLanguage(TheLanguage().m_language);
    TinyStartup();
    {
        CArkletonDlg dialog(settings);
        dialog.DoModal(nullptr);
    }
    TinyShutdown();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return 0;
}
