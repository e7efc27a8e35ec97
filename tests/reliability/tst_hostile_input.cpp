// Whatever a person types into the five input boxes of the real window, the
// program answers with a clear message and makes no record, or calculates the
// same results as for the plain number the text means.
#include <QClipboard>
#include <QGuiApplication>
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

const QStringList kLists{"Cmb_TipVR", "Cmb_VidVR", "Cmb_Tprzmr"};

}  // namespace

class TestHostileInput : public QObject {
    Q_OBJECT
private slots:
    void each_box_refuses_or_calculates_data();
    void each_box_refuses_or_calculates();
    void typed_list_text_never_labels_a_record_data();
    void typed_list_text_never_labels_a_record();
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
        // Pasted from a spreadsheet or with a long run of blanks: the number
        // is recorded alone, on one line.
        row("pasted cell ending in CR LF", QStringLiteral("paste:") + valid + QStringLiteral("\r\n"), valid);
        row("pasted two lines", QStringLiteral("paste:") + valid + QStringLiteral("\r\n7\r\n"), valid);
        row("pasted after a tab", QStringLiteral("paste:\t") + valid + QStringLiteral("\t"), valid);
        row("30000 blanks after", valid + QString(30000, QLatin1Char(' ')), valid);
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

    // Action: the text typed (or pasted over the box's text), then "Считай!".
    if (text.startsWith(QLatin1String("paste:"))) {
        QGuiApplication::clipboard()->setText(text.mid(6));
        s.box(box)->selectAll();
        s.box(box)->paste();
        QVERIFY(!s.box(box)->text().contains(QLatin1Char('\n')) && !s.box(box)->text().contains(QLatin1Char('\r')));
    } else {
        s.box(box)->setText(text);
    }
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
        // One short line, one list entry, no control character in either.
        const auto hasControl = [](const QString& t) {
            return std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() < 0x20; });
        };
        QVERIFY2(lines.last().size() < 200 + text.trimmed().size(), lines.last().left(200).constData());
        QVERIFY(!hasControl(QString::fromLatin1(lines.last().chopped(2))));
        QVERIFY(!hasControl(s.listEntries().last()));
    }
}

void TestHostileInput::typed_list_text_never_labels_a_record_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("typed");  // another entry's text, or none at all
    QTest::addColumn<bool>("focusLeaves");
    QTest::addColumn<int>("picked");  // lists picked before typing: type, model, size
    QTest::addColumn<bool>("entry");  // the text is an entry's: it is a pick of that entry

    const QString size = QStringLiteral("Cmb_Tprzmr"), model = QStringLiteral("Cmb_VidVR"), type = QStringLiteral("Cmb_TipVR");
    QTest::newRow("size of another line, «Считай!»") << size << "200x200" << false << 3 << true;
    QTest::newRow("size of another line, focus leaves") << size << "200x200" << true << 3 << true;
    QTest::newRow("size that does not exist, «Считай!»") << size << "D250" << false << 3 << false;
    QTest::newRow("another model, «Считай!»") << model << kFreeModel << false << 3 << true;
    QTest::newRow("another model, focus leaves") << model << kFreeModel << true << 3 << true;
    QTest::newRow("part of a model name, «Считай!»") << model << "ДК" << false << 3 << false;
    QTest::newRow("another type, «Считай!»") << type << kSlotType << false << 3 << true;
    QTest::newRow("another type, focus leaves") << type << kSlotType << true << 3 << true;
    // Nothing picked yet: a text that is no entry brings the prompt back,
    // and nothing is recorded.
    QTest::newRow("model before any is picked, focus leaves") << model << kFreeModel << true << 1 << true;
    QTest::newRow("model before any is picked, «Считай!»") << model << kFreeModel << false << 1 << true;
    QTest::newRow("no model before any is picked, «Считай!»") << model << "ПДХ" << false << 1 << false;
    QTest::newRow("type before any is picked, focus leaves") << type << kFreeType << true << 0 << true;
}

namespace {

// State: a model with listed sizes and its first size picked, or less.
void PickFirst(const Started& s, int picked)
{
    if (picked >= 1)
        QVERIFY(s.pick(QStringLiteral("Cmb_TipVR"), kFreeType));
    auto* models = s.control<QComboBox>("Cmb_VidVR");
    if (picked >= 2)
        s.pickIndex(QStringLiteral("Cmb_VidVR"), models->itemText(0) == kFreeModel ? 1 : 0);
    if (picked >= 3)
        QVERIFY(s.pick(QStringLiteral("Cmb_Tprzmr"), QStringLiteral("100x100")));
}

QStringList Shown(const Started& s)
{
    QStringList shown;
    for (const QString& name : kLists)
        shown << s.control<QComboBox>(name)->currentText();
    return shown;
}

}  // namespace

void TestHostileInput::typed_list_text_never_labels_a_record()
{
    QFETCH(QString, combo);
    QFETCH(QString, typed);
    QFETCH(bool, focusLeaves);
    QFETCH(int, picked);
    QFETCH(bool, entry);

    Started s(fuzz::GeneratedCatalogueBytes());
    QVERIFY(s.ok);
    PickFirst(s, picked);
    const QStringList shownBefore = Shown(s);
    const Started::Expected expected = s.expected();
    QCOMPARE(expected.ok, picked == 3);

    // Action: a text typed over the box's own, then the focus leaves or
    // "Считай!" is pressed.
    QLineEdit* edit = s.control<QComboBox>(combo)->lineEdit();
    edit->selectAll();
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(edit->text(), typed);
    if (focusLeaves) {
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(s.control<QComboBox>(combo), &leave);
        QCOMPARE(s.control<QComboBox>(combo)->currentText(), entry ? typed : shownBefore[kLists.indexOf(combo)]);
    }
    s.calculate();

    // Expected: an entry's text ends as that entry picked from the list
    // does; any other labels nothing, and the results, the list entry and
    // the file line are those of what was picked (with no model picked, the
    // refusal and no record).
    if (entry) {
        Started byList(fuzz::GeneratedCatalogueBytes());
        QVERIFY(byList.ok);
        PickFirst(byList, picked);
        QVERIFY(byList.pick(combo, typed));
        byList.calculate();
        QCOMPARE(Shown(s), Shown(byList));
        QCOMPARE(s.listEntries(), byList.listEntries());
        QCOMPARE(s.logFile(), byList.logFile());
        return;
    }
    QCOMPARE(Shown(s), shownBefore);
    if (!expected.ok) {
        QCOMPARE(s.platform.messages.size(), 1);
        QCOMPARE(s.list()->count(), 0);
        QCOMPARE(s.logFile(), HeaderLines({1}));
        return;
    }
    QCOMPARE(s.results(), Started::ResultsOf(expected));
    QCOMPARE(s.listEntries(), QStringList({QString::fromStdString(expected.record.listLine())}));
    QVERIFY(s.listEntries().first().startsWith(shownBefore[1] + QStringLiteral(" 100x100, ")));
    QCOMPARE(s.logFile(), HeaderLines({1}) + QByteArray::fromStdString(LogFile::dataLineBytes(expected.record)));
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
