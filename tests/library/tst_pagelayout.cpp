#include <QTest>

#include "pagelayout.h"

using namespace PageLayout;

namespace {

/// The placing rule written out step by step, cell after cell, as the page builder places its
/// frames: the closed form in pagelayout.cpp must agree with it for every width.
QList<QPoint> placeOneByOne(int count, int windowWidth)
{
    QList<QPoint> frames;
    for (int i = 0; i < count; ++i) {
        int x = 240;
        int y = 400;
        if (i > 0) {
            x = frames.at(i - 1).x() + 2000;
            y = frames.at(i - 1).y();
        }
        if (windowWidth >= x + 2000) {
            frames.append(QPoint(x, y));
        } else {
            frames.append(QPoint(240, y + 2000));
        }
    }
    return frames;
}

} // namespace

class TestPageLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void framesFollowTheGrid_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("index");
        QTest::addColumn<QPoint>("frame");
        QTest::newRow("10000: first") << 10000 << 0 << QPoint(240, 400);
        QTest::newRow("10000: second") << 10000 << 1 << QPoint(2240, 400);
        QTest::newRow("10000: third") << 10000 << 2 << QPoint(4240, 400);
        QTest::newRow("10000: fourth") << 10000 << 3 << QPoint(6240, 400);
        QTest::newRow("10000: fifth starts row two") << 10000 << 4 << QPoint(240, 2400);
        QTest::newRow("10000: ninth starts row three") << 10000 << 8 << QPoint(240, 4400);
        QTest::newRow("exactly four fit") << 8240 << 3 << QPoint(6240, 400);
        QTest::newRow("one twip short of four") << 8239 << 3 << QPoint(240, 2400);
        QTest::newRow("one per row: first") << 3000 << 0 << QPoint(240, 400);
        QTest::newRow("one per row: second") << 3000 << 1 << QPoint(240, 2400);
        QTest::newRow("one per row: third") << 3000 << 2 << QPoint(240, 4400);
        // Too narrow even for one cell: the first frame already starts a new row.
        QTest::newRow("too narrow: first") << 2000 << 0 << QPoint(240, 2400);
        QTest::newRow("too narrow: second") << 2000 << 1 << QPoint(240, 4400);
    }
    void framesFollowTheGrid()
    {
        QFETCH(int, windowWidth);
        QFETCH(int, index);
        QFETCH(QPoint, frame);
        QCOMPARE(framePosition(index, windowWidth), frame);
    }

    void closedFormAgreesWithPlacingOneByOne()
    {
        const QList<int> widths =
            {0, 1000, 2239, 2240, 4239, 4240, 9999, 10000, 10240, 15000, 28000};
        for (int width : widths) {
            const QList<QPoint> expected = placeOneByOne(40, width);
            for (int i = 0; i < expected.size(); ++i) {
                QVERIFY2(framePosition(i, width) == expected.at(i),
                         qPrintable(QStringLiteral("width %1 cell %2").arg(width).arg(i)));
            }
            QCOMPARE(canvasHeight(40, width), expected.last().y() + 2000);
        }
    }

    void everyControlOfACell()
    {
        // Cell 5 of a 10000-twip window: frame at (2240, 2400).
        const CellGeometry g = cellGeometry(5, 10000);
        QCOMPARE(g.Shape1, QRect(2240, 2400, 1800, 1800));
        QCOMPARE(g.lblHolder, QRect(2490, 2900, 1335, 900));
        QCOMPARE(g.txtName, QRect(2490, 2550, 1335, 300));
        QCOMPARE(g.lblName, g.txtName);
        QCOMPARE(g.imX, QRect(2510, 2930, 1285, 840));
        QCOMPARE(g.lblDate, QRect(2340, 3900, 1575, 255));
        QCOMPARE(g.chkSelected, QRect(2290, 2900, 135, 735));
        QCOMPARE(g.imgCamera, QRect(3640, 3880, 280, 250));
        QCOMPARE(pictureAreaPixels(), QSize(86, 56));
    }

    void canvasHeightComesFromTheLastFrame()
    {
        QCOMPARE(canvasHeight(0, 10000), 2400);
        QCOMPARE(canvasHeight(1, 10000), 2400);
        QCOMPARE(canvasHeight(4, 10000), 2400);
        QCOMPARE(canvasHeight(5, 10000), 4400);
        QCOMPARE(canvasHeight(5000, 10000), 400 + 1249 * 2000 + 2000);
    }

    void visibleBandListsExactlyTheCellsItMeets()
    {
        const int count = 23;
        for (int width : {2000, 3000, 10000}) {
            for (int top = 0; top < 30000; top += 700) {
                const int bottom = top + 2500;
                int first = -1;
                int last = -2;
                for (int i = 0; i < count; ++i) {
                    const QRect frame = cellGeometry(i, width).Shape1;
                    if (frame.top() < bottom && frame.top() + frame.height() > top) {
                        if (first < 0) {
                            first = i;
                        }
                        last = i;
                    }
                }
                const auto [gotFirst, gotLast] = cellsInBand(top, bottom, count, width);
                if (first < 0) {
                    QVERIFY2(gotFirst > gotLast, qPrintable(QString::number(top)));
                } else {
                    QCOMPARE(gotFirst, first);
                    QCOMPARE(gotLast, last);
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
