// The 100 ms tick with an injected clock: auto save and the stopwatch, hours
// of ticks in milliseconds.
#include "platform/command_table.h"
#include "subsystems/options/auto_save_dialog.h"
#include "subsystems/options/elapsed_time_window.h"
#include "subsystems/options/stopwatch.h"
#include "subsystems/options/options_rig.h"
#include "support/test_environment.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <utility>

namespace {

struct Rig : OptionsRig
{
    Rig()
    {
        settings.FileName = dirs.root() + QStringLiteral("/NOTE.SCB");
        settings.AutoSaveTime = 10;
        settings.BeepTime = 60;
        WriteFileBytes(settings.FileName, "note\x1a");
        editor.setText(QStringLiteral("note"));
        platform.now = QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0));
    }

    // The file is spoilt behind the program's back; a save puts the note back.
    void spoilFile() { WriteFileBytes(settings.FileName, "spoilt"), editor.setModified(true); } // and an edit to save
    bool fileSaved() const { return ReadFileBytes(settings.FileName) == "note\x1a"; }

    ScopedUserDirectories dirs;
};

QString Shown(Rig& rig)
{
    Form12* window = rig.forms.openForm<Form12>();
    return window ? window->label().text() : QStringLiteral("(closed)");
}


constexpr std::int64_t Hour = 3600 * 1000;

void Happen(Rig& rig, bool everyTick, const QString& event)
{
    if (event == QStringLiteral("stopwatch")) {
        ToggleElapsedTimer(rig.context());
    } else if (event.startsWith(QStringLiteral("interval "))) {
        rig.ticker.change([&] { rig.settings.AutoSaveTime = std::int16_t(event.mid(9).toInt()); });
    } else if (event == QStringLiteral("suspend")) { // an hour later the overdue timer runs at once
        rig.platform.monotonicNow += Hour;
        if (everyTick)
            RunTimerTick(rig.context());
        rig.platform.passTime(0);
    } else { // the Auto Save dialog opened, its check box set as named, then closed
        OpenAutoSaveDialog(rig.context());
        auto* dialog = rig.forms.openForm<Form14>();
        if (event != QStringLiteral("open") && dialog->checkBox().isChecked() != (event == QStringLiteral("on")))
            dialog->checkBox().click();
        dialog->cancelButton().click();
    }
}

// What the user sees of the ticks, at the tick it shows: saves of the untitled
// note (its save dialog, open for dialogMilliseconds), the stopwatch button's
// caption and shown time. Either a tick runs every 100 ms of the load step's
// grid, as the window's timer did, or the program wakes only when the ticker
// plans it. Each event: milliseconds after the load step, a blank, what happens.
QStringList Observed(Rig& rig, bool everyTick, const QStringList& events, int runMilliseconds, int dialogMilliseconds)
{
    QStringList seen;
    const std::int64_t origin = rig.platform.monotonicNow;
    const auto at = [&] { return QString::number(rig.platform.monotonicNow - origin) + u' '; };
    QString last = rig.window.stopwatchButton + u' ' + Shown(rig);
    std::function<void(std::int64_t)> runTo = [&](std::int64_t end) {
        for (std::int64_t tick = (rig.platform.monotonicNow - origin) / 100 * 100 + 100; tick <= end; tick += 100) {
            if (everyTick) {
                rig.platform.monotonicNow = origin + tick;
                RunTimerTick(rig.context());
            } else {
                rig.platform.passTime(origin + tick - rig.platform.monotonicNow);
            }
            const QString now = rig.window.stopwatchButton + u' ' + Shown(rig);
            if (now != std::exchange(last, now))
                seen.append(at() + now);
        }
        if (!everyTick)
            rig.platform.passTime(origin + end - rig.platform.monotonicNow);
        rig.platform.monotonicNow = origin + end;
    };
    rig.platform.whileDialogOpen = [&] {
        seen.append(at() + QStringLiteral("save"));
        runTo(rig.platform.monotonicNow - origin + dialogMilliseconds);
    };
    for (const QString& event : events) {
        runTo(event.section(u' ', 0, 0).toInt());
        Happen(rig, everyTick, event.section(u' ', 1));
    }
    runTo(runMilliseconds);
    rig.platform.whileDialogOpen = nullptr;
    return seen;
}

} // namespace

