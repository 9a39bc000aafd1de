#include "document/note_storage.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A disk that fills up after the given number of bytes.
class FullDiskStorage : public NoteStorage
{
public:
    explicit FullDiskStorage(size_t room)
        : m_room(room)
    {
    }

protected:
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
};

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

private:
    QString file(const QString& name) const { return m_dir->path() + u'/' + name; }
    QStringList entries() const { return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestNoteStorage::init() { m_dir = std::make_unique<QTemporaryDir>(); }

void TestNoteStorage::readsUpToTheLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("tooLarge");
    QTest::newRow("empty") << 0 << false;
    QTest::newRow("exactly the limit") << 29995 << false;
    QTest::newRow("one byte over") << 29996 << true;
    QTest::newRow("far over") << 1000000 << true;
}

void TestNoteStorage::readsUpToTheLimit()
{
    QFETCH(int, size);
    QFETCH(bool, tooLarge);
    WriteFileBytes(file("n.scb"), QByteArray(size, 'x'));
    const NoteReadResult result = NoteStorage().read(file("n.scb"), 29995, false);
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
    QCOMPARE(NoteStorage().replace(file("memo.scb"), "new text"), 0);
    QCOMPARE(ReadFileBytes(file("memo.scb")), QByteArray("new text"));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(file("memo.scb")).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0640));
    QCOMPARE(NoteStorage().replace(file("fresh.scb"), "first"), 0);
    QCOMPARE(ReadFileBytes(file("fresh.scb")), QByteArray("first"));
    QCOMPARE(entries(), (QStringList{"fresh.scb", "memo.scb"}));
}

void TestNoteStorage::replaceRefusesAReadOnlyFile()
{
    WriteFileBytes(file("ro.scb"), "keep");
    QFile::setPermissions(file("ro.scb"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QCOMPARE(NoteStorage().probe(file("ro.scb")), 0); // the directory is writable
    QCOMPARE(NoteStorage().replace(file("ro.scb"), "lost?"), EACCES);
    QCOMPARE(ReadFileBytes(file("ro.scb")), QByteArray("keep"));
    QCOMPARE(NoteStorage().replace(m_dir->path(), "x"), EISDIR);
    QCOMPARE(entries(), QStringList{"ro.scb"});
}

void TestNoteStorage::fullDiskLeavesTheOldFileIntact()
{
    WriteFileBytes(file("memo.scb"), "the old note");
    for (const size_t room : {size_t(0), size_t(5)}) {
        FullDiskStorage full(room);
        QCOMPARE(full.replace(file("memo.scb"), QByteArray(1000, 'n')), ENOSPC);
        QCOMPARE(ReadFileBytes(file("memo.scb")), QByteArray("the old note"));
        QCOMPARE(entries(), QStringList{"memo.scb"});
    }
}

void TestNoteStorage::replaceWritesThroughASymbolicLink()
{
    QDir().mkpath(file("real"));
    WriteFileBytes(file("real/memo.scb"), "old");
    QVERIFY(QFile::link(file("real/memo.scb"), file("link.scb")));
    QCOMPARE(NoteStorage().replace(file("link.scb"), "new"), 0);
    QVERIFY(QFileInfo(file("link.scb")).isSymLink());
    QCOMPARE(ReadFileBytes(file("real/memo.scb")), QByteArray("new"));
}

QTEST_GUILESS_MAIN(TestNoteStorage)
#include "test_note_storage.moc"
