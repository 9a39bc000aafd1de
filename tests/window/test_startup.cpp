#include "platform/editor_control.h"
#include "subsystems/documents/document_title.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"
#include "window/app_state.h"
#include "window/form5.h"
#include "window/startup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <list>

namespace {

// One run of the program: start-up, then whatever the test does, then File > Exit.
struct Run
{
    explicit Run(const QByteArrayList& arguments = {}, const QList<MessageAnswer>& answers = {})
    {
        platform.messageAnswers = answers;
        window = RunStartup(state, platform, arguments);
    }

    void exit() { window->action(CommandId::FileExit)->trigger(); }

    AppState state;
    ScriptedPlatform platform;
    std::unique_ptr<Form5> window;
};

QStringList RecoveryFiles(const ScopedUserDirectories& dirs)
{
    return QDir(dirs.stateDirectory()).entryList({"*.note", "*.note.old"}, QDir::Files, QDir::Name);
}

QString OnlyRecoveredText(const ScopedUserDirectories& dirs)
{
    const QStringList files = QDir(dirs.stateDirectory()).entryList({"session-*.note"}, QDir::Files);
    if (files.size() != 1)
        return QStringLiteral("<%1 files>").arg(files.size());
    const QByteArray bytes = ReadFileBytes(dirs.stateDirectory() + u'/' + files[0]);
    return QString::fromUtf8(bytes.mid(bytes.indexOf("\n\n") + 2));
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstStartUsesDefaultsAndExitWritesThem();
    void geometrySurvivesARestart_data();
    void geometrySurvivesARestart();
    void missingConfigurationDirectory();
    void commandLineNamesTheDocument_data();
    void commandLineNamesTheDocument();
    void nameThatIsNotUtf8();
    void garbageSettingsNeverStopTheProgram();
    void documentNameInTitleAfterStart();
    void firstStartWritesTheWelcomeNoteOnce();
    void savedNoteIsBackAfterARestart();
    void closingAsksAboutUnsavedChanges();
    void closingStaysOpenWhenTheSaveFails();
    void textOfAnEndThatCannotAskIsOfferedNextTime_data();
    void textOfAnEndThatCannotAskIsOfferedNextTime();
    void normalExitLeavesNoRecoveredText();
    void severalLeftTextsAreOfferedOneByOne();
    void unreadableLeftTextIsToldWhereItWasPut();
    void sessionEnd_data();
    void sessionEnd();
    void afterALogoutCancelledElsewhereTheUserIsAskedAgain_data();
    void afterALogoutCancelledElsewhereTheUserIsAskedAgain();
    void textTypedAfterAnAnsweredLogoutSurvivesTheSystemsClose();
    void closeRequestOfTheSystemEndsAWaitingQuestion();
    void relativeCommandLinePathIsMadeFull();
    void everySettingSurvivesARun();
    void appearanceChosenSurvivesARestart_data();
    void appearanceChosenSurvivesARestart();
    void systemColourShownAndWrittenBackAsItCame();
    void windowOffEveryScreenComesUpAtTheDefaultPlace_data();
    void windowOffEveryScreenComesUpAtTheDefaultPlace();
};

void TestStartup::firstStartUsesDefaultsAndExitWritesThem()
{
    ScopedUserDirectories dirs;
    Run run;
    QTRY_COMPARE(run.window->frameGeometry(), QRect(33, 33, 434, 136)); // 500, 500, 6510, 2040 twips at 96 DPI
    QVERIFY(run.window->barButton(0).isVisible());
    QCOMPARE(run.window->windowTitle(), QStringLiteral("Scriblet32 v2.0"));
    QCOMPARE(run.window->editor().font().family(), QStringLiteral("Arial"));
    QCOMPARE(run.window->editor().font().pointSizeF(), 10.0);
    QVERIFY(run.platform.messages.isEmpty());

    run.exit();
    QCOMPARE(run.platform.calls, (QStringList{"closeHelp", "closeHelp", "exitProcess"}));
    const QString data = dirs.dataDirectory();
    const QByteArray expected = "[SCRIBLET]\n"
                                "Left= 500\nTop= 500\nWidth= 6510\nHeight= 2040\n"
                                "OnTop= 0\nAutoSave= 0\nAutoSaveTime= 10\nTimerBeep= 0\nBeepTime= 60\nButtonBar= 1\n"
                                "FileName=" + data.toUtf8() + "/SCRBLT20.SCB\n"
                                "File1=" + data.toUtf8() + "/SCRBLT20.SCB\n"
                                "File2=" + data.toUtf8() + "/ADDRESS.SCB\n"
                                "File3=" + data.toUtf8() + "/TODO.SCB\n"
                                "Glossary1=Text For Glossary Button 1\n"
                                "Glossary2=Text For Glossary Button 2\n"
                                "Glossary3=Text For Glossary Button 3\n"
                                "Signature=Text For Signature Button\n"
                                "FileInTitle= 0\n"
                                "BackColor= 16777215\nFontName=Arial\nFontSize= 10\nFontBold=False\nFontItalic=False\n";
    QCOMPARE(ReadFileBytes(dirs.settingsPath()), expected);
}

void TestStartup::geometrySurvivesARestart_data()
{
    QTest::addColumn<bool>("minimizeBeforeExit");
    QTest::newRow("normal window") << false;
    QTest::newRow("minimized window keeps the stored geometry") << true;
}

void TestStartup::geometrySurvivesARestart()
{
    QFETCH(bool, minimizeBeforeExit);
    ScopedUserDirectories dirs;
    WriteFileBytes(dirs.settingsPath(), "[SCRIBLET]\nLeft= 1500\nTop= 1200\nWidth= 9000\nHeight= 4500\n");
    {
        Run first;
        QTRY_COMPARE(first.window->frameGeometry(), QRect(100, 80, 600, 300));
        const QSize frameExtra = first.window->frameGeometry().size() - first.window->size();
        first.window->move(150, 90);
        first.window->resize(QSize(700, 320) - frameExtra);
        QTRY_COMPARE(first.window->frameGeometry(), QRect(150, 90, 700, 320));
        if (minimizeBeforeExit) {
            first.window->showMinimized();
            QTRY_VERIFY(first.window->isMinimized());
        }
        first.exit();
        QCOMPARE(first.platform.count("exitProcess"), 1);
    }
    Run second;
    const QRect expected = minimizeBeforeExit ? QRect(100, 80, 600, 300) : QRect(150, 90, 700, 320);
    QTRY_COMPARE(second.window->frameGeometry(), expected);
    const QByteArray file = ReadFileBytes(dirs.settingsPath());
    QVERIFY(file.contains(minimizeBeforeExit ? "Left= 1500\n" : "Left= 2250\n"));
    QVERIFY(file.contains(minimizeBeforeExit ? "Width= 9000\n" : "Width= 10500\n"));
}

void TestStartup::missingConfigurationDirectory()
{
    ScopedUserDirectories dirs;
    const QString notADirectory = dirs.root() + QStringLiteral("/config");
    WriteFileBytes(notADirectory, "a file where the configuration directory should be");
    Run run;
    QCOMPARE(run.platform.messages.size(), 1);
    QCOMPARE(run.platform.messages[0].text, QStringLiteral("Could Not Find Windows Directory"));
    QCOMPARE(run.platform.messages[0].title, QStringLiteral("Error"));
    QCOMPARE(run.platform.messages[0].icon, MessageIcon::Stop);
    QCOMPARE(run.platform.messages[0].buttons, MessageButtons::Ok);
    QVERIFY(run.state.SettingsPath.isEmpty());
    // The defaults, not zeros: a usable window with its bar, white editor, the welcome note.
    QTRY_COMPARE(run.window->frameGeometry(), QRect(33, 33, 434, 136));
    QVERIFY(run.window->barButton(0).isVisible());
    QCOMPARE(run.window->editor().palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(run.state.settings.Glossary1, QStringLiteral("Text For Glossary Button 1"));
    QCOMPARE(run.state.settings.FileName, dirs.dataDirectory() + QStringLiteral("/SCRBLT20.SCB"));
    QVERIFY(run.window->editor().text().startsWith(QStringLiteral("Welcome to Scriblet!")));
    run.exit();
    QCOMPARE(run.platform.count("exitProcess"), 1);
    QCOMPARE(ReadFileBytes(notADirectory), QByteArray("a file where the configuration directory should be"));
}

void TestStartup::commandLineNamesTheDocument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("opened");
    QTest::newRow("one argument is the path exactly") << QStringList{"MY  LIST.SCB"} << "MY  LIST.SCB";
    QTest::newRow("blanks around one argument are kept") << QStringList{" MY LIST.SCB "} << " MY LIST.SCB ";
    QTest::newRow("several arguments are joined by single blanks") << QStringList{"MY", "", "LIST.SCB"}
                                                                  << "MY LIST.SCB";
    QTest::newRow("blanks inside several arguments become one") << QStringList{"MY  LIST.SCB", "x"}
                                                                << "MY LIST.SCB x";
    QTest::newRow("what Qt would take as its options") << QStringList{"-platform", "list.scb"}
                                                       << "-platform list.scb";
    QTest::newRow("full path") << QStringList{"@/MY LIST.SCB"} << "MY LIST.SCB";
}

void TestStartup::commandLineNamesTheDocument()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, opened);
    ScopedUserDirectories dirs;
    WriteFileBytes(dirs.settingsPath(), "[SCRIBLET]\nFileName=/remembered.scb\n");
    for (const char* name : {"MY  LIST.SCB", " MY LIST.SCB ", "MY LIST.SCB", "MY LIST.SCB x", "-platform list.scb"})
        WriteFileBytes(dirs.root() + u'/' + QString::fromUtf8(name), QByteArray(name) + "\r\n\x1a");
    QByteArrayList bytes;
    for (const QString& argument : arguments)
        bytes.append(QFile::encodeName(QString(argument).replace(u'@', dirs.root())));
    const QString note = dirs.root() + u'/' + opened;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dirs.root()); // relative names are taken from where the program was started
    {
        Run run(bytes);
        QDir::setCurrent(previous);
        QVERIFY(run.state.CommandLineNamedDocument);
        QCOMPARE(run.state.settings.FileName, note);
        QCOMPARE(run.window->editor().text(), opened + QStringLiteral("\r\n"));
        run.exit();
    }
    Run next;
    QCOMPARE(next.state.settings.FileName, note);
    QCOMPARE(next.window->editor().text(), opened + QStringLiteral("\r\n"));
}

