// The command line for batch work, run as a process from a program folder
// of its own (a blank and Cyrillic letters in its name): the README's
// example project to a spreadsheet and a report, a project that the
// catalogue no longer matches, and projects that cannot be read. No window,
// no display, and no log.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "support/host_tool.h"
#include "project/project_file.h"
#include "support/project_sample.h"

using namespace nimbo::test;

namespace {

struct Run {
    int exitCode = -1;
    QStringList errors;  // stderr, a line each
};

class Folder {
public:
    Folder() : path_(dir_.filePath(QStringLiteral("Нимбо тест")))
    {
        QDir().mkpath(path_ + QStringLiteral("/A"));
        const QString program = QStringLiteral(NIMBO_PROGRAM_DIR "/nimbo");
        const QString exe = QFileInfo::exists(program + QStringLiteral(".exe")) ? QStringLiteral("/nimbo.exe")
                                                                                : QStringLiteral("/nimbo");
        QFile::copy(QStringLiteral(NIMBO_PROGRAM_DIR) + exe, path_ + exe);
        QFile::copy(QStringLiteral(NIMBO_SOURCE_DIR "/data/A/b"), file(QStringLiteral("A/b")));
        program_ = path_ + exe;
        exeName_ = exe.mid(1);
    }
    const QString& programName() const { return exeName_; }
    QString file(const QString& name) const { return path_ + QLatin1Char('/') + name; }
    QStringList entries() const { return QDir(path_).entryList(QDir::Files | QDir::NoDotAndDotDot); }

