// Runs under a real X server with openbox (support/with_x_server.sh): the
// accessories find, activate and type into real windows of other programs.
// Started with the stand-in option, this program is a stand-in phone dialer.
#include "platform/editor_control.h"
#include "platform/qt_platform.h"
#include "subsystems/tools/accessories.h"
#include "support/test_environment.h"
#include "support/window_manager_wait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The real platform, but a message box only noted: nobody would answer it.
class QuietQtPlatform : public QtPlatform
{
public:
    MessageAnswer showMessage(const MessageBoxRequest& request) override
    {
        messages.append(request.text);
        return MessageAnswer::Ok;
    }
    QStringList messages;
};

constexpr char StandInOption[] = "--stand-in-dialer";

QString ActiveWindowTitle(QtPlatform& platform)
{
    const QString reply = XProperty({QStringLiteral("-root")}, "_NET_ACTIVE_WINDOW");
    const quint64 id = reply.section(u'#', 1).section(u',', 0, 0).trimmed().toULongLong(nullptr, 16); // xfwm4 adds ", 0x0"
    for (const DesktopWindow& window : platform.desktopWindows()) {
        if (window.id == id)
            return window.title;
    }
    return QString();
}

} // namespace

class TestAccessoriesX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void aRunningCalculatorIsActivatedNotStarted();
    void gnomeCalculatorInAWaylandSessionIsStartedOnce();
    void theDialerTypesTheSelectionIntoTheActiveWindow_data();
    void theDialerTypesTheSelectionIntoTheActiveWindow();
    void theDesktopsTelHandlerGetsTheSelection();
};

void TestAccessoriesX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    // No real calculator or dialer may be started from here.
    qputenv("PATH", "/nonexistent");
}

// Another program's window titled "Calculator Test", maximized, stands in for
// the calculator: each press of the shortcut activates it and shows it normal,
// also where the window manager grants that only for the time of the user's key (mutter).
void TestAccessoriesX11::aRunningCalculatorIsActivatedNotStarted()
{
    QuietQtPlatform platform;
    QProcess standIn;
    standIn.start(QStringLiteral("/usr/bin/xmessage"), {QStringLiteral("-title"), QStringLiteral("Calculator Test"),
                                                        QStringLiteral("stand-in")});
    QVERIFY(standIn.waitForStarted());
    const auto standInWindow = [&platform] {
        for (const DesktopWindow& window : platform.desktopWindows()) {
            if (window.title == QStringLiteral("Calculator Test"))
                return window.id;
        }
        return quint64(0);
    };
    QTRY_VERIFY_WITH_TIMEOUT(standInWindow() != 0, 10000);
    // Read on the client's own window (mutter 48's frames carry its title too), and
    // asked again until it holds (mutter 48 may leave a request right after the map unanswered).
    const QString id = QString::number(standInWindow());
    const auto maximized = [&id] {
        return XProperty({QStringLiteral("-id"), id}, "_NET_WM_STATE").contains(QStringLiteral("MAXIMIZED_VERT"));
    };
    QWidget mine; // ours: never taken for the calculator
    mine.setWindowTitle(QStringLiteral("Calculator.SCB"));
    QShortcut key(QKeySequence(QStringLiteral("Ctrl+U")), &mine);
    connect(&key, &QShortcut::activated, [&platform] { RunCalculator(platform); });
    mine.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mine));
    for (int press = 1; press <= 6; ++press) {
        QTRY_VERIFY((QProcess::execute(QStringLiteral("/usr/bin/wmctrl"), {"-i", "-r", id, "-b", "add,maximized_vert,maximized_horz"}),
                     maximized()));
        // Back to our window as a task bar would, with the time of the user's last key.
        platform.activateWindow(mine.winId());
        QTRY_COMPARE(ActiveWindowTitle(platform), QStringLiteral("Calculator.SCB"));
        QProcess::execute(QStringLiteral("/usr/bin/xdotool"), {"key", "ctrl+u"});
        QTRY_COMPARE(ActiveWindowTitle(platform), QStringLiteral("Calculator Test"));
        QTRY_VERIFY2(!maximized(), qPrintable(QStringLiteral("press %1").arg(press)));
    }
    QVERIFY(platform.messages.isEmpty());
    standIn.kill();
    standIn.waitForFinished();
}

// gnome-calculator would run natively on Wayland, out of sight of the search,
// and start anew at every press, unless started as an X11 client.
void TestAccessoriesX11::gnomeCalculatorInAWaylandSessionIsStartedOnce()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !QFile::exists(QStringLiteral("/usr/bin/gnome-calculator")))
        QSKIP("needs a Wayland session (with_x_server.sh under mutter) and gnome-calculator");
    qputenv("PATH", "/usr/bin");
    const auto restore = qScopeGuard([] { qputenv("PATH", "/nonexistent"); });
    QuietQtPlatform platform;
    QWidget mine;
    mine.show();
    for (int press = 0; press < 2; ++press) {
        mine.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&mine));
        RunCalculator(platform);
        QTRY_COMPARE_WITH_TIMEOUT(ActiveWindowTitle(platform), QStringLiteral("Calculator"), 15000);
    }
    QVERIFY(platform.messages.isEmpty());
    QProcess pidof;
    pidof.start(QStringLiteral("/usr/bin/pidof"), {QStringLiteral("gnome-calculator")});
    QVERIFY(pidof.waitForFinished());
    const QStringList started = QString::fromLatin1(pidof.readAllStandardOutput().trimmed()).split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(started.size(), 1);
    QProcess::execute(QStringLiteral("/usr/bin/kill"), {started[0]});
}

