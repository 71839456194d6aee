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

// Control codes of the PX200 used in switch records: its four switches RD,
// RS, LD, LS, and the throttle stick J3 at a position.
constexpr uint8_t kSwitchCodes[] = {8, 9, 16, 18, 8, 9, 16, 3};
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

void PutSigned(std::vector<uint8_t>& img, size_t at, int value)
{
    img[at] = static_cast<uint8_t>(static_cast<int8_t>(value));
}

// count bytes from at, each a value in lo..hi (stored as a signed byte).
void PutValues(std::vector<uint8_t>& img, size_t at, size_t count, int lo, int hi, Lcg& rng)
{
    for (size_t i = 0; i < count; ++i)
        PutSigned(img, at + i, rng.Range(lo, hi));
}

// A switch range record on one of the switches, or no control.
void PutSomeSwitch(std::vector<uint8_t>& img, size_t at, Lcg& rng)
{
    if (rng.Next() % 4 == 0)
        PutSwitchRecord(img, at, kNoControl, 5, -5);
    else
        PutSwitchRecord(img, at, kSwitchCodes[rng.Next() % 8], rng.Range(20, 100), -rng.Range(20, 100));
}

// A 4-byte head: a flag byte and a switch range record.
void PutHead(std::vector<uint8_t>& img, size_t at, Lcg& rng)
{
    img[at] = static_cast<uint8_t>(rng.Next() % 2 ? 0x81 : 0x00);
    PutSomeSwitch(img, at + 1, rng);
}

// An 8-byte helicopter record: flags, a switch range record, a rate, a
// spare byte, a switch field and a value.
void PutHeliRecord(std::vector<uint8_t>& img, size_t at, Lcg& rng)
{
    img[at] = static_cast<uint8_t>((rng.Next() % 2 ? 0x80 : 0x00) | (rng.Next() % 2));
    PutSwitchRecord(img, at + 1, kSwitchCodes[rng.Next() % 8], rng.Range(0, 100), 0);
    img[at + 4] = static_cast<uint8_t>(rng.Range(0, 100));
    img[at + 6] = rng.Next() % 2 ? kNoControl : kSwitchCodes[rng.Next() % 8];
    img[at + 7] = static_cast<uint8_t>(rng.Range(0, 100));
}

