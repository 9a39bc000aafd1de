#include "settings/private_profile.h"
#include "settings/settings.h"
#include "support/test_environment.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString ProgramDir = QStringLiteral("/home/ann.lee/.local/share/scriblet");

Settings LoadFrom(const QString& path, const QByteArray& fileContent, bool commandLineNamedDocument = false)
{
    WriteFileBytes(path, fileContent);
    Settings settings;
    LoadSettings(settings, PrivateProfile(path), ProgramDir, commandLineNamedDocument);
    return settings;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void missingFileGivesEveryDefault();
    void readsNumbers_data();
    void readsNumbers();
    void readsTexts_data();
    void readsTexts();
    void commandLineDocumentWins();
    void rootProgramDirectoryGetsNoSecondSlash();
    void writesEveryKeyInOrder();
    void typedTextsComeBackAsTyped();
    void minimizedWindowKeepsStoredGeometry();
    void untitledDocumentKeepsStoredFileName();

private:
    QString path() const { return m_dir.path() + QStringLiteral("/SCRIBLET.INI"); }
    QTemporaryDir m_dir;
};

void TestSettings::missingFileGivesEveryDefault()
{
    Settings s;
    LoadSettings(s, PrivateProfile(m_dir.path() + QStringLiteral("/missing.INI")), ProgramDir, false);
    QCOMPARE(s.Left, 500);
    QCOMPARE(s.Top, 500);
    QCOMPARE(s.Width, 6510);
    QCOMPARE(s.Height, 2040);
    QCOMPARE(s.ButtonBar, 1);
    QCOMPARE(s.FileName, ProgramDir + "/SCRBLT20.SCB");
    QCOMPARE(s.File1, ProgramDir + "/SCRBLT20.SCB");
    QCOMPARE(s.File2, ProgramDir + "/ADDRESS.SCB");
    QCOMPARE(s.File3, ProgramDir + "/TODO.SCB");
    QCOMPARE(s.Glossary1, QStringLiteral("Text For Glossary Button 1"));
    QCOMPARE(s.Glossary2, QStringLiteral("Text For Glossary Button 2"));
    QCOMPARE(s.Glossary3, QStringLiteral("Text For Glossary Button 3"));
    QCOMPARE(s.Signature, QStringLiteral("Text For Signature Button"));
    QCOMPARE(s.OnTop, 0);
    QCOMPARE(s.BackColor, 16777215);
    QCOMPARE(s.FontName, QStringLiteral("Arial"));
    QCOMPARE(s.FontSize, 10.0);
    QCOMPARE(s.FontBold, QString());
    QCOMPARE(s.FontItalic, QString());
    QCOMPARE(s.AutoSave, 0);
    QCOMPARE(s.AutoSaveTime, 10);
    QCOMPARE(s.TimerBeep, 0);
    QCOMPARE(s.BeepTime, 60);
    QCOMPARE(s.FileInTitle, 0);
}

void TestSettings::readsNumbers_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("value");

    QTest::newRow("empty value takes the default") << QByteArray("Left=") << "Left" << 500.0;
    QTest::newRow("blank value takes the default") << QByteArray("Width=   ") << "Width" << 6510.0;
    QTest::newRow("leading blank as written") << QByteArray("Left= 500") << "Left" << 500.0;
    QTest::newRow("negative") << QByteArray("Top=-120") << "Top" << -120.0;
    QTest::newRow("12abc") << QByteArray("AutoSaveTime=12abc") << "AutoSaveTime" << 12.0;
    QTest::newRow("2.5 rounds to 2") << QByteArray("AutoSaveTime=2.5") << "AutoSaveTime" << 2.0;
    QTest::newRow("3.5 rounds to 4") << QByteArray("BeepTime=3.5") << "BeepTime" << 4.0;
    QTest::newRow("abc reads as 0") << QByteArray("Width=abc") << "Width" << 0.0;
    QTest::newRow("20 characters read as their first 15")
        << QByteArray("Left=00000000000012345678") << "Left" << 123.0;
    QTest::newRow("beyond 16 bits takes the default") << QByteArray("AutoSaveTime=99999") << "AutoSaveTime" << 10.0;
    QTest::newRow("window beyond 16 bits, on a wide screen") << QByteArray("Left=99999") << "Left" << 99999.0;
    QTest::newRow("window beyond 32 bits takes the default") << QByteArray("Height=99999999999") << "Height"
                                                             << 2040.0;
    QTest::newRow("absurd exponent takes the default") << QByteArray("Top=1e999") << "Top" << 500.0;
    QTest::newRow("flag off") << QByteArray("ButtonBar=0") << "ButtonBar" << 0.0;
    QTest::newRow("flag on as written") << QByteArray("OnTop= 1") << "OnTop" << 1.0;
    QTest::newRow("hand-edited flag counts as on") << QByteArray("AutoSave=7") << "AutoSave" << 1.0;
    QTest::newRow("flag text reads as off") << QByteArray("FileInTitle=yes") << "FileInTitle" << 0.0;
    QTest::newRow("font size keeps its fraction") << QByteArray("FontSize= 9.75") << "FontSize" << 9.75;
    QTest::newRow("colour") << QByteArray("BackColor= 255") << "BackColor" << 255.0;
    QTest::newRow("system colour") << QByteArray("BackColor=-2147483643") << "BackColor" << -2147483643.0;
    QTest::newRow("colour beyond 32 bits takes the default") << QByteArray("BackColor=99999999999") << "BackColor"
                                                             << 16777215.0;
}

