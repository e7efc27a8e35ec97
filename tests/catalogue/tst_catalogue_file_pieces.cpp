// LoadCatalogue reads the file in pieces, not whole. Whatever the file, the
// outcome must be the one of the same bytes loaded from memory: the same
// tables, or the same error with the same line and field. The files here are
// larger than one piece, so piece boundaries fall inside fields, inside
// multi-byte runs of blank lines, and inside lines longer than a piece.
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "support/catalogue_text.h"

using namespace nimbo;
using nimbo::test::FileBytes;
using nimbo::test::Line;
using nimbo::test::Record;

namespace {

constexpr std::size_t kLargerThanAPiece = std::size_t{600} << 10;

// Records of `lines` size lines whose numbers vary, so that fields have
// different lengths and the piece boundaries fall anywhere.
std::vector<Line> Records(int records, int lines)
{
    std::vector<Line> out;
    for (int r = 1; r <= records; ++r)
        for (int k = 1; k <= lines; ++k) {
            Line l = k == 1 ? Record("ПДК-" + std::to_string(r), "Диффузоры", "100x100", lines)
                            : Line().set(1, "ПДК-" + std::to_string(r)).set(3, std::to_string(100 + k));
            l.set(5, "0.0" + std::to_string(r * 7 + k)).set(20, "-" + std::to_string(k) + ".5");
            l.set(8, "4 стороны").set(260, std::to_string(k % 11));
            out.push_back(l);
        }
    return out;
}

// The size lines alone, without a heading.
std::string Body(const std::vector<Line>& lines) { return FileBytes(lines).substr(FileBytes({}).size()); }

// Every value the catalogue offers, compared one by one.
QString Difference(const Catalogue& a, const Catalogue& b)
{
    if (a.recordCount() != b.recordCount())
        return QString("records %1 and %2").arg(a.recordCount()).arg(b.recordCount());
    if (a.typeNames() != b.typeNames())
        return "type names";
    for (int row = 1; row <= a.recordCount(); ++row) {
        if (a.modelName(row) != b.modelName(row) || a.typeName(row) != b.typeName(row) ||
            a.typePictureName(row) != b.typePictureName(row) || a.pageAddress(row) != b.pageAddress(row))
            return QString("row %1: its texts").arg(row);
        if (a.sizeLineCount(row) != b.sizeLineCount(row))
            return QString("row %1: line count").arg(row);
        for (int k = 1; k <= a.sizeLineCount(row); ++k)
            for (int pos = 1; pos <= kFieldsPerLine; ++pos) {
                const SizeLine x = a.line(row, k), y = b.line(row, k);
                const bool same = test::IsTextPosition(pos) ? x.textField(pos) == y.textField(pos)
                                  : test::IsIntPosition(pos) ? x.intField(pos) == y.intField(pos)
                                                             : x.floatField(pos) == y.floatField(pos);
                if (!same)
                    return QString("row %1, line %2, field %3").arg(row).arg(k).arg(pos);
            }
    }
    return {};
}

}  // namespace

class TestCatalogueFilePieces : public QObject {
    Q_OBJECT
private slots:
    void file_loads_as_its_bytes_data();
    void file_loads_as_its_bytes();
};

void TestCatalogueFilePieces::file_loads_as_its_bytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("records");  // -1: the load must fail

    const std::string good = FileBytes(Records(6, 200));
    std::string longField = FileBytes({Record("М", "Т", "100").set(14, std::string(kLargerThanAPiece, 'a'))});
    QTest::newRow("1200 lines over several pieces") << QByteArray::fromStdString(good) << 6;
    QTest::newRow("a line longer than a piece") << QByteArray::fromStdString(longField) << 1;
    QTest::newRow("a heading longer than a piece")
        << QByteArray::fromStdString(std::string(kLargerThanAPiece, 'h') + "\r\n" + Body(Records(1, 3))) << 1;

    std::string blankTail = good;
    for (std::size_t i = 0; i < kLargerThanAPiece / 4; ++i)
        blankTail += i % 2 ? " \r\n" : "\t\n";
    QTest::newRow("blank lines after the last record, over a piece") << QByteArray::fromStdString(blankTail) << 6;
    QTest::newRow("blank lines over a piece, then a record")
        << QByteArray::fromStdString(blankTail + Body(Records(1, 1))) << -1;

    std::string noLineEnd = good;
    noLineEnd.resize(noLineEnd.size() - 2);
    QTest::newRow("last line without a line end") << QByteArray::fromStdString(noLineEnd) << 6;
    QTest::newRow("CR without LF at the end of the file") << QByteArray::fromStdString(noLineEnd + "\r") << -1;

    std::string badNumber = good;
    badNumber.replace(badNumber.rfind("-200.5"), 6, "-2OO.5");
    QTest::newRow("a bad number on the last line") << QByteArray::fromStdString(badNumber) << -1;

    std::string cut = good;
    cut.resize(cut.size() - 700);
    QTest::newRow("the file ends inside the last line") << QByteArray::fromStdString(cut) << -1;

    std::string unclosed = FileBytes(Records(3, 200)) + Body({Record("М", "Т", "100")});
    unclosed.resize(unclosed.size() - 2);
    unclosed += ",\"не закрыта";
    QTest::newRow("an unclosed quote at the end of the file") << QByteArray::fromStdString(unclosed) << -1;

    std::string shortRecord = FileBytes(Records(3, 200));
    shortRecord += Body({Record("М", "Т", "100", 5)});
    QTest::newRow("the file ends inside a record") << QByteArray::fromStdString(shortRecord) << -1;
}

void TestCatalogueFilePieces::file_loads_as_its_bytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, records);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::filesystem::path folder = test::WriteCatalogue(dir.path().toStdString(), bytes.toStdString());

    Catalogue fromFile, fromBytes;
    LoadError fileError, bytesError;
    const bool fileOk = LoadCatalogue(folder, fromFile, fileError);
    const bool bytesOk = LoadCatalogueFromBytes(bytes.toStdString(), fileError.file, fromBytes, bytesError);

    QCOMPARE(fileOk, records >= 0);
    QCOMPARE(fileOk, bytesOk);
    QCOMPARE(QString::fromStdString(fileError.message()), QString::fromStdString(bytesError.message()));
    QCOMPARE(fileError.line, bytesError.line);
    QCOMPARE(fileError.field, bytesError.field);
    if (fileOk)
        QCOMPARE(fromFile.recordCount(), records);
    QCOMPARE(Difference(fromFile, fromBytes), QString());
}

QTEST_APPLESS_MAIN(TestCatalogueFilePieces)
#include "tst_catalogue_file_pieces.moc"
