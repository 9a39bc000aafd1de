#include "platform/window_system.h"

#include <QTest>

#include <optional>

using Variable = std::optional<QByteArray>; // nothing: unset

class TestWindowSystem : public QObject
{
    Q_OBJECT

private slots:
    void x11IsPreferred_data();
    void x11IsPreferred();
};

void TestWindowSystem::x11IsPreferred_data()
{
    QTest::addColumn<Variable>("named"); // QT_QPA_PLATFORM
    QTest::addColumn<Variable>("display");
    QTest::addColumn<Variable>("forQt");
    const Variable xcbFirst("xcb;wayland");
    QTest::newRow("a display, nothing named: X11 first") << Variable() << Variable(":0") << xcbFirst;
    QTest::newRow("named empty counts as nothing") << Variable("") << Variable(":1") << xcbFirst;
    QTest::newRow("the user's choice stands") << Variable("wayland") << Variable(":0") << Variable("wayland");
    QTest::newRow("no X display: Qt's own choice") << Variable() << Variable() << Variable();
}

// Qt reads the choice; the programs started later see the user's environment.
void TestWindowSystem::x11IsPreferred()
{
    QFETCH(Variable, named);
    QFETCH(Variable, display);
    QFETCH(Variable, forQt);
    const auto set = [](const char* name, const Variable& value) { value ? qputenv(name, *value) : qunsetenv(name); };
    const auto platform = [] { return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? Variable(qgetenv("QT_QPA_PLATFORM")) : Variable(); };
    set("QT_QPA_PLATFORM", named);
    set("DISPLAY", display);
    const bool chose = PreferX11WindowSystem();
    QCOMPARE(platform(), forQt);
    if (chose)
        ForgetWindowSystemChoice();
    QCOMPARE(platform(), chose ? Variable() : named);
}

QTEST_GUILESS_MAIN(TestWindowSystem)
#include "test_window_system.moc"
