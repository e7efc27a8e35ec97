// The log file Nimbo.csv: exact bytes of headers and data lines, the two
// writing modes, and failures that report instead of leaving half a line.
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "text/cp1251.h"
#include "log/log_file.h"

using namespace nimbo;
namespace fs = std::filesystem;

namespace {

const char* const kHeader1 =
    "ВР, Типоразмер, Наличие КСД, Регулятор формы струи, Регулятор расхода, L(м3/ч), V(м/с) или X(м/с), "
    "P(Па), l(м) или V(м/с), F0(м2), V0(м/с), Fв(м2), Vв(м2), Fжс(м2), Vжс(м/с)";
const char* const kHeader2 =
    "ВР, Типоразмер, Наличие КСД, Регулятор формы струи, Регулятор расхода, L(м3/ч), X(м), P(Па), V(м/с), "
    "F0(м2), V0(м/с), Fв(м2), Vв(м2), Fжс(м2), Vжс(м/с)";

// Windows-1251 line with CR LF, from UTF-8 text.
QByteArray FileLine(const QString& utf8)
{
    return QByteArray::fromStdString(cp1251::fromUtf8(utf8.toStdString())) + "\r\n";
}

QByteArray ReadAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
}

void WriteAll(const fs::path& file, const QByteArray& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes.toStdString();
}

LogRecord Record(const QStringList& columns)
{
    Q_ASSERT(columns.size() == 15);
    std::array<std::string*, 15> items;
    LogRecord r;
    items = {&r.model, &r.size, &r.plenum, &r.jetForm, &r.flowRegulator, &r.L, &r.V, &r.p, &r.x,
             &r.F0, &r.V0, &r.Fv, &r.Vv, &r.Fjs, &r.Vjs};
    for (int i = 0; i < 15; ++i)
        *items[static_cast<std::size_t>(i)] = columns[i].toStdString();
    r.LwA = "42";
    return r;
}

LogRecord SampleRecord(const QString& model)
{
    return Record({model, "300х300", "Нет", "-", "b=0°", "500", "0.2", "12.5", "3.4", "0.09", "1.54", "0.1",
                   "1.39", "0.05", "2.78"});
}

}  // namespace

class TestLogFile : public QObject {
    Q_OBJECT

private slots:
    void headers_are_exact_data();
    void headers_are_exact();
    void data_line_bytes_data();
    void data_line_bytes();
    void file_holds_headers_and_lines_in_order();
    void create_mode_empties_the_file();
    void missing_file_is_created_data();
    void missing_file_is_created();
    void write_failure_is_reported_data();
    void write_failure_is_reported();
    void failed_write_leaves_no_half_line_data();
    void failed_write_leaves_no_half_line();
};

void TestLogFile::headers_are_exact_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("text");

    QTest::newRow("variant 1") << 1 << QString::fromUtf8(kHeader1);
    QTest::newRow("variant 2") << 2 << QString::fromUtf8(kHeader2);
}

void TestLogFile::headers_are_exact()
{
    QFETCH(int, variant);
    QFETCH(QString, text);

    const QByteArray bytes = QByteArray::fromStdString(LogFile::headerBytes(variant));
    QCOMPARE(bytes, FileLine(text));
    // "ВР, Тип" in Windows-1251, independent of the converter.
    QVERIFY(bytes.startsWith("\xC2\xD0, \xD2\xE8\xEF"));
    QVERIFY(bytes.endsWith(")\r\n"));
}

