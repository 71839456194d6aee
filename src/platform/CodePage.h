// The system's ANSI code page, as the program uses it for names read from
// model files and for comparing keys.
#pragma once

#include <string>
#include <string_view>

// System stands for the Windows system's own ANSI code page where it is
// neither of the two (elsewhere it is the same as the page the language picks).
enum class AnsiCodePage { Windows1252, Windows932, System };

// Windows-1252, or code page 932 when the user's locale (the environment's
// language) is Japanese; on Windows the system's ANSI code page (GetACP).
// Tests may fix it with SetAnsiCodePage.
AnsiCodePage CurrentAnsiCodePage();
void SetAnsiCodePage(AnsiCodePage cp);

// UTF-16 to the code page and back: a character the code page cannot hold
// becomes '?'. This is what a pilot sees of a name in the detail dialog.
std::u16string AnsiRoundTrip(std::u16string_view text);
std::u16string AnsiRoundTrip(std::u16string_view text, AnsiCodePage cp);

// Bytes in the code page to UTF-16 (undecodable bytes become '?').
std::u16string AnsiToUtf16(std::string_view bytes);
std::u16string AnsiToUtf16(std::string_view bytes, AnsiCodePage cp);
// UTF-16 to bytes in the code page ('?' for what it cannot hold).
std::string Utf16ToAnsi(std::u16string_view text, AnsiCodePage cp);
