// Runs a libFuzzer entry point without libFuzzer: every file of the corpus
// folder given as the first argument, then a fixed-seed batch of random inputs
// of random lengths. Used as a regression test with any compiler.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    size_t files = 0;
    if (argc > 1 && std::filesystem::is_directory(argv[1])) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++files;
        }
    }
    const char* env = std::getenv("ARK_REPLAY_RANDOM");
    const int rounds = env ? std::atoi(env) : 200;
    std::mt19937 rng(12345);
    std::vector<uint8_t> buf;
    for (int i = 0; i < rounds; ++i) {
        size_t len = rng() % 8192;
        if (i % 10 == 0)
            len = rng() % 240000;
        buf.resize(len);
        for (auto& b : buf)
            b = static_cast<uint8_t>(rng());
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    std::printf("replayed %zu corpus files and %d random inputs\n", files, rounds);
    return 0;
}
