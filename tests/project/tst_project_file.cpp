// The project file: what is saved reads back as the same project, the bytes
// of a saved file, the README's example, and a damaged file refused with a
// message that names the file, the room and the field.
#include <QFile>
#include <QTest>

#include <cfloat>
#include <string>

#include "project/json.h"
#include "project/project_file.h"
#include "support/project_sample.h"

using namespace nimbo;
using namespace nimbo::test;

Q_DECLARE_METATYPE(nimbo::Project)

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string_view View(const QByteArray& b) { return {b.constData(), static_cast<std::size_t>(b.size())}; }

Project With(std::vector<ProjectRoom> rooms)
{
    Project p;
    p.rooms = std::move(rooms);
    return p;
}

QByteArray Sample() { return QByteArray::fromStdString(WriteProject(TwoRoomProject())); }

// The sample file with the n-th occurrence (from 1) of `from` replaced.
QByteArray Changed(const char* from, const char* to, int occurrence = 1)
{
    QByteArray text = Sample();
    qsizetype at = -1;
    for (int i = 0; i < occurrence; ++i)
        at = text.indexOf(from, at + 1);
    Q_ASSERT(at >= 0);
    return text.replace(at, qsizetype(std::strlen(from)), to);
}

// Where a syntax error stands after `before`, which is one line of ASCII.
QString After(const QByteArray& before) { return ", строка 1, столбец " + QString::number(before.size() + 1) + ": "; }

// A file of one room with only the required fields; `extra` goes in at the
// end of the room's object.
QByteArray MinimalFile(const QByteArray& extra = {}, const QByteArray& name = "\"a\"")
{
    return R"({"format": "nimbo-project", "version": 1, "rooms": [{"name": )" + name +
           R"(, "room": {"length": 6, "width": 5, "height": 3}, "flow": 400, "variant": 1, "Vx": 0.25, )"
           R"("outlet": {"type": "T", "model": "M", "size": "S", "count": 1})" + extra + "}]}";
}

ProjectRoom MinimalRoom()
{
    ProjectRoom r;
    r.name = "a";
    r.space = {6, 5, 3};
    r.flow = 400;
    r.vxOrX = 0.25;
    r.outlet.type = "T", r.outlet.model = "M", r.outlet.size = "S";
    return r;
}

const QString kRoom1 = "Файл «x.nimbo»: помещение 1 «101 Кабинет», поле ";
const QString kRoom2 = "Файл «x.nimbo»: помещение 2 «102 Кабинет \"Угловой\"», поле ";

}  // namespace

class TestProjectFile : public QObject {
    Q_OBJECT
private slots:
    void saved_project_reads_back_the_same_data();
    void saved_project_reads_back_the_same();
    void small_project_is_written_byte_for_byte();
    void readme_example_reads_as_it_stands();
    void file_of_another_program_reads_data();
    void file_of_another_program_reads();
    void damaged_file_is_refused_by_name_data();
    void damaged_file_is_refused_by_name();
};

void TestProjectFile::saved_project_reads_back_the_same_data()
{
    QTest::addColumn<Project>("project");

    QTest::newRow("empty project") << Project{};
    QTest::newRow("two rooms with properties") << TwoRoomProject();

    ProjectRoom slot = VelocityRoom();
    slot.outlet.sizeKind = ProjectSizeKind::Slot;
    slot.outlet.length = 1250;
    slot.outlet.sizeA = slot.outlet.sizeB = 0;
    slot.outlet.plenum = 3, slot.outlet.jetForm = 4, slot.outlet.regulator = 5, slot.outlet.count = 64;
    QTest::newRow("slot length and the last choice of every option") << With({slot});

    std::vector<ProjectRoom> counts;
    for (int n = 0; n <= kMaxOutletCount; ++n) {
        for (ProjectRoom room : {ThrowRoom(), VelocityRoom()}) {
            room.count = n == 0 ? std::nullopt : std::optional<int>(n);
            counts.push_back(room);
        }
    }
    QTest::newRow("both variants with every count and «авто»") << With(counts);

    Project texts = TwoRoomProject();
    texts.rooms[0].name = "«Цех» \"№ 2\"\\склад\nвторая строка\r\n\tи \x01 \x1f \x7f € 😀";
    texts.rooms[1].name = "";
    texts.properties = {"C:\\Проекты\\", "\"", "\b\f", std::string("a\0b", 3)};
    QTest::newRow("names with quotes, backslashes, line breaks and control characters") << texts;

    ProjectRoom bare = ThrowRoom();
    bare.limits = {};
    bare.results = {};
    ProjectRoom full = VelocityRoom();
    full.limits = {1, 2, 3, 4, 5, 6, 7, 8, true};
    QTest::newRow("no limits and no results, then every limit") << With({bare, full});

    ProjectRoom quiet = ThrowRoom(), loud = ThrowRoom();
    quiet.limits.NR = -5;
    quiet.results.NR = -12;
    loud.results.NC = ProjectNc{ProjectNc::Range::Above70, 0};
    QTest::newRow("negative NR, NC above 70") << With({quiet, loud});

    ProjectRoom extreme = VelocityRoom();
    extreme.space = {DBL_MAX, 5e-324, 0.1 + 0.2, 1e-300, 1 - DBL_EPSILON / 2};
    extreme.flow = 123456789.123456789;
    extreme.vxOrX = 1e21;
    extreme.limits.NR = -DBL_MAX;
    extreme.results.L1 = 2.2250738585072014e-308;
    extreme.results.dP = -0.0;
    QTest::newRow("extreme numbers") << With({extreme});
}

