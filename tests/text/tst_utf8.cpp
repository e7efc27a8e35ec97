// Characters, quoting and file names as messages and rules count them.
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <filesystem>

#include "text/files.h"
#include "text/utf8.h"

using namespace nimbo;

namespace {
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

class TestUtf8 : public QObject {
    Q_OBJECT

private slots:
    void characters_data();
    void characters();
    void quoted_data();
    void quoted();
    void character_length_data();
    void character_length();
    void trimmed_data();
    void trimmed();
    void cyrillic_file_name_opens_and_reads_back();
};

void TestUtf8::characters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("total");

    QTest::newRow("Cyrillic letters are one character each") << QByteArray("1ДМЖ-2") << 2 << 3 << QByteArray("ДМЖ") << 6;
    QTest::newRow("three-byte character") << QByteArray("a€b") << 2 << 1 << QByteArray("€") << 3;
    QTest::newRow("four-byte character") << QByteArray("😀x") << 1 << 1 << QByteArray("😀") << 2;
    QTest::newRow("past the end gives the rest") << QByteArray("ДМ") << 2 << 5 << QByteArray("М") << 2;
    QTest::newRow("start beyond the text") << QByteArray("ab") << 4 << 1 << QByteArray() << 2;
    QTest::newRow("first 0 gives nothing") << QByteArray("ab") << 0 << 2 << QByteArray() << 2;
    QTest::newRow("count 0 gives nothing") << QByteArray("ab") << 1 << 0 << QByteArray() << 2;
    // A stray continuation byte stays with the character before it.
    QTest::newRow("stray continuation byte") << QByteArray("a\x80" "b") << 2 << 1 << QByteArray("b") << 2;
    QTest::newRow("empty text") << QByteArray() << 1 << 1 << QByteArray() << 0;
}

void TestUtf8::characters()
{
    QFETCH(QByteArray, text);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QByteArray, expected);
    QFETCH(int, total);
    const std::string_view t(text.constData(), static_cast<std::size_t>(text.size()));
    const std::string_view got = Characters(t, first, count);
    QCOMPARE(QByteArray(got.data(), static_cast<qsizetype>(got.size())), expected);
    QCOMPARE(CharacterCount(t), total);
}

void TestUtf8::quoted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("expected");
    QTest::newRow("short text whole") << "abc" << 5 << "«abc»";
    QTest::newRow("exactly the limit, no ellipsis") << "абвгд" << 5 << "«абвгд»";
    QTest::newRow("one over the limit is cut") << "абвгде" << 5 << "«абвгд…»";
    QTest::newRow("cut never splits a letter") << "ЖЖЖ" << 2 << "«ЖЖ…»";
    QTest::newRow("empty") << "" << 5 << "«»";
    QTest::newRow("line breaks kept") << "а\r\nб\tв" << 9 << "«а\r\nб\tв»";
}

void TestUtf8::quoted()
{
    QFETCH(QString, text);
    QFETCH(int, max);
    QFETCH(QString, expected);
    QCOMPARE(Q(Quoted(text.toStdString(), max)), expected);
    // One line: control characters become spaces, nothing else changes.
    QString line = expected;
    for (QChar& c : line)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    QCOMPARE(Q(QuotedLine(text.toStdString(), max)), line);
}

void TestUtf8::character_length_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("length");
    QTest::newRow("ASCII") << QByteArray("a\x80") << 1;
    QTest::newRow("NUL is a character") << QByteArray("\0", 1) << 1;
    QTest::newRow("Cyrillic letter") << QByteArray("Ж") << 2;
    QTest::newRow("euro sign") << QByteArray("€") << 3;
    QTest::newRow("emoji") << QByteArray("😀") << 4;
    QTest::newRow("highest code point U+10FFFF") << QByteArray("\xF4\x8F\xBF\xBF") << 4;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("lone continuation byte") << QByteArray("\x80") << 0;
    QTest::newRow("Windows-1251 letter") << QByteArray("\xC6\xE5") << 0;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << 0;
    QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << 0;
    QTest::newRow("UTF-16 surrogate") << QByteArray("\xED\xA0\x80") << 0;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0;
    QTest::newRow("cut short") << QByteArray("\xE2\x82") << 0;
    QTest::newRow("third byte not a continuation") << QByteArray("\xE2\x82" "a") << 0;
}

void TestUtf8::character_length()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, length);
    QCOMPARE(int(Utf8CharacterLength(std::string_view(bytes.constData(), std::size_t(bytes.size())))), length);
}

void TestUtf8::trimmed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("blanks");  // TrimBlanks: space and tab only
    QTest::addColumn<QString>("space");   // TrimSpace: line breaks too
    QTest::newRow("spaces and tabs") << " \t1 2\t " << "1 2" << "1 2";
    QTest::newRow("line breaks stay for blanks") << "\r\n1\n" << "\r\n1\n" << "1";
    QTest::newRow("only blanks") << " \t \r\n" << "\r\n" << "";
    QTest::newRow("inner blanks kept") << "a  b" << "a  b" << "a  b";
}

void TestUtf8::trimmed()
{
    QFETCH(QString, text);
    QFETCH(QString, blanks);
    QFETCH(QString, space);
    const std::string t = text.toStdString();
    QCOMPARE(Q(TrimBlanks(t)), blanks);
    QCOMPARE(Q(TrimSpace(t)), space);
}

void TestUtf8::cyrillic_file_name_opens_and_reads_back()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdU16String()) / u8"Журнал расчетов.csv";
    QVERIFY(QDir::fromNativeSeparators(Q(PathText(file))).endsWith(QStringLiteral("/Журнал расчетов.csv")));

    for (const char* mode : {"wb", "ab"}) {
        std::FILE* f = OpenFile(file, mode);
        QVERIFY2(f, mode);
        QCOMPARE(std::fputs("ab", f) >= 0, true);
        QCOMPARE(std::fclose(f), 0);
    }
    std::FILE* in = OpenFile(file, "rb");
    QVERIFY(in);
    char buf[8] = {};
    const std::size_t got = std::fread(buf, 1, sizeof buf, in);
    std::fclose(in);
    QCOMPARE(QByteArray(buf, static_cast<qsizetype>(got)), QByteArray("abab"));  // append kept the first write
    QVERIFY(!OpenFile(file.parent_path() / "нет такого" / "файла", "rb"));
}

QTEST_APPLESS_MAIN(TestUtf8)
#include "tst_utf8.moc"
