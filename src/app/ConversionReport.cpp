// The conversion report: the switch pass's changes and the facts of the
// conversion sorted into what a pilot must check, what changed as expected
// and what is for his information. Places are named from the PX600 layout.
#include "app/ConversionReport.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app/CurveReport.h"
#include "app/StringIds.h"
#include "app/Strings.h"
#include "app/SwitchReport.h"
#include "model/SwitchFields.h"
#include "platform/ByteOrder.h"
#include "platform/Text.h"

namespace {

enum : unsigned {
    IDS_DELAY_TRIM_MIX = 702,
    IDS_DELAY_AIR_BRAKE = 703,
    IDS_SHORT_MODEL = 709,
    IDS_UNNAMED_CODE = 1504,  // code
    IDS_SHARED = 1600,        // source, target, the others
    IDS_REPORT_TITLE = 1773,  // model name
    IDS_NOTHING_TO_REPORT = 1793,
    IDS_MUST_CHECK = 1750,
    IDS_EXPECTED = 1751,
    IDS_INFORMATION = 1752,
    IDS_WHERE_SETTINGS = 1753,
    IDS_WHERE_MODEL = 1754,
    IDS_WHERE_CONDITION = 1755,        // number, name
    IDS_WHERE_CONDITION_BARE = 1756,   // number
    IDS_WHAT = 1757,                   // before, after
    IDS_INTERNAL_CODE = 1758,
    IDS_TEXT_NO_CONTROL_CODE = 1759,   // count
    IDS_TEXT_NONE = 1760,
    IDS_TEXT_MOVED = 1761,
    IDS_TEXT_MODEL_TYPE = 1763,        // type, stored type
    IDS_TEXT_POSITIONS = 1766,         // count
    IDS_TEXT_RESET = 1767,             // count, controls
    IDS_TEXT_INTERNAL = 1768,          // count
    IDS_TEXT_KEPT = 1769,              // controls
    IDS_TEXT_MAPPED = 1770,            // control, new control
    IDS_TEXT_MAPPED_NONE = 1771,       // control
    IDS_HEADING_COUNT = 1772,          // heading, count
    IDS_LINE_RECORDS = 1797,           // what, records, text
    IDS_LINE = 1798,                   // what, text
    IDS_RECORD_SWITCH_RANGE = 1780,
    IDS_RECORD_CONTROL = 1781,
    IDS_RECORD_SWITCH_PAIR = 1782,
    IDS_RECORD_MODE_CONTROL = 1783,
    IDS_RECORD_TIMER = 1784,
    IDS_RECORD_BYTE_TABLE = 1785,
    IDS_RECORD_DUAL_RATE = 1786,
    IDS_RECORD_CURVE_RECORD = 1787,
    IDS_RECORD_TAIL = 1788,
    IDS_RECORD_DELAY = 1789,
    IDS_BLOCK_SETTINGS = 1790,
    IDS_BLOCK_MODEL_WIDE = 1791,
    IDS_BLOCK_CONDITION = 1792,
};

// The records that hold switch fields, and the blocks as a fallback.
struct RecordText {
    const px600::Record* record;
    unsigned id;
};
const RecordText kRecordTexts[] = {
    {&px600::kSettingsRanges, IDS_RECORD_SWITCH_RANGE}, {&px600::kSettingsRanges2, IDS_RECORD_SWITCH_RANGE},
    {&px600::kSettingsRanges3, IDS_RECORD_SWITCH_RANGE}, {&px600::kSettingsRange4, IDS_RECORD_SWITCH_RANGE},
    {&px600::kSettingsRange5, IDS_RECORD_SWITCH_RANGE},  {&px600::kResetRanges, IDS_RECORD_SWITCH_RANGE},
    {&px600::kControlFields, IDS_RECORD_CONTROL},         {&px600::kSwitchPairs, IDS_RECORD_SWITCH_PAIR},
    {&px600::kModeControlFields, IDS_RECORD_MODE_CONTROL}, {&px600::kTimers, IDS_RECORD_TIMER},
    {&px600::kByteTables, IDS_RECORD_BYTE_TABLE},          {&px600::kDualRates, IDS_RECORD_DUAL_RATE},
    {&px600::kCurveRecords, IDS_RECORD_CURVE_RECORD},      {&px600::kTail, IDS_RECORD_TAIL},
    {&px600::kDelayRecords, IDS_RECORD_DELAY},             {&px600::kModelSettings, IDS_BLOCK_SETTINGS},
    {&px600::kModelWide, IDS_BLOCK_MODEL_WIDE},            {&px600::kConditionBlock, IDS_BLOCK_CONDITION},
};

unsigned RecordTextId(const px600::Record& record)
{
    for (const RecordText& t : kRecordTexts)
        if (t.record == &record)
            return t.id;
    return 0;
}

constexpr uint8_t kCodeMask = 0x3F;

// Codes 0x30..0x3E name no hardware: the PX600 keeps them for itself.
bool IsInternalCode(uint8_t controlByte)
{
    const uint8_t code = controlByte & kCodeMask;
    return controlByte != HW_NONE && code >= 0x30 && code <= 0x3E;
}

// The control a field names without its mode bits; HW_NONE for none (0xFF, or
// the low bits all set as a cleared field with mode bits holds).
uint8_t FieldControl(uint8_t controlByte)
{
    const uint8_t code = controlByte & kCodeMask;
    return controlByte == HW_NONE || code == kCodeMask ? HW_NONE : code;
}

// A code that names a control on some transmitter (the PX400 names them all).
bool NamesControl(uint8_t code)
{
    return code < HW_END && GetHardwareNameId(TX_PX400, code) != GetHardwareNameId(TX_PX400, HW_NONE);
}

// The PX400 names every code the three types use; codes that name nothing
// (11, 27, 28) show as "none" there, so they are named by number.
std::u16string ControlName(uint8_t code)
{
    if (code == HW_NONE)
        return LoadString(GetHardwareNameId(TX_PX400, HW_NONE));
    if (code >= 0x30 && code <= 0x3E)
        return LoadString(IDS_INTERNAL_CODE);
    const unsigned id = code < HW_END ? GetHardwareNameId(TX_PX400, code) : 0;
    if (id == 0 || id == GetHardwareNameId(TX_PX400, HW_NONE))
        return FormatString(IDS_UNNAMED_CODE, {static_cast<long long>(code)});
    return LoadString(id);
}

std::u16string Join(const std::vector<std::u16string>& parts, const char16_t* separator)
{
    std::u16string out;
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i ? separator : u"") + parts[i];
    return out;
}

