#include "app/Strings.h"

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <string_view>

#include "platform/SystemLocale.h"

// The string tables compiled into the program (generated from resources/).
struct EmbeddedFile { const char* name; std::string_view data; };
extern const EmbeddedFile kEmbeddedFiles[];

namespace {

constexpr size_t kLanguageCount = 4;
constexpr std::array<const char*, kLanguageCount> kCodes = {"en", "de", "fr", "ja"};

using Table = std::map<unsigned, std::u16string>;

std::atomic<Language> g_language{Language::English};

size_t IndexOf(Language language)
{
    const auto i = static_cast<size_t>(language);
    return i < kLanguageCount ? i : 0;
}

// Undoes the escapes of a table line: \n, \r, \t and \\. A backslash before
// any other character, or at the end of the line, stays as it is.
std::string Unescape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 >= text.size()) {
            out.push_back(c);
            continue;
        }
        switch (text[i + 1]) {
        case 'n': out.push_back('\n'); ++i; break;
        case 'r': out.push_back('\r'); ++i; break;
        case 't': out.push_back('\t'); ++i; break;
        case '\\': out.push_back('\\'); ++i; break;
        default: out.push_back(c); break;
        }
    }
    return out;
}

// One table file: "<id><TAB><text>" per line, "#" starts a comment line, blank
// lines are skipped. A line without a valid id is ignored; when an id appears
// twice the first entry counts.
Table ParseTable(std::string_view data)
{
    Table table;
    if (data.substr(0, 3) == "\xEF\xBB\xBF")
        data.remove_prefix(3);
    while (!data.empty()) {
        const size_t eol = data.find('\n');
        std::string_view line = data.substr(0, eol);
        data.remove_prefix(eol == std::string_view::npos ? data.size() : eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string_view::npos || tab > 9)
            continue;
        unsigned id = 0;
        bool digits = true;
        for (size_t i = 0; i < tab; ++i) {
            if (line[i] < '0' || line[i] > '9') {
                digits = false;
                break;
            }
            id = id * 10 + static_cast<unsigned>(line[i] - '0');
        }
        if (!digits)
            continue;
        table.emplace(id, Utf8ToUtf16(Unescape(line.substr(tab + 1))));
    }
    return table;
}

// One language's table, parsed the first time that language is asked for:
// a run of the program reads only the table it shows.
const Table& TableOf(size_t lang)
{
    static std::array<Table, kLanguageCount> tables;
    static std::array<std::once_flag, kLanguageCount> once;
    std::call_once(once[lang], [lang] {
        const std::string name = std::string("strings.") + kCodes[lang] + ".txt";
        for (const EmbeddedFile* f = kEmbeddedFiles; f->name != nullptr; ++f) {
            if (name == f->name) {
                tables[lang] = ParseTable(f->data);
                break;
            }
        }
    });
    return tables[lang];
}

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix != 0; ++text, ++prefix) {
        char c = *text;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != *prefix)
            return false;
    }
    return true;
}

} // namespace

void SetLanguage(Language language)
{
    g_language.store(static_cast<Language>(IndexOf(language)));
}

Language CurrentLanguage()
{
    return g_language.load();
}

Language SystemLanguage()
{
    Language language = Language::English;
    LanguageFromCode(SystemLanguageCode(), language);
    return language;
}

const char* LanguageCode(Language language)
{
    return kCodes[IndexOf(language)];
}

bool LanguageFromCode(const std::string& code, Language& out)
{
    for (size_t i = 0; i < kLanguageCount; ++i) {
        if (code.size() == 2 && StartsWithNoCase(code.c_str(), kCodes[i])) {
            out = static_cast<Language>(i);
            return true;
        }
    }
    return false;
}

std::u16string LoadString(unsigned id)
{
    return LoadString(id, CurrentLanguage());
}

std::u16string LoadString(unsigned id, Language language)
{
    const Table& table = TableOf(IndexOf(language));
    const auto it = table.find(id);
    return it == table.end() ? std::u16string() : it->second;
}

bool HasString(unsigned id, Language language)
{
    return TableOf(IndexOf(language)).count(id) != 0;
}

std::vector<unsigned> StringIds(Language language)
{
    std::vector<unsigned> ids;
    const Table& table = TableOf(IndexOf(language));
    ids.reserve(table.size());
    for (const auto& entry : table)
        ids.push_back(entry.first);
    return ids;
}

std::u16string FormatString(unsigned id, std::initializer_list<FormatArg> args)
{
    return FormatText(LoadString(id), args);
}
