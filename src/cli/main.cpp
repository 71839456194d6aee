// arkleton-cli: lists the models of a location and runs the Convert command
// without the dialog.
//
//   arkleton-cli list LOCATION
//   arkleton-cli convert --from PX400|PX200 --source LOCATION --model KEY
//                        --to FOLDER --name NAME [--condition C=TEXT]...
//                        [--map SOURCE=TARGET]... [--report] [--report-format text|json]
//   arkleton-cli convert --all --from PX400|PX200 --source LOCATION
//                        --to FOLDER [--report] [--report-format text|json]
//   common options: --language en|de|fr|ja, --help, --version
//
// An option's value is always the argument after it (or the text after "=");
// "--" ends the options, so that every argument after it is an operand.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/BatchConvert.h"
#include "app/ConvertCommand.h"
#include "app/ModelList.h"
#include "app/Settings.h"
#include "app/StringIds.h"
#include "app/Strings.h"
#include "cli/CliHost.h"
#include "model/ConvertHW.h"
#include "platform/Console.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "storage/TinyImage.h"

namespace {

enum : int { kExitStored = 0, kExitFailed = 1, kExitUsage = 2 };

// Texts of the program.
enum : unsigned {
    IDS_VERSION = 109,
    IDS_CLI_USAGE = 1400,
    IDS_CLI_HELP = 1401,
    IDS_CLI_UNKNOWN_COMMAND = 1410,
    IDS_CLI_UNKNOWN_OPTION = 1411,
    IDS_CLI_NEEDS_VALUE = 1412,
    IDS_CLI_MISSING_OPTION = 1413,
    IDS_CLI_BAD_TRANSMITTER = 1414,
    IDS_CLI_BAD_CONDITION = 1415,
    IDS_CLI_BAD_MAP = 1416,
    IDS_CLI_NO_SOURCE_CONTROL = 1417,
    IDS_CLI_NO_TARGET_CONTROL = 1418,
    IDS_CLI_BAD_LANGUAGE = 1419,
    IDS_CLI_TRY_HELP = 1420,
    IDS_CLI_EXTRA_ARGUMENT = 1421,
    IDS_CLI_MODEL_NOT_FOUND = 1530,
    IDS_CLI_NOT_A_FOLDER = 1531,
    IDS_CLI_OUTPUT_FAILED = 1532,
    IDS_HARDWARE_WARNING = 705,
    IDS_CLI_NOT_WITH_ALL = 1700,
    IDS_CLI_NO_MODELS = 1701,
    IDS_BATCH_STORED = 1702,
    IDS_BATCH_REFUSED = 1703,
    IDS_CLI_BAD_REPORT_FORMAT = 1796,
};

constexpr const char* kProgram = "arkleton-cli";

struct UsageError {
    std::u16string text;
};

[[noreturn]] void Fail(unsigned id, std::initializer_list<FormatArg> args)
{
    throw UsageError{FormatString(id, args)};
}

std::u16string U(const std::string& s)
{
    return Utf8ToUtf16(s);
}

bool EqualsNoCase(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z')
            x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z')
            y = static_cast<char16_t>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

// The options the program knows: whether each takes a value, and the command
// it belongs to (none: every command, also before the command).
struct OptionSpec {
    const char* name;
    bool takesValue;
    const char* command;
};

constexpr OptionSpec kOptions[] = {
    {"--help", false, nullptr},       {"-h", false, nullptr},
    {"--version", false, nullptr},    {"--language", true, nullptr},
    {"--from", true, "convert"},      {"--source", true, "convert"},
    {"--model", true, "convert"},     {"--to", true, "convert"},
    {"--name", true, "convert"},      {"--condition", true, "convert"},
    {"--map", true, "convert"},       {"--report", false, "convert"},
    {"--all", false, "convert"},
    {"--report-format", true, "convert"},
};

constexpr const char* kCommands[] = {"list", "convert"};

const OptionSpec* FindOption(const std::string& name, const std::optional<std::string>& command)
{
    for (const OptionSpec& known : kOptions)
        if (name == known.name && (!known.command || (command && *command == known.command)))
            return &known;
    return nullptr;
}

// The whole command line, read from left to right.
struct CommandLine {
    std::optional<std::string> language;
    bool help = false;
    bool version = false;
    std::optional<std::string> command;
    std::vector<std::string> operands;                         // after the command
    std::vector<std::pair<std::string, std::string>> options;  // the command's, in order
    // The first wrong argument met: message id and the argument, formatted
    // once the language of the whole line is known.
    std::optional<std::pair<unsigned, std::string>> error;
};

CommandLine ReadCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    auto fail = [&line](unsigned id, const std::string& argument) {
        if (!line.error)
            line.error.emplace(id, argument);
    };
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        // Only an argument in an option's place is an option ("-" alone is an operand).
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            if (line.command) {
                line.operands.push_back(a);
                continue;
            }
            line.command = a;
            if (std::find_if(std::begin(kCommands), std::end(kCommands), [&a](const char* c) { return a == c; }) ==
                std::end(kCommands))
                fail(IDS_CLI_UNKNOWN_COMMAND, a);
            continue;
        }
        const size_t eq = a.rfind("--", 0) == 0 ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, eq);
        const OptionSpec* known = FindOption(name, line.command);
        if (!known || (eq != std::string::npos && !known->takesValue)) {
            fail(IDS_CLI_UNKNOWN_OPTION, a);
            continue;
        }
        std::string value;
        if (known->takesValue) {
            if (eq != std::string::npos) {
                value = a.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                fail(IDS_CLI_NEEDS_VALUE, name);
                continue;
            }
        }
        if (name == "--help" || name == "-h")
            line.help = true;
        else if (name == "--version")
            line.version = true;
        else if (name == "--language")
            line.language = value;
        else
            line.options.emplace_back(name, value);
    }
    return line;
}