// Condition c's name as the image stores it: up to 8 big-endian units.
std::u16string StoredConditionName(const uint8_t* image, int c)
{
    std::u16string name;
    if (!image)
        return name;
    const uint8_t* field = image + px600::kCurveSettings.At(c) + px600::kConditionName.offset;
    for (int i = 0; i < 8; ++i) {
        const char16_t unit = static_cast<char16_t>(GetBE16(field + 2 * i));
        if (!unit)
            break;
        name += unit;
    }
    // The transmitter pads short names with blanks.
    while (!name.empty() && name.back() == u' ')
        name.pop_back();
    return name;
}

std::u16string Where(int condition, const std::u16string& name, bool modelSettings)
{
    if (condition < 0)
        return LoadString(modelSettings ? IDS_WHERE_SETTINGS : IDS_WHERE_MODEL);
    return ConditionPlaceText(condition, name);
}

// Builds the findings out of the switch changes: one per source control,
// condition and outcome, in the order of the pass.
class Builder {
public:
    explicit Builder(const ConversionFacts& facts) : m_facts(facts) {}

    ConversionReport Build();

private:
    Finding& Entry(Severity severity, FindingKind kind, int condition, uint8_t before, uint8_t after);
    void AddChange(const CModelDataPX600::SwitchChange& change);
    void AddMapping();
    void AddShared();
    void AddCurves();

