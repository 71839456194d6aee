// The controls of the three transmitter types as data tables, and the hardware
// switch table built from them.
#include "model/ConvertHW.h"

#include <cstddef>

namespace {

constexpr int kTypes = 3;          // PX400, PX200, PX600
constexpr int kCodes = 29;         // codes 0..28 have a name table entry
constexpr int kSwitchOptions = 12; // places of a switch option list
constexpr unsigned kNullName = 899;

constexpr bool IsKnownType(int type) { return type >= 0 && type < kTypes; }

// String id of each code 0..28, per type; 899 "NULL" where the type lacks the
// control.
constexpr unsigned short kNameIds[kTypes][kCodes] = {
    // PX400: everything but 11, 27 and 28
    {800, 801, 802, 803, 804, 805, 806, 807, 808, 809, 810, 899, 812, 813, 814,
     815, 816, 817, 818, 819, 820, 821, 822, 823, 824, 825, 826, 899, 899},
    // PX200: no RST, LST, CD-SW, T5, T6, CD
    {800, 801, 802, 803, 804, 805, 806, 807, 808, 809, 899, 899, 812, 813, 814,
     815, 816, 899, 818, 899, 820, 821, 822, 823, 899, 899, 899, 899, 899},
    // PX600: no RST, LST, CD-SW, CD
    {800, 801, 802, 803, 804, 805, 806, 807, 808, 809, 899, 899, 812, 813, 814,
     815, 816, 899, 818, 899, 820, 821, 822, 823, 824, 825, 899, 899, 899},
};

// Proportional controls (sticks, knobs, sliders, trims) of each type; every
// other code is a switch. Ended by HW_END.
constexpr uint8_t kProportional[kTypes][18] = {
    {0, 1, 2, 3, 8, 9, 10, 16, 17, 18, 20, 21, 22, 23, 24, 25, 26, HW_END},
    {0, 1, 2, 3, 8, 9, 16, 18, 20, 21, 22, 23, HW_END},
    {0, 1, 2, 3, 8, 9, 16, 18, 20, 21, 22, 23, 24, 25, HW_END},
};

// Choices a row offers, in the order the detail dialog lists them. Index 0 is
// always "none"; the list ends at the first HW_END and is padded with it.
constexpr uint8_t kProportionalOptions[kTypes][HW_OPTIONS] = {
    // none, RD, LD, RS, RST, LS, LST, CD, J1, J2, J3, J4, T1, T2, T3, T4, T5, T6
    {HW_NONE, 8, 16, 9, 10, 18, 17, 26, 0, 1, 3, 2, 20, 21, 23, 22, 24, 25, HW_END},
    // none, RD, LD, RS, LS, J1, J2, J3, J4, T1, T2, T3, T4
    {HW_NONE, 8, 16, 9, 18, 0, 1, 3, 2, 20, 21, 23, 22,
     HW_END, HW_END, HW_END, HW_END, HW_END, HW_END},
    // none, RD, LD, RS, LS, J1, J2, J3, J4, T1, T2, T3, T4, T5, T6
    {HW_NONE, 8, 16, 9, 18, 0, 1, 3, 2, 20, 21, 23, 22, 24, 25,
     HW_END, HW_END, HW_END, HW_END},
};

constexpr uint8_t kSwitchOptionList[kTypes][kSwitchOptions] = {
    // none, SW-A, SW-B, SW-C, SW-D, SW-E, SW-F, SW-G, SW-H, CD-SW
    {HW_NONE, 12, 13, 4, 5, 14, 15, 6, 7, 19, HW_END, HW_END},
    // none, SW-A, SW-B, SW-C, SW-D, SW-E, SW-F, SW-G, SW-H
    {HW_NONE, 12, 13, 4, 5, 14, 15, 6, 7, HW_END, HW_END, HW_END},
    {HW_NONE, 12, 13, 4, 5, 14, 15, 6, 7, HW_END, HW_END, HW_END},
};

// The control each of the 30 rows stands for, by source type. Rows keep their
// place across types: 8 and 9 are always the T5 and T6 rows.
constexpr uint8_t E = HW_END;
constexpr uint8_t kRowSources[kTypes][HW_ROWS] = {
    // J1 J2 J3 J4 | T1 T2 T3 T4 | T5 T6 | SW-A..SW-H | RD LD RS LS | RST LST CD CD-SW | empty
    {0, 1, 3, 2, 20, 21, 23, 22, 24, 25, 12, 13, 4, 5, 14, 15, 6, 7,
     8, 16, 9, 18, 10, 17, 26, 19, E, E, E, E},
    {0, 1, 3, 2, 20, 21, 23, 22, E, E, 12, 13, 4, 5, 14, 15, 6, 7,
     8, 16, 9, 18, E, E, E, E, E, E, E, E},
    {0, 1, 3, 2, 20, 21, 23, 22, 24, 25, 12, 13, 4, 5, 14, 15, 6, 7,
     8, 16, 9, 18, E, E, E, E, E, E, E, E},
};

// Controls that a target cannot take, per (source, target) pair, padded with
// HW_END. The padding is part of every list, so an empty row is always
// unconvertible.
constexpr int kUnconvertibleSize = 9;
constexpr uint8_t kNoUnconvertible[kUnconvertibleSize] = {E, E, E, E, E, E, E, E, E};
constexpr uint8_t kPX400Unconvertible[kUnconvertibleSize] = {10, 17, 26, 19, E, E, E, E, E};

constexpr bool ListContains(const uint8_t* list, int size, uint8_t code)
{
    for (int i = 0; i < size; ++i)
        if (list[i] == code)
            return true;
    return false;
}

constexpr bool InProportionalClass(int type, uint8_t code)
{
    for (uint8_t c : kProportional[type]) {
        if (c == HW_END)
            return false;
        if (c == code)
            return true;
    }
    return false;
}

// Static checks: the tables describe the same controls. Each control a type
// names has one row, in the place the row has for every type, and is offered
// once, in the option list of its class; "none" comes first, the end mark pads
// each list. What the PX400 cannot hand over are controls the PX600 lacks.
constexpr bool HasControl(int type, uint8_t code)
{
    return code < kCodes && kNameIds[type][code] != kNullName;
}

constexpr bool ListFits(int type, const uint8_t* list, int size, bool proportional, int& offered, bool seen[kCodes])
{
    for (int i = 1; i < size && list[i] != HW_END; ++i, ++offered) {
        if (!HasControl(type, list[i]) || seen[list[i]] || proportional != InProportionalClass(type, list[i]))
            return false;
        seen[list[i]] = true;
    }
    for (int i = offered + 1; i < size; ++i)
        if (list[i] != HW_END)
            return false;
    return list[0] == HW_NONE;
}

constexpr bool TablesAgree()
{
    for (int t = 0; t < kTypes; ++t) {
        int controls = 0, rows = 0, proportional = 0, switches = 0;
        bool seenRow[kCodes] = {}, seenOption[kCodes] = {};
        for (int c = 0; c < kCodes; ++c) {
            if (kNameIds[t][c] != kNullName && kNameIds[t][c] != 800 + c)
                return false;
            controls += HasControl(t, uint8_t(c));
        }
        for (int r = 0; r < HW_ROWS; ++r) {
            const uint8_t code = kRowSources[t][r];
            if (code == E)
                continue;
            if (!HasControl(t, code) || seenRow[code] || code != kRowSources[0][r])
                return false;
            seenRow[code] = true;
            ++rows;
        }
        if (!ListFits(t, kProportionalOptions[t], HW_OPTIONS, true, proportional, seenOption) ||
            !ListFits(t, kSwitchOptionList[t], kSwitchOptions, false, switches, seenOption) || rows != controls ||
            proportional + switches != controls)
            return false;
    }
    for (uint8_t code : kPX400Unconvertible)
        if (code != E && (!HasControl(0, code) || HasControl(2, code)))
            return false;
    return true;
}
static_assert(TablesAgree());

const uint8_t* UnconvertibleList(int sourceType, int targetType)
{
    if (sourceType == 0 && (targetType == 1 || targetType == 2))
        return kPX400Unconvertible;
    return kNoUnconvertible;
}

// Option j of the list a row of this source control offers: the class is
// decided by the source type, the choices by the target type.
uint8_t RowOption(int sourceType, int targetType, uint8_t source, int index)
{
    return IsProportionalHardware(sourceType, source) ? GetProportionalOption(targetType, index)
                                                      : GetSwitchOption(targetType, index);
}

}  // namespace

