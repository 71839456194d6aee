// Random PX200 model data of every model type converts without a crash or a
// sanitizer report into the same bytes as before (a digest of all results); a
// model file shorter than the model data converts through the Convert command
// like one padded with zeros; random models converted with a confirmed Detail
// store the same bytes as before and on every system (digests that the
// Windows build is compared by).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "Digest.h"
#include "RecordingHost.h"
#include "app/ConvertCommand.h"
#include "convert/Conversion.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "platform/CodePage.h"
#include "app/Strings.h"
#include "platform/SystemTime.h"
#include "platform/Text.h"
#include "samplegen/PX200Samples.h"
#include "samplegen/TinyVolumeBuilder.h"
#include "storage/ModelDataFile.h"
#include "storage/TinyImage.h"

namespace {

constexpr int kRounds = 10000;

// splitmix64: fast, fixed-seed bytes for whole images.
struct Random {
    uint64_t state;
    uint64_t Next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
};

uint32_t Sum(const uint8_t* t)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < 32764; ++i)
        sum += t[i];
    return sum;
}

void FixedClock(SYSTEMTIME* out)
{
    *out = SYSTEMTIME{2026, 12, 2, 8, 3, 4, 5, 0};
}

struct Engine {
    Engine() { TinyStartup(); }
    ~Engine() { TinyShutdown(); }
};

}  // namespace

TEST(PX200Random, RandomImagesOfEveryModelTypeConvert)
{
    // PX200 model type byte 0..3 and the PX600 model type code it becomes.
    const uint16_t expectedType[] = {MODEL_AIRPLANE, MODEL_HELICOPTER, MODEL_GLIDER, MODEL_MULTICOPTER};
    SetLocalClockForTesting(FixedClock);
    Digest digest;
    Random rng{20261208};
    auto source = std::make_unique<CModelDataPX200>();
    CConvertHW table;
    table.ResetRows(TX_PX200, TX_PX600);
    auto target = std::make_unique<CModelDataPX600>(&table);
    uint8_t* s = source->GetImage();
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i + 8 <= PX200_DATA_SIZE; i += 8) {
            const uint64_t v = rng.Next();
            std::memcpy(s + i, &v, 8);
        }
        const uint64_t tail = rng.Next();
        std::memcpy(s + PX200_DATA_SIZE - 2, &tail, 2);
        s[1] = uint8_t(round % 4);
        table.m_inUse = round % 7 == 3;
        ASSERT_EQ(ConvertFromPX200(*target, *source), 1);
        ASSERT_EQ(target->GetModelType(), expectedType[round % 4]) << round;
        digest.Add(target->GetImage(), PX600_IMAGE_SIZE);
        const uint8_t warning = static_cast<uint8_t>(target->GetDelayWarning());
        digest.Add(&warning, 1);
    }
    SetLocalClockForTesting(nullptr);
    CheckDigest("px200-random.digest", digest.value, 0x642b719ad0f81007ull);
}

// A PX200 file inside an image that ends before the model data does: the
// missing bytes read as zeros, so the stored model equals the conversion of
// the same bytes padded with zeros (apart from the header's name and date and
// the checksum).
TEST(PX200Random, ShortFileConvertsAsIfPaddedWithZeros)
{
    Engine engine;
    SetLanguage(Language::English);
    TempFolder temp;
    const std::string src = temp.Sub("from"), dst = temp.Sub("to");
    const std::vector<uint8_t> full = MakePX200Model(PX200Samples()[1]);
    int n = 0;
    for (size_t cut : {size_t(2000), size_t(6000), size_t(6617)}) {
        SCOPED_TRACE(cut);
        const std::vector<uint8_t> model(full.begin(), full.begin() + long(cut));
        ASSERT_TRUE(TinyVolumeBuilder().AddFile(6, model).WriteFile(src + "/TINYFS.IMG"));
        ASSERT_TRUE(CModelDataFile(src).m_isVolume) << "the image was not mounted";

        MainDialogState state;
        RecordingHost host;
        CConvertHW hw;
        state.sourceTransmitter = TX_PX200;
        state.targetTransmitter = TX_PX600;
        state.sourceLocationText = src;
        state.targetLocationText = dst;
        state.modelNameText = u"CUT" + std::u16string(1, char16_t(u'0' + ++n));
        SaveDialogData(state, host);
        ASSERT_EQ(state.sourceList.rows.size(), 1u);
        state.selectedSourceRow = 0;
        ASSERT_TRUE(OnConvert(state, host, hw, {}));
        const std::vector<uint8_t> stored = ReadSampleFile(dst + "/" + Utf16ToUtf8(state.modelNameText) + ".mdl");
        ASSERT_EQ(stored.size(), PX600_IMAGE_SIZE);

        auto source = std::make_unique<CModelDataPX200>();
        std::memcpy(source->GetImage(), model.data(), model.size());
        CConvertHW table;
        auto target = std::make_unique<CModelDataPX600>(&table);
        ASSERT_EQ(ConvertFromPX200(*target, *source), 1);
        const uint8_t* t = target->GetImage();
        EXPECT_EQ(std::vector<uint8_t>(stored.begin() + 64, stored.end() - 4),
                  std::vector<uint8_t>(t + 64, t + PX600_IMAGE_SIZE - 4));
        EXPECT_EQ(GetBE32(stored.data() + 32764), Sum(stored.data()));
    }
}