    const ConversionFacts& m_facts;
    std::vector<Finding> m_entries;
    std::vector<uint8_t> m_resetControls;
    std::vector<uint8_t> m_movedSources;
};

Finding& Builder::Entry(Severity severity, FindingKind kind, int condition, uint8_t before, uint8_t after)
{
    for (Finding& f : m_entries)
        if (f.kind == kind && f.condition == condition && f.before == before && f.after == after)
            return f;
    Finding f;
    f.severity = severity;
    f.kind = kind;
    f.condition = condition;
    f.before = before;
    f.after = after;
    if (condition >= 0)
        f.conditionName = StoredConditionName(m_facts.image, condition);
    m_entries.push_back(std::move(f));
    return m_entries.back();
}

void Builder::AddChange(const CModelDataPX600::SwitchChange& change)
{
    const bool range = change.width == 3;
    // A record whose control byte and positions are all zero was never set up.
    if (range && change.before[0] == 0 && change.before[1] == 0 && change.before[2] == 0)
        return;
    const uint8_t from = FieldControl(change.before[0]);
    const uint8_t to = FieldControl(change.after[0]);
    if (from == HW_NONE)
        return;
    const uint32_t imageOffset = px600::ImageOffset(change.condition, change.offset);
    const px600::Place place = px600::PlaceOf(
        imageOffset, m_facts.targetModelType == MODEL_HELICOPTER ? px600::Form::Heli : px600::Form::Plane);

    Finding* f;
    if (change.kind == switchfields::Kind::Reset) {
        f = &Entry(Severity::Information, FindingKind::ResetRecords, -1, HW_NONE, HW_NONE);
        const uint8_t shown = IsInternalCode(change.before[0]) ? uint8_t(change.before[0] & kCodeMask) : from;
        if (std::find(m_resetControls.begin(), m_resetControls.end(), shown) == m_resetControls.end())
            m_resetControls.push_back(shown);
    } else if (IsInternalCode(change.before[0])) {
        f = &Entry(Severity::Information, FindingKind::InternalCodes, change.condition, HW_NONE, HW_NONE);
    } else if (!NamesControl(from)) {
        // No transmitter has a control of that code: nothing operated it.
        f = &Entry(Severity::Information, FindingKind::NoControlCodes, -1, HW_NONE, HW_NONE);
    } else if (to == HW_NONE) {
        f = &Entry(Severity::MustCheck, FindingKind::ControlNone, change.condition, from, to);
    } else if (to != from) {
        f = &Entry(Severity::MustCheck, FindingKind::ControlMoved, change.condition, from, to);
        if (std::find(m_movedSources.begin(), m_movedSources.end(), from) == m_movedSources.end())
            m_movedSources.push_back(from);
    } else {
        f = &Entry(Severity::Expected, FindingKind::Positions, -1, from, to);
    }
    ++f->count;
    f->offsets.push_back(imageOffset);
    f->detail.push_back(DescribeSwitchChange(change));
    if (place.record) {
        const FindingRecord r{place.record, place.index};
        if (std::find(f->records.begin(), f->records.end(), r) == f->records.end())
            f->records.push_back(r);
    }
}

