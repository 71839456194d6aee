// The Convert command driven through a recording dialog: refusals, the boxes
// of a stored conversion, the detail choices' lifecycle and the atomic store.
#include <gtest/gtest.h>

#include "Portable.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#ifndef _WIN32
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#endif

#include "RecordingHost.h"
#include "app/BatchConvert.h"
#include "app/ConvertCommand.h"
#include "model/ModelData.h"
#include "platform/AtomicFile.h"
#include "app/Strings.h"
#include "platform/Text.h"
#include "samplegen/PX200Samples.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/SampleFiles.h"
#include "samplegen/TinyVolumeBuilder.h"
#include "storage/ModelDataFile.h"
#include "storage/TinyImage.h"

namespace {

// Linux stores through a file without a name where the file system allows.
#ifdef O_TMPFILE
constexpr bool kUnnamedFiles = true;
#else
constexpr bool kUnnamedFiles = false;
#endif

// The next store uses a hidden temporary name, as on a file system that
// makes no unnamed files (and as every store does without them).
void UseNamedTemporary()
{
#ifdef O_TMPFILE
    InjectFileFaultForTesting(FileOp::Open, 1, EOPNOTSUPP);
#endif
}

std::vector<uint8_t> PX400File(const std::u16string& name, uint16_t type)
{
    samples::PX400Builder b;
    b.SetModelName(name);
    b.SetModelType(type);
    return b.Image();
}

// Condition name c of a PX600 image, as stored (8 big-endian units).
std::u16string StoredConditionName(const std::vector<uint8_t>& image, int c)
{
    std::u16string name;
    for (int i = 0; i < 8; ++i) {
        const char16_t u = GetBE16(image.data() + 28140 + 578 * c + 2 * i);
        if (!u)
            break;
        name += u;
    }
    return name;
}

std::u16string StoredModelName(const std::vector<uint8_t>& image)
{
    std::u16string name;
    for (int i = 0; i < 16 && GetBE16(image.data() + 10 + 2 * i); ++i)
        name += GetBE16(image.data() + 10 + 2 * i);
    return name;
}

uint8_t VersionOld(CModelDataBase&, int) { return 1; }
uint8_t VersionNew(CModelDataBase&, int) { return 2; }
int g_sizeGood = -1;
uint8_t VersionRecordSize(CModelDataBase&, int sizeGood)
{
    g_sizeGood = sizeGood;
    return 0;
}

class ConvertCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetLanguage(Language::English);
        ClearFileFaultsForTesting();
        src = temp.Sub("from");
        dst = temp.Sub("to");
        WriteSampleFile(src + ARK_SEP "Cub.MDL", PX400File(u"Cub", MODEL_AIRPLANE));
        WriteSampleFile(src + ARK_SEP "Glider.MDL", PX400File(u"Glider", MODEL_GLIDER));
        state.sourceTransmitter = TX_PX400;
        state.targetTransmitter = TX_PX600;
        state.sourceLocationText = src;
        state.targetLocationText = dst;
        state.modelNameText = u"NEWCUB";
        SaveDialogData(state, host);
        host.Clear();
    }
    void TearDown() override { ClearFileFaultsForTesting(); }

    void Select(const std::string& key)
    {
        state.selectedSourceRow = -1;
        for (size_t i = 0; i < state.sourceList.rows.size(); ++i)
            if (state.sourceList.rows[i].key == key)
                state.selectedSourceRow = static_cast<int>(i);
        ASSERT_GE(state.selectedSourceRow, 0) << key;
    }

    bool Run(const ConvertOptions& options = {}) { return OnConvert(state, host, hw, options); }

    // One stop box with the given text and caption, the named focus, nothing
    // written and the wait cursor ended.
    void ExpectRefusal(const std::u16string& text, std::optional<FocusTarget> focus, bool selectAll, bool stored)
    {
        EXPECT_FALSE(stored);
        ASSERT_EQ(host.boxes.size(), 1u) << Utf16ToUtf8(host.boxes.back().text);
        EXPECT_EQ(host.boxes[0].text, text);
        EXPECT_EQ(host.boxes[0].caption, u"PX600 Arkleton");
        EXPECT_EQ(host.boxes[0].kind, MessageKind::Error);
        if (focus) {
            ASSERT_FALSE(host.focus.empty());
            EXPECT_EQ(host.focus.back(), std::make_pair(*focus, selectAll));
        } else {
            EXPECT_TRUE(host.focus.empty());
        }
        EXPECT_EQ(FolderSnapshot(dst), before);
        EXPECT_EQ(host.waitDepth, 0);
        EXPECT_TRUE(host.lists.empty());
    }

    std::string TargetPath(const std::u16string& name) const { return dst + ARK_SEP "" + Utf16ToUtf8(name) + ".mdl"; }

    TempFolder temp;
    std::string src, dst;
    MainDialogState state;
    RecordingHost host;
    CConvertHW hw;
    std::map<std::string, std::vector<uint8_t>> before;
};

}  // namespace