unsigned GetHardwareNameId(int transmitterType, uint8_t code)
{
    if (code == HW_NONE || !IsKnownType(transmitterType) || code >= kCodes)
        return kNullName;
    return kNameIds[transmitterType][code];
}

int IsProportionalHardware(int transmitterType, uint8_t code)
{
    return IsKnownType(transmitterType) && code != HW_END && code != HW_NONE &&
           InProportionalClass(transmitterType, code);
}

uint8_t GetProportionalOption(int transmitterType, int index)
{
    if (!IsKnownType(transmitterType) || index < 0 || index >= HW_OPTIONS)
        return HW_END;
    return kProportionalOptions[transmitterType][index];
}

uint8_t GetSwitchOption(int transmitterType, int index)
{
    if (!IsKnownType(transmitterType) || index < 0 || index >= kSwitchOptions)
        return HW_END;
    return kSwitchOptionList[transmitterType][index];
}

uint8_t CConvertHW::GetDefaultTarget(uint8_t code, int /*sourceType*/, int /*targetType*/)
{
    return code;
}

void CConvertHW::ResetRows(int sourceType, int targetType)
{
    m_sourceType = sourceType;
    m_targetType = targetType;
    const uint8_t* unconvertible = UnconvertibleList(sourceType, targetType);

    for (int r = 0; r < HW_ROWS; ++r) {
        // An unknown source type has no controls: every row is empty.
        const uint8_t code = IsKnownType(sourceType) ? kRowSources[sourceType][r] : HW_END;
        const uint8_t fallback = GetDefaultTarget(code, sourceType, targetType);
        const bool isUnconvertible = ListContains(unconvertible, kUnconvertibleSize, code);

        HardwareRow& row = m_rows[r];
        row.source = code;
        row.target = isUnconvertible ? HW_NONE : code;
        row.selection = 0;
        for (int j = 0; j < HW_OPTIONS; ++j) {
            row.options[j] = code == HW_END ? HW_END : RowOption(sourceType, targetType, code, j);
            if (!isUnconvertible && row.options[j] == fallback)
                row.selection = static_cast<uint8_t>(j);
        }
    }
}

