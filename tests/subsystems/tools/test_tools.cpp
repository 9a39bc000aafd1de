// The outside programs against a scripted desktop, the Help menu and the About box.
#include "platform/command_table.h"
#include "platform/editor_control.h"
#include "platform/form_factory.h"
#include "subsystems/tools/about_box.h"
#include "subsystems/tools/accessories.h"
#include "subsystems/tools/tools_commands.h"
#include "subsystems/tools/window_search.h"
#include "support/modal_answer.h"
#include "support/scripted_platform.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>

namespace {

DesktopWindow Window(quint64 id, const char* title, bool owned = false, bool ours = false, qint64 pid = 0)
{
    return {id, QString::fromUtf8(title), owned, ours, pid};
}

constexpr qint64 DialerProcess = 4242; // what the scripted platform gives a started program
const DesktopWindow OurMainWindow = Window(1, "Scriblet - CALLS.SCB", false, true, 100);

void SelectAfterCall(EditorControl& editor, const QString& selected)
{
    editor.setText(QStringLiteral("call ") + selected + QStringLiteral(" today"));
    editor.setSelectionStart(5);
    editor.setSelectionLength(int(selected.size()));
}

// A dialer started from PATH, and a window that comes up after the start.
struct DialerStart
{
    QStringList onPath = {QStringLiteral("gnome-calls")};
    bool starts = true;
    QList<DesktopWindow> desktop = {OurMainWindow}; // none without X11
    QString selected = QStringLiteral("555 1234");
    DesktopWindow comes = Window(7, "Untitled", false, false, DialerProcess);
    int after = 0; // milliseconds
    bool active = true;
    quint64 typedInto = 0;
    int waited = 0; // milliseconds by the clock, give or take an event run
};

const QString CalculatorMissing = QStringLiteral(
    "In Order To Run The Calculator, A Calculator Executable File, "
    "gnome-calculator, mate-calc, kcalc, galculator, qalculate-gtk or xcalc, Must Be Installed.");
const QString DialerMissing = QStringLiteral(
    "In Order To Run The Phone Dialer, A Dialer Executable File, gnome-calls or linphone, Must Be Installed.");

} // namespace

class TestTools : public QObject
{
    Q_OBJECT

private slots:
    void findAndActivateWindow_data();
    void findAndActivateWindow();
    void accessories_data();
    void accessories();
    void dialerTypesIntoTheRunningDialerASecondLater_data();
    void dialerTypesIntoTheRunningDialerASecondLater();
    void dialerTypesOnlyIntoTheStartedDialersWindow_data();
    void dialerTypesOnlyIntoTheStartedDialersWindow();
    void helpMenu();
    void aboutBoxIsModalAndEnterClosesIt();
};

void TestTools::findAndActivateWindow_data()
{
    QTest::addColumn<QList<DesktopWindow>>("windows");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("activated"); // 0: none
    QTest::newRow("title begins with the name") << QList{Window(1, "Text Editor"), Window(2, "Calculator")}
                                               << "Calculator" << 2;
    QTest::newRow("any letter case") << QList{Window(3, "CALCULATOR - scientific")} << "calculator" << 3;
    QTest::newRow("name later in the title is not taken") << QList{Window(4, "My Calculator")} << "Calculator" << 0;
    QTest::newRow("owned window passed over") << QList{Window(5, "Calculator", true), Window(6, "Calculator Test")}
                                             << "Calculator" << 6;
    QTest::newRow("our own window passed over") << QList{Window(7, "Calculator.SCB", false, true)} << "Calculator"
                                               << 0;
    QTest::newRow("top of the stack first") << QList{Window(8, "Calculator 2"), Window(9, "Calculator 1")}
                                           << "Calculator" << 8;
    QTest::newRow("non-ASCII title") << QList{Window(10, "Über Rechner")} << "über" << 10;
    QTest::newRow("empty title") << QList{Window(11, "")} << "Calculator" << 0;
    QTest::newRow("no windows (no X11)") << QList<DesktopWindow>{} << "Calculator" << 0;
}

void TestTools::findAndActivateWindow()
{
    QFETCH(QList<DesktopWindow>, windows);
    QFETCH(QString, name);
    QFETCH(int, activated);
    ScriptedPlatform platform;
    platform.windows = windows;
    QCOMPARE(FindAndActivateWindow(platform, name), quint64(activated));
    QCOMPARE(platform.calls, activated ? QStringList{QStringLiteral("activateWindow:%1").arg(activated)} : QStringList{});
}

