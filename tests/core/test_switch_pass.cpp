// The PX600 switch pass on hand-made images: range records, one-byte fields of
// every kind, with and without the hardware table, from either source kind; the
// field tables' layout; and the change observer.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "model/SwitchFields.h"

namespace {

constexpr int PX400 = 0, PX200 = 1, PX600 = 2;
constexpr uint32_t kCond = 640, kCondSize = 3056;
using Rec = std::array<uint8_t, 3>;

class SwitchPass : public ::testing::Test {
protected:
    void SetUp() override { model = std::make_unique<CModelDataPX600>(&table); }

    uint8_t* Image() { return model->GetImage(); }
    uint8_t* Block(int c) { return Image() + kCond + kCondSize * c; }

    // Source kind and whether the table (default rows for the pair) is in use.
    void From(int sourceType, bool tableInUse)
    {
        model->SetFromPX200(sourceType == PX200);
        table.ResetRows(sourceType, PX600);
        table.m_inUse = tableInUse ? 1 : 0;
    }

    // Confirm the current rows with one row's choice changed.
    void Choose(int row, uint8_t selection)
    {
        uint8_t choice[HW_ROWS];
        for (int r = 0; r < HW_ROWS; ++r)
            choice[r] = table.m_rows[r].selection;
        choice[row] = selection;
        table.ConfirmChoices(choice);
    }

    Rec Range(Rec r)
    {
        model->ConvertSwitchRange(r.data());
        return r;
    }
    uint8_t Switch(uint8_t f)
    {
        model->ConvertSwitch(&f);
        return f;
    }
    // A one-byte model-wide field run through the whole pass.
    uint8_t PassAt(uint32_t offset, uint8_t value)
    {
        Image()[offset] = value;
        model->ConvertSwitches();
        return Image()[offset];
    }
    Rec RecordAt(const uint8_t* p) { return {p[0], p[1], p[2]}; }

