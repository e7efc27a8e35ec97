// Catalogue files that are not what the program expects, read from the
// program folder at start-up: garbage, other encodings, very long lines,
// device files. Each loads as a whole catalogue or stops start-up with an
// error that names the line and the field; nothing is ever half loaded.
#include <QtTest>

#include <filesystem>
#include <random>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "catalogue_check.h"
#include "reliability_fixture.h"

using namespace nimbo;
using namespace nimbo::test;
namespace fs = std::filesystem;

namespace {

constexpr int k10MB = 10 << 20;

std::string GoodLine(const std::string& model = "ПДК-1")
{
    return cp1251::fromUtf8(Record(model, "Диффузоры", "n").set(5, "20").set(6, "20").text()) + "\r\n";
}

std::string Heading() { return cp1251::fromUtf8("Каталог") + "\r\n"; }

// A good line with the field at `position` replaced by raw bytes.
std::string LineWithField(int position, const std::string& raw)
{
    Line l = Record("ПДК-1", "Диффузоры", "n");
    l.set(position, "@@");
    std::string text = cp1251::fromUtf8(l.text());
    text.replace(text.find("@@"), 2, raw);
    return text + "\r\n";
}

std::string RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string Utf16(const QString& text)
{
    return std::string(reinterpret_cast<const char*>(text.utf16()), static_cast<std::size_t>(text.size()) * 2);
}

}  // namespace

class TestCatalogueFaults : public QObject {
    Q_OBJECT
private slots:
    void file_loads_whole_or_names_the_fault_data();
    void file_loads_whole_or_names_the_fault();
    void catalogue_that_is_not_a_file_data();
    void catalogue_that_is_not_a_file();
};

void TestCatalogueFaults::file_loads_whole_or_names_the_fault_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("records");  // -1: refused
    QTest::addColumn<int>("line");     // of the error; 0: any
    QTest::addColumn<int>("field");    // of the error; -1: any
    QTest::addColumn<QString>("what");

    const auto bytes = [](const std::string& s) { return QByteArray::fromStdString(s); };
    QByteArray picture;
    {
        QFile f(QStringLiteral(NIMBO_SOURCE_DIR "/data/jpg/Timbra.jpg"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        picture = f.readAll();
    }

    QTest::newRow("binary garbage") << bytes(RandomBytes(1 << 16, 1)) << -1 << 0 << -1 << QString();
    QTest::newRow("binary garbage after a good record") << bytes(Heading() + GoodLine() + RandomBytes(4096, 2))
                                                        << -1 << 3 << -1 << QString();
    QTest::newRow("a JPEG picture") << picture << -1 << 1 << 0 << QString();
    QTest::newRow("NUL bytes only") << QByteArray(1024, '\0') << -1 << 1 << 0 << "нулевой байт";
    QTest::newRow("UTF-16 text") << bytes(Utf16(QStringLiteral("Каталог\r\n"))) << -1 << 1 << 0 << "нулевой байт";
    // Saved in another encoding: refused at the line of the first letter
    // outside ASCII, with the way back to Windows-1251.
    const std::string utf8Line = Record("ПДК-1", "Диффузоры", "n").set(5, "20").set(6, "20").text() + "\r\n";
    QTest::newRow("UTF-8 byte order mark before the heading")
        << bytes("\xEF\xBB\xBF" + Heading() + GoodLine()) << -1 << 1 << 0 << "а в UTF-8";
    QTest::newRow("UTF-8 without a mark, first letter on line 3")
        << bytes("Catalogue\r\n" + Record("A-1", "Grilles", "n").set(5, "20").set(6, "20").text() + "\r\n" + utf8Line)
        << -1 << 3 << 0 << "iconv -f UTF-8 -t CP1251";
    QTest::newRow("UTF-16 with a mark") << bytes("\xFF\xFE" + Utf16(QStringLiteral("Каталог\r\n"))) << -1 << 1 << 0
                                        << "а в UTF-16";
    QTest::newRow("Windows-1251 with №, Ё, «» and quotes loads")
        << bytes(Heading() + GoodLine("Решётка №5 «Ёлка» 'x' \"В\"")) << 1 << 0 << 0 << QString();
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n\r\n") << 0 << 0 << 0 << QString();
    QTest::newRow("10 MB heading") << bytes(std::string(k10MB, 'x') + "\r\n" + GoodLine()) << 1 << 0 << 0 << QString();
    QTest::newRow("10 MB data line without a comma") << bytes(Heading() + std::string(k10MB, '7') + "\r\n") << -1 << 2
                                                     << 2 << "раньше времени";
    QTest::newRow("10 MB of commas") << bytes(Heading() + std::string(k10MB, ',') + "\r\n") << -1 << 2 << 293
                                     << "больше 292";
    QTest::newRow("10 MB number") << bytes(Heading() + LineWithField(5, "1" + std::string(k10MB, '0'))) << -1 << 2
                                  << 5 << "одинарной точности";
    QTest::newRow("10 MB text field loads whole") << bytes(Heading() + LineWithField(14, std::string(k10MB, 'a')))
                                                  << 1 << 0 << 0 << QString();
    QTest::newRow("10 MB unclosed quote") << bytes(Heading() + LineWithField(8, '"' + std::string(k10MB, 'a')))
                                          << -1 << 2 << 8 << "кавычка не закрыта";
    std::string many = Heading();
    while (many.size() < std::size_t{k10MB})
        many += GoodLine();
    QTest::newRow("10 MB of good lines: more than 1000 records") << bytes(many) << -1 << 1002 << 0
                                                                  << "больше 1000 записей";
    QTest::newRow("quote closed on the next line") << bytes(Heading() + LineWithField(8, "\"a") + "b\"\r\n") << -1
                                                   << 2 << 8 << "кавычка не закрыта";
    QTest::newRow("CR LF inside quotes") << bytes(Heading() + LineWithField(8, "\"a\r\nb\"")) << -1 << 2 << 8
                                         << "кавычка не закрыта";
}

void TestCatalogueFaults::file_loads_whole_or_names_the_fault()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, records);
    QFETCH(int, line);
    QFETCH(int, field);
    QFETCH(QString, what);

    ProgramFolder folder;
    folder.writeCatalogue(bytes.toStdString());

    Catalogue catalogue;
    LoadError error;
    const bool loaded = LoadCatalogue(folder.fsPath(), catalogue, error);
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    QCOMPARE(QString::fromStdString(fuzz::CheckLoadedCatalogue(view, error.file, loaded, catalogue, error)), QString());
    QCOMPARE(loaded, records >= 0);
    const QString message = QString::fromStdString(error.message());
    if (loaded) {
        QCOMPARE(catalogue.recordCount(), records);
    } else {
        QVERIFY2(line == 0 ? error.line >= 1 : error.line == line, qPrintable(message));
        QVERIFY2(field < 0 || error.field == field, qPrintable(message));
        QVERIFY2(message.contains(what), qPrintable(message));
        QVERIFY2(message.size() < 400, "the message quotes too much of the file");
    }

    // Start-up: a window over a whole catalogue, or no window and the error.
    RecordingPlatform platform;
    Form_Main window(folder.path(), platform);
    QCOMPARE(window.startUp(), loaded);
    QCOMPARE(window.catalogue().recordCount(), loaded ? records : 0);
    if (!loaded) {
        QCOMPARE(platform.messages.size(), 1);
        QCOMPARE(platform.messages.first().icon, MessageIcon::Critical);
        QCOMPARE(platform.messages.first().text, message);
    }
}

