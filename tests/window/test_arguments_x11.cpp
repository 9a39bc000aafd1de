// Starts the real program under a real X server (support/with_x_server.sh):
// only a running program shows what Qt would make of its arguments, and how
// it meets other programs writing its note.
#include "support/test_environment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>

namespace {

QString Run(const QString& program, const QStringList& arguments, int milliseconds = 10000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(milliseconds)) {
        process.kill();
        process.waitForFinished(1000);
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The id of the program's visible window with the given title, once it shows.
// Each look is short: one xdotool stuck on a busy server must not use up the wait.
QString WaitForWindow(const QProcess& program, const QString& title, QString* shown = nullptr)
{
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        const QString ids = Run(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid",
                                                            QString::number(program.processId()), "--class", "."},
                                3000);
        for (const QString& id : ids.split(u'\n', Qt::SkipEmptyParts)) {
            const QString name = Run(QStringLiteral("xdotool"), {"getwindowname", id});
            if (shown)
                *shown = name;
            if (name == title)
                return id;
        }
        QTest::qWait(50);
    }
    return {};
}

QProcessEnvironment EnvironmentIn(const QString& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/state"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // the program's own choice
    return environment;
}

} // namespace

class TestArgumentsX11 : public QObject
{
    Q_OBJECT

private slots:
    void argumentsQtWouldTakeNameTheNote_data();
    void argumentsQtWouldTakeNameTheNote();
    void helpAndVersionAnswerOnTheTerminalAlone_data();
    void helpAndVersionAnswerOnTheTerminalAlone();
    void closeRequestOfTheSystemKeepsTheTypedText_data();
    void closeRequestOfTheSystemKeepsTheTypedText();
    void startedUnderNohupItOutlivesItsTerminal();
    void inAWaylandSessionItKeepsItsPlace();
    void noteReplacedElsewhereShowsItsNewText();
};

void TestArgumentsX11::argumentsQtWouldTakeNameTheNote_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("note");
    QTest::newRow("-reverse would mirror the window") << QStringList{"-reverse"} << "-reverse";
    QTest::newRow("-platform would abort the start") << QStringList{"-platform", "list.scb"} << "-platform list.scb";
    QTest::newRow("-- ends the options") << QStringList{"--", "--help"} << "--help";
    QTest::newRow("--help after a word is a word") << QStringList{"list", "--help"} << "list --help";
}

void TestArgumentsX11::helpAndVersionAnswerOnTheTerminalAlone_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("printed"); // its first line
    QTest::newRow("--help") << QStringList{"--help"} << "Usage: scriblet [--] [NOTE]";
    QTest::newRow("--version, the rest ignored") << QStringList{"--version", "list.scb"} << "Scriblet 2.0";
}

// No display is needed and nothing of the user's is read or made.
void TestArgumentsX11::helpAndVersionAnswerOnTheTerminalAlone()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir home;
    QProcessEnvironment environment = EnvironmentIn(home.path());
    environment.remove(QStringLiteral("DISPLAY"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(SCRIBLET_EXECUTABLE), arguments);
    QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QTEST(QString::fromUtf8(program.readAllStandardOutput()).section(u'\n', 0, 0), "printed");
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

// With the file name in the title bar, the title shows which note was opened.
void TestArgumentsX11::argumentsQtWouldTakeNameTheNote()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, note);
    QTemporaryDir home;
    WriteFileBytes(home.path() + QStringLiteral("/config/scriblet/SCRIBLET.INI"), "[SCRIBLET]\nFileInTitle=1\n");
    WriteFileBytes(home.path() + u'/' + note, "a note\x1a");
    QProcess program;
    program.setProcessEnvironment(EnvironmentIn(home.path()));
    program.setWorkingDirectory(home.path());
    program.start(QStringLiteral(SCRIBLET_EXECUTABLE), arguments);
    QVERIFY(program.waitForStarted());
    // The title bar shows the base title first, the note's name right after.
    QString shown;
    WaitForWindow(program, note, &shown);
    QCOMPARE(program.state(), QProcess::Running);
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(shown, note);
}

