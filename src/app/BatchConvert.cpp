#include "app/BatchConvert.h"

#include <algorithm>
#include <memory>
#include <set>
#include <utility>

#include "app/Strings.h"
#include "model/ConvertHW.h"
#include "platform/Text.h"
#include "storage/ModelDataFile.h"

namespace {

enum : unsigned {
    IDS_NAME_IN_RUN = 1705,
};

// The name a model without a usable one of its own falls back to: its file's
// name without the extension in a folder, "MODEL" and its number in an image.
std::u16string FallbackName(const std::string& key, bool image)
{
    if (image)
        return u"MODEL " + Utf8ToUtf16(key);
    const size_t slash = key.find_last_of(std::string("/") + PathSeparator());
    std::string file = slash == std::string::npos ? key : key.substr(slash + 1);
    const size_t dot = file.rfind('.');
    if (dot != std::string::npos && dot > 0)
        file.resize(dot);
    return Utf8ToUtf16(file);
}

// The file object on the target folder that the name checks look into; none
// for an empty location or one the Convert command refuses.
std::unique_ptr<CModelDataFile> TargetFolder(const MainDialogState& state)
{
    std::unique_ptr<CModelDataFile> target = OpenTargetFolder(state);
    if (CheckConvertTarget(state, target.get()))
        return nullptr;
    return target;
}

// Forwards the wait cursor and list refills to the front end's host; the
// messages of one conversion go into its outcome instead of boxes.
class CollectingHost : public IDialogHost {
public:
    CollectingHost(IDialogHost& host, BatchOutcome& outcome) : m_host(host), m_outcome(outcome) {}
    void BeginWaitCursor() override { m_host.BeginWaitCursor(); }
    void EndWaitCursor() override { m_host.EndWaitCursor(); }
    void FocusControl(FocusTarget, bool) override {}
    void ShowModelList(ListSide side, const ModelListing& listing) override { m_host.ShowModelList(side, listing); }
    void MessageBox(const std::u16string& text, const std::u16string&, MessageKind kind) override
    {
        // The hardware warning, which every stored model has, is said once by the summary.
        if (kind == MessageKind::Error || kind == MessageKind::Warning)
            m_outcome.messages.push_back(text);
    }

private:
    IDialogHost& m_host;
    BatchOutcome& m_outcome;
};

}  // namespace

std::optional<CommandRefusal> CheckBatchTarget(const MainDialogState& state)
{
    return CheckConvertTarget(state, OpenTargetFolder(state).get());
}

std::vector<int> SaveDialogDataKeepingRows(MainDialogState& state, IDialogHost& host, const std::vector<int>& rows)
{
    std::vector<std::string> keys;
    for (int row : rows)
        if (row >= 0 && row < static_cast<int>(state.sourceList.rows.size()))
            keys.push_back(state.sourceList.rows[static_cast<size_t>(row)].key);
    SaveDialogData(state, host);
    std::vector<int> kept;
    for (size_t r = 0; r < state.sourceList.rows.size(); ++r)
        if (std::find(keys.begin(), keys.end(), state.sourceList.rows[r].key) != keys.end())
            kept.push_back(static_cast<int>(r));
    return kept;
}

std::vector<BatchModel> ProposeBatchNames(const MainDialogState& state, const std::vector<int>& rows)
{
    std::vector<int> ordered(rows);
    std::sort(ordered.begin(), ordered.end());
    ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());
    const std::unique_ptr<CModelDataFile> target = TargetFolder(state);
    std::vector<BatchModel> models;
    for (int row : ordered) {
        if (row < 0 || row >= static_cast<int>(state.sourceList.rows.size()))
            continue;
        const ModelListRow& listed = state.sourceList.rows[static_cast<size_t>(row)];
        auto taken = [&](const std::u16string& name) {
            for (const BatchModel& earlier : models)
                if (SameModelFileName(earlier.name, name))
                    return true;
            return target && target->FindFirst(ConvertTargetPath(state.m_targetLocation, name));
        };
        BatchModel model{listed.key, listed.columns[1], {}};
        model.name = MakeModelNameValid(listed.columns[1], FallbackName(listed.key, state.sourceList.isVolume), taken);
        models.push_back(std::move(model));
    }
    return models;
}

std::vector<std::optional<std::u16string>> BatchNameProblems(const MainDialogState& state,
                                                             const std::vector<BatchModel>& models)
{
    const std::unique_ptr<CModelDataFile> target = TargetFolder(state);
    std::vector<std::optional<std::u16string>> problems(models.size());
    for (size_t i = 0; i < models.size(); ++i) {
        const std::u16string name = TrimModelName(models[i].name);
        if (target) {
            if (std::optional<CommandRefusal> refusal =
                    CheckModelNameForTarget(name, *target, ConvertTargetPath(state.m_targetLocation, name))) {
                problems[i] = std::move(refusal->text);
                continue;
            }
        }
        for (size_t j = 0; j < models.size(); ++j)
            if (j != i && !name.empty() && SameModelFileName(name, TrimModelName(models[j].name)))
                problems[i] = LoadString(IDS_NAME_IN_RUN);
    }
    return problems;
}

CBatchConvert::CBatchConvert(MainDialogState& state, CConvertHW& hardwareTable, const std::vector<BatchModel>& models)
    : m_state(state),
      m_table(hardwareTable),
      m_selectedRow(state.selectedSourceRow),
      m_modelNameText(state.modelNameText),
      m_modelName(state.m_modelName),
      m_modelNameTyped(state.modelNameTyped),
      m_detailUsed(state.m_detailUsed)
{
    for (const BatchModel& model : models) {
        BatchOutcome outcome;
        outcome.model = model;
        outcome.model.name = TrimModelName(model.name);  // as the command stores it
        m_outcomes.push_back(std::move(outcome));
    }
}

const BatchOutcome& CBatchConvert::ConvertNext(IDialogHost& host)
{
    BatchOutcome& outcome = m_outcomes[m_next++];
    // The model's row as the list shows it now; a key no longer listed is the
    // command's own "no row selected".
    m_state.selectedSourceRow = -1;
    for (size_t r = 0; r < m_state.sourceList.rows.size(); ++r)
        if (m_state.sourceList.rows[r].key == outcome.model.key)
            m_state.selectedSourceRow = static_cast<int>(r);
    m_state.modelNameText = outcome.model.name;
    m_state.m_detailUsed = 0;
    ConvertOptions options;
    options.report = &outcome.report;
    options.refillLists = false;
    CollectingHost collecting(host, outcome);
    const bool stored = OnConvert(m_state, collecting, m_table, options);
    outcome.result = stored ? BatchOutcome::Result::Stored : BatchOutcome::Result::Refused;
    return outcome;
}

void CBatchConvert::Finish(IDialogHost& host)
{
    if (m_finished)
        return;
    m_finished = true;
    m_state.selectedSourceRow = m_selectedRow;
    m_state.modelNameText = m_modelNameText;
    m_state.modelNameTyped = m_modelNameTyped;
    m_state.m_detailUsed = m_detailUsed;
    m_state.m_modelName = m_modelName;
    const auto stored = std::find_if(m_outcomes.begin(), m_outcomes.end(), [](const BatchOutcome& o) {
        return o.result == BatchOutcome::Result::Stored;
    });
    if (stored != m_outcomes.end())
        RefillAfterStore(m_state, host, stored->model.key);
}

size_t CBatchConvert::Count(BatchOutcome::Result result) const
{
    return static_cast<size_t>(std::count_if(m_outcomes.begin(), m_outcomes.end(),
                                             [result](const BatchOutcome& o) { return o.result == result; }));
}
