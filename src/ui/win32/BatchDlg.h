// Converting several selected models at once: a dialog listing each model and
// the name it will get (edited in place, checked as the pilot types), one
// progress window whose Cancel stops after the current model, and one summary
// of what became of each model with its report a click away. The decisions
// are the core's (app/BatchConvert.h); these windows show them.
#pragma once

#include <vector>

#include "app/BatchConvert.h"
#include "ui/win32/Dialog.h"

class CBatchNamesDlg : public CDialog {
public:
    CBatchNamesDlg(const MainDialogState& state, std::vector<BatchModel> models);
    const std::vector<BatchModel>& Models() const { return m_models; }

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // A name changed: every name is checked again (another model may now share it).
    void CheckNames();
    bool OnNotify(const NMHDR& header, INT_PTR& result);

    const MainDialogState& m_state;
    std::vector<BatchModel> m_models;
    std::vector<bool> m_refused;
};

class CBatchProgressDlg : public CDialog {
public:
    // host: the main dialog, which shows the wait cursor and the list refills.
    CBatchProgressDlg(CBatchConvert& run, IDialogHost& host);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void Step();

    CBatchConvert& m_run;
    IDialogHost& m_host;
};

class CBatchSummaryDlg : public CDialog {
public:
    explicit CBatchSummaryDlg(const CBatchConvert& run);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void ShowReport();

    const CBatchConvert& m_run;
};

// The main dialog's Convert command with two or more source rows selected:
// names, progress, summary, over the main dialog owner.
void RunBatchCommand(HWND owner, MainDialogState& state, IDialogHost& host, const std::vector<int>& rows);
