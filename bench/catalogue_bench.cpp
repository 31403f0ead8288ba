// catalogue FOLDER [--workers N]
//   The whole-album catalogue builder without windows, into the program home's catalogue
//   ($GLIMMERBOOK_HOME/glimmerbook.mdb, created when missing). The album's earlier records are
//   removed first, so every run measures the same work.
// open-album FOLDER [--workers N]
//   Opening a catalogued album without windows: album sync, then the page model built from the
//   catalogue with every stored thumbnail decoded into its cell. Afterwards, for comparison, a
//   plain read of the same stored thumbnails with one decode each on one thread.

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>

#include "albumsync.h"
#include "benchcommands.h"
#include "benchsupport.h"
#include "catalogue.h"
#include "cataloguebuilder.h"
#include "librarycontext.h"
#include "pagemodel.h"
#include "startupvalues.h"

namespace {

/// The context of the program home, with the worker count asked for.
LibraryContext benchContext(const QStringList &args, int defaultWorkers)
{
    const StartupValues values = StartupValues::fromEnvironment();
    (void)values.ensureApplicationFolder();
    LibraryContext context = LibraryContext::fromStartup(values);
    context.workers = qMax(
        1,
        Bench::option(args, QStringLiteral("--workers"), QString::number(defaultWorkers)).toInt());
    return context;
}

/// Removes the album's records so that a repeated run catalogues the same photos again.
int removeAlbumRecords(const LibraryContext &context, const QString &album)
{
    Result<std::unique_ptr<Catalogue>> opened = openCatalogue(context.cataloguePath);
    if (!opened) {
        return -1;
    }
    Catalogue &catalogue = *opened.value();
    const Result<QList<CatalogueRecord>> records = catalogue.syncRecords(album);
    if (!records) {
        return -1;
    }
    CatalogueBatch batch(catalogue);
    for (const CatalogueRecord &r : records.value()) {
        (void)catalogue.deleteRecord(r.imgID);
    }
    return batch.commit().ok() ? int(records.value().size()) : -1;
}

/// Reads the album's stored thumbnails and decodes each once, the least any album opening does.
double plainReadAndDecode(const LibraryContext &context, const QString &album, int *decoded)
{
    QElapsedTimer timer;
    timer.start();
    *decoded = 0;
    Result<std::unique_ptr<Catalogue>> opened = openCatalogue(context.cataloguePath);
    if (!opened) {
        return 0;
    }
    const Result<QList<CatalogueRecord>> records = opened.value()->albumRecords(album);
    if (!records) {
        return 0;
    }
    for (const CatalogueRecord &r : records.value()) {
        QImage image;
        if (image.loadFromData(r.Image)) {
            ++*decoded;
        }
    }
    return timer.nsecsElapsed() / 1e9;
}

QString folderArgument(const QStringList &args, const char *usage)
{
    const QStringList rest = Bench::positional(args, {QStringLiteral("--workers")});
    if (rest.size() != 1) {
        Bench::complain(QStringLiteral("usage: glimmerbook-bench ") + QLatin1String(usage));
        return {};
    }
    return rest.first();
}

} // namespace

int runCatalogue(const QStringList &args)
{
    const QString album = folderArgument(args, "catalogue FOLDER [--workers N]");
    if (album.isEmpty()) {
        return 2;
    }
    const LibraryContext context = benchContext(args, 1);
    const int removed = removeAlbumRecords(context, album);
    if (removed < 0) {
        Bench::complain(QStringLiteral("cannot use the catalogue ") + context.cataloguePath);
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    const Result<BuildSummary> built =
        ResizeAndWriteImagesToDatabase(context, album, QString(), false, false);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!built) {
        Bench::complain(QStringLiteral("catalogue failed: ") + built.failure().description);
        return 1;
    }
    const BuildSummary &s = built.value();
    const int photos = s.written + s.failed + s.missing;
    Bench::say(QStringLiteral("workers=%1 records=%2 without_picture=%3 failed=%4 replaced=%5 "
                              "catalogue=%6")
                   .arg(context.workers)
                   .arg(s.written)
                   .arg(s.withoutPicture)
                   .arg(s.failed)
                   .arg(removed)
                   .arg(context.cataloguePath));
    Bench::say(QStringLiteral("photos=%1 seconds=%2 per_s=%3 peak_rss_mb=%4")
                   .arg(photos)
                   .arg(seconds, 0, 'f', 3)
                   .arg(seconds > 0 ? photos / seconds : 0.0, 0, 'f', 2)
                   .arg(Bench::peakRssMb(), 0, 'f', 1));
    return s.failed == 0 ? 0 : 1;
}

int runOpenAlbum(const QStringList &args)
{
    const QString album = folderArgument(args, "open-album FOLDER [--workers N]");
    if (album.isEmpty()) {
        return 2;
    }
    const LibraryContext context = benchContext(args, defaultWorkerCount());

    PageModel page;
    QElapsedTimer timer;
    qint64 firstCellNs = -1;
    qint64 firstScreenNs = -1;
    // A maximised album window on a 1920 x 1080 screen shows four rows of eight cells.
    constexpr int kFirstScreenCells = 32;
    QObject::connect(&page, &PageModel::cellsInserted, &page, [&](int, int last) {
        if (firstCellNs < 0) {
            firstCellNs = timer.nsecsElapsed();
        }
        if (firstScreenNs < 0 && last + 1 >= kFirstScreenCells) {
            firstScreenNs = timer.nsecsElapsed();
        }
    });

    timer.start();
    const bool fromCatalogue = DatabaseSyncAndRead(context, album, [] {
        return false;
    });
    const qint64 syncNs = timer.nsecsElapsed();
    if (!fromCatalogue) {
        Bench::complain(QStringLiteral("the album has no usable records: run 'catalogue' first"));
        return 1;
    }
    const Result<int> built = ShowPictureThumbnailsFromDatabase(page, context, album);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double peak = Bench::peakRssMb();
    if (!built) {
        Bench::complain(QStringLiteral("page failed: ") + built.failure().description);
        return 1;
    }
    int pictures = 0;
    for (const PageCell &c : page.cells()) {
        pictures += c.picture.isNull() ? 0 : 1;
    }
    if (firstScreenNs < 0) {
        firstScreenNs = timer.nsecsElapsed();
    }

    int plainDecoded = 0;
    const double plain = plainReadAndDecode(context, album, &plainDecoded);
    Bench::say(QStringLiteral("workers=%1 cells=%2 pictures=%3 sync_s=%4 first_cell_s=%5 "
                              "first_screen_s=%6 plain_read_decode_s=%7 ratio_to_plain=%8")
                   .arg(context.workers)
                   .arg(page.count())
                   .arg(pictures)
                   .arg(syncNs / 1e9, 0, 'f', 3)
                   .arg(firstCellNs / 1e9, 0, 'f', 3)
                   .arg(firstScreenNs / 1e9, 0, 'f', 3)
                   .arg(plain, 0, 'f', 3)
                   .arg(plain > 0 ? seconds / plain : 0.0, 0, 'f', 2));
    Bench::say(QStringLiteral("photos=%1 seconds=%2 peak_rss_mb=%3")
                   .arg(page.count())
                   .arg(seconds, 0, 'f', 3)
                   .arg(peak, 0, 'f', 1));
    return 0;
}
