// String tables, UTF conversion and printf-style formatting.
#include <gtest/gtest.h>

#include "Portable.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/StringIds.h"
#include "app/Strings.h"
#include "model/ModelData.h"
#include "model/Names.h"
#include "platform/Text.h"

namespace {

constexpr Language kAllLanguages[] = {Language::English, Language::German, Language::French, Language::Japanese};

std::string U8(unsigned id, Language language)
{
    return Utf16ToUtf8(LoadString(id, language));
}

// The conversion specifiers of a text in order ("%s", "%d", ...), with flags and
// width dropped; "%%" is not one.
std::vector<char> Specifiers(const std::u16string& text)
{
    std::vector<char> out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'%')
            continue;
        size_t j = i + 1;
        while (j < text.size() && std::u16string_view(u"-0+ #123456789.lhz").find(text[j]) != std::u16string_view::npos)
            ++j;
        if (j >= text.size())
            break;
        if (text[j] != u'%')
            out.push_back(static_cast<char>(text[j]));
        i = j;
    }
    return out;
}

} // namespace

namespace {

bool SameInEveryLanguage(unsigned id)
{
    return id == 110 || (id >= 200 && id <= 300) || (id >= 401 && id <= 403) || (id >= 601 && id <= 628) ||
           (id >= 800 && id <= 898) || (id >= 1001 && id <= 1003) || id == 1602;
}

// A control caption as its text reads inside a sentence: without "&" and
// without a trailing "(&X)".
std::u16string WithoutMnemonic(std::u16string text)
{
    const size_t paren = text.find(u"(&");
    if (paren != std::u16string::npos && paren + 3 < text.size() + 1)
        text.erase(paren, 4);
    text.erase(std::remove(text.begin(), text.end(), u'&'), text.end());
    return text;
}

} // namespace

TEST(StringTables, EveryLanguageHasTheSameIdsAndNoEmptyText)
{
    const std::vector<unsigned> english = StringIds(Language::English);
    ASSERT_GT(english.size(), 200u);
    for (Language language : kAllLanguages) {
        EXPECT_EQ(StringIds(language), english) << LanguageCode(language);
        for (unsigned id : english)
            EXPECT_FALSE(LoadString(id, language).empty()) << LanguageCode(language) << " id " << id;
    }
}

TEST(StringTables, ConversionSpecifiersAgreeAcrossLanguages)
{
    for (unsigned id : StringIds(Language::English)) {
        const std::vector<char> english = Specifiers(LoadString(id, Language::English));
        for (Language language : kAllLanguages)
            EXPECT_EQ(Specifiers(LoadString(id, language)), english) << LanguageCode(language) << " id " << id;
    }
    // The texts that callers format take exactly these arguments.
    EXPECT_EQ(Specifiers(LoadString(103, Language::English)), (std::vector<char>{'s', 's'}));
    EXPECT_EQ(Specifiers(LoadString(109, Language::English)), (std::vector<char>{'d', 'd', 'd'}));
    for (unsigned id = 1300; id <= 1314; ++id)
        EXPECT_EQ(Specifiers(LoadString(id, Language::English)), std::vector<char>{'s'}) << "id " << id;
}

TEST(StringTables, FixedTextsAreIdenticalInEveryLanguage)
{
    for (unsigned id : StringIds(Language::English)) {
        if (!SameInEveryLanguage(id))
            continue;
        for (Language language : kAllLanguages)
            EXPECT_EQ(LoadString(id, language), LoadString(id, Language::English))
                << LanguageCode(language) << " id " << id;
    }
    // The transmitter names that model files hold are the names the combo
    // boxes show, padded to 8 characters; default dual rate and condition
    // names fit the 8 characters of a name.
    for (uint16_t type = 0; type < 3; ++type) {
        std::u16string padded = LoadString(IDS_TX_COMBO_BASE + type, Language::English);
        padded.resize(8, u' ');
        EXPECT_EQ(TransmitterName(type), padded);
    }
    for (int c = 0; c < CONDITION_COUNT; ++c) {
        EXPECT_LE(GetDefaultConditionName(true, c).size(), 8u) << c;
        EXPECT_LE(GetDefaultConditionName(false, c).size(), 8u) << c;
    }
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        EXPECT_LE(GetDefaultDualRateName(d).size(), 8u) << d;
    // Code 11, 27 and 28 name no control and have no text of their own.
    EXPECT_FALSE(HasString(829, Language::English));
    // The names in the settings store are the program's own, not texts a
    // translation could change.
    for (unsigned id = 111; id <= 156; ++id)
        EXPECT_FALSE(HasString(id, Language::English)) << id;
}

