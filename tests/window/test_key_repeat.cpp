// Which presses of a held key are its own, as X11's Qt and a screen reader's bridge pass them on.
#include "window/key_repeat.h"

#include <QKeyEvent>
#include <QTest>

class TestKeyRepeat : public QObject
{
    Q_OBJECT

private slots:
    void onlyPressesOfTheirOwnCount_data();
    void onlyPressesOfTheirOwnCount();
};

void TestKeyRepeat::onlyPressesOfTheirOwnCount_data()
{
    // P or R (press, release), the event's moment, "r" where Qt marks it a repeat, "@" the milliseconds it arrives at.
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("counted"); // of each press: 1 its own, 0 a repeat
    QTest::newRow("every repeat marked") << "P1 R500r P500r R540r P540r R700 P2000" << "1001";
    QTest::newRow("only the first repeat marked") << "P1 R500r P500r R540 P540 R580 P580 R700 P2000" << "10001";
    QTest::newRow("a quick second press") << "P1 R90 P170" << "11";
    QTest::newRow("no moments, a repeat's pair together") << "P0@0 R0@660 P0@661 R0@700 P0@700 R0@1516 P0@2533"
                                                         << "1001";
    QTest::newRow("no moments, a quick second press") << "P0@0 R0@90 P0@170" << "11";
}

void TestKeyRepeat::onlyPressesOfTheirOwnCount()
{
    QFETCH(QString, events);
    std::int64_t now = 0;
    KeyRepeat repeat([&now] { return now; });
    QString counted;
    for (const QString& event : events.split(u' ')) {
        const QString moment = event.mid(1).section(u'@', 0, 0).remove(u'r');
        now = event.contains(u'@') ? event.section(u'@', 1).toLongLong() : moment.toLongLong();
        QKeyEvent key(event[0] == u'P' ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Menu, Qt::NoModifier, QString(),
                      event.contains(u'r'));
        key.setTimestamp(moment.toULongLong());
        if (key.type() == QEvent::KeyRelease)
            repeat.noteRelease(key);
        else
            counted += repeat.isRepeat(key) ? u'0' : u'1';
    }
    QTEST(counted, "counted");
}

QTEST_MAIN(TestKeyRepeat)
#include "test_key_repeat.moc"