class TestTimers : public QObject
{
    Q_OBJECT

private slots:
    void autoSaveDue_data();
    void autoSaveDue();
    void wakesOnlyWhenSomethingIsDue_data();
    void wakesOnlyWhenSomethingIsDue();
    void autoSaveWritesAnEditedNoteEveryInterval();
    void autoSaveAsksForANameEachIntervalForAnUntitledNote();
    void oneSaveDialogAtATime();
    void aSaveDueDuringADialogComesRightAfterIt();
    void theCheckBoxRestartsTheCount_data();
    void theCheckBoxRestartsTheCount();
    void aNewIntervalAppliesToTheRunningCount_data();
    void aNewIntervalAppliesToTheRunningCount();
    void stopwatchStops_data();
    void stopwatchStops();
    void beeps_data();
    void beeps();
    void noBeepAtTheStartOfALaterRun();
    void theWallClockDoesNotMoveTheStopwatch();
    void wrapsAfter99Hours();
    void captionBlinksAndTheWindowFollows();
};

void TestTimers::autoSaveDue_data()
{
    QTest::addColumn<int>("autoSave");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("counted");
    QTest::addColumn<bool>("dialogOpen");
    QTest::addColumn<bool>("due");
    QTest::addColumn<int>("countAfter");
    QTest::newRow("interval reached") << 1 << 10 << 600 << false << true << 0;
    QTest::newRow("not yet") << 1 << 10 << 599 << false << false << 599;
    QTest::newRow("option off: count restarts, nothing saved") << 0 << 10 << 600 << false << false << 0;
    QTest::newRow("interval lowered below the count") << 1 << 2 << 240 << false << true << 0;
    QTest::newRow("no 16-bit overflow: 600 minutes") << 1 << 600 << 35999 << false << false << 35999;
    QTest::newRow("600 minutes reached") << 1 << 600 << 36000 << false << true << 0;
    QTest::newRow("interval 0 never saves") << 1 << 0 << 1 << false << false << 0;
    QTest::newRow("negative interval never saves") << 1 << -5 << 1 << false << false << 0;
    QTest::newRow("a dialog is open: the save waits") << 1 << 1 << 75 << true << false << 75;
    QTest::newRow("option off, dialog open: count restarts") << 0 << 1 << 60 << true << false << 0;
}

void TestTimers::autoSaveDue()
{
    QFETCH(int, autoSave);
    QFETCH(int, minutes);
    QFETCH(int, counted);
    QFETCH(bool, dialogOpen);
    Settings settings;
    settings.AutoSave = autoSave;
    settings.AutoSaveTime = std::int16_t(minutes);
    TimerState timer;
    timer.AutoSaveSeconds = float(counted);
    QTEST(AutoSaveDue(timer, settings, dialogOpen), "due");
    QTEST(int(timer.AutoSaveSeconds), "countAfter");
}

void TestTimers::wakesOnlyWhenSomethingIsDue_data()
{
    QTest::addColumn<int>("autoSave");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("dialogSeconds"); // how long each save's dialog stays open
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("runSeconds");
    QTest::addColumn<QStringList>("saves");
    QTest::addColumn<int>("wakes");
    const QStringList none;
    QTest::newRow("auto save off") << 0 << 1 << 0 << none << 300 << none << 0;
    QTest::newRow("switched on part-way")
        << 0 << 1 << 0 << QStringList{"12345 on"} << 200 << QStringList{"72000", "132000", "192000"} << 3;
    QTest::newRow("switched off again") << 1 << 1 << 0 << QStringList{"70000 off"} << 200 << QStringList{"60000"} << 1;
    QTest::newRow("interval lowered below the count")
        << 1 << 2 << 0 << QStringList{"70500 interval 1"} << 200 << QStringList{"71000", "131000", "191000"} << 3;
    QTest::newRow("interval raised") << 1 << 1 << 0 << QStringList{"30000 interval 2"} << 200 << QStringList{"120000"} << 1;
    QTest::newRow("dialog opened while on")
        << 1 << 1 << 0 << QStringList{"30250 open"} << 160 << QStringList{"90000", "150000"} << 2;
    QTest::newRow("an interval that never saves") << 1 << 0 << 0 << none << 100 << none << 0;
    // The next save comes a whole interval after the dialog has gone.
    QTest::newRow("a save's dialog open 20 s") << 1 << 1 << 20 << none << 200 << QStringList{"60000", "140000"} << 2;
    // The save due during the sleep comes on waking, as the countdown counts the
    // sleep; one save, not one for every interval slept through.
    QTest::newRow("an hour suspended")
        << 1 << 1 << 0 << QStringList{"30000 suspend"} << 3700 << QStringList{"3630000", "3690000"} << 2;
    // The first tick shows 00:00:00, then a caption a second and a time a second.
    QTest::newRow("stopwatch running")
        << 0 << 1 << 0 << QStringList{"2050 stopwatch", "6200 stopwatch"} << 10 << none << 9;
    QTest::newRow("stopwatch and auto save") << 1 << 1 << 0 << QStringList{"58000 stopwatch", "61000 stopwatch"} << 120
                                             << QStringList{"60000", "120000"} << 5;
}

