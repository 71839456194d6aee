// The PX600 switch pass: after a conversion has filled the image, every field
// that names a control is made to name a control the PX600 has, through the
// hardware switch table when the user edited it and by fixed rules otherwise.
#include <cstring>

#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "model/SwitchFields.h"

using switchfields::Field;
using switchfields::Kind;

namespace {

constexpr uint8_t kCodeMask = 0x3F;
constexpr uint8_t kBit6 = 0x40;
constexpr uint8_t kBit7 = 0x80;

// Codes 0x30..0x3E are never looked up: the transmitter keeps them as they are.
bool IsReservedCode(uint8_t code) { return code >= 0x30 && code <= 0x3E; }

// Signed 8-bit arithmetic on positions; results wrap modulo 256.
int8_t AsSigned(uint8_t b) { return static_cast<int8_t>(b); }
uint8_t FromInt(int v) { return static_cast<uint8_t>(v & 0xFF); }

}  // namespace

bool CModelDataPX600::TableInUse() const
{
    return m_hardwareTable != nullptr && m_hardwareTable->m_inUse != 0;
}

int CModelDataPX600::IsUnsupportedControl(uint8_t code)
{
    if (IsReservedCode(code))
        return 0;
    if (TableInUse())
        return 1;
    if (m_fromPX200 == 1)
        return 0;
    // RST, LST, CD-SW and CD exist only on the PX400.
    return code == 10 || code == 17 || code == 19 || code == 26 ? 1 : 0;
}

int CModelDataPX600::NeedsSwitchTable(uint8_t field)
{
    if (IsReservedCode(field & kCodeMask))
        return 0;
    return TableInUse() ? 1 : 0;
}

int CModelDataPX600::IsUnsupportedControlOfRange(const uint8_t* record)
{
    return IsUnsupportedControl(record[0] & kCodeMask);
}

int CModelDataPX600::IsUnsupportedControlOfField(uint8_t field)
{
    return IsUnsupportedControl(field);
}

int CModelDataPX600::IsProportionalControl(uint8_t code)
{
    switch (code) {
    case 0: case 1: case 2: case 3:       // sticks
    case 8: case 9: case 16: case 18:     // knobs and sliders
    case 20: case 21: case 22: case 23:   // trims
    case 24: case 25:
        return 1;
    default:
        return 0;
    }
}

void CModelDataPX600::ResetSwitchRange(uint8_t* record)
{
    std::memcpy(record, px600::kNoSwitchRange, sizeof px600::kNoSwitchRange);
}

void CModelDataPX600::ConvertSwitch(uint8_t* field)
{
    if (IsUnsupportedControlOfRange(field) == 0)
        return;
    uint8_t target;
    if (TableInUse() && m_hardwareTable->LookUp(*field & kCodeMask, target))
        m_hardwareTable->TranslateControl(field);
    else
        *field = HW_NONE;
}

void CModelDataPX600::ConvertSwitchRange(uint8_t* record)
{
    if (record[0] == HW_NONE)
        return;
    if (IsUnsupportedControlOfRange(record) == 1) {
        uint8_t target;
        if (TableInUse() && m_hardwareTable->LookUp(record[0] & kCodeMask, target)) {
            m_hardwareTable->TranslateControl(&record[0]);
        } else {
            ResetSwitchRange(record);
            return;
        }
    }
    if (m_fromPX200 == 1)
        return;

    uint8_t& control = record[0];
    const int first = AsSigned(record[1]);
    const int second = AsSigned(record[2]);

    if (IsProportionalControl(control & kCodeMask) == 1) {
        // A proportional control switches where its travel crosses a point:
        // bring the two positions into the order this transmitter expects.
        if (first < second) {
            record[1] = 5;
            record[2] = 0xFB;
        } else if (control & kBit7) {
            control = static_cast<uint8_t>((control & 0x7F) ^ kBit6);
            const int magnitude = first < 0 ? -first : first;
            record[2] = FromInt(magnitude);
            record[1] = FromInt(-magnitude);
        } else if (control & kBit6) {
            record[1] = FromInt(second + 1);
        } else {
            record[2] = FromInt(first - 1);
        }
        return;
    }

    // A switch: move the positions that sit exactly on a boundary just inside it.
    const uint8_t p1 = record[1];
    const uint8_t p2 = record[2];
    const bool bit6 = (control & kBit6) != 0;
    if (p1 == 0x20 && p2 == 0x40 && !bit6) {
        record[1] = 0x1F;
    } else if (p1 == 0xC0 && p2 == 0xE0 && !bit6) {
        record[2] = 0xE1;
    } else if (p1 == 0xE0 && p2 == 0x20 && bit6) {
        record[1] = 0xE1;
        record[2] = 0x1F;
    }
}

