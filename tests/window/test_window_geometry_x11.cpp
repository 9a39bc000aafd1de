// Runs under a real X server with openbox (support/with_x_server.sh): the
// window manager frames, places and reports the window as on a desktop.
#include "platform/editor_control.h"
#include "support/modal_answer.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"
#include "support/window_manager_wait.h"
#include "window/app_state.h"
#include "window/form5.h"
#include "window/startup.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>

// After Qt's headers: X11's macros (None, Status, Bool) clash with Qt's names.
#include <X11/Xlib.h>

namespace {

struct Run
{
    Run()
        : window(RunStartup(state, platform, {}))
    {
    }

    void exit()
    {
        window->action(CommandId::FileExit)->trigger();
        QCOMPARE(platform.count(QStringLiteral("exitProcess")), 1);
    }

    AppState state;
    ScriptedPlatform platform;
    std::unique_ptr<Form5> window;
};

QString GeometryKeys(const QByteArray& settings)
{
    QStringList keys;
    static const QRegularExpression line(QStringLiteral("^(Left|Top|Width|Height)=.*$"),
                                         QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : line.globalMatch(QString::fromUtf8(settings)))
        keys.append(match.captured(0));
    return keys.join(u' ');
}

Display* X11Display() { return qApp->nativeInterface<QNativeInterface::QX11Application>()->display(); }

QString XProperty(WId window, const char* name) { return ::XProperty({QStringLiteral("-id"), QString::number(window)}, name); }

// Asks the window manager what its buttons on the window ask: "_NET_CLOSE_WINDOW", or
// "WM_CHANGE_STATE" with 3 (minimize).
void AskWindowManager(WId window, const char* request, long data = 0)
{
    Display* display = X11Display();
    XEvent event{};
    event.xclient = {ClientMessage, 0, True, display, window, XInternAtom(display, request, False), 32, {}};
    event.xclient.data.l[0] = data;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

} // namespace

class TestWindowGeometryX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void geometryStaysPutOverTenRuns_data();
    void geometryStaysPutOverTenRuns();
    void aMovedAndResizedWindowComesBackThere();
    void theStopwatchWindowLeavesTheKeyboardToTheNote();
    void theAboutBoxAndFindOfferOnlyClose_data();
    void theAboutBoxAndFindOfferOnlyClose();
    void ownWindowsStayAboveWhenOnTop();
    void itHasTheUsualTitleBarButtons();
};

void TestWindowGeometryX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void TestWindowGeometryX11::geometryStaysPutOverTenRuns_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QRect>("frame");
    QTest::newRow("defaults: the minimum size") << QByteArray()
        << "Left= 500 Top= 500 Width= 6510 Height= 2040" << QRect(33, 33, 434, 136);
    QTest::newRow("larger") << QByteArray("[SCRIBLET]\nLeft=1500\nTop=1200\nWidth=9000\nHeight=4500\n")
        << "Left= 1500 Top= 1200 Width= 9000 Height= 4500" << QRect(100, 80, 600, 300);
    QTest::newRow("twips between pixels") << QByteArray("[SCRIBLET]\nLeft=1234\nTop=987\nWidth=7777\nHeight=3333\n")
        << "Left= 1234 Top= 987 Width= 7777 Height= 3333" << QRect(82, 66, 518, 222);
    QTest::newRow("no bar, its minimum height")
        << QByteArray("[SCRIBLET]\nButtonBar=0\nLeft=3000\nTop=3000\nWidth=6510\nHeight=1680\n")
        << "Left= 3000 Top= 3000 Width= 6510 Height= 1680" << QRect(200, 200, 434, 112);
}

// Ten starts and exits, some while the window manager is still framing the
// window, leave the stored geometry exactly as it was.
void TestWindowGeometryX11::geometryStaysPutOverTenRuns()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, stored);
    QFETCH(QRect, frame);
    ScopedUserDirectories dirs;
    if (!settings.isEmpty())
        WriteFileBytes(dirs.settingsPath(), settings);
    const QList<int> waits{0, 300, 10, 50, 0, 1000, 150, 5, 500, 0};
    for (int cycle = 0; cycle < waits.size(); ++cycle) {
        Run run;
        QVERIFY(QTest::qWaitForWindowExposed(run.window.get()));
        if (cycle == 1)
            QTRY_COMPARE(run.window->frameGeometry(), frame);
        QTest::qWait(waits[cycle]);
        run.exit();
        QCOMPARE(GeometryKeys(ReadFileBytes(dirs.settingsPath())), stored);
    }
}