void TestProjectFile::saved_project_reads_back_the_same()
{
    QFETCH(Project, project);
    const std::string text = WriteProject(project);
    Project read;
    read.properties.name = "открытый до этого";
    QCOMPARE(Q(ReadProject(text, "x.nimbo", read)), QString());
    QVERIFY2(read == project, text.c_str());
    QCOMPARE(Q(WriteProject(read)), Q(text));
}

void TestProjectFile::small_project_is_written_byte_for_byte()
{
    ProjectRoom r;
    r.name = "Цех \"А\"\n2";
    r.space = {12, 6, 4.5, 1.5, 0.1};
    r.flow = 1500;
    r.variant = kVariantVelocity;
    r.vxOrX = 6;
    r.count = 4;
    r.limits.VxMax = 0.5;
    r.outlet = {"Диффузоры щелевые", "1ДМЗ", ProjectSizeKind::Slot, "", 0, 0, 1200, 2, 2, 1, 4};
    r.results = {375, 12, 28, 0.35, 3.1, 30, 24, ProjectNc{ProjectNc::Range::Rated, 20}};
    Project p = With({r});
    p.properties.name = "Склад";

    QCOMPARE(Q(WriteProject(p)), QString(R"({
  "format": "nimbo-project",
  "version": 1,
  "properties": {
    "name": "Склад",
    "object": "",
    "section": "",
    "engineer": ""
  },
  "rooms": [
    {
      "name": "Цех \"А\"\n2",
      "room": {
        "length": 12,
        "width": 6,
        "height": 4.5,
        "ear": 1.5,
        "alpha": 0.1
      },
      "flow": 1500,
      "variant": 2,
      "X": 6,
      "count": 4,
      "limits": {
        "dP": null,
        "LwA": null,
        "throwMin": null,
        "throwMax": null,
        "VxMax": 0.5,
        "V0Max": null,
        "NR": null,
        "LpA": null,
        "throwWithinLc": false
      },
      "outlet": {
        "type": "Диффузоры щелевые",
        "model": "1ДМЗ",
        "length": 1200,
        "plenum": 2,
        "jetForm": 2,
        "regulator": 1,
        "count": 4
      },
      "results": {
        "L1": 375,
        "dP": 12,
        "LwA": 28,
        "Vx": 0.35,
        "V0": 3.1,
        "LpA": 30,
        "NR": 24,
        "NC": 20
      }
    }
  ]
}
)"));
}

void TestProjectFile::readme_example_reads_as_it_stands()
{
    QFile file(NIMBO_SOURCE_DIR "/README.md");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::string example = ReadmeProjectExample(file.readAll().toStdString());
    QVERIFY2(!example.empty(), "README.md has no ```json block in «Project file (*.nimbo)»");
    Project project;
    QCOMPARE(Q(ReadProject(example, "README.md", project)), QString());
    QCOMPARE(project.rooms.size(), std::size_t(2));
    // The README says the example is a file as the program saves it.
    QCOMPARE(Q(WriteProject(project)), Q(example));
}

