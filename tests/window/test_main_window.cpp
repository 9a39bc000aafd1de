#include "platform/accessible_windows.h"
#include "platform/classic_look.h"
#include "platform/editor_control.h"
#include "platform/help_window.h"
#include "subsystems/documents/document_open.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/editing/find_dialog.h"
#include "subsystems/options/auto_save_dialog.h"
#include "subsystems/options/elapsed_time_window.h"
#include "subsystems/options/glossary_dialog.h"
#include "subsystems/options/quick_files_dialog.h"
#include "subsystems/options/timer_beep_dialog.h"
#include "subsystems/tools/about_box.h"
#include "support/modal_answer.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"
#include "window/app_state.h"
#include "window/form5.h"
#include "window/startup.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextBrowser>
#include <QContextMenuEvent>
#include <QMenu>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

namespace {

void AnswerFindForm(const QString& typed)
{
    WhenModalShown<Form13>([typed](Form13& form) {
        form.textBox().setText(typed);
        QTest::keyClick(&form.textBox(), Qt::Key_Return);
    });
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menuBarShowsEveryCommandOnce();
    void screenReadersHearNames();
    void textStandsOutOnEverySurface_data();
    void textStandsOutOnEverySurface();
    void everyCommandTheWayAUserReachesIt_data();
    void everyCommandTheWayAUserReachesIt();
    void editShortcutsActOnceFromTheEditor();
    void otherClipboardKeysAndTheContextMenuUseTheSameCommands_data();
    void otherClipboardKeysAndTheContextMenuUseTheSameCommands();
    void ctrlYDeletesTheCaretLineInTheWindow();
    void buttonBarCaptionsAndPlaces();
    void focusReturnsToTheEditorAfterBarCommands_data();
    void focusReturnsToTheEditorAfterBarCommands();
    void snippetsFromBarMenuAndShortcut_data();
    void snippetsFromBarMenuAndShortcut();
    void findResumesAcrossALoad();
    void mouseReleaseOnTheBarDecidesHowTheStopwatchStops();
    void resizeSnapsBackToTheMinimum();
    void hidingTheBarGivesTheEditorItsSpace();
    void activationShowsTheBaseTitle();
    void titleRefreshedBehindADialogStays();
    void minimizingOnlyRefreshesTheTitle();
    void closeAsksButEndingWithoutAskingDoesNot();
    void windowControlShapesTheWindow();
    void switchingTheBarSetsItsMinimumHeight();
    void switchingTheBarOfAMaximizedWindowKeepsItsSize();
    void stopwatchFromTheBarAndTheKeyboard();

private:
    void showActive();
    Form5& window() { return *m_window; }

    std::unique_ptr<ScopedUserDirectories> m_dirs;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<Form5> m_window;
};

void TestMainWindow::init()
{
    m_dirs = std::make_unique<ScopedUserDirectories>();
    m_state = std::make_unique<AppState>();
    m_platform = std::make_unique<ScriptedPlatform>();
    m_window = RunStartup(*m_state, *m_platform, {});
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_platform.reset();
    m_state.reset();
    m_dirs.reset();
}

void TestMainWindow::showActive()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    window().editor().setFocus();
    QTRY_VERIFY(window().editor().hasFocus());
}

// The captions the user reads, separators as "-". The shortcuts are checked
// by what they do, in everyCommandTheWayAUserReachesIt.
void TestMainWindow::menuBarShowsEveryCommandOnce()
{
    const QList<QPair<QString, QStringList>> expected = {
        {"&File", {"&New", "&Open...", "&Save", "Save &As...", "-", "&Print...", "Printer Set&up...", "-", "E&xit"}},
        {"&Edit", {"&Undo", "-", "Cu&t", "&Copy", "&Paste", "&Delete", "-", "Delete &All", "&Select All", "-",
                   "&Find...", "Find &Next"}},
        {"&Options", {"&Always On Top", "Auto &Save...", "Timer Bee&p...", "&Color...", "Filename In &Title Bar",
                      "&Font...", "&Glossary/Signature...", "&Quick Files...", "Show &Button Bar"}},
        {"&Button Shortcuts",
         {"User-defined File&1", "User-defined File&2", "User-defined File&3", "Addess &File", "T&oDo File", "&Date",
          "&Time", "D&ateTime", "&Glossary1", "G&lossary2", "Glossa&ry3", "&Signature", "&Calculator",
          "&Elapsed Time", "A&uto Dialer"}},
        {"&Help", {"&Contents", "&Help On Help...", "&About Scriblet..."}},
    };
    const QList<QAction*> menus = window().menuBar()->actions();
    QCOMPARE(menus.size(), expected.size());
    QSet<QAction*> items;
    QSet<QString> shortcuts;
    for (int m = 0; m < menus.size(); ++m) {
        QCOMPARE(menus[m]->text(), expected[m].first);
        QStringList captions;
        for (QAction* item : menus[m]->menu()->actions()) {
            QVERIFY(item->isEnabled() && item->isVisible());
            captions.append(item->isSeparator() ? QStringLiteral("-") : item->text());
            if (item->isSeparator())
                continue;
            items.insert(item);
            const QString keys = item->shortcut().toString();
            QVERIFY2(keys.isEmpty() || !shortcuts.contains(keys), qPrintable(keys + " runs two items"));
            shortcuts.insert(keys);
        }
        QCOMPARE(captions, expected[m].second);
    }
    // Every command but the bar's stopwatch click has its own item; the table runs each.
    for (int i = 0; i < CommandCount; ++i) {
        const auto command = CommandId(i);
        QCOMPARE(items.contains(window().action(command)), command != CommandId::ElapsedTimeButton);
    }
    QVERIFY(window().action(CommandId::OptionsShowButtonBar)->isChecked());
    QVERIFY(!window().action(CommandId::AlwaysOnTop)->isChecked());
    QVERIFY(!window().action(CommandId::OptionsFileInTitle)->isChecked());
    for (const CommandId ticked : {CommandId::AlwaysOnTop, CommandId::OptionsFileInTitle, CommandId::OptionsShowButtonBar})
        QVERIFY(window().action(ticked)->isCheckable());
    QVERIFY(!window().action(CommandId::OptionsAutoSave)->isCheckable());
}

