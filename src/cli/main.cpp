// arkleton-cli: lists the models of a location and runs the Convert command
// without the dialog.
//
//   arkleton-cli list LOCATION
//   arkleton-cli convert --from PX400|PX200 --source LOCATION --model KEY
//                        --to FOLDER --name NAME [--condition C=TEXT]...
//                        [--map SOURCE=TARGET]... [--report]
//   common options: --language en|de|fr|ja, --help, --version
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/CliHost.h"
#include "convert/ConvertCommand.h"
#include "convert/ModelList.h"
#include "model/ConvertHW.h"
#include "model/SwitchReport.h"
#include "platform/Console.h"
#include "platform/Settings.h"
#include "platform/StringIds.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "storage/TinyImage.h"

namespace {

enum : int { kExitStored = 0, kExitFailed = 1, kExitUsage = 2 };

// Texts of the program.
enum : unsigned {
    IDS_VERSION = 109,
    IDS_COMBO_PX400 = IDS_TX_COMBO_BASE + TX_PX400,
    IDS_COMBO_PX200 = IDS_TX_COMBO_BASE + TX_PX200,
    IDS_COMBO_PX600 = IDS_TX_COMBO_BASE + TX_PX600,
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
};

constexpr const char* kProgram = "arkleton-cli";
constexpr int kColumnCount = 4;

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

struct ConvertArgs {
    std::optional<std::string> from, source, model, to, name;
    std::vector<std::pair<int, std::string>> conditions;  // condition 0..7, text
    std::vector<std::pair<std::string, std::string>> maps;
    bool report = false;
};

// Picks the value of "--opt VALUE" or "--opt=VALUE".
bool TakeValue(const std::vector<std::string>& args, size_t& i, const char* option, std::optional<std::string>& out)
{
    const std::string& a = args[i];
    const size_t n = std::strlen(option);
    if (a == option) {
        if (i + 1 >= args.size())
            Fail(IDS_CLI_NEEDS_VALUE, {U(option)});
        out = args[++i];
        return true;
    }
    if (a.size() > n && a.compare(0, n, option) == 0 && a[n] == '=') {
        out = a.substr(n + 1);
        return true;
    }
    return false;
}

ConvertArgs ParseConvert(const std::vector<std::string>& args)
{
    ConvertArgs c;
    for (size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (TakeValue(args, i, "--from", c.from) || TakeValue(args, i, "--source", c.source) ||
            TakeValue(args, i, "--model", c.model) || TakeValue(args, i, "--to", c.to) ||
            TakeValue(args, i, "--name", c.name))
            continue;
        if (TakeValue(args, i, "--condition", value)) {
            const size_t eq = value->find('=');
            const std::string number = value->substr(0, eq);
            if (eq == std::string::npos || number.size() != 1 || number[0] < '1' || number[0] > '8')
                Fail(IDS_CLI_BAD_CONDITION, {U(*value)});
            c.conditions.emplace_back(number[0] - '1', value->substr(eq + 1));
            continue;
        }
        if (TakeValue(args, i, "--map", value)) {
            const size_t eq = value->find('=');
            if (eq == std::string::npos || eq == 0 || eq + 1 == value->size())
                Fail(IDS_CLI_BAD_MAP, {U(*value)});
            c.maps.emplace_back(value->substr(0, eq), value->substr(eq + 1));
            continue;
        }
        if (args[i] == "--report") {
            c.report = true;
            continue;
        }
        Fail(args[i].rfind("-", 0) == 0 ? IDS_CLI_UNKNOWN_OPTION : IDS_CLI_EXTRA_ARGUMENT, {U(args[i])});
    }
    for (auto [opt, value] : {std::pair{"--from", &c.from}, {"--source", &c.source}, {"--model", &c.model},
                              {"--to", &c.to}, {"--name", &c.name}})
        if (!*value)
            Fail(IDS_CLI_MISSING_OPTION, {U(opt)});
    return c;
}

// The transmitter text of the "Convert from" combo box that --from names.
std::u16string SourceTransmitterText(const std::string& from)
{
    for (unsigned id : {IDS_COMBO_PX400, IDS_COMBO_PX200})
        if (EqualsNoCase(U(from), LoadString(id)))
            return LoadString(id);
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
    Fail(IDS_CLI_NO_SOURCE_CONTROL, {LoadString(IDS_COMBO_PX400 + static_cast<unsigned>(table.m_sourceType)),
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

// The --report host: collects the fields the switch pass changes and prints
// the whole report (summary per control, then field by field) before the
// first message after the conversion.
class ReportingHost : public IDialogHost {
public:
    explicit ReportingHost(CliHost& host) : m_host(host) {}

    static void Collect(const CModelDataPX600::SwitchChange& change, void* context)
    {
        static_cast<ReportingHost*>(context)->m_changes.push_back(change);
    }

    void BeginWaitCursor() override { m_host.BeginWaitCursor(); }
    void EndWaitCursor() override { m_host.EndWaitCursor(); }
    void FocusControl(int controlId, bool selectAll) override { m_host.FocusControl(controlId, selectAll); }
    void ShowModelList(int listId, const ModelListing& listing) override { m_host.ShowModelList(listId, listing); }
    void MessageBox(const std::u16string& text, const std::u16string& caption, unsigned style) override
    {
        if (!m_printed && !m_changes.empty()) {
            m_printed = true;
            std::u16string report = SwitchReportText(m_changes.data(), m_changes.size());
            while (!report.empty() && report.back() == u'\n')
                report.pop_back();
            m_host.Line(report);
        }
        m_host.MessageBox(text, caption, style);
    }

private:
    CliHost& m_host;
    std::vector<CModelDataPX600::SwitchChange> m_changes;
    bool m_printed = false;
};

int RunList(const std::vector<std::string>& args, CliHost& host)
{
    if (args.empty())
        Fail(IDS_CLI_MISSING_OPTION, {ListArgumentName(CurrentLanguage())});
    if (args.size() > 1)
        Fail(IDS_CLI_EXTRA_ARGUMENT, {U(args[1])});
    const ModelListing listing = FillModelList(host, args[0]);
    for (const ModelListRow& row : listing.rows) {
        std::u16string line = Printable(U(row.key));
        for (int c = 0; c < kColumnCount; ++c)
            line += u'\t' + Printable(row.columns[c]);
        host.Line(line);
    }
    return kExitStored;
}

int RunConvert(const std::vector<std::string>& args, CliHost& host)
{
    const ConvertArgs c = ParseConvert(args);
    MainDialogState state;
    state.sourceTransmitterSelection = SourceTransmitterText(*c.from);
    state.targetTransmitterSelection = LoadString(IDS_COMBO_PX600);
    state.sourceLocationText = *c.source;
    state.targetLocationText = *c.to;
    state.modelNameText = U(*c.name);
    // The dialog as it stands after start-up: both lists filled.
    SaveDialogData(state, host);
    state.selectedSourceRow = -1;
    for (size_t i = 0; i < state.sourceList.rows.size(); ++i) {
        if (state.sourceList.rows[i].key == *c.model) {
            state.selectedSourceRow = static_cast<int>(i);
            break;
        }
    }

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
                host.MessageBox(ConditionNameRefusal(condition), LoadString(IDS_MAIN_CAPTION), MB_ICONSTOP);
                return kExitFailed;
            }
            choices.conditionNames[condition] = name;
        }
        for (const auto& [from, to] : c.maps)
            ApplyMap(table, from, to, choices);
        ConfirmDetailChoices(state, table, choices);
    }

    ConvertOptions options;
    ReportingHost reporting(host);
    if (c.report) {
        options.onSwitchChange = &ReportingHost::Collect;
        options.context = &reporting;
    }
    IDialogHost& convertHost = c.report ? static_cast<IDialogHost&>(reporting) : host;
    return OnConvert(state, convertHost, table, options) ? kExitStored : kExitFailed;
}

Language ChooseLanguage(std::vector<std::string>& args)
{
    std::optional<std::string> code;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (TakeValue(args, i, "--language", code))
            continue;
        rest.push_back(args[i]);
    }
    args = std::move(rest);
    if (!code)
        return LanguageFromIndex(ReadStoredLanguageIndex());
    Language language;
    if (!LanguageFromCode(*code, language))
        Fail(IDS_CLI_BAD_LANGUAGE, {U(*code)});
    return language;
}

int Run(std::vector<std::string> args)
{
    CliHost host;
    SetLanguage(LanguageFromIndex(ReadStoredLanguageIndex()));
    try {
        SetLanguage(ChooseLanguage(args));
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                host.Info(LoadString(IDS_CLI_USAGE) + u"\n\n" + LoadString(IDS_CLI_HELP));
                return kExitStored;
            }
            if (a == "--version") {
                int major = 0, minor = 0, patch = 0;
                std::sscanf(ARK_VERSION, "%d.%d.%d", &major, &minor, &patch);
                host.Info(U(kProgram) + u" " + FormatString(IDS_VERSION, {major, minor, patch}));
                return kExitStored;
            }
        }
        if (args.empty())
            throw UsageError{LoadString(IDS_CLI_USAGE)};
        const std::string command = args[0];
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (command == "list")
            return RunList(rest, host);
        if (command == "convert")
            return RunConvert(rest, host);
        Fail(IDS_CLI_UNKNOWN_COMMAND, {U(command)});
    } catch (const UsageError& e) {
        host.Error(e.text + u"\n" + LoadString(IDS_CLI_TRY_HELP));
        return kExitUsage;
    }
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