void TestProjectFile::file_of_another_program_reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Project>("expected");

    QTest::newRow("only the required fields take the defaults") << MinimalFile() << With({MinimalRoom()});
    QTest::newRow("byte order mark, CR LF and fields of other programs")
        << "\xEF\xBB\xBF" + MinimalFile(R"(, "x-cad": {"layer": [1, {"a": null}]})").replace(", ", ",\r\n") +
               "\r\n"
        << With({MinimalRoom()});
    ProjectRoom escaped = MinimalRoom();
    escaped.name = "AА😀/\t\"\\";
    QTest::newRow("escapes and a surrogate pair") << MinimalFile({}, R"("\u0041\u0410\ud83d\uDE00\/\t\"\\")")
                                                  << With({escaped});
    ProjectRoom whole = MinimalRoom();
    whole.count = 2, whole.outlet.plenum = 3, whole.outlet.count = 10;
    QTest::newRow("whole numbers with a fraction or an exponent")
        << MinimalFile(R"(, "count": 2.0, "outlet": {"type": "T", "model": "M", "size": "S", "plenum": 3.0, "count": 1e1})")
               .replace(R"("outlet": {"type": "T", "model": "M", "size": "S", "count": 1}, )", "")
        << With({whole});
    QTest::newRow("null for every optional value")
        << MinimalFile(R"(, "count": null, "limits": null, "results": {"NC": null}, "x": {"ear": null})")
               .replace(R"("height": 3})", R"("height": 3, "ear": null, "alpha": null})")
        << With({MinimalRoom()});
}

void TestProjectFile::file_of_another_program_reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Project, expected);
    Project read;
    QCOMPARE(Q(ReadProject(View(bytes), "x.nimbo", read)), QString());
    QVERIFY2(read == expected, bytes.constData());
}

