#include "platform/editor_control.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/documents/print_command.h"
#include "subsystems/documents/print_layout.h"
#include "support/recording_window.h"
#include "support/scripted_platform.h"

#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

namespace {

QString Letters(int count, char letter = 'a') { return QString(count, QChar::fromLatin1(letter)); }

// Words of four letters and a blank: "w001 w002 ...".
QString Words(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("w%1 ").arg(i, 3, 10, QLatin1Char('0'));
    return text;
}

// Note-like text: words of 1-12 letters, blanks, and CR LF line ends.
QString GeneratedText(QRandomGenerator& random)
{
    QString text;
    const int length = int(random.bounded(2000));
    while (text.size() < length) {
        const int pick = int(random.bounded(10));
        if (pick == 0)
            text += QStringLiteral("\r\n");
        else if (pick < 3)
            text += u' ';
        else
            text += Letters(1 + int(random.bounded(pick == 9 ? 80 : 12)), char('a' + random.bounded(26)));
    }
    return text;
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void linesPerPage_data();
    void linesPerPage();
    void pageBlocks_data();
    void pageBlocks();
    void pageBlockLines_data();
    void pageBlockLines();
    void wrappingLosesNothing();
    void copies_data();
    void copies();
    void largestNoteIsPrintedWhole();
};

void TestPrint::linesPerPage_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<int>("lines");
    QTest::newRow("600 / 10 - 1") << 600 << 10 << 59;
    QTest::newRow("half rounds to even: 59.5") << 605 << 10 << 60;
    QTest::newRow("half rounds to even: 58.5") << 595 << 10 << 58;
    QTest::newRow("below one line") << 4 << 10 << -1;
    QTest::newRow("no line height") << 600 << 0 << 0;
}

void TestPrint::linesPerPage()
{
    QFETCH(int, height);
    QFETCH(int, lineHeight);
    QTEST(LinesPerPage(height, lineHeight), "lines");
}

void TestPrint::pageBlocks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<int>("fit"); // characters that fit across the paper; 0: any number
    const QString cr = QStringLiteral("\r");
    QTest::newRow("empty: one empty page") << QString() << 60 << QStringList{QString()} << 0;
    QTest::newRow("56 characters whole") << Letters(56) << 60 << QStringList{Letters(56)} << 0;
    QTest::newRow("words: broken at the last blank, kept")
        << Words(25) << 60
        << QStringList{Words(11) + cr + Words(22).mid(55) + cr + Words(25).mid(110)} << 0;
    QTest::newRow("own CR LF kept; LF starts the next piece")
        << QStringLiteral("first line\r\nsecond line\r\n") + Letters(50) << 60
        << QStringList{QStringLiteral("first line\r\nsecond line\r\n") + Letters(50)} << 0;
    const QString emoji = QString::fromUtf8("\xf0\x9f\x98\x80");
    QTest::newRow("a surrogate pair is never cut in two")
        << Letters(55) + emoji + Letters(10) << 60 << QStringList{Letters(55) + cr + emoji + Letters(10)} << 0;
    QTest::newRow("200 letters: cut after 56")
        << Letters(200) << 60 << QStringList{Letters(56) + cr + Letters(56) + cr + Letters(56) + cr + Letters(32)} << 0;
    QString sixtyLines;
    for (int line = 0; line < 60; ++line)
        sixtyLines += Words(11 * 61).mid(55 * line, 55) + cr;
    QTest::newRow("61st line starts page 2") << Words(11 * 61) << 60 << QStringList{sixtyLines, Words(11 * 61).right(55)} << 0;
    QTest::newRow("2 lines a page: a CR LF split across pages")
        << QStringLiteral("one\r\ntwo\r\nthree\r\n") + Letters(60) << 2
        << QStringList{QStringLiteral("one\r\ntwo\r"), QStringLiteral("\nthree\r\n") + Letters(55) + cr,
                       Letters(5)} << 0;
    const QString onePage = QString(Letters(56) + cr).repeated(5) + Letters(20);
    QTest::newRow("0 lines a page: never a new page") << Letters(300) << 0 << QStringList{onePage} << 0;
    QTest::newRow("negative: never a new page") << Letters(300) << -1 << QStringList{onePage} << 0;
    QTest::newRow("too wide: on from the last blank or tab that fits")
        << QStringLiteral("aaaa\tbbbb cccc") << 60 << QStringList{QStringLiteral("aaaa\t\rbbbb \rcccc")} << 7;
    QTest::newRow("blanks past the edge stay on the line")
        << QStringLiteral("aaaa bbbb  cccc ") << 60 << QStringList{QStringLiteral("aaaa bbbb  \rcccc ")} << 9;
    QTest::newRow("a line that fits, blanks past the edge: no line more")
        << QStringLiteral("aaaa bbbb \t ") << 60 << QStringList{QStringLiteral("aaaa bbbb \t ")} << 9;
    QTest::newRow("too wide, no blank: after the last character that fits")
        << Letters(20) << 60 << QStringList{Letters(8) + cr + Letters(8) + cr + Letters(4)} << 8;
    const QString words = Words(33);
    QTest::newRow("continuations count; a page may end inside a wrapped line")
        << words << 3
        << QStringList{words.left(30) + cr + words.mid(30, 25) + cr + words.mid(55, 30) + cr,
                       words.mid(85, 25) + cr + words.mid(110, 30) + cr + words.mid(140)}
        << 30;
}

void TestPrint::pageBlocks()
{
    QFETCH(QString, text);
    QFETCH(int, linesPerPage);
    QFETCH(QStringList, pages);
    QFETCH(int, fit);
    const auto fits = [fit](QStringView line) { return fit == 0 || line.size() <= fit; };
    const QList<QString> printed = PrintPageBlocks(text, linesPerPage, fits);
    QCOMPARE(QStringList(printed), pages);
}