void TestLogFile::data_line_bytes_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("line");  // without CR LF

    const QStringList plain{"ДМЖ-1", "300х300", "Нет", "-", "b=0°", "500", "0.2", "12.5", "3.4",
                            "0.09", "1.54", "0.1", "1.39", "0.05", "2.78"};
    QTest::newRow("plain columns joined by a bare comma")
        << plain << "ДМЖ-1,300х300,Нет,-,b=0°,500,0.2,12.5,3.4,0.09,1.54,0.1,1.39,0.05,2.78";

    QStringList empty = plain;
    empty[9] = empty[10] = "";
    QTest::newRow("empty columns") << empty << "ДМЖ-1,300х300,Нет,-,b=0°,500,0.2,12.5,3.4,,,0.1,1.39,0.05,2.78";

    QStringList dashes = plain;
    for (int i = 7; i < 15; ++i)
        dashes[i] = "-";
    QTest::newRow("dashes written as dashes") << dashes << "ДМЖ-1,300х300,Нет,-,b=0°,500,0.2,-,-,-,-,-,-,-,-";

    QStringList decimalComma = plain;
    decimalComma[5] = "500,5";
    decimalComma[6] = "0,2";
    QTest::newRow("decimal comma is quoted")
        << decimalComma << "ДМЖ-1,300х300,Нет,-,b=0°,\"500,5\",\"0,2\",12.5,3.4,0.09,1.54,0.1,1.39,0.05,2.78";

    QStringList quote = plain;
    quote[0] = "ДМЖ \"Люкс\"";
    QTest::newRow("inner quotes doubled")
        << quote << "\"ДМЖ \"\"Люкс\"\"\",300х300,Нет,-,b=0°,500,0.2,12.5,3.4,0.09,1.54,0.1,1.39,0.05,2.78";

    QStringList breaks = plain;
    breaks[5] = "5\n0";
    breaks[6] = "0\r2";
    QTest::newRow("line breaks are quoted")
        << breaks << "ДМЖ-1,300х300,Нет,-,b=0°,\"5\n0\",\"0\r2\",12.5,3.4,0.09,1.54,0.1,1.39,0.05,2.78";

    QStringList blanks = plain;
    blanks[5] = " 500 ";
    blanks[6] = "0;2";
    QTest::newRow("blanks and semicolons are not quoted")
        << blanks << "ДМЖ-1,300х300,Нет,-,b=0°, 500 ,0;2,12.5,3.4,0.09,1.54,0.1,1.39,0.05,2.78";

    QStringList foreign = plain;
    foreign[5] = "5€0é";
    QTest::newRow("characters outside Windows-1251 become ?")
        << foreign << "ДМЖ-1,300х300,Нет,-,b=0°,5€0?,0.2,12.5,3.4,0.09,1.54,0.1,1.39,0.05,2.78";
}

void TestLogFile::data_line_bytes()
{
    QFETCH(QStringList, columns);
    QFETCH(QString, line);

    const LogRecord record = Record(columns);
    QCOMPARE(QByteArray::fromStdString(LogFile::dataLineBytes(record)), FileLine(line));
}

void TestLogFile::file_holds_headers_and_lines_in_order()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const LogFile log(fs::path(dir.path().toStdString()) / "Nimbo.csv");

    // Start-up, two calculations, switch to variant 2, one calculation, switch back.
    QVERIFY(log.writeHeader(1, WriteMode::Create));
    QVERIFY(log.appendDataLine(SampleRecord("А1")));
    QVERIFY(log.appendDataLine(SampleRecord("А2")));
    QVERIFY(log.writeHeader(2, WriteMode::Append));
    QVERIFY(log.appendDataLine(SampleRecord("Б1")));
    QVERIFY(log.writeHeader(1, WriteMode::Append));

    const QString tail = ",300х300,Нет,-,b=0°,500,0.2,12.5,3.4,0.09,1.54,0.1,1.39,0.05,2.78";
    const QByteArray expected = FileLine(QString::fromUtf8(kHeader1)) + FileLine("А1" + tail) +
                                FileLine("А2" + tail) + FileLine(QString::fromUtf8(kHeader2)) +
                                FileLine("Б1" + tail) + FileLine(QString::fromUtf8(kHeader1));
    QCOMPARE(ReadAll(log.path()), expected);
}

void TestLogFile::create_mode_empties_the_file()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const LogFile log(fs::path(dir.path().toStdString()) / "Nimbo.csv");
    WriteAll(log.path(), "old run\r\nold line\r\n");

    // Two starts in a row leave the variant-1 header alone.
    QVERIFY(log.writeHeader(1, WriteMode::Create));
    QVERIFY(log.writeHeader(1, WriteMode::Create));
    QCOMPARE(ReadAll(log.path()), FileLine(QString::fromUtf8(kHeader1)));
}

void TestLogFile::missing_file_is_created_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("content");

    QTest::newRow("data line, without a header")
        << "data" << "М,300х300,Нет,-,b=0°,500,0.2,12.5,3.4,0.09,1.54,0.1,1.39,0.05,2.78";
    QTest::newRow("header in append mode") << "append 2" << QString::fromUtf8(kHeader2);
    QTest::newRow("header in create mode") << "create 1" << QString::fromUtf8(kHeader1);
}

void TestLogFile::missing_file_is_created()
{
    QFETCH(QString, operation);
    QFETCH(QString, content);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const LogFile log(fs::path(dir.path().toStdString()) / "Nimbo.csv");
    QVERIFY(!fs::exists(log.path()));

    WriteResult result;
    if (operation == "data")
        result = log.appendDataLine(SampleRecord("М"));
    else if (operation == "append 2")
        result = log.writeHeader(2, WriteMode::Append);
    else
        result = log.writeHeader(1, WriteMode::Create);
    QVERIFY2(result.ok, result.error.c_str());
    QVERIFY(result.error.empty());
    QCOMPARE(ReadAll(log.path()), FileLine(content));
}

