// The ANSI code page on Windows: the system's own (GetACP), converted with
// MultiByteToWideChar and WideCharToMultiByte.
#include "platform/CodePage.h"

#include "platform/win32/Win32.h"

namespace {

bool g_forced = false;
AnsiCodePage g_forcedPage = AnsiCodePage::Windows1252;

UINT CodePageNumber(AnsiCodePage cp)
{
    switch (cp) {
    case AnsiCodePage::Windows932: return 932;
    case AnsiCodePage::Windows1252: return 1252;
    default: return CP_ACP;
    }
}

bool IsAscii(std::string_view bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// One character (one or two bytes) to UTF-16; false when the code page has
// no character for these bytes.
bool DecodeOne(UINT page, const char* bytes, int count, std::u16string& out)
{
    wchar_t buf[4];
    const int n = ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes, count, buf, 4);
    if (n <= 0)
        return false;
    out.append(reinterpret_cast<const char16_t*>(buf), static_cast<size_t>(n));
    return true;
}

} // namespace

AnsiCodePage CurrentAnsiCodePage()
{
    if (g_forced)
        return g_forcedPage;
    switch (::GetACP()) {
    case 932: return AnsiCodePage::Windows932;
    case 1252: return AnsiCodePage::Windows1252;
    default: return AnsiCodePage::System;
    }
}

void SetAnsiCodePage(AnsiCodePage cp)
{
    g_forced = true;
    g_forcedPage = cp;
}

std::string Utf16ToAnsi(std::u16string_view text, AnsiCodePage cp)
{
    const UINT page = CodePageNumber(cp);
    std::string out;
    // One character at a time, so that every character the code page lacks
    // becomes exactly one '?', never a look-alike.
    for (size_t i = 0; i < text.size();) {
        size_t units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF)
            units = 2;
        if (text[i] < 0x80) {
            out.push_back(static_cast<char>(text[i]));
            ++i;
            continue;
        }
        char buf[8];
        BOOL usedDefault = FALSE;
        const int n = ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(&text[i]),
                                            static_cast<int>(units), buf, sizeof buf, nullptr, &usedDefault);
        if (n <= 0 || usedDefault)
            out.push_back('?');
        else
            out.append(buf, static_cast<size_t>(n));
        i += units;
    }
    return out;
}

std::u16string AnsiToUtf16(std::string_view bytes, AnsiCodePage cp)
{
    if (IsAscii(bytes))
        return std::u16string(bytes.begin(), bytes.end());
    const UINT page = CodePageNumber(cp);
    CPINFO info{};
    const bool doubleByte = ::GetCPInfo(page, &info) && info.MaxCharSize > 1;
    std::u16string out;
    for (size_t i = 0; i < bytes.size();) {
        const int count = (doubleByte && i + 1 < bytes.size() && ::IsDBCSLeadByteEx(page, static_cast<BYTE>(bytes[i])))
                              ? 2
                              : 1;
        if (DecodeOne(page, bytes.data() + i, count, out)) {
            i += static_cast<size_t>(count);
        } else {
            // An undecodable or truncated byte sequence: one '?' per byte.
            out.push_back(u'?');
            ++i;
        }
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
    return AnsiToUtf16(bytes, CurrentAnsiCodePage());
}
