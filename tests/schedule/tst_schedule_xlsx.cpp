// The schedule spreadsheet as a reader sees it: written to a real file, read
// back by openpyxl (tests/schedule/read_xlsx.py), cell by cell with each
// cell's type; the bill of quantities on its own; and the file faults, each
// a message in Russian with the earlier file left as it was.
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <clocale>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "schedule/schedule.h"
#include "support/host_tool.h"
#include "support/read_only.h"
#include "text/files.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/mount.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace nimbo;
using namespace nimbo::test;
namespace fs = std::filesystem;

namespace {

// The columns as the engineer is to find them, kept apart from the program's
// own table: header with unit, width in characters.
struct GoldenColumn {
    const char* header;
    int width;
};
constexpr GoldenColumn kRoomSheet[] = {
    {"Помещение", 26}, {"A, м", 7},       {"B, м", 7},        {"H, м", 7},        {"L, м³/ч", 9},
    {"Ограничения", 20}, {"Тип", 20},     {"Модель", 12},     {"Типоразмер", 12}, {"Исполнение", 16},
    {"n, шт", 6},      {"L1, м³/ч", 9},   {"ΔP, Па", 8},      {"LwA, дБ(А)", 10}, {"l, м", 7},
    {"Vx, м/с", 8},    {"V0, м/с", 8},    {"LpA, дБ(А)", 10}, {"NR", 6},          {"NC", 6},
};
constexpr GoldenColumn kBillSheet[] = {
    {"Модель", 14}, {"Типоразмер", 12}, {"Исполнение", 16}, {"Количество, шт", 12}, {"L, м³/ч", 10},
};

std::vector<ScheduleRow> Rooms()
{
    ScheduleRow office{"101 Кабинет «угловой»", 6.25, 4, 3, 850, "ΔP≤40; NR≤35", "Диффузоры потолочные", "ПДК-1",
                       "450x450", "КСД, Веер", 2, 425, 23, 31, JetResult::Throw, 3.4, 1.9, 27, {24, ""}, {{}, "<15"}};
    ScheduleRow meeting{"102 Переговорная \"Б\"\nвторой этаж", 8, 5.5, 3.2, 500, "", "Решётки", "РВ-2", "1000x150",
                        "", 1, 500, std::nullopt, 38, JetResult::Velocity, 0.3, 2.2, NAN, {}, {30, ""}};
    ScheduleRow small = office;
    small.room = "103 Кабинет";
    small.L = 500;
    small.n = 1;
    ScheduleRow store;  // no outlet chosen yet
    store.room = "104 Склад";
    return {office, meeting, small, store};
}

ScheduleHeader Header()
{
    return {"ЖК «Север» & K°", "Корпус 2", "ОВ", "Иванов И. И.", "01.03.2024", "A/b от 12.02.2024"};
}

// Every file of a folder with its bytes: what a fault must leave as it was.
std::map<std::string, std::string> Contents(const fs::path& folder)
{
    std::map<std::string, std::string> out;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        std::ifstream in(e.path(), std::ios::binary);
        out[PathText(e.path().filename())] =
            e.is_directory() ? "<folder>" : std::string(std::istreambuf_iterator<char>(in), {});
    }
    return out;
}

QString ColumnLetter(int column) { return QString(QChar(static_cast<char16_t>(u'A' + column))); }

const fs::path kName = u8"Ведомость.xlsx";

// Undoes a fault when the test ends, however it ends.
struct Lift {
    std::function<void()> undo;
    ~Lift()
    {
        if (undo)
            undo();
    }
};

// One fault made for real in the folder, which holds the earlier file. Empty
// when made, otherwise why it cannot be made here.
QString MakeFault(const QString& kind, const fs::path& folder, Lift& lift)
{
    const fs::path file = folder / kName;
    if (kind == QLatin1String("read-only folder")) {
        lift.undo = [folder] { MakeReadOnly(folder, false); };
        return MakeReadOnly(folder, true) ? QString() : QStringLiteral("this user creates files in any folder here");
    }
    if (kind == QLatin1String("read-only file")) {
        lift.undo = [file] { LiftFileReadOnly(file); };
        return MakeFileReadOnly(file);
    }
    if (kind == QLatin1String("folder in the target's place")) {
        fs::remove(file);
        fs::create_directory(file);
    }
    if (kind == QLatin1String("file held open")) {
#ifdef Q_OS_WIN
        // As a spreadsheet program holds a workbook: others may read it, not write it.
        HANDLE held = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        lift.undo = [held] { ::CloseHandle(held); };
        return held == INVALID_HANDLE_VALUE ? QStringLiteral("the file cannot be held open") : QString();
#else
        return QStringLiteral("only Windows locks a file against writing");
#endif
    }
    if (kind == QLatin1String("write cut short")) {
#ifdef Q_OS_UNIX
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit cut = saved;
        cut.rlim_cur = 3000;  // bytes: the file is larger
        lift.undo = [saved] { ::setrlimit(RLIMIT_FSIZE, &saved); };
        return ::setrlimit(RLIMIT_FSIZE, &cut) == 0 ? QString() : QStringLiteral("the size limit cannot be lowered");
#else
        return QStringLiteral("no file size limit on Windows");
#endif
    }
    if (kind == QLatin1String("full disk")) {
#ifdef __linux__
        // A small file system of its own over the folder, filled to the last
        // block, with the earlier file in it.
        if (::geteuid() != 0 || ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
            return QStringLiteral("only root mounts a small file system here");
        lift.undo = [folder] { ::umount2(folder.c_str(), MNT_DETACH); };
        std::ofstream(file, std::ios::binary) << "the earlier schedule";
        std::ofstream filler(folder / "filler", std::ios::binary);
        const std::string block(1024, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush())
            ;
#else
        return QStringLiteral("a small file system is mounted on Linux alone");
#endif
    }
    return {};
}

}  // namespace

