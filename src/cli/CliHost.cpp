#include "cli/CliHost.h"

#include <algorithm>

#include "app/ModelList.h"
#include "app/Strings.h"
#include "platform/Console.h"
#include "platform/Text.h"

namespace {

constexpr unsigned IDS_NO_SELECTION = 104;

bool IsControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The escaping rule: every control character of text becomes '?'; with
// keepLineBreaks the line feeds stay (the layout of a paragraph).
std::string Printable(std::u16string_view text, bool keepLineBreaks)
{
    std::u16string out(text);
    for (char16_t& c : out)
        if (IsControl(c) && !(keepLineBreaks && c == u'\n'))
            c = u'?';
    return Utf16ToUtf8(out);
}

}  // namespace

void CliHost::MessageBox(const std::u16string& text, const std::u16string&, MessageKind kind)
{
    const bool replaced = !m_noSelectionText.empty() && text == LoadString(IDS_NO_SELECTION);
    Paragraph(kind == MessageKind::Information ? stdout : stderr, replaced ? m_noSelectionText : text);
}

void CliHost::ShowModelList(ListSide, const ModelListing& listing)
{
    if (listing.notice.empty() ||
        std::find(m_notices.begin(), m_notices.end(), listing.notice) != m_notices.end())
        return;
    m_notices.push_back(listing.notice);
    Paragraph(stderr, listing.notice);
}

void CliHost::Write(std::FILE* stream, const std::string& utf8)
{
    if (!WriteConsoleText(stream, utf8) && stream == stdout)
        m_outFailed = true;
}

void CliHost::Paragraph(std::FILE* stream, const std::u16string& text)
{
    bool& used = stream == stdout ? m_outUsed : m_errUsed;
    std::string utf8 = used ? "\n" : "";
    used = true;
    utf8 += Printable(text, true);
    if (utf8.empty() || utf8.back() != '\n')
        utf8 += '\n';
    Write(stream, utf8);
    if (std::fflush(stream) != 0 && stream == stdout)
        m_outFailed = true;
}

void CliHost::Line(const std::u16string& text)
{
    Write(stdout, Printable(text, true) + '\n');
    m_outUsed = true;
}

void CliHost::Row(std::initializer_list<std::u16string> fields)
{
    std::string line;
    for (const std::u16string& field : fields) {
        if (&field != fields.begin())
            line += '\t';
        line += Printable(field, false);
    }
    Write(stdout, line + '\n');
    m_outUsed = true;
}

bool CliHost::FinishOutput()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        m_outFailed = true;
    return !m_outFailed;
}
