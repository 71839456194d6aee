// The conversion report of every bundled sample, with and without confirmed
// Detail choices, and of hand-made switch changes for the rules the samples
// do not reach.
#include <gtest/gtest.h>

#include "Portable.h"

#include <algorithm>
#include <set>

#include "RecordingHost.h"
#include "app/ConvertCommand.h"
#include "app/Strings.h"
#include "model/SwitchFields.h"
#include "platform/Text.h"
#include "samplegen/PX200Samples.h"
#include "samplegen/PX400Samples.h"
#include "samplegen/SampleFiles.h"
#include "storage/TinyImage.h"

namespace {

using Names = std::set<std::string>;

std::string U8(const std::u16string& s)
{
    return Utf16ToUtf8(s);
}

// The controls of the findings of one kind and the conditions they name.
Names Controls(const ConversionReport& r, FindingKind kind, std::set<int>& conditions)
{
    Names names;
    for (const Finding& f : r.Findings()) {
        if (f.kind == kind) {
            names.insert(U8(LoadString(GetHardwareNameId(TX_PX400, f.before))));
            conditions.insert(f.condition);
        }
    }
    return names;
}

// A stored model without the time it was made (and the checksum over it).
std::vector<uint8_t> Undated(const std::string& path)
{
    std::vector<uint8_t> bytes = ReadSampleFile(path);
    for (const px600::Record* r : {&px600::kDate, &px600::kChecksum})
        std::fill_n(bytes.begin() + r->offset, r->size, 0);
    return bytes;
}

bool Has(const ConversionReport& r, Severity severity, FindingKind kind)
{
    return std::any_of(r.Findings().begin(), r.Findings().end(),
                       [&](const Finding& f) { return f.severity == severity && f.kind == kind; });
}

class ConversionReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetLanguage(Language::English);
        TinyStartup();
        px400 = temp.Sub("px400");
        px200 = temp.Sub("px200");
        WritePX400Samples(px400);
        WritePX200SampleImage(px200);
    }
    void TearDown() override { TinyShutdown(); }

    // Converts the sample key of the folder into target as NAME.mdl.
    bool Convert(uint16_t transmitter, const std::string& folder, const std::string& key, bool detail,
                 const std::string& target, ConversionReport* report)
    {
        MainDialogState state;
        state.sourceTransmitter = transmitter;
        state.targetTransmitter = TX_PX600;
        state.sourceLocationText = folder;
        state.targetLocationText = target;
        state.modelNameText = u"NAME";
        SaveDialogData(state, host);
        for (size_t i = 0; i < state.sourceList.rows.size(); ++i)
            if (state.sourceList.rows[i].key == key)
                state.selectedSourceRow = static_cast<int>(i);
        if (state.selectedSourceRow < 0)
            return false;
        if (detail) {
            DetailChoices choices;
            if (!PrepareDetailChoices(state, host, hw, choices))
                return false;
            ConfirmDetailChoices(state, hw, choices);
        }
        ConvertOptions options;
        options.report = report;
        return OnConvert(state, host, hw, options);
    }

    TempFolder temp;
    std::string px400, px200;
    RecordingHost host;
    CConvertHW hw;
};

