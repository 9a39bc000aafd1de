#include "platform/editor_control.h"
#include "settings/settings.h"
#include "subsystems/editing/edit_commands.h"
#include "subsystems/editing/stamps.h"
#include "support/scripted_platform.h"

#include <QTest>

class TestStamps : public QObject
{
    Q_OBJECT

private slots:
    void snippetTexts_data();
    void snippetTexts();
    void longTimeHasNoTimeZone();
    void timeFormatCleanUp_data();
    void timeFormatCleanUp();
    void nothingIsPastedWhenTheClipboardFails();
    void insertionGoesThroughTheClipboard();
    void dateAndTimeAreTwoReadings();
};

void TestStamps::snippetTexts_data()
{
    QTest::addColumn<int>("snippet");
    QTest::addColumn<QString>("text");
    QTest::newRow("date and one space") << int(Snippet::Date) << "3/27/97 ";
    QTest::newRow("time and one space") << int(Snippet::Time) << "10:15:02 AM ";
    QTest::newRow("date - time and two spaces") << int(Snippet::DateTime) << "3/27/97 - 10:15:02 AM  ";
    QTest::newRow("glossary 1 unchanged") << int(Snippet::Glossary1) << "  spaced  ";
    QTest::newRow("glossary 2 empty") << int(Snippet::Glossary2) << "";
    QTest::newRow("glossary 3") << int(Snippet::Glossary3) << "Text For Glossary Button 3";
    QTest::newRow("signature") << int(Snippet::Signature) << "Ann Lee";
}

void TestStamps::snippetTexts()
{
    QFETCH(int, snippet);
    QFETCH(QString, text);
    Settings settings;
    settings.Glossary1 = QStringLiteral("  spaced  ");
    settings.Glossary3 = QStringLiteral("Text For Glossary Button 3");
    settings.Signature = QStringLiteral("Ann Lee");
    ScriptedPlatform platform; // 1997-03-27 10:15:02, en_US
    QCOMPARE(SnippetText(Snippet(snippet), settings, platform), text);
}

void TestStamps::longTimeHasNoTimeZone()
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    QVERIFY(!LongTimeFormat(us).contains(u't'));
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(TimeStamp(QDateTime(QDate(1997, 3, 27), QTime(22, 5, 9)), german), QStringLiteral("22:05:09"));
}

void TestStamps::timeFormatCleanUp_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("zone at the end") << "h:mm:ss AP t" << "h:mm:ss AP";
    QTest::newRow("long zone name") << "HH:mm:ss tttt" << "HH:mm:ss";
    QTest::newRow("zone in the middle") << "h t:mm" << "h :mm";
    QTest::newRow("narrow no-break space") << QString::fromUtf8("h:mm:ss\u202fAP t") << "h:mm:ss AP";
    QTest::newRow("no-break space") << QString::fromUtf8("h:mm:ss\u00a0AP") << "h:mm:ss AP";
    QTest::newRow("quoted t kept") << "h 'at' mm t" << "h 'at' mm";
}

void TestStamps::timeFormatCleanUp()
{
    QFETCH(QString, format);
    QFETCH(QString, cleaned);
    QCOMPARE(WithoutTimeZone(format), cleaned);
}

void TestStamps::nothingIsPastedWhenTheClipboardFails()
{
    ScriptedPlatform platform;
    platform.clipboardWorks = false;
    platform.clipboard = QStringLiteral("old clipboard");
    EditorControl editor;
    editor.setText(QStringLiteral("note"));
    InsertText(platform, editor, QStringLiteral("stamp "));
    QCOMPARE(editor.text(), QStringLiteral("note"));
    QVERIFY(!editor.isModified());
}

void TestStamps::insertionGoesThroughTheClipboard()
{
    ScriptedPlatform platform;
    EditorControl editor;
    editor.setText(QStringLiteral("Called at XXX."));
    editor.setSelectionStart(10);
    editor.setSelectionLength(3);
    InsertText(platform, editor, QStringLiteral("10:15:02 AM "));
    QCOMPARE(editor.text(), QStringLiteral("Called at 10:15:02 AM ."));
    QCOMPARE(editor.selectionStart(), 22); // the caret ends after the text
    QVERIFY(editor.isModified());
    QCOMPARE(platform.clipboard, QStringLiteral("10:15:02 AM "));
    EditorPaste(editor, platform); // pasting again inserts the same text
    QCOMPARE(editor.text(), QStringLiteral("Called at 10:15:02 AM 10:15:02 AM ."));

    editor.setText(QStringLiteral("same"));
    InsertText(platform, editor, QString()); // an empty glossary inserts nothing
    QCOMPARE(editor.text(), QStringLiteral("same"));
    QCOMPARE(platform.clipboard, QString());
}

void TestStamps::dateAndTimeAreTwoReadings()
{
    // Midnight passes between the two readings: the date is read first.
    class Midnight : public ScriptedPlatform
    {
    public:
        QDateTime currentDateTime() override
        {
            return ++readings == 1 ? QDateTime(QDate(1997, 3, 27), QTime(23, 59, 59))
                                   : QDateTime(QDate(1997, 3, 28), QTime(0, 0, 0));
        }
        int readings = 0;
    } platform;
    QCOMPARE(SnippetText(Snippet::DateTime, Settings(), platform), QStringLiteral("3/27/97 - 12:00:00 AM  "));
    QCOMPARE(platform.readings, 2);
}

QTEST_MAIN(TestStamps)
#include "test_stamps.moc"
