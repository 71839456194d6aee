// The Detail command and its dialog's data: refusals, the names and rows the
// dialog starts from, the three questions, the hardware lines, and what OK and
// Cancel leave for the next conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <tuple>

#include "Portable.h"
#include "RecordingHost.h"
#include "app/DetailCommand.h"
#include "model/ModelData.h"
#include "app/Strings.h"
#include "platform/Text.h"
#include "samplegen/PX200Samples.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/PX400Samples.h"
#include "samplegen/SampleFiles.h"
#include "samplegen/TinyVolumeBuilder.h"
#include "storage/TinyImage.h"

namespace {

class Questions : public IQuestionHost {
public:
    bool AskYesNo(const std::u16string& text, const std::u16string& caption) override
    {
        asked.push_back(text);
        captions.push_back(caption);
        return answer;
    }
    bool answer = false;
    std::vector<std::u16string> asked, captions;
};

// Stands in for the dialog: records what it was shown, applies an edit and
// closes with OK or Cancel.
class ScriptedDialog : public IDetailDialog {
public:
    bool RunDetailDialog(CDetailData& data) override
    {
        ++runs;
        shown = data;
        boxesBefore = host ? host->boxes.size() : 0;
        if (edit)
            edit(data);
        return ok;
    }
    std::function<void(CDetailData&)> edit;
    bool ok = true;
    int runs = 0;
    size_t boxesBefore = 0;
    const RecordingHost* host = nullptr;
    CDetailData shown;
};

std::u16string U(const char* text) { return Utf8ToUtf16(text); }

class DetailCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetLanguage(Language::English);
        ASSERT_TRUE(TinyStartup());
        src = temp.Sub("from");
        dst = temp.Sub("to");
        samples::PX400Builder b;
        b.SetModelName(u"Heli");
        b.SetModelType(MODEL_HELICOPTER);
        for (int c = 0; c < 8; ++c) {
            b.SetConditionName(c, u"FLY" + Utf8ToUtf16(std::to_string(c)));
            for (int d = 0; d < 6; ++d)
                b.SetDualRateName(c, d, U(("R" + std::to_string(c) + std::to_string(d)).c_str()));
        }
        WriteSampleFile(src + ARK_SEP "Heli.MDL", b.Image());
        samples::PX400Builder cub;
        cub.SetModelName(u"Cub");
        WriteSampleFile(src + ARK_SEP "Cub.MDL", cub.Image());
        state.sourceTransmitter = TX_PX400;
        state.targetTransmitter = TX_PX600;
        state.sourceLocationText = src;
        state.targetLocationText = dst;
        SaveDialogData(state, host);
        Select(src + ARK_SEP "Heli.MDL");
        host.Clear();
        dialog.host = &host;
    }
    void TearDown() override { TinyShutdown(); }

    void Select(const std::string& key)
    {
        state.selectedSourceRow = -1;
        for (size_t i = 0; i < state.sourceList.rows.size(); ++i)
            if (state.sourceList.rows[i].key == key)
                state.selectedSourceRow = static_cast<int>(i);
        ASSERT_GE(state.selectedSourceRow, 0) << key;
    }
    // A TINYFS location holding one PX200 helicopter at file number 6.
    void UsePX200Source()
    {
        const std::string folder = temp.Sub("image");
        TinyVolumeBuilder builder(8, 16, 8);
        builder.AddFile(6, MakePX200Model(PX200Samples()[1]));
        ASSERT_TRUE(builder.WriteFile(folder + ARK_SEP "TINYFS.IMG"));
        state.sourceTransmitter = TX_PX200;
        state.sourceLocationText = folder;
        SaveDialogData(state, host);
        Select("6");
        host.Clear();
    }
    bool Detail() { return OnDetail(state, host, hw, dialog); }

    TempFolder temp;
    std::string src, dst;
    MainDialogState state;
    RecordingHost host;
    CConvertHW hw;
    ScriptedDialog dialog;
    Questions questions;
};

