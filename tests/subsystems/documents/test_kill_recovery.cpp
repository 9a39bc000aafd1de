#include "settings/text_encoding.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/documents/recovery_store.h"
#include "support/test_environment.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <ctime>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The countdown's two seconds, and what a loaded machine may add to it.
constexpr long long KeptWithinNanoseconds = 2'500'000'000LL;
const QString InitialText = QStringLiteral("start\r\n");

long long MonotonicNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

struct Chunk
{
    long long typedAt = 0;
    QString text;
};

// What the helper said it did before it was killed.
struct EditingLog
{
    QList<Chunk> chunks;
    QList<int> saves; // chunks in the text of each save begun

    QString textOf(qsizetype chunkCount) const
    {
        QString text = InitialText;
        for (qsizetype i = 0; i < chunkCount && i < chunks.size(); ++i)
            text += chunks[i].text;
        return text;
    }
    QString typedBefore(long long moment) const
    {
        qsizetype count = 0;
        while (count < chunks.size() && chunks[count].typedAt < moment)
            ++count;
        return textOf(count);
    }
    bool isSavedContent(const QString& text) const
    {
        return text == InitialText || std::any_of(saves.cbegin(), saves.cend(), [&](int n) { return textOf(n) == text; });
    }

    void take(const QByteArray& line)
    {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 3 && parts[0] == "T")
            chunks.append({parts[1].toLongLong(), QString::fromUtf8(line.mid(parts[0].size() + parts[1].size() + 2)).replace(u'|', QStringLiteral("\r\n"))});
        else if (parts.size() == 3 && parts[0] == "S")
            saves.append(parts[2].toInt());
    }
};

QString NoteText(const QByteArray& bytes)
{
    QString text = DecodeText(bytes).text;
    if (text.endsWith(QChar(0x1a)))
        text.chop(1);
    return text;
}

// A save that stops dead at one of its steps, as if the power went.
class StoppedStorage : public NoteStorage
{
public:
    explicit StoppedStorage(SaveStep step)
        : m_step(step)
    {
    }

protected:
    int stepFailure(SaveStep step) override
    {
        if (step == m_step)
            ::raise(SIGKILL);
        return 0;
    }

private:
    SaveStep m_step;
};

// Reads what the helper says until the moment to kill it: killAt, or a few
// milliseconds into the first save begun after savesFrom (when not -1).
void WaitForKillMoment(QProcess& helper, EditingLog& log, long long killAt, long long savesFrom, std::mt19937& random)
{
    while (MonotonicNanoseconds() < killAt) {
        helper.waitForReadyRead(int(std::max(1LL, (killAt - MonotonicNanoseconds()) / 1'000'000)));
        while (helper.canReadLine()) {
            QByteArray line = helper.readLine();
            line.chop(1); // the line feed; a chunk may end in a blank
            log.take(line);
            if (savesFrom >= 0 && line.startsWith("S ") && MonotonicNanoseconds() > savesFrom) {
                const long long stopAt = MonotonicNanoseconds() + static_cast<long long>(random() % 3'000'000);
                while (MonotonicNanoseconds() < stopAt) {
                }
                return;
            }
        }
    }
}

} // namespace

class TestKillRecovery : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileEditingLosesNothingOlderThanTwoSeconds_data();
    void killedWhileEditingLosesNothingOlderThanTwoSeconds();
    void saveStoppedAtAnyStepLeavesTheOldOrTheNewNote_data();
    void saveStoppedAtAnyStepLeavesTheOldOrTheNewNote();
};

void TestKillRecovery::killedWhileEditingLosesNothingOlderThanTwoSeconds_data()
{
    QTest::addColumn<std::uint32_t>("seed");
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<bool>("duringASave");
    const int rounds = qEnvironmentVariableIsSet("SCRIBLET_KILL_ROUNDS") ? qEnvironmentVariableIntValue("SCRIBLET_KILL_ROUNDS") : 20;
    const std::uint32_t firstSeed = qEnvironmentVariableIsSet("SCRIBLET_KILL_SEED")
        ? std::uint32_t(qEnvironmentVariableIntValue("SCRIBLET_KILL_SEED"))
        : 20261207u;
    for (int round = 0; round < rounds; ++round) {
        const std::uint32_t seed = firstSeed + std::uint32_t(round);
        QTest::addRow("seed %u", seed) << seed << (round % 2 == 1) << (round % 3 == 2);
    }
}

