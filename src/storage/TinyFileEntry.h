// One entry of a TINYFS image's directory: what a mount learned of file number
// index + 2.
#pragma once

#include <cstdint>
#include <string>

struct TinyFileEntry {
    uint32_t number = 0;    // file number (index + 2)
    uint8_t isEmpty = 1;    // 1 when no file has that number
    uint16_t date = 0;      // FAT date of the last change
    uint16_t time = 0;      // FAT time of the last change
    uint32_t size = 0;      // file size in bytes
    uint16_t byte1 = 0;     // the file's byte at offset 1
    std::u16string name;    // file bytes 18..33 (numbers 6 and up), trimmed
    std::u16string text2;   // file bytes 2..17 (numbers 6 and up)
};