void TestLogFile::write_failure_is_reported_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("cause");

    for (const char* op : {"create", "append", "data"}) {
        QTest::addRow("folder at the path, %s", op) << "folder" << op << "папка, а не файл";
        QTest::addRow("folder removed, %s", op) << "no folder" << op << "папка не найдена";
#ifdef Q_OS_LINUX
        // Once followed to the device: now neither the link nor a device is written.
        QTest::addRow("link to /dev/full, %s", op) << "full" << op << "ссылка";
        QTest::addRow("link to nowhere, %s", op) << "dangling" << op << "ссылка";
        QTest::addRow("device at the path, %s", op) << "device" << op << "не обычный файл";
#endif
        QTest::addRow("read-only file, %s", op) << "read-only" << op << "нет прав";
    }
    QTest::newRow("unknown variant") << "none" << "variant 3" << "вариант";
}

void TestLogFile::write_failure_is_reported()
{
    QFETCH(QString, setup);
    QFETCH(QString, operation);
    QFETCH(QString, cause);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    fs::path file = fs::path(dir.path().toStdString()) / "Nimbo.csv";
    if (setup == "folder") {
        fs::create_directory(file);
    } else if (setup == "no folder") {
        file = fs::path(dir.path().toStdString()) / "removed" / "Nimbo.csv";
    } else if (setup == "full") {
        if (!fs::exists("/dev/full"))
            QSKIP("no /dev/full here");
        fs::create_symlink("/dev/full", file);
    } else if (setup == "dangling") {
        fs::create_symlink(file.parent_path() / "victim.txt", file);
    } else if (setup == "device") {
        file = "/dev/full";
    } else if (setup == "read-only") {
        WriteAll(file, "x\r\n");
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        // Root writes whatever the mode bits say, and so does wine run by
        // root whatever the read-only attribute says.
        if (std::ofstream(file, std::ios::binary | std::ios::app).is_open())
            QSKIP("a read-only file does not stop this user here");
    }

    const LogFile log(file);
    WriteResult result;
    if (operation == "create")
        result = log.writeHeader(1, WriteMode::Create);
    else if (operation == "append")
        result = log.writeHeader(2, WriteMode::Append);
    else if (operation == "data")
        result = log.appendDataLine(SampleRecord("М"));
    else
        result = log.writeHeader(3, WriteMode::Append);

    QVERIFY(!result.ok);
    QVERIFY(!result);
    const QString error = QString::fromStdString(result.error);
    QVERIFY2(error.contains(QString::fromStdString(file.string())), qPrintable(error));
    QVERIFY2(error.contains(cause), qPrintable(error));
    QVERIFY(!fs::exists(file.parent_path() / "victim.txt"));
}

void TestLogFile::failed_write_leaves_no_half_line_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("room");  // bytes the file may still grow by

    QTest::newRow("data line, room for a few bytes") << "data" << 5;
    QTest::newRow("data line, no room") << "data" << 0;
    QTest::newRow("header, room for a few bytes") << "header" << 7;
}

void TestLogFile::failed_write_leaves_no_half_line()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file size limit");
#else
    QFETCH(QString, operation);
    QFETCH(int, room);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const LogFile log(fs::path(dir.path().toStdString()) / "Nimbo.csv");
    QVERIFY(log.writeHeader(1, WriteMode::Create));
    QVERIFY(log.appendDataLine(SampleRecord("А1")));
    const QByteArray before = ReadAll(log.path());

    // A file size limit makes the write stop part-way, as a full disk would.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = static_cast<rlim_t>(before.size() + room);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);

    const WriteResult result = operation == "data" ? log.appendDataLine(SampleRecord("А2"))
                                                   : log.writeHeader(2, WriteMode::Append);

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    QVERIFY(!result.ok);
    QCOMPARE(ReadAll(log.path()), before);
    // Once there is room again the next line lands whole, right after the last.
    QVERIFY(log.appendDataLine(SampleRecord("А3")));
    QCOMPARE(ReadAll(log.path()), before + QByteArray::fromStdString(LogFile::dataLineBytes(SampleRecord("А3"))));
#endif
}

QTEST_APPLESS_MAIN(TestLogFile)
#include "tst_log_file.moc"
