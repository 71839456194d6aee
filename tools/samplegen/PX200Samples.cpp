#include "samplegen/PX200Samples.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "samplegen/TinyVolumeBuilder.h"
#include "storage/tinyfs.h"

namespace {

// Header and setting offsets of a PX200 model file.
constexpr size_t kModelType = 1;
constexpr size_t kTransmitterName = 2;      // 8 UTF-16LE characters
constexpr size_t kModelName = 18;           // 31 UTF-16LE characters, zero padded
constexpr size_t kModelNameChars = 31;
constexpr size_t kTxModelName = 88;         // 11 bytes, transmitter character set
constexpr size_t kTxModelNameBytes = 11;
constexpr size_t kVersion = 100;            // BE16
constexpr size_t kChannelTable = 190;       // 32 entries
constexpr size_t kSwitchTableA = 222;       // 12 switch fields
constexpr size_t kSwitchTableB = 234;       // 12 switch fields
constexpr size_t kCurveRecords = 391;       // 5 x 12
constexpr size_t kConditionSwitches = 467;  // 5 x 12
constexpr size_t kRateTables[] = {527, 562, 597};  // 5 x 7 each
constexpr size_t kRateEntry = 7;
constexpr size_t kCurveInUse = 1427;        // bit 7
constexpr size_t kFivePointCurve = 1428;    // 5 positions, 5 values
constexpr size_t kAirplaneCurves[] = {1459, 1469};
constexpr size_t kHeliCurves[] = {1034, 1084};  // 5 x 10 each
constexpr size_t kConditionNames = 1700;    // 5 x 9
constexpr size_t kConditionNameStride = 9;
constexpr uint8_t kGroupMarker = 0x2F;
constexpr int kConditions = 5;

// Control codes used in switch records.
constexpr uint8_t kSwitchCodes[] = {9, 10, 11, 12, 13, 14, 16, 17};
constexpr uint8_t kNoControl = 0xFF;

// A small deterministic generator, so samples are identical on every build.
struct Lcg {
    uint32_t state;
    uint32_t Next()
    {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    }
    int Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1)); }
};

void PutUtf16(std::vector<uint8_t>& img, size_t at, std::u16string_view text, size_t maxChars)
{
    for (size_t i = 0; i < text.size() && i < maxChars; ++i) {
        PutLE16(&img[at + 2 * i], text[i]);
    }
}

// Model names are upper-case ASCII, which the transmitter character set keeps.
void PutTxText(std::vector<uint8_t>& img, size_t at, std::u16string_view text, size_t maxBytes)
{
    for (size_t i = 0; i < text.size() && i < maxBytes; ++i)
        img[at + i] = text[i] < 0x80 ? static_cast<uint8_t>(text[i]) : '*';
}

void PutSwitchRecord(std::vector<uint8_t>& img, size_t at, uint8_t code, int first, int second)
{
    img[at] = code;
    img[at + 1] = static_cast<uint8_t>(static_cast<int8_t>(first));
    img[at + 2] = static_cast<uint8_t>(static_cast<int8_t>(second));
}

// A rising 5-point curve: positions -100..100, values around them.
void PutFivePointCurve(std::vector<uint8_t>& img, size_t at, Lcg& rng)
{
    static constexpr int kPositions[] = {-100, -50, 0, 50, 100};
    int value = rng.Range(-100, -60);
    for (int i = 0; i < 5; ++i) {
        img[at + i] = static_cast<uint8_t>(static_cast<int8_t>(kPositions[i]));
        img[at + 5 + i] = static_cast<uint8_t>(static_cast<int8_t>(value));
        value = std::min(100, value + rng.Range(20, 50));
    }
}

}  // namespace

