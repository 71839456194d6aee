// The TINYFS image file: the one image the process holds open, serving the
// engine's block operations, and TinyVolume, which mounts the image of a
// location and keeps a directory of its files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/TinyFileEntry.h"

// OS error number of an image that another process holds open.
constexpr int TINY_OS_ERROR_SHARING = 32;
// OS error number of an image on write-protected media (a locked card).
constexpr int TINY_OS_ERROR_WRITE_PROTECT = 19;

// Why a folder's image was not used: a file mode without write permission
// (or write-protected media), held by another program, no valid volume in it,
// an entry that is no regular file, or any other failure to open it.
enum class TinyImageProblem { None, ReadOnly, InUse, Damaged, NotAFile, CannotOpen };

// Starts the engine for the one image of the process (volume 0, one handle).
bool TinyStartup();
// Closes any open image and ends the engine.
void TinyShutdown();
// Opens and mounts the image at path, first closing any image that is open.
// osError is the OS error number when the file cannot be opened, 0 when it
// opened but holds no valid volume (or on success).
bool TinyOpenImage(const std::string& path, int* volume, int* osError);
// Unmounts the volume and closes the open image, if any.
void TinyCloseImage(int volume);
// True while an image file is open.
bool TinyImageIsOpen();
// Blocks read from image files since the program started (for measurements).
uint64_t TinyImageBlockReads();

class TinyVolume {
public:
    TinyVolume() = default;
    TinyVolume(const TinyVolume&) = delete;
    TinyVolume& operator=(const TinyVolume&) = delete;
    // Releases the fields only: the owner calls Unmount first.
    virtual ~TinyVolume() = default;

    bool Mount(const std::string& path);
    void Unmount();
    // Rebuilds m_entries: entry i describes file number i + 2.
    bool LoadDirectory();

    std::string m_errorText;   // why the last Mount failed; kept until the next failure
    // Why the last Mount left an existing image unused, and that image's path;
    // None (and no path) after a success or when there was no image at all.
    TinyImageProblem m_problem = TinyImageProblem::None;
    std::string m_problemPath;
    int32_t m_volumeIndex = -1;
    std::string m_imagePath;
    std::vector<TinyFileEntry> m_entries;
};