// A name Qt's file functions cannot hold is said to be unusable, not missing,
// and the program starts on an empty untitled note.
void TestStartup::nameThatIsNotUtf8()
{
    ScopedUserDirectories dirs;
    WriteFileBytes(dirs.settingsPath(), "[SCRIBLET]\nFileName=/remembered.scb\n");
    Run run({QByteArray("caf\xE9.SCB")});
    QCOMPARE(run.platform.messages.size(), 1);
    QCOMPARE(run.platform.messages[0].title, QStringLiteral("Unusable File Name"));
    QCOMPARE(run.platform.messages[0].icon, MessageIcon::Stop);
    QVERIFY(run.platform.messages[0].text.contains(QStringLiteral("caf\uFFFD.SCB")));
    QVERIFY(run.platform.messages[0].text.contains(QStringLiteral("Not Valid UTF-8")));
    QCOMPARE(run.state.settings.FileName, UntitledFileName);
    QCOMPARE(run.window->editor().text(), QString());
    run.exit();
    QVERIFY(ReadFileBytes(dirs.settingsPath()).contains("FileName=/remembered.scb\n"));
}

void TestStartup::garbageSettingsNeverStopTheProgram()
{
    ScopedUserDirectories dirs;
    QByteArray garbage("\x00\x01\xff\xfe[SCRIBLET\n", 14);
    garbage += "[SCRIBLET]\nLeft=1e999999\nTop=-99999999999\nWidth=\x01\x02\nHeight=nan\nFontSize=1e300\n"
               "BackColor=zzz\nButtonBar=\xff\nFontName=" + QByteArray(5000, 'F') + "\nAutoSaveTime=inf\n";
    WriteFileBytes(dirs.settingsPath(), garbage);
    Run run;
    // Out-of-range positions took their defaults; sizes of 0 grew to the minimum (bar hidden).
    QTRY_COMPARE(run.window->frameGeometry(), QRect(33, 33, 434, 112));
    QCOMPARE(run.state.settings.AutoSaveTime, 0);
    QCOMPARE(run.state.settings.BackColor, 0);
    QCOMPARE(run.window->editor().font().pointSizeF(), 10.0);
    run.exit();
    QCOMPARE(run.platform.count("exitProcess"), 1);
}