void TestCatalogueFaults::catalogue_that_is_not_a_file_data()
{
    QTest::addColumn<QString>("target");
#ifdef Q_OS_UNIX
    QTest::newRow("link to /dev/null") << QStringLiteral("/dev/null");
    QTest::newRow("link to /dev/zero") << QStringLiteral("/dev/zero");
    QTest::newRow("link to /dev/full") << QStringLiteral("/dev/full");
    QTest::newRow("link to nowhere") << QStringLiteral("/nonexistent/b");
    QTest::newRow("named pipe") << QStringLiteral("fifo");
#endif
#ifdef Q_OS_WIN
    QTest::newRow("file held by another program") << QStringLiteral("held");
#endif
}

// A device or a pipe at A/b would be read for ever or block start-up, and a
// file that another program holds unshared cannot be read at all; the program
// must refuse either at once with a clear error.
void TestCatalogueFaults::catalogue_that_is_not_a_file()
{
    QFETCH(QString, target);

    ProgramFolder folder;
    const fs::path file = folder.fsFile(QStringLiteral("A/b"));
    fs::create_directories(file.parent_path());
#ifdef Q_OS_WIN
    QCOMPARE(target, QStringLiteral("held"));
    folder.writeCatalogue(GoodLine());
    const HANDLE held = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    QVERIFY(held != INVALID_HANDLE_VALUE);
    const auto release = qScopeGuard([held] { ::CloseHandle(held); });
#else
    if (target == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(file.c_str(), 0600) == 0);
    } else {
        fs::create_symlink(target.toStdString(), file);
    }
#endif

    Catalogue catalogue;
    LoadError error;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!LoadCatalogue(folder.fsPath(), catalogue, error));
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(catalogue.recordCount(), 0);
    const QString message = QString::fromStdString(error.message());
    QVERIFY2(message.contains(QDir::toNativeSeparators(QStringLiteral("A/b"))) && !error.what.empty(),
             qPrintable(message));
}

QTEST_MAIN(TestCatalogueFaults)
#include "tst_catalogue_faults.moc"
