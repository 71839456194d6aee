// Converting several models of the source list in one run: the name each one
// gets, one Convert command per model in list order, and what became of each.
// The front ends show the names, the progress and the outcomes; everything
// they show is decided here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/ConvertCommand.h"

// One model of a run.
struct BatchModel {
    std::string key;            // the source row's key
    std::u16string modelName;   // its model name as the list shows it
    std::u16string name;        // the name it is stored under
};

// The start of a run on the given source rows: the dialog data exchange in
// the saving direction, then the rows that hold the same models (by key) in
// the list as it stands afterwards, in list order; none when a refilled list
// no longer shows any of them.
std::vector<int> SaveDialogDataKeepingRows(MainDialogState& state, IDialogHost& host, const std::vector<int>& rows);

// The given source rows in list order (a row given twice counts once), each
// named from its own model name made valid (MakeModelNameValid), numbered where
// an earlier model of the run or a file in the target folder has the name. A
// model without a usable name is named after its file (a folder) or "MODEL"
// and its file number (an image). state is the dialog after SaveDialogData.
std::vector<BatchModel> ProposeBatchNames(const MainDialogState& state, const std::vector<int>& rows);

// The Convert command's refusal of the target group (CheckConvertTarget), for
// the whole run before any name is proposed.
std::optional<CommandRefusal> CheckBatchTarget(const MainDialogState& state);

// Why each model's name cannot be used as it stands, as the pilot edits them:
// the Convert command's own refusal of the name (CheckModelNameForTarget, on
// the trimmed name), or that another model of the run has it. No text for a
// name that can be used.
std::vector<std::optional<std::u16string>> BatchNameProblems(const MainDialogState& state,
                                                             const std::vector<BatchModel>& models);

// What became of one model.
struct BatchOutcome {
    enum class Result { NotConverted, Stored, Refused };
    BatchModel model;
    Result result = Result::NotConverted;
    // The refusal, or for a stored model its warnings other than the hardware
    // warning that every stored model has (delay settings, a short model).
    std::vector<std::u16string> messages;
    // The conversion report of a stored model.
    ConversionReport report;
    int MustCheck() const { return report.MustCheckCount(); }
};

class CBatchConvert {
public:
    // Detail choices are not applied: they belong to a single model's
    // conversion and stay for it.
    CBatchConvert(MainDialogState& state, CConvertHW& hardwareTable, const std::vector<BatchModel>& models);

    size_t Count() const { return m_outcomes.size(); }
    // Models converted or refused so far.
    size_t Done() const { return m_next; }
    // Every model done, or the run was cancelled.
    bool Finished() const { return m_cancelled || m_next == m_outcomes.size(); }
    // Stops after the model being converted.
    void Cancel() { m_cancelled = true; }
    bool Cancelled() const { return m_cancelled && m_next < m_outcomes.size(); }

    // Runs the Convert command for the next model with its name. The host
    // sees the wait cursor and list refills; the messages go into the outcome.
    const BatchOutcome& ConvertNext(IDialogHost& host);
    // The dialog's selection, name and detail choices as before the run; the
    // lists refilled once when a model was stored.
    void Finish(IDialogHost& host);

    const std::vector<BatchOutcome>& Outcomes() const { return m_outcomes; }
    size_t Count(BatchOutcome::Result result) const;

private:
    MainDialogState& m_state;
    CConvertHW& m_table;
    std::vector<BatchOutcome> m_outcomes;
    size_t m_next = 0;
    bool m_cancelled = false;
    bool m_finished = false;
    // The dialog state the run borrows.
    int m_selectedRow;
    std::u16string m_modelNameText;
    std::u16string m_modelName;
    bool m_modelNameTyped;
    int m_detailUsed;
};
