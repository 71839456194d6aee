// The TINYFS volume engine. One global state, one 64-byte block buffer inside
// the caller's work buffer, no cache: every record, bitmap and data block is
// read from the device each time it is needed.
#include "storage/tinyfs.h"
#include "platform/ByteOrder.h"

#include <cstring>

#include "platform/SystemTime.h"

namespace {

constexpr uint32_t kOptionNoFatWrapping = 0x01;
constexpr const char* kOptionNoFatWrappingText = "NO_FAT_WRAPPING";
constexpr uint16_t kNoBit = 0xFFFF;

// Cluster sizes in KiB that a volume header may name.
constexpr uint16_t kClusterSizes[] = {8, 16, 32, 64, 128, 256};

// FAT boot sector and root directory, used only to find a wrapped volume.
// Fields are little-endian.
constexpr uint32_t kFatSignatureBlock = 7;      // last 64 bytes of the boot sector
constexpr unsigned kFatSignatureOffset = 62;    // boot sector bytes 510, 511
constexpr unsigned kFatBytesPerSector = 11;     // LE16, must be 512
constexpr unsigned kFatReservedSectors = 14;    // LE16, must be 1
constexpr unsigned kFatNumberOfFats = 16;       // 8-bit, must be 2
constexpr unsigned kFatRootEntries = 17;        // LE16, must be 512
constexpr unsigned kFatSectorsPerFat = 22;      // LE16, must not be 0
constexpr unsigned kFatDirEntrySize = 32;
constexpr unsigned kFatDirAttributes = 11;
constexpr unsigned kFatDirClusterHigh = 20;
constexpr unsigned kFatDirCluster = 26;
constexpr unsigned kFatDirSize = 28;
constexpr uint8_t kFatAttrHidden = 0x02;
constexpr uint8_t kFatAttrSystem = 0x04;
constexpr uint8_t kFatMarkerName[11] = {0xE5, '*', '*', 'T', 'I', 'N', 'Y', 'F', 'S', '*', '*'};
constexpr char kFatImageName[11] = {'T', 'I', 'N', 'Y', 'F', 'S', ' ', ' ', 'I', 'M', 'G'};
constexpr uint32_t kFatRootDirBlocks = 256;  // 512 entries of 32 bytes

struct EngineState {
    bool initialised;
    uint16_t error;
    uint16_t volumeCount;
    uint16_t handleCount;
    uint16_t reserved1;
    TinyVolumeEntry* volumes;
    TinyHandleEntry* handles;
    uint8_t* work;
    uint32_t options;
};

EngineState g_state;

uint8_t* Block() { return g_state.work + TINY_WORK_BLOCK_OFFSET; }

int Fail(int code)
{
    g_state.error = static_cast<uint16_t>(code);
    return -1;
}

// Block numbers are worked out in 64 bits; one that does not fit the device's
// 32-bit block numbers (only a damaged header leads there) is unreadable
// rather than wrapped onto some other block.
bool ReadDeviceBlock(const TinyVolumeEntry& vol, uint64_t block)
{
    if (block > UINT32_MAX)
        return false;
    return TinyReadBlock(vol.device, static_cast<uint32_t>(block), Block()) == 0;
}

bool WriteDeviceBlock(const TinyVolumeEntry& vol, uint64_t block)
{
    if (block > UINT32_MAX)
        return false;
    return TinyWriteBlock(vol.device, static_cast<uint32_t>(block), Block()) == 0;
}

uint64_t RecordBlock(const TinyVolumeEntry& vol, uint16_t fileNumber)
{
    return uint64_t{vol.volumeStart} + vol.area1Blocks + vol.area2Blocks +
           uint64_t{TINY_RECORD_BLOCKS_PER_FILE} * fileNumber;
}

uint64_t DataStart(const TinyVolumeEntry& vol)
{
    return uint64_t{vol.volumeStart} + vol.area1Blocks + vol.area2Blocks + vol.recordBlocks;
}

uint32_t BlocksPerCluster(const TinyVolumeEntry& vol) { return uint32_t{vol.clusterKiB} * 16; }

uint64_t BitmapBlock(const TinyVolumeEntry& vol, uint32_t bitmapStart, uint16_t bit)
{
    return uint64_t{vol.volumeStart} + bitmapStart + bit / TINY_BITS_PER_BLOCK;
}

unsigned BitByte(uint16_t bit) { return (bit / 8u) % TINY_BLOCK_SIZE; }
uint8_t BitMask(uint16_t bit) { return static_cast<uint8_t>(1u << (bit % 8u)); }

bool VolumeIndexValid(uint16_t volume) { return volume < g_state.volumeCount; }
bool VolumeMounted(uint16_t volume) { return VolumeIndexValid(volume) && g_state.volumes[volume].mounted; }

bool HandleValid(int handle)
{
    return handle >= 0 && handle < g_state.handleCount && g_state.handles[handle].inUse;
}

void ReleaseHandle(TinyHandleEntry& h) { std::memset(&h, 0, sizeof h); }

void CurrentStamp(uint16_t& date, uint16_t& time)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    date = TinyFatDate(now.wYear, now.wMonth, now.wDay);
    time = TinyFatTime(now.wHour, now.wMinute, now.wSecond);
}