TEST_F(ConvertCommandTest, StoredConversionShowsCompletionThenHardwareWarning)
{
    Select(src + ARK_SEP "Cub.MDL");
    state.modelNameText = u"  NEWCUB ";  // stored and named without the spaces
    ASSERT_TRUE(Run());
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, u"The conversion is complete.");
    EXPECT_EQ(host.boxes[0].kind, MessageKind::Information);
    EXPECT_EQ(host.boxes[1].text, LoadString(705));
    EXPECT_EQ(host.boxes[1].kind, MessageKind::HardwareWarning);
    EXPECT_EQ(host.boxes[1].caption, u"PX600 Arkleton");
    EXPECT_EQ(host.events.front(), "wait+");
    EXPECT_EQ(host.events.back(), "wait-");
    EXPECT_EQ(host.waitDepth, 0);

    const std::vector<uint8_t> image = ReadSampleFile(TargetPath(u"NEWCUB"));
    ASSERT_EQ(image.size(), PX600_IMAGE_SIZE);
    EXPECT_EQ(StoredModelName(image), u"NEWCUB");
    EXPECT_EQ(std::memcmp(image.data(), "PX600   ", 8), 0);
    // Only the new file is in the folder: no temporary file stays.
    EXPECT_EQ(FolderSnapshot(dst).size(), 1u);

    // The target list was refilled and shows the new file first; the source
    // list, of another folder, was not.
    ASSERT_EQ(host.lists.size(), 1u);
    EXPECT_EQ(host.lists[0].first, ListSide::Target);
    ASSERT_EQ(state.targetList.rows.size(), 1u);
    EXPECT_EQ(state.targetList.rows[0].key, TargetPath(u"NEWCUB"));
    EXPECT_EQ(state.targetList.selected, 0);
    EXPECT_EQ(state.targetList.rows[0].transmitter, TX_PX600);
}

TEST_F(ConvertCommandTest, SameFolderRefreshesBothListsAndKeepsTheConvertedRowSelected)
{
    state.targetLocationText = src;
    SaveDialogData(state, host);
    host.Clear();
    Select(src + ARK_SEP "Glider.MDL");
    ASSERT_TRUE(Run());
    ASSERT_EQ(host.lists.size(), 2u);
    EXPECT_EQ(host.lists[0].first, ListSide::Target);
    EXPECT_EQ(host.lists[1].first, ListSide::Source);
    ASSERT_EQ(state.sourceList.rows.size(), 3u);
    ASSERT_EQ(state.selectedSourceRow, state.sourceList.selected);
    EXPECT_EQ(state.sourceList.rows[static_cast<size_t>(state.selectedSourceRow)].key, src + ARK_SEP "Glider.MDL");
    bool listed = false;
    for (const ModelListRow& row : state.sourceList.rows)
        listed |= row.key == src + ARK_SEP "NEWCUB.mdl";
    EXPECT_TRUE(listed);
}