namespace {

const QString NoteText = QStringLiteral("alpha beta alpha\r\nsecond line");
const QString EditedText = QStringLiteral("Xalpha beta alpha\r\nsecond line"); // "beta" selected

QString Replaced(const QString& by) { return QStringLiteral("Xalpha ") + by + QStringLiteral(" alpha\r\nsecond line"); }

} // namespace

void TestMainWindow::everyCommandTheWayAUserReachesIt_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("way"); // "menu", a key sequence, or "button N"
    const QList<std::tuple<const char*, const char*, int>> rows = {
        {"FileNew", "", -1},          {"FileOpen", "Ctrl+O", -1},    {"FileSave", "Ctrl+S", -1},
        {"FileSaveAs", "", -1},       {"FileExit", "", -1},          {"FilePrint", "Ctrl+P", -1},
        {"FilePrinterSetup", "", -1},
        {"EditUndo", "Ctrl+Z", -1},   {"EditCut", "Ctrl+X", -1},     {"EditCopy", "Ctrl+C", -1},
        {"EditPaste", "Ctrl+V", -1},  {"EditDelete", "", -1},        {"EditDeleteAll", "", -1},
        {"EditSelectAll", "Ctrl+A", -1}, {"EditFind", "Ctrl+F", -1}, {"EditFindNext", "Ctrl+N", -1},
        {"UFile1", "Shift+F1", 0},    {"UFile2", "Shift+F2", 1},     {"UFile3", "Shift+F3", 2},
        {"AddressFile", "Shift+F4", 3}, {"ToDoFile", "Shift+F5", 4}, {"DateStampsDate", "Ctrl+D", 5},
        {"DateStampsTime", "Ctrl+T", 6}, {"DateStampsDateTime", "Ctrl+B", 7}, {"Gloss1", "Shift+F6", 8},
        {"Gloss2", "Shift+F7", 9},    {"Gloss3", "Shift+F8", 10},    {"Sig", "Shift+F9", 11},
        {"Calc", "Ctrl+U", 12},       {"ETime", "Ctrl+E", 13},       {"ADial", "Ctrl+L", 14},
        {"OptionsAutoSave", "", -1}, {"TimeBeep", "", -1}, {"OptionsGlossary", "", -1}, {"OptionsQuickFiles", "", -1},
        {"Contents", "F1", -1},       {"HelpOnHelp", "", -1},
    };
    for (const auto& [item, keys, button] : rows) {
        QTest::newRow(qPrintable(QStringLiteral("%1 from the menu").arg(item))) << item << "menu";
        if (*keys)
            QTest::newRow(qPrintable(QStringLiteral("%1 by %2").arg(item, keys))) << item << keys;
        if (button >= 0)
            QTest::newRow(qPrintable(QStringLiteral("%1 by its button").arg(item)))
                << item << QStringLiteral("button %1").arg(button);
    }
}

