// A new file that appears whole or not at all, and never replaces a file of
// the same name: the bytes go to a new file in the same folder that has no
// name yet (Linux, where the file system allows it) or a hidden temporary
// name, and it is published under its name only after it is completely
// written and flushed to the disk. A process killed before that leaves no
// file, or (with a temporary name) that hidden file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/File.h"

class CAtomicFile {
public:
    enum class Publish { Stored, Exists };

    CAtomicFile() = default;
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;
    // Removes the temporary file unless it was published.
    ~CAtomicFile();

    // Creates the temporary file beside path. False (and error filled) when the
    // folder does not take a new file.
    bool Create(const std::string& path, CFileException* error = nullptr);
    // Appends bytes to the temporary file; throws CFileException naming path.
    void Write(const void* buffer, size_t count);
    // Flushes and closes the temporary file and gives it its name. Exists when
    // a file of that name appeared meanwhile (it is left untouched); throws
    // CFileException for every other failure. The temporary file is gone
    // afterwards in every case.
    Publish Commit();

    // The temporary file's name; empty for a file without a name.
    const std::string& TemporaryPath() const { return m_tempPath; }

private:
    void Discard();
    [[noreturn]] void Fail(int error);
    Publish CommitUnnamed();
    void SyncFolder();

    std::string m_path;
    std::string m_tempPath;
    intptr_t m_fd = -1;  // the temporary file's descriptor or handle
    bool m_unnamed = false;  // the file has no name yet (O_TMPFILE)
};

// Name prefix of the temporary files; hidden, and never matched by "*.MDL".
extern const char* const kAtomicTempPrefix;

// Fault injection for tests: the n-th call (1 = the next one) of an operation
// of the atomic store fails with the given errno. Calls are counted per
// operation from the moment the fault is set.
enum class FileOp { Open, Write, Sync, Close, Link, Rename, Unlink };
void InjectFileFaultForTesting(FileOp op, int nth, int error);
void ClearFileFaultsForTesting();
// How many calls of op the atomic store made since the last clear.
int FileOpCountForTesting(FileOp op);
