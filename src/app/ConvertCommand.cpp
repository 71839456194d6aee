#include "app/ConvertCommand.h"

#include <algorithm>
#include <memory>

#include "app/Strings.h"
#include "convert/Conversion.h"
#include "convert/CurveCompare.h"
#include "platform/AtomicFile.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "storage/ModelDataFile.h"
#include "storage/tinyfs.h"

namespace {

// Message ids of the command.
enum : unsigned {
    IDS_TARGET_REFUSED = 103,
    IDS_NO_SELECTION = 104,
    IDS_TARGET_EXISTS = 105,
    IDS_SOURCE_OPEN_FAILED = 106,
    IDS_TARGET_OPEN_FAILED = 107,
    IDS_CONVERTED = 108,
    IDS_MODEL_EXTENSION = 110,
    IDS_VERSION_OLD = 700,
    IDS_VERSION_NEW = 701,
    IDS_DELAY_TRIM_MIX = 702,
    IDS_DELAY_AIR_BRAKE = 703,
    IDS_WRONG_TRANSMITTER = 704,
    IDS_HARDWARE_WARNING = 705,
    IDS_NAME_TOO_LONG = 706,
    IDS_NAME_BAD_CHAR = 707,
    IDS_NAME_EMPTY = 708,
    IDS_SHORT_MODEL = 709,
    IDS_NO_SOURCE_LOCATION = 710,
    IDS_CONDITION_NAME_CONTROL = 713,
    IDS_CONDITION_LABEL = 2102,  // 2102..2109: the detail dialog's names of conditions 0..7
};

constexpr unsigned kOpenRead = CFile::typeBinary | CFile::modeRead;
constexpr int kFirstEntryNumber = 2;

CommandRefusal Refusal(std::u16string text, std::optional<FocusTarget> focus = std::nullopt, bool selectAll = false)
{
    return CommandRefusal{std::move(text), focus, selectAll};
}

// The combo box text of a transmitter type; empty for none.
std::u16string TransmitterComboText(uint16_t type)
{
    return type <= TX_PX600 ? LoadString(IDS_TX_COMBO_BASE + type) : std::u16string();
}

// Bytes of a PX200 source: its directory size inside an image, its length in a
// plain folder; at most the model data size.
FileResult PX200ReadCount(CModelDataFile& source, const std::string& key, unsigned& count)
{
    uint64_t size = 0;
    FileResult result;
    if (source.m_isVolume) {
        const long index = static_cast<long>(static_cast<uint16_t>(DecimalValue(key))) - kFirstEntryNumber;
        if (index >= 0 && index < source.GetFileCount())
            size = source.GetEntry(static_cast<int>(index)).size;
    } else {
        result = source.GetLength(size);
    }
    count = static_cast<unsigned>(std::min<uint64_t>(size, PX200_DATA_SIZE));
    return result;
}

// Causes of a failed create that 107's advice (check the model name and the
// target location) covers; for the others the system's reason says more.
bool NameOrLocationCause(FileResult::Cause cause)
{
    switch (cause) {
    case FileResult::none:
    case FileResult::generic:
    case FileResult::fileNotFound:
    case FileResult::badPath:
    case FileResult::accessDenied:
        return true;
    default:
        return false;
    }
}

// Refills a list from location and tells the host.
void RefillList(MainDialogState& state, IDialogHost& host, ListSide side, const std::string& location,
                const std::optional<std::string>& selectKey)
{
    // An empty location names no folder (joined with a separator it would be
    // the root folder): its list is empty.
    ModelListing listing =
        location.empty() ? ModelListing() : FillModelList(host, location, selectKey, &state.m_itemKeys);
    if (side == ListSide::Source) {
        state.sourceList = std::move(listing);
        state.selectedSourceRow = state.sourceList.selected;
        host.ShowModelList(side, state.sourceList);
    } else {
        state.targetList = std::move(listing);
        host.ShowModelList(side, state.targetList);
    }
}

}  // namespace

