// Printable form of the switch pass's change reports; every text comes from
// the string table.
#include "app/SwitchReport.h"

#include <iterator>

#include "app/Strings.h"
#include "model/ConvertHW.h"
#include "model/SwitchFields.h"

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

// The text of each kind, in the order of switchfields::Kind.
constexpr unsigned kKindIds[] = {IDS_KIND_RANGE, IDS_KIND_RANGE, IDS_KIND_RESET,
                                 IDS_KIND_SWITCH, IDS_KIND_DIRECT, IDS_KIND_MASKED};
static_assert(std::size(kKindIds) == size_t(switchfields::Kind::Masked) + 1);

}  // namespace

std::u16string DescribeSwitchChange(const CModelDataPX600::SwitchChange& change)
{
    const int width = change.width == 3 ? 3 : 1;
    const std::u16string kind = LoadString(kKindIds[size_t(change.kind)]);
    const std::u16string before = Value(change.before, width);
    const std::u16string after = Value(change.after, width);
    const px600::Place place = px600::PlaceOf(px600::ImageOffset(change.condition, change.offset));
    const long long offset = place.offset;
    if (place.condition < 0)
        return FormatString(IDS_CHANGE_MODEL_WIDE, {offset, kind, before, after});
    // Pilots count conditions from 1.
    return FormatString(IDS_CHANGE_CONDITION,
                        {static_cast<long long>(place.condition) + 1, offset, kind, before, after});
}
