// Printable form of the switch pass's change reports; every text comes from
// the string table.
#include "model/SwitchReport.h"

#include <cstring>

#include "model/ConvertHW.h"
#include "platform/Strings.h"

namespace {

enum : unsigned {
    IDS_CHANGE_MODEL_WIDE = 1500,  // offset, kind, before, after
    IDS_CHANGE_CONDITION = 1501,   // condition, offset, kind, before, after
    IDS_VALUE_FIELD = 1502,        // control name, raw byte
    IDS_VALUE_RANGE = 1503,        // control name, raw byte, first, second
    IDS_UNNAMED_CODE = 1504,       // code
    IDS_KIND_RANGE = 1510,
    IDS_KIND_RESET = 1511,
    IDS_KIND_SWITCH = 1512,
    IDS_KIND_DIRECT = 1513,
    IDS_KIND_MASKED = 1514,
};

// The PX400 names every control code any of the three types uses, so its
// names serve for source and target values alike.
constexpr int kNamingType = 0;

std::u16string ControlName(uint8_t controlByte)
{
    if (controlByte == HW_NONE)
        return LoadString(GetHardwareNameId(kNamingType, HW_NONE));
    const uint8_t code = controlByte & 0x3F;
    const unsigned id = GetHardwareNameId(kNamingType, code);
    if (id == GetHardwareNameId(kNamingType, HW_NONE))
        return FormatString(IDS_UNNAMED_CODE, {static_cast<long long>(code)});
    return LoadString(id);
}

std::u16string Value(const uint8_t* bytes, int width)
{
    if (width == 3) {
        return FormatString(IDS_VALUE_RANGE, {ControlName(bytes[0]), static_cast<long long>(bytes[0]),
                                              static_cast<long long>(static_cast<int8_t>(bytes[1])),
                                              static_cast<long long>(static_cast<int8_t>(bytes[2]))});
    }
    return FormatString(IDS_VALUE_FIELD, {ControlName(bytes[0]), static_cast<long long>(bytes[0])});
}

unsigned KindId(const char* kind)
{
    if (!kind)
        return IDS_KIND_SWITCH;
    if (std::strcmp(kind, "range") == 0 || std::strcmp(kind, "range*") == 0)
        return IDS_KIND_RANGE;
    if (std::strcmp(kind, "reset") == 0)
        return IDS_KIND_RESET;
    if (std::strcmp(kind, "direct") == 0)
        return IDS_KIND_DIRECT;
    if (std::strcmp(kind, "masked") == 0)
        return IDS_KIND_MASKED;
    return IDS_KIND_SWITCH;
}

}  // namespace

std::u16string DescribeSwitchChange(const CModelDataPX600::SwitchChange& change)
{
    const int width = change.width == 3 ? 3 : 1;
    const std::u16string kind = LoadString(KindId(change.kind));
    const std::u16string before = Value(change.before, width);
    const std::u16string after = Value(change.after, width);
    const long long offset = change.offset;
    if (change.condition < 0)
        return FormatString(IDS_CHANGE_MODEL_WIDE, {offset, kind, before, after});
    // Pilots count conditions from 1.
    return FormatString(IDS_CHANGE_CONDITION,
                        {static_cast<long long>(change.condition) + 1, offset, kind, before, after});
}