void TestStartup::documentNameInTitleAfterStart()
{
    ScopedUserDirectories dirs;
    const QString note = dirs.root() + QStringLiteral("/ann.lee/memo.scb");
    WriteFileBytes(note, "memo");
    WriteFileBytes(dirs.settingsPath(), "[SCRIBLET]\nFileInTitle=1\nFileName=" + note.toUtf8() + "\n");
    Run run;
    QCOMPARE(run.window->windowTitle(), QStringLiteral("memo.scb"));
    QVERIFY(run.window->action(CommandId::OptionsFileInTitle)->isChecked());
}

void TestStartup::firstStartWritesTheWelcomeNoteOnce()
{
    ScopedUserDirectories dirs;
    const QString welcome = dirs.dataDirectory() + QStringLiteral("/SCRBLT20.SCB");
    {
        Run first;
        QVERIFY(first.window->editor().text().startsWith(QStringLiteral("Welcome to Scriblet!\r\n")));
        QVERIFY(first.window->editor().text().contains(dirs.settingsPath()));
        QVERIFY(ReadFileBytes(welcome).endsWith("\x1a"));
        QVERIFY(first.platform.messages.isEmpty());
        first.exit();
    }
    QVERIFY(QFile::remove(welcome));
    Run second;
    QCOMPARE(second.platform.messages.size(), 1);
    QCOMPARE(second.platform.messages[0].text, QStringLiteral("File: ") + welcome + QStringLiteral(" Not Found"));
    QVERIFY(!QFile::exists(welcome));
    QCOMPARE(second.window->editor().text(), QString());
}