    // No display, no platform asked for: the program finds its own way.
    Run run(const QStringList& args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        p.setProcessEnvironment(env);
        p.start(program_, args);
        Run r;
        if (!p.waitForFinished(60000))
            return r;
        r.exitCode = p.exitCode();
        // A Windows console ends its lines in CR LF.
        r.errors = QString::fromUtf8(p.readAllStandardError())
                       .remove(QLatin1Char('\r'))
                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return r;
    }

private:
    QTemporaryDir dir_;
    QString path_, program_, exeName_;
};

QByteArray ReadmeExample()
{
    QFile readme(QStringLiteral(NIMBO_SOURCE_DIR "/README.md"));
    return readme.open(QIODevice::ReadOnly)
               ? QByteArray::fromStdString(ReadmeProjectExample(readme.readAll().toStdString()))
               : QByteArray();
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void schedule_of_the_readme_example_data();
    void schedule_of_the_readme_example();
    void project_that_cannot_be_read_data();
    void project_that_cannot_be_read();
    void long_report_keeps_each_block_on_its_page();
};

void TestBatch::schedule_of_the_readme_example_data()
{
    QTest::addColumn<QString>("kind");  // --xlsx or --pdf
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QStringList>("errors");

    QTest::newRow("spreadsheet, as saved") << "--xlsx" << QByteArray() << QByteArray() << QStringList{};
    QTest::newRow("report, as saved") << "--pdf" << QByteArray() << QByteArray() << QStringList{};
    const QStringList gone{"Помещение 1 «101 Кабинет»: модели «ПДК-2» типа «Диффузоры квадратные» нет в каталоге"};
    QTest::newRow("spreadsheet, a model gone") << "--xlsx" << QByteArray("\"ПДК\"") << QByteArray("\"ПДК-2\"") << gone;
    QTest::newRow("report, a model gone") << "--pdf" << QByteArray("\"ПДК\"") << QByteArray("\"ПДК-2\"") << gone;
    QTest::newRow("spreadsheet, a result saved otherwise")
        << "--xlsx" << QByteArray("\"LpA\": 15") << QByteArray("\"LpA\": 17")
        << QStringList{"Помещение 2 «102 Переговорная»: результаты по текущему каталогу отличаются от "
                       "сохраненных: LpA, дБ(А): 17 → 15"};
}

void TestBatch::schedule_of_the_readme_example()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QStringList, errors);

    Folder folder;
    QByteArray project = ReadmeExample();
    QVERIFY(!project.isEmpty());
    if (!from.isEmpty()) {
        QVERIFY(project.contains(from));
        project.replace(project.indexOf(from), from.size(), to);
    }
    const QString input = folder.file(QStringLiteral("офис.nimbo"));
    QVERIFY(Write(input, project));
    const QString output = folder.file(kind == QLatin1String("--pdf") ? QStringLiteral("отчет.pdf") : QStringLiteral("ведомость.xlsx"));
    const Run run = folder.run({QStringLiteral("--schedule"), input, kind, output});
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.exitCode, 0);
    // The log is not touched: no Nimbo.csv, no lock beside the program.
    QStringList expected{QFileInfo(output).fileName(), folder.programName(), QStringLiteral("офис.nimbo")};
    expected.sort();
    QCOMPARE(folder.entries(), expected);

    const bool gone = to == "\"ПДК-2\"";
    if (kind == QLatin1String("--xlsx")) {
        const QJsonObject cells = ReadXlsx(output);
        QCOMPARE(cells.value(QStringLiteral("sheets")).toString(), QStringLiteral("Ведомость|Спецификация"));
        QCOMPARE(cells.value(QStringLiteral("Ведомость!A2")).toString(), QStringLiteral("s:101 Кабинет"));
        // A room the catalogue no longer has keeps the numbers it saved.
        const QStringList room1{"E2", "900", "H2", gone ? "ПДК-2" : "ПДК", "K2", "1", "L2", "900", "M2", "12",
                                "N2", "34", "O2", "6.7", "R2", "27", "S2", "22", "T2", "20"};
        for (qsizetype i = 0; i < room1.size(); i += 2) {
            const QString cell = cells.value(QStringLiteral("Ведомость!") + room1[i]).toString();
            QCOMPARE(cell.mid(2), room1[i + 1]);
        }
        QCOMPARE(cells.value(QStringLiteral("Ведомость!F2")).toString(), QStringLiteral("s:ΔP≤50; NR≤35"));
        QCOMPARE(cells.value(QStringLiteral("Ведомость!R3")).toString(), QStringLiteral("n:15"));
        QCOMPARE(cells.value(QStringLiteral("Ведомость!T3")).toString(), QStringLiteral("s:<15"));
        QCOMPARE(cells.value(QStringLiteral("Ведомость!P3")).toString(), QStringLiteral("n:0.7"));
    } else {
        const QStringList pages = PdfPages(output);
        QCOMPARE(pages.size(), PageCount(output));
        const QString text = pages.join(QLatin1Char('\n'));
        QStringList wanted{"Нимбо — проект", "Проект: Бизнес-центр «Север»", "Инженер: Иванова А. С.", "Помещений: 2",
                           "1 101 Кабинет 900", "2 102 Переговорная 1200 РС-1 500х200 2 600", "1. 101 Кабинет"};
        if (gone)
            wanted << "Отметка: модели «ПДК-2» типа «Диффузоры квадратные» нет в каталоге"
                   << "Результаты, сохраненные в проекте";
        else
            wanted << "Уровни звукового давления у слушателя, NR 22" << "NR 35" << "ПДК 300x300";
        wanted << "2. 102 Переговорная" << "Расстояние X 4 м" << QStringLiteral("Страница %1 из %1").arg(pages.size());
        const QString missing = MissingInOrder(text, wanted);
        QVERIFY2(missing.isEmpty(), qPrintable(missing + QStringLiteral("\n") + text));
    }
}

void TestBatch::project_that_cannot_be_read_data()
{
    QTest::addColumn<QByteArray>("bytes");  // "-" : no such file
    QTest::addColumn<QStringList>("args");  // after the program's name; %1 the project, %2 the output
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");     // the first line on stderr

    const QStringList xlsx{"--schedule", "%1", "--xlsx", "%2"};
    QTest::newRow("truncated") << ReadmeExample().left(300) << xlsx << 1
                               << "Файл «%1» обрывается (строка 12, столбец 8): текст в кавычках не закрыт";
    QTest::newRow("not there") << QByteArray("-") << QStringList{"--schedule", "%1", "--pdf", "%2"} << 1
                               << "Файл «%1» не открывается: файла нет";
    QTest::newRow("a later format") << ReadmeExample().replace("\"version\": 1", "\"version\": 2") << xlsx << 1
                                    << "Файл «%1» создан более новой версией программы (формат 2), эта понимает формат 1";
    QTest::newRow("no output named") << ReadmeExample() << QStringList{"--schedule", "%1"} << 2
                                     << "Использование:";
}

