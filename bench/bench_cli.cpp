// Whole runs of arkleton-cli, each measured beside the plain file operation it
// stands against: one conversion against copying the source file with cp (a
// PX400 file, or the bytes of one PX200 model for a conversion from the
// bundled image), listing an image of 1000 PX200 models against reading the
// image with cat, and listing a folder of 1000 PX400 files against reading
// each file's header with head.
// Converting a folder of 100 PX400 models with convert --all stands against
// 100 separate convert runs and against copying the 100 results with one cp.
// The in-process listing reports how many blocks it reads per listed model.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/DialogHost.h"
#include "app/ModelList.h"
#include "RunQuiet.h"
#include "samplegen/PX200Samples.h"
#include "platform/Text.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/PX400Samples.h"
#include "storage/TinyImage.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned kImageModels = 1000;
constexpr unsigned kFolderModels = 1000;
constexpr const char* kPX400HeaderBytes = "188";
constexpr unsigned kBatchModels = 100;

struct Workspace {
    Workspace()
    {
        root = fs::temp_directory_path() / ("bench-cli-" + std::to_string(::getpid()));
        fs::create_directories(root / "px400");
        fs::create_directories(root / "out");
        fs::create_directories(root / "px200");
        fs::create_directories(root / "px400many");
        samples::PX400Builder builder;
        for (unsigned i = 0; i < kFolderModels; ++i) {
            builder.SetModelName(u"M" + Utf8ToUtf16(std::to_string(i)));
            const std::vector<uint8_t> image = builder.Image();
            const fs::path file = root / "px400many" / ("M" + std::to_string(i) + ".MDL");
            std::ofstream(file.string(), std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
            folderFiles.push_back(file.string());
        }
        WritePX400Samples((root / "px400").string());
        WritePX200SampleImage((root / "px200samples").string());
        const std::vector<uint8_t> model = MakePX200Model(PX200Samples()[0]);
        px200Model = (root / "px200model.bin").string();
        std::ofstream(px200Model, std::ios::binary)
            .write(reinterpret_cast<const char*>(model.data()), static_cast<std::streamsize>(model.size()));
        const std::vector<uint8_t> image = MakePX200BulkImage(kImageModels);
        std::ofstream((root / "px200" / "TINYFS.IMG").string(), std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        for (const auto& entry : fs::directory_iterator(root / "px400"))
            if (source.empty() || entry.path().string() < source)
                source = entry.path().string();
        // The five samples twenty times each: real settings, and model names
        // that the run numbers ("ARK TRAINER 2").
        std::vector<fs::path> samples;
        for (const auto& entry : fs::directory_iterator(root / "px400"))
            samples.push_back(entry.path());
        std::sort(samples.begin(), samples.end());
        fs::create_directories(root / "hundred");
        for (unsigned i = 0; i < kBatchModels; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "S%03u.MDL", i);
            fs::copy_file(samples[i % samples.size()], root / "hundred" / name);
            hundredKeys.push_back((root / "hundred" / name).string());
        }
    }
    ~Workspace()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path root;
    std::string source;
    std::string px200Model;  // one PX200 model's bytes, the first of the image
    std::vector<std::string> folderFiles;
    std::vector<std::string> hundredKeys;  // the 100 models' keys
};

Workspace& Space()
{
    static Workspace space;
    return space;
}

// Times a program that writes one file, removing the file after each run
// (outside the timing), so that every run starts from the same folder.
void TimeRunThatWrites(benchmark::State& state, const std::vector<std::string>& args, const fs::path& written)
{
    for (auto _ : state) {
        const int rc = RunQuiet(args);
        state.PauseTiming();
        if (rc != 0) {
            state.SkipWithError((args[0] + " failed").c_str());
            break;
        }
        fs::remove(written);
        state.ResumeTiming();
    }
}

void BM_CliConvert(benchmark::State& state)
{
    Workspace& ws = Space();
    const fs::path out = ws.root / "out";
    TimeRunThatWrites(state,
                      {ARK_CLI_PATH, "convert", "--language", "en", "--from", "PX400", "--source",
                       (ws.root / "px400").string(), "--model", ws.source, "--to", out.string(), "--name", "BENCH"},
                      out / "BENCH.mdl");
}
BENCHMARK(BM_CliConvert)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopySourceFile(benchmark::State& state)
{
    Workspace& ws = Space();
    const fs::path copy = ws.root / "out" / "copy.MDL";
    TimeRunThatWrites(state, {"cp", ws.source, copy.string()}, copy);
}
BENCHMARK(BM_CopySourceFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first model of the bundled sample image (file number 6).
void BM_CliConvertPX200(benchmark::State& state)
{
    Workspace& ws = Space();
    const fs::path out = ws.root / "out";
    TimeRunThatWrites(state,
                      {ARK_CLI_PATH, "convert", "--language", "en", "--from", "PX200", "--source",
                       (ws.root / "px200samples").string(), "--model", "6", "--to", out.string(), "--name", "BENCH2"},
                      out / "BENCH2.mdl");
}
BENCHMARK(BM_CliConvertPX200)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyPX200Model(benchmark::State& state)
{
    Workspace& ws = Space();
    const fs::path copy = ws.root / "out" / "copy.bin";
    TimeRunThatWrites(state, {"cp", ws.px200Model, copy.string()}, copy);
}
BENCHMARK(BM_CopyPX200Model)->Unit(benchmark::kMillisecond)->UseRealTime();

// Removes every file of a folder; outside the timing.
void EmptyFolder(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder))
        fs::remove(entry.path());
}