    CConvertHW table;
    std::unique_ptr<CModelDataPX600> model;
};

const Rec kReset{0xFF, 0x05, 0xFB};

TEST_F(SwitchPass, ProportionalRangesGetTheirPositionsOrdered)
{
    From(PX400, false);
    // first < second: the standard pair +5 / -5.
    EXPECT_EQ(Range({0x00, 0x10, 0x20}), (Rec{0x00, 0x05, 0xFB}));
    EXPECT_EQ(Range({0x08, 0xF0, 0x10}), (Rec{0x08, 0x05, 0xFB}));
    // Bit 7: flag cleared, bit 6 inverted, positions -|first| and |first|.
    EXPECT_EQ(Range({0x88, 0xF6, 0xF0}), (Rec{0x48, 0xF6, 0x0A}));
    EXPECT_EQ(Range({0xC8, 20, 10}), (Rec{0x08, 0xEC, 0x14}));
    // Bit 6: first = second + 1.
    EXPECT_EQ(Range({0x48, 30, 10}), (Rec{0x48, 11, 10}));
    // Neither: second = first - 1.
    EXPECT_EQ(Range({0x08, 30, 10}), (Rec{0x08, 30, 29}));
    EXPECT_EQ(Range({0x14, 0, 0}), (Rec{0x14, 0, 0xFF}));
    // A zeroed record is J1 with equal positions.
    EXPECT_EQ(Range({0, 0, 0}), (Rec{0, 0, 0xFF}));
    // Damaged positions wrap as signed bytes.
    EXPECT_EQ(Range({0x48, 127, 127}), (Rec{0x48, 0x80, 127}));
    EXPECT_EQ(Range({0x08, 0x80, 0x80}), (Rec{0x08, 0x80, 0x7F}));
    EXPECT_EQ(Range({0x88, 0x80, 0x80}), (Rec{0x48, 0x80, 0x80}));
}

TEST_F(SwitchPass, SwitchRangesMoveBoundaryPositionsInside)
{
    From(PX400, false);
    EXPECT_EQ(Range({0x04, 0x20, 0x40}), (Rec{0x04, 0x1F, 0x40}));
    EXPECT_EQ(Range({0x44, 0x20, 0x40}), (Rec{0x44, 0x20, 0x40}));
    EXPECT_EQ(Range({0x0C, 0xC0, 0xE0}), (Rec{0x0C, 0xC0, 0xE1}));
    EXPECT_EQ(Range({0x4C, 0xC0, 0xE0}), (Rec{0x4C, 0xC0, 0xE0}));
    EXPECT_EQ(Range({0x45, 0xE0, 0x20}), (Rec{0x45, 0xE1, 0x1F}));
    EXPECT_EQ(Range({0x05, 0xE0, 0x20}), (Rec{0x05, 0xE0, 0x20}));
    EXPECT_EQ(Range({0x85, 0x20, 0x40}), (Rec{0x85, 0x1F, 0x40}));
    EXPECT_EQ(Range({0x04, 0x10, 0x40}), (Rec{0x04, 0x10, 0x40}));
    // No control: untouched whatever the positions.
    EXPECT_EQ(Range({0xFF, 0x20, 0x40}), (Rec{0xFF, 0x20, 0x40}));
}

TEST_F(SwitchPass, RangesWithoutTheTable)
{
    From(PX400, false);
    // PX400-only controls are reset, flags or not.
    EXPECT_EQ(Range({0x13, 0x20, 0x40}), kReset);
    EXPECT_EQ(Range({0x4A, 10, 20}), kReset);
    EXPECT_EQ(Range({0x9A, 10, 20}), kReset);
    EXPECT_EQ(Range({0x11, 10, 20}), kReset);

    // A PX200 model keeps everything and its positions.
    From(PX200, false);
    EXPECT_EQ(Range({0x13, 0x20, 0x40}), (Rec{0x13, 0x20, 0x40}));
    EXPECT_EQ(Range({0x00, 0x10, 0x20}), (Rec{0x00, 0x10, 0x20}));
    EXPECT_EQ(Range({0x04, 0x20, 0x40}), (Rec{0x04, 0x20, 0x40}));
}

TEST_F(SwitchPass, RangesWithTheTable)
{
    From(PX400, true);
    Choose(12, 1);  // SW-C -> SW-A
    // Translated, flags kept, then the switch position rule.
    EXPECT_EQ(Range({0x44, 0xE0, 0x20}), (Rec{0x4C, 0xE1, 0x1F}));
    // Unchanged rows keep the code and still get the position rules.
    EXPECT_EQ(Range({0x00, 0x10, 0x20}), (Rec{0x00, 0x05, 0xFB}));
    // Row target none, or no row: reset.
    EXPECT_EQ(Range({0x13, 0x20, 0x40}), kReset);
    EXPECT_EQ(Range({0x0B, 0x20, 0x40}), kReset);
    EXPECT_EQ(Range({0x1D, 0x20, 0x40}), kReset);

    // A PX200 model with the table: translated, positions untouched.
    From(PX200, true);
    Choose(12, 1);
    EXPECT_EQ(Range({0x04, 0x20, 0x40}), (Rec{0x0C, 0x20, 0x40}));
    Choose(0, 0);  // J1 -> NULL
    EXPECT_EQ(Range({0x40, 0x10, 0x20}), kReset);
}

TEST_F(SwitchPass, SwitchFields)
{
    From(PX400, false);
    EXPECT_EQ(Switch(0x13), 0xFF);
    EXPECT_EQ(Switch(0x53), 0xFF);
    EXPECT_EQ(Switch(0x04), 0x04);
    EXPECT_EQ(Switch(0x8B), 0x8B);  // code 11 is no PX400-only control
    EXPECT_EQ(Switch(0xFF), 0xFF);
    EXPECT_EQ(Switch(0x3E), 0x3E);

    From(PX200, false);
    EXPECT_EQ(Switch(0x13), 0x13);
    EXPECT_EQ(Switch(0x5A), 0x5A);

    From(PX400, true);
    Choose(13, 7);  // SW-D -> SW-G
    EXPECT_EQ(Switch(0x85), 0x86);
    EXPECT_EQ(Switch(0x13), 0xFF);
    EXPECT_EQ(Switch(0x0B), 0xFF);
    EXPECT_EQ(Switch(0xFF), 0xFF);
    EXPECT_EQ(Switch(0x30), 0x30);
    EXPECT_EQ(Switch(0x7E), 0x7E);
}

TEST_F(SwitchPass, UnchangedTableConvertsLikeNoTableExceptCodesWithoutRows)
{
    // With the PX400 -> PX600 rows confirmed unchanged, a one-byte switch field
    // converts as without the table, except codes that have no usable row.
    for (int flags : {0x00, 0x40, 0x80, 0xC0}) {
        for (int code = 0; code < 0x30; ++code) {
            const uint8_t field = static_cast<uint8_t>(flags | code);
            From(PX400, false);
            const uint8_t without = Switch(field);
            From(PX400, true);
            const uint8_t with = Switch(field);
            // Codes 11, 27, 28 have no row; 29 finds an empty row, whose target is none.
            uint8_t target;
            if (table.LookUp(static_cast<uint8_t>(code), target))
                EXPECT_EQ(with, without) << "field " << int(field);
            else
                EXPECT_EQ(with, 0xFF) << "field " << int(field);
        }
    }
}

TEST_F(SwitchPass, DirectFieldsCompareTheWholeByte)
{
    const uint32_t direct = 234;
    From(PX400, false);
    EXPECT_EQ(PassAt(direct, 0x13), 0xFF);
    EXPECT_EQ(PassAt(direct, 0x0A), 0xFF);
    EXPECT_EQ(PassAt(direct, 0x4A), 0x4A);
    EXPECT_EQ(PassAt(direct, 0x04), 0x04);
    From(PX200, false);
    EXPECT_EQ(PassAt(direct, 0x13), 0x13);

    From(PX400, true);
    Choose(10, 2);  // SW-A -> SW-B
    EXPECT_EQ(PassAt(direct, 0x0C), 0x0D);
    EXPECT_EQ(PassAt(direct, 0x4C), 0xFF);  // the whole byte has no row
    EXPECT_EQ(PassAt(direct, 0x13), 0xFF);
    EXPECT_EQ(PassAt(direct, 0x35), 0x35);
    EXPECT_EQ(PassAt(direct, 0x1D), 0xFF);
    // A zero byte is J1 to the table.
    Image()[direct] = 0;
    model->ConvertSwitches();
    EXPECT_EQ(Image()[direct], 0);
    EXPECT_EQ(Block(5)[31], 0);
    Choose(0, 0);  // J1 -> NULL
    Image()[direct] = 0;
    model->ConvertSwitches();
    EXPECT_EQ(Image()[direct], 0xFF);
    EXPECT_EQ(Block(5)[31], 0xFF);
    EXPECT_EQ(Block(0)[0], 0xFF);
}

TEST_F(SwitchPass, MaskedFieldsOnlyWithTheTable)
{
    const uint32_t masked = 541;
    From(PX400, false);
    EXPECT_EQ(PassAt(masked, 0x13), 0x13);
    EXPECT_EQ(PassAt(masked, 0x4A), 0x4A);

    From(PX400, true);
    EXPECT_EQ(PassAt(masked, 0x53), 0xFF);  // CD-SW has no PX600 target
    EXPECT_EQ(PassAt(masked, 0x4A), 0xFF);
    EXPECT_EQ(PassAt(masked, 0x0B), 0xFF);
    EXPECT_EQ(PassAt(masked, 0x75), 0x75);  // 0x35 is kept
    Choose(12, 1);                          // SW-C -> SW-A
    EXPECT_EQ(PassAt(masked, 0xC4), 0xCC);

    // CD-SW as a target is stored as 0x3F, flags kept.
    model->SetFromPX200(0);
    table.ResetRows(PX400, PX400);
    table.m_inUse = 1;
    EXPECT_EQ(PassAt(masked, 0x53), 0x7F);
    Choose(10, 9);  // SW-A -> CD-SW
    EXPECT_EQ(PassAt(masked, 0x8C), 0xBF);
}

TEST_F(SwitchPass, ReservedCodesAreKeptInFieldsAndResetInRangeStar)
{
    for (bool inUse : {false, true}) {
        SCOPED_TRACE(inUse ? "table" : "no table");
        From(PX400, inUse);
        Image()[530] = 0x70;                      // masked
        Image()[234] = 0x3E;                      // direct
        uint8_t* rec = Block(0) + 1238;           // 63-byte record, bit 5 set
        rec[0] = 0x20;
        rec[1] = 0xB2;                            // switch, low bits 0x32
        const uint8_t rangeStar[3] = {0x71, 10, 20};
        std::memcpy(Image() + 456, rangeStar, 3);
        std::memcpy(Block(4) + 897, rangeStar, 3);
        const uint8_t plainRange[3] = {0x31, 0x20, 0x40};
        std::memcpy(Image() + 65, plainRange, 3);
        model->ConvertSwitches();
        EXPECT_EQ(Image()[530], 0x70);
        EXPECT_EQ(Image()[234], 0x3E);
        EXPECT_EQ(rec[1], 0xB2);
        EXPECT_EQ(RecordAt(Image() + 456), kReset);
        EXPECT_EQ(RecordAt(Block(4) + 897), kReset);
        // In a plain range a reserved code is a switch the PX600 keeps.
        EXPECT_EQ(RecordAt(Image() + 65), (Rec{0x31, 0x1F, 0x40}));
    }
}

TEST_F(SwitchPass, ConditionResetRecordsAlwaysEndReset)
{
    From(PX200, false);
    for (int c = 0; c < 8; ++c)
        for (int i = 0; i < 48; ++i)
            Block(c)[1878 + i] = static_cast<uint8_t>(i * 7 + c);
    model->ConvertSwitches();
    for (int c = 0; c < 8; ++c)
        for (int k = 0; k < 16; ++k)
            EXPECT_EQ(RecordAt(Block(c) + 1878 + 3 * k), kReset) << "condition " << c << " record " << k;
    // The settings around them are not touched.
    EXPECT_EQ(Block(0)[1877], 0);
    EXPECT_EQ(Block(0)[1926], 0);
}

TEST_F(SwitchPass, RecordFormFlagsChooseTheVisitedFields)
{
    From(PX400, false);
    uint8_t* r0 = Block(2) + 1238;           // bit 4 set: four groups
    uint8_t* r1 = Block(2) + 1238 + 63;      // bit 4 clear, bit 5 set: curve
    r0[0] = 0x10;
    r1[0] = 0x20;
    for (uint8_t* r : {r0, r1})
        for (int b : {1, 14, 24, 34, 44, 61})
            r[b] = 0x13;
    model->ConvertSwitches();
    EXPECT_EQ(r0[1], 0x13);
    EXPECT_EQ(r0[14], 0xFF);
    EXPECT_EQ(r0[24], 0xFF);
    EXPECT_EQ(r0[34], 0xFF);
    EXPECT_EQ(r0[44], 0xFF);
    EXPECT_EQ(r0[61], 0x13);
    EXPECT_EQ(r1[1], 0xFF);
    EXPECT_EQ(r1[14], 0x13);
    EXPECT_EQ(r1[44], 0x13);
    EXPECT_EQ(r1[61], 0xFF);
    // The zeroed range record at byte 3 of every record is J1 with equal positions.
    EXPECT_EQ(RecordAt(r0 + 3), (Rec{0, 0, 0xFF}));
    EXPECT_EQ(RecordAt(Block(7) + 1238 + 9 * 63 + 3), (Rec{0, 0, 0xFF}));
}

TEST_F(SwitchPass, TheModelTypeChoosesTheTail)
{
    From(PX400, false);
    Image()[42] = 1;  // HELICOPTER
    Block(3)[1985] = 0x13;
    Block(3)[1992] = 0x13;
    Block(3)[2655] = 0x13;
    Block(3)[2856] = 0x13;
    model->ConvertSwitches();
    EXPECT_EQ(Block(3)[1985], 0xFF);
    EXPECT_EQ(Block(3)[2655], 0xFF);
    EXPECT_EQ(Block(3)[1992], 0x13);
    EXPECT_EQ(Block(3)[2856], 0x13);

    for (uint8_t type : {0, 2, 3}) {  // AIRPLANE, GLIDER, MULTICOPTER
        Image()[42] = type;
        Block(6)[1985] = 0x13;
        Block(6)[1992] = 0x13;
        Block(6)[2856] = 0x13;
        model->ConvertSwitches();
        EXPECT_EQ(Block(6)[1985], 0x13);
        EXPECT_EQ(Block(6)[1992], 0xFF);
        EXPECT_EQ(Block(6)[2856], 0xFF);
    }
}

TEST_F(SwitchPass, ConditionOutOfRangeIsIgnored)
{
    From(PX400, false);
    std::vector<uint8_t> before(Image(), Image() + PX600_IMAGE_SIZE);
    model->ConvertConditionSwitches(8);
    model->ConvertConditionSwitches(-1);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Image()));
}