void CConvertHW::ConfirmChoices(const uint8_t choice[HW_ROWS])
{
    for (int r = 0; r < HW_ROWS; ++r) {
        HardwareRow& row = m_rows[r];
        // An empty row's list is disabled; whatever it reports, it stands at "none".
        const uint8_t sel = row.source == HW_END ? 0 : choice[r];
        row.target = RowOption(m_sourceType, m_targetType, row.source, sel);
        row.selection = sel;
    }
}

void CConvertHW::TranslateControl(uint8_t* field) const
{
    const HardwareRow* row = FindRow(static_cast<uint8_t>(*field & 0x3F));
    if (row)
        *field = static_cast<uint8_t>((*field & 0xC0) | (row->target & 0x3F));
}

const HardwareRow* CConvertHW::FindRow(uint8_t code) const
{
    for (const HardwareRow& row : m_rows)
        if (row.source == code)
            return &row;
    return nullptr;
}

bool CConvertHW::LookUp(uint8_t code, uint8_t& target) const
{
    const HardwareRow* row = FindRow(code);
    if (!row || row->target == HW_NONE)
        return false;
    target = row->target;
    return true;
}

int IsHardwareTableValid(const CConvertHW& table, int detailUsed, int sourceType, int targetType)
{
    return detailUsed && table.m_sourceType == sourceType && table.m_targetType == targetType ? 1 : 0;
}

CConvertHW& TheConvertHW()
{
    static CConvertHW table;
    return table;
}