// Each command does what it is for whichever way it is reached: a menu item
// found by its name, its shortcut typed into the editor, its bar button clicked.
void TestMainWindow::everyCommandTheWayAUserReachesIt()
{
    QFETCH(QString, item);
    QFETCH(QString, way);
    const auto path = [this](const char* name) { return m_dirs->root() + u'/' + QString::fromLatin1(name); };
    for (const char* name : {"note.scb", "other.scb", "f1.scb", "f2.scb", "f3.scb"})
        WriteFileBytes(path(name), QByteArray(name).chopped(4) + "\x1a");
    WriteFileBytes(path("note.scb"), NoteText.toUtf8() + "\x1a");
    m_state->settings.File1 = path("f1.scb");
    m_state->settings.File2 = path("f2.scb");
    m_state->settings.File3 = path("f3.scb");
    m_state->settings.FileName = path("note.scb");
    DocumentContext document = window().documentContext();
    LoadStartupDocument(document);
    showActive();
    EditorControl& editor = window().editor();
    editor.setSelectionStart(0);
    editor.replaceSelection(QStringLiteral("X"));
    editor.setSelectionStart(7);
    editor.setSelectionLength(4);
    m_platform->clipboardWorks = true;
    m_platform->setClipboardText(QStringLiteral("CLIP"));
    m_platform->openFileAnswers = {path("other.scb")};
    m_platform->saveFileAnswers = {path("copy.scb")};
    m_platform->printCopiesAnswers = {1};
    m_platform->windows = {DesktopWindow{9, QStringLiteral("Phone Dialer"), false, false, 0, {"linphone"}}}; // a running dialer
    if (item == QStringLiteral("EditFind"))
        AnswerFindForm(QStringLiteral("alpha"));
    m_state->find.FindText = QStringLiteral("alpha");
    m_state->find.FindResume = 2;
    m_state->timer.StopQuietly = 0;

    auto* action = window().findChild<QAction*>(item);
    QVERIFY(action);
    const QSignalSpy triggered(action, &QAction::triggered);
    if (way == QStringLiteral("menu")) {
        action->trigger();
    } else if (way.startsWith(QStringLiteral("button "))) {
        QTest::mouseClick(&window().barButton(way.mid(7).toInt()), Qt::LeftButton);
    } else {
        QTest::keySequence(&editor, QKeySequence(way));
    }

    // A shortcut reaches its own item exactly once, also for commands still to come.
    QCOMPARE(triggered.count(), way.startsWith(QStringLiteral("button ")) ? 0 : 1);
    const QString saved = QString::fromUtf8(ReadFileBytes(path("note.scb")));
    const auto clipboard = [this] { return m_platform->clipboard; };
    const auto firstBoxShown = [this](const char* form) { // the form is loaded from the settings
        const QWidget* shown = window().findChild<QWidget*>(QString::fromLatin1(form));
        return shown && shown->isVisible() ? shown->findChild<QLineEdit*>("Text1")->text() : QStringLiteral("(none)");
    };
    const QHash<QString, std::function<void()>> effects{
        {"FileNew", [&] { QCOMPARE(editor.text(), QString()); QCOMPARE(m_state->settings.FileName, UntitledFileName); }},
        {"FileOpen", [&] { QCOMPARE(editor.text(), QStringLiteral("other")); }},
        {"FileSave", [&] { QCOMPARE(saved, EditedText + u'\x1a'); QVERIFY(!editor.isModified()); }},
        {"FileSaveAs", [&] {
             QCOMPARE(QString::fromUtf8(ReadFileBytes(path("copy.scb"))), EditedText + u'\x1a');
             QCOMPARE(m_state->settings.FileName, path("copy.scb"));
         }},
        {"FileExit", [&] { QCOMPARE(m_platform->count("exitProcess"), 1); QCOMPARE(saved, EditedText + u'\x1a'); }},
        {"FilePrint", [&] {
             QCOMPARE(m_platform->printJobs.size(), 1);
             QCOMPARE(m_platform->printJobs[0], (QList<QStringList>{EditedText.split(QStringLiteral("\r\n"))}));
         }},
        {"FilePrinterSetup", [&] { QCOMPARE(m_platform->count("setUpPrinter"), 1); }},
        {"EditUndo", [&] { QCOMPARE(editor.text(), NoteText); }},
        {"EditCut", [&] { QCOMPARE(editor.text(), Replaced({})); QCOMPARE(clipboard(), QStringLiteral("beta")); }},
        {"EditCopy", [&] { QCOMPARE(editor.text(), EditedText); QCOMPARE(clipboard(), QStringLiteral("beta")); }},
        {"EditPaste", [&] { QCOMPARE(editor.text(), Replaced(QStringLiteral("CLIP"))); }},
        {"EditDelete", [&] { QCOMPARE(editor.text(), Replaced({})); QCOMPARE(clipboard(), QStringLiteral("CLIP")); }},
        {"EditDeleteAll", [&] { QCOMPARE(editor.text(), QString()); }},
        {"EditSelectAll", [&] { QCOMPARE(editor.selectionStart(), 0); QCOMPARE(editor.selectionLength(), EditedText.size()); }},
        {"EditFind", [&] { QCOMPARE(editor.selectionStart(), 1); QCOMPARE(editor.selectionLength(), 5); }},
        {"EditFindNext", [&] { QCOMPARE(editor.selectionStart(), 12); QCOMPARE(editor.selectionLength(), 5); }},
        {"UFile1", [&] { QCOMPARE(editor.text(), QStringLiteral("f1")); QCOMPARE(saved, EditedText + u'\x1a'); }},
        {"UFile2", [&] { QCOMPARE(editor.text(), QStringLiteral("f2")); }},
        {"UFile3", [&] { QCOMPARE(editor.text(), QStringLiteral("f3")); }},
        {"AddressFile", [&] { QCOMPARE(m_state->settings.FileName, m_dirs->dataDirectory() + "/ADDRESS.SCB"); }},
        {"ToDoFile", [&] { QCOMPARE(m_state->settings.FileName, m_dirs->dataDirectory() + "/TODO.SCB"); }},
        {"DateStampsDate", [&] { QCOMPARE(editor.text(), Replaced(QStringLiteral("3/27/97 "))); }},
        {"DateStampsTime", [&] { QCOMPARE(editor.text(), Replaced(QStringLiteral("10:15:02 AM "))); }},
        {"DateStampsDateTime", [&] { QCOMPARE(editor.text(), Replaced(QStringLiteral("3/27/97 - 10:15:02 AM  "))); }},
        {"Gloss1", [&] { QCOMPARE(editor.text(), Replaced(QStringLiteral("Text For Glossary Button 1"))); }},
        {"Gloss2", [&] { QCOMPARE(editor.text(), Replaced(QStringLiteral("Text For Glossary Button 2"))); }},
        {"Gloss3", [&] { QCOMPARE(editor.text(), Replaced(QStringLiteral("Text For Glossary Button 3"))); }},
        {"Sig", [&] { QCOMPARE(editor.text(), Replaced(QStringLiteral("Text For Signature Button"))); }},
        {"Calc", [&] {
             QCOMPARE(m_platform->messages.size(), 1);
             QVERIFY(m_platform->messages[0].text.startsWith(QStringLiteral("In Order To Run The Calculator")));
         }},
        {"ADial", [&] { QCOMPARE(m_platform->typed, QStringList{QStringLiteral("beta")}); }},
        {"Contents", [&] { QCOMPARE(m_platform->count("showHelp:Contents"), 1); }},
        {"HelpOnHelp", [&] { QCOMPARE(m_platform->count("showHelp:HelpOnHelp"), 1); }},
        {"OptionsAutoSave", [&] { QCOMPARE(firstBoxShown("Form14"), QStringLiteral(" 10")); }},
        {"TimeBeep", [&] { QCOMPARE(firstBoxShown("Form15"), QStringLiteral(" 60")); }},
        {"OptionsGlossary", [&] { QCOMPARE(firstBoxShown("Form10"), QStringLiteral("Text For Glossary Button 1")); }},
        {"OptionsQuickFiles", [&] { QCOMPARE(firstBoxShown("Form11"), path("f1.scb")); }},
        {"ETime", [&] { QCOMPARE(m_state->timer.StopQuietly, -1); QCOMPARE(editor.text(), EditedText); }},
    };
    if (effects.contains(item)) {
        effects.value(item)();
        return;
    }
    // Commands still to come leave the note alone.
    QCOMPARE(editor.text(), EditedText);
    QCOMPARE(m_state->settings.FileName, path("note.scb"));
    QCOMPARE(m_platform->count("exitProcess"), 0);
}

