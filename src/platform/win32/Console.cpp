// Console streams on Windows: wide output to a console window, UTF-8 bytes
// (with plain line feeds) to a pipe or a file; arguments from the wide
// command line, so names outside the ANSI code page survive.
#include "platform/Console.h"

#include <fcntl.h>
#include <io.h>

#include "platform/win32/Win32.h"

#include <shellapi.h>

std::vector<std::string> StartConsoleProgram(int, char**)
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(NarrowPath(wide[i]));
    ::LocalFree(wide);
    return args;
}

bool WriteConsoleText(std::FILE* stream, const std::string& utf8)
{
    HANDLE h = ::GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &mode)) {
        std::fflush(stream);
        const std::u16string text = Utf8ToUtf16(utf8);
        DWORD written = 0;
        return ::WriteConsoleW(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
               written == text.size();
    }
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size() && !std::ferror(stream);
}