TEST_F(ConvertCommandTest, TargetRefusals)
{
    Select(src + ARK_SEP "Cub.MDL");
    before = FolderSnapshot(dst);
    state.targetTransmitter = TX_PX400;
    ExpectRefusal(FormatString(103, {u"PX400", Utf8ToUtf16(dst)}), FocusTarget::TargetTransmitter, true, Run());
    EXPECT_NE(host.boxes[0].text.find(u"Cannot store PX400 data in " + Utf8ToUtf16(dst)),
              std::u16string::npos);

    host.Clear();
    state.targetTransmitter = TX_UNKNOWN;
    ExpectRefusal(FormatString(103, {u"", Utf8ToUtf16(dst)}), FocusTarget::TargetTransmitter, true, Run());

    // A target folder holding a TINYFS image is refused; nothing is written.
    struct Engine {
        Engine() { TinyStartup(); }
        ~Engine() { TinyShutdown(); }
    } engine;
    state.targetTransmitter = TX_PX600;
    ASSERT_TRUE(TinyVolumeBuilder().AddFile(6, std::vector<uint8_t>(6618, 1)).WriteFile(dst + ARK_SEP "TINYFS.IMG"));
    ASSERT_TRUE(CModelDataFile(dst).m_isVolume) << "the image was not mounted";
    before = FolderSnapshot(dst);
    host.Clear();
    ExpectRefusal(FormatString(103, {u"PX600", Utf8ToUtf16(dst)}), FocusTarget::TargetTransmitter, true, Run());
}

TEST_F(ConvertCommandTest, SelectionAndExistingFileRefusals)
{
    before = FolderSnapshot(dst);
    state.selectedSourceRow = -1;
    ExpectRefusal(LoadString(104), FocusTarget::SourceList, false, Run());

    Select(src + ARK_SEP "Cub.MDL");
    WriteSampleFile(dst + ARK_SEP "Other.mdl", {1, 2, 3});
    WriteSampleFile(dst + ARK_SEP "NEWCUB.mdl", {4, 5});
    before = FolderSnapshot(dst);
    host.Clear();
    ExpectRefusal(FormatString(105, {Utf8ToUtf16(TargetPath(u"NEWCUB"))}), FocusTarget::ModelName, true, Run());

    // The existence test uses the folder search's matching, which ignores
    // case ("*" finds any file), after the spaces around the name are dropped;
    // the text names the file that exists.
    WriteSampleFile(dst + ARK_SEP "TRAINER.MDL", {6});
    before = FolderSnapshot(dst);
    for (const auto& [name, existing] : {std::pair<std::u16string, std::string>{u"*", "NEWCUB.mdl"},
                                         {u"trainer", "TRAINER.MDL"}, {u" NEWCUB  ", "NEWCUB.mdl"}}) {
        host.Clear();
        state.modelNameText = name;
        ExpectRefusal(FormatString(105, {Utf8ToUtf16(dst + ARK_SEP "" + existing)}), FocusTarget::ModelName, true, Run());
    }
}

TEST_F(ConvertCommandTest, EmptyLocationsAreRefusedWithTheirGroupsMessage)
{
    Select(src + ARK_SEP "Cub.MDL");
    for (std::string* location : {&state.targetLocationText, &state.sourceLocationText}) {
        const bool source = location == &state.sourceLocationText;
        location->clear();
        SaveDialogData(state, host);
        host.Clear();
        before = FolderSnapshot(dst);
        ExpectRefusal(source ? LoadString(710) : FormatString(103, {u"PX600", u""}),
                      source ? FocusTarget::SourceLocation : FocusTarget::TargetLocation, true, Run());
        *location = source ? src : dst;
        SaveDialogData(state, host);
    }
}

TEST_F(ConvertCommandTest, ModelNameRefusalsInRuleOrder)
{
    Select(src + ARK_SEP "Cub.MDL");
    before = FolderSnapshot(dst);
    const struct {
        std::u16string name;
        unsigned id;
    } cases[] = {
        {u"ABCDEFGHIJKLMNOP", 706},   // 16 characters
        {u"ABCDEFGHIJKLMNOP?", 706},  // length is checked before the characters
        {u"A?B", 707},
        {u"*", 707},                  // no .mdl file exists, so the name rules see it
        {u"Caf\u00e9", 707},
        {u"A|B", 707},                // not a Windows file name
        {u"A\u007fB", 707},
        {u".HIDDEN", 707},            // hidden files
        {u" ..", 707},
        {u"", 708},
        {u"   ", 708},                // the spaces around a name are dropped
        {u" ABCDEFGHIJKLMNOP ", 706},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.name));
        host.Clear();
        state.modelNameText = c.name;
        ExpectRefusal(LoadString(c.id), FocusTarget::ModelName, true, Run());
    }
}

