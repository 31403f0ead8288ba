#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include "cataloguebuilder.h"
#include "imageman.h"
#include "libraryfixture.h"
#include "pagelayout.h"
#include "pagemodel.h"
#include "picturefit.h"
#include "picturemaker.h"

using namespace Qt::StringLiterals;

namespace {

/// An album of three photos and a corrupt one, names chosen so that case-blind order differs
/// from byte order.
struct PageFixture : LibraryFixture
{
    PageFixture()
    {
        album = makeAlbum(u"Tom & Jerry's #1"_s);
        photo(album + u"/b.jpg"_s, QSize(1536, 2048));
        photo(album + u"/A & B.jpg"_s, QSize(320, 240), {}, 1);
        photo(album + u"/C.jpg"_s, QSize(240, 240), {}, 2);
        PictureMaker::writeCorrupt(album + u"/d.jpg"_s);
        setModified(album + u"/d.jpg"_s, defaultModified());
    }
    QString album;
};

QStringList cellNames(const PageModel &page)
{
    QStringList out;
    for (const PageCell &c : page.cells()) {
        out.append(c.fileName);
    }
    return out;
}

} // namespace

class TestPageModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameCaptionAndCentring_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("centred");
        QTest::newRow("ampersand doubled")
            << u"Tom & Jerry.jpg"_s << u"Tom && Jerry.jpg"_s << false;
        QTest::newRow("14 characters") << u"abcdefghij.jpg"_s << u"abcdefghij.jpg"_s << true;
        QTest::newRow("15 characters") << u"abcdefghijk.jpg"_s << u"abcdefghijk.jpg"_s << false;
        QTest::newRow("14 once doubled") << u"Tom&Jerry.jpg"_s << u"Tom&&Jerry.jpg"_s << true;
        QTest::newRow("15 once doubled") << u"Tom&Jerrys.jpg"_s << u"Tom&&Jerrys.jpg"_s << false;
        QTest::newRow("letters beyond ASCII")
            << u"été 写真 🙂.jpg"_s << u"été 写真 🙂.jpg"_s << true;
    }
    void nameCaptionAndCentring()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, centred);
        QCOMPARE(nameCaption(name), caption);
        QCOMPARE(isCaptionCentred(nameCaption(name)), centred);
    }

    void cellTexts()
    {
        QCOMPARE(loadingCounterText(0, 3), u"Loading file: 1 of 3 total files"_s);
        QCOMPARE(cellToolTip(u"Tom && Jerry.jpg"_s, u"2048 x 1536"_s),
                 u"Name:= Tom && Jerry.jpg | Size:= 2048 x 1536"_s);
        QCOMPARE(cellColour(), QColor(0xC0, 0xC0, 0xFF));
    }

    void loadFaxImageLeavesHeightByWidth()
    {
        LibraryFixture f;
        const QString dir = f.makeAlbum(u"fax"_s);
        QVERIFY(PictureMaker::write(PictureMaker::photo(QSize(1536, 2048)), dir + u"/p.jpg"_s));
        QVERIFY(PictureMaker::write(PictureMaker::monochrome(QSize(400, 200)),
                                    dir + u"/fax.tif"_s,
                                    200,
                                    100));

        ImageMan engine;
        engine.setViewSize(QSizeF(86, 56));
        QVERIFY(engine.setPicture(dir + u"/p.jpg"_s).ok());
        QVERIFY(LoadFaxImage(engine, f.context.log).ok());
        QCOMPARE(engine.tag, u"2048 x 1536"_s);
        QCOMPARE(engine.drawMode(), 3);
        QCOMPARE(engine.sourceRect(), QRectF(0, 0, 1536, 2048));
        QCOMPARE(engine.destinationRect().width(), 86.0);

        // A fax picture of 200 x 100 dpi is stretched to twice its height.
        QVERIFY(engine.setPicture(dir + u"/fax.tif"_s).ok());
        QVERIFY(LoadFaxImage(engine, f.context.log).ok());
        QCOMPARE(engine.tag, u"200 x 400"_s);
        QCOMPARE(engine.destinationRect(), QRectF(0, 0, 86, 200 * (86.0 / 400) * 2));
        QCOMPARE(f.logText(), QString());
    }

    void centerGraphicFitsOrCentres()
    {
        LibraryFixture f;
        ImageMan engine;
        engine.setImage(PictureMaker::photo(QSize(1536, 2048)));
        engine.setViewSize(QSizeF(86, 56));
        engine.setScaleWidth(86);
        engine.setScaleHeight(56);
        QVERIFY(CenterGraphic(engine, false, f.context.log).ok());
        // Taller than the view: the whole height shows, centred across.
        const double ry = 2048 / 56.0;
        QCOMPARE(engine.autoScale(), 0);
        QCOMPARE(engine.scaleHeight(), 2048.0);
        QCOMPARE(engine.scaleWidth(), 86 * ry);
        QCOMPARE(engine.scaleLeft(), (1536 - 86 * ry) / 2);
        QCOMPARE(engine.scaleTop(), 0.0);
        // Fitting again changes nothing.
        QVERIFY(CenterGraphic(engine, false, f.context.log).ok());
        QCOMPARE(engine.scaleWidth(), 86 * ry);

        engine.setImage(PictureMaker::photo(QSize(400, 100)));
        engine.setScaleWidth(86);
        engine.setScaleHeight(56);
        QVERIFY(CenterGraphic(engine, false, f.context.log).ok());
        const double rx = 400 / 86.0;
        QCOMPARE(engine.scaleWidth(), 400.0);
        QCOMPARE(engine.scaleHeight(), 56 * rx);
        QCOMPARE(engine.scaleTop(), (100 - 56 * rx) / 2);

        engine.setScaleWidth(200);
        engine.setScaleHeight(50);
        QVERIFY(CenterGraphic(engine, true, f.context.log).ok());
        QCOMPARE(engine.scaleLeft(), 100.0);
        QCOMPARE(engine.scaleTop(), 25.0);
        QCOMPARE(f.logText(), QString());

        ImageMan empty;
        QVERIFY(!LoadFaxImage(empty, f.context.log).ok());
        QVERIFY(!CenterGraphic(empty, false, f.context.log).ok());
        QVERIFY(f.logText().contains(u"Error in [modMain - LoadFaxImage] "_s));
        QVERIFY(f.logText().contains(u"Error in [modMain - CenterGraphic] "_s));
    }

    void folderPage_data()
    {
        QTest::addColumn<int>("workers");
        QTest::newRow("on the calling thread") << 0;
        QTest::newRow("two workers") << 2;
    }
    void folderPage()
    {
        QFETCH(int, workers);
        PageFixture f;
        f.context.workers = workers;
        PageModel page;
        QSignalSpy started(&page, &PageModel::buildStarted);
        QSignalSpy progressed(&page, &PageModel::progressed);
        QSignalSpy inserted(&page, &PageModel::cellsInserted);
        QSignalSpy finished(&page, &PageModel::buildFinished);
        const Result<int> built = ShowPictureThumbnails(page, f.context, f.album, false);
        QVERIFY(built.ok());
        QCOMPARE(built.value(), 4);
        QCOMPARE(page.kind(), PageModel::Kind::Folder);
        QCOMPARE(cellNames(page),
                 QStringList({u"A & B.jpg"_s, u"b.jpg"_s, u"C.jpg"_s, u"d.jpg"_s}));
        QCOMPARE(started.size(), 1);
        QCOMPARE(started.first().at(0).toInt(), 4);
        QCOMPARE(progressed.size(), 4);
        QCOMPARE(progressed.first().at(2).toString(), u"Loading file: 1 of 4 total files"_s);
        QCOMPARE(progressed.last().at(2).toString(), u"Loading file: 4 of 4 total files"_s);
        QCOMPARE(inserted.size(), 4);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().at(0).toBool(), true);

        const PageCell &first = page.cell(0);
        QCOMPARE(first.index, 0);
        QCOMPARE(first.imXPicture, f.album + u"/A & B.jpg"_s);
        QCOMPARE(first.path(), first.imXPicture);
        QVERIFY(first.Shape1Tag.isEmpty());
        QCOMPARE(first.caption, u"A && B.jpg"_s);
        QVERIFY(first.captionCentred);
        QCOMPARE(first.sizeTag, u"240 x 320"_s);
        QCOMPARE(first.toolTip, u"Name:= A && B.jpg | Size:= 240 x 320"_s);
        QCOMPARE(first.dateText, u"02/03/2004"_s);
        QVERIFY(!first.imgID);
        QVERIFY(!first.invalid);
        QCOMPARE(first.picture.size(), PageLayout::pictureAreaPixels());

        const PageCell &portrait = page.cell(1);
        QCOMPARE(portrait.sizeTag, u"2048 x 1536"_s);
        QCOMPARE(portrait.picture.size(), PageLayout::pictureAreaPixels());
        // Fitted and centred: the cell colour shows left and right of a portrait picture.
        QCOMPARE(portrait.picture.pixelColor(0, 28), cellColour());
        QVERIFY(portrait.picture.pixelColor(43, 28) != cellColour());

        // The corrupt photo: marked invalid, no picture, and not a line in the log.
        const PageCell &corrupt = page.cell(3);
        QVERIFY(corrupt.invalid);
        QVERIFY(corrupt.picture.isNull());
        QVERIFY(corrupt.sizeTag.isEmpty());
        QCOMPARE(corrupt.dateText, u"02/03/2004"_s);
        QCOMPARE(f.logText(), QString());

        QCOMPARE(page.lstPictureFiles(),
                 QStringList({f.album + u"/A & B.jpg"_s,
                              f.album + u"/b.jpg"_s,
                              f.album + u"/C.jpg"_s,
                              f.album + u"/d.jpg"_s}));
        QCOMPARE(page.canvasHeight(10000), 2400);
        QCOMPARE(page.canvasHeight(4000), 8400);
    }

    void cataloguePage()
    {
        PageFixture f;
        QVERIFY(ResizeAndWriteImagesToDatabase(f.context, f.album, {}, false, false).ok());
        const QString logBefore = f.logText();
        const QList<StoredRecord> records = f.records();

        PageModel page;
        QSignalSpy progressed(&page, &PageModel::progressed);
        const Result<int> built = ShowPictureThumbnailsFromDatabase(page, f.context, f.album);
        QVERIFY(built.ok());
        QCOMPARE(built.value(), 4);
        QCOMPARE(page.kind(), PageModel::Kind::Catalogue);
        QCOMPARE(cellNames(page),
                 QStringList({u"A & B.jpg"_s, u"b.jpg"_s, u"C.jpg"_s, u"d.jpg"_s}));
        QCOMPARE(progressed.first().at(2).toString(), u"Loading file: 1 of 4 total files"_s);
        for (const PageCell &cell : page.cells()) {
            QVERIFY(cell.imXPicture.isEmpty());
            QCOMPARE(cell.Shape1Tag, f.album + u'/' + cell.fileName);
            QCOMPARE(cell.path(), cell.Shape1Tag);
            QVERIFY(cell.imgID.has_value());
            const auto record =
                std::find_if(records.cbegin(), records.cend(), [&](const StoredRecord &r) {
                    return r.imgID == *cell.imgID;
                });
            QVERIFY(record != records.cend());
            QCOMPARE(record->imgName, cell.fileName);
            QCOMPARE(cell.dateText, u"02/03/2004"_s);
        }
        // Sizes are those of the stored thumbnails.
        QCOMPARE(page.cell(0).sizeTag.section(u" x "_s, 1).toInt(), 98);
        QCOMPARE(page.cell(1).sizeTag.section(u" x "_s, 0, 0).toInt() > 90, true);
        QCOMPARE(page.cell(0).picture.size(), PageLayout::pictureAreaPixels());
        // Catalogued without a picture: shown as invalid, without a new log line.
        QVERIFY(page.cell(3).invalid);
        QVERIFY(page.cell(3).picture.isNull());
        QCOMPARE(f.logText(), logBefore);
    }

    void aStoredPictureThatCannotBeDecodedIsLoggedNotMarked()
    {
        PageFixture f;
        QVERIFY(ResizeAndWriteImagesToDatabase(f.context, f.album, {}, false, false).ok());
        QVERIFY(f.execute(u"UPDATE Images SET Image = ? WHERE imgName = 'b.jpg'"_s,
                          {QByteArray("garbage\0", 8)}));
        PageModel page;
        QVERIFY(ShowPictureThumbnailsFromDatabase(page, f.context, f.album).ok());
        const PageCell &b = page.cell(1);
        QCOMPARE(b.fileName, u"b.jpg"_s);
        QVERIFY(b.picture.isNull());
        QVERIFY(!b.invalid);
        QVERIFY(b.sizeTag.isEmpty());
        QVERIFY(f.logText().contains(u"Error in [modmain - GetImage] "_s));
    }

    void aPhotoDeletedWhileThePageIsBuiltIsLoggedAndSkipped()
    {
        PageFixture f;
        f.context.workers = 0; // cell i is decoded just before it is delivered
        PageModel page;
        bool deleted = false;
        f.context.processEvents = [&] {
            if (!deleted && page.count() == 1) {
                deleted = QFile::remove(f.album + u"/C.jpg"_s);
            }
        };
        QVERIFY(ShowPictureThumbnails(page, f.context, f.album, false).ok());
        QVERIFY(deleted);
        QCOMPARE(page.count(), 4);
        const PageCell &gone = page.cell(2);
        QCOMPARE(gone.fileName, u"C.jpg"_s);
        QVERIFY(gone.picture.isNull());
        QVERIFY(!gone.invalid);
        QVERIFY(f.logText().contains(
            u"Error in [modMain - ShowPictureThumbnails] File not found - 53"_s));
    }

    void aCataloguePageWithoutCatalogueStaysEmpty()
    {
        PageFixture f;
        QFile file(f.context.cataloguePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1024, 'z'));
        file.close();
        PageModel page;
        QSignalSpy finished(&page, &PageModel::buildFinished);
        QVERIFY(!ShowPictureThumbnailsFromDatabase(page, f.context, f.album).ok());
        QCOMPARE(page.count(), 0);
        QCOMPARE(finished.size(), 1);
        QVERIFY(f.logText().contains(u"Error in [modMain - ShowPictureThumbnailsFromDatabase] "_s));
    }

    void cellsArriveOneByOneAndMessagesRunBetween()
    {
        PageFixture f;
        PageModel page;
        QList<int> countsSeen;
        connect(&page, &PageModel::cellsInserted, &page, [&](int first, int last) {
            QCOMPARE(first, last);
            countsSeen.append(page.count());
        });
        int pumped = 0;
        f.context.processEvents = [&pumped] {
            ++pumped;
        };
        QVERIFY(ShowPictureThumbnails(page, f.context, f.album, false).ok());
        QCOMPARE(countsSeen, QList<int>({1, 2, 3, 4}));
        QVERIFY(pumped >= 4);
    }

    void closingThePageWhileItIsBuiltStopsTheBuild()
    {
        PageFixture f;
        QPointer<PageModel> page = new PageModel;
        f.context.processEvents = [&page] {
            if (page && page->count() == 2) {
                delete page.data();
            }
        };
        const Result<int> built = ShowPictureThumbnails(*page, f.context, f.album, false);
        QVERIFY(!built.ok());
        QVERIFY(page.isNull());
    }

    void aNewBuildReplacesThePage()
    {
        PageFixture f;
        const QString second = f.makeAlbum(u"second"_s);
        QVERIFY(f.photo(second + u"/only.jpg"_s));
        PageModel page;
        QVERIFY(ShowPictureThumbnails(page, f.context, f.album, false).ok());
        QCOMPARE(page.count(), 4);
        QVERIFY(ShowPictureThumbnails(page, f.context, second, false).ok());
        QCOMPARE(cellNames(page), QStringList({u"only.jpg"_s}));
        QCOMPARE(page.albumPath(), second);

        QVERIFY(ShowPictureThumbnails(page, f.context, f.makeAlbum(u"nothing"_s), false).ok());
        QCOMPARE(page.count(), 0);
        QCOMPARE(page.canvasHeight(10000), 2400);
    }
};

QTEST_GUILESS_MAIN(TestPageModel)
#include "tst_pagemodel.moc"
