#include "platform/qt_single_shot_timer.h"

#include <QTest>

class TestSingleShotTimer : public QObject
{
    Q_OBJECT

private slots:
    void singleShotTimer_data();
    void singleShotTimer();
};

// Steps: "start N", "stop", "wait N", then "fired N" (times so far) or
// "active"/"idle" to check.
void TestSingleShotTimer::singleShotTimer_data()
{
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("fires once") << QStringList{"start 30", "active", "wait 300", "fired 1", "idle", "wait 200",
                                               "fired 1"};
    // Wide margins: a loaded machine under the sanitizers may overrun a wait by a few hundred milliseconds.
    QTest::newRow("restart while active counts down afresh")
        << QStringList{"start 1500", "wait 700", "start 1500", "wait 1000", "fired 0", "active", "wait 2000", "fired 1"};
    QTest::newRow("stopped never fires") << QStringList{"start 30", "stop", "idle", "wait 300", "fired 0"};
    QTest::newRow("started again after firing") << QStringList{"start 20", "wait 200", "start 20", "wait 200",
                                                               "fired 2"};
    QTest::newRow("negative interval fires at once") << QStringList{"start -5", "wait 100", "fired 1"};
}

void TestSingleShotTimer::singleShotTimer()
{
    QFETCH(QStringList, steps);

    int fired = 0;
    QtSingleShotTimer timer([&fired] { ++fired; });
    for (const QString& step : steps) {
        const QString word = step.section(u' ', 0, 0);
        const int number = step.section(u' ', 1).toInt();
        if (word == QStringLiteral("start"))
            timer.start(number);
        else if (word == QStringLiteral("stop"))
            timer.stop();
        else if (word == QStringLiteral("wait"))
            QTest::qWait(number);
        else if (word == QStringLiteral("fired"))
            QCOMPARE(fired, number);
        else
            QCOMPARE(timer.isActive(), word == QStringLiteral("active"));
    }
}

QTEST_MAIN(TestSingleShotTimer)
#include "test_single_shot_timer.moc"