void TestAccessoriesX11::theDialerTypesTheSelectionIntoTheActiveWindow_data()
{
    QTest::addColumn<QString>("title"); // of the stand-in "linphone" on PATH; none: no dialer
    QTest::addColumn<int>("delay");     // seconds; a late one comes through a shell of its own: another process
    QTest::addColumn<bool>("impostor"); // another program's window titled like the dialer is there
    QTest::newRow("no dialer: the message only") << QString() << 0 << false;
    QTest::newRow("by its process, at once") << "Stand-in" << 0 << false;
    QTest::newRow("a shell titled like the dialer gets nothing") << "Stand-in" << 0 << true;
    // Last: a stand-in the search takes stays up after its row.
    QTest::newRow("by its title and class, 3 s after the start") << "Linphone Stand-in" << 3 << false;
}

// "AD" clicked has the keyboard: the dialer's window gets the selection, and the button no blank to press it again.
void TestAccessoriesX11::theDialerTypesTheSelectionIntoTheActiveWindow()
{
    QFETCH(QString, title);
    QFETCH(int, delay);
    QFETCH(bool, impostor);
    QTemporaryDir folder;
    const QString typed = folder.filePath(QStringLiteral("typed"));
    const QString script = folder.filePath(QStringLiteral("linphone"));
    WriteFileBytes(script, QStringLiteral("#!/bin/sh\nexport RESOURCE_NAME=linphone\nsleep %1\n%2'%3' %4 '%5' '%6'\n")
                               .arg(QString::number(delay), delay ? QString() : QStringLiteral("exec "),
                                    QCoreApplication::applicationFilePath(), QString::fromLatin1(StandInOption), title, typed)
                               .toUtf8());
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
    qputenv("PATH", title.isEmpty() ? QByteArray("/nonexistent") : QFile::encodeName(folder.path()));
    QuietQtPlatform platform;
    QProcess shell; // a terminal as far as the search can tell: another program's class
    const QString shellTyped = folder.filePath(QStringLiteral("shell"));
    if (impostor) {
        shell.start(QCoreApplication::applicationFilePath(), {StandInOption, QStringLiteral("Calls - shell"), shellTyped});
        QTRY_COMPARE_WITH_TIMEOUT(ActiveWindowTitle(platform), QStringLiteral("Calls - shell"), 10000);
    }
    EditorControl editor;
    const QString number = QStringLiteral("+1 (555) 0123 ^%~{x}[y] é");
    editor.setText(QStringLiteral("call ") + number);
    editor.setSelectionStart(5);
    editor.setSelectionLength(int(number.size()));
    QPushButton button(QStringLiteral("AD"));
    connect(&button, &QPushButton::clicked, [&] { RunPhoneDialer(platform, editor); });
    button.show();
    QVERIFY(QTest::qWaitForWindowActive(&button));
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE_LT(timer.elapsed(), title.isEmpty() ? 1000 : 11000); // the wait for a started dialer ends at 10 s
    const QString expected = title.isEmpty() ? QString() : number;
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(ReadFileBytes(typed)), expected, 10000);
    QTest::qWait(1500); // keys typed into the button would have pressed it again by now
    QCOMPARE(QString::fromUtf8(ReadFileBytes(typed)), expected);
    QCOMPARE(platform.messages, title.isEmpty() ? QStringList{PhoneDialerAccessory().missingMessage} : QStringList{});
    QCOMPARE(editor.text(), QStringLiteral("call ") + number);
    QCOMPARE(ReadFileBytes(shellTyped), QByteArray());
    shell.kill();
    shell.waitForFinished();
}

// A handler of the test's own, the default for tel: links in its mimeapps.list.
void TestAccessoriesX11::theDesktopsTelHandlerGetsTheSelection()
{
    QTemporaryDir folder;
    const QString received = folder.filePath(QStringLiteral("received"));
    const QString handler = folder.filePath(QStringLiteral("dial"));
    WriteFileBytes(handler, QStringLiteral("#!/bin/sh\nprintf %s \"$1\" > '%1'\n").arg(received).toUtf8());
    QVERIFY(QFile::setPermissions(handler, QFile::ReadOwner | QFile::ExeOwner));
    WriteFileBytes(folder.filePath(QStringLiteral("data/applications/test-dialer.desktop")),
                   "[Desktop Entry]\nType=Application\nName=Test Dialer\nExec=" + handler.toUtf8()
                       + " %u\nMimeType=x-scheme-handler/tel;\n");
    WriteFileBytes(folder.filePath(QStringLiteral("config/mimeapps.list")),
                   "[Default Applications]\nx-scheme-handler/tel=test-dialer.desktop\n");
    // Last of the tests: what it sets stays.
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
    qputenv("PATH", "/usr/bin:/bin");
    QuietQtPlatform platform;
    EditorControl editor;
    editor.setText(QStringLiteral("call +1 555 123 4567"));
    editor.setSelectionStart(5);
    editor.setSelectionLength(15);
    RunPhoneDialer(platform, editor);
    QTRY_COMPARE_WITH_TIMEOUT(ReadFileBytes(received), QByteArray("tel:+1%20555%20123%204567"), 10000);
    QVERIFY(platform.messages.isEmpty());
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestAccessoriesX11 test;
    if (argc != 4 || qstrcmp(argv[1], StandInOption) != 0)
        return QTest::qExec(&test, argc, argv);
    // The stand-in dialer: a line edit that keeps its text in a file, for long enough.
    QLineEdit edit;
    edit.setWindowTitle(QString::fromLocal8Bit(argv[2]));
    const QString output = QString::fromLocal8Bit(argv[3]);
    QObject::connect(&edit, &QLineEdit::textChanged, [&output](const QString& text) { WriteFileBytes(output, text.toUtf8()); });
    edit.show();
    QTimer::singleShot(15000, &app, &QCoreApplication::quit);
    return QApplication::exec();
}

#include "test_accessories_x11.moc"
