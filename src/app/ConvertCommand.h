// The Convert command of the main dialog, and the detail-dialog choices it
// consumes, as logic independent of any widget toolkit. The dialog's state is
// a plain object; everything the dialog shows goes through IDialogHost.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ConversionReport.h"
#include "app/DialogHost.h"
#include "app/ModelList.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "model/Names.h"

class CModelDataFile;

// The model that confirmed detail choices were made for: the location its
// list was filled from, its key there and the source transmitter chosen.
struct DetailSource {
    std::string location;
    std::string key;
    uint16_t transmitter = TX_UNKNOWN;
};

// The main dialog's controls and members as the command reads and changes them.
struct MainDialogState {
    // The transmitter types chosen in the two groups (TX_UNKNOWN: none).
    uint16_t sourceTransmitter = TX_UNKNOWN;
    uint16_t targetTransmitter = TX_UNKNOWN;
    // Texts the location combo boxes show now, and the locations the lists
    // were last filled from.
    std::string sourceLocationText;
    std::string targetLocationText;
    std::string m_sourceLocation;
    std::string m_targetLocation;
    // Text of the model name edit and its member.
    std::u16string modelNameText;
    std::u16string m_modelName;

    ModelListing sourceList;
    ModelListing targetList;
    int selectedSourceRow = -1;  // -1: no row selected

    // The model name edit follows the selected source row while it holds
    // what the program put there; a name the pilot typed stays until the
    // next stored conversion.
    bool modelNameTyped = false;
    // The pilot edited the name; an edit he empties is the program's again.
    void ModelNameEdited(std::u16string text)
    {
        modelNameText = std::move(text);
        modelNameTyped = !modelNameText.empty();
    }
    // A name the program puts there (a double click copies a row's name).
    void ModelNameCopied(std::u16string text)
    {
        modelNameText = std::move(text);
        modelNameTyped = false;
    }
    // selectedSourceRow changed: true when the edit now shows that row's
    // model name (in modelNameText).
    bool FollowSourceSelection()
    {
        if (modelNameTyped || selectedSourceRow < 0 || selectedSourceRow >= static_cast<int>(sourceList.rows.size()))
            return false;
        modelNameText = sourceList.rows[static_cast<size_t>(selectedSourceRow)].columns[1];
        return true;
    }
    // A conversion was stored: its name is done with, the next selection
    // brings its own.
    void ModelNameStored() { modelNameTyped = false; }

    int m_detailUsed = 0;
    std::u16string m_conditionNames[CONDITION_COUNT];
    std::u16string m_dualRateNames[CONDITION_COUNT * DUAL_RATE_COUNT];
    DetailSource m_detailSource;  // what m_detailUsed, the names and the table's rows hold for
    std::vector<std::string> m_itemKeys;
};

// The saving direction of the dialog data exchange: the controls' texts go
// into the members, and a list whose location text changed is refilled from
// its new location (first row selected).
void SaveDialogData(MainDialogState& state, IDialogHost& host);

// Why a command stops: the message it shows, and the control that gets the
// focus (none after a file error).
struct CommandRefusal {
    std::u16string text;
    std::optional<FocusTarget> focus;
    bool selectAll = false;
};

// The rules by which a command reads the selected source.
enum class SourceRead {
    // Convert: the row must be of the transmitter chosen in the dialog; every
    // byte the file holds is read (a PX200's up to one model), and fewer bytes
    // than that is a file error.
    WholeModel,
    // Detail: the row must be a PX400 or a PX200; a whole model is asked for,
    // and a shorter file leaves the rest of the image zero.
    Names,
};

// The selected source model as read, or why it was not.
struct SourceModel {
    std::unique_ptr<CModelDataBase> model;  // none after a refusal
    unsigned bytes = 0;                     // bytes read into its image
    std::optional<CommandRefusal> refusal;
};

