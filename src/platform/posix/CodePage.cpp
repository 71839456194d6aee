#include "platform/CodePage.h"

#include <array>
#include <cstdint>

#include "platform/SystemLocale.h"
#include "platform/posix/Cp932Table.h"

// The program stands in for the Windows "ANSI code page" with Windows-1252,
// or with code page 932 when the user's locale is Japanese. Both are tables of
// this program, so that a name converts to the same bytes as on Windows
// (MultiByteToWideChar with MB_ERR_INVALID_CHARS, WideCharToMultiByte without
// best fit): the system's converters differ from Windows in a few codes. A
// character the code page cannot hold becomes '?', the default character
// Windows uses.

namespace {

bool g_forced = false;
AnsiCodePage g_forcedPage = AnsiCodePage::Windows1252;

AnsiCodePage Resolved(AnsiCodePage cp)
{
    if (cp != AnsiCodePage::System)
        return cp;
    return SystemLanguageCode() == "ja" ? AnsiCodePage::Windows932 : AnsiCodePage::Windows1252;
}

// Windows-1252 from 0x80 to 0x9F; 0xA0..0xFF are U+00A0..U+00FF. The five
// codes without a letter (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1
// control characters of the same number, as on Windows.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsLead932(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A byte of 932 that is not a lead byte: ASCII, 0x80 (U+0080) and the
// half-width katakana. 0xA0 and 0xFD..0xFF read as U+F8F0..U+F8F3 only when
// invalid codes are let through, so here they have no character; -1 for none.
int Single932(unsigned char b)
{
    if (b <= 0x80)
        return b;
    if (b >= 0xA1 && b <= 0xDF)
        return 0xFF61 + (b - 0xA1);
    return -1;
}

// Which of two codes for the same character Windows writes: JIS rows first,
// then the NEC row 13 (lead 0x87), then the IBM extensions (0xFA..0xFC), the
// NEC-selected IBM extensions (0xED, 0xEE) last; the lower code among equals.
int Preference932(uint16_t code)
{
    const unsigned lead = code >> 8;
    if (lead == 0x87)
        return 1;
    if (lead >= 0xFA)
        return 2;
    if (lead == 0xED || lead == 0xEE)
        return 3;
    return 0;
}

// UTF-16 unit to its bytes in 932 (a single byte as itself, two bytes as
// lead * 256 + trail), 0 where Windows writes the default character.
const std::array<uint16_t, 0x10000>& Encode932()
{
    static const std::array<uint16_t, 0x10000> table = [] {
        std::array<uint16_t, 0x10000> t{};
        for (unsigned b = 0x80; b < 0x100; ++b)
            if (const int u = Single932(static_cast<unsigned char>(b)); u >= 0)
                t[static_cast<size_t>(u)] = static_cast<uint16_t>(b);
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                const char16_t u = Cp932DoubleByte(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
                const auto code = static_cast<uint16_t>(lead << 8 | trail);
                if (u != 0 && (t[u] == 0 || Preference932(code) < Preference932(t[u])))
                    t[u] = code;
            }
        }
        // Written, though they read back as invalid codes.
        t[0xF8F0] = 0xA0;
        t[0xF8F1] = 0xFD;
        t[0xF8F2] = 0xFE;
        t[0xF8F3] = 0xFF;
        return t;
    }();
    return table;
}

// One UTF-16 unit (not ASCII, not a surrogate) in the code page, or '?'.
void EncodeUnit(char16_t c, bool is932, std::string& out)
{
    if (is932) {
        const uint16_t code = Encode932()[c];
        if (code == 0)
            out.push_back('?');
        else if (code < 0x100)
            out.push_back(static_cast<char>(code));
        else {
            out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
        }
        return;
    }
    if (c >= 0xA0 && c <= 0xFF) {
        out.push_back(static_cast<char>(c));
        return;
    }
    for (unsigned i = 0; i < 32; ++i) {
        if (k1252High[i] == c) {
            out.push_back(static_cast<char>(0x80 + i));
            return;
        }
    }
    out.push_back('?');
}

// Both code pages hold ASCII unchanged.
bool IsAscii(std::string_view bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

AnsiCodePage CurrentAnsiCodePage()
{
    if (g_forced)
        return g_forcedPage;
    return SystemLanguageCode() == "ja" ? AnsiCodePage::Windows932 : AnsiCodePage::Windows1252;
}

void SetAnsiCodePage(AnsiCodePage cp)
{
    g_forced = true;
    g_forcedPage = cp;
}

std::string Utf16ToAnsi(std::u16string_view text, AnsiCodePage cp)
{
    const bool is932 = Resolved(cp) == AnsiCodePage::Windows932;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            // Neither code page holds a character beyond U+FFFF: a surrogate
            // pair is one '?', and so is a lone surrogate.
            if (c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
                ++i;
            out.push_back('?');
        } else {
            EncodeUnit(c, is932, out);
        }
    }
    return out;
}

std::u16string AnsiToUtf16(std::string_view bytes, AnsiCodePage cp)
{
    if (IsAscii(bytes))
        return std::u16string(bytes.begin(), bytes.end());
    std::u16string out;
    out.reserve(bytes.size());
    if (Resolved(cp) != AnsiCodePage::Windows932) {
        for (char ch : bytes) {
            const auto b = static_cast<unsigned char>(ch);
            out.push_back(b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : char16_t(b));
        }
        return out;
    }
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsLead932(b) && i + 1 < bytes.size()) {
            if (const char16_t u = Cp932DoubleByte(b, static_cast<unsigned char>(bytes[i + 1]))) {
                out.push_back(u);
                i += 2;
                continue;
            }
        }
        // A single byte, or a double-byte code without a character: one '?'
        // for its first byte, and the next byte read afresh.
        const int u = IsLead932(b) ? -1 : Single932(b);
        out.push_back(u >= 0 ? static_cast<char16_t>(u) : u'?');
        ++i;
    }
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
