// The main dialog driven through its widgets on the offscreen platform, with
// settings in a temporary store and message boxes answered by the test.
#include <filesystem>

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTableView>
#include <QtTest>

#include "UiTestSupport.h"
#include "app/ModelList.h"
#include "model/ConvertHW.h"
#include "app/Strings.h"
#include "storage/TinyImage.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/BatchDlg.h"
#include "ui/qt/Language.h"
#include "ui/qt/ReportDlg.h"

namespace {

const QString kPX400Samples = QStringLiteral(ARK_SAMPLES_DIR "/px400");
const QString kPX200Samples = QStringLiteral(ARK_SAMPLES_DIR "/px200");

QString Text(unsigned id)
{
    return QString::fromStdU16String(LoadString(id));
}

template <typename W>
W* Control(CArkletonDlg& dlg, int id)
{
    W* w = dlg.findChild<W*>(QString::number(id));
    if (!w)
        qFatal("control %d missing", id);
    return w;
}

template <typename W>
W* Control(QWidget& parent, const QString& name)
{
    W* w = parent.findChild<W*>(name);
    if (!w)
        qFatal("control %s missing", qPrintable(name));
    return w;
}

QStringList Column(QTableView* list, int column)
{
    QStringList texts;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        texts.append(list->model()->index(r, column).data().toString());
    return texts;
}

int SelectedRow(QTableView* list)
{
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// A host that only records, for listing and converting through the core alone.
struct QuietHost : IDialogHost {
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void FocusControl(FocusTarget, bool) override {}
    void MessageBox(const std::u16string&, const std::u16string&, MessageKind) override {}
    void ShowModelList(ListSide, const ModelListing&) override {}
};

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSettings> m_settings;
    std::unique_ptr<QTemporaryDir> m_work;

    // Stores the folder histories the next dialog starts with.
    void Preset(const QString& source, const QString& target)
    {
        auto s = m_settings->Open();
        s->setValue(QStringLiteral("Convert from/Folder1"), source);
        s->setValue(QStringLiteral("Convert to/Folder1"), target);
    }

private slots:
    void initTestCase()
    {
        SetLanguage(Language::English);
        TinyStartup();
    }
    void cleanupTestCase() { TinyShutdown(); }
    void init()
    {
        m_settings = std::make_unique<TestSettings>();
        m_work = std::make_unique<QTemporaryDir>();
        TheLanguage().m_language = 0;
        TheConvertHW().m_inUse = 0;
    }
    void cleanup()
    {
        m_settings.reset();
        m_work.reset();
    }

    void firstStartTakesTheDefaults()
    {
        MessageCapture boxes;
        CArkletonDlg dlg;
        QCOMPARE(dlg.geometry(), QRect(0, 0, 800, 572));
        // The icon in the six sizes of the resources linked in from the ui library.
        QCOMPARE(dlg.windowIcon().availableSizes().size(), 6);
        for (int id : {IDC_SOURCE_LOCATION, IDC_TARGET_LOCATION}) {
            auto* combo = Control<QComboBox>(dlg, id);
            QCOMPARE(combo->count(), 1);
            QCOMPARE(combo->currentText(), QDir::currentPath());
        }
        QCOMPARE(Control<QComboBox>(dlg, IDC_SOURCE_TRANSMITTER)->currentText(), QStringLiteral("PX400"));
        QCOMPARE(Control<QComboBox>(dlg, IDC_TARGET_TRANSMITTER)->currentText(), QStringLiteral("PX600"));
        // No stored widths: the columns fit their contents (checked in every
        // language elsewhere), and the last one reaches the list's right edge.
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.resize(1400, 700);
        QCoreApplication::processEvents();
        for (int id : {IDC_SOURCE_LIST, IDC_TARGET_LIST}) {
            auto* list = Control<QTableView>(dlg, id);
            QCOMPARE(list->horizontalHeader()->length(), list->viewport()->width());
        }
        QCOMPARE(Control<QLineEdit>(dlg, IDC_MODEL_NAME)->maxLength(), 32);
        QVERIFY(boxes.boxes.empty());
    }

    void settingsWrittenAtCloseAndReadAtNextStart()
    {
        // Ten folders in the source history; one more is browsed.
        {
            auto s = m_settings->Open();
            for (int i = 1; i <= 10; ++i)
                s->setValue(QStringLiteral("Convert from/Folder%1").arg(i), m_work->filePath(QString::number(i)));
            s->setValue(QStringLiteral("Convert from/MRU"), 3);
            s->setValue(QStringLiteral("Convert to/Folder1"), kPX400Samples);
            s->setValue(QStringLiteral("system/Language"), 4);
        }
        MessageCapture boxes;
        FolderAnswers folders;
        folders.folders.push_back(kPX400Samples);
        const QRect restored(40, 30, 900, 640);
        {
            CArkletonDlg dlg;
            QCOMPARE(Control<QComboBox>(dlg, IDC_SOURCE_LOCATION)->currentIndex(), 3);
            Control<QPushButton>(dlg, IDC_BROWSE_SOURCE)->click();
            QCOMPARE(folders.titles, QStringList{Text(102)});
            // The browser opens at the nearest folder of the location that exists.
            QCOMPARE(folders.starts, QStringList{m_work->path()});
            auto* history = Control<QComboBox>(dlg, IDC_SOURCE_LOCATION);
            QCOMPARE(history->count(), 11);
            QCOMPARE(history->itemText(0), kPX400Samples);
            QVERIFY(Control<QTableView>(dlg, IDC_SOURCE_LIST)->model()->rowCount() > 0);
            Control<QComboBox>(dlg, IDC_SOURCE_TRANSMITTER)->setCurrentIndex(1);
            Control<QTableView>(dlg, IDC_TARGET_LIST)->horizontalHeader()->resizeSection(2, 91);
            TheLanguage().m_language = 3;
            dlg.setGeometry(restored);
            dlg.showMaximized();
            QTRY_VERIFY(dlg.isMaximized());
            dlg.reject();
        }
        {
            auto s = m_settings->Open();
            const QString expect[][2] = {
                {"Window/Left", "40"},    {"Window/Top", "30"},
                {"Window/Right", "940"},  {"Window/Bottom", "670"},
                {"Convert from/MRU", "0"}, {"Convert from/TransmitterSrc", "1"},
                {"Convert to/Type", "91"}, {"Convert to/Transmitter", "0"},
                {"system/Language", "3"},  {"Convert from/Folder2", m_work->filePath("1")},
                {"Convert from/Folder10", m_work->filePath("9")},
            };
            for (const auto& [key, value] : expect)
                QCOMPARE(s->value(key).toString(), value);
            QVERIFY(!s->contains(QStringLiteral("Convert from/Folder11")));
        }
        CArkletonDlg next;
        QCOMPARE(next.geometry(), restored);
        auto* history = Control<QComboBox>(next, IDC_SOURCE_LOCATION);
        QCOMPARE(history->count(), 10);
        QCOMPARE(history->itemText(9), m_work->filePath("9"));
        QCOMPARE(Control<QComboBox>(next, IDC_SOURCE_TRANSMITTER)->currentIndex(), 1);
        QCOMPARE(Control<QTableView>(next, IDC_TARGET_LIST)->horizontalHeader()->sectionSize(2), 91);
        QVERIFY(boxes.boxes.empty());
    }

    void storedIndexOutsideTheEntriesLeavesNoSelection()
    {
        Preset(kPX400Samples, kPX400Samples);
        {
            auto s = m_settings->Open();
            s->setValue(QStringLiteral("Convert from/MRU"), 5);
            s->setValue(QStringLiteral("Convert from/TransmitterSrc"), 2);
        }
        MessageCapture boxes;
        CArkletonDlg dlg;
        QCOMPARE(Control<QComboBox>(dlg, IDC_SOURCE_LOCATION)->currentIndex(), -1);
        QCOMPARE(Control<QComboBox>(dlg, IDC_SOURCE_TRANSMITTER)->currentIndex(), -1);
        QCOMPARE(Control<QTableView>(dlg, IDC_SOURCE_LIST)->model()->rowCount(), 0);
    }

    void listsShowWhatTheCoreListsFromFoldersAndImages_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("image");
        QTest::newRow("plain folder") << kPX400Samples << false;
        QTest::newRow("image folder") << kPX200Samples << true;
        QTest::newRow("missing folder") << QStringLiteral("/nonexistent/arkleton") << false;
    }
    void listsShowWhatTheCoreListsFromFoldersAndImages()
    {
        QFETCH(QString, folder);
        QFETCH(bool, image);
        Preset(folder, folder);
        MessageCapture boxes;
        CArkletonDlg dlg;
        QuietHost quiet;
        const ModelListing expected = FillModelList(quiet, folder.toStdString());
        for (int id : {IDC_SOURCE_LIST, IDC_TARGET_LIST}) {
            auto* list = Control<QTableView>(dlg, id);
            QCOMPARE(list->model()->rowCount(), static_cast<int>(expected.rows.size()));
            for (size_t r = 0; r < expected.rows.size(); ++r)
                for (int c = 0; c < 4; ++c)
                    QCOMPARE(list->model()->index(static_cast<int>(r), c).data().toString(),
                             QString::fromStdU16String(expected.rows[r].columns[c]));
        }
        auto* source = Control<QTableView>(dlg, IDC_SOURCE_LIST);
        auto* target = Control<QTableView>(dlg, IDC_TARGET_LIST);
        QCOMPARE(SelectedRow(source), expected.rows.empty() ? -1 : 0);
        // An image cannot receive a model: the target list is greyed, disabled, unselected.
        QCOMPARE(target->isEnabled(), !image);
        if (image) {
            QCOMPARE(SelectedRow(target), -1);
            QCOMPARE(target->model()->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(150, 150, 150));
            for (const QString& t : Column(source, 0))
                QCOMPARE(t, QStringLiteral("PX200   "));
        }
        QVERIFY(boxes.boxes.empty());
    }