TEST_F(ConvertCommandTest, DeviceNamesAreRefusedBeforeAnyFileIsOpened)
{
    Select(src + ARK_SEP "Cub.MDL");
    // With the source gone, opening it first would give 106 instead.
    std::filesystem::remove(src + ARK_SEP "Cub.MDL");
    before = FolderSnapshot(dst);
    for (const std::u16string name : {u"CON", u"nul", u"Com3", u"lpt1.x"}) {
        SCOPED_TRACE(Utf16ToUtf8(name));
        host.Clear();
        state.modelNameText = name;
        ExpectRefusal(FormatString(107, {Utf8ToUtf16(TargetPath(name))}), FocusTarget::ModelName, true, Run());
    }
}

TEST_F(ConvertCommandTest, TransmitterTypeMismatchIsRefused)
{
    before = FolderSnapshot(dst);
    Select(src + ARK_SEP "Cub.MDL");
    state.sourceTransmitter = TX_PX200;
    ExpectRefusal(LoadString(704), FocusTarget::SourceTransmitter, false, Run());

    // A row whose transmitter text names no type, whatever the combo box says.
    std::vector<uint8_t> odd = PX400File(u"Odd", 0);
    odd[0] = 'Z';
    WriteSampleFile(src + ARK_SEP "Odd.MDL", odd);
    state.sourceTransmitter = TX_PX400;
    state.sourceLocationText = src + ARK_SEP "";
    SaveDialogData(state, host);
    Select(src + ARK_SEP ARK_SEP "Odd.MDL");
    host.Clear();
    ExpectRefusal(LoadString(704), FocusTarget::SourceTransmitter, false, Run());
}

TEST_F(ConvertCommandTest, SourceThatCannotBeOpenedOrReadWhole)
{
    before = FolderSnapshot(dst);
    Select(src + ARK_SEP "Cub.MDL");
    std::filesystem::remove(src + ARK_SEP "Cub.MDL");
    ExpectRefusal(FormatString(106, {Utf8ToUtf16(src + ARK_SEP "Cub.MDL")}), FocusTarget::SourceLocation, true, Run());

    // A PX400 file shorter than a model is a read failure, not a model of zeros.
    std::vector<uint8_t> cut = PX400File(u"Cut", 0);
    cut.resize(1000);
    WriteSampleFile(src + ARK_SEP "Cut.MDL", cut);
    state.sourceLocationText = src + ARK_SEP ".";
    SaveDialogData(state, host);
    Select(src + ARK_SEP "." ARK_SEP "Cut.MDL");
    host.Clear();
    const std::u16string text = FormatString(1314, {Utf8ToUtf16(src + ARK_SEP "." ARK_SEP "Cut.MDL")});
    EXPECT_EQ(text, u"An attempt was made to access " + Utf8ToUtf16(src + ARK_SEP "." ARK_SEP "Cut.MDL") + u" past its end.");
    ExpectRefusal(text, std::nullopt, false, Run());
}

TEST_F(ConvertCommandTest, VersionVerdictsStopBeforeAnythingIsBuilt)
{
    Select(src + ARK_SEP "Cub.MDL");
    before = FolderSnapshot(dst);
    hw.m_inUse = 7;  // untouched unless the build starts
    ConvertOptions options;
    options.versionCheck = VersionOld;
    ExpectRefusal(LoadString(700), FocusTarget::SourceList, false, Run(options));
    host.Clear();
    options.versionCheck = VersionNew;
    ExpectRefusal(LoadString(701), FocusTarget::SourceList, false, Run(options));
    EXPECT_EQ(hw.m_inUse, 7);

    host.Clear();
    options.versionCheck = VersionRecordSize;
    EXPECT_TRUE(Run(options));
    EXPECT_EQ(g_sizeGood, 1);
    EXPECT_EQ(hw.m_inUse, 0);
}

TEST_F(ConvertCommandTest, TargetFolderThatTakesNoFile)
{
    Select(src + ARK_SEP "Cub.MDL");
    state.targetLocationText = dst + ARK_SEP "missing";
    SaveDialogData(state, host);
    host.Clear();
    before = FolderSnapshot(dst);
    ExpectRefusal(FormatString(107, {Utf8ToUtf16(dst + ARK_SEP "missing" ARK_SEP "NEWCUB.mdl")}), FocusTarget::ModelName, true, Run());
}