struct ConvertArgs {
    std::optional<std::string> from, source, model, to, name;
    std::vector<std::pair<int, std::string>> conditions;  // condition 0..7, text
    std::vector<std::pair<std::string, std::string>> maps;
    bool report = false;
    bool all = false;  // every model of the source, each under its own name
    bool json = false;  // --report-format json (a format implies --report)
};

ConvertArgs ParseConvert(const CommandLine& line)
{
    if (!line.operands.empty())
        Fail(IDS_CLI_EXTRA_ARGUMENT, {U(line.operands[0])});
    ConvertArgs c;
    const std::pair<const char*, std::optional<std::string>*> required[] = {
        {"--from", &c.from}, {"--source", &c.source}, {"--model", &c.model}, {"--to", &c.to}, {"--name", &c.name}};
    for (const auto& [option, value] : line.options) {
        if (option == "--condition") {
            const size_t eq = value.find('=');
            const std::string number = value.substr(0, eq);
            if (eq == std::string::npos || number.size() != 1 || number[0] < '1' || number[0] > '8')
                Fail(IDS_CLI_BAD_CONDITION, {U(value)});
            c.conditions.emplace_back(number[0] - '1', value.substr(eq + 1));
        } else if (option == "--map") {
            const size_t eq = value.find('=');
            if (eq == std::string::npos || eq == 0 || eq + 1 == value.size())
                Fail(IDS_CLI_BAD_MAP, {U(value)});
            c.maps.emplace_back(value.substr(0, eq), value.substr(eq + 1));
        } else if (option == "--report") {
            c.report = true;
        } else if (option == "--all") {
            c.all = true;
        } else if (option == "--report-format") {
            if (value != "text" && value != "json")
                Fail(IDS_CLI_BAD_REPORT_FORMAT, {U(value)});
            c.report = true;
            c.json = value == "json";
        } else {
            for (const auto& [name, field] : required)
                if (option == name)
                    *field = value;
        }
    }
    if (c.all) {
        // Names and detail choices belong to one model's conversion.
        for (const auto& [option, value] : line.options)
            if (option == "--model" || option == "--name" || option == "--condition" || option == "--map")
                Fail(IDS_CLI_NOT_WITH_ALL, {U(option)});
        c.model = c.name = "";
    }
    for (const auto& [name, field] : required)
        if (!*field)
            Fail(IDS_CLI_MISSING_OPTION, {U(name)});
    return c;
}

// The source transmitter that --from names as the "Convert from" group does.
uint16_t SourceTransmitter(const std::string& from)
{
    for (uint16_t type : {TX_PX400, TX_PX200})
        if (EqualsNoCase(U(from), LoadString(IDS_TX_COMBO_BASE + type)))
            return type;
    Fail(IDS_CLI_BAD_TRANSMITTER, {U(from)});
}

// "No control" as --map takes it: "none" (the English of the lists), "NULL"
// (the name older versions of the lists used), or the current language's word.
bool NamesNoControl(const std::string& name)
{
    return EqualsNoCase(U(name), u"none") || EqualsNoCase(U(name), u"NULL") ||
           EqualsNoCase(U(name), LoadString(GetHardwareNameId(TX_PX600, HW_NONE)));
}

