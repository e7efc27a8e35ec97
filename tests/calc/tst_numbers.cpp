// The number rules behind every result text: half-even rounding of the
// exact binary value, the decimal text of doubles and singles under either
// separator, typed numbers and the leading number of the slot length.
#include <QtTest>

#include <cmath>
#include <limits>

#include "calc/model_name.h"
#include "calc/numbers.h"

using namespace nimbo;

Q_DECLARE_METATYPE(nimbo::TypedStatus)

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void round_sends_exact_halves_to_even_data();
    void round_sends_exact_halves_to_even();
    void number_text_data();
    void number_text();
    void single_text_data();
    void single_text();
    void value_text_keeps_catalogue_digits();
    void typed_number_data();
    void typed_number();
    void leading_number_data();
    void leading_number();
    void decimal_logarithm();
    void series_codes_data();
    void series_codes();
};

void TestNumbers::round_sends_exact_halves_to_even_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");
    QTest::newRow("12.5 down to even 12") << 12.5 << 0 << 12.0;
    QTest::newRow("13.5 up to even 14") << 13.5 << 0 << 14.0;
    QTest::newRow("2.5 to 2") << 2.5 << 0 << 2.0;
    QTest::newRow("3.5 to 4") << 3.5 << 0 << 4.0;
    QTest::newRow("0.25 to 0.2") << 0.25 << 1 << 0.2;
    QTest::newRow("0.35 is below half in binary") << 0.35 << 1 << 0.3;
    QTest::newRow("56.5 to 56") << 56.5 << 0 << 56.0;
    QTest::newRow("57.5 to 58") << 57.5 << 0 << 58.0;
    QTest::newRow("-2.5 to -2") << -2.5 << 0 << -2.0;
    QTest::newRow("throw 4.2426 to 4.2") << 4.242640687119285 << 1 << 4.2;
    QTest::newRow("area to 3 decimals") << 0.0784 << 3 << 0.078;
    QTest::newRow("area to 4 decimals") << 0.100000001490116 << 4 << 0.1;
    QTest::newRow("beyond 2^53 unchanged") << 1e300 << 1 << 1e300;
    QTest::newRow("not above half") << 0.0499999 << 1 << 0.0;
}

void TestNumbers::round_sends_exact_halves_to_even()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    QCOMPARE(Round(value, decimals), expected);
}

void TestNumbers::number_text_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole, point") << 3.0 << '.' << "3";
    QTest::newRow("whole, comma") << 3.0 << ',' << "3";
    QTest::newRow("half, point") << 2.5 << '.' << "2.5";
    QTest::newRow("half, comma") << 2.5 << ',' << "2,5";
    QTest::newRow("duct area, point") << 0.09 << '.' << "0.09";
    QTest::newRow("duct area, comma") << 0.09 << ',' << "0,09";
    QTest::newRow("widened single has 15 digits") << double(0.1f) << '.' << "0.100000001490116";
    QTest::newRow("15 significant digits") << 1.0 / 3 << ',' << "0,333333333333333";
    QTest::newRow("no grouping") << 1234567.5 << ',' << "1234567,5";
    QTest::newRow("negative zero reads 0") << -0.0 << '.' << "0";
    QTest::newRow("negative") << -1.5 << ',' << "-1,5";
    QTest::newRow("tiny takes an exponent") << 1e-5 << ',' << "1E-05";
    QTest::newRow("0.0001 stays plain") << 0.0001 << '.' << "0.0001";
    QTest::newRow("huge takes an exponent") << 1.5e20 << ',' << "1,5E+20";
    QTest::newRow("not a number") << std::nan("") << '.' << "-";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << '.' << "-";
}

void TestNumbers::number_text()
{
    QFETCH(double, value);
    QFETCH(char, separator);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(NumberText(value, separator)), expected);
}

void TestNumbers::single_text_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1.1, point") << 1.1f << '.' << "1.1";
    QTest::newRow("1.1, comma") << 1.1f << ',' << "1,1";
    QTest::newRow("0.1") << 0.1f << '.' << "0.1";
    QTest::newRow("7 significant digits") << 3.3333333f << ',' << "3,333333";
    QTest::newRow("whole") << 111111.0f << '.' << "111111";
    QTest::newRow("product of singles") << 1.1f * 1.3f << '.' << "1.43";
    QTest::newRow("beyond 7 digits takes an exponent") << 12345678.0f << ',' << "1,234568E+07";
    QTest::newRow("negative dL") << -3.0f << '.' << "-3";
}

void TestNumbers::single_text()
{
    QFETCH(float, value);
    QFETCH(char, separator);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(SingleText(value, separator)), expected);
}

void TestNumbers::value_text_keeps_catalogue_digits()
{
    // The same bits read "1.1" as a catalogue single and show their binary
    // tail once they are a computed double.
    QCOMPARE(QString::fromStdString(ValueText(Value::Single(1.1f), ',')), QStringLiteral("1,1"));
    QCOMPARE(QString::fromStdString(ValueText(Value::Double(1.1f), ',')), QStringLiteral("1,10000002384186"));
}

