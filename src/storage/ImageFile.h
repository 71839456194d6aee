// The one image file the process holds open, as each system provides it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class ImageAttributes { Missing, NotAFile, ReadOnly, Writable };

// What the entry's attributes say (links followed): missing (or unreadable),
// not a regular file, read-only by its mode, or writable.
ImageAttributes ImageFileAttributes(const std::string& path);
// Opens an existing regular file for reading and writing, shared with nobody,
// first closing the image that is open. 0, or the OS error number
// (TINY_OS_ERROR_SHARING when another holder has it open).
int ImageFileOpen(const std::string& path);
void ImageFileClose();
bool ImageFileIsOpen();
// Exactly count bytes at offset, in one positioned call; false otherwise.
bool ImageFileRead(uint64_t offset, uint8_t* buffer, size_t count);
bool ImageFileWrite(uint64_t offset, const uint8_t* buffer, size_t count);
