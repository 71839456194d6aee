// The parts of the file classes that do not touch the system: wildcard
// matching, paths and the walk over a folder search's matches.
#include "platform/File.h"

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string& text)
{
    text.clear();
    CFile file;
    if (path.empty() || !file.Open(path, CFile::modeRead | CFile::typeBinary).ok)
        return false;
    text.resize(maxBytes);
    unsigned got = 0;
    if (!file.Read(text.data(), static_cast<unsigned>(maxBytes), got).ok) {
        text.clear();
        return false;
    }
    text.resize(got);
    return true;
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

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + PathSeparator() + name;
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
