#include "platform/editor_control.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_follower.h"
#include "subsystems/documents/quick_files.h"
#include "subsystems/documents/recovery_keeper.h"
#include "subsystems/documents/recovery_offer.h"
#include "subsystems/documents/recovery_store.h"
#include "subsystems/documents/save_changes.h"
#include "support/recording_window.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

// What another program does to the note while it is open. A note with a
// second name is written in place, and its last look comes after the copy.
enum class Change { None, Touched, InPlace, Renamed, Deleted, DuringSave, DuringInPlaceSave };
// How the note comes to be saved.
enum class Route { Save, SaveAsOwnName, QuickFile, NewAfterYes, AutoSave };

// The note files on disk, with a watch the test notifies and a hook at the
// last look before the note is replaced.
struct WatchedDisk : NoteStorage
{
    bool notifies = true;
    std::function<void()> notify;
    std::function<void()> duringSave;
    int looks = 0;

    std::unique_ptr<NoteWatch> watch(const QString&, std::function<void()> changed) override
    {
        notify = std::move(changed);
        return notifies ? std::make_unique<NoteWatch>() : nullptr;
    }
    // The first look is the save's own, before the new file is made; the second the storage's.
    int stepFailure(SaveStep step) override
    {
        if (step == SaveStep::Check && ++looks == 2 && duringSave)
            duringSave();
        return 0;
    }
};

const QByteArray Theirs = "theirs\x1a";
const QByteArray Mine = "mine old\x1a";
const QString Changed = QStringLiteral("File Changed On Disk");

struct Rig
{
    Rig()
    {
        settings.FileInTitle = 1;
        document.ProgramDirectory = dir.path();
        WriteFileBytes(note, "old\x1a");
        WriteFileBytes(quick, "quick");
        context.follower = &follower;
        ReadNoteFile(context, note, false);
    }
    void change(Change change)
    {
        QFile file(note);
        if (change == Change::Touched)
            QVERIFY(file.open(QIODevice::ReadOnly)
                    && file.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        else if (change == Change::InPlace)
            WriteFileBytes(note, Theirs);
        else if (change == Change::Renamed)
            WriteFileBytes(note + ".part", Theirs), std::rename(qPrintable(note + ".part"), qPrintable(note));
        else if (change == Change::Deleted)
            QFile::remove(note);
        else if (change == Change::DuringInPlaceSave)
            ::link(qPrintable(note), qPrintable(dir.filePath("second-name")));
        if (change == Change::DuringSave || change == Change::DuringInPlaceSave)
            storage.duringSave = [this] { WriteFileBytes(note, Theirs); };
        else if (storage.notifies && change != Change::None) {
            storage.notify();
            platform.passTime(NoteFollower::GatherMilliseconds);
        }
    }
    QStringList titles() const
    {
        QStringList shown;
        std::transform(platform.messages.cbegin(), platform.messages.cend(), std::back_inserter(shown),
                       [](const MessageBoxRequest& message) { return message.title; });
        return shown;
    }

    QTemporaryDir dir;
    QString note = dir.filePath("n.scb");
    QString quick = dir.filePath("quick.scb");
    QString other = dir.filePath("other.scb");
    Settings settings;
    DocumentState document;
    ScriptedPlatform platform;
    EditorControl editor;
    RecordingWindow window;
    WatchedDisk storage;
    DocumentContext context{settings, document, platform, editor, window, storage};
    NoteFollower follower{context};
};

QByteArray OnDisk(const QString& path) { return QFile::exists(path) ? ReadFileBytes(path) : "(missing)"; }

} // namespace

class TestDiskChanges : public QObject
{
    Q_OBJECT

private slots:
    void noteChangedElsewhereIsNeverOverwrittenUnasked_data();
    void noteChangedElsewhereIsNeverOverwrittenUnasked();
    void unEditedNoteFollowsTheDisk();
    void autoSaveTellsOnceAfterAQuietSpell();
    void restoredTextOverANoteChangedSinceAsks();
    void watchSeesWritesRenamesAndLinks();
};