void TestTools::accessories_data()
{
    QTest::addColumn<bool>("dialer");
    QTest::addColumn<QList<DesktopWindow>>("windows");
    QTest::addColumn<QStringList>("onPath");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("call"); // what was done, or the message shown
    QTest::newRow("calculator running") << false << QList{Window(1, "Calculator")} << QStringList{"xcalc"} << true
                                        << "activateWindow:1";
    QTest::newRow("kcalc running under its own title") << false << QList{Window(2, "KCalc")} << QStringList{} << true
                                                       << "activateWindow:2";
    QTest::newRow("first calculator on PATH started")
        << false << QList<DesktopWindow>{} << QStringList{"xcalc", "mate-calc"} << true << "startProgram:/usr/bin/mate-calc";
    QTest::newRow("a start that fails says nothing")
        << false << QList<DesktopWindow>{} << QStringList{"xcalc"} << false << "startProgram:/usr/bin/xcalc";
    QTest::newRow("no calculator installed") << false << QList<DesktopWindow>{} << QStringList{} << true
                                             << CalculatorMissing;
    QTest::newRow("dialer running") << true << QList{Window(3, "Phone Dialer")} << QStringList{} << true
                                    << "activateWindow:3";
    QTest::newRow("GNOME Calls running") << true << QList{Window(4, "Calls")} << QStringList{} << true
                                         << "activateWindow:4";
    QTest::newRow("linphone started") << true << QList<DesktopWindow>{} << QStringList{"linphone"} << true
                                      << "startProgram:/usr/bin/linphone";
    QTest::newRow("no dialer installed") << true << QList<DesktopWindow>{} << QStringList{} << true << DialerMissing;
}

void TestTools::accessories()
{
    QFETCH(bool, dialer);
    QFETCH(QList<DesktopWindow>, windows);
    QFETCH(QStringList, onPath);
    QFETCH(bool, starts);
    QFETCH(QString, call);
    ScriptedPlatform platform;
    platform.windows = windows;
    platform.programsOnPath = onPath;
    platform.programsStart = starts;
    BringUpAccessory(platform, dialer ? PhoneDialerAccessory() : CalculatorAccessory());
    if (call.startsWith(QStringLiteral("In Order"))) {
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages[0].text, call);
        QCOMPARE(platform.messages[0].title, QString()); // the application title
        QCOMPARE(platform.messages[0].icon, MessageIcon::Stop);
        return;
    }
    QCOMPARE(platform.calls, QStringList{call});
}

void TestTools::dialerTypesIntoTheRunningDialerASecondLater_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<int>("tick"); // how far the clock moves while events run
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("closedAtRun"); // the program is closed during this event run; 0: never
    QTest::addColumn<int>("waitedAtLeast");
    QTest::addColumn<bool>("typed");
    QTest::newRow("a second in tenths") << QTime(10, 0, 0) << 100 << "555-0123" << 0 << 1000 << true;
    QTest::newRow("across midnight") << QTime(23, 59, 59, 500) << 100 << "555-0123" << 0 << 1000 << true;
    QTest::newRow("slow events") << QTime(12, 0, 0) << 700 << "+1 (555) 0123" << 0 << 1000 << true;
    QTest::newRow("clock set back: no endless wait") << QTime(12, 0, 0) << -100 << "555" << 0 << -300 << true;
    QTest::newRow("closed during the wait: nothing typed") << QTime(10, 0, 0) << 100 << "555" << 4 << 0 << false;
}

// The dialer found running is activated; a second by the clock later the
// selection goes to its window, and to no other.
void TestTools::dialerTypesIntoTheRunningDialerASecondLater()
{
    QFETCH(QTime, start);
    QFETCH(int, tick);
    QFETCH(QString, selected);
    QFETCH(int, closedAtRun);
    QFETCH(int, waitedAtLeast);
    QFETCH(bool, typed);
    ScriptedPlatform platform;
    platform.windows = {OurMainWindow, Window(3, "Phone Dialer")};
    platform.now = QDateTime(QDate(2026, 12, 7), start);
    platform.millisecondsPerEventRun = tick;
    int runs = 0;
    platform.duringEvents = [&] {
        if (++runs == closedAtRun)
            platform.exitProcess();
    };
    EditorControl editor;
    SelectAfterCall(editor, selected);
    const QDateTime before = platform.now;
    RunPhoneDialer(platform, editor);
    QCOMPARE(platform.calls.first(), QStringLiteral("activateWindow:3"));
    const qint64 waited = before.msecsTo(platform.now);
    QVERIFY2(waited >= waitedAtLeast && waited < std::max(waitedAtLeast, 1000) + 3 * std::abs(tick),
             qPrintable(QString::number(waited)));
    QCOMPARE(platform.typed, typed ? QStringList{selected} : QStringList{});
    if (typed)
        QCOMPARE(platform.calls.last(), QStringLiteral("typeText:3"));
}