TEST_F(ConvertCommandTest, DelayWarningsComeBetweenCompletionAndHardware)
{
    for (const auto& [type, warning] : {std::pair<uint16_t, unsigned>{MODEL_AIRPLANE, 703}, {MODEL_GLIDER, 702}}) {
        SCOPED_TRACE(warning);
        samples::PX400Builder b;
        b.SetModelName(u"Delay");
        b.SetModelType(type);
        samples::DelayRecord delay;
        delay.select1 = 0x01;  // pair 0 selected by bit 0 only ...
        delay.rates[1] = 5;    // ... while rate 2 is in use: the PX600 cannot express it
        delay.pairs[0] = 1;
        delay.pairs[1] = 2;
        b.SetDelayRecord(0, 0, delay);
        const std::string name = "Delay" + std::to_string(type);
        WriteSampleFile(src + ARK_SEP "" + name + ".MDL", b.Image());
        state.sourceLocationText = src + (type ? "/./." : "/.");  // a new text refills the list
        SaveDialogData(state, host);
        Select(state.sourceLocationText + ARK_SEP "" + name + ".MDL");
        state.modelNameText = Utf8ToUtf16(name);
        host.Clear();
        ASSERT_TRUE(Run());
        ASSERT_EQ(host.boxes.size(), 3u);
        EXPECT_EQ(host.boxes[0].text, LoadString(108));
        EXPECT_EQ(host.boxes[1].text, LoadString(warning));
        EXPECT_EQ(host.boxes[1].kind, MessageKind::Warning);
        EXPECT_EQ(host.boxes[2].text, LoadString(705));
    }
}

TEST_F(ConvertCommandTest, ShortPX200ModelIsConvertedWithAWarningLast)
{
    struct Engine {
        Engine() { TinyStartup(); }
        ~Engine() { TinyShutdown(); }
    } engine;
    const std::vector<uint8_t> whole = MakePX200Model(PX200Samples()[0]);
    for (const size_t size : {size_t{10}, PX200_DATA_SIZE - 1, PX200_DATA_SIZE}) {
        const std::string folder = temp.Sub("px200-" + std::to_string(size));
        ASSERT_TRUE(TinyVolumeBuilder().AddFile(6, {whole.begin(), whole.begin() + std::ptrdiff_t(size)})
                        .WriteFile(folder + ARK_SEP "TINYFS.IMG"));
        state.sourceTransmitter = TX_PX200;
        state.sourceLocationText = folder;
        state.modelNameText = Utf8ToUtf16("S" + std::to_string(size));
        SaveDialogData(state, host);
        Select("6");
        host.Clear();
        ASSERT_TRUE(Run());
        ASSERT_EQ(host.boxes.size(), size < PX200_DATA_SIZE ? 3u : 2u);
        EXPECT_EQ(host.boxes[1].text, LoadString(705));
        if (size < PX200_DATA_SIZE) {
            EXPECT_EQ(host.boxes[2].text, FormatString(709, {static_cast<long long>(size), 6618LL}));
        }
        EXPECT_EQ(host.boxes.back().kind, size < PX200_DATA_SIZE ? MessageKind::Warning : MessageKind::HardwareWarning);
    }
}

// The target folder is looked at before the source is opened: an image there
// that cannot be mounted leaves the source's image mounted and readable.
TEST_F(ConvertCommandTest, UnusableImageInTheTargetFolderLeavesTheSourceImageReadable)
{
    struct Engine {
        Engine() { TinyStartup(); }
        ~Engine() { TinyShutdown(); }
    } engine;
    const std::string folder = temp.Sub("px200");
    ASSERT_TRUE(TinyVolumeBuilder().AddFile(6, MakePX200Model(PX200Samples()[0])).WriteFile(folder + ARK_SEP "TINYFS.IMG"));
    WriteSampleFile(dst + ARK_SEP "TINYFS.IMG", std::vector<uint8_t>(4096, 0));  // no volume in it
    state.sourceTransmitter = TX_PX200;
    state.sourceLocationText = folder;
    SaveDialogData(state, host);
    Select("6");
    host.Clear();
    EXPECT_TRUE(Run());
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes[0].text, LoadString(108));
}

