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

namespace {

DesktopWindow Window(quint64 id, const char* title, bool owned = false, bool ours = false)
{
    return {id, QString::fromUtf8(title), owned, ours, 0, {}};
}

// A window that shows itself to be a dialer's, by its WM_CLASS or its process.
DesktopWindow Dialer(quint64 id, const char* title, QStringList wmClass = {"linphone", "Linphone"}, qint64 pid = 0)
{
    return {id, QString::fromUtf8(title), false, false, pid, std::move(wmClass)};
}

struct DialerStart
{
    QStringList onPath = {QStringLiteral("gnome-calls")}; // none runs: this one is started
    QList<DesktopWindow> desktop = {Window(11, "vi")}; // none without X11
    DesktopWindow comes = {7, QStringLiteral("Untitled"), false, false, ScriptedPlatform::StartedProcess, {}}; // at 100 ms
    qint64 activeAt = 100; // milliseconds after the start by the clock; 0: never
    QString typed = QString(); // the keystrokes sent
    qint64 waited = 0;
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
    void dialerTypesTheSelectionASecondLater_data();
    void dialerTypesTheSelectionASecondLater();
    void dialerHandsTheSelectionToTheTelHandler_data();
    void dialerHandsTheSelectionToTheTelHandler();
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
    QTest::newRow("dialer running") << true << QList{Dialer(3, "Phone Dialer")} << QStringList{} << true
                                    << "activateWindow:3";
    QTest::newRow("GNOME Calls running, its class in other letters")
        << true << QList{Dialer(4, "Calls", {"Gnome-Calls"})} << QStringList{} << true << "activateWindow:4";
    QTest::newRow("a terminal titled like the dialer is passed over")
        << true << QList{Dialer(5, "Calls - shell", {"xterm", "XTerm"}), Dialer(6, "Linphone")} << QStringList{} << true
        << "activateWindow:6";
    QTest::newRow("known by its process, the dialer on PATH")
        << true << QList{Dialer(7, "Calls", {}, 77)} << QStringList{"gnome-calls"} << true << "activateWindow:7";
    QTest::newRow("a process of another program") << true << QList{Dialer(8, "Calls", {}, 88)} << QStringList{"gnome-calls"}
                                                  << true << "startProgram:/usr/bin/gnome-calls";
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
    platform.processPrograms = {{77, "/usr/bin/gnome-calls"}, {88, "/usr/bin/bash"}};
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

void TestTools::dialerTypesTheSelectionASecondLater_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<int>("tick"); // how far the clock moves while events run
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("closedAtRun"); // the program is closed during this event run; 0: never; -1: the tel: lookup
    QTest::addColumn<int>("waitedAtLeast");
    QTest::addColumn<bool>("typed");
    QTest::newRow("a second in tenths") << QTime(10, 0, 0) << 100 << "555-0123" << 0 << 1000 << true;
    QTest::newRow("across midnight") << QTime(23, 59, 59, 500) << 100 << "555-0123" << 0 << 1000 << true;
    QTest::newRow("slow events") << QTime(12, 0, 0) << 700 << "+1 (555) 0123" << 0 << 1000 << true;
    QTest::newRow("clock set back: no endless wait") << QTime(12, 0, 0) << -100 << "555" << 0 << -300 << true;
    QTest::newRow("nothing selected: nothing typed") << QTime(10, 0, 0) << 100 << "" << 0 << 0 << false;
    QTest::newRow("closed during the wait: nothing typed") << QTime(10, 0, 0) << 100 << "555" << 4 << 0 << false;
    QTest::newRow("closed during the tel: lookup: no dialer") << QTime(10, 0, 0) << 100 << "555" << -1 << 0 << false;
}

void TestTools::dialerTypesTheSelectionASecondLater()
{
    QFETCH(QTime, start);
    QFETCH(int, tick);
    QFETCH(QString, selected);
    QFETCH(int, closedAtRun);
    QFETCH(int, waitedAtLeast);
    QFETCH(bool, typed);
    ScriptedPlatform platform;
    platform.windows = {Dialer(3, "Phone Dialer")};
    platform.now = QDateTime(QDate(2026, 12, 7), start);
    platform.millisecondsPerEventRun = tick;
    int runs = 0;
    platform.duringEvents = [&] {
        if (++runs == closedAtRun)
            platform.exitProcess();
    };
    platform.duringLinkLookup = [&] {
        if (closedAtRun == -1)
            platform.exitProcess();
    };
    EditorControl editor;
    editor.setText(QStringLiteral("call ") + selected + QStringLiteral(" today"));
    editor.setSelectionStart(5);
    editor.setSelectionLength(int(selected.size()));
    const QDateTime before = platform.now;
    RunPhoneDialer(platform, editor);
    const qint64 waited = before.msecsTo(platform.now);
    QVERIFY2(waited >= waitedAtLeast && waited < std::max(waitedAtLeast, 1000) + 3 * std::abs(tick),
             qPrintable(QString::number(waited)));
    QCOMPARE(platform.typed, typed ? QStringList{selected} : QStringList{});
    QCOMPARE(platform.calls.contains(QStringLiteral("activateWindow:3")), closedAtRun != -1);
    if (typed)
        QCOMPARE(platform.calls.last(), QStringLiteral("typeText:3"));
}

void TestTools::dialerHandsTheSelectionToTheTelHandler_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("handler");
    QTest::addColumn<QString>("link"); // empty: the dialer's window gets the selection typed, or only comes up
    QTest::newRow("blanks and line breaks around") << " +1 555 123 4567 \n" << true << "tel:+1%20555%20123%204567";
    QTest::newRow("other characters encoded") << "(555) 01*23#9,é" << true << "tel:(555)%2001*23%239%2C%C3%A9";
    QTest::newRow("no handler: typed") << "555-0123" << false << "";
    QTest::newRow("only blanks selected: the dialer") << "  " << true << "";
}