// The program wakes only when a save, a blink or a new time is due, and the
// user sees what a tick every 100 ms showed, at the same moments.
void TestTimers::wakesOnlyWhenSomethingIsDue()
{
    QFETCH(int, autoSave);
    QFETCH(int, minutes);
    QFETCH(int, dialogSeconds);
    QFETCH(QStringList, events);
    QFETCH(int, runSeconds);
    QStringList seen[2];
    for (const bool everyTick : {true, false}) {
        Rig rig;
        rig.settings.FileName = UntitledFileName;
        rig.settings.AutoSave = autoSave;
        rig.settings.AutoSaveTime = std::int16_t(minutes);
        rig.ticker.plan();
        seen[everyTick] = Observed(rig, everyTick, events, runSeconds * 1000, dialogSeconds * 1000);
        if (!everyTick)
            QTEST(rig.platform.timers.front()->fires(), "wakes");
    }
    QCOMPARE(seen[false], seen[true]);
    QStringList saves = seen[true].filter(QStringLiteral(" save"));
    saves.replaceInStrings(QStringLiteral(" save"), QString());
    QTEST(saves, "saves");
}

void TestTimers::autoSaveWritesAnEditedNoteEveryInterval()
{
    Rig rig;
    rig.settings.AutoSave = 1;
    rig.settings.AutoSaveTime = 1;
    for (int minute = 0; minute < 3; ++minute) {
        rig.editor.replaceSelection(QStringLiteral("x"));
        const QByteArray edited = rig.editor.text().toUtf8() + '\x1a';
        rig.ticks(599);
        QVERIFY2(ReadFileBytes(rig.settings.FileName) != edited, "saved before the minute was up");
        rig.ticks(1);
        QCOMPARE(ReadFileBytes(rig.settings.FileName), edited);
    }
    QVERIFY(!rig.editor.isModified());
    QCOMPARE(rig.platform.count(QStringLiteral("showMessage")), 0);
}

void TestTimers::autoSaveAsksForANameEachIntervalForAnUntitledNote()
{
    Rig rig;
    rig.settings.AutoSave = 1;
    rig.settings.AutoSaveTime = 2;
    rig.settings.FileName = UntitledFileName;
    rig.seconds(360);
    QCOMPARE(rig.platform.calls.filter(QStringLiteral("chooseFileToSave")).size(), 3);
    QCOMPARE(rig.settings.FileName, UntitledFileName);
}

// Ticks go on while the save dialog of an automatic save is open (a real
// dialog runs the event loop): they never open a second one.
void TestTimers::oneSaveDialogAtATime()
{
    Rig rig;
    rig.settings.AutoSave = 1;
    rig.settings.AutoSaveTime = 1;
    rig.settings.FileName = UntitledFileName;
    int depth = 0;
    int deepest = 0;
    rig.platform.whileDialogOpen = [&] {
        deepest = std::max(deepest, ++depth);
        if (depth == 1)
            rig.seconds(150);
        --depth;
    };
    rig.seconds(60);
    QCOMPARE(deepest, 1);
    QCOMPARE(rig.platform.calls.filter(QStringLiteral("chooseFileToSave")).size(), 1);
    // The count starts once the dialog has gone: the next one a minute later.
    rig.platform.whileDialogOpen = nullptr;
    rig.ticks(599);
    QCOMPARE(rig.platform.calls.filter(QStringLiteral("chooseFileToSave")).size(), 1);
    rig.ticks(1);
    QCOMPARE(rig.platform.calls.filter(QStringLiteral("chooseFileToSave")).size(), 2);
}

void TestTimers::aSaveDueDuringADialogComesRightAfterIt()
{
    Rig rig;
    rig.settings.AutoSave = 1;
    rig.settings.AutoSaveTime = 1;
    rig.spoilFile();
    rig.platform.modalOpen = true; // the Find dialog, say
    rig.seconds(90);
    QVERIFY(!rig.fileSaved());
    rig.platform.modalOpen = false;
    rig.seconds(1);
    QVERIFY(rig.fileSaved());
}