    void anImagePassedOverIsNamedUnderItsListUntilTheLocationListsNormally()
    {
        // A write-protected card in both groups.
        const QString card = m_work->filePath(QStringLiteral("card")), image = card + QStringLiteral("/TINYFS.IMG");
        QVERIFY(QDir().mkpath(card));
        QVERIFY(QFile::copy(kPX200Samples + QStringLiteral("/TINYFS.IMG"), image));
        QVERIFY(QFile::setPermissions(image, QFileDevice::ReadOwner));
        Preset(card, card);
        MessageCapture boxes;
        FolderAnswers folders;
        folders.folders.push_back(kPX200Samples);
        CArkletonDlg dlg;
        const QString line = QString::fromStdU16String(FormatString(1533, {image.toStdU16String()}));
        for (const char* name : {"sourceListNotice", "targetListNotice"}) {
            auto* notice = dlg.findChild<QLabel*>(QLatin1String(name));
            QVERIFY(notice && !notice->isHidden());
            QCOMPARE(notice->text(), line);
        }
        // The source now lists an image that mounts: its line goes, the target's stays.
        Control<QPushButton>(dlg, IDC_BROWSE_SOURCE)->click();
        QVERIFY(dlg.findChild<QLabel*>(QStringLiteral("sourceListNotice"))->isHidden());
        QVERIFY(dlg.findChild<QLabel*>(QStringLiteral("sourceListNotice"))->text().isEmpty());
        QVERIFY(!dlg.findChild<QLabel*>(QStringLiteral("targetListNotice"))->isHidden());
        QVERIFY(boxes.boxes.empty());
        QFile::setPermissions(image, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void locationHistoryMovesTheChosenFolderFirst_data()
    {
        QTest::addColumn<QString>("action");  // "browse" a folder or "choose" an entry
        QTest::addColumn<int>("entry");       // history entry browsed to or chosen
        QTest::addColumn<QString>("newFolder");
        QTest::addColumn<QStringList>("order");  // entries by their names afterwards
        QTest::addColumn<bool>("refilled");
        const QStringList start{"a", "b", "c"};
        QTest::newRow("browse a new folder") << "browse" << -1 << "d" << QStringList{"d", "a", "b", "c"} << true;
        QTest::newRow("browse a folder in the history") << "browse" << 2 << "" << QStringList{"c", "a", "b"} << true;
        QTest::newRow("browse the selected folder") << "browse" << 0 << "" << start << false;
        QTest::newRow("browse, cancelled") << "browse" << -1 << "" << start << false;
        QTest::newRow("choose another entry") << "choose" << 1 << "" << QStringList{"b", "a", "c"} << true;
        QTest::newRow("choose the selected entry") << "choose" << 0 << "" << start << false;
    }
    void locationHistoryMovesTheChosenFolderFirst()
    {
        QFETCH(QString, action);
        QFETCH(int, entry);
        QFETCH(QString, newFolder);
        QFETCH(QStringList, order);
        QFETCH(bool, refilled);
        // Folders a, b, c each hold one model file of their own.
        const QStringList names{"a", "b", "c", "d"};
        for (const QString& n : names) {
            QVERIFY(QDir(m_work->path()).mkpath(n));
            QVERIFY(QFile::copy(kPX400Samples + "/TRAINER.MDL", m_work->filePath(n + "/" + n.toUpper() + ".MDL")));
        }
        {
            auto s = m_settings->Open();
            for (int i = 0; i < 3; ++i)
                s->setValue(QStringLiteral("Convert to/Folder%1").arg(i + 1), m_work->filePath(names[i]));
        }
        MessageCapture boxes;
        FolderAnswers folders;
        CArkletonDlg dlg;
        auto* combo = Control<QComboBox>(dlg, IDC_TARGET_LOCATION);
        const size_t keysBefore = dlg.State().m_itemKeys.size();
        if (action == QLatin1String("browse")) {
            if (!newFolder.isEmpty())
                folders.folders.push_back(m_work->filePath(newFolder));
            else if (entry >= 0)
                folders.folders.push_back(m_work->filePath(names[entry]));
            Control<QPushButton>(dlg, IDC_BROWSE_TARGET)->click();
        } else {
            combo->setCurrentIndex(entry);
            emit combo->activated(entry);
        }
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << QFileInfo(combo->itemText(i)).fileName();
        QCOMPARE(shown, order);
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(dlg.State().m_itemKeys.size() > keysBefore, refilled);
        // The target list shows the first entry's model.
        const QStringList keys = [&] {
            QStringList k;
            auto* list = Control<QTableView>(dlg, IDC_TARGET_LIST);
            for (int r = 0; r < list->model()->rowCount(); ++r)
                k << QFileInfo(list->model()->index(r, 0).data(Qt::UserRole).toString()).fileName();
            return k;
        }();
        QCOMPARE(keys, QStringList{order.first().toUpper() + ".MDL"});
        QVERIFY(boxes.boxes.empty());
    }

    void modelNameFollowsTheSelectionUntilTyped_data()
    {
        QTest::addColumn<int>("listId");
        QTest::addColumn<QString>("action");  // "click", "double" click, "key" Down
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");      // the row selected afterwards
        QTest::addColumn<bool>("follows");  // the edit shows that row's name
        QTest::newRow("double click, source") << int(IDC_SOURCE_LIST) << "double" << "TYPED" << 2 << true;
        QTest::newRow("double click, target") << int(IDC_TARGET_LIST) << "double" << "TYPED" << 2 << true;
        QTest::newRow("click, source") << int(IDC_SOURCE_LIST) << "click" << "" << 2 << true;
        QTest::newRow("click, source, name typed") << int(IDC_SOURCE_LIST) << "click" << "TYPED" << 2 << false;
        QTest::newRow("key, source") << int(IDC_SOURCE_LIST) << "key" << "" << 1 << true;
        QTest::newRow("key, source, name typed") << int(IDC_SOURCE_LIST) << "key" << "TYPED" << 1 << false;
        QTest::newRow("click, target") << int(IDC_TARGET_LIST) << "click" << "" << 2 << false;
    }
    void modelNameFollowsTheSelectionUntilTyped()
    {
        QFETCH(int, listId);
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(int, row);
        QFETCH(bool, follows);
        Preset(kPX400Samples, kPX400Samples);
        MessageCapture boxes;
        CArkletonDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* edit = Control<QLineEdit>(dlg, IDC_MODEL_NAME);
        auto* source = Control<QTableView>(dlg, IDC_SOURCE_LIST);
        QCOMPARE(edit->text(), source->model()->index(0, 1).data().toString());  // the start's selection
        QTest::keyClicks(edit, typed);
        const QString before = edit->text();
        auto* list = Control<QTableView>(dlg, listId);
        const QPoint at = list->visualRect(list->model()->index(2, 1)).center();
        if (action == QLatin1String("key")) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down);
        } else {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            if (action == QLatin1String("double"))
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
        QCOMPARE(SelectedRow(list), row);
        QCOMPARE(edit->text(), follows ? list->model()->index(row, 1).data().toString() : before);
        dlg.reject();
    }

    void convertButtonStoresTheModelAndOffersTheReport()
    {
        Preset(kPX400Samples, m_work->path());
        MessageCapture boxes;
        CArkletonDlg dlg;
        auto* source = Control<QTableView>(dlg, IDC_SOURCE_LIST);
        int row = -1;
        for (int r = 0; r < source->model()->rowCount(); ++r)
            if (source->model()->index(r, 0).data(Qt::UserRole).toString().endsWith(QStringLiteral("/HELI450.MDL")))
                row = r;
        QVERIFY(row >= 0);
        source->selectRow(row);
        auto* edit = Control<QLineEdit>(dlg, IDC_MODEL_NAME);
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("HELI"));
        // The completion box, then the hardware warning: its Report button.
        boxes.answers = {QMessageBox::Ok, QMessageBox::Open};
        Control<QPushButton>(dlg, IDC_CONVERT)->click();
        // The typed name has served: the next selection brings its own.
        source->selectRow(row == 0 ? 1 : 0);
        QCOMPARE(edit->text(), source->model()->index(row == 0 ? 1 : 0, 1).data().toString());

        const QString stored = m_work->filePath(QStringLiteral("HELI.mdl"));
        QCOMPARE(QFileInfo(stored).size(), 32768);
        QVERIFY(boxes.boxes.size() >= 2);
        QCOMPARE(boxes.boxes.front().text, Text(108));
        QCOMPARE(boxes.boxes.front().icon, QMessageBox::Information);
        const ShownBox& warning = boxes.boxes.back();
        QCOMPARE(warning.text, Text(705));
        QCOMPARE(warning.icon, QMessageBox::Warning);
        QCOMPARE(warning.caption, Text(IDS_MAIN_CAPTION));
        QVERIFY(warning.buttons.testFlag(QMessageBox::Open));
        // The report window shows the report of the same conversion run through the core alone.
        MainDialogState state;
        state.sourceTransmitter = TX_PX400;
        state.targetTransmitter = TX_PX600;
        state.sourceLocationText = kPX400Samples.toStdString();
        state.targetLocationText = m_work->filePath("again").toStdString();
        std::filesystem::create_directories(state.targetLocationText);
        state.modelNameText = u"HELI";
        QuietHost quiet;
        SaveDialogData(state, quiet);
        state.selectedSourceRow = row;
        ConversionReport report;
        ConvertOptions options;
        options.report = &report;
        QVERIFY(OnConvert(state, quiet, TheConvertHW(), options));
        QVERIFY(report.MustCheckCount() > 0);
        CReportDlg* window = dlg.ReportWindow();
        QVERIFY(window && window->isVisible());
        QVERIFY(window->ReportText().endsWith(QString::fromStdU16String(report.Text())));
        // Save writes the text as UTF-8 where the pilot chose; Copy copies it.
        const QString saved = m_work->filePath(QStringLiteral("report.txt"));
        SetSaveFilePicker([&](QWidget*, const QString&, const QString&, const QString&) { return saved; });
        window->findChild<QPushButton*>(QStringLiteral("reportSave"))->click();
        SetSaveFilePicker(nullptr);
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), window->ReportText());
        window->findChild<QPushButton*>(QStringLiteral("reportCopy"))->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), window->ReportText());
        // Both files are the same bytes; the target list shows the new model.
        QFile a(stored), b(m_work->filePath("again/HELI.mdl"));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), b.readAll());
        QCOMPARE(Column(Control<QTableView>(dlg, IDC_TARGET_LIST), 1), QStringList{QStringLiteral("HELI")});
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void severalSelectedModelsConvertInOneRunThatCancelStops()
    {
        Preset(kPX400Samples, m_work->path());
        MessageCapture boxes;
        CArkletonDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* source = Control<QTableView>(dlg, IDC_SOURCE_LIST);
        auto click = [&](int row, Qt::KeyboardModifiers keys) {
            QTest::mouseClick(source->viewport(), Qt::LeftButton, keys,
                              source->visualRect(source->model()->index(row, 1)).center());
        };
        click(0, {});
        click(2, Qt::ShiftModifier);
        click(4, Qt::ControlModifier);
        QCOMPARE(dlg.SelectedSourceRows(), (std::vector<int>{0, 1, 2, 4}));
        QVERIFY(!Control<QPushButton>(dlg, IDC_DETAIL)->isEnabled());
        QVERIFY(!Control<QLineEdit>(dlg, IDC_MODEL_NAME)->isEnabled());

        QStringList proposed, results;
        bool okWithTwin = true;
        QString counts, report;
        SetDialogRunner([&](QDialog& d) {
            if (auto* names = qobject_cast<CBatchNamesDlg*>(&d)) {
                for (int i = 0; i < 4; ++i)
                    proposed << Control<QLineEdit>(d, QStringLiteral("batchName%1").arg(i))->text();
                auto* second = Control<QLineEdit>(d, QStringLiteral("batchName1"));
                second->setText(QStringLiteral(" ") + proposed[0].toLower());  // one name twice
                okWithTwin = Control<QPushButton>(d, QStringLiteral("1"))->isEnabled();
                second->setText(QStringLiteral("RENAMED"));
                Control<QPushButton>(d, QStringLiteral("1"))->click();
                return names->result();
            }
            if (qobject_cast<CBatchSummaryDlg*>(&d)) {
                counts = Control<QLabel>(d, QStringLiteral("batchCounts"))->text();
                auto* table = Control<QTableWidget>(d, QStringLiteral("batchSummary"));
                for (int r = 0; r < table->rowCount(); ++r)
                    results << table->item(r, 1)->text() + QLatin1Char('=') + table->item(r, 2)->text();
                Control<QPushButton>(d, QStringLiteral("batchReport0"))->click();
                return int(QDialog::Rejected);
            }
            report = qobject_cast<CReportDlg*>(&d)->ReportText();
            return int(QDialog::Rejected);
        });
        QList<int> progress;
        connect(&dlg, &CArkletonDlg::batchModelDone, this, [&](int done, int count) {
            progress << done << count;
            auto* window = dlg.findChild<QProgressDialog*>(QStringLiteral("batchProgress"));
            QVERIFY(window && window->isVisible());
            window->findChild<QPushButton*>()->click();  // Cancel after the first model
        });
        Control<QPushButton>(dlg, IDC_CONVERT)->click();
        SetDialogRunner(nullptr);

        QCOMPARE(proposed, (QStringList{"ARK E-GLIDER", "ARK HELI 450", "ARK SPORT AEROB", "ARK TRAINER"}));
        QVERIFY(!okWithTwin);
        QCOMPARE(progress, (QList<int>{1, 4}));
        QCOMPARE(QDir(m_work->path()).entryList(QDir::Files), QStringList{"ARK E-GLIDER.mdl"});
        QCOMPARE(counts, QString::fromStdU16String(FormatString(1713, {1, 4, 0, 3})));
        QCOMPARE(results, (QStringList{"ARK E-GLIDER=" + Text(1702), "RENAMED=" + Text(1704),
                                       "ARK SPORT AEROB=" + Text(1704), "ARK TRAINER=" + Text(1704)}));
        // The first model's report window, titled with its name.
        QVERIFY(report.section(QLatin1Char('\n'), 0, 0).contains(QStringLiteral("ARK E-GLIDER")));
        QVERIFY(boxes.boxes.empty());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(Column(Control<QTableView>(dlg, IDC_TARGET_LIST), 1), QStringList{"ARK E-GLIDER"});
        // One row again: Detail and the model name edit serve it.
        click(3, {});
        QVERIFY(Control<QPushButton>(dlg, IDC_DETAIL)->isEnabled());
        QCOMPARE(Control<QLineEdit>(dlg, IDC_MODEL_NAME)->text(), source->model()->index(3, 1).data().toString());
        dlg.reject();
    }

    void refusedConversionKeepsTheState_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("transmitter");
        QTest::addColumn<bool>("selectRow");
        QTest::addColumn<bool>("imageTarget");
        QTest::addColumn<unsigned>("message");
        QTest::newRow("empty name") << "" << 0 << true << false << 708u;
        QTest::newRow("name too long") << "ABCDEFGHIJKLMNOPQ" << 0 << true << false << 706u;
        QTest::newRow("existing file") << "EXISTS" << 0 << true << false << 105u;
        QTest::newRow("no row") << "NEW" << 0 << false << false << 104u;
        QTest::newRow("wrong transmitter") << "NEW" << 1 << true << false << 704u;
        QTest::newRow("image target") << "NEW" << 0 << true << true << 103u;
    }
    void refusedConversionKeepsTheState()
    {
        QFETCH(QString, name);
        QFETCH(int, transmitter);
        QFETCH(bool, selectRow);
        QFETCH(bool, imageTarget);
        QFETCH(unsigned, message);
        QFile existing(m_work->filePath("EXISTS.mdl"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep");
        existing.close();
        Preset(kPX400Samples, imageTarget ? kPX200Samples : m_work->path());
        MessageCapture boxes;
        CArkletonDlg dlg;
        auto* source = Control<QTableView>(dlg, IDC_SOURCE_LIST);
        if (!selectRow)
            source->clearSelection();
        Control<QComboBox>(dlg, IDC_SOURCE_TRANSMITTER)->setCurrentIndex(transmitter);
        Control<QLineEdit>(dlg, IDC_MODEL_NAME)->setText(name);
        const QStringList before = QDir(m_work->path()).entryList(QDir::Files);
        const QStringList rows = Column(source, 1);
        Control<QPushButton>(dlg, IDC_CONVERT)->click();

        QCOMPARE(boxes.boxes.size(), size_t(1));
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(boxes.boxes[0].text.startsWith(Text(message).section(u'%', 0, 0)), qPrintable(boxes.boxes[0].text));
        QCOMPARE(QDir(m_work->path()).entryList(QDir::Files), before);
        QCOMPARE(Control<QLineEdit>(dlg, IDC_MODEL_NAME)->text(), name);
        QCOMPARE(Column(source, 1), rows);
        QCOMPARE(SelectedRow(source), selectRow ? 0 : -1);
        QCOMPARE(dlg.State().m_detailUsed, 0);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QFile kept(m_work->filePath("EXISTS.mdl"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep"));
    }

    void windowStopsAtItsMinimumAndSharesTheWidth()
    {
        Preset(kPX400Samples, kPX400Samples);
        MessageCapture boxes;
        CArkletonDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QSize minimum = dlg.MinimumSize();
        QVERIFY(minimum.width() <= 800 && minimum.height() <= 572);
        dlg.resize(100, 80);
        QCOMPARE(dlg.size(), minimum);
        for (const QSize size : {QSize(800, 572), QSize(1200, 900), minimum}) {
            dlg.resize(size);
            QCoreApplication::processEvents();
            auto* from = Control<QGroupBox>(dlg, IDC_GROUP_FROM);
            auto* to = Control<QGroupBox>(dlg, IDC_GROUP_TO);
            // Both groups share the width around the centre; the lists take the height.
            QVERIFY(qAbs(from->width() - to->width()) <= 1);
            QVERIFY(qAbs((from->geometry().left() + to->geometry().right()) - dlg.width()) <= 2);
            auto* list = Control<QTableView>(dlg, IDC_TARGET_LIST);
            QVERIFY(list->geometry().bottom() > to->height() - 30);
            QCOMPARE(Control<QTableView>(dlg, IDC_SOURCE_LIST)->geometry(), list->geometry());
        }
        dlg.reject();
    }

    void cliReadsTheLanguageTheDialogStores_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("expected");
        QTest::newRow("English") << 1 << "de_DE.UTF-8" << "en";
        QTest::newRow("Japanese") << 2 << "C" << "ja";
        QTest::newRow("German") << 3 << "C" << "de";
        QTest::newRow("French") << 4 << "C" << "fr";
        QTest::newRow("system") << 0 << "fr_FR.UTF-8" << "fr";
        QTest::newRow("other index") << 7 << "de_DE.UTF-8" << "de";
    }
    void cliReadsTheLanguageTheDialogStores()
    {
        QFETCH(int, index);
        QFETCH(QString, lang);
        QFETCH(QString, expected);
        Preset(kPX400Samples, kPX400Samples);
        {
            MessageCapture boxes;
            CArkletonDlg dlg;
            TheLanguage().m_language = index;
            dlg.reject();
        }
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settings->Path());
        env.insert(QStringLiteral("LANG"), lang);
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(ARK_CLI_PATH), {QStringLiteral("no-such-command")});
        QVERIFY(cli.waitForFinished(20000));
        Language language;
        QVERIFY(LanguageFromCode(expected.toStdString(), language));
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        const QString unknown = QString::fromStdU16String(LoadString(1410, language)).section(u'%', 0, 0);
        QVERIFY2(err.startsWith(unknown), qPrintable(err));
        // The program's own start-up picks the same language from the same store.
        qputenv("LANG", lang.toUtf8());
        auto settings = OpenSettings();
        ApplyLanguage(ReadLanguageIndex(*settings));
        QCOMPARE(CurrentLanguage(), language);
        SetLanguage(Language::English);
    }
};

QTEST_MAIN(MainDialogTest)
#include "test_main_dialog.moc"