void TestTools::dialerTypesOnlyIntoTheStartedDialersWindow_data()
{
    QTest::addColumn<DialerStart>("start");
    const auto other = [](quint64 id, const char* title) { return Window(id, title, false, false, 500); };
    QTest::newRow("by its process, at once") << DialerStart{.typedInto = 7, .waited = 300};
    QTest::newRow("a dialog of its own")
        << DialerStart{.comes = Window(8, "Account", true, false, DialerProcess), .after = 500, .typedInto = 8, .waited = 500};
    QTest::newRow("by its title from a process of its own")
        << DialerStart{.comes = other(9, "CALLS"), .after = 1500, .typedInto = 9, .waited = 1500};
    // The wait begins after two event runs, at 200 ms.
    QTest::newRow("just within ten seconds") << DialerStart{.after = 10100, .typedInto = 7, .waited = 10100};
    QTest::newRow("after ten seconds: nothing typed") << DialerStart{.after = 10300, .waited = 10200};
    QTest::newRow("shown but not active") << DialerStart{.after = 1000, .active = false, .waited = 10200};
    QTest::newRow("another program's window") << DialerStart{.comes = other(10, "Terminal"), .waited = 10200};
    QTest::newRow("an older window taking the dialer's title")
        << DialerStart{.desktop = {OurMainWindow, other(11, "notes - vim")}, .comes = other(11, "calls.txt - vim"),
                       .after = 1000, .waited = 10200};
    QTest::newRow("our own window by the title")
        << DialerStart{.comes = Window(12, "Calls", false, true, OurMainWindow.pid), .waited = 10200};
    QTest::newRow("none installed: the message only") << DialerStart{.onPath = {}};
    QTest::newRow("the start fails") << DialerStart{.starts = false};
    QTest::newRow("no X11: no wait") << DialerStart{.desktop = {}, .waited = 200};
    QTest::newRow("nothing selected: no wait") << DialerStart{.selected = QString(), .waited = 100};
}

// A started dialer gets the selection once a window of its own is the active
// one, if that comes within ten seconds by the clock.
void TestTools::dialerTypesOnlyIntoTheStartedDialersWindow()
{
    QFETCH(DialerStart, start);
    ScriptedPlatform platform;
    platform.windows = start.desktop;
    platform.programsOnPath = start.onPath;
    platform.programsStart = start.starts;
    const QDateTime before = platform.now;
    bool came = false;
    platform.duringEvents = [&] {
        if (came || before.msecsTo(platform.now) < start.after)
            return;
        came = true;
        // A window that was there already takes the title it comes with.
        const auto there = std::find_if(platform.windows.begin(), platform.windows.end(),
                                        [&](const DesktopWindow& w) { return w.id == start.comes.id; });
        if (there == platform.windows.end())
            platform.windows.prepend(start.comes);
        else
            *there = start.comes;
        if (start.active)
            platform.activeId = start.comes.id;
    };
    EditorControl editor;
    SelectAfterCall(editor, start.selected);
    RunPhoneDialer(platform, editor);
    QCOMPARE(platform.messages.size(), start.onPath.isEmpty() ? 1 : 0);
    const qint64 waited = before.msecsTo(platform.now);
    QVERIFY2(waited >= start.waited && waited <= start.waited + 100, qPrintable(QString::number(waited)));
    QCOMPARE(platform.typed, start.typedInto ? QStringList{start.selected} : QStringList{});
    QCOMPARE(platform.calls.filter(QStringLiteral("typeText")),
             start.typedInto ? QStringList{QStringLiteral("typeText:%1").arg(start.typedInto)} : QStringList{});
}

void TestTools::helpMenu()
{
    ScriptedPlatform platform;
    EditorControl editor;
    FormFactory forms;
    CommandTable commands;
    RegisterToolsCommands(commands, {platform, editor, forms});
    commands.run(CommandId::HelpContents);
    commands.run(CommandId::HelpOnHelp);
    QCOMPARE(platform.calls, (QStringList{"showHelp:Contents", "showHelp:HelpOnHelp"}));
}

void TestTools::aboutBoxIsModalAndEnterClosesIt()
{
    ScriptedPlatform platform;
    EditorControl editor;
    FormFactory forms;
    bool seen = false;
    WhenModalShown<Form4>([&seen](Form4& box) {
        seen = box.isModal();
        QCOMPARE(box.windowTitle(), QStringLiteral("About Scriblet"));
        QCOMPARE(box.productLabel().text(), QStringLiteral("Scriblet [tm] v2.0"));
        QCOMPARE(box.thankYouButton().text(), QStringLiteral("&Thank You For Trying Scriblet !!"));
        QVERIFY(box.thankYouButton().isDefault());
        QVERIFY(box.textBlock().sizeHint().width() <= box.textBlock().width());
        // The built-in images are there: two icons, two note pictures.
        const QList<QLabel*> labels = box.findChildren<QLabel*>();
        QCOMPARE(std::count_if(labels.cbegin(), labels.cend(), [](const QLabel* l) { return !l->pixmap().isNull(); }), 4);
        QVERIFY(!box.windowIcon().isNull());
        QTest::keyClick(&box, Qt::Key_Return);
    });
    AboutScriblet({platform, editor, forms});
    QVERIFY(seen);
}

QTEST_MAIN(TestTools)
#include "test_tools.moc"