TEST_F(ConvertCommandTest, DetailChoicesSurviveAFailureAndAreConsumedBySuccess)
{
    samples::PX400Builder b;
    b.SetModelName(u"Heli");
    b.SetModelType(MODEL_HELICOPTER);
    for (int c = 0; c < 8; ++c)
        b.SetConditionName(c, u"FILE" + Utf8ToUtf16(std::to_string(c)));
    WriteSampleFile(src + ARK_SEP "Heli.MDL", b.Image());
    state.sourceLocationText = src + ARK_SEP ".";
    SaveDialogData(state, host);
    Select(src + ARK_SEP "." ARK_SEP "Heli.MDL");

    DetailChoices choices;
    ASSERT_TRUE(PrepareDetailChoices(state, host, hw, choices));
    EXPECT_EQ(choices.conditionNames[3], u"FILE3");
    EXPECT_EQ(hw.m_sourceType, TX_PX400);
    EXPECT_EQ(hw.m_targetType, TX_PX600);
    choices.conditionNames[0] = u"IDLEUP1";
    choices.conditionNames[1] = u"TENCHARSXY";
    ConfirmDetailChoices(state, hw, choices);
    EXPECT_EQ(state.m_detailUsed, 1);

    // A refused conversion keeps the choices.
    WriteSampleFile(dst + ARK_SEP "NEWCUB.mdl", {9});
    host.Clear();
    EXPECT_FALSE(Run());
    EXPECT_EQ(state.m_detailUsed, 1);
    EXPECT_EQ(state.m_conditionNames[0], u"IDLEUP1");
    // Opening the detail dialog again shows them, not the file's names.
    DetailChoices again;
    ASSERT_TRUE(PrepareDetailChoices(state, host, hw, again));
    EXPECT_EQ(again.conditionNames[0], u"IDLEUP1");

    state.modelNameText = u"HELI2";
    host.Clear();
    ASSERT_TRUE(Run());
    EXPECT_EQ(hw.m_inUse, 1);
    EXPECT_EQ(state.m_detailUsed, 0);
    const std::vector<uint8_t> image = ReadSampleFile(TargetPath(u"HELI2"));
    EXPECT_EQ(StoredConditionName(image, 0), u"IDLEUP1");
    EXPECT_EQ(StoredConditionName(image, 1), u"TENCHARS");
    EXPECT_EQ(StoredConditionName(image, 2), u"FILE2");

    // The next conversion uses neither the names nor the rows.
    state.modelNameText = u"HELI3";
    host.Clear();
    ASSERT_TRUE(Run());
    EXPECT_EQ(hw.m_inUse, 0);
    EXPECT_EQ(StoredConditionName(ReadSampleFile(TargetPath(u"HELI3")), 0), u"FILE0");
    DetailChoices fresh;
    ASSERT_TRUE(PrepareDetailChoices(state, host, hw, fresh));
    EXPECT_EQ(fresh.conditionNames[0], u"FILE0");
}

// A run of several models applies no detail choices and leaves them for the
// model they were confirmed for; the lists are refilled once, after the run.
TEST_F(ConvertCommandTest, RunOfSeveralModelsLeavesDetailChoicesToTheirModel)
{
    Select(src + ARK_SEP "Cub.MDL");
    DetailChoices choices;
    ASSERT_TRUE(PrepareDetailChoices(state, host, hw, choices));
    choices.conditionNames[0] = u"CHOSEN";
    ConfirmDetailChoices(state, hw, choices);
    const int row = state.selectedSourceRow;
    host.Clear();
    CBatchConvert run(state, hw, ProposeBatchNames(state, {1, 0, 1}));
    ASSERT_EQ(run.Count(), 2u);
    while (!run.Finished())
        EXPECT_EQ(run.ConvertNext(host).result, BatchOutcome::Result::Stored);
    EXPECT_TRUE(host.lists.empty());
    run.Finish(host);
    EXPECT_EQ(host.lists.size(), 1u);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(hw.m_inUse, 0);
    EXPECT_NE(StoredConditionName(ReadSampleFile(TargetPath(u"Cub")), 0), u"CHOSEN");
    EXPECT_EQ(StoredModelName(ReadSampleFile(TargetPath(u"Glider"))), u"Glider");
    EXPECT_EQ(state.m_detailUsed, 1);
    EXPECT_EQ(state.selectedSourceRow, row);
    EXPECT_EQ(state.modelNameText, u"NEWCUB");
}

