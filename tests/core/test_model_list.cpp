// Model lists: how a location's files become rows, and how transmitter texts
// name transmitter types.
#include <gtest/gtest.h>

#include "Portable.h"

#include <cstring>

#include "RecordingHost.h"
#include "app/ModelList.h"
#include "model/ModelData.h"
#include "app/Strings.h"
#include "platform/Text.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/SampleFiles.h"

namespace {

std::vector<uint8_t> PX400File(const std::u16string& name, uint16_t type)
{
    samples::PX400Builder b;
    b.SetModelName(name);
    b.SetModelType(type);
    return b.Image();
}

// A PX600 file as this program writes it: 8-bit transmitter name, big-endian name.
std::vector<uint8_t> PX600File(const std::u16string& name, uint8_t type)
{
    std::vector<uint8_t> image(PX600_IMAGE_SIZE, 0);
    std::memcpy(image.data(), "PX600   ", 8);
    for (size_t i = 0; i < name.size(); ++i)
        PutBE16(image.data() + 10 + 2 * i, name[i]);
    image[42] = type;
    return image;
}

class ModelListTest : public ::testing::Test {
protected:
    void SetUp() override { SetLanguage(Language::English); }
    TempFolder temp;
    RecordingHost host;
};

}  // namespace

TEST(TransmitterTypeTest, FileTransmitterNamesNameTypesByPrefix)
{
    EXPECT_EQ(TransmitterTypeOfName(u"PX400   "), TX_PX400);
    EXPECT_EQ(TransmitterTypeOfName(u"PX200   "), TX_PX200);
    EXPECT_EQ(TransmitterTypeOfName(u"PX600   "), TX_PX600);
    EXPECT_EQ(TransmitterTypeOfName(u"PX600"), TX_PX600);
    // An empty text is a prefix of the first name.
    EXPECT_EQ(TransmitterTypeOfName(u""), TX_PX400);
    EXPECT_EQ(TransmitterTypeOfName(u"PX600    "), TX_UNKNOWN);
    EXPECT_EQ(TransmitterTypeOfName(u"ZX400   "), TX_UNKNOWN);
}

TEST(TransmitterTypeTest, ModelTypeTextsAndUnknownCodes)
{
    SetLanguage(Language::English);
    EXPECT_EQ(ModelTypeText(0), u"AIRPLANE");
    EXPECT_EQ(ModelTypeText(4), u"MULTICOPTER");
    EXPECT_EQ(ModelTypeText(5), u"UNKNOWN");
    EXPECT_EQ(ModelTypeText(0xFFFF), u"UNKNOWN");
}

TEST_F(ModelListTest, ListsPX400AndPX600FilesWithTheirColumns)
{
    const std::string dir = temp.Sub("models");
    WriteSampleFile(dir + ARK_SEP "A.MDL", PX400File(u"Cub", MODEL_AIRPLANE));
    WriteSampleFile(dir + ARK_SEP "b.mdl", PX600File(u"Heli600", MODEL_HELICOPTER));
    WriteSampleFile(dir + ARK_SEP "c.txt", PX400File(u"NotListed", 0));

    std::vector<std::string> keys;
    const ModelListing listing = FillModelList(host, dir, std::nullopt, &keys);
    ASSERT_EQ(listing.rows.size(), 2u);
    EXPECT_FALSE(listing.isVolume);
    EXPECT_EQ(listing.selected, 0);

    const ModelListRow& a = listing.rows[0];
    EXPECT_EQ(a.key, dir + ARK_SEP "A.MDL");
    EXPECT_EQ(a.columns[0], u"PX400   ");
    EXPECT_EQ(a.columns[1], u"Cub");
    EXPECT_EQ(a.columns[2], u"AIRPLANE");
    EXPECT_EQ(a.transmitter, TX_PX400);

    const ModelListRow& b = listing.rows[1];
    EXPECT_EQ(b.key, dir + ARK_SEP "b.mdl");
    EXPECT_EQ(b.transmitter, TX_PX600);
    EXPECT_EQ(b.columns[1], u"Heli600");
    EXPECT_EQ(b.columns[2], u"HELICOPTER");

    EXPECT_EQ(keys, (std::vector<std::string>{a.key, b.key}));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_GE(host.waitBegins, 1);
}