// Each shortcut runs the window's command once; the widget's own binding of
// the same keys must not act as well.
void TestMainWindow::editShortcutsActOnceFromTheEditor()
{
    showActive();
    EditorControl& editor = window().editor();
    editor.setText(QString());
    QTest::keyClicks(&editor, QStringLiteral("abc"));
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+A")));
    QCOMPARE(editor.selectionLength(), 3);
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+C")));
    QCOMPARE(m_platform->clipboard, QStringLiteral("abc"));
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+V")));
    QCOMPARE(editor.text(), QStringLiteral("abc"));
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+V")));
    QCOMPARE(editor.text(), QStringLiteral("abcabc"));
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(editor.text(), QStringLiteral("abc"));
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+A")));
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+X")));
    QCOMPARE(editor.text(), QString());
    QVERIFY(editor.isModified());
}

void TestMainWindow::otherClipboardKeysAndTheContextMenuUseTheSameCommands_data()
{
    QTest::addColumn<QString>("way"); // a key sequence, or "menu " and the context menu action's name
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("Shift+Del cuts") << "Shift+Del" << "one " << "two";
    QTest::newRow("Ctrl+Ins copies") << "Ctrl+Ins" << "one two" << "two";
    QTest::newRow("Shift+Ins pastes") << "Shift+Ins" << "one CLIP" << "CLIP";
    QTest::newRow("context menu Cut") << "menu edit-cut" << "one " << "two";
    QTest::newRow("context menu Copy") << "menu edit-copy" << "one two" << "two";
    QTest::newRow("context menu Paste") << "menu edit-paste" << "one CLIP" << "CLIP";
}

// Every way to the clipboard goes through the platform's clipboard, so a
// clipboard that refuses text never loses a cut.
void TestMainWindow::otherClipboardKeysAndTheContextMenuUseTheSameCommands()
{
    QFETCH(QString, way);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    showActive();
    EditorControl& editor = window().editor();
    editor.setText(QStringLiteral("one two"));
    editor.setSelectionStart(4);
    editor.setSelectionLength(3);
    m_platform->clipboard = QStringLiteral("CLIP");
    if (way.startsWith(QStringLiteral("menu "))) {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), editor.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&editor, &event);
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        auto* item = menu->findChild<QAction*>(way.mid(5));
        QVERIFY(item);
        // The menu greys Paste by the application's clipboard, which the scripted platform leaves empty.
        item->setEnabled(true);
        item->trigger();
        menu->close();
    } else {
        QTest::keySequence(&editor, QKeySequence(way));
    }
    QCOMPARE(editor.text(), text);
    QCOMPARE(m_platform->clipboard, clipboard);
}

