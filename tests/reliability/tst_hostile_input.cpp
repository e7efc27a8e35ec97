// Whatever a person types into the five input boxes of the real window, the
// program answers with a clear message and makes no record, or calculates the
// same results as for the plain number the text means.
#include <QtTest>

#include "calc/input_checks.h"
#include "reliability_fixture.h"

using namespace nimbo;
using namespace nimbo::test;

namespace {

// The generated catalogue's free-size model and its slot grille.
const QString kFreeType = QStringLiteral("Диффузоры"), kFreeModel = QStringLiteral("ПДК-1");
const QString kSlotType = QStringLiteral("Решетки"), kSlotModel = QStringLiteral("ЩР-ДПЗ");

struct BoxCase {
    const char* box;
    std::string_view name;  // as the message names the input
    const char* valid;      // a usable plain number
};

const BoxCase kBoxes[] = {
    {"TxtBx_L", kNameL, "1000"},
    {"TxtBx_V", kNameVx, "0.5"},
    {"TxtBx_A", kNameA, "300"},
    {"TxtBx_B", kNameB, "250"},
    {"TxtBx_Dlina", kNameLength, "1500"},
};

constexpr int kMegabyte = 1 << 20;

}  // namespace

class TestHostileInput : public QObject {
    Q_OBJECT
private slots:
    void each_box_refuses_or_calculates_data();
    void each_box_refuses_or_calculates();
};

void TestHostileInput::each_box_refuses_or_calculates_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("meaning");  // the plain number it stands for; empty: refused
    QTest::addColumn<QString>("name");

    for (const BoxCase& b : kBoxes) {
        const QString box = QString::fromLatin1(b.box);
        const QString name = QString::fromUtf8(b.name.data(), static_cast<qsizetype>(b.name.size()));
        const QString valid = QString::fromLatin1(b.valid);
        const auto row = [&](const char* what, const QString& text, const QString& meaning) {
            QTest::addRow("%s: %s", b.box, what) << box << text << meaning << name;
        };
        // The full list of refused and usable spellings is the engine's test;
        // here one of each kind checks that the box hands the text on as typed,
        // and the long texts check what the box itself keeps.
        row("letters", QStringLiteral("abc"), QString());
        row("1 MB of digits", QStringLiteral("1") + QString(kMegabyte, QLatin1Char('0')), QString());
        row("1 MB of letters", QString(kMegabyte, QLatin1Char('x')), QString());
        row("decimal comma", valid.contains(QLatin1Char('.')) ? QString(valid).replace(QLatin1Char('.'), QLatin1Char(','))
                                                              : valid + QStringLiteral(",0"),
            valid);
        row("blanks around", QStringLiteral("  ") + valid + QStringLiteral("\t"), valid);
        // The box keeps the first 32767 characters, all of them the number.
        row("1 MB of trailing zeros", valid + (valid.contains(QLatin1Char('.')) ? QString() : QStringLiteral(".")) +
                                          QString(kMegabyte, QLatin1Char('0')),
            valid);
    }
}

void TestHostileInput::each_box_refuses_or_calculates()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, meaning);
    QFETCH(QString, name);

    Started s(fuzz::GeneratedCatalogueBytes());
    QVERIFY(s.ok);
    const bool slot = box == QLatin1String("TxtBx_Dlina");
    QVERIFY(s.chooseModel(slot ? kSlotType : kFreeType, slot ? kSlotModel : kFreeModel));

    // State: one calculation made with the plain number, if there is one.
    if (!meaning.isEmpty())
        s.box(box)->setText(meaning);
    s.calculate();
    QCOMPARE(s.platform.messages.size(), 0);
    const QStringList plainResults = s.results();
    const QByteArray fileBefore = s.logFile();
    QCOMPARE(FileLines(fileBefore).size(), 2);

    // Action: the text typed, then "Считай!".
    s.box(box)->setText(text);
    const QStringList resultsBefore = s.results();
    s.calculate();
    QVERIFY(s.window->isVisible());

    if (meaning.isEmpty()) {
        // Expected: a message naming the box, nothing else changes.
        QCOMPARE(s.platform.messages.size(), 1);
        const RecordingPlatform::Message& m = s.platform.messages.first();
        QCOMPARE(m.title, QStringLiteral("Расчет невозможен"));
        QVERIFY2(m.text.startsWith(name), qPrintable(m.text));
        QVERIFY2(m.text.size() < 300, "the message quotes too much of the text");
        QCOMPARE(s.results(), resultsBefore);
        QCOMPARE(s.list()->count(), 1);
        QCOMPARE(s.logFile(), fileBefore);
    } else {
        // Expected: the results of the plain number, and a second record.
        QCOMPARE(s.platform.messages.size(), 0);
        QCOMPARE(s.results(), plainResults);
        QCOMPARE(s.list()->count(), 2);
        const QList<QByteArray> lines = FileLines(s.logFile());
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.last().endsWith("\r\n"));
        QVERIFY(lines.last().startsWith(Cp1251(kFreeModel)) || lines.last().startsWith(Cp1251(kSlotModel)));
    }
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
