#include "storage/ModelDataFile.h"

namespace {
constexpr const char* kModelPattern = "*.MDL";
constexpr int kPlainNewFileNumber = 2;
} // namespace

CModelDataFile::CModelDataFile(const std::string& folder) : m_folder(folder)
{
}

CModelDataFile::~CModelDataFile() = default;

bool CModelDataFile::Open(const std::string& name, unsigned flags, CFileException* error)
{
    m_currentName = name;
    return CFile::Open(name, flags, error);
}

unsigned CModelDataFile::Read(void* buffer, unsigned count)
{
    return CFile::Read(buffer, count);
}

void CModelDataFile::Write(const void* buffer, unsigned count)
{
    CFile::Write(buffer, count);
}

void CModelDataFile::Close()
{
    CFile::Close();
}

std::string CModelDataFile::ListPattern() const
{
    return JoinPath(m_folder, kModelPattern);
}

int CModelDataFile::GetFileCount()
{
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
    return m_finder.FindFile(text);
}

bool CModelDataFile::FindNext()
{
    return m_finder.FindNextFile();
}

std::string CModelDataFile::GetCurrentName()
{
    return m_finder.GetFilePath();
}

const TinyFileEntry& CModelDataFile::GetEntry(int) const
{
    static const TinyFileEntry none;
    return none;
}

int CModelDataFile::GetNewFileNumber()
{
    return kPlainNewFileNumber;
}