// PX200 models: which PX200 control the PX600 control of the same place took,
// from the hardware table when it was in use, else the built-in rule that
// every PX200 control keeps its code.
void Builder::AddMapping()
{
    if (m_facts.sourceTransmitter != TX_PX200)
        return;
    CConvertHW defaults;
    defaults.ResetRows(TX_PX200, TX_PX600);
    const CConvertHW& table = m_facts.table ? *m_facts.table : defaults;
    std::vector<std::u16string> kept;
    std::vector<Finding> changed;
    for (const HardwareRow& row : table.m_rows) {
        if (row.source == HW_END)
            continue;
        const uint8_t target = m_facts.table ? row.target : row.source;
        if (target == row.source) {
            kept.push_back(ControlName(row.source));
            continue;
        }
        Finding f;
        f.severity = Severity::Information;
        f.kind = FindingKind::Mapping;
        f.before = row.source;
        f.after = target;
        f.where = Where(-1, {}, false);
        f.what = FormatString(IDS_WHAT, {ControlName(row.source), ControlName(target)});
        f.text = target == HW_NONE ? FormatString(IDS_TEXT_MAPPED_NONE, {ControlName(row.source)})
                                   : FormatString(IDS_TEXT_MAPPED, {ControlName(row.source), ControlName(target)});
        changed.push_back(std::move(f));
    }
    // The controls that stay as they were first, in one finding.
    if (!kept.empty()) {
        Finding f;
        f.severity = Severity::Information;
        f.kind = FindingKind::Mapping;
        f.where = Where(-1, {}, false);
        f.count = static_cast<int>(kept.size());
        f.text = FormatString(IDS_TEXT_KEPT, {Join(kept, u", ")});
        m_entries.push_back(std::move(f));
    }
    for (Finding& f : changed)
        m_entries.push_back(std::move(f));
}

// A must-check finding per curve whose shape changed, and one line counting
// the curves carried over unchanged.
void Builder::AddCurves()
{
    int unchanged = 0;
    for (size_t i = 0; i < m_facts.curves.size(); ++i) {
        const CurveComparison& curve = m_facts.curves[i];
        if (!curve.Changed()) {
            ++unchanged;
            continue;
        }
        Finding f;
        f.severity = Severity::MustCheck;
        f.kind = FindingKind::Curve;
        f.condition = curve.condition;
        f.conditionName = curve.conditionName;
        f.where = Where(curve.condition, curve.conditionName, true);
        f.what = CurveRecordText(curve);
        f.percent = static_cast<int>(curve.largestDifference + 0.5);
        f.curve = static_cast<int>(i);
        f.text = CurveDifferenceText(curve);
        std::replace(f.text.begin(), f.text.end(), u'\n', u' ');
        f.offsets.push_back(px600::ImageOffset(curve.condition, curve.blockOffset));
        f.detail.push_back(CurveLine(curve));
        m_entries.push_back(std::move(f));
    }
    if (unchanged > 0) {
        Finding f;
        f.severity = Severity::Information;
        f.kind = FindingKind::Curve;
        f.where = Where(-1, {}, false);
        f.count = unchanged;
        f.text = CurvesUnchangedText(unchanged);
        m_entries.push_back(std::move(f));
    }
}

// Source controls that the table put on one PX600 control, where one of them
// was moved there in a field the model uses.
void Builder::AddShared()
{
    const CConvertHW* table = m_facts.table;
    if (!table)
        return;
    std::vector<uint8_t> targetsDone;
    for (const HardwareRow& row : table->m_rows) {
        if (row.source == HW_END || row.target == HW_NONE ||
            std::find(targetsDone.begin(), targetsDone.end(), row.target) != targetsDone.end())
            continue;
        std::vector<uint8_t> sources;
        bool used = false;
        for (const HardwareRow& other : table->m_rows) {
            if (other.source == HW_END || other.target != row.target)
                continue;
            sources.push_back(other.source);
            used = used || std::find(m_movedSources.begin(), m_movedSources.end(), other.source) != m_movedSources.end();
        }
        targetsDone.push_back(row.target);
        if (sources.size() < 2 || !used)
            continue;
        std::vector<std::u16string> others;
        for (size_t i = 1; i < sources.size(); ++i)
            others.push_back(ControlName(sources[i]));
        Finding f;
        f.severity = Severity::MustCheck;
        f.kind = FindingKind::ControlsShared;
        f.before = sources[0];
        f.after = row.target;
        f.count = static_cast<int>(sources.size());
        f.what = FormatString(IDS_WHAT, {ControlName(sources[0]) + u", " + Join(others, u", "), ControlName(row.target)});
        f.text = FormatString(IDS_SHARED, {ControlName(sources[0]), ControlName(row.target), Join(others, u", ")});
        m_entries.push_back(std::move(f));
    }
}

