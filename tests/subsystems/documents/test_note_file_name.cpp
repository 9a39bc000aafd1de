#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_storage.h"

#include <QTest>

class TestNoteFileName : public QObject
{
    Q_OBJECT

private slots:
    void extensionRule_data();
    void extensionRule();
    void probeName_data();
    void probeName();
};

void TestNoteFileName::extensionRule_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("completed");

    QTest::newRow("SCB") << "/notes/MEMO.SCB" << true << "/notes/MEMO.SCB";
    QTest::newRow("txt lower case") << "/notes/NOTES.txt" << true << "/notes/NOTES.txt";
    QTest::newRow("mixed case") << "/notes/NOTES.ScB" << true << "/notes/NOTES.ScB";
    QTest::newRow("only three characters count") << "/notes/NOTES.SCBX" << true << "/notes/NOTES.SCBX";
    QTest::newRow("first dot decides") << "/notes/LIST.TXT.BAK" << true << "/notes/LIST.TXT.BAK";
    QTest::newRow("dots in directory names do not count") << "/home/ann.lee/my.dir/notes.scb" << true
                                                           << "/home/ann.lee/my.dir/notes.scb";
    QTest::newRow("hidden directory") << "/home/ann/.config/x.txt" << true << "/home/ann/.config/x.txt";
    QTest::newRow("no dot gets .SCB") << "/home/ann.lee/notes" << true << "/home/ann.lee/notes.SCB";
    QTest::newRow("blanks and non-ASCII") << QString::fromUtf8("/n/Grüße an Ann") << true
                                          << QString::fromUtf8("/n/Grüße an Ann.SCB");
    QTest::newRow("other extension") << "/notes/report.doc" << false << "/notes/report.doc";
    QTest::newRow("binary") << "/usr/bin/ls.so" << false << "/usr/bin/ls.so";
    QTest::newRow("dot without extension") << "/notes/notes." << false << "/notes/notes.";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("a directory") << "/notes/" << false << "/notes/";
}

void TestNoteFileName::extensionRule()
{
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    QFETCH(QString, completed);
    const ExtensionCheck check = CheckNoteFileExtension(path);
    QCOMPARE(check.accepted, accepted);
    QCOMPARE(check.path, completed);
}

void TestNoteFileName::probeName_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("probe");

    QTest::newRow("plain") << "/home/ann/memo.scb" << "/home/ann/memo.ZZZ";
    QTest::newRow("dot in the directory") << "/home/ann.lee/memo.scb" << "/home/ann.lee/memo.ZZZ";
    QTest::newRow("two dots in the name") << "/n/list.txt.bak" << "/n/list.ZZZ";
    QTest::newRow("no dot") << "/n/notes" << "/n/notes.ZZZ";
    QTest::newRow("no directory") << "memo.scb" << "memo.ZZZ";
}

void TestNoteFileName::probeName()
{
    QFETCH(QString, target);
    QFETCH(QString, probe);
    QCOMPARE(ProbePathFor(target), probe);
}

QTEST_GUILESS_MAIN(TestNoteFileName)
#include "test_note_file_name.moc"
