#include "app/ConvertCommand.h"

#include <cstdlib>
#include <memory>

#include "platform/AtomicFile.h"
#include "platform/File.h"
#include "app/Strings.h"
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
constexpr int kEngineNoError = 5;  // reported when a short read inside an image left no error code
constexpr int kFirstEntryNumber = 2;

// Opens a source model for reading. A plain folder reports a failure by the
// result, an image by an exception; both count as "could not open".
bool OpenSource(CModelDataFile& source, const std::string& key)
{
    try {
        return source.Open(key, kOpenRead);
    } catch (const CFileException&) {
        return false;
    }
}

// Bytes of a PX200 source: its directory size inside an image, its length in a
// plain folder; at most the model data size.
unsigned PX200ReadCount(CModelDataFile& source, const std::string& key)
{
    uint64_t size = 0;
    if (source.m_isVolume) {
        const long index = static_cast<long>(static_cast<uint16_t>(DecimalValue(key))) - kFirstEntryNumber;
        if (index >= 0 && index < source.GetFileCount())
            size = source.GetEntry(static_cast<int>(index)).size;
    } else {
        size = source.GetLength();
    }
    return static_cast<unsigned>(std::min<uint64_t>(size, PX200_DATA_SIZE));
}

// Reads count bytes of the open source into buffer. Fewer bytes than asked is
// a failed read: the model would otherwise be built from zeros.
void ReadSource(CModelDataFile& source, uint8_t* buffer, unsigned count, const std::string& key)
{
    const unsigned got = source.Read(buffer, count);
    if (got == count)
        return;
    if (source.m_isVolume) {
        // The engine's count is -1 on a failure and says why through its
        // error code; a short count without one is still an I/O failure.
        int code = got == static_cast<unsigned>(-1) ? TinyGetError() : 0;
        if (code <= 0)
            code = kEngineNoError;
        throw CFileException(CFileException::OsErrorToCause(code), code, source.m_currentName);
    }
    throw CFileException(CFileException::endOfFile, 0, key);
}

// Causes of a failed create that 107's advice (check the model name and the
// target location) covers; for the others the system's reason says more.
bool NameOrLocationCause(CFileException::Cause cause)
{
    switch (cause) {
    case CFileException::none:
    case CFileException::genericException:
    case CFileException::fileNotFound:
    case CFileException::badPath:
    case CFileException::accessDenied:
        return true;
    default:
        return false;
    }
}

struct Message {
    unsigned id = 0;
    std::u16string text;
    unsigned style = MB_ICONSTOP;

    void Set(unsigned messageId, std::initializer_list<FormatArg> args = {})
    {
        id = messageId;
        text = FormatString(messageId, args);
    }
};

// Refills a list from location and tells the host.
void RefillList(MainDialogState& state, IDialogHost& host, int listId, const std::string& location,
                const std::optional<std::string>& selectKey)
{
    // An empty location names no folder (joined with a separator it would be
    // the root folder): its list is empty.
    ModelListing listing =
        location.empty() ? ModelListing() : FillModelList(host, location, selectKey, &state.m_itemKeys);
    if (listId == IDC_SOURCE_LIST) {
        state.sourceList = std::move(listing);
        state.selectedSourceRow = state.sourceList.selected;
        host.ShowModelList(listId, state.sourceList);
    } else {
        state.targetList = std::move(listing);
        host.ShowModelList(listId, state.targetList);
    }
}

}  // namespace

void SaveDialogData(MainDialogState& state, IDialogHost& host)
{
    const bool sourceChanged = state.sourceLocationText != state.m_sourceLocation;
    const bool targetChanged = state.targetLocationText != state.m_targetLocation;
    state.m_sourceLocation = state.sourceLocationText;
    state.m_targetLocation = state.targetLocationText;
    state.m_targetTransmitterText = state.targetTransmitterSelection.value_or(std::u16string());
    state.m_modelName = state.modelNameText;
    if (sourceChanged)
        RefillList(state, host, IDC_SOURCE_LIST, state.m_sourceLocation, std::nullopt);
    if (targetChanged)
        RefillList(state, host, IDC_TARGET_LIST, state.m_targetLocation, std::nullopt);
}