std::unique_ptr<CModelDataFile> OpenTargetFolder(const MainDialogState& state)
{
    if (state.m_sourceLocation.empty() || state.m_targetLocation.empty())
        return nullptr;
    return std::make_unique<CModelDataFile>(state.m_targetLocation);
}

std::optional<CommandRefusal> CheckConvertTarget(const MainDialogState& state, CModelDataFile* target)
{
    const std::u16string targetText = TransmitterComboText(state.targetTransmitter);
    // An empty location is refused with its group's location message.
    if (state.m_targetLocation.empty())
        return Refusal(FormatString(IDS_TARGET_REFUSED, {targetText, std::u16string()}), FocusTarget::TargetLocation,
                       true);
    if (state.m_sourceLocation.empty())
        return Refusal(LoadString(IDS_NO_SOURCE_LOCATION), FocusTarget::SourceLocation, true);
    // Only plain folders receive PX600 files.
    if (state.targetTransmitter != TX_PX600 || !target || target->m_isVolume)
        return Refusal(FormatString(IDS_TARGET_REFUSED, {targetText, Utf8ToUtf16(state.m_targetLocation)}),
                       FocusTarget::TargetTransmitter, true);
    return std::nullopt;
}

std::string ConvertTargetPath(const std::string& targetLocation, const std::u16string& modelName)
{
    return targetLocation + PathSeparator() + Utf16ToUtf8(modelName) + Utf16ToUtf8(LoadString(IDS_MODEL_EXTENSION));
}

std::optional<CommandRefusal> CheckModelNameForTarget(const std::u16string& modelName, CModelDataFile& target,
                                                      const std::string& targetPath)
{
    const std::u16string targetPathText = Utf8ToUtf16(targetPath);
    // A name the system takes for a device (CON.mdl is the console on
    // Windows, and a folder search finds it everywhere) is no file name:
    // refused before the target is looked up or any file is opened.
    const char16_t* name = modelName.c_str();
    if (!CheckModelNameNotDevice(name))
        return Refusal(FormatString(IDS_TARGET_OPEN_FAILED, {targetPathText}), FocusTarget::ModelName, true);
    // The target file must not exist (the folder search's own matching,
    // which ignores case); the message names the file that exists.
    if (target.FindFirst(targetPath)) {
        target.FindNext();
        const std::string existing = target.GetCurrentName();
        return Refusal(FormatString(IDS_TARGET_EXISTS, {existing.empty() ? targetPathText : Utf8ToUtf16(existing)}),
                       FocusTarget::ModelName, true);
    }
    // Model name: length, then characters, and always the empty rule.
    unsigned nameError = 0;
    if (!CheckModelNameLength(name))
        nameError = IDS_NAME_TOO_LONG;
    else if (!CheckModelNameChars(name))
        nameError = IDS_NAME_BAD_CHAR;
    if (!CheckModelNameEntered(name))
        nameError = IDS_NAME_EMPTY;
    if (nameError)
        return Refusal(LoadString(nameError), FocusTarget::ModelName, true);
    return std::nullopt;
}

