// A project's rooms against the shipped catalogue: a room made from any row
// of the finder's room mode calculates again to that row exactly, and a room
// that the catalogue no longer matches is marked with the reason, its saved
// results left as they were.
#include <QtTest>

#include <cmath>

#include "catalogue/catalogue.h"
#include "project/room_check.h"
#include "project/room_texts.h"

using namespace nimbo;

Q_DECLARE_METATYPE(nimbo::MarkKind)

namespace {

const Catalogue& Shipped()
{
    static const Catalogue catalogue = [] {
        Catalogue c;
        LoadError error;
        if (!LoadCatalogue(NIMBO_SOURCE_DIR "/data", c, error))
            qFatal("%s", error.message().c_str());
        return c;
    }();
    return catalogue;
}

// The finder in room mode: an office of 6 × 5 × 3 m.
Request RoomRequest(int variant, std::optional<int> n, const char* flow = "400")
{
    Request r;
    r.inputs.L = flow;
    r.inputs.V = variant == 2 ? "3" : "0,25";
    r.inputs.A = "600", r.inputs.B = "200", r.inputs.Dlina = "1500";
    r.variant = variant;
    r.limits.dP = 40;
    r.limits.NR = 35;
    r.limits.throwWithinLc = variant == 1;
    r.decimalSeparator = ',';
    r.room = RoomInput{Room{6, 5, 3, 1.2, 0.2}, n};
    return r;
}

// The numbers a row shows, as texts, so that a failure names them.
QString Shown(const Found& f)
{
    QStringList out;
    for (const Quantity& q : Quantities())
        out << QString::fromStdString(q.valueText(f.*q.number, '.'));
    return out.join(QLatin1Char(' '));
}

QString Kept(const Found& f)
{
    QStringList out;
    for (const Quantity* q : ProjectQuantities())
        out << QString::fromStdString(q->valueText(f.*q->number, '.'));
    return out.join(QLatin1Char(' '));
}

// «ПДК 450x450» of the first type, as the finder would add it.
ProjectRoom Office()
{
    const Request r = RoomRequest(1, std::nullopt);
    const SearchResult result = Search(Shipped(), r);
    for (const Found& f : result.found) {
        ProjectRoom room;
        if (f.ok && Shipped().modelName(f.row) == "ПДК" && Shipped().sizeDesignation(f.row, f.sizeIndex) == "450x450" &&
            RoomFromFound(Shipped(), r, f, "101 Кабинет", room).empty())
            return room;
    }
    qFatal("no ПДК 450x450 in the shipped catalogue");
}

}  // namespace

class TestRoomCheck : public QObject {
    Q_OBJECT
private slots:
    void room_from_a_row_calculates_again_to_that_row_data();
    void room_from_a_row_calculates_again_to_that_row();
    void marks_say_what_the_catalogue_no_longer_matches_data();
    void marks_say_what_the_catalogue_no_longer_matches();
    void finder_state_without_a_room_is_refused();
};

void TestRoomCheck::room_from_a_row_calculates_again_to_that_row_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<int>("typedCount");  // 0: «авто»
    QTest::addColumn<bool>("allOptions");
    QTest::newRow("throw, «авто», every option") << 1 << 0 << true;
    QTest::newRow("velocity at X, three outlets, every option") << 2 << 3 << true;
    QTest::newRow("throw, one outlet, default options") << 1 << 1 << false;
}

// Every row of every type (listed, free and slot sizes, every offered
// option) through RoomFromFound, then CheckRoom: no mark, the same numbers.
void TestRoomCheck::room_from_a_row_calculates_again_to_that_row()
{
    QFETCH(int, variant);
    QFETCH(int, typedCount);
    QFETCH(bool, allOptions);
    Request request = RoomRequest(variant, typedCount ? std::optional<int>(typedCount) : std::nullopt);
    request.allOptions = allOptions;
    const SearchResult result = Search(Shipped(), request);
    QVERIFY(result.found.size() > 100);
    int rooms = 0;
    for (const Found& f : result.found) {
        ProjectRoom room;
        const std::string refusal = RoomFromFound(Shipped(), request, f, "Комната", room);
        QCOMPARE(refusal.empty(), f.ok);
        if (!f.ok)
            continue;
        ++rooms;
        const RoomCheck check = CheckRoom(Shipped(), room);
        const QString what = QString::fromStdString(room.outlet.model + " " + OutletSizeText(room.outlet, '.'));
        QVERIFY2(check.recalculated && !check.marked(), qPrintable(what + ": " + QString::fromStdString(MarksLine(check))));
        QCOMPARE(Shown(check.found), Shown(f));
        QCOMPARE(check.found.picks, f.picks);
        QCOMPARE(room.count, request.room->n);
        QCOMPARE(room.outlet.count, static_cast<int>(f.n));
    }
    QVERIFY(rooms > 100);
}

