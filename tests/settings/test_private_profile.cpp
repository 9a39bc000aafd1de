#include "settings/private_profile.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestPrivateProfile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsValues_data();
    void readsValues();
    void cutsValuesToTheBuffer();
    void rawValueKeepsItsQuotes();
    void writesKeepEveryOtherLine_data();
    void writesKeepEveryOtherLine();
    void firstWriteCreatesTheFile();
    void keepsWindowsLineEnds();
    void survivesBinaryGarbage();
    void failedSaveIsReported();
    void windowsTextReadsBackTheSame();
    void whatIsNoRegularFileIsNeverReplaced_data();
    void whatIsNoRegularFileIsNeverReplaced();

private:
    QString path() const { return m_dir.path() + QStringLiteral("/TEST.INI"); }
    QTemporaryDir m_dir;
};

void TestPrivateProfile::init()
{
    QFile::remove(path());
}

void TestPrivateProfile::readsValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QByteArray file = "; a comment line\n"
                            "[Other]\n"
                            "Left=1\n"
                            "[SCRIBLET]\n"
                            "Left= 500\n"
                            "  Glossary1  =   spaced out   \n"
                            "Quoted=\"  in quotes  \"\n"
                            "Single='x'\n"
                            "Unbalanced=\"abc\n"
                            "Empty=\n"
                            ";Top=7\n"
                            "Equals=a=b\n"
                            "[scriblet]\n"
                            "Late=ignored\n";
    QTest::newRow("key") << file << "SCRIBLET" << "Left" << "500";
    QTest::newRow("other section") << file << "Other" << "Left" << "1";
    QTest::newRow("section name in any case") << file << "scriblet" << "Left" << "500";
    QTest::newRow("key name in any case") << file << "SCRIBLET" << "LEFT" << "500";
    QTest::newRow("blanks around key and value") << file << "SCRIBLET" << "Glossary1" << "spaced out";
    QTest::newRow("double quotes stripped") << file << "SCRIBLET" << "Quoted" << "  in quotes  ";
    QTest::newRow("single quotes stripped") << file << "SCRIBLET" << "Single" << "x";
    QTest::newRow("one quote kept") << file << "SCRIBLET" << "Unbalanced" << "\"abc";
    QTest::newRow("empty value") << file << "SCRIBLET" << "Empty" << "";
    QTest::newRow("commented key is missing") << file << "SCRIBLET" << "Top" << "";
    QTest::newRow("value holds an equals sign") << file << "SCRIBLET" << "Equals" << "a=b";
    QTest::newRow("missing key") << file << "SCRIBLET" << "Nothing" << "";
    QTest::newRow("missing section") << file << "Nowhere" << "Left" << "";
    QTest::newRow("first of two like-named sections") << file << "SCRIBLET" << "Late" << "";
    QTest::newRow("CR LF lines") << QByteArray("[S]\r\nA=1\r\nB=2\r\n") << "S" << "B" << "2";
    QTest::newRow("lone CR lines") << QByteArray("[S]\rA=1\rB=2") << "S" << "B" << "2";
    QTest::newRow("cut never splits a surrogate pair")
        << "[S]\nA=" + QByteArray(254, 'x') + "\xf0\x9f\x98\x80\n" << "S" << "A" << QString(254, u'x');
    QTest::newRow("Windows-1252 value") << QByteArray("[S]\nA=caf\xe9\n") << "S" << "A" << QString::fromUtf8("café");
}

void TestPrivateProfile::readsValues()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    WriteFileBytes(path(), file);
    QCOMPARE(PrivateProfile(path()).readString(section, key, 256), value);
}

void TestPrivateProfile::cutsValuesToTheBuffer()
{
    WriteFileBytes(path(), "[S]\nLong=" + QByteArray(300, 'g') + "\nShort=12345678901234567890\n");
    const PrivateProfile profile(path());
    QCOMPARE(profile.readString("S", "Long", 256), QString(255, u'g'));
    QCOMPARE(profile.readString("S", "Short", 16), QStringLiteral("123456789012345"));
    QCOMPARE(profile.readString("S", "Short", 1), QString());
    QCOMPARE(profile.readString("S", "Short", 0), QString());
}

void TestPrivateProfile::rawValueKeepsItsQuotes()
{
    QCOMPARE(PrivateProfile::fromBytes("[S]\nKey= '' \n").readRawValue("s", "KEY"), QStringLiteral("''"));
}

void TestPrivateProfile::writesKeepEveryOtherLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("replaced in place, the file's spelling of the key kept")
        << QByteArray("; keep me\n[scriblet]\n  left =1\nTop=2\n[Other]\nLeft=9\n") << "Left"
        << QByteArray("; keep me\n[scriblet]\nleft= 7\nTop=2\n[Other]\nLeft=9\n");
    QTest::newRow("byte-order mark before the section: found and kept")
        << QByteArray("\xEF\xBB\xBF[SCRIBLET]\nLeft=1\n") << "Left" << QByteArray("\xEF\xBB\xBF[SCRIBLET]\nLeft= 7\n");
    QTest::newRow("appended to its section before the blank line")
        << QByteArray("[SCRIBLET]\nTop=2\n\n[Other]\nA=1\n") << "Left"
        << QByteArray("[SCRIBLET]\nTop=2\nLeft= 7\n\n[Other]\nA=1\n");
    QTest::newRow("section appended at the end") << QByteArray("[Other]\nA=1\n") << "Left"
                                                 << QByteArray("[Other]\nA=1\n\n[SCRIBLET]\nLeft= 7\n");
    QTest::newRow("file without a final line end") << QByteArray("[SCRIBLET]\nTop=2") << "Left"
                                                   << QByteArray("[SCRIBLET]\nTop=2\nLeft= 7\n");
}

