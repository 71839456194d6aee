// What a pilot has to check after a conversion: a list of findings built once
// from what the conversion did, shown by the dialog, printed by the command
// line (as text or JSON) and counted by the batch conversion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/CurveCompare.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "model/PX600Layout.h"

// In the order a pilot reads them.
enum class Severity : uint8_t { MustCheck, Expected, Information };

enum class FindingKind : uint8_t {
    ControlNone,      // a source control that has no control on the PX600 any more
    ControlMoved,     // a source control moved to another control (the Detail choice)
    ControlsShared,   // two or more source controls now on one PX600 control
    ModelType,        // the model type changed (the PX600 lacks the source's)
    DelayNotCarried,  // a delay setting the PX600 cannot take over
    ShortModel,       // a PX200 model shorter than a whole model
    Positions,        // switch positions translated, one finding per control
    ResetRecords,     // records the PX600 always resets, one finding in all
    InternalCodes,    // switch range records with an internal code, reset
    NoControlCodes,   // fields with a code that names no control, cleared
    Mapping,          // which PX200 control became which PX600 control
    Curve,            // a curve point moved (filled by the curve comparison)
};

// One named record that a finding touches: the layout's record and which of
// its copies (0-based).
struct FindingRecord {
    const px600::Record* record = nullptr;
    int index = 0;
    bool operator==(const FindingRecord&) const = default;
};

struct Finding {
    Severity severity = Severity::Information;
    FindingKind kind = FindingKind::ControlNone;
    int condition = -1;              // 0..7; -1 for the whole model or its model settings
    std::u16string conditionName;    // as the PX600 model stores it
    std::vector<FindingRecord> records;
    uint8_t before = HW_NONE;        // control codes, for the control kinds
    uint8_t after = HW_NONE;
    int count = 0;                   // fields or records concerned
    int percent = 0;                 // curve findings: how far a point moved
    int curve = -1;                  // curve findings: the curve, an index into Curves()
    // The pilot's texts, in the current language, without offsets or bytes.
    std::u16string where;
    std::u16string what;
    std::u16string text;
    // For scripts and for support: image offsets and one line per field with
    // its offset and bytes.
    std::vector<uint32_t> offsets;
    std::vector<std::u16string> detail;
};

class ConversionReport {
public:
    // Keeps the findings ordered: by severity, then the whole model before the
    // conditions in their order, findings of one place together, else in the
    // order they were added.
    void Add(Finding finding);
    const std::vector<Finding>& Findings() const { return m_findings; }
    bool Empty() const { return m_findings.empty(); }
    int Count(Severity severity) const;
    int MustCheckCount() const { return Count(Severity::MustCheck); }

    // Plain text: a heading per severity (must check first), under it a line
    // per condition and one per finding.
    std::u16string Text() const;
    // Text(), or the words that say there is nothing to report.
    std::u16string TextOrNothing() const;
    // The report as the pilot saves or copies it: a title naming the model,
    // a blank line, then TextOrNothing().
    std::u16string Document(const std::u16string& modelName) const;
    // UTF-8 JSON: {"mustCheck": n, "findings": [{...}, ...]}, conditions counted
    // from 1 as the pilot counts them, image offsets and detail lines included;
    // no line break at its end.
    std::string Json() const;

    // Every curve of the conversion, before and after (the curve findings
    // name the changed ones).
    const std::vector<CurveComparison>& Curves() const { return m_curves; }
    void SetCurves(std::vector<CurveComparison> curves) { m_curves = std::move(curves); }

private:
    std::vector<Finding> m_findings;
    std::vector<CurveComparison> m_curves;
};

// A condition (0..7) as the pilot reads it: its number, and its name as
// stored when it has one.
std::u16string ConditionPlaceText(int condition, const std::u16string& name);
// The heading of a severity and the "where" of a condition in the current language.
std::u16string SeverityTitle(Severity severity);
// The records of a finding as the pilot reads them ("dual rate 1, 2; tail").
std::u16string RecordsText(const std::vector<FindingRecord>& records);
// A finding as one line: what changed, in which records, and the text.
std::u16string FindingLine(const Finding& finding);
// A record's name in the current language; the block's name when the record
// has none of its own.
std::u16string RecordName(const px600::Record& record);
// Whether RecordName has a text of the record's own.
bool HasRecordName(const px600::Record& record);

// What the conversion did, as OnConvert knows it after the model was stored.
struct ConversionFacts {
    uint16_t sourceTransmitter = TX_PX400;
    uint16_t sourceModelType = MODEL_AIRPLANE;
    uint16_t targetModelType = MODEL_AIRPLANE;
    unsigned delayWarning = 0;             // message 702 or 703, 0 for none
    unsigned sourceBytes = 0;              // PX200: bytes the model had
    const CConvertHW* table = nullptr;     // the hardware table, when it was in use
    const uint8_t* image = nullptr;        // the stored PX600 image (condition names)
    std::vector<CModelDataPX600::SwitchChange> changes;  // from the switch pass, in its order
    std::vector<CurveComparison> curves;   // the curves before and after (CompareCurves)
};

ConversionReport BuildConversionReport(const ConversionFacts& facts);

// A text as a JSON string (quoted, UTF-8, with the characters JSON requires
// escaped).
std::string JsonString(const std::u16string& text);
