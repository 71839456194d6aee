#include "platform/Console.h"

std::vector<std::string> StartConsoleProgram(int argc, char** argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

bool WriteConsoleText(std::FILE* stream, const std::string& utf8)
{
    return std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size() && !std::ferror(stream);
}