TEST_F(DetailCommandTest, RefusalsShowOneBoxAndChangeNothing)
{
    const std::string missing = src + ARK_SEP "Gone.MDL";
    const struct {
        const char* what;
        std::function<void(MainDialogState&)> setup;
        std::u16string text;
        std::optional<FocusTarget> focus;
        bool selectAll;
    } cases[] = {
        {"no row", [](MainDialogState& s) { s.selectedSourceRow = -1; }, LoadString(104), FocusTarget::SourceList, false},
        {"PX600 row", [](MainDialogState& s) { s.sourceList.rows[0].transmitter = TX_PX600; }, LoadString(704),
         FocusTarget::SourceList, false},
        {"unknown row", [](MainDialogState& s) { s.sourceList.rows[0].transmitter = TX_UNKNOWN; }, LoadString(704),
         FocusTarget::SourceList, false},
        {"file gone", [&](MainDialogState& s) { s.sourceList.rows[0].key = missing; },
         FormatString(106, {U(missing.c_str())}), FocusTarget::SourceLocation, true},
#ifndef _WIN32
        // Reading the process's own memory at address 0 fails with EIO.
        {"read error",
         [](MainDialogState& s) {
             s.m_sourceLocation = "/proc/self";
             s.sourceList.rows[0].key = "/proc/self/mem";
         },
         FormatString(1310, {u"/proc/self/mem"}), std::nullopt, false},
#endif
    };
    // An earlier confirmation must survive every refusal.
    state.m_detailUsed = 1;
    state.m_conditionNames[0] = u"KEEP";
    hw.ResetRows(TX_PX400, TX_PX600);
    hw.m_rows[3].target = HW_NONE;
    const CConvertHW tableBefore = hw;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MainDialogState s = state;
        s.selectedSourceRow = 0;
        c.setup(s);
        host.Clear();
        EXPECT_FALSE(OnDetail(s, host, hw, dialog));
        EXPECT_EQ(dialog.runs, 0);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text, c.text);
        EXPECT_EQ(host.boxes[0].caption, u"PX600 Arkleton");
        EXPECT_EQ(host.boxes[0].kind, MessageKind::Error);
        if (c.focus)
            EXPECT_EQ(host.focus, (std::vector<std::pair<FocusTarget, bool>>{{*c.focus, c.selectAll}}));
        else
            EXPECT_TRUE(host.focus.empty());
        EXPECT_EQ(host.waitDepth, 0);
        EXPECT_EQ(s.m_detailUsed, 1);
        EXPECT_EQ(s.m_conditionNames[0], u"KEEP");
        EXPECT_EQ(std::memcmp(hw.m_rows, tableBefore.m_rows, sizeof hw.m_rows), 0);
    }
}

TEST_F(DetailCommandTest, TheDialogStartsFromTheFilesNamesAfterTheNotice)
{
    const std::u16string px200Names[] = {u"NORMAL  ", u"IDLEUP1 ", u"IDLEUP2 ", u"HOLD    ", u"HOVER   "};
    for (bool px200 : {false, true}) {
        SCOPED_TRACE(px200 ? "PX200" : "PX400");
        if (px200)
            UsePX200Source();
        dialog.ok = false;
        ASSERT_FALSE(Detail());
        ASSERT_EQ(dialog.runs, px200 ? 2 : 1);
        // The 8-letter notice comes first, and is the only box.
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(dialog.boxesBefore, 1u);
        EXPECT_EQ(host.boxes[0].text, LoadString(634));
        EXPECT_EQ(host.boxes[0].kind, MessageKind::Information);
        const CDetailData& d = dialog.shown;
        EXPECT_EQ(d.m_helicopter, 1);
        EXPECT_EQ(d.m_dualRateEnabled, 0);
        EXPECT_EQ(d.m_currentCondition, 0);
        for (int c = 0; c < 8; ++c) {
            const std::u16string name = px200 ? (c < 5 ? px200Names[c] : u"") : u"FLY" + U(std::to_string(c).c_str());
            EXPECT_EQ(d.m_conditionText[c], name) << c;
            EXPECT_EQ(d.m_fileConditionNames[c], name) << c;
            for (int i = 0; i < 6; ++i) {
                const std::u16string rate = px200 ? (c < 5 ? GetDefaultDualRateName(i) : u"")
                                                  : U(("R" + std::to_string(c) + std::to_string(i)).c_str());
                EXPECT_EQ(d.m_dualRateNames[c * 6 + i], rate) << c << " " << i;
                EXPECT_EQ(d.m_fileDualRateNames[c * 6 + i], rate);
            }
        }
        // The PX600 keeps no dual rate names: the exchanged texts are the defaults.
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(d.m_dualRateText[i], u"D/R " + U(std::to_string(i + 1).c_str()) + u"   ");
        EXPECT_EQ(hw.m_sourceType, px200 ? TX_PX200 : TX_PX400);
        host.Clear();
    }
}

