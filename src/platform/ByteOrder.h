// Explicit byte order for the file formats: the PX600 and TINYFS structures
// are big-endian, the PX400 and PX200 images and FAT fields little-endian.
// Every multi-byte field is read and written through these, never through a
// struct laid over the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline uint16_t GetBE16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

inline void PutBE16(uint8_t* p, uint16_t value)
{
    p[0] = static_cast<uint8_t>(value >> 8);
    p[1] = static_cast<uint8_t>(value);
}

inline uint32_t GetBE32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8
        | static_cast<uint32_t>(p[3]);
}

inline void PutBE32(uint8_t* p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value >> 24);
    p[1] = static_cast<uint8_t>(value >> 16);
    p[2] = static_cast<uint8_t>(value >> 8);
    p[3] = static_cast<uint8_t>(value);
}

inline uint16_t GetLE16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline void PutLE16(uint8_t* p, uint16_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

inline uint32_t GetLE32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16
        | static_cast<uint32_t>(p[3]) << 24;
}

inline void PutLE32(uint8_t* p, uint32_t value)
{
    PutLE16(p, static_cast<uint16_t>(value));
    PutLE16(p + 2, static_cast<uint16_t>(value >> 16));
}

// A UTF-16LE text field of at most maxUnits units, ending at the first 0
// unit; never reads past the field.
inline std::u16string ReadUtf16LE(const uint8_t* field, size_t maxUnits)
{
    std::u16string text;
    for (size_t i = 0; i < maxUnits; ++i) {
        const char16_t c = GetLE16(field + 2 * i);
        if (c == 0)
            break;
        text.push_back(c);
    }
    return text;
}