void TestDiskChanges::noteChangedElsewhereIsNeverOverwrittenUnasked_data()
{
    QTest::addColumn<Route>("route");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<Change>("change");
    QTest::addColumn<MessageAnswer>("answer"); // No: Save As to other.scb, or its dialog cancelled
    QTest::addColumn<QByteArray>("disk");      // the note afterwards
    QTest::addColumn<QByteArray>("saveAs");    // other.scb afterwards
    QTest::addColumn<QStringList>("titles");   // the messages shown
    QTest::addColumn<QString>("shown");        // the editor's text afterwards
    QTest::addColumn<bool>("wentOn");          // saved; or the quick file or New carried out

    using R = Route;
    using C = Change;
    using A = MessageAnswer;
    const QByteArray none = "(missing)";
    const QStringList asked{Changed}, newAsked{"File Has Changed", Changed};
    const auto row = [](const char* name, Route route, bool edited, Change change, MessageAnswer answer,
                        const QByteArray& disk, const QByteArray& saveAs, const QStringList& titles,
                        const QString& shown, bool wentOn) {
        QTest::newRow(name) << route << edited << change << answer << disk << saveAs << titles << shown << wentOn;
    };
    row("save, deleted: written again", R::Save, true, C::Deleted, A::Ok, Mine, none, {}, "mine old", true);
    row("save, in place, Yes", R::Save, true, C::InPlace, A::Yes, Mine, none, asked, "mine old", true);
    row("save, renamed, No", R::Save, true, C::Renamed, A::No, Theirs, Mine, asked, "mine old", true);
    row("save, in place, Cancel", R::Save, true, C::InPlace, A::Cancel, Theirs, none, asked, "mine old", false);
    row("save, during the save, Yes", R::Save, true, C::DuringSave, A::Yes, Mine, none, asked, "mine old", true);
    row("save, during the save, Cancel", R::Save, true, C::DuringSave, A::Cancel, Theirs, none, asked, "mine old", false);
    row("save, during an in-place save, Cancel", R::Save, true, C::DuringInPlaceSave, A::Cancel, Theirs, none, asked, "mine old", false);
    row("save as own name, unchanged", R::SaveAsOwnName, true, C::None, A::Yes, Mine, none, {"File Already Exists"}, "mine old", true);
    row("save as own name, in place, Yes", R::SaveAsOwnName, true, C::InPlace, A::Yes, Mine, none, asked, "mine old", true);
    row("save as own name, in place, No", R::SaveAsOwnName, true, C::InPlace, A::No, Theirs, none, asked, "mine old", false);
    row("quick file, unedited, in place", R::QuickFile, false, C::InPlace, A::Ok, Theirs, none, {}, "quick", true);
    row("quick file, renamed, Cancel", R::QuickFile, true, C::Renamed, A::Cancel, Theirs, none, asked, "mine old", false);
    row("quick file, in place, No", R::QuickFile, true, C::InPlace, A::No, Theirs, Mine, asked, "quick", true);
    row("new, in place, Yes", R::NewAfterYes, true, C::InPlace, A::Yes, Mine, none, newAsked, "", true);
    row("new, in place, Cancel", R::NewAfterYes, true, C::InPlace, A::Cancel, Theirs, none, newAsked, "mine old", false);
    row("auto save, in place: skipped, told", R::AutoSave, true, C::InPlace, A::Ok, Theirs, none, asked, "mine old", false);
    row("auto save, during the save: skipped", R::AutoSave, true, C::DuringSave, A::Ok, Theirs, none, asked, "mine old", false);
    row("auto save, deleted: written again", R::AutoSave, true, C::Deleted, A::Ok, Mine, none, {}, "mine old", true);
    row("auto save, unedited, touched", R::AutoSave, false, C::Touched, A::Ok, "old\x1a", none, {}, "old", true);
    row("auto save, unedited, in place: read", R::AutoSave, false, C::InPlace, A::Ok, Theirs, none, {}, "theirs", true);
    row("auto save, unedited, deleted: not made again", R::AutoSave, false, C::Deleted, A::Ok, none, none, {}, "old", true);
}

