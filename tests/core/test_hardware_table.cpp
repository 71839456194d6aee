// The hardware switch table: control names and classes, default rows for every
// pair of transmitter types, confirming the detail dialog, and translation.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

struct ExpectedRow {
    uint8_t source;
    uint8_t target;
    uint8_t selection;
};

void ExpectRows(const CConvertHW& hw, const std::vector<ExpectedRow>& rows)
{
    ASSERT_EQ(rows.size(), static_cast<size_t>(HW_ROWS));
    for (int r = 0; r < HW_ROWS; ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        EXPECT_EQ(hw.m_rows[r].source, rows[r].source);
        EXPECT_EQ(hw.m_rows[r].target, rows[r].target);
        EXPECT_EQ(hw.m_rows[r].selection, rows[r].selection);
    }
}

const ExpectedRow kEmpty{END, NONE, 0};

TEST(HardwareNames, NameIdsFollowWhatEachTypeHas)
{
    // Every type: sticks and switches common to all three.
    for (int type : {PX400, PX200, PX600}) {
        EXPECT_EQ(GetHardwareNameId(type, J1), 800u);
        EXPECT_EQ(GetHardwareNameId(type, J3), 803u);
        EXPECT_EQ(GetHardwareNameId(type, SWA), 812u);
        EXPECT_EQ(GetHardwareNameId(type, T1), 820u);
        EXPECT_EQ(GetHardwareNameId(type, 11), 899u);
        EXPECT_EQ(GetHardwareNameId(type, 27), 899u);
        EXPECT_EQ(GetHardwareNameId(type, 28), 899u);
        EXPECT_EQ(GetHardwareNameId(type, NONE), 899u);
    }
    // Controls only some types have.
    EXPECT_EQ(GetHardwareNameId(PX400, RST), 810u);
    EXPECT_EQ(GetHardwareNameId(PX400, CDSW), 819u);
    EXPECT_EQ(GetHardwareNameId(PX400, CD), 826u);
    EXPECT_EQ(GetHardwareNameId(PX200, RST), 899u);
    EXPECT_EQ(GetHardwareNameId(PX200, T5), 899u);
    EXPECT_EQ(GetHardwareNameId(PX200, T6), 899u);
    EXPECT_EQ(GetHardwareNameId(PX600, T5), 824u);
    EXPECT_EQ(GetHardwareNameId(PX600, LST), 899u);
    EXPECT_EQ(GetHardwareNameId(PX600, CD), 899u);
    // Values no caller should pass still give "NULL" rather than reading past a table.
    EXPECT_EQ(GetHardwareNameId(PX400, 29), 899u);
    EXPECT_EQ(GetHardwareNameId(PX400, 0x3E), 899u);
    EXPECT_EQ(GetHardwareNameId(7, J1), 899u);
    EXPECT_EQ(GetHardwareNameId(-1, J1), 899u);
}

TEST(HardwareNames, ProportionalClasses)
{
    const std::vector<uint8_t> px400 = {J1, J2, J4, J3, RD, RS, RST, LD, LST, LS, T1, T2, T4, T3, T5, T6, CD};
    const std::vector<uint8_t> px200 = {J1, J2, J4, J3, RD, RS, LD, LS, T1, T2, T4, T3};
    const std::vector<uint8_t> px600 = {J1, J2, J4, J3, RD, RS, LD, LS, T1, T2, T4, T3, T5, T6};
    const std::vector<uint8_t>* lists[] = {&px400, &px200, &px600};
    for (int type = 0; type < 3; ++type) {
        for (int code = 0; code < 256; ++code) {
            const bool expected = std::find(lists[type]->begin(), lists[type]->end(), code) != lists[type]->end();
            EXPECT_EQ(IsProportionalHardware(type, static_cast<uint8_t>(code)), expected ? 1 : 0)
                << "type " << type << " code " << code;
        }
    }
    EXPECT_EQ(IsProportionalHardware(3, J1), 0);
    EXPECT_EQ(IsProportionalHardware(-1, J1), 0);
}