void TestBatch::project_that_cannot_be_read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, error);

    Folder folder;
    const QString input = folder.file(QStringLiteral("офис.nimbo"));
    if (bytes != "-")
        QVERIFY(Write(input, bytes));
    const QString output = folder.file(QStringLiteral("выход"));
    for (QString& arg : args)
        arg = arg == QLatin1String("%1") ? input : arg == QLatin1String("%2") ? output : arg;
    const QStringList before = folder.entries();
    const Run run = folder.run(args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(!run.errors.isEmpty());
    QCOMPARE(run.errors.front(), error.contains(QLatin1String("%1")) ? error.arg(input) : error);
    QCOMPARE(folder.entries(), before);
}

// Sixty rooms: the schedule runs over two pages with its header on each,
// and no room's block is split between two pages.
void TestBatch::long_report_keeps_each_block_on_its_page()
{
    nimbo::Project project;
    QCOMPARE(nimbo::ReadProject(ReadmeExample().toStdString(), "README", project), std::string());
    const std::vector<nimbo::ProjectRoom> two = project.rooms;
    project.rooms.clear();
    constexpr int kRooms = 60;
    for (int k = 1; k <= kRooms; ++k) {
        project.rooms.push_back(two[static_cast<std::size_t>(k % 2)]);
        project.rooms.back().name = "Комната " + std::to_string(k);
    }
    Folder folder;
    const QString input = folder.file(QStringLiteral("большой.nimbo")), output = folder.file(QStringLiteral("отчет.pdf"));
    QVERIFY(Write(input, QByteArray::fromStdString(nimbo::WriteProject(project))));
    QCOMPARE(folder.run({QStringLiteral("--schedule"), input, QStringLiteral("--pdf"), output}).exitCode, 0);
    const QStringList pages = PdfPages(output);
    QCOMPARE(pages.size(), PageCount(output));
    QVERIFY(pages.size() > kRooms / 3);
    const auto heading = [](int k) { return QRegularExpression(QStringLiteral("(^|\\n)\\s*%1\\. Комната %1\\s*\\n").arg(k)); };
    int tablePages = 0, previous = 0;
    for (int p = 0; p < pages.size(); ++p) {
        QVERIFY2(pages[p].contains(QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages.size())), qPrintable(pages[p]));
        const bool rows = pages[p].contains(QRegularExpression(QStringLiteral("\\n\\s*\\d+ Комната \\d+ ")));
        tablePages += rows;
        if (rows)
            QVERIFY2(Solid(pages[p]).contains(Solid(QStringLiteral("№ Помещение"))), qPrintable(pages[p]));
    }
    QCOMPARE(tablePages, 2);
    for (int k = 1; k <= kRooms; ++k) {
        int page = -1;
        for (int p = 0; p < pages.size() && page < 0; ++p)
            page = pages[p].contains(heading(k)) ? p : -1;
        QVERIFY2(page >= previous, qPrintable(QStringLiteral("room %1").arg(k)));
        QString block = pages[page].mid(pages[page].indexOf(heading(k)));
        if (const QRegularExpressionMatch next = heading(k + 1).match(block); next.hasMatch())
            block = block.left(next.capturedStart());
        // The charts stand at the right of the texts, beside them on the lines.
        const QString missing = MissingInOrder(block, {"Помещение", "Уровни звукового давления у слушателя",
                                                       "Воздухораспределитель", "Результаты по текущему каталогу"});
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("room %1 on page %2: ").arg(k).arg(page + 1) + missing));
        previous = page;
    }
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