class TestScheduleXlsx : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cells_read_back_data();
    void cells_read_back();
    void header_row_is_the_column_list();
    void bill_of_quantities_data();
    void bill_of_quantities();
    void fault_keeps_the_earlier_file_data();
    void fault_keeps_the_earlier_file();

private:
    QTemporaryDir dir_;
    QJsonObject read_;
};

void TestScheduleXlsx::initTestCase()
{
#ifdef Q_OS_UNIX
    // Only with the C library itself in the Russian locale does the comma run
    // prove that the numbers in the file keep their decimal point.
    if (qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("ru_RU")))
        QCOMPARE(QString::fromLatin1(std::localeconv()->decimal_point), QStringLiteral(","));
#endif
    // State: an earlier file in a folder named with a blank and Cyrillic
    // letters. Action: the schedule written over it. Expected: the new file
    // alone, nothing left beside it.
    QVERIFY(dir_.isValid());
    const QString folder = dir_.filePath(QStringLiteral("Проект 1"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/Ведомость.xlsx");
    std::ofstream(PathFromText(file.toStdString()), std::ios::binary) << "the earlier schedule";
    QCOMPARE(QString::fromStdString(WriteScheduleXlsx(file.toStdString(), Header(), Rooms())), QString());
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("Ведомость.xlsx")});
    read_ = ReadXlsx(file);
    QVERIFY(!read_.isEmpty());
}

void TestScheduleXlsx::cells_read_back_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");  // "" where nothing is to be
    const auto row = [](const char* name, const char* key, const char* expected) {
        QTest::newRow(name) << QString::fromUtf8(key) << QString::fromUtf8(expected);
    };
    row("sheets in order", "sheets", "Ведомость|Спецификация");
    row("name with quotes", "Ведомость!A2", "s:101 Кабинет «угловой»");
    row("name with a line break", "Ведомость!A3", "s:102 Переговорная \"Б\"\nвторой этаж");
    row("room length a number", "Ведомость!B2", "n:6.25");
    row("room length with up to two decimals", "Ведомость!format:B2", "0.0#");
    row("total flow a number", "Ведомость!E2", "n:850");
    row("limits as given", "Ведомость!F2", "s:ΔP≤40; NR≤35");
    row("pressure loss in whole pascals", "Ведомость!format:M2", "0");
    row("missing pressure loss a dash", "Ведомость!M3", "s:-");
    row("throw in its column", "Ведомость!O2", "n:3.4");
    row("throw in tenths", "Ведомость!format:O2", "0.0");
    row("a throw leaves the velocity empty", "Ведомость!P2", "");
    row("velocity in its column", "Ведомость!P3", "n:0.3");
    row("a result that is not finite a dash", "Ведомость!R3", "s:-");
    row("NR a number", "Ведомость!S2", "n:24");
    row("missing NR a dash", "Ведомость!S3", "s:-");
    row("NC a text", "Ведомость!T2", "s:<15");
    row("header bold", "Ведомость!bold:A1", "1");
    row("rooms frozen under the header and beside the name", "Ведомость!freeze", "B2");
    row("filter over the rooms", "Ведомость!filter", "A1:T5");
    row("project, object and date above the page", "Ведомость!header", "ЖК «Север» & K°|Корпус 2, ОВ|01.03.2024");
    row("project as the title", "title", "ЖК «Север» & K°");
    row("bill: one outlet of two rooms", "Спецификация!A2", "s:ПДК-1");
    row("bill: count summed over the rooms", "Спецификация!D2", "n:3");
    row("bill: flow summed over the rooms", "Спецификация!E2", "n:1350");
    row("bill: a room without an outlet left out", "Спецификация!A4", "");
    row("bill frozen under the header", "Спецификация!freeze", "A2");
}

void TestScheduleXlsx::cells_read_back()
{
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(read_.value(key).toString(), expected);
}

