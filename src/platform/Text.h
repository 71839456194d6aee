// UTF-8 / UTF-16 conversion and printf-style formatting of UTF-16 texts.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// Texts are UTF-16 in memory; paths and terminal output are UTF-8.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Length of a 0-terminated UTF-16 text, never looking at more than max units.
size_t BoundedLength(const char16_t* text, size_t max);

// One argument of FormatText: a text for %s, a number for %d (also %u, %x).
using FormatArg = std::variant<std::u16string, long long>;

// printf-style formatting of a string-table text: %s, %d, %u, %x, %X, %c and
// %%, with an optional width and '-' / '0' flags. A missing argument formats as
// nothing; surplus arguments are ignored.
std::u16string FormatText(std::u16string_view format, std::initializer_list<FormatArg> args);