ConversionReport Builder::Build()
{
    for (const CModelDataPX600::SwitchChange& change : m_facts.changes)
        AddChange(change);
    AddShared();

    // The texts of the findings the changes made.
    for (Finding& f : m_entries) {
        f.where = Where(f.condition, f.conditionName, true);
        switch (f.kind) {
        case FindingKind::ControlNone:
            f.what = FormatString(IDS_WHAT, {ControlName(f.before), ControlName(f.after)});
            f.text = LoadString(IDS_TEXT_NONE);
            break;
        case FindingKind::ControlMoved:
            f.what = FormatString(IDS_WHAT, {ControlName(f.before), ControlName(f.after)});
            f.text = LoadString(IDS_TEXT_MOVED);
            break;
        case FindingKind::Positions:
            f.where = Where(-1, {}, false);
            f.what = ControlName(f.before);
            f.text = FormatString(IDS_TEXT_POSITIONS, {f.count});
            break;
        case FindingKind::NoControlCodes:
            f.where = Where(-1, {}, false);
            f.text = FormatString(IDS_TEXT_NO_CONTROL_CODE, {f.count});
            break;
        case FindingKind::ResetRecords: {
            std::vector<std::u16string> names;
            for (uint8_t c : m_resetControls)
                names.push_back(ControlName(c));
            f.where = Where(-1, {}, false);
            f.text = FormatString(IDS_TEXT_RESET, {f.count, Join(names, u", ")});
            break;
        }
        case FindingKind::InternalCodes:
            f.what = FormatString(IDS_WHAT, {LoadString(IDS_INTERNAL_CODE), ControlName(HW_NONE)});
            f.text = FormatString(IDS_TEXT_INTERNAL, {f.count});
            break;
        default:
            f.where = Where(-1, {}, false);
            break;
        }
    }

    // The facts of the whole model.
    auto whole = [this](Severity severity, FindingKind kind, std::u16string what, std::u16string text) {
        Finding f;
        f.severity = severity;
        f.kind = kind;
        f.where = Where(-1, {}, false);
        f.what = std::move(what);
        f.text = std::move(text);
        m_entries.push_back(std::move(f));
    };
    if (m_facts.sourceModelType != m_facts.targetModelType) {
        const std::u16string from = LoadString(IDS_MODEL_TYPE_BASE + m_facts.sourceModelType);
        const std::u16string to = LoadString(IDS_MODEL_TYPE_BASE + m_facts.targetModelType);
        whole(Severity::MustCheck, FindingKind::ModelType, FormatString(IDS_WHAT, {from, to}),
              FormatString(IDS_TEXT_MODEL_TYPE, {from, to}));
    }
    if (m_facts.delayWarning == IDS_DELAY_TRIM_MIX || m_facts.delayWarning == IDS_DELAY_AIR_BRAKE)
        whole(Severity::MustCheck, FindingKind::DelayNotCarried, {}, LoadString(m_facts.delayWarning));
    if (m_facts.sourceTransmitter == TX_PX200 && m_facts.sourceBytes < PX200_DATA_SIZE)
        whole(Severity::MustCheck, FindingKind::ShortModel, {},
              FormatString(IDS_SHORT_MODEL, {static_cast<long long>(m_facts.sourceBytes),
                                             static_cast<long long>(PX200_DATA_SIZE)}));
    AddMapping();
    AddCurves();

    ConversionReport report;
    for (Finding& f : m_entries)
        report.Add(std::move(f));
    report.SetCurves(m_facts.curves);
    return report;
}


const char* SeverityKey(Severity s)
{
    switch (s) {
    case Severity::MustCheck: return "must-check";
    case Severity::Expected: return "expected";
    case Severity::Information: return "information";
    }
    return "";
}

constexpr const char* kKindKeys[] = {"control-none", "control-moved", "controls-shared", "model-type",
                                     "delay-not-carried", "short-model", "positions", "reset-records",
                                     "internal-codes", "no-control-codes", "mapping", "curve"};