TEST_F(ConversionReportTest, EverySampleWithAndWithoutDetail)
{
    const Names px400Only = {"RST", "LST", "CD", "CD-SW"};
    struct Row {
        uint16_t transmitter;
        std::string key;  // the PX400 file name or the PX200 entry number
        bool delay;       // the sample trips the delay check
        bool motorGlider;
    };
    std::vector<Row> rows;
    for (const PX400Sample& s : PX400SampleList())
        rows.push_back({TX_PX400, std::string(s.fileName) + ".MDL", s.tripsDelayWarning, s.modelType == MODEL_MOTOR_GLIDER});
    MainDialogState listed;  // the PX200 entries as the list numbers them
    listed.sourceLocationText = px200;
    SaveDialogData(listed, host);
    ASSERT_EQ(listed.sourceList.rows.size(), PX200Samples().size());
    for (const ModelListRow& entry : listed.sourceList.rows)
        rows.push_back({TX_PX200, entry.key, false, false});
    int converted = 0;
    for (const Row& row : rows) {
        for (bool detail : {false, true}) {
            SCOPED_TRACE(row.key + (detail ? " with Detail" : ""));
            const bool fromPX400 = row.transmitter == TX_PX400;
            const std::string key = fromPX400 ? px400 + ARK_SEP + row.key : row.key;
            const std::string out = temp.Sub("out" + std::to_string(converted));
            const std::string plain = temp.Sub("plain" + std::to_string(converted++));
            const std::string& location = fromPX400 ? px400 : px200;
            ConversionReport report;
            ASSERT_TRUE(Convert(row.transmitter, location, key, detail, out, &report));
            // The report changes nothing of the file.
            ASSERT_TRUE(Convert(row.transmitter, location, key, detail, plain, nullptr));
            EXPECT_EQ(Undated(out + ARK_SEP "NAME.mdl"), Undated(plain + ARK_SEP "NAME.mdl"));

            // Must check: the PX400's own controls in every condition and the
            // model settings; the model type; the delay.
            std::set<int> conditions;
            EXPECT_EQ(Controls(report, FindingKind::ControlNone, conditions), fromPX400 ? px400Only : Names{});
            EXPECT_EQ(conditions, (fromPX400 ? std::set<int>{-1, 0, 1, 2, 3, 4, 5, 6, 7} : std::set<int>{}));
            EXPECT_EQ(Has(report, Severity::MustCheck, FindingKind::ModelType), row.motorGlider);
            EXPECT_EQ(Has(report, Severity::MustCheck, FindingKind::DelayNotCarried), row.delay);
            EXPECT_FALSE(Has(report, Severity::MustCheck, FindingKind::ControlMoved));
            // Changed as expected: PX400 switch positions only.
            EXPECT_EQ(Has(report, Severity::Expected, FindingKind::Positions), fromPX400);
            // For information: internal codes reset; codes without a control
            // cleared by the table; the PX200 hardware mapping, all kept.
            EXPECT_EQ(Has(report, Severity::Information, FindingKind::InternalCodes), fromPX400);
            EXPECT_EQ(Has(report, Severity::Information, FindingKind::NoControlCodes), fromPX400 && detail);
            EXPECT_EQ(Has(report, Severity::Information, FindingKind::Mapping), !fromPX400);
            EXPECT_EQ(report.MustCheckCount() == 0, !fromPX400);

            for (const Finding& f : report.Findings()) {
                const std::string line = U8(f.where + f.what + f.text);
                EXPECT_EQ(line.find("0x"), std::string::npos) << line;
                EXPECT_FALSE(f.before == 0 && f.after == HW_NONE) << line;  // no unused record's J1
                for (const FindingRecord& r : f.records)
                    EXPECT_TRUE(HasRecordName(*r.record)) << r.record->name;
                EXPECT_EQ(f.offsets.size(), f.detail.size());
            }
            if (row.key == "HELI450.MDL") {
                const bool holdSwitch = std::any_of(report.Findings().begin(), report.Findings().end(), [](const Finding& f) {
                    return U8(f.where) == "Condition 5 \"HOLD\"" && U8(f.what) == "CD-SW → none";
                });
                EXPECT_TRUE(holdSwitch);
            }
            const std::string text = U8(report.Text());
            EXPECT_EQ(text.rfind(fromPX400 ? "Must check (" : "For information (", 0), 0u) << text;
            EXPECT_EQ(report.Json().find("\"severity\": \"must-check\""),
                      fromPX400 ? report.Json().find("\"severity\"") : std::string::npos);
        }
    }
}

