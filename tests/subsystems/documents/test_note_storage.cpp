#include "subsystems/documents/note_storage.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <limits>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// A disk that fills up after room bytes of the note, and refuses the failing steps with error.
class FaultyStorage : public NoteStorage
{
public:
    explicit FaultyStorage(size_t room, QList<SaveStep> failing = {}, int error = 0)
        : m_room(room)
        , m_failing(std::move(failing))
        , m_error(error)
    {
    }

protected:
    int stepFailure(SaveStep step) override { return m_failing.contains(step) ? m_error : 0; }
    ssize_t writeSome(int fd, const char* data, size_t size) override
    {
        if (m_room == 0) {
            errno = ENOSPC;
            return -1;
        }
        const size_t part = std::min(size, m_room);
        m_room -= part;
        return NoteStorage::writeSome(fd, data, part);
    }

private:
    size_t m_room;
    QList<SaveStep> m_failing;
    int m_error;
};

constexpr size_t Plenty = std::numeric_limits<size_t>::max();

} // namespace

class TestNoteStorage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsUpToTheLimit_data();
    void readsUpToTheLimit();
    void refusesWhatIsNoNoteFile();
    void createsAMissingFileOnlyWhenAsked();
    void readsWhatCannotBeOpenedForWriting();
    void probeLeavesOtherFilesAlone();
    void probeFailsWhereNothingCanBeWritten();
    void replaceKeepsPermissionsAndLeavesNoTrace();
    void replaceRefusesAReadOnlyFile();
    void fullDiskLeavesTheOldFileIntact();
    void replaceWritesThroughASymbolicLink();
    void replaceKeepsOwnerLinksAndAttributes_data();
    void replaceKeepsOwnerLinksAndAttributes();
    void inPlaceSaveOfALongName();
    void failedSaveKeepsTheOldContent_data();
    void failedSaveKeepsTheOldContent();

private:
    QString file(const QString& name) const { return m_dir->path() + u'/' + name; }
    QStringList entries() const { return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestNoteStorage::init() { m_dir = std::make_unique<QTemporaryDir>(); }

void TestNoteStorage::readsUpToTheLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("empty") << 0 << qint64(29995) << false;
    QTest::newRow("exactly the limit") << 29995 << qint64(29995) << false;
    QTest::newRow("one byte over") << 29996 << qint64(29995) << true;
    QTest::newRow("far over") << 1000000 << qint64(29995) << true;
    QTest::newRow("no room") << 1 << qint64(0) << true;
    // A buffer the size of the limit could not even be allocated here.
    QTest::newRow("a terabyte allowed") << 10 << (qint64(1) << 40) << false;
    QTest::newRow("largest limit") << 10 << std::numeric_limits<qint64>::max() << false;
}

void TestNoteStorage::readsUpToTheLimit()
{
    QFETCH(int, size);
    QFETCH(qint64, limit);
    QFETCH(bool, tooLarge);
    WriteFileBytes(file("n.scb"), QByteArray(size, 'x'));
    const NoteReadResult result = NoteStorage().read(file("n.scb"), limit, false);
    QCOMPARE(result.error, 0);
    QCOMPARE(result.tooLarge, tooLarge);
    QCOMPARE(result.bytes.size(), tooLarge ? 0 : size);
}

void TestNoteStorage::refusesWhatIsNoNoteFile()
{
    NoteStorage storage;
    QCOMPARE(storage.read(m_dir->path(), 100, false).error, EISDIR);
    QCOMPARE(storage.read(file("missing.scb"), 100, false).error, ENOENT);
    QCOMPARE(storage.read(file("no/such/dir.scb"), 100, true).error, ENOENT);
    QCOMPARE(storage.read(QString(), 100, true).error, ENOENT);
    QCOMPARE(storage.read(file(QString(4000, u'n')), 100, true).error, ENAMETOOLONG);
    const QByteArray fifo = QFile::encodeName(file("pipe.scb"));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    QCOMPARE(storage.read(file("pipe.scb"), 100, false).error, ENODEV); // and it did not hang
}

void TestNoteStorage::createsAMissingFileOnlyWhenAsked()
{
    NoteStorage storage;
    QCOMPARE(storage.read(file("ADDRESS.SCB"), 100, false).error, ENOENT);
    QVERIFY(!QFile::exists(file("ADDRESS.SCB")));
    const NoteReadResult created = storage.read(file("ADDRESS.SCB"), 100, true);
    QCOMPARE(created.error, 0);
    QVERIFY(created.bytes.isEmpty());
    QVERIFY(QFile::exists(file("ADDRESS.SCB")));
}

