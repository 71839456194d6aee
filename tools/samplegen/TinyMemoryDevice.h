// A TINYFS block device over bytes in memory, for tests, fuzzing and tools.
// It counts every block access (which also shows that the engine keeps no
// cache) and can fail the N-th read or the N-th write.
#pragma once

#include <cstdint>
#include <vector>

#include "storage/tinyfs.h"

class TinyMemoryDevice {
public:
    explicit TinyMemoryDevice(std::vector<uint8_t> image = {}) : m_image(std::move(image)) {}
    ~TinyMemoryDevice();
    TinyMemoryDevice(const TinyMemoryDevice&) = delete;
    TinyMemoryDevice& operator=(const TinyMemoryDevice&) = delete;

    // Routes the engine's block operations here until Detach (or destruction).
    void Attach();
    void Detach();

    std::vector<uint8_t>& Image() { return m_image; }
    const std::vector<uint8_t>& Image() const { return m_image; }

    // Counts of block accesses so far, and the blocks touched in order.
    uint64_t reads = 0;
    uint64_t writes = 0;
    std::vector<uint32_t> readBlocks;
    std::vector<uint32_t> writeBlocks;
    bool logBlocks = true;
    void ResetCounters();

    // Fail the N-th (1-based) read or write counted from now; 0 = never.
    uint64_t failReadAt = 0;
    uint64_t failWriteAt = 0;
    // Once set, every access fails (a device that went away).
    bool failAll = false;

private:
    static int ReadBlock(void* context, uint8_t device, uint32_t block, uint8_t* buffer);
    static int WriteBlock(void* context, uint8_t device, uint32_t block, const uint8_t* buffer);

    std::vector<uint8_t> m_image;
    TinyBlockDevice m_device{};
    bool m_attached = false;
};
