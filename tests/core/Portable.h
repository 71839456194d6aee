// What the tests need of the system, on POSIX and on Windows alike.
#pragma once

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

inline int setenv(const char* name, const char* value, int)
{
    return _putenv_s(name, value);
}
inline int unsetenv(const char* name)
{
    return _putenv_s(name, "");
}
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

// The system's path separator as a string literal, for joining test paths
// the way the program joins them.
#ifdef _WIN32
#define ARK_SEP "\\"
#else
#define ARK_SEP "/"
#endif

// An image held open the way another program holds it: exclusively (a share
// mode of none on Windows, an exclusive lock on POSIX).
class ExclusiveHold {
public:
    explicit ExclusiveHold(const std::string& path)
    {
#ifdef _WIN32
        if (_sopen_s(&m_fd, path.c_str(), _O_RDWR | _O_BINARY, _SH_DENYRW, _S_IREAD | _S_IWRITE) != 0)
            m_fd = -1;
#else
        m_fd = ::open(path.c_str(), O_RDWR);
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
#endif
    }
    ~ExclusiveHold()
    {
        if (m_fd >= 0) {
#ifdef _WIN32
            _close(m_fd);
#else
            ::close(m_fd);
#endif
        }
    }
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
