#include "settings/numeric_text.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestNumericText : public QObject
{
    Q_OBJECT

private slots:
    void readsTheLeadingNumber_data();
    void readsTheLeadingNumber();
    void roundsToInt16_data();
    void roundsToInt16();
    void writesValueText_data();
    void writesValueText();
};

void TestNumericText::readsTheLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("whole") << "500" << 500.0;
    QTest::newRow("leading blank") << " 500" << 500.0;
    QTest::newRow("leading tab") << "\t7" << 7.0;
    QTest::newRow("negative") << "-120" << -120.0;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("fraction") << "9.75" << 9.75;
    QTest::newRow("fraction only") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("exponent") << "1.5e3" << 1500.0;
    QTest::newRow("negative exponent") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits stops") << "7e" << 7.0;
    QTest::newRow("stops at letters") << "12abc" << 12.0;
    QTest::newRow("stops at a blank") << "1 2" << 1.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("past the range by its exponent") << "-1e400" << -infinity;
    QTest::newRow("past the range by its digits alone") << "1" + QString(400, u'0') << infinity;
    QTest::newRow("past the range despite a negative exponent") << "1" + QString(400, u'0') + "e-10" << infinity;
    QTest::newRow("below the range despite a positive exponent") << "0." + QString(400, u'0') + "1e+10" << 0.0;
    QTest::newRow("below the range") << "1e-400" << 0.0;
}

void TestNumericText::readsTheLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(NumericValue(text), value);
}

void TestNumericText::roundsToInt16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -99999: does not fit

    QTest::newRow("12abc") << "12abc" << 12;
    QTest::newRow("2.5 to even 2") << "2.5" << 2;
    QTest::newRow("3.5 to even 4") << "3.5" << 4;
    QTest::newRow("-2.5 to even -2") << "-2.5" << -2;
    QTest::newRow("2.6 up") << "2.6" << 3;
    QTest::newRow("abc is 0") << "abc" << 0;
    QTest::newRow("largest") << "32767" << 32767;
    QTest::newRow("smallest") << "-32768" << -32768;
    QTest::newRow("one too large") << "32768" << -99999;
    QTest::newRow("one too small") << "-32769" << -99999;
    QTest::newRow("rounds past the range") << "32767.5" << -99999;
    QTest::newRow("absurd exponent") << "1e400" << -99999;
    QTest::newRow("absurd negative exponent") << "-1e999" << -99999;
    QTest::newRow("absurd count of digits") << "1" + QString(400, u'0') << -99999;
}

void TestNumericText::roundsToInt16()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    const std::optional<std::int16_t> result = ToInt16(text);
    if (value == -99999) {
        QVERIFY(!result.has_value());
    } else {
        QVERIFY(result.has_value());
        QCOMPARE(int(*result), value);
    }
}

void TestNumericText::writesValueText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("positive") << 500.0 << " 500";
    QTest::newRow("negative") << -120.0 << "-120";
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("fraction without trailing zeros") << 9.75 << " 9.75";
    QTest::newRow("colour") << 16777215.0 << " 16777215";
    QTest::newRow("system colour") << -2147483643.0 << "-2147483643";
}

void TestNumericText::writesValueText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberValueText(value), text);
    QCOMPARE(NumericValue(text), value == 0 ? 0.0 : value);
}

QTEST_GUILESS_MAIN(TestNumericText)
#include "test_numeric_text.moc"
