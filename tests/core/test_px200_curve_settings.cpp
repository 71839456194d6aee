// Curve settings blocks converted from a PX200 model: the condition name, the
// rate record defaults and the fills from rate tables, curve records, mode
// bytes and helicopter flag bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "convert/PX200Convert.h"
#include "model/ModelData.h"

namespace {

constexpr int kBlock = 578;
constexpr int kGuard = 16;
constexpr uint8_t kGuardByte = 0xA5;
constexpr int kHeli = 1, kGlider = 2, kAirplane = 0, kMulticopter = 4;

using Rec = std::array<uint8_t, 12>;
constexpr Rec kA{0x55, 0x55, 0x01, 0xE8, 0xE8, 0x33, 0, 0, 0, 0, 0, 0};
constexpr Rec kB{0x55, 0x55, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr Rec kC{0xFF, 0x07, 0x00, 0xE8, 0xE8, 0x33, 0, 0, 0, 0, 0, 0};

using Image = std::vector<uint8_t>;

Image Blank() { return Image(PX200_IMAGE_SIZE, 0); }

Image Random(unsigned seed)
{
    std::mt19937 rng(seed);
    Image img = Blank();
    for (size_t i = 0; i < PX200_DATA_SIZE; ++i)
        img[i] = uint8_t(rng());
    return img;
}

// Converts into a zeroed block followed by guard bytes that must stay intact.
std::vector<uint8_t> Convert(const Image& px200, int type, int c)
{
    std::vector<uint8_t> block(kBlock + kGuard, 0);
    std::fill(block.begin() + kBlock, block.end(), kGuardByte);
    ConvertPX200CurveSettingsBlock(block.data(), px200.data(), type, c);
    EXPECT_TRUE(std::all_of(block.begin() + kBlock, block.end(), [](uint8_t b) { return b == kGuardByte; }))
        << "wrote past the block, type " << type << " condition " << c;
    block.resize(kBlock);
    return block;
}

Rec At(const std::vector<uint8_t>& block, int offset)
{
    Rec r{};
    std::copy_n(block.begin() + offset, 12, r.begin());
    return r;
}

// Fields of a rate record.
unsigned First(const Rec& r, int pair) { return r[3 * pair] | (r[3 * pair + 2] >> 4) << 8; }
unsigned Second(const Rec& r, int pair) { return r[3 * pair + 1] | (r[3 * pair + 2] & 0x0F) << 8; }
constexpr int P = 1, Q = 2, R = 3;  // the pairs at bytes 3, 6 and 9

std::u16string Name(const std::vector<uint8_t>& block)
{
    std::u16string s;
    for (int i = 0; i < 8; ++i)
        s += char16_t(block[2 * i] << 8 | block[2 * i + 1]);
    return s;
}

void SetChannels(Image& img, uint8_t value) { std::fill_n(img.begin() + 190, 32, value); }

}  // namespace

TEST(PX200CurveSettings, ConditionName)
{
    Image img = Blank();
    for (int c = 0; c < 5; ++c) {
        img[1700 + 9 * c] = uint8_t('A' + c);
        img[1701 + 9 * c] = 0xB1;  // half-width katakana
        img[1703 + 9 * c] = 'Z';   // after the end of the text
    }
    struct Row {
        int type, c;
        bool fromPX200;
    } rows[] = {{kHeli, 4, true},      {kGlider, 0, true},       {kAirplane, 0, true}, {kMulticopter, 0, true},
                {kAirplane, 1, false}, {kMulticopter, 4, false}, {kHeli, 5, false},    {kGlider, 7, false}};
    for (const Row& row : rows) {
        const auto block = Convert(img, row.type, row.c);
        const std::u16string expected =
            row.fromPX200 ? std::u16string{char16_t(u'A' + row.c), 0xFF71, 0, 0, 0, 0, 0, 0}
                          : std::u16string(u"\u30B3\u30F3\u30C7\u30A3\u30B7\u30E7\u30F3") + char16_t(u'1' + row.c);
        EXPECT_EQ(Name(block), expected) << "type " << row.type << " condition " << row.c;
        EXPECT_EQ(block[16] | block[17], 0);
    }
}

TEST(PX200CurveSettings, ConditionsWithoutPX200Data)
{
    // AIRPLANE and MULTICOPTER take rate tables and curves for condition 0
    // only; conditions 5..7 of every type only the five curve records.
    Image full = Random(7);
    SetChannels(full, 3);
    full[1427] = 0x80;
    for (int c = 0; c < 5; ++c) {
        full[820 + 2 * c] = 10;
        full[821 + 2 * c] = 0xF6;  // -10
    }
    // Curve record 0 with two rates, a centre and a value; record 1 with
    // five points (its values stay out of the rate record).
    const uint8_t record0[12] = {0x00, 0, 0, 0, 0, 0, 0x9C, 50, 1, 0xFF, 0, 127};
    std::copy_n(record0, 12, full.begin() + 391);
    full[403] = 0x10;
    Image only = Blank();  // the same curve records, every other byte zero
    std::copy_n(full.begin() + 391, 60, only.begin() + 391);

    const std::pair<int, int> rows[] = {{kAirplane, 1}, {kMulticopter, 4}, {kAirplane, 5},
                                        {kHeli, 6},     {kGlider, 7},      {kMulticopter, 7}};
    for (auto [type, c] : rows) {
        SCOPED_TRACE(testing::Message() << "type " << type << " condition " << c);
        const auto block = Convert(full, type, c);
        for (int at = 18; at < 282; at += 12)
            EXPECT_EQ(At(block, at), kA) << "record " << at;
        // Record 0: P = -100, 50; Q = 1, -1; R second = 127 (tenfold).
        EXPECT_EQ(At(block, 282), Rec({0xFF, 0xFF, 0x11, 0x18, 0xF4, 0xC1, 0x0A, 0xF6, 0x0F, 0x00, 0xF6, 0x04}));
        EXPECT_EQ(At(block, 294), Rec({0xFF, 0xFF, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(At(block, 390), kB);
        if (c < 5) {
            // Rows that every model type fills for conditions 0..4.
            EXPECT_EQ(At(block, 438), Rec({0xFF, 0x07, 0x00, 0x64, 0x9C, 0x0F, 0, 0, 0, 0, 0, 0}));
            EXPECT_EQ(At(block, 522), kB);
            continue;
        }
        EXPECT_EQ(block, Convert(only, type, c));
        if (type == kHeli) {
            EXPECT_EQ(At(block, 402), kB);
            EXPECT_TRUE(std::all_of(block.begin() + 522, block.end(), [](uint8_t b) { return b == 0; }));
        } else {
            EXPECT_EQ(At(block, 438), kC);
            EXPECT_EQ(At(block, 534), kB);
            EXPECT_EQ(block[571] & block[572] & block[573], 0xE0);
        }
    }
}

TEST(PX200CurveSettings, ChannelEntries)
{
    // Function 0's rate table entry: rates 100, 50, exponentials -100, 10,
    // offset 5. Entries 16 and up name no record; 12..15 still do.
    Image img = Blank();
    SetChannels(img, 0xFF);
    const uint8_t entry[7] = {0, 0, 0, 100, 50, 0x9C, 10};
    std::copy_n(entry, 7, img.begin() + 527);
    img[682] = 5;
    const Rec filled{0xFF, 0xFF, 0x01, 0xE8, 0xF4, 0x31, 0x18, 0x64, 0xC0, 0x00, 0x32, 0x00};
    for (int channel : {0, 11, 12, 15, 16, 31, 255}) {
        img[190] = uint8_t(channel);
        const auto block = Convert(img, kAirplane, 0);
        for (int ch = 0; ch < 16; ++ch)
            EXPECT_EQ(At(block, 18 + 12 * ch), ch == channel ? filled : kA) << "entry " << channel << " channel " << ch;
    }
}

TEST(PX200CurveSettings, GroupMarkerSelectsTheEntry)
{
    struct Row {
        int type;
        uint8_t marker;
        int c, entry;       // rate table entry in the per-channel record
        bool sharedFilled;  // records 210 and 222 from entries 2 and 1
    } rows[] = {{kHeli, 0x2F, 2, 2, false},  {kHeli, 0x00, 2, 0, true},     {kGlider, 0x2F, 3, 3, false},
                {kGlider, 0x2E, 3, 0, true}, {kAirplane, 0x2F, 0, 0, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "type " << row.type << " marker " << int(row.marker));
        Image img = Blank();
        SetChannels(img, 0xFF);
        img[190] = 4;
        for (int e = 0; e < 5; ++e) {
            img[527 + 7 * e + 3] = uint8_t(10 + e);
            img[682 + e] = uint8_t(50 + e);
        }
        img[527] = row.marker;
        const auto block = Convert(img, row.type, row.c);
        EXPECT_EQ(First(At(block, 18 + 48), P), 100u + 10 * row.entry);
        EXPECT_EQ(Second(At(block, 18 + 48), R), 500u + 10 * row.entry);
        for (int e : {2, 1}) {
            const Rec shared = At(block, 210 + 12 * (2 - e));
            if (!row.sharedFilled) {
                EXPECT_EQ(shared, kA) << "entry " << e;
                continue;
            }
            EXPECT_EQ(First(shared, P), 100u + 10 * e);
            EXPECT_EQ(Second(shared, R), 500u + 10 * e);
        }
    }
}

TEST(PX200CurveSettings, StoredValues)
{
    // One PX200 byte read unsigned (rate), signed (exponential) and negated
    // (helicopter pitch value), stored as ten times the value in 12 bits.
    struct Row {
        uint8_t byte;
        unsigned asUnsigned, asSigned, negated;
    } rows[] = {{0x00, 0x000, 0x000, 0x000}, {0x64, 0x3E8, 0x3E8, 0xC18}, {0x9C, 0x618, 0xC18, 0x3E8},
                {0x80, 0x500, 0xB00, 0x500}, {0xFF, 0x9F6, 0xFF6, 0x00A}, {0x7F, 0x4F6, 0x4F6, 0xB0A}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "byte " << int(row.byte));
        Image img = Blank();
        SetChannels(img, 0xFF);
        img[190] = 0;
        img[527 + 3] = row.byte;
        img[527 + 5] = row.byte;
        img[937] = row.byte;
        const Rec rate = At(Convert(img, kAirplane, 0), 18);
        EXPECT_EQ(First(rate, P), row.asUnsigned);
        EXPECT_EQ(First(rate, Q), row.asSigned);
        EXPECT_EQ(First(At(Convert(img, kHeli, 0), 450), P), row.negated);
    }
}

TEST(PX200CurveSettings, HelicopterFlagBits)
{
    // Bit 1 of the five source records of each group: 1, 0, 1, 1, 0.
    const uint8_t sources[5] = {0x02, 0xFD, 0x02, 0xFF, 0x00};
    struct Row {
        uint8_t marker;
        int c;
        std::array<uint8_t, 3> inverted;  // 522..524, 528..530, 531..533
        std::array<uint8_t, 3> plain;     // 525..527
    } rows[] = {{0x00, 3, {0x00, 0x80, 0x00}, {0x80, 0x00, 0x80}}, {0x2F, 3, {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}},
                {0x2F, 1, {0x80, 0x00, 0x00}, {0x00, 0x00, 0x00}}, {0x2F, 4, {0x80, 0x00, 0x00}, {0x00, 0x00, 0x00}},
                {0x00, 6, {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "marker " << int(row.marker) << " condition " << row.c);
        Image img = Blank();
        for (int table : {1160, 1200, 1281, 1321}) {
            for (int j = 0; j < 5; ++j)
                img[table + 8 * j] = sources[j];
            img[table + 1] = row.marker;
        }
        const auto block = Convert(img, kHeli, row.c);
        for (int target : {522, 525, 528, 531})
            for (int j = 0; j < 3; ++j)
                EXPECT_EQ(block[target + j], (target == 525 ? row.plain : row.inverted)[j]) << "byte " << target + j;
    }
}

TEST(PX200CurveSettings, ModeByteRecord)
{
    struct Row {
        uint8_t mode, value;
        Rec expected;
    } rows[] = {
        {0xFF, 50, kC},
        {0x05, 0x9C, {0xFF, 0x07, 0x00, 0x18, 0x18, 0xCC, 0, 0, 0, 0, 0, 0}},  // v, v
        {0x3F, 20, {0xFF, 0x07, 0x00, 0xC8, 0xC8, 0x00, 0, 0, 0, 0, 0, 0}},
        {0xC0, 0x9C, {0xFF, 0x07, 0x00, 0x18, 0xE8, 0xC3, 0, 0, 0, 0, 0, 0}},  // v, -v
        {0xC7, 0x80, {0xFF, 0x07, 0x00, 0x00, 0x00, 0xB5, 0, 0, 0, 0, 0, 0}},  // -(-128) = 128
        {0x40, 20, {0xFF, 0x07, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0}},             // type 2, zeros
        {0x80, 20, {0xFF, 0x07, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        for (int type : {kAirplane, kGlider}) {
            Image img = Blank();
            img[1563 + 2 * 2] = row.mode;
            img[1564 + 2 * 2] = row.value;
            EXPECT_EQ(At(Convert(img, type, 2), 402), row.expected) << "mode " << int(row.mode) << " type " << type;
        }
    }
}
