#include "app/DetailCommand.h"

#include <memory>

#include "app/Strings.h"
#include "platform/Text.h"

namespace {

// Number of entries a row's list offers: its options up to the first end mark.
int OptionCount(const HardwareRow& row)
{
    int n = 0;
    while (n < HW_OPTIONS && row.options[n] != HW_END)
        ++n;
    return n;
}

// Reads the selected source for its names. Refusals and file errors are
// shown through host; nullptr then.
std::unique_ptr<CModelDataBase> ReadDetailSource(MainDialogState& state, IDialogHost& host,
                                                 const std::u16string& caption)
{
    host.BeginWaitCursor();
    SourceModel source = ReadSelectedSource(state, SourceRead::Names);
    host.EndWaitCursor();
    if (const std::optional<CommandRefusal>& refusal = source.refusal) {
        if (refusal->focus)
            host.FocusControl(*refusal->focus, refusal->selectAll);
        host.MessageBox(refusal->text, caption, MessageKind::Error);
    }
    return std::move(source.model);
}

}  // namespace

DetailHardwareLine CDetailData::HardwareLine(int row) const
{
    DetailHardwareLine line;
    if (row < 0 || row >= HW_ROWS)
        return line;
    const HardwareRow& hw = m_rows[row];
    if (hw.source == HW_END) {
        line.label = LoadString(IDS_HARDWARE_EMPTY_LABEL);
        return line;
    }
    line.enabled = true;
    line.label = LoadString(GetHardwareNameId(m_sourceType, hw.source));
    const int n = OptionCount(hw);
    for (int j = 0; j < n; ++j)
        line.options.push_back(LoadString(GetHardwareNameId(m_targetType, hw.options[j])));
    return line;
}

uint8_t CDetailData::ChosenTarget(int row) const
{
    if (row < 0 || row >= HW_ROWS || m_rows[row].source == HW_END)
        return HW_NONE;
    const uint8_t source = m_rows[row].source;
    const int choice = m_hardwareChoice[row];
    return IsProportionalHardware(m_sourceType, source) ? GetProportionalOption(m_targetType, choice)
                                                        : GetSwitchOption(m_targetType, choice);
}

DetailHardwareOutcome CDetailData::HardwareOutcome(int row) const
{
    DetailHardwareOutcome outcome;
    if (row < 0 || row >= HW_ROWS || m_rows[row].source == HW_END)
        return outcome;
    const std::u16string source = LoadString(GetHardwareNameId(m_sourceType, m_rows[row].source));
    const uint8_t target = ChosenTarget(row);
    outcome.none = target == HW_NONE || target == HW_END;
    const std::u16string targetName =
        outcome.none ? LoadString(IDS_HARDWARE_NONE) : LoadString(GetHardwareNameId(m_targetType, target));
    outcome.text = FormatString(IDS_HARDWARE_OUTCOME, {source, targetName});
    if (outcome.none) {
        outcome.tip = FormatString(IDS_HARDWARE_NONE_TIP, {source});
        return outcome;
    }
    // Other controls that go to the same target control: one control will
    // operate them all.
    std::u16string others;
    for (int r = 0; r < HW_ROWS; ++r) {
        if (r == row || m_rows[r].source == HW_END || ChosenTarget(r) != target)
            continue;
        if (!others.empty())
            others += u", ";
        others += LoadString(GetHardwareNameId(m_sourceType, m_rows[r].source));
    }
    outcome.shared = !others.empty();
    outcome.tip = outcome.shared ? FormatString(IDS_HARDWARE_SHARED_TIP, {source, targetName, others})
                                 : FormatString(IDS_HARDWARE_OUTCOME_TIP, {source, targetName});
    return outcome;
}

DetailNameMark CDetailData::ConditionNameMark(int condition) const
{
    DetailNameMark mark;
    if (condition < 0 || condition >= CONDITION_COUNT || m_targetType != TX_PX600)
        return mark;
    const std::u16string& name = m_conditionText[condition];
    if (name.size() <= PX600_CONDITION_NAME_SHOWN)
        return mark;
    const std::u16string kept = name.substr(0, PX600_CONDITION_NAME_SHOWN);
    mark.shortened = true;
    mark.text = FormatString(IDS_CONDITION_SHORTENED, {kept});
    mark.tip = FormatString(IDS_CONDITION_SHORTENED_TIP, {kept});
    return mark;
}

void CDetailData::ChooseHardware(int row, int index)
{
    if (row < 0 || row >= HW_ROWS || m_rows[row].source == HW_END)
        return;
    if (index < 0 || index >= OptionCount(m_rows[row]))
        return;
    m_hardwareChoice[row] = static_cast<uint8_t>(index);
}

const std::u16string& CDetailData::ShownDualRate(int dualRate) const
{
    return m_dualRateNames[m_currentCondition * DUAL_RATE_COUNT + dualRate];
}

void CDetailData::StoreDualRates(const std::u16string (&edits)[DUAL_RATE_COUNT])
{
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        m_dualRateNames[m_currentCondition * DUAL_RATE_COUNT + d] = edits[d];
}

void CDetailData::SelectCondition(int condition)
{
    if (condition >= 0 && condition < CONDITION_COUNT)
        m_currentCondition = condition;
}

bool CDetailData::ResetConditionNames(IQuestionHost& host)
{
    if (!host.AskYesNo(LoadString(IDS_ASK_RESET_CONDITIONS), m_caption))
        return false;
    for (int c = 0; c < CONDITION_COUNT; ++c)
        m_conditionText[c] = m_fileConditionNames[c];
    return true;
}

