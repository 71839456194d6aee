// Small file helpers shared by the sample writers and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to path, replacing the file; creates missing parent folders.
// Throws std::runtime_error on failure.
void WriteSampleFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadSampleFile(const std::string& path);