// Which channel (0..11) each function k drives; 0xFF for none. A glider also
// drives its flap, butterfly and camber functions; a multicopter names one
// function with an unused channel number (12..15).
void PutChannelTable(std::vector<uint8_t>& img, uint8_t modelType, uint32_t seed)
{
    uint8_t table[32];
    std::memset(table, kNoControl, sizeof(table));
    switch (modelType) {
    case 1:  // helicopter: pitch and throttle swapped
        for (uint8_t k = 0; k < 8; ++k)
            table[k] = k;
        std::swap(table[2], table[5]);
        break;
    case 2:  // glider: six main functions, then 19, 22, 23, 24; the last one used
        for (uint8_t k = 0; k < 6; ++k)
            table[k] = k;
        table[19] = 6;
        table[22] = 7;
        table[23] = 8;
        table[24] = 9;
        table[31] = 10;
        break;
    case 3:  // multicopter
        for (uint8_t k = 0; k < 8; ++k)
            table[k] = k;
        table[8] = 13;
        break;
    default:  // airplane: eight functions, flaperon on 23; a small model fewer
        for (uint8_t k = 0; k < (seed % 3 != 1 ? 8 : 5); ++k)
            table[k] = k;
        table[23] = seed % 3 != 1 ? 8 : 12;
        break;
    }
    std::memcpy(&img[kChannelTable], table, sizeof(table));
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


// Settings of the whole model: timers, flag bytes, the per-channel tables and
// bit sets, trims, switch assignments and mode bytes.
void PutModelSettings(std::vector<uint8_t>& img, uint8_t modelType, Lcg& rng)
{
    PutValues(img, 80, 4, 0, 100, rng);
    img[99] = static_cast<uint8_t>(0x01 | (rng.Next() % 2 ? 0x10 : 0x40) | (rng.Next() % 2 ? 0x80 : 0));
    // Timer 1 counts down from T seconds, timer 2 counts up.
    img[110] = 0x0B;
    PutBE16(&img[111], static_cast<uint16_t>(60 * rng.Range(3, 10)));
    PutSwitchRecord(img, 113, kSwitchCodes[rng.Next() % 8], 100, -100);
    PutSwitchRecord(img, 116, kNoControl, 5, -5);
    PutBE32(&img[135], static_cast<uint32_t>(rng.Range(0, 1200)));
    img[119] = 0x01;
    PutBE16(&img[120], 0);
    PutSomeSwitch(img, 122, rng);
    PutSwitchRecord(img, 125, kNoControl, 5, -5);
    PutBE32(&img[139], static_cast<uint32_t>(rng.Range(0, 36000)));
    img[143] = static_cast<uint8_t>(rng.Next());
    PutSomeSwitch(img, 144, rng);
    PutSomeSwitch(img, 147, rng);
    img[152] = static_cast<uint8_t>(0x10 * rng.Range(0, 3) | rng.Range(0, 3));
    img[153] = static_cast<uint8_t>(rng.Range(0, 10));
    img[154] = static_cast<uint8_t>(rng.Next());
    img[156] = static_cast<uint8_t>(rng.Next() % 2 ? 0x80 : 0x00);
    img[159] = static_cast<uint8_t>(rng.Range(1, 4));
    PutValues(img, 164, 26, 0, 100, rng);

    // Per channel: a neutral offset; three sets of reversing and limit bits.
    PutValues(img, 246, 12, -20, 20, rng);
    for (size_t at : {258u, 260u, 262u}) {
        img[at] = static_cast<uint8_t>(rng.Next());
        img[at + 1] = static_cast<uint8_t>(rng.Next() & 0x0F);
    }
    PutValues(img, 264, 82, 0, 100, rng);
    PutSomeSwitch(img, 287, rng);
    for (size_t at = 322; at < 346; at += 3)
        PutSomeSwitch(img, at, rng);
    img[386] = static_cast<uint8_t>(rng.Range(0, 3));
    PutSomeSwitch(img, 387, rng);
    img[390] = static_cast<uint8_t>(rng.Range(0, 100));
    // Helicopters and gliders: four switch range records, each after a value.
    for (size_t at = 451; at < 467; at += 4) {
        img[at] = static_cast<uint8_t>(rng.Range(0, 100));
        PutSomeSwitch(img, at + 1, rng);
    }

    // 632..761: trims, travel limits, switch fields and the offsets of the
    // rate tables (682, 687, 692, one per condition).
    img[632] = static_cast<uint8_t>(rng.Next() & 0x0F);
    PutValues(img, 633, 129, 0, 100, rng);
    PutSomeSwitch(img, 634, rng);
    for (size_t at = 640; at < 664; ++at)
        img[at] = rng.Next() % 3 ? kNoControl : kSwitchCodes[rng.Next() % 8];
    PutValues(img, 682, 15, -10, 10, rng);
    PutSomeSwitch(img, 745, rng);
    if (modelType != 1) {
        img[1363] = static_cast<uint8_t>(rng.Range(0, 100));
        PutSomeSwitch(img, 1364, rng);
        img[1367] = static_cast<uint8_t>(rng.Range(0, 100));
    }

    // Trainer records, mode bytes and their flags, the trim steps, the stick
    // alarm and the model-wide switches.
    for (size_t at = 1624; at < 1664; at += 8)
        PutValues(img, at, 8, 0, 100, rng);
    for (size_t at = 1685; at <= 1692; ++at)
        img[at] = static_cast<uint8_t>(rng.Range(0, 3));
    img[1698] = static_cast<uint8_t>(rng.Range(0, 3));
    img[1699] = static_cast<uint8_t>(rng.Range(0, 3));
    for (size_t k = 0; k < 12; ++k)
        img[1812 + 2 * k] = static_cast<uint8_t>(rng.Range(1, 10));
    img[1876] = static_cast<uint8_t>(rng.Next() % 2 ? 0x80 : 0x00);
    PutValues(img, 1877, 3, 0, 100, rng);
    PutSigned(img, 1880, rng.Range(-100, 100));
    PutValues(img, 2196, 14, 0, 100, rng);
    img[2204] = static_cast<uint8_t>(rng.Next() % 2);
    img[2206] = static_cast<uint8_t>(rng.Next());
    img[2207] = static_cast<uint8_t>(rng.Next() % 2 ? 0x80 : 0x00);
}

// Helicopter settings: swash and throttle switches, pitch and throttle
// records, the four bit tables (some with one entry per condition) and the
// hover curves.
void PutHeliSettings(std::vector<uint8_t>& img, Lcg& rng)
{
    for (size_t at = 762; at < 802; at += 4) {
        img[at] = static_cast<uint8_t>(rng.Next() % 2 ? 0x80 : 0x00);
        PutSwitchRecord(img, at + 1, kSwitchCodes[rng.Next() % 8], rng.Range(0, 30), -rng.Range(0, 30));
    }
    for (size_t at = 802; at < 862; at += 6) {
        img[at] = static_cast<uint8_t>(rng.Next() % 2 ? 0x80 : 0x00);
        img[at + 1] = kSwitchCodes[rng.Next() % 8];
        PutSigned(img, at + 2, -rng.Range(0, 30));
        img[at + 3] = static_cast<uint8_t>(rng.Range(50, 100));
        img[at + 4] = static_cast<uint8_t>(rng.Next() % 2 ? 0x40 : 0xC0);
    }
    PutValues(img, 866, 3, 0, 50, rng);
    for (size_t at = 869; at < 885; at += 4)
        PutHead(img, at, rng);
    PutValues(img, 885, 40, -100, 100, rng);
    for (size_t at = 925; at < 937; at += 4)
        PutHead(img, at, rng);
    PutValues(img, 937, 30, -100, 100, rng);
    img[1134] = static_cast<uint8_t>(rng.Next() % 2 ? 0x80 : 0x00);
    for (int c = 0; c < kConditions; ++c) {
        int v = rng.Range(-100, -40);
        for (int i = 0; i < 5; ++i, v = std::min(100, v + rng.Range(10, 40)))
            PutSigned(img, 1135 + 5 * c + i, v);
    }
    // Bit tables: 1160 and 1281 one entry per condition, 1200 and 1321 shared.
    for (size_t base : {1160u, 1200u, 1281u, 1321u}) {
        for (int c = 0; c < kConditions; ++c)
            PutHeliRecord(img, base + 8 * c, rng);
        if (base == 1160 || base == 1281)
            img[base + 1] = kGroupMarker;
    }
}

// Settings of the other model types: mixes, flaps, throttle curve, delays,
// butterfly and camber.
void PutPlaneSettings(std::vector<uint8_t>& img, uint8_t modelType, Lcg& rng)
{
    for (size_t group : {768u, 792u}) {
        PutHead(img, group, rng);
        PutValues(img, group + 4, 20, -50, 50, rng);
    }
    PutHead(img, 816, rng);
    PutValues(img, 820, 10, 20, 100, rng);
    PutHead(img, 830, rng);
    PutValues(img, 835, 100, -60, 60, rng);
    PutHead(img, 935, rng);
    PutValues(img, 939, 120, -60, 60, rng);
    img[1059] = static_cast<uint8_t>(rng.Range(0, 3));
    PutSomeSwitch(img, 1060, rng);
    PutHead(img, 1063, rng);
    PutValues(img, 1067, 20, -50, 50, rng);
    PutValues(img, 1087, 45, 0, 100, rng);
    PutHead(img, 1132, rng);
    PutBE16(&img[1136], static_cast<uint16_t>(static_cast<int16_t>(rng.Range(-50, 50))));
    PutValues(img, 1138, 80, -50, 50, rng);
    // Delays: four flag bytes, then per condition rates and selections.
    img[1218] = static_cast<uint8_t>(rng.Range(0, 3));
    PutSwitchRecord(img, 1219, kNoControl, 0, 0);
    for (int c = 0; c < kConditions; ++c) {
        const size_t at = 1222 + 15 * static_cast<size_t>(c);
        img[at] = static_cast<uint8_t>(rng.Next() & 0x0F);
        PutValues(img, at + 1, 10, 0, 20, rng);
        PutValues(img, at + 11, 4, 0, 20, rng);
    }
    PutValues(img, 1297, 49, 0, 100, rng);
    PutSomeSwitch(img, 1297, rng);
    PutSomeSwitch(img, 1300, rng);
    for (size_t at = 1311; at < 1339; at += 7)
        PutHead(img, at, rng);
    PutSomeSwitch(img, 1339, rng);
    PutHead(img, 1342, rng);
    img[1362] = static_cast<uint8_t>(rng.Range(0, 100));
    img[1368] = static_cast<uint8_t>(rng.Next() & 0x83);
    PutSomeSwitch(img, 1369, rng);
    PutValues(img, 1372, 6, 0, 100, rng);
    for (size_t at = 1378; at < 1399; at += 7) {
        img[at] = static_cast<uint8_t>(rng.Next() & 0x8F);
        PutSomeSwitch(img, at + 1, rng);
        PutValues(img, at + 4, 3, -50, 50, rng);
    }
    for (size_t head : {1399u, 1413u}) {
        PutHead(img, head, rng);
        PutValues(img, head + 4, 10, -60, 60, rng);
    }
    for (int c = 0; c < kConditions; ++c) {
        img[1438 + 3 * c] = static_cast<uint8_t>(rng.Range(50, 100));
        PutSigned(img, 1439 + 3 * c, rng.Range(-30, 30));
        PutSigned(img, 1440 + 3 * c, rng.Range(-50, 50));
    }
    // Flap, aileron-to-flap, butterfly and camber rates with their offsets.
    if (modelType == 0 || modelType == 2) {
        PutValues(img, 1479, 40, -100, 100, rng);
        PutValues(img, 1519, 20, -20, 20, rng);
    }
    for (int c = 0; c < kConditions; ++c) {
        // Throttle cut mode on some conditions, none on others.
        img[1563 + 2 * c] = c % 2 ? kNoControl : static_cast<uint8_t>((rng.Range(0, 3) << 6) | kSwitchCodes[c]);
        PutSigned(img, 1564 + 2 * c, rng.Range(-30, 30));
        img[1573 + 2 * c] = c % 3 ? kNoControl : kSwitchCodes[c];
        img[1574 + 2 * c] = static_cast<uint8_t>(rng.Range(0, 100));
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

    PutChannelTable(img, model.modelType, model.seed);
    PutModelSettings(img, model.modelType, rng);

    for (size_t i = 0; i < 12; ++i) {
        img[kSwitchTableA + i] = i % 3 == 0 ? kSwitchCodes[rng.Next() % 8] : kNoControl;
        img[kSwitchTableB + i] = i % 4 == 1 ? kSwitchCodes[rng.Next() % 8] : kNoControl;
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

    if (model.modelType == 1)
        PutHeliSettings(img, rng);
    else
        PutPlaneSettings(img, model.modelType, rng);

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
