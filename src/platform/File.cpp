#include "platform/File.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Strings.h"
#include "platform/Text.h"

namespace {

// String id of the message for each cause; the table follows the Cause order.
constexpr unsigned kCauseMessageBase = 1300;

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

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

CFileException::Cause CFileException::OsErrorToCause(long osError)
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
    default: return genericException;
    }
}

std::u16string CFileException::GetErrorMessage(size_t maxChars) const
{
    std::u16string text = FormatString(kCauseMessageBase + static_cast<unsigned>(m_cause),
                                       {Utf8ToUtf16(m_strFileName)});
    if (text.empty())
        text = FormatString(kCauseMessageBase + genericException, {Utf8ToUtf16(m_strFileName)});
    if (text.size() > maxChars)
        text.resize(maxChars);
    return text;
}

CFile::~CFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CFile::Open(const std::string& fileName, unsigned flags, CFileException* error)
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_fileName = fileName;
    // Opened without blocking, so that a named pipe or a device cannot stall
    // the open, and kept only when the open descriptor is a regular file: a
    // check on the descriptor cannot be fooled by a swap after it. The
    // non-blocking flag means nothing to a regular file on most file systems;
    // where one honours it, Read and Write clear it at the first EAGAIN.
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
    if (fd < 0) {
        if (error)
            *error = CFileException::FromOsError(errno, fileName);
        return false;
    }
    m_fd = fd;
    return true;
}

unsigned CFile::Read(void* buffer, unsigned count)
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, EBADF, m_fileName);
    auto* out = static_cast<uint8_t*>(buffer);
    unsigned done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR || (errno == EAGAIN && ClearNonBlocking(m_fd)))
                continue;
            throw CFileException::FromOsError(errno, m_fileName);
        }
        if (n == 0)
            break;
        done += static_cast<unsigned>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, unsigned count)
{
    if (m_fd < 0)
        throw CFileException(CFileException::invalidFile, EBADF, m_fileName);
    const auto* in = static_cast<const uint8_t*>(buffer);
    unsigned done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR || (errno == EAGAIN && ClearNonBlocking(m_fd)))
                continue;
            throw CFileException::FromOsError(errno, m_fileName);
        }
        if (n == 0)
            throw CFileException(CFileException::diskFull, ENOSPC, m_fileName);
        done += static_cast<unsigned>(n);
    }
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        throw CFileException::FromOsError(errno, m_fileName);
}

uint64_t CFile::GetLength() const
{
    struct stat st{};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        throw CFileException::FromOsError(m_fd < 0 ? EBADF : errno, m_fileName);
    return static_cast<uint64_t>(st.st_size);
}

bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string& text)
{
    text.clear();
    CFile file;
    if (path.empty() || !file.Open(path, CFile::modeRead | CFile::typeBinary))
        return false;
    try {
        text.resize(maxBytes);
        text.resize(file.Read(text.data(), static_cast<unsigned>(maxBytes)));
        return true;
    } catch (const CFileException&) {
        text.clear();
        return false;
    }
}

bool WildcardMatch(const std::string& pattern, const std::string& name)
{
    // Iterative matcher with one backtrack point: linear in practice, no recursion.
    size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

char PathSeparator()
{
    return '/';
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + PathSeparator() + name;
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

bool CFileFind::FindNextFile()
{
    if (m_next >= m_matches.size())
        return false;
    ++m_next;
    m_hasCurrent = true;
    return m_next < m_matches.size();
}

std::string CFileFind::GetFileName() const
{
    return m_hasCurrent ? m_matches[m_next - 1] : std::string();
}

std::string CFileFind::GetFilePath() const
{
    if (!m_hasCurrent)
        return {};
    if (!m_hasFolder)
        return m_matches[m_next - 1];
    return m_folder + PathSeparator() + m_matches[m_next - 1];
}

void CFileFind::Close()
{
    m_folder.clear();
    m_matches.clear();
    m_next = 0;
    m_hasCurrent = false;
}
