// Block conversions from a PX200 model image into a PX600 model image.
// The source is always the full 6618-byte model data image (the model data
// object's buffer, zero beyond what the file delivered); every function reads
// fixed offsets of it and writes only its own target block. The target block
// is all zero on entry; bytes that no step names stay zero.
//
// type is the PX600 model's model type code (0 AIRPLANE, 1 HELICOPTER,
// 2 GLIDER, 4 MULTICOPTER); c is the PX600 condition 0..7.
#pragma once

#include <cstdint>

// Model settings block, PX600 image 64..639 (img is the whole PX600 image).
void ConvertPX200SettingsBlock(uint8_t* img, const uint8_t* px200, int type);

// Condition block of condition c (block = PX600 image 640 + 3056 * c).
void ConvertPX200ConditionBlock(uint8_t* block, const uint8_t* px200, int type, int c);

// Curve settings block of condition c (block = PX600 image 28140 + 578 * c).
void ConvertPX200CurveSettingsBlock(uint8_t* block, const uint8_t* px200, int type, int c);

// Model-wide block, PX600 image 25200..28139 (img is the whole PX600 image).
void ConvertPX200ModelBlock(uint8_t* img, const uint8_t* px200, int type);

namespace px200 {

constexpr int kHelicopter = 1;
constexpr int kGlider = 2;
constexpr int kAirplane = 0;
constexpr int kConditions = 5;             // PX200 conditions 0..4

constexpr uint32_t kChannelTable = 190;    // 32 entries: channel of function k
constexpr uint8_t kGroupMarker = 0x2F;     // every condition has its own entry

// A PX200 byte read as signed.
inline int S8(const uint8_t* p) { return static_cast<int8_t>(*p); }

// Channel of function k (0..31): 0..11 a channel, 12 or more none.
inline int Channel(const uint8_t* px200, int k) { return px200[kChannelTable + k]; }

// Entry index of a table with a group marker byte: the condition's own
// entry when the marker is 0x2F, else entry 0 for every condition.
inline int EntryIndex(const uint8_t* px200, uint32_t marker, int c)
{
    return px200[marker] == kGroupMarker ? c : 0;
}

} // namespace px200
