// The image file on Windows: a handle opened with a share mode of none (an
// image another program holds fails with error 32), and positioned block
// reads and writes, one call per block.
#include "storage/ImageFile.h"

#include "platform/win32/Win32.h"
#include "storage/TinyImage.h"

static_assert(TINY_OS_ERROR_WRITE_PROTECT == ERROR_WRITE_PROTECT && TINY_OS_ERROR_SHARING == ERROR_SHARING_VIOLATION);

namespace {

HANDLE g_image = INVALID_HANDLE_VALUE;

// The OVERLAPPED record that positions a synchronous read or write.
OVERLAPPED At(uint64_t offset)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

}  // namespace

ImageAttributes ImageFileAttributes(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ImageAttributes::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ImageAttributes::NotAFile;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return ImageAttributes::ReadOnly;
    return ImageAttributes::Writable;
}

int ImageFileOpen(const std::string& path)
{
    ImageFileClose();
    // A device, a pipe or a folder of that name is an image that cannot be
    // opened, and is not opened at all.
    if (NamesNoDiskFile(path))
        return ERROR_ACCESS_DENIED;
    HANDLE h = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error != NO_ERROR ? static_cast<int>(error) : static_cast<int>(ERROR_GEN_FAILURE);
    }
    // Only a file on a disk is an image (the guard against a swap since the
    // look above).
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return ERROR_ACCESS_DENIED;
    }
    g_image = h;
    return 0;
}

void ImageFileClose()
{
    if (g_image != INVALID_HANDLE_VALUE) {
        ::CloseHandle(g_image);
        g_image = INVALID_HANDLE_VALUE;
    }
}

bool ImageFileIsOpen() { return g_image != INVALID_HANDLE_VALUE; }

bool ImageFileRead(uint64_t offset, uint8_t* buffer, size_t count)
{
    if (g_image == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED at = At(offset);
    DWORD got = 0;
    return ::ReadFile(g_image, buffer, static_cast<DWORD>(count), &got, &at) && got == count;
}

bool ImageFileWrite(uint64_t offset, const uint8_t* buffer, size_t count)
{
    if (g_image == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED at = At(offset);
    DWORD put = 0;
    return ::WriteFile(g_image, buffer, static_cast<DWORD>(count), &put, &at) && put == count;
}