TEST_F(ConvertCommandTest, DetailRefusalsAndTableValidity)
{
    state.selectedSourceRow = -1;
    DetailChoices choices;
    EXPECT_FALSE(PrepareDetailChoices(state, host, hw, choices));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, LoadString(104));

    Select(src + ARK_SEP "Cub.MDL");
    ASSERT_TRUE(PrepareDetailChoices(state, host, hw, choices));
    choices.hardwareChoice[0] = 0;  // J1 -> NULL
    ConfirmDetailChoices(state, hw, choices);
    EXPECT_EQ(hw.m_rows[0].target, HW_NONE);
    EXPECT_EQ(IsHardwareTableValid(state, hw), 1);
    // Another source type makes the rows invalid without touching them.
    state.sourceTransmitter = TX_PX200;
    EXPECT_EQ(IsHardwareTableValid(state, hw), 0);
    EXPECT_EQ(hw.m_rows[0].target, HW_NONE);
}

// A failure injected at every step of the store leaves no file behind and
// reports the failing file operation; the choices and lists stay.
// The injected faults are POSIX error numbers.
#ifndef _WIN32
TEST_F(ConvertCommandTest, InjectedStoreFailuresLeaveNothingBehind)
{
    Select(src + ARK_SEP "Cub.MDL");
    const std::u16string path = Utf8ToUtf16(TargetPath(u"NEWCUB"));
    const struct {
        FileOp op;
        int error;
        std::u16string text;
    } cases[] = {
        {FileOp::Open, EACCES, FormatString(107, {path})},
        {FileOp::Open, ENOSPC, FormatString(1313, {path})},  // also: no free inode
        {FileOp::Open, EMFILE, FormatString(1304, {path})},
        {FileOp::Write, ENOSPC, FormatString(1313, {path})},
        {FileOp::Write, EIO, FormatString(1310, {path})},
        {FileOp::Sync, EIO, FormatString(1310, {path})},
        {FileOp::Close, EDQUOT, FormatString(1313, {path})},
        {FileOp::Link, EIO, FormatString(1310, {path})},
        {FileOp::Link, EEXIST, FormatString(105, {path})},
    };
    DetailChoices choices;
    ASSERT_TRUE(PrepareDetailChoices(state, host, hw, choices));
    ConfirmDetailChoices(state, hw, choices);
    before = FolderSnapshot(dst);
    for (bool named : {false, true}) {
        for (const auto& c : cases) {
            if (named && c.op == FileOp::Open)
                continue;  // the refused unnamed file takes the open's fault
            SCOPED_TRACE(Utf16ToUtf8(c.text) + (named ? " (named)" : ""));
            host.Clear();
            ClearFileFaultsForTesting();
            if (named)
                UseNamedTemporary();
            InjectFileFaultForTesting(c.op, 1, c.error);
            EXPECT_FALSE(Run());
            EXPECT_EQ(FileOpCountForTesting(c.op), 1);
            ASSERT_EQ(host.boxes.size(), 1u);
            EXPECT_EQ(host.boxes[0].text, c.text);
            EXPECT_EQ(host.boxes[0].kind, MessageKind::Error);
            EXPECT_EQ(FolderSnapshot(dst), before);
            EXPECT_EQ(state.m_detailUsed, 1);
            EXPECT_TRUE(host.lists.empty());
        }
    }

    // A stored file leaves no temporary file beside it, even when removing
    // the temporary name after publishing fails.
    for (bool named : {false, true}) {
        SCOPED_TRACE(named);
        host.Clear();
        ClearFileFaultsForTesting();
        if (named) {
            UseNamedTemporary();
            InjectFileFaultForTesting(FileOp::Unlink, 1, EIO);
        }
        EXPECT_TRUE(Run());
        EXPECT_EQ(FileOpCountForTesting(FileOp::Unlink), named || !kUnnamedFiles ? 1 : 0);
        const auto after = FolderSnapshot(dst);
        ASSERT_EQ(after.size(), 1u);
        EXPECT_EQ(after.begin()->second.size(), PX600_IMAGE_SIZE);
        std::filesystem::remove(TargetPath(u"NEWCUB"));
    }
}

