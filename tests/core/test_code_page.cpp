// Names go to the ANSI code page and back exactly as on Windows: every byte
// and double-byte code to UTF-16 and every UTF-16 unit to bytes. A digest of
// the whole table guards it, and shows that the Windows build agrees.
#include <gtest/gtest.h>

#include <string>

#include "Digest.h"
#include "platform/CodePage.h"

namespace {

void AddText(Digest& digest, const std::u16string& text)
{
    const uint8_t length[2] = {uint8_t(text.size()), uint8_t(text.size() >> 8)};
    digest.Add(length, 2);
    for (char16_t c : text) {
        const uint8_t unit[2] = {uint8_t(c), uint8_t(c >> 8)};
        digest.Add(unit, 2);
    }
}

void AddBytes(Digest& digest, const std::string& bytes)
{
    const uint8_t length = uint8_t(bytes.size());
    digest.Add(&length, 1);
    digest.Add(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TEST(CodePage, ConvertsAsWindowsDoes)
{
    // Codes where the system's own converters and Windows part ways.
    struct Case {
        AnsiCodePage cp;
        std::string bytes;     // what the text becomes
        std::u16string text;   // what the bytes read as
        bool bothWays;
    };
    const Case cases[] = {
        {AnsiCodePage::Windows1252, "\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D", true},
        {AnsiCodePage::Windows1252, "\x80\x9F\xA0\xFF", u"\u20AC\u0178\u00A0\u00FF", true},
        {AnsiCodePage::Windows932, "\x80", u"\u0080", true},
        {AnsiCodePage::Windows932, "?????????", u"\u00A2\u00A3\u00A5\u00AC\u2014\u2016\u203E\u2212\u301C", false},
        {AnsiCodePage::Windows932, "\xA0\xFD\xFE\xFF", u"\uF8F0\uF8F1\uF8F2\uF8F3", false},
        // Of two codes for one character: JIS row, NEC row 13, IBM extension.
        {AnsiCodePage::Windows932, "\x81\xE0\x87\x54\xFA\x40", u"\u2252\u2160\u2170", true},
        {AnsiCodePage::Windows932, "\xF0\x40\xF9\xFC", u"\uE000\uE757", true},
        {AnsiCodePage::Windows932, "?", u"\U0001F600", false},
        {AnsiCodePage::Windows932, "??A", u"\xDC00\xD800" u"A", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(Utf16ToAnsi(c.text, c.cp), c.bytes);
        if (c.bothWays) {
            EXPECT_EQ(AnsiToUtf16(c.bytes, c.cp), c.text);
        }
    }
    // ... though these four bytes read as invalid, as do codes without a character.
    EXPECT_EQ(AnsiToUtf16("\xA0\xFD\xFE\xFF", AnsiCodePage::Windows932), u"????");
    EXPECT_EQ(AnsiToUtf16("\x82\x20\x85\x40\x81", AnsiCodePage::Windows932), u"? ?@?");

    Digest digest;
    for (AnsiCodePage cp : {AnsiCodePage::Windows1252, AnsiCodePage::Windows932}) {
        for (unsigned first = 0; first < 0x100; ++first) {
            AddText(digest, AnsiToUtf16(std::string(1, char(first)), cp));
            for (unsigned second = 0; first >= 0x80 && second < 0x100; ++second)
                AddText(digest, AnsiToUtf16(std::string{char(first), char(second)}, cp));
        }
        for (unsigned unit = 0; unit < 0x10000; ++unit) {
            const std::u16string text(1, char16_t(unit));
            const std::string bytes = Utf16ToAnsi(text, cp);
            AddBytes(digest, bytes);
            AddBytes(digest, Utf16ToAnsi(text + u'\xDC00', cp));  // a pair after a high surrogate
            // What is written reads back as itself (but for the four codes
            // that read as invalid).
            if (bytes != "?" && (unit < 0xF8F0 || unit > 0xF8F3)) {
                ASSERT_EQ(AnsiToUtf16(bytes, cp), text) << unit;
            }
        }
    }
    CheckDigest("code-page-round-trips.digest", digest.value, 0xb52a8bfc1a52c6c7ull);
}
