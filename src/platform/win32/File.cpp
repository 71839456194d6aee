// The file classes on Windows: handles, the system's error numbers and the
// system's own folder search (FindFirstFileW, case-insensitive).
#include "platform/File.h"

#include <algorithm>

#include "platform/win32/Win32.h"

namespace {

HANDLE AsHandle(intptr_t value) { return reinterpret_cast<HANDLE>(value); }

}  // namespace

FileResult::Cause FileResult::OsErrorToCause(long osError)
{
    switch (osError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return generic;
    }
}

CFile::~CFile()
{
    if (m_fd >= 0)
        ::CloseHandle(AsHandle(m_fd));
}

FileResult CFile::Open(const std::string& fileName, unsigned flags)
{
    if (m_fd >= 0) {
        ::CloseHandle(AsHandle(m_fd));
        m_fd = -1;
    }
    m_fileName = fileName;
    DWORD access = GENERIC_READ;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    switch (flags & 3) {
    case modeWrite: access = GENERIC_WRITE; share = FILE_SHARE_READ; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; share = FILE_SHARE_READ; break;
    default: break;
    }
    DWORD creation = OPEN_EXISTING;
    if (flags & modeCreate)
        creation = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    // A device, a pipe or a folder is never opened at all; the check on the
    // handle below stays the guard against an entry swapped in between.
    if (NamesNoDiskFile(fileName))
        return FileResult::OsError(ERROR_ACCESS_DENIED, fileName);
    HANDLE h = ::CreateFileW(WidePath(fileName).c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    DWORD refusal = h == INVALID_HANDLE_VALUE ? ::GetLastError() : NO_ERROR;
    // Kept only when the handle is a file on a disk: a console, a printer
    // port, a pipe or a folder is no model file.
    if (h != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info)
            || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ::CloseHandle(h);
            h = INVALID_HANDLE_VALUE;
            refusal = ERROR_ACCESS_DENIED;
        }
    }
    if (h == INVALID_HANDLE_VALUE)
        return FileResult::OsError(static_cast<long>(refusal), fileName);
    m_fd = reinterpret_cast<intptr_t>(h);
    return {};
}

FileResult CFile::Read(void* buffer, unsigned count, unsigned& got)
{
    got = 0;
    if (m_fd < 0)
        return FileResult::Failure(FileResult::invalidFile, ERROR_INVALID_HANDLE, m_fileName);
    auto* out = static_cast<uint8_t*>(buffer);
    while (got < count) {
        DWORD part = 0;
        if (!::ReadFile(AsHandle(m_fd), out + got, count - got, &part, nullptr)) {
            const DWORD e = ::GetLastError();
            if (e == ERROR_HANDLE_EOF)
                break;
            return FileResult::OsError(static_cast<long>(e), m_fileName);
        }
        if (part == 0)
            break;
        got += part;
    }
    return {};
}

FileResult CFile::Write(const void* buffer, unsigned count)
{
    if (m_fd < 0)
        return FileResult::Failure(FileResult::invalidFile, ERROR_INVALID_HANDLE, m_fileName);
    const auto* in = static_cast<const uint8_t*>(buffer);
    unsigned done = 0;
    while (done < count) {
        DWORD put = 0;
        if (!::WriteFile(AsHandle(m_fd), in + done, count - done, &put, nullptr))
            return FileResult::OsError(static_cast<long>(::GetLastError()), m_fileName);
        if (put == 0)
            return FileResult::Failure(FileResult::diskFull, ERROR_DISK_FULL, m_fileName);
        done += put;
    }
    return {};
}

FileResult CFile::Close()
{
    if (m_fd < 0)
        return {};
    HANDLE h = AsHandle(m_fd);
    m_fd = -1;
    if (!::CloseHandle(h))
        return FileResult::OsError(static_cast<long>(::GetLastError()), m_fileName);
    return {};
}

FileResult CFile::GetLength(uint64_t& length) const
{
    LARGE_INTEGER size{};
    length = 0;
    if (m_fd < 0 || !::GetFileSizeEx(AsHandle(m_fd), &size))
        return FileResult::OsError(m_fd < 0 ? ERROR_INVALID_HANDLE : static_cast<long>(::GetLastError()), m_fileName);
    length = static_cast<uint64_t>(size.QuadPart);
    return {};
}

char PathSeparator()
{
    return '\\';
}

bool CFileFind::FindFile(const std::string& pattern)
{
    Close();
    // The folder part ends at the last separator of either kind.
    const size_t cut = pattern.find_last_of("\\/");
    m_hasFolder = cut != std::string::npos;
    m_folder = m_hasFolder ? pattern.substr(0, cut) : std::string();
    const std::string component = m_hasFolder ? pattern.substr(cut + 1) : pattern;
    if (component.empty())
        return false;
    WIN32_FIND_DATAW data{};
    HANDLE h = ::FindFirstFileExW(WidePath(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                  0);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        m_matches.push_back(NarrowPath(data.cFileName));
    } while (::FindNextFileW(h, &data));
    ::FindClose(h);
    std::sort(m_matches.begin(), m_matches.end());
    return !m_matches.empty();
}