void TestMainWindow::ctrlYDeletesTheCaretLineInTheWindow()
{
    showActive();
    EditorControl& editor = window().editor();
    editor.setText(QStringLiteral("one\r\ntwo\r\nthree"));
    editor.setSelectionStart(6);
    QTest::keyClick(&editor, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(editor.text(), QStringLiteral("one\r\nthree"));
    QTest::keyClick(&editor, Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor.text(), QStringLiteral("one\r\nthree"));
}

void TestMainWindow::buttonBarCaptionsAndPlaces()
{
    const QStringList captions{"F1", "F2", "F3", "A", "TD", "D", "T", "DT", "G1", "G2", "G3", "S", "#", "ET", "AD"};
    for (int i = 0; i < captions.size(); ++i) {
        const QPushButton& button = window().barButton(i);
        QCOMPARE(button.text(), captions[i]);
        // 420 twips apart, 435 x 315 twips: neighbours overlap by one pixel at 96 DPI.
        QCOMPARE(button.geometry(), QRect(28 * i, 0, 29, 21));
        QVERIFY(button.font().bold());
    }
    QCOMPARE(window().editor().y(), 24);
}

void TestMainWindow::focusReturnsToTheEditorAfterBarCommands_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("editorGetsFocus");
    for (int i = 0; i < 15; ++i)
        QTest::newRow(qPrintable(QStringLiteral("button %1").arg(i))) << i << (i != 12 && i != 14);
}

void TestMainWindow::focusReturnsToTheEditorAfterBarCommands()
{
    QFETCH(int, index);
    QFETCH(bool, editorGetsFocus);
    showActive();
    QPushButton& button = window().barButton(index);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(window().editor().hasFocus(), editorGetsFocus);
}

void TestMainWindow::snippetsFromBarMenuAndShortcut_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    const QList<std::tuple<int, const char*, const char*, const char*>> rows = {
        {5, "DateStampsDate", "Ctrl+D", "3/27/97 "},
        {6, "DateStampsTime", "Ctrl+T", "10:15:02 AM "},
        {7, "DateStampsDateTime", "Ctrl+B", "3/27/97 - 10:15:02 AM  "},
        {8, "Gloss1", "Shift+F6", "first"},
        {9, "Gloss2", "Shift+F7", ""},
        {10, "Gloss3", "Shift+F8", " third "},
        {11, "Sig", "Shift+F9", "Ann"},
    };
    for (const auto& [index, item, keys, text] : rows) {
        for (const char* way : {"button", item, keys})
            QTest::newRow(qPrintable(QStringLiteral("%1 by %2").arg(index).arg(QString::fromLatin1(way))))
                << index << QString::fromLatin1(way) << QString::fromLatin1(text);
    }
}

// Every insertion command puts its exact text over the selection, leaves it
// on the clipboard and gives the focus back to the editor.
void TestMainWindow::snippetsFromBarMenuAndShortcut()
{
    QFETCH(int, index);
    QFETCH(QString, way);
    QFETCH(QString, text);
    m_state->settings.Glossary1 = QStringLiteral("first");
    m_state->settings.Glossary2 = QString();
    m_state->settings.Glossary3 = QStringLiteral(" third ");
    m_state->settings.Signature = QStringLiteral("Ann");
    showActive();
    EditorControl& editor = window().editor();
    editor.setText(QStringLiteral("[SEL]"));
    editor.setSelectionStart(1);
    editor.setSelectionLength(3);
    if (way == QStringLiteral("button")) {
        QTest::mouseClick(&window().barButton(index), Qt::LeftButton);
    } else if (auto* item = window().findChild<QAction*>(way)) {
        window().barButton(0).setFocus();
        item->trigger();
    } else {
        QTest::keySequence(&editor, QKeySequence(way));
    }
    // An empty text inserts nothing and leaves the selection alone.
    const QString once = text.isEmpty() ? QStringLiteral("[SEL]") : QStringLiteral("[") + text + QStringLiteral("]");
    QCOMPARE(editor.text(), once);
    QVERIFY(editor.hasFocus());
    QCOMPARE(m_platform->clipboard, text);
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+V")));
    QCOMPARE(editor.text(), text.isEmpty() ? once : QStringLiteral("[") + text + text + QStringLiteral("]"));
}