std::vector<uint8_t> MakePX200Model(const PX200Sample& model)
{
    std::vector<uint8_t> img(kPX200ModelBytes, 0);
    Lcg rng{model.seed};
    img[kModelType] = model.modelType;
    PutUtf16(img, kTransmitterName, u"PX200   ", 8);
    PutUtf16(img, kModelName, model.modelName, kModelNameChars);
    PutTxText(img, kTxModelName, model.modelName, kTxModelNameBytes);
    img[kVersion] = 0x01;
    img[kVersion + 1] = 0x02;

    // Functions 0..11 on channels; a helicopter swaps two channels, every
    // further function has none.
    for (size_t k = 0; k < 32; ++k)
        img[kChannelTable + k] = k < 12 ? static_cast<uint8_t>(k) : kNoControl;
    if (model.modelType == 1)
        std::swap(img[kChannelTable + 2], img[kChannelTable + 5]);

    for (size_t i = 0; i < 12; ++i) {
        img[kSwitchTableA + i] = i % 3 == 0 ? kSwitchCodes[rng.Next() % 8] : kNoControl;
        img[kSwitchTableB + i] = i % 4 == 1 ? static_cast<uint8_t>(0x40 | kSwitchCodes[rng.Next() % 8]) : kNoControl;
    }

    // Curve records: alternately 5 points and two-rate form.
    for (int r = 0; r < 5; ++r) {
        const size_t at = kCurveRecords + 12 * r;
        if (r % 2 == 0) {
            img[at] = 0x10;
            for (int i = 0; i < 5; ++i)
                img[at + 6 + i] = static_cast<uint8_t>(static_cast<int8_t>(-100 + 50 * i));
        } else {
            img[at + 6] = static_cast<uint8_t>(rng.Range(50, 100));
            img[at + 7] = static_cast<uint8_t>(rng.Range(50, 100));
            img[at + 10] = 0;
            img[at + 11] = static_cast<uint8_t>(static_cast<int8_t>(rng.Range(-20, 20)));
        }
    }

    for (int c = 0; c < kConditions; ++c)
        for (int i = 0; i < 12; ++i)
            img[kConditionSwitches + 12 * c + i] = (i == c) ? kSwitchCodes[c] : kNoControl;

    // Rate tables of functions 0, 1 and 3: one entry per condition when the
    // first control byte is the group marker, otherwise entry 0 for all.
    for (size_t table : kRateTables) {
        for (int c = 0; c < kConditions; ++c) {
            const size_t at = table + kRateEntry * c;
            if (c == 0)
                PutSwitchRecord(img, at, model.perConditionRates ? kGroupMarker : kSwitchCodes[rng.Next() % 8], -100, 100);
            else
                PutSwitchRecord(img, at, model.perConditionRates ? kSwitchCodes[c] : kNoControl, -100, 0);
            img[at + 3] = static_cast<uint8_t>(rng.Range(60, 125));
            img[at + 4] = static_cast<uint8_t>(rng.Range(60, 125));
            img[at + 5] = static_cast<uint8_t>(static_cast<int8_t>(rng.Range(-40, 40)));
            img[at + 6] = static_cast<uint8_t>(static_cast<int8_t>(rng.Range(-40, 40)));
        }
    }

    if (model.modelType != 1)
        img[kCurveInUse] = 0x80;
    PutFivePointCurve(img, kFivePointCurve, rng);
    if (model.modelType == 0 || model.modelType == 3)
        for (size_t at : kAirplaneCurves)
            PutFivePointCurve(img, at, rng);
    if (model.modelType == 1)
        for (size_t table : kHeliCurves)
            for (int c = 0; c < kConditions; ++c)
                PutFivePointCurve(img, table + 10 * c, rng);

    for (int c = 0; c < kConditions; ++c) {
        const char* name = model.conditionNames[c] ? model.conditionNames[c] : "";
        const size_t at = kConditionNames + kConditionNameStride * c;
        std::memset(&img[at], ' ', 8);
        for (size_t i = 0; i < 8 && name[i]; ++i)
            img[at + i] = static_cast<uint8_t>(name[i]);
        img[at + 8] = 0;
    }
    return img;
}

const std::vector<PX200Sample>& PX200Samples()
{
    static const std::vector<PX200Sample> models = {
        {0, u"TRAINER 40", true, {"NORMAL", "LANDING", "THERMAL", "SPEED", "TAKEOFF"}, 11},
        {1, u"HELI 450", true, {"NORMAL", "IDLEUP1", "IDLEUP2", "HOLD", "HOVER"}, 22},
        {2, u"ASW 28", false, {"NORMAL", "START", "SPEED", "THERMAL", "LANDING"}, 33},
        {3, u"QUAD X", false, {"NORMAL", "ACRO", "", "", ""}, 44},
        {0, u"PYLON RACER", false, {"NORMAL", "", "", "", ""}, 55},
    };
    return models;
}

std::vector<uint8_t> MakePX200BulkImage(unsigned count)
{
    const uint16_t slots = static_cast<uint16_t>(count + 8);
    TinyVolumeBuilder builder(8, slots, static_cast<uint16_t>(count + 2));
    const auto& models = PX200Samples();
    for (unsigned i = 0; i < count; ++i) {
        PX200Sample model = models[i % models.size()];
        model.seed = 1000 + i;
        model.modelName = u"BULK " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                         std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        builder.AddFile(static_cast<uint16_t>(6 + i), MakePX200Model(model), 0, TinyFatDate(2024, 5, 1),
                        TinyFatTime(12, 0, 0));
    }
    return builder.Build();
}

void WritePX200SampleImage(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    // 40 file slots, 8 KiB clusters. File 2 holds a small non-model file,
    // models start at 6, and number 9 is left free.
    TinyVolumeBuilder builder(8, 40, 24);
    std::vector<uint8_t> settings(64, 0);
    for (size_t i = 0; i < settings.size(); ++i)
        settings[i] = static_cast<uint8_t>(i * 7 + 3);
    builder.AddFile(2, settings, 0, TinyFatDate(2023, 11, 20), TinyFatTime(9, 30, 0));
    const auto& models = PX200Samples();
    const uint16_t numbers[] = {6, 7, 8, 10, 11};
    for (size_t i = 0; i < models.size(); ++i) {
        std::vector<uint8_t> model = MakePX200Model(models[i]);
        if (i == 4)
            model.resize(kPX200ModelBytes + 2, 0);  // some transmitters store two extra bytes
        builder.AddFile(numbers[i], std::move(model), 0, TinyFatDate(2024, static_cast<uint16_t>(3 + i), 12),
                        TinyFatTime(static_cast<uint16_t>(10 + i), 15, 30));
    }
    const std::string path = (std::filesystem::path(folder) / "TINYFS.IMG").string();
    if (!builder.WriteFile(path))
        throw std::runtime_error("cannot write " + path);
}
