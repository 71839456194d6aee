// Model files of random bytes and random lengths, listed and read the way the
// model lists and the detail view read them: no crash, no sanitizer report.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/ModelList.h"
#include "model/ModelData.h"
#include "model/Names.h"
#include "platform/File.h"
#include "storage/ModelDataFile.h"
#include "RecordingHost.h"
#include "TestFolder.h"

namespace {

// Every header fact of a model object, as a list row shows them.
size_t TouchHeaderFacts(CModelDataBase& m)
{
    char16_t tx[9];
    m.GetTransmitterName(tx);
    size_t total = std::u16string(tx).size();
    total += std::u16string(m.GetModelName()).size();
    total += m.GetModelType();
    total += m.GetDateText().size();
    VersionRecord v{};
    m.GetVersion(&v);
    return total;
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
    int listed = 0;
    bool found = file.FindFirst(file.ListPattern());
    while (found) {
        found = file.FindNext();
        const std::string key = file.GetCurrentName();
        ASSERT_TRUE(file.Open(key, CFile::typeBinary | CFile::modeRead).ok);
        std::vector<uint8_t> whole(200001);
        unsigned got = 0;
        ASSERT_TRUE(file.Read(whole.data(), static_cast<unsigned>(whole.size()), got).ok);
        file.Close();
        // Each class reads what fits into its image, into a cleared buffer.
        for (CModelDataBase* m : {static_cast<CModelDataBase*>(px400.get()), static_cast<CModelDataBase*>(px200.get()),
                                  static_cast<CModelDataBase*>(px600.get())}) {
            std::memset(m->GetImage(), 0, m->GetImageSize());
            std::memcpy(m->GetImage(), whole.data(), std::min<size_t>(got, m->GetImageSize()));
            TouchHeaderFacts(*m);
        }
        for (int c = 0; c < 8; ++c) {
            GetConditionNamePX400(px400->GetImage(), c);
            GetConditionNamePX200(px200->GetImage(), c);
            for (int d = 0; d < 6; ++d)
                GetDualRateNamePX400(px400->GetImage(), c, d);
        }
        ++listed;
    }
    EXPECT_EQ(listed, n);

    // The model list itself: one row per file, no warning, first row selected.
    RecordingHost host;
    const ModelListing listing = FillModelList(host, dir.Path());
    EXPECT_EQ(listing.rows.size(), static_cast<size_t>(n));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(listing.selected, 0);
}