// Byte ranges of every field of a list of runs, with the flags bytes gates read.
struct Layout {
    std::vector<std::pair<uint32_t, uint32_t>> fields;  // [first, last]
    std::set<uint32_t> flags;
};

Layout LayoutOf(std::span<const switchfields::Run> runs)
{
    Layout out;
    switchfields::ForEachField(runs, [&](const switchfields::Field& f) {
        out.fields.push_back({f.offset, f.offset + switchfields::Width(f.kind) - 1});
        if (f.gate.mask != 0)
            out.flags.insert(f.flagsOffset);
    });
    return out;
}

void ExpectDisjointInside(const std::vector<Layout>& parts, const std::vector<std::pair<uint32_t, uint32_t>>& blocks)
{
    std::set<uint32_t> used;
    for (const Layout& part : parts) {
        for (auto [first, last] : part.fields) {
            bool inside = false;
            for (auto [lo, hi] : blocks)
                inside |= first >= lo && last <= hi;
            EXPECT_TRUE(inside) << "field at " << first;
            for (uint32_t b = first; b <= last; ++b)
                EXPECT_TRUE(used.insert(b).second) << "byte " << b << " is in two fields";
        }
    }
    for (const Layout& part : parts)
        for (uint32_t f : part.flags)
            EXPECT_EQ(used.count(f), 0u) << "flags byte " << f << " is also a field";
}

