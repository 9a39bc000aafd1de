#include "settings/text_encoding.h"

#include <QRandomGenerator>
#include <QTest>

#include <array>

class TestTextEncoding : public QObject
{
    Q_OBJECT

private slots:
    void decodes_data();
    void decodes();
    void everyWindowsByteSurvivesARoundTrip();
    void writesInTheEncodingItWasReadIn_data();
    void writesInTheEncodingItWasReadIn();
    void savesWhatTheNextLoadReadsBack_data();
    void savesWhatTheNextLoadReadsBack();
    void generatedNotesReadBackAfterSaving();
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
    QTest::newRow("empty") << QByteArray() << QString() << true;
    QTest::newRow("UTF-8 with a stray byte") << QByteArray("caf\xc3\xa9 cr\xc3\xa8me\r\nstray \xff byte")
                                             << QString::fromUtf8("café crème\r\nstray ÿ byte") << true;
    QTest::newRow("one sequence, one stray byte: tie is Windows-1252")
        << QByteArray("caf\xc3\xa9 ok\r\nstray \xff byte") << QString::fromUtf8("cafÃ© ok\r\nstray ÿ byte") << false;
    QTest::newRow("stray unused code stays C1") << QByteArray("\xc3\xa9\xc3\xa9\x81")
                                                << QString::fromUtf8("éé") + QChar(0x81) << true;
    QTest::newRow("overlong 2 bytes") << QByteArray("\xc0\xaf") << QString::fromUtf8("À¯") << false;
    QTest::newRow("overlong 3 bytes among UTF-8")
        << QByteArray("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xe0\x80\xaf") << QString::fromUtf8("ééééà€¯") << true;
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << QString::fromUtf8("í\u00a0€") << false;
    QTest::newRow("above U+10FFFF among UTF-8")
        << QByteArray("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xf4\x90\x80\x80") << QString::fromUtf8("éééééô\u0090€€") << true;
    QTest::newRow("highest code point") << QByteArray("\xf4\x8f\xbf\xbf") << QString::fromUcs4(U"\U0010FFFF") << true;
    QTest::newRow("truncated at the end among UTF-8")
        << QByteArray("\xc3\xa9\xc3\xa9\xc3\xa9 \xe2\x82") << QString::fromUtf8("ééé â‚") << true;
    QTest::newRow("emoji counts once: tie") << QByteArray("\xf0\x9f\x98\x80 \x93") << QString::fromUtf8("ðŸ˜€ “")
                                            << false;
    QTest::newRow("two emoji and a stray byte") << QByteArray("\xf0\x9f\x98\x80\xf0\x9f\x98\x80 \x93")
                                                << QString::fromUtf8("😀😀 “") << true;
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
    QCOMPARE(EncodeForSaving(decoded.text, decoded.encoding).bytes, all);
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
    QCOMPARE(EncodeForSaving(text, TextEncoding(readIn)).bytes, bytes);
}

void TestTextEncoding::savesWhatTheNextLoadReadsBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("readIn");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");

    QTest::newRow("Windows-1252 kept byte for byte")
        << QString::fromUtf8("café ‘x’\r\n\x1a") << int(TextEncoding::Windows1252) << QByteArray("caf\xe9 \x91x\x92\r\n\x1a")
        << false;
    QTest::newRow("tie reads back: kept") << QString::fromUtf8("Ã©ÿ") << int(TextEncoding::Windows1252)
                                          << QByteArray("\xc3\xa9\xff") << false;
    QTest::newRow("would read as é: UTF-8") << QString::fromUtf8("Ã©") << int(TextEncoding::Windows1252)
                                            << QByteArray("\xc3\x83\xc2\xa9") << true;
    QTest::newRow("would read as ’: UTF-8") << QString::fromUtf8("â€™") << int(TextEncoding::Windows1252)
                                            << QByteArray("\xc3\xa2\xe2\x82\xac\xe2\x84\xa2") << true;
    QTest::newRow("does not fit: UTF-8") << QString::fromUtf8("é☺") << int(TextEncoding::Windows1252)
                                         << QByteArray("\xc3\xa9\xe2\x98\xba") << true;
    QTest::newRow("stray byte of a UTF-8 note") << DecodeText("\xc3\xa9\xc3\xa9 \xff").text << int(TextEncoding::Utf8)
                                                << QByteArray("\xc3\xa9\xc3\xa9 \xc3\xbf") << true;
}

void TestTextEncoding::savesWhatTheNextLoadReadsBack()
{
    QFETCH(QString, text);
    QFETCH(int, readIn);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    const EncodedText saved = EncodeForSaving(text, TextEncoding(readIn));
    QCOMPARE(saved.bytes, bytes);
    QCOMPARE(saved.encoding == TextEncoding::Utf8, utf8);
}

void TestTextEncoding::generatedNotesReadBackAfterSaving()
{
    // Pieces that fit Windows-1252 come first, so a text drawn from them alone can stay 1252.
    const std::array<QString, 14> pieces = {
        QStringLiteral("a"),  QStringLiteral(" "),      QStringLiteral("\r\n"), QString::fromUtf8("é"),
        QString::fromUtf8("ÿ"), QString::fromUtf8("€"),  QString::fromUtf8("‘’“”…–"), QString::fromUtf8("Ã©"),
        QString::fromUtf8("â€™"), QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D),
        QString::fromUtf8("Ã"), QString::fromUtf8("©"), QString::fromUtf8("漢字"), QString::fromUtf8("😀"),
    };
    constexpr int Fits1252 = 12;
    QRandomGenerator random(1252);
    int kept = 0;
    int converted = 0;
    for (int n = 0; n < 3000; ++n) {
        const int poolSize = random.bounded(2) == 0 ? Fits1252 : int(pieces.size());
        QString text;
        for (int length = random.bounded(random.bounded(300) + 1); length > 0; --length)
            text += pieces[random.bounded(poolSize)];
        text += QChar(26);
        for (const TextEncoding enc : {TextEncoding::Windows1252, TextEncoding::Utf8}) {
            const EncodedText saved = EncodeForSaving(text, enc);
            QCOMPARE(DecodeText(saved.bytes).text, text);
            const std::optional<QByteArray> asWindows = EncodeText(text, TextEncoding::Windows1252);
            if (enc == TextEncoding::Windows1252 && asWindows && DecodeText(*asWindows).text == text) {
                QCOMPARE(saved.encoding, TextEncoding::Windows1252);
                QCOMPARE(saved.bytes, *asWindows);
            }
            (saved.encoding == TextEncoding::Windows1252 ? kept : converted) += enc == TextEncoding::Windows1252;
        }
    }
    // Both outcomes must occur, or the checks above prove little.
    QVERIFY(kept > 100);
    QVERIFY(converted > 100);
}

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "test_text_encoding.moc"
