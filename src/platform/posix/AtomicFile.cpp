// The atomic store on POSIX: a new file linked into place, never over a file.
// On Linux the new file has no name until it is linked (O_TMPFILE), so a
// process killed while writing leaves nothing behind; a file system that
// refuses unnamed files gets a hidden temporary file instead.
#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/syscall.h>
#endif

#include "platform/FileFaults.h"

namespace {

constexpr int kCreateAttempts = 64;

// Counts a call of op; true (and errno set) when an injected fault hits it.
bool Injected(FileOp op)
{
    if (const int error = InjectedFileFault(op)) {
        errno = error;
        return true;
    }
    return false;
}

int DoOpen(const char* path)
{
    if (Injected(FileOp::Open))
        return -1;
    return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

#ifdef O_TMPFILE
// An unnamed file in folder; -1 with errno set when it cannot be made.
int DoOpenUnnamed(const std::string& folder)
{
    if (Injected(FileOp::Open))
        return -1;
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    // It gets its name through /proc; without /proc, a named file is needed.
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    if (::access(link, F_OK) != 0) {
        ::close(fd);
        errno = EOPNOTSUPP;
        return -1;
    }
    return fd;
}

// Errors of an O_TMPFILE open that mean this system or file system makes no
// unnamed files (EISDIR: a kernel that does not know the flag).
bool NoUnnamedFiles(int error)
{
    return error == EOPNOTSUPP || error == ENOTSUP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

// Gives the unnamed file fd the name path; fails with EEXIST when the name is
// taken.
int DoLinkUnnamed(int fd, const char* path)
{
    if (Injected(FileOp::Link))
        return -1;
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, link, AT_FDCWD, path, AT_SYMLINK_FOLLOW);
}
#endif

ssize_t DoWrite(int fd, const void* buffer, size_t count)
{
    if (Injected(FileOp::Write))
        return -1;
    return ::write(fd, buffer, count);
}

int DoSync(int fd)
{
    if (Injected(FileOp::Sync))
        return -1;
    return ::fsync(fd);
}

int DoClose(int fd)
{
    if (Injected(FileOp::Close)) {
        ::close(fd);  // the descriptor is gone either way
        return -1;
    }
    return ::close(fd);
}

int DoLink(const char* from, const char* to)
{
    if (Injected(FileOp::Link))
        return -1;
    return ::link(from, to);
}

// Renames without ever replacing an existing file; fails with EINVAL or
// ENOSYS where the system cannot promise that.
int DoRenameNoReplace(const char* from, const char* to)
{
    if (Injected(FileOp::Rename))
        return -1;
#if defined(__linux__) && defined(SYS_renameat2)
    constexpr unsigned kNoReplace = 1;  // RENAME_NOREPLACE
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, kNoReplace));
#else
    (void)from;
    (void)to;
    errno = ENOSYS;
    return -1;
#endif
}

int DoUnlink(const char* path)
{
    if (Injected(FileOp::Unlink))
        return -1;
    return ::unlink(path);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Errors of link() that mean the file system has no hard links here.
bool NoHardLinks(int error)
{
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EXDEV ||
           error == EMLINK || error == ENOSYS;
}

}  // namespace

CAtomicFile::~CAtomicFile()
{
    Discard();
}

FileResult CAtomicFile::Create(const std::string& path)
{
    Discard();
    m_path = path;
    const std::string folder = FolderOf(path);
#ifdef O_TMPFILE
    const int unnamed = DoOpenUnnamed(folder);
    if (unnamed >= 0) {
        m_fd = unnamed;
        m_unnamed = true;
        return {};
    }
    if (!NoUnnamedFiles(errno))
        return FileResult::OsError(errno, path);
#endif
    std::random_device seed;
    std::mt19937 random(seed());
    int lastError = EEXIST;
    for (int attempt = 0; attempt < kCreateAttempts && lastError == EEXIST; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, "%08x.tmp", static_cast<unsigned>(random()));
        std::string candidate = folder + "/" + kAtomicTempPrefix + suffix;
        const int fd = DoOpen(candidate.c_str());
        if (fd >= 0) {
            m_fd = fd;
            m_tempPath = std::move(candidate);
            return {};
        }
        lastError = errno;
    }
    return FileResult::OsError(lastError, path);
}

FileResult CAtomicFile::Write(const void* buffer, size_t count)
{
    if (m_fd < 0)
        return FileResult::Failure(FileResult::invalidFile, EBADF, m_path);
    const auto* in = static_cast<const uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = DoWrite(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno);
        }
        if (n == 0)
            return Fail(ENOSPC);
        done += static_cast<size_t>(n);
    }
    return {};
}

FileResult CAtomicFile::Commit(Publish& published)
{
    published = Publish::Stored;
    if (m_fd < 0)
        return FileResult::Failure(FileResult::invalidFile, EBADF, m_path);
    if (DoSync(m_fd) != 0)
        return Fail(errno);
    if (m_unnamed)
        return CommitUnnamed(published);
    const int fd = m_fd;
    m_fd = -1;
    if (DoClose(fd) != 0 && errno != EINTR)
        return Fail(errno);

    // link() refuses an existing name, so a file that appeared since the
    // caller looked is never replaced.
    if (DoLink(m_tempPath.c_str(), m_path.c_str()) != 0) {
        int error = errno;
        if (NoHardLinks(error)) {
            if (DoRenameNoReplace(m_tempPath.c_str(), m_path.c_str()) == 0) {
                m_tempPath.clear();
                return {};
            }
            error = errno;
        }
        if (error == EEXIST) {
            Discard();
            published = Publish::Exists;
            return {};
        }
        return Fail(error);
    }
    // Published; the temporary name is no longer needed. Should removing it
    // fail, the published file still stands and is complete.
    const std::string temp = std::move(m_tempPath);
    m_tempPath.clear();
    if (DoUnlink(temp.c_str()) != 0)
        ::unlink(temp.c_str());
    SyncFolder();
    return {};
}

FileResult CAtomicFile::CommitUnnamed(Publish& published)
{
#ifdef O_TMPFILE
    // linkat() refuses an existing name, so a file that appeared since the
    // caller looked is never replaced.
    if (DoLinkUnnamed(static_cast<int>(m_fd), m_path.c_str()) != 0) {
        const int error = errno;
        if (error == EEXIST) {
            Discard();
            published = Publish::Exists;
            return {};
        }
        return Fail(error);
    }
    // The descriptor stays open until the file has its name; a close that
    // fails takes the name back, as the file may not be whole.
    const int fd = static_cast<int>(m_fd);
    m_fd = -1;
    m_unnamed = false;
    if (DoClose(fd) != 0 && errno != EINTR) {
        const int error = errno;
        ::unlink(m_path.c_str());
        return Fail(error);
    }
    SyncFolder();
    return {};
#else
    (void)published;
    return Fail(ENOSYS);
#endif
}

void CAtomicFile::SyncFolder()
{
    // Make the new directory entry durable as well (best effort).
    const int dir = ::open(FolderOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void CAtomicFile::Discard()
{
    if (m_fd >= 0) {
        ::close(static_cast<int>(m_fd));  // an unnamed file goes with it
        m_fd = -1;
    }
    m_unnamed = false;
    if (!m_tempPath.empty()) {
        // A failed removal is retried once without the fault seam.
        if (DoUnlink(m_tempPath.c_str()) != 0 && errno != ENOENT)
            ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

FileResult CAtomicFile::Fail(int error)
{
    Discard();
    return FileResult::OsError(error, m_path);
}
