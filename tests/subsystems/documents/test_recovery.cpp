#include "platform/editor_control.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/documents/recovery_file.h"
#include "subsystems/documents/recovery_keeper.h"
#include "subsystems/documents/recovery_store.h"
#include "support/recording_window.h"
#include "support/scripted_platform.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QDateTime Noon = QDateTime(QDate(2026, 12, 7), QTime(12, 0, 1, 250), QTimeZone::utc());

RecoveredNote Note(const QString& path, const QString& text, TextEncoding encoding = TextEncoding::Utf8)
{
    return {path, encoding, Noon, text};
}

QStringList Files(const QString& directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

NoteStorage Disk;

RecoveryStore StoreIn(const QString& directory) { return RecoveryStore({directory, {}, {}}, Disk); }

struct FailingStepStorage : NoteStorage
{
    std::optional<SaveStep> failing;
    QList<SaveStep> steps; // the system calls made, in order
    int stepFailure(SaveStep step) override { return steps.append(step), step == failing ? EIO : 0; }
};

} // namespace

Q_DECLARE_METATYPE(RecoveredNote)

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void fileReadsBackAsWritten_data();
    void fileReadsBackAsWritten();
    void damagedFileIsNotTakenForWhole_data();
    void damagedFileIsNotTakenForWhole();
    void fileIsPrivateAndReplacedWhole();

    void runningCopiesNeverOfferEachOthersText();
    void declinedTextIsSetAsideWithOneOlderCopy();
    void unreadableFileIsSetAsideUnasked();
    void leftTextsAreFoundInEveryFolder();

    void firstEditStartsTheCountdownThatKeepsTheText();
    void textIsKeptInTheMostLastingFolderThatTakesIt();
    void editIsKeptWithinTwoSeconds();
    void savingOrDiscardingRemovesTheText_data();
    void savingOrDiscardingRemovesTheText();
};

void TestRecovery::fileReadsBackAsWritten_data()
{
    QTest::addColumn<RecoveredNote>("note");
    QTest::newRow("named note") << Note("/home/me/todo.scb", "milk\r\nbread");
    QTest::newRow("untitled, empty") << Note(QString(), QString());
    QTest::newRow("line break and percent in the path") << Note("/tmp/a\nb%20c.SCB", "x");
    QTest::newRow("Windows-1252 note") << Note("/n.TXT", QString::fromUtf8("caf\u00e9"), TextEncoding::Windows1252);
    QTest::newRow("text that looks like a header") << Note("/n.SCB", "\n\nLength: 3\n\nSCRIBLET RECOVERY 1\n");
    QTest::newRow("characters beyond the basic plane") << Note("/n.SCB", QString::fromUtf8("\U0001F600 \u2029"));
    RecoveredNote onDisk = Note("/n.SCB", "edited");
    onDisk.diskFingerprint = NoteFingerprint("as read");
    QTest::newRow("with the note as it was on disk") << onDisk;
}

void TestRecovery::fileReadsBackAsWritten()
{
    QFETCH(RecoveredNote, note);
    const std::optional<RecoveredNote> read = ParseRecoveryFile(RecoveryFileBytes(note));
    QVERIFY(read);
    QCOMPARE(read->notePath, note.notePath);
    QCOMPARE(read->encoding, note.encoding);
    QCOMPARE(read->keptAt, note.keptAt);
    QCOMPARE(read->text, note.text);
    QCOMPARE(read->diskFingerprint, note.diskFingerprint);
}

void TestRecovery::damagedFileIsNotTakenForWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray whole = RecoveryFileBytes(Note("/n.SCB", "some text"));
    QTest::newRow("cut short") << whole.chopped(1);
    QTest::newRow("grown") << whole + "x";
    QTest::newRow("header only") << whole.left(whole.indexOf("\n\n"));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("another program's file") << QByteArray("SCRIBLET RECOVERY 2") + whole.mid(19);
    QTest::newRow("unknown encoding") << QByteArray(whole).replace("UTF-8", "UTF-7");
    QTest::newRow("no time") << QByteArray(whole).replace("Kept: 2026", "Kept: xxxx");
    QTest::newRow("a line nobody wrote") << QByteArray(whole).replace("Length", "Later: 1\nLength");
}