// Kills the helper at a random moment from 2.5 s on, when something is due;
// or, for a save, a few milliseconds after one begins.
void TestKillRecovery::killedWhileEditingLosesNothingOlderThanTwoSeconds()
{
    QFETCH(std::uint32_t, seed);
    QFETCH(bool, inPlace);
    QFETCH(bool, duringASave);
    QTemporaryDir dir;
    const QString note = dir.filePath(QStringLiteral("note.SCB"));
    WriteFileBytes(note, InitialText.toUtf8() + '\x1a');
    // A second name for the note makes every save rewrite it in place.
    if (inPlace)
        QCOMPARE(::link(QFile::encodeName(note).constData(), QFile::encodeName(dir.filePath("other name")).constData()), 0);

    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    helper.setProcessEnvironment(environment);
    helper.start(QStringLiteral(KILL_HELPER), {note, QString::number(seed), duringASave ? "15" : "120"});
    QVERIFY2(helper.waitForReadyRead(20000), "the helper did not start");
    QCOMPARE(helper.readLine().trimmed(), QByteArray("R"));

    std::mt19937 random(seed);
    const long long started = MonotonicNanoseconds();
    const long long killAt = started + 2'500'000'000LL + (random() % 4'500'000'000ULL);
    EditingLog log;
    WaitForKillMoment(helper, log, killAt, duringASave ? started + 1'000'000'000LL : -1, random);
    const long long killedAt = MonotonicNanoseconds();
    helper.kill();
    QVERIFY(helper.waitForFinished(10000));
    for (const QByteArray& line : helper.readAllStandardOutput().split('\n'))
        log.take(line);

    const QString typed = log.textOf(log.chunks.size());
    const QString onDisk = NoteText(ReadFileBytes(note));
    QString best;
    if (log.isSavedContent(onDisk)) {
        best = onDisk;
    } else {
        // Caught in the middle of an in-place save: the copy beside the note holds it whole.
        QVERIFY2(inPlace, qPrintable(QStringLiteral("seed %1: the note holds a mix").arg(seed)));
        const QStringList copies = QDir(dir.path()).entryList({QStringLiteral("note.SCB.scriblet-copy-*")});
        QCOMPARE(copies.size(), 1);
        best = NoteText(ReadFileBytes(dir.filePath(copies[0])));
        QVERIFY2(log.isSavedContent(best), qPrintable(QStringLiteral("seed %1: the copy holds a mix").arg(seed)));
    }
    NoteStorage disk;
    RecoveryStore store({dir.filePath(QStringLiteral("state/scriblet")), dir.filePath(QStringLiteral("cache/scriblet")),
                         dir.filePath(QStringLiteral("runtime/scriblet"))},
                        disk);
    const std::vector<Leftover> leftovers = store.claimLeftovers();
    QVERIFY(leftovers.size() <= 1);
    if (!leftovers.empty()) {
        const QString recovered = leftovers[0].note().text;
        QVERIFY2(typed.startsWith(recovered), qPrintable(QStringLiteral("seed %1: recovered text never typed").arg(seed)));
        QCOMPARE(leftovers[0].note().notePath, note);
        if (recovered.size() > best.size())
            best = recovered;
    }
    const QString due = log.typedBefore(killedAt - KeptWithinNanoseconds);
    qInfo("seed %u, %s: %lld chunks, %lld saves, recovery file %s, kept %lld of %lld typed, %lld due",
          seed, inPlace ? "in place" : "rename", log.chunks.size(), log.saves.size(), leftovers.empty() ? "no" : "yes",
          best.size(), typed.size(), due.size());
    QVERIFY2(best.startsWith(due), qPrintable(QStringLiteral("seed %1, %2 chunks, %3 saves: kept %4 of %5 characters due")
                                                  .arg(seed).arg(log.chunks.size()).arg(log.saves.size())
                                                  .arg(best.size()).arg(due.size())));
}

void TestKillRecovery::saveStoppedAtAnyStepLeavesTheOldOrTheNewNote_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<SaveStep>("step");
    for (const SaveStep step : {SaveStep::Open, SaveStep::ChangeOwner, SaveStep::ChangeMode, SaveStep::Write,
                                SaveStep::Sync, SaveStep::Close, SaveStep::Rename, SaveStep::DirectorySync})
        QTest::addRow("new file and rename, step %d", int(step)) << false << step;
    for (const SaveStep step : {SaveStep::Copy, SaveStep::Open, SaveStep::Write, SaveStep::Sync, SaveStep::Close})
        QTest::addRow("in place, step %d", int(step)) << true << step;
}

void TestKillRecovery::saveStoppedAtAnyStepLeavesTheOldOrTheNewNote()
{
    QFETCH(bool, inPlace);
    QFETCH(SaveStep, step);
    QTemporaryDir dir;
    const QString note = dir.filePath(QStringLiteral("note.SCB"));
    const QByteArray oldBytes = QByteArray("the old note, longer than the new one\r\n\x1a");
    const QByteArray newBytes = QByteArray("the new note\r\n\x1a");
    WriteFileBytes(note, oldBytes);
    if (inPlace)
        QCOMPARE(::link(QFile::encodeName(note).constData(), QFile::encodeName(dir.filePath("second name")).constData()), 0);

    const pid_t child = ::fork();
    if (child == 0) {
        StoppedStorage(step).replace(note, newBytes);
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status), "the save never reached the step");
    const QByteArray onDisk = ReadFileBytes(note);
    if (onDisk == oldBytes || onDisk == newBytes)
        return;
    QVERIFY2(inPlace, "the note holds neither the old nor the new content");
    const QStringList copies = QDir(dir.path()).entryList({QStringLiteral("note.SCB.scriblet-copy-*")});
    QCOMPARE(copies.size(), 1);
    QCOMPARE(ReadFileBytes(dir.filePath(copies[0])), oldBytes);
}

QTEST_GUILESS_MAIN(TestKillRecovery)
#include "test_kill_recovery.moc"