void TestProjectFile::damaged_file_is_refused_by_name_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QString file = "Файл «x.nimbo»";
    const QByteArray head = R"({"format": "nimbo-project", "version": 1, "rooms": )";
    QTest::newRow("empty") << QByteArray() << file + " пуст";
    QTest::newRow("byte order mark and blanks only") << QByteArray("\xEF\xBB\xBF \r\n") << file + " пуст";
    QTest::newRow("truncated after the rooms' bracket") << Sample().left(Sample().indexOf("\"rooms\": [\n") + 11)
                                                         << file + " обрывается (строка 11, столбец 1): нет значения";
    QTest::newRow("truncated inside a text") << QByteArray("{\"format\": \"nimbo-pro")
                                             << file + " обрывается (строка 1, столбец 22): текст в кавычках не закрыт";
    QTest::newRow("truncated inside an object") << head + "[{\"name\": \"a\"\n"
                                                << file + " обрывается (строка 2, столбец 1): объект «{» не закрыт";
    QTest::newRow("Windows-1251 text") << QByteArray("{\"\xcf\xf0\xee\xe5\xea\xf2\": 1}")
                                       << file + ", строка 1, столбец 3: текст не в кодировке UTF-8 (сохраните файл в UTF-8)";
    QTest::newRow("invalid UTF-8 in a room name") << Changed("Кабинет", "Ка\xd0 бинет", 2)
                                                  << file + ", строка 56, столбец 22: текст не в кодировке UTF-8 (сохраните файл в UTF-8)";
    QTest::newRow("a CSV line") << QByteArray("Помещение;Расход\r\n")
                                << file + ", строка 1, столбец 1: ожидалось значение: объект, массив, текст в кавычках, "
                                          "число, true, false или null";
    QTest::newRow("comma missing") << QByteArray("{\"format\": \"nimbo-project\"\n  \"version\": 1}")
                                   << file + ", строка 2, столбец 3: ожидалась «,» или «}»";
    QTest::newRow("text after the end") << head + "[]} []" << file + After(head + "[]} ") + "после конца данных лишние символы";
    QTest::newRow("raw line break inside a text")
        << head + "[{\"name\": \"a\nb\"}]"
        << file + After(head + "[{\"name\": \"a") + "управляющий символ внутри текста: его пишут как \\n, \\t или \\u00XX";
    QTest::newRow("unknown escape") << head + "[{\"name\": \"\\x\"}]"
                                    << file + After(head + "[{\"name\": \"\\") + "недопустимая последовательность после «\\»: "
                                              "допустимы \\\" \\\\ \\/ \\b \\f \\n \\r \\t \\uXXXX";
    QTest::newRow("lone surrogate") << head + "[{\"name\": \"\\udc00\"}]"
                                    << file + After(head + "[{\"name\": \"") + "вторая половина суррогатной пары без первой";
    QTest::newRow("leading zero") << head + "[{\"name\": 01}]" << file + After(head + "[{\"name\": 0") + "недопустимое число: лишний ноль в начале";
    QTest::newRow("number beyond a double") << Changed("\"flow\": 400", "\"flow\": 4e400")
                                            << file + ", строка 20, столбец 15: число вне пределов, которые может хранить программа";
    QTest::newRow("the same field twice") << QByteArray(R"({"format": "nimbo-project", "format": 1})")
                                          << file + ", строка 1, столбец 29: поле «format» встречается дважды";
    // The root object is the first level, so the 64th bracket opens the 65th.
    const QByteArray deep = head + "[], \"x\": " + QByteArray(json::kMaxDepth - 1, '[');
    QTest::newRow("nested 65 deep") << deep + "[" + QByteArray(json::kMaxDepth, ']') + "}"
                                    << file + After(deep) + "вложенность глубже 64 уровней";
    QTest::newRow("over 16 MB") << QByteArray((16 << 20) + 1, ' ') << file + " больше 16 МБ — это не файл проекта";
    QByteArray many = "[";
    for (int i = 0; i < 1'000'000; ++i)
        many += "0,";
    QTest::newRow("a million values") << many + "0]" << file + ", строка 1, столбец 2000000: больше 1000000 значений";

    QTest::newRow("JSON but not an object") << QByteArray("[1, 2]")
                                            << file + " — не файл проекта «Нимбо»: в нём массив [ … ], а не объект { … }";
    QTest::newRow("another program's JSON") << QByteArray(R"({"name": "x"})")
                                            << file + " — не файл проекта «Нимбо»: в нём нет поля «format» со значением \"nimbo-project\"";
    QTest::newRow("newer version") << Changed("\"version\": 1", "\"version\": 2")
                                   << file + " создан более новой версией программы (формат 2), эта понимает формат 1";
    QTest::newRow("version 0") << Changed("\"version\": 1", "\"version\": 0")
                               << file + ": поле «version»: должно быть номером формата 1, а в файле 0";
    QTest::newRow("version as text") << Changed("\"version\": 1", "\"version\": \"1\"")
                                     << file + ": поле «version»: должно быть номером формата 1, а в файле текст «1»";
    QTest::newRow("properties as text") << Changed("\"properties\": {", "\"properties\": \"\", \"x\": {")
                                        << file + ": поле «properties»: должно быть объектом { … }, а в файле текст «»";
    QTest::newRow("engineer as number") << Changed("\"Иванова А. С.\"", "7")
                                        << file + ": поле «properties.engineer»: должно быть текстом в кавычках, а в файле 7";
    QTest::newRow("rooms missing") << Changed("\"rooms\"", "\"Rooms\"")
                                   << file + ": поле «rooms»: не указано (должно быть массивом помещений [ … ])";
    QTest::newRow("room without a name") << head + "[{}, 5]}" << file + ": помещение 1, поле «name»: не указано (должно быть текстом в кавычках)";
    QTest::newRow("room as a number") << head + "[5]}" << file + ": помещение 1 должно быть объектом { … }, а в файле 5";
    QTest::newRow("height negative") << Changed("\"height\": 3.2", "\"height\": -3")
                                     << kRoom2 + "«room.height»: должно быть числом больше 0, а в файле -3";
    QTest::newRow("height as text") << Changed("\"height\": 3,", "\"height\": \"3\",")
                                    << kRoom1 + "«room.height»: должно быть числом больше 0, а в файле текст «3»";
    QTest::newRow("room dimensions missing") << Changed("\"room\"", "\"Room\"", 2)
                                             << kRoom2 + "«room»: не указано (должно быть объектом { … })";
    QTest::newRow("ear above the height") << Changed("\"ear\": 1.5", "\"ear\": 3.5")
                                          << kRoom2 + "«room.ear»: должно быть числом больше 0 и меньше высоты помещения 3.2 м, а в файле 3.5";
    QTest::newRow("default ear in a low room") << Changed("\"height\": 3,", "\"height\": 1.1,").replace("\"ear\": 1.1,", "")
                                               << kRoom1 + "«room.ear»: не указано, а высота уха по умолчанию 1.2 м не ниже высоты помещения 1.1 м";
    QTest::newRow("alpha 1") << Changed("\"alpha\": 0.21", "\"alpha\": 1")
                             << kRoom1 + "«room.alpha»: должно быть числом больше 0 и меньше 1, а в файле 1";
    QTest::newRow("flow zero") << Changed("\"flow\": 720", "\"flow\": 0") << kRoom2 + "«flow»: должно быть числом больше 0, а в файле 0";
    QTest::newRow("variant 3") << Changed("\"variant\": 2", "\"variant\": 3")
                               << kRoom2 + "«variant»: должно быть 1 (дальнобойность l при скорости Vx) или 2 (скорость Vx на расстоянии X), а в файле 3";
    QTest::newRow("Vx missing in the throw variant") << Changed("\"Vx\": 0.25", "\"X\": 0.25")
                                                     << kRoom1 + "«Vx»: не указано (должно быть числом больше 0)";
    QTest::newRow("count 65") << Changed("\"count\": 3", "\"count\": 65")
                              << kRoom2 + "«count»: должно быть целым числом от 1 до 64 или null («авто»), а в файле 65";
    QTest::newRow("count 2.5") << Changed("\"count\": null", "\"count\": 2.5")
                               << kRoom1 + "«count»: должно быть целым числом от 1 до 64 или null («авто»), а в файле 2.5";
    QTest::newRow("limits as an array") << Changed("\"limits\": {", "\"limits\": [], \"x\": {")
                                        << kRoom1 + "«limits»: должно быть объектом { … }, а в файле массив [ … ]";
    QTest::newRow("limit negative") << Changed("\"dP\": 50", "\"dP\": -50") << kRoom1 + "«limits.dP»: должно быть числом больше 0 или null, а в файле -50";
    QTest::newRow("limit flag as a number") << Changed("\"throwWithinLc\": true", "\"throwWithinLc\": 1")
                                            << kRoom1 + "«limits.throwWithinLc»: должно быть true или false, а в файле 1";
    QTest::newRow("outlet missing") << Changed("\"outlet\"", "\"Outlet\"") << kRoom1 + "«outlet»: не указано (должно быть объектом { … })";
    QTest::newRow("model empty") << Changed("\"РС-1\"", "\"\"") << kRoom2 + "«outlet.model»: должно быть непустым текстом в кавычках, а в файле текст «»";
    QTest::newRow("two sizes") << Changed("\"size\": \"250x250\"", "\"size\": \"250x250\", \"length\": 900")
                               << kRoom1 + "«outlet.size»: указано несколько размеров сразу, а нужен один: size, или sizeA и sizeB, или length";
    QTest::newRow("no size") << Changed("\"size\"", "\"Size\"")
                             << kRoom1 + "«outlet.size»: не указано: нужен типоразмер из каталога (size), или sizeA и sizeB в мм, или length в мм для щелевого";
    QTest::newRow("sizeB missing") << Changed("\"sizeB\"", "\"SizeB\"") << kRoom2 + "«outlet.sizeB»: не указано (должно быть числом больше 0)";
    QTest::newRow("plenum 4") << Changed("\"plenum\": 2", "\"plenum\": 4") << kRoom1 + "«outlet.plenum»: должно быть целым числом от 1 до 3, а в файле 4";
    QTest::newRow("outlet count 0") << Changed("\"count\": 2", "\"count\": 0") << kRoom1 + "«outlet.count»: должно быть целым числом от 1 до 64, а в файле 0";
    QTest::newRow("result as text") << Changed("\"dP\": 2.5", "\"dP\": \"-\"") << kRoom2 + "«results.dP»: должно быть числом или null, а в файле текст «-»";
    QTest::newRow("NC 80") << Changed("\"NC\": 16", "\"NC\": 80")
                           << kRoom2 + "«results.NC»: должно быть числом от 15 до 70, текстом \"<15\" или \">70\" или null (нет значения), а в файле 80";
}

void TestProjectFile::damaged_file_is_refused_by_name()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    Project open = TwoRoomProject();
    QCOMPARE(Q(ReadProject(View(bytes), "x.nimbo", open)), message);
    QVERIFY2(open == TwoRoomProject(), "the project that was open changed");
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_project_file.moc"
