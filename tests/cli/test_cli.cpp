// End-to-end runs of arkleton-cli on the bundled samples: output streams,
// exit status and the files it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "../core/RecordingHost.h"
#include "../core/Watchdog.h"
#include "app/Strings.h"
#include "convert/Conversion.h"
#include "convert/CurveCompare.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "platform/Text.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/SampleFiles.h"

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

#ifdef _WIN32
// An argument for cmd.exe and the program's command line: in double quotes
// (no argument of these tests holds one).
std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}

// A path of the build as the Windows program sees it (wine maps "/" to the
// drive of the current folder).
std::string SystemPath(const std::string& path)
{
    std::string out = std::filesystem::absolute(path).string();
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}
#else
std::string Quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string SystemPath(const std::string& path)
{
    return path;
}
#endif

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Text(unsigned id, Language language = Language::English)
{
    return Utf16ToUtf8(LoadString(id, language));
}

// A message of the current language with its arguments.
template <typename... Args>
std::string Message(unsigned id, const Args&... args)
{
    return Utf16ToUtf8(FormatString(id, {FormatArg(Utf8ToUtf16(args))...}));
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        px400 = SystemPath(ARK_SAMPLES_DIR) + ARK_SEP "px400";
        px200 = SystemPath(ARK_SAMPLES_DIR) + ARK_SEP "px200";
        ASSERT_TRUE(std::filesystem::exists(px400 + ARK_SEP "TRAINER.MDL")) << "samples not written: " << px400;
        out = temp.Sub("out");
        config = temp.Sub("config");
    }

    // Runs the program with English as the system language and no stored
    // settings, in the folder cwd when one is given; stdout goes to the file
    // stdoutPath when one is given (and is then not read back).
    Result Run(const std::vector<std::string>& args, const std::string& stdoutPath = "", const std::string& cwd = "")
    {
        const std::string e = temp.Path() + ARK_SEP "stderr";
        const std::string o = stdoutPath.empty() ? temp.Path() + ARK_SEP "stdout" : stdoutPath;
#ifdef _WIN32
        // The child inherits this environment; cmd.exe takes the whole line
        // in one more pair of quotes.
        _putenv_s("LC_ALL", "");
        _putenv_s("LC_MESSAGES", "");
        _putenv_s("LANG", "C");
        std::string cmd = "\"" + (cwd.empty() ? "" : "cd /d " + Quote(cwd) + " && ") + Quote(SystemPath(ARK_CLI_PATH));
        for (const std::string& a : args)
            cmd += " " + Quote(a);
        cmd += " >" + Quote(o) + " 2>" + Quote(e) + "\"";
        // Wide, so that names outside the ANSI code page reach the program.
        const std::u16string wide = Utf8ToUtf16(cmd);
        const int status = _wsystem(std::wstring(wide.begin(), wide.end()).c_str());
#else
        std::string cmd = (cwd.empty() ? "" : "cd " + Quote(cwd) + " && ") +
                          "env -u LC_ALL -u LC_MESSAGES LANG=C XDG_CONFIG_HOME=" + Quote(config) + " " +
                          Quote(ARK_CLI_PATH);
        for (const std::string& a : args)
            cmd += " " + Quote(a);
        cmd += " >" + Quote(o) + " 2>" + Quote(e);
        const int raw = std::system(cmd.c_str());
        const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
        return {status, stdoutPath.empty() ? Slurp(o) : std::string(), Slurp(e)};
    }

    Result Convert(const std::string& model, const std::string& name, std::vector<std::string> extra = {})
    {
        std::vector<std::string> args{"convert", "--from", "PX400", "--source", px400, "--model",
                                      px400 + ARK_SEP "" + model, "--to", out, "--name", name};
        args.insert(args.end(), extra.begin(), extra.end());
        return Run(args);
    }

    TempFolder temp;
    std::string px400, px200, out, config;
};

}  // namespace

