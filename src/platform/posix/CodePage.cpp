#include "platform/CodePage.h"

#include <bit>
#include <cerrno>
#include <iconv.h>

#include "platform/Strings.h"

// The program stands in for the Windows "ANSI code page" with Windows-1252,
// or with code page 932 when the user's locale is Japanese. A character the
// code page cannot hold becomes '?', the default character Windows uses.

namespace {

bool g_forced = false;
AnsiCodePage g_forcedPage = AnsiCodePage::Windows1252;

// char16_t in the host's byte order.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

AnsiCodePage Resolved(AnsiCodePage cp)
{
    if (cp != AnsiCodePage::System)
        return cp;
    return SystemLanguage() == Language::Japanese ? AnsiCodePage::Windows932 : AnsiCodePage::Windows1252;
}

const char* IconvName(AnsiCodePage cp)
{
    return Resolved(cp) == AnsiCodePage::Windows932 ? "CP932" : "CP1252";
}

// Converts one UTF-16 unit (or surrogate pair) at a time so that every
// character the code page lacks becomes exactly one '?'.
std::string EncodeWith(iconv_t cd, std::u16string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        size_t units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            units = 2;
        char16_t in[2] = {text[i], units == 2 ? text[i + 1] : u'\0'};
        char* inPtr = reinterpret_cast<char*>(in);
        size_t inLeft = units * sizeof(char16_t);
        char buf[8];
        char* outPtr = buf;
        size_t outLeft = sizeof(buf);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            out.push_back('?');
        else
            out.append(buf, static_cast<size_t>(outPtr - buf));
        i += units;
    }
    return out;
}

// Both code pages hold ASCII unchanged, so a text of ASCII alone needs no
// converter (opening one costs more than the conversion of a short text).
bool IsAscii(std::string_view bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool IsAscii(std::u16string_view text)
{
    for (char16_t c : text)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

AnsiCodePage CurrentAnsiCodePage()
{
    if (g_forced)
        return g_forcedPage;
    return SystemLanguage() == Language::Japanese ? AnsiCodePage::Windows932 : AnsiCodePage::Windows1252;
}

void SetAnsiCodePage(AnsiCodePage cp)
{
    g_forced = true;
    g_forcedPage = cp;
}

std::string Utf16ToAnsi(std::u16string_view text, AnsiCodePage cp)
{
    if (IsAscii(text))
        return std::string(text.begin(), text.end());
    iconv_t cd = iconv_open(IconvName(cp), kUtf16);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter keep what ASCII can hold.
        std::string out;
        for (char16_t c : text)
            out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return out;
    }
    std::string out = EncodeWith(cd, text);
    iconv_close(cd);
    return out;
}

std::u16string AnsiToUtf16(std::string_view bytes, AnsiCodePage cp)
{
    if (IsAscii(bytes))
        return std::u16string(bytes.begin(), bytes.end());
    std::u16string out;
    iconv_t cd = iconv_open(kUtf16, IconvName(cp));
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (char c : bytes)
            out.push_back(static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'?');
        return out;
    }
    std::string input(bytes);
    char* inPtr = input.data();
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char16_t buf[64];
        char* outPtr = reinterpret_cast<char*>(buf);
        size_t outLeft = sizeof(buf);
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buf, static_cast<size_t>(reinterpret_cast<char16_t*>(outPtr) - buf));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // An undecodable or truncated byte sequence: one '?' per byte.
            out.push_back(u'?');
            ++inPtr;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

std::u16string AnsiRoundTrip(std::u16string_view text, AnsiCodePage cp)
{
    return AnsiToUtf16(Utf16ToAnsi(text, cp), cp);
}

std::u16string AnsiRoundTrip(std::u16string_view text)
{
    return AnsiRoundTrip(text, CurrentAnsiCodePage());
}

std::u16string AnsiToUtf16(std::string_view bytes)
{
    if (IsAscii(bytes))  // the same in every code page: no need to ask which
        return std::u16string(bytes.begin(), bytes.end());
    return AnsiToUtf16(bytes, CurrentAnsiCodePage());
}
