// The watch for a lost X connection sees Qt's warning whatever the user's
// logging rules say, and shows no more than they let through.
#include "platform/window_system.h"

#include <QLoggingCategory>
#include <QTest>

static QStringList g_shown;

static void Show(QtMsgType, const QMessageLogContext&, const QString& message) { g_shown.append(message); }

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
    QTest::newRow("Xlib's I/O handler") << "" << "The X11 connection broke: I/O error (code 1)";
    QTest::newRow("Qt's event reader, warnings off") << "*.warning=false" << "The X11 connection broke (error 1). Did the X11 server die?";
    QTest::newRow("Xlib's I/O handler, default warnings off") << "default.warning=false" << "The X11 connection broke: I/O error (code 1)";
    QTest::newRow("another warning, warnings off") << "*.warning=false" << "Some other warning";
    QTest::newRow("another warning") << "" << "Some other warning";
}

void TestWindowSystem::theWatchSeesTheLostConnection()
{
    QFETCH(QString, rules);
    QFETCH(QString, warning);
    int runs = 0;
    WhenX11ConnectionBreaks([&runs] { ++runs; });
    QLoggingCategory::setFilterRules(rules);
    g_shown.clear();
    qWarning("%s", qPrintable(warning));
    qWarning("%s", qPrintable(warning)); // once only
    QCOMPARE(runs, warning.startsWith(QStringLiteral("The X11 connection broke")) ? 1 : 0);
    QCOMPARE(g_shown, rules.isEmpty() ? QStringList({warning, warning}) : QStringList());
    WhenX11ConnectionBreaks(nullptr);
}

QTEST_GUILESS_MAIN(TestWindowSystem)
#include "test_window_system.moc"