// Reads the selected row's model: the row, its transmitter type, the open and
// the read, each refused by the rules of how.
SourceModel ReadSelectedSource(const MainDialogState& state, SourceRead how);

// Optional hooks of one conversion.
struct ConvertOptions {
    // Stands in for the source's own version verdict (tests of the refusals
    // that no model class of this program gives).
    uint8_t (*versionCheck)(CModelDataBase& source, int sizeGood) = nullptr;
    // A stored conversion refills the lists (RefillAfterStore). A run of
    // several conversions refills them once, after the last.
    bool refillLists = true;
    // Receives the report of a stored conversion before its messages are
    // shown (left as it was when nothing is stored).
    ConversionReport* report = nullptr;
};

// The file object on the target folder, none while either location is empty
// (an empty location would stand for the root folder).
std::unique_ptr<CModelDataFile> OpenTargetFolder(const MainDialogState& state);
// The Convert command's checks of the target group: both locations given, a
// PX600 target in a plain folder (target is the file object on the target
// location, none for an empty location).
std::optional<CommandRefusal> CheckConvertTarget(const MainDialogState& state, CModelDataFile* target);
// The file a model name is stored as: location, separator, name, ".mdl".
std::string ConvertTargetPath(const std::string& targetLocation, const std::u16string& modelName);
// The Convert command's checks of a (trimmed) model name, in its order: no
// device name, no file of that name in the target folder (the folder search
// ignores case), then the length, character and empty rules.
std::optional<CommandRefusal> CheckModelNameForTarget(const std::u16string& modelName, CModelDataFile& target,
                                                      const std::string& targetPath);
// After a stored conversion: the target list refilled, and the source list
// when both groups show one folder, with the converted row selected.
void RefillAfterStore(MainDialogState& state, IDialogHost& host, const std::string& convertedKey);

// The Convert command. Returns true when the new file was stored.
bool OnConvert(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable,
               const ConvertOptions& options = {});

// ---- Detail dialog choices ---------------------------------------------------

// What confirming the detail dialog hands over.
struct DetailChoices {
    std::u16string conditionNames[CONDITION_COUNT];
    std::u16string dualRateNames[CONDITION_COUNT * DUAL_RATE_COUNT];
    uint8_t hardwareChoice[HW_ROWS] = {};
};

// Default rows of the hardware table for the transmitter types chosen now.
void ResetHardwareTable(const MainDialogState& state, CConvertHW& hardwareTable);
// 1 when the detail dialog was confirmed since the last stored conversion and
// the table was built for the transmitter types chosen now.
int IsHardwareTableValid(const MainDialogState& state, const CConvertHW& hardwareTable);

// Prepares the detail dialog for the selected source row: reads the source
// file's names and brings the table up to date (an earlier confirmation for
// this model not yet consumed is shown again). Refusals are shown through the
// host, as the Detail command shows them; returns false then. The notice about
// names of more than 8 letters is the Detail command's (OnDetail, DetailCommand.h).
bool PrepareDetailChoices(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable,
                          DetailChoices& out);
// Confirming the detail dialog: the names go to the main dialog, the choices
// to the table's rows, and the choices count for the next conversion of the
// selected model.
void ConfirmDetailChoices(MainDialogState& state, CConvertHW& hardwareTable, const DetailChoices& choices);
// The source selection as it stands now was reported. Choices confirmed for
// another model (another key, location or source transmitter) are dropped:
// m_detailUsed 0, the names cleared, the table's rows back to the defaults.
// No selected row drops nothing by itself.
void NoteSourceSelection(MainDialogState& state, CConvertHW& hardwareTable);

// A condition name the pilot typed must not hold a C0 control character
// (U+0000..U+001F) or DEL: the model file would keep it as it is. Names read
// from the source are not checked.
bool IsTypedConditionNameValid(const std::u16string& text);
// The refusal of a typed name of condition c (0..7), naming the condition.
std::u16string ConditionNameRefusal(int condition);
