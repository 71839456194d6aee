// A digest of test results. Each is checked against the value it had when it
// was taken (a regression digest: a change to any result's bytes fails), and
// written to $ARK_DIGEST_DIR/<name> when the variable is set, where the test
// script compares the files of the Linux and the Windows build.
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

inline std::string DigestText(uint64_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// expected is the digest the results had when it was taken, not a value
// worked out from the formats: a change meant to alter results takes the new
// value from the failure, once the changed bytes have been checked.
inline void CheckDigest(const char* name, uint64_t value, uint64_t expected)
{
    EXPECT_EQ(DigestText(value), DigestText(expected)) << name << ": the results changed";
    const char* dir = std::getenv("ARK_DIGEST_DIR");
    if (!dir || !*dir)
        return;
    std::ofstream out(std::string(dir) + "/" + name, std::ios::binary);
    out << DigestText(value) << '\n';
    EXPECT_TRUE(out.good()) << dir;
}