// Applies "--map SOURCE=TARGET" to the choices: the row of the source control
// takes the index of the target control among the row's options.
void ApplyMap(const CConvertHW& table, const std::string& sourceName, const std::string& targetName,
              DetailChoices& choices)
{
    for (int r = 0; r < HW_ROWS; ++r) {
        const HardwareRow& row = table.m_rows[r];
        if (row.source == HW_END ||
            !EqualsNoCase(U(sourceName), LoadString(GetHardwareNameId(table.m_sourceType, row.source))))
            continue;
        for (int j = 0; j < HW_OPTIONS && row.options[j] != HW_END; ++j) {
            if (EqualsNoCase(U(targetName), LoadString(GetHardwareNameId(table.m_targetType, row.options[j]))) ||
                (row.options[j] == HW_NONE && NamesNoControl(targetName))) {
                choices.hardwareChoice[r] = static_cast<uint8_t>(j);
                return;
            }
        }
        Fail(IDS_CLI_NO_TARGET_CONTROL, {U(targetName), U(sourceName)});
    }
    Fail(IDS_CLI_NO_SOURCE_CONTROL, {LoadString(IDS_TX_COMBO_BASE + static_cast<unsigned>(table.m_sourceType)),
                                     U(sourceName)});
}

// The name that the usage text of the current language gives the location
// argument of "list" ("LOCATION", "ORT", ...), so that an error names the
// argument as the help does. A usage text without it falls back to English.
std::u16string ListArgumentName(Language language)
{
    const std::u16string usage = LoadString(IDS_CLI_USAGE, language);
    const std::u16string_view command = u"arkleton-cli list ";
    const size_t at = usage.find(command);
    if (at != std::u16string::npos) {
        const size_t begin = at + command.size();
        const size_t end = usage.find_first_of(u" \t\n", begin);
        if (end != begin)
            return usage.substr(begin, end == std::u16string::npos ? end : end - begin);
    }
    return language == Language::English ? u"LOCATION" : ListArgumentName(Language::English);
}

// The host of --report-format json: stdout holds the JSON alone, so the
// completion message goes to stderr with the warnings.
class JsonReportHost : public IDialogHost {
public:
    explicit JsonReportHost(CliHost& host) : m_host(host) {}

    void BeginWaitCursor() override { m_host.BeginWaitCursor(); }
    void EndWaitCursor() override { m_host.EndWaitCursor(); }
    void FocusControl(FocusTarget target, bool selectAll) override { m_host.FocusControl(target, selectAll); }
    void ShowModelList(ListSide side, const ModelListing& listing) override { m_host.ShowModelList(side, listing); }
    void MessageBox(const std::u16string& text, const std::u16string& caption, MessageKind kind) override
    {
        if (kind == MessageKind::Information)
            m_host.Error(text);
        else
            m_host.MessageBox(text, caption, kind);
    }

private:
    CliHost& m_host;
};

// A location path as the file system library takes it: UTF-8 on Windows,
// the bytes as they are elsewhere.
std::filesystem::path LocationPath(const std::string& location)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(location.begin(), location.end()));
#else
    return std::filesystem::path(location);
#endif
}

// The program's file error text for a failure the system reported on the
// location (the same texts as the dialog's file errors).
std::u16string LocationErrorText(const std::error_code& error, const std::string& location)
{
    const std::error_condition c = error.default_error_condition();
    FileResult::Cause cause = FileResult::generic;
    if (c == std::errc::no_such_file_or_directory)
        cause = FileResult::fileNotFound;
    else if (c == std::errc::permission_denied || c == std::errc::operation_not_permitted)
        cause = FileResult::accessDenied;
    else if (c == std::errc::not_a_directory || c == std::errc::filename_too_long ||
             c == std::errc::too_many_symbolic_link_levels || c == std::errc::invalid_argument)
        cause = FileResult::badPath;
    else if (c == std::errc::too_many_files_open || c == std::errc::too_many_files_open_in_system)
        cause = FileResult::tooManyOpenFiles;
    else if (c == std::errc::io_error)
        cause = FileResult::hardIO;
    return FileErrorText(FileResult::Failure(cause, error.value(), location));
}

