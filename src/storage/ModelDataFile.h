// The one file class through which model files are reached, constructed on a
// location folder: a plain folder of "*.MDL" files, or a folder holding a
// TINYFS image whose files are the models. Callers list, open, read, write and
// close the same way in both; only the key differs (a full path in a folder,
// a decimal file number inside an image).
#pragma once

#include <string>

#include "platform/File.h"
#include "storage/TinyFileEntry.h"
#include "storage/TinyImage.h"

class CModelDataFile : public CFile {
public:
    explicit CModelDataFile(const std::string& folder);
    ~CModelDataFile() override;

    // Inside an image a failure carries the engine's error code (inImage).
    FileResult Open(const std::string& name, unsigned flags) override;
    FileResult Read(void* buffer, unsigned count, unsigned& got) override;
    FileResult Write(const void* buffer, unsigned count) override;
    FileResult Close() override;

    virtual int GetFileCount();
    // Starts a search: the pattern (folder) or the first file number - 2 (image).
    virtual bool FindFirst(const std::string& text, int ignored = 0);
    // Makes the next result current; true while a further result follows.
    virtual bool FindNext();
    virtual std::string GetCurrentName();
    virtual int GetNewFileNumber();

    // Directory entry index (file number - 2) of a mounted image; the caller
    // keeps index below GetFileCount(). A plain folder has no entries.
    const TinyFileEntry& GetEntry(int index) const;

    // The listing pattern of a plain folder: folder + separator + "*.MDL".
    std::string ListPattern() const;

    std::string m_folder;
    std::string m_currentName;
    CFileFind m_finder;
    int m_isVolume = 0;

    // The image case: the location's TINYFS.IMG, the engine handle of the file
    // open inside it, and the search cursor (the file number probed is
    // m_cursor + 2).
    TinyVolume m_volume;
    int32_t m_handle = -1;
    int32_t m_cursor = 0;
    int32_t m_currentNumber = -1;

private:
    bool ProbeFile(int64_t number) const;
    bool SearchOn(int64_t count);
};

// The decimal value of a text as the image case reads keys: leading blanks and
// a sign are accepted, reading stops at the first non-digit, no digits give 0.
// The value saturates at the limits of a 32-bit integer.
int32_t DecimalValue(const std::string& text);