void TestRoomCheck::marks_say_what_the_catalogue_no_longer_matches_data()
{
    QTest::addColumn<ProjectRoom>("room");
    QTest::addColumn<QList<MarkKind>>("kinds");
    QTest::addColumn<QString>("line");  // MarksLine; "" when not compared

    const ProjectRoom office = Office();
    QTest::newRow("as saved: no mark") << office << QList<MarkKind>{} << QString();

    ProjectRoom r = office;
    r.outlet.model = "ПДК-Х";
    QTest::newRow("model gone") << r << QList<MarkKind>{MarkKind::Model}
                                << "модели «ПДК-Х» типа «Диффузоры квадратные» нет в каталоге";
    r = office;
    r.outlet.type = "Диффузоры круглые";
    QTest::newRow("model under another type") << r << QList<MarkKind>{MarkKind::Model}
                                              << "модели «ПДК» типа «Диффузоры круглые» нет в каталоге";
    r = office;
    r.outlet.size = "999x999";
    QTest::newRow("listed size gone") << r << QList<MarkKind>{MarkKind::Size}
                                      << "типоразмера «999x999» у модели «ПДК» в каталоге нет";
    r = office;
    r.outlet.sizeKind = ProjectSizeKind::Free;
    r.outlet.sizeA = 450, r.outlet.sizeB = 300;
    QTest::newRow("a listed model saved with a free size") << r << QList<MarkKind>{MarkKind::Size}
                                                           << "типоразмера «450х300» у модели «ПДК» в каталоге нет";
    r = office;
    r.outlet.regulator = 3;  // ПДК has a regulator only in its plenum «КСР»
    QTest::newRow("regulator position not offered")
        << r << QList<MarkKind>{MarkKind::Option}
        << "положение регулятора расхода № 3 для этого типоразмера в каталоге больше не предлагается";
    r = office;
    r.results.dP = *office.results.dP + 7;
    r.results.NC.reset();
    QTest::newRow("two results differ")
        << r << QList<MarkKind>{MarkKind::Changed, MarkKind::Changed}
        << QStringLiteral("результаты по текущему каталогу отличаются от сохраненных: ΔP, Па: %1 → %2; NC: - → %3")
               .arg(*office.results.dP + 7)
               .arg(*office.results.dP)
               .arg(QString::fromStdString(Quantities()[9].valueText(SavedFound(office).NC, '.')));
    r = office;
    r.outlet.count += 1;
    QTest::newRow("the «авто» count differs") << r << QList<MarkKind>{MarkKind::Changed} << QString();
    r = office;
    *r.results.LwA += 0.4;  // shown the same, whole decibels
    QTest::newRow("a difference the window does not show") << r << QList<MarkKind>{} << QString();
    r = office;
    r.flow *= 2;
    r.count = office.outlet.count;
    QTest::newRow("the flow doubled: L1 and what follows") << r << QList<MarkKind>{} << QString();
}

void TestRoomCheck::marks_say_what_the_catalogue_no_longer_matches()
{
    QFETCH(ProjectRoom, room);
    QFETCH(QList<MarkKind>, kinds);
    QFETCH(QString, line);

    const RoomCheck check = CheckRoom(Shipped(), room);
    if (QTest::currentDataTag() == QLatin1String("the flow doubled: L1 and what follows")) {
        // A room changed by hand: the flow per outlet is among the marks.
        QVERIFY(!check.marks.empty());
        QCOMPARE(check.marks.front().text.substr(0, 11), std::string("L1, м³/ч"));
        return;
    }
    QList<MarkKind> got;
    for (const RoomMark& m : check.marks)
        got << m.kind;
    QCOMPARE(got, kinds);
    if (!line.isEmpty())
        QCOMPARE(QString::fromStdString(MarksLine(check)), line);
    // Nothing is taken from the new calculation where the outlet is not the
    // saved one: the room shows what it saved.
    const bool located = kinds.isEmpty() || kinds.contains(MarkKind::Changed);
    QCOMPARE(check.recalculated, located);
    if (!located)
        QCOMPARE(Kept(check.shown), Kept(SavedFound(room)));
    // Saved again, the room keeps what it had unless there are new numbers.
    if (!located || QTest::currentDataTag() == QLatin1String("as saved: no mark"))
        QVERIFY(Refreshed(room, check) == room);
    else
        QCOMPARE(Kept(SavedFound(Refreshed(room, check))), Kept(check.found));
}

void TestRoomCheck::finder_state_without_a_room_is_refused()
{
    Request request = RoomRequest(1, 1);
    const SearchResult result = Search(Shipped(), request);
    QVERIFY(!result.found.empty());
    ProjectRoom room;
    room.name = "было";
    request.room.reset();
    QVERIFY(!RoomFromFound(Shipped(), request, result.found.front(), "Комната", room).empty());
    QCOMPARE(room.name, std::string("было"));
}

QTEST_APPLESS_MAIN(TestRoomCheck)
#include "tst_room_check.moc"
