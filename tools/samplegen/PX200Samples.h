// PX200 sample models inside a TINYFS image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Size of the model data of one PX200 model file.
constexpr size_t kPX200ModelBytes = 6618;

struct PX200Sample {
    uint8_t modelType;          // 0 AIRPLANE, 1 HELICOPTER, 2 GLIDER, 3 MULTICOPTER
    std::u16string modelName;   // up to 31 characters
    bool perConditionRates;     // rate tables carry the 0x2F group marker
    const char* conditionNames[5];
    uint32_t seed;              // varies the settings deterministically
};

// One plausible PX200 model file (6618 bytes).
std::vector<uint8_t> MakePX200Model(const PX200Sample& model);

// The bundled sample models, in file-number order from 6 upward.
const std::vector<PX200Sample>& PX200Samples();

// A volume image holding `count` generated PX200 models at file numbers
// 6, 7, ... (used by benchmarks); the file slots are count + 8.
std::vector<uint8_t> MakePX200BulkImage(unsigned count);

// Writes <folder>/TINYFS.IMG with the bundled PX200 models, creating the
// folder. Throws std::runtime_error when it cannot be written.
void WritePX200SampleImage(const std::string& folder);