TEST(StringTables, MessagesAreTranslated)
{
    std::vector<unsigned> ids = {102,  103,  104,  105,  106,  107,  108,  631,  632,  634,  635,
                                 713,  899,  900,  1100, 1101, 1200, 1202, 1600, 1601};
    for (unsigned id = 700; id <= 710; ++id)
        ids.push_back(id);
    for (unsigned id = 1300; id <= 1314; ++id)
        ids.push_back(id);
    for (Language language : {Language::German, Language::French, Language::Japanese})
        for (unsigned id : ids)
            EXPECT_NE(LoadString(id, language), LoadString(id, Language::English))
                << LanguageCode(language) << " id " << id;
}

// Messages name the controls of the main dialog in quotes; they must use the
// captions that the dialog shows in the same language.
TEST(StringTables, MessagesQuoteTheDialogCaptionsOfTheirLanguage)
{
    struct Quote { unsigned message; unsigned caption; };
    const Quote quotes[] = {{104, 2001}, {106, 2001}, {106, 2003}, {704, 2001}, {704, 2002}, {103, 2005},
                            {103, 2003}, {107, 2005}, {706, 2005}, {706, 2009}, {707, 2009}, {708, 2005}};
    for (Language language : kAllLanguages) {
        for (const Quote& q : quotes) {
            const std::u16string caption = WithoutMnemonic(LoadString(q.caption, language));
            ASSERT_FALSE(caption.empty());
            EXPECT_NE(LoadString(q.message, language).find(caption), std::u16string::npos)
                << LanguageCode(language) << " message " << q.message << " lacks \"" << Utf16ToUtf8(caption)
                << "\"";
        }
    }
}

namespace {

// The accelerator keys of a caption: the character after each single "&"
// ("&&" shows an ampersand), upper-case Latin letters folded to lower case.
std::vector<char16_t> Accelerators(const std::u16string& text)
{
    std::vector<char16_t> out;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        char16_t c = text[++i];
        if (c == u'&')
            continue;
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c = static_cast<char16_t>(c + 0x20);
        out.push_back(c);
    }
    return out;
}

std::vector<unsigned> Ids(std::initializer_list<std::pair<unsigned, unsigned>> ranges)
{
    std::vector<unsigned> ids;
    for (auto [first, last] : ranges)
        for (unsigned id = first; id <= last; ++id)
            ids.push_back(id);
    return ids;
}

// Terminal cells of a UTF-16 unit: East Asian wide characters take two.
int Cells(char16_t c)
{
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                      (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6);
    return wide ? 2 : 1;
}

} // namespace

// Within one window (and one menu), a key reaches one control only; a
// translation keeps the accelerators its English caption has.
TEST(StringTables, AcceleratorsAreUniqueWithinEachDialog)
{
    struct Dialog {
        const char* name;
        std::vector<unsigned> ids;
    };
    const Dialog dialogs[] = {
        {"main dialog", Ids({{2000, 2011}, {501, 504}})},
        {"detail dialog", Ids({{2100, 2126}, {505, 512}})},
        {"system menu", {101, 1200}},
        {"about dialog", Ids({{2200, 2203}})},
        {"settings dialog", Ids({{2210, 2213}, {1201, 1205}})},
    };
    for (Language language : kAllLanguages) {
        for (const Dialog& dialog : dialogs) {
            std::map<char16_t, unsigned> owner;
            for (unsigned id : dialog.ids) {
                const std::vector<char16_t> keys = Accelerators(LoadString(id, language));
                EXPECT_EQ(keys.size(), Accelerators(LoadString(id, Language::English)).size())
                    << LanguageCode(language) << " id " << id;
                for (char16_t key : keys) {
                    const auto [at, fresh] = owner.emplace(key, id);
                    EXPECT_TRUE(fresh) << LanguageCode(language) << " " << dialog.name << ": ids " << at->second
                                       << " and " << id << " share the key " << Utf16ToUtf8(std::u16string(1, key));
                }
            }
        }
    }
}

