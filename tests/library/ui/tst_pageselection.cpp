#include <QTest>

#include "pagelayout.h"
#include "pageselection.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PagePart)

/// Which control of a page a point hits, without windows: the album window hit-tests every
/// click and pointer move this way.
class TestPageSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hitTest_data();
    void hitTest();
};

void TestPageSelection::hitTest_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("pictureShown");
    QTest::addColumn<int>("index");
    QTest::addColumn<PagePart>("part");

    // A window 10000 twips wide: four cells a row; cell 5 has its frame at (2240, 2400).
    const PageLayout::CellGeometry g = PageLayout::cellGeometry(5, 10000);
    QTest::newRow("picture") << g.imX.center() << true << 5 << PagePart::imX;
    QTest::newRow("hidden picture: the mount")
        << g.imX.center() << false << 5 << PagePart::lblHolder;
    QTest::newRow("mount rim") << QPoint(g.lblHolder.left() + 5, g.lblHolder.center().y()) << true
                               << 5 << PagePart::lblHolder;
    QTest::newRow("tick band") << g.chkSelected.center() << true << 5 << PagePart::chkSelected;
    QTest::newRow("name") << g.lblName.center() << true << 5 << PagePart::lblName;
    QTest::newRow("date") << QPoint(g.lblDate.left() + 100, g.lblDate.center().y()) << true << 5
                          << PagePart::lblDate;
    // The camera sits over the right end of the date: the camera is in front.
    QTest::newRow("camera over the date") << QPoint(g.imgCamera.left() + 20, g.lblDate.center().y())
                                          << true << 5 << PagePart::imgCamera;
    QTest::newRow("frame only: the canvas")
        << QPoint(g.Shape1.left() + 20, g.Shape1.top() + 20) << true << 5 << PagePart::None;
    QTest::newRow("between cells")
        << QPoint(g.Shape1.right() + 100, g.Shape1.center().y()) << true << -1 << PagePart::None;
    QTest::newRow("below the last cell") << QPoint(500, 20000) << true << -1 << PagePart::None;
}

void TestPageSelection::hitTest()
{
    QFETCH(QPoint, point);
    QFETCH(bool, pictureShown);
    QFETCH(int, index);
    QFETCH(PagePart, part);
    const PageHit hit = hitTestPage(point, 8, 10000, [pictureShown](int) {
        return pictureShown;
    });
    QCOMPARE(hit.index, index);
    QCOMPARE(hit.part, part);
}

QTEST_GUILESS_MAIN(TestPageSelection)
#include "tst_pageselection.moc"