TEST_F(DetailCommandTest, QuestionsChangeNamesOnlyOnYes)
{
    ASSERT_TRUE(PrepareDetailData(state, host, hw, dialog.shown));
    const std::u16string heli[] = {u"NORMAL", u"IDLEUP1", u"IDLEUP2", u"IDLEUP3",
                                   u"HOLD",   u"CONDIT6", u"CONDIT7", u"CONDIT8"};
    const struct {
        unsigned question;
        bool yes;
        int helicopter;
        std::function<bool(CDetailData&, IQuestionHost&)> press;
        // Expected condition 0 and 7 names and dual rate 0 of condition 2.
        std::u16string first, last, rate;
    } cases[] = {
        {631, false, 1, &CDetailData::ResetConditionNames, u"EDIT", u"EDIT", u"EDR"},
        {631, true, 1, &CDetailData::ResetConditionNames, u"FLY0", u"FLY7", u"EDR"},
        {635, false, 1, &CDetailData::SetDefaultConditionNames, u"EDIT", u"EDIT", u"EDR"},
        {635, true, 1, &CDetailData::SetDefaultConditionNames, u"NORMAL", u"CONDIT8", u"EDR"},
        {635, true, 0, &CDetailData::SetDefaultConditionNames, u"CONDIT1", u"CONDIT8", u"EDR"},
        {632, false, 1, &CDetailData::ResetDualRateNames, u"EDIT", u"EDIT", u"EDR"},
        {632, true, 1, &CDetailData::ResetDualRateNames, u"EDIT", u"EDIT", u"R20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.question) + (c.yes ? " yes" : " no"));
        CDetailData d = dialog.shown;
        d.m_helicopter = c.helicopter;
        for (auto& name : d.m_conditionText)
            name = u"EDIT";
        for (auto& rate : d.m_dualRateNames)
            rate = u"EDR";
        const CDetailData before = d;
        questions = Questions();
        questions.answer = c.yes;
        EXPECT_EQ(c.press(d, questions), c.yes);
        EXPECT_EQ(questions.asked, std::vector<std::u16string>{LoadString(c.question)});
        EXPECT_EQ(questions.captions, std::vector<std::u16string>{u"PX600 Arkleton"});
        EXPECT_EQ(d.m_conditionText[0], c.first);
        EXPECT_EQ(d.m_conditionText[7], c.last);
        EXPECT_EQ(d.m_dualRateNames[2 * 6], c.rate);
        if (c.yes && c.question == 635 && c.helicopter) {
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(d.m_conditionText[i], heli[i]);
        }
        // Nothing else moves.
        EXPECT_EQ(d.m_currentCondition, before.m_currentCondition);
        EXPECT_EQ(std::memcmp(d.m_hardwareChoice, before.m_hardwareChoice, sizeof d.m_hardwareChoice), 0);
    }
}

TEST_F(DetailCommandTest, DualRateEditsBelongToTheShownCondition)
{
    CDetailData d;
    ASSERT_TRUE(PrepareDetailData(state, host, hw, d));
    const std::u16string first[6] = {u"A", u"B", u"C", u"D", u"E", u"F"};
    const std::u16string other[6] = {u"U", u"V", u"W", u"X", u"Y", u"Z"};
    d.StoreDualRates(first);
    d.SelectCondition(5);
    EXPECT_EQ(d.ShownDualRate(0), u"R50");
    d.StoreDualRates(other);
    d.SelectCondition(8);  // no such condition: ignored
    d.SelectCondition(-1);
    EXPECT_EQ(d.m_currentCondition, 5);
    d.SelectCondition(0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(d.ShownDualRate(i), first[i]);
        EXPECT_EQ(d.m_dualRateNames[5 * 6 + i], other[i]);
    }
    EXPECT_EQ(d.m_dualRateNames[1 * 6], u"R10");
}

TEST_F(DetailCommandTest, HardwareLinesShowTheRowsAndWhatTheyBecome)
{
    const struct {
        bool px200;
        std::set<int> disabled;
        std::set<int> none;  // rows whose control gets no PX600 control by default
    } cases[] = {
        {false, {26, 27, 28, 29}, {22, 23, 24, 25}},
        {true, {8, 9, 22, 23, 24, 25, 26, 27, 28, 29}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.px200 ? "PX200" : "PX400");
        if (c.px200)
            UsePX200Source();
        CDetailData d;
        ASSERT_TRUE(PrepareDetailData(state, host, hw, d));
        for (int r = 0; r < HW_ROWS; ++r) {
            SCOPED_TRACE(r);
            const DetailHardwareLine line = d.HardwareLine(r);
            const DetailHardwareOutcome outcome = d.HardwareOutcome(r);
            EXPECT_EQ(line.enabled, !c.disabled.count(r));
            if (!line.enabled) {
                EXPECT_EQ(line.label, u"----");
                EXPECT_TRUE(line.options.empty());
                EXPECT_EQ(d.m_hardwareChoice[r], 0);
                EXPECT_TRUE(outcome.text.empty());
                continue;
            }
            const uint8_t source = hw.m_rows[r].source;
            EXPECT_EQ(line.label, LoadString(GetHardwareNameId(d.m_sourceType, source)));
            // PX600 lists: 15 proportional or 9 switch entries, "none" first.
            EXPECT_EQ(line.options.size(), IsProportionalHardware(d.m_sourceType, source) ? 15u : 9u);
            EXPECT_EQ(line.options[0], u"none");
            EXPECT_EQ(outcome.none, c.none.count(r) == 1);
            if (outcome.none) {
                EXPECT_EQ(d.m_hardwareChoice[r], 0);
                EXPECT_EQ(outcome.text, line.label + u" → none");
                EXPECT_EQ(outcome.tip, FormatString(2143, {line.label}));
            } else {
                // By default a control keeps its own name.
                EXPECT_EQ(line.options[d.m_hardwareChoice[r]], line.label);
                EXPECT_EQ(outcome.text, line.label + u" → " + line.label);
            }
        }
        // Choosing "none" says none; an index outside the list, or a choice on
        // an empty row, changes nothing.
        d.ChooseHardware(0, 0);
        EXPECT_TRUE(d.HardwareOutcome(0).none);
        d.ChooseHardware(0, 15);
        d.ChooseHardware(0, -1);
        d.ChooseHardware(29, 3);
        EXPECT_EQ(d.m_hardwareChoice[0], 0);
        EXPECT_EQ(d.m_hardwareChoice[29], 0);
        d.ChooseHardware(10, 2);  // SW-A -> SW-B
        EXPECT_EQ(d.HardwareOutcome(10).text, u"SW-A → SW-B");
        host.Clear();
    }
}

// What the dialog says a row becomes is what confirming writes into the table.
TEST_F(DetailCommandTest, ShownOutcomeIsWhatConfirmingStores)
{
    SetLocalClockForTesting([](SYSTEMTIME* now) { *now = SYSTEMTIME{}; });  // files compared byte for byte
    dialog.edit = [](CDetailData& d) {
        for (int r = 0; r < HW_ROWS; ++r)
            d.ChooseHardware(r, (r * 7 + 3) % (HW_OPTIONS + 1));
    };
    ASSERT_TRUE(Detail());
    CDetailData after;
    dialog.edit(after = dialog.shown);
    for (int r = 0; r < HW_ROWS; ++r) {
        EXPECT_EQ(hw.m_rows[r].target, after.ChosenTarget(r)) << r;
        EXPECT_EQ(hw.m_rows[r].selection, after.m_hardwareChoice[r]) << r;
    }
}

// Choices confirmed for one model never reach another (another row, location
// or transmitter, reported or first seen by Convert): its file is the plain
// conversion that follows. A failed conversion of the same model keeps them.
TEST_F(DetailCommandTest, ChoicesHoldOnlyForTheModelTheyWereMadeFor)
{
    SetLocalClockForTesting([](SYSTEMTIME* now) { *now = SYSTEMTIME{}; });  // files compared byte for byte
    const std::string a = temp.Sub("A"), b = temp.Sub("B"), heli = src + ARK_SEP "Heli.MDL", cub = src + ARK_SEP "Cub.MDL";
    for (const auto& [folder, model] : {std::pair{a, 1}, {b, 0}})
        ASSERT_TRUE(TinyVolumeBuilder(8, 16, 8).AddFile(6, MakePX200Model(PX200Samples()[model])).WriteFile(folder + ARK_SEP "TINYFS.IMG"));
    using Source = std::tuple<uint16_t, std::string, std::string>;  // transmitter, location, key
    const std::vector<Source> cases[][2] = {
        {{{TX_PX400, src, heli}}, {{TX_PX400, src, cub}}},                          // another row
        {{{TX_PX200, a, "6"}}, {{TX_PX200, b, "6"}}},                               // another location, same key
        {{{TX_PX400, src, heli}}, {{TX_PX200, src, heli}, {TX_PX400, src, heli}}},  // another transmitter and back
        {{{TX_PX400, src, heli}}, {{TX_PX200, a, "6"}}},                            // another location and transmitter
        {{{TX_PX400, src, heli}}, {}},                                              // the same model
    };
    auto choose = [&](const Source& source) {
        std::tie(state.sourceTransmitter, state.sourceLocationText, std::ignore) = source;
        SaveDialogData(state, host);
        Select(std::get<2>(source));
    };
    int n = 0;
    auto convert = [&](const char16_t* name) {  // into a new folder each time
        state.targetLocationText = temp.Sub(std::to_string(++n));
        state.modelNameText = name;
        return OnConvert(state, host, hw) ? ReadSampleFile(state.targetLocationText + ARK_SEP "M.mdl") : std::vector<uint8_t>{};
    };
    dialog.edit = [](CDetailData& d) {
        d.m_conditionText[0] = u"LEAK";
        for (int r = 0; r < HW_ROWS; ++r)
            d.ChooseHardware(r, 1);
    };
    for (const auto& c : cases) {
        choose(c[0][0]);
        ASSERT_TRUE(Detail());
        for (const Source& next : c[1]) {
            NoteSourceSelection(state, hw);  // the dialog reports each change; the last is left to Convert
            choose(next);
        }
        EXPECT_TRUE(convert(u"").empty());  // refused: no model name
        const std::vector<uint8_t> converted = convert(u"M"), plain = convert(u"M");
        ASSERT_EQ(converted.size(), PX600_IMAGE_SIZE);
        EXPECT_EQ(converted == plain, !c[1].empty()) << n;
    }
    SetLocalClockForTesting(nullptr);
}

// A condition name the user typed or changed is refused for a C0 control or
// DEL, naming the condition, and nothing is handed over; the file's own names
// are never refused.
TEST_F(DetailCommandTest, TypedConditionNamesWithControlCharactersAreRefused)
{
    const struct { std::u16string file, typed; bool refused; } cases[] = {
        {u"F", std::u16string(u"\0X", 2), true}, {u"F", u"A\tB", true},      {u"F", u"\x1B[1m", true},
        {u"F", u"\x1F", true},                   {u"F", u"DEL\x7F", true},   {u"S\x01", u"S\x01X", true},
        {u"S\x01", u"S\x01", false},             {u"F", u"a\u009D~\U0001F600", false},
    };
    for (const auto& c : cases) {
        CDetailData d;
        d.m_fileConditionNames[5] = c.file;
        d.m_conditionText[5] = c.typed;
        EXPECT_EQ(d.RefusedConditionName(), c.refused ? 5 : -1) << Utf16ToUtf8(c.typed);
    }
    dialog.edit = [](CDetailData& d) { d.m_conditionText[2] = u"A\tB"; };
    EXPECT_FALSE(Detail());
    EXPECT_EQ(host.boxes.back().text, FormatString(713, {LoadString(2104), 3}));
    EXPECT_EQ(state.m_detailUsed, 0);
}

}  // namespace
