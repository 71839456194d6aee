// TINYFS: a small file system kept in one image file. Files have no names,
// only numbers. The engine is a set of free functions over one global state in
// the manner of a small embedded file system: every operation returns a
// negative value on failure and leaves an error code for TinyGetError; nothing
// throws, nothing is allocated, nothing is cached. Every access to the medium
// is one 64-byte block through TinyReadBlock / TinyWriteBlock.
#pragma once

#include <cstdint>

// ---- Error codes (the user sees string 200 + code) ------------------------
constexpr int TINY_OK = 0;
constexpr int TINY_EPERM = 1;    // engine not initialised
constexpr int TINY_ENOENT = 2;   // file number does not exist
constexpr int TINY_EIO = 5;      // block read or write failed, or no data cluster
constexpr int TINY_EBADF = 9;    // handle invalid, not in use, or wrong direction
constexpr int TINY_ENOMEM = 12;  // short write (reported by the file class)
constexpr int TINY_EBUSY = 16;   // already mounted / open, or still in use
constexpr int TINY_ENODEV = 19;  // volume index out of range or not mounted
constexpr int TINY_EISDIR = 21;  // record marks a directory
constexpr int TINY_EINVAL = 22;  // bad argument, option, header or wrapper
constexpr int TINY_EMFILE = 24;  // no free handle
constexpr int TINY_EFBIG = 27;   // position at or beyond four clusters
constexpr int TINY_ENOSPC = 28;  // no free cluster

// ---- Open modes -----------------------------------------------------------
constexpr uint8_t TINY_MODE_READ = 0;
constexpr uint8_t TINY_MODE_WRITE = 1;
constexpr uint8_t TINY_MODE_READWRITE = 2;
constexpr uint8_t TINY_MODE_CREATE = 16;  // added to WRITE or READWRITE

// ---- Seek origins ---------------------------------------------------------
constexpr int TINY_SEEK_SET = 0;
constexpr int TINY_SEEK_CUR = 1;
constexpr int TINY_SEEK_END = 2;

// ---- On-disk geometry -------------------------------------------------------
constexpr uint32_t TINY_BLOCK_SIZE = 64;
constexpr uint32_t TINY_FILE_BITMAP_BLOCK = 8;       // file bitmap, 128 blocks
constexpr uint32_t TINY_CLUSTER_BITMAP_BLOCK = 136;  // cluster bitmap
constexpr uint32_t TINY_BITS_PER_BLOCK = TINY_BLOCK_SIZE * 8;
constexpr uint32_t TINY_RECORD_BLOCKS_PER_FILE = 2;
constexpr uint32_t TINY_CLUSTERS_PER_FILE = 4;

// Volume header (block 0 of the volume), byte offsets.
constexpr unsigned TINY_HDR_MAGIC = 0;          // "TINYFS01", 8 bytes
constexpr unsigned TINY_HDR_VERSION = 8;        // 1 byte, must be 1
constexpr unsigned TINY_HDR_CLUSTER_KIB = 10;   // BE16
constexpr unsigned TINY_HDR_FILE_SLOTS = 12;    // BE16
constexpr unsigned TINY_HDR_AREA1_BLOCKS = 16;  // BE32
constexpr unsigned TINY_HDR_AREA2_BLOCKS = 20;  // BE32
constexpr unsigned TINY_HDR_RECORD_BLOCKS = 24; // BE32
constexpr unsigned TINY_HDR_DATA_BLOCKS = 28;   // BE32
constexpr char TINY_MAGIC[8] = {'T', 'I', 'N', 'Y', 'F', 'S', '0', '1'};
constexpr uint8_t TINY_VERSION = 1;

// File record (first of the file's two record blocks), byte offsets.
constexpr unsigned TINY_REC_ATTRIBUTES = 0;  // 1 byte
constexpr unsigned TINY_REC_DATE = 2;        // BE16, FAT date
constexpr unsigned TINY_REC_TIME = 4;        // BE16, FAT time
constexpr unsigned TINY_REC_SIZE = 8;        // BE32
constexpr unsigned TINY_REC_CLUSTERS = 12;   // 4 x BE16
constexpr uint8_t TINY_ATTR_DIRECTORY = 0x10;

// ---- Tables the caller owns -----------------------------------------------
struct TinyVolumeEntry {
    uint8_t mounted;
    uint8_t device;
    uint16_t fileSlots;
    uint16_t clusters;
    uint16_t clusterKiB;
    uint32_t volumeStart;
    uint32_t volumeBlocks;
    uint32_t area1Blocks;
    uint32_t area2Blocks;
    uint32_t recordBlocks;
};

struct TinyHandleEntry {
    uint8_t inUse;
    uint8_t handle;
    uint8_t volume;
    uint8_t mode;
    uint16_t fileNumber;
    uint32_t size;
    uint32_t position;
};

struct TinyConfig {
    uint16_t volumeCount;
    uint16_t handleCount;
    uint16_t reserved1;  // copied, never read
    uint16_t reserved2;  // not read
    TinyVolumeEntry* volumes;
    TinyHandleEntry* handles;
    uint8_t* workBuffer;  // 72 bytes; bytes 8..71 are the block buffer
};

constexpr unsigned TINY_WORK_BUFFER_SIZE = 72;
constexpr unsigned TINY_WORK_BLOCK_OFFSET = 8;

struct TinyFileStat {
    uint32_t size;
    uint16_t date;
    uint16_t time;
    uint8_t attributes;
};

struct TinyVolumeStat {
    uint16_t clusterKiB;
    uint16_t clusters;
    uint16_t freeClusters;
    uint16_t fileSlots;
    uint16_t freeFileSlots;
};

// ---- Engine operations ----------------------------------------------------
// Volume indexes and file numbers are taken as unsigned 16-bit values: the
// arguments are truncated, so 65542 names file 6.
int TinyInit(const TinyConfig* config);
int TinySetOption(const char* option);
int TinyTerm(int force);
int TinyMount(uint32_t volume);
int TinyUnmount(uint32_t volume, int force);
int TinyOpen(uint32_t volume, int flags, uint32_t fileNumber, int mode);
int TinyClose(int handle);
int TinyRead(int handle, void* buffer, uint32_t count);
int TinyWrite(int handle, const void* buffer, uint32_t count);
int64_t TinySeek(int handle, int32_t offset, int origin);
int TinyStat(uint32_t volume, int flags, uint32_t fileNumber, TinyFileStat* out);
int TinyStatVolume(uint32_t volume, TinyVolumeStat* out);
int TinyGetError();

// ---- The block device -----------------------------------------------------
// One 64-byte block of a device; 0 on success, -1 on failure. Served by the
// open image file (TinyImage.cpp) unless a replacement device is installed.
int TinyReadBlock(uint8_t device, uint32_t block, uint8_t* buffer);
int TinyWriteBlock(uint8_t device, uint32_t block, const uint8_t* buffer);

// A replacement device, for tests and for reading images held in memory.
struct TinyBlockDevice {
    int (*read)(void* context, uint8_t device, uint32_t block, uint8_t* buffer);
    int (*write)(void* context, uint8_t device, uint32_t block, const uint8_t* buffer);
    void* context;
};
// Installs a device (the pointer is kept, not the record); nullptr returns to
// the image file.
void TinySetBlockDevice(const TinyBlockDevice* device);

// FAT encodings of a local date and time.
uint16_t TinyFatDate(uint16_t year, uint16_t month, uint16_t day);
uint16_t TinyFatTime(uint16_t hour, uint16_t minute, uint16_t second);