static_assert(std::size(kKindKeys) == size_t(FindingKind::Curve) + 1);

std::string JsonNumber(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g", v);
    return buffer;
}

// A curve's place, its largest difference and both point lists, in percent of
// travel: {"record", "number", "blockOffset", "largestDifference", "atInput",
// "source": [[input, output], ...], "target": [...]}.
std::string CurveJson(const CurveComparison& c)
{
    auto points = [](const std::vector<CurvePoint>& list) {
        std::string out = "[";
        for (size_t i = 0; i < list.size(); ++i)
            out += (i ? ", [" : "[") + JsonNumber(list[i].x / kCurveUnitsPerPercent) + ", " +
                   JsonNumber(list[i].y / kCurveUnitsPerPercent) + "]";
        return out + "]";
    };
    return "{\"record\": " + JsonString(Utf8ToUtf16(c.record ? c.record->name : "")) +
           ", \"number\": " + std::to_string(c.index + 1) + ", \"blockOffset\": " + std::to_string(c.blockOffset) +
           ", \"largestDifference\": " + JsonNumber(c.largestDifference) +
           ", \"atInput\": " + JsonNumber(c.atInput / kCurveUnitsPerPercent) + ", \"source\": " + points(c.source) +
           ", \"target\": " + points(c.target) + "}";
}

std::string JsonControl(uint8_t code)
{
    return code == HW_NONE ? "null" : JsonString(ControlName(code));
}

}  // namespace

std::u16string ConditionPlaceText(int condition, const std::u16string& name)
{
    return name.empty() ? FormatString(IDS_WHERE_CONDITION_BARE, {condition + 1})
                        : FormatString(IDS_WHERE_CONDITION, {condition + 1, name});
}

