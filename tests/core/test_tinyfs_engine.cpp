// The TINYFS engine against an in-memory block device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/SystemTime.h"
#include "samplegen/TinyMemoryDevice.h"
#include "samplegen/TinyVolumeBuilder.h"
#include "storage/TinyImage.h"
#include "storage/tinyfs.h"

namespace {

void FixedClock(SYSTEMTIME* out)
{
    *out = SYSTEMTIME{2025, 6, 0, 14, 16, 42, 38, 0};
}
const uint16_t kNowDate = TinyFatDate(2025, 6, 14);
const uint16_t kNowTime = TinyFatTime(16, 42, 38);

std::vector<uint8_t> Pattern(size_t size, uint32_t seed)
{
    std::vector<uint8_t> out(size);
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        out[i] = static_cast<uint8_t>(seed >> 24);
    }
    return out;
}

uint16_t Be16(const std::vector<uint8_t>& img, size_t at) { return static_cast<uint16_t>(img[at] << 8 | img[at + 1]); }
uint32_t Be32(const std::vector<uint8_t>& img, size_t at)
{
    return uint32_t{img[at]} << 24 | uint32_t{img[at + 1]} << 16 | uint32_t{img[at + 2]} << 8 | img[at + 3];
}
void SetBe16(std::vector<uint8_t>& img, size_t at, uint16_t v)
{
    img[at] = static_cast<uint8_t>(v >> 8);
    img[at + 1] = static_cast<uint8_t>(v);
}
void SetBe32(std::vector<uint8_t>& img, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        img[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
bool BitSet(const std::vector<uint8_t>& img, uint32_t bitmapStart, uint16_t bit)
{
    return img[(bitmapStart + bit / 512u) * 64 + (bit / 8u) % 64] & (1u << (bit % 8));
}

class TinyEngine : public ::testing::Test {
protected:
    void SetUp() override { SetLocalClockForTesting(&FixedClock); }
    void TearDown() override
    {
        TinyTerm(1);
        device.Detach();
        SetLocalClockForTesting(nullptr);
    }

    // Starts the engine on `image` with plain (unwrapped) volumes.
    void Start(std::vector<uint8_t> image, uint16_t volumeCount = 1, uint16_t handleCount = 1, bool plain = true)
    {
        device.Image() = std::move(image);
        device.Attach();
        const TinyConfig config{volumeCount, handleCount, 0, 0, volumes, handles, work};
        ASSERT_EQ(TinyInit(&config), 0);
        if (plain) {
            ASSERT_EQ(TinySetOption("NO_FAT_WRAPPING"), 0);
        }
    }
    void StartMounted(const TinyVolumeBuilder& b, uint16_t handleCount = 1)
    {
        builder = b;
        Start(b.Build(), 1, handleCount);
        ASSERT_EQ(TinyMount(0), 0);
        device.ResetCounters();
    }
    void ExpectFail(long long result, int code)
    {
        EXPECT_EQ(result, -1);
        EXPECT_EQ(TinyGetError(), code);
    }
    std::vector<uint8_t> ReadAll(uint16_t number)
    {
        TinyFileStat st{};
        EXPECT_EQ(TinyStat(0, 0, number, &st), 0);
        std::vector<uint8_t> out(st.size + 16);
        const int h = TinyOpen(0, 0, number, TINY_MODE_READ);
        EXPECT_GE(h, 0);
        const int n = TinyRead(h, out.data(), static_cast<uint32_t>(out.size()));
        EXPECT_EQ(TinyClose(h), 0);
        out.resize(n < 0 ? 0 : static_cast<size_t>(n));
        return out;
    }
    size_t RecordOffset(uint16_t number) const { return size_t{builder.RecordBlock(number)} * 64; }
    size_t ClusterOffset(uint16_t cluster) const { return size_t{builder.ClusterBlock(cluster)} * 64; }

    TinyVolumeEntry volumes[2]{};
    TinyHandleEntry handles[3]{};
    uint8_t work[TINY_WORK_BUFFER_SIZE]{};
    TinyMemoryDevice device;
    TinyVolumeBuilder builder;
};

TEST_F(TinyEngine, LifecycleChecksAndCodes)
{
    TinyTerm(1);
    ExpectFail(TinyMount(0), TINY_EPERM);
    ExpectFail(TinyOpen(0, 0, 6, 0), TINY_EPERM);
    ExpectFail(TinyTerm(1), TINY_EPERM);
    TinyFileStat st{};
    ExpectFail(TinyStat(0, 0, 6, &st), TINY_EPERM);

    ExpectFail(TinyInit(nullptr), TINY_EINVAL);
    TinyConfig config{1, 1, 0, 0, volumes, nullptr, work};
    ExpectFail(TinyInit(&config), TINY_EINVAL);
    config.handles = handles;
    config.workBuffer = nullptr;
    ExpectFail(TinyInit(&config), TINY_EINVAL);

    ExpectFail(TinySetOption("no_fat_wrapping"), TINY_EINVAL);
    ExpectFail(TinySetOption(nullptr), TINY_EINVAL);
    EXPECT_EQ(TinySetOption("NO_FAT_WRAPPING"), 0);
    EXPECT_EQ(TinyGetError(), 0);

    // TinyInit forgets the option: a plain image then fails the wrapper search.
    TinyVolumeBuilder b;
    device.Image() = b.Build();
    device.Attach();
    config.workBuffer = work;
    ASSERT_EQ(TinyInit(&config), 0);
    ExpectFail(TinyMount(0), TINY_EINVAL);
    ASSERT_EQ(TinySetOption("NO_FAT_WRAPPING"), 0);
    ASSERT_EQ(TinyMount(0), 0);
    ExpectFail(TinyMount(0), TINY_EBUSY);
    ExpectFail(TinyMount(1), TINY_ENODEV);
    ExpectFail(TinyTerm(0), TINY_EBUSY);
    EXPECT_EQ(TinyTerm(1), 0);
    ExpectFail(TinyStat(0, 0, 6, &st), TINY_EPERM);
}

TEST_F(TinyEngine, MountRefusesBadHeaders)
{
    TinyVolumeBuilder b;
    struct Case {
        const char* what;
        size_t at;
        uint8_t value;
        int code;
    } cases[] = {
        {"magic", 0, 'X', TINY_EINVAL},
        {"version 2", TINY_HDR_VERSION, 2, TINY_EINVAL},
        {"cluster size 4", TINY_HDR_CLUSTER_KIB + 1, 4, TINY_EINVAL},
        {"cluster size 512", TINY_HDR_CLUSTER_KIB, 2, TINY_EINVAL},
        {"cluster size 16", TINY_HDR_CLUSTER_KIB + 1, 16, 0},
        {"unread byte 9", 9, 0xAB, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> img = b.Build();
        img[c.at] = c.value;
        Start(img);
        if (c.code == 0)
            EXPECT_EQ(TinyMount(0), 0);
        else
            ExpectFail(TinyMount(0), c.code);
        TinyTerm(1);
    }
    Start(std::vector<uint8_t>(32, 0));  // not even one whole block
    ExpectFail(TinyMount(0), TINY_EIO);
}

TEST_F(TinyEngine, MountDerivesGeometry)
{
    // 1000 data blocks with 8 KiB clusters make 7 clusters; 1..6 allocatable.
    TinyVolumeBuilder b(8, 16, 7);
    b.SetExtraDataBlocks(1000 - 7 * 128);
    StartMounted(b, 2);
    EXPECT_EQ(volumes[0].clusters, 7);
    EXPECT_EQ(volumes[0].fileSlots, 16);
    EXPECT_EQ(volumes[0].volumeBlocks, b.TotalBlocks());
    std::vector<int> got;
    const std::vector<uint8_t> data(8192, 0x5A);
    for (uint16_t n = 0; n < 7; ++n) {
        const int h = TinyOpen(0, 0, n, 17);
        ASSERT_GE(h, 0);
        const int r = TinyWrite(h, data.data(), 8192);
        got.push_back(r < 0 ? -TinyGetError() : r);
        ASSERT_EQ(TinyClose(h), 0);
    }
    EXPECT_EQ(got, (std::vector<int>{8192, 8192, 8192, 8192, 8192, 8192, -TINY_ENOSPC}));
    TinyVolumeStat vs{};
    ASSERT_EQ(TinyStatVolume(0, &vs), 0);
    EXPECT_EQ(vs.clusters, 7);
    EXPECT_EQ(vs.freeClusters, 1);  // cluster 0 is counted free but never handed out
    EXPECT_EQ(vs.freeFileSlots, 16 - 7);
}

TEST_F(TinyEngine, OpenChecksInOrder)
{
    TinyVolumeBuilder b(8, 16, 8);
    b.AddFile(6, Pattern(100, 1)).AddFile(7, Pattern(10, 2)).AddFile(8, {}, TINY_ATTR_DIRECTORY);
    builder = b;
    Start(b.Build(), 2, 2);
    ExpectFail(TinyOpen(0, 1, 6, 0), TINY_ENODEV);  // not mounted comes before flags
    ExpectFail(TinyOpen(5, 0, 6, 0), TINY_ENODEV);
    ASSERT_EQ(TinyMount(0), 0);
    ExpectFail(TinyOpen(0, 1, 6, 0), TINY_EINVAL);
    ExpectFail(TinyOpen(0, 0, 16, 0), TINY_EINVAL);
    ExpectFail(TinyOpen(0, 0, 6, 16), TINY_EINVAL);
    ExpectFail(TinyOpen(0, 0, 6, 3), TINY_EINVAL);

    const int h = TinyOpen(0, 0, 7, 0);
    ASSERT_EQ(h, 0);
    EXPECT_EQ(TinyGetError(), 0);
    ExpectFail(TinyOpen(0, 0, 7, 0), TINY_EBUSY);
    ExpectFail(TinyOpen(0, 0, 7, 99), TINY_EBUSY);  // busy is checked before the mode
    const int h2 = TinyOpen(0, 0, 65542, 0);         // 65542 names file 6
    ASSERT_EQ(h2, 1);
    ExpectFail(TinyOpen(0, 0, 5, 17), TINY_EMFILE);
    EXPECT_FALSE(BitSet(device.Image(), TINY_FILE_BITMAP_BLOCK, 5));  // nothing created
    ASSERT_EQ(TinyClose(h2), 0);
    ExpectFail(TinyOpen(0, 0, 5, 1), TINY_ENOENT);
    ExpectFail(TinyOpen(0, 0, 8, 0), TINY_EISDIR);
    // A failed open leaves its handle free.
    const int h3 = TinyOpen(0, 0, 6, 2);
    EXPECT_EQ(h3, 1);
    ASSERT_EQ(TinyClose(h3), 0);

    ExpectFail(TinyClose(-1), TINY_EBADF);
    ExpectFail(TinyClose(2), TINY_EBADF);
    ExpectFail(TinyClose(1), TINY_EBADF);
}

TEST_F(TinyEngine, CreateStampsRecordAndBitmap)
{
    TinyVolumeBuilder b(8, 16, 8);
    StartMounted(b);
    std::vector<uint8_t> img = device.Image();
    std::fill_n(img.begin() + RecordOffset(9) + 64, 64, 0xEE);  // stale second record block
    device.Image() = img;
    const int h = TinyOpen(0, 0, 9, 17);
    ASSERT_EQ(h, 0);
    const auto& now = device.Image();
    const size_t rec = RecordOffset(9);
    EXPECT_EQ(now[rec + TINY_REC_ATTRIBUTES], 0);
    EXPECT_EQ(Be16(now, rec + TINY_REC_DATE), kNowDate);
    EXPECT_EQ(Be16(now, rec + TINY_REC_TIME), kNowTime);
    EXPECT_EQ(Be32(now, rec + TINY_REC_SIZE), 0u);
    EXPECT_TRUE(std::all_of(now.begin() + rec + 64, now.begin() + rec + 128, [](uint8_t v) { return v == 0; }));
    EXPECT_TRUE(BitSet(now, TINY_FILE_BITMAP_BLOCK, 9));
    ASSERT_EQ(TinyClose(h), 0);
    TinyFileStat st{};
    ASSERT_EQ(TinyStat(0, 0, 9, &st), 0);
    EXPECT_EQ(st.size, 0u);

    // An existing file opened with create keeps its contents and size.
    const int w = TinyOpen(0, 0, 9, 18);
    ASSERT_GE(w, 0);
    ASSERT_EQ(TinyWrite(w, "abcdef", 6), 6);
    ASSERT_EQ(TinyClose(w), 0);
    const int again = TinyOpen(0, 0, 9, 17);
    ASSERT_GE(again, 0);
    ASSERT_EQ(TinyWrite(again, "XY", 2), 2);
    ASSERT_EQ(TinyClose(again), 0);
    const std::vector<uint8_t> expect = {'X', 'Y', 'c', 'd', 'e', 'f'};
    EXPECT_EQ(ReadAll(9), expect);
}

TEST_F(TinyEngine, FirstWriteAllocatesLowestClusterAndStartsFromZeroedBlocks)
{
    TinyVolumeBuilder b(8, 16, 8);
    StartMounted(b);
    const int h = TinyOpen(0, 0, 6, 17);
    ASSERT_EQ(h, 0);
    device.ResetCounters();
    const std::vector<uint8_t> data = Pattern(100, 7);
    ASSERT_EQ(TinyWrite(h, data.data(), 100), 100);
    const auto& img = device.Image();
    const size_t rec = RecordOffset(6);
    EXPECT_EQ(Be16(img, rec + TINY_REC_CLUSTERS), 1);
    EXPECT_TRUE(BitSet(img, TINY_CLUSTER_BITMAP_BLOCK, 1));
    EXPECT_EQ(Be32(img, rec + TINY_REC_SIZE), 0u);  // the size reaches the record at close
    EXPECT_TRUE(std::equal(data.begin(), data.end(), img.begin() + ClusterOffset(1)));
    // Block 1 of the cluster holds bytes 64..99 followed by zeros.
    EXPECT_TRUE(std::all_of(img.begin() + ClusterOffset(1) + 100, img.begin() + ClusterOffset(1) + 128,
                            [](uint8_t v) { return v == 0; }));
    // No data block was read: both started from zeroed blocks.
    const uint32_t c1 = builder.ClusterBlock(1);
    EXPECT_EQ(std::count_if(device.readBlocks.begin(), device.readBlocks.end(), [&](uint32_t blk) { return blk >= c1; }), 0);
    EXPECT_EQ(std::count(device.writeBlocks.begin(), device.writeBlocks.end(), c1), 1);
    EXPECT_EQ(std::count(device.writeBlocks.begin(), device.writeBlocks.end(), c1 + 1), 1);
    ASSERT_EQ(TinyClose(h), 0);
    EXPECT_EQ(Be32(img, rec + TINY_REC_SIZE), 100u);
    EXPECT_EQ(Be16(img, rec + TINY_REC_DATE), kNowDate);
}

TEST_F(TinyEngine, FirstFitSkipsUsedClusters)
{
    TinyVolumeBuilder b(8, 16, 40);
    b.AddFile(6, Pattern(100, 1));  // cluster 1
    builder = b;
    std::vector<uint8_t> img = b.Build();
    for (uint16_t k = 2; k <= 17; ++k)  // a full byte (8..15) and bits around it
        TinySetImageBit(img, TINY_CLUSTER_BITMAP_BLOCK, k);
    Start(img);
    ASSERT_EQ(TinyMount(0), 0);
    const int h = TinyOpen(0, 0, 7, 17);
    ASSERT_GE(h, 0);
    ASSERT_EQ(TinyWrite(h, "x", 1), 1);
    ASSERT_EQ(TinyClose(h), 0);
    EXPECT_EQ(Be16(device.Image(), RecordOffset(7) + TINY_REC_CLUSTERS), 18);
}

TEST_F(TinyEngine, PartialWriteReadsBlockFirst)
{
    TinyVolumeBuilder b(8, 16, 8);
    const std::vector<uint8_t> original = Pattern(100, 3);
    b.AddFile(6, original);
    StartMounted(b);
    const int h = TinyOpen(0, 0, 6, 2);
    ASSERT_GE(h, 0);
    ASSERT_EQ(TinySeek(h, 20, TINY_SEEK_SET), 20);
    device.ResetCounters();
    ASSERT_EQ(TinyWrite(h, "0123456789", 10), 10);
    EXPECT_EQ(std::count(device.readBlocks.begin(), device.readBlocks.end(), builder.ClusterBlock(1)), 1);
    ASSERT_EQ(TinyClose(h), 0);
    std::vector<uint8_t> expect = original;
    std::memcpy(expect.data() + 20, "0123456789", 10);
    EXPECT_EQ(ReadAll(6), expect);

    // A whole-block overwrite at a block boundary inside the file reads nothing
    // back; a short one at the boundary keeps the tail of the block.
    const int h2 = TinyOpen(0, 0, 6, 2);
    ASSERT_EQ(TinySeek(h2, 64, TINY_SEEK_SET), 64);
    ASSERT_EQ(TinyWrite(h2, "ab", 2), 2);
    ASSERT_EQ(TinyClose(h2), 0);
    expect[64] = 'a';
    expect[65] = 'b';
    EXPECT_EQ(ReadAll(6), expect);
}

TEST_F(TinyEngine, ReadStopsAtEndOfFile)
{
    TinyVolumeBuilder b(8, 16, 8);
    const std::vector<uint8_t> data = Pattern(100, 4);
    b.AddFile(6, data);
    StartMounted(b);
    const int h = TinyOpen(0, 0, 6, 0);
    uint8_t buf[64];
    ASSERT_EQ(TinySeek(h, 90, TINY_SEEK_SET), 90);
    ASSERT_EQ(TinyRead(h, buf, 50), 10);
    EXPECT_TRUE(std::equal(buf, buf + 10, data.begin() + 90));
    EXPECT_EQ(TinyRead(h, buf, 50), 0);
    EXPECT_EQ(TinyGetError(), 0);
    ExpectFail(TinyRead(h, nullptr, 1), TINY_EINVAL);
    ExpectFail(TinyWrite(h, buf, 1), TINY_EBADF);  // read only
    ASSERT_EQ(TinyClose(h), 0);
    ExpectFail(TinyRead(h, buf, 1), TINY_EBADF);
    ExpectFail(TinyRead(h, nullptr, 1), TINY_EINVAL);  // the buffer is checked first
    const int w = TinyOpen(0, 0, 6, 1);
    ExpectFail(TinyRead(w, buf, 1), TINY_EBADF);  // write only
    ExpectFail(TinyWrite(w, nullptr, 1), TINY_EINVAL);
    EXPECT_EQ(TinyWrite(w, buf, 0), 0);
    ASSERT_EQ(TinyClose(w), 0);
}

// Round trips across block and cluster boundaries, for several geometries,
// sizes and write chunkings.
TEST_F(TinyEngine, RoundTripAcrossClusters)
{
    for (uint16_t kib : {8, 16}) {
        for (size_t size : {size_t{1}, size_t{63}, size_t{64}, size_t{6618}, size_t{kib} * 1024 + 1, size_t{kib} * 4096}) {
            for (uint32_t chunk : {7u, 64u, 1000u}) {
                SCOPED_TRACE(testing::Message() << kib << " KiB, size " << size << ", chunk " << chunk);
                TinyVolumeBuilder b(kib, 16, 12);
                StartMounted(b);
                const std::vector<uint8_t> data = Pattern(size, static_cast<uint32_t>(size + chunk));
                const int h = TinyOpen(0, 0, 10, 17);
                ASSERT_GE(h, 0);
                for (size_t at = 0; at < size; at += chunk) {
                    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(chunk, size - at));
                    ASSERT_EQ(TinyWrite(h, data.data() + at, n), static_cast<int>(n));
                }
                ASSERT_EQ(TinyClose(h), 0);
                EXPECT_EQ(ReadAll(10), data);
                TinyTerm(1);
            }
        }
    }
}

TEST_F(TinyEngine, WriteBeyondFourClustersIsTooLarge)
{
    TinyVolumeBuilder b(8, 16, 8);
    StartMounted(b);
    const int h = TinyOpen(0, 0, 6, 17);
    const std::vector<uint8_t> data = Pattern(32768, 5);
    ASSERT_EQ(TinyWrite(h, data.data(), 32768), 32768);
    ExpectFail(TinyWrite(h, "z", 1), TINY_EFBIG);
    // A write running past the limit keeps what it moved.
    ASSERT_EQ(TinySeek(h, 32760, TINY_SEEK_SET), 32760);
    const std::vector<uint8_t> tail(20, 0xCC);
    ExpectFail(TinyWrite(h, tail.data(), 20), TINY_EFBIG);
    EXPECT_EQ(TinySeek(h, 0, TINY_SEEK_CUR), 32768);
    ASSERT_EQ(TinyClose(h), 0);
    const size_t rec = RecordOffset(6);
    for (int part = 0; part < 4; ++part)
        EXPECT_EQ(Be16(device.Image(), rec + TINY_REC_CLUSTERS + 2 * part), part + 1);
    EXPECT_EQ(Be32(device.Image(), rec + TINY_REC_SIZE), 32768u);
}

TEST_F(TinyEngine, NoFreeClusterForNewPart)
{
    TinyVolumeBuilder b(8, 16, 4);
    b.AddFile(6, Pattern(8192 + 10, 1));  // clusters 1, 2
    builder = b;
    std::vector<uint8_t> img = b.Build();
    TinySetImageBit(img, TINY_CLUSTER_BITMAP_BLOCK, 3);
    Start(img);
    ASSERT_EQ(TinyMount(0), 0);
    const int h = TinyOpen(0, 0, 6, 2);
    ASSERT_EQ(TinySeek(h, 8192, TINY_SEEK_SET), 8192);
    ASSERT_EQ(TinyWrite(h, "in", 2), 2);  // inside the second cluster: fine
    ASSERT_EQ(TinySeek(h, 0, TINY_SEEK_END), 8202);
    const std::vector<uint8_t> fill(8192, 1);
    ExpectFail(TinyWrite(h, fill.data(), 8192), TINY_ENOSPC);
    EXPECT_EQ(TinySeek(h, 0, TINY_SEEK_CUR), 16384);  // bytes up to the cluster end stayed written
    ASSERT_EQ(TinyClose(h), 0);
}

TEST_F(TinyEngine, SeekKeepsPositionWithinFile)
{
    TinyVolumeBuilder b(8, 16, 8);
    b.AddFile(6, Pattern(100, 1));
    StartMounted(b);
    const int h = TinyOpen(0, 0, 6, 0);
    struct Step {
        int32_t offset;
        int origin;
        int64_t expect;
    } steps[] = {
        {500, 0, 100}, {-150, 2, 0}, {-5, 0, 0},        {40, 0, 40},          {30, 1, 70},  {40, 1, 100},
        {-30, 1, 70},  {-71, 1, 0},  {INT32_MAX, 1, 100}, {INT32_MIN, 1, 0},  {-100, 2, 0}, {-1, 2, 99},
        {7, 2, 100},   {INT32_MIN, 2, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.offset << " from " << s.origin);
        EXPECT_EQ(TinySeek(h, s.offset, s.origin), s.expect);
    }
    ASSERT_EQ(TinySeek(h, 0, TINY_SEEK_END), 100);
    ExpectFail(TinySeek(h, 0, 3), TINY_EINVAL);
    EXPECT_EQ(TinySeek(h, 0, 1), 100);  // a refused seek does not move
    ASSERT_EQ(TinyClose(h), 0);
    ExpectFail(TinySeek(h, 0, 3), TINY_EBADF);  // the handle is checked first
}

TEST_F(TinyEngine, UnmountAndTermWithOpenFiles)
{
    TinyVolumeBuilder b(8, 16, 8);
    b.AddFile(6, Pattern(10, 1));
    StartMounted(b);
    const int h = TinyOpen(0, 0, 6, 0);
    ASSERT_GE(h, 0);
    ExpectFail(TinyUnmount(0, 0), TINY_EBUSY);
    ExpectFail(TinyUnmount(1, 1), TINY_ENODEV);
    EXPECT_EQ(TinyUnmount(0, 1), 0);
    EXPECT_EQ(handles[0].inUse, 0);
    ExpectFail(TinyUnmount(0, 1), TINY_ENODEV);
    ExpectFail(TinyClose(h), TINY_EBADF);
    TinyFileStat st{};
    ExpectFail(TinyStat(0, 0, 6, &st), TINY_ENODEV);
}

TEST_F(TinyEngine, StatAndVolumeCounts)
{
    TinyVolumeBuilder b(16, 10, 20);
    b.AddFile(2, Pattern(3, 1), 0x01, 1234, 5678).AddFile(6, Pattern(20000, 2));
    builder = b;
    std::vector<uint8_t> img = b.Build();
    TinySetImageBit(img, TINY_FILE_BITMAP_BLOCK, 13);  // beyond the slots, in the last partial byte
    Start(img);
    TinyFileStat st{};
    TinyVolumeStat vs{};
    ExpectFail(TinyStatVolume(0, &vs), TINY_ENODEV);
    ExpectFail(TinyStatVolume(0, nullptr), TINY_EINVAL);  // before the volume check
    ExpectFail(TinyStat(0, 0, 2, nullptr), TINY_EINVAL);
    ASSERT_EQ(TinyMount(0), 0);
    ExpectFail(TinyStat(0, 0, 2, nullptr), TINY_EINVAL);
    ExpectFail(TinyStat(0, 1, 2, &st), TINY_EINVAL);
    ExpectFail(TinyStat(0, 0, 10, &st), TINY_EINVAL);
    ExpectFail(TinyStat(0, 0, 3, &st), TINY_ENOENT);
    ASSERT_EQ(TinyStat(0, 0, 2, &st), 0);
    EXPECT_EQ(st.size, 3u);
    EXPECT_EQ(st.date, 1234);
    EXPECT_EQ(st.time, 5678);
    EXPECT_EQ(st.attributes, 0x01);
    ExpectFail(TinyStatVolume(0, nullptr), TINY_EINVAL);
    ASSERT_EQ(TinyStatVolume(0, &vs), 0);
    EXPECT_EQ(vs.clusterKiB, 16);
    EXPECT_EQ(vs.clusters, 20);
    EXPECT_EQ(vs.freeClusters, 20 - 3);
    EXPECT_EQ(vs.fileSlots, 10);
    EXPECT_EQ(vs.freeFileSlots, 10 - 3);  // the stray bit in the partial byte counts

    // Every slot used and stray bits besides: the free count stops at 0.
    for (uint16_t n = 0; n < 16; ++n)
        TinySetImageBit(device.Image(), TINY_FILE_BITMAP_BLOCK, n);
    ASSERT_EQ(TinyStatVolume(0, &vs), 0);
    EXPECT_EQ(vs.freeFileSlots, 0);
}

TEST_F(TinyEngine, CloseStampsOnlyWrittenFilesAndKeepsHandleOnFailure)
{
    TinyVolumeBuilder b(8, 16, 8);
    b.AddFile(6, Pattern(10, 1), 0, 100, 200);
    StartMounted(b);
    const int r = TinyOpen(0, 0, 6, 0);
    device.ResetCounters();
    ASSERT_EQ(TinyClose(r), 0);
    EXPECT_EQ(device.writes, 0u);
    EXPECT_EQ(Be16(device.Image(), RecordOffset(6) + TINY_REC_DATE), 100);

    const int w = TinyOpen(0, 0, 6, 1);
    device.ResetCounters();
    device.failWriteAt = 1;
    ExpectFail(TinyClose(w), TINY_EIO);
    EXPECT_EQ(handles[w].inUse, 1);
    ExpectFail(TinyOpen(0, 0, 6, 0), TINY_EBUSY);
    device.failWriteAt = 0;
    ASSERT_EQ(TinyClose(w), 0);
    EXPECT_EQ(Be16(device.Image(), RecordOffset(6) + TINY_REC_DATE), kNowDate);
    EXPECT_EQ(Be16(device.Image(), RecordOffset(6) + TINY_REC_TIME), kNowTime);
    EXPECT_EQ(Be32(device.Image(), RecordOffset(6) + TINY_REC_SIZE), 10u);

    // A handle left behind by a failed close is gone after the next mount.
    const int w2 = TinyOpen(0, 0, 6, 2);
    device.failReadAt = device.reads + 1;
    ExpectFail(TinyClose(w2), TINY_EIO);
    device.failReadAt = 0;
    ASSERT_EQ(TinyUnmount(0, 1), 0);
    ASSERT_EQ(TinyMount(0), 0);
    EXPECT_GE(TinyOpen(0, 0, 6, 0), 0);
}

// Cluster entries that point outside the data area never move file data.
TEST_F(TinyEngine, ClusterEntriesOutsideDataAreaAreIOErrors)
{
    TinyVolumeBuilder b(8, 16, 8);
    b.AddFile(6, Pattern(100, 1)).AddFile(7, Pattern(8192 + 100, 2));
    builder = b;
    for (uint16_t bad : {uint16_t{0}, uint16_t{8}, uint16_t{0xFFFF}}) {
        SCOPED_TRACE(bad);
        std::vector<uint8_t> img = b.Build();
        SetBe16(img, RecordOffset(6) + TINY_REC_CLUSTERS, bad);
        Start(img);
        ASSERT_EQ(TinyMount(0), 0);
        const int h = TinyOpen(0, 0, 6, 2);
        uint8_t buf[16];
        ExpectFail(TinyRead(h, buf, 16), TINY_EIO);
        if (bad != 0) {
            const std::vector<uint8_t> before = device.Image();
            ExpectFail(TinyWrite(h, "data", 4), TINY_EIO);
            EXPECT_EQ(device.Image(), before);
        }
        ASSERT_EQ(TinyClose(h), 0);
        TinyTerm(1);
    }
    // A hole in the middle of a file: reading into it fails after the bytes before it.
    std::vector<uint8_t> img = b.Build();
    SetBe16(img, RecordOffset(7) + TINY_REC_CLUSTERS + 2, 0);
    Start(img);
    ASSERT_EQ(TinyMount(0), 0);
    const int h = TinyOpen(0, 0, 7, 0);
    std::vector<uint8_t> buf(9000);
    ExpectFail(TinyRead(h, buf.data(), 9000), TINY_EIO);
    EXPECT_EQ(TinySeek(h, 0, TINY_SEEK_CUR), 8192);
}

// One field at a time made absurd: mount or the file operations fail with a
// clear code, never a crash or a read outside the image.
TEST_F(TinyEngine, EvilHeaderFields)
{
    TinyVolumeBuilder b(8, 16, 8);
    b.AddFile(6, Pattern(100, 1));
    builder = b;
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        bool wide;
        int openCode;   // open of file 6
        int readCode;   // read of file 6
    } cases[] = {
        {"huge file slots", TINY_HDR_FILE_SLOTS, 0xFFFF, false, 0, 0},
        {"area1 far away", TINY_HDR_AREA1_BLOCKS, 0x7FFFFFFF, true, TINY_EIO, -1},
        {"area sum wraps", TINY_HDR_AREA2_BLOCKS, 0xFFFFFF00, true, TINY_EIO, -1},
        {"records beyond 32 bits", TINY_HDR_RECORD_BLOCKS, 0xFFFFFFF0, true, 0, TINY_EIO},
        {"no data blocks", TINY_HDR_DATA_BLOCKS, 0, true, 0, TINY_EIO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> img = b.Build();
        if (c.wide)
            SetBe32(img, c.at, c.value);
        else
            SetBe16(img, c.at, static_cast<uint16_t>(c.value));
        Start(img, 1, 1);
        ASSERT_EQ(TinyMount(0), 0);
        const int h = TinyOpen(0, 0, 6, 0);
        if (c.openCode != 0) {
            ExpectFail(h, c.openCode);
        } else {
            ASSERT_GE(h, 0);
            uint8_t buf[100];
            const int n = TinyRead(h, buf, 100);
            if (c.readCode == 0)
                EXPECT_EQ(n, 100);
            else
                ExpectFail(n, c.readCode);
            TinyClose(h);
        }
        TinyVolumeStat vs{};
        TinyStatVolume(0, &vs);  // must not crash whatever it answers
        TinyTerm(1);
    }
    // A huge size in a record: reading runs to the fourth cluster and stops.
    std::vector<uint8_t> img = b.Build();
    SetBe32(img, RecordOffset(6) + TINY_REC_SIZE, 0xFFFFFFF0);
    Start(img);
    ASSERT_EQ(TinyMount(0), 0);
    const int h = TinyOpen(0, 0, 6, 0);
    std::vector<uint8_t> buf(40000);
    ExpectFail(TinyRead(h, buf.data(), 40000), TINY_EIO);  // second cluster entry is 0
    EXPECT_EQ(TinySeek(h, 0, TINY_SEEK_END), 0xFFFFFFF0);
}

TEST_F(TinyEngine, ReadingCostsOneBlockPerAccessWithoutCache)
{
    TinyVolumeBuilder b(8, 16, 8);
    b.AddFile(6, Pattern(6618, 1));
    StartMounted(b);
    const int h = TinyOpen(0, 0, 6, 0);
    std::vector<uint8_t> buf(6618);
    device.ResetCounters();
    ASSERT_EQ(TinyRead(h, buf.data(), 6618), 6618);
    EXPECT_EQ(device.reads, 1u + (6618 + 63) / 64);  // one record read, then every data block
    ASSERT_EQ(TinySeek(h, 0, TINY_SEEK_SET), 0);
    ASSERT_EQ(TinyRead(h, buf.data(), 6618), 6618);
    EXPECT_EQ(device.reads, 2u * (1 + (6618 + 63) / 64));
    ASSERT_EQ(TinyClose(h), 0);
}

// A FAT volume image whose first data file is the TINYFS volume.
std::vector<uint8_t> WrapInFat(const std::vector<uint8_t>& volume, uint8_t fats = 2)
{
    const uint16_t sectorsPerFat = 3;
    const uint32_t rootBlock = (2 * sectorsPerFat + 1) * 8;  // 56
    const uint32_t start = rootBlock + 256;
    std::vector<uint8_t> img(size_t{start} * 64 + volume.size(), 0);
    img[11] = 0x00;
    img[12] = 0x02;  // 512 bytes per sector
    img[14] = 1;
    img[16] = fats;
    img[17] = 0x00;
    img[18] = 0x02;  // 512 root entries
    img[22] = sectorsPerFat;
    img[510] = 0x55;
    img[511] = 0xAA;
    uint8_t* dir = img.data() + rootBlock * 64;
    const uint8_t marker[11] = {0xE5, '*', '*', 'T', 'I', 'N', 'Y', 'F', 'S', '*', '*'};
    std::memcpy(dir, marker, 11);
    std::memcpy(dir + 32, "TINYFS  IMG", 11);
    dir[32 + 11] = 0x06;
    dir[32 + 26] = 2;
    dir[32 + 28] = 0x10;
    std::copy(volume.begin(), volume.end(), img.begin() + size_t{start} * 64);
    return img;
}

TEST_F(TinyEngine, FatWrappedVolumes)
{
    TinyVolumeBuilder b(8, 16, 8);
    const std::vector<uint8_t> data = Pattern(300, 9);
    b.AddFile(6, data);
    Start(WrapInFat(b.Build()), 1, 1, false);
    ASSERT_EQ(TinyMount(0), 0);
    EXPECT_EQ(volumes[0].volumeStart, 56u + 256u);
    EXPECT_EQ(ReadAll(6), data);
    TinyTerm(1);

    struct Case {
        const char* what;
        size_t at;
        uint8_t value;
    } cases[] = {
        {"four FATs", 16, 4},
        {"no signature", 511, 0},
        {"two reserved sectors", 14, 2},
        {"no FAT sectors", 22, 0},
        {"marker not deleted", 56 * 64, 'X'},
        {"image not hidden", 56 * 64 + 32 + 11, 0x04},
        {"image not at cluster 2", 56 * 64 + 32 + 26, 3},
        {"high cluster set", 56 * 64 + 32 + 20, 1},
        {"empty image", 56 * 64 + 32 + 28, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> img = WrapInFat(b.Build());
        img[c.at] = c.value;
        Start(img, 1, 1, false);
        ExpectFail(TinyMount(0), TINY_EINVAL);
        TinyTerm(1);
    }
}

// Fail the N-th block read, then the N-th block write, for every N over one
// session: mount, stat, open, read, create, write, seek, close, statvolume.
// Each run must end in a clean failure code and leave no handle in use.
TEST_F(TinyEngine, FaultInjectionEveryBlockAccess)
{
    TinyVolumeBuilder b(8, 16, 12);
    const std::vector<uint8_t> existing = Pattern(9000, 3);
    b.AddFile(6, existing);
    const std::vector<uint8_t> image = b.Build();
    const std::vector<uint8_t> payload = Pattern(5000, 4);

    // Runs the session; returns the engine code of the first failure, 0 when all went well.
    auto session = [&]() -> int {
        if (TinyMount(0) < 0)
            return TinyGetError();
        TinyFileStat st{};
        if (TinyStat(0, 0, 6, &st) < 0)
            return TinyGetError();
        int h = TinyOpen(0, 0, 6, 0);
        if (h < 0)
            return TinyGetError();
        std::vector<uint8_t> buf(9000);
        const int r = TinyRead(h, buf.data(), 9000);
        int code = r < 0 ? TinyGetError() : 0;
        if (TinyClose(h) < 0 && code == 0)
            code = TinyGetError();
        if (code != 0)
            return code;
        if (buf != existing)
            return -100;  // wrong data is never acceptable
        h = TinyOpen(0, 0, 7, 17);
        if (h < 0)
            return TinyGetError();
        const int w = TinyWrite(h, payload.data(), 5000);
        code = w < 0 ? TinyGetError() : 0;
        if (code == 0 && TinySeek(h, 100, TINY_SEEK_SET) != 100)
            code = -101;
        if (code == 0 && TinyWrite(h, "patch", 5) < 0)
            code = TinyGetError();
        if (TinyClose(h) < 0) {
            const int closeCode = TinyGetError();
            TinyUnmount(0, 1);
            return code != 0 ? code : closeCode;
        }
        if (code != 0)
            return code;
        TinyVolumeStat vs{};
        if (TinyStatVolume(0, &vs) < 0)
            return TinyGetError();
        return TinyUnmount(0, 0) < 0 ? TinyGetError() : 0;
    };

    for (int writes = 0; writes < 2; ++writes) {
        bool sawCleanRun = false;
        for (uint64_t n = 1; n < 2000 && !sawCleanRun; ++n) {
            SCOPED_TRACE(testing::Message() << (writes ? "write " : "read ") << n);
            Start(image);
            device.ResetCounters();
            (writes ? device.failWriteAt : device.failReadAt) = n;
            const int code = session();
            const uint64_t count = writes ? device.writes : device.reads;
            if (count < n) {
                EXPECT_EQ(code, 0);
                sawCleanRun = true;
            } else {
                // Only a bitmap read during the cluster search reports "no space".
                EXPECT_TRUE(code == TINY_EIO || code == TINY_ENOSPC) << "code " << code;
            }
            // Only a failed close leaves a handle behind, and the session
            // then unmounts, which releases it.
            for (const TinyHandleEntry& h : handles)
                EXPECT_EQ(h.inUse, 0);
            device.failReadAt = device.failWriteAt = 0;
            TinyTerm(1);
        }
        EXPECT_TRUE(sawCleanRun);
    }
}

// The directory listing with the N-th block read failing, for every N: it
// either fails, or lists a file that fails its stat as empty; every entry it
// does fill is right, and no handle stays open.
TEST_F(TinyEngine, FaultInjectionDuringListing)
{
    TinyVolumeBuilder b(8, 12, 8);
    std::vector<uint8_t> model(6618, 0x11);
    const std::u16string name = u"GLIDER";
    std::fill_n(model.begin() + 18, 16, 0);
    for (size_t i = 0; i < name.size(); ++i)
        model[18 + 2 * i] = static_cast<uint8_t>(name[i]);
    b.AddFile(2, Pattern(5, 1)).AddFile(6, model).AddFile(9, model);
    bool sawCleanRun = false;
    for (uint64_t n = 1; n < 500 && !sawCleanRun; ++n) {
        SCOPED_TRACE(n);
        Start(b.Build());
        ASSERT_EQ(TinyMount(0), 0);
        device.ResetCounters();
        device.failReadAt = n;
        TinyVolume volume;
        volume.m_volumeIndex = 0;
        const bool ok = volume.LoadDirectory();
        sawCleanRun = device.reads < n;
        if (sawCleanRun) {
            EXPECT_TRUE(ok);
        }
        if (ok) {
            ASSERT_EQ(volume.m_entries.size(), 10u);
            for (const TinyFileEntry& e : volume.m_entries) {
                if (e.isEmpty)
                    continue;
                EXPECT_TRUE(e.number == 2 || e.number == 6 || e.number == 9) << e.number;
                if (e.number != 2) {
                    EXPECT_EQ(e.name, name);
                    EXPECT_EQ(e.size, 6618u);
                }
            }
            if (sawCleanRun) {
                EXPECT_EQ(std::count_if(volume.m_entries.begin(), volume.m_entries.end(),
                                        [](const TinyFileEntry& e) { return !e.isEmpty; }),
                          3);
            }
        }
        EXPECT_EQ(device.writes, 0u);  // listing only reads
        for (const TinyHandleEntry& h : handles)
            EXPECT_EQ(h.inUse, 0);
        volume.m_volumeIndex = -1;
        TinyTerm(1);
    }
    EXPECT_TRUE(sawCleanRun);
}

}  // namespace