namespace {

// What the Convert command checks before it reads the source: the locations,
// the target transmitter and folder, the selected row, the new file's name.
std::optional<CommandRefusal> ValidateConvert(const MainDialogState& state, CModelDataFile* target,
                                              const std::string& targetPath)
{
    if (std::optional<CommandRefusal> refusal = CheckConvertTarget(state, target))
        return refusal;
    const int row = state.selectedSourceRow;
    if (row < 0 || row >= static_cast<int>(state.sourceList.rows.size()))
        return Refusal(LoadString(IDS_NO_SELECTION), FocusTarget::SourceList);
    return CheckModelNameForTarget(state.m_modelName, *target, targetPath);
}

// Writes the new file whole and gives it its name: a hidden temporary file
// beside the target, so that on any failure nothing of it remains.
std::optional<CommandRefusal> StoreTarget(CModelDataPX600& model, const std::string& targetPath)
{
    const std::u16string targetPathText = Utf8ToUtf16(targetPath);
    CAtomicFile out;
    // A full disk and the like are told by the system's own reason.
    if (const FileResult created = out.Create(targetPath); !created.ok)
        return Refusal(NameOrLocationCause(created.cause) ? FormatString(IDS_TARGET_OPEN_FAILED, {targetPathText})
                                                          : FileErrorText(created),
                       FocusTarget::ModelName, true);
    CAtomicFile::Publish published = CAtomicFile::Publish::Stored;
    FileResult result = out.Write(model.GetImage(), PX600_IMAGE_SIZE);
    if (result.ok)
        result = out.Commit(published);
    if (!result.ok)
        return Refusal(FileErrorText(result));
    // A file of that name appeared since the check; it is left alone.
    if (published == CAtomicFile::Publish::Exists)
        return Refusal(FormatString(IDS_TARGET_EXISTS, {targetPathText}), FocusTarget::ModelName, true);
    return std::nullopt;
}

// The switch pass's changes, for the report.
struct ChangeCollector {
    std::vector<CModelDataPX600::SwitchChange> changes;

    static void Observe(const CModelDataPX600::SwitchChange& change, void* context)
    {
        static_cast<ChangeCollector*>(context)->changes.push_back(change);
    }
};

}  // namespace

void RefillAfterStore(MainDialogState& state, IDialogHost& host, const std::string& convertedKey)
{
    RefillList(state, host, ListSide::Target, state.m_targetLocation, std::nullopt);
    if (state.sourceLocationText == state.targetLocationText)
        RefillList(state, host, ListSide::Source, state.m_sourceLocation, convertedKey);
}

void SaveDialogData(MainDialogState& state, IDialogHost& host)
{
    const bool sourceChanged = state.sourceLocationText != state.m_sourceLocation;
    const bool targetChanged = state.targetLocationText != state.m_targetLocation;
    state.m_sourceLocation = state.sourceLocationText;
    state.m_targetLocation = state.targetLocationText;
    state.m_modelName = state.modelNameText;
    if (sourceChanged)
        RefillList(state, host, ListSide::Source, state.m_sourceLocation, std::nullopt);
    if (targetChanged)
        RefillList(state, host, ListSide::Target, state.m_targetLocation, std::nullopt);
}

SourceModel ReadSelectedSource(const MainDialogState& state, SourceRead how)
{
    SourceModel out;
    const int row = state.selectedSourceRow;
    if (row < 0 || row >= static_cast<int>(state.sourceList.rows.size())) {
        out.refusal = Refusal(LoadString(IDS_NO_SELECTION), FocusTarget::SourceList);
        return out;
    }
    const ModelListRow& selected = state.sourceList.rows[static_cast<size_t>(row)];
    const uint16_t type = selected.transmitter;
    const bool whole = how == SourceRead::WholeModel;
    if (whole ? type != state.sourceTransmitter || type == TX_UNKNOWN : type != TX_PX400 && type != TX_PX200) {
        out.refusal = Refusal(LoadString(IDS_WRONG_TRANSMITTER),
                              whole ? FocusTarget::SourceTransmitter : FocusTarget::SourceList);
        return out;
    }
    CModelDataFile file(state.m_sourceLocation);
    if (!file.Open(selected.key, kOpenRead).ok) {
        out.refusal = Refusal(FormatString(IDS_SOURCE_OPEN_FAILED, {Utf8ToUtf16(selected.key)}),
                              FocusTarget::SourceLocation, true);
        return out;
    }
    unsigned count = static_cast<unsigned>(PX400_IMAGE_SIZE);
    FileResult result;
    if (type == TX_PX400) {
        out.model = std::make_unique<CModelDataPX400>();
    } else {
        out.model = std::make_unique<CModelDataPX200>();
        count = PX200_DATA_SIZE;
        if (whole)
            result = PX200ReadCount(file, selected.key, count);
    }
    if (result.ok)
        result = file.Read(out.model->GetImage(), count, out.bytes);
    // Fewer bytes than asked would build the model from zeros.
    if (result.ok && whole && out.bytes != count) {
        result = file.m_isVolume ? FileResult::OsError(TINY_EIO, file.m_currentName)
                                 : FileResult::Failure(FileResult::endOfFile, 0, selected.key);
        result.inImage = file.m_isVolume != 0;
    }
    const FileResult closed = file.Close();
    if (result.ok)
        result = closed;
    if (!result.ok) {
        out.model.reset();
        out.refusal = Refusal(FileErrorText(result));
    }
    return out;
}

