#include "settings/private_profile.h"
#include "subsystems/options/appearance.h"
#include "subsystems/options/appearance_commands.h"
#include "subsystems/options/options_rig.h"

#include <QTest>

class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void colourValues_data();
    void colourValues();
    void fontFlagTexts_data();
    void fontFlagTexts();
    void fileNameInTitleSwitches_data();
    void fileNameInTitleSwitches();
    void colourChangesOnlyTheEditorsBackground();
    void boldFontComesBackNotItalicAfterARestart();
};

namespace {

using Options = OptionsRig;

} // namespace

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

void TestAppearance::fileNameInTitleSwitches_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("title");
    QTest::newRow("off: the base title at once") << 1 << "/notes/MEMO.SCB" << "Scriblet32 v2.0";
    QTest::newRow("on: the bare file name") << 0 << "/notes/MEMO.SCB" << "MEMO.SCB";
    QTest::newRow("on, untitled") << 0 << "PQRSTUVW.XYZ" << "UNNAMED.SCB";
}

void TestAppearance::fileNameInTitleSwitches()
{
    QFETCH(int, before);
    QFETCH(QString, fileName);
    Options options;
    options.settings.FileInTitle = before;
    options.settings.FileName = fileName;
    options.window.shownTitle = QStringLiteral("old");
    ToggleFileInTitle(options.context());
    QCOMPARE(options.settings.FileInTitle, 1 - before);
    QTEST(options.window.shownTitle, "title");
}

void TestAppearance::colourChangesOnlyTheEditorsBackground()
{
    Options options;
    const QColor grey = options.owner.palette().color(QPalette::Window);
    options.platform.colorAnswers = {QColor(0x12, 0x34, 0x56), std::nullopt};
    OptionsColor(options.context());
    QCOMPARE(options.editor.palette().color(QPalette::Base), QColor(0x12, 0x34, 0x56));
    QCOMPARE(options.editor.backColorValue(), 0x563412);
    QCOMPARE(options.editor.palette().color(QPalette::Text), QColor(Qt::white)); // readable on the dark blue
    QCOMPARE(options.owner.palette().color(QPalette::Window), grey);
    OptionsColor(options.context()); // cancelled
    QCOMPARE(options.editor.backColorValue(), 0x563412);
}

// From the font dialog's answer through the settings file to the settings of the next start.
void TestAppearance::boldFontComesBackNotItalicAfterARestart()
{
    Options options;
    options.platform.fontAnswers = {QFont(QStringLiteral("DejaVu Sans"), 12, QFont::Bold)};
    OptionsFont(options.context());
    PrivateProfile profile = PrivateProfile::fromBytes({});
    WriteSettings(profile, options.settings, ReadEditorAppearance(options.editor), false);
    Settings next;
    LoadSettings(next, PrivateProfile::fromBytes(profile.toBytes()), QString(), false);
    QVERIFY(FontFlagFromText(next.FontBold) && !FontFlagFromText(next.FontItalic));
}

QTEST_MAIN(TestAppearance)
#include "test_appearance.moc"
