// Runs under a real X server with openbox (support/with_x_server.sh): the
// accessories find, activate and type into real windows of other programs.
// Started with the stand-in option, this program is a stand-in phone dialer.
#include "platform/editor_control.h"
#include "platform/qt_platform.h"
#include "subsystems/tools/accessories.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <csignal>

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

// The first window of that title, as the desktop lists it; all zero when there is none.
DesktopWindow Listed(Platform& platform, const QString& title)
{
    for (const DesktopWindow& window : platform.desktopWindows()) {
        if (window.title == title)
            return window;
    }
    return {};
}

// The stand-in dialer: a line edit whose text it keeps in a file.
int RunStandInDialer(const QString& title, const QString& output)
{
    QLineEdit edit;
    edit.setWindowTitle(title);
    QObject::connect(&edit, &QLineEdit::textChanged, [&output](const QString& text) { WriteFileBytes(output, text.toUtf8()); });
    edit.resize(400, 40);
    edit.show();
    QTimer::singleShot(60000, qApp, &QCoreApplication::quit); // never outlives the test
    return QApplication::exec();
}

QString ActiveWindowTitle(QtPlatform& platform)
{
    QProcess xprop;
    xprop.start(QStringLiteral("/usr/bin/xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")});
    xprop.waitForFinished(5000);
    const QString reply = QString::fromLatin1(xprop.readAllStandardOutput());
    const quint64 id = reply.section(u'#', 1).trimmed().toULongLong(nullptr, 16);
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
    void theDialerGetsTheSelection_data();
    void theDialerGetsTheSelection();
};

void TestAccessoriesX11::initTestCase()
{
    QCOMPARE(QApplication::platformName(), QStringLiteral("xcb"));
    // No real calculator or dialer may be started from here.
    qputenv("PATH", "/nonexistent");
}

// Another program's window titled "Calculator Test" stands in for the calculator.
void TestAccessoriesX11::aRunningCalculatorIsActivatedNotStarted()
{
    QuietQtPlatform platform;
    QProcess standIn;
    standIn.start(QStringLiteral("/usr/bin/xmessage"), {QStringLiteral("-title"), QStringLiteral("Calculator Test"),
                                                        QStringLiteral("stand-in")});
    QVERIFY(standIn.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(Listed(platform, QStringLiteral("Calculator Test")).id != 0, 10000);
    QWidget mine;
    mine.setWindowTitle(QStringLiteral("Calculator.SCB")); // ours: never taken
    mine.show();
    QVERIFY(QTest::qWaitForWindowActive(&mine));
    RunCalculator(platform);
    QVERIFY(platform.messages.isEmpty());
    QTRY_COMPARE(ActiveWindowTitle(platform), QStringLiteral("Calculator Test"));
    standIn.kill();
    standIn.waitForFinished();
}

void TestAccessoriesX11::theDialerGetsTheSelection_data()
{
    QTest::addColumn<QString>("title"); // of the stand-in "linphone" on PATH; none: no dialer
    QTest::addColumn<int>("delay");     // seconds; a late one comes through a shell of its own: another process
    QTest::newRow("no dialer: the message only") << QString() << 0;
    QTest::newRow("by its process, at once") << "Stand-in" << 0;
    QTest::newRow("by its title, 3 s after the start") << "Linphone Stand-in" << 3;
}

// "AD" is clicked, so the button has the keyboard: the selection arrives in
// the dialer's window, every character as typed, and nowhere else; least of
// all a blank that would press the button again.
void TestAccessoriesX11::theDialerGetsTheSelection()
{
    QFETCH(QString, title);
    QFETCH(int, delay);
    QTemporaryDir folder;
    const QString typed = folder.filePath(QStringLiteral("typed"));
    const QString script = folder.filePath(QStringLiteral("linphone"));
    WriteFileBytes(script, QStringLiteral("#!/bin/sh\n/bin/sleep %1\n%2'%3' %4 '%5' '%6'\n")
                               .arg(QString::number(delay), delay ? QString() : QStringLiteral("exec "),
                                    QCoreApplication::applicationFilePath(), QString::fromLatin1(StandInOption), title, typed)
                               .toUtf8());
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
    qputenv("PATH", title.isEmpty() ? QByteArray("/nonexistent") : QFile::encodeName(folder.path()));
    QuietQtPlatform platform;
    QWidget window;
    auto* editor = new EditorControl;
    auto* button = new QPushButton(QStringLiteral("AD"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(editor);
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, [&] { RunPhoneDialer(platform, *editor); });
    const QString number = QStringLiteral("+1 (555) 0123 ^%~{x}[y] é");
    const QString note = QStringLiteral("call ") + number + QStringLiteral("\r\nnext line");
    editor->setText(note);
    editor->setSelectionStart(5);
    editor->setSelectionLength(int(number.size()));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE_LT(clock.elapsed(), title.isEmpty() ? 1000 : 11000); // the wait for a started dialer ends at 10 s
    const DesktopWindow standIn = title.isEmpty() ? DesktopWindow{} : Listed(platform, title);
    const auto end = qScopeGuard([&] {
        if (standIn.pid > 0)
            ::kill(pid_t(standIn.pid), SIGTERM);
    });
    QVERIFY2(title.isEmpty() || standIn.id != 0, "the stand-in's window did not come up");
    QCOMPARE(platform.messages, title.isEmpty() ? QStringList{PhoneDialerAccessory().missingMessage} : QStringList{});
    const QString expected = title.isEmpty() ? QString() : number;
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(ReadFileBytes(typed)), expected, 10000);
    QTest::qWait(1500); // keys typed into the button would have pressed it again by now
    QCOMPARE(QString::fromUtf8(ReadFileBytes(typed)), expected);
    QCOMPARE(platform.messages.size(), title.isEmpty() ? 1 : 0);
    QCOMPARE(editor->text(), note);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], StandInOption) == 0)
        return RunStandInDialer(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestAccessoriesX11 test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_accessories_x11.moc"