void TestRecovery::damagedFileIsNotTakenForWhole()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!ParseRecoveryFile(bytes));
}

void TestRecovery::fileIsPrivateAndReplacedWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.note");
    QCOMPARE(Disk.writePrivate(path, "first, and longer").error, 0);
    QCOMPARE(Disk.writePrivate(path, "second").error, 0);
    QCOMPARE(ReadFileBytes(path), QByteArray("second"));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0600));
    QCOMPARE(Files(dir.path()), QStringList{"kept.note"});
    QVERIFY(Disk.writePrivate(dir.filePath("missing/kept.note"), "x").error != 0);
}

void TestRecovery::runningCopiesNeverOfferEachOthersText()
{
    QTemporaryDir dir;
    auto first = std::make_unique<RecoveryStore>(RecoveryDirectories{dir.path(), {}, {}}, Disk);
    RecoveryStore second = StoreIn(dir.path());
    QVERIFY(first->keep(Note("/a.SCB", "first copy")).kept());
    QVERIFY(second.keep(Note("/b.SCB", "second copy")).kept());
    QVERIFY(first->filePath() != second.filePath());
    QVERIFY(StoreIn(dir.path()).claimLeftovers().empty());

    first.reset(); // as when the process is killed: the file stays, the lock goes
    RecoveryStore third = StoreIn(dir.path());
    std::vector<Leftover> found = third.claimLeftovers();
    QCOMPARE(found.size(), size_t(1));
    QCOMPARE(found[0].note().text, QStringLiteral("first copy"));
    // While the third copy decides, a fourth one starting sees nothing.
    QVERIFY(StoreIn(dir.path()).claimLeftovers().empty());
    found[0].remove();
    found.clear();
    QVERIFY(StoreIn(dir.path()).claimLeftovers().empty());
    second.discard();
    QVERIFY(!QFileInfo::exists(second.filePath()));
}

void TestRecovery::declinedTextIsSetAsideWithOneOlderCopy()
{
    QTemporaryDir dir;
    for (const char* text : {"oldest", "older", "newest"}) {
        StoreIn(dir.path()).keep(Note("/n.SCB", text));
        RecoveryStore claimer = StoreIn(dir.path());
        std::vector<Leftover> found = claimer.claimLeftovers();
        QCOMPARE(found.size(), size_t(1));
        found[0].setAside();
    }
    QCOMPARE(Files(dir.path()), (QStringList{"set-aside.lock", "set-aside.note", "set-aside.note.old"}));
    QCOMPARE(ParseRecoveryFile(ReadFileBytes(dir.filePath("set-aside.note")))->text, QStringLiteral("newest"));
    QCOMPARE(ParseRecoveryFile(ReadFileBytes(dir.filePath("set-aside.note.old")))->text, QStringLiteral("older"));
}

void TestRecovery::unreadableFileIsSetAsideUnasked()
{
    QTemporaryDir dir;
    WriteFileBytes(dir.filePath("session-abcdef.note"), "half a recovery fi");
    WriteFileBytes(dir.filePath("session-ghijkl.lock"), ""); // a copy that ended with nothing unsaved
    WriteFileBytes(dir.filePath(".recovery-old"), "a write cut short an hour ago");
    WriteFileBytes(dir.filePath(".recovery-new"), "a write in progress");
    QFile old(dir.filePath(".recovery-old"));
    QVERIFY(old.open(QIODevice::ReadWrite));
    QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    old.close();
    QCOMPARE(::link(QFile::encodeName(old.fileName()), QFile::encodeName(dir.filePath(".scriblet-save-old"))), 0); // as old
    QVERIFY(StoreIn(dir.path()).claimLeftovers().empty());
    QCOMPARE(Files(dir.path()), (QStringList{".recovery-new", "unreadable-session-abcdef.note"}));
    QCOMPARE(ReadFileBytes(dir.filePath("unreadable-session-abcdef.note")), QByteArray("half a recovery fi"));
}

