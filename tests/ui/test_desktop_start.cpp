// arkleton itself, started under xvfb-run in the samples folder: its window
// appears on the X server, and closing it through the window manager's
// protocol ends the program cleanly with its settings written.
#include <cstdlib>

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#ifdef ARK_HAVE_XCB
#include <xcb/xcb.h>
#endif

#ifdef ARK_HAVE_XCB
namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return atom;
}

QByteArray Property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property)
{
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    QByteArray value;
    if (r)
        value = QByteArray(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
    free(r);
    return value;
}

// The viewable top-level window whose name is title, or none.
xcb_window_t FindWindow(xcb_connection_t* c, const QByteArray& title)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    xcb_window_t found = XCB_WINDOW_NONE;
    if (!tree)
        return found;
    const xcb_atom_t netName = Atom(c, "_NET_WM_NAME");
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr);
        const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
        free(a);
        if (viewable && (Property(c, children[i], netName) == title || Property(c, children[i], XCB_ATOM_WM_NAME) == title))
            found = children[i];
    }
    free(tree);
    return found;
}

}  // namespace
#endif

class DesktopStartTest : public QObject {
    Q_OBJECT

private slots:
    void showsItsWindowAndQuitsWhenClosed()
    {
#ifndef ARK_HAVE_XCB
        QSKIP("built without the X client library");
#else
        const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (xvfbRun.isEmpty())
            QSKIP("xvfb-run is not installed (scripts/ensure-deps.sh installs it)");
        const QString xauth = QStandardPaths::findExecutable(QStringLiteral("xauth"));
        if (xauth.isEmpty())
            QSKIP("xauth is not installed (scripts/ensure-deps.sh installs it)");
        QTemporaryDir work;
        const QString auth = work.filePath(QStringLiteral("Xauthority"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.path());
        // Under the leak checker: the session bus library keeps one buffer to
        // the end, outside this program's code.
        QFile suppressions(work.filePath(QStringLiteral("lsan.supp")));
        QVERIFY(suppressions.open(QIODevice::WriteOnly));
        suppressions.write("leak:libdbus-1.so\n");
        suppressions.close();
        env.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=") + suppressions.fileName());
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(QStringLiteral(ARK_SAMPLES_DIR "/px400"));
        program.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-f"), auth,
                                QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24 -nolisten tcp"),
                                QStringLiteral(ARK_GUI_PATH)});
        QVERIFY(program.waitForStarted());

        // The window appears (the X server and the program need a moment).
        qputenv("XAUTHORITY", auth.toLocal8Bit());
        xcb_connection_t* c = nullptr;
        xcb_window_t window = XCB_WINDOW_NONE;
        QDeadlineTimer deadline(30000);
        while (!window && !deadline.hasExpired() && program.state() == QProcess::Running) {
            QTest::qWait(200);
            if (!c) {
                // xvfb-run chose a free display; its cookie in the file names it.
                QProcess list;
                list.start(xauth, {QStringLiteral("-f"), auth, QStringLiteral("list")});
                list.waitForFinished(5000);
                const QString entry = QString::fromLocal8Bit(list.readAllStandardOutput()).section(u' ', 0, 0);
                const QString display = entry.mid(entry.lastIndexOf(u':'));
                if (!display.startsWith(u':'))
                    continue;
                c = xcb_connect(display.toLatin1().constData(), nullptr);
                if (xcb_connection_has_error(c)) {
                    xcb_disconnect(c);
                    c = nullptr;
                    continue;
                }
            }
            window = FindWindow(c, QByteArrayLiteral("PX600 Arkleton"));
        }
        QVERIFY2(window, qPrintable(QString::fromLocal8Bit(program.readAllStandardError())));

        // Closing it as a window manager would.
        xcb_client_message_event_t close{};
        close.response_type = XCB_CLIENT_MESSAGE;
        close.format = 32;
        close.window = window;
        close.type = Atom(c, "WM_PROTOCOLS");
        close.data.data32[0] = Atom(c, "WM_DELETE_WINDOW");
        close.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&close));
        xcb_flush(c);
        QVERIFY(program.waitForFinished(30000));
        xcb_disconnect(c);
        const QByteArray errors = program.readAllStandardError();
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0, errors.constData());

        // The settings were written at the close, the samples folder first.
        QSettings settings(work.filePath(QStringLiteral("Varkel Corp./arkleton.conf")), QSettings::IniFormat);
        QCOMPARE(QDir(settings.value(QStringLiteral("Convert from/Folder1")).toString()).canonicalPath(),
                 QDir(QStringLiteral(ARK_SAMPLES_DIR "/px400")).canonicalPath());
#endif
    }
};

QTEST_GUILESS_MAIN(DesktopStartTest)
#include "test_desktop_start.moc"
