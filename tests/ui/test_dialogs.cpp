// The Detail, Setting and About dialogs driven through the main dialog's
// widgets on the offscreen platform, with screenshots of each dialog in every
// language and a check that no text is cut off at the default size.
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include <functional>

#include "UiTestSupport.h"
#include "app/DetailCommand.h"
#include "convert/Conversion.h"
#include "convert/CurveCompare.h"
#include "app/ConversionReport.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "app/Strings.h"
#include "samplegen/PX200Samples.h"
#include "samplegen/PX400Builder.h"
#include "samplegen/SampleFiles.h"
#include "storage/TinyImage.h"
#include "ui/qt/AboutDlg.h"
#include "ui/qt/AppSettings.h"
#include "ui/qt/CurvesView.h"
#include "ui/qt/ReportDlg.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/DetailDlg.h"
#include "ui/qt/Language.h"
#include "ui/qt/SettingDlg.h"
#include "ui/qt/SystemMenu.h"

namespace {

template <typename W>
W* Control(QWidget& parent, int id)
{
    W* w = parent.findChild<W*>(QString::number(id));
    if (!w)
        qFatal("control %d missing", id);
    return w;
}

QString Q(unsigned id) { return QString::fromStdU16String(LoadString(id)); }

// What the detail dialog showed when it opened.
struct DetailView {
    QStringList conditions;
    QStringList dualRates;  // of every condition, condition-major, through the selector
    bool dualRatesEnabled = true;
    QList<bool> rowEnabled;
    QStringList labels, choices, outcomes;
    QList<bool> marked;
};

DetailView Snapshot(CModelDataDetailDlg& d)
{
    DetailView v;
    for (int id : kConditionEditIds)
        v.conditions << Control<QLineEdit>(d, id)->text();
    auto* selector = Control<QComboBox>(d, IDC_CONDITION_SELECTOR);
    for (int c = 0; c < CONDITION_COUNT; ++c) {
        selector->setCurrentIndex(c);
        for (int id : kDualRateEditIds)
            v.dualRates << Control<QLineEdit>(d, id)->text();
    }
    selector->setCurrentIndex(0);
    v.dualRatesEnabled = Control<QLineEdit>(d, kDualRateEditIds[0])->isEnabled();
    for (int r = 0; r < HW_ROWS; ++r) {
        v.rowEnabled << Control<QComboBox>(d, kHardwareComboIds[r])->isEnabled();
        v.labels << Control<QLabel>(d, kHardwareLabelIds[r])->text();
        v.choices << Control<QComboBox>(d, kHardwareComboIds[r])->currentText();
        v.outcomes << Control<QLabel>(d, IDC_HARDWARE_OUTCOME_FIRST + r)->text();
        v.marked << Control<QLabel>(d, IDC_HARDWARE_OUTCOME_FIRST + r)->property("marked").toBool();
    }
    return v;
}

// Widgets of a shown window whose text is wider than the room they give it.
QStringList CutOffTexts(QWidget& window)
{
    QStringList cut;
    auto widest = [](const QFontMetrics& m, QString text) {
        text.remove(QLatin1Char('&'));
        int w = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            w = qMax(w, m.horizontalAdvance(line));
        return w;
    };
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QFontMetrics m(w->font());
        QStringList texts;
        int room = 0;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            texts << label->text();
            room = label->contentsRect().width();
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            texts << button->text();
            room = button->width() - 4;
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            texts << group->title();
            room = group->width();
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
            QStyleOptionComboBox option;
            option.initFrom(combo);
            room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
        }
        for (const QString& text : texts)
            if (widest(m, text) > room)
                cut << QStringLiteral("%1 \"%2\" (%3 > %4)").arg(w->objectName(), text).arg(widest(m, text)).arg(room);
    }
    return cut;
}

// Row r of the hardware group whose source control is named name.
int RowOf(QWidget& d, const QString& name)
{
    for (int r = 0; r < HW_ROWS; ++r)
        if (Control<QLabel>(d, kHardwareLabelIds[r])->text() == name)
            return r;
    return -1;
}

