// In-memory model data: one object per model data file, of the class of its
// transmitter type, holding the file's bytes (the image) and the operations the
// rest of the program reads, edits and converts models through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/PX600Layout.h"
#include "platform/ByteOrder.h"
#include "platform/SystemTime.h"

// Transmitter type codes.
enum : uint16_t {
    TX_PX400 = 0,
    TX_PX200 = 1,
    TX_PX600 = 2,
    TX_UNKNOWN = 255,
};

// Model type codes; the display text of code k is string 1101 + k.
enum : uint16_t {
    MODEL_AIRPLANE = 0,
    MODEL_HELICOPTER = 1,
    MODEL_GLIDER = 2,
    MODEL_MOTOR_GLIDER = 3,
    MODEL_MULTICOPTER = 4,
};

constexpr size_t PX400_IMAGE_SIZE = 196608;
constexpr size_t PX200_IMAGE_SIZE = 6620;  // buffer; the model data is 6618 bytes
constexpr size_t PX200_DATA_SIZE = 6618;
constexpr size_t PX600_IMAGE_SIZE = px600::kImageSize;

constexpr size_t PX400_HEADER_SIZE = 188;  // what a model list reads of a PX400 file
constexpr size_t PX200_HEADER_SIZE = 88;
constexpr size_t PX600_HEADER_SIZE = px600::kHeader.size;

// The 8-character transmitter name the files keep for a type code ("PX400   ");
// empty for a code without one.
std::u16string_view TransmitterName(uint16_t typeCode);
// The type a file's transmitter name names: the first of the three names that
// begins with text (so an empty text names the PX400); TX_UNKNOWN for none.
uint16_t TransmitterTypeOfName(std::u16string_view text);

// The transmitter 8-bit character set. Both stop at the first 0 and fill every
// later position with 0.
void TxCharToUnicode(const uint8_t* in, char16_t* out, size_t n);
// The same, then a terminator at out[n].
void TxCharToUnicodeZ(const uint8_t* in, char16_t* out, size_t n);
void UnicodeToTxChar(const char16_t* in, uint8_t* out, size_t n);

struct VersionRecord {
    uint32_t first;
    uint32_t second;
    uint8_t third;
    uint8_t fourth;
};

class CConvertHW;
namespace switchfields {
enum class Kind : uint8_t;
}

class CModelDataBase {
public:
    virtual ~CModelDataBase();

    // Text of 8 characters and a terminator.
    virtual void GetTransmitterName(char16_t out[9]) = 0;
    virtual void InitTransmitterName(uint16_t typeCode) = 0;
    virtual void SetTransmitterName(const uint8_t* bytes16) = 0;
    // The model name as a 0-terminated text; valid until the next call.
    virtual const char16_t* GetModelName() = 0;
    virtual void SetModelName(const char16_t* name) = 0;
    virtual uint16_t GetModelType() = 0;
    virtual int SetModelType(uint16_t modelType) = 0;
    virtual std::u16string GetDateText() = 0;
    virtual void GetDate(SYSTEMTIME* out) = 0;
    virtual void StampDate(SYSTEMTIME* record) = 0;
    virtual void GetVersion(VersionRecord* out) = 0;
    virtual void GetSupportedVersion(VersionRecord* out, uint16_t which) = 0;
    virtual void ConvertSwitches() = 0;
    virtual int IsUnsupportedControl(uint8_t code) = 0;
    virtual int NeedsSwitchTable(uint8_t field) = 0;
    virtual int IsUnsupportedControlOfRange(const uint8_t* record) = 0;
    virtual int IsUnsupportedControlOfField(uint8_t field) = 0;
    virtual void ConvertConditionSwitches(int condition) = 0;
    virtual int IsProportionalControl(uint8_t code) = 0;
    virtual void ResetSwitchRange(uint8_t* record) = 0;
    virtual void ConvertSwitch(uint8_t* field) = 0;
    virtual void ConvertSwitchRange(uint8_t* record) = 0;
    virtual void UpdateChecksum() = 0;
    virtual void PrepareConversion() = 0;
    virtual uint8_t* GetImage() = 0;
    virtual uint8_t* GetReadBuffer() = 0;
    virtual uint8_t CheckVersion(int sizeGood) = 0;

    int GetDelayWarning() const { return m_delayWarning; }
    uint16_t GetTypeCode() const { return m_typeCode; }
    // Size of the image buffer of this class.
    size_t GetImageSize() const;

protected:
    explicit CModelDataBase(uint16_t typeCode) : m_typeCode(typeCode) {}

    uint16_t m_typeCode;
    uint16_t m_fromPX200 = 0;
    int32_t m_delayWarning = 0;
};

// Date text of a record: local time formatted "%y/%m/%d %H:%M:%S"; empty when
// a field is out of range or the local time conversion fails.
std::u16string FormatModelDate(const SYSTEMTIME& date);