// Each row with notifications of the change, and without any (a network
// mount, or no inotify): the outcome is the same.
void TestDiskChanges::noteChangedElsewhereIsNeverOverwrittenUnasked()
{
    QFETCH(Route, route);
    QFETCH(bool, edited);
    QFETCH(Change, change);
    QFETCH(MessageAnswer, answer);
    QFETCH(QByteArray, disk);
    for (const bool notified : {true, false}) {
        Rig rig;
        rig.storage.notifies = notified;
        if (edited)
            QTest::keyClicks(&rig.editor, "mine ");
        rig.change(change);
        const NoteIdentity beforeSave = rig.storage.look(rig.note);
        rig.platform.messageAnswers = {answer};
        rig.platform.saveFileAnswers = {route == Route::SaveAsOwnName ? rig.note : rig.other};
        switch (route) {
        case Route::Save: FileSave(rig.context); break;
        case Route::SaveAsOwnName: FileSaveAs(rig.context); break;
        case Route::QuickFile: LoadQuickFile(rig.context, rig.quick); break;
        case Route::NewAfterYes:
            rig.platform.messageAnswers.prepend(MessageAnswer::Yes);
            FileNew(rig.context);
            break;
        case Route::AutoSave:
            AutoSaveDocument(rig.context);
            rig.platform.passTime(NoteFollower::QuietMilliseconds);
            break;
        }
        QTEST(OnDisk(rig.note), "disk");
        QTEST(OnDisk(rig.other), "saveAs");
        QTEST(rig.titles(), "titles");
        QTEST(rig.editor.text(), "shown");
        const QString wentTo = route == Route::QuickFile ? rig.quick : route == Route::NewAfterYes ? UntitledFileName : QString();
        QTEST(wentTo.isEmpty() ? !rig.editor.isModified() : rig.settings.FileName == wentTo, "wentOn");
        if (disk != Mine && !rig.storage.duringSave) // never written: the file untouched
            QCOMPARE(rig.storage.look(rig.note), beforeSave);
        // Idle afterwards: nothing waits to wake the program; nothing the save made is left beside the note.
        QVERIFY(std::none_of(rig.platform.timers.cbegin(), rig.platform.timers.cend(),
                             [](const ScriptedTimer* timer) { return timer->isActive(); }));
        QVERIFY(QDir(rig.dir.path()).entryList(QDir::Hidden | QDir::Files).filter("scriblet").isEmpty());
    }
}

// An unedited note shows what is on disk: the caret and the first line shown
// stay as far as the new text reaches; a file it cannot show now is left
// alone, and the next save asks.
void TestDiskChanges::unEditedNoteFollowsTheDisk()
{
    Rig rig;
    const auto written = [&rig](const QByteArray& bytes) {
        WriteFileBytes(rig.note, bytes);
        rig.storage.notify();
        rig.platform.passTime(NoteFollower::GatherMilliseconds);
    };
    rig.editor.setSelectionStart(2);
    WriteFileBytes(rig.note, "half"); // written in pieces: each one starts the wait again
    for (const int wait : {150, 100}) {
        rig.storage.notify();
        rig.platform.passTime(wait);
    }
    QCOMPARE(rig.editor.text(), QStringLiteral("old"));
    rig.platform.modalOpen = true; // a command waits on a dialog: not now
    written("new\r\ntext\x1a");
    QCOMPARE(rig.editor.text(), QStringLiteral("old"));
    rig.platform.modalOpen = false;
    QEvent activated(QEvent::WindowActivate); // the window is back
    QCoreApplication::sendEvent(&rig.editor, &activated);
    QCOMPARE(rig.editor.text(), QStringLiteral("new\r\ntext"));
    QCOMPARE(rig.editor.selectionStart(), 2);
    QVERIFY(!rig.editor.isModified());
    QVERIFY(!rig.editor.document()->isUndoAvailable());
    QCOMPARE(rig.window.shownTitle, QStringLiteral("n.scb"));
    rig.editor.setSelectionStart(9); // the end of the second line: it keeps its line, not its offset
    written("a longer first line\r\nxy\r\nz");
    QCOMPARE(rig.editor.selectionStart(), 21 + 2);

    written(QByteArray());
    written(QByteArray(NoteFileSizeLimit + 1, 'x'));
    QCOMPARE(rig.editor.text(), QStringLiteral("a longer first line\r\nxy\r\nz"));
    FileSave(rig.context);
    QCOMPARE(rig.titles(), QStringList{Changed});
    QCOMPARE(OnDisk(rig.note).size(), NoteFileSizeLimit + 1);
}