TEST(HardwareNames, OptionListsAndTheirEnds)
{
    const std::vector<uint8_t> prop400 = {NONE, RD, LD, RS, RST, LS, LST, CD, J1, J2, J3, J4, T1, T2, T3, T4, T5, T6};
    const std::vector<uint8_t> prop200 = {NONE, RD, LD, RS, LS, J1, J2, J3, J4, T1, T2, T3, T4};
    const std::vector<uint8_t> prop600 = {NONE, RD, LD, RS, LS, J1, J2, J3, J4, T1, T2, T3, T4, T5, T6};
    const std::vector<uint8_t> sw400 = {NONE, SWA, SWB, SWC, SWD, SWE, SWF, SWG, SWH, CDSW};
    const std::vector<uint8_t> sw200 = {NONE, SWA, SWB, SWC, SWD, SWE, SWF, SWG, SWH};
    const std::vector<uint8_t>* prop[] = {&prop400, &prop200, &prop600};
    const std::vector<uint8_t>* sw[] = {&sw400, &sw200, &sw200};
    for (int type = 0; type < 3; ++type) {
        SCOPED_TRACE("type " + std::to_string(type));
        for (int i = 0; i < 25; ++i) {
            const uint8_t p = i < static_cast<int>(prop[type]->size()) ? (*prop[type])[i] : uint8_t{END};
            const uint8_t s = i < static_cast<int>(sw[type]->size()) ? (*sw[type])[i] : uint8_t{END};
            EXPECT_EQ(GetProportionalOption(type, i), p) << "index " << i;
            EXPECT_EQ(GetSwitchOption(type, i), s) << "index " << i;
        }
        EXPECT_EQ(GetProportionalOption(type, -1), END);
        EXPECT_EQ(GetSwitchOption(type, -1), END);
    }
    EXPECT_EQ(GetProportionalOption(5, 0), END);
    EXPECT_EQ(GetSwitchOption(5, 0), END);
}

TEST(HardwareTableDefaults, PX400ToPX600ClearsTheControlsThePX600Lacks)
{
    CConvertHW hw;
    hw.ResetRows(PX400, PX600);
    EXPECT_EQ(hw.m_sourceType, PX400);
    EXPECT_EQ(hw.m_targetType, PX600);
    ExpectRows(hw, {
        {J1, J1, 5}, {J2, J2, 6}, {J3, J3, 7}, {J4, J4, 8},
        {T1, T1, 9}, {T2, T2, 10}, {T3, T3, 11}, {T4, T4, 12},
        {T5, T5, 13}, {T6, T6, 14},
        {SWA, SWA, 1}, {SWB, SWB, 2}, {SWC, SWC, 3}, {SWD, SWD, 4},
        {SWE, SWE, 5}, {SWF, SWF, 6}, {SWG, SWG, 7}, {SWH, SWH, 8},
        {RD, RD, 1}, {LD, LD, 2}, {RS, RS, 3}, {LS, LS, 4},
        {RST, NONE, 0}, {LST, NONE, 0}, {CD, NONE, 0}, {CDSW, NONE, 0},
        kEmpty, kEmpty, kEmpty, kEmpty,
    });
    // The class comes from the source: RST offers the PX600's proportional
    // choices, CD-SW its switch choices.
    const uint8_t prop600[] = {NONE, RD, LD, RS, LS, J1, J2, J3, J4, T1, T2, T3, T4, T5, T6, END, END, END, END};
    const uint8_t sw600[] = {NONE, SWA, SWB, SWC, SWD, SWE, SWF, SWG, SWH, END, END, END,
                             END, END, END, END, END, END, END};
    for (int j = 0; j < HW_OPTIONS; ++j) {
        EXPECT_EQ(hw.m_rows[22].options[j], prop600[j]);
        EXPECT_EQ(hw.m_rows[0].options[j], prop600[j]);
        EXPECT_EQ(hw.m_rows[25].options[j], sw600[j]);
        EXPECT_EQ(hw.m_rows[10].options[j], sw600[j]);
        EXPECT_EQ(hw.m_rows[29].options[j], END);
    }
}

TEST(HardwareTableDefaults, PX400ToPX400KeepsEveryControl)
{
    CConvertHW hw;
    hw.ResetRows(PX400, PX400);
    ExpectRows(hw, {
        {J1, J1, 8}, {J2, J2, 9}, {J3, J3, 10}, {J4, J4, 11},
        {T1, T1, 12}, {T2, T2, 13}, {T3, T3, 14}, {T4, T4, 15},
        {T5, T5, 16}, {T6, T6, 17},
        {SWA, SWA, 1}, {SWB, SWB, 2}, {SWC, SWC, 3}, {SWD, SWD, 4},
        {SWE, SWE, 5}, {SWF, SWF, 6}, {SWG, SWG, 7}, {SWH, SWH, 8},
        {RD, RD, 1}, {LD, LD, 2}, {RS, RS, 3}, {LS, LS, 5},
        {RST, RST, 4}, {LST, LST, 6}, {CD, CD, 7}, {CDSW, CDSW, 9},
        kEmpty, kEmpty, kEmpty, kEmpty,
    });
}

TEST(HardwareTableDefaults, PX400ToPX200)
{
    CConvertHW hw;
    hw.ResetRows(PX400, PX200);
    // T5 and T6 are convertible but missing from the PX200's choices: they
    // keep their own code as target and show "NULL".
    ExpectRows(hw, {
        {J1, J1, 5}, {J2, J2, 6}, {J3, J3, 7}, {J4, J4, 8},
        {T1, T1, 9}, {T2, T2, 10}, {T3, T3, 11}, {T4, T4, 12},
        {T5, T5, 0}, {T6, T6, 0},
        {SWA, SWA, 1}, {SWB, SWB, 2}, {SWC, SWC, 3}, {SWD, SWD, 4},
        {SWE, SWE, 5}, {SWF, SWF, 6}, {SWG, SWG, 7}, {SWH, SWH, 8},
        {RD, RD, 1}, {LD, LD, 2}, {RS, RS, 3}, {LS, LS, 4},
        {RST, NONE, 0}, {LST, NONE, 0}, {CD, NONE, 0}, {CDSW, NONE, 0},
        kEmpty, kEmpty, kEmpty, kEmpty,
    });
}