void TestPrint::pageBlockLines_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty page: one empty line") << QString() << QStringList{QString()};
    QTest::newRow("CR LF ends a line") << QStringLiteral("abc\r\ndef") << QStringList{"abc", "def"};
    QTest::newRow("added CR ends a line") << QStringLiteral("abc \rdef") << QStringList{"abc ", "def"};
    QTest::newRow("LF beginning a block prints nothing") << QStringLiteral("\nabc") << QStringList{"abc"};
    QTest::newRow("empty lines between") << QStringLiteral("a\r\n\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("block ending in CR") << QStringLiteral("a\r") << QStringList{"a"};
}

void TestPrint::pageBlockLines()
{
    QFETCH(QString, block);
    QTEST(PageBlockLines(block), "lines");
}

// Over many note-like texts and page lengths: every character arrives in
// order, only the added line ends are new, and no line is longer than 56.
void TestPrint::wrappingLosesNothing()
{
    QRandomGenerator random(20261207);
    for (int round = 0; round < 500; ++round) {
        const QString text = GeneratedText(random);
        const int linesPerPage = int(random.bounded(-2, 70));
        const QList<QString> pages = PrintPageBlocks(text, linesPerPage);
        QString joined = QStringList(pages).join(QString());
        // The text's own CRs are always followed by an LF; the added ones never are.
        for (qsizetype i = joined.size() - 1; i >= 0; --i) {
            if (joined[i] == u'\r' && (i + 1 == joined.size() || joined[i + 1] != u'\n'))
                joined.remove(i, 1);
        }
        QCOMPARE(joined, text);
        for (const QString& page : pages) {
            for (const QString& line : PageBlockLines(page))
                QVERIFY2(line.size() <= PrintLineWidth, qPrintable(line));
            if (linesPerPage > 0 && &page != &pages.last())
                QCOMPARE(PageBlockLines(page).size(), linesPerPage);
        }
    }
}

void TestPrint::copies_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<std::optional<int>>>("dialog");
    QTest::addColumn<QString>("refusal"); // why the printing system refuses jobs after the first
    QTest::addColumn<int>("jobs");
    QTest::addColumn<int>("pagesPerJob");
    QTest::addColumn<QString>("message");
    const QList<std::optional<int>> two{2};
    QTest::newRow("three copies, three jobs of two pages") << Words(11 * 59 + 5) << QList<std::optional<int>>{3} << QString() << 3 << 2 << QString();
    QTest::newRow("empty text: one empty page a copy") << QString() << two << QString() << 2 << 1 << QString();
    QTest::newRow("cancelled: nothing said") << Words(10) << QList<std::optional<int>>{std::nullopt} << QString() << 0 << 0 << QString();
    QTest::newRow("second copy refused: told once, no third tried")
        << Words(10) << QList<std::optional<int>>{3} << QStringLiteral("Printer lp Is Not Accepting Jobs") << 1 << 1
        << QStringLiteral("Copy 2 Of 3 Was Not Printed: Printer lp Is Not Accepting Jobs.");
}

// Every copy is a job of its own with every page, titled with the note's
// name; a copy not taken is told with a stop icon.
void TestPrint::copies()
{
    QFETCH(QString, text);
    QFETCH(QList<std::optional<int>>, dialog);
    QFETCH(QString, refusal);
    QFETCH(int, jobs);
    QFETCH(int, pagesPerJob);
    QFETCH(QString, message);
    Settings settings;
    settings.FileName = QStringLiteral("/home/ann/Shopping.SCB");
    DocumentState document;
    ScriptedPlatform platform;
    platform.printCopiesAnswers = dialog;
    platform.printerTakes = 1;
    if (!refusal.isEmpty())
        platform.printerRefusal = refusal;
    QWidget owner;
    QLineEdit elsewhere(&owner);
    EditorControl editor(&owner);
    editor.setText(text);
    RecordingWindow window;
    NoteStorage storage;
    owner.show();
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    elsewhere.setFocus();
    DocumentContext context{settings, document, platform, editor, window, storage};
    PrintDocument(context);
    QCOMPARE(platform.printJobs.size(), jobs);
    QString printed;
    for (const QList<QStringList>& job : platform.printJobs) {
        QCOMPARE(job.size(), pagesPerJob);
        printed.clear();
        for (const QStringList& page : job)
            printed += page.join(QString());
        QCOMPARE(printed, QString(text).remove(u'\r').remove(u'\n'));
    }
    QCOMPARE(platform.calls.count(QStringLiteral("startPrintJob Shopping.SCB")), jobs + (refusal.isEmpty() ? 0 : 1));
    QCOMPARE(platform.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY(platform.messages[0].text == message && platform.messages[0].icon == MessageIcon::Stop);
    QVERIFY(!editor.isModified());
    QTRY_VERIFY(editor.hasFocus());
}

// The largest note a file holds, in lines of ten words: printed whole, 59
// lines a page (the benchmark times it).
void TestPrint::largestNoteIsPrintedWhole()
{
    QString note;
    while (note.size() < 29994)
        note += Words(10).trimmed() + QStringLiteral("\r\n");
    note.truncate(29994);
    const QList<QString> pages = PrintPageBlocks(note, 59);
    QCOMPARE(QStringList(pages).join(QString()), note); // nothing lost, no line wrapped
    QCOMPARE(pages.size(), 10);
    for (const QString& page : pages.first(9))
        QCOMPARE(PageBlockLines(page).size(), 59);
    QCOMPARE(PageBlockLines(pages.last()).size(), 589 - 9 * 59);
}

QTEST_MAIN(TestPrint)
#include "test_print.moc"