bool OnConvert(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable, const ConvertOptions& options)
{
    // Wait cursor; controls into members. Detail choices made for another
    // model than the one selected now do not reach this conversion.
    host.BeginWaitCursor();
    SaveDialogData(state, host);
    // Spaces around a typed name are dropped before anything looks at it.
    state.m_modelName = TrimModelName(state.m_modelName);
    NoteSourceSelection(state, hardwareTable);

    const std::u16string caption = LoadString(IDS_MAIN_CAPTION);
    const std::string targetPath = ConvertTargetPath(state.m_targetLocation, state.m_modelName);
    std::unique_ptr<CModelDataFile> target = OpenTargetFolder(state);

    // Validate, read, build, store; each step may refuse.
    std::optional<CommandRefusal> refusal = ValidateConvert(state, target.get(), targetPath);
    SourceModel source;
    if (!refusal) {
        source = ReadSelectedSource(state, SourceRead::WholeModel);
        refusal = std::move(source.refusal);
    }
    const bool px200 = state.sourceTransmitter == TX_PX200;
    std::unique_ptr<CModelDataPX600> model;
    ChangeCollector collector;
    uint16_t sourceModelType = MODEL_AIRPLANE;
    if (!refusal) {
        const int sizeGood = (px200 && source.bytes != PX200_DATA_SIZE) ? 0 : 1;
        const uint8_t verdict = options.versionCheck ? options.versionCheck(*source.model, sizeGood)
                                                     : source.model->CheckVersion(sizeGood);
        if (verdict == 1 || verdict == 2)
            refusal = Refusal(LoadString(verdict == 1 ? IDS_VERSION_OLD : IDS_VERSION_NEW), FocusTarget::SourceList);
    }
    if (!refusal) {
        model = std::make_unique<CModelDataPX600>(&hardwareTable);
        if (options.report)
            model->SetSwitchObserver(&ChangeCollector::Observe, &collector);
        source.model->PrepareConversion();
        sourceModelType = source.model->GetModelType();
        hardwareTable.m_inUse = IsHardwareTableValid(state, hardwareTable);
        if (state.sourceTransmitter == TX_PX400)
            ConvertFromPX400(*model, *source.model);
        else
            ConvertFromPX200(*model, *source.model);
        model->SetModelName(state.m_modelName.c_str());
        model->UpdateChecksum();
        if (state.m_detailUsed == 1) {
            for (int c = 0; c < CONDITION_COUNT; ++c)
                PutConditionName(model->GetImage(), c, state.m_conditionNames[c]);
            model->UpdateChecksum();
        }
        refusal = StoreTarget(*model, targetPath);
    }
    if (refusal && refusal->focus)
        host.FocusControl(*refusal->focus, refusal->selectAll);

    // Stored: the lists show the new file, and the warnings follow the message.
    std::vector<unsigned> warnings;
    if (!refusal) {
        const std::string key = state.sourceList.rows[static_cast<size_t>(state.selectedSourceRow)].key;
        state.m_detailUsed = 0;
        state.ModelNameStored();
        if (options.refillLists)
            RefillAfterStore(state, host, key);
        unsigned delay = 0;
        if (model->GetDelayWarning()) {
            delay = model->GetModelType() == MODEL_AIRPLANE ? IDS_DELAY_AIR_BRAKE : IDS_DELAY_TRIM_MIX;
            warnings.push_back(delay);
        }
        warnings.push_back(IDS_HARDWARE_WARNING);
        if (options.report) {
            ConversionFacts facts;
            facts.sourceTransmitter = state.sourceTransmitter;
            facts.sourceModelType = sourceModelType;
            facts.targetModelType = model->GetModelType();
            facts.delayWarning = delay;
            facts.sourceBytes = source.bytes;
            facts.table = hardwareTable.m_inUse ? &hardwareTable : nullptr;
            facts.image = model->GetImage();
            facts.changes = std::move(collector.changes);
            facts.curves = CompareCurves(*source.model, *model);
            *options.report = BuildConversionReport(facts);
        }
    }
    source.model.reset();
    model.reset();
    // The main box, then the warnings: the delay, the hardware, and the bytes
    // a short PX200 model lacked (converted as zeros).
    host.MessageBox(refusal ? refusal->text : LoadString(IDS_CONVERTED), caption,
                    refusal ? MessageKind::Error : MessageKind::Information);
    for (unsigned id : warnings)
        host.MessageBox(LoadString(id), caption,
                        id == IDS_HARDWARE_WARNING ? MessageKind::HardwareWarning : MessageKind::Warning);
    if (!refusal && px200 && source.bytes < PX200_DATA_SIZE)
        host.MessageBox(FormatString(IDS_SHORT_MODEL, {static_cast<long long>(source.bytes),
                                                       static_cast<long long>(PX200_DATA_SIZE)}),
                        caption, MessageKind::Warning);
    // The target folder goes.
    target.reset();
    host.EndWaitCursor();
    return !refusal;
}