TEST_F(ModelListTest, PX600NameOnlyCountsWithinTheFirst16Bytes)
{
    const std::string dir = temp.Sub("models");
    // "PX600   " at byte 16 is beyond what decides the reader: read as PX400.
    std::vector<uint8_t> late = PX400File(u"Late", 0);
    std::memcpy(late.data() + 16, "PX600   ", 8);
    WriteSampleFile(dir + ARK_SEP "late.MDL", late);
    // The name after other text within the 16 bytes still counts.
    std::vector<uint8_t> inner = PX600File(u"X", 0);
    std::memcpy(inner.data(), "aPX600   ", 9);
    WriteSampleFile(dir + ARK_SEP "mid.MDL", inner);

    const ModelListing listing = FillModelList(host, dir);
    ASSERT_EQ(listing.rows.size(), 2u);
    EXPECT_EQ(listing.rows[0].columns[0], u"PX400   ");
    EXPECT_EQ(listing.rows[0].columns[1], u"Late");
    EXPECT_EQ(listing.rows[0].transmitter, TX_PX400);
    EXPECT_EQ(listing.rows[1].columns[0], u"aPX600  ");
    EXPECT_EQ(listing.rows[1].columns[1], u"X");
}

TEST_F(ModelListTest, ShortFileRowsNeverShowThePreviousFilesBytes)
{
    const std::string dir = temp.Sub("models");
    WriteSampleFile(dir + ARK_SEP "a.MDL", PX400File(u"LongModelName12", MODEL_GLIDER));
    // Transmitter name and the first two name characters only.
    std::vector<uint8_t> shortFile = PX400File(u"Zq", MODEL_GLIDER);
    shortFile.resize(34);
    WriteSampleFile(dir + ARK_SEP "b.MDL", shortFile);
    WriteSampleFile(dir + ARK_SEP "c.MDL", {});

    const ModelListing listing = FillModelList(host, dir);
    ASSERT_EQ(listing.rows.size(), 3u);
    EXPECT_EQ(listing.rows[1].columns[0], u"PX400   ");
    EXPECT_EQ(listing.rows[1].columns[1], u"Zq");
    EXPECT_EQ(listing.rows[1].columns[2], u"AIRPLANE");  // type bytes were not delivered
    EXPECT_EQ(listing.rows[2].columns[0], u"");
    EXPECT_EQ(listing.rows[2].columns[1], u"");
    // An empty transmitter text counts as PX400, as the row compares prefixes.
    EXPECT_EQ(listing.rows[2].transmitter, TX_PX400);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ModelListTest, SelectsTheRowOfTheKeyElseTheFirst)
{
    const std::string dir = temp.Sub("models");
    for (const char* n : {"a", "b", "c"})
        WriteSampleFile(dir + ARK_SEP "" + n + ".MDL", PX400File(Utf8ToUtf16(n), 0));
    EXPECT_EQ(FillModelList(host, dir, dir + ARK_SEP "c.MDL").selected, 2);
    EXPECT_EQ(FillModelList(host, dir, dir + ARK_SEP "zz.MDL").selected, 0);
    EXPECT_EQ(FillModelList(host, dir, std::nullopt).selected, 0);
}

TEST_F(ModelListTest, MissingOrEmptyLocationsAndUnopenableEntriesAreSilent)
{
    EXPECT_TRUE(FillModelList(host, temp.Path() + ARK_SEP "nowhere").rows.empty());
    const std::string dir = temp.Sub("empty");
    ModelListing listing = FillModelList(host, dir);
    EXPECT_TRUE(listing.rows.empty());
    EXPECT_EQ(listing.selected, -1);

    // A folder named like a model file cannot be opened: no row, no message.
    temp.Sub("empty/folder.MDL");
    WriteSampleFile(dir + ARK_SEP "real.MDL", PX400File(u"R", 0));
    listing = FillModelList(host, dir);
    ASSERT_EQ(listing.rows.size(), 1u);
    EXPECT_EQ(listing.rows[0].columns[1], u"R");
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(ModelListTest, OnlyTheFiveModelTypesHaveNamesEveryOtherCodeIsUnknown)
{
    const std::string dir = temp.Sub("types");
    for (int code = 0; code < 256; ++code) {
        std::vector<uint8_t> head = PX600File(u"T", static_cast<uint8_t>(code));
        head.resize(PX600_HEADER_SIZE);
        char name[16];
        std::snprintf(name, sizeof name, "/%03d.MDL", code);
        WriteSampleFile(dir + name, head);
    }
    for (Language language : {Language::English, Language::German, Language::French, Language::Japanese}) {
        SetLanguage(language);
        const ModelListing listing = FillModelList(host, dir);
        ASSERT_EQ(listing.rows.size(), 256u);
        const std::u16string unknown = LoadString(1100, language);
        for (int code = 0; code < 256; ++code) {
            SCOPED_TRACE(code);
            const std::u16string& shown = listing.rows[code].columns[2];
            // A PX600 file stores the multicopter as 3 and has no motor glider.
            const int type = code == 3 ? MODEL_MULTICOPTER : code;
            EXPECT_EQ(shown, type < 5 ? LoadString(1101 + type, language) : unknown);
            EXPECT_FALSE(shown.empty());
        }
    }
    EXPECT_TRUE(host.boxes.empty());
}
