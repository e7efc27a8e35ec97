// The Windows-1251 table in both directions.
#include <QTest>

#include "text/cp1251.h"

using namespace nimbo;

class TestCp1251 : public QObject {
    Q_OBJECT

private slots:
    void every_assigned_byte_round_trips();
    void decodes_to_valid_utf8();
    void known_characters_data();
    void known_characters();
    void unrepresentable_becomes_question_mark_data();
    void unrepresentable_becomes_question_mark();
};

void TestCp1251::every_assigned_byte_round_trips()
{
    std::string all;
    for (int b = 1; b <= 255; ++b)
        if (b != 0x98)
            all += static_cast<char>(b);
    const std::string utf8 = cp1251::toUtf8(all);
    QCOMPARE(QByteArray::fromStdString(cp1251::fromUtf8(utf8)), QByteArray::fromStdString(all));

    // And each byte on its own, so that a clash of two bytes on one code
    // point names the byte.
    for (unsigned char c : all) {
        const std::string one(1, static_cast<char>(c));
        QVERIFY2(cp1251::fromUtf8(cp1251::toUtf8(one)) == one, qPrintable(QString::number(c, 16)));
    }
}

void TestCp1251::decodes_to_valid_utf8()
{
    std::string all;
    for (int b = 1; b <= 255; ++b)
        all += static_cast<char>(b);
    const QByteArray utf8 = QByteArray::fromStdString(cp1251::toUtf8(all));
    const QString text = QString::fromUtf8(utf8);
    QCOMPARE(text.size(), 255);
    QCOMPARE(text.toUtf8(), utf8);
    // Only the unassigned 0x98 may decode to the replacement character.
    QCOMPARE(text.count(QChar::ReplacementCharacter), 1);
    QCOMPARE(text.indexOf(QChar::ReplacementCharacter), 0x98 - 1);
}

void TestCp1251::known_characters_data()
{
    QTest::addColumn<QByteArray>("cp1251");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("Az09,.\"") << "Az09,.\"";
    QTest::newRow("capital А") << QByteArray("\xC0") << QString(QChar(0x0410));
    QTest::newRow("small я") << QByteArray("\xFF") << QString(QChar(0x044F));
    QTest::newRow("Ё") << QByteArray("\xA8") << QString(QChar(0x0401));
    QTest::newRow("ё") << QByteArray("\xB8") << QString(QChar(0x0451));
    QTest::newRow("numero sign") << QByteArray("\xB9") << QString(QChar(0x2116));
    QTest::newRow("euro sign") << QByteArray("\x88") << QString(QChar(0x20AC));
    QTest::newRow("en dash") << QByteArray("\x96") << QString(QChar(0x2013));
    QTest::newRow("no-break space") << QByteArray("\xA0") << QString(QChar(0x00A0));
    QTest::newRow("degree sign") << QByteArray("\xB0") << QString(QChar(0x00B0));
    QTest::newRow("Ukrainian Ґ") << QByteArray("\xA5") << QString(QChar(0x0490));
    QTest::newRow("first of the upper half, Ђ") << QByteArray("\x80") << QString(QChar(0x0402));
    QTest::newRow("unassigned 0x98") << QByteArray("\x98") << QString(QChar(0xFFFD));
    QTest::newRow("a header word") << QByteArray("\xD2\xE8\xEF\xEE\xF0\xE0\xE7\xEC\xE5\xF0")
                                   << QString::fromUtf8("Типоразмер");
}

void TestCp1251::known_characters()
{
    QFETCH(QByteArray, cp1251);
    QFETCH(QString, text);

    QCOMPARE(QString::fromStdString(cp1251::toUtf8(cp1251.toStdString())), text);
    if (!text.contains(QChar::ReplacementCharacter))
        QCOMPARE(QByteArray::fromStdString(cp1251::fromUtf8(text.toStdString())), cp1251);
}

void TestCp1251::unrepresentable_becomes_question_mark_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("Latin é") << QByteArray("caf\xC3\xA9") << QByteArray("caf?");
    QTest::newRow("Chinese") << QByteArray("\xE6\x97\xA5\xE6\x9C\xAC") << QByteArray("??");
    QTest::newRow("emoji, four bytes") << QByteArray("a\xF0\x9F\x98\x80z") << QByteArray("a?z");
    QTest::newRow("replacement character") << QByteArray("\xEF\xBF\xBD") << QByteArray("?");
    QTest::newRow("lone continuation byte") << QByteArray("a\x80z") << QByteArray("a?z");
    QTest::newRow("truncated sequence at the end") << QByteArray("a\xD0") << QByteArray("a?");
    QTest::newRow("truncated sequence before ASCII") << QByteArray("\xE2\x82z") << QByteArray("?z");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QByteArray("?");
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << QByteArray("?");
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << QByteArray("?");
    QTest::newRow("Cyrillic kept around a bad byte") << QByteArray("\xD0\x94\xFF\xD0\x9C") << QByteArray("\xC4?\xCC");
}

void TestCp1251::unrepresentable_becomes_question_mark()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, expected);

    QCOMPARE(QByteArray::fromStdString(cp1251::fromUtf8(utf8.toStdString())), expected);
}

QTEST_APPLESS_MAIN(TestCp1251)
#include "tst_cp1251.moc"