// The option lines of the command-line help start their descriptions in one
// column of the terminal, counted in cells, in every language.
TEST(StringTables, HelpDescriptionsLineUpOnATerminal)
{
    for (Language language : kAllLanguages) {
        std::map<int, std::string> columns;  // column -> first line that uses it
        const std::u16string help = LoadString(1401, language);
        for (size_t from = 0; from <= help.size();) {
            const size_t end = std::min(help.find(u'\n', from), help.size());
            const std::u16string line = help.substr(from, end - from);
            from = end + 1;
            if (line.rfind(u"  ", 0) != 0)
                continue;
            // A continuation line starts with its description; an option line
            // has the option and then a run of at least two blanks.
            size_t start = line.find_first_not_of(u' ');
            if (start == 2) {
                const size_t gap = line.find(u"  ", 2);
                start = gap == std::u16string::npos ? 0 : line.find_first_not_of(u' ', gap);
            }
            int cells = 0;
            for (size_t i = 0; i < start && i < line.size(); ++i)
                cells += Cells(line[i]);
            columns.emplace(start == 0 ? -1 : cells, Utf16ToUtf8(line));
        }
        EXPECT_GE(columns.size(), 1u);
        EXPECT_EQ(columns.size(), 1u) << LanguageCode(language) << ": " << columns.begin()->second << " | "
                                      << columns.rbegin()->second;
    }
}

// The files themselves: several people add lines to them, and a second line
// with an id already used would be silently ignored by the loader.
TEST(StringTables, TableFilesAreWellFormed)
{
    for (Language language : kAllLanguages) {
        const std::string path = std::string(ARK_SOURCE_DIR) + "/resources/strings." + LanguageCode(language) + ".txt";
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path;
        std::set<unsigned> seen;
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (line.empty() || line[0] == '#')
                continue;
            const size_t tab = line.find('\t');
            ASSERT_NE(tab, std::string::npos) << path << ":" << number;
            ASSERT_GT(tab, 0u) << path << ":" << number;
            ASSERT_EQ(line.find_first_not_of("0123456789"), tab) << path << ":" << number;
            const unsigned id = static_cast<unsigned>(std::stoul(line.substr(0, tab)));
            EXPECT_TRUE(seen.insert(id).second) << path << ":" << number << " repeats id " << id;
            EXPECT_EQ(line.find('\r'), std::string::npos) << path << ":" << number;
            EXPECT_EQ(Utf8ToUtf16(line).find(u'\uFFFD'), std::u16string::npos)
                << path << ":" << number << " is not UTF-8";
        }
        EXPECT_EQ(seen.size(), StringIds(language).size()) << path;
    }
}

TEST(StringTables, EscapesAreDecoded)
{
    EXPECT_EQ(U8(2122, Language::English), "Convert\nfrom");
    EXPECT_EQ(U8(631, Language::English).find("\\"), std::string::npos);
    for (Language language : kAllLanguages) {
        const std::u16string text = LoadString(634, language);
        EXPECT_EQ(text.find(u'\\'), std::u16string::npos);
        EXPECT_NE(text.find(u"\n\n"), std::u16string::npos) << LanguageCode(language);
    }
}

TEST(StringTables, LanguageCodes)
{
    for (Language language : kAllLanguages) {
        Language back = Language::English;
        ASSERT_TRUE(LanguageFromCode(LanguageCode(language), back));
        EXPECT_EQ(back, language);
    }
    EXPECT_STREQ(LanguageCode(Language::Japanese), "ja");
    Language out = Language::French;
    EXPECT_FALSE(LanguageFromCode("xx", out));
    EXPECT_FALSE(LanguageFromCode("", out));
    EXPECT_FALSE(LanguageFromCode("d", out));
    EXPECT_FALSE(LanguageFromCode("deu", out));
    EXPECT_EQ(out, Language::French);
}

namespace {

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
public:
    LocaleEnvironment()
    {
        for (const char* name : kNames) {
            const char* v = std::getenv(name);
            m_saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        }
    }
    ~LocaleEnvironment()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name, value->c_str(), 1);
            else
                unsetenv(name);
        }
    }
    void Set(const char* all, const char* messages, const char* lang)
    {
        const char* values[] = {all, messages, lang};
        for (int i = 0; i < 3; ++i) {
            if (values[i])
                setenv(kNames[i], values[i], 1);
            else
                unsetenv(kNames[i]);
        }
    }

private:
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

} // namespace

