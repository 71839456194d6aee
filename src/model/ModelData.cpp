#include "model/ModelData.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "model/ConvertHW.h"
#include "platform/Text.h"

namespace {

// Header fields of the three images.
constexpr size_t PX400_TX_NAME = 0;
constexpr size_t PX400_VERSION = 16;
constexpr size_t PX400_MODEL_NAME = 30;
constexpr size_t PX400_MODEL_NAME_CHARS = 33;  // 30..95
constexpr size_t PX400_HELI_FLAG = 96;
constexpr size_t PX400_WING_TYPE = 97;
constexpr size_t PX400_DATE = 168;

constexpr size_t PX200_MODEL_TYPE = 1;
constexpr size_t PX200_TX_NAME = 2;
constexpr size_t PX200_MODEL_NAME = 18;
constexpr size_t PX200_MODEL_NAME_CHARS = 31;  // 18..79
constexpr size_t PX200_TX_MODEL_NAME = 88;
constexpr size_t PX200_TX_MODEL_NAME_CHARS = 11;  // 88..98
constexpr size_t PX200_VERSION = 100;

constexpr size_t PX600_TX_NAME = px600::kTransmitterName.offset;
constexpr size_t PX600_MODEL_NAME = px600::kModelName.offset;
constexpr size_t PX600_MODEL_NAME_CHARS = px600::kModelName.size / 2;  // the 16th always 0
constexpr size_t PX600_MODEL_TYPE = px600::kModelType.offset;
constexpr size_t PX600_DATE = px600::kDate.offset;
constexpr size_t PX600_CHECKSUM = px600::kChecksum.offset;

constexpr size_t TX_NAME_CHARS = 8;
// The transmitter names the files keep, by type code.
constexpr const char16_t* kTransmitterNames[] = {u"PX400   ", u"PX200   ", u"PX600   "};

// Characters of the transmitter set at 0x80..0x9B.
constexpr char16_t kTxCharTable[28] = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC,
    0xC4, 0xC5, 0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xDF,
};

// A UTF-16LE text field into out (chars + 1 units), stopping at the first 0
// unit or the field's end; never reads past the field.
void ReadLE16Text(const uint8_t* field, size_t chars, char16_t* out)
{
    const std::u16string text = ReadUtf16LE(field, chars);
    std::copy(text.begin(), text.end(), out);
    std::fill(out + text.size(), out + chars + 1, u'\0');
}

// Writes the characters of name (without terminator) as UTF-16LE, at most
// chars of them, so a name never spills past its field.
void WriteLE16Text(uint8_t* field, size_t chars, const char16_t* name)
{
    const size_t n = name ? BoundedLength(name, chars) : 0;
    for (size_t i = 0; i < n; ++i)
        PutLE16(field + 2 * i, name[i]);
}

// The 8-character transmitter name of a type code as UTF-16LE; writes nothing
// for a code without a name.
void WriteTransmitterNameLE(uint8_t* field, uint16_t typeCode)
{
    const std::u16string_view text = TransmitterName(typeCode);
    for (size_t i = 0; i < text.size(); ++i)
        PutLE16(field + 2 * i, text[i]);
}

void GetTransmitterNameLE(const uint8_t* field, char16_t out[9])
{
    for (size_t i = 0; i < TX_NAME_CHARS; ++i)
        out[i] = GetLE16(field + 2 * i);
    out[TX_NAME_CHARS] = 0;
}

} // namespace

std::u16string_view TransmitterName(uint16_t typeCode)
{
    return typeCode < std::size(kTransmitterNames) ? kTransmitterNames[typeCode] : u"";
}

uint16_t TransmitterTypeOfName(std::u16string_view text)
{
    for (uint16_t code = 0; code < std::size(kTransmitterNames); ++code)
        if (TransmitterName(code).substr(0, text.size()) == text)
            return code;
    return TX_UNKNOWN;
}