TEST_F(CliTest, ListPrintsOneTabSeparatedLinePerModel)
{
    const Result r = Run({"list", px400});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out);
    ASSERT_GE(lines.size(), 5u);
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string f; std::getline(in, f, '\t');)
            fields.push_back(f);
        ASSERT_EQ(fields.size(), 5u);
        EXPECT_EQ(fields[0].rfind(px400 + ARK_SEP "", 0), 0u);
        EXPECT_EQ(fields[1], "PX400   ");
    }
    EXPECT_NE(r.out.find(ARK_SEP "TRAINER.MDL\tPX400   \tARK TRAINER\tAIRPLANE\t"), std::string::npos);

    // An image location lists its files by number, all as PX200 models.
    const Result image = Run({"list", px200});
    EXPECT_EQ(image.status, 0);
    const auto imageLines = Lines(image.out);
    ASSERT_FALSE(imageLines.empty());
    for (const std::string& line : imageLines)
        EXPECT_NE(line.find("\tPX200   \t"), std::string::npos) << line;
}

TEST_F(CliTest, ConvertStoresTheFileAndAFollowingListShowsIt)
{
    const Result r = Convert("EGLIDER.MDL", "TRAINER2");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Text(108) + "\n");
    EXPECT_EQ(r.err, Text(705) + "\n");
    const std::vector<uint8_t> image = ReadSampleFile(out + ARK_SEP "TRAINER2.mdl");
    EXPECT_EQ(image.size(), PX600_IMAGE_SIZE);
    EXPECT_EQ(FolderSnapshot(out).size(), 1u);

    const Result list = Run({"list", out});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out.rfind(out + ARK_SEP "TRAINER2.mdl\tPX600   \tTRAINER2\tGLIDER\t", 0), 0u) << list.out;

    // The same name again is refused, and the stored file stays as it was.
    const Result again = Convert("HELI450.MDL", "TRAINER2");
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err, Utf16ToUtf8(FormatString(105, {Utf8ToUtf16(out + ARK_SEP "TRAINER2.mdl")})) + "\n");
    EXPECT_EQ(ReadSampleFile(out + ARK_SEP "TRAINER2.mdl"), image);

    // An airplane whose delay could not be carried over: the air-brake
    // warning comes before the hardware warning, both on stderr.
    const Result delay = Convert("TRAINER.MDL", "TRAINER3");
    EXPECT_EQ(delay.status, 0);
    EXPECT_EQ(delay.out, Text(108) + "\n");
    EXPECT_EQ(delay.err, Text(703) + "\n\n" + Text(705) + "\n");
}

