#include "platform/Text.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Widths beyond this are clamped, so that a damaged format cannot make one
// field allocate an unbounded amount of memory.
constexpr size_t kMaxFieldWidth = 4096;

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c >= 0xD800 && c <= 0xDFFF)
        c = kReplacement;
    if (c > 0x10FFFF)
        c = kReplacement;
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

} // namespace

// Decodes UTF-8, replacing every ill-formed part with one U+FFFD: a lead byte
// followed by fewer continuation bytes than it announces, overlong forms,
// encoded surrogates and values above U+10FFFF. Decoding resumes at the first
// byte that did not fit, so a valid character after a damaged one survives.
std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    const size_t n = utf8.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char b0 = static_cast<unsigned char>(utf8[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        size_t need;
        char32_t c;
        // Allowed range of the second byte, which rules out overlong forms,
        // surrogates and values above U+10FFFF in one place.
        unsigned char lo = 0x80, hi = 0xBF;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            need = 1;
            c = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            need = 2;
            c = b0 & 0x0F;
            if (b0 == 0xE0)
                lo = 0xA0;
            else if (b0 == 0xED)
                hi = 0x9F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            need = 3;
            c = b0 & 0x07;
            if (b0 == 0xF0)
                lo = 0x90;
            else if (b0 == 0xF4)
                hi = 0x8F;
        } else {
            // A stray continuation byte or a lead byte that never starts a
            // valid sequence (C0, C1, F5..FF).
            out.push_back(static_cast<char16_t>(kReplacement));
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool ok = true;
        for (size_t k = 0; k < need; ++k, ++j) {
            if (j >= n) {
                ok = false;
                break;
            }
            const unsigned char b = static_cast<unsigned char>(utf8[j]);
            if (k == 0 ? (b < lo || b > hi) : !IsContinuation(b)) {
                ok = false;
                break;
            }
            c = (c << 6) | (b & 0x3F);
        }
        if (ok)
            AppendUtf16(out, c);
        else
            out.push_back(static_cast<char16_t>(kReplacement));
        i = j;
    }
    return out;
}

// Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    const size_t n = utf16.size();
    for (size_t i = 0; i < n; ++i) {
        char32_t c = utf16[i];
        if (c < 0x80) {  // the common case, without the general encoder
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < n && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
                ++i;
            } else {
                c = kReplacement;
            }
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

size_t BoundedLength(const char16_t* text, size_t max)
{
    if (text == nullptr)
        return 0;
    size_t n = 0;
    while (n < max && text[n] != 0)
        ++n;
    return n;
}

namespace {

struct Directive {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    size_t width = 0;
    bool hasPrecision = false;
    size_t precision = 0;
};

std::u16string Ascii(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}

// Unsigned view of a number as printf shows an int: values that fit a 32-bit
// int are taken as 32-bit (so -1 is 4294967295), wider ones as 64-bit.
unsigned long long AsUnsigned(long long v)
{
    if (v >= INT32_MIN && v <= INT32_MAX)
        return static_cast<uint32_t>(static_cast<int32_t>(v));
    return static_cast<unsigned long long>(v);
}

std::string Digits(unsigned long long v, unsigned base, bool upper)
{
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string s;
    do {
        s.push_back(digits[v % base]);
        v /= base;
    } while (v != 0);
    std::reverse(s.begin(), s.end());
    return s;
}

// Pads body to the field width. Zero padding goes between the sign or prefix
// and the digits; it is used for numbers only.
void AppendPadded(std::u16string& out, const Directive& directive, std::u16string_view prefix,
                  std::u16string_view body, bool numeric)
{
    const size_t len = prefix.size() + body.size();
    const size_t pad = directive.width > len ? directive.width - len : 0;
    if (directive.leftAlign) {
        out.append(prefix);
        out.append(body);
        out.append(pad, u' ');
    } else if (directive.zeroPad && numeric && !directive.hasPrecision) {
        out.append(prefix);
        out.append(pad, u'0');
        out.append(body);
    } else {
        out.append(pad, u' ');
        out.append(prefix);
        out.append(body);
    }
}

void AppendNumber(std::u16string& out, const Directive& directive, char conv, long long value)
{
    std::string prefix;
    std::string digits;
    if (conv == 'd' || conv == 'i') {
        const bool negative = value < 0;
        // Negating through unsigned keeps LLONG_MIN well defined.
        const unsigned long long magnitude =
            negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
        digits = Digits(magnitude, 10, false);
        if (negative)
            prefix = "-";
        else if (directive.plus)
            prefix = "+";
        else if (directive.space)
            prefix = " ";
    } else {
        const unsigned long long u = AsUnsigned(value);
        if (conv == 'u') {
            digits = Digits(u, 10, false);
        } else {
            digits = Digits(u, 16, conv == 'X');
            if (directive.alternate && u != 0)
                prefix = conv == 'X' ? "0X" : "0x";
        }
    }
    if (directive.hasPrecision) {
        if (directive.precision == 0 && digits == "0")
            digits.clear();
        else if (digits.size() < directive.precision)
            digits.insert(0, directive.precision - digits.size(), '0');
    }
    AppendPadded(out, directive, Ascii(prefix), Ascii(digits), true);
}

void AppendText(std::u16string& out, const Directive& directive, std::u16string_view text)
{
    // A text ends at its first 0 unit, as it would in a C string.
    const size_t end = text.find(u'\0');
    if (end != std::u16string_view::npos)
        text = text.substr(0, end);
    if (directive.hasPrecision && text.size() > directive.precision)
        text = text.substr(0, directive.precision);
    AppendPadded(out, directive, {}, text, false);
}

// %c: a number is a character code (0 shows nothing, since a 0 ends a text;
// a value that is no character shows U+FFFD); a text gives its first character.
void AppendChar(std::u16string& out, const Directive& directive, const FormatArg& arg)
{
    std::u16string ch;
    if (const auto* n = std::get_if<long long>(&arg)) {
        const long long v = *n;
        if (v > 0 && v <= 0x10FFFF)
            AppendUtf16(ch, static_cast<char32_t>(v));
        else if (v != 0)
            ch.push_back(static_cast<char16_t>(kReplacement));
    } else {
        const auto& s = std::get<std::u16string>(arg);
        if (!s.empty() && s[0] != 0) {
            ch.push_back(s[0]);
            // Keep a surrogate pair whole.
            if (s[0] >= 0xD800 && s[0] <= 0xDBFF && s.size() > 1 && s[1] >= 0xDC00 && s[1] <= 0xDFFF)
                ch.push_back(s[1]);
        }
    }
    AppendPadded(out, directive, {}, ch, false);
}

} // namespace

// Each conversion takes the next argument in turn. A number given to %s shows
// in decimal; a text given to %d, %u, %x or %X shows as the text itself, so
// that nothing the caller passed is lost. A conversion this function does not
// know is copied to the output as written.
std::u16string FormatText(std::u16string_view format, std::initializer_list<FormatArg> args)
{
    std::u16string out;
    out.reserve(format.size() + 16);
    auto nextArg = args.begin();
    const size_t n = format.size();
    size_t i = 0;
    while (i < n) {
        const char16_t c = format[i];
        if (c != u'%') {
            out.push_back(c);
            ++i;
            continue;
        }
        const size_t start = i;
        ++i;
        if (i >= n) {
            out.push_back(u'%');
            break;
        }
        Directive directive;
        for (; i < n; ++i) {
            const char16_t f = format[i];
            if (f == u'-')
                directive.leftAlign = true;
            else if (f == u'0')
                directive.zeroPad = true;
            else if (f == u'+')
                directive.plus = true;
            else if (f == u' ')
                directive.space = true;
            else if (f == u'#')
                directive.alternate = true;
            else
                break;
        }
        while (i < n && format[i] >= u'0' && format[i] <= u'9') {
            directive.width = std::min(kMaxFieldWidth, directive.width * 10 + (format[i] - u'0'));
            ++i;
        }
        if (i < n && format[i] == u'.') {
            directive.hasPrecision = true;
            ++i;
            while (i < n && format[i] >= u'0' && format[i] <= u'9') {
                directive.precision = std::min(kMaxFieldWidth, directive.precision * 10 + (format[i] - u'0'));
                ++i;
            }
        }
        // Length modifiers carry no meaning here: every number is 64-bit.
        while (i < n && (format[i] == u'l' || format[i] == u'h' || format[i] == u'z' || format[i] == u'j' ||
                         format[i] == u't' || format[i] == u'L'))
            ++i;
        if (i >= n) {
            out.append(format.substr(start));
            break;
        }
        const char16_t conv = format[i++];
        if (conv == u'%') {
            out.push_back(u'%');
            continue;
        }
        const bool known = conv == u's' || conv == u'd' || conv == u'i' || conv == u'u' || conv == u'x' ||
                           conv == u'X' || conv == u'c';
        if (!known) {
            out.append(format.substr(start, i - start));
            continue;
        }
        const FormatArg* arg = nullptr;
        if (nextArg != args.end())
            arg = &*nextArg++;
        // A missing argument shows as nothing at all, width included.
        if (arg == nullptr)
            continue;
        if (conv == u'c') {
            AppendChar(out, directive, *arg);
            continue;
        }
        if (conv == u's') {
            if (const auto* v = std::get_if<long long>(arg)) {
                Directive numeric = directive;
                numeric.hasPrecision = false;
                AppendNumber(out, numeric, 'd', *v);
            } else {
                AppendText(out, directive, std::get<std::u16string>(*arg));
            }
            continue;
        }
        if (const auto* v = std::get_if<long long>(arg))
            AppendNumber(out, directive, static_cast<char>(conv), *v);
        else
            AppendText(out, Directive{directive.leftAlign, false, false, false, false, directive.width, false, 0},
                       std::get<std::u16string>(*arg));
    }
    return out;
}