// The marks a pilot must not miss: CD-SW goes to SW-G beside SW-G, and a
// condition name longer than the PX600 keeps.
void MakeMarks(QWidget& d)
{
    auto* combo = Control<QComboBox>(d, kHardwareComboIds[RowOf(d, QStringLiteral("CD-SW"))]);
    combo->setCurrentIndex(combo->findText(QStringLiteral("SW-G")));
    Control<QLineEdit>(d, kConditionEditIds[1])->setText(QStringLiteral("TENCHARSXY"));
}

std::u16string StoredConditionName(const std::vector<uint8_t>& image, int c)
{
    std::u16string name;
    for (int i = 0; i < 8 && GetBE16(image.data() + 28140 + 578 * c + 2 * i); ++i)
        name += GetBE16(image.data() + 28140 + 578 * c + 2 * i);
    return name;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_files;
    QString m_src, m_image, m_dst;
    std::unique_ptr<TestSettings> m_settings;
    std::unique_ptr<MessageCapture> m_boxes;
    std::unique_ptr<CArkletonDlg> m_dlg;

    // The main dialog on source folder from (PX400 or PX200) with row `model`
    // selected and the target folder m_dst.
    void Open(const QString& from, bool px200, const QString& model)
    {
        m_dlg = std::make_unique<CArkletonDlg>();
        Control<QComboBox>(*m_dlg, IDC_SOURCE_TRANSMITTER)->setCurrentIndex(px200 ? 1 : 0);
        FolderAnswers folders;
        folders.folders = {from, m_dst};
        m_dlg->OnBrowse(SettingsGroup::Source);
        m_dlg->OnBrowse(SettingsGroup::Target);
        Select(model);
        m_boxes->boxes.clear();
    }
    void Select(const QString& model)
    {
        auto* list = Control<QTableView>(*m_dlg, IDC_SOURCE_LIST);
        for (int r = 0; r < list->model()->rowCount(); ++r)
            if (list->model()->index(r, 1).data().toString().trimmed() == model)
                return list->selectRow(r);
        QFAIL(qPrintable(QStringLiteral("no row %1").arg(model)));
    }
    // Presses Detail; the dialog, when it opens, is recorded, changed by act
    // and closed with OK or Cancel. Returns whether it opened.
    bool Detail(const std::function<void(CModelDataDetailDlg&)>& act = {}, bool ok = false, DetailView* seen = nullptr)
    {
        bool opened = false;
        SetDialogRunner([&](QDialog& dialog) {
            auto* detail = qobject_cast<CModelDataDetailDlg*>(&dialog);
            if (!detail)
                return int(QDialog::Rejected);
            opened = true;
            if (seen)
                *seen = Snapshot(*detail);
            if (act)
                act(*detail);
            Control<QPushButton>(dialog, ok ? 1 : 2)->click();
            return dialog.result();
        });
        Control<QPushButton>(*m_dlg, IDC_DETAIL)->click();
        SetDialogRunner(nullptr);
        return opened;
    }
    QString Convert(const QString& name)
    {
        Control<QLineEdit>(*m_dlg, IDC_MODEL_NAME)->setText(name);
        m_boxes->boxes.clear();
        Control<QPushButton>(*m_dlg, IDC_CONVERT)->click();
        return m_dst + QLatin1Char('/') + name + QStringLiteral(".mdl");
    }

private slots:
    void initTestCase()
    {
        SetLanguage(Language::English);
        TinyStartup();
        m_src = m_files.filePath(QStringLiteral("from"));
        m_image = m_files.filePath(QStringLiteral("image"));
        m_dst = m_files.filePath(QStringLiteral("to"));
        QDir().mkpath(m_dst);
        samples::PX400Builder heli;
        heli.SetModelName(u"Heli");
        heli.SetModelType(MODEL_HELICOPTER);
        for (int c = 0; c < 8; ++c)
            heli.SetConditionName(c, u"FLY" + std::u16string(1, char16_t(u'0' + c)));
        WriteSampleFile(m_src.toStdString() + "/Heli.MDL", heli.Image());
        samples::PX400Builder cub;
        cub.SetModelName(u"Cub");
        cub.SetModelType(MODEL_AIRPLANE);
        WriteSampleFile(m_src.toStdString() + "/Cub.MDL", cub.Image());
        WritePX200SampleImage(m_image.toStdString());
    }
    void cleanupTestCase() { TinyShutdown(); }
    void init()
    {
        SetLanguage(Language::English);
        TheLanguage().m_language = 0;
        TheConvertHW() = CConvertHW();
        m_settings = std::make_unique<TestSettings>();
        m_boxes = std::make_unique<MessageCapture>();
    }
    void cleanup()
    {
        m_dlg.reset();
        m_boxes.reset();
        m_settings.reset();
    }

    void sourcesShowTheirNamesAndRows_data()
    {
        QTest::addColumn<bool>("px200");
        QTest::addColumn<QList<int>>("disabled");
        QTest::newRow("PX400") << false << QList<int>{26, 27, 28, 29};
        QTest::newRow("PX200") << true << QList<int>{8, 9, 22, 23, 24, 25, 26, 27, 28, 29};
    }
    void sourcesShowTheirNamesAndRows()
    {
        QFETCH(bool, px200);
        QFETCH(QList<int>, disabled);
        Open(px200 ? m_image : m_src, px200, px200 ? QStringLiteral("HELI 450") : QStringLiteral("Heli"));
        DetailView v;
        QVERIFY(Detail({}, false, &v));
        // The 8-letter notice comes before the dialog.
        QCOMPARE(m_boxes->Texts(), QStringList{Q(634)});
        QCOMPARE(m_boxes->boxes[0].icon, QMessageBox::Information);
        QVERIFY(!v.dualRatesEnabled);
        for (int c = 0; c < 8; ++c) {
            const bool empty = px200 && c >= 5;
            QCOMPARE(v.conditions[c].isEmpty(), empty);
            for (int d = 0; d < 6; ++d)
                if (px200)
                    QCOMPARE(v.dualRates[c * 6 + d], empty ? QString() : QStringLiteral("D/R %1   ").arg(d + 1));
        }
        if (px200)
            QCOMPARE(v.conditions[3], QStringLiteral("HOLD    "));
        else
            QCOMPARE(v.conditions[7], QStringLiteral("FLY7"));
        for (int r = 0; r < HW_ROWS; ++r) {
            QCOMPARE(v.rowEnabled[r], !disabled.contains(r));
            if (v.rowEnabled[r] && !(r >= 22 && r <= 25))
                QCOMPARE(v.choices[r], v.labels[r]);  // each control keeps its own by default
            QCOMPARE(v.marked[r], v.outcomes[r].endsWith(Q(899)));  // and no two share one
        }
        if (!px200)
            QCOMPARE(v.outcomes[22], QStringLiteral("RST → none"));
    }

    void setToDefaultByModelType_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("helicopter") << QStringLiteral("Heli")
                                    << QStringList{"NORMAL", "IDLEUP1", "IDLEUP2", "IDLEUP3",
                                                   "HOLD",   "CONDIT6", "CONDIT7", "CONDIT8"};
        QTest::newRow("airplane") << QStringLiteral("Cub")
                                  << QStringList{"CONDIT1", "CONDIT2", "CONDIT3", "CONDIT4",
                                                 "CONDIT5", "CONDIT6", "CONDIT7", "CONDIT8"};
    }
    void setToDefaultByModelType()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, names);
        Open(m_src, false, model);
        m_boxes->answers = {QMessageBox::Ok, QMessageBox::Yes};
        QStringList shown;
        QVERIFY(Detail([&](CModelDataDetailDlg& d) {
            Control<QPushButton>(d, IDC_CONDITION_DEFAULT)->click();
            for (int id : kConditionEditIds)
                shown << Control<QLineEdit>(d, id)->text();
        }));
        QCOMPARE(m_boxes->Texts(), (QStringList{Q(634), Q(635)}));
        QCOMPARE(m_boxes->boxes[1].icon, QMessageBox::Question);
        QCOMPARE(m_boxes->boxes[1].caption, Q(IDS_MAIN_CAPTION));
        QCOMPARE(shown, names);
    }

    void noToEachQuestionAndCancelChangeNothing()
    {
        Open(m_src, false, QStringLiteral("Heli"));
        m_boxes->answers = {QMessageBox::Ok, QMessageBox::No, QMessageBox::No};
        QStringList after;
        QVERIFY(Detail([&](CModelDataDetailDlg& d) {
            Control<QLineEdit>(d, kConditionEditIds[2])->setText(QStringLiteral("TYPED"));
            Control<QComboBox>(d, kHardwareComboIds[0])->setCurrentIndex(0);
            Control<QPushButton>(d, IDC_CONDITION_RESET)->click();
            Control<QPushButton>(d, IDC_CONDITION_DEFAULT)->click();
            Control<QPushButton>(d, IDC_DUAL_RATE_RESET)->click();  // disabled for a PX600 target
            for (int id : kConditionEditIds)
                after << Control<QLineEdit>(d, id)->text();
        }, false));
        QCOMPARE(m_boxes->Texts(), (QStringList{Q(634), Q(631), Q(635)}));
        QCOMPARE(after[2], QStringLiteral("TYPED"));
        QCOMPARE(after[0], QStringLiteral("FLY0"));
        // Cancelled: nothing reached the main dialog or the table.
        QCOMPARE(m_dlg->State().m_detailUsed, 0);
        DetailView v;
        QVERIFY(Detail({}, false, &v));
        QCOMPARE(v.conditions[2], QStringLiteral("FLY2"));
        QCOMPARE(v.choices[0], QStringLiteral("J1"));
    }

    // OK, Detail again, a conversion with the confirmed names and rows, and
    // Detail after it; finally a PX600 row is refused.
    void confirmedChoicesLastUntilTheNextConversion()
    {
        Open(m_src, false, QStringLiteral("Heli"));
        QVERIFY(Detail(
            [](CModelDataDetailDlg& d) {
                Control<QLineEdit>(d, kConditionEditIds[0])->setText(QStringLiteral("IDLEUP9"));
                Control<QComboBox>(d, kHardwareComboIds[0])->setCurrentIndex(0);  // J1 -> none
                auto* outcome = Control<QLabel>(d, IDC_HARDWARE_OUTCOME_FIRST);
                QCOMPARE(outcome->text(), QStringLiteral("J1 → none"));
                QVERIFY(outcome->property("none").toBool() && outcome->property("marked").toBool());
                // Both rows that go to SW-G are marked, each naming the other;
                // the name longer than 8 shows what is stored.
                const int rows[2] = {RowOf(d, QStringLiteral("CD-SW")), RowOf(d, QStringLiteral("SW-G"))};
                QVERIFY(!Control<QLabel>(d, IDC_HARDWARE_OUTCOME_FIRST + rows[1])->property("marked").toBool());
                MakeMarks(d);
                for (int i = 0; i < 2; ++i) {
                    auto* shared = Control<QLabel>(d, IDC_HARDWARE_OUTCOME_FIRST + rows[i]);
                    QVERIFY(shared->property("marked").toBool());
                    const QStringList names{QStringLiteral("CD-SW"), QStringLiteral("SW-G")};
                    QCOMPARE(shared->toolTip(), QString::fromStdU16String(FormatString(
                        1600, {names[i].toStdU16String(), u"SW-G", names[1 - i].toStdU16String()})));
                }
                for (int c : {0, 1}) {
                    auto* mark = Control<QLabel>(d, IDC_CONDITION_MARK_FIRST + c);
                    QCOMPARE(mark->property("marked").toBool(), c == 1);
                    QCOMPARE(mark->text(), c == 1 ? QStringLiteral("→ TENCHARS") : QString());
                }
                QCOMPARE(Control<QLabel>(d, IDC_CONDITION_MARK_FIRST + 1)->toolTip(),
                         QString::fromStdU16String(FormatString(1601, {u"TENCHARS"})));
            },
            true));
        QCOMPARE(m_dlg->State().m_detailUsed, 1);

        // Again on the same model: the confirmed state shows.
        DetailView v;
        QVERIFY(Detail({}, false, &v));
        QCOMPARE(v.conditions[0], QStringLiteral("IDLEUP9"));
        QCOMPARE(v.conditions[2], QStringLiteral("FLY2"));
        QCOMPARE(v.choices[0], QStringLiteral("none"));

        // The conversion uses them; the next one does not.
        const QString with = Convert(QStringLiteral("WITH"));
        QCOMPARE(m_boxes->Texts().value(0), Q(108));
        QCOMPARE(m_dlg->State().m_detailUsed, 0);
        const QString without = Convert(QStringLiteral("WITHOUT"));
        const std::vector<uint8_t> a = ReadSampleFile(with.toStdString());
        const std::vector<uint8_t> b = ReadSampleFile(without.toStdString());
        QVERIFY(StoredConditionName(a, 0) == u"IDLEUP9");
        QVERIFY(StoredConditionName(a, 1) == u"TENCHARS");
        QVERIFY(StoredConditionName(b, 0) == u"FLY0");
        // J1 -> none changed control fields: the images differ beyond the
        // model name, the condition names and the checksum.
        QCOMPARE(a.size(), b.size());
        int differing = 0;
        for (size_t i = 0; i + 4 < a.size(); ++i) {  // the last 4 bytes: checksum
            const bool name = (i >= 10 && i < 42) || (i >= 28140 && i < 28140 + 578 * 8 && (i - 28140) % 578 < 18);
            differing += !name && a[i] != b[i];
        }
        QVERIFY(differing > 0);

        QVERIFY(Detail({}, false, &v));
        QCOMPARE(v.conditions[0], QStringLiteral("FLY0"));
        QCOMPARE(v.choices[0], QStringLiteral("J1"));

        // A PX600 row: refused, no dialog.
        FolderAnswers folders;
        folders.folders = {m_dst};
        m_dlg->OnBrowse(SettingsGroup::Source);
        m_boxes->boxes.clear();
        QVERIFY(!Detail());
        QCOMPARE(m_boxes->Texts(), QStringList{Q(704)});
        QCOMPARE(m_boxes->boxes[0].icon, QMessageBox::Critical);
    }

    // The pilot's path: Detail on one model, OK, another row, a name, Convert:
    // the file is the other model's plain conversion. A typed name with a
    // control character is refused at OK first, and the dialog stays open.
    void choicesStayWithTheirModel()
    {
        SetLocalClockForTesting([](SYSTEMTIME* now) { *now = SYSTEMTIME{}; });
        Open(QStringLiteral(ARK_SAMPLES_DIR "/px400"), false, QStringLiteral("ARK HELI 450"));
        QVERIFY(Detail([&](CModelDataDetailDlg& d) {
            auto* name = Control<QLineEdit>(d, kConditionEditIds[1]);
            name->setText(QStringLiteral("A\tB"));
            Control<QPushButton>(d, 1)->click();
            QVERIFY(d.result() != QDialog::Accepted);
            name->setText(QStringLiteral("LEAK"));
            Control<QComboBox>(d, kHardwareComboIds[10])->setCurrentIndex(5);
        }, true));
        QCOMPARE(m_boxes->Texts().value(1), QString::fromStdU16String(FormatString(713, {LoadString(2103), 2})));
        QCOMPARE(m_dlg->State().m_detailUsed, 1);
        Select(QStringLiteral("ARK TRAINER"));
        QCOMPARE(m_dlg->State().m_detailUsed, 0);  // dropped as the row changed, before any command
        const QString first = Convert(QStringLiteral("TRAINER"));
        QVERIFY(QFile::rename(first, first + QStringLiteral(".first")));
        QVERIFY(ReadSampleFile(first.toStdString() + ".first") == ReadSampleFile(Convert(QStringLiteral("TRAINER")).toStdString()));
        SetLocalClockForTesting(nullptr);
    }

    void settingsTakeEffectAtTheNextStart_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("boxes");
        QTest::newRow("GERMAN, OK") << 3 << true << 3 << 1;
        QTest::newRow("same language") << 0 << true << 0 << 0;
        QTest::newRow("GERMAN, Cancel") << 3 << false << 0 << 0;
    }
    void settingsTakeEffectAtTheNextStart()
    {
        QFETCH(int, choice);
        QFETCH(bool, ok);
        QFETCH(int, stored);
        QFETCH(int, boxes);
        m_dlg = std::make_unique<CArkletonDlg>();
        QStringList entries;
        SetDialogRunner([&](QDialog& dialog) {
            auto* combo = Control<QComboBox>(dialog, IDC_LANGUAGE);
            for (int i = 0; i < combo->count(); ++i)
                entries << combo->itemText(i);
            combo->setCurrentIndex(choice);
            Control<QPushButton>(dialog, ok ? 1 : 2)->click();
            return dialog.result();
        });
        QVERIFY(OnSystemCommand(*m_dlg, IDM_SETTING));
        SetDialogRunner(nullptr);
        QCOMPARE(entries, (QStringList{"System", "English", "日本語", "Deutsch", "Français"}));
        QCOMPARE(int(m_boxes->boxes.size()), boxes);
        if (boxes) {
            QCOMPARE(m_boxes->boxes[0].text, Q(900));
            QCOMPARE(m_boxes->boxes[0].caption, Q(2210));
            QCOMPARE(m_boxes->boxes[0].icon, QMessageBox::Information);
        }
        // The running program keeps its language; the closing main dialog
        // stores the choice, and the next start reads it.
        QCOMPARE(Q(IDS_MAIN_CAPTION), QStringLiteral("PX600 Arkleton"));
        m_dlg->reject();
        m_dlg.reset();
        QCOMPARE(ReadLanguageIndex(*OpenSettings()), stored);
        ApplyLanguage(ReadLanguageIndex(*OpenSettings()));
        CArkletonDlg next;
        QCOMPARE(Control<QPushButton>(next, IDC_DETAIL)->text(),
                 QString::fromStdU16String(LoadString(2010, stored == 3 ? Language::German : Language::English)));
        ApplyLanguage(1);
    }

    void menuShortcutsAndVersion()
    {
        m_dlg = std::make_unique<CArkletonDlg>();
        QMenu menu;
        AddSystemMenuItems(menu, *m_dlg);
        QStringList texts;
        QList<unsigned> ids;
        for (QAction* a : menu.actions()) {
            texts << a->text();
            ids << a->data().toUInt();
        }
        QCOMPARE(texts, (QStringList{Q(101), Q(1200)}));
        QCOMPARE(ids, (QList<unsigned>{IDM_ABOUTBOX, IDM_SETTING}));
        QVERIFY(!OnSystemCommand(*m_dlg, 0x12));

        // Each item, and each shortcut, opens its own dialog.
        QStringList opened;
        SetDialogRunner([&](QDialog& dialog) {
            opened << QString::fromLatin1(dialog.metaObject()->className());
            return int(QDialog::Rejected);
        });
        for (QAction* a : menu.actions())
            a->trigger();
        for (QShortcut* s : m_dlg->findChildren<QShortcut*>())
            emit s->activated();
        SetDialogRunner(nullptr);
        QCOMPARE(opened.mid(0, 2), (QStringList{"CAboutDlg", "CSettingDlg"}));
        QVERIFY(opened.count(QStringLiteral("CAboutDlg")) >= 2);

        // The version shows three numbers, never a fourth.
        QCOMPARE(CStaticVersion("1.2.0.9").Text(), QStringLiteral("Version 1.2.0"));
        QCOMPARE(CStaticVersion("3.1").Text(), QStringLiteral("Version 3.1.0"));
        QCOMPARE(CStaticVersion(ARK_VERSION).Text(), QStringLiteral("Version ") + QStringLiteral(ARK_VERSION));
    }

    void screenshotsInEveryLanguage()
    {
        // The check itself finds a text that does not fit.
        QWidget narrow;
        auto* label = new QLabel(QStringLiteral("Convert from"), &narrow);
        label->setFixedWidth(5);
        narrow.show();
        QCOMPARE(CutOffTexts(narrow).size(), 1);

        const QString folder = QStringLiteral(ARK_BUILD_DIR "/screenshots");
        QDir().mkpath(folder);
        for (Language language : {Language::English, Language::German, Language::French, Language::Japanese}) {
            SetLanguage(language);
            const QString code = QString::fromLatin1(LanguageCode(language));
            auto check = [&](QWidget& w, const QString& name) {
                w.show();
                QVERIFY(QTest::qWaitForWindowExposed(&w));
                QVERIFY(w.grab().save(folder + QStringLiteral("/%1-%2.png").arg(name, code)));
                const QStringList cut = CutOffTexts(w);
                QVERIFY2(cut.isEmpty(), qPrintable(name + QLatin1Char(' ') + code + QStringLiteral(": ") + cut.join(QStringLiteral("; "))));
            };
            Open(m_src, false, QStringLiteral("Heli"));
            QVERIFY(Detail([&](CModelDataDetailDlg& d) {
                MakeMarks(d);
                check(d, QStringLiteral("detail"));
            }));
            CSettingDlg setting(0, m_dlg.get());
            check(setting, QStringLiteral("setting"));
            // Each language in its own name; "System" in the language of the moment.
            auto* languages = Control<QComboBox>(setting, IDC_LANGUAGE);
            QCOMPARE(languages->itemText(0), Q(1201));
            QCOMPARE(languages->itemText(2), QStringLiteral("日本語"));
            QCOMPARE(languages->itemText(4), QStringLiteral("Français"));
            QVERIFY(setting.width() > setting.fontMetrics().horizontalAdvance(setting.windowTitle()));
            CAboutDlg about(m_dlg.get());
            check(about, QStringLiteral("about"));
        }
    }

    void curvesScreenshotsInEveryLanguage()
    {
        // The bundled PX400 trainer (curves with points off the grid) and the
        // PX200 helicopter, converted here.
        CConvertHW table;
        CModelDataPX400 px400;
        const std::vector<uint8_t> trainer = ReadSampleFile(ARK_SAMPLES_DIR "/px400/TRAINER.MDL");
        std::copy(trainer.begin(), trainer.end(), px400.GetImage());
        CModelDataPX600 fromPX400(&table);
        QCOMPARE(ConvertFromPX400(fromPX400, px400), 1);
        CModelDataPX200 px200;
        const std::vector<uint8_t> heli = MakePX200Model(PX200Samples()[1]);
        std::copy(heli.begin(), heli.end(), px200.GetImage());
        CModelDataPX600 fromPX200(&table);
        QCOMPARE(ConvertFromPX200(fromPX200, px200), 1);
        const std::vector<CurveComparison> curves[] = {CompareCurves(px400, fromPX400), CompareCurves(px200, fromPX200)};
        CModelDataPX600* targets[] = {&fromPX400, &fromPX200};

        const QString folder = QStringLiteral(ARK_BUILD_DIR "/screenshots");
        QDir().mkpath(folder);
        for (Language language : {Language::English, Language::German, Language::French, Language::Japanese}) {
            SetLanguage(language);
            const QString code = QString::fromLatin1(LanguageCode(language));
            for (int i = 0; i < 2; ++i) {
                const auto changed = std::count_if(curves[i].begin(), curves[i].end(), [](auto& c) { return c.Changed(); });
                // The report of the conversion: a must-check finding per changed
                // curve, one line for the others.
                ConversionFacts facts;
                facts.sourceTransmitter = i == 0 ? TX_PX400 : TX_PX200;
                facts.sourceModelType = facts.targetModelType = targets[i]->GetModelType();
                facts.sourceBytes = PX200_DATA_SIZE;
                facts.image = targets[i]->GetImage();
                facts.curves = curves[i];
                const ConversionReport report = BuildConversionReport(facts);
                int curveFindings = 0;
                for (const Finding& f : report.Findings())
                    if (f.kind == FindingKind::Curve && f.severity == Severity::MustCheck)
                        ++curveFindings;
                QCOMPARE(curveFindings, changed);
                CReportDlg dlg(report, i == 0 ? QStringLiteral("TRAINER") : QStringLiteral("HELI"), {});
                QVERIFY(dlg.Pages());
                dlg.Pages()->setCurrentWidget(dlg.Curves());
                dlg.show();
                QVERIFY(QTest::qWaitForWindowExposed(&dlg));
                // Changed curves drawn, unchanged ones folded until asked for.
                QCOMPARE(dlg.findChildren<CCurvePlot*>().size(), changed);
                const QString name = QStringLiteral("/curves-%1-%2").arg(i == 0 ? "px400" : "px200", code);
                QVERIFY(dlg.grab().save(folder + name + QStringLiteral(".png")));
                QStringList cut = CutOffTexts(dlg);
                dlg.Curves()->UnchangedButton()->click();
                QCOMPARE(dlg.findChildren<CCurvePlot*>().size(), qsizetype(curves[i].size()));
                QCoreApplication::sendPostedEvents();  // the new plots laid out
                QVERIFY(dlg.grab().save(folder + name + QStringLiteral("-unfolded.png")));
                cut += CutOffTexts(dlg);
                QVERIFY2(cut.isEmpty(), qPrintable(name + QStringLiteral(": ") + cut.join(QStringLiteral("; "))));
            }
        }
        SetLanguage(Language::English);
    }
};

QTEST_MAIN(DialogsTest)
#include "test_dialogs.moc"