void TestStartup::savedNoteIsBackAfterARestart()
{
    ScopedUserDirectories dirs;
    const QString saved = dirs.root() + QStringLiteral("/shopping");
    {
        Run run;
        EditorControl& editor = run.window->editor();
        run.window->action(CommandId::FileNew)->trigger();
        editor.setFocus();
        QTest::keyClicks(&editor, QStringLiteral("bread"));
        QTest::keyClick(&editor, Qt::Key_Return);
        QTest::keyClicks(&editor, QStringLiteral("cheese"));
        run.platform.saveFileAnswers = {saved};
        run.window->action(CommandId::FileSaveAs)->trigger();
        QCOMPARE(ReadFileBytes(saved + QStringLiteral(".SCB")), QByteArray("bread\r\ncheese\x1a"));
        QVERIFY(!run.state.document.SaveAsFlag);
        run.exit();
        QCOMPARE(run.platform.count("exitProcess"), 1);
    }
    Run again;
    QCOMPARE(again.state.settings.FileName, saved + QStringLiteral(".SCB"));
    QCOMPARE(again.window->editor().text(), QStringLiteral("bread\r\ncheese"));
}

void TestStartup::closingAsksAboutUnsavedChanges()
{
    ScopedUserDirectories dirs;
    Run run;
    const QString welcome = dirs.dataDirectory() + QStringLiteral("/SCRBLT20.SCB");
    const QByteArray before = ReadFileBytes(welcome);
    QTest::keyClicks(&run.window->editor(), QStringLiteral("scribble"));
    run.platform.messageAnswers = {MessageAnswer::Cancel};
    run.exit();
    QCOMPARE(run.platform.count("exitProcess"), 0);
    QVERIFY(!QFile::exists(dirs.settingsPath()));
    QVERIFY(run.window->isVisible());
    QVERIFY(run.window->editor().text().contains(QStringLiteral("scribble")));

    run.platform.messageAnswers = {MessageAnswer::No};
    run.exit();
    QCOMPARE(run.platform.count("exitProcess"), 1);
    QCOMPARE(ReadFileBytes(welcome), before);
    QVERIFY(QFile::exists(dirs.settingsPath()));
}

void TestStartup::textOfAnEndThatCannotAskIsOfferedNextTime_data()
{
    QTest::addColumn<bool>("otherNoteNamed");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("restored");
    QTest::newRow("restored in place of the last note") << false << MessageAnswer::Yes << true;
    QTest::newRow("declined: set aside, the last note loads") << false << MessageAnswer::No << false;
    QTest::newRow("offered after the note named on the command line") << true << MessageAnswer::Yes << true;
    QTest::newRow("declined after the note named on the command line") << true << MessageAnswer::No << false;
}

void TestStartup::textOfAnEndThatCannotAskIsOfferedNextTime()
{
    QFETCH(bool, otherNoteNamed);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, restored);
    ScopedUserDirectories dirs;
    const QString note = dirs.root() + QStringLiteral("/list.SCB");
    const QString other = dirs.root() + QStringLiteral("/other.SCB");
    WriteFileBytes(note, "on disk\x1a");
    WriteFileBytes(other, "other note\x1a");
    {
        Run first({QFile::encodeName(note)});
        first.window->editor().insertPlainText(QStringLiteral("typed, "));
        first.window->endWithoutAsking(); // as SIGTERM does
        QCOMPARE(first.platform.count("exitProcess"), 1);
        QVERIFY(first.platform.messages.isEmpty());
        QVERIFY(QFile::exists(dirs.settingsPath()));
        QCOMPARE(OnlyRecoveredText(dirs), QStringLiteral("typed, on disk"));
    }
    Run second(otherNoteNamed ? QByteArrayList{QFile::encodeName(other)} : QByteArrayList{}, {answer});
    QCOMPARE(second.platform.messages.size(), 1);
    QCOMPARE(second.platform.messages[0].title, QStringLiteral("Unsaved Text Found"));
    QVERIFY(second.platform.messages[0].text.contains(QStringLiteral("The Note ") + note + u' '));
    const QString expectedNote = restored || !otherNoteNamed ? note : other;
    QCOMPARE(second.state.settings.FileName, expectedNote);
    QCOMPARE(second.window->editor().isModified(), restored);
    QCOMPARE(ReadFileBytes(note), QByteArray("on disk\x1a"));
    if (restored) {
        QCOMPARE(second.window->editor().text(), QStringLiteral("typed, on disk"));
        QCOMPARE(RecoveryFiles(dirs).size(), 1); // the running copy's own
        QCOMPARE(OnlyRecoveredText(dirs), QStringLiteral("typed, on disk"));
        second.platform.messageAnswers = {MessageAnswer::Yes};
        second.exit();
        QCOMPARE(ReadFileBytes(note), QByteArray("typed, on disk\x1a"));
    } else {
        QCOMPARE(RecoveryFiles(dirs), QStringList{"set-aside.note"});
        second.exit();
    }
    QCOMPARE(RecoveryFiles(dirs).filter(QStringLiteral("session-")), QStringList());
    Run third;
    QVERIFY(third.platform.messages.isEmpty());
}