// Why a location cannot be listed: it is empty, does not exist, is no folder
// or cannot be read. None for a folder that can be read.
std::optional<std::u16string> LocationProblem(const std::string& location)
{
    namespace fs = std::filesystem;
    if (location.empty())
        return FormatString(IDS_CLI_NOT_A_FOLDER, {U(location)});
    const fs::path path = LocationPath(location);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return FileErrorText(FileResult::Failure(FileResult::fileNotFound, 0, location));
    if (error)
        return LocationErrorText(error, location);
    if (!fs::is_directory(status))
        return FormatString(IDS_CLI_NOT_A_FOLDER, {U(location)});
    const fs::directory_iterator entries(path, error);
    if (error)
        return LocationErrorText(error, location);
    return std::nullopt;
}

int RunList(const CommandLine& line, CliHost& host)
{
    if (line.operands.empty())
        Fail(IDS_CLI_MISSING_OPTION, {ListArgumentName(CurrentLanguage())});
    if (line.operands.size() > 1)
        Fail(IDS_CLI_EXTRA_ARGUMENT, {U(line.operands[1])});
    const std::string& location = line.operands[0];
    // The dialog shows an empty list for such a location; here it is a failure.
    if (const std::optional<std::u16string> problem = LocationProblem(location)) {
        host.Error(*problem);
        return kExitFailed;
    }
    const ModelListing listing = FillModelList(host, location);
    host.ShowModelList(ListSide::Source, listing);
    for (const ModelListRow& row : listing.rows) {
        if (!host.OutputOk())
            break;
        host.Row({U(row.key), row.columns[0], row.columns[1], row.columns[2], row.columns[3]});
    }
    return kExitStored;
}

// One field of a model's line: the messages joined, each line break a blank.
std::u16string OneLine(const std::vector<std::u16string>& messages)
{
    std::u16string text;
    for (const std::u16string& message : messages)
        text += (text.empty() ? u"" : u" ") + message;
    std::replace(text.begin(), text.end(), u'\n', u' ');
    return text;
}