// Looks up one bit of a bitmap. Returns 1 set, 0 clear, -1 unreadable.
int TestBit(const TinyVolumeEntry& vol, uint32_t bitmapStart, uint16_t bit)
{
    if (!ReadDeviceBlock(vol, BitmapBlock(vol, bitmapStart, bit)))
        return -1;
    return (Block()[BitByte(bit)] & BitMask(bit)) ? 1 : 0;
}

// Lowest clear bit in [first, end) of a bitmap; a byte of 0xFF met at a byte
// boundary is skipped whole. The block holding the bit found is left in the
// block buffer. Returns kNoBit when none is clear; *readFailed tells a bitmap
// block that could not be read.
uint16_t FindClearBit(const TinyVolumeEntry& vol, uint32_t bitmapStart, uint16_t first, uint16_t end,
                      bool* readFailed)
{
    *readFailed = false;
    uint32_t loadedBlock = UINT32_MAX;
    uint32_t bit = first;
    while (bit < end) {
        const uint32_t blockIndex = bit / TINY_BITS_PER_BLOCK;
        if (blockIndex != loadedBlock) {
            if (!ReadDeviceBlock(vol, BitmapBlock(vol, bitmapStart, static_cast<uint16_t>(bit)))) {
                *readFailed = true;
                return kNoBit;
            }
            loadedBlock = blockIndex;
        }
        const uint8_t byte = Block()[BitByte(static_cast<uint16_t>(bit))];
        if (bit % 8 == 0 && byte == 0xFF) {
            bit += 8;
            continue;
        }
        if (!(byte & BitMask(static_cast<uint16_t>(bit))))
            return static_cast<uint16_t>(bit);
        ++bit;
    }
    return kNoBit;
}

// Number of set bits in bits 0 .. count-1 of a bitmap, counted in whole
// bytes (a final partial byte counts whole). -1 when a block is unreadable.
int64_t CountSetBits(const TinyVolumeEntry& vol, uint32_t bitmapStart, uint16_t count)
{
    const uint32_t bytes = (uint32_t{count} + 7) / 8;
    int64_t used = 0;
    for (uint32_t i = 0; i < bytes; ++i) {
        if (i % TINY_BLOCK_SIZE == 0 &&
            !ReadDeviceBlock(vol, uint64_t{vol.volumeStart} + bitmapStart + i / TINY_BLOCK_SIZE))
            return -1;
        used += __builtin_popcount(Block()[i % TINY_BLOCK_SIZE]);
    }
    return used;
}

// First-fit allocation of a cluster: codes 28 (none free, or the bitmap
// could not be searched) and 5 (the bit could not be written).
int AllocateCluster(const TinyVolumeEntry& vol, uint16_t* cluster)
{
    bool readFailed = false;
    const uint16_t k = FindClearBit(vol, TINY_CLUSTER_BITMAP_BLOCK, 1, vol.clusters, &readFailed);
    if (k == kNoBit)
        return TINY_ENOSPC;
    Block()[BitByte(k)] |= BitMask(k);
    if (!WriteDeviceBlock(vol, BitmapBlock(vol, TINY_CLUSTER_BITMAP_BLOCK, k)))
        return TINY_EIO;
    *cluster = k;
    return TINY_OK;
}

