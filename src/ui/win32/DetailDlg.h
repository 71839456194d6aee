// The detail dialog (template 131): the eight condition names, the dual rate
// names of each condition, and for each control of the source transmitter the
// PX600 control that takes its place, with what the conversion will do with
// it. The dialog shows a CDetailData and reports the pilot's edits back into
// it; the decisions are the core's (app/DetailCommand.h).
#pragma once

#include "app/DetailCommand.h"
#include "ui/DetailControlIds.h"
#include "ui/win32/Dialog.h"


class CDetailDlg : public CDialog, public IQuestionHost {
public:
    explicit CDetailDlg(CDetailData& data);

    // IQuestionHost: a Yes/No box over this dialog.
    bool AskYesNo(const std::u16string& text, const std::u16string& caption) override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    BOOL OnInitDialog();
    void OnCommand(int id, int code);
    void OnOK();
    void InitHardware();
    void AddTip(int controlId);
    void SetTip(int controlId, const std::u16string& tip);
    // Data exchange: texts from the data into the edits, and back.
    void LoadData();
    void SaveData();
    void StoreDualRates();
    // Reset, Set to default, dual rate Reset: ask, and show the result.
    void Press(bool (CDetailData::*action)(IQuestionHost&));
    void OnConditionSelected(int index);
    void OnHardwareChosen(int row, int index);
    void ShowOutcome(int row);
    void OnConditionEdited(int condition);
    void ShowMark(int controlId, const std::u16string& text, bool marked, bool& flag);
    INT_PTR OnColorStatic(HDC dc, HWND control);

    CDetailData& m_data;
    HWND m_tips = nullptr;  // owned by the dialog
    // Marks the pilot must not miss: condition names the PX600 shortens,
    // controls that get no PX600 control or share one.
    bool m_conditionMarked[CONDITION_COUNT] = {};
    bool m_outcomeMarked[HW_ROWS] = {};
    bool m_loading = false;
};

// Runs the detail dialog over the main window for the Detail command.
class CDetailRunner : public IDetailDialog {
public:
    explicit CDetailRunner(HWND owner) : m_owner(owner) {}
    bool RunDetailDialog(CDetailData& data) override;

private:
    HWND m_owner;
};