void TestPrivateProfile::writesKeepEveryOtherLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    WriteFileBytes(path(), before);
    PrivateProfile profile(path());
    profile.writeString("SCRIBLET", key, " 7");
    QVERIFY(profile.save());
    QCOMPARE(ReadFileBytes(path()), after);

    PrivateProfile inMemory = PrivateProfile::fromBytes(before);
    inMemory.writeString("SCRIBLET", key, " 7");
    QCOMPARE(inMemory.toBytes(), after);
    QVERIFY(!inMemory.save());
}

void TestPrivateProfile::firstWriteCreatesTheFile()
{
    PrivateProfile profile(path());
    QCOMPARE(profile.readString("SCRIBLET", "Left", 16), QString());
    QVERIFY(!QFile::exists(path()));
    profile.writeString("SCRIBLET", "Left", " 500");
    profile.writeString("SCRIBLET", "Note", "two\nlines");
    QVERIFY(profile.save());
    QCOMPARE(ReadFileBytes(path()), QByteArray("[SCRIBLET]\nLeft= 500\nNote=two lines\n"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"TEST.INI"}); // no temporary left behind
}

void TestPrivateProfile::keepsWindowsLineEnds()
{
    WriteFileBytes(path(), "[SCRIBLET]\r\nTop=2\r\n");
    PrivateProfile profile(path());
    profile.writeString("SCRIBLET", "Left", "-120");
    QVERIFY(profile.save());
    QCOMPARE(ReadFileBytes(path()), QByteArray("[SCRIBLET]\r\nTop=2\r\nLeft=-120\r\n"));
}

void TestPrivateProfile::survivesBinaryGarbage()
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    WriteFileBytes(path(), garbage + "\n[SCRIBLET]\nLeft=12\n" + QByteArray(100000, 'x'));
    PrivateProfile profile(path());
    QCOMPARE(profile.readString("SCRIBLET", "Left", 16), QStringLiteral("12"));
    profile.writeString("SCRIBLET", "Left", " 13");
    QVERIFY(profile.save());
    const QByteArray written = ReadFileBytes(path());
    QVERIFY(written.startsWith(garbage.left(10)));
    QVERIFY(written.contains("Left= 13"));
}

void TestPrivateProfile::failedSaveIsReported()
{
    const QString notADirectory = m_dir.path() + QStringLiteral("/plain-file");
    WriteFileBytes(notADirectory, "x");
    PrivateProfile underAFile(notADirectory + QStringLiteral("/TEST.INI"));
    underAFile.writeString("S", "A", "2");
    QVERIFY(!underAFile.save());
    QCOMPARE(ReadFileBytes(notADirectory), QByteArray("x"));

    PrivateProfile noPath{QString()};
    noPath.writeString("S", "A", "2");
    QVERIFY(!noPath.save());
}

// Windows-1252 bytes that would read back as UTF-8 are written as UTF-8.
void TestPrivateProfile::windowsTextReadsBackTheSame()
{
    WriteFileBytes(path(), "[SCRIBLET]\nGlossary1=\xc3\xa9\xff\n");
    PrivateProfile before(path());
    QCOMPARE(before.readString("SCRIBLET", "Glossary1", 256), QString::fromUtf8("\u00c3\u00a9\u00ff"));
    before.writeString("SCRIBLET", "Glossary1", QString::fromUtf8("\u00c3\u00a9"));
    QVERIFY(before.save());
    QCOMPARE(PrivateProfile(path()).readString("SCRIBLET", "Glossary1", 256), QString::fromUtf8("\u00c3\u00a9"));
}

void TestPrivateProfile::whatIsNoRegularFileIsNeverReplaced_data()
{
    QTest::addColumn<bool>("pipe");
    QTest::newRow("a named pipe would hang the start") << true;
    QTest::newRow("a directory") << false;
}

void TestPrivateProfile::whatIsNoRegularFileIsNeverReplaced()
{
    QFETCH(bool, pipe);
    QVERIFY(pipe ? ::mkfifo(QFile::encodeName(path()).constData(), 0600) == 0 : QDir().mkdir(path()));
    PrivateProfile profile(path()); // returns at once, a pipe without a writer included
    QCOMPARE(profile.readString("SCRIBLET", "Left", 16), QString());
    profile.writeString("SCRIBLET", "Left", " 7");
    QVERIFY(!profile.save());
    QCOMPARE(QFileInfo(path()).isDir(), !pipe);
    QCOMPARE(QFileInfo(path()).isFile(), false);
    QVERIFY(pipe ? QDir().remove(path()) : QDir().rmdir(path()));
}

QTEST_GUILESS_MAIN(TestPrivateProfile)
#include "test_private_profile.moc"
