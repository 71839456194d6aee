// The main dialog driven through its widgets on the offscreen platform.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include "UiTestSupport.h"
#include "platform/Strings.h"
#include "storage/TinyImage.h"
#include "ui/ArkletonDlg.h"
#include "ui/Language.h"

class MainDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSettings> m_settings;

    template <typename W>
    static W* Control(CArkletonDlg& dlg, int id)
    {
        W* w = dlg.findChild<W*>(QString::number(id));
        if (!w)
            qFatal("control %d missing", id);
        return w;
    }

private slots:
    void initTestCase()
    {
        SetLanguage(Language::English);
        TinyStartup();
    }
    void cleanupTestCase() { TinyShutdown(); }
    void init() { m_settings = std::make_unique<TestSettings>(); }
    void cleanup() { m_settings.reset(); }

    void firstStartTakesTheDefaults()
    {
        MessageCapture boxes;
        CArkletonDlg dlg;
        QCOMPARE(dlg.geometry(), QRect(0, 0, 800, 572));
        for (int id : {IDC_SOURCE_LOCATION, IDC_TARGET_LOCATION}) {
            auto* combo = Control<QComboBox>(dlg, id);
            QCOMPARE(combo->count(), 1);
            QCOMPARE(combo->currentText(), QDir::currentPath());
        }
        QCOMPARE(Control<QComboBox>(dlg, IDC_SOURCE_TRANSMITTER)->currentText(), QStringLiteral("PX400"));
        QCOMPARE(Control<QComboBox>(dlg, IDC_TARGET_TRANSMITTER)->currentText(), QStringLiteral("PX600"));
        for (int id : {IDC_SOURCE_LIST, IDC_TARGET_LIST}) {
            QHeaderView* header = Control<QTableView>(dlg, id)->horizontalHeader();
            const int widths[4] = {50, 120, 70, 103};
            for (int c = 0; c < 4; ++c)
                QCOMPARE(header->sectionSize(c), widths[c]);
        }
        QVERIFY(boxes.boxes.empty());
    }
};

QTEST_MAIN(MainDialogTest)
#include "test_main_dialog.moc"
