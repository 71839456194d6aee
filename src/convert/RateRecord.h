// The three defaults of a 12-byte PX600 rate record (point mask in bytes
// 0..2, type in bits 3..6 of byte 2, three 12-bit value pairs), shared by the
// PX400 and PX200 curve settings conversions.
#pragma once

#include <cstdint>

inline constexpr uint8_t kRateRecordDefaults[3][12] = {
    {0x55, 0x55, 0x01, 0xE8, 0xE8, 0x33, 0, 0, 0, 0, 0, 0},  // 17 points, every second; P = 1000, 1000
    {0x55, 0x55, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0},  // 17 points, every second; all values 0
    {0xFF, 0x07, 0x00, 0xE8, 0xE8, 0x33, 0, 0, 0, 0, 0, 0},  // 11 points, all; P = 1000, 1000
};
