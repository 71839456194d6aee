// The file classes the model code uses: a binary file with open flags and
// exceptions carrying an OS error number, and a folder search with wildcards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A failed file operation: the OS error number (errno here; inside a TINYFS
// image the engine's error code), the file's name and a cause class.
class CFileException {
public:
    enum Cause {
        none = 0,
        genericException,
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

    CFileException() = default;
    CFileException(Cause cause, long osError, std::string fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

    // The cause that an OS error number stands for.
    static Cause OsErrorToCause(long osError);
    static CFileException FromOsError(long osError, const std::string& fileName)
    {
        return CFileException(OsErrorToCause(osError), osError, fileName);
    }

    // The readable message, from the string table of the current language,
    // naming the file. At most maxChars characters (the dialogs take 510).
    std::u16string GetErrorMessage(size_t maxChars = 510) const;

    Cause m_cause = none;
    long m_lOsError = 0;
    std::string m_strFileName;
};

// A file handle with the open flags of the model code. Open reports failure by
// its result (and fills the optional exception record); Read, Write and Close
// throw CFileException.
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
    // Closes a file that is still open; never throws.
    virtual ~CFile();

    virtual bool Open(const std::string& fileName, unsigned flags, CFileException* error = nullptr);
    virtual unsigned Read(void* buffer, unsigned count);
    virtual void Write(const void* buffer, unsigned count);
    virtual void Close();

    // Length of the open file in bytes.
    uint64_t GetLength() const;
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
