#include "model/Names.h"

#include <algorithm>
#include <string_view>

#include "model/ModelData.h"
#include "model/PX600Layout.h"
#include "platform/CodePage.h"

namespace {

// Where the names lie.
constexpr size_t PX400_CONDITION_NAME = 8826;       // + 12222 c
constexpr size_t PX400_CONTROL_BLOCK_STRIDE = 12222;
constexpr size_t PX400_CONDITION_NAME_CHARS = 8;    // 94..109 of the control block
constexpr size_t PX400_DUAL_RATE_NAME = 11592;      // + 12222 c + 226 d
constexpr size_t PX400_DUAL_RATE_STRIDE = 226;
constexpr size_t PX400_DUAL_RATE_NAME_CHARS = 83;   // a name never runs into the record's curve head at 166
constexpr size_t PX200_CONDITION_NAME = 1700;       // + 9 c
constexpr size_t PX200_CONDITION_STRIDE = 9;
constexpr size_t PX200_CONDITION_NAME_CHARS = 8;
constexpr size_t PX600_CONDITION_NAME_UNITS = px600::kConditionName.size / 2 - 1;  // and a ninth unit 0

constexpr size_t MODEL_NAME_POSITIONS = 16;

// The transmitters' own default names.
constexpr const char16_t* kHeliConditionNames[CONDITION_COUNT] = {u"NORMAL",  u"IDLEUP1", u"IDLEUP2", u"IDLEUP3",
                                                                  u"HOLD",    u"CONDIT6", u"CONDIT7", u"CONDIT8"};
constexpr const char16_t* kConditionNames[CONDITION_COUNT] = {u"CONDIT1", u"CONDIT2", u"CONDIT3", u"CONDIT4",
                                                              u"CONDIT5", u"CONDIT6", u"CONDIT7", u"CONDIT8"};
constexpr const char16_t* kDualRateNames[DUAL_RATE_COUNT] = {u"D/R 1   ", u"D/R 2   ", u"D/R 3   ",
                                                             u"D/R 4   ", u"D/R 5   ", u"D/R 6   "};

bool ValidCondition(int c, int count)
{
    return c >= 0 && c < count;
}

} // namespace

std::u16string TrimModelName(const std::u16string& typed)
{
    const size_t first = typed.find_first_not_of(u' ');
    if (first == std::u16string::npos)
        return {};
    return typed.substr(first, typed.find_last_not_of(u' ') - first + 1);
}

bool CheckModelNameEntered(const char16_t* text)
{
    return text && text[0] != 0;
}

bool CheckModelNameLength(const char16_t* text)
{
    if (!text)
        return true;
    for (size_t i = 0; i < MODEL_NAME_POSITIONS; ++i)
        if (text[i] == 0)
            return true;
    return false;
}

bool IsModelNameChar(char16_t w)
{
    switch (w) {
    case u'"': case u'*': case u'/': case u':': case u'<': case u'>': case u'?': case u'\\':
    case u'|':  // no Windows file name holds it
        return false;
    default:
        break;
    }
    // DEL (U+007F) is a control character, as are those below the blank.
    return (w >= 0x20 && w <= 0x7E) || (w >= 0xFF61 && w <= 0xFF9F);
}

bool CheckModelNameChars(const char16_t* text)
{
    if (!text)
        return true;
    // A leading dot hides the model file (and "." and ".." name folders).
    if (text[0] == u'.')
        return false;
    for (size_t i = 0; i < MODEL_NAME_POSITIONS; ++i) {
        if (text[i] == 0)
            return true;
        if (!IsModelNameChar(text[i]))
            return false;
    }
    return false;
}

bool CheckModelNameNotDevice(const char16_t* text)
{
    static constexpr std::u16string_view kDevices[] = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
    if (!text)
        return true;
    std::u16string base;
    for (size_t i = 0; i < MODEL_NAME_POSITIONS && text[i] != 0 && text[i] != u'.'; ++i)
        base += (text[i] >= u'a' && text[i] <= u'z') ? static_cast<char16_t>(text[i] - u'a' + u'A') : text[i];
    while (!base.empty() && (base.back() == u' ' || base.back() == u'.'))
        base.pop_back();
    for (std::u16string_view device : kDevices)
        if (base == device)
            return false;
    const bool numbered = base.size() == 4 && (base.compare(0, 3, u"COM") == 0 || base.compare(0, 3, u"LPT") == 0);
    return !(numbered && base[3] >= u'1' && base[3] <= u'9');
}

bool SameModelFileName(const std::u16string& a, const std::u16string& b)
{
    auto upper = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char16_t x, char16_t y) { return upper(x) == upper(y); });
}

