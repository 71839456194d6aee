// The image file layer and TinyVolume on real files.
#include <gtest/gtest.h>

#include "Portable.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "samplegen/PX200Samples.h"
#include "samplegen/TinyVolumeBuilder.h"
#include "storage/TinyImage.h"
#include "storage/tinyfs.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Utf16Field(std::u16string_view text, size_t bytes)
{
    std::vector<uint8_t> out(bytes, 0);
    for (size_t i = 0; i < text.size() && 2 * i + 1 < bytes; ++i) {
        out[2 * i] = static_cast<uint8_t>(text[i]);
        out[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    return out;
}

// A small model-like file: byte 1, 16 bytes of text at 2 and at 18.
std::vector<uint8_t> ModelLike(uint8_t byte1, std::u16string_view text2, std::u16string_view name, size_t size = 200)
{
    std::vector<uint8_t> out(std::max<size_t>(size, 34), 0xA5);
    out[1] = byte1;
    const auto t = Utf16Field(text2, 16);
    const auto n = Utf16Field(name, 16);
    std::copy(t.begin(), t.end(), out.begin() + 2);
    std::copy(n.begin(), n.end(), out.begin() + 18);
    out.resize(size);
    return out;
}

std::vector<uint8_t> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint64_t Fnv1a(const std::vector<uint8_t>& bytes)
{
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

class TinyImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TinySetBlockDevice(nullptr);
        ASSERT_TRUE(TinyStartup());
        dir = fs::temp_directory_path() /
              ("tinyfs-image-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        TinyShutdown();
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    std::string Write(const TinyVolumeBuilder& b, const std::string& name = "TINYFS.IMG")
    {
        const std::string path = (dir / name).string();
        EXPECT_TRUE(b.WriteFile(path));
        return path;
    }

    fs::path dir;
};

TEST_F(TinyImageTest, MountFailureTexts)
{
    TinyVolumeBuilder b(8, 16, 8);
    b.AddFile(6, ModelLike(0, u"PX200", u"A"));
    const std::string good = Write(b);
    TinyVolume holder;
    ASSERT_TRUE(holder.Mount(good));

    // Missing: nothing is opened, the image another object holds stays open.
    TinyVolume v;
    const std::string missing = (dir / "nothing" / "TINYFS.IMG").string();
    EXPECT_FALSE(v.Mount(missing));
    EXPECT_EQ(v.m_errorText, "The mount file " + missing + " It isn't found out.");
    EXPECT_TRUE(TinyImageIsOpen());
    EXPECT_EQ(holder.m_entries.size(), 14u);
    TinyFileStat st{};
    EXPECT_EQ(TinyStat(0, 0, 6, &st), 0);

    // Read-only: refused before any open.
    const std::string readOnly = Write(b, "ro.img");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_FALSE(v.Mount(readOnly));
    EXPECT_EQ(v.m_errorText, "The mount file " + readOnly + " It is read only.");
    EXPECT_EQ(TinyStat(0, 0, 6, &st), 0);
    ::chmod(readOnly.c_str(), 0644);  // so that the folder can be removed everywhere

    // Held by another program.
    holder.Unmount();
    {
        ExclusiveHold other(good);
        ASSERT_TRUE(other.Held());
        EXPECT_FALSE(v.Mount(good));
        EXPECT_EQ(v.m_errorText, "The mount file " + good +
                                     " can not be opened.\r\nThere is possibility that other VOLMOUNT mounts.");
    }

    // A folder in place of the file: cannot be opened, no second line.
    const std::string folder = (dir / "folder.img").string();
    fs::create_directories(folder);
    EXPECT_FALSE(v.Mount(folder));
    EXPECT_EQ(v.m_errorText, "The mount file " + folder + " can not be opened.");

    // Not a volume: the file is closed again (our own lock is free once more).
    std::vector<uint8_t> bad = b.Build();
    bad[0] = 'X';
    const std::string badPath = (dir / "bad.img").string();
    std::ofstream(badPath, std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), bad.size());
    EXPECT_FALSE(v.Mount(badPath));
    EXPECT_EQ(v.m_errorText, "It failed in the mount.");
    EXPECT_FALSE(TinyImageIsOpen());
    EXPECT_EQ(v.m_volumeIndex, -1);
    EXPECT_TRUE(ExclusiveHold(badPath).Held());

    // A later success keeps the old reason.
    EXPECT_TRUE(v.Mount(good));
    EXPECT_EQ(v.m_errorText, "It failed in the mount.");
    EXPECT_EQ(v.m_imagePath, good);
    EXPECT_EQ(v.m_volumeIndex, 0);
    v.Unmount();
    EXPECT_TRUE(v.m_imagePath.empty());
    EXPECT_TRUE(v.m_entries.empty());
    EXPECT_FALSE(TinyImageIsOpen());
}

TEST_F(TinyImageTest, DirectoryEntries)
{
    TinyVolumeBuilder b(8, 8, 8);
    b.AddFile(2, ModelLike(0x7E, u"SETTINGS", u"IGNORED"), 0, 1111, 2222)
        .AddFile(6, ModelLike(1, u"PX200   ", u"HELI 450  \t"), 0, TinyFatDate(2024, 2, 3), TinyFatTime(4, 5, 6))
        .AddFile(7, ModelLike(3, u"AB\u0000CD", u"QUAD X GOES ON AND ON", 30));
    TinyVolume v;
    ASSERT_TRUE(v.Mount(Write(b)));
    ASSERT_EQ(v.m_entries.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(v.m_entries[i].number, i + 2);
    for (size_t i : {1, 2, 3}) {
        EXPECT_EQ(v.m_entries[i].isEmpty, 1);
        EXPECT_EQ(v.m_entries[i].size, 0u);
    }
    const TinyFileEntry& two = v.m_entries[0];
    EXPECT_EQ(two.isEmpty, 0);
    EXPECT_EQ(two.byte1, 0x7E);
    EXPECT_EQ(two.date, 1111);
    EXPECT_EQ(two.time, 2222);
    EXPECT_EQ(two.size, 200u);
    EXPECT_TRUE(two.name.empty());  // numbers 2..5 carry no texts
    EXPECT_TRUE(two.text2.empty());
    const TinyFileEntry& six = v.m_entries[4];
    EXPECT_EQ(six.byte1, 1);
    EXPECT_EQ(six.name, u"HELI 450");
    EXPECT_EQ(six.text2, u"PX200   ");  // not trimmed
    EXPECT_EQ(six.date, TinyFatDate(2024, 2, 3));
    // A 30-byte file: the name is cut at the end of the file.
    const TinyFileEntry& seven = v.m_entries[5];
    EXPECT_EQ(seven.size, 30u);
    EXPECT_EQ(seven.name, u"QUAD X");
    EXPECT_EQ(seven.text2, u"AB");
}

TEST_F(TinyImageTest, TinyVolumesAndUnopenableFiles)
{
    TinyVolume v;
    ASSERT_TRUE(v.Mount(Write(TinyVolumeBuilder(8, 1, 4), "one.img")));
    EXPECT_TRUE(v.m_entries.empty());
    ASSERT_TRUE(v.Mount(Write(TinyVolumeBuilder(8, 0, 4), "none.img")));
    EXPECT_TRUE(v.m_entries.empty());

    // Mount opens every existing file, listed or not: a directory record at
    // number 3 makes the whole volume unusable, and the reason stays as it was.
    TinyVolumeBuilder b(8, 8, 8);
    b.AddFile(3, {}, TINY_ATTR_DIRECTORY).AddFile(6, ModelLike(0, u"PX200", u"A"));
    v.m_errorText = "earlier";
    EXPECT_FALSE(v.Mount(Write(b)));
    EXPECT_EQ(v.m_errorText, "earlier");
    EXPECT_EQ(v.m_volumeIndex, -1);
    EXPECT_FALSE(TinyImageIsOpen());

    // A model whose data cluster lies outside the volume cannot be read.
    TinyVolumeBuilder c(8, 8, 8);
    c.AddFile(6, ModelLike(0, u"PX200", u"A"));
    std::vector<uint8_t> img = c.Build();
    img[size_t{c.RecordBlock(6)} * 64 + TINY_REC_CLUSTERS + 1] = 9;
    const std::string path = (dir / "far.img").string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(img.data()), img.size());
    EXPECT_FALSE(v.Mount(path));
    EXPECT_FALSE(TinyImageIsOpen());
}

TEST_F(TinyImageTest, BlockAccessStopsAtTheEndOfTheFile)
{
    const std::string path = (dir / "short.img").string();
    std::vector<uint8_t> bytes(1000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    uint8_t block[64];
    EXPECT_EQ(TinyReadBlock(0, 0, block), -1);  // no image open
    int volume = -1;
    int osError = -1;
    EXPECT_FALSE(TinyOpenImage(path, &volume, &osError));  // opens, but no volume
    EXPECT_EQ(osError, 0);
    EXPECT_FALSE(TinyOpenImage((dir / "absent").string(), &volume, &osError));
    EXPECT_NE(osError, 0);

    // Serve blocks from the short file through a valid header written over it.
    TinyVolumeBuilder b(8, 1, 1);
    std::vector<uint8_t> header = b.Build();
    std::copy(header.begin(), header.begin() + 64, bytes.begin());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    ASSERT_TRUE(TinyOpenImage(path, &volume, &osError));
    EXPECT_EQ(TinyReadBlock(0, 14, block), 0);
    EXPECT_EQ(block[0], static_cast<uint8_t>(14 * 64));
    EXPECT_EQ(TinyReadBlock(0, 15, block), -1);  // only 40 of its bytes exist
    // Block offsets are 64-bit: block 2^26 is at 4 GiB, not back at byte 0.
    EXPECT_EQ(TinyReadBlock(0, 1u << 26, block), -1);
    EXPECT_EQ(TinyReadBlock(0, UINT32_MAX, block), -1);
    TinyCloseImage(volume);
    EXPECT_FALSE(TinyImageIsOpen());
}

TEST_F(TinyImageTest, EngineWritesReachTheFile)
{
    TinyVolumeBuilder b(8, 16, 8);
    const std::string path = Write(b);
    int volume = -1;
    int osError = 0;
    ASSERT_TRUE(TinyOpenImage(path, &volume, &osError));
    const int h = TinyOpen(volume, 0, 9, 17);
    ASSERT_GE(h, 0);
    const std::vector<uint8_t> data = ModelLike(2, u"PX200   ", u"WRITTEN", 6618);
    ASSERT_EQ(TinyWrite(h, data.data(), static_cast<uint32_t>(data.size())), 6618);
    ASSERT_EQ(TinyClose(h), 0);
    TinyCloseImage(volume);

    const std::vector<uint8_t> file = FileBytes(path);
    ASSERT_EQ(file.size(), size_t{b.TotalBlocks()} * 64);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), file.begin() + size_t{b.ClusterBlock(1)} * 64));

    TinyVolume v;
    ASSERT_TRUE(v.Mount(path));
    EXPECT_EQ(v.m_entries[7].size, 6618u);
    EXPECT_EQ(v.m_entries[7].name, u"WRITTEN");
}