// Loading another note keeps where Find Next goes on.
void TestMainWindow::findResumesAcrossALoad()
{
    showActive();
    const QString other = m_dirs->root() + QStringLiteral("/other.scb");
    WriteFileBytes(other, "abc abc abc");
    EditorControl& editor = window().editor();
    editor.setText(QStringLiteral("xx abc"));
    AnswerFindForm(QStringLiteral("abc"));
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+F")));
    QCOMPARE(editor.selectionStart(), 3);
    showActive(); // the offscreen platform gives the activation back to nobody when the Find form goes
    m_platform->openFileAnswers = {other};
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(editor.text(), QStringLiteral("abc abc abc"));
    QTest::keySequence(&editor, QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(editor.selectionStart(), 8);
    QCOMPARE(editor.selectionLength(), 3);
}

// Any mouse button but the left stops the stopwatch with the time pasted; a
// right click leaves the keyboard with the note.
void TestMainWindow::mouseReleaseOnTheBarDecidesHowTheStopwatchStops()
{
    showActive();
    EditorControl& editor = window().editor();
    editor.setText(QStringLiteral("note "));
    editor.setSelectionStart(5);
    QPushButton& et = window().barButton(13);
    QTest::mouseClick(&et, Qt::RightButton);
    QCOMPARE(m_state->timer.ElapsedRunning, 1);
    QCOMPARE(window().focusWidget(), &editor);
    m_platform->passTime(5000);
    QCOMPARE(m_state->timer.ElapsedSeconds, 5);
    QTest::mouseClick(&et, Qt::RightButton);
    QCOMPARE(m_state->timer.ElapsedRunning, 0);
    QCOMPARE(editor.text(), QStringLiteral("note Elapsed Time Was 00:00:05"));
    QCOMPARE(m_platform->clipboard, QStringLiteral("Elapsed Time Was 00:00:05"));
    QTest::mouseClick(&window().barButton(5), Qt::RightButton);
    QCOMPARE(window().focusWidget(), &editor);
    QCOMPARE(m_state->timer.StopQuietly, 0);
    window().action(CommandId::ElapsedTimeMenu)->trigger();
    window().action(CommandId::ElapsedTimeMenu)->trigger();
    QCOMPARE(m_state->timer.StopQuietly, -1);
    QCOMPARE(editor.text(), QStringLiteral("note Elapsed Time Was 00:00:05"));
}

void TestMainWindow::resizeSnapsBackToTheMinimum()
{
    window().resize(200, 60);
    QTRY_COMPARE(window().frameGeometry().size(), QSize(434, 136));
    const QRect editor = window().editor().geometry();
    QCOMPARE(editor.top(), 24);
    QCOMPARE(editor.width(), window().centralWidget()->width());
    QCOMPARE(editor.bottom(), window().centralWidget()->height() - 1);
    window().resize(600, 400);
    QTRY_COMPARE(window().editor().width(), 600);
}

void TestMainWindow::hidingTheBarGivesTheEditorItsSpace()
{
    window().resize(600, 400);
    QTRY_COMPARE(window().width(), 600);
    const int heightWithBar = window().editor().height();
    m_state->settings.ButtonBar = 0;
    window().setButtonBarShown(false);
    QCOMPARE(window().editor().y(), 0);
    QCOMPARE(window().editor().height(), heightWithBar + 24);
    QVERIFY(!window().barButton(7).isVisible());

    window().resize(434, 50);
    QTRY_COMPARE(window().frameGeometry().height(), 112); // 1680 twips without the bar
}

void TestMainWindow::activationShowsTheBaseTitle()
{
    m_state->settings.FileInTitle = 1;
    m_state->settings.FileName = QStringLiteral("/notes/MEMO.SCB");
    window().LayoutMainWindow();
    QCOMPARE(window().windowTitle(), QStringLiteral("MEMO.SCB"));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    showActive();
    QCOMPARE(window().windowTitle(), QStringLiteral("Scriblet32 v2.0"));
}

// A command that loads or saves behind a dialog puts the name back after the
// base title; switching to another program and back changes nothing.
void TestMainWindow::titleRefreshedBehindADialogStays()
{
    showActive();
    m_state->settings.FileInTitle = 1;
    m_state->settings.FileName = QStringLiteral("/notes/MEMO.SCB");
    QWidget dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(window().windowTitle(), QStringLiteral("Scriblet32 v2.0"));
    UpdateTitle(m_state->settings, window());
    showActive();
    QCOMPARE(window().windowTitle(), QStringLiteral("MEMO.SCB"));

    QWindow elsewhere; // no widget of the program's: stands for another program
    elsewhere.show();
    elsewhere.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QTRY_VERIFY(!window().isActiveWindow());
    showActive();
    QCOMPARE(window().windowTitle(), QStringLiteral("MEMO.SCB"));
}

void TestMainWindow::minimizingOnlyRefreshesTheTitle()
{
    m_state->settings.FileInTitle = 1;
    m_state->settings.FileName = QStringLiteral("PQRSTUVW.XYZ");
    const QRect editorBefore = window().editor().geometry();
    window().showMinimized();
    QTRY_VERIFY(window().isMinimized());
    QCOMPARE(window().windowTitle(), QStringLiteral("UNNAMED.SCB"));
    QCOMPARE(window().editor().geometry(), editorBefore);
}

// The normal close asks about unsaved text; the close that nobody can answer
// (a shutdown signal) must not wait on a question, and still writes the settings.
void TestMainWindow::closeAsksButEndingWithoutAskingDoesNot()
{
    showActive();
    EditorControl& editor = window().editor();
    editor.replaceSelection(QStringLiteral("unsaved"));
    m_platform->messageAnswers = {MessageAnswer::Cancel};
    window().requestClose();
    QCOMPARE(m_platform->count("showMessage"), 1);
    QCOMPARE(m_platform->count("exitProcess"), 0);
    QVERIFY(!QFile::exists(m_state->SettingsPath));

    window().endWithoutAsking();
    QCOMPARE(m_platform->count("showMessage"), 1);
    QCOMPARE(m_platform->count("exitProcess"), 1);
    QVERIFY(ReadFileBytes(m_state->SettingsPath).contains("FileName="));
}

void TestMainWindow::windowControlShapesTheWindow()
{
    showActive();
    window().setOuterHeight(3000);
    QTRY_COMPARE(window().frameGeometry().height(), 200);
    window().setOuterHeight(1000); // below the minimum with the bar shown
    QTRY_COMPARE(window().frameGeometry().height(), 136);
    window().setAlwaysOnTop(true);
    QVERIFY(window().windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(window().isVisible());
    window().setAlwaysOnTop(false);
    QVERIFY(!(window().windowFlags() & Qt::WindowStaysOnTopHint));
    window().setTitle(QStringLiteral("NOTE.SCB"));
    QCOMPARE(window().windowTitle(), QStringLiteral("NOTE.SCB"));
}

// Whatever the height was before: 1680 twips without the bar, 2040 with it.
void TestMainWindow::switchingTheBarSetsItsMinimumHeight()
{
    showActive();
    window().resize(600, 300);
    QTRY_COMPARE(window().width(), 600);
    const int width = window().frameGeometry().width();
    QAction* bar = window().action(CommandId::OptionsShowButtonBar);
    bar->trigger();
    QTRY_COMPARE(window().frameGeometry().height(), 112);
    QCOMPARE(window().editor().y(), 0);
    QVERIFY(!bar->isChecked());
    bar->trigger();
    QTRY_COMPARE(window().frameGeometry().height(), 136);
    QVERIFY(bar->isChecked());
    QVERIFY(window().barButton(14).isVisible());
    QCOMPARE(window().frameGeometry().width(), width);
}

void TestMainWindow::switchingTheBarOfAMaximizedWindowKeepsItsSize()
{
    window().showMaximized();
    QTRY_VERIFY(window().isMaximized());
    QTest::qWait(100);
    const QSize size = window().size();
    window().action(CommandId::OptionsShowButtonBar)->trigger();
    QVERIFY(!window().barButton(0).isVisible());
    QTest::qWait(50);
    QVERIFY(window().isMaximized());
    QCOMPARE(window().size(), size);
}

namespace {

QString SpokenName(QObject* object) { return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name); }

} // namespace

// The bar button starts and stops the stopwatch on a mouse button's release;
// the space bar on the focused button does not, the Menu key and Shift+F10
// do what a right click does. A screen reader hears no blinking.
void TestMainWindow::stopwatchFromTheBarAndTheKeyboard()
{
    showActive();
    const QString note = window().editor().text();
    QPushButton& et = window().barButton(13);
    // Tab stays in the note; Ctrl+Tab and Ctrl+Shift+Tab leave it for the bar.
    QTest::keyClick(&window().editor(), Qt::Key_Tab);
    QTest::keyClick(&window().editor(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), &window().barButton(0));
    QTest::keyClick(&window().barButton(0), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), &window().editor());
    QTest::keyClick(&window().editor(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), &window().barButton(14));
    QTest::keyClick(&window().barButton(14), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), &et);
    QCOMPARE(window().editor().text(), QStringLiteral("\t") + note);
    window().editor().setText(note);
    QTest::keyClick(&et, Qt::Key_Space);
    QCOMPARE(m_state->timer.ElapsedRunning, 0);
    QVERIFY(window().editor().hasFocus());
    QTest::mouseClick(&et, Qt::LeftButton);
    QCOMPARE(m_state->timer.ElapsedRunning, 1);
    QTRY_VERIFY(window().findChild<QWidget*>(QStringLiteral("Form12")));
    m_platform->passTime(1000);
    QCOMPARE(window().stopwatchCaption(), QStringLiteral("T"));
    m_platform->passTime(1000);
    QCOMPARE(window().stopwatchCaption(), QStringLiteral("E"));
    // Qt tells assistive technology of every change of a button's text.
    QCOMPARE(et.text(), QStringLiteral("ET"));
    QCOMPARE(SpokenName(&et), QStringLiteral("Elapsed Time"));
    showActive(); // the offscreen platform activates every window it shows
    QTest::keySequence(&window().editor(), QKeySequence(QStringLiteral("Ctrl+E")));
    QCOMPARE(m_state->timer.ElapsedRunning, 0);
    QCOMPARE(window().stopwatchCaption(), QStringLiteral("ET"));
    QCOMPARE(window().editor().text(), note);
    QTest::keyClick(&et, Qt::Key_Menu);
    QCOMPARE(m_state->timer.ElapsedRunning, 1);
    m_platform->passTime(5000);
    QCOMPARE(m_state->timer.ElapsedSeconds, 5);
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&et, &held);
    // Unmarked repeats: a release and a press at one moment (X11), or together without one (a screen reader's bridge).
    for (int i = 0; const quint64 time : {5001, 5001, 5002, 5002, 0, 0}) {
        QKeyEvent repeat(i++ % 2 ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Menu, Qt::NoModifier);
        repeat.setTimestamp(time);
        QApplication::sendEvent(&et, &repeat);
    }
    QCOMPARE(m_state->timer.ElapsedRunning, 1);
    m_platform->passTime(30);
    QTest::keyClick(&et, Qt::Key_Menu); // a press of its own
    QCOMPARE(window().editor().text(), QStringLiteral("Elapsed Time Was 00:00:05") + note);
    QTest::keyClick(&et, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(m_state->timer.ElapsedRunning, 1);
}

