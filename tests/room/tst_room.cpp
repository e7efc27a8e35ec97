// The room engine on cases worked out by hand: the outlets' grid, the sound
// pressure at the listener with its ratings, the rating curves at their
// edges, the «авто» count and the room's boxes.
#include <QtTest>

#include <cmath>
#include <limits>

#include "calc/numbers.h"
#include "room/ratings.h"
#include "room/room_input.h"

using namespace nimbo;

Q_DECLARE_METATYPE(nimbo::Bands)

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QString Q(const std::string& s) { return QString::fromStdString(s); }

// LpA, NR and NC as the finder shows them.
QString Ratings(const Bands& Lp)
{
    return Q(LpAText(LevelA(Lp)) + ' ' + NrText(NoiseRating(Lp)) + ' ' + NcText(NoiseCriterion(Lp)));
}

}  // namespace

class TestRoom : public QObject {
    Q_OBJECT
private slots:
    // nx×ny, the listener's outlet i,j and Lc = min(A/nx, B/ny)/2, in a 6 × 6 m
    // and a 12 × 4 m room.
    void grid_has_cells_closest_to_square_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("square");
        QTest::addColumn<QString>("oblong");
        QTest::newRow("1") << 1 << "1×1 0,0 3" << "1×1 0,0 2";
        QTest::newRow("2: 6×6 ties 2×1 and 1×2, larger nx; cells 6×4") << 2 << "2×1 0,0 1.5" << "2×1 0,0 2";
        QTest::newRow("4: cells 3×4") << 4 << "2×2 0,0 1.5" << "4×1 1,0 1.5";
        QTest::newRow("5: 6×6 ties 5×1 and 1×5; cells 2.4×4") << 5 << "5×1 2,0 0.6" << "5×1 2,0 1.2";
        QTest::newRow("6: cells 2×3 and 3×2 tie; 2×4 and 4×2 tie") << 6 << "3×2 1,0 1" << "6×1 2,0 1";
        QTest::newRow("12: 1.5×2 and 2×1.5 tie; square 2×2") << 12 << "4×3 1,1 0.75" << "6×2 2,0 1";
    }

    void grid_has_cells_closest_to_square()
    {
        QFETCH(int, n);
        QFETCH(QString, square);
        QFETCH(QString, oblong);
        const auto grid = [n](double A, double B) {
            const RoomGeometry g = GeometryFor({A, B, 3}, n);
            return QString("%1×%2 %3,%4 %5").arg(g.grid.nx).arg(g.grid.ny).arg(g.listenerI).arg(g.listenerJ).arg(g.Lc);
        };
        QCOMPARE(grid(6, 6), square);
        QCOMPARE(grid(12, 4), oblong);
    }

    // One outlet spectrum in every room: Lw 50 48 45 42 38 33 28 22 dB.
    // A-weighted 23.8 31.9 36.4 38.8 38.0 34.2 29.0 20.9; Σ 10^(x/10) = 240 + 1549
    // + 4365 + 7586 + 6310 + 2630 + 794 + 123 = 23597, LwA = 43.73, LpA = 43.73 + dL.
    // Lp = Lw + dL, dL = 10·lg(Σ 2/(4π r²) + 4n/R); the 6 × 6 × 3 m room has
    // S = 2(36 + 18 + 18) = 144 m², and the ear at 1.2 m is r0 = 1.8 m, r0² = 3.24,
    // under its outlet. NR = ⌈(Lp − a)/b⌉ is set by 500 Hz (a 4.8, b 0.974) or 1 kHz.
    void pressure_at_the_listener_data()
    {
        QTest::addColumn<double>("alpha");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("R");
        QTest::addColumn<double>("dL");
        QTest::addColumn<QString>("ratings");  // LpA NR NC
        // R = 144·0.2/0.8 = 36; 2/(4π·3.24) = 0.04912, 4/36 = 0.11111,
        // dL = 10 lg 0.16023 = −7.9525. Lp 1 kHz 30.048: NR 31. Lp 500 Hz 34.048
        // between NC-25 (31) and NC-30 (35): 25 + 5·3.048/4 = 28.81: NC 29. LpA 35.78.
        QTest::newRow("one outlet") << 0.2 << 1 << 36.0 << -7.9525 << "36 31 29";
        // 2 × 2, the others 3, 3 and 3√2 m aside: r² 3.24, 12.24, 12.24, 21.24;
        // Σ 1/(2π r²) = 0.15915·(0.30864 + 0.16340 + 0.04708) = 0.08262, 16/36 =
        // 0.44444, dL = 10 lg 0.52707 = −2.7814. Lp 500 Hz 39.219: (39.219 − 4.8)/
        // 0.974 = 35.34: NR 36; NC 30 + 5·4.219/5 = 34.22: 35. LpA 40.95.
        QTest::newRow("four outlets") << 0.2 << 4 << 36.0 << -2.7814 << "41 36 35";
        // 3 × 2, cells 2 m along A and 3 m along B: r² 3.24, 7.24 twice, 12.24,
        // 16.24 twice; 0.15915·(0.30864 + 0.27624 + 0.08170 + 0.12315) = 0.12569,
        // 24/36 = 0.66667, dL = 10 lg 0.79236 = −1.0108 (cells swapped: −1.0603).
        // Lp 500 Hz 40.989: NR 37.16 → 38; NC 35 + 5·0.989/4 = 36.24: 37. LpA 42.72.
        QTest::newRow("six outlets, oblong cells") << 0.2 << 6 << 36.0 << -1.0108 << "43 38 37";
        // R = 144·0.01/0.99 = 1.45455, 4/R = 2.75, dL = 10 lg 2.79912 = 4.4702.
        // Lp 500 Hz 46.470: NR 42.78 → 43; NC 40 + 5·2.470/5 = 42.47: 43. LpA 48.20.
        QTest::newRow("ᾱ 0.01, all but echo") << 0.01 << 1 << 1.45455 << 4.4702 << "48 43 43";
        // R = 144·0.99/0.01 = 14256, 4/R = 0.00028, dL = 10 lg 0.04940 = −13.0625.
        // Lp 1 kHz 24.937: NR 25; Lp 500 Hz 28.937: NC 20 + 5·2.937/5 = 22.94: 23.
        // LpA 30.67.
        QTest::newRow("ᾱ 0.99, almost free field") << 0.99 << 1 << 14256.0 << -13.0625 << "31 25 23";
    }

    void pressure_at_the_listener()
    {
        QFETCH(double, alpha);
        QFETCH(int, n);
        QFETCH(double, R);
        QFETCH(double, dL);
        QFETCH(QString, ratings);
        const RoomGeometry g = GeometryFor({6, 6, 3, 1.2, alpha}, n);
        QVERIFY2(std::fabs(g.R / R - 1) < 1e-5, qPrintable(QString::number(g.R)));
        QVERIFY2(std::fabs(g.dL - dL) < 5e-5, qPrintable(QString::number(g.dL, 'f', 6)));
        const Bands Lp = PressureBands({50, 48, 45, 42, 38, 33, 28, 22}, g);
        QCOMPARE(Ratings(Lp), ratings);
    }

    void ratings_of_a_spectrum_data()
    {
        QTest::addColumn<Bands>("Lp");
        QTest::addColumn<QString>("ratings");  // LpA NR NC
        // NR 25: a + 25b; (21.875 + 3.5)/1.015 and (19.525 + 6.1)/1.025 give
        // 25.000000000000004 in doubles. The 63 Hz band sets NC: 55.25 between
        // NC-25 (54) and NC-30 (57): 25 + 5·1.25/3 = 27.08: 28.
        const Bands nr25{55.25, 43.75, 35.25, 29.15, 25, 21.875, 19.525, 17.75};
        QTest::newRow("on NR 25") << nr25 << "35 25 28";
        Bands over = nr25;
        over[7] += 0.001;
        QTest::newRow("0.001 dB over NR 25 at 8 kHz") << over << "35 26 28";
        QTest::newRow("on NR 0: the a row") << Bands{35.5, 22, 12, 4.8, 0, -3.5, -6.1, -8} << "13 0 <15";
        // a − 5: N = −5/b, highest −5/1.03 = −4.85 at 8 kHz: NR −4. LpA 7.57.
        QTest::newRow("NR −4, LpA below 10") << Bands{30.5, 17, 7, -0.2, -5, -8.5, -11.1, -13} << "8 <0 <15";
        // NC-15 at 8 kHz only, 1 dB under it elsewhere; NR (11 + 8)/1.03 = 18.45.
        QTest::newRow("touching NC-15") << Bands{46, 35, 27, 21, 17, 13, 11, 11} << "26 19 15";
        QTest::newRow("0.001 dB under NC-15 in every band")
            << Bands{46.999, 35.999, 27.999, 21.999, 17.999, 13.999, 11.999, 10.999} << "27 19 <15";
        // 1 kHz at 22 + 2·(27 − 22)/5 = 24, on the interpolated NC-22.
        QTest::newRow("on NC-22 at 1 kHz") << Bands{47, 36, 28, 22, 24, 14, 12, 11} << "28 24 22";
        QTest::newRow("0.01 dB over NC-22") << Bands{47, 36, 28, 22, 24.01, 14, 12, 11} << "28 25 23";
        // NR at 8 kHz (68 + 8)/1.03 = 73.79.
        const Bands nc70{84, 79, 75, 72, 71, 70, 68, 68};
        QTest::newRow("on NC-70") << nc70 << "77 74 70";
        Bands above = nc70;
        above[7] += 0.001;
        QTest::newRow("0.001 dB over NC-70 at 8 kHz") << above << "77 74 >70";
        // LpA 110 + 10 lg Σ 10^(A/10) = 110 + 10 lg 4.997 = 116.99; NR (110 + 8)/1.03.
        QTest::newRow("110 dB flat, LpA above 100") << Bands{110, 110, 110, 110, 110, 110, 110, 110} << "117 115 >70";
        Bands noData = nr25;
        noData[4] = kNaN;
        QTest::newRow("no sound data in a band") << noData << "- - -";
    }

    void ratings_of_a_spectrum()
    {
        QFETCH(Bands, Lp);
        QFETCH(QString, ratings);
        QCOMPARE(Ratings(Lp), ratings);
    }

    // The night limits for living rooms in the sanitary code are the NR 25 curve
    // rounded to whole decibels; four of them lie above the curve (125 Hz by
    // 0.25 dB, 2, 4 and 8 kHz), the highest at 4 kHz: (20 + 6.1)/1.025 = 25.46.
    void rating_curves_round_to_the_sanitary_limits()
    {
        const Bands limits{55, 44, 35, 29, 25, 22, 20, 18};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(Round(NrCurve(i, 25), 0), limits[static_cast<std::size_t>(i)]);
        QCOMPARE(NoiseRating(limits), std::optional<int>(26));
        // The NC curves a chart draws, between and at the tabulated ones.
        QCOMPARE(NcCurve(4, 22), 24.0);
        QCOMPARE(NcCurve(0, 67.5), 82.0);  // 80 + 2.5·(84 − 80)/5
        QCOMPARE(NcCurve(7, 70), 68.0);
        QCOMPARE(NcCurve(0, 10), 47.0);  // taken into 15..70
        QCOMPARE(NcCurve(0, kNaN), 47.0);
    }

    void auto_count_data()
    {
        QTest::addColumn<QList<int>>("misses");  // at n = 1, 2, …; the last one repeats
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("asked");
        QTest::newRow("fits at once") << QList<int>{0} << 1 << 1;
        QTest::newRow("first fit at 3, later ones unasked") << QList<int>{2, 1, 0, 0} << 3 << 3;
        QTest::newRow("fits only at 64") << (QList<int>(63, 1) << 0) << 64 << 64;
        QTest::newRow("none fits: first of the fewest") << QList<int>{3, 2, 1, 2, 1, 2} << 3 << 64;
        QTest::newRow("none fits, all alike") << QList<int>{2} << 1 << 64;
    }

    void auto_count()
    {
        QFETCH(QList<int>, misses);
        QFETCH(int, n);
        QFETCH(int, asked);
        int calls = 0;
        QCOMPARE(AutoCount([&](int k) {
                     ++calls;
                     return misses.at(std::min<qsizetype>(k, misses.size()) - 1);
                 }),
                 n);
        QCOMPARE(calls, asked);
    }

    void room_boxes_data()
    {
        QTest::addColumn<QStringList>("texts");  // A B H n ear ᾱ
        QTest::addColumn<QString>("expected");   // the room read, or the refusal
        auto row = [](const char* name, const QStringList& texts, const QString& expected) {
            QTest::newRow(name) << texts << expected;
        };
        row("office, «авто»", {"6", "6", "3", "", "1.2", "0.2"}, "6 6 3 1.2 0.2 авто");
        row("decimal comma, typed n", {" 6,5 ", "4", "2,7", "4", "1,2", "0,3"}, "6.5 4 2.7 1.2 0.3 4");
        row("ᾱ 0.01 and 0.99 kept, n 64", {"6", "6", "3", "64", "2.99", "0.99"}, "6 6 3 2.99 0.99 64");
        row("A not a number", {"шесть", "6", "3", "", "1.2", "0.2"},
            "Длина помещения A: «шесть» не является числом. Введите число больше нуля.");
        row("B zero", {"6", "0", "3", "", "1.2", "0.2"}, "Ширина помещения B: введите число больше нуля, а не «0».");
        row("ᾱ 0", {"6", "6", "3", "", "1.2", "0"}, "Поглощение ᾱ: введите число больше нуля, а не «0».");
        row("ᾱ 1", {"6", "6", "3", "", "1.2", "1,0"}, "Поглощение ᾱ: введите число больше 0 и меньше 1, а не «1,0».");
        row("ear at H", {"6", "6", "3", "", "3", "0.2"},
            "Высота уха слушателя: введите число меньше высоты помещения «3», а не «3».");
        const QString countRule = "Число воздухораспределителей n: введите целое число от 1 до 64 или оставьте "
                                  "поле пустым для «авто», а не «%1».";
        for (const char* n : {"0", "65", "2.5", "-1", "1e999"})
            row(qPrintable(QString("n ") + n), {"6", "6", "3", n, "1.2", "0.2"}, countRule.arg(n));
        row("n text", {"6", "6", "3", "два", "1.2", "0.2"},
            "Число воздухораспределителей n: «два» не является числом. Введите целое число от 1 до 64 или "
            "оставьте поле пустым для «авто».");
    }

    void room_boxes()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, expected);
        const auto t = [&](int i) { return texts.at(i).toStdString(); };
        RoomInput in;
        const std::string problem = ReadRoom({t(0), t(1), t(2), t(3), t(4), t(5)}, in);
        const Room& r = in.room;
        const QString read = QString("%1 %2 %3 %4 %5 %6").arg(r.A).arg(r.B).arg(r.H).arg(r.ear).arg(r.alpha)
                                 .arg(in.n ? QString::number(*in.n) : "авто");
        QCOMPARE(problem.empty() ? read : Q(problem), expected);
    }
};

QTEST_APPLESS_MAIN(TestRoom)
#include "tst_room.moc"