TEST_F(CliTest, RefusalsExitWithOneAndLeaveTheTargetAsItWas)
{
    WriteSampleFile(out + ARK_SEP "keep.mdl", {1, 2, 3});
    const auto before = FolderSnapshot(out);
    struct Case {
        Result result;
        std::string message;
    };
    const Case cases[] = {
        {Convert("NOSUCH.MDL", "X"), Message(1530, px400 + ARK_SEP "NOSUCH.MDL", px400)},
        {Convert("TRAINER.MDL", "ABCDEFGHIJKLMNOP"), Text(706)},
        {Convert("TRAINER.MDL", "A?B"), Text(707)},
        {Convert("TRAINER.MDL", ""), Text(708)},
        {Convert("HELI450.MDL", "X", {"--condition", "2=A\tB"}), Utf16ToUtf8(FormatString(713, {LoadString(2103), 2}))},
        {Run({"convert", "--from", "PX200", "--source", px400, "--model", px400 + ARK_SEP "TRAINER.MDL", "--to", out,
              "--name", "X"}),
         Text(704)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(c.result.status, 1);
        EXPECT_EQ(c.result.out, "");
        EXPECT_EQ(c.result.err, c.message + "\n");
    }
    EXPECT_EQ(FolderSnapshot(out), before);

    // An image location never receives a file; its image stays byte for byte.
    const auto imageBefore = FolderSnapshot(px200);
    const Result r = Run({"convert", "--from", "PX400", "--source", px400, "--model", px400 + ARK_SEP "TRAINER.MDL",
                          "--to", px200, "--name", "X"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, Utf16ToUtf8(FormatString(103, {u"PX600", Utf8ToUtf16(px200)})) + "\n");
    EXPECT_EQ(FolderSnapshot(px200), imageBefore);
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndWriteNothing)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"list"},
        {"convert", "--from", "PX400"},
        {"convert", "--from", "PX600", "--source", px400, "--model", "m", "--to", out, "--name", "X"},
        {"convert", "--from", "PX400", "--source", px400, "--model", px400 + ARK_SEP "TRAINER.MDL", "--to", out, "--name",
         "X", "--condition", "9=NINE"},
        {"convert", "--from", "PX400", "--source", px400, "--model", px400 + ARK_SEP "TRAINER.MDL", "--to", out, "--name",
         "X", "--map", "NOPE=SW-A"},
        {"convert", "--from", "PX400", "--source", px400, "--model", px400 + ARK_SEP "TRAINER.MDL", "--to", out, "--name",
         "X", "--map", "CD-SW=T5"},  // a switch takes no trim
        {"--language", "xx", "list", px400},
    };
    for (const auto& args : cases) {
        const Result r = Run(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
    EXPECT_TRUE(FolderSnapshot(out).empty());

    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("arkleton-cli list"), std::string::npos);
    const Result version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find(ARK_VERSION), std::string::npos);
}

// Locations that cannot be listed, output that cannot be written, option
// values that look like options, and control characters from arguments.
TEST_F(CliTest, StreamsAndExitStatusOfFailuresValuesAndEscapes)
{
    const std::string model = px400 + ARK_SEP "EGLIDER.MDL", none = temp.Path() + ARK_SEP "none";
    const std::string dash = temp.Sub("-h");  // a folder named like an option
    std::filesystem::copy_file(model, dash + ARK_SEP "EGLIDER.MDL");
    const std::string dashRows = Run({"list", dash}).out;
    auto convert = [&](const std::string& key, const std::string& to, const std::string& name,
                       const std::string& from = "PX400") {
        return std::vector<std::string>{"convert", "--from", from, "--source", px400, "--model", key, "--to", to,
                                        "--name", name};
    };
    auto usage = [](const std::string& text) { return text + "\n" + Text(1420) + "\n"; };
    const std::string badOut = temp.Path() + ARK_SEP "o\a";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err, stdoutPath = "";
    };
    std::vector<Case> cases = {
        {{"list", none}, 1, "", Message(1302, none) + "\n"},
        {{"list", model}, 1, "", Message(1531, model) + "\n"},
        {{"list", ""}, 1, "", Message(1531, "") + "\n"},
        {{"list", "--", "-h"}, 0, "-h" + dashRows.substr(dash.size()), ""},
        {{"list", "-h"}, 0, Text(1400) + "\n\n" + Text(1401) + "\n", ""},
        {{"list", "--bogus"}, 2, "", usage(Message(1411, "--bogus"))},
        {convert(model, out, "-h"), 0, Text(108) + "\n", Text(705) + "\n"},
        {convert("--help", out, "X"), 1, "", Message(1530, "--help", px400) + "\n"},
        {{"convert", "--from", "PX400", "--name"}, 2, "", usage(Message(1412, "--name"))},
        {convert(model, out, "X", "\x1b[31mX\a"), 2, "", usage(Message(1414, "?[31mX?"))},
        {convert(px400 + ARK_SEP "\x1b]0;T\a", out, "X"), 1, "", Message(1530, px400 + ARK_SEP "?]0;T?", px400) + "\n"},
        {convert(model, badOut, "X"), 1, "", Message(107, temp.Path() + ARK_SEP "o?" ARK_SEP "X.mdl") + "\n"},
    };
