// Printable form of the switch pass's change reports; every text comes from
// the string table.
#include "app/SwitchReport.h"

#include <algorithm>
#include <iterator>
#include <vector>

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
    IDS_SUMMARY_HEADING = 1520,
    IDS_SUMMARY_NONE = 1521,       // control, field count
    IDS_SUMMARY_MOVED = 1522,      // control, new control, field count
    IDS_SUMMARY_POSITIONS = 1523,  // control, field count
    IDS_FIELDS_HEADING = 1524,
};

// The control a field's first byte names, without its mode bits; HW_NONE for
// no control (0xFF, or the low bits all set as a cleared masked field holds).
uint8_t FieldControl(uint8_t controlByte)
{
    const uint8_t code = controlByte & 0x3F;
    return controlByte == HW_NONE || code == 0x3F ? HW_NONE : code;
}

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

std::u16string SwitchReportText(const CModelDataPX600::SwitchChange* changes, size_t count)
{
    if (count == 0)
        return {};
    // One summary entry per (source control, new control), in order of first appearance.
    struct Entry {
        uint8_t from;
        uint8_t to;
        long long fields;
    };
    std::vector<Entry> entries;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t from = FieldControl(changes[i].before[0]);
        const uint8_t to = FieldControl(changes[i].after[0]);
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const Entry& e) { return e.from == from && e.to == to; });
        if (it == entries.end())
            entries.push_back({from, to, 1});
        else
            ++it->fields;
    }
    std::u16string text = LoadString(IDS_SUMMARY_HEADING) + u"\n";
    for (const Entry& e : entries) {
        // A field without a control before and after operates nothing.
        if (e.from == HW_NONE && e.to == HW_NONE)
            continue;
        const std::u16string from = ControlName(e.from);
        if (e.to == e.from)
            text += FormatString(IDS_SUMMARY_POSITIONS, {from, e.fields});
        else if (e.to == HW_NONE)
            text += FormatString(IDS_SUMMARY_NONE, {from, e.fields});
        else
            text += FormatString(IDS_SUMMARY_MOVED, {from, ControlName(e.to), e.fields});
        text += u"\n";
    }
    text += u"\n" + LoadString(IDS_FIELDS_HEADING) + u"\n";
    for (size_t i = 0; i < count; ++i)
        text += DescribeSwitchChange(changes[i]) + u"\n";
    return text;
}
