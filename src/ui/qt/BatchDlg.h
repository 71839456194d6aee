// Converting several selected models at once: a dialog listing each model and
// the name it will get (editable, checked as the pilot types), one progress
// window with a Cancel that stops after the current model, and one summary of
// what became of each model with its report a click away. The decisions are
// the core's (app/BatchConvert.h); these windows show them.
#pragma once

#include <vector>

#include <QDialog>

#include "app/BatchConvert.h"

class QLabel;
class QPushButton;
class QTableWidget;
class CArkletonDlg;

// Object names of the windows' controls, for the tests: the name edit of model
// i is "batchName<i>", its report button "batchReport<i>"; OK and Cancel (or
// Close) are "1" and "2".
class CBatchNamesDlg : public QDialog {
    Q_OBJECT
public:
    CBatchNamesDlg(const MainDialogState& state, std::vector<BatchModel> models, QWidget* parent = nullptr);

    const std::vector<BatchModel>& Models() const { return m_models; }

private:
    // A name changed: every name is checked again (another model may now share it).
    void CheckNames();

    const MainDialogState& m_state;
    std::vector<BatchModel> m_models;
    QTableWidget* m_table = nullptr;
    QPushButton* m_ok = nullptr;
};

class CBatchSummaryDlg : public QDialog {
    Q_OBJECT
public:
    CBatchSummaryDlg(const CBatchConvert& run, QWidget* parent = nullptr);

private:
    void ShowReport(const BatchOutcome& outcome);
};

// The main dialog's Convert command with the given source rows selected (two
// or more): names, progress, summary. The dialog's batchModelDone signal
// follows each model.
void RunBatchCommand(CArkletonDlg& dialog, const std::vector<int>& rows);