// A running program cannot be opened for writing, not even by root: the read
// must fall back to opening it for reading only.
void TestNoteStorage::readsWhatCannotBeOpenedForWriting()
{
    const NoteReadResult result = NoteStorage().read(QStringLiteral("/proc/self/exe"), 100, false);
    QCOMPARE(result.error, 0);
    QVERIFY(result.tooLarge);
    const NoteReadResult whole = NoteStorage().read(QStringLiteral("/proc/self/exe"), 1LL << 30, false);
    QCOMPARE(whole.error, 0);
    QVERIFY(whole.bytes.startsWith("\x7f" "ELF"));
    // Files in /proc claim a size of 0 and yet have content.
    const NoteReadResult status = NoteStorage().read(QStringLiteral("/proc/self/status"), 1 << 20, false);
    QVERIFY(status.bytes.startsWith("Name:") && status.bytes.contains("\nPid:"));
    QVERIFY(NoteStorage().read(QStringLiteral("/proc/self/status"), status.bytes.size() / 2, false).tooLarge);
}

void TestNoteStorage::probeLeavesOtherFilesAlone()
{
    WriteFileBytes(file("memo.ZZZ"), "somebody's file");
    QCOMPARE(NoteStorage().probe(file("memo.scb")), 0);
    QCOMPARE(ReadFileBytes(file("memo.ZZZ")), QByteArray("somebody's file"));
    QCOMPARE(entries(), QStringList{"memo.ZZZ"});

    QDir().mkpath(file("ann.lee"));
    QCOMPARE(NoteStorage().probe(file("ann.lee/memo.scb")), 0);
    QCOMPARE(QDir(file("ann.lee")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestNoteStorage::probeFailsWhereNothingCanBeWritten()
{
    QCOMPARE(NoteStorage().probe(file("missing/memo.scb")), ENOENT);
    WriteFileBytes(file("plain"), "x");
    QCOMPARE(NoteStorage().probe(file("plain/memo.scb")), ENOTDIR);
}

void TestNoteStorage::replaceKeepsPermissionsAndLeavesNoTrace()
{
    WriteFileBytes(file("memo.scb"), "old");
    QFile::setPermissions(file("memo.scb"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QCOMPARE(NoteStorage().replace(file("memo.scb"), "new text").error, 0);
    QCOMPARE(ReadFileBytes(file("memo.scb")), QByteArray("new text"));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(file("memo.scb")).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0640));
    QCOMPARE(NoteStorage().replace(file("fresh.scb"), "first").error, 0);
    QCOMPARE(ReadFileBytes(file("fresh.scb")), QByteArray("first"));
    QCOMPARE(entries(), (QStringList{"fresh.scb", "memo.scb"}));
}

void TestNoteStorage::replaceRefusesAReadOnlyFile()
{
    WriteFileBytes(file("ro.scb"), "keep");
    QFile::setPermissions(file("ro.scb"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QCOMPARE(NoteStorage().probe(file("ro.scb")), 0); // the directory is writable
    QCOMPARE(NoteStorage().replace(file("ro.scb"), "lost?").error, EACCES);
    QCOMPARE(ReadFileBytes(file("ro.scb")), QByteArray("keep"));
    QCOMPARE(NoteStorage().replace(m_dir->path(), "x").error, EISDIR);
    QCOMPARE(entries(), QStringList{"ro.scb"});
}

void TestNoteStorage::fullDiskLeavesTheOldFileIntact()
{
    WriteFileBytes(file("memo.scb"), "the old note");
    for (const size_t room : {size_t(0), size_t(5)}) {
        FaultyStorage full(room);
        QCOMPARE(full.replace(file("memo.scb"), QByteArray(1000, 'n')).error, ENOSPC);
        QCOMPARE(ReadFileBytes(file("memo.scb")), QByteArray("the old note"));
        QCOMPARE(entries(), QStringList{"memo.scb"});
    }
}

void TestNoteStorage::replaceWritesThroughASymbolicLink()
{
    QDir().mkpath(file("real"));
    WriteFileBytes(file("real/memo.scb"), "old");
    QVERIFY(QFile::link(file("real/memo.scb"), file("link.scb")));
    QCOMPARE(NoteStorage().replace(file("link.scb"), "new").error, 0);
    QVERIFY(QFileInfo(file("link.scb")).isSymLink());
    QCOMPARE(ReadFileBytes(file("real/memo.scb")), QByteArray("new"));
}

void TestNoteStorage::replaceKeepsOwnerLinksAndAttributes_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<SaveStep>>("failing");
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("plain note") << "" << QList<SaveStep>{} << false;
    QTest::newRow("another user's note") << "owner" << QList<SaveStep>{} << false;
    QTest::newRow("owner cannot be kept") << "" << QList<SaveStep>{SaveStep::ChangeOwner} << true;
    QTest::newRow("second hard link") << "link" << QList<SaveStep>{} << true;
    QTest::newRow("extended attribute") << "attribute" << QList<SaveStep>{} << false;
    QTest::newRow("attribute cannot be set") << "attribute" << QList<SaveStep>{SaveStep::CopyAttributes} << true;
}

void TestNoteStorage::replaceKeepsOwnerLinksAndAttributes()
{
    QFETCH(QString, setup);
    QFETCH(QList<SaveStep>, failing);
    QFETCH(bool, inPlace);
    const QByteArray note = QFile::encodeName(file("memo.scb"));
    WriteFileBytes(file("memo.scb"), "the old note, longer than the new");
    QCOMPARE(::chmod(note.constData(), 0640), 0);
    if (setup == "owner" && ::geteuid() != 0)
        QSKIP("only root can give the note another owner");
    if (setup == "owner")
        QCOMPARE(::chown(note.constData(), 65534, 100), 0);
    if (setup == "link")
        QCOMPARE(::link(note.constData(), QFile::encodeName(file("other.scb")).constData()), 0);
    if (setup == "attribute" && ::setxattr(note.constData(), "user.scriblet", "kept", 4, 0) != 0)
        QSKIP("this file system has no user attributes");
    struct stat before {}, after {};
    QCOMPARE(::stat(note.constData(), &before), 0);

    const ReplaceResult result = FaultyStorage(Plenty, failing, EPERM).replace(file("memo.scb"), "new");
    QCOMPARE(result.error, 0);
    QCOMPARE(::stat(note.constData(), &after), 0);
    QCOMPARE(after.st_ino == before.st_ino, inPlace);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(ReadFileBytes(file("memo.scb")), QByteArray("new"));
    if (setup == "link")
        QCOMPARE(ReadFileBytes(file("other.scb")), QByteArray("new"));
    char value[16] = {};
    if (setup == "attribute")
        QCOMPARE(QByteArray(value, int(::getxattr(note.constData(), "user.scriblet", value, sizeof value))), "kept");
    QCOMPARE(entries(), (setup == "link" ? QStringList{"memo.scb", "other.scb"} : QStringList{"memo.scb"}));
}

// The copy beside a note whose name is near the file system's limit still fits.
void TestNoteStorage::inPlaceSaveOfALongName()
{
    const QString name = QString(250, u'n') + QStringLiteral(".scb");
    WriteFileBytes(file(name), "old");
    const ReplaceResult result = FaultyStorage(Plenty, {SaveStep::ChangeOwner}, EPERM).replace(file(name), "new");
    QCOMPARE(result.error, 0);
    QCOMPARE(ReadFileBytes(file(name)), QByteArray("new"));
    QCOMPARE(entries(), QStringList{name});
}

void TestNoteStorage::failedSaveKeepsTheOldContent_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<SaveStep>("step");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("copyKept");
    QTest::newRow("rename, open") << false << SaveStep::Open << false << false;
    QTest::newRow("rename, change mode") << false << SaveStep::ChangeMode << false << false;
    QTest::newRow("rename, write") << false << SaveStep::Write << false << false;
    QTest::newRow("rename, sync") << false << SaveStep::Sync << false << false;
    QTest::newRow("rename, close") << false << SaveStep::Close << false << false;
    QTest::newRow("rename, rename") << false << SaveStep::Rename << false << false;
    QTest::newRow("rename, directory sync") << false << SaveStep::DirectorySync << true << false;
    QTest::newRow("in place, copy") << true << SaveStep::Copy << false << false;
    QTest::newRow("in place, open") << true << SaveStep::Open << false << false;
    QTest::newRow("in place, write") << true << SaveStep::Write << false << true;
    QTest::newRow("in place, sync") << true << SaveStep::Sync << true << true;
    QTest::newRow("in place, close") << true << SaveStep::Close << true << true;
}

void TestNoteStorage::failedSaveKeepsTheOldContent()
{
    QFETCH(bool, inPlace);
    QFETCH(SaveStep, step);
    QFETCH(bool, written);
    QFETCH(bool, copyKept);
    QByteArray old; // more than one read's worth
    for (int i = 0; i < 30000; ++i)
        old += QByteArray::number(i) + ' ';
    WriteFileBytes(file("memo.scb"), old);
    QStringList names{"memo.scb"};
    if (inPlace) {
        QCOMPARE(::link(QFile::encodeName(file("memo.scb")).constData(), QFile::encodeName(file("z")).constData()), 0);
        names << "z";
    }

    const ReplaceResult result = FaultyStorage(Plenty, {step}, EIO).replace(file("memo.scb"), "new text");
    QCOMPARE(result.error, EIO);
    QCOMPARE(result.failedStep, step);
    QCOMPARE(ReadFileBytes(file("memo.scb")), written ? QByteArray("new text") : old);
    QCOMPARE(result.keptCopy.isEmpty(), !copyKept);
    if (copyKept) {
        QCOMPARE(ReadFileBytes(result.keptCopy), old);
        names.insert(1, QFileInfo(result.keptCopy).fileName());
        QVERIFY(names[1].startsWith("memo.scb.scriblet-copy-"));
    }
    QCOMPARE(entries(), names);
}

QTEST_GUILESS_MAIN(TestNoteStorage)
#include "test_note_storage.moc"