void TxCharToUnicode(const uint8_t* in, char16_t* out, size_t n)
{
    bool ended = false;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = ended ? 0 : in[i];
        if (b == 0) {
            ended = true;
            out[i] = 0;
        } else if (b >= 0x80 && b <= 0x9B) {
            out[i] = kTxCharTable[b - 0x80];
        } else if (b >= 0xA1 && b <= 0xDF) {
            out[i] = static_cast<char16_t>(b + 0xFEC0);  // half-width katakana
        } else if (b == 0xEB) {
            out[i] = 0x30D7;
        } else if (b == 0xEC) {
            out[i] = 0x30C9;
        } else {
            out[i] = b;  // also 0x9C..0x9F, the C1 controls of the same number
        }
    }
}

void TxCharToUnicodeZ(const uint8_t* in, char16_t* out, size_t n)
{
    TxCharToUnicode(in, out, n);
    out[n] = 0;
}

void UnicodeToTxChar(const char16_t* in, uint8_t* out, size_t n)
{
    bool ended = false;
    for (size_t i = 0; i < n; ++i) {
        const char16_t w = ended ? 0 : in[i];
        if (w == 0) {
            ended = true;
            out[i] = 0;
        } else if (w >= 0x20 && w <= 0x7F) {
            out[i] = static_cast<uint8_t>(w);
        } else if (w >= 0xFF61 && w <= 0xFF9F) {
            out[i] = static_cast<uint8_t>((w & 0xFF) + 0x40);
        } else if (w >= 0xFF00 && w <= 0xFF5F) {
            out[i] = static_cast<uint8_t>((w & 0xFF) + 0x20);
        } else {
            const char16_t* hit = std::find(std::begin(kTxCharTable), std::end(kTxCharTable), w);
            out[i] = hit != std::end(kTxCharTable) ? static_cast<uint8_t>(0x80 + (hit - kTxCharTable)) : '*';
        }
    }
}

std::u16string FormatModelDate(const SYSTEMTIME& date)
{
    if (date.wYear >= 1900
        && (date.wMonth < 1 || date.wMonth > 12 || date.wDay < 1 || date.wDay > 31 || date.wHour > 23
            || date.wMinute > 59 || date.wSecond > 59))
        return {};
    struct tm local{};
    if (!LocalCalendarTime(date, &local))
        return {};
    // "%y/%m/%d %H:%M:%S": six two-digit fields (every field of a local
    // time is below 100), without the C library's locale machinery.
    const int fields[6] = {(local.tm_year % 100 + 100) % 100, local.tm_mon + 1, local.tm_mday,
                           local.tm_hour, local.tm_min, local.tm_sec};
    static constexpr char16_t kSeparators[6] = {0, u'/', u'/', u' ', u':', u':'};
    std::u16string text;
    text.reserve(17);
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            text += kSeparators[i];
        text += static_cast<char16_t>(u'0' + fields[i] / 10 % 10);
        text += static_cast<char16_t>(u'0' + fields[i] % 10);
    }
    return text;
}

// ---------------------------------------------------------------------------

CModelDataBase::~CModelDataBase() = default;

size_t CModelDataBase::GetImageSize() const
{
    switch (m_typeCode) {
    case TX_PX400: return PX400_IMAGE_SIZE;
    case TX_PX200: return PX200_IMAGE_SIZE;
    default: return PX600_IMAGE_SIZE;
    }
}

// --- PX400 and PX200 ------------------------------------------------------

void CModelDataSource::GetTransmitterName(char16_t out[9])
{
    GetTransmitterNameLE(GetImage() + m_txNameOffset, out);
}

void CModelDataSource::InitTransmitterName(uint16_t typeCode)
{
    WriteTransmitterNameLE(GetImage() + m_txNameOffset, typeCode);
}

void CModelDataSource::SetTransmitterName(const uint8_t* bytes16)
{
    std::memcpy(GetImage() + m_txNameOffset, bytes16, 2 * TX_NAME_CHARS);
}

const char16_t* CModelDataSource::GetModelName()
{
    ReadLE16Text(GetImage() + m_nameOffset, m_nameChars, m_name);
    return m_name;
}

void CModelDataSource::SetModelName(const char16_t* name)
{
    std::memset(GetImage() + m_nameOffset, 0, 2 * m_nameChars);
    WriteLE16Text(GetImage() + m_nameOffset, m_nameChars, name);
}

// --- PX400 -----------------------------------------------------------------

