// Mounts arbitrary bytes as a TINYFS volume held in memory, lists it the way
// a TinyVolume does, and reads, writes and seeks in what it finds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "samplegen/TinyMemoryDevice.h"
#include "storage/TinyImage.h"
#include "storage/tinyfs.h"

namespace {

TinyVolumeEntry g_volumes[1];
TinyHandleEntry g_handles[2];
uint8_t g_work[TINY_WORK_BUFFER_SIZE];

// Images larger than this add nothing but time.
constexpr size_t kMaxImage = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxImage || size < 1)
        return 0;
    // The first byte picks the engine options; the rest is the device.
    const bool plain = (data[0] & 1) == 0;
    TinyMemoryDevice device(std::vector<uint8_t>(data + 1, data + size));
    device.logBlocks = false;
    device.Attach();
    const TinyConfig config{1, 2, 0, 0, g_volumes, g_handles, g_work};
    if (TinyInit(&config) < 0)
        __builtin_trap();
    if (plain)
        TinySetOption("NO_FAT_WRAPPING");
    if (TinyMount(0) == 0) {
        TinyVolumeStat vs{};
        TinyStatVolume(0, &vs);

        TinyVolume volume;
        volume.m_volumeIndex = 0;
        volume.LoadDirectory();
        volume.m_volumeIndex = -1;  // the image layer holds no file: nothing to close

        // Read every file that stats, then grow one with a write.
        uint8_t buf[512];
        const uint32_t slots = g_volumes[0].fileSlots;
        for (uint32_t n = 0; n < slots; ++n) {
            TinyFileStat st{};
            if (TinyStat(0, 0, n, &st) < 0)
                continue;
            const int h = TinyOpen(0, 0, n, (data[0] & 2) ? 2 : 0);
            if (h < 0)
                continue;
            // Bounded: a file never holds more than four 256 KiB clusters.
            for (int i = 0; i < 2048; ++i)
                if (TinyRead(h, buf, sizeof buf) <= 0)
                    break;
            TinySeek(h, -100, TINY_SEEK_END);
            TinySeek(h, 37, TINY_SEEK_CUR);
            if (data[0] & 2)
                TinyWrite(h, data, static_cast<uint32_t>(size < 300 ? size : 300));
            if (TinyClose(h) < 0)
                break;
        }
        const int created = TinyOpen(0, 0, slots > 0 ? slots - 1 : 0, 18);
        if (created >= 0) {
            TinyWrite(created, data, static_cast<uint32_t>(size < 5000 ? size : 5000));
            TinyClose(created);
        }
        TinyUnmount(0, 1);
    }
    TinyTerm(1);
    return 0;
}