// The condition names of a PX200 model pass through the ANSI code page when
// the Detail is confirmed, as the command line does it; both code pages.
TEST(PX200Random, ConfirmedDetailNamesStoreTheSameBytesOnEverySystem)
{
    constexpr uint16_t kModels = 60;
    constexpr size_t kNames = 1700, kNameStride = 9;  // 5 names of 8 characters
    Engine engine;
    SetLanguage(Language::English);
    SetLocalClockForTesting(FixedClock);
    TempFolder temp;
    const std::string src = temp.Sub("from"), dst = temp.Sub("to");
    Random rng{20260416};
    TinyVolumeBuilder volume(8, kModels + 10, kModels + 4);
    for (uint16_t n = 6; n < 6 + kModels; ++n) {  // the numbers a volume lists
        CModelDataPX200 source;
        uint8_t* s = source.GetImage();
        for (size_t i = 0; i < PX200_DATA_SIZE; ++i)
            s[i] = uint8_t(rng.Next());
        source.InitTransmitterName(TX_PX200);
        s[1] = uint8_t(n % 4);
        // Names of characters beyond ASCII, where code pages part ways.
        for (size_t c = 0; c < PX200_CONDITION_COUNT; ++c)
            for (size_t i = 0; i < 8; ++i)
                s[kNames + kNameStride * c + i] |= 0x80;
        volume.AddFile(n, std::vector<uint8_t>(s, s + PX200_DATA_SIZE));
    }
    ASSERT_TRUE(volume.WriteFile(src + "/TINYFS.IMG"));
    ASSERT_TRUE(CModelDataFile(src).m_isVolume) << "the image was not mounted";

    Digest digest;
    for (AnsiCodePage cp : {AnsiCodePage::Windows1252, AnsiCodePage::Windows932}) {
        SetAnsiCodePage(cp);
        MainDialogState state;
        RecordingHost host;
        CConvertHW hw;
        state.sourceTransmitter = TX_PX200;
        state.targetTransmitter = TX_PX600;
        state.sourceLocationText = src;
        state.targetLocationText = dst;
        SaveDialogData(state, host);
        ASSERT_EQ(state.sourceList.rows.size(), size_t{kModels});
        for (size_t row = 0; row < kModels; ++row) {
            SCOPED_TRACE(row);
            state.selectedSourceRow = int(row);
            DetailChoices choices;
            ASSERT_TRUE(PrepareDetailChoices(state, host, hw, choices));
            ConfirmDetailChoices(state, hw, choices);
            state.modelNameText = u"R" + Utf8ToUtf16(std::to_string(row));
            ASSERT_TRUE(OnConvert(state, host, hw));
            const std::string path = dst + "/" + Utf16ToUtf8(state.modelNameText) + ".mdl";
            const std::vector<uint8_t> stored = ReadSampleFile(path);
            ASSERT_EQ(stored.size(), PX600_IMAGE_SIZE);
            digest.Add(stored.data(), stored.size());
            std::filesystem::remove(std::filesystem::u8path(path));
        }
    }
    SetAnsiCodePage(AnsiCodePage::Windows1252);
    SetLocalClockForTesting(nullptr);
    CheckDigest("px200-detail-random.digest", digest.value, 0x78894db4ff3a3e15ull);
}