void TestTimers::theCheckBoxRestartsTheCount_data()
{
    QTest::addColumn<int>("autoSave");
    QTest::addColumn<bool>("click");
    QTest::addColumn<int>("countAfter");
    QTest::addColumn<int>("autoSaveAfter");
    QTest::newRow("opening with auto save on") << 1 << false << 0 << 1;
    QTest::newRow("opening with auto save off") << 0 << false << 240 << 0;
    QTest::newRow("switching it on") << 0 << true << 0 << 1;
    QTest::newRow("switching it off") << 1 << true << 0 << 0;
}

void TestTimers::theCheckBoxRestartsTheCount()
{
    QFETCH(int, autoSave);
    QFETCH(bool, click);
    Rig rig;
    rig.settings.AutoSave = autoSave;
    rig.seconds(240);
    OpenAutoSaveDialog(rig.context());
    auto* dialog = rig.forms.openForm<Form14>();
    QVERIFY(dialog);
    if (click)
        dialog->checkBox().click();
    QTEST(int(rig.timer.AutoSaveSeconds), "countAfter");
    // Cancel keeps what the check box did.
    dialog->cancelButton().click();
    QTEST(rig.settings.AutoSave, "autoSaveAfter");
}

void TestTimers::aNewIntervalAppliesToTheRunningCount_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<int>("savedAfterSeconds"); // counted from the change
    QTest::newRow("10 to 6 after 4 minutes: 2 minutes later") << "6" << 120;
    QTest::newRow("10 to 3 after 4 minutes: at the next second") << "3" << 1;
    QTest::newRow("10 to 12 after 4 minutes: 8 minutes later") << "12" << 480;
}

void TestTimers::aNewIntervalAppliesToTheRunningCount()
{
    QFETCH(QString, minutes);
    QFETCH(int, savedAfterSeconds);
    Rig rig;
    rig.settings.AutoSave = 1;
    rig.seconds(240);
    rig.spoilFile();
    // The interval changes through the dialog; with auto save already on, the
    // check box's own change on opening would restart the count, so the
    // option goes on only once the dialog is open.
    rig.settings.AutoSave = 0;
    OpenAutoSaveDialog(rig.context());
    rig.settings.AutoSave = 1;
    rig.timer.AutoSaveSeconds = 240;
    auto* dialog = rig.forms.openForm<Form14>();
    dialog->textBox().setText(minutes);
    dialog->okButton().click();
    QCOMPARE(int(rig.timer.AutoSaveSeconds), 240);
    // From here the program wakes as the ticker plans it.
    rig.platform.passTime(savedAfterSeconds * 1000 - 100);
    QVERIFY(!rig.fileSaved());
    rig.platform.passTime(100);
    QVERIFY(rig.fileSaved());
}

void TestTimers::stopwatchStops_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("right button on ET pastes the time over the selection")
        << "right" << "Elapsed Time Was 00:01:05 text" << "Elapsed Time Was 00:01:05";
    QTest::newRow("middle button likewise") << "middle" << "Elapsed Time Was 00:01:05 text" << "Elapsed Time Was 00:01:05";
    QTest::newRow("left button stops quietly") << "left" << "some text" << "old";
    QTest::newRow("the menu and Ctrl+E stop quietly") << "menu" << "some text" << "old";
    QTest::newRow("the window manager's close button on the time stops quietly") << "close" << "some text" << "old";
}

void TestTimers::stopwatchStops()
{
    QFETCH(QString, how);
    Rig rig;
    rig.editor.setText(QStringLiteral("some text"));
    rig.editor.setSelectionStart(0);
    rig.editor.setSelectionLength(4);
    rig.platform.clipboard = QStringLiteral("old");
    BarButtonReleased(rig.context(), true, true);
    QCOMPARE(rig.timer.ElapsedRunning, 1);
    QVERIFY(rig.window.stopwatchRunning);
    rig.seconds(65);
    QCOMPARE(Shown(rig), QStringLiteral("00:01:05"));
    if (how == QStringLiteral("menu")) {
        CommandTable commands;
        RegisterOptionsCommands(commands, rig.context());
        commands.run(CommandId::ElapsedTimeMenu);
    } else if (how == QStringLiteral("close")) {
        emit rig.forms.openForm<Form12>()->closeRequested();
        QTRY_COMPARE(rig.timer.ElapsedRunning, 0);
    } else {
        BarButtonReleased(rig.context(), how == QStringLiteral("left"), true);
    }
    QCOMPARE(rig.timer.ElapsedRunning, 0);
    QTEST(rig.editor.text(), "note");
    QTEST(rig.platform.clipboard, "clipboard");
    QCOMPARE(Shown(rig), QStringLiteral("(closed)"));
    QCOMPARE(rig.window.stopwatchButton, QStringLiteral("ET"));
    QVERIFY(!rig.window.stopwatchRunning);
}

