// The Detail command of the main dialog and the data of its detail dialog, as
// logic independent of any widget toolkit: which source is read, which names
// and hardware rows the dialog starts from, what its buttons change, and what
// confirming hands to the main dialog and the hardware table. The widgets only
// show this data and report the user's edits back into it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/ConvertCommand.h"
#include "model/ConvertHW.h"
#include "model/Names.h"

// String ids the detail dialog uses.
enum : unsigned {
    IDS_DETAIL_NAME_NOTICE = 634,
    IDS_ASK_RESET_CONDITIONS = 631,
    IDS_ASK_RESET_DUAL_RATES = 632,
    IDS_ASK_DEFAULT_CONDITIONS = 635,
    IDS_CONDITION_CHOICE = 505,       // 505..512: "Default condition" .. "Condition 8"
    IDS_HARDWARE_EMPTY_LABEL = 2124,  // "----"
    IDS_HARDWARE_OUTCOME = 2140,      // "%s → %s"
    IDS_HARDWARE_NONE = 2141,         // "none"
    IDS_HARDWARE_OUTCOME_TIP = 2142,  // the same in a sentence
    IDS_HARDWARE_NONE_TIP = 2143,     // a control that gets no PX600 control
    IDS_HARDWARE_SHARED_TIP = 1600,   // controls that share one PX600 control
    IDS_CONDITION_SHORTENED_TIP = 1601,
    IDS_CONDITION_SHORTENED = 1602,   // "→ %s"
};

// Units of a condition name that the PX600 keeps and shows.
constexpr size_t PX600_CONDITION_NAME_SHOWN = 8;

// Yes/No question boxes.
class IQuestionHost {
public:
    virtual ~IQuestionHost() = default;
    // A modal box with the question icon and Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::u16string& text, const std::u16string& caption) = 0;
};

// One line of the hardware group as the dialog shows it.
struct DetailHardwareLine {
    bool enabled = false;
    std::u16string label;                 // the source control's name
    std::vector<std::u16string> options;  // the target controls' names, in list order
};

// What the conversion will do with one hardware row, in the pilot's words.
struct DetailHardwareOutcome {
    bool none = false;     // the control gets no target control
    bool shared = false;   // another row's control gets the same target control
    std::u16string text;   // "J1 → J1", "RST → none"
    std::u16string tip;    // the same as a sentence
    // Rows the pilot must not miss.
    bool Marked() const { return none || shared; }
};

// What the PX600 will keep of one condition name.
struct DetailNameMark {
    bool shortened = false;  // the name is longer than the PX600 keeps
    std::u16string text;     // "→ LANDING1"; empty when not shortened
    std::u16string tip;      // the same as a sentence
};

// The detail dialog's data: what it shows, and what its controls change.
class CDetailData {
public:
    int m_dualRateEnabled = 0;
    uint16_t m_targetType = TX_PX600;
    int m_helicopter = 0;
    std::u16string m_conditionText[CONDITION_COUNT];
    std::u16string m_dualRateText[DUAL_RATE_COUNT];
    int m_currentCondition = 0;
    std::u16string m_dualRateNames[CONDITION_COUNT * DUAL_RATE_COUNT];
    std::u16string m_fileConditionNames[CONDITION_COUNT];
    std::u16string m_fileDualRateNames[CONDITION_COUNT * DUAL_RATE_COUNT];
    uint8_t m_hardwareChoice[HW_ROWS] = {};

    // The table the rows come from (its rows as they stood when the dialog
    // was prepared) and the caption of the question boxes.
    int m_sourceType = TX_PX400;
    HardwareRow m_rows[HW_ROWS] = {};
    std::u16string m_caption;

    // Label and list texts of hardware row r (0..29); an empty row is disabled.
    DetailHardwareLine HardwareLine(int row) const;
    // The target that row r gets with its current choice, and how to say it.
    uint8_t ChosenTarget(int row) const;
    // The outcome of every row changes when another row's choice does.
    DetailHardwareOutcome HardwareOutcome(int row) const;
    // A row's list reports a new selection; an index outside its list is ignored.
    void ChooseHardware(int row, int index);
    // What a PX600 target keeps of condition name c (0..7) as m_conditionText
    // holds it now.
    DetailNameMark ConditionNameMark(int condition) const;

    // Dual rate name d of the condition shown now.
    const std::u16string& ShownDualRate(int dualRate) const;
    // The six dual rate edits lost the focus: their texts belong to the
    // condition shown now.
    void StoreDualRates(const std::u16string (&edits)[DUAL_RATE_COUNT]);
    // The condition selector chose another condition (0..7; others ignored).
    void SelectCondition(int condition);

    // The three buttons ask first; each returns true when it changed the data.
    bool ResetConditionNames(IQuestionHost& host);
    bool SetDefaultConditionNames(IQuestionHost& host);
    bool ResetDualRateNames(IQuestionHost& host);

    // The first condition whose name the user typed or changed (it differs
    // from the file's) and that IsTypedConditionNameValid refuses; -1 when
    // none. OK is refused then (ConditionNameRefusal says why).
    int RefusedConditionName() const;

    // What confirming hands over.
    DetailChoices Choices() const;
};

// The dialog itself, run modally on the prepared data.
class IDetailDialog {
public:
    virtual ~IDetailDialog() = default;
    // Shows data and lets the user change it; true when closed with OK.
    virtual bool RunDetailDialog(CDetailData& data) = 0;
};

// Reads the selected source row and prepares the dialog's data: the file's
// names, or those confirmed earlier for this model and not yet consumed by a
// conversion (choices made for another model are dropped first), and
// the hardware table's rows (rebuilt unless still valid). Refusals and file
// errors are shown through host; false then, and nothing has changed.
bool PrepareDetailData(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable, CDetailData& out);

// The Detail command: prepares the data, tells about the PX600's 8-letter
// names, runs the dialog and on OK hands its names to the main dialog and its
// choices to the table. Returns true when the dialog was confirmed. A typed
// condition name that RefusedConditionName names is shown as refused and
// nothing is handed over.
bool OnDetail(MainDialogState& state, IDialogHost& host, CConvertHW& hardwareTable, IDetailDialog& dialog);
