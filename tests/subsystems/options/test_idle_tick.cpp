// The 100 ms tick runs all day: with nothing due it must not allocate. Every
// malloc of this process is counted while a flag is up; the sanitizers bring
// their own allocator, so there the test is skipped.
#include "subsystems/options/stopwatch.h"
#include "subsystems/options/options_rig.h"

#include <QTest>

#include <atomic>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define SCRIBLET_COUNTS_ALLOCATIONS 0
#else
#define SCRIBLET_COUNTS_ALLOCATIONS 1
#endif

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

} // namespace

#if SCRIBLET_COUNTS_ALLOCATIONS
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);

void* malloc(std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_realloc(pointer, size);
}
}
#endif

class TestIdleTick : public QObject
{
    Q_OBJECT

private slots:
    void idleTicksAllocateNothing_data();
    void idleTicksAllocateNothing();
};

void TestIdleTick::idleTicksAllocateNothing_data()
{
    QTest::addColumn<int>("autoSave");
    QTest::addColumn<bool>("stopwatchRan");
    QTest::newRow("auto save off") << 0 << false;
    QTest::newRow("auto save on, not yet due") << 1 << false;
    QTest::newRow("after a stopwatch run") << 0 << true;
}

void TestIdleTick::idleTicksAllocateNothing()
{
    if (!SCRIBLET_COUNTS_ALLOCATIONS)
        QSKIP("The sanitizers' allocator cannot be counted");
    QFETCH(int, autoSave);
    QFETCH(bool, stopwatchRan);
    OptionsRig rig;
    rig.settings.AutoSave = autoSave;
    rig.settings.AutoSaveTime = 60;
    if (stopwatchRan) {
        ToggleElapsedTimer(rig.context());
        rig.ticks(1);
        ToggleElapsedTimer(rig.context());
    }
    rig.ticks(1); // anything made once, on first use, is made now
    allocations = 0;
    counting = true;
    for (int tick = 0; tick < 3000; ++tick) { // five minutes
        rig.platform.monotonicNow += 100;
        RunTimerTick(rig.context());
    }
    counting = false;
    QCOMPARE(allocations.load(), 0L);
    QCOMPARE(int(rig.timer.AutoSaveSeconds), 300);
    // The counter itself works: a string of this size must be allocated.
    counting = true;
    const QString made(1000, u'x');
    counting = false;
    QVERIFY(allocations.load() > 0);
    QCOMPARE(made.size(), 1000);
}

QTEST_MAIN(TestIdleTick)
#include "test_idle_tick.moc"
