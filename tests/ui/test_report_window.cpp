// The conversion report window after a conversion from the dialog, in each
// language, for a PX400 and a PX200 helicopter: opened from the hardware
// warning, the first group open, nothing cut off or scrolled sideways at its
// default size, and a screenshot of each.
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

// Shown items whose text, wrapped at the width the tree gives it, needs more
// room than its row.
static QStringList CutOff(QTreeWidget* tree)
{
    QStringList found;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->parent() && !(*it)->parent()->isExpanded())
            continue;
        const QRect rect = tree->visualItemRect(*it);
        const QRect need = QFontMetrics((*it)->font(0)).boundingRect(QRect(0, 0, rect.width() - 8, 10000),
                                                                    Qt::TextWordWrap, (*it)->text(0));
        if (rect.right() > tree->viewport()->width() || need.height() > rect.height())
            found << (*it)->text(0);
    }
    return found;
}

class ReportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TinyStartup(); }
    void cleanupTestCase() { ApplyLanguage(1), TinyShutdown(); }

    void helicopterReportsInEveryLanguage()
    {
        const QString shots = QStringLiteral(ARK_BUILD_DIR "/screenshots");
        QDir().mkpath(shots);
        for (const auto& [language, code] : {std::pair{1, "en"}, {2, "ja"}, {3, "de"}, {4, "fr"}}) {
            for (int transmitter : {0, 1}) {
                const QString name = QStringLiteral("report-%1-%2").arg(transmitter ? "px200" : "px400", code);
                TestSettings settings;
                QTemporaryDir out;
                {
                    auto s = settings.Open();
                    s->setValue(QStringLiteral("Convert from/Folder1"),
                                transmitter ? QStringLiteral(ARK_SAMPLES_DIR "/px200") : QStringLiteral(ARK_SAMPLES_DIR "/px400"));
                    s->setValue(QStringLiteral("Convert from/TransmitterSrc"), transmitter);
                    s->setValue(QStringLiteral("Convert to/Folder1"), out.path());
                }
                ApplyLanguage(language);
                MessageCapture boxes;
                boxes.answers = {QMessageBox::Ok, QMessageBox::Open};
                CArkletonDlg dlg;
                auto* list = dlg.findChild<QTableView*>(QString::number(IDC_SOURCE_LIST));
                for (int r = 0; r < list->model()->rowCount(); ++r) {
                    const QString key = list->model()->index(r, 0).data(Qt::UserRole).toString();
                    if (transmitter ? key == QLatin1String("7") : key.endsWith(QLatin1String("/HELI450.MDL")))
                        list->selectRow(r);
                }
                dlg.findChild<QLineEdit*>(QString::number(IDC_MODEL_NAME))->setText(QStringLiteral("HELI"));
                dlg.findChild<QPushButton*>(QString::number(IDC_CONVERT))->click();

                CReportDlg* window = dlg.ReportWindow();
                QVERIFY2(window, qPrintable(name + boxes.Texts().join(u'|')));
                QVERIFY(QTest::qWaitForWindowExposed(window));
                QVERIFY(window->grab().save(shots + u'/' + name + QStringLiteral(".png")));
                QTreeWidget* tree = window->Tree();
                QVERIFY(!tree->horizontalScrollBar()->isVisible());
                QCOMPARE(CutOff(tree), QStringList());
                // Must check open for the PX400 model, the rest folded; the PX200
                // one has only the hardware mapping, open as nothing must be checked.
                QVERIFY(tree->topLevelItem(0)->isExpanded());
                for (int i = 1; i < tree->topLevelItemCount(); ++i)
                    QVERIFY(!tree->topLevelItem(i)->isExpanded());
                QVERIFY(tree->topLevelItem(0)->text(0).startsWith(Text(transmitter ? 1752 : 1750)));
                tree->expandAll();
                QCoreApplication::processEvents();
                QCOMPARE(CutOff(tree), QStringList());
                window->close();
                dlg.reject();
            }
        }
    }

private:
    static QString Text(unsigned id) { return QString::fromStdU16String(LoadString(id)); }
};

QTEST_MAIN(ReportWindowTest)
#include "test_report_window.moc"