void TestScheduleXlsx::header_row_is_the_column_list()
{
    const auto check = [this](const QString& sheet, const auto& columns) {
        int c = 0;
        for (const GoldenColumn& column : columns) {
            const QString letter = ColumnLetter(c++);
            QCOMPARE(read_.value(sheet + QStringLiteral("!") + letter + QStringLiteral("1")).toString(),
                     QStringLiteral("s:") + QString::fromUtf8(column.header));
            // Stored with the padding a spreadsheet adds to the width given.
            QCOMPARE(std::floor(read_.value(sheet + QStringLiteral("!width:") + letter).toString().toDouble()),
                     column.width);
        }
        QVERIFY(!read_.contains(sheet + QStringLiteral("!") + ColumnLetter(c) + QStringLiteral("1")));
    };
    check(QStringLiteral("Ведомость"), kRoomSheet);
    check(QStringLiteral("Спецификация"), kBillSheet);
}

void TestScheduleXlsx::bill_of_quantities_data()
{
    // Rooms and lines as "model|size|options|n|L", "; " between them.
    QTest::addColumn<QString>("rooms");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no rooms") << "" << "";
    QTest::newRow("one outlet in two rooms adds counts and flows")
        << "ПДК-1|450x450|КСД|2|850; ПДК-1|450x450|КСД|1|500" << "ПДК-1|450x450|КСД|3|1350";
    QTest::newRow("other options, another line")
        << "ПДК-1|450x450|КСД|2|850; ПДК-1|450x450||1|500" << "ПДК-1|450x450||1|500; ПДК-1|450x450|КСД|2|850";
    QTest::newRow("sizes by the value of their numbers")
        << "РВ-2|1000x150||1|100; РВ-2|400x1000||1|300; РВ-2|400x150||1|200"
        << "РВ-2|400x150||1|200; РВ-2|400x1000||1|300; РВ-2|1000x150||1|100";
    QTest::newRow("models first, by the value of their numbers")
        << "РВ-2|200x100||1|1; ПДК-10|300x300||1|2; ПДК-2|600x600||1|3"
        << "ПДК-2|600x600||1|3; ПДК-10|300x300||1|2; РВ-2|200x100||1|1";
    QTest::newRow("sizes alike by value stay apart") << "Щ|01||1|1; Щ|1||1|2" << "Щ|01||1|1; Щ|1||1|2";
    QTest::newRow("a room without a model left out") << "|||0|300; ПДК-1|450x450||1|500" << "ПДК-1|450x450||1|500";
}

void TestScheduleXlsx::bill_of_quantities()
{
    QFETCH(QString, rooms);
    QFETCH(QString, expected);
    std::vector<ScheduleRow> rows;
    for (const QString& room : rooms.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const QStringList f = room.split(QLatin1Char('|'));
        ScheduleRow r;
        r.model = f[0].toStdString();
        r.size = f[1].toStdString();
        r.options = f[2].toStdString();
        r.n = f[3].toInt();
        r.L = f[4].toDouble();
        rows.push_back(r);
    }
    QStringList lines;
    for (const BillLine& b : BillOfQuantities(rows))
        lines << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(QString::fromStdString(b.model), QString::fromStdString(b.size),
                          QString::fromStdString(b.options))
                     .arg(b.count)
                     .arg(b.flow);
    QCOMPARE(lines.join(QStringLiteral("; ")), expected);
}

void TestScheduleXlsx::fault_keeps_the_earlier_file_data()
{
    QTest::addColumn<QString>("cause");  // what the message must say; the row names the fault
    QTest::newRow("folder does not exist") << "папка не найдена";
    QTest::newRow("read-only folder") << "нет прав на запись";
    QTest::newRow("folder in the target's place") << "папка, а не файл";
    QTest::newRow("read-only file") << "нет прав на запись";
    QTest::newRow("file held open") << "открыт другой программой";
    QTest::newRow("write cut short") << "запись прервалась";
    QTest::newRow("full disk") << "нет места на диске";
}

void TestScheduleXlsx::fault_keeps_the_earlier_file()
{
    QFETCH(QString, cause);
    const QString fault = QString::fromUtf8(QTest::currentDataTag());
    QTemporaryDir dir;
    const fs::path folder = PathFromText(dir.filePath(QStringLiteral("Проект")).toStdString());
    fs::create_directory(folder);
    std::ofstream(folder / kName, std::ios::binary) << "the earlier schedule";
    Lift lift;
    if (const QString why = MakeFault(fault, folder, lift); !why.isEmpty())
        QSKIP(qPrintable(why));
    const auto before = Contents(folder);

    const fs::path target = fault == QLatin1String("folder does not exist") ? folder / u8"нет такой папки" / kName
                                                                             : folder / kName;
    const QString message = QString::fromStdString(WriteScheduleXlsx(PathText(target), Header(), Rooms()));

    QVERIFY2(message.startsWith(QStringLiteral("Не удалось записать ведомость в файл «%1»: ")
                                    .arg(QString::fromStdString(PathText(target)))),
             qPrintable(message));
    QVERIFY2(message.contains(cause), qPrintable(message));
    QVERIFY(Contents(folder) == before);
}

QTEST_GUILESS_MAIN(TestScheduleXlsx)
#include "tst_schedule_xlsx.moc"
