// The conversion report window after a conversion from the dialog, in each
// language, for a PX400 and a PX200 helicopter: opened from the hardware
// warning, must check open, nothing cut off or scrolled sideways at its
// default size, and a screenshot of each.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

#include "UiTestSupport.h"
#include "app/Strings.h"
#include "storage/TinyImage.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/Language.h"

namespace {

// Items whose text needs more room than the tree gives them, wrapped at
// the column's width; buttons whose caption does not fit.
QStringList CutOff(CReportDlg& window)
{
    QStringList found;
    QTreeWidget* tree = window.Tree();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        QTreeWidgetItem* item = *it;
        if (item->parent() && !item->parent()->isExpanded())
            continue;
        const QRect rect = tree->visualItemRect(item);
        const QFontMetrics metrics(item->font(0));
        const QRect need = metrics.boundingRect(QRect(0, 0, rect.width() - 8, 10000), Qt::TextWordWrap, item->text(0));
        if (rect.right() > tree->viewport()->width() || need.height() > rect.height())
            found << item->text(0);
    }
    for (QPushButton* b : window.findChildren<QPushButton*>()) {
        QString text = b->text();
        text.remove(u'&');
        if (b->fontMetrics().horizontalAdvance(text) > b->width())
            found << text;
    }
    return found;
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TinyStartup(); }
    void cleanupTestCase()
    {
        ApplyLanguage(1);
        TinyShutdown();
    }

    void helicopterReportsInEveryLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("transmitter");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("key");
        const struct { int index; const char* code; } languages[] = {{1, "en"}, {2, "ja"}, {3, "de"}, {4, "fr"}};
        for (const auto& l : languages) {
            QTest::newRow(qPrintable(QStringLiteral("px400-%1").arg(l.code)))
                << l.index << l.code << 0 << QStringLiteral(ARK_SAMPLES_DIR "/px400") << QStringLiteral("/HELI450.MDL");
            QTest::newRow(qPrintable(QStringLiteral("px200-%1").arg(l.code)))
                << l.index << l.code << 1 << QStringLiteral(ARK_SAMPLES_DIR "/px200") << QStringLiteral("7");
        }
    }
    void helicopterReportsInEveryLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, code);
        QFETCH(int, transmitter);
        QFETCH(QString, folder);
        QFETCH(QString, key);
        TestSettings settings;
        QTemporaryDir out;
        {
            auto s = settings.Open();
            s->setValue(QStringLiteral("Convert from/Folder1"), folder);
            s->setValue(QStringLiteral("Convert from/TransmitterSrc"), transmitter);
            s->setValue(QStringLiteral("Convert to/Folder1"), out.path());
        }
        ApplyLanguage(language);
        MessageCapture boxes;
        boxes.answers = {QMessageBox::Ok, QMessageBox::Open};
        CArkletonDlg dlg;
        dlg.show();
        auto* list = dlg.findChild<QTableView*>(QString::number(IDC_SOURCE_LIST));
        int row = -1;
        for (int r = 0; r < list->model()->rowCount(); ++r) {
            const QString k = list->model()->index(r, 0).data(Qt::UserRole).toString();
            if (k == key || k.endsWith(key))
                row = r;
        }
        QVERIFY(row >= 0);
        list->selectRow(row);
        dlg.findChild<QLineEdit*>(QString::number(IDC_MODEL_NAME))->setText(QStringLiteral("HELI") + code);
        dlg.findChild<QPushButton*>(QString::number(IDC_CONVERT))->click();

        CReportDlg* window = dlg.ReportWindow();
        QVERIFY2(window, qPrintable(boxes.Texts().join(u'|')));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString shots = QStringLiteral(ARK_BUILD_DIR "/screenshots");
        QDir().mkpath(shots);
        QVERIFY(window->grab().save(shots + QStringLiteral("/report-%1-%2.png").arg(transmitter ? "px200" : "px400", code)));
        QTreeWidget* tree = window->Tree();
        QVERIFY(!tree->horizontalScrollBar()->isVisible());
        const QStringList cut = CutOff(*window);
        QVERIFY2(cut.isEmpty(), qPrintable(code + QStringLiteral(": ") + cut.join(QStringLiteral(" | "))));
        // The first group is open: must check for the PX400 model, the
        // hardware mapping (for information) for the PX200 one.
        QVERIFY(tree->topLevelItem(0)->isExpanded());
        const QString first = tree->topLevelItem(0)->text(0);
        QVERIFY(first.startsWith(QString::fromStdU16String(LoadString(transmitter == 0 ? 1750 : 1752))));

        // The groups folded at first, opened: still nothing cut off.
        tree->expandAll();
        QCoreApplication::processEvents();
        const QStringList cutOpen = CutOff(*window);
        QVERIFY2(cutOpen.isEmpty(), qPrintable(code + QStringLiteral(": ") + cutOpen.join(QStringLiteral(" | "))));
        window->close();
        dlg.reject();
    }
};

QTEST_MAIN(ReportWindowTest)
#include "test_report_window.moc"