void TestStartup::normalExitLeavesNoRecoveredText()
{
    ScopedUserDirectories dirs;
    Run run;
    run.window->editor().insertPlainText(QStringLiteral("scribble"));
    run.platform.timers.last()->fire();
    QVERIFY(OnlyRecoveredText(dirs).startsWith(QStringLiteral("scribble")));
    run.platform.messageAnswers = {MessageAnswer::No};
    run.exit();
    QCOMPARE(RecoveryFiles(dirs), QStringList());
}

void TestStartup::severalLeftTextsAreOfferedOneByOne()
{
    ScopedUserDirectories dirs;
    QStringList notes;
    std::list<Run> running; // two copies at once: neither is offered the other's text
    for (const QString name : {"one.SCB", "two.SCB"}) {
        notes.append(dirs.root() + u'/' + name);
        WriteFileBytes(notes.last(), "\x1a");
        Run& copy = running.emplace_back(QByteArrayList{QFile::encodeName(notes.last())});
        QVERIFY(copy.platform.messages.isEmpty());
        copy.window->editor().insertPlainText(QStringLiteral("text of ") + name);
        copy.platform.timers.last()->fire();
    }
    running.clear(); // both end without closing, as killed processes do
    Run run({}, {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No});
    QCOMPARE(run.platform.messages.size(), 3);
    QCOMPARE(run.platform.messages[2].title, QStringLiteral("File Has Changed")); // the first text, before the second replaces it
    const QString second = notes[run.platform.messages[1].text.contains(notes[0] + u' ') ? 0 : 1];
    QVERIFY(run.platform.messages[0].text.contains((notes[0] == second ? notes[1] : notes[0]) + u' '));
    QCOMPARE(run.state.settings.FileName, second);
    QCOMPARE(run.window->editor().text(), QStringLiteral("text of ") + QFileInfo(second).fileName());
    QVERIFY(run.window->editor().isModified());
    QCOMPARE(OnlyRecoveredText(dirs), run.window->editor().text());
    QCOMPARE(RecoveryFiles(dirs).size(), 1);
}

void TestStartup::unreadableLeftTextIsToldWhereItWasPut()
{
    ScopedUserDirectories dirs;
    WriteFileBytes(dirs.cacheDirectory() + QStringLiteral("/session-abcdef.note"), "SCRIBLET RECOVERY 1\nNote: /home/me/li");
    QVERIFY(Run().platform.messages.value(0).text.contains(dirs.cacheDirectory() + "/unreadable-session-abcdef.note."));
}

void TestStartup::sessionEnd_data()
{
    QTest::addColumn<bool>("mayAsk");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("logoutGoesOn");
    QTest::addColumn<QString>("keptText");
    QTest::newRow("asked, cancelled") << true << MessageAnswer::Cancel << false << "scribble";
    QTest::newRow("asked, not saved") << true << MessageAnswer::No << true << "<0 files>";
    QTest::newRow("asked, saved") << true << MessageAnswer::Yes << true << "<0 files>";
    QTest::newRow("no questions allowed") << false << MessageAnswer::Cancel << true << "scribble";
}

