// The main window of the Windows program (template 102): the "Convert from"
// and "Convert to" groups with their transmitter and location combo boxes,
// browse buttons and model lists, the model name edit and the Detail and
// Convert buttons. The controls only show and collect; the core
// (MainDialogState, SaveDialogData, OnConvert, OnDetail, FillModelList)
// decides.
#pragma once

#include <vector>

#include "app/AppSettings.h"
#include "app/ConvertCommand.h"
#include "app/DialogHost.h"
#include "ui/win32/Dialog.h"
#include "ui/win32/resource.h"

class CArkletonDlg : public CDialog, public IDialogHost {
public:
    // settings: where the window's settings are read at start and written at
    // the end.
    explicit CArkletonDlg(ISettingsStore& settings);

    // The command state the core works on, and the controls' texts moved into
    // it (what the dialog data exchange reads before a command).
    MainDialogState& State() { return m_state; }
    void TransferControls();

    // IDialogHost
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void FocusControl(FocusTarget target, bool selectAll) override;
    void MessageBox(const std::u16string& text, const std::u16string& caption, MessageKind kind) override;
    void ShowModelList(ListSide side, const ModelListing& listing) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // The columns of one model list: a column keeps the width it was given
    // (stored, or dragged by the pilot); one without fits its contents after
    // every refill.
    struct ListColumns {
        int width[kListColumns] = {};
        bool fits[kListColumns] = {true, true, true, true};
    };
    // Distances measured at start-up for the resizing, in client pixels.
    struct LayoutOffsets {
        int fromGroupRight = 0;    // centre to the right edge of "Convert from"
        int toGroupLeft = 0;       // centre to the left edge of "Convert to"
        int locationRight = 0;     // centre to the right edge of the source location
        int browseRight = 0;       // centre to the right edge of the source browse button
        int listRight = 0;         // centre to the right edge of the source list
        int convertLeft = 0;       // centre to the left edge of the Convert button
        int targetListLeft = 0;    // centre to the left edge of the target list
        int groupBottom = 0;       // client bottom to the bottom of the groups
        int listBottom = 0;        // client bottom to the bottom of the lists
    };

    BOOL OnInitDialog();
    void OnCommand(int id, int code);
    bool OnNotify(const NMHDR& header);
    bool OnSysCommand(WPARAM command);
    void OnSize(UINT type, int width, int height);
    void OnSizing(WPARAM edge, RECT& rect) const;
    void OnCancel();
    void OnConvert();
    void OnDetail();
    void OnBrowse(SettingsGroup group);
    void OnLocationChosen(SettingsGroup group);
    void OnListDoubleClick(int listId);
    void ReportSourceSelection();
    void OnSourceSelectionChanged();
    void RunAbout();
    void RunSetting();

    void SetTexts();
    void SetIcons();
    void MeasureLayout();
    void RestoreSettings();
    void SaveSettings();
    void FillColumns(int listId, const int (&widths)[kListColumns]);
    void FitColumns(int listId);
    void ArrangeColumns(int listId);
    GroupSettings CollectGroupSettings(SettingsGroup group) const;
    std::vector<std::string> LocationEntries(SettingsGroup group) const;
    void SetLocationEntries(SettingsGroup group, const std::vector<std::string>& entries, int select);
    HWND LocationCombo(SettingsGroup group) const;
    void CopyModelName(int listId);
    // The rows selected in the source list, in list order.
    std::vector<int> SelectedSourceRows() const;
    // The model name edit shows m_state.modelNameText.
    void ShowModelName();
    int SelectedRow(int listId) const;
    ListColumns& Columns(int listId) { return listId == IDC_SOURCE_LIST ? m_sourceColumns : m_targetColumns; }

    ISettingsStore& m_settings;
    OwnedIcon m_bigIcon;
    OwnedIcon m_smallIcon;
    SIZE m_minSize = {};
    LayoutOffsets m_offsets;
    int m_layoutReady = 0;
    MainDialogState m_state;
    ListColumns m_sourceColumns;
    ListColumns m_targetColumns;
    // The report of the running conversion, offered by the hardware warning.
    ConversionReport m_report;
    bool m_converting = false;
    bool m_settingName = false;
    bool m_arranging = false;  // the columns' widths are the program's, not the pilot's
    int m_waitDepth = 0;
};

// The whole run of the program: language, storage, the main dialog, with
// its settings in settings.
int RunArkleton(ISettingsStore& settings);