void CModelDataPX600::ConvertDirectField(uint8_t* field)
{
    if (IsUnsupportedControlOfField(*field) != 1)
        return;
    uint8_t target;
    if (TableInUse() && m_hardwareTable->LookUp(*field, target))
        *field = target;
    else
        *field = HW_NONE;
}

void CModelDataPX600::ConvertMaskedField(uint8_t* field)
{
    if (NeedsSwitchTable(*field) != 1)
        return;
    uint8_t target;
    if (m_hardwareTable->LookUp(*field & kCodeMask, target)) {
        // CD-SW is kept in these fields as 0x3F.
        const uint8_t code = target == 19 ? 0x3F : static_cast<uint8_t>(target & kCodeMask);
        *field = static_cast<uint8_t>((*field & (kBit6 | kBit7)) | code);
    } else {
        *field = HW_NONE;
    }
}

void CModelDataPX600::VisitSwitchField(uint8_t* block, int condition, uint32_t offset, Kind k)
{
    uint8_t* p = block + offset;
    const int width = switchfields::Width(k);

    SwitchChange change{};
    std::memcpy(change.before, p, static_cast<size_t>(width));

    switch (k) {
    case Kind::Range:
        ConvertSwitchRange(p);
        break;
    case Kind::RangeStar:
        if (IsReservedCode(p[0] & kCodeMask))
            ResetSwitchRange(p);
        else
            ConvertSwitchRange(p);
        break;
    case Kind::Reset:
        ResetSwitchRange(p);
        break;
    case Kind::Switch:
        ConvertSwitch(p);
        break;
    case Kind::Direct:
        ConvertDirectField(p);
        break;
    case Kind::Masked:
        ConvertMaskedField(p);
        break;
    }

    if (m_switchObserver && std::memcmp(change.before, p, static_cast<size_t>(width)) != 0) {
        change.condition = condition;
        change.offset = offset;
        change.kind = k;
        std::memcpy(change.after, p, static_cast<size_t>(width));
        change.width = static_cast<uint8_t>(width);
        m_switchObserver(change, m_switchObserverContext);
    }
}

void CModelDataPX600::ConvertSwitches()
{
    switchfields::ForEachField(switchfields::kModelWide, [this](const Field& f) {
        VisitSwitchField(m_image, -1, f.offset, f.kind);
    });
    for (int c = 0; c < px600::kConditions; ++c)
        ConvertConditionSwitches(c);
}

void CModelDataPX600::ConvertConditionSwitches(int condition)
{
    if (condition < 0 || condition >= px600::kConditions)
        return;
    uint8_t* block = m_image + px600::kConditionBlock.At(condition);
    auto visit = [this, block, condition](const Field& f) {
        if (f.gate.Open(block[f.flagsOffset]))
            VisitSwitchField(block, condition, f.offset, f.kind);
    };
    switchfields::ForEachField(switchfields::kConditionCommon, visit);
    if (GetModelType() == MODEL_HELICOPTER)
        switchfields::ForEachField(switchfields::kTailHeli, visit);
    else
        switchfields::ForEachField(switchfields::kTailPlane, visit);
}
