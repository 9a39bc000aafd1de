#include "platform/editor_control.h"
#include "subsystems/options/appearance.h"

#include <QTest>

class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void colourValues_data();
    void colourValues();
    void fontFlagTexts_data();
    void fontFlagTexts();
};

void TestAppearance::colourValues_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red is the low byte") << qint64(0x000000FF) << QColor(255, 0, 0);
    QTest::newRow("green is the middle byte") << qint64(0x0000FF00) << QColor(0, 255, 0);
    QTest::newRow("blue is the high byte") << qint64(0x00FF0000) << QColor(0, 0, 255);
    QTest::newRow("white") << qint64(0x00FFFFFF) << QColor(255, 255, 255);
    QTest::newRow("mixed") << qint64(0x00336699) << QColor(0x99, 0x66, 0x33);
}

// Settings hold colours as 0x00BBGGRR.
void TestAppearance::colourValues()
{
    QFETCH(qint64, value);
    QFETCH(QColor, colour);
    QCOMPARE(ColorFromValue(std::int32_t(value), QPalette()), colour);
}

void TestAppearance::fontFlagTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("on");
    QTest::newRow("True") << "True" << true;
    QTest::newRow("any letter case") << "tRUE" << true;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("FALSE") << "FALSE" << false;
    QTest::newRow("a number other than 0") << "-1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("other text") << "yes" << false;
    QTest::newRow("empty") << "" << false;
}

void TestAppearance::fontFlagTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, on);
    QCOMPARE(FontFlagFromText(text), on);
    Settings settings;
    settings.FontName = QStringLiteral("DejaVu Sans");
    settings.FontSize = 10;
    settings.FontBold = text;
    settings.FontItalic = text;
    EditorControl editor;
    ApplyEditorAppearance(editor, settings);
    QCOMPARE(editor.font().bold(), on);
    QCOMPARE(ReadEditorAppearance(editor).italic, on);
}

QTEST_MAIN(TestAppearance)
#include "test_appearance.moc"
