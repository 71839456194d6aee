// The bundled PX400 sample models: deterministic, plausible models of each
// PX400 model type, written as <folder>/<NAME>.MDL (196608 bytes each).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "samplegen/PX400Builder.h"

struct PX400Sample {
    const char* fileName;      // file name without the .MDL extension
    uint16_t modelType;        // 0 AIRPLANE, 1 HELICOPTER, 2 GLIDER, 3 MOTOR GLIDER
    std::u16string modelName;
    bool tripsDelayWarning;    // holds a delay setting the PX600 cannot take over
    uint32_t seed;             // varies curves and settings deterministically
};

const std::vector<PX400Sample>& PX400SampleList();

// One complete sample model.
samples::PX400Builder MakePX400Sample(const PX400Sample& sample);

// Writes every sample model into folder, creating it. Throws
// std::runtime_error when a file cannot be written.
void WritePX400Samples(const std::string& folder);