// The rules for changes and facts the bundled samples do not hold.
TEST(ConversionReportRules, ChangesAndFactsBySeverity)
{
    SetLanguage(Language::English);
    using switchfields::Kind;
    CConvertHW table;
    table.ResetRows(TX_PX200, TX_PX600);
    table.m_rows[18].target = 16;  // RD on LD, beside LD itself
    table.m_rows[10].target = HW_NONE;  // SW-A on nothing
    ConversionFacts facts;
    facts.sourceTransmitter = TX_PX200;
    facts.sourceModelType = MODEL_MOTOR_GLIDER;
    facts.targetModelType = MODEL_GLIDER;
    facts.sourceBytes = 100;
    facts.table = &table;
    facts.changes = {
        {2, 1878, Kind::Reset, {0x04, 0x20, 0x40}, {0xFF, 5, 0xFB}, 3},    // reset, SW-C in use
        {2, 1881, Kind::Reset, {0x00, 0x00, 0x00}, {0xFF, 5, 0xFB}, 3},    // reset, unused
        {3, 1884, Kind::Reset, {0xFF, 0x00, 0x00}, {0xFF, 5, 0xFB}, 3},    // reset, no control
        {-1, 459, Kind::RangeStar, {0x31, 100, 0x9C}, {0xFF, 5, 0xFB}, 3},  // internal code
        {-1, 530, Kind::Masked, {0x9B}, {0xFF}, 1},                         // code 27: no control anywhere
        {0, 16, Kind::Direct, {0x0C}, {0xFF}, 1},                           // SW-A to none
        {1, 897, Kind::RangeStar, {0x08, 0x20, 0x40}, {0x10, 0x20, 0x40}, 3},  // RD moved to LD
        {-1, 65, Kind::Range, {0x05, 0x20, 0x40}, {0x05, 0x1F, 0x40}, 3},  // SW-D positions
    };
    const ConversionReport r = BuildConversionReport(facts);
    struct Expect {
        Severity severity;
        FindingKind kind;
        int condition;
        std::string line;  // what, records and text as the report shows them, up to the text
    };
    const Expect expected[] = {
        {Severity::MustCheck, FindingKind::ControlsShared, -1, "RD, LD → LD: "},
        {Severity::MustCheck, FindingKind::ModelType, -1, "MOTOR GLIDER → GLIDER: "},
        {Severity::MustCheck, FindingKind::ShortModel, -1, ""},
        {Severity::MustCheck, FindingKind::ControlNone, 0, "SW-A → none (assignment table 2): "},
        {Severity::MustCheck, FindingKind::ControlMoved, 1, "RD → LD (dual rate 1): "},
        {Severity::Expected, FindingKind::Positions, -1, "SW-D (switch range 1): "},
        {Severity::Information, FindingKind::ResetRecords, -1, "switch range 1: "},
        {Severity::Information, FindingKind::NoControlCodes, -1, "control assignment with mode bits 1: "},
        {Severity::Information, FindingKind::Mapping, -1, ""},
        {Severity::Information, FindingKind::Mapping, -1, "SW-A → none: "},
        {Severity::Information, FindingKind::Mapping, -1, "RD → LD: "},
        // The model settings' own place after the whole model's findings.
        {Severity::Information, FindingKind::InternalCodes, -1,
         "internal code (not a hardware control) → none (switch range pair 1): "},
    };
    ASSERT_EQ(r.Findings().size(), std::size(expected)) << U8(r.Text());
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Finding& f = r.Findings()[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(f.severity, expected[i].severity);
        EXPECT_EQ(f.kind, expected[i].kind);
        EXPECT_EQ(f.condition, expected[i].condition);
        EXPECT_EQ(U8(FindingLine(f)), expected[i].line + U8(f.text));
    }
    EXPECT_EQ(r.MustCheckCount(), 5);
    EXPECT_EQ(U8(r.Findings()[6].text),
              "1 record(s) that the PX600 always resets held a control (SW-C); they were reset. Nothing needs doing.");
    EXPECT_EQ(U8(r.Findings()[2].text), U8(FormatString(709, {100LL, 6618LL})));
}

}  // namespace
