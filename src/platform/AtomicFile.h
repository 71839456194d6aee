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

    // Creates the temporary file beside path; fails when the folder does not
    // take a new file.
    FileResult Create(const std::string& path);
    // Appends bytes to the temporary file; a failure names path.
    FileResult Write(const void* buffer, size_t count);
    // Flushes and closes the temporary file and gives it its name; published
    // is Exists when a file of that name appeared meanwhile (it is left
    // untouched). The temporary file is gone afterwards in every case.
    FileResult Commit(Publish& published);

    // The temporary file's name; empty for a file without a name.
    const std::string& TemporaryPath() const { return m_tempPath; }

private:
    void Discard();
    FileResult Fail(int error);
    FileResult CommitUnnamed(Publish& published);
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
