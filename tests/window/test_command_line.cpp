#include "window/command_line.h"

#include <QStringList>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void splitsAtBlanks_data();
    void splitsAtBlanks();
    void keepsEveryWordBeyondTheTable();
};

void TestCommandLine::splitsAtBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("path");

    QTest::newRow("no command line") << QString() << QStringList() << QString();
    QTest::newRow("only blanks") << QStringLiteral("    ") << QStringList() << QString();
    QTest::newRow("one word") << QStringLiteral("/home/ann/notes.scb") << QStringList{"/home/ann/notes.scb"}
                              << QStringLiteral("/home/ann/notes.scb");
    QTest::newRow("one blank inside") << QStringLiteral("/notes/MY LIST.SCB")
                                      << QStringList{"/notes/MY", "LIST.SCB"} << QStringLiteral("/notes/MY LIST.SCB");
    QTest::newRow("two blanks become one") << QStringLiteral("/notes/MY  LIST.SCB")
                                           << QStringList{"/notes/MY", "LIST.SCB"}
                                           << QStringLiteral("/notes/MY LIST.SCB");
    QTest::newRow("surrounding blanks dropped") << QStringLiteral("  a.scb  ") << QStringList{"a.scb"}
                                                << QStringLiteral("a.scb");
    QTest::newRow("quotation marks are kept") << QStringLiteral("\"/notes/MY LIST.SCB\"")
                                              << QStringList{"\"/notes/MY", "LIST.SCB\""}
                                              << QStringLiteral("\"/notes/MY LIST.SCB\"");
    QTest::newRow("a tab is an ordinary character") << QStringLiteral("a\tb c") << QStringList{"a\tb", "c"}
                                                    << QStringLiteral("a\tb c");
}

void TestCommandLine::splitsAtBlanks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QFETCH(QString, path);

    const CommandLineWords table = ParseCommandLine(text);
    for (int i = 0; i < CommandLineEntries; ++i)
        QCOMPARE(table[i], i < words.size() ? words[i] : QString());
    QCOMPARE(DocumentPathFromWords(table), path);
}

// The table has 21 entries; a longer command line must not be cut short
// (nor overrun the table).
void TestCommandLine::keepsEveryWordBeyondTheTable()
{
    QStringList words;
    for (int i = 0; i < 25; ++i)
        words.append(QStringLiteral("w%1").arg(i));
    const CommandLineWords table = ParseCommandLine(words.join(QStringLiteral("  ")));
    QCOMPARE(table[0], QStringLiteral("w0"));
    QCOMPARE(table[19], QStringLiteral("w19"));
    QCOMPARE(table[20], QStringLiteral("w20 w21 w22 w23 w24"));
    QCOMPARE(DocumentPathFromWords(table), words.join(u' '));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
