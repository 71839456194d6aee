// The image file on POSIX: a descriptor held with an exclusive lock while the
// image is mounted, and positioned reads and writes of whole blocks.
#include "storage/ImageFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/TinyImage.h"

namespace {

int g_imageFd = -1;

}  // namespace

ImageAttributes ImageFileAttributes(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return ImageAttributes::Missing;
    if (!S_ISREG(info.st_mode))
        return ImageAttributes::NotAFile;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return ImageAttributes::ReadOnly;
    return ImageAttributes::Writable;
}

int ImageFileOpen(const std::string& path)
{
    ImageFileClose();
    // A named pipe, a device or a folder of that name is an image that cannot
    // be opened, and is not opened at all: the entry's type (links followed)
    // is looked at first.
    struct stat entry {};
    if (::stat(path.c_str(), &entry) == 0 && !S_ISREG(entry.st_mode))
        return EACCES;
    // Read and write, existing files only, and held exclusively while open.
    // Opened without blocking and kept only when the descriptor is a regular
    // file, the guard against an entry swapped since it was looked at.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        // A file system mounted read-only (a write-protected card) is told
        // apart the way Windows tells it.
        if (errno == EROFS)
            return TINY_OS_ERROR_WRITE_PROTECT;
        return errno != 0 ? errno : EIO;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return EACCES;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return (err == EWOULDBLOCK || err == EAGAIN) ? TINY_OS_ERROR_SHARING : (err != 0 ? err : EIO);
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    g_imageFd = fd;
    return 0;
}

void ImageFileClose()
{
    if (g_imageFd >= 0) {
        ::close(g_imageFd);  // also releases the lock
        g_imageFd = -1;
    }
}

bool ImageFileIsOpen() { return g_imageFd >= 0; }

bool ImageFileRead(uint64_t offset, uint8_t* buffer, size_t count)
{
    if (g_imageFd < 0)
        return false;
    ssize_t got;
    do {
        got = ::pread(g_imageFd, buffer, count, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(count);
}

bool ImageFileWrite(uint64_t offset, const uint8_t* buffer, size_t count)
{
    if (g_imageFd < 0)
        return false;
    ssize_t put;
    do {
        put = ::pwrite(g_imageFd, buffer, count, static_cast<off_t>(offset));
    } while (put < 0 && errno == EINTR);
    return put == static_cast<ssize_t>(count);
}
