#include "window/window_placement.h"

#include <QTest>

namespace {

struct Report
{
    QRect client;
    QRect frame;
    std::optional<QSize> request; // what the placement asks for in answer
    std::int64_t milliseconds = 0;
    std::optional<bool> maximized{}; // set: not a report but the news of the window's state
};

} // namespace

Q_DECLARE_METATYPE(QList<Report>)

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void reportsBeforeAndAfterSettling_data();
    void reportsBeforeAndAfterSettling();
    void resizeRuleAsksForTheClientSizeOfTheFrame();
    void refusedSizeSettlesOnTimeout();
    void titleBarOnSomeScreen_data();
    void titleBarOnSomeScreen();
};

// The window is placed at (33, 33), 434 x 136 outside; openbox's frame adds 2 x 25.
void TestWindowPlacement::reportsBeforeAndAfterSettling_data()
{
    QTest::addColumn<QList<Report>>("reports");
    QTest::addColumn<QRect>("outer");
    QTest::addColumn<bool>("settled");
    const QRect placed(33, 33, 434, 136);
    const QRect framed(33, 33, 436, 161);

    QTest::newRow("no window manager: settled at once")
        << QList<Report>{{placed, placed, {}}} << placed << true;
    QTest::newRow("the frame arrives: the client shrinks to keep the outer size")
        << QList<Report>{{placed, placed, {}},
                         {QRect(34, 53, 434, 136), framed, QSize(432, 111)},
                         {QRect(34, 53, 432, 111), QRect(33, 33, 434, 136), {}}}
        << placed << true;
    QTest::newRow("stale and half-framed reports ask once and move nothing")
        << QList<Report>{{QRect(34, 53, 434, 136), framed, QSize(432, 111)},
                         {QRect(33, 33, 435, 137), QRect(32, 13, 437, 162), {}},
                         {QRect(34, 53, 435, 137), QRect(33, 33, 437, 162), {}}}
        << placed << false;
    QTest::newRow("once settled, a move is the user's")
        << QList<Report>{{placed, placed, {}}, {QRect(200, 150, 434, 136), QRect(200, 150, 434, 136), {}}}
        << QRect(200, 150, 434, 136) << true;
    QTest::newRow("once settled, a resize is the user's")
        << QList<Report>{{QRect(34, 53, 432, 111), QRect(33, 33, 434, 136), {}},
                         {QRect(34, 53, 598, 275), QRect(33, 33, 600, 300), {}}}
        << QRect(33, 33, 600, 300) << true;
    QTest::newRow("a new frame after settling keeps the outer size")
        << QList<Report>{{placed, placed, {}}, {QRect(34, 53, 434, 136), framed, QSize(432, 111)}}
        << placed << false;
    const Report xfwm4{QRect(38, 62, 424, 102), placed, {}}; // settled in a frame of 10 x 34, 0 x 24 when maximized
    const Report maximized{{}, {}, {}, 1000, true}, normal{{}, {}, {}, 2000, false};
    const Report full{QRect(0, 24, 1280, 1000), QRect(0, 0, 1280, 1024), {}, 1010};
    QTest::newRow("maximized: reports before and after the news are not the user's, nor fought")
        << QList<Report>{xfwm4, {QRect(38, 62, 590, 266), QRect(33, 33, 600, 300), {}},
                         {QRect(38, 62, 1280, 1000), QRect(33, 33, 1280, 1024), {}, 990}, full, maximized, full}
        << QRect(33, 33, 600, 300) << true;
    QTest::newRow("moved just before it was maximized: the move stays")
        << QList<Report>{xfwm4, {QRect(105, 129, 424, 102), QRect(100, 100, 434, 136), {}, 800}, full, maximized}
        << QRect(100, 100, 434, 136) << true;
    QTest::newRow("restored after the news: asked until the normal size is back")
        << QList<Report>{xfwm4, maximized, normal, {full.client, full.frame, QSize(434, 112)},
                         {QRect(38, 62, 434, 112), QRect(33, 33, 444, 146), QSize(424, 102)}, xfwm4} << placed << true;
}

void TestWindowPlacement::reportsBeforeAndAfterSettling()
{
    QFETCH(QList<Report>, reports);
    QFETCH(QRect, outer);
    QFETCH(bool, settled);
    std::int64_t now = 0;
    WindowPlacement placement([&now] { return now; });
    placement.place(QRect(33, 33, 434, 136));
    for (const Report& report : reports) {
        now = report.milliseconds;
        if (report.maximized)
            placement.setMaximized(*report.maximized);
        else
            QCOMPARE(placement.reported(report.client, report.frame), report.request);
    }
    QCOMPARE(placement.outer(), outer);
    QCOMPARE(placement.settled(), settled);
}

void TestWindowPlacement::resizeRuleAsksForTheClientSizeOfTheFrame()
{
    WindowPlacement placement;
    placement.place(QRect(33, 33, 100, 50));
    QCOMPARE(placement.resizeOuter(QSize(434, 136)), QSize(434, 136)); // no frame known yet
    placement.reported(QRect(34, 53, 434, 136), QRect(33, 33, 436, 161));
    QCOMPARE(placement.resizeOuter(QSize(434, 136)), QSize(432, 111));
    QVERIFY(!placement.settled());
    QCOMPARE(placement.reported(QRect(34, 53, 432, 111), QRect(33, 33, 434, 136)), std::nullopt);
    QVERIFY(placement.settled());
    QCOMPARE(placement.outer(), QRect(33, 33, 434, 136));
}

// A window manager that keeps its own size never settles the window by
// itself; after the timeout the user's moves count again.
void TestWindowPlacement::refusedSizeSettlesOnTimeout()
{
    WindowPlacement placement;
    placement.place(QRect(33, 33, 434, 136));
    QCOMPARE(placement.reported(QRect(34, 53, 500, 200), QRect(33, 33, 502, 225)), QSize(432, 111));
    QCOMPARE(placement.reported(QRect(34, 53, 500, 200), QRect(33, 33, 502, 225)), std::nullopt);
    QCOMPARE(placement.outer(), QRect(33, 33, 434, 136));
    placement.settle();
    placement.reported(QRect(101, 120, 500, 200), QRect(100, 100, 502, 225));
    QCOMPARE(placement.outer(), QRect(100, 100, 502, 225));
}

void TestWindowPlacement::titleBarOnSomeScreen_data()
{
    QTest::addColumn<QRect>("outer");
    QTest::addColumn<bool>("shown");
    QTest::newRow("on the screen") << QRect(33, 33, 434, 136) << true;
    QTest::newRow("on the second screen") << QRect(1500, 100, 434, 136) << true;
    QTest::newRow("where a third screen was") << QRect(3300, 100, 434, 136) << false;
    QTest::newRow("title bar a little above the top") << QRect(33, -7, 434, 136) << true;
    QTest::newRow("title bar above the top") << QRect(33, -15, 434, 136) << false;
    QTest::newRow("below the bottom") << QRect(33, 1075, 434, 136) << false;
    QTest::newRow("only a sliver left of the screen") << QRect(-400, 33, 434, 136) << false;
    QTest::newRow("enough left of the screen to grab") << QRect(-380, 33, 434, 136) << true;
    QTest::newRow("across both screens") << QRect(1200, 500, 434, 136) << true;
}

void TestWindowPlacement::titleBarOnSomeScreen()
{
    QFETCH(QRect, outer);
    QFETCH(bool, shown);
    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    QCOMPARE(TitleBarOnSomeScreen(outer, screens), shown);
}

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
