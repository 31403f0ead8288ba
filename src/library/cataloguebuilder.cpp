#include "cataloguebuilder.h"

#include <cmath>

#include <QFileInfo>

#include "catalogue.h"
#include "imageman.h"
#include "listfiles.h"
#include "orderedpool.h"

namespace {

const QString kTag = QStringLiteral("modMain - ResizeAndWriteImagesToDatabase");

/// No box is larger than 146 pixels on a side (a picture of 49..146 pixels keeps its size; from
/// 147 pixels up the divisor is at least 2), so a reduced decode of at least this size in both
/// directions loses nothing.
constexpr int kDecodeHintPixels = 147;

/// JPEG quality of the stored thumbnails.
constexpr int kThumbnailQuality = 75;

/// What a worker made of one photo.
struct BuiltPhoto
{
    bool fileFound = false;
    QString name;
    QString date;
    QString time;
    QByteArray image;
    std::optional<Failure> pictureFailure;
    std::optional<Failure> encodeFailure;
};

BuiltPhoto buildPhoto(const QString &path)
{
    BuiltPhoto built;
    const QFileInfo info(path);
    built.name = info.fileName();
    ImageMan engine;
    const Result<void> loaded =
        engine.setPicture(path, QSize(kDecodeHintPixels, kDecodeHintPixels));
    if (!loaded) {
        built.pictureFailure = loaded.failure();
    } else {
        engine.setQuality(kThumbnailQuality);
        const ThumbnailBox box = thumbnailBox(engine.imageWidth(), engine.imageHeight());
        const Result<void> fitted = engine.fitInto(box.pixels());
        if (!fitted) {
            built.pictureFailure = fitted.failure();
        } else {
            Result<QByteArray> stored = encodeThumbnail(engine);
            if (stored) {
                built.image = std::move(stored.value());
            } else {
                built.encodeFailure = stored.failure();
            }
        }
    }
    // The date is read after decoding so that it is the date of the picture just stored.
    QFileInfo after(path);
    built.fileFound = after.exists() && after.isFile();
    if (built.fileFound) {
        const QDateTime modified = after.lastModified();
        built.date = catalogueDate(modified);
        built.time = catalogueTime(modified);
    }
    return built;
}

Result<void> writeRecord(Catalogue &catalogue,
                         const std::optional<qint64> &refreshRecord,
                         const CatalogueEntry &record)
{
    if (refreshRecord) {
        return catalogue.updateRecord(*refreshRecord, record);
    }
    const Result<qint64> added = catalogue.addRecord(record);
    return added ? Result<void>() : Result<void>(added.failure());
}

} // namespace

int roundHalfToEven(double x)
{
    return static_cast<int>(std::nearbyint(x));
}

QSize ThumbnailBox::pixels() const
{
    // Small tolerance: 1200 / 12 must stay 100, not become 99.
    const int w = static_cast<int>(std::floor(width + 1e-9));
    const int h = static_cast<int>(std::floor(height + 1e-9));
    return QSize(std::max(1, w), std::max(1, h));
}

ThumbnailBox thumbnailBox(int widthPixels, int heightPixels)
{
    ThumbnailBox box;
    if (widthPixels <= 0 || heightPixels <= 0) {
        return box;
    }
    if (widthPixels >= heightPixels) {
        box.width = ThumbnailBoxPixels;
        box.height = ThumbnailBoxPixels;
    }
    if (heightPixels >= widthPixels) {
        // A picture under 49 pixels high rounds to a divisor of 0; it keeps its own size.
        const int k = std::max(1, roundHalfToEven(heightPixels / double(ThumbnailBoxPixels)));
        box.divisor = k;
        box.width = widthPixels / double(k);
        box.height = roundHalfToEven(heightPixels / double(k));
    }
    return box;
}

namespace {

/// n with at least width digits, zero-padded. Written out because album sync formats the date
/// of every photo of an album each time the album opens.
void appendPadded(QString &out, int n, int width)
{
    const QString digits = QString::number(n);
    for (qsizetype i = digits.size(); i < width; ++i) {
        out.append(QLatin1Char('0'));
    }
    out.append(digits);
}

} // namespace

QString catalogueDate(const QDateTime &modified)
{
    const QDate date =
        modified.timeSpec() == Qt::LocalTime ? modified.date() : modified.toLocalTime().date();
    QString text;
    text.reserve(10);
    appendPadded(text, date.month(), 2);
    text.append(QLatin1Char('/'));
    appendPadded(text, date.day(), 2);
    text.append(QLatin1Char('/'));
    appendPadded(text, date.year(), 4);
    return text;
}

QString catalogueTime(const QDateTime &modified)
{
    const QTime time =
        modified.timeSpec() == Qt::LocalTime ? modified.time() : modified.toLocalTime().time();
    QString text;
    text.reserve(5);
    appendPadded(text, time.hour(), 2);
    text.append(QLatin1Char(':'));
    appendPadded(text, time.minute(), 2);
    return text;
}

QString normalisedCatalogueDate(const QString &stored)
{
    const QDate date = QDate::fromString(stored.trimmed(), QStringLiteral("M/d/yyyy"));
    return date.isValid() ? date.toString(QStringLiteral("MM/dd/yyyy")) : stored;
}