CModelDataPX400::CModelDataPX400()
    : CModelDataSource(TX_PX400, PX400_TX_NAME, PX400_MODEL_NAME, PX400_MODEL_NAME_CHARS)
{
    std::memset(m_image, 0, sizeof(m_image));
}

uint16_t CModelDataPX400::GetModelType()
{
    if (m_image[PX400_HELI_FLAG] == 1)
        return MODEL_HELICOPTER;
    switch (m_image[PX400_WING_TYPE] >> 6) {
    case 0: return MODEL_AIRPLANE;
    case 1: return MODEL_MOTOR_GLIDER;
    default: return MODEL_GLIDER;
    }
}

std::u16string CModelDataPX400::GetDateText()
{
    SYSTEMTIME date{};
    GetDate(&date);
    return FormatModelDate(date);
}

void CModelDataPX400::GetDate(SYSTEMTIME* out)
{
    const uint8_t* p = m_image + PX400_DATE;
    out->wYear = GetLE16(p + 0);
    out->wMonth = GetLE16(p + 2);
    out->wDayOfWeek = GetLE16(p + 4);
    out->wDay = GetLE16(p + 6);
    out->wHour = GetLE16(p + 8);
    out->wMinute = GetLE16(p + 10);
    out->wSecond = GetLE16(p + 12);
    out->wMilliseconds = GetLE16(p + 14);
}

void CModelDataPX400::StampDate(SYSTEMTIME* record)
{
    if (record)
        GetLocalTime(record);
}

void CModelDataPX400::GetVersion(VersionRecord* out)
{
    out->first = GetLE32(m_image + PX400_VERSION);
    out->second = GetLE32(m_image + PX400_VERSION + 4);
    out->third = m_image[PX400_VERSION + 8];
    out->fourth = m_image[PX400_VERSION + 9];
}

void CModelDataPX400::GetSupportedVersion(VersionRecord* out, uint16_t which)
{
    switch (which) {
    case 1: *out = {0x00010006, 2153, 1, 0x2C}; break;
    case 2: *out = {0x00010007, 2162, 1, 0x2F}; break;
    default: *out = {0x00010003, 133161, 1, 0x27}; break;
    }
}

void CModelDataPX400::PrepareConversion()
{
    VersionRecord version{};
    GetVersion(&version);
}

// --- PX200 -----------------------------------------------------------------

namespace {
void SupportedVersionPX200PX600(VersionRecord* out, uint16_t which)
{
    switch (which) {
    case 1: *out = {0x00020000, 1101, 0, 0}; break;
    case 2: *out = {0x00030000, 1127, 0, 0}; break;
    default: *out = {0x00010006, 971, 0, 0}; break;
    }
}
} // namespace

CModelDataPX200::CModelDataPX200()
    : CModelDataSource(TX_PX200, PX200_TX_NAME, PX200_MODEL_NAME, PX200_MODEL_NAME_CHARS)
{
    std::memset(m_image, 0, sizeof(m_image));
}

void CModelDataPX200::SetModelName(const char16_t* name)
{
    CModelDataSource::SetModelName(name);
    // The same name in the transmitter's own character set, 11 characters.
    char16_t first[PX200_TX_MODEL_NAME_CHARS] = {};
    const size_t n = name ? BoundedLength(name, PX200_TX_MODEL_NAME_CHARS) : 0;
    std::copy(name, name + n, first);
    std::memset(m_image + PX200_TX_MODEL_NAME, 0, PX200_TX_MODEL_NAME_CHARS);
    UnicodeToTxChar(first, m_image + PX200_TX_MODEL_NAME, PX200_TX_MODEL_NAME_CHARS);
}

uint16_t CModelDataPX200::GetModelType()
{
    const uint8_t stored = m_image[PX200_MODEL_TYPE];
    return stored == 3 ? static_cast<uint16_t>(MODEL_MULTICOPTER) : stored;
}

void CModelDataPX200::GetDate(SYSTEMTIME* out)
{
    *out = SYSTEMTIME{};
}

void CModelDataPX200::GetVersion(VersionRecord* out)
{
    out->first = 0;
    out->second = GetBE16(m_image + PX200_VERSION);
    out->third = 0;
    out->fourth = 0;
}

