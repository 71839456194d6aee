#include "storage/ModelDataFile.h"

#include <cctype>
#include <limits>

#include "storage/tinyfs.h"

namespace {

constexpr const char* kModelPattern = "*.MDL";
constexpr const char* kImageName = "TINYFS.IMG";
constexpr int kPlainNewFileNumber = 2;
constexpr int kFirstModelFileNumber = 6;
constexpr uint32_t kModeCreate = 16;

// The image of a folder: folder, a separator unless the folder already ends in
// one, and TINYFS.IMG, whose name is matched regardless of case.
std::string ImagePath(const std::string& folder)
{
    std::string path = folder;
    if (path.empty() || path.back() != PathSeparator())
        path += PathSeparator();
    CFileFind finder;
    if (finder.FindFile(path + kImageName)) {
        finder.FindNextFile();
        return path + finder.GetFileName();
    }
    return path + kImageName;
}

// A failure of the engine: its error code, an I/O error when it left none.
FileResult EngineError(int code, const std::string& fileName)
{
    FileResult result = FileResult::OsError(code > 0 ? code : TINY_EIO, fileName);
    result.inImage = true;
    return result;
}

} // namespace

int32_t DecimalValue(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<int32_t>::max())
            value = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

CModelDataFile::CModelDataFile(const std::string& folder) : m_folder(folder)
{
    m_handle = -1;
    // Any problem with the image leaves the location a plain folder; the
    // reason stays in the volume's error text.
    m_isVolume = m_volume.Mount(ImagePath(m_folder)) ? 1 : 0;
}

CModelDataFile::~CModelDataFile()
{
    if (m_isVolume)
        m_volume.Unmount();
}

FileResult CModelDataFile::Open(const std::string& name, unsigned flags)
{
    if (!m_isVolume) {
        m_currentName = name;
        return CFile::Open(name, flags);
    }
    m_currentName = m_folder + name;
    const uint16_t number = static_cast<uint16_t>(DecimalValue(name));
    uint32_t mode = flags & 3;
    if ((flags & modeCreate) && !(flags & modeNoTruncate))
        mode += kModeCreate;
    m_handle = TinyOpen(static_cast<uint32_t>(m_volume.m_volumeIndex), 0, number, static_cast<int>(mode));
    if (m_handle < 0)
        return EngineError(TinyGetError(), name);
    return {};
}

FileResult CModelDataFile::Read(void* buffer, unsigned count, unsigned& got)
{
    if (!m_isVolume)
        return CFile::Read(buffer, count, got);
    got = 0;
    if (count == 0)
        return {};
    const int read = TinyRead(m_handle, buffer, count);
    if (read < 0)
        return EngineError(TinyGetError(), m_currentName);
    got = static_cast<unsigned>(read);
    return {};
}

FileResult CModelDataFile::Write(const void* buffer, unsigned count)
{
    if (!m_isVolume)
        return CFile::Write(buffer, count);
    const int written = TinyWrite(m_handle, buffer, count);
    if (written < 0)
        return EngineError(TinyGetError(), m_currentName);
    if (static_cast<unsigned>(written) != count)
        return EngineError(TINY_ENOMEM, m_currentName);
    return {};
}

FileResult CModelDataFile::Close()
{
    if (!m_isVolume)
        return CFile::Close();
    const int result = TinyClose(m_handle);
    m_handle = -1;
    if (result < 0)
        return EngineError(TinyGetError(), m_currentName);
    return {};
}

// Steps the cursor to the next existing file number below count.
bool CModelDataFile::SearchOn(int64_t count)
{
    for (;;) {
        if (m_cursor == std::numeric_limits<int32_t>::max())
            return false;
        ++m_cursor;
        if (int64_t(m_cursor) + 2 >= count)
            return false;
        if (ProbeFile(int64_t(m_cursor) + 2))
            return true;
    }
}

bool CModelDataFile::ProbeFile(int64_t number) const
{
    TinyFileStat stat{};
    return TinyStat(static_cast<uint32_t>(m_volume.m_volumeIndex), 0, static_cast<uint16_t>(number), &stat) == 0;
}

std::string CModelDataFile::ListPattern() const
{
    return JoinPath(m_folder, kModelPattern);
}

int CModelDataFile::GetFileCount()
{
    if (m_isVolume)
        return static_cast<int>(m_volume.m_entries.size());
    CFileFind finder;
    int count = 0;
    if (finder.FindFile(ListPattern())) {
        bool more = true;
        while (more) {
            more = finder.FindNextFile();
            ++count;
        }
    }
    return count;
}

bool CModelDataFile::FindFirst(const std::string& text, int)
{
    if (!m_isVolume)
        return m_finder.FindFile(text);
    m_currentNumber = -1;
    const int64_t count = GetFileCount();
    m_cursor = DecimalValue(text);
    if (ProbeFile(int64_t(m_cursor) + 2))
        return true;
    return SearchOn(count);
}

bool CModelDataFile::FindNext()
{
    if (!m_isVolume)
        return m_finder.FindNextFile();
    const int64_t count = GetFileCount();
    m_currentNumber = static_cast<int32_t>(int64_t(m_cursor) + 2);
    return SearchOn(count);
}

std::string CModelDataFile::GetCurrentName()
{
    if (!m_isVolume)
        return m_finder.GetFilePath();
    return std::to_string(m_currentNumber);
}

const TinyFileEntry& CModelDataFile::GetEntry(int index) const
{
    static const TinyFileEntry none;
    if (index < 0 || static_cast<size_t>(index) >= m_volume.m_entries.size())
        return none;
    return m_volume.m_entries[static_cast<size_t>(index)];
}

int CModelDataFile::GetNewFileNumber()
{
    if (!m_isVolume)
        return kPlainNewFileNumber;
    // The first gap at or above 6; with none, one past the last slot (which
    // the engine refuses to open).
    int number = kFirstModelFileNumber;
    while (number <= 0xFFFF && ProbeFile(number))
        ++number;
    return number;
}
