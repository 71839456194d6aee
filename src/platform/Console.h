// The command line program's streams and arguments, as each system has them.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Prepares the standard streams and returns the program's arguments (without
// the program's own name) as UTF-8.
std::vector<std::string> StartConsoleProgram(int argc, char** argv);

// Writes UTF-8 text to stdout or stderr: as bytes to a pipe or a file; on
// Windows a console gets it as wide characters, so every language shows.
// False when the text could not be written whole (a full disk, a closed
// pipe); bytes still buffered in the stream are checked by the caller's
// fflush and ferror.
bool WriteConsoleText(std::FILE* stream, const std::string& utf8);
