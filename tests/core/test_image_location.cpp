// Model files inside a TINYFS image: a folder holding TINYFS.IMG is listed,
// opened and read by file number, and listing never changes the image.
#include <gtest/gtest.h>

#include "Portable.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

#include "RecordingHost.h"
#include "app/ModelList.h"
#include "platform/File.h"
#include "app/Strings.h"
#include "platform/Text.h"
#include "samplegen/SampleFiles.h"
#include "samplegen/TinyVolumeBuilder.h"
#include "storage/ModelDataFile.h"
#include "storage/TinyImage.h"
#include "TestFolder.h"

namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t seed)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(seed + i * 7);
    return v;
}

std::vector<std::string> List(CModelDataFile& file, const std::string& start = "4")
{
    std::vector<std::string> keys;
    bool found = file.FindFirst(start);
    while (found) {
        found = file.FindNext();
        keys.push_back(file.GetCurrentName());
    }
    return keys;
}

class ImageLocation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TinyStartup()); }
    void TearDown() override { TinyShutdown(); }

    // 40 file slots with files at 2, 6, 7, 9, 37, 38 and 39.
    std::string MakeImage(const std::string& name = "TINYFS.IMG")
    {
        TinyVolumeBuilder builder(8, 40, 12);
        for (uint16_t n : {2, 6, 7, 9, 37, 38, 39})
            builder.AddFile(n, Bytes(n == 7 ? 6618 : 100 + n, static_cast<uint8_t>(n)));
        const std::string path = m_dir.File(name);
        EXPECT_TRUE(builder.WriteFile(path));
        return path;
    }

    TestFolder m_dir;
};

} // namespace

TEST_F(ImageLocation, ListsFileNumbersFromSixBelowTheEntryCount)
{
    MakeImage();
    CModelDataFile file(m_dir.Path());
    ASSERT_EQ(file.m_isVolume, 1);
    EXPECT_EQ(file.GetFileCount(), 38);
    EXPECT_EQ(List(file), (std::vector<std::string>{"6", "7", "9", "37"}));
    // FindNext after the last file keeps it current.
    EXPECT_EQ(file.GetCurrentName(), "37");
    EXPECT_EQ(file.GetEntry(7 - 2).size, 6618u);
    EXPECT_EQ(file.GetEntry(3 - 2).isEmpty, 1);
    EXPECT_EQ(file.GetNewFileNumber(), 8);
    // A start beyond every file finds nothing.
    EXPECT_FALSE(file.FindFirst("38"));
    // The first probe is made even at or beyond the bound: file 38 is found
    // that way, but the search goes no further.
    EXPECT_TRUE(file.FindFirst("36"));
    EXPECT_FALSE(file.FindNext());
    EXPECT_EQ(file.GetCurrentName(), "38");
}

TEST_F(ImageLocation, ImageNameCaseAndTrailingSeparator)
{
    MakeImage("tinyfs.img");
    {
        CModelDataFile file(m_dir.Path() + ARK_SEP "");
        EXPECT_EQ(file.m_isVolume, 1);
        EXPECT_EQ(file.m_volume.m_imagePath, m_dir.Path() + ARK_SEP "tinyfs.img");
    }
    EXPECT_FALSE(TinyImageIsOpen());  // destruction unmounted and closed it
    CModelDataFile file(m_dir.Path());
    EXPECT_EQ(file.m_volume.m_imagePath, m_dir.Path() + ARK_SEP "tinyfs.img");
}

TEST_F(ImageLocation, OpenReadAndErrorsByFileNumber)
{
    MakeImage();
    CModelDataFile file(m_dir.Path());
    ASSERT_EQ(file.m_isVolume, 1);

    // A failure inside the image carries the engine's code.
    const FileResult missing = file.Open("8", CFile::typeBinary | CFile::modeRead);
    EXPECT_EQ(std::tie(missing.ok, missing.inImage, missing.code, missing.fileName),
              std::make_tuple(false, true, 2L, std::string("8")));

    ASSERT_TRUE(file.Open("7", CFile::typeBinary | CFile::modeRead).ok);
    EXPECT_EQ(file.m_currentName, m_dir.Path() + "7");
    std::vector<uint8_t> buf(7000, 0);
    unsigned got = 1;
    for (const auto& [count, expected] : {std::pair{0u, 0u}, {6000u, 6000u}, {6000u, 618u}, {6000u, 0u}}) {
        EXPECT_TRUE(file.Read(buf.data(), count, got).ok);
        EXPECT_EQ(got, expected);
    }
    EXPECT_TRUE(file.Close().ok);
    EXPECT_EQ(file.m_handle, -1);
    // Reading with no file open fails with the engine's EBADF, nothing read.
    const FileResult closed = file.Read(buf.data(), 10, got);
    EXPECT_EQ(std::tie(closed.ok, closed.inImage, closed.code, got), std::make_tuple(false, true, 9L, 0u));

    // Keys are read as decimal values: blanks, a sign, digits; 16 bits name the file.
    ASSERT_TRUE(file.Open(" +65543xyz", CFile::typeBinary).ok);
    std::vector<uint8_t> seven(10);
    EXPECT_TRUE(file.Read(seven.data(), 10, got).ok);
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(seven[0], 7);
    file.Close();
}

