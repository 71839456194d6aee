// Control codes of the three transmitter types and the hardware switch table:
// for each control of the source transmitter, the control of the target
// transmitter that takes its place.
#pragma once

#include <cstdint>

constexpr uint8_t HW_NONE = 0xFF;      // no control
constexpr uint8_t HW_END = 29;         // end of an option list; empty row
constexpr int HW_ROWS = 30;
constexpr int HW_OPTIONS = 19;

// String id of a control's name on a transmitter type (899 "NULL" for 0xFF and
// for a code the type lacks).
unsigned GetHardwareNameId(int transmitterType, uint8_t code);
int IsProportionalHardware(int transmitterType, uint8_t code);
uint8_t GetProportionalOption(int transmitterType, int index);
uint8_t GetSwitchOption(int transmitterType, int index);

struct HardwareRow {
    uint8_t source;               // source control code, HW_END for an empty row
    uint8_t target;               // target control code, HW_NONE for none
    uint8_t selection;            // index into options shown as chosen
    uint8_t options[HW_OPTIONS];  // target codes offered, ended by HW_END
};
static_assert(sizeof(HardwareRow) == 22);

class CConvertHW {
public:
    CConvertHW() = default;
    virtual ~CConvertHW() = default;

    static uint8_t GetDefaultTarget(uint8_t code, int sourceType, int targetType);

    // Default rows for a pair of transmitter types.
    void ResetRows(int sourceType, int targetType);
    // Confirming the detail dialog: row r takes choice[r] as its selection and
    // the option it designates as its target.
    void ConfirmChoices(const uint8_t choice[HW_ROWS]);

    // Replaces the low 6 bits of field by the target of the first row whose
    // source equals them; bits 6 and 7 stay. Unchanged when no row matches.
    void TranslateControl(uint8_t* field) const;
    // The first row whose source is code, or nullptr.
    const HardwareRow* FindRow(uint8_t code) const;
    // The usable target for code: true and its target when a row exists whose
    // target is not 0xFF.
    bool LookUp(uint8_t code, uint8_t& target) const;

    int m_sourceType = 0;
    int m_targetType = 0;
    HardwareRow m_rows[HW_ROWS] = {};
    int m_inUse = 0;
};

// The program's one table, alive for the whole run.
CConvertHW& TheConvertHW();

// 1 when the detail dialog was confirmed (detailUsed) and the table was built
// for exactly this pair of transmitter types; the table is then applied to the
// conversion.
int IsHardwareTableValid(const CConvertHW& table, int detailUsed, int sourceType, int targetType);