void TestWindowGeometryX11::aMovedAndResizedWindowComesBackThere()
{
    ScopedUserDirectories dirs;
    const QRect chosen(250, 180, 600, 320);
    {
        Run run;
        QVERIFY(QTest::qWaitForWindowExposed(run.window.get()));
        QTRY_COMPARE(run.window->frameGeometry(), QRect(33, 33, 434, 136));
        run.window->move(chosen.topLeft());
        run.window->resize(chosen.size() - (run.window->frameGeometry().size() - run.window->size()));
        QTRY_COMPARE(run.window->frameGeometry(), chosen);
        // Always On Top changes the window manager's state of the same window; it never moves.
        const WId id = run.window->winId();
        for (int cycle = 0; cycle < 8; ++cycle) {
            run.window->action(CommandId::AlwaysOnTop)->trigger();
            QTRY_COMPARE(XProperty(id, "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_ABOVE")), cycle % 2 == 0);
            QTest::qWait(cycle < 2 ? 1000 : 200);
            QCOMPARE(run.window->winId(), id);
            QCOMPARE(run.window->frameGeometry(), chosen);
        }
        run.exit();
    }
    QCOMPARE(GeometryKeys(ReadFileBytes(dirs.settingsPath())), QStringLiteral("Left= 3750 Top= 2700 Width= 9000 Height= 4800"));
    Run again;
    QTRY_COMPARE(again.window->frameGeometry(), chosen);
}

void TestWindowGeometryX11::theStopwatchWindowLeavesTheKeyboardToTheNote()
{
    ScopedUserDirectories dirs;
    Run run;
    run.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(run.window.get()));
    run.window->action(CommandId::ElapsedTimeMenu)->trigger();
    auto* stopwatch = run.window->findChild<QWidget*>(QStringLiteral("Form12"));
    QVERIFY(stopwatch);
    QVERIFY(QTest::qWaitForWindowExposed(stopwatch));
    QTest::qWait(300);
    QVERIFY(run.window->isActiveWindow());
    QVERIFY(XProperty(stopwatch->winId(), "WM_TRANSIENT_FOR").endsWith(QStringLiteral("# 0x%1").arg(run.window->winId(), 0, 16)));
    // The close button the window manager draws stops it quietly.
    const QString note = run.window->findChild<EditorControl*>()->text();
    AskWindowManager(stopwatch->winId(), "_NET_CLOSE_WINDOW");
    QTRY_VERIFY(!run.window->findChild<QWidget*>(QStringLiteral("Form12")));
    QCOMPARE(run.state.timer.ElapsedRunning, 0);
    QCOMPARE(run.window->findChild<EditorControl*>()->text(), note);
    run.exit();
}

void TestWindowGeometryX11::theAboutBoxAndFindOfferOnlyClose_data()
{
    QTest::addColumn<CommandId>("command");
    QTest::newRow("About") << CommandId::AboutScriblet;
    QTest::newRow("Find") << CommandId::EditFind;
}

// Minimized, they come back at once, with the main window; the close button the
// window manager draws closes them as OK and Cancel do.
void TestWindowGeometryX11::theAboutBoxAndFindOfferOnlyClose()
{
    QFETCH(CommandId, command);
    ScopedUserDirectories dirs;
    Run run;
    QVERIFY(QTest::qWaitForWindowExposed(run.window.get()));
    run.state.find.PreviousFindText = QStringLiteral("nowhere in the note"); // Find's OK would say so
    QString actions;
    const WId main = run.window->winId();
    WhenModalShown<QDialog>([&actions, main](QDialog& dialog) {
        QTRY_VERIFY((actions = XProperty(dialog.winId(), "_NET_WM_ALLOWED_ACTIONS")).contains(QStringLiteral("CLOSE")));
        QTest::qWait(300); // a window the window manager is still taking on is not minimized
        AskWindowManager(dialog.winId(), "WM_CHANGE_STATE", 3);
        QTest::qWait(500);
        for (WId window : {dialog.winId(), main})
            QTRY_VERIFY(!XProperty(window, "_NET_WM_STATE").contains(QStringLiteral("HIDDEN")));
        AskWindowManager(dialog.winId(), "_NET_CLOSE_WINDOW");
    });
    run.window->action(command)->trigger();
    QVERIFY(!actions.contains(QStringLiteral("MAXIMIZE")));
    // openbox and KWin offer minimize on dialogs, whatever the hints ask.
    if (!QByteArrayList{"openbox", "kwin"}.contains(qgetenv("SCRIBLET_WINDOW_MANAGER")))
        QVERIFY2(!actions.contains(QStringLiteral("MINIMIZE")), qPrintable(actions));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(run.platform.count(QStringLiteral("showMessage")), 0);
    run.exit();
}