void TestNumbers::typed_number_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TypedStatus>("status");
    QTest::addColumn<double>("value");
    const auto number = TypedStatus::Number, notNumber = TypedStatus::NotANumber;
    QTest::newRow("default Vx with a point") << "0.2" << number << 0.2;
    QTest::newRow("default X with a point") << "3.5" << number << 3.5;
    QTest::newRow("decimal comma") << "0,5" << number << 0.5;
    QTest::newRow("blanks around") << "  360 \t" << number << 360.0;
    QTest::newRow("plus sign") << "+5" << number << 5.0;
    QTest::newRow("minus sign") << "-5" << number << -5.0;
    QTest::newRow("minus zero") << "-0" << number << -0.0;
    QTest::newRow("trailing separator") << "5." << number << 5.0;
    QTest::newRow("leading separator") << ",5" << number << 0.5;
    QTest::newRow("exponent") << "1e3" << number << 1000.0;
    QTest::newRow("exponent with comma and sign") << "1,5E-2" << number << 0.015;
    QTest::newRow("empty") << "" << TypedStatus::Empty << 0.0;
    QTest::newRow("blanks only") << "   " << TypedStatus::Empty << 0.0;
    QTest::newRow("overflow") << "1e999" << TypedStatus::OutOfRange << 0.0;
    QTest::newRow("underflow") << "1e-999" << TypedStatus::OutOfRange << 0.0;
    QTest::newRow("long digit run overflows") << QString(400, '9') << TypedStatus::OutOfRange << 0.0;
    QTest::newRow("letters") << "abc" << notNumber << 0.0;
    QTest::newRow("two commas") << "1,2,3" << notNumber << 0.0;
    QTest::newRow("two points") << "1.2.3" << notNumber << 0.0;
    QTest::newRow("point and comma") << "1,000.5" << notNumber << 0.0;
    QTest::newRow("thousands blank") << "1 000" << notNumber << 0.0;
    QTest::newRow("nan") << "nan" << notNumber << 0.0;
    QTest::newRow("inf") << "inf" << notNumber << 0.0;
    QTest::newRow("Cyrillic word") << "пять" << notNumber << 0.0;
    QTest::newRow("Cyrillic exponent letter") << "1е3" << notNumber << 0.0;
    QTest::newRow("hexadecimal") << "0x10" << notNumber << 0.0;
    QTest::newRow("exponent without digits") << "1e" << notNumber << 0.0;
    QTest::newRow("exponent alone") << "e5" << notNumber << 0.0;
    QTest::newRow("separator alone") << "." << notNumber << 0.0;
    QTest::newRow("sign alone") << "-" << notNumber << 0.0;
    QTest::newRow("unit after number") << "5 м/с" << notNumber << 0.0;
}

void TestNumbers::typed_number()
{
    QFETCH(QString, text);
    QFETCH(TypedStatus, status);
    QFETCH(double, value);
    const TypedNumber n = ParseTypedNumber(text.toStdString());
    QCOMPARE(n.status, status);
    if (status == TypedStatus::Number) {
        QCOMPARE(n.value, value);
        QCOMPARE(std::signbit(n.value), std::signbit(value));
        QCOMPARE(ParseTyped(text.toStdString()).value(), value);
    } else {
        QVERIFY(!ParseTyped(text.toStdString()).has_value());
    }
}

void TestNumbers::leading_number_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "1000" << 1000.0;
    QTest::newRow("blanks anywhere") << " 1 0 00 " << 1000.0;
    QTest::newRow("comma stops it") << "3,5" << 3.0;
    QTest::newRow("point continues it") << "3.5" << 3.5;
    QTest::newRow("unit stops it") << "600мм" << 600.0;
    QTest::newRow("sign") << "-2.5x" << -2.5;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent letter without digits") << "1e" << 1.0;
    QTest::newRow("D exponent") << "1d2" << 100.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("overflow") << "1e999" << std::numeric_limits<double>::infinity();
    QTest::newRow("underflow") << "1e-999" << 0.0;
}

void TestNumbers::leading_number()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(LeadingNumber(text.toStdString()), expected);
}

void TestNumbers::decimal_logarithm()
{
    // The slot-length addition of a 2000 mm slot.
    QCOMPARE(Round(10 * Lg(2), 4), 3.0103);
    QCOMPARE(Round(10 * Lg(4), 4), 6.0206);
    QCOMPARE(Lg(100), 2.0);
}

void TestNumbers::series_codes_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("slot jet series") << "1ДМЖ-2" << "ДМЖ" << "Ж-2";
    QTest::newRow("ДМЖ at the end only") << "АВ-ДМЖ" << "В-Д" << "ДМЖ";
    QTest::newRow("slot grille suffix") << "ЩР-ДМЗ" << "Р-Д" << "ДМЗ";
    QTest::newRow("Latin and Cyrillic mixed") << "XДПЗ" << "ДПЗ" << "ДПЗ";
    QTest::newRow("short name") << "АБ" << "Б" << "АБ";
    QTest::newRow("empty name") << "" << "" << "";
}

void TestNumbers::series_codes()
{
    QFETCH(QString, model);
    QFETCH(QString, code);
    QFETCH(QString, suffix);
    const std::string name = model.toStdString();
    QCOMPARE(QString::fromStdString(std::string(SeriesCode(name))), code);
    QCOMPARE(QString::fromStdString(std::string(SeriesSuffix(name))), suffix);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