#ifndef _WIN32
    for (std::vector<std::string> args : {std::vector<std::string>{"list", px400}, {"--version"}, convert(model, out, "F")})
        cases.push_back({args, 1, "", (args[0] == "convert" ? Text(705) + "\n\n" : "") + Text(1532) + "\n", "/dev/full"});
    const std::string closed = temp.Sub("closed");
    ::chmod(closed.c_str(), 0);
    if (::access(closed.c_str(), R_OK) != 0)  // not where permissions are ignored
        cases.push_back({{"list", closed}, 1, "", Message(1305, closed) + "\n"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases.data()));
        const Result r = Run(c.args, c.stdoutPath, temp.Path());
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_TRUE(std::filesystem::exists(out + ARK_SEP "-h.mdl"));
}

// A folder's image that cannot be used is named with its reason, once per run.
TEST_F(CliTest, AnImagePassedOverIsNamedOnStandardError)
{
    const std::string card = temp.Sub("card"), image = card + ARK_SEP "TINYFS.IMG";
    std::filesystem::copy_file(px200 + ARK_SEP "TINYFS.IMG", image);
    std::filesystem::copy_file(px400 + ARK_SEP "EGLIDER.MDL", card + ARK_SEP "EGLIDER.MDL");
    std::filesystem::permissions(image, std::filesystem::perms::owner_read);
    const Result list = Run({"list", card});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.err, Message(1533, image) + "\n");
    EXPECT_EQ(Lines(list.out).size(), 1u);
    const Result r = Run({"convert", "--from", "PX400", "--source", card, "--model", card + ARK_SEP "EGLIDER.MDL",
                          "--to", card, "--name", "X"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, Message(1533, image) + "\n\n" + Text(705) + "\n");
    std::filesystem::permissions(image, std::filesystem::perms::owner_all);
}

TEST_F(CliTest, MissingArgumentIsNamedAsTheHelpOfTheLanguageNamesIt)
{
    struct Case {
        const char* code;
        Language language;
        std::string word;
    };
    const Case cases[] = {{"en", Language::English, "LOCATION"},
                          {"de", Language::German, "ORT"},
                          {"fr", Language::French, "EMPLACEMENT"},
                          {"ja", Language::Japanese, "場所"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_NE(Text(1400, c.language).find("arkleton-cli list " + c.word + "\n"), std::string::npos);
        const Result r = Run({"--language", c.code, "list"});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, Utf16ToUtf8(FormatText(LoadString(1413, c.language), {Utf8ToUtf16(c.word)})) + "\n" +
                             Text(1420, c.language) + "\n");
    }
}