std::vector<std::string> ConvertAllArgs(const fs::path& to)
{
    return {ARK_CLI_PATH, "convert", "--all", "--language", "en", "--from", "PX400", "--source",
            (Space().root / "hundred").string(), "--to", to.string()};
}

void BM_CliConvertAll100(benchmark::State& state)
{
    const fs::path out = Space().root / "all";
    fs::create_directories(out);
    for (auto _ : state) {
        const int rc = RunQuiet(ConvertAllArgs(out));
        state.PauseTiming();
        if (rc != 0 || std::distance(fs::directory_iterator(out), fs::directory_iterator()) != kBatchModels) {
            state.SkipWithError("convert --all failed");
            break;
        }
        EmptyFolder(out);
        state.ResumeTiming();
    }
    state.counters["models"] = kBatchModels;
}
BENCHMARK(BM_CliConvertAll100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliConvert100Separate(benchmark::State& state)
{
    Workspace& ws = Space();
    const fs::path out = ws.root / "separate";
    fs::create_directories(out);
    for (auto _ : state) {
        for (unsigned i = 0; i < kBatchModels; ++i) {
            if (RunQuiet({ARK_CLI_PATH, "convert", "--language", "en", "--from", "PX400", "--source",
                          (ws.root / "hundred").string(), "--model", ws.hundredKeys[i], "--to", out.string(),
                          "--name", "M" + std::to_string(i)}) != 0) {
                state.SkipWithError("convert failed");
                break;
            }
        }
        state.PauseTiming();
        EmptyFolder(out);
        state.ResumeTiming();
    }
    state.counters["models"] = kBatchModels;
}
BENCHMARK(BM_CliConvert100Separate)->Unit(benchmark::kMillisecond)->UseRealTime();

// One cp of the 100 files that convert --all writes.
void BM_Copy100Results(benchmark::State& state)
{
    const fs::path results = Space().root / "results", copy = Space().root / "copy";
    fs::create_directories(results);
    fs::create_directories(copy);
    if (fs::is_empty(results) && RunQuiet(ConvertAllArgs(results)) != 0) {
        state.SkipWithError("convert --all failed");
        return;
    }
    std::vector<std::string> args{"cp"};
    for (const auto& entry : fs::directory_iterator(results))
        args.push_back(entry.path().string());
    args.push_back(copy.string());
    for (auto _ : state) {
        const int rc = RunQuiet(args);
        state.PauseTiming();
        if (rc != 0) {
            state.SkipWithError("cp failed");
            break;
        }
        EmptyFolder(copy);
        state.ResumeTiming();
    }
    state.counters["models"] = double(args.size() - 2);
}
BENCHMARK(BM_Copy100Results)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliListImage(benchmark::State& state)
{
    Workspace& ws = Space();
    for (auto _ : state) {
        if (RunQuiet({ARK_CLI_PATH, "list", (ws.root / "px200").string()}) != 0) {
            state.SkipWithError("arkleton-cli list failed");
            break;
        }
    }
    state.counters["models"] = kImageModels;
}
BENCHMARK(BM_CliListImage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatImage(benchmark::State& state)
{
    Workspace& ws = Space();
    for (auto _ : state) {
        if (RunQuiet({"cat", (ws.root / "px200" / "TINYFS.IMG").string()}) != 0) {
            state.SkipWithError("cat failed");
            break;
        }
    }
}
BENCHMARK(BM_CatImage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliListFolder(benchmark::State& state)
{
    Workspace& ws = Space();
    for (auto _ : state) {
        if (RunQuiet({ARK_CLI_PATH, "list", (ws.root / "px400many").string()}) != 0) {
            state.SkipWithError("arkleton-cli list failed");
            break;
        }
    }
    state.counters["models"] = kFolderModels;
}
BENCHMARK(BM_CliListFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HeadFolderHeaders(benchmark::State& state)
{
    Workspace& ws = Space();
    std::vector<std::string> args{"head", "-q", "-c", kPX400HeaderBytes};
    args.insert(args.end(), ws.folderFiles.begin(), ws.folderFiles.end());
    for (auto _ : state) {
        if (RunQuiet(args) != 0) {
            state.SkipWithError("head failed");
            break;
        }
    }
}
BENCHMARK(BM_HeadFolderHeaders)->Unit(benchmark::kMillisecond)->UseRealTime();

// The listing the CLI runs, in process, counting block reads per listed model.
class QuietHost : public IDialogHost {
public:
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void FocusControl(FocusTarget, bool) override {}
    void MessageBox(const std::u16string&, const std::u16string&, MessageKind) override {}
    void ShowModelList(ListSide, const ModelListing&) override {}
};

void BM_ListImageInProcess(benchmark::State& state)
{
    Workspace& ws = Space();
    TinyStartup();
    QuietHost host;
    uint64_t reads = 0;
    uint64_t listed = 0;
    for (auto _ : state) {
        const uint64_t before = TinyImageBlockReads();
        const ModelListing listing = FillModelList(host, (ws.root / "px200").string());
        reads += TinyImageBlockReads() - before;
        listed += listing.rows.size();
        benchmark::DoNotOptimize(listing.rows.data());
    }
    TinyShutdown();
    state.counters["block_reads_per_model"] = listed ? double(reads) / double(listed) : 0.0;
    state.counters["models"] = double(listed) / double(state.iterations());
}
BENCHMARK(BM_ListImageInProcess)->Unit(benchmark::kMillisecond);

}  // namespace