std::string JsonString(const std::u16string& text)
{
    std::string out = "\"";
    for (char c : Utf16ToUtf8(text)) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::u16string RecordName(const px600::Record& record)
{
    const unsigned id = RecordTextId(record);
    if (id)
        return LoadString(id);
    return record.block ? RecordName(*record.block) : Utf8ToUtf16(record.name);
}

bool HasRecordName(const px600::Record& record)
{
    return RecordTextId(record) != 0;
}

std::u16string RecordsText(const std::vector<FindingRecord>& records)
{
    // Copies of one record group share their name: "dual rate 1, 2".
    std::vector<std::u16string> groups;
    std::vector<bool> done(records.size(), false);
    for (size_t i = 0; i < records.size(); ++i) {
        if (done[i])
            continue;
        const std::u16string name = RecordName(*records[i].record);
        std::vector<std::u16string> numbers;
        for (size_t j = i; j < records.size(); ++j) {
            if (done[j] || RecordName(*records[j].record) != name)
                continue;
            done[j] = true;
            if (records[j].record->count > 1)
                numbers.push_back(Utf8ToUtf16(std::to_string(records[j].index + 1)));
        }
        groups.push_back(numbers.empty() ? name : name + u" " + Join(numbers, u", "));
    }
    return Join(groups, u"; ");
}

std::u16string FindingLine(const Finding& f)
{
    if (f.what.empty() && !f.records.empty())
        return FormatString(IDS_LINE, {RecordsText(f.records), f.text});
    if (!f.records.empty())
        return FormatString(IDS_LINE_RECORDS, {f.what, RecordsText(f.records), f.text});
    return f.what.empty() ? f.text : FormatString(IDS_LINE, {f.what, f.text});
}

std::u16string SeverityTitle(Severity severity)
{
    return LoadString(IDS_MUST_CHECK + static_cast<unsigned>(severity));
}

void ConversionReport::Add(Finding finding)
{
    // Beside the findings of the same place, so that each place is one group.
    const auto same = std::find_if(m_findings.rbegin(), m_findings.rend(), [&finding](const Finding& f) {
        return f.severity == finding.severity && f.condition == finding.condition && f.where == finding.where;
    });
    if (same != m_findings.rend()) {
        m_findings.insert(same.base(), std::move(finding));
        return;
    }
    auto after = [&finding](const Finding& f) {
        if (f.severity != finding.severity)
            return f.severity > finding.severity;
        return f.condition > finding.condition;
    };
    m_findings.insert(std::find_if(m_findings.begin(), m_findings.end(), after), std::move(finding));
}

int ConversionReport::Count(Severity severity) const
{
    return static_cast<int>(std::count_if(m_findings.begin(), m_findings.end(),
                                          [severity](const Finding& f) { return f.severity == severity; }));
}

std::u16string ConversionReport::TextOrNothing() const
{
    return Empty() ? LoadString(IDS_NOTHING_TO_REPORT) : Text();
}

std::u16string ConversionReport::Document(const std::u16string& modelName) const
{
    return FormatString(IDS_REPORT_TITLE, {modelName}) + u"\n\n" + TextOrNothing();
}

std::u16string ConversionReport::Text() const
{
    std::u16string text;
    for (Severity s : {Severity::MustCheck, Severity::Expected, Severity::Information}) {
        if (Count(s) == 0)
            continue;
        if (!text.empty())
            text += u"\n";
        text += FormatString(IDS_HEADING_COUNT, {SeverityTitle(s), Count(s)}) + u"\n";
        const std::u16string* where = nullptr;
        for (const Finding& f : m_findings) {
            if (f.severity != s)
                continue;
            if (!where || *where != f.where) {
                where = &f.where;
                text += u"  " + f.where + u"\n";
            }
            text += u"    - " + FindingLine(f) + u"\n";
        }
    }
    return text;
}

std::string ConversionReport::Json() const
{
    std::string out = "{\"mustCheck\": " + std::to_string(MustCheckCount()) + ", \"findings\": [";
    for (size_t i = 0; i < m_findings.size(); ++i) {
        const Finding& f = m_findings[i];
        out += i ? ",\n  {" : "\n  {";
        out += "\"severity\": \"" + std::string(SeverityKey(f.severity)) + "\"";
        out += ", \"kind\": \"" + std::string(kKindKeys[size_t(f.kind)]) + "\"";
        out += ", \"condition\": " + (f.condition < 0 ? std::string("null") : std::to_string(f.condition + 1));
        out += ", \"conditionName\": " + JsonString(f.conditionName);
        out += ", \"where\": " + JsonString(f.where);
        out += ", \"records\": [";
        for (size_t r = 0; r < f.records.size(); ++r)
            out += (r ? ", " : "") + std::string("{\"name\": ") + JsonString(RecordName(*f.records[r].record)) +
                   ", \"layout\": " + JsonString(Utf8ToUtf16(f.records[r].record->name)) +
                   ", \"number\": " + std::to_string(f.records[r].index + 1) + "}";
        out += "], \"before\": " + JsonControl(f.before) + ", \"after\": " + JsonControl(f.after);
        out += ", \"count\": " + std::to_string(f.count);
        if (f.kind == FindingKind::Curve)
            out += ", \"percent\": " + std::to_string(f.percent);
        if (f.curve >= 0 && size_t(f.curve) < m_curves.size())
            out += ", \"curve\": " + CurveJson(m_curves[size_t(f.curve)]);
        out += ", \"what\": " + JsonString(f.what) + ", \"text\": " + JsonString(f.text);
        out += ", \"offsets\": [";
        for (size_t o = 0; o < f.offsets.size(); ++o)
            out += (o ? ", " : "") + std::to_string(f.offsets[o]);
        out += "], \"detail\": [";
        for (size_t d = 0; d < f.detail.size(); ++d)
            out += (d ? ", " : "") + JsonString(f.detail[d]);
        out += "]}";
    }
    return out + (m_findings.empty() ? "]}" : "\n]}");
}

ConversionReport BuildConversionReport(const ConversionFacts& facts)
{
    return Builder(facts).Build();
}