TEST(StringTables, SystemLanguageFollowsTheLocaleVariables)
{
    LocaleEnvironment env;
    env.Set(nullptr, nullptr, nullptr);
    EXPECT_EQ(SystemLanguage(), Language::English);
    env.Set(nullptr, nullptr, "de_DE.UTF-8");
    EXPECT_EQ(SystemLanguage(), Language::German);
    env.Set(nullptr, nullptr, "ja_JP.eucJP");
    EXPECT_EQ(SystemLanguage(), Language::Japanese);
    env.Set(nullptr, nullptr, "C.UTF-8");
    EXPECT_EQ(SystemLanguage(), Language::English);
    env.Set(nullptr, nullptr, "nl_NL");
    EXPECT_EQ(SystemLanguage(), Language::English);
    // LC_MESSAGES wins over LANG, LC_ALL over both; an empty variable is unset.
    env.Set(nullptr, "fr_CA", "de_DE");
    EXPECT_EQ(SystemLanguage(), Language::French);
    env.Set("ja_JP", "fr_CA", "de_DE");
    EXPECT_EQ(SystemLanguage(), Language::Japanese);
    env.Set("", "", "fr_FR");
    EXPECT_EQ(SystemLanguage(), Language::French);
    env.Set("C", nullptr, "de_DE");
    EXPECT_EQ(SystemLanguage(), Language::English);
}

TEST(StringTables, LoadStringFollowsTheCurrentLanguage)
{
    const Language saved = CurrentLanguage();
    SetLanguage(Language::English);
    EXPECT_EQ(Utf16ToUtf8(LoadString(108)), "The conversion is complete.");
    EXPECT_EQ(Utf16ToUtf8(FormatString(105, {u"C:\\a\\b.mdl"})),
              "The file C:\\a\\b.mdl already exists.\nChoose another model name.");
    EXPECT_TRUE(LoadString(4242).empty());
    EXPECT_FALSE(HasString(4242, Language::English));
    SetLanguage(Language::Japanese);
    EXPECT_EQ(CurrentLanguage(), Language::Japanese);
    EXPECT_EQ(LoadString(108), LoadString(108, Language::Japanese));
    EXPECT_NE(LoadString(108), LoadString(108, Language::English));
    const std::u16string formatted = FormatString(109, {3, 1, 4});
    EXPECT_NE(formatted.find(u"3.1.4"), std::u16string::npos);
    EXPECT_EQ(formatted.find(u'%'), std::u16string::npos);
    SetLanguage(saved);
}

namespace {

std::string Fmt(std::u16string_view format, std::initializer_list<FormatArg> args)
{
    return Utf16ToUtf8(FormatText(format, args));
}

} // namespace

TEST(FormatText, NumbersWithWidthAndFlags)
{
    EXPECT_EQ(Fmt(u"%d", {42}), "42");
    EXPECT_EQ(Fmt(u"[%5d]", {42}), "[   42]");
    EXPECT_EQ(Fmt(u"[%-5d]", {42}), "[42   ]");
    EXPECT_EQ(Fmt(u"[%05d]", {42}), "[00042]");
    EXPECT_EQ(Fmt(u"[%05d]", {-42}), "[-0042]");
    EXPECT_EQ(Fmt(u"[%-05d]", {-42}), "[-42  ]");
    EXPECT_EQ(Fmt(u"[%2d]", {12345}), "[12345]");
    EXPECT_EQ(Fmt(u"%d", {-9223372036854775807LL - 1}), "-9223372036854775808");
    EXPECT_EQ(Fmt(u"%u", {-1}), "4294967295");
    EXPECT_EQ(Fmt(u"%u", {4000000000LL}), "4000000000");
    EXPECT_EQ(Fmt(u"%x %X", {255, 0xBEEF}), "ff BEEF");
    EXPECT_EQ(Fmt(u"%04X", {0x1D}), "001D");
    EXPECT_EQ(Fmt(u"%x", {-1}), "ffffffff");
    EXPECT_EQ(Fmt(u"%ld %lu", {7, 8}), "7 8");
    EXPECT_EQ(Fmt(u"100%% of %d", {3}), "100% of 3");
}

TEST(FormatText, TextsAndCharacters)
{
    EXPECT_EQ(Fmt(u"%s/%s", {u"a", u"b"}), "a/b");
    EXPECT_EQ(Fmt(u"[%6s]", {u"ab"}), "[    ab]");
    EXPECT_EQ(Fmt(u"[%-6s]", {u"ab"}), "[ab    ]");
    EXPECT_EQ(Fmt(u"[%06s]", {u"ab"}), "[    ab]");
    EXPECT_EQ(Fmt(u"[%.2s]", {u"abcdef"}), "[ab]");
    EXPECT_EQ(Fmt(u"%s", {u"日本語"}), "日本語");
    EXPECT_EQ(Fmt(u"[%4s]", {u"日本"}), "[  日本]");
    // A text ends at its first 0 unit.
    EXPECT_EQ(Fmt(u"<%s>", {std::u16string(u"ab\0cd", 5)}), "<ab>");
    EXPECT_EQ(Fmt(u"%c%c%c", {65, u"Zed", 0x65E5}), "AZ日");
    EXPECT_EQ(Fmt(u"%c", {0x1F600}), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Fmt(u"<%c>", {0}), "<>");
    EXPECT_EQ(Fmt(u"%c", {-5}), "\xEF\xBF\xBD");
}