TEST_F(ImageLocation, CreateFlagsKeepAnExistingFile)
{
    MakeImage();
    CModelDataFile file(m_dir.Path());
    ASSERT_TRUE(file.Open("6", CFile::typeBinary | CFile::modeCreate | CFile::modeWrite).ok);
    const uint8_t patch[3] = {0xA1, 0xA2, 0xA3};
    EXPECT_TRUE(file.Write(patch, 3).ok);
    EXPECT_TRUE(file.Close().ok);
    ASSERT_TRUE(file.Open("6", CFile::typeBinary).ok);
    std::vector<uint8_t> back(200, 0);
    unsigned got = 0;
    ASSERT_TRUE(file.Read(back.data(), 200, got).ok);
    ASSERT_EQ(got, 106u);
    file.Close();
    const std::vector<uint8_t> original = Bytes(106, 6);
    EXPECT_EQ(back[0], 0xA1);
    EXPECT_EQ(back[2], 0xA3);
    EXPECT_TRUE(std::equal(original.begin() + 3, original.end(), back.begin() + 3));
}

TEST_F(ImageLocation, ListingAndReadingLeaveTheImageUnchanged)
{
    const std::string path = MakeImage();
    const std::vector<uint8_t> before = ReadSampleFile(path);
    const auto stamp = std::filesystem::last_write_time(path);
    for (int round = 0; round < 2; ++round) {
        CModelDataFile file(m_dir.Path());
        for (const std::string& key : List(file)) {
            ASSERT_TRUE(file.Open(key, CFile::typeBinary | CFile::modeRead).ok);
            std::vector<uint8_t> buf(6618);
            unsigned got = 0;
            EXPECT_TRUE(file.Read(buf.data(), 88, got).ok);
            file.Close();
        }
    }
    EXPECT_EQ(ReadSampleFile(path), before);
    EXPECT_EQ(std::filesystem::last_write_time(path), stamp);
}

TEST_F(ImageLocation, UnusableImagesLeaveAPlainFolder)
{
    const std::string path = MakeImage();
    WriteSampleFile(m_dir.File("A.MDL"), Bytes(50, 1));
    WriteSampleFile(m_dir.File("B.MDL"), Bytes(50, 2));

    ::chmod(path.c_str(), 0444);
    {
        CModelDataFile file(m_dir.Path());
        EXPECT_EQ(file.m_isVolume, 0);
        EXPECT_EQ(file.m_volume.m_errorText, "The mount file " + path + " It is read only.");
        EXPECT_EQ(file.GetFileCount(), 2);
        bool found = file.FindFirst(file.ListPattern());
        std::vector<std::string> keys;
        while (found) {
            found = file.FindNext();
            keys.push_back(file.GetCurrentName());
        }
        EXPECT_EQ(keys, (std::vector<std::string>{m_dir.File("A.MDL"), m_dir.File("B.MDL")}));
    }
    ::chmod(path.c_str(), 0644);

    WriteSampleFile(path, std::vector<uint8_t>(4096, 0));  // no volume header
    CModelDataFile broken(m_dir.Path());
    EXPECT_EQ(broken.m_isVolume, 0);
    EXPECT_EQ(broken.m_volume.m_errorText, "It failed in the mount.");
    EXPECT_FALSE(TinyImageIsOpen());
}

// The listing of a folder whose image cannot be used names the image and why;
// a mounted image or none at all says nothing.
TEST_F(ImageLocation, AListingSaysWhyTheImageWasPassedOver)
{
    SetLanguage(Language::English);
    const std::string image = MakeImage();
    RecordingHost host;
    auto notice = [&] { return Utf16ToUtf8(FillModelList(host, m_dir.Path()).notice); };
    auto reason = [&](unsigned id) { return Utf16ToUtf8(FormatString(id, {Utf8ToUtf16(image)})); };
    EXPECT_EQ(notice(), "");
    ::chmod(image.c_str(), 0444);  // the mode decides, also for a user whom permissions do not stop
    EXPECT_EQ(notice(), reason(1533));
    ::chmod(image.c_str(), 0644);
    {
        ExclusiveHold other(image);
        ASSERT_TRUE(other.Held());
        EXPECT_EQ(notice(), reason(1534));
    }
    WriteSampleFile(image, std::vector<uint8_t>(4096, 0));
    EXPECT_EQ(notice(), reason(1535));
    std::filesystem::remove(image);
    std::filesystem::create_directory(image);
    EXPECT_EQ(notice(), reason(1536));
    std::filesystem::remove(image);
    EXPECT_EQ(notice(), "");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ImageLocation, OnlyOneImageIsOpenAtATime)
{
    MakeImage();
    TestFolder other;
    TinyVolumeBuilder builder(8, 12, 4);
    builder.AddFile(6, Bytes(30, 9));
    ASSERT_TRUE(builder.WriteFile(other.File("TINYFS.IMG")));

    CModelDataFile first(m_dir.Path());
    ASSERT_EQ(first.m_isVolume, 1);
    {
        // A folder without an image does not disturb the open one.
        TestFolder plain;
        CModelDataFile none(plain.Path());
        EXPECT_EQ(none.m_isVolume, 0);
    }
    EXPECT_EQ(List(first), (std::vector<std::string>{"6", "7", "9", "37"}));
    CModelDataFile second(other.Path());
    ASSERT_EQ(second.m_isVolume, 1);
    EXPECT_EQ(List(second), (std::vector<std::string>{"6"}));
}

TEST(DecimalValue, ReadsLikeTheKeysOfAnImage)
{
    EXPECT_EQ(DecimalValue("7"), 7);
    EXPECT_EQ(DecimalValue("  -12abc"), -12);
    EXPECT_EQ(DecimalValue("+4"), 4);
    EXPECT_EQ(DecimalValue("abc"), 0);
    EXPECT_EQ(DecimalValue(""), 0);
    EXPECT_EQ(DecimalValue("99999999999999999999"), 2147483647);
    EXPECT_EQ(DecimalValue("-99999999999999999999"), -2147483647 - 1);
}