void TestSettings::readsNumbers()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, field);
    QFETCH(double, value);
    const Settings s = LoadFrom(path(), "[SCRIBLET]\n" + line + "\n");
    const QHash<QString, double> fields{
        {"Left", s.Left},           {"Top", s.Top},         {"Width", s.Width},
        {"Height", s.Height},       {"ButtonBar", s.ButtonBar}, {"OnTop", s.OnTop},
        {"BackColor", s.BackColor}, {"FontSize", s.FontSize},   {"AutoSave", s.AutoSave},
        {"AutoSaveTime", s.AutoSaveTime}, {"BeepTime", s.BeepTime}, {"FileInTitle", s.FileInTitle},
    };
    QVERIFY(fields.contains(field));
    QCOMPARE(fields.value(field), value);
}

void TestSettings::readsTexts_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");

    QTest::newRow("300 characters come back as 255") << "Glossary1=" + QByteArray(300, 'x') << "Glossary1"
                                                     << QString(255, u'x');
    QTest::newRow("empty glossary takes the default") << QByteArray("Glossary2=") << "Glossary2"
                                                      << "Text For Glossary Button 2";
    QTest::newRow("signature as read") << QByteArray("Signature=Ann Lee, Boston") << "Signature"
                                       << "Ann Lee, Boston";
    QTest::newRow("font name trimmed") << QByteArray("FontName=  Courier New  ") << "FontName" << "Courier New";
    QTest::newRow("bold text kept as text") << QByteArray("FontBold= True ") << "FontBold" << "True";
    QTest::newRow("blanks inside quotes trimmed too") << QByteArray("FontBold=\" True \"") << "FontBold" << "True";
    QTest::newRow("quoted font name trimmed") << QByteArray("FontName=\"  Courier New \"") << "FontName"
                                              << "Courier New";
    QTest::newRow("italic cut to 15 characters") << QByteArray("FontItalic=FalseFalseFalseFalse") << "FontItalic"
                                                 << "FalseFalseFalse";
    QTest::newRow("document path") << QByteArray("FileName=/home/ann/my notes.scb") << "FileName"
                                   << "/home/ann/my notes.scb";
    QTest::newRow("quick file") << QByteArray("File3=/tmp/x.txt") << "File3" << "/tmp/x.txt";
    QTest::newRow("missing quick file takes the default") << QByteArray("File2=") << "File2"
                                                          << ProgramDir + "/ADDRESS.SCB";
    QTest::newRow("single-quoted empty glossary") << QByteArray("Glossary1=''") << "Glossary1" << "";
    QTest::newRow("quoted empty font name is Arial") << QByteArray("FontName=\"\"") << "FontName" << "Arial";
}

void TestSettings::readsTexts()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, field);
    QFETCH(QString, value);
    const Settings s = LoadFrom(path(), "[SCRIBLET]\n" + line + "\n");
    const QHash<QString, QString> fields{
        {"Glossary1", s.Glossary1}, {"Glossary2", s.Glossary2}, {"Signature", s.Signature},
        {"FontName", s.FontName},   {"FontBold", s.FontBold},   {"FontItalic", s.FontItalic},
        {"FileName", s.FileName},   {"File2", s.File2},         {"File3", s.File3},
    };
    QVERIFY(fields.contains(field));
    QCOMPARE(fields.value(field), value);
}