// Every bar button is called what its menu item is called, says what it does
// and shows its shortcut; the dialogs' fields are named by what they hold.
void TestMainWindow::screenReadersHearNames()
{
    const QStringList bar{"User-defined File1", "User-defined File2", "User-defined File3", "Addess File", "ToDo File",
                          "Date", "Time", "DateTime", "Glossary1", "Glossary2", "Glossary3", "Signature", "Calculator",
                          "Elapsed Time", "Auto Dialer"};
    for (int i = 0; i < bar.size(); ++i) {
        QPushButton& button = window().barButton(i);
        QCOMPARE(SpokenName(&button), bar[i]);
        QVERIFY(!QAccessible::queryAccessibleInterface(&button)->text(QAccessible::Description).isEmpty());
        QVERIFY2(button.toolTip().startsWith(bar[i] + QStringLiteral(" (")), qPrintable(button.toolTip()));
    }
    QCOMPARE(window().barButton(14).toolTip(), QStringLiteral("Auto Dialer (Ctrl+L)"));
    QCOMPARE(SpokenName(&window().editor()), QStringLiteral("SCRBLT20.SCB"));
    window().action(CommandId::FileNew)->trigger();
    QCOMPARE(SpokenName(&window().editor()), QStringLiteral("UNNAMED.SCB"));
    QStringList fields;
    Form10 glossary;
    Form11 files;
    Form14 autoSave;
    Form15 beep;
    Form13 find;
    for (const QWidget* form : QList<QWidget*>{&glossary, &files, &autoSave, &beep, &find})
        for (QWidget* field : form->findChildren<QWidget*>())
            if (qobject_cast<QLineEdit*>(field) || field->objectName().startsWith(QStringLiteral("Command3")))
                fields.append(SpokenName(field));
    QCOMPARE(fields, (QStringList{"Glossary 1", "Glossary 2", "Glossary 3", "Signature", "F1 File", "Browse For F1 File",
                                  "F2 File", "Browse For F2 File", "F3 File", "Browse For F3 File", "Auto Save Minutes",
                                  "Beep Seconds", "Find What"}));
    AnnounceOwnWindowsAsWindows();
    window().action(CommandId::ElapsedTimeMenu)->trigger();
    QWidget* stopwatch = window().findChild<QWidget*>(QStringLiteral("Form12"));
    QCOMPARE(QAccessible::queryAccessibleInterface(stopwatch)->role(), QAccessible::Window);
    window().action(CommandId::ElapsedTimeMenu)->trigger();
}