void TestStartup::sessionEnd()
{
    QFETCH(bool, mayAsk);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, logoutGoesOn);
    QFETCH(QString, keptText);
    ScopedUserDirectories dirs;
    Run run;
    run.window->editor().setText(QString());
    run.window->editor().insertPlainText(QStringLiteral("scribble"));
    run.platform.timers.last()->fire();
    run.platform.messageAnswers = {answer};
    QCOMPARE(run.window->commitSession(mayAsk), logoutGoesOn);
    QCOMPARE(run.platform.messages.size(), mayAsk ? 1 : 0);
    if (logoutGoesOn)
        run.window->close(); // the session manager ends the program
    QCOMPARE(run.platform.messages.size(), mayAsk ? 1 : 0); // never asked twice
    QCOMPARE(run.platform.count("exitProcess"), logoutGoesOn ? 1 : 0);
    QCOMPARE(OnlyRecoveredText(dirs), keptText);
}

void TestStartup::afterALogoutCancelledElsewhereTheUserIsAskedAgain_data()
{
    QTest::addColumn<bool>("mayAsk");
    QTest::addColumn<bool>("typedAfter");
    QTest::newRow("declined, then File > Exit") << true << false;
    QTest::newRow("declined, typed on, then File > Exit") << true << true;
    QTest::newRow("no questions allowed, then File > Exit") << false << false;
}

// The logout goes on without the program: the session only checkpointed, or
// another program cancelled it. The user's own exit asks as always.
void TestStartup::afterALogoutCancelledElsewhereTheUserIsAskedAgain()
{
    QFETCH(bool, mayAsk);
    QFETCH(bool, typedAfter);
    ScopedUserDirectories dirs;
    Run run;
    run.window->editor().insertPlainText(QStringLiteral("scribble "));
    run.platform.messageAnswers = {MessageAnswer::Cancel};
    if (mayAsk)
        run.platform.messageAnswers.prepend(MessageAnswer::No);
    QVERIFY(run.window->commitSession(mayAsk));
    QCOMPARE(run.platform.count("exitProcess"), 0);
    QCOMPARE(QFile::exists(dirs.settingsPath()), !mayAsk); // as a close that cannot ask writes them
    QCOMPARE(OnlyRecoveredText(dirs).startsWith(QStringLiteral("scribble")), !mayAsk);
    if (typedAfter)
        run.window->editor().insertPlainText(QStringLiteral("more "));
    run.exit();
    QCOMPARE(run.platform.messages.size(), mayAsk ? 2 : 1);
    QCOMPARE(run.platform.count("exitProcess"), 0); // Cancel
    QCOMPARE(run.window->editor().text().startsWith(QStringLiteral("scribble more ")), typedAfter);
}

void TestStartup::textTypedAfterAnAnsweredLogoutSurvivesTheSystemsClose()
{
    ScopedUserDirectories dirs;
    Run run({}, {MessageAnswer::No});
    run.window->editor().insertPlainText(QStringLiteral("scribble "));
    QVERIFY(run.window->commitSession(true));
    run.window->editor().insertPlainText(QStringLiteral("more "));
    run.window->endWithoutAsking();
    QVERIFY2(OnlyRecoveredText(dirs).startsWith(QStringLiteral("scribble more ")), qPrintable(OnlyRecoveredText(dirs)));
}

void TestStartup::closeRequestOfTheSystemEndsAWaitingQuestion()
{
    ScopedUserDirectories dirs;
    Run run;
    const QString welcome = dirs.dataDirectory() + QStringLiteral("/SCRBLT20.SCB");
    const QByteArray before = ReadFileBytes(welcome);
    run.window->editor().insertPlainText(QStringLiteral("scribble "));
    // SIGTERM while File > Exit asks; the question then ends as Cancel does.
    run.platform.whileDialogOpen = [&run] { run.window->endWithoutAsking(); };
    run.platform.messageAnswers = {MessageAnswer::Cancel};
    run.exit();
    QCOMPARE(run.platform.count("exitProcess"), 1);
    QVERIFY(OnlyRecoveredText(dirs).startsWith(QStringLiteral("scribble ")));
    QVERIFY(QFile::exists(dirs.settingsPath()));
    QCOMPARE(ReadFileBytes(welcome), before);
    run.window->endWithoutAsking(); // a second signal
    QCOMPARE(run.platform.count("exitProcess"), 1);
}