void TestTimers::beeps_data()
{
    QTest::addColumn<int>("beepOn");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("runSeconds");
    QTest::addColumn<QStringList>("beepsAt");
    QTest::newRow("every 45 s") << 1 << 45 << 140 << QStringList{"00:00:45", "00:01:30", "00:02:15"};
    QTest::newRow("every minute") << 1 << 60 << 185 << QStringList{"00:01:00", "00:02:00", "00:03:00"};
    QTest::newRow("option off") << 0 << 45 << 140 << QStringList{};
    QTest::newRow("interval 0 from a hand-edited file") << 1 << 0 << 20 << QStringList{};
    QTest::newRow("negative interval") << 1 << -3 << 20 << QStringList{};
}

void TestTimers::beeps()
{
    QFETCH(int, beepOn);
    QFETCH(int, interval);
    QFETCH(int, runSeconds);
    Rig rig;
    rig.settings.TimerBeep = beepOn;
    rig.settings.BeepTime = std::int16_t(interval);
    ToggleElapsedTimer(rig.context());
    QStringList beepsAt;
    for (int tick = 0; tick < runSeconds * 10; ++tick) {
        const int before = rig.platform.count(QStringLiteral("beep"));
        rig.ticks(1);
        if (rig.platform.count(QStringLiteral("beep")) > before)
            beepsAt.append(ElapsedTimeText(rig.timer));
    }
    QTEST(beepsAt, "beepsAt");
}

void TestTimers::noBeepAtTheStartOfALaterRun()
{
    Rig rig;
    rig.settings.TimerBeep = 1;
    rig.settings.BeepTime = 5;
    for (int run = 0; run < 2; ++run) {
        ToggleElapsedTimer(rig.context());
        rig.ticks(3);
        QCOMPARE(rig.platform.count(QStringLiteral("beep")), run);
        rig.seconds(6); // beeps once, at 00:00:05
        ToggleElapsedTimer(rig.context());
    }
    QCOMPARE(rig.platform.count(QStringLiteral("beep")), 2);
}

// The stopwatch counts real time: summer time ending, the clock set by hand
// or midnight passing do not move it.
void TestTimers::theWallClockDoesNotMoveTheStopwatch()
{
    Rig rig;
    rig.platform.now = QDateTime(QDate(2026, 10, 25), QTime(2, 59, 50));
    ToggleElapsedTimer(rig.context());
    QStringList shown;
    for (const int hoursSet : {-1, 24, -24 * 365}) {
        rig.seconds(2);
        rig.platform.now = rig.platform.now.addSecs(3600 * hoursSet);
        rig.seconds(1);
        shown.append(Shown(rig));
    }
    QCOMPARE(shown, (QStringList{"00:00:03", "00:00:06", "00:00:09"}));
}

// The display goes on at 00:00:00 after 99:59:59; a long gap is made up at once.
void TestTimers::wrapsAfter99Hours()
{
    Settings settings;
    TimerState timer;
    StartStopwatch(timer, 0);
    const QStringList expected{"00:00:00", "99:59:59", "00:00:00", "00:02:30"};
    QStringList shown;
    for (const std::int64_t seconds : {0, 359999, 360000, 360150}) {
        AdvanceStopwatch(timer, settings, seconds * 1000 + 100);
        shown.append(ElapsedTimeText(timer));
    }
    QCOMPARE(shown, expected);
}

// "T" at the first full second of the tick count, then "E" and "T" by turns.
void TestTimers::captionBlinksAndTheWindowFollows()
{
    Rig rig;
    rig.ticks(4);
    ToggleElapsedTimer(rig.context());
    QCOMPARE(Shown(rig), QString());
    QVERIFY(!rig.forms.openForm<Form12>()->isActiveWindow());
    QStringList captions;
    for (int second = 0; second < 4; ++second) {
        rig.ticks(second == 0 ? 6 : 10);
        captions.append(rig.window.stopwatchButton);
    }
    QCOMPARE(captions, (QStringList{"T", "E", "T", "E"}));
    ToggleElapsedTimer(rig.context());
    QCOMPARE(rig.window.stopwatchButton, QStringLiteral("ET"));
    rig.seconds(2);
    QCOMPARE(rig.window.stopwatchButton, QStringLiteral("ET"));
}

QTEST_MAIN(TestTimers)
#include "test_timers.moc"