void TestTools::dialerHandsTheSelectionToTheTelHandler()
{
    QFETCH(QString, selected);
    QFETCH(bool, handler);
    QFETCH(QString, link);
    ScriptedPlatform platform;
    platform.windows = {Dialer(3, "Phone Dialer")};
    if (handler)
        platform.linkSchemesHandled = {QStringLiteral("tel")};
    EditorControl editor;
    editor.setText(QStringLiteral("call ") + selected + QStringLiteral("today"));
    editor.setSelectionStart(5);
    editor.setSelectionLength(int(selected.size()));
    RunPhoneDialer(platform, editor);
    QCOMPARE(platform.calls.filter(QStringLiteral("openLink:")), link.isEmpty() ? QStringList{} : QStringList{"openLink:" + link});
    QCOMPARE(platform.calls.contains(QStringLiteral("activateWindow:3")), link.isEmpty());
    QCOMPARE(platform.typed, link.isEmpty() && !selected.isEmpty() ? QStringList{selected} : QStringList{});
}

void TestTools::dialerTypesOnlyIntoTheStartedDialersWindow_data()
{
    QTest::addColumn<DialerStart>("start");
    QTest::newRow("by its process") << DialerStart{.typed = "typeText:7", .waited = 300};
    QTest::newRow("by title and class") << DialerStart{.comes = Dialer(9, "CALLS", {"gnome-calls"}), .activeAt = 900, .typed = "typeText:9", .waited = 900};
    QTest::newRow("by title alone") << DialerStart{.comes = Window(9, "CALLS"), .activeAt = 900, .waited = 10200};
    QTest::newRow("shown but never active") << DialerStart{.activeAt = 0, .waited = 10200};
    QTest::newRow("another program's window") << DialerStart{.comes = Window(10, "Terminal"), .waited = 10200};
    QTest::newRow("an older window renamed") << DialerStart{.comes = Window(11, "Calls - vi"), .waited = 10200};
    QTest::newRow("our own window") << DialerStart{.comes = Window(12, "Calls", false, true), .waited = 10200};
    QTest::newRow("none installed") << DialerStart{.onPath = {}};
    QTest::newRow("no X11: no wait") << DialerStart{.desktop = {}, .waited = 200};
}

void TestTools::dialerTypesOnlyIntoTheStartedDialersWindow()
{
    QFETCH(DialerStart, start);
    ScriptedPlatform platform;
    platform.windows = start.desktop;
    platform.programsOnPath = start.onPath;
    const QDateTime before = platform.now;
    platform.duringEvents = [&] {
        if (before.msecsTo(platform.now) == 100)
            platform.windows.prepend(start.comes); // listed first, a renamed window shows its new title
        if (before.msecsTo(platform.now) == start.activeAt)
            platform.activeId = start.comes.id;
    };
    EditorControl editor;
    editor.setText(QStringLiteral("555"));
    editor.setSelectionLength(3);
    RunPhoneDialer(platform, editor);
    QCOMPARE(before.msecsTo(platform.now), start.waited);
    QCOMPARE(platform.calls.filter(QStringLiteral("typeText")).join(QString()), start.typed);
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
