// The log record: the list line shown on screen and the file's column order.
#include <QTest>

#include "log/log_record.h"

using namespace nimbo;

class TestLogRecord : public QObject {
    Q_OBJECT

private slots:
    void list_line_data();
    void list_line();
    void data_columns_keep_file_order();
};

namespace {

LogRecord Variant1()
{
    LogRecord r;
    r.model = "ДМЖ-1";
    r.size = "300х300";
    r.plenum = "КСД";
    r.jetForm = "Веер";
    r.flowRegulator = "b=15°";
    r.L = "500";
    r.V = "0.2";
    r.p = "12.5";
    r.x = "3.4";
    r.LwA = "27";
    r.labelV = "Vx =";
    r.unitV = "м/с";
    r.labelX = "l =";
    r.unitX = "м";
    return r;
}

}  // namespace

void TestLogRecord::list_line_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("expected");

    QTest::newRow("variant 1")
        << 0 << "ДМЖ-1 300х300, КСД, Веер, b=15°, L=500м3/ч, Vx =0.2м/с, P=12.5Па, l =3.4м, LwA=27дБА";
    QTest::newRow("variant 2")
        << 1 << "ДМЖ-1 300х300, КСД, Веер, b=15°, L=500м3/ч, X =3.5м, P=12.5Па, Vx =0.71м/с, LwA=27дБА";
    QTest::newRow("hidden groups and missing results")
        << 2 << "ДМЖ-1 300х300, -, -, -, L=500м3/ч, Vx =0.2м/с, P=-Па, l =-м, LwA=<10дБА";
    QTest::newRow("empty items") << 3 << "ДМЖ-1 , , Веер, b=15°, L=м3/ч, Vx =0.2м/с, P=Па, l =м, LwA=дБА";
}

void TestLogRecord::list_line()
{
    QFETCH(int, change);
    QFETCH(QString, expected);

    LogRecord r = Variant1();
    switch (change) {
    case 1:
        r.V = "3.5";
        r.x = "0.71";
        r.labelV = "X =";
        r.unitV = "м";
        r.labelX = "Vx =";
        r.unitX = "м/с";
        break;
    case 2:
        r.plenum = r.jetForm = r.flowRegulator = r.p = r.x = "-";
        r.LwA = "<10";
        break;
    case 3:
        r.size = r.plenum = r.L = r.p = r.x = r.LwA = "";
        break;
    default:
        break;
    }
    QCOMPARE(QString::fromStdString(r.listLine()), expected);
}

void TestLogRecord::data_columns_keep_file_order()
{
    LogRecord r;
    r.model = "1";
    r.size = "2";
    r.plenum = "3";
    r.jetForm = "4";
    r.flowRegulator = "5";
    r.L = "6";
    r.V = "7";
    r.p = "8";
    r.x = "9";
    r.F0 = "10";
    r.V0 = "11";
    r.Fv = "12";
    r.Vv = "13";
    r.Fjs = "14";
    r.Vjs = "15";
    r.LwA = "LwA";
    r.labelV = r.unitV = r.labelX = r.unitX = "label";

    const auto columns = r.dataColumns();
    for (int i = 0; i < 15; ++i)
        QCOMPARE(QString::fromStdString(columns[static_cast<std::size_t>(i)]), QString::number(i + 1));
}

QTEST_APPLESS_MAIN(TestLogRecord)
#include "tst_log_record.moc"
