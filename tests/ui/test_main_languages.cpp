// The main dialog in each of its four languages: texts from the language's
// tables, Qt's own texts translated, nothing cut off at the default size (the
// list columns of a first start included), and screenshots of the dialog
// filled with the samples and of the hardware warning after a conversion.
#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "UiTestSupport.h"
#include "app/Strings.h"
#include "storage/TinyImage.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/Language.h"

namespace {

QString Plain(QString text)
{
    // A mnemonic marker takes no room; "&&" shows one ampersand.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

// Every label, button, group title, column heading and list cell whose text
// needs more width than its widget gives it; a model type column must also
// have room for the names of the types it does not show at the moment.
QStringList TooWide(QWidget& root)
{
    QStringList found;
    auto check = [&](const QWidget* w, const QString& text, int room) {
        const int need = w->fontMetrics().horizontalAdvance(Plain(text));
        if (need > room)
            found << QStringLiteral("%1 \"%2\" %3 > %4").arg(w->objectName(), text).arg(need).arg(room);
    };
    for (QLabel* l : root.findChildren<QLabel*>())
        check(l, l->text(), l->contentsRect().width());
    for (QPushButton* b : root.findChildren<QPushButton*>())
        check(b, b->text(), b->width() - 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b));
    for (QGroupBox* g : root.findChildren<QGroupBox*>())
        check(g, g->title(), g->width() - 2 * g->fontMetrics().averageCharWidth());
    for (QTableView* t : root.findChildren<QTableView*>()) {
        QHeaderView* header = t->horizontalHeader();
        const int headerMargin = 2 * t->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const int cellMargin = 2 * (t->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, t) + 1) + 1;
        for (int c = 0; c < t->model()->columnCount(); ++c) {
            check(header, t->model()->headerData(c, Qt::Horizontal).toString(), header->sectionSize(c) - headerMargin);
            QStringList texts;
            for (int r = 0; r < t->model()->rowCount(); ++r)
                texts << t->model()->index(r, c).data().toString();
            for (unsigned id = IDS_MODEL_TYPE_UNKNOWN; c == 2 && id <= IDS_MODEL_TYPE_BASE + 4; ++id)
                texts << QString::fromStdU16String(LoadString(id));
            for (const QString& text : texts)
                check(t, text, header->sectionSize(c) - cellMargin);
        }
    }
    return found;
}

}  // namespace

class MainLanguagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TinyStartup(); }
    void cleanupTestCase()
    {
        ApplyLanguage(1);
        TinyShutdown();
    }

    void theCheckFindsATextThatDoesNotFit()
    {
        QWidget narrow;
        auto* label = new QLabel(QStringLiteral("Convert &from"), &narrow);
        label->setFixedWidth(10);
        auto* button = new QPushButton(QStringLiteral("&Convert"), &narrow);
        button->setFixedWidth(200);
        narrow.show();
        QCOMPARE(TooWide(narrow).size(), 1);
    }

    void everyLanguageAtTheDefaultSize_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("code");
        QTest::newRow("en") << 1 << "en";
        QTest::newRow("ja") << 2 << "ja";
        QTest::newRow("de") << 3 << "de";
        QTest::newRow("fr") << 4 << "fr";
    }
    void everyLanguageAtTheDefaultSize()
    {
        QFETCH(int, index);
        QFETCH(QString, code);
        TestSettings settings;
        {
            auto s = settings.Open();
            s->setValue(QStringLiteral("Convert from/Folder1"), QStringLiteral(ARK_SAMPLES_DIR "/px400"));
            s->setValue(QStringLiteral("Convert to/Folder1"), QStringLiteral(ARK_SAMPLES_DIR "/px200"));
        }
        ApplyLanguage(index);
        Language language;
        QVERIFY(LanguageFromCode(code.toStdString(), language));
        QCOMPARE(CurrentLanguage(), language);
        if (language == Language::Japanese)
            QVERIFY2(!QFontDatabase::families(QFontDatabase::Japanese).isEmpty(), "no Japanese font installed");

        MessageCapture boxes;
        CArkletonDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.size(), QSize(800, 572));
        QCOMPARE(dlg.windowTitle(), QString::fromStdU16String(LoadString(IDS_MAIN_CAPTION, language)));
        QCOMPARE(dlg.findChild<QGroupBox*>(QString::number(IDC_GROUP_FROM))->title(),
                 QString::fromStdU16String(LoadString(2001, language)));
        QCOMPARE(dlg.findChild<QPushButton*>(QString::number(IDC_CONVERT))->text(),
                 QString::fromStdU16String(LoadString(2011, language)));
        auto* list = dlg.findChild<QTableView*>(QString::number(IDC_SOURCE_LIST));
        QVERIFY(list->model()->rowCount() > 0);
        QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(),
                 QString::fromStdU16String(LoadString(503, language)));

        // Qt's own buttons speak the same language.
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Cancel);
        const QString cancel = Plain(box.button(QMessageBox::Cancel)->text());
        if (language == Language::English)
            QCOMPARE(cancel, QStringLiteral("Cancel"));
        else
            QVERIFY2(cancel != QStringLiteral("Cancel"), qPrintable(code + ": Qt's translations are not installed"));

        const QStringList wide = TooWide(dlg);
        QVERIFY2(wide.isEmpty(), qPrintable(code + QStringLiteral(": ") + wide.join(QStringLiteral("; "))));

        const QString folder = QStringLiteral(ARK_BUILD_DIR "/screenshots");
        QDir().mkpath(folder);
        QVERIFY(dlg.grab().save(folder + QStringLiteral("/main-%1.png").arg(code)));
        // Wide enough for every column; the last one takes the rest.
        dlg.resize(1500, 572);
        QCoreApplication::processEvents();
        QVERIFY(dlg.grab().save(folder + QStringLiteral("/main-wide-%1.png").arg(code)));
        QVERIFY(boxes.boxes.empty());

        // The hardware warning after a conversion, whole, as the pilot sees it.
        QTemporaryDir out;
        FolderAnswers folders;
        folders.folders.push_back(out.path());
        dlg.OnBrowse(SettingsGroup::Target);
        bool shown = false;
        SetMessagePresenter([&](QMessageBox& box) {
            if (box.text() == QString::fromStdU16String(LoadString(705))) {
                box.show();
                auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                shown = label && label->height() >= label->heightForWidth(label->width()) &&
                        box.grab().save(folder + QStringLiteral("/warning-%1.png").arg(code));
            }
            return QMessageBox::Ok;
        });
        dlg.findChild<QPushButton*>(QString::number(IDC_CONVERT))->click();
        SetMessagePresenter(nullptr);
        QVERIFY(shown);
        dlg.reject();
    }
};

QTEST_MAIN(MainLanguagesTest)
#include "test_main_languages.moc"