void TestArgumentsX11::closeRequestOfTheSystemKeepsTheTypedText_data()
{
    QTest::addColumn<int>("signal"); // 0: its X server ends; -1: likewise, with Qt's warnings switched off
    QTest::addColumn<bool>("stateFolderWritable");
    QTest::newRow("SIGTERM") << int(SIGTERM) << true;
    QTest::newRow("SIGHUP") << int(SIGHUP) << true;
    QTest::newRow("SIGINT (Ctrl+C in its terminal)") << int(SIGINT) << true;
    QTest::newRow("SIGTERM, state folder unwritable: the cache takes the text") << int(SIGTERM) << false;
    QTest::newRow("the X server ends: Qt ends the program") << 0 << true;
    QTest::newRow("the X server ends, warnings switched off") << -1 << true;
}

// Typed text survives the system's close request, and the next start gives it back.
void TestArgumentsX11::closeRequestOfTheSystemKeepsTheTypedText()
{
    QFETCH(int, signal);
    QFETCH(bool, stateFolderWritable);
    const bool warningsOff = std::exchange(signal, std::max(signal, 0)) < 0;
    QTemporaryDir home;
    const QString note = home.path() + QStringLiteral("/list.SCB");
    const QString settings = home.path() + QStringLiteral("/config/scriblet/SCRIBLET.INI");
    WriteFileBytes(settings, "[SCRIBLET]\nFileInTitle=1\n");
    WriteFileBytes(note, "a note\x1a");
    if (!stateFolderWritable) // a file where its folder belongs stops even root
        WriteFileBytes(home.path() + QStringLiteral("/state"), "");
    const QString keptIn = home.path() + (stateFolderWritable ? "/state/scriblet" : "/cache/scriblet");
    {
        // An X server of the test's own, with no window manager, to end under the program.
        const QByteArray ownDisplay = qgetenv("DISPLAY");
        QProcess server;
        if (signal == 0) {
            server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
            QVERIFY(server.waitForReadyRead(10000));
            qputenv("DISPLAY", ':' + server.readLine().trimmed());
        }
        QProcess program;
        QProcessEnvironment environment = EnvironmentIn(home.path());
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), warningsOff ? "*.warning=false" : "");
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(SCRIBLET_EXECUTABLE), {note});
        const QString window = WaitForWindow(program, QStringLiteral("list.SCB"));
        QVERIFY(!window.isEmpty());
        Run(QStringLiteral("xdotool"), {signal == 0 ? "windowfocus" : "windowactivate", "--sync", window});
        Run(QStringLiteral("xdotool"), {"type", "--delay", "20", "typed "});
        QTest::qWait(200);
        qputenv("DISPLAY", ownDisplay);
        ::kill(pid_t(signal == 0 ? server.processId() : program.processId()), signal == 0 ? SIGTERM : signal);
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), signal == 0 ? 1 : 0);
    }
    QVERIFY(ReadFileBytes(settings).contains("FileName=" + note.toUtf8()));
    const QStringList kept = QDir(keptIn).entryList({"session-*.note"}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QVERIFY(ReadFileBytes(keptIn + u'/' + kept[0]).endsWith("\n\ntyped a note"));
    QCOMPARE(QFileInfo(keptIn).permissions() & 0x0077, QFileDevice::Permissions()); // nobody else's
    QCOMPARE(ReadFileBytes(note), QByteArray("a note\x1a"));

    QProcess again;
    again.setProcessEnvironment(EnvironmentIn(home.path()));
    again.start(QStringLiteral(SCRIBLET_EXECUTABLE));
    const QString question = WaitForWindow(again, QStringLiteral("Unsaved Text Found"));
    QVERIFY(!question.isEmpty());
    Run(QStringLiteral("xdotool"), {"windowactivate", "--sync", question});
    Run(QStringLiteral("xdotool"), {"key", "Return"}); // Yes
    const QString window = WaitForWindow(again, QStringLiteral("list.SCB"));
    QVERIFY(!window.isEmpty());
    Run(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
    Run(QStringLiteral("xdotool"), {"key", "ctrl+s"});
    QTRY_COMPARE_WITH_TIMEOUT(ReadFileBytes(note), QByteArray("typed a note\x1a"), 5000);
    again.terminate();
    QVERIFY(again.waitForFinished(5000));
    QCOMPARE(QDir(keptIn).entryList({"*.note"}, QDir::Files), QStringList());
}

// nohup makes it ignore SIGHUP: the hang-up of its terminal must not close the note.
void TestArgumentsX11::startedUnderNohupItOutlivesItsTerminal()
{
    QTemporaryDir home;
    QProcess program;
    program.setProcessEnvironment(EnvironmentIn(home.path()));
    program.start(QStringLiteral("nohup"), {QStringLiteral(SCRIBLET_EXECUTABLE)});
    QVERIFY(!WaitForWindow(program, QStringLiteral("Scriblet32 v2.0")).isEmpty());
    ::kill(pid_t(program.processId()), SIGHUP);
    QTest::qWait(1000);
    QCOMPARE(program.state(), QProcess::Running);
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
}

// Under mutter with Xwayland and Qt's Wayland plugin: by its own choice an
// X11 window, which comes back in place; natively on Wayland, where no real
// position is known, the stored one stays.
void TestArgumentsX11::inAWaylandSessionItKeepsItsPlace()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        QSKIP("needs a Wayland session (with_x_server.sh under mutter)");
    QTemporaryDir home;
    const QString settings = home.path() + QStringLiteral("/config/scriblet/SCRIBLET.INI");
    for (const QString& platform : {QString(), QStringLiteral("wayland")}) {
        WriteFileBytes(settings, "[SCRIBLET]\nLeft=3000\nTop=2250\n");
        QProcess program;
        QProcessEnvironment environment = EnvironmentIn(home.path());
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(SCRIBLET_EXECUTABLE));
        if (platform.isEmpty())
            QVERIFY(!WaitForWindow(program, QStringLiteral("Scriblet32 v2.0")).isEmpty());
        else
            QTest::qWait(2000);
        QCOMPARE(program.state(), QProcess::Running);
        program.terminate();
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitCode(), 0);
        const QByteArray stored = ReadFileBytes(settings);
        // Written at the exit, which also writes the size.
        QVERIFY2(stored.contains("Left= 3000") && stored.contains("Top= 2250") && stored.contains("Height="),
                 stored.simplified().constData());
    }
}

// An unedited note replaced outside, as a sync client does, shows the new text
// in the running program, and an edit of it is saved without a question.
void TestArgumentsX11::noteReplacedElsewhereShowsItsNewText()
{
    QTemporaryDir home;
    const QString note = home.path() + QStringLiteral("/list.SCB");
    WriteFileBytes(note, "a note\x1a");
    QProcess program;
    program.setProcessEnvironment(EnvironmentIn(home.path()));
    program.start(QStringLiteral(SCRIBLET_EXECUTABLE), {note});
    const QString window = WaitForWindow(program, QStringLiteral("Scriblet32 v2.0"));
    QVERIFY(!window.isEmpty());
    WriteFileBytes(note + ".part", "from the phone\x1a");
    QCOMPARE(std::rename(qPrintable(note + ".part"), qPrintable(note)), 0);
    QTest::qWait(600);
    Run(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
    Run(QStringLiteral("xdotool"), {"key", "--delay", "20", "ctrl+End", "exclam", "ctrl+s"});
    QTRY_COMPARE_WITH_TIMEOUT(ReadFileBytes(note), QByteArray("from the phone!\x1a"), 5000);
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestArgumentsX11)
#include "test_arguments_x11.moc"
