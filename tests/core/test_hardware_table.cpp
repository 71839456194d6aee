// The hardware switch table: control names and classes, default rows for every
// pair of transmitter types, confirming the detail dialog, and translation.
#include <gtest/gtest.h>

#include <string>

#include "model/ConvertHW.h"

namespace {

constexpr int PX400 = 0, PX200 = 1, PX600 = 2;

// Control codes by name, written out here so the expectations below do not
// lean on the implementation's tables.
enum : uint8_t {
    J1 = 0, J2 = 1, J4 = 2, J3 = 3, SWC = 4, SWD = 5, SWG = 6, SWH = 7, RD = 8, RS = 9,
    RST = 10, SWA = 12, SWB = 13, SWE = 14, SWF = 15, LD = 16, LST = 17, LS = 18, CDSW = 19,
    T1 = 20, T2 = 21, T4 = 22, T3 = 23, T5 = 24, T6 = 25, CD = 26,
    NONE = 0xFF, END = 29,
};

// The tables themselves are checked where they are defined (each type's
// controls have one row each and are offered once in the lists of their
// class); these tests check what the functions and the table make of them.

TEST(HardwareNames, NameIdsFollowWhatEachTypeHas)
{
    for (int type : {PX400, PX200, PX600}) {
        EXPECT_EQ(GetHardwareNameId(type, J3), 803u);
        EXPECT_EQ(GetHardwareNameId(type, 11), 899u);
        EXPECT_EQ(GetHardwareNameId(type, NONE), 899u);
    }
    // Controls only some types have.
    EXPECT_EQ(GetHardwareNameId(PX400, CD), 826u);
    EXPECT_EQ(GetHardwareNameId(PX200, T5), 899u);
    EXPECT_EQ(GetHardwareNameId(PX600, T5), 824u);
    EXPECT_EQ(GetHardwareNameId(PX600, CD), 899u);
    // Values no caller should pass still give "NULL" rather than reading past a table.
    EXPECT_EQ(GetHardwareNameId(PX400, 29), 899u);
    EXPECT_EQ(GetHardwareNameId(PX400, 0x3E), 899u);
    EXPECT_EQ(GetHardwareNameId(7, J1), 899u);
    EXPECT_EQ(GetHardwareNameId(-1, J1), 899u);
}

TEST(HardwareNames, ClassesAndOptionListsEndSafely)
{
    for (int type : {PX400, PX200, PX600}) {
        EXPECT_EQ(IsProportionalHardware(type, J1), 1);
        EXPECT_EQ(IsProportionalHardware(type, SWA), 0);
        for (uint8_t code : {NONE, END})
            EXPECT_EQ(IsProportionalHardware(type, code), 0);
        for (int index : {-1, HW_OPTIONS, 1000}) {
            EXPECT_EQ(GetProportionalOption(type, index), END);
            EXPECT_EQ(GetSwitchOption(type, index), END);
        }
    }
    EXPECT_EQ(IsProportionalHardware(PX400, RST), 1);
    EXPECT_EQ(IsProportionalHardware(PX400, CDSW), 0);
    for (int type : {3, 5, -1}) {
        EXPECT_EQ(IsProportionalHardware(type, J1), 0);
        EXPECT_EQ(GetProportionalOption(type, 0), END);
        EXPECT_EQ(GetSwitchOption(type, 0), END);
    }
}

// Every pair of types: a row for each control of the source type; its target
// is the control itself, preselected where the target type offers it, except
// for the PX400's controls that the PX200 and the PX600 cannot take; the
// choices are those of the target type in the class of the source control.
TEST(HardwareTableDefaults, EveryPairTakesEachControlOverWhereItCan)
{
    for (int s = 0; s < 3; ++s) {
        for (int t = 0; t < 3; ++t) {
            SCOPED_TRACE("pair " + std::to_string(s) + "->" + std::to_string(t));
            CConvertHW hw;
            hw.ResetRows(s, t);
            EXPECT_EQ(hw.m_sourceType, s);
            EXPECT_EQ(hw.m_targetType, t);
            int rows = 0;
            for (const HardwareRow& row : hw.m_rows) {
                if (row.source == END) {
                    EXPECT_EQ(row.target, NONE);
                    EXPECT_EQ(row.selection, 0);
                    for (uint8_t o : row.options)
                        EXPECT_EQ(o, END);
                    continue;
                }
                ++rows;
                SCOPED_TRACE("control " + std::to_string(row.source));
                EXPECT_NE(GetHardwareNameId(s, row.source), 899u);
                const bool dropped = s == PX400 && t != PX400 &&
                                     (row.source == RST || row.source == LST || row.source == CD || row.source == CDSW);
                EXPECT_EQ(row.target, dropped ? uint8_t{NONE} : row.source);
                const bool proportional = IsProportionalHardware(s, row.source);
                int offered = 0;
                for (int j = 0; j < HW_OPTIONS; ++j) {
                    EXPECT_EQ(row.options[j], proportional ? GetProportionalOption(t, j) : GetSwitchOption(t, j));
                    if (j > 0 && row.options[j] == row.target)
                        offered = j;
                }
                EXPECT_EQ(row.selection, offered);
            }
            int controls = 0;
            for (int code = 0; code < 29; ++code)
                controls += GetHardwareNameId(s, uint8_t(code)) != 899u;
            EXPECT_EQ(rows, controls);
        }
    }
    // T5 and T6 are convertible but missing from the PX200's choices: they
    // keep their own code as target and show "NULL".
    CConvertHW hw;
    hw.ResetRows(PX400, PX200);
    EXPECT_EQ(hw.m_rows[8].source, T5);
    EXPECT_EQ(hw.m_rows[8].target, T5);
    EXPECT_EQ(hw.m_rows[8].selection, 0);
}

TEST(HardwareTableDefaults, ResettingOverwritesEarlierChoicesAndUnknownSourcesGiveEmptyRows)
{
    CConvertHW hw;
    hw.ResetRows(PX400, PX600);
    uint8_t choice[HW_ROWS] = {};
    hw.ConfirmChoices(choice);
    hw.ResetRows(PX400, PX600);
    EXPECT_EQ(hw.m_rows[0].target, J1);
    EXPECT_EQ(hw.m_rows[0].selection, 5);

    hw.ResetRows(9, PX600);
    for (const HardwareRow& row : hw.m_rows) {
        EXPECT_EQ(row.source, END);
        EXPECT_EQ(row.target, NONE);
    }
}

TEST(HardwareTableConfirm, ChoicesSetTargetsByTheSourceClass)
{
    CConvertHW hw;
    hw.ResetRows(PX400, PX600);
    uint8_t choice[HW_ROWS];
    for (int r = 0; r < HW_ROWS; ++r)
        choice[r] = hw.m_rows[r].selection;
    choice[0] = 0;   // J1 -> NULL
    choice[4] = 13;  // T1 -> T5
    choice[12] = 1;  // SW-C -> SW-A
    choice[22] = 1;  // RST (proportional) -> RD
    choice[25] = 8;  // CD-SW (switch) -> SW-H
    choice[27] = 5;  // an empty row reports something odd
    hw.ConfirmChoices(choice);

    EXPECT_EQ(hw.m_rows[0].target, NONE);
    EXPECT_EQ(hw.m_rows[0].selection, 0);
    EXPECT_EQ(hw.m_rows[4].target, T5);
    EXPECT_EQ(hw.m_rows[12].target, SWA);
    EXPECT_EQ(hw.m_rows[12].selection, 1);
    EXPECT_EQ(hw.m_rows[22].target, RD);
    EXPECT_EQ(hw.m_rows[25].target, SWH);
    EXPECT_EQ(hw.m_rows[27].target, NONE);
    EXPECT_EQ(hw.m_rows[27].selection, 0);
    // Unchanged choices give the defaults back.
    EXPECT_EQ(hw.m_rows[1].target, J2);
    EXPECT_EQ(hw.m_rows[21].target, LS);
    // The options and sources are not touched.
    EXPECT_EQ(hw.m_rows[12].source, SWC);
    EXPECT_EQ(hw.m_rows[12].options[3], SWC);
}

TEST(HardwareTableTranslate, LowBitsReplacedFlagsKept)
{
    CConvertHW hw;
    hw.ResetRows(PX400, PX600);
    uint8_t choice[HW_ROWS];
    for (int r = 0; r < HW_ROWS; ++r)
        choice[r] = hw.m_rows[r].selection;
    choice[12] = 1;  // SW-C -> SW-A
    hw.ConfirmChoices(choice);

    uint8_t field = 0xC0 | SWC;
    hw.TranslateControl(&field);
    EXPECT_EQ(field, 0xC0 | SWA);
    field = 0x40 | SWC;
    hw.TranslateControl(&field);
    EXPECT_EQ(field, 0x40 | SWA);
    field = SWB;
    hw.TranslateControl(&field);
    EXPECT_EQ(field, SWB);
    // No row for code 11: unchanged.
    field = 0x80 | 11;
    hw.TranslateControl(&field);
    EXPECT_EQ(field, 0x80 | 11);
}

TEST(HardwareTableTranslate, LookUpAndFindRow)
{
    CConvertHW hw;
    hw.ResetRows(PX400, PX600);
    uint8_t target = 0x55;
    EXPECT_TRUE(hw.LookUp(SWD, target));
    EXPECT_EQ(target, SWD);
    EXPECT_FALSE(hw.LookUp(CDSW, target));  // row exists, target none
    EXPECT_FALSE(hw.LookUp(11, target));    // no row
    EXPECT_FALSE(hw.LookUp(END, target));   // first empty row, target none
    ASSERT_NE(hw.FindRow(END), nullptr);
    EXPECT_EQ(hw.FindRow(END), &hw.m_rows[26]);
    EXPECT_EQ(hw.FindRow(CDSW), &hw.m_rows[25]);
    EXPECT_EQ(hw.FindRow(NONE), nullptr);
}

TEST(HardwareTableValid, NeedsConfirmationAndTheSamePair)
{
    CConvertHW hw;
    hw.ResetRows(PX200, PX600);
    EXPECT_EQ(IsHardwareTableValid(hw, 1, PX200, PX600), 1);
    EXPECT_EQ(IsHardwareTableValid(hw, 0, PX200, PX600), 0);
    EXPECT_EQ(IsHardwareTableValid(hw, 1, PX400, PX600), 0);
    EXPECT_EQ(IsHardwareTableValid(hw, 1, PX200, PX400), 0);
}

}  // namespace
