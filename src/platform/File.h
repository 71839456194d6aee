// The file classes the model code uses: a binary file with open flags whose
// operations return a FileResult, and a folder search with wildcards.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What a file operation returns: success, or the cause class of its failure,
// the error number behind it and the file's name. The number is the system's
// (errno here) or, for a file inside a TINYFS image, the engine's error code.
struct FileResult {
    enum Cause {
        none = 0,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    bool ok = true;
    Cause cause = none;
    long code = 0;
    bool inImage = false;  // code is the TINYFS engine's
    std::string fileName;

    static FileResult Failure(Cause cause, long code, std::string fileName)
    {
        return FileResult{false, cause, code, false, std::move(fileName)};
    }
    // A failure the system reported by its error number.
    static FileResult OsError(long code, std::string fileName)
    {
        return Failure(OsErrorToCause(code), code, std::move(fileName));
    }
    // The cause that a system error number stands for.
    static Cause OsErrorToCause(long osError);
};

// A file handle with the open flags of the model code.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes a file that is still open.
    virtual ~CFile();

    virtual FileResult Open(const std::string& fileName, unsigned flags);
    // Reads at most count bytes; got says how many came (fewer only at the
    // end of the file).
    virtual FileResult Read(void* buffer, unsigned count, unsigned& got);
    virtual FileResult Write(const void* buffer, unsigned count);
    virtual FileResult Close();

    // Length of the open file in bytes.
    FileResult GetLength(uint64_t& length) const;
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_fileName; }

protected:
    intptr_t m_fd = -1;  // the system's descriptor or handle, -1 when closed
    std::string m_fileName;
};

// A folder search: the pattern's last component may hold '*' and '?', matched
// case-insensitively (ASCII letters), as the model folders' own file systems do
// on the platforms where "*.MDL" must also find "x.mdl". Directories are not
// matched. Matches come in byte order of their names, so listings are stable.
class CFileFind {
public:
    // Starts a search; true when at least one match exists. No match is current
    // until FindNextFile is called.
    bool FindFile(const std::string& pattern);
    // Makes the next match current; true while a further match follows it.
    bool FindNextFile();
    // Full path of the current match (the pattern's folder and the file's name).
    std::string GetFilePath() const;
    std::string GetFileName() const;
    void Close();

private:
    std::string m_folder;
    std::vector<std::string> m_matches;
    size_t m_next = 0;
    bool m_hasFolder = false;
    bool m_hasCurrent = false;
};

// Reads at most maxBytes of a regular file into text. False (text empty) when
// the file cannot be opened as a regular file or reading fails.
bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string& text);

// True when name matches the wildcard pattern ('*', '?'), ignoring ASCII case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// Path helpers: the platform's separator, and a path joined with it.
char PathSeparator();
std::string JoinPath(const std::string& folder, const std::string& name);
