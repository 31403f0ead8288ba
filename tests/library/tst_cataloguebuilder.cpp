#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "catalogue.h"
#include "cataloguebuilder.h"
#include "imageman.h"
#include "libraryfixture.h"
#include "listfiles.h"
#include "picturemaker.h"
#include "smalldisk.h"

using namespace Qt::StringLiterals;

namespace {

QSize storedSize(const QByteArray &stored)
{
    ImageMan engine;
    if (!engine.loadFromMemory(stored)) {
        return {};
    }
    return QSize(engine.imageWidth(), engine.imageHeight());
}

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

class TestCatalogueBuilder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundingSendsHalvesToTheEvenNeighbour()
    {
        QCOMPARE(roundHalfToEven(0.5), 0);
        QCOMPARE(roundHalfToEven(1.5), 2);
        QCOMPARE(roundHalfToEven(2.5), 2);
        QCOMPARE(roundHalfToEven(3.5), 4);
        QCOMPARE(roundHalfToEven(20.898), 21);
        QCOMPARE(roundHalfToEven(97.52), 98);
    }

    void thumbnailBoxRule_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("divisor");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("landscape 2048x1536")
            << QSize(2048, 1536) << 0 << 98.0 << 98.0 << QSize(98, 98);
        QTest::newRow("portrait 1536x2048")
            << QSize(1536, 2048) << 21 << 1536 / 21.0 << 98.0 << QSize(73, 98);
        QTest::newRow("square 1200")
            << QSize(1200, 1200) << 12 << 100.0 << 100.0 << QSize(100, 100);
        QTest::newRow("portrait 480x640")
            << QSize(480, 640) << 7 << 480 / 7.0 << 91.0 << QSize(68, 91);
        // 245 / 98 = 2.5 -> 2, then 245 / 2 = 122.5 -> 122: both halves go to the even side.
        QTest::newRow("halves to even") << QSize(100, 245) << 2 << 50.0 << 122.0 << QSize(50, 122);
        QTest::newRow("square 147") << QSize(147, 147) << 2 << 73.5 << 74.0 << QSize(73, 74);
        QTest::newRow("very tall") << QSize(10, 3000) << 31 << 10 / 31.0 << 97.0 << QSize(1, 97);
        QTest::newRow("very wide") << QSize(3000, 10) << 0 << 98.0 << 98.0 << QSize(98, 98);
        // Under 49 pixels high the divisor would round to 0: the picture keeps its size.
        QTest::newRow("tiny square") << QSize(40, 40) << 1 << 40.0 << 40.0 << QSize(40, 40);
        QTest::newRow("tiny portrait") << QSize(10, 48) << 1 << 10.0 << 48.0 << QSize(10, 48);
        QTest::newRow("one pixel") << QSize(1, 1) << 1 << 1.0 << 1.0 << QSize(1, 1);
    }
    void thumbnailBoxRule()
    {
        QFETCH(QSize, picture);
        QFETCH(int, divisor);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(QSize, pixels);
        const ThumbnailBox box = thumbnailBox(picture.width(), picture.height());
        QCOMPARE(box.divisor, divisor);
        QVERIFY2(qAbs(box.width - width) < 1e-9, qPrintable(QString::number(box.width)));
        QCOMPARE(box.height, height);
        QCOMPARE(box.pixels(), pixels);
    }

    void recordDateAndTimeFormats_data()
    {
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("afternoon")
            << QDateTime(QDate(2004, 2, 3), QTime(14, 5)) << u"02/03/2004"_s << u"14:05"_s;
        QTest::newRow("morning") << QDateTime(QDate(2019, 11, 9), QTime(9, 7, 59))
                                 << u"11/09/2019"_s << u"09:07"_s;
        QTest::newRow("midnight") << QDateTime(QDate(1999, 12, 31), QTime(0, 0)) << u"12/31/1999"_s
                                  << u"00:00"_s;
    }
    void recordDateAndTimeFormats()
    {
        QFETCH(QDateTime, modified);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QCOMPARE(catalogueDate(modified), date);
        QCOMPARE(catalogueTime(modified), time);
        QCOMPARE(normalisedCatalogueDate(date), date);
        QCOMPARE(normalisedCatalogueTime(time), time);
    }

    void storedDatesAreReadBackLeniently()
    {
        QCOMPARE(normalisedCatalogueDate(u"2/3/2004"_s), u"02/03/2004"_s);
        QCOMPARE(normalisedCatalogueTime(u"9:05"_s), u"09:05"_s);
        QCOMPARE(normalisedCatalogueDate(u"not a date"_s), u"not a date"_s);
    }

    void progressTexts()
    {
        QCOMPARE(CatalogueBuilderText::categorizingCaption(2, 3), u"Categorizing Photo 2 of 3"_s);
        QCOMPARE(CatalogueBuilderText::initialCaption(), u"Categorizing Photo 1 of 1"_s);
        QCOMPARE(CatalogueBuilderText::message(true),
                 u"\nCreating Glimmerbook Database ready for use.\n\nPlease wait.............."_s);
        QCOMPARE(CatalogueBuilderText::message(false),
                 u"\nCategorizing your Album. Please wait.................\n(This will speed all "
                 "future thumbnail load time by up to 500 times\n and allow searching for photos "
                 "in your albums.)"_s);
    }

    void wholeAlbumRun_data()
    {
        QTest::addColumn<int>("workers");
        QTest::newRow("on the calling thread") << 0;
        QTest::newRow("two workers") << 2;
    }
    void wholeAlbumRun()
    {
        QFETCH(int, workers);
        LibraryFixture f(workers);
        int pumped = 0;
        f.context.processEvents = [&pumped] {
            ++pumped;
        };
        const QString album = f.makeAlbum(u"Tom's album #1; été & co"_s);
        QVERIFY(f.photo(album + u"/landscape.jpg"_s, QSize(2048, 1536)));
        QVERIFY(f.photo(album + u"/Portrait #2.JPG"_s, QSize(1536, 2048), {}, 1));
        QVERIFY(PictureMaker::write(PictureMaker::palette(QSize(200, 150), 16),
                                    album + u"/logo.gif"_s));
        QVERIFY(f.setModified(album + u"/logo.gif"_s, QDateTime(QDate(2004, 2, 3), QTime(14, 5))));
        QFile notes(album + u"/notes.txt"_s);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a photo");
        notes.close();

        RecordingProgress progress;
        const auto built =
            ResizeAndWriteImagesToDatabase(f.context, album, QString(), false, false, &progress);
        QVERIFY(built.ok());
        QCOMPARE(built.value().written, 3);
        QCOMPARE(progress.events,
                 QStringList({u"begin 3 0"_s,
                              u"Categorizing Photo 1 of 3"_s,
                              u"Categorizing Photo 2 of 3"_s,
                              u"Categorizing Photo 3 of 3"_s,
                              u"end"_s}));
        QVERIFY(pumped >= 3);

        // One record per photo, in the order of the folder scan, with the album as passed.
        const QStringList listed =
            ListFiles(album, false, f.context.PictureExtensions, f.context.log);
        const QList<StoredRecord> records = f.records();
        QCOMPARE(records.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const StoredRecord &r = records.at(i);
            QCOMPARE(r.imgName, fileNameOf(listed.at(i + 1)));
            QCOMPARE(r.imgPath, album);
            QCOMPARE(r.imgDate, u"02/03/2004"_s);
            QCOMPARE(r.imgTime, u"14:05"_s);
            QCOMPARE(r.Image.back(), '\0');
            const QSize size = storedSize(r.Image);
            if (r.imgName == u"landscape.jpg"_s) {
                QVERIFY(r.Image.startsWith("\xFF\xD8"));
                QCOMPARE(size.width(), 98);
                QVERIFY2(size.height() >= 73 && size.height() <= 74,
                         qPrintable(QString::number(size.height())));
            } else if (r.imgName == u"Portrait #2.JPG"_s) {
                QVERIFY2(size.width() >= 72 && size.width() <= 73,
                         qPrintable(QString::number(size.width())));
                QVERIFY2(size.height() >= 96 && size.height() <= 98,
                         qPrintable(QString::number(size.height())));
            } else {
                QCOMPARE(r.imgName, u"logo.gif"_s);
                QCOMPARE(size.width(), 98);
                QVERIFY(size.height() >= 73 && size.height() <= 74);
            }
        }
        QCOMPARE(f.logText(), QString());
    }

    void firstRunUsesItsOwnWording()
    {
        LibraryFixture f;
        const QString promo = f.makeAlbum(u"promo"_s);
        QVERIFY(f.photo(promo + u"/welcome.jpg"_s));
        RecordingProgress progress;
        QVERIFY(ResizeAndWriteImagesToDatabase(f.context, promo, u"   "_s, false, true, &progress)
                    .ok());
        QCOMPARE(progress.events.first(), u"begin 1 1"_s);
        QCOMPARE(f.records().size(), 1);
    }

    void anAlbumWithoutPhotosStillOpensAndClosesTheProgress()
    {
        LibraryFixture f;
        const QString album = f.makeAlbum(u"empty"_s);
        RecordingProgress progress;
        QVERIFY(ResizeAndWriteImagesToDatabase(f.context, album, {}, false, false, &progress).ok());
        QCOMPARE(progress.events, QStringList({u"begin 0 0"_s, u"end"_s}));
        QCOMPARE(f.records().size(), 0);
    }

    void anUndecodablePictureGetsARecordWithoutPicture()
    {
        // On the calling thread, in folder order: whichever photo comes before the broken one,
        // its thumbnail must not end up in the broken one's record.
        LibraryFixture f(0);
        const QString album = f.makeAlbum(u"mixed"_s);
        QVERIFY(f.photo(album + u"/a.jpg"_s));
        QVERIFY(PictureMaker::writeCorrupt(album + u"/broken.jpg"_s));
        QVERIFY(
            f.setModified(album + u"/broken.jpg"_s, QDateTime(QDate(2010, 7, 1), QTime(8, 30))));
        QVERIFY(PictureMaker::writeTruncatedJpeg(album + u"/cut.jpg"_s, QSize(640, 480)));
        QVERIFY(PictureMaker::writeEmpty(album + u"/zero.jpg"_s));
        QVERIFY(f.photo(album + u"/z.jpg"_s, QSize(300, 200), {}, 3));

        const auto built = ResizeAndWriteImagesToDatabase(f.context, album, {}, false, false);
        QVERIFY(built.ok());
        QCOMPARE(built.value().written, 5);
        const QList<StoredRecord> records = f.records();
        QCOMPARE(records.size(), 5);
        for (const StoredRecord &r : records) {
            if (r.imgName == u"broken.jpg"_s || r.imgName == u"zero.jpg"_s) {
                QVERIFY2(r.imageIsNull, qPrintable(r.imgName));
            } else if (r.imgName != u"cut.jpg"_s) {
                // A truncated JPEG may still give its top rows; a whole photo always decodes.
                QVERIFY2(!r.imageIsNull, qPrintable(r.imgName));
            }
            QVERIFY(!r.imgDate.isEmpty());
            QVERIFY(!r.imgTime.isEmpty());
        }
        const auto broken =
            std::find_if(records.cbegin(), records.cend(), [](const StoredRecord &r) {
                return r.imgName == u"broken.jpg"_s;
            });
        QCOMPARE(broken->imgDate, u"07/01/2010"_s);
        QCOMPARE(broken->imgTime, u"08:30"_s);
        QVERIFY(f.logText().contains(u"Error in [modMain - ResizeAndWriteImagesToDatabase] "_s));
        QVERIFY(f.logText().contains(u" - 32500"_s));
    }

    void aPhotoGoneBeforeItsTurnGetsNoRecord()
    {
        LibraryFixture f;
        const QString album = f.makeAlbum(u"gone"_s);
        QVERIFY(f.photo(album + u"/here.jpg"_s));
        auto opened = openCatalogue(f.context.cataloguePath);
        QVERIFY(opened.ok());
        const auto built = writeCatalogueRecords(
            *opened.value(),
            f.context,
            album,
            {{album + u"/gone.jpg"_s, std::nullopt}, {album + u"/here.jpg"_s, std::nullopt}});
        QVERIFY(built.ok());
        QCOMPARE(built.value().missing, 1);
        QCOMPARE(built.value().written, 1);
        QCOMPARE(f.records().size(), 1);
        QVERIFY(f.logText().contains(u"Error in [modMain - ResizeAndWriteImagesToDatabase] "_s));
    }

    void singlePhotoRunsAddOrRefreshOneRecord()
    {
        LibraryFixture f;
        const QString album = f.makeAlbum(u"single"_s);
        QVERIFY(f.photo(album + u"/a.jpg"_s, QSize(400, 300)));
        QVERIFY(f.photo(album + u"/b.jpg"_s, QSize(400, 300), {}, 2));
        QVERIFY(ResizeAndWriteImagesToDatabase(f.context, album, {}, false, false).ok());
        const QList<StoredRecord> before = f.records();
        QCOMPARE(before.size(), 2);

        QVERIFY(f.photo(album + u"/c.jpg"_s, QSize(300, 400), {}, 4));
        RecordingProgress progress;
        QVERIFY(
            ResizeAndWriteImagesToDatabase(f.context, album, u"c.jpg"_s, false, false, &progress)
                .ok());
        QVERIFY(progress.events.isEmpty());
        QList<StoredRecord> after = f.records();
        QCOMPARE(after.size(), 3);
        QCOMPARE(after.mid(0, 2), before);
        QCOMPARE(after.at(2).imgName, u"c.jpg"_s);

        // a.jpg rewritten: its own record takes the new date, time and thumbnail.
        QVERIFY(f.photo(album + u"/a.jpg"_s,
                        QSize(300, 500),
                        QDateTime(QDate(2021, 5, 6), QTime(7, 8)),
                        9));
        QVERIFY(ResizeAndWriteImagesToDatabase(f.context, album, u"a.jpg"_s, true, false).ok());
        const QList<StoredRecord> refreshed = f.records();
        QCOMPARE(refreshed.size(), 3);
        const StoredRecord &a = before.at(0).imgName == u"a.jpg"_s ? before.at(0) : before.at(1);
        const auto newA =
            std::find_if(refreshed.cbegin(), refreshed.cend(), [&](const StoredRecord &r) {
                return r.imgID == a.imgID;
            });
        QVERIFY(newA != refreshed.cend());
        QCOMPARE(newA->imgDate, u"05/06/2021"_s);
        QCOMPARE(newA->imgTime, u"07:08"_s);
        QVERIFY(newA->Image != a.Image);
        QVERIFY(storedSize(newA->Image).height() > storedSize(newA->Image).width());
        for (const StoredRecord &r : refreshed) {
            if (r.imgID != a.imgID) {
                QVERIFY(after.contains(r));
            }
        }

        // Nothing to refresh: logged, nothing written.
        QVERIFY(
            !ResizeAndWriteImagesToDatabase(f.context, album, u"nothere.jpg"_s, true, false).ok());
        QCOMPARE(f.records(), refreshed);
        QVERIFY(f.logText().contains(
            u"Error in [modMain - ResizeAndWriteImagesToDatabase] Either BOF or EOF"_s));
    }

    void aLockedCatalogueStopsTheRunAtTheFirstRefusedWrite()
    {
        LibraryFixture f;
        f.context.catalogueBusyTimeoutMs = 50;
        const QString album = f.makeAlbum(u"locked"_s);
        for (const QString &n : {u"a.jpg"_s, u"b.jpg"_s, u"c.jpg"_s}) {
            QVERIFY(f.photo(album + u'/' + n));
        }
        QVERIFY(openCatalogue(f.context.cataloguePath).ok());
        RecordingProgress progress;
        {
            CatalogueWriteLock lock(f.context.cataloguePath);
            QVERIFY(lock.isLocked());
            const auto built =
                ResizeAndWriteImagesToDatabase(f.context, album, {}, false, false, &progress);
            QVERIFY(!built.ok());
            QVERIFY2(built.failure().description.contains(u"locked"_s),
                     qPrintable(built.failure().description));
        }
        QCOMPARE(progress.events,
                 QStringList({u"begin 3 0"_s, u"Categorizing Photo 1 of 3"_s, u"end"_s}));
        QCOMPARE(f.records().size(), 0);
        QCOMPARE(f.logText().count(u"Error in [modMain - ResizeAndWriteImagesToDatabase] "_s), 1);
    }

    void aFullDiskStopsTheRunAndKeepsTheCatalogue()
    {
        SmallDisk disk(512);
        if (!disk.isMounted()) {
            QSKIP("a small file system cannot be mounted here");
        }
        LibraryFixture f;
        f.context.cataloguePath = disk.path() + u"/glimmerbook.mdb"_s;
        const QString first = f.makeAlbum(u"first"_s);
        QVERIFY(f.photo(first + u"/a.jpg"_s));
        QVERIFY(ResizeAndWriteImagesToDatabase(f.context, first, {}, false, false).ok());
        const QList<StoredRecord> before = LibraryFixture::readRecords(f.context.cataloguePath);
        QCOMPARE(before.size(), 1);

        const QString second = f.makeAlbum(u"second"_s);
        for (int i = 0; i < 20; ++i) {
            QVERIFY(f.photo(second + u"/p%1.jpg"_s.arg(i)));
        }
        disk.fill();
        QVERIFY(!ResizeAndWriteImagesToDatabase(f.context, second, {}, false, false).ok());
        QVERIFY(f.logText().contains(u"Error in [modMain - ResizeAndWriteImagesToDatabase] "_s));
        QCOMPARE(LibraryFixture::readRecords(f.context.cataloguePath).size(), before.size());
    }

    void aCatalogueThatCannotBeOpenedIsLoggedAndLeftAlone()
    {
        LibraryFixture f;
        const QString album = f.makeAlbum(u"album"_s);
        QVERIFY(f.photo(album + u"/a.jpg"_s));
        QFile file(f.context.cataloguePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        QVERIFY(!ResizeAndWriteImagesToDatabase(f.context, album, {}, false, false).ok());
        QVERIFY(f.logText().contains(u"Error in [modMain - ResizeAndWriteImagesToDatabase] "_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(4096, 'x'));
    }
};

QTEST_GUILESS_MAIN(TestCatalogueBuilder)
#include "tst_cataloguebuilder.moc"
