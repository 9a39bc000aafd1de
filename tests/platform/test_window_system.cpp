// The watch for a lost X connection sees Qt's warning whatever the user's
// logging rules say, and shows no more than they let through.
#include "platform/window_system.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTest>

namespace {

QStringList g_shown;

void Show(QtMsgType, const QMessageLogContext&, const QString& message) { g_shown.append(message); }

} // namespace

class TestWindowSystem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qInstallMessageHandler(Show); }
    void theWatchSeesTheLostConnection_data();
    void theWatchSeesTheLostConnection();
};

void TestWindowSystem::theWatchSeesTheLostConnection_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<bool>("broken");
    QTest::addColumn<bool>("shown");
    const QString reader = QStringLiteral("The X11 connection broke (error 1). Did the X11 server die?");
    const QString xlib = QStringLiteral("The X11 connection broke: I/O error (code 1)");
    QTest::newRow("Qt's event reader") << "" << reader << true << true;
    QTest::newRow("Xlib's I/O handler") << "" << xlib << true << true;
    QTest::newRow("all warnings off") << "*.warning=false" << reader << true << false;
    QTest::newRow("default warnings off, Xlib") << "default.warning=false" << xlib << true << false;
    QTest::newRow("another warning, warnings off") << "*.warning=false" << "Some other warning" << false << false;
    QTest::newRow("another warning") << "" << "Some other warning" << false << true;
}

void TestWindowSystem::theWatchSeesTheLostConnection()
{
    QFETCH(QString, rules);
    QFETCH(QString, warning);
    QFETCH(bool, broken);
    QFETCH(bool, shown);
    int runs = 0;
    WhenX11ConnectionBreaks([&runs] { ++runs; });
    QLoggingCategory::setFilterRules(rules);
    g_shown.clear();
    qWarning("%s", qPrintable(warning));
    qWarning("%s", qPrintable(warning));
    QCOMPARE(runs, broken ? 1 : 0);
    QCOMPARE(g_shown, shown ? QStringList({warning, warning}) : QStringList());
    WhenX11ConnectionBreaks(nullptr);
}

QTEST_GUILESS_MAIN(TestWindowSystem)
#include "test_window_system.moc"