// The device block holding byte p of a file. For a write, a missing cluster
// is allocated and recorded at once. A cluster entry outside the data area
// (0 when reading, or not below the cluster count) is an I/O error: file data
// is never taken from, or put into, the header, bitmaps or records.
int MapBlock(const TinyVolumeEntry& vol, uint16_t fileNumber, uint32_t p, bool forWrite, uint64_t* block)
{
    const uint32_t b = BlocksPerCluster(vol);
    const uint32_t j = p / TINY_BLOCK_SIZE;
    if (j >= TINY_CLUSTERS_PER_FILE * b)
        return TINY_EFBIG;
    const uint64_t recordBlock = RecordBlock(vol, fileNumber);
    if (!ReadDeviceBlock(vol, recordBlock))
        return TINY_EIO;
    const unsigned entry = TINY_REC_CLUSTERS + 2 * (j / b);
    uint16_t k = GetBE16(Block() + entry);
    if (k == 0) {
        if (!forWrite)
            return TINY_EIO;
        const int code = AllocateCluster(vol, &k);
        if (code != TINY_OK)
            return code;
        // The allocation used the block buffer: fetch the record again.
        if (!ReadDeviceBlock(vol, recordBlock))
            return TINY_EIO;
        PutBE16(Block() + entry, k);
        if (!WriteDeviceBlock(vol, recordBlock))
            return TINY_EIO;
    }
    if (k >= vol.clusters)
        return TINY_EIO;
    *block = DataStart(vol) + uint64_t{k} * b + j % b;
    return TINY_OK;
}

// Finds the start of a volume inside a FAT volume image: its TINYFS.IMG is
// the first file of the data area, announced by a marker entry before it.
int FindWrappedVolume(const TinyVolumeEntry& vol, uint32_t* start)
{
    if (!ReadDeviceBlock(vol, kFatSignatureBlock))
        return TINY_EIO;
    if (Block()[kFatSignatureOffset] != 0x55 || Block()[kFatSignatureOffset + 1] != 0xAA)
        return TINY_EINVAL;
    if (!ReadDeviceBlock(vol, 0))
        return TINY_EIO;
    const uint8_t* boot = Block();
    if (GetLE16(boot + kFatBytesPerSector) != 512 || GetLE16(boot + kFatReservedSectors) != 1 ||
        boot[kFatNumberOfFats] != 2 || GetLE16(boot + kFatRootEntries) != 512)
        return TINY_EINVAL;
    const uint16_t sectorsPerFat = GetLE16(boot + kFatSectorsPerFat);
    if (sectorsPerFat == 0)
        return TINY_EINVAL;
    const uint16_t rootBlock = static_cast<uint16_t>((2 * sectorsPerFat + 1) * 8);
    if (!ReadDeviceBlock(vol, rootBlock))
        return TINY_EIO;
    const uint8_t* marker = Block();
    if (std::memcmp(marker, kFatMarkerName, sizeof kFatMarkerName) != 0)
        return TINY_EINVAL;
    const uint8_t* image = Block() + kFatDirEntrySize;
    const uint8_t attributes = image[kFatDirAttributes];
    if (std::memcmp(image, kFatImageName, sizeof kFatImageName) != 0 || !(attributes & kFatAttrHidden) ||
        !(attributes & kFatAttrSystem) || GetLE16(image + kFatDirClusterHigh) != 0 ||
        GetLE16(image + kFatDirCluster) != 2 || GetLE32(image + kFatDirSize) == 0)
        return TINY_EINVAL;
    *start = uint32_t{rootBlock} + kFatRootDirBlocks;
    return TINY_OK;
}

