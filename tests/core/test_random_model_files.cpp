// Model files of random bytes and random lengths, listed and read the way the
// model lists and the detail view read them: no crash, no sanitizer report,
// and every fact read stays what it was (a digest of them all).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/ModelList.h"
#include "model/ModelData.h"
#include "model/Names.h"
#include "platform/File.h"
#include "app/Strings.h"
#include "platform/Text.h"
#include "storage/ModelDataFile.h"
#include "Digest.h"
#include "RecordingHost.h"
#include "TestFolder.h"

namespace {

void AddText(std::u16string& facts, const std::u16string& text)
{
    facts += text;
    facts += u'|';
}

// Every header fact of a model object, as a list row shows them. The date is
// read but not kept: its text depends on the time zone.
void AddHeaderFacts(std::u16string& facts, CModelDataBase& m)
{
    char16_t tx[9];
    m.GetTransmitterName(tx);
    AddText(facts, std::u16string(tx, BoundedLength(tx, 9)));
    AddText(facts, m.GetModelName());
    m.GetDateText();
    VersionRecord v{};
    m.GetVersion(&v);
    for (uint32_t value : {uint32_t(m.GetModelType()), v.first, v.second, uint32_t(v.third), uint32_t(v.fourth)})
        AddText(facts, std::u16string(1, char16_t(value)) + char16_t(value >> 16));
}

// In the order of the file names: the order of a listing is the system's.
uint64_t DigestOf(const std::map<std::string, std::u16string>& facts)
{
    Digest digest;
    for (const auto& [name, text] : facts)
        for (char16_t c : text) {
            const uint8_t unit[2] = {uint8_t(c), uint8_t(c >> 8)};
            digest.Add(unit, 2);
        }
    return digest.value;
}

} // namespace

TEST(RandomModelFiles, ListingAndReadingNeverFail)
{
    TestFolder dir;
    std::mt19937 rng(20261207);
    const size_t lengths[] = {0, 1, 15, 16, 17, 63, 64, 87, 88, 187, 188, 189, 6618, 6620, 32768, 196607, 196608, 200000};
    int n = 0;
    auto write = [&](size_t len) {
        std::vector<char> bytes(len);
        for (auto& b : bytes)
            b = static_cast<char>(rng());
        // Some files claim to be a PX600 or a PX400 in their first bytes.
        if (len >= 8 && n % 3 == 0)
            std::memcpy(bytes.data(), "PX600   ", 8);
        if (len >= 16 && n % 3 == 1)
            std::memcpy(bytes.data(), "P\0X\0" "4\0" "0\0" "0\0 \0 \0 \0", 16);
        std::ofstream(dir.File("m" + std::to_string(n++) + ".MDL"), std::ios::binary).write(bytes.data(), len);
    };
    for (size_t len : lengths)
        write(len);
    for (int i = 0; i < 24; ++i)
        write(rng() % 200001);

    CModelDataFile file(dir.Path());
    auto px400 = std::make_unique<CModelDataPX400>();
    auto px200 = std::make_unique<CModelDataPX200>();
    auto px600 = std::make_unique<CModelDataPX600>();
    std::map<std::string, std::u16string> facts;
    bool found = file.FindFirst(file.ListPattern());
    while (found) {
        found = file.FindNext();
        const std::string key = file.GetCurrentName();
        ASSERT_TRUE(file.Open(key, CFile::typeBinary | CFile::modeRead).ok);
        std::vector<uint8_t> whole(200001);
        unsigned got = 0;
        ASSERT_TRUE(file.Read(whole.data(), static_cast<unsigned>(whole.size()), got).ok);
        file.Close();
        std::u16string& text = facts[std::filesystem::u8path(key).filename().string()];
        // Each class reads what fits into its image, into a cleared buffer.
        for (CModelDataBase* m : {static_cast<CModelDataBase*>(px400.get()), static_cast<CModelDataBase*>(px200.get()),
                                  static_cast<CModelDataBase*>(px600.get())}) {
            std::memset(m->GetImage(), 0, m->GetImageSize());
            std::memcpy(m->GetImage(), whole.data(), std::min<size_t>(got, m->GetImageSize()));
            AddHeaderFacts(text, *m);
        }
        for (int c = 0; c < 8; ++c) {
            AddText(text, GetConditionNamePX400(px400->GetImage(), c));
            AddText(text, GetConditionNamePX200(px200->GetImage(), c));
            for (int d = 0; d < 6; ++d)
                AddText(text, GetDualRateNamePX400(px400->GetImage(), c, d));
        }
    }
    EXPECT_EQ(facts.size(), size_t(n));

    // The model list itself: one row per file, no warning, first row selected.
    SetLanguage(Language::English);
    RecordingHost host;
    const ModelListing listing = FillModelList(host, dir.Path());
    EXPECT_EQ(listing.rows.size(), static_cast<size_t>(n));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(listing.selected, 0);
    for (const ModelListRow& row : listing.rows)
        for (int column = 0; column < 3; ++column)
            AddText(facts[std::filesystem::u8path(row.key).filename().string()], row.columns[column]);
    EXPECT_EQ(facts.size(), size_t(n));
    CheckDigest("random-model-files.digest", DigestOf(facts), 0xcbf0b94698ca28d9ull);
}
