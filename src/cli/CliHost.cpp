#include "cli/CliHost.h"

#include "platform/Text.h"

void CliHost::MessageBox(const std::u16string& text, const std::u16string&, unsigned style)
{
    Paragraph(style == MB_ICONINFORMATION ? stdout : stderr, text);
}

void CliHost::Paragraph(std::FILE* stream, const std::u16string& text)
{
    bool& used = stream == stdout ? m_outUsed : m_errUsed;
    if (used)
        std::fputc('\n', stream);
    used = true;
    const std::string utf8 = Utf16ToUtf8(text);
    std::fputs(utf8.c_str(), stream);
    if (utf8.empty() || utf8.back() != '\n')
        std::fputc('\n', stream);
    std::fflush(stream);
}

void CliHost::Line(const std::u16string& text)
{
    const std::string utf8 = Utf16ToUtf8(text);
    std::fputs(utf8.c_str(), stdout);
    std::fputc('\n', stdout);
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