int ReadHeader(TinyVolumeEntry& vol, uint16_t index)
{
    vol.device = static_cast<uint8_t>(index);
    uint32_t start = 0;
    if (!(g_state.options & kOptionNoFatWrapping)) {
        const int code = FindWrappedVolume(vol, &start);
        if (code != TINY_OK)
            return code;
    }
    if (!ReadDeviceBlock(vol, start))
        return TINY_EIO;
    const uint8_t* hdr = Block();
    if (std::memcmp(hdr + TINY_HDR_MAGIC, TINY_MAGIC, sizeof TINY_MAGIC) != 0 || hdr[TINY_HDR_VERSION] != TINY_VERSION)
        return TINY_EINVAL;
    const uint16_t clusterKiB = GetBE16(hdr + TINY_HDR_CLUSTER_KIB);
    bool sizeKnown = false;
    for (uint16_t size : kClusterSizes)
        sizeKnown = sizeKnown || size == clusterKiB;
    if (!sizeKnown)
        return TINY_EINVAL;
    const uint32_t dataBlocks = GetBE32(hdr + TINY_HDR_DATA_BLOCKS);
    vol.volumeStart = start;
    vol.clusterKiB = clusterKiB;
    vol.fileSlots = GetBE16(hdr + TINY_HDR_FILE_SLOTS);
    vol.area1Blocks = GetBE32(hdr + TINY_HDR_AREA1_BLOCKS);
    vol.area2Blocks = GetBE32(hdr + TINY_HDR_AREA2_BLOCKS);
    vol.recordBlocks = GetBE32(hdr + TINY_HDR_RECORD_BLOCKS);
    vol.volumeBlocks = vol.area1Blocks + vol.area2Blocks + vol.recordBlocks + dataBlocks;
    vol.clusters = static_cast<uint16_t>(dataBlocks / (uint32_t{clusterKiB} * 16));
    return TINY_OK;
}

// Common checks of TinyRead / TinyWrite / TinySeek on an open handle.
TinyHandleEntry* OpenHandle(int handle) { return HandleValid(handle) ? &g_state.handles[handle] : nullptr; }

// The device block of the handle's position for the next step of a read or
// write: mapped through the file record for the first step and at every
// cluster boundary, otherwise the block after the previous one.
int StepBlock(const TinyVolumeEntry& vol, const TinyHandleEntry& h, bool write, bool& first, uint64_t& block)
{
    const uint32_t clusterBytes = uint32_t{vol.clusterKiB} * 1024;
    if (first || h.position % clusterBytes == 0) {
        first = false;
        return MapBlock(vol, h.fileNumber, h.position, write, &block);
    }
    ++block;
    return TINY_OK;
}

}  // namespace

uint16_t TinyFatDate(uint16_t year, uint16_t month, uint16_t day)
{
    return static_cast<uint16_t>((year - 1980) * 512 + month * 32 + day);
}

uint16_t TinyFatTime(uint16_t hour, uint16_t minute, uint16_t second)
{
    return static_cast<uint16_t>(hour * 2048 + minute * 32 + second / 2);
}

int TinyInit(const TinyConfig* config)
{
    g_state.error = TINY_OK;
    if (!config || !config->volumes || !config->handles || !config->workBuffer)
        return Fail(TINY_EINVAL);
    g_state = EngineState{};
    g_state.volumeCount = config->volumeCount;
    g_state.handleCount = config->handleCount;
    g_state.reserved1 = config->reserved1;
    g_state.volumes = config->volumes;
    g_state.handles = config->handles;
    g_state.work = config->workBuffer;
    std::memset(g_state.volumes, 0, sizeof(TinyVolumeEntry) * g_state.volumeCount);
    std::memset(g_state.handles, 0, sizeof(TinyHandleEntry) * g_state.handleCount);
    g_state.initialised = true;
    return 0;
}

int TinySetOption(const char* option)
{
    g_state.error = TINY_OK;
    if (!option || std::strcmp(option, kOptionNoFatWrappingText) != 0)
        return Fail(TINY_EINVAL);
    g_state.options |= kOptionNoFatWrapping;
    return 0;
}

int TinyTerm(int force)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    if (force == 0) {
        for (uint16_t v = 0; v < g_state.volumeCount; ++v)
            if (g_state.volumes[v].mounted)
                return Fail(TINY_EBUSY);
    }
    g_state = EngineState{};
    return 0;
}