// Of the widget's pixels in the area (all when none): the most contrasting against the most common.
static double DrawnContrast(QWidget& widget, const QRect& area)
{
    const QImage image = widget.grab(area.isValid() ? area : widget.rect()).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const QColor background(std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                             [](const auto& a, const auto& b) { return a.second < b.second; })->first);
    double most = 1;
    for (auto it = counts.keyBegin(); it != counts.keyEnd(); ++it)
        most = std::max(most, ContrastRatio(background, QColor(*it)));
    return most;
}

void TestMainWindow::textStandsOutOnEverySurface_data()
{
    QTest::addColumn<bool>("darkTheme"); // white text on dark grey
    QTest::addColumn<QColor>("backColor"); // the note's background
    QTest::newRow("dark theme, white note") << true << QColor(Qt::white);
    QTest::newRow("dark theme, dark note") << true << QColor(0x12, 0x34, 0x56);
    QTest::newRow("light theme, black note") << false << QColor(Qt::black);
}

// Readable on a dark desktop theme as on a light one, measured on the pixels drawn.
void TestMainWindow::textStandsOutOnEverySurface()
{
    QFETCH(bool, darkTheme);
    QFETCH(QColor, backColor);
    const QPalette light = QApplication::style()->standardPalette();
    QPalette theme = light;
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        theme.setColor(role, darkTheme ? QColor(48, 48, 48) : light.color(role));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        theme.setColor(role, darkTheme ? QColor(Qt::white) : light.color(role));
    QApplication::setPalette(theme);
    const auto restore = qScopeGuard([light] { QApplication::setPalette(light); });
    window().editor().setPlainText(QStringLiteral("Some words of a note"));
    window().editor().setBackColor(0, backColor);
    QList<std::pair<QWidget*, QRect>> surfaces{{window().editor().viewport(), {}}, {window().menuBar(), {}}};
    // A page of plain text, heading and link in the help's own style sheet.
    QTemporaryDir pages;
    QFile::copy(QFINDTESTDATA("../../resources/help/help.css"), pages.filePath(QStringLiteral("help.css")));
    WriteFileBytes(pages.filePath(QStringLiteral("page.html")),
                   "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\"></head>"
                   "<body><h1>Heading</h1><p>Words and <a href=\"x.html\">a link</a></p></body></html>");
    HelpWindow help(pages.path());
    help.showPage(QStringLiteral("page.html"));
    surfaces.emplaceBack(help.browser().viewport(), QRect());
    Form4 about;
    Form13 find;
    Form12 stopwatch;
    stopwatch.showTime(QStringLiteral("00:01:02"));
    Form14 autoSave;
    Form15 timerBeep;
    Form10 glossary;
    Form11 files;
    for (QWidget* form : QList<QWidget*>{&about, &find, &stopwatch, &autoSave, &timerBeep, &glossary, &files})
        for (QWidget* part : form->findChildren<QWidget*>()) {
            // Only the captions: a check box's box and a picture follow the theme.
            if (auto* box = qobject_cast<QCheckBox*>(part)) {
                QStyleOptionButton option;
                option.initFrom(box);
                option.text = box->text();
                surfaces.emplaceBack(box, box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box));
            } else if (auto* label = qobject_cast<QLabel*>(part); label && label->pixmap().isNull()) {
                surfaces.emplaceBack(label, QRect());
            }
        }
    for (const auto& [surface, area] : surfaces)
        QVERIFY2(DrawnContrast(*surface, area) >= 4.5,
                 qPrintable(surface->window()->objectName() + u' ' + surface->objectName()));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