TEST(SwitchFieldTables, FieldsLieInsideTheirBlocksAndDoNotOverlap)
{
    using namespace switchfields;
    const Layout wide = LayoutOf(kModelWide);
    const Layout common = LayoutOf(kConditionCommon);
    const Layout plane = LayoutOf(kTailPlane);
    const Layout heli = LayoutOf(kTailHeli);

    EXPECT_EQ(wide.fields.size(), 7u + 16 + 2 + 2 + 1 + 20 + 1 + 12 + 3 + 3);
    EXPECT_EQ(common.fields.size(), 32u + 6 + 10 + 10 + 40 + 10 + 16);
    EXPECT_EQ(plane.fields.size(), 19u + 30);
    EXPECT_EQ(heli.fields.size(), 6u + 10 + 26);

    // Model-wide fields: the model settings block and the model-wide block.
    ExpectDisjointInside({wide}, {{64, 639}, {25200, 28139}});
    // Condition fields: the common part before the tail, the tail after it.
    const uint32_t tail = px600::kTailOffset, end = px600::kConditionBlock.size - 1;
    ExpectDisjointInside({common}, {{0, tail - 1}});
    ExpectDisjointInside({common, plane}, {{0, tail - 1}, {tail, end}});
    ExpectDisjointInside({common, heli}, {{0, tail - 1}, {tail, end}});
    ExpectDisjointInside({plane}, {{tail, end}});
    ExpectDisjointInside({heli}, {{tail, end}});
}

