// The main dialog's list fill of a 1000-model folder (the core's listing, the
// list model's reset and one paint of the window) against a whole run of
// arkleton-cli list on the same folder: a plain folder of 1000 PX400 files
// and a folder whose TINYFS image holds 1000 PX200 models. The dialog's time
// is also how long the window stays busy while such a list fills.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <QTemporaryDir>

#include "../RunQuiet.h"
#include "samplegen/PX200Samples.h"
#include "samplegen/PX400Samples.h"
#include "storage/TinyImage.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/Prompts.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned kModels = 1000;
// A listed PX400 file needs only its header; the copies keep the first 4 KiB
// of each sample so that the folder stays small.
constexpr size_t kHeadBytes = 4096;

struct Workspace {
    Workspace()
    {
        root = fs::temp_directory_path() / ("bench-ui-" + std::to_string(::getpid()));
        fs::create_directories(root / "samples");
        fs::create_directories(root / "plain");
        fs::create_directories(root / "image");
        WritePX400Samples((root / "samples").string());
        std::vector<std::vector<char>> heads;
        for (const auto& entry : fs::directory_iterator(root / "samples")) {
            std::vector<char> head(kHeadBytes);
            std::ifstream(entry.path(), std::ios::binary).read(head.data(), static_cast<std::streamsize>(head.size()));
            heads.push_back(std::move(head));
        }
        for (unsigned i = 0; i < kModels; ++i) {
            const std::vector<char>& head = heads[i % heads.size()];
            std::ofstream((root / "plain" / ("M" + std::to_string(i) + ".MDL")).string(), std::ios::binary)
                .write(head.data(), static_cast<std::streamsize>(head.size()));
        }
        const std::vector<uint8_t> image = MakePX200BulkImage(kModels);
        std::ofstream((root / "image" / "TINYFS.IMG").string(), std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    }
    ~Workspace()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path root;
};

Workspace& Space()
{
    static Workspace space;
    return space;
}

std::string Folder(int which)
{
    return (Space().root / (which == 0 ? "plain" : "image")).string();
}

void BM_DialogFill(benchmark::State& state)
{
    const std::string folder = Folder(static_cast<int>(state.range(0)));
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    SetMessagePresenter([](QMessageBox&) { return QMessageBox::Ok; });
    CArkletonDlg dlg;
    dlg.show();
    auto* location = dlg.findChild<QComboBox*>(QString::number(IDC_SOURCE_LOCATION));
    location->insertItem(0, QString::fromStdString(folder));
    location->setCurrentIndex(0);
    size_t rows = 0;
    for (auto _ : state) {
        // A changed location refills the list; the window then paints it.
        dlg.State().m_sourceLocation.clear();
        dlg.TransferControls();
        SaveDialogData(dlg.State(), dlg);
        dlg.repaint();
        rows = dlg.State().sourceList.rows.size();
    }
    SetMessagePresenter(nullptr);
    if (rows != kModels)
        state.SkipWithError("the list does not hold every model");
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_DialogFill)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliList(benchmark::State& state)
{
    const std::string folder = Folder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (RunQuiet({ARK_CLI_PATH, "list", folder}) != 0) {
            state.SkipWithError("arkleton-cli list failed");
            break;
        }
    }
}
BENCHMARK(BM_CliList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("arkleton"));
    TinyStartup();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TinyShutdown();
    return 0;
}