// Listing and reading every model leave the image byte for byte as it was.
TEST_F(TinyImageTest, SampleImageListsWithoutChangingAByte)
{
    WritePX200SampleImage(dir.string());
    const fs::path path = dir / "TINYFS.IMG";
    const std::vector<uint8_t> before = FileBytes(path);
    const uint64_t hashBefore = Fnv1a(before);

    TinyVolume v;
    ASSERT_TRUE(v.Mount(path.string()));
    ASSERT_EQ(v.m_entries.size(), 38u);
    std::vector<uint32_t> present;
    for (const TinyFileEntry& e : v.m_entries)
        if (!e.isEmpty)
            present.push_back(e.number);
    EXPECT_EQ(present, (std::vector<uint32_t>{2, 6, 7, 8, 10, 11}));
    const auto& models = PX200Samples();
    const uint32_t numbers[] = {6, 7, 8, 10, 11};
    for (size_t i = 0; i < models.size(); ++i) {
        const TinyFileEntry& e = v.m_entries[numbers[i] - 2];
        // The directory holds the first 8 characters, trailing blanks removed.
        std::u16string shortName = models[i].modelName.substr(0, 8);
        shortName.erase(shortName.find_last_not_of(u' ') + 1);
        EXPECT_EQ(e.name, shortName);
        EXPECT_EQ(e.text2, u"PX200   ");
        EXPECT_EQ(e.byte1, models[i].modelType);
        EXPECT_GE(e.size, kPX200ModelBytes);
        // Read the whole model and compare it with what was generated.
        const int h = TinyOpen(0, 0, numbers[i], 0);
        ASSERT_GE(h, 0);
        std::vector<uint8_t> model(kPX200ModelBytes);
        ASSERT_EQ(TinyRead(h, model.data(), kPX200ModelBytes), static_cast<int>(kPX200ModelBytes));
        ASSERT_EQ(TinyClose(h), 0);
        EXPECT_EQ(model, MakePX200Model(models[i]));
    }
    v.Unmount();
    EXPECT_EQ(Fnv1a(FileBytes(path)), hashBefore);
}

TEST(PX200Samples, ModelsCarryTheHeaderAndRateTables)
{
    const auto& models = PX200Samples();
    bool marked = false;
    bool unmarked = false;
    std::vector<int> types(4, 0);
    for (const PX200Sample& model : models) {
        const std::vector<uint8_t> m = MakePX200Model(model);
        ASSERT_EQ(m.size(), kPX200ModelBytes);
        ++types.at(m[1]);
        for (size_t table : {527u, 562u, 597u})
            EXPECT_EQ(m[table] == 0x2F, model.perConditionRates);
        (model.perConditionRates ? marked : unmarked) = true;
        // Name in the transmitter character set and condition names.
        for (size_t i = 0; i < model.modelName.size() && i < 11; ++i)
            EXPECT_EQ(m[88 + i], model.modelName[i]);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&m[1700]), 8).substr(0, 6), "NORMAL");
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(m[1700 + 9 * c + 8], 0);
    }
    EXPECT_TRUE(marked && unmarked);
    EXPECT_EQ(std::count(types.begin(), types.end(), 0), 0);  // every model type appears
    EXPECT_EQ(MakePX200Model(models[0]), MakePX200Model(models[0]));
}

}  // namespace