// Any image offset is named by its block, condition, innermost record and the
// byte within it; a tail's records only for the tail's form.
TEST(PX600Layout, PlaceOfNamesBlockConditionAndRecord)
{
    using px600::Form;
    struct Case {
        uint32_t image;
        Form form;
        const char *block, *record;
        int condition;
        uint32_t offset, index, byte;
    };
    const Case cases[] = {
        {0, Form::Any, "header", "transmitter name", -1, 0, 0, 0},
        {63, Form::Any, "header", nullptr, -1, 63, 0, 0},
        {91, Form::Any, "model settings", "switch range", -1, 91, 6, 2},
        {640 + 1877, Form::Any, "condition", "settings", 0, 1877, 0, 9},
        {640 + 3056 * 7 + 1923, Form::Any, "condition", "switch range", 7, 1923, 15, 0},
        {640 + 3056 * 2 + 2169, Form::Plane, "condition", "tail", 2, 2169, 0, 185},
        {640 + 2841, Form::Plane, "condition", "delay record", 0, 2841, 1, 1},
        {640 + 2841, Form::Heli, "condition", "tail", 0, 2841, 0, 857},
        {640 + 2841, Form::Any, "condition", "tail", 0, 2841, 0, 857},
        {25087, Form::Any, "condition", "tail", 7, 3055, 0, 1071},
        {25235, Form::Any, "model-wide", "timer", -1, 25235, 1, 8},
        {28140 + 578 * 3 + 530, Form::Plane, "curve settings", "rate", 3, 530, 10, 8},
        {28140 + 578 * 3 + 530, Form::Heli, "curve settings", "flags", 3, 530, 0, 8},
        {32767, Form::Any, "checksum", nullptr, -1, 32767, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        const px600::Place p = px600::PlaceOf(c.image, c.form);
        EXPECT_STREQ(p.block->name, c.block);
        EXPECT_EQ(p.condition, c.condition);
        EXPECT_EQ(p.offset, c.offset);
        EXPECT_STREQ(p.record ? p.record->name : nullptr, c.record);
        EXPECT_EQ(uint32_t(p.index), c.index);
        EXPECT_EQ(p.byte, c.byte);
    }
}

struct Recorded {
    int condition;
    uint32_t offset;
    switchfields::Kind kind;
    std::vector<uint8_t> before, after;
};

void Record(const CModelDataPX600::SwitchChange& change, void* context)
{
    auto* list = static_cast<std::vector<Recorded>*>(context);
    list->push_back({change.condition, change.offset, change.kind,
                     std::vector<uint8_t>(change.before, change.before + change.width),
                     std::vector<uint8_t>(change.after, change.after + change.width)});
}

TEST_F(SwitchPass, ObserverHearsOfEveryChangedFieldAndNothingElse)
{
    for (bool inUse : {false, true}) {
        SCOPED_TRACE(inUse ? "table" : "no table");
        From(PX400, inUse);
        Choose(12, 1);
        // Pseudo-random image so most fields change and some do not.
        uint32_t seed = 12345;
        for (size_t i = 0; i < PX600_IMAGE_SIZE; ++i) {
            seed = seed * 1103515245u + 12345u;
            Image()[i] = static_cast<uint8_t>(seed >> 16);
        }
        Image()[42] = inUse ? 1 : 0;
        const std::vector<uint8_t> before(Image(), Image() + PX600_IMAGE_SIZE);

        std::vector<Recorded> changes;
        model->SetSwitchObserver(&Record, &changes);
        model->ConvertSwitches();
        model->SetSwitchObserver(nullptr, nullptr);

        // Every reported field: before and after match the image, and they differ.
        std::vector<bool> covered(PX600_IMAGE_SIZE, false);
        for (const Recorded& r : changes) {
            const uint32_t base = r.condition < 0 ? 0 : kCond + kCondSize * r.condition;
            ASSERT_GE(r.condition, -1);
            ASSERT_LE(r.condition, 7);
            EXPECT_NE(r.before, r.after);
            for (size_t i = 0; i < r.before.size(); ++i) {
                const uint32_t at = base + r.offset + static_cast<uint32_t>(i);
                EXPECT_EQ(before[at], r.before[i]) << "at " << at;
                EXPECT_EQ(Image()[at], r.after[i]) << "at " << at;
                EXPECT_FALSE(covered[at]) << "reported twice: " << at;
                covered[at] = true;
            }
        }
        // Every changed byte was reported.
        size_t changedBytes = 0;
        for (size_t i = 0; i < PX600_IMAGE_SIZE; ++i) {
            if (Image()[i] != before[i]) {
                ++changedBytes;
                EXPECT_TRUE(covered[i]) << "unreported change at " << i;
            }
        }
        EXPECT_GT(changedBytes, 100u);
    }
}

TEST_F(SwitchPass, ObserverNamesPlaceAndKind)
{
    From(PX400, false);
    Block(2)[2169] = 0x53;
    Image()[25235] = 0x1A;
    Image()[25236] = 1;
    Image()[25237] = 2;
    std::vector<Recorded> changes;
    model->SetSwitchObserver(&Record, &changes);
    model->ConvertSwitches();

    auto find = [&](int condition, uint32_t offset) -> const Recorded* {
        for (const Recorded& r : changes)
            if (r.condition == condition && r.offset == offset)
                return &r;
        return nullptr;
    };
    const Recorded* sw = find(2, 2169);
    ASSERT_NE(sw, nullptr);
    EXPECT_EQ(sw->kind, switchfields::Kind::Switch);
    EXPECT_EQ(sw->before, std::vector<uint8_t>{0x53});
    EXPECT_EQ(sw->after, std::vector<uint8_t>{0xFF});

    const Recorded* cd = find(-1, 25235);
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(cd->kind, switchfields::Kind::Range);
    EXPECT_EQ(cd->before, (std::vector<uint8_t>{0x1A, 1, 2}));
    EXPECT_EQ(cd->after, (std::vector<uint8_t>{0xFF, 5, 0xFB}));

    const Recorded* reset = find(7, 1878 + 45);
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->kind, switchfields::Kind::Reset);
    // The same field in another condition did not change here (zero J1 stays).
    EXPECT_EQ(find(1, 2169), nullptr);
}

}  // namespace