TEST_F(CliTest, ConditionNamesAndControlMapsStandForTheDetailDialog)
{
    const Result r = Convert("HELI450.MDL", "HELI", {"--condition", "1=IDLEUP1", "--condition", "3=ABCDEFGHIJ",
                                                     "--map", "CD-SW=SW-A", "--report"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<uint8_t> image = ReadSampleFile(out + ARK_SEP "HELI.mdl");
    auto name = [&](int c) {
        std::string s;
        for (int i = 0; i < 8 && image[28140 + 578 * c + 2 * i + 1]; ++i)
            s += static_cast<char>(image[28140 + 578 * c + 2 * i + 1]);
        return s;
    };
    EXPECT_EQ(name(0), "IDLEUP1");
    EXPECT_EQ(name(2), "ABCDEFGH");
    // The report names the reassigned control; the completion paragraph follows it.
    EXPECT_NE(r.out.find("SW-A"), std::string::npos);
    EXPECT_GT(Lines(r.out).size(), 2u);
    EXPECT_NE(r.out.find(Text(108)), std::string::npos);
}

// --report prints the findings, must check first; as JSON stdout holds the
// JSON alone, one object per finding with its offsets.
TEST_F(CliTest, ReportAsTextAndAsJson)
{
    const Result text = Convert("HELI450.MDL", "HT", {"--report"});
    ASSERT_EQ(text.status, 0) << text.err;
    const auto lines = Lines(text.out);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[0], Text(108));
    EXPECT_EQ(lines[1].rfind("Must check (", 0), 0u) << text.out;
    EXPECT_EQ(text.out.find("0x"), std::string::npos);

    const Result json = Convert("HELI450.MDL", "HJ", {"--report-format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"mustCheck\": ", 0), 0u) << json.out;
    EXPECT_EQ(json.out.substr(json.out.size() - 3), "]}\n");
    EXPECT_NE(json.err.find(Text(108)), std::string::npos);
    size_t mustCheck = 0;
    for (size_t at = 0; (at = json.out.find("\"severity\": \"must-check\"", at)) != std::string::npos; ++at)
        ++mustCheck;
    EXPECT_EQ(json.out.find("\"mustCheck\": " + std::to_string(mustCheck) + ","), 1u);
    EXPECT_NE(json.out.find("\"offsets\": [73]"), std::string::npos);

    EXPECT_EQ(Convert("HELI450.MDL", "HX", {"--report-format", "xml"}).status, 2);
}

// The report names each curve whose shape changed, with its largest
// difference; the JSON carries both point lists of those curves.
TEST_F(CliTest, ReportListsChangedCurvesWithTheirPoints)
{
    CModelDataPX400 source;
    const std::vector<uint8_t> model = ReadSampleFile(px400 + ARK_SEP "TRAINER.MDL");
    std::copy(model.begin(), model.end(), source.GetImage());
    CConvertHW table;
    CModelDataPX600 target(&table);
    ConvertFromPX400(target, source);
    const std::vector<CurveComparison> curves = CompareCurves(source, target);
    const auto changed = std::count_if(curves.begin(), curves.end(), [](const auto& c) { return c.Changed(); });
    ASSERT_GT(changed, 0);

    const Result text = Convert("TRAINER.MDL", "CT", {"--report"});
    ASSERT_EQ(text.status, 0) << text.err;
    const auto count = [](const std::string& in, const std::string& what) {
        size_t n = 0;
        for (size_t at = 0; (at = in.find(what, at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    EXPECT_EQ(count(text.out, "Largest difference: "), size_t(changed)) << text.out;
    EXPECT_NE(text.out.find(std::to_string(curves.size() - size_t(changed)) + " curve(s) carried over unchanged"),
              std::string::npos);
    const Result json = Convert("TRAINER.MDL", "CJ", {"--report-format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(count(json.out, "\"kind\": \"curve\", \"condition\": "), size_t(changed) + 1);
    EXPECT_EQ(count(json.out, "\"source\": [[-100, "), size_t(changed));
    EXPECT_EQ(count(json.out, "\"target\": [[-100, "), size_t(changed));
}

TEST_F(CliTest, LanguageFromOptionOrStoredSetting)
{
    const Result de = Convert("EGLIDER.MDL", "DE", {"--language", "de"});
    EXPECT_EQ(de.status, 0);
    EXPECT_EQ(de.out, Text(108, Language::German) + "\n");

#ifdef _WIN32
    // Stored where the GUI keeps it on Windows: the registry.
    const char* key = "\"HKCU\\Software\\Varkel Corp.\\arkleton\\system\"";
    ASSERT_EQ(std::system((std::string("reg add ") + key + " /v Language /t REG_DWORD /d 4 /f >NUL").c_str()), 0);
    struct Forget {
        const char* key;
        ~Forget() { std::system((std::string("reg delete ") + key + " /v Language /f >NUL 2>NUL").c_str()); }
    } forget{key};
#else
    std::filesystem::create_directories(config + "/Varkel Corp.");
    std::ofstream(config + "/Varkel Corp./arkleton.conf") << "[General]\nLanguage=3\n\n[system]\nLanguage=4\n";
#endif
    const Result fr = Convert("EGLIDER.MDL", "FR");
    EXPECT_EQ(fr.status, 0);
    EXPECT_EQ(fr.out, Text(108, Language::French) + "\n");
    EXPECT_EQ(fr.err, Text(705, Language::French) + "\n");
    // The option wins over the stored setting.
    const Result ja = Convert("TRAINER.MDL", "FR", {"--language", "ja"});
    EXPECT_EQ(ja.status, 1);
    EXPECT_EQ(ja.err.substr(0, 10), Text(105, Language::Japanese).substr(0, 10));
}

TEST_F(CliTest, ConvertsAModelFromAnImage)
{
    const Result list = Run({"list", px200});
    const auto lines = Lines(list.out);
    ASSERT_FALSE(lines.empty());
    const std::string key = lines[0].substr(0, lines[0].find('\t'));
    const Result r = Run({"convert", "--from", "PX200", "--source", px200, "--model", key, "--to", out, "--name",
                          "FROM200"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadSampleFile(out + ARK_SEP "FROM200.mdl").size(), PX600_IMAGE_SIZE);
}

// Every model of the bundled image converts; each block the conversion fills
// (model settings, the eight condition and curve settings blocks, the
// model-wide block) holds data, and a reassigned control shows in the report.
TEST_F(CliTest, ConvertsEveryModelOfTheImageWithEveryBlockFilled)
{
    const Result list = Run({"list", px200});
    const auto lines = Lines(list.out);
    ASSERT_GE(lines.size(), 5u);
    struct Block {
        std::string name;
        size_t from, size;
    };
    std::vector<Block> blocks = {{"model settings", 64, 576}, {"model-wide", 25200, 2940}};
    for (int c = 0; c < 8; ++c) {
        blocks.push_back({"condition " + std::to_string(c), 640 + 3056 * size_t(c), 3056});
        blocks.push_back({"curve settings " + std::to_string(c), 28140 + 578 * size_t(c), 578});
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string key = lines[i].substr(0, lines[i].find('\t'));
        const std::string name = "PX200M" + std::to_string(i);
        SCOPED_TRACE(key);
        const Result r = Run({"convert", "--from", "PX200", "--source", px200, "--model", key, "--to", out, "--name",
                              name, "--map", "RD=LD", "--report"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("RD → LD"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("0x"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(Text(108)), std::string::npos);
        const std::vector<uint8_t> image = ReadSampleFile(out + "/" + name + ".mdl");
        ASSERT_EQ(image.size(), PX600_IMAGE_SIZE);
        EXPECT_EQ(GetBE16(image.data() + 8), 756);
        for (const Block& b : blocks) {
            const auto begin = image.begin() + long(b.from);
            EXPECT_TRUE(std::any_of(begin, begin + long(b.size), [](uint8_t v) { return v != 0; })) << b.name;
        }
    }
}
TEST_F(CliTest, NamesOutsideTheCodePageSurviveArgumentsAndOutput)
{
    // Greek omega and mu, and a CJK character: in no single ANSI code page.
    const std::string dir = temp.Sub("\xCE\xA9\xCE\xBC\xE6\x97\xA5");
    const std::vector<uint8_t> model = ReadSampleFile(px400 + ARK_SEP "TRAINER.MDL");
    std::ofstream(std::filesystem::u8path(dir + ARK_SEP "TRAINER.MDL"), std::ios::binary)
        .write(reinterpret_cast<const char*>(model.data()), static_cast<std::streamsize>(model.size()));
    const Result list = Run({"list", dir});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out.rfind(dir + ARK_SEP "TRAINER.MDL\tPX400   \tARK TRAINER\t", 0), 0u) << list.out;
    const Result r = Run({"convert", "--from", "PX400", "--source", dir, "--model", dir + ARK_SEP "TRAINER.MDL",
                          "--to", dir, "--name", "COPY"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(dir + ARK_SEP "COPY.mdl")));
}

#ifndef _WIN32
TEST_F(CliTest, SpecialEntriesAndAPipeAsSettingsFileNeverMakeItWait)
{
    Watchdog watchdog("arkleton-cli on special entries");
    const std::string dir = temp.Sub("models");
    std::filesystem::copy_file(px400 + "/TRAINER.MDL", dir + "/TRAINER.MDL");
    ASSERT_EQ(::mkfifo((dir + "/PIPE.MDL").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir + "/ZERO.MDL").c_str()), 0);
    ASSERT_EQ(::symlink("LOOP.MDL", (dir + "/LOOP.MDL").c_str()), 0);
    std::filesystem::create_directories(config + "/Varkel Corp.");
    ASSERT_EQ(::mkfifo((config + "/Varkel Corp./arkleton.conf").c_str(), 0644), 0);

    const Result list = Run({"list", dir});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.err, "");
    const auto lines = Lines(list.out);
    ASSERT_EQ(lines.size(), 1u) << list.out;
    EXPECT_EQ(lines[0].rfind(dir + "/TRAINER.MDL\tPX400   \tARK TRAINER\tAIRPLANE\t", 0), 0u);

    // A special entry is no model of the source list; the ordinary one converts.
    for (const char* name : {"PIPE.MDL", "ZERO.MDL", "LOOP.MDL"}) {
        const Result r = Run({"convert", "--from", "PX400", "--source", dir, "--model", dir + "/" + name, "--to",
                              out, "--name", "X"});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.err, Message(1530, dir + "/" + name, dir) + "\n") << name;
    }
    EXPECT_TRUE(FolderSnapshot(out).empty());
    const Result ok = Run({"convert", "--from", "PX400", "--source", dir, "--model", dir + "/TRAINER.MDL", "--to",
                           out, "--name", "X"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(FolderSnapshot(out).size(), 1u);
}
#endif

namespace {

// The tab-separated fields of a line.
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line + '\t');  // so that an empty last field counts
    for (std::string f; std::getline(in, f, '\t');)
        fields.push_back(f);
    return fields;
}

// A PX600 image without the moment of its conversion: the date stamp (43..48)
// cleared and the checksum taken again.
std::vector<uint8_t> Unstamped(std::vector<uint8_t> image)
{
    if (image.size() != PX600_IMAGE_SIZE)
        return image;
    std::fill_n(image.begin() + 43, 6, uint8_t{0});
    uint32_t sum = 0;
    for (size_t i = 0; i < PX600_IMAGE_SIZE - 4; ++i)
        sum += image[i];
    PutBE32(image.data() + PX600_IMAGE_SIZE - 4, sum);
    return image;
}

}  // namespace

// A card's worth of models with awkward names and a damaged file, converted
// in one run: each model once, each file the bytes of a single conversion
// under the name it got (but for the time of conversion), the refusals with the single conversion's message.
TEST_F(CliTest, ConvertAllStoresEveryModelOnceUnderAValidName)
{
    const std::string card = temp.Sub("card");
    for (const auto& entry : std::filesystem::directory_iterator(px400))
        std::filesystem::copy_file(entry.path(), card + ARK_SEP + entry.path().filename().string());
    const std::pair<const char*, std::u16string> awkward[] = {
        {"LONG.MDL", u"ARK SPORT AEROBATIC"}, {"CHARS.MDL", u" A/B:C? "}, {"TWIN1.MDL", u"TWIN"},
        {"TWIN2.MDL", u"twin"},               {"TAKEN.MDL", u"TAKEN"},    {"SPACES.MDL", u"   "}};
    for (const auto& [file, name] : awkward) {
        samples::PX400Builder builder;
        builder.SetModelName(name);
        WriteSampleFile(card + ARK_SEP + file, builder.Image());
    }
    samples::PX400Builder broken;
    broken.SetModelName(u"DAMAGED");
    std::vector<uint8_t> damaged = broken.Image();
    damaged.resize(1000);
    WriteSampleFile(card + ARK_SEP "DAMAGED.MDL", damaged);
    WriteSampleFile(out + ARK_SEP "taken.mdl", {1, 2, 3});

    const Result all = Run({"convert", "--all", "--from", "PX400", "--source", card, "--to", out});
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.err, Text(705) + "\n");
    std::map<std::string, std::vector<std::string>> byFile;  // file name -> fields
    for (const std::string& line : Lines(all.out)) {
        const std::vector<std::string> f = Fields(line);
        ASSERT_EQ(f.size(), 5u) << line;
        EXPECT_TRUE(byFile.emplace(f[0].substr(card.size() + 1), f).second) << "twice: " << line;
    }
    EXPECT_EQ(byFile.size(), Lines(Run({"list", card}).out).size());
    const std::pair<const char*, const char*> names[] = {
        {"LONG.MDL", "ARK SPORT AEROB"}, {"LONGNAME.MDL", "ARK SPORT AER 2"}, {"CHARS.MDL", "A_B_C_"},
        {"TWIN1.MDL", "TWIN"},           {"TWIN2.MDL", "twin 2"},             {"TAKEN.MDL", "TAKEN 2"},
        {"SPACES.MDL", "SPACES"},        {"TRAINER.MDL", "ARK TRAINER"}};
    for (const auto& [file, name] : names)
        EXPECT_EQ(byFile[file][1], name) << file;

    const std::string single = temp.Sub("single");
    size_t stored = 0;
    for (const auto& [file, f] : byFile) {
        SCOPED_TRACE(file);
        const Result one = Run({"convert", "--from", "PX400", "--source", card, "--model", f[0], "--to", single,
                                "--name", f[1], "--report-format", "json"});
        if (f[2] == Text(1703)) {
            EXPECT_EQ(f[4] + "\n", one.err);
            EXPECT_EQ(one.status, 1);
            continue;
        }
        ++stored;
        ASSERT_EQ(f[2], Text(1702));
        ASSERT_EQ(one.status, 0) << one.err;
        EXPECT_EQ(Unstamped(ReadSampleFile(out + ARK_SEP + f[1] + ".mdl")),
                  Unstamped(ReadSampleFile(single + ARK_SEP + f[1] + ".mdl")));
        // The count is the single conversion's report's must-check count.
        EXPECT_EQ(one.out.rfind("{\"mustCheck\": " + f[3] + ",", 0), 0u) << one.out.substr(0, 40);
    }
    EXPECT_EQ(stored, byFile.size() - 1);
    EXPECT_EQ(byFile["DAMAGED.MDL"][2], Text(1703));
    const auto first = FolderSnapshot(out);
    EXPECT_EQ(first.size(), stored + 1);
    EXPECT_EQ(first.at("taken.mdl"), (std::vector<uint8_t>{1, 2, 3}));

    // Again into the same folder: every name is taken now, nothing is replaced.
    const Result again = Run({"convert", "--all", "--from", "PX400", "--source", card, "--to", out});
    EXPECT_EQ(again.status, 1);
    const auto second = FolderSnapshot(out);
    EXPECT_EQ(second.size(), 2 * stored + 1);
    for (const auto& [file, bytes] : first)
        EXPECT_EQ(second.at(file), bytes) << file;

    // The image: every model stored; options of one model's conversion are usage errors.
    const std::string fromImage = temp.Sub("image");
    const Result image = Run({"convert", "--all", "--from", "PX200", "--source", px200, "--to", fromImage});
    EXPECT_EQ(image.status, 0) << image.err;
    EXPECT_EQ(FolderSnapshot(fromImage).size(), Lines(Run({"list", px200}).out).size());
    const Result usage = Run({"convert", "--all", "--from", "PX200", "--source", px200, "--to", out, "--name", "X"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.err, Message(1700, "--name") + "\n" + Text(1420) + "\n");
}
