#include "app/text_encoding.h"

#include <QTest>

class TestTextEncoding : public QObject
{
    Q_OBJECT

private slots:
    void decodes_data();
    void decodes();
    void everyWindowsByteSurvivesARoundTrip();
    void writesInTheEncodingItWasReadIn_data();
    void writesInTheEncodingItWasReadIn();
};

void TestTextEncoding::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("utf8");

    QTest::newRow("ASCII") << QByteArray("plain") << "plain" << true;
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9") << QString::fromUtf8("café") << true;
    QTest::newRow("Windows-1252 letter") << QByteArray("caf\xe9") << QString::fromUtf8("café") << false;
    QTest::newRow("Windows-1252 euro and quotes") << QByteArray("\x80 \x93x\x94") << QString::fromUtf8("€ “x”")
                                                  << false;
    QTest::newRow("truncated UTF-8 sequence") << QByteArray("ab\xc3") << QString::fromUtf8("abÃ") << false;
    QTest::newRow("byte order mark kept") << QByteArray("\xef\xbb\xbfx") << QString(QChar(0xFEFF)) + u'x' << true;
}

void TestTextEncoding::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, utf8);
    const DecodedText decoded = DecodeText(bytes);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding == TextEncoding::Utf8, utf8);
}

void TestTextEncoding::everyWindowsByteSurvivesARoundTrip()
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    const DecodedText decoded = DecodeText(all);
    QCOMPARE(decoded.encoding, TextEncoding::Windows1252);
    QCOMPARE(EncodeKeepingEncoding(decoded.text, decoded.encoding), all);
}

void TestTextEncoding::writesInTheEncodingItWasReadIn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("readIn");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("fits Windows-1252") << QString::fromUtf8("café €") << int(TextEncoding::Windows1252)
                                       << QByteArray("caf\xe9 \x80");
    QTest::newRow("does not fit: UTF-8, nothing replaced")
        << QString::fromUtf8("café ☺") << int(TextEncoding::Windows1252) << QByteArray("caf\xc3\xa9 \xe2\x98\xba");
    QTest::newRow("UTF-8 stays UTF-8") << QString::fromUtf8("café") << int(TextEncoding::Utf8)
                                       << QByteArray("caf\xc3\xa9");
}

void TestTextEncoding::writesInTheEncodingItWasReadIn()
{
    QFETCH(QString, text);
    QFETCH(int, readIn);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeKeepingEncoding(text, TextEncoding(readIn)), bytes);
}

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "test_text_encoding.moc"