// convert --all: every model the source lists, each through the Convert
// command under the name the run gives it; one line per model (key, name,
// stored or refused, the controls to check, the messages), and with --report
// the model's report after its line. The hardware warning comes once, last.
int RunConvertAll(const ConvertArgs& c, MainDialogState& state, CliHost& host)
{
    if (const std::optional<std::u16string> problem = LocationProblem(*c.source)) {
        host.Error(*problem);
        return kExitFailed;
    }
    if (const std::optional<CommandRefusal> refusal = CheckBatchTarget(state)) {
        host.MessageBox(refusal->text, LoadString(IDS_MAIN_CAPTION), MessageKind::Error);
        return kExitFailed;
    }
    if (state.sourceList.rows.empty()) {
        host.Error(FormatString(IDS_CLI_NO_MODELS, {U(*c.source)}));
        return kExitFailed;
    }
    std::vector<int> rows(state.sourceList.rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int>(i);
    CBatchConvert run(state, TheConvertHW(), ProposeBatchNames(state, rows));
    // With JSON, standard output holds one array of the models (key, name,
    // stored, and each stored model's report); the lines go to standard error.
    std::string json;
    while (!run.Finished() && host.OutputOk()) {
        const BatchOutcome& o = run.ConvertNext(host);
        const bool stored = o.result == BatchOutcome::Result::Stored;
        const std::u16string result = LoadString(stored ? IDS_BATCH_STORED : IDS_BATCH_REFUSED);
        const std::u16string count = stored ? U(std::to_string(o.MustCheck())) : std::u16string();
        if (c.json) {
            host.Error(U(o.model.key) + u" " + o.model.name + u": " + result + u" " + count);
            json += std::string(json.empty() ? "[\n" : ",\n") + "{\"key\": " + JsonString(U(o.model.key)) +
                    ", \"name\": " + JsonString(o.model.name) +
                    ", \"stored\": " + (stored ? "true" : "false") +
                    ", \"report\": " + (stored ? o.report.Json() : std::string("null")) + "}";
            continue;
        }
        host.Row({U(o.model.key), o.model.name, result, count, OneLine(o.messages)});
        if (c.report && stored) {
            std::u16string text = o.report.TextOrNothing();
            while (!text.empty() && text.back() == u'\n')
                text.pop_back();
            host.Line(text);
        }
    }
    if (c.json)
        host.Line(Utf8ToUtf16(json.empty() ? "[]" : json + "\n]"));
    // No list shows the new files here, so the run's list refill is left out.
    if (run.Count(BatchOutcome::Result::Stored) > 0)
        host.MessageBox(LoadString(IDS_HARDWARE_WARNING), LoadString(IDS_MAIN_CAPTION), MessageKind::Warning);
    return run.Count(BatchOutcome::Result::Stored) == run.Count() ? kExitStored : kExitFailed;
}

int RunConvert(const CommandLine& line, CliHost& host)
{
    const ConvertArgs c = ParseConvert(line);
    MainDialogState state;
    state.sourceTransmitter = SourceTransmitter(*c.from);
    state.targetTransmitter = TX_PX600;
    state.sourceLocationText = *c.source;
    state.targetLocationText = *c.to;
    state.modelNameText = U(*c.name);
    // The dialog as it stands after start-up: both lists filled.
    SaveDialogData(state, host);
    if (c.all)
        return RunConvertAll(c, state, host);
    state.selectedSourceRow = -1;
    for (size_t i = 0; i < state.sourceList.rows.size(); ++i) {
        if (state.sourceList.rows[i].key == *c.model) {
            state.selectedSourceRow = static_cast<int>(i);
            break;
        }
    }
    // Where the dialog would say that no row is selected, the key was not listed.
    if (state.selectedSourceRow < 0)
        host.SetNoSelectionText(FormatString(IDS_CLI_MODEL_NOT_FOUND, {U(*c.model), U(*c.source)}));

    CConvertHW& table = TheConvertHW();
    if (!c.conditions.empty() || !c.maps.empty()) {
        // Confirming the detail dialog: the file's names and the default rows,
        // changed where the options say.
        DetailChoices choices;
        if (!PrepareDetailChoices(state, host, table, choices))
            return kExitFailed;
        for (const auto& [condition, text] : c.conditions) {
            const std::u16string name = U(text);
            if (!IsTypedConditionNameValid(name)) {
                host.MessageBox(ConditionNameRefusal(condition), LoadString(IDS_MAIN_CAPTION), MessageKind::Error);
                return kExitFailed;
            }
            choices.conditionNames[condition] = name;
        }
        for (const auto& [from, to] : c.maps)
            ApplyMap(table, from, to, choices);
        ConfirmDetailChoices(state, table, choices);
    }

    ConvertOptions options;
    ConversionReport report;
    if (c.report)
        options.report = &report;
    JsonReportHost jsonHost(host);
    IDialogHost& convertHost = c.json ? static_cast<IDialogHost&>(jsonHost) : host;
    if (!OnConvert(state, convertHost, table, options))
        return kExitFailed;
    // The report follows the messages: must check first.
    if (c.json) {
        host.Line(Utf8ToUtf16(report.Json()));
    } else if (c.report) {
        std::u16string text = report.TextOrNothing();
        while (!text.empty() && text.back() == u'\n')
            text.pop_back();
        host.Line(text);
    }
    return kExitStored;
}

int RunCommandLine(const std::vector<std::string>& args, CliHost& host)
{
    try {
        const CommandLine line = ReadCommandLine(args);
        if (line.language) {
            Language language;
            if (!LanguageFromCode(*line.language, language))
                Fail(IDS_CLI_BAD_LANGUAGE, {U(*line.language)});
            SetLanguage(language);
        }
        if (line.help) {
            host.Info(LoadString(IDS_CLI_USAGE) + u"\n\n" + LoadString(IDS_CLI_HELP));
            return kExitStored;
        }
        if (line.version) {
            int major = 0, minor = 0, patch = 0;
            std::sscanf(ARK_VERSION, "%d.%d.%d", &major, &minor, &patch);
            host.Info(U(kProgram) + u" " + FormatString(IDS_VERSION, {major, minor, patch}));
            return kExitStored;
        }
        if (line.error)
            Fail(line.error->first, {U(line.error->second)});
        if (!line.command)
            throw UsageError{LoadString(IDS_CLI_USAGE)};
        if (*line.command == "list")
            return RunList(line, host);
        return RunConvert(line, host);
    } catch (const UsageError& e) {
        host.Error(e.text + u"\n" + LoadString(IDS_CLI_TRY_HELP));
        return kExitUsage;
    }
}

int Run(const std::vector<std::string>& args)
{
    CliHost host;
    SetLanguage(LanguageFromIndex(ReadStoredLanguageIndex()));
    int status = RunCommandLine(args, host);
    // Output that did not arrive whole is a failure, whatever the command.
    if (!host.FinishOutput()) {
        host.Error(LoadString(IDS_CLI_OUTPUT_FAILED));
        if (status == kExitStored)
            status = kExitFailed;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    // The image engine lives for the whole run, as in the dialog program.
    TinyStartup();
    const int status = Run(StartConsoleProgram(argc, argv));
    TinyShutdown();
    return status;
}
