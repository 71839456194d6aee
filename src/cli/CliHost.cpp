#include "cli/CliHost.h"

#include "platform/Console.h"
#include "platform/Text.h"

void CliHost::MessageBox(const std::u16string& text, const std::u16string&, unsigned style)
{
    Paragraph(style == MB_ICONINFORMATION ? stdout : stderr, text);
}

void CliHost::Paragraph(std::FILE* stream, const std::u16string& text)
{
    bool& used = stream == stdout ? m_outUsed : m_errUsed;
    std::string utf8 = used ? "\n" : "";
    used = true;
    utf8 += Utf16ToUtf8(text);
    if (utf8.empty() || utf8.back() != '\n')
        utf8 += '\n';
    WriteConsoleText(stream, utf8);
    std::fflush(stream);
}

void CliHost::Line(const std::u16string& text)
{
    WriteConsoleText(stdout, Utf16ToUtf8(text) + '\n');
    m_outUsed = true;
}

std::u16string Printable(const std::u16string& text)
{
    std::u16string out = text;
    for (char16_t& c : out)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            c = u'?';
    return out;
}