TEST(HardwareTableDefaults, PX200Sources)
{
    const std::vector<ExpectedRow> toPX600 = {
        {J1, J1, 5}, {J2, J2, 6}, {J3, J3, 7}, {J4, J4, 8},
        {T1, T1, 9}, {T2, T2, 10}, {T3, T3, 11}, {T4, T4, 12},
        kEmpty, kEmpty,
        {SWA, SWA, 1}, {SWB, SWB, 2}, {SWC, SWC, 3}, {SWD, SWD, 4},
        {SWE, SWE, 5}, {SWF, SWF, 6}, {SWG, SWG, 7}, {SWH, SWH, 8},
        {RD, RD, 1}, {LD, LD, 2}, {RS, RS, 3}, {LS, LS, 4},
        kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty,
    };
    CConvertHW hw;
    hw.ResetRows(PX200, PX600);
    ExpectRows(hw, toPX600);
    // PX200 and PX600 offer the same choices for the PX200's controls.
    hw.ResetRows(PX200, PX200);
    ExpectRows(hw, toPX600);

    hw.ResetRows(PX200, PX400);
    ExpectRows(hw, {
        {J1, J1, 8}, {J2, J2, 9}, {J3, J3, 10}, {J4, J4, 11},
        {T1, T1, 12}, {T2, T2, 13}, {T3, T3, 14}, {T4, T4, 15},
        kEmpty, kEmpty,
        {SWA, SWA, 1}, {SWB, SWB, 2}, {SWC, SWC, 3}, {SWD, SWD, 4},
        {SWE, SWE, 5}, {SWF, SWF, 6}, {SWG, SWG, 7}, {SWH, SWH, 8},
        {RD, RD, 1}, {LD, LD, 2}, {RS, RS, 3}, {LS, LS, 5},
        kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty,
    });
}

TEST(HardwareTableDefaults, PX600Sources)
{
    CConvertHW hw;
    hw.ResetRows(PX600, PX600);
    ExpectRows(hw, {
        {J1, J1, 5}, {J2, J2, 6}, {J3, J3, 7}, {J4, J4, 8},
        {T1, T1, 9}, {T2, T2, 10}, {T3, T3, 11}, {T4, T4, 12},
        {T5, T5, 13}, {T6, T6, 14},
        {SWA, SWA, 1}, {SWB, SWB, 2}, {SWC, SWC, 3}, {SWD, SWD, 4},
        {SWE, SWE, 5}, {SWF, SWF, 6}, {SWG, SWG, 7}, {SWH, SWH, 8},
        {RD, RD, 1}, {LD, LD, 2}, {RS, RS, 3}, {LS, LS, 4},
        kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty, kEmpty,
    });
    hw.ResetRows(PX600, PX200);
    EXPECT_EQ(hw.m_rows[8].source, T5);
    EXPECT_EQ(hw.m_rows[8].target, T5);
    EXPECT_EQ(hw.m_rows[8].selection, 0);
    EXPECT_EQ(hw.m_rows[9].target, T6);
    EXPECT_EQ(hw.m_rows[9].selection, 0);
    EXPECT_EQ(hw.m_rows[7].selection, 12);
    hw.ResetRows(PX600, PX400);
    EXPECT_EQ(hw.m_rows[8].selection, 16);
    EXPECT_EQ(hw.m_rows[21].selection, 5);
    EXPECT_EQ(hw.m_rows[22].source, END);
}

TEST(HardwareTableDefaults, EveryPairIsConsistent)
{
    for (int s = 0; s < 3; ++s) {
        for (int t = 0; t < 3; ++t) {
            SCOPED_TRACE("pair " + std::to_string(s) + "->" + std::to_string(t));
            CConvertHW hw;
            hw.ResetRows(s, t);
            for (const HardwareRow& row : hw.m_rows) {
                if (row.source == END) {
                    EXPECT_EQ(row.target, NONE);
                    EXPECT_EQ(row.selection, 0);
                    for (uint8_t o : row.options)
                        EXPECT_EQ(o, END);
                    continue;
                }
                EXPECT_EQ(row.options[0], NONE);
                // A preselected choice is the row's target.
                if (row.selection != 0) {
                    EXPECT_EQ(row.options[row.selection], row.target);
                }
                // A target that the list offers is preselected.
                for (int j = 1; j < HW_OPTIONS && row.options[j] != END; ++j) {
                    if (row.options[j] == row.target) {
                        EXPECT_EQ(row.selection, j);
                    }
                }
            }
        }
    }
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