int TinyMount(uint32_t volumeArg)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    const uint16_t volume = static_cast<uint16_t>(volumeArg);
    if (!VolumeIndexValid(volume))
        return Fail(TINY_ENODEV);
    TinyVolumeEntry& vol = g_state.volumes[volume];
    if (vol.mounted)
        return Fail(TINY_EBUSY);
    const int code = ReadHeader(vol, volume);
    if (code != TINY_OK)
        return Fail(code);
    vol.mounted = 1;
    std::memset(g_state.handles, 0, sizeof(TinyHandleEntry) * g_state.handleCount);
    return 0;
}

int TinyUnmount(uint32_t volumeArg, int force)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    const uint16_t volume = static_cast<uint16_t>(volumeArg);
    if (!VolumeMounted(volume))
        return Fail(TINY_ENODEV);
    if (force == 0) {
        for (uint16_t h = 0; h < g_state.handleCount; ++h)
            if (g_state.handles[h].inUse && g_state.handles[h].volume == volume)
                return Fail(TINY_EBUSY);
    }
    g_state.volumes[volume].mounted = 0;
    for (uint16_t h = 0; h < g_state.handleCount; ++h)
        if (g_state.handles[h].inUse && g_state.handles[h].volume == volume)
            ReleaseHandle(g_state.handles[h]);
    return 0;
}

int TinyOpen(uint32_t volumeArg, int flags, uint32_t fileNumberArg, int mode)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    const uint16_t volume = static_cast<uint16_t>(volumeArg);
    const uint16_t fileNumber = static_cast<uint16_t>(fileNumberArg);
    if (!VolumeMounted(volume))
        return Fail(TINY_ENODEV);
    const TinyVolumeEntry& vol = g_state.volumes[volume];
    if (flags != 0 || fileNumber >= vol.fileSlots)
        return Fail(TINY_EINVAL);
    for (uint16_t h = 0; h < g_state.handleCount; ++h) {
        const TinyHandleEntry& other = g_state.handles[h];
        if (other.inUse && other.volume == volume && other.fileNumber == fileNumber)
            return Fail(TINY_EBUSY);
    }
    if (mode != 0 && mode != 1 && mode != 2 && mode != 17 && mode != 18)
        return Fail(TINY_EINVAL);
    int handle = -1;
    for (uint16_t h = 0; h < g_state.handleCount && handle < 0; ++h)
        if (!g_state.handles[h].inUse)
            handle = h;
    if (handle < 0)
        return Fail(TINY_EMFILE);
    // The entry is marked in use only once the open has succeeded, so every
    // failure below leaves it free.

    const int exists = TestBit(vol, TINY_FILE_BITMAP_BLOCK, fileNumber);
    if (exists < 0)
        return Fail(TINY_EIO);
    if (exists == 0) {
        if (!(mode & TINY_MODE_CREATE))
            return Fail(TINY_ENOENT);
        uint16_t date = 0;
        uint16_t time = 0;
        CurrentStamp(date, time);
        const uint64_t recordBlock = RecordBlock(vol, fileNumber);
        std::memset(Block(), 0, TINY_BLOCK_SIZE);
        PutBE16(Block() + TINY_REC_DATE, date);
        PutBE16(Block() + TINY_REC_TIME, time);
        if (!WriteDeviceBlock(vol, recordBlock))
            return Fail(TINY_EIO);
        std::memset(Block(), 0, TINY_BLOCK_SIZE);
        if (!WriteDeviceBlock(vol, recordBlock + 1))
            return Fail(TINY_EIO);
        const uint64_t bitmapBlock = BitmapBlock(vol, TINY_FILE_BITMAP_BLOCK, fileNumber);
        if (!ReadDeviceBlock(vol, bitmapBlock))
            return Fail(TINY_EIO);
        Block()[BitByte(fileNumber)] |= BitMask(fileNumber);
        if (!WriteDeviceBlock(vol, bitmapBlock))
            return Fail(TINY_EIO);
    }

    if (!ReadDeviceBlock(vol, RecordBlock(vol, fileNumber)))
        return Fail(TINY_EIO);
    if (Block()[TINY_REC_ATTRIBUTES] & TINY_ATTR_DIRECTORY)
        return Fail(TINY_EISDIR);
    TinyHandleEntry& h = g_state.handles[handle];
    h.handle = static_cast<uint8_t>(handle);
    h.volume = static_cast<uint8_t>(volume);
    h.mode = static_cast<uint8_t>(mode);
    h.fileNumber = fileNumber;
    h.position = 0;
    h.size = GetBE32(Block() + TINY_REC_SIZE);
    h.inUse = 1;
    return handle;
}