void TestRecovery::leftTextsAreFoundInEveryFolder()
{
    ScopedUserDirectories dirs;
    for (const QString& folder : {dirs.stateDirectory(), dirs.cacheDirectory(), dirs.runtimeDirectory()})
        QVERIFY(StoreIn(folder).keep(Note("/n.SCB", folder)).kept());
    QCOMPARE(RecoveryStore(FindRecoveryDirectories(), Disk).claimLeftovers().size(), size_t(3));
}

struct KeeperRig
{
    KeeperRig()
        : store(FindRecoveryDirectories(), storage)
        , keeper(context(), store)
    {
        settings.FileName = QStringLiteral("/notes/todo.SCB");
        editor.setText(QStringLiteral("saved text"));
    }
    DocumentContext context() { return {settings, document, platform, editor, window, storage}; }
    QString kept() const
    {
        const std::optional<RecoveredNote> note = ParseRecoveryFile(ReadFileBytes(store.filePath()));
        return note ? note->text : QStringLiteral("<none>");
    }

    ScopedUserDirectories dirs;
    Settings settings;
    DocumentState document;
    ScriptedPlatform platform;
    EditorControl editor;
    RecordingWindow window;
    FailingStepStorage storage;
    RecoveryStore store;
    RecoveryKeeper keeper;
};

void TestRecovery::firstEditStartsTheCountdownThatKeepsTheText()
{
    KeeperRig rig;
    // Loading the note is no edit.
    QVERIFY(std::none_of(rig.platform.timers.cbegin(), rig.platform.timers.cend(), [](auto* t) { return t->isActive(); }));
    rig.editor.insertPlainText(QStringLiteral("a"));
    QCOMPARE(rig.platform.timers.size(), 1);
    ScriptedTimer& countdown = *rig.platform.timers[0];
    QVERIFY(countdown.isActive());
    const int starts = countdown.starts();
    QCOMPARE(countdown.interval(), RecoveryKeeper::DelayMilliseconds);
    QVERIFY(!QFileInfo::exists(rig.store.filePath()));

    rig.editor.insertPlainText(QStringLiteral("b\n")); // more typing does not put the write off
    QCOMPARE(countdown.starts(), starts);
    countdown.fire();
    QCOMPARE(rig.kept(), QStringLiteral("ab\r\nsaved text"));
    using enum SaveStep; // the file is synced, and looked at, before it replaces the old one
    QCOMPARE(rig.storage.steps.first(7), (QList<SaveStep>{Open, ChangeMode, Write, Sync, Sync, Close, Rename}));
    const std::optional<RecoveredNote> note = ParseRecoveryFile(ReadFileBytes(rig.store.filePath()));
    QCOMPARE(note->notePath, QStringLiteral("/notes/todo.SCB"));
    QCOMPARE(note->keptAt, rig.platform.now);

    rig.editor.insertPlainText(QStringLiteral("c"));
    QVERIFY(countdown.isActive());
    QCOMPARE(rig.kept(), QStringLiteral("ab\r\nsaved text"));
    countdown.fire();
    QCOMPARE(rig.kept(), QStringLiteral("ab\r\ncsaved text"));
}