// What the two source classes share: a source is only read and converted
// from, so every operation that edits or seals a PX600 image does nothing.
class CModelDataSource : public CModelDataBase {
public:
    // Both keep the transmitter name and the model name as UTF-16LE fields.
    void GetTransmitterName(char16_t out[9]) override;
    void InitTransmitterName(uint16_t typeCode) override;
    void SetTransmitterName(const uint8_t* bytes16) override;
    const char16_t* GetModelName() override;
    void SetModelName(const char16_t* name) override;
    void ConvertSwitches() override {}
    int IsUnsupportedControl(uint8_t) override { return 0; }
    int NeedsSwitchTable(uint8_t) override { return 0; }
    int IsUnsupportedControlOfRange(const uint8_t*) override { return 0; }
    int IsUnsupportedControlOfField(uint8_t) override { return 0; }
    void ConvertConditionSwitches(int) override {}
    int IsProportionalControl(uint8_t) override { return 0; }
    void ResetSwitchRange(uint8_t*) override {}
    void ConvertSwitch(uint8_t*) override {}
    void ConvertSwitchRange(uint8_t*) override {}
    void UpdateChecksum() override {}
    uint8_t CheckVersion(int) override { return 0; }

protected:
    CModelDataSource(uint16_t typeCode, size_t txNameOffset, size_t nameOffset, size_t nameChars)
        : CModelDataBase(typeCode), m_txNameOffset(txNameOffset), m_nameOffset(nameOffset), m_nameChars(nameChars)
    {
    }

private:
    static constexpr size_t kMaxNameChars = 33;
    size_t m_txNameOffset;
    size_t m_nameOffset;
    size_t m_nameChars;  // at most kMaxNameChars
    char16_t m_name[kMaxNameChars + 1] = {};
};

class CModelDataPX400 final : public CModelDataSource {
public:
    CModelDataPX400();
    uint16_t GetModelType() override;
    int SetModelType(uint16_t) override { return 0; }
    std::u16string GetDateText() override;
    void GetDate(SYSTEMTIME* out) override;
    void StampDate(SYSTEMTIME* record) override;
    void GetVersion(VersionRecord* out) override;
    void GetSupportedVersion(VersionRecord* out, uint16_t which) override;
    void PrepareConversion() override;
    uint8_t* GetImage() override { return m_image; }
    uint8_t* GetReadBuffer() override { return m_image; }

private:
    uint8_t m_image[PX400_IMAGE_SIZE];
};

class CModelDataPX200 final : public CModelDataSource {
public:
    CModelDataPX200();
    void SetModelName(const char16_t* name) override;
    uint16_t GetModelType() override;
    int SetModelType(uint16_t) override { return 0; }
    std::u16string GetDateText() override { return {}; }
    void GetDate(SYSTEMTIME* out) override;
    void StampDate(SYSTEMTIME*) override {}
    void GetVersion(VersionRecord* out) override;
    void GetSupportedVersion(VersionRecord* out, uint16_t which) override;
    void PrepareConversion() override;
    uint8_t* GetImage() override { return m_image; }
    uint8_t* GetReadBuffer() override { return m_image; }

private:
    uint8_t m_image[PX200_IMAGE_SIZE];
};

class CModelDataPX600 final : public CModelDataBase {
public:
    // The hardware switch table the switch pass consults; the program's one
    // table unless a test passes its own.
    explicit CModelDataPX600(CConvertHW* hardwareTable = nullptr);
    void GetTransmitterName(char16_t out[9]) override;
    void InitTransmitterName(uint16_t typeCode) override;
    void SetTransmitterName(const uint8_t*) override {}
    const char16_t* GetModelName() override;
    void SetModelName(const char16_t* name) override;
    uint16_t GetModelType() override;
    int SetModelType(uint16_t modelType) override;
    std::u16string GetDateText() override;
    void GetDate(SYSTEMTIME* out) override;
    void StampDate(SYSTEMTIME* record) override;
    void GetVersion(VersionRecord*) override {}
    void GetSupportedVersion(VersionRecord* out, uint16_t which) override;
    void ConvertSwitches() override;
    int IsUnsupportedControl(uint8_t code) override;
    int NeedsSwitchTable(uint8_t field) override;
    int IsUnsupportedControlOfRange(const uint8_t* record) override;
    int IsUnsupportedControlOfField(uint8_t field) override;
    void ConvertConditionSwitches(int condition) override;
    int IsProportionalControl(uint8_t code) override;
    void ResetSwitchRange(uint8_t* record) override;
    void ConvertSwitch(uint8_t* field) override;
    void ConvertSwitchRange(uint8_t* record) override;
    void UpdateChecksum() override;
    void PrepareConversion() override {}
    uint8_t* GetImage() override { return m_image; }
    uint8_t* GetReadBuffer() override { return m_image; }
    uint8_t CheckVersion(int) override { return 0; }

    // The delay check run at the end of both builds (DelayCheck.cpp); sets
    // m_delayWarning.
    void CheckDelayRecords();

    // Observer of the switch pass: told about every byte it changes.
    struct SwitchChange {
        int condition;        // -1 for a model-wide field, else 0..7
        uint32_t offset;      // block offset (condition block) or image offset
        switchfields::Kind kind;
        uint8_t before[3];
        uint8_t after[3];
        uint8_t width;        // 1 for a one-byte field, 3 for a range record
    };
    using SwitchObserver = void (*)(const SwitchChange& change, void* context);
    void SetSwitchObserver(SwitchObserver observer, void* context)
    {
        m_switchObserver = observer;
        m_switchObserverContext = context;
    }

    // The source kind the switch pass converts for (the conversions set it).
    int IsFromPX200() const { return m_fromPX200; }
    void SetFromPX200(int fromPX200) { m_fromPX200 = static_cast<uint16_t>(fromPX200 ? 1 : 0); }
    CConvertHW* HardwareTable() const { return m_hardwareTable; }

private:
    // Switch pass helpers (SwitchPass.cpp).
    bool TableInUse() const;
    void ConvertDirectField(uint8_t* field);
    void ConvertMaskedField(uint8_t* field);
    void VisitSwitchField(uint8_t* block, int condition, uint32_t offset, switchfields::Kind kind);

    char16_t m_nameBuffer[17] = {};
    CConvertHW* m_hardwareTable;
    SwitchObserver m_switchObserver = nullptr;
    void* m_switchObserverContext = nullptr;
    uint8_t m_image[PX600_IMAGE_SIZE];
};