void TestStartup::closingStaysOpenWhenTheSaveFails()
{
    ScopedUserDirectories dirs;
    Run run;
    const QString welcome = dirs.dataDirectory() + QStringLiteral("/SCRBLT20.SCB");
    QFile::setPermissions(welcome, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = ReadFileBytes(welcome);
    QTest::keyClicks(&run.window->editor(), QStringLiteral("scribble"));
    run.platform.messageAnswers = {MessageAnswer::Yes};
    run.exit();
    QCOMPARE(run.platform.count("exitProcess"), 0);
    QVERIFY(run.window->isVisible());
    QVERIFY(run.window->editor().text().contains(QStringLiteral("scribble")));
    QCOMPARE(ReadFileBytes(welcome), before);
    QCOMPARE(run.platform.messages.last().title, QStringLiteral("Save Failed"));
}

void TestStartup::relativeCommandLinePathIsMadeFull()
{
    ScopedUserDirectories dirs;
    WriteFileBytes(dirs.root() + QStringLiteral("/notes/here.scb"), "here");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dirs.root() + QStringLiteral("/notes"));
    Run run({"here.scb"});
    QDir::setCurrent(previous);
    QCOMPARE(run.state.settings.FileName, dirs.root() + QStringLiteral("/notes/here.scb"));
    QCOMPARE(run.window->editor().text(), QStringLiteral("here"));
}