bool CDetailData::SetDefaultConditionNames(IQuestionHost& host)
{
    if (!host.AskYesNo(LoadString(IDS_ASK_DEFAULT_CONDITIONS), m_caption))
        return false;
    for (int c = 0; c < CONDITION_COUNT; ++c)
        m_conditionText[c] = GetDefaultConditionName(m_helicopter != 0, c);
    return true;
}

bool CDetailData::ResetDualRateNames(IQuestionHost& host)
{
    if (!host.AskYesNo(LoadString(IDS_ASK_RESET_DUAL_RATES), m_caption))
        return false;
    for (int i = 0; i < CONDITION_COUNT * DUAL_RATE_COUNT; ++i)
        m_dualRateNames[i] = m_fileDualRateNames[i];
    return true;
}

int CDetailData::RefusedConditionName() const
{
    for (int c = 0; c < CONDITION_COUNT; ++c)
        if (m_conditionText[c] != m_fileConditionNames[c] && !IsTypedConditionNameValid(m_conditionText[c]))
            return c;
    return -1;
}

DetailChoices CDetailData::Choices() const
{
    DetailChoices choices;
    for (int c = 0; c < CONDITION_COUNT; ++c)
        choices.conditionNames[c] = m_conditionText[c];
    for (int i = 0; i < CONDITION_COUNT * DUAL_RATE_COUNT; ++i)
        choices.dualRateNames[i] = m_dualRateNames[i];
    for (int r = 0; r < HW_ROWS; ++r)
        choices.hardwareChoice[r] = m_rows[r].source == HW_END ? 0 : m_hardwareChoice[r];
    return choices;
}

bool PrepareDetailData(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable, CDetailData& out)
{
    out.m_caption = LoadString(IDS_MAIN_CAPTION);
    const std::unique_ptr<CModelDataBase> model = ReadDetailSource(state, host, out.m_caption);
    if (!model)
        return false;
    // Choices confirmed for another model are not shown for this one.
    NoteSourceSelection(state, hardwareTable);

    // The file's names: a PX200 keeps five conditions and no dual rate names.
    const uint8_t* image = model->GetImage();
    const bool px400 = model->GetTypeCode() == TX_PX400;
    for (int c = 0; c < CONDITION_COUNT; ++c) {
        const bool present = px400 || c < PX200_CONDITION_COUNT;
        out.m_fileConditionNames[c] = !present ? std::u16string()
            : px400                            ? GetConditionNamePX400(image, c)
                                               : GetConditionNamePX200(image, c);
        for (int d = 0; d < DUAL_RATE_COUNT; ++d) {
            out.m_fileDualRateNames[c * DUAL_RATE_COUNT + d] = !present ? std::u16string()
                : px400 ? GetDualRateNamePX400(image, c, d)
                        : GetDualRateNamePX200(image, c, d);
        }
    }
    out.m_helicopter = model->GetModelType() == MODEL_HELICOPTER ? 1 : 0;

    // Names confirmed earlier and not yet consumed by a conversion win.
    const bool confirmed = state.m_detailUsed != 0;
    for (int c = 0; c < CONDITION_COUNT; ++c)
        out.m_conditionText[c] = confirmed ? state.m_conditionNames[c] : out.m_fileConditionNames[c];
    for (int i = 0; i < CONDITION_COUNT * DUAL_RATE_COUNT; ++i)
        out.m_dualRateNames[i] = confirmed ? state.m_dualRateNames[i] : out.m_fileDualRateNames[i];
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        out.m_dualRateText[d] = out.m_dualRateNames[d];

    // The PX600 keeps no dual rate names: they are shown but not edited.
    const uint16_t targetType = state.targetTransmitter;
    out.m_targetType = targetType;
    out.m_dualRateEnabled = targetType != TX_PX600 ? 1 : 0;
    if (targetType == TX_PX600)
        for (int d = 0; d < DUAL_RATE_COUNT; ++d)
            out.m_dualRateText[d] = GetDefaultDualRateName(d);
    out.m_currentCondition = 0;

    if (!IsHardwareTableValid(state, hardwareTable))
        ResetHardwareTable(state, hardwareTable);
    out.m_sourceType = hardwareTable.m_sourceType;
    for (int r = 0; r < HW_ROWS; ++r) {
        out.m_rows[r] = hardwareTable.m_rows[r];
        out.m_hardwareChoice[r] = out.m_rows[r].source == HW_END ? 0 : out.m_rows[r].selection;
    }
    return true;
}

bool PrepareDetailChoices(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable, DetailChoices& out)
{
    CDetailData data;
    if (!PrepareDetailData(state, host, hardwareTable, data))
        return false;
    out = data.Choices();
    return true;
}

bool OnDetail(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable, IDetailDialog& dialog)
{
    CDetailData data;
    if (!PrepareDetailData(state, host, hardwareTable, data))
        return false;
    if (data.m_targetType == TX_PX600)
        host.MessageBox(LoadString(IDS_DETAIL_NAME_NOTICE), data.m_caption, MessageKind::Information);
    if (!dialog.RunDetailDialog(data))
        return false;
    // The dialog refuses such a name at OK; one that still arrives is not stored.
    const int refused = data.RefusedConditionName();
    if (refused >= 0) {
        host.MessageBox(ConditionNameRefusal(refused), data.m_caption, MessageKind::Error);
        return false;
    }
    ConfirmDetailChoices(state, hardwareTable, data.Choices());
    return true;
}