void CModelDataPX200::GetSupportedVersion(VersionRecord* out, uint16_t which)
{
    SupportedVersionPX200PX600(out, which);
}

void CModelDataPX200::PrepareConversion()
{
    VersionRecord version{};
    GetVersion(&version);
}

// --- PX600 -----------------------------------------------------------------

CModelDataPX600::CModelDataPX600(CConvertHW* hardwareTable)
    : CModelDataBase(TX_PX600), m_hardwareTable(hardwareTable ? hardwareTable : &TheConvertHW())
{
    std::memset(m_image, 0, sizeof(m_image));
}

void CModelDataPX600::GetTransmitterName(char16_t out[9])
{
    TxCharToUnicodeZ(m_image + PX600_TX_NAME, out, TX_NAME_CHARS);
}

void CModelDataPX600::InitTransmitterName(uint16_t typeCode)
{
    const std::u16string_view text = TransmitterName(typeCode);
    for (size_t i = 0; i < text.size(); ++i)
        m_image[PX600_TX_NAME + i] = static_cast<uint8_t>(text[i]);
}

const char16_t* CModelDataPX600::GetModelName()
{
    for (size_t i = 0; i < PX600_MODEL_NAME_CHARS; ++i)
        m_nameBuffer[i] = GetBE16(m_image + PX600_MODEL_NAME + 2 * i);
    m_nameBuffer[PX600_MODEL_NAME_CHARS] = 0;
    return m_nameBuffer;
}

void CModelDataPX600::SetModelName(const char16_t* name)
{
    std::memset(m_image + PX600_MODEL_NAME, 0, 2 * PX600_MODEL_NAME_CHARS);
    const size_t n = name ? BoundedLength(name, PX600_MODEL_NAME_CHARS - 1) : 0;
    for (size_t i = 0; i < n; ++i)
        PutBE16(m_image + PX600_MODEL_NAME + 2 * i, name[i]);
}

uint16_t CModelDataPX600::GetModelType()
{
    const uint8_t stored = m_image[PX600_MODEL_TYPE];
    return stored == 3 ? static_cast<uint16_t>(MODEL_MULTICOPTER) : stored;
}

int CModelDataPX600::SetModelType(uint16_t modelType)
{
    uint16_t stored = modelType;
    if (modelType == MODEL_MOTOR_GLIDER)
        stored = MODEL_GLIDER;
    else if (modelType == MODEL_MULTICOPTER)
        stored = 3;
    m_image[PX600_MODEL_TYPE] = static_cast<uint8_t>(stored);
    return stored;
}

std::u16string CModelDataPX600::GetDateText()
{
    SYSTEMTIME date{};
    GetDate(&date);
    return FormatModelDate(date);
}

void CModelDataPX600::GetDate(SYSTEMTIME* out)
{
    const uint8_t* p = m_image + PX600_DATE;
    *out = SYSTEMTIME{};
    out->wYear = static_cast<uint16_t>(p[0] + 2000);
    out->wMonth = p[1];
    out->wDay = p[2];
    out->wHour = p[3];
    out->wMinute = p[4];
    out->wSecond = p[5];
}

void CModelDataPX600::StampDate(SYSTEMTIME*)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    uint8_t* p = m_image + PX600_DATE;
    p[0] = static_cast<uint8_t>(now.wYear % 100);
    p[1] = static_cast<uint8_t>(now.wMonth);
    p[2] = static_cast<uint8_t>(now.wDay);
    p[3] = static_cast<uint8_t>(now.wHour);
    p[4] = static_cast<uint8_t>(now.wMinute);
    p[5] = static_cast<uint8_t>(now.wSecond);
}

void CModelDataPX600::GetSupportedVersion(VersionRecord* out, uint16_t which)
{
    SupportedVersionPX200PX600(out, which);
}

void CModelDataPX600::UpdateChecksum()
{
    uint32_t sum = 0;
    for (size_t i = 0; i < PX600_CHECKSUM; ++i)
        sum += m_image[i];
    PutBE32(m_image + PX600_CHECKSUM, sum);
}