namespace {

constexpr char16_t kReplacement = u'_';

// At most max units, without the spaces the cut leaves at the end.
std::u16string CutModelName(std::u16string name, size_t max)
{
    if (name.size() > max)
        name.resize(max);
    while (!name.empty() && name.back() == u' ')
        name.pop_back();
    return name;
}

// The text as a valid name on its own; empty when nothing of it remains.
std::u16string ValidModelNameOrEmpty(const std::u16string& text)
{
    std::u16string name;
    const std::u16string trimmed = TrimModelName(text.substr(0, text.find(u'\0')));
    for (size_t i = 0; i < trimmed.size(); ++i) {
        const char16_t c = trimmed[i];
        name += IsModelNameChar(c) ? c : kReplacement;
        // The two units of a pair are one character.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < trimmed.size() && trimmed[i + 1] >= 0xDC00 && trimmed[i + 1] <= 0xDFFF)
            ++i;
    }
    name = CutModelName(std::move(name), MODEL_NAME_MAX_STORED);
    if (!name.empty() && name[0] == u'.')
        name[0] = kReplacement;
    if (!CheckModelNameNotDevice(name.c_str()))
        name = CutModelName(kReplacement + name, MODEL_NAME_MAX_STORED);
    return name;
}

}  // namespace

std::u16string MakeModelNameValid(const std::u16string& text, const std::u16string& fallback,
                                  const std::function<bool(const std::u16string&)>& taken)
{
    std::u16string name = ValidModelNameOrEmpty(text);
    if (name.empty())
        name = ValidModelNameOrEmpty(fallback);
    if (name.empty())
        name = u"MODEL";
    if (!taken || !taken(name))
        return name;
    for (unsigned number = 2;; ++number) {
        std::u16string suffix = u" ";
        for (char ch : std::to_string(number))
            suffix += static_cast<char16_t>(ch);
        const std::u16string numbered = CutModelName(name, MODEL_NAME_MAX_STORED - suffix.size()) + suffix;
        if (!taken(numbered))
            return numbered;
    }
}

std::u16string GetConditionNamePX400(const uint8_t* image, int condition)
{
    if (!ValidCondition(condition, CONDITION_COUNT))
        return {};
    const uint8_t* field = image + PX400_CONDITION_NAME + PX400_CONTROL_BLOCK_STRIDE * condition;
    return AnsiRoundTrip(ReadUtf16LE(field, PX400_CONDITION_NAME_CHARS));
}

std::u16string GetDualRateNamePX400(const uint8_t* image, int condition, int dualRate)
{
    if (!ValidCondition(condition, CONDITION_COUNT) || dualRate < 0 || dualRate >= DUAL_RATE_COUNT)
        return {};
    const uint8_t* field = image + PX400_DUAL_RATE_NAME + PX400_CONTROL_BLOCK_STRIDE * condition
        + PX400_DUAL_RATE_STRIDE * dualRate;
    return AnsiRoundTrip(ReadUtf16LE(field, PX400_DUAL_RATE_NAME_CHARS));
}

std::u16string GetConditionNamePX200(const uint8_t* image, int condition)
{
    if (!ValidCondition(condition, PX200_CONDITION_COUNT))
        return {};
    char16_t text[PX200_CONDITION_NAME_CHARS + 1];
    TxCharToUnicodeZ(image + PX200_CONDITION_NAME + PX200_CONDITION_STRIDE * condition, text,
                     PX200_CONDITION_NAME_CHARS);
    return AnsiRoundTrip(std::u16string(text));
}

std::u16string GetDualRateNamePX200(const uint8_t*, int, int dualRate)
{
    return GetDefaultDualRateName(dualRate);
}

std::u16string GetDefaultConditionName(bool helicopter, int condition)
{
    if (!ValidCondition(condition, CONDITION_COUNT))
        return {};
    return (helicopter ? kHeliConditionNames : kConditionNames)[condition];
}

std::u16string GetDefaultDualRateName(int dualRate)
{
    if (dualRate < 0 || dualRate >= DUAL_RATE_COUNT)
        return {};
    return kDualRateNames[dualRate];
}

void PutConditionName(uint8_t* image, int condition, const std::u16string& text)
{
    if (!ValidCondition(condition, CONDITION_COUNT))
        return;
    uint8_t* field = image + px600::kCurveSettings.At(condition) + px600::kConditionName.offset;
    // A 0 unit inside a text ends it.
    const size_t length = std::min(text.find(u'\0'), text.size());
    size_t kept = std::min(length, PX600_CONDITION_NAME_UNITS);
    // A surrogate pair that the cut would split is left out whole: half of
    // it is no character.
    const size_t last = PX600_CONDITION_NAME_UNITS - 1;
    if (length > PX600_CONDITION_NAME_UNITS && text[last] >= 0xD800 && text[last] <= 0xDBFF &&
        text[last + 1] >= 0xDC00 && text[last + 1] <= 0xDFFF)
        kept = last;
    for (size_t i = 0; i <= PX600_CONDITION_NAME_UNITS; ++i) {
        const char16_t unit = i < kept ? text[i] : 0;
        PutBE16(field + 2 * i, unit);
    }
}