void TestDiskChanges::autoSaveTellsOnceAfterAQuietSpell()
{
    Rig rig;
    QTest::keyClicks(&rig.editor, "mine ");
    rig.change(Change::InPlace);
    AutoSaveDocument(rig.context);
    rig.platform.passTime(1500);
    QTest::keyClick(&rig.editor, Qt::Key_Right); // the quiet spell starts again
    rig.platform.passTime(1500);
    QVERIFY(rig.platform.messages.isEmpty());
    rig.platform.passTime(500);
    QCOMPARE(rig.platform.messages.size(), 1);
    QCOMPARE(rig.platform.messages.last().icon, MessageIcon::Information);
    QCOMPARE(rig.platform.messages.last().text, "File " + rig.note + " Was Changed By Another Program, So Auto Save "
                                                "Did Not Replace It.  File > Save Will Ask What To Do.");
    AutoSaveDocument(rig.context);
    rig.platform.passTime(5000);
    QCOMPARE(rig.platform.messages.size(), 1); // later moments skip in silence

    rig.platform.messageAnswers = {MessageAnswer::Yes};
    FileSave(rig.context); // decided: the next change is told again, unless a save asks first
    QTest::keyClicks(&rig.editor, "more ");
    rig.change(Change::InPlace);
    AutoSaveDocument(rig.context);
    FileSave(rig.context);
    rig.platform.passTime(5000);
    QCOMPARE(rig.titles(), QStringList(3, Changed));
    QCOMPARE(rig.platform.messages.last().defaultAnswer, MessageAnswer::Cancel);
}

void TestDiskChanges::restoredTextOverANoteChangedSinceAsks()
{
    Rig rig;
    const RecoveryDirectories folders{rig.dir.filePath("state"), {}, {}};
    RecoveryStore(folders, rig.storage)
        .keep({rig.note, TextEncoding::Utf8, rig.platform.now, "restored", NoteFingerprint("old\x1a")});
    RecoveryStore store(folders, rig.storage);
    RecoveryKeeper keeper(rig.context, store);
    rig.change(Change::InPlace);
    rig.platform.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Cancel};
    LoadStartupDocumentOfferingRecovery(rig.context, keeper, store, false);
    QCOMPARE(rig.editor.text(), QStringLiteral("restored"));
    FileSave(rig.context);
    QCOMPARE(rig.titles(), (QStringList{"Unsaved Text Found", Changed}));
    QCOMPARE(OnDisk(rig.note), Theirs);
}

// The real watch: a write in place, a rename over the file (after which the
// file watched is another), and a write through a symbolic link.
void TestDiskChanges::watchSeesWritesRenamesAndLinks()
{
    QTemporaryDir dir;
    const QString note = dir.filePath("n.scb");
    WriteFileBytes(note, "one");
    QVERIFY(QFile::link(note, dir.filePath("link.scb")));
    NoteStorage storage;
    for (const QString& watched : {note, dir.filePath("link.scb")}) {
        int calls = 0;
        const std::unique_ptr<NoteWatch> watch = storage.watch(watched, [&calls] { ++calls; });
        QVERIFY(watch);
        WriteFileBytes(note, "two");
        QTRY_VERIFY(calls > 0);
        // Renamed over, then moved aside (as a sync client keeping versions does) and replaced.
        for (const bool movedAside : {false, true}) {
            calls = 0;
            WriteFileBytes(note + ".part", "three");
            QVERIFY(!movedAside || std::rename(qPrintable(note), qPrintable(dir.filePath("old.scb"))) == 0);
            QCOMPARE(std::rename(qPrintable(note + ".part"), qPrintable(note)), 0);
            QTRY_VERIFY(calls > 0);
        }
        calls = 0;
        WriteFileBytes(dir.filePath("unrelated.scb"), "x");
        WriteFileBytes(dir.filePath("old.scb"), "no longer the note");
        QTest::qWait(100);
        QCOMPARE(calls, 0);
    }
}

QTEST_MAIN(TestDiskChanges)
#include "test_disk_changes.moc"