int TinyClose(int handle)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    TinyHandleEntry* h = OpenHandle(handle);
    if (!h)
        return Fail(TINY_EBADF);
    if ((h->mode & 3) != TINY_MODE_READ) {
        const TinyVolumeEntry& vol = g_state.volumes[h->volume];
        const uint64_t recordBlock = RecordBlock(vol, h->fileNumber);
        if (!ReadDeviceBlock(vol, recordBlock))
            return Fail(TINY_EIO);
        uint16_t date = 0;
        uint16_t time = 0;
        CurrentStamp(date, time);
        PutBE16(Block() + TINY_REC_DATE, date);
        PutBE16(Block() + TINY_REC_TIME, time);
        PutBE32(Block() + TINY_REC_SIZE, h->size);
        if (!WriteDeviceBlock(vol, recordBlock))
            return Fail(TINY_EIO);
    }
    ReleaseHandle(*h);
    return 0;
}

int TinyRead(int handle, void* buffer, uint32_t count)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    if (!buffer)
        return Fail(TINY_EINVAL);
    TinyHandleEntry* h = OpenHandle(handle);
    if (!h || (h->mode & 3) == TINY_MODE_WRITE)
        return Fail(TINY_EBADF);
    const TinyVolumeEntry& vol = g_state.volumes[h->volume];
    const uint32_t available = h->size > h->position ? h->size - h->position : 0;
    uint32_t remaining = count < available ? count : available;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    int done = 0;
    uint64_t block = 0;
    bool first = true;
    while (remaining > 0) {
        const uint32_t p = h->position;
        if (const int code = StepBlock(vol, *h, false, first, block); code != TINY_OK)
            return Fail(code);
        if (!ReadDeviceBlock(vol, block))
            return Fail(TINY_EIO);
        const uint32_t offset = p % TINY_BLOCK_SIZE;
        const uint32_t chunk = remaining < TINY_BLOCK_SIZE - offset ? remaining : TINY_BLOCK_SIZE - offset;
        std::memcpy(out + done, Block() + offset, chunk);
        h->position += chunk;
        remaining -= chunk;
        done += static_cast<int>(chunk);
    }
    return done;
}

int TinyWrite(int handle, const void* buffer, uint32_t count)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    if (!buffer)
        return Fail(TINY_EINVAL);
    TinyHandleEntry* h = OpenHandle(handle);
    if (!h || (h->mode & 3) == TINY_MODE_READ)
        return Fail(TINY_EBADF);
    if (count == 0)
        return 0;
    const TinyVolumeEntry& vol = g_state.volumes[h->volume];
    const uint8_t* in = static_cast<const uint8_t*>(buffer);
    uint32_t remaining = count;
    uint32_t done = 0;
    uint64_t block = 0;
    bool first = true;
    while (remaining > 0) {
        const uint32_t p = h->position;
        if (const int code = StepBlock(vol, *h, true, first, block); code != TINY_OK)
            return Fail(code);
        const uint32_t offset = p % TINY_BLOCK_SIZE;
        const uint32_t chunk = remaining < TINY_BLOCK_SIZE - offset ? remaining : TINY_BLOCK_SIZE - offset;
        // Bytes of the block that this write does not cover must be kept.
        if (offset != 0 || (p < h->size && remaining < TINY_BLOCK_SIZE)) {
            if (!ReadDeviceBlock(vol, block))
                return Fail(TINY_EIO);
        } else {
            std::memset(Block(), 0, TINY_BLOCK_SIZE);
        }
        std::memcpy(Block() + offset, in + done, chunk);
        if (!WriteDeviceBlock(vol, block))
            return Fail(TINY_EIO);
        h->position += chunk;
        if (h->position > h->size)
            h->size = h->position;
        remaining -= chunk;
        done += chunk;
    }
    return static_cast<int>(count);
}

