// The file classes on POSIX: descriptors, errno and directory streams.
#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int ToOpenFlags(unsigned flags)
{
    int access = O_RDONLY;
    switch (flags & 3) {
    case CFile::modeWrite: access = O_WRONLY; break;
    case CFile::modeReadWrite: access = O_RDWR; break;
    default: break;
    }
    int result = access | O_CLOEXEC;
    if (flags & CFile::modeCreate) {
        result |= O_CREAT;
        if (!(flags & CFile::modeNoTruncate))
            result |= O_TRUNC;
    }
    return result;
}

// Makes the descriptor blocking; false when it already was (or cannot be
// changed), so that a repeated EAGAIN is reported instead of looping.
bool ClearNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || !(flags & O_NONBLOCK))
        return false;
    return ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

} // namespace

FileResult::Cause FileResult::OsErrorToCause(long osError)
{
    switch (osError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
    case EISDIR: return accessDenied;
    case EBADF: return invalidFile;
    case EBUSY:
    case ETXTBSY: return sharingViolation;
    case EDEADLK:
    case ENOLCK: return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    default: return generic;
    }
}

CFile::~CFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileResult CFile::Open(const std::string& fileName, unsigned flags)
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_fileName = fileName;
    // The entry's type first (links followed): a named pipe, a device or a
    // folder is never opened, as opening alone can act on a device. A name
    // that cannot be looked at is left to the open, which reports it (or
    // creates the file).
    struct stat entry{};
    if (::stat(fileName.c_str(), &entry) == 0 && !S_ISREG(entry.st_mode))
        return FileResult::OsError(S_ISDIR(entry.st_mode) ? EISDIR : EACCES, fileName);
    // Opened without blocking, so that an entry swapped for a named pipe or a
    // device meanwhile cannot stall the open, and kept only when the open
    // descriptor is a regular file: a check on the descriptor cannot be fooled
    // by a swap after it. The non-blocking flag means nothing to a regular
    // file on most file systems; where one honours it, Read and Write clear it
    // at the first EAGAIN.
    int fd = ::open(fileName.c_str(), ToOpenFlags(flags) | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd >= 0) {
        struct stat st{};
        int refusal = 0;
        if (::fstat(fd, &st) != 0)
            refusal = errno;
        else if (S_ISDIR(st.st_mode))
            refusal = EISDIR;
        else if (!S_ISREG(st.st_mode))
            refusal = EACCES;
        if (refusal != 0) {
            ::close(fd);
            fd = -1;
            errno = refusal;
        }
    }
    if (fd < 0)
        return FileResult::OsError(errno, fileName);
    m_fd = fd;
    return {};
}

FileResult CFile::Read(void* buffer, unsigned count, unsigned& got)
{
    got = 0;
    if (m_fd < 0)
        return FileResult::Failure(FileResult::invalidFile, EBADF, m_fileName);
    auto* out = static_cast<uint8_t*>(buffer);
    while (got < count) {
        ssize_t n = ::read(m_fd, out + got, count - got);
        if (n < 0) {
            if (errno == EINTR || (errno == EAGAIN && ClearNonBlocking(m_fd)))
                continue;
            return FileResult::OsError(errno, m_fileName);
        }
        if (n == 0)
            break;
        got += static_cast<unsigned>(n);
    }
    return {};
}

FileResult CFile::Write(const void* buffer, unsigned count)
{
    if (m_fd < 0)
        return FileResult::Failure(FileResult::invalidFile, EBADF, m_fileName);
    const auto* in = static_cast<const uint8_t*>(buffer);
    unsigned done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR || (errno == EAGAIN && ClearNonBlocking(m_fd)))
                continue;
            return FileResult::OsError(errno, m_fileName);
        }
        if (n == 0)
            return FileResult::Failure(FileResult::diskFull, ENOSPC, m_fileName);
        done += static_cast<unsigned>(n);
    }
    return {};
}

FileResult CFile::Close()
{
    if (m_fd < 0)
        return {};
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        return FileResult::OsError(errno, m_fileName);
    return {};
}

FileResult CFile::GetLength(uint64_t& length) const
{
    struct stat st{};
    length = 0;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return FileResult::OsError(m_fd < 0 ? EBADF : errno, m_fileName);
    length = static_cast<uint64_t>(st.st_size);
    return {};
}

char PathSeparator()
{
    return '/';
}

bool CFileFind::FindFile(const std::string& pattern)
{
    Close();
    const size_t slash = pattern.find_last_of(PathSeparator());
    std::string component;
    m_hasFolder = slash != std::string::npos;
    if (!m_hasFolder) {
        m_folder.clear();
        component = pattern;
    } else {
        m_folder = pattern.substr(0, slash);
        component = pattern.substr(slash + 1);
    }
    if (component.empty())
        return false;
    const std::string dirPath = slash == std::string::npos ? "." : (m_folder.empty() ? "/" : m_folder);
    DIR* dir = ::opendir(dirPath.c_str());
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || !WildcardMatch(component, name))
            continue;
        // The entry's type usually comes with it; only links and file systems
        // that do not report types need a look at the target.
        if (entry->d_type == DT_DIR)
            continue;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st{};
            const std::string full = slash == std::string::npos ? name : m_folder + PathSeparator() + name;
            if (::stat(full.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
                continue;
        }
        m_matches.push_back(std::move(name));
    }
    ::closedir(dir);
    std::sort(m_matches.begin(), m_matches.end());
    return !m_matches.empty();
}