// The option dialogs, open when the main window goes on top, and the Elapsed Time window, opened after.
void TestWindowGeometryX11::ownWindowsStayAboveWhenOnTop()
{
    ScopedUserDirectories dirs;
    Run run;
    QVERIFY(QTest::qWaitForWindowExposed(run.window.get()));
    for (CommandId command : {CommandId::OptionsGlossary, CommandId::OptionsAutoSave, CommandId::TimeBeep,
                              CommandId::OptionsQuickFiles, CommandId::AlwaysOnTop, CommandId::ElapsedTimeMenu}) {
        QTest::qWait(300);
        run.window->action(command)->trigger();
    }
    const auto belowTheMainWindow = [&run] {
        const QString stacking = XProperty(WId(DefaultRootWindow(X11Display())), "_NET_CLIENT_LIST_STACKING") + u',';
        const auto place = [&stacking](const QWidget* window) { return stacking.indexOf(QStringLiteral("0x%1,").arg(window->winId(), 0, 16)); };
        QStringList below;
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && place(window) <= place(run.window.get()))
                below.append(window->windowTitle());
        }
        return below;
    };
    QTRY_VERIFY(XProperty(run.window->winId(), "_NET_WM_STATE").contains(QStringLiteral("_NET_WM_STATE_ABOVE")));
    QTRY_COMPARE(belowTheMainWindow(), QStringList{run.window->windowTitle()});
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(), [](const QWidget* window) { return window->isVisible(); }), 6);
    run.exit();
}

// mutter took "no system menu" to the letter (and sets allowed actions late); a window maximized at exit comes back normal.
void TestWindowGeometryX11::itHasTheUsualTitleBarButtons()
{
    ScopedUserDirectories dirs;
    const QRect normal(33, 33, 434, 136);
    {
        Run run;
        QTRY_COMPARE(run.window->frameGeometry(), normal);
        for (const char* action : {"CLOSE", "MINIMIZE", "MAXIMIZE"})
            QTRY_VERIFY(XProperty(run.window->winId(), "_NET_WM_ALLOWED_ACTIONS").contains(QLatin1String("_NET_WM_ACTION_") + action));
        // mutter may drop a request that comes while it is still taking the window on: asked until it shows.
        QVERIFY(QTest::qWaitFor([&] {
            QProcess::execute("wmctrl", {"-i", "-r", QString::number(run.window->winId()), "-b", "add,maximized_vert,maximized_horz"});
            return QTest::qWaitFor([&] { return run.window->isMaximized(); }, 500);
        }));
        run.window->editor().replaceSelection(QStringLiteral("unsaved"));
        run.platform.messageAnswers = {MessageAnswer::No};
        AskWindowManager(run.window->winId(), "_NET_CLOSE_WINDOW");
        QTRY_COMPARE(run.platform.count(QStringLiteral("exitProcess")), 1);
        QCOMPARE(run.platform.messages.value(0).title, QStringLiteral("File Has Changed"));
    }
    QCOMPARE(GeometryKeys(ReadFileBytes(dirs.settingsPath())), QStringLiteral("Left= 500 Top= 500 Width= 6510 Height= 2040"));
    Run again;
    QTRY_COMPARE(again.window->frameGeometry(), normal);
}

QTEST_MAIN(TestWindowGeometryX11)
#include "test_window_geometry_x11.moc"
