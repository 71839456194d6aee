// A digest of test results that the builds for different systems compare:
// each writes it to $ARK_DIGEST_DIR/<name> when the variable is set, and the
// test script compares the files of the Linux and the Windows build.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

// FNV-1a over every output.
struct Digest {
    uint64_t value = 0xCBF29CE484222325ull;
    void Add(const uint8_t* bytes, size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            value = (value ^ bytes[i]) * 0x100000001B3ull;
    }
};

inline void WriteDigest(const char* name, uint64_t value)
{
    const char* dir = std::getenv("ARK_DIGEST_DIR");
    if (!dir || !*dir)
        return;
    std::ofstream out(std::string(dir) + "/" + name, std::ios::binary);
    char text[32];
    std::snprintf(text, sizeof text, "%016llx\n", static_cast<unsigned long long>(value));
    out << text;
    EXPECT_TRUE(out.good()) << dir;
}