void TestRecovery::textIsKeptInTheMostLastingFolderThatTakesIt()
{
    const auto keep = [](KeeperRig& rig) { // the texts in the state, cache and runtime folders; the messages, the last one's title
        rig.editor.insertPlainText(QStringLiteral("x"));
        rig.platform.timers[0]->fire();
        QString outcome;
        for (const QString& folder : {rig.dirs.stateDirectory(), rig.dirs.cacheDirectory(), rig.dirs.runtimeDirectory()})
            outcome += QString::number(QDir(folder).entryList({"session-*.note"}, QDir::Files).size());
        const QList<MessageBoxRequest>& told = rig.platform.messages;
        return outcome + u' ' + QString::number(told.size()) + u' ' + (told.isEmpty() ? QString() : told.last().title);
    };
    // A path through a regular file stops even root.
    {
        KeeperRig cacheTakes;
        WriteFileBytes(cacheTakes.dirs.root() + "/state", "");
        QCOMPARE(keep(cacheTakes), "010 0 "); // the cache lasts: nothing to tell
    }
    KeeperRig rig;
    for (const char* folder : {"/state", "/cache"})
        WriteFileBytes(rig.dirs.root() + folder, "");
    keep(rig);
    QCOMPARE(keep(rig), "001 1 Unsaved Text Kept Until Logout"); // told once
    QFile::remove(rig.dirs.root() + "/cache");
    QCOMPARE(keep(rig), "010 1 Unsaved Text Kept Until Logout"); // the cache first; the runtime folder's copy goes
    for (const SaveStep step : {SaveStep::Open, SaveStep::ChangeMode, SaveStep::Write, SaveStep::Sync, SaveStep::Close,
                                SaveStep::Rename, SaveStep::Open, SaveStep::Write, SaveStep::Sync, SaveStep::Rename}) {
        rig.storage.failing = step;
        QCOMPARE(keep(rig), "010 2 Unsaved Text Not Kept"); // told once over ten writes
        QCOMPARE(rig.kept(), QStringLiteral("xxxsaved text")); // whole: a new file is synced before it replaces it
    }
    rig.storage.failing.reset();
    QCOMPARE(keep(rig), "010 2 Unsaved Text Not Kept");
    rig.storage.failing = SaveStep::Write;
    QCOMPARE(keep(rig), "010 3 Unsaved Text Not Kept"); // and again after a write that worked
}

// Even with a timer 5% late, a tenth of a second is left for the write.
void TestRecovery::editIsKeptWithinTwoSeconds()
{
    KeeperRig rig;
    const QDateTime edited = rig.platform.now;
    rig.editor.insertPlainText(QStringLiteral("typed "));
    rig.platform.passTime(2000);
    const std::optional<RecoveredNote> note = ParseRecoveryFile(ReadFileBytes(rig.store.filePath()));
    QVERIFY(note);
    const qint64 after = edited.msecsTo(note->keptAt);
    QVERIFY2(after > 0 && after * 105 / 100 + 100 <= 2000, qPrintable(QString::number(after)));
}

void TestRecovery::savingOrDiscardingRemovesTheText_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("saved: the changed flag is cleared") << 0;
    QTest::newRow("discarded: another note is loaded") << 1;
    QTest::newRow("undone back to the saved text") << 2;
    QTest::newRow("exit after the user decided") << 3;
}

void TestRecovery::savingOrDiscardingRemovesTheText()
{
    QFETCH(int, how);
    KeeperRig rig;
    rig.editor.insertPlainText(QStringLiteral("typed "));
    rig.platform.timers[0]->fire();
    QVERIFY(QFileInfo::exists(rig.store.filePath()));
    switch (how) {
    case 0: rig.editor.setModified(false); break;
    case 1: rig.editor.setText(QStringLiteral("another note")); break;
    case 2: rig.editor.undo(); break;
    case 3: rig.keeper.forget(); break;
    }
    QVERIFY(!QFileInfo::exists(rig.store.filePath()));
    QVERIFY(!rig.platform.timers[0]->isActive());
    // With nothing unsaved, a close that cannot ask keeps nothing either.
    if (how != 3) {
        QVERIFY(rig.keeper.keepNow());
        QVERIFY(!QFileInfo::exists(rig.store.filePath()));
    }
}

QTEST_MAIN(TestRecovery)
#include "test_recovery.moc"
