// Blocks onto pages: in order, never split, each page filled before the next
// is begun, the first page shorter by the heading.
#include <QtTest>

#include <vector>

#include "report/report.h"

using Heights = std::vector<double>;
using Pages = std::vector<int>;
Q_DECLARE_METATYPE(Heights)
Q_DECLARE_METATYPE(Pages)

class TestPaginate : public QObject {
    Q_OBJECT
private slots:
    void blocksOntoPages_data();
    void blocksOntoPages();
};

void TestPaginate::blocksOntoPages_data()
{
    // Room: 80 on the first page, 100 on the others; 5 between blocks.
    QTest::addColumn<Heights>("heights");
    QTest::addColumn<Pages>("pages");

    QTest::newRow("no blocks") << Heights{} << Pages{};
    QTest::newRow("one block") << Heights{30} << Pages{0};
    QTest::newRow("two fill the first page exactly") << Heights{40, 35} << Pages{0, 0};
    QTest::newRow("the gap pushes the second over") << Heights{40, 36} << Pages{0, 1};
    QTest::newRow("first page is shorter than the rest") << Heights{50, 50, 45} << Pages{0, 1, 1};
    QTest::newRow("next page starts without a gap") << Heights{80, 100, 1} << Pages{0, 1, 2};
    QTest::newRow("a small block after a page break fills on") << Heights{70, 20, 10, 60} << Pages{0, 1, 1, 1};
    QTest::newRow("taller than a page stands alone") << Heights{10, 150, 10} << Pages{0, 1, 2};
    QTest::newRow("taller than the first page, first") << Heights{90, 5} << Pages{0, 1};
    QTest::newRow("a later block does not fill an earlier page") << Heights{60, 60, 10} << Pages{0, 1, 1};
}

void TestPaginate::blocksOntoPages()
{
    QFETCH(Heights, heights);
    QFETCH(Pages, pages);
    QCOMPARE(nimbo::report::Paginate(heights, 80, 100, 5), pages);
}

QTEST_MAIN(TestPaginate)
#include "tst_paginate.moc"
