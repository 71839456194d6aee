// Mounting and listing a TINYFS image of 1000 PX200 models, against reading
// the same image file once from start to end.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "samplegen/PX200Samples.h"
#include "storage/TinyImage.h"

namespace {

constexpr unsigned kModels = 1000;

// Builds the image once per process in a temporary folder.
const std::string& BulkImagePath()
{
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / ("bench-tinyfs-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const std::string file = (dir / "TINYFS.IMG").string();
        const std::vector<uint8_t> image = MakePX200BulkImage(kModels);
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
        std::atexit([] { std::filesystem::remove_all(std::filesystem::path(BulkImagePath()).parent_path()); });
        return file;
    }();
    return path;
}

void BM_TinyMountAndList(benchmark::State& state)
{
    const std::string& path = BulkImagePath();
    TinyStartup();
    uint64_t reads = 0;
    uint64_t listed = 0;
    for (auto _ : state) {
        const uint64_t before = TinyImageBlockReads();
        TinyVolume volume;
        if (!volume.Mount(path)) {
            state.SkipWithError(volume.m_errorText.c_str());
            break;
        }
        for (const TinyFileEntry& e : volume.m_entries)
            listed += e.isEmpty ? 0 : 1;
        benchmark::DoNotOptimize(volume.m_entries.data());
        volume.Unmount();
        reads += TinyImageBlockReads() - before;
    }
    TinyShutdown();
    state.counters["block_reads_per_model"] = listed ? static_cast<double>(reads) / static_cast<double>(listed) : 0.0;
    state.counters["models"] = static_cast<double>(listed) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TinyMountAndList)->Unit(benchmark::kMillisecond);

void BM_ReadWholeImageFile(benchmark::State& state)
{
    const std::string& path = BulkImagePath();
    std::vector<char> buffer(1 << 16);
    uint64_t bytes = 0;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        ssize_t got;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
            bytes += static_cast<uint64_t>(got);
        ::close(fd);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_ReadWholeImageFile)->Unit(benchmark::kMillisecond);

}  // namespace