TEST(AtomicFileTest, NeverReplacesAFileThatAppearedMeanwhile)
{
    TempFolder temp;
    const std::string path = temp.Path() + ARK_SEP "model.mdl";
    const std::vector<uint8_t> bytes(100, 0xAB);

    // Without a name, with a temporary name, and with one on a file system
    // without hard links.
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        ClearFileFaultsForTesting();
        if (mode > 0)
            UseNamedTemporary();
        CAtomicFile out;
        ASSERT_TRUE(out.Create(path).ok);
        if (mode == 0 && kUnnamedFiles)
            EXPECT_EQ(out.TemporaryPath(), "");
        else
            EXPECT_EQ(out.TemporaryPath().rfind(temp.Path() + ARK_SEP "" + kAtomicTempPrefix, 0), 0u);
        EXPECT_TRUE(out.Write(bytes.data(), bytes.size()).ok);
        WriteSampleFile(path, {1, 2, 3});  // someone else's file appears
        if (mode == 2)
            InjectFileFaultForTesting(FileOp::Link, 1, EPERM);
        CAtomicFile::Publish published = CAtomicFile::Publish::Stored;
        EXPECT_TRUE(out.Commit(published).ok);
        EXPECT_EQ(published, CAtomicFile::Publish::Exists);
        EXPECT_EQ(ReadSampleFile(path), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(FolderSnapshot(temp.Path()).size(), 1u);
        std::filesystem::remove(path);
    }

    // Without hard links the file is still published whole under its name.
    ClearFileFaultsForTesting();
    UseNamedTemporary();
    InjectFileFaultForTesting(FileOp::Link, 1, EPERM);
    CAtomicFile out;
    ASSERT_TRUE(out.Create(path).ok);
    EXPECT_TRUE(out.Write(bytes.data(), bytes.size()).ok);
    CAtomicFile::Publish published = CAtomicFile::Publish::Exists;
    EXPECT_TRUE(out.Commit(published).ok);
    EXPECT_EQ(published, CAtomicFile::Publish::Stored);
    EXPECT_EQ(ReadSampleFile(path), bytes);
    EXPECT_EQ(FolderSnapshot(temp.Path()).size(), 1u);
    ClearFileFaultsForTesting();
}

// A process killed while it writes (kill -9 of a conversion) leaves no file
// in the folder.
TEST(AtomicFileTest, KilledStoreLeavesNoFile)
{
    if (!kUnnamedFiles)
        GTEST_SKIP() << "no unnamed files on this system";
    TempFolder temp;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Writes, tells the parent, and waits for its end before any commit.
        CAtomicFile out;
        const std::vector<uint8_t> bytes(PX600_IMAGE_SIZE, 0x5A);
        const char created = out.Create(temp.Path() + "/KILLED.mdl").ok && out.Write(bytes.data(), bytes.size()).ok;
        if (::write(ready[1], &created, 1) != 1)
            ::_exit(2);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    pollfd wait{ready[0], POLLIN, 0};
    char created = 0;
    const bool told = ::poll(&wait, 1, 20000) == 1 && ::read(ready[0], &created, 1) == 1;
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(ready[0]);
    ASSERT_TRUE(told);
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_TRUE(FolderSnapshot(temp.Path()).empty());
}

#endif

TEST(AtomicFileTest, AbandonedFileLeavesNoTemporary)
{
    TempFolder temp;
    for (bool named : {false, true}) {
        {
            ClearFileFaultsForTesting();
            if (named)
                UseNamedTemporary();
            CAtomicFile out;
            ASSERT_TRUE(out.Create(temp.Path() + ARK_SEP "x.mdl").ok);
            const uint8_t b = 1;
            EXPECT_TRUE(out.Write(&b, 1).ok);
            EXPECT_EQ(FolderSnapshot(temp.Path()).size(), out.TemporaryPath().empty() ? 0u : 1u);
        }
        EXPECT_TRUE(FolderSnapshot(temp.Path()).empty());
    }
    ClearFileFaultsForTesting();
}
