// Runs under a real X server with openbox (support/with_x_server.sh): the
// accessories find, activate and type into real windows of other programs.
#include "platform/editor_control.h"
#include "platform/qt_platform.h"
#include "subsystems/tools/accessories.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

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
    void theDialerTypesTheSelectionIntoTheActiveWindow();
};

void TestAccessoriesX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
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
    const auto standInShown = [&platform] {
        for (const DesktopWindow& window : platform.desktopWindows()) {
            if (window.title == QStringLiteral("Calculator Test"))
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(standInShown(), 10000);
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

// No dialer here: after the message, the selection goes a second later to
// whatever window is active, every character as typed.
void TestAccessoriesX11::theDialerTypesTheSelectionIntoTheActiveWindow()
{
    QuietQtPlatform platform;
    QLineEdit target;
    target.setWindowTitle(QStringLiteral("Dialer Stand-in"));
    target.resize(400, 40);
    target.show();
    QVERIFY(QTest::qWaitForWindowActive(&target));
    target.setFocus();
    EditorControl editor;
    const QString number = QStringLiteral("+1 (555) 0123 ^%~{x}[y] é");
    editor.setText(QStringLiteral("call ") + number);
    editor.setSelectionStart(5);
    editor.setSelectionLength(int(number.size()));
    QElapsedTimer timer;
    timer.start();
    RunPhoneDialer(platform, editor);
    QVERIFY(timer.elapsed() >= 1000);
    QCOMPARE(platform.messages.size(), 1);
    QTRY_COMPARE(target.text(), number);
}

QTEST_MAIN(TestAccessoriesX11)
#include "test_accessories_x11.moc"
