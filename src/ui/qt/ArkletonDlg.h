// The main window: the "Convert from" and "Convert to" groups with their
// transmitter and location combo boxes, browse buttons and model lists, the
// model name edit and the Detail and Convert buttons. The widgets only show
// and collect; the core (MainDialogState, SaveDialogData, OnConvert,
// FillModelList) decides. Every control carries its dialog id as its object
// name ("1006" for the source transmitter combo box).
#pragma once

#include <vector>

#include <QDialog>
#include <QIcon>
#include <QPointer>
#include <QRect>

#include "app/ConvertCommand.h"
#include "app/DialogHost.h"
#include "ui/qt/AppSettings.h"
#include "ui/qt/ReportDlg.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class CModelListModel;
class CModelListView;


// Control ids of the main dialog.
enum : int {
    IDC_SOURCE_LOCATION = 1000,
    IDC_BROWSE_SOURCE = 1001,
    IDC_SOURCE_LIST = 1002,
    IDC_TARGET_TRANSMITTER = 1003,
    IDC_MODEL_NAME = 1004,
    IDC_CONVERT = 1005,
    IDC_SOURCE_TRANSMITTER = 1006,
    IDC_TARGET_LOCATION = 1008,
    IDC_BROWSE_TARGET = 1009,
    IDC_TARGET_LIST = 1010,
    IDC_GROUP_FROM = 1013,
    IDC_GROUP_TO = 1014,
    IDC_TARGET_TRANSMITTER_LABEL = 1015,
    IDC_MODEL_NAME_LABEL = 1016,
    IDC_TARGET_LOCATION_LABEL = 1017,
    IDC_DETAIL = 1018,
    IDC_SOURCE_TRANSMITTER_LABEL = 1019,
};

class CArkletonDlg : public QDialog, public IDialogHost {
    Q_OBJECT
public:
    explicit CArkletonDlg(QWidget* parent = nullptr);
    ~CArkletonDlg() override;

    // The command state the core works on, and the controls' texts moved into
    // it (what the dialog data exchange reads before a command).
    MainDialogState& State() { return m_state; }
    void TransferControls();
    // The report window of the last conversion while it is open.
    CReportDlg* ReportWindow() const { return m_reportWindow; }
    // The smallest size the window can be dragged to.
    QSize MinimumSize() const { return m_minRect.size(); }

    // IDialogHost
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void FocusControl(FocusTarget target, bool selectAll) override;
    void MessageBox(const std::u16string& text, const std::u16string& caption, MessageKind kind) override;
    void ShowModelList(ListSide side, const ModelListing& listing) override;

    // Command handlers.
    void OnConvert();
    void OnDetail();
    void OnBrowse(SettingsGroup group);
    void OnLocationChosen(SettingsGroup group, int index);
    void OnListDoubleClick(ListSide side);
    // The source row or transmitter shown now goes into the state and the
    // core drops Detail choices made for another model.
    void ReportSourceSelection();
    // The source list's selection changed (mouse, keyboard or a refill).
    void OnSourceSelectionChanged();
    // Cancel, Escape and the close box: the settings are written, the dialog closes.
    void reject() override;
    // The rows selected in the source list, in list order.
    std::vector<int> SelectedSourceRows() const;

signals:
    // A conversion of several models finished one model (done of count).
    void batchModelDone(int done, int count);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void RestoreSettings();
    void SaveSettings();
    void CopyModelName(QTableView* list);
    void SetTargetListGreyed(bool greyed);
    QComboBox* LocationCombo(SettingsGroup group) const;
    // The entries of a location combo box, and new ones with the first selected.
    std::vector<std::string> LocationEntries(SettingsGroup group) const;
    void SetLocationEntries(SettingsGroup group, const std::vector<std::string>& entries);
    GroupSettings CollectGroupSettings(SettingsGroup group) const;
    void ShowReport();

    QIcon m_icon;
    QRect m_minRect;
    MainDialogState m_state;
    // The report of the running conversion, offered by the hardware warning.
    ConversionReport m_report;
    QPointer<CReportDlg> m_reportWindow;
    bool m_converting = false;
    int m_waitDepth = 0;

    QGroupBox* m_sourceGroup = nullptr;
    QGroupBox* m_targetGroup = nullptr;
    QComboBox* m_sourceTransmitter = nullptr;
    QComboBox* m_sourceLocation = nullptr;
    QPushButton* m_sourceBrowse = nullptr;
    CModelListView* m_sourceList = nullptr;
    CModelListModel* m_sourceModel = nullptr;
    QComboBox* m_targetTransmitter = nullptr;
    QComboBox* m_targetLocation = nullptr;
    QPushButton* m_targetBrowse = nullptr;
    QLineEdit* m_modelName = nullptr;
    QPushButton* m_detail = nullptr;
    QPushButton* m_convert = nullptr;
    CModelListView* m_targetList = nullptr;
    CModelListModel* m_targetModel = nullptr;
    // Under each list: why the location's image was passed over, hidden
    // while there is nothing to say.
    QLabel* m_sourceNotice = nullptr;
    QLabel* m_targetNotice = nullptr;
};
