// The 100 ms tick with an injected clock: auto save and the stopwatch, hours
// of ticks in milliseconds.
#include "platform/command_table.h"
#include "platform/editor_control.h"
#include "platform/form_factory.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/options/auto_save_dialog.h"
#include "subsystems/options/elapsed_time_window.h"
#include "subsystems/options/options_commands.h"
#include "subsystems/options/stopwatch.h"
#include "subsystems/options/timer_procedure.h"
#include "subsystems/options/timer_tick.h"
#include "support/recording_window.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct Rig
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

    OptionsContext context()
    {
        return {settings, timer, platform, editor, window, forms,
                DocumentContext{settings, document, platform, editor, window, storage}};
    }

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            platform.now = platform.now.addMSecs(100);
            RunTimerTick(context());
        }
    }
    void seconds(int count) { ticks(10 * count); }

    // The file is spoilt behind the program's back; a save puts the note back.
    void spoilFile() { WriteFileBytes(settings.FileName, "spoilt"); }
    bool fileSaved() const { return ReadFileBytes(settings.FileName) == "note\x1a"; }

    ScopedUserDirectories dirs;
    Settings settings;
    DocumentState document;
    TimerState timer;
    ScriptedPlatform platform;
    QWidget owner;
    EditorControl editor{&owner};
    RecordingWindow window;
    NoteStorage storage;
    FormFactory forms{&owner};
};

QString Shown(Rig& rig)
{
    Form12* window = rig.forms.openForm<Form12>();
    return window ? window->label().text() : QStringLiteral("(closed)");
}

} // namespace

class TestTimers : public QObject
{
    Q_OBJECT

private slots:
    void autoSaveDue_data();
    void autoSaveDue();
    void autoSaveRewritesANamedNoteEveryInterval();
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
    void acrossMidnight();
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

// The save is File > Save's: a named note is written even when unchanged.
void TestTimers::autoSaveRewritesANamedNoteEveryInterval()
{
    Rig rig;
    rig.settings.AutoSave = 1;
    rig.settings.AutoSaveTime = 1;
    for (int minute = 0; minute < 3; ++minute) {
        rig.spoilFile();
        rig.ticks(599);
        QVERIFY2(!rig.fileSaved(), "saved before the minute was up");
        rig.ticks(1);
        QVERIFY2(rig.fileSaved(), "not saved on the minute");
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
    rig.ticks(savedAfterSeconds * 10 - 1);
    QVERIFY(!rig.fileSaved());
    rig.ticks(1);
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
    rig.seconds(65);
    QCOMPARE(Shown(rig), QStringLiteral("00:01:05"));
    if (how == QStringLiteral("menu")) {
        CommandTable commands;
        RegisterOptionsCommands(commands, rig.context());
        commands.run(CommandId::ElapsedTimeMenu);
    } else {
        BarButtonReleased(rig.context(), how == QStringLiteral("left"), true);
    }
    QCOMPARE(rig.timer.ElapsedRunning, 0);
    QTEST(rig.editor.text(), "note");
    QTEST(rig.platform.clipboard, "clipboard");
    QCOMPARE(Shown(rig), QStringLiteral("(closed)"));
    QCOMPARE(rig.window.stopwatchButton, QStringLiteral("ET"));
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

void TestTimers::acrossMidnight()
{
    Rig rig;
    rig.platform.now = QDateTime(QDate(2026, 12, 7), QTime(23, 59, 50));
    ToggleElapsedTimer(rig.context());
    RunTimerTick(rig.context());
    QCOMPARE(Shown(rig), QStringLiteral("00:00:00"));
    rig.platform.now = QDateTime(QDate(2026, 12, 8), QTime(0, 0, 20));
    RunTimerTick(rig.context());
    QCOMPARE(Shown(rig), QStringLiteral("00:00:30"));
}

// The display goes on at 00:00:00; a long gap is worked off a minute per tick.
void TestTimers::wrapsAfter99Hours()
{
    Settings settings;
    TimerState timer;
    StartStopwatch(timer);
    AdvanceStopwatch(timer, settings, 1000);
    timer.ElapsedHours = 99;
    timer.ElapsedMinutes = 59;
    AdvanceStopwatch(timer, settings, 1059);
    QCOMPARE(ElapsedTimeText(timer), QStringLiteral("99:59:59"));
    AdvanceStopwatch(timer, settings, 1060);
    QCOMPARE(ElapsedTimeText(timer), QStringLiteral("00:00:00"));
    AdvanceStopwatch(timer, settings, 1060 + 150);
    QCOMPARE(ElapsedTimeText(timer), QStringLiteral("00:01:90"));
    AdvanceStopwatch(timer, settings, 1060 + 150);
    QCOMPARE(ElapsedTimeText(timer), QStringLiteral("00:02:30"));
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