int64_t TinySeek(int handle, int32_t offset, int origin)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    TinyHandleEntry* h = OpenHandle(handle);
    if (!h)
        return Fail(TINY_EBADF);
    if (origin != TINY_SEEK_SET && origin != TINY_SEEK_CUR && origin != TINY_SEEK_END)
        return Fail(TINY_EINVAL);
    const uint32_t s = h->size;
    const uint32_t p = h->position;
    const uint64_t magnitude = offset < 0 ? uint64_t(-int64_t{offset}) : uint64_t(offset);
    uint32_t result = 0;
    if (origin == TINY_SEEK_SET) {
        result = offset < 0 ? 0 : (magnitude < s ? static_cast<uint32_t>(magnitude) : s);
    } else if (origin == TINY_SEEK_CUR) {
        if (offset >= 0)
            result = uint64_t{p} + magnitude > s ? s : static_cast<uint32_t>(p + magnitude);
        else
            result = magnitude <= p ? static_cast<uint32_t>(p - magnitude) : 0;
    } else {
        if (offset >= 0)
            result = s;
        else
            result = magnitude <= s ? static_cast<uint32_t>(s - magnitude) : 0;
    }
    h->position = result;
    return result;
}

int TinyStat(uint32_t volumeArg, int flags, uint32_t fileNumberArg, TinyFileStat* out)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    if (!out)
        return Fail(TINY_EINVAL);
    const uint16_t volume = static_cast<uint16_t>(volumeArg);
    const uint16_t fileNumber = static_cast<uint16_t>(fileNumberArg);
    if (!VolumeMounted(volume))
        return Fail(TINY_ENODEV);
    const TinyVolumeEntry& vol = g_state.volumes[volume];
    if (flags != 0 || fileNumber >= vol.fileSlots)
        return Fail(TINY_EINVAL);
    const int exists = TestBit(vol, TINY_FILE_BITMAP_BLOCK, fileNumber);
    if (exists < 0)
        return Fail(TINY_EIO);
    if (exists == 0)
        return Fail(TINY_ENOENT);
    if (!ReadDeviceBlock(vol, RecordBlock(vol, fileNumber)))
        return Fail(TINY_EIO);
    out->size = GetBE32(Block() + TINY_REC_SIZE);
    out->date = GetBE16(Block() + TINY_REC_DATE);
    out->time = GetBE16(Block() + TINY_REC_TIME);
    out->attributes = Block()[TINY_REC_ATTRIBUTES];
    return 0;
}

int TinyStatVolume(uint32_t volumeArg, TinyVolumeStat* out)
{
    g_state.error = TINY_OK;
    if (!g_state.initialised)
        return Fail(TINY_EPERM);
    if (!out)
        return Fail(TINY_EINVAL);
    const uint16_t volume = static_cast<uint16_t>(volumeArg);
    if (!VolumeMounted(volume))
        return Fail(TINY_ENODEV);
    const TinyVolumeEntry& vol = g_state.volumes[volume];
    const int64_t usedFiles = CountSetBits(vol, TINY_FILE_BITMAP_BLOCK, vol.fileSlots);
    if (usedFiles < 0)
        return Fail(TINY_EIO);
    const int64_t usedClusters = CountSetBits(vol, TINY_CLUSTER_BITMAP_BLOCK, vol.clusters);
    if (usedClusters < 0)
        return Fail(TINY_EIO);
    // Stray bits past the last slot or cluster of a partial byte are counted
    // too; the free count stops at 0 rather than wrapping round.
    auto freeOf = [](uint16_t total, int64_t used) {
        return static_cast<uint16_t>(used >= total ? 0 : total - used);
    };
    out->clusterKiB = vol.clusterKiB;
    out->clusters = vol.clusters;
    out->freeClusters = freeOf(vol.clusters, usedClusters);
    out->fileSlots = vol.fileSlots;
    out->freeFileSlots = freeOf(vol.fileSlots, usedFiles);
    return 0;
}

int TinyGetError() { return g_state.error; }