void ResetHardwareTable(const MainDialogState& state, CConvertHW& hardwareTable)
{
    hardwareTable.ResetRows(state.sourceTransmitter, state.targetTransmitter);
}

int IsHardwareTableValid(const MainDialogState& state, const CConvertHW& hardwareTable)
{
    return IsHardwareTableValid(hardwareTable, state.m_detailUsed, state.sourceTransmitter, state.targetTransmitter);
}

void ConfirmDetailChoices(MainDialogState& state, CConvertHW& hardwareTable, const DetailChoices& choices)
{
    const int row = state.selectedSourceRow;
    const bool selected = row >= 0 && row < static_cast<int>(state.sourceList.rows.size());
    state.m_detailSource = {state.m_sourceLocation, selected ? state.sourceList.rows[static_cast<size_t>(row)].key : "",
                            state.sourceTransmitter};
    state.m_detailUsed = 1;
    for (int c = 0; c < CONDITION_COUNT; ++c)
        state.m_conditionNames[c] = choices.conditionNames[c];
    for (int i = 0; i < CONDITION_COUNT * DUAL_RATE_COUNT; ++i)
        state.m_dualRateNames[i] = choices.dualRateNames[i];
    hardwareTable.ConfirmChoices(choices.hardwareChoice);
}

void NoteSourceSelection(MainDialogState& state, CConvertHW& hardwareTable)
{
    if (!state.m_detailUsed)
        return;
    const DetailSource& made = state.m_detailSource;
    const int row = state.selectedSourceRow;
    const bool selected = row >= 0 && row < static_cast<int>(state.sourceList.rows.size());
    if (state.m_sourceLocation == made.location && state.sourceTransmitter == made.transmitter &&
        (!selected || state.sourceList.rows[static_cast<size_t>(row)].key == made.key))
        return;
    state.m_detailUsed = 0;
    state.m_detailSource = {};
    for (std::u16string& name : state.m_conditionNames)
        name.clear();
    for (std::u16string& name : state.m_dualRateNames)
        name.clear();
    ResetHardwareTable(state, hardwareTable);
}

bool IsTypedConditionNameValid(const std::u16string& text)
{
    for (char16_t unit : text)
        if (unit < 0x20 || unit == 0x7F)
            return false;
    return true;
}

std::u16string ConditionNameRefusal(int condition)
{
    return FormatString(IDS_CONDITION_NAME_CONTROL,
                        {LoadString(IDS_CONDITION_LABEL + static_cast<unsigned>(condition)), condition + 1});
}
