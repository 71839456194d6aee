// The atomic store on Windows: a hidden temporary file created new, written,
// flushed, then moved to its name without replacing (write-through).
#include "platform/AtomicFile.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "platform/FileFaults.h"
#include "platform/win32/Win32.h"

namespace {

constexpr int kCreateAttempts = 64;

HANDLE AsHandle(intptr_t value) { return reinterpret_cast<HANDLE>(value); }

// Counts a call of op; true (and the thread's last error set) when an
// injected fault hits it.
bool Injected(FileOp op)
{
    if (const int error = InjectedFileFault(op)) {
        ::SetLastError(static_cast<DWORD>(error));
        return true;
    }
    return false;
}

std::string FolderOf(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos)
        return ".";
    return path.substr(0, cut);
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
    std::random_device seed;
    std::mt19937 random(seed());
    DWORD lastError = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kCreateAttempts && lastError == ERROR_FILE_EXISTS; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, "%08x.tmp", static_cast<unsigned>(random()));
        std::string candidate = folder + "\\" + kAtomicTempPrefix + suffix;
        HANDLE h = INVALID_HANDLE_VALUE;
        if (!Injected(FileOp::Open))
            h = ::CreateFileW(WidePath(candidate).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            m_fd = reinterpret_cast<intptr_t>(h);
            m_tempPath = std::move(candidate);
            return {};
        }
        lastError = ::GetLastError();
    }
    return FileResult::OsError(static_cast<long>(lastError), path);
}

FileResult CAtomicFile::Write(const void* buffer, size_t count)
{
    if (m_fd < 0)
        return FileResult::Failure(FileResult::invalidFile, ERROR_INVALID_HANDLE, m_path);
    const auto* in = static_cast<const uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
        DWORD put = 0;
        if (Injected(FileOp::Write) || !::WriteFile(AsHandle(m_fd), in + done, chunk, &put, nullptr))
            return Fail(static_cast<int>(::GetLastError()));
        if (put == 0)
            return Fail(ERROR_DISK_FULL);
        done += put;
    }
    return {};
}

FileResult CAtomicFile::Commit(Publish& published)
{
    published = Publish::Stored;
    if (m_fd < 0)
        return FileResult::Failure(FileResult::invalidFile, ERROR_INVALID_HANDLE, m_path);
    if (Injected(FileOp::Sync) || !::FlushFileBuffers(AsHandle(m_fd)))
        return Fail(static_cast<int>(::GetLastError()));
    HANDLE h = AsHandle(m_fd);
    m_fd = -1;
    const bool injectedClose = Injected(FileOp::Close);
    const DWORD closeError = injectedClose ? ::GetLastError() : NO_ERROR;
    if (!::CloseHandle(h) || injectedClose)
        return Fail(static_cast<int>(injectedClose ? closeError : ::GetLastError()));

    const std::wstring temp = WidePath(m_tempPath);
    // The published file is an ordinary one; the temporary stays hidden until
    // it takes its name.
    ::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    // Without MOVEFILE_REPLACE_EXISTING the move refuses an existing name, so
    // a file that appeared since the caller looked is never replaced.
    if (Injected(FileOp::Rename) || !::MoveFileExW(temp.c_str(), WidePath(m_path).c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            Discard();
            published = Publish::Exists;
            return {};
        }
        return Fail(static_cast<int>(error));
    }
    m_tempPath.clear();
    return {};
}

void CAtomicFile::Discard()
{
    if (m_fd >= 0) {
        ::CloseHandle(AsHandle(m_fd));
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        const std::wstring temp = WidePath(m_tempPath);
        // A failed removal is retried once without the fault seam.
        if (Injected(FileOp::Unlink) || !::DeleteFileW(temp.c_str()))
            ::DeleteFileW(temp.c_str());
        m_tempPath.clear();
    }
}

FileResult CAtomicFile::Fail(int error)
{
    Discard();
    return FileResult::OsError(error, m_path);
}
