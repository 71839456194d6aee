#include "app/DetailCommand.h"

#include <memory>

#include "app/Strings.h"
#include "platform/Text.h"
#include "storage/ModelDataFile.h"
#include "storage/tinyfs.h"

const int kConditionEditIds[CONDITION_COUNT] = {1020, 1021, 1022, 1023, 1024, 1025, 1026, 1048};
const int kDualRateEditIds[DUAL_RATE_COUNT] = {1028, 1029, 1030, 1031, 1032, 1036};
const int kDualRateLabelIds[DUAL_RATE_COUNT] = {1037, 1038, 1039, 1040, 1041, 1042};
const int kHardwareLabelIds[HW_ROWS] = {1063, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1071, 1112,
                                        1119, 1118, 1096, 1098, 1100, 1102, 1104, 1106, 1108, 1110,
                                        1141, 1140, 1123, 1125, 1127, 1129, 1131, 1133, 1135, 1137};
const int kHardwareComboIds[HW_ROWS] = {1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062, 1097,
                                        1099, 1101, 1103, 1105, 1107, 1109, 1111, 1113, 1120, 1121,
                                        1124, 1126, 1128, 1130, 1132, 1134, 1136, 1138, 1142, 1143};

namespace {

enum : unsigned {
    IDS_NO_SELECTION = 104,
    IDS_SOURCE_OPEN_FAILED = 106,
    IDS_WRONG_TRANSMITTER = 704,
};

constexpr unsigned kOpenRead = CFile::typeBinary | CFile::modeRead;
constexpr int kEngineNoError = 5;  // an engine failure that left no error code

// Number of entries a row's list offers: its options up to the first end mark.
int OptionCount(const HardwareRow& row)
{
    int n = 0;
    while (n < HW_OPTIONS && row.options[n] != HW_END)
        ++n;
    return n;
}

// Reads the selected source into a new model object. Refusals and file errors
// are shown through host; nullptr then.
std::unique_ptr<CModelDataBase> ReadDetailSource(MainDialogState& state, IDialogHost& host,
                                                 const std::u16string& caption)
{
    const int row = state.selectedSourceRow;
    if (row < 0 || row >= static_cast<int>(state.sourceList.rows.size())) {
        host.FocusControl(IDC_SOURCE_LIST, false);
        host.MessageBox(LoadString(IDS_NO_SELECTION), caption, MB_ICONSTOP);
        return nullptr;
    }
    const ModelListRow& selected = state.sourceList.rows[static_cast<size_t>(row)];
    const uint16_t type = GetItemTransmitterType(selected);
    if (type != TX_PX400 && type != TX_PX200) {
        host.FocusControl(IDC_SOURCE_LIST, false);
        host.MessageBox(LoadString(IDS_WRONG_TRANSMITTER), caption, MB_ICONSTOP);
        return nullptr;
    }

    host.BeginWaitCursor();
    CModelDataFile file(state.m_sourceLocation);
    bool opened = false;
    try {
        opened = file.Open(selected.key, kOpenRead);
    } catch (const CFileException&) {
        opened = false;
    }
    if (!opened) {
        host.EndWaitCursor();
        host.FocusControl(IDC_SOURCE_LOCATION, true);
        host.MessageBox(FormatString(IDS_SOURCE_OPEN_FAILED, {Utf8ToUtf16(selected.key)}), caption, MB_ICONSTOP);
        return nullptr;
    }
    std::unique_ptr<CModelDataBase> model;
    if (type == TX_PX400)
        model = std::make_unique<CModelDataPX400>();
    else
        model = std::make_unique<CModelDataPX200>();
    try {
        // A shorter file leaves the rest of the image zero; only the names are
        // read from it. Inside an image a failed read returns -1 without
        // throwing, and would leave a half-read image: it is a file error.
        const unsigned count = static_cast<unsigned>(type == TX_PX400 ? PX400_IMAGE_SIZE : PX200_DATA_SIZE);
        const unsigned got = file.Read(model->GetImage(), count);
        if (file.m_isVolume && got == static_cast<unsigned>(-1)) {
            int code = TinyGetError();
            if (code <= 0)
                code = kEngineNoError;
            throw CFileException(CFileException::OsErrorToCause(code), code, file.m_currentName);
        }
        file.Close();
    } catch (const CFileException& e) {
        host.EndWaitCursor();
        host.MessageBox(FileErrorText(e, file.m_isVolume != 0), caption, MB_ICONSTOP);
        return nullptr;
    }
    host.EndWaitCursor();
    return model;
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
    const uint16_t targetType = state.TargetTransmitterType();
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
        host.MessageBox(LoadString(IDS_DETAIL_NAME_NOTICE), data.m_caption, MB_ICONINFORMATION);
    if (!dialog.RunDetailDialog(data))
        return false;
    // The dialog refuses such a name at OK; one that still arrives is not stored.
    const int refused = data.RefusedConditionName();
    if (refused >= 0) {
        host.MessageBox(ConditionNameRefusal(refused), data.m_caption, MB_ICONSTOP);
        return false;
    }
    ConfirmDetailChoices(state, hardwareTable, data.Choices());
    return true;
}
