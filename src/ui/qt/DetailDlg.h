// The detail dialog: the eight condition names, the dual rate names of each
// condition, and for each control of the source transmitter the PX600 control
// that takes its place, with what the conversion will do with it in words.
// The dialog shows a CDetailData and reports the user's edits back into it;
// the decisions are the core's (app/DetailCommand.h). Every control
// carries its dialog id as its object name.
#pragma once

#include <QDialog>

#include "app/DetailCommand.h"
#include "ui/DetailControlIds.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class CArkletonDlg;

// Control ids of the detail dialog.
enum : int {
    IDC_CONDITION_RESET = 1027,
    IDC_CONDITION_DEFAULT = 1049,
    IDC_DUAL_RATE_RESET = 1034,
    IDC_CONDITION_SELECTOR = 1046,
    IDC_CONDITION_SELECTOR_LABEL = 1047,
};
// Ids of the line beside each hardware row that says what the row becomes.
constexpr int IDC_HARDWARE_OUTCOME_FIRST = 1150;  // 1150..1179 for rows 0..29
// Ids of the mark beside each condition name the PX600 shortens.
constexpr int IDC_CONDITION_MARK_FIRST = 1180;    // 1180..1187 for conditions 0..7

class CModelDataDetailDlg : public QDialog, public IQuestionHost {
    Q_OBJECT
public:
    CModelDataDetailDlg(CDetailData& data, QWidget* parent = nullptr);

    // IQuestionHost: a Yes/No box over this dialog.
    bool AskYesNo(const std::u16string& text, const std::u16string& caption) override;

    // OK: the edits go into the data.
    void accept() override;

private:
    void BuildControls();
    void InitHardware();
    // Data exchange: texts from the data into the edits, and back.
    void LoadData();
    void SaveData();
    void StoreDualRates();
    // Reset, Set to default, dual rate Reset: ask, and show the result.
    void Press(bool (CDetailData::*action)(IQuestionHost&));
    void OnConditionSelected(int index);
    void OnHardwareChosen(int row, int index);
    void ShowOutcome(int row);
    void OnConditionEdited(int condition, const QString& text);

    CDetailData& m_data;
    QLineEdit* m_conditionEdits[CONDITION_COUNT] = {};
    QLabel* m_conditionMarks[CONDITION_COUNT] = {};
    QLineEdit* m_dualRateEdits[DUAL_RATE_COUNT] = {};
    QLabel* m_dualRateLabels[DUAL_RATE_COUNT] = {};
    QComboBox* m_conditionSelector = nullptr;
    QPushButton* m_dualRateReset = nullptr;
    QLabel* m_hardwareLabels[HW_ROWS] = {};
    QComboBox* m_hardwareCombos[HW_ROWS] = {};
    QLabel* m_outcomes[HW_ROWS] = {};
};

// The main dialog's Detail command (button 1018) on its state and the
// program's hardware table.
void RunDetailCommand(CArkletonDlg& dialog);
