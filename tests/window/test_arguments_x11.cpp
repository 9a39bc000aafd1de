// Starts the real program under a real X server (support/with_x_server.sh):
// only a running program shows what Qt would make of its arguments.
#include "support/test_environment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestArgumentsX11 : public QObject
{
    Q_OBJECT

private slots:
    void argumentsQtWouldTakeNameTheNote_data();
    void argumentsQtWouldTakeNameTheNote();
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
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home.path());
    program.start(QStringLiteral(SCRIBLET_EXECUTABLE), arguments);
    QVERIFY(program.waitForStarted());
    // The title bar shows the base title first, the note's name right after.
    QString shown;
    QDeadlineTimer deadline(15000);
    while (shown != note && !deadline.hasExpired()) {
        QProcess title;
        title.start(QStringLiteral("xdotool"), {"search", "--sync", "--onlyvisible", "--pid",
                                                QString::number(program.processId()), "--class", ".", "getwindowname"});
        if (!title.waitForFinished(int(std::max<qint64>(deadline.remainingTime(), 1))))
            title.kill();
        shown = QString::fromUtf8(title.readAllStandardOutput()).trimmed();
    }
    QCOMPARE(program.state(), QProcess::Running);
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(shown, note);
}

QTEST_GUILESS_MAIN(TestArgumentsX11)
#include "test_arguments_x11.moc"