QString normalisedCatalogueTime(const QString &stored)
{
    const QTime time = QTime::fromString(stored.trimmed(), QStringLiteral("H:m"));
    return time.isValid() ? time.toString(QStringLiteral("HH:mm")) : stored;
}

namespace CatalogueBuilderText {

QString categorizingCaption(int i, int n)
{
    return QStringLiteral("Categorizing Photo ") + QString::number(i) + QStringLiteral(" of ")
        + QString::number(n);
}

QString initialCaption()
{
    return categorizingCaption(1, 1);
}

QString message(bool firstCatalogue)
{
    if (firstCatalogue) {
        return QStringLiteral("\nCreating Glimmerbook Database ready for use.\n\n"
                              "Please wait..............");
    }
    return QStringLiteral("\nCategorizing your Album. Please wait.................\n"
                          "(This will speed all future thumbnail load time by up to 500 times\n"
                          " and allow searching for photos in your albums.)");
}

} // namespace CatalogueBuilderText

Result<BuildSummary> writeCatalogueRecords(Catalogue &catalogue,
                                           const LibraryContext &context,
                                           const QString &albumPath,
                                           const QList<BuildEntry> &entries,
                                           BuilderProgress *progress,
                                           bool firstCatalogue)
{
    const int n = static_cast<int>(entries.size());
    if (progress) {
        progress->begin(n, firstCatalogue);
    }
    BuildSummary summary;
    std::optional<Failure> refused;
    CatalogueBatch batch(catalogue);
    if (!batch.started()) {
        context.log.error(kTag, batch.started().failure());
    }

    const std::function<BuiltPhoto(int)> work = [&entries](int i) {
        return buildPhoto(entries.at(i).filePath);
    };
    const std::function<bool(int, BuiltPhoto &)> deliver = [&](int i, BuiltPhoto &built) {
        if (progress) {
            progress->advance(i + 1, n);
        }
        const BuildEntry &entry = entries.at(i);
        if (built.pictureFailure) {
            context.log.error(kTag, *built.pictureFailure);
        }
        if (built.encodeFailure) {
            context.log.error(u"modmain - SetImage", *built.encodeFailure);
        }
        if (!built.fileFound) {
            // The photo left the folder while the run went on: a record would point at nothing.
            if (!built.pictureFailure) {
                context.log.error(kTag, Failures::fileNotFound());
            }
            ++summary.missing;
            return true;
        }
        const CatalogueEntry record{albumPath, built.name, built.date, built.time, built.image};
        const Result<void> written = writeRecord(catalogue, entry.refreshRecord, record);
        if (!written) {
            // The catalogue refuses writes (locked, read-only, full): every further photo would
            // wait for it and fail the same way, so the run stops here.
            context.log.error(kTag, written.failure());
            ++summary.failed;
            refused = written.failure();
            return false;
        }
        ++summary.written;
        if (built.image.isEmpty()) {
            ++summary.withoutPicture;
        }
        return true;
    };
    runInOrder<BuiltPhoto>(n, context.workers, work, deliver, context.processEvents);

    Result<BuildSummary> result = summary;
    if (refused) {
        result = *refused;
    }
    if (batch.started()) {
        const Result<void> committed = batch.commit();
        if (!committed) {
            context.log.error(kTag, committed.failure());
            result = committed.failure();
        }
    }
    if (progress) {
        progress->end();
    }
    return result;
}

Result<BuildSummary> ResizeAndWriteImagesToDatabase(const LibraryContext &context,
                                                    const QString &albumPath,
                                                    const QString &fileName,
                                                    bool refreshExisting,
                                                    bool firstCatalogue,
                                                    BuilderProgress *progress)
{
    Result<std::unique_ptr<Catalogue>> opened =
        openCatalogue(context.cataloguePath, context.catalogueBusyTimeoutMs);
    if (!opened) {
        context.log.error(kTag, opened.failure());
        return opened.failure();
    }
    Catalogue &catalogue = *opened.value();

    const QString single = fileName.trimmed();
    if (single.isEmpty()) {
        const QStringList paths =
            ListFiles(albumPath, false, context.PictureExtensions, context.log);
        QList<BuildEntry> entries;
        entries.reserve(paths.size());
        for (qsizetype i = 1; i < paths.size(); ++i) {
            entries.append({paths.at(i), std::nullopt});
        }
        return writeCatalogueRecords(catalogue,
                                     context,
                                     albumPath,
                                     entries,
                                     progress,
                                     firstCatalogue);
    }

    const QString path = albumPath.endsWith(QLatin1Char('/'))
        ? albumPath + fileName
        : albumPath + QLatin1Char('/') + fileName;
    BuildEntry entry{path, std::nullopt};
    if (refreshExisting) {
        const Result<QList<CatalogueRecord>> records = catalogue.syncRecords(albumPath);
        if (!records) {
            context.log.error(kTag, records.failure());
            return records.failure();
        }
        for (const CatalogueRecord &r : records.value()) {
            if (sameCatalogueName(r.imgName, fileName)) {
                entry.refreshRecord = r.imgID;
                break;
            }
        }
        if (!entry.refreshRecord) {
            context.log.error(kTag, Failures::noCurrentRecord());
            return Failures::noCurrentRecord();
        }
    }
    return writeCatalogueRecords(catalogue, context, albumPath, {entry}, nullptr, false);
}