// Every key with a value other than its default is read, used and written back
// unchanged, in the file's own order.
void TestStartup::everySettingSurvivesARun()
{
    ScopedUserDirectories dirs;
    const QString root = dirs.root();
    WriteFileBytes(root + QStringLiteral("/notes/open.scb"), "open\x1a");
    const QByteArray settings = "[SCRIBLET]\n"
                                "Left= 1500\nTop= 1200\nWidth= 9000\nHeight= 4500\n"
                                "OnTop= 1\nAutoSave= 1\nAutoSaveTime= 25\nTimerBeep= 1\nBeepTime= 90\nButtonBar= 0\n"
                                "FileName=" + root.toUtf8() + "/notes/open.scb\n"
                                "File1=" + root.toUtf8() + "/notes/one.scb\n"
                                "File2=" + root.toUtf8() + "/notes/two.txt\n"
                                "File3=" + root.toUtf8() + "/notes/three.scb\n"
                                "Glossary1=first text\nGlossary2=second text\nGlossary3=third text\n"
                                "Signature=Ann Lee\nFileInTitle= 1\n"
                                "BackColor= 255\nFontName=DejaVu Serif\nFontSize= 12.5\nFontBold=True\nFontItalic=True\n";
    WriteFileBytes(dirs.settingsPath(), settings);
    Run run;
    const Settings& s = run.state.settings;
    QCOMPARE(run.window->windowTitle(), QStringLiteral("open.scb"));
    QCOMPARE(run.window->editor().text(), QStringLiteral("open"));
    QVERIFY(!run.window->barButton(0).isVisible());
    QVERIFY(run.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(QList<int>({s.AutoSave, s.AutoSaveTime, s.TimerBeep, s.BeepTime}), QList<int>({1, 25, 1, 90}));
    QCOMPARE(QStringList({s.File1, s.File2, s.File3}),
             QStringList({root + "/notes/one.scb", root + "/notes/two.txt", root + "/notes/three.scb"}));
    QCOMPARE(QStringList({s.Glossary1, s.Glossary2, s.Glossary3, s.Signature}),
             QStringList({"first text", "second text", "third text", "Ann Lee"}));
    const QFont font = run.window->editor().font();
    QCOMPARE(font.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(font.pointSizeF(), 12.5);
    QVERIFY(font.bold() && font.italic());
    QCOMPARE(run.window->editor().palette().color(QPalette::Base), QColor(255, 0, 0));
    run.exit();
    QCOMPARE(ReadFileBytes(dirs.settingsPath()), settings);
}

void TestStartup::appearanceChosenSurvivesARestart_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArrayList>("written"); // the changed lines of SCRIBLET.INI
    QTest::newRow("colour") << "OptionsColor" << QByteArrayList{"BackColor= 5649426"};
    QTest::newRow("colour cancelled") << "OptionsColor cancelled" << QByteArrayList{"BackColor= 16777215"};
    QTest::newRow("font") << "OptionsFont"
        << QByteArrayList{"FontName=DejaVu Serif", "FontSize= 12.5", "FontBold=True", "FontItalic=True"};
    QTest::newRow("font cancelled") << "OptionsFont cancelled" << QByteArrayList{"FontName=Arial", "FontBold=False"};
    QTest::newRow("always on top") << "AlwaysOnTop" << QByteArrayList{"OnTop= 1"};
    QTest::newRow("file name in title") << "OptionsFileInTitle" << QByteArrayList{"FileInTitle= 1"};
    QTest::newRow("no button bar") << "OptionsShowButtonBar" << QByteArrayList{"ButtonBar= 0", "Height= 1680"};
}

// Each option takes effect at once, reaches SCRIBLET.INI at exit and is back
// after a restart.
void TestStartup::appearanceChosenSurvivesARestart()
{
    QFETCH(QString, item);
    QFETCH(QByteArrayList, written);
    ScopedUserDirectories dirs;
    const auto check = [&item](Run& run) {
        Form5& window = *run.window;
        const QFont font = window.editor().font();
        if (item == QStringLiteral("OptionsColor"))
            QCOMPARE(window.editor().palette().color(QPalette::Base), QColor(0x12, 0x34, 0x56));
        if (item == QStringLiteral("OptionsFont")) {
            QCOMPARE(font.family(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(font.pointSizeF(), 12.5);
            QVERIFY(font.bold() && font.italic() && !font.underline() && !font.strikeOut());
        }
        if (item.endsWith(QStringLiteral("cancelled"))) {
            QCOMPARE(window.editor().palette().color(QPalette::Base), QColor(Qt::white));
            QCOMPARE(font.family(), QStringLiteral("Arial"));
        }
        QCOMPARE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), item == QStringLiteral("AlwaysOnTop"));
        QCOMPARE(window.action(CommandId::AlwaysOnTop)->isChecked(), item == QStringLiteral("AlwaysOnTop"));
        const bool inTitle = item == QStringLiteral("OptionsFileInTitle");
        QCOMPARE(window.windowTitle(), inTitle ? QStringLiteral("SCRBLT20.SCB") : QStringLiteral("Scriblet32 v2.0"));
        QCOMPARE(window.action(CommandId::OptionsFileInTitle)->isChecked(), inTitle);
        const bool noBar = item == QStringLiteral("OptionsShowButtonBar");
        QCOMPARE(window.barButton(7).isVisible(), !noBar);
        QCOMPARE(window.action(CommandId::OptionsShowButtonBar)->isChecked(), !noBar);
    };
    {
        Run run;
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSizeF(12.5);
        chosen.setBold(true);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        chosen.setStrikeOut(true);
        run.platform.colorAnswers = {QColor(0x12, 0x34, 0x56)};
        run.platform.fontAnswers = {chosen};
        if (item.endsWith(QStringLiteral("cancelled"))) {
            run.platform.colorAnswers = {std::nullopt};
            run.platform.fontAnswers = {std::nullopt};
        }
        run.window->findChild<QAction*>(item.section(u' ', 0, 0))->trigger();
        check(run);
        run.exit();
    }
    const QByteArray settings = ReadFileBytes(dirs.settingsPath());
    for (const QByteArray& line : written)
        QVERIFY2(settings.contains("\n" + line + "\n"), line.constData());
    Run again;
    check(again);
}

// A system colour (0x80000000 plus its index) shows the desktop's colour of
// that kind and goes back to the file as it came.
void TestStartup::systemColourShownAndWrittenBackAsItCame()
{
    ScopedUserDirectories dirs;
    WriteFileBytes(dirs.settingsPath(), "[SCRIBLET]\nBackColor=-2147483643\n");
    Run run;
    const QColor windowBackground = run.window->editor().palette().color(QPalette::Active, QPalette::Base);
    QCOMPARE(windowBackground, QApplication::palette().color(QPalette::Active, QPalette::Base));
    run.exit();
    QVERIFY(ReadFileBytes(dirs.settingsPath()).contains("\nBackColor=-2147483643\n"));
}

void TestStartup::windowOffEveryScreenComesUpAtTheDefaultPlace_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QByteArray>("written");
    // The offscreen screen is 800 x 800 pixels.
    QTest::newRow("the screen that showed it is gone: the default place")
        << QByteArray("Left= 60000\nTop= 1500\nWidth= 9000\nHeight= 4500") << QRect(33, 33, 600, 300)
        << QByteArray("Left= 500\nTop= 500\nWidth= 9000\nHeight= 4500");
    QTest::newRow("larger than the screens: as large as they are")
        << QByteArray("Left= 0\nTop= 0\nWidth= 99999999\nHeight= 99999999") << QRect(0, 0, 800, 800)
        << QByteArray("Left= 0\nTop= 0\nWidth= 12000\nHeight= 12000");
}

void TestStartup::windowOffEveryScreenComesUpAtTheDefaultPlace()
{
    QFETCH(QByteArray, stored);
    QFETCH(QRect, frame);
    QFETCH(QByteArray, written);
    ScopedUserDirectories dirs;
    WriteFileBytes(dirs.settingsPath(), "[SCRIBLET]\n" + stored + "\n");
    Run run;
    QTRY_COMPARE(run.window->frameGeometry(), frame);
    run.exit();
    QVERIFY(ReadFileBytes(dirs.settingsPath()).startsWith("[SCRIBLET]\n" + written + "\n"));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