bool OnConvert(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable, const ConvertOptions& options)
{
    // 1. Wait cursor; controls into members. Detail choices made for another
    // model than the one selected now do not reach this conversion.
    host.BeginWaitCursor();
    SaveDialogData(state, host);
    // Spaces around a typed name are dropped before anything looks at it.
    state.m_modelName = TrimModelName(state.m_modelName);
    NoteSourceSelection(state, hardwareTable);

    // 2. File objects, types, caption, extension. None is made on an empty
    // location: it would stand for the root folder.
    const bool locationsGiven = !state.m_sourceLocation.empty() && !state.m_targetLocation.empty();
    std::unique_ptr<CModelDataFile> source, target;
    if (locationsGiven) {
        source = std::make_unique<CModelDataFile>(state.m_sourceLocation);
        target = std::make_unique<CModelDataFile>(state.m_targetLocation);
    }
    const uint16_t targetType = state.TargetTransmitterType();
    const uint16_t sourceType = state.SourceTransmitterType();
    const std::u16string caption = LoadString(IDS_MAIN_CAPTION);
    const std::string extension = Utf16ToUtf8(LoadString(IDS_MODEL_EXTENSION));
    const std::string targetPath =
        state.m_targetLocation + PathSeparator() + Utf16ToUtf8(state.m_modelName) + extension;
    const std::u16string targetPathText = Utf8ToUtf16(targetPath);

    bool warnTrimMix = false, warnAirBrake = false, warnHardware = false;
    std::optional<unsigned> shortModelBytes;  // a PX200 model of fewer bytes than a whole one
    bool stored = false;
    Message message;
    std::unique_ptr<CModelDataBase> sourceModel;
    std::unique_ptr<CModelDataPX600> targetModel;
    std::string keyCopy;

    // Steps 3 to 14; every failure leaves with message set.
    [&] {
        // An empty location is refused with its group's location message.
        if (state.m_targetLocation.empty()) {
            host.FocusControl(IDC_TARGET_LOCATION, true);
            message.Set(IDS_TARGET_REFUSED, {state.m_targetTransmitterText, std::u16string()});
            return;
        }
        if (state.m_sourceLocation.empty()) {
            host.FocusControl(IDC_SOURCE_LOCATION, true);
            message.Set(IDS_NO_SOURCE_LOCATION);
            return;
        }
        // 3. Only plain folders receive PX600 files.
        if (targetType != TX_PX600 || target->m_isVolume) {
            host.FocusControl(IDC_TARGET_TRANSMITTER, true);
            message.Set(IDS_TARGET_REFUSED, {state.m_targetTransmitterText, Utf8ToUtf16(state.m_targetLocation)});
            return;
        }
        // 4. A source row must be selected.
        const int row = state.selectedSourceRow;
        if (row < 0 || row >= static_cast<int>(state.sourceList.rows.size())) {
            host.FocusControl(IDC_SOURCE_LIST, false);
            message.Set(IDS_NO_SELECTION);
            return;
        }
        // A name the system takes for a device (CON.mdl is the console on
        // Windows, and a folder search finds it everywhere) is no file name:
        // refused before the target is looked up or any file is opened.
        if (!CheckModelNameNotDevice(state.m_modelName.c_str())) {
            host.FocusControl(IDC_MODEL_NAME, true);
            message.Set(IDS_TARGET_OPEN_FAILED, {targetPathText});
            return;
        }
        // 5. The target file must not exist (the folder search's own matching,
        // which ignores case); the message names the file that exists.
        if (target->FindFirst(targetPath)) {
            target->FindNext();
            const std::string existing = target->GetCurrentName();
            host.FocusControl(IDC_MODEL_NAME, true);
            message.Set(IDS_TARGET_EXISTS, {existing.empty() ? targetPathText : Utf8ToUtf16(existing)});
            return;
        }
        // 6. Model name: length, then characters, and always the empty rule.
        const char16_t* name = state.m_modelName.c_str();
        unsigned nameError = 0;
        if (!CheckModelNameLength(name))
            nameError = IDS_NAME_TOO_LONG;
        else if (!CheckModelNameChars(name))
            nameError = IDS_NAME_BAD_CHAR;
        if (!CheckModelNameEntered(name))
            nameError = IDS_NAME_EMPTY;
        if (nameError) {
            host.FocusControl(IDC_MODEL_NAME, true);
            message.Set(nameError);
            return;
        }
        // 7. The row must be of the chosen source transmitter.
        const ModelListRow& selected = state.sourceList.rows[static_cast<size_t>(row)];
        const uint16_t rowType = GetItemTransmitterType(selected);
        if (rowType != sourceType || rowType == TX_UNKNOWN || sourceType == TX_UNKNOWN) {
            host.FocusControl(IDC_SOURCE_TRANSMITTER, false);
            message.Set(IDS_WRONG_TRANSMITTER);
            return;
        }
        // 8. Open the source.
        keyCopy = selected.key;
        if (!OpenSource(*source, keyCopy)) {
            host.FocusControl(IDC_SOURCE_LOCATION, true);
            message.Set(IDS_SOURCE_OPEN_FAILED, {Utf8ToUtf16(keyCopy)});
            return;
        }
        // 9. Read the source image.
        unsigned count = 0;
        try {
            if (sourceType == TX_PX400) {
                sourceModel = std::make_unique<CModelDataPX400>();
                count = static_cast<unsigned>(PX400_IMAGE_SIZE);
            } else {
                sourceModel = std::make_unique<CModelDataPX200>();
                count = PX200ReadCount(*source, keyCopy);
            }
            ReadSource(*source, sourceModel->GetImage(), count, keyCopy);
            source->Close();
        } catch (const CFileException& e) {
            message.id = IDS_FILE_ERROR_BASE;
            message.text = FileErrorText(e, source->m_isVolume != 0);
            try {
                source->Close();
            } catch (const CFileException&) {
            }
            return;
        }
        // 10. Version check.
        const int sizeGood = (sourceType == TX_PX200 && count != PX200_DATA_SIZE) ? 0 : 1;
        const uint8_t verdict = options.versionCheck ? options.versionCheck(*sourceModel, sizeGood)
                                                     : sourceModel->CheckVersion(sizeGood);
        if (verdict == 1 || verdict == 2) {
            host.FocusControl(IDC_SOURCE_LIST, false);
            message.Set(verdict == 1 ? IDS_VERSION_OLD : IDS_VERSION_NEW);
            return;
        }
        // 11. Build the PX600 model.
        targetModel = std::make_unique<CModelDataPX600>(&hardwareTable);
        if (options.onSwitchChange)
            targetModel->SetSwitchObserver(options.onSwitchChange, options.context);
        sourceModel->PrepareConversion();
        hardwareTable.m_inUse = IsHardwareTableValid(state, hardwareTable);
        if (sourceType == TX_PX400)
            targetModel->ConvertFromPX400(sourceModel.get());
        else
            targetModel->ConvertFromPX200(sourceModel.get());
        targetModel->SetModelName(name);
        targetModel->UpdateChecksum();
        if (state.m_detailUsed == 1) {
            for (int c = 0; c < CONDITION_COUNT; ++c)
                PutConditionName(targetModel->GetImage(), c, state.m_conditionNames[c]);
            targetModel->UpdateChecksum();
        }
        // 12. Create the new file: a hidden temporary file beside the target.
        // A full disk and the like are told by the system's own reason.
        CAtomicFile out;
        CFileException createError;
        if (!out.Create(targetPath, &createError)) {
            host.FocusControl(IDC_MODEL_NAME, true);
            if (NameOrLocationCause(createError.m_cause)) {
                message.Set(IDS_TARGET_OPEN_FAILED, {targetPathText});
            } else {
                message.id = IDS_FILE_ERROR_BASE;
                message.text = FileErrorText(createError, false);
            }
            return;
        }
        // 13. Write it whole, then give it its name; on any failure nothing
        // of it remains.
        try {
            out.Write(targetModel->GetImage(), PX600_IMAGE_SIZE);
            if (out.Commit() == CAtomicFile::Publish::Exists) {
                // A file of that name appeared since step 5; it is left alone.
                host.FocusControl(IDC_MODEL_NAME, true);
                message.Set(IDS_TARGET_EXISTS, {targetPathText});
                return;
            }
        } catch (const CFileException& e) {
            message.id = IDS_FILE_ERROR_BASE;
            message.text = FileErrorText(e, target->m_isVolume != 0);
            return;
        }
        // 14. Stored.
        stored = true;
        state.m_detailUsed = 0;
        state.ModelNameStored();
        RefillList(state, host, IDC_TARGET_LIST, state.m_targetLocation, std::nullopt);
        if (state.sourceLocationText == state.targetLocationText)
            RefillList(state, host, IDC_SOURCE_LIST, state.m_sourceLocation, keyCopy);
        warnHardware = true;
        if (targetModel->GetDelayWarning()) {
            if (targetModel->GetModelType() == MODEL_AIRPLANE)
                warnAirBrake = true;
            else
                warnTrimMix = true;
        }
        // The bytes a short PX200 model lacks were converted as zeros.
        if (sourceType == TX_PX200 && count < PX200_DATA_SIZE)
            shortModelBytes = count;
        message.Set(IDS_CONVERTED);
        message.style = MB_ICONINFORMATION;
    }();

    // 15. The model objects go.
    sourceModel.reset();
    targetModel.reset();
    // 16, 17. The main box, then the warnings; the hardware warning comes last.
    host.MessageBox(message.text, caption, message.style);
    if (warnTrimMix)
        host.MessageBox(LoadString(IDS_DELAY_TRIM_MIX), caption, MB_ICONEXCLAMATION);
    if (warnAirBrake)
        host.MessageBox(LoadString(IDS_DELAY_AIR_BRAKE), caption, MB_ICONEXCLAMATION);
    if (warnHardware)
        host.MessageBox(LoadString(IDS_HARDWARE_WARNING), caption, MB_ICONEXCLAMATION);
    if (shortModelBytes)
        host.MessageBox(FormatString(IDS_SHORT_MODEL, {static_cast<long long>(*shortModelBytes),
                                                       static_cast<long long>(PX200_DATA_SIZE)}),
                        caption, MB_ICONEXCLAMATION);
    // 18. The file objects go (an image is unmounted).
    source.reset();
    target.reset();
    host.EndWaitCursor();
    return stored;
}

void ResetHardwareTable(const MainDialogState& state, CConvertHW& hardwareTable)
{
    hardwareTable.ResetRows(state.SourceTransmitterType(), state.TargetTransmitterType());
}

int IsHardwareTableValid(const MainDialogState& state, const CConvertHW& hardwareTable)
{
    return IsHardwareTableValid(hardwareTable, state.m_detailUsed, state.SourceTransmitterType(),
                                state.TargetTransmitterType());
}

void ConfirmDetailChoices(MainDialogState& state, CConvertHW& hardwareTable, const DetailChoices& choices)
{
    const int row = state.selectedSourceRow;
    const bool selected = row >= 0 && row < static_cast<int>(state.sourceList.rows.size());
    state.m_detailSource = {state.m_sourceLocation, selected ? state.sourceList.rows[static_cast<size_t>(row)].key : "",
                            state.SourceTransmitterType()};
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
    if (state.m_sourceLocation == made.location && state.SourceTransmitterType() == made.transmitter &&
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