void TestSettings::commandLineDocumentWins()
{
    WriteFileBytes(path(), "[SCRIBLET]\nFileName=/remembered.scb\n");
    Settings s;
    s.FileName = QStringLiteral("/from/command line.scb");
    LoadSettings(s, PrivateProfile(path()), ProgramDir, true);
    QCOMPARE(s.FileName, QStringLiteral("/from/command line.scb"));
}

void TestSettings::rootProgramDirectoryGetsNoSecondSlash()
{
    QCOMPARE(ProgramFilePath("/", "TODO.SCB"), QStringLiteral("/TODO.SCB"));
    QCOMPARE(ProgramFilePath("/opt", "TODO.SCB"), QStringLiteral("/opt/TODO.SCB"));
}

void TestSettings::writesEveryKeyInOrder()
{
    Settings s;
    LoadSettings(s, PrivateProfile(QString()), ProgramDir, false);
    s.Top = -120;
    PrivateProfile profile(path() + QStringLiteral(".new"));
    WriteSettings(profile, s, {16777215, "Arial", 9.75, true, false}, false);
    QVERIFY(profile.save());
    const QByteArray expected = "[SCRIBLET]\n"
                                "Left= 500\n"
                                "Top=-120\n"
                                "Width= 6510\n"
                                "Height= 2040\n"
                                "OnTop= 0\n"
                                "AutoSave= 0\n"
                                "AutoSaveTime= 10\n"
                                "TimerBeep= 0\n"
                                "BeepTime= 60\n"
                                "ButtonBar= 1\n"
                                "FileName=/home/ann.lee/.local/share/scriblet/SCRBLT20.SCB\n"
                                "File1=/home/ann.lee/.local/share/scriblet/SCRBLT20.SCB\n"
                                "File2=/home/ann.lee/.local/share/scriblet/ADDRESS.SCB\n"
                                "File3=/home/ann.lee/.local/share/scriblet/TODO.SCB\n"
                                "Glossary1=Text For Glossary Button 1\n"
                                "Glossary2=Text For Glossary Button 2\n"
                                "Glossary3=Text For Glossary Button 3\n"
                                "Signature=Text For Signature Button\n"
                                "FileInTitle= 0\n"
                                "BackColor= 16777215\n"
                                "FontName=Arial\n"
                                "FontSize= 9.75\n"
                                "FontBold=True\n"
                                "FontItalic=False\n";
    QCOMPARE(ReadFileBytes(path() + QStringLiteral(".new")), expected);
}

// A cleared text stays cleared at the next start; one typed in quotes keeps them.
void TestSettings::typedTextsComeBackAsTyped()
{
    for (const QString& typed : {QString(), QStringLiteral("\"hi\""), QStringLiteral("\"\"")}) {
        Settings s;
        s.File1 = s.File2 = s.File3 = s.Glossary1 = s.Glossary2 = s.Glossary3 = s.Signature = typed;
        PrivateProfile profile = PrivateProfile::fromBytes({});
        WriteSettings(profile, s, {16777215, "Arial", 10, false, false}, false);
        Settings reread;
        LoadSettings(reread, PrivateProfile::fromBytes(profile.toBytes()), ProgramDir, false);
        QCOMPARE((QStringList{reread.File1, reread.File2, reread.File3, reread.Glossary1, reread.Glossary2,
                              reread.Glossary3, reread.Signature}),
                 QStringList(7, typed));
    }
}

void TestSettings::minimizedWindowKeepsStoredGeometry()
{
    WriteFileBytes(path(), "[SCRIBLET]\nLeft= 900\nTop= 800\nWidth= 7000\nHeight= 3000\n");
    Settings s = LoadFrom(path(), ReadFileBytes(path()));
    s.Left = 1;
    s.Width = 2;
    PrivateProfile profile(path());
    WriteSettings(profile, s, {}, true);
    QVERIFY(profile.save());
    const Settings reread = LoadFrom(path(), ReadFileBytes(path()));
    QCOMPARE(reread.Left, 900);
    QCOMPARE(reread.Top, 800);
    QCOMPARE(reread.Width, 7000);
    QCOMPARE(reread.Height, 3000);
}

void TestSettings::untitledDocumentKeepsStoredFileName()
{
    Settings s = LoadFrom(path(), "[SCRIBLET]\nFileName=/notes/last.scb\n");
    s.FileName = UntitledFileName;
    PrivateProfile profile(path());
    WriteSettings(profile, s, {}, false);
    QVERIFY(profile.save());
    QCOMPARE(LoadFrom(path(), ReadFileBytes(path())).FileName, QStringLiteral("/notes/last.scb"));
    QVERIFY(!ReadFileBytes(path()).contains("PQRSTUVW"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
