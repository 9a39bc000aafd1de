#include "window/main_window_layout.h"

#include <QTest>

class TestMainWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void resizeRule_data();
    void resizeRule();
    void theActualFrameDecidesTheEditorSize();
};

void TestMainWindowLayout::resizeRule_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("windowHeight");
    QTest::addColumn<int>("editorTop");
    QTest::addColumn<int>("editorWidth");
    QTest::addColumn<int>("editorHeight");

    QTest::newRow("bar, large enough") << 9000 << 5000 << true << 9000 << 5000 << 360 << 8865 << 3935;
    QTest::newRow("bar, at the minimum") << 6510 << 2040 << true << 6510 << 2040 << 360 << 6375 << 975;
    QTest::newRow("bar, too narrow") << 3000 << 5000 << true << 6510 << 5000 << 360 << 6375 << 3935;
    QTest::newRow("bar, too low") << 9000 << 2039 << true << 9000 << 2040 << 360 << 8865 << 975;
    QTest::newRow("bar, both too small") << 0 << 0 << true << 6510 << 2040 << 360 << 6375 << 975;
    QTest::newRow("no bar, large enough") << 9000 << 5000 << false << 9000 << 5000 << 0 << 8865 << 4295;
    QTest::newRow("no bar, 1680 is enough") << 6510 << 1680 << false << 6510 << 1680 << 0 << 6375 << 975;
    QTest::newRow("no bar, too low") << 6510 << 1000 << false << 6510 << 1680 << 0 << 6375 << 975;
    QTest::newRow("no bar, negative size") << -500 << -500 << false << 6510 << 1680 << 0 << 6375 << 975;
}

void TestMainWindowLayout::resizeRule()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, bar);
    QFETCH(int, windowWidth);
    QFETCH(int, windowHeight);
    QFETCH(int, editorTop);
    QFETCH(int, editorWidth);
    QFETCH(int, editorHeight);

    const MainWindowGeometry g = MainWindowGeometryFor(width, height, bar);
    QCOMPARE(g.windowWidth, windowWidth);
    QCOMPARE(g.windowHeight, windowHeight);
    QCOMPARE(g.windowResized, windowWidth != width || windowHeight != height);
    QCOMPARE(g.editorTop, editorTop);
    QCOMPARE(g.editorWidth, editorWidth);
    QCOMPARE(g.editorHeight, editorHeight);
}

// Hiding the bar gives the editor exactly the bar's 360 twips, whatever the frame takes.
void TestMainWindowLayout::theActualFrameDecidesTheEditorSize()
{
    const NonClientTwips frame{30, 450};
    const MainWindowGeometry withBar = MainWindowGeometryFor(8000, 4000, true, frame);
    const MainWindowGeometry withoutBar = MainWindowGeometryFor(8000, 4000, false, frame);
    QCOMPARE(withBar.editorWidth, 7970);
    QCOMPARE(withBar.editorHeight, 4000 - 450 - 360);
    QCOMPARE(withoutBar.editorHeight - withBar.editorHeight, 360);
}

QTEST_GUILESS_MAIN(TestMainWindowLayout)
#include "test_main_window_layout.moc"
