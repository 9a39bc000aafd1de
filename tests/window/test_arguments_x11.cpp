// Starts the real program under a real X server (support/with_x_server.sh):
// only a running program shows what Qt would make of its arguments.
#include "support/test_environment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

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
        QTest::qWait(100);
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
    return environment;
}

// Starts the program on the note, types into it and ends it with the signal.
void TypeThenSignal(const QProcessEnvironment& environment, const QString& note, const QString& typed, int signal)
{
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(SCRIBLET_EXECUTABLE), {note});
    const QString window = WaitForWindow(program, QFileInfo(note).fileName());
    QVERIFY2(!window.isEmpty(), "the note's window never showed");
    Run(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
    Run(QStringLiteral("xdotool"), {"type", "--delay", "20", typed});
    QTest::qWait(200);
    ::kill(pid_t(program.processId()), signal);
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

// Starts the program, takes the unsaved text it offers, saves it and ends.
void RestoreAndSave(const QProcessEnvironment& environment, const QString& note)
{
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(SCRIBLET_EXECUTABLE));
    const QString question = WaitForWindow(program, QStringLiteral("Unsaved Text Found"));
    QVERIFY2(!question.isEmpty(), "the unsaved text was not offered");
    Run(QStringLiteral("xdotool"), {"windowactivate", "--sync", question});
    Run(QStringLiteral("xdotool"), {"key", "Return"}); // Yes
    const QString window = WaitForWindow(program, QFileInfo(note).fileName());
    QVERIFY2(!window.isEmpty(), "the note's window never showed");
    Run(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
    const QByteArray before = ReadFileBytes(note);
    Run(QStringLiteral("xdotool"), {"key", "ctrl+s"});
    QTRY_VERIFY_WITH_TIMEOUT(ReadFileBytes(note) != before, 5000);
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
}

} // namespace

class TestArgumentsX11 : public QObject
{
    Q_OBJECT

private slots:
    void argumentsQtWouldTakeNameTheNote_data();
    void argumentsQtWouldTakeNameTheNote();
    void closeRequestOfTheSystemKeepsTheTypedText_data();
    void closeRequestOfTheSystemKeepsTheTypedText();
    void startedUnderNohupItOutlivesItsTerminal();
};

void TestArgumentsX11::argumentsQtWouldTakeNameTheNote_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("note");
    QTest::newRow("-reverse would mirror the window") << QStringList{"-reverse"} << "-reverse";
    QTest::newRow("-platform would abort the start") << QStringList{"-platform", "list.scb"} << "-platform list.scb";
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
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("stateFolderWritable");
    QTest::newRow("SIGTERM") << int(SIGTERM) << true;
    QTest::newRow("SIGHUP") << int(SIGHUP) << true;
    QTest::newRow("SIGINT (Ctrl+C in its terminal)") << int(SIGINT) << true;
    // Its path leads through a regular file, which stops root too: the cache folder takes the text.
    QTest::newRow("SIGTERM, state folder unwritable") << int(SIGTERM) << false;
}

// Typed text survives the system's close request, and the next start gives it back.
void TestArgumentsX11::closeRequestOfTheSystemKeepsTheTypedText()
{
    QFETCH(int, signal);
    QFETCH(bool, stateFolderWritable);
    QTemporaryDir home;
    const QString note = home.path() + QStringLiteral("/list.SCB");
    const QString settings = home.path() + QStringLiteral("/config/scriblet/SCRIBLET.INI");
    WriteFileBytes(settings, "[SCRIBLET]\nFileInTitle=1\n");
    WriteFileBytes(note, "a note\x1a");
    QProcessEnvironment environment = EnvironmentIn(home.path());
    QString kept = home.path() + QStringLiteral("/state/scriblet");
    if (!stateFolderWritable) {
        WriteFileBytes(home.path() + QStringLiteral("/blocked"), "a file where a folder belongs");
        environment.insert(QStringLiteral("XDG_STATE_HOME"), home.path() + QStringLiteral("/blocked/state"));
        kept = home.path() + QStringLiteral("/cache/scriblet");
    }

    TypeThenSignal(environment, note, QStringLiteral("typed "), signal);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(ReadFileBytes(settings).contains("FileName=" + note.toUtf8()));
    const QStringList files = QDir(kept).entryList({"session-*.note"}, QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY(ReadFileBytes(kept + u'/' + files[0]).endsWith("\n\ntyped a note"));
    QCOMPARE(QFileInfo(kept).permissions() & 0x0077, QFileDevice::Permissions()); // nobody else's
    QCOMPARE(ReadFileBytes(note), QByteArray("a note\x1a"));

    RestoreAndSave(environment, note);
    QCOMPARE(ReadFileBytes(note), QByteArray("typed a note\x1a"));
    for (const char* folder : {"/state/scriblet", "/cache/scriblet", "/runtime/scriblet"})
        QCOMPARE(QDir(home.path() + QLatin1String(folder)).entryList({"*.note"}, QDir::Files), QStringList());
}

// nohup ignores SIGHUP for the program it starts: the hang-up of the terminal
// must not close the note.
void TestArgumentsX11::startedUnderNohupItOutlivesItsTerminal()
{
    QTemporaryDir home;
    const QString note = home.path() + QStringLiteral("/list.SCB");
    WriteFileBytes(home.path() + QStringLiteral("/config/scriblet/SCRIBLET.INI"), "[SCRIBLET]\nFileInTitle=1\n");
    WriteFileBytes(note, "a note\x1a");
    QProcess program;
    program.setProcessEnvironment(EnvironmentIn(home.path()));
    program.setWorkingDirectory(home.path());
    program.start(QStringLiteral("nohup"), {QStringLiteral(SCRIBLET_EXECUTABLE), note});
    QVERIFY(!WaitForWindow(program, QStringLiteral("list.SCB")).isEmpty());
    ::kill(pid_t(program.processId()), SIGHUP);
    QTest::qWait(1000);
    QCOMPARE(program.state(), QProcess::Running);
    QVERIFY(!WaitForWindow(program, QStringLiteral("list.SCB")).isEmpty());
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestArgumentsX11)
#include "test_arguments_x11.moc"