TEST(FormatText, MismatchedAndMissingArguments)
{
    // A number for %s shows in decimal, a text for %d as the text.
    EXPECT_EQ(Fmt(u"%s", {-12}), "-12");
    EXPECT_EQ(Fmt(u"[%5s]", {7}), "[    7]");
    EXPECT_EQ(Fmt(u"%d", {u"abc"}), "abc");
    EXPECT_EQ(Fmt(u"[%-4x]", {u"z"}), "[z   ]");
    // Missing arguments show as nothing; surplus ones are ignored.
    EXPECT_EQ(Fmt(u"a%sb%dc", {}), "abc");
    EXPECT_EQ(Fmt(u"a%5sb", {}), "ab");
    EXPECT_EQ(Fmt(u"%d+%d", {1}), "1+");
    EXPECT_EQ(Fmt(u"%d", {1, 2, u"x"}), "1");
    EXPECT_EQ(Fmt(u"no conversions", {1}), "no conversions");
}

TEST(FormatText, DamagedFormatsDoNotFail)
{
    EXPECT_EQ(Fmt(u"50%", {1}), "50%");
    EXPECT_EQ(Fmt(u"%-0", {1}), "%-0");
    EXPECT_EQ(Fmt(u"%q%d", {1}), "%q1");
    EXPECT_EQ(Fmt(u"%", {}), "%");
    EXPECT_EQ(Fmt(u"", {1}), "");
    // An absurd width is limited instead of exhausting memory.
    const std::u16string wide = FormatText(u"%99999999999999999999d", {1});
    EXPECT_LT(wide.size(), 100000u);
    EXPECT_EQ(wide.back(), u'1');

    // Random formats built from the characters that matter, with random
    // arguments: every one must return (checked for memory errors by the
    // sanitizer builds).
    const std::u16string alphabet = u"%%%%-0+ #123.lhsducxXq\0ab\xD800";
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        std::u16string format;
        const unsigned length = next() % 24;
        for (unsigned i = 0; i < length; ++i)
            format.push_back(alphabet[next() % alphabet.size()]);
        const long long number = static_cast<long long>(next()) - (1LL << 23);
        const std::u16string out = next() % 2 ? FormatText(format, {number, u"t", number})
                                              : FormatText(format, {u"txt", number});
        EXPECT_LE(out.size(), format.size() * 4200 + 64);
    }
}

TEST(Utf, RoundTripOfValidText)
{
    const std::string text = "Aä€日本語😀\n";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"Aä€日本語😀\n");
    EXPECT_EQ(wide.size(), 9u); // the emoji takes two units
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(Utf8ToUtf16("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
    EXPECT_EQ(Utf8ToUtf16("\xEF\xBB\xBF"), u"\uFEFF");
}

TEST(Utf, IllFormedUtf8BecomesReplacementCharacters)
{
    const std::u16string r = u"\uFFFD";
    EXPECT_EQ(Utf8ToUtf16("\x80"), r);
    EXPECT_EQ(Utf8ToUtf16("a\xBF" "b"), u"a\uFFFDb");
    // A truncated sequence is one replacement, and the next character survives.
    EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), r);
    EXPECT_EQ(Utf8ToUtf16("\xE6\x97" "A"), u"\uFFFDA");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98"), r);
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\xE6\x97\xA5"), u"\uFFFD日");
    // Overlong forms, encoded surrogates and values above U+10FFFF: every byte
    // that cannot continue a valid sequence is replaced on its own.
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xE0\x80\xAF"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xF8\x88\x80\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xFF" "x"), u"\uFFFDx");
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters)
{
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), r);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), r);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD83D), u'A'}), r + "A");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDE00), char16_t(0xD83D)}), r + r);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD83D), char16_t(0xDE00)}), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(u""), "");
}

TEST(Utf, BoundedLength)
{
    const char16_t text[] = {u'a', u'b', u'c', 0, u'd'};
    EXPECT_EQ(BoundedLength(text, 10), 3u);
    EXPECT_EQ(BoundedLength(text, 2), 2u);
    EXPECT_EQ(BoundedLength(text, 0), 0u);
    EXPECT_EQ(BoundedLength(nullptr, 5), 0u);
    // Never reads past max, even without a terminator.
    const char16_t unterminated[] = {u'x', u'y'};
    EXPECT_EQ(BoundedLength(unterminated, 2), 2u);
}
