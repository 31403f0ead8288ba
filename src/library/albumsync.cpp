#include "albumsync.h"

#include <QFileInfo>
#include <QHash>

#include "catalogue.h"
#include "cataloguebuilder.h"
#include "listfiles.h"

namespace {

const QString kTag = QStringLiteral("modMain - DatabaseSyncAndRead");

/// The key names are matched under: exact, or folded when the file system ignores case.
QString nameKey(const QString &name)
{
    return catalogueNameCaseSensitivity() == Qt::CaseSensitive ? name : name.toCaseFolded();
}

} // namespace

QString categorizeQuestionText()
{
    return QStringLiteral("\nWould you like to Categorize this Album ?\n"
                          "Categorizing an Album speeds thumbnail load time by 500%\n"
                          "and you can search all your albums for specific photos.");
}

bool DatabaseSyncAndRead(const LibraryContext &context,
                         const QString &albumPath,
                         const std::function<bool()> &askCategorize,
                         BuilderProgress *progress)
{
    // An album on unmounted media or a folder that cannot be read lists no photos: its records
    // must not be taken for records of vanished photos and deleted.
    const QFileInfo folder(albumPath);
    if (!folder.isDir()) {
        context.log.error(kTag, Failures::pathNotFound());
        return false;
    }
    if (!folder.isReadable() || !folder.isExecutable()) {
        context.log.error(kTag, Failures::permissionDenied());
        return false;
    }
    Result<std::unique_ptr<Catalogue>> opened =
        openCatalogue(context.cataloguePath, context.catalogueBusyTimeoutMs);
    if (!opened) {
        context.log.error(kTag, opened.failure());
        return false;
    }
    Catalogue &catalogue = *opened.value();
    const Result<QList<CatalogueRecord>> read = catalogue.syncRecords(albumPath);
    if (!read) {
        context.log.error(kTag, read.failure());
        return false;
    }
    const QList<CatalogueRecord> &records = read.value();

    if (records.isEmpty()) {
        if (!askCategorize || !askCategorize()) {
            return false;
        }
        const QStringList paths =
            ListFiles(albumPath, false, context.PictureExtensions, context.log);
        QList<BuildEntry> entries;
        for (qsizetype i = 1; i < paths.size(); ++i) {
            entries.append({paths.at(i), std::nullopt});
        }
        const Result<BuildSummary> built =
            writeCatalogueRecords(catalogue, context, albumPath, entries, progress, false);
        // A catalogue that took none of the album's photos cannot show the album.
        return built.ok() && (entries.isEmpty() || built.value().written > 0);
    }

    // The oldest record of each name is the one a photo is matched to (records come in name
    // order, oldest first among equal names).
    QHash<QString, qsizetype> firstRecordOfName;
    for (qsizetype r = 0; r < records.size(); ++r) {
        const QString key = nameKey(records.at(r).imgName);
        if (!firstRecordOfName.contains(key)) {
            firstRecordOfName.insert(key, r);
        }
    }

    const QStringList paths = ListFiles(albumPath, false, context.PictureExtensions, context.log);
    QList<bool> found(records.size(), false);
    QList<BuildEntry> toBuild;
    for (qsizetype i = 1; i < paths.size(); ++i) {
        const QFileInfo file(paths.at(i));
        const auto hit = firstRecordOfName.constFind(nameKey(file.fileName()));
        if (hit == firstRecordOfName.constEnd() || found.at(*hit)) {
            // No record yet (or a second file matching a record already claimed on a file
            // system that ignores case): catalogue it.
            if (hit == firstRecordOfName.constEnd()) {
                toBuild.append({paths.at(i), std::nullopt});
            }
            continue;
        }
        const CatalogueRecord &record = records.at(*hit);
        found[*hit] = true;
        const QDateTime modified = file.lastModified();
        if (normalisedCatalogueDate(record.imgDate) != catalogueDate(modified)
            || normalisedCatalogueTime(record.imgTime) != catalogueTime(modified)) {
            toBuild.append({paths.at(i), record.imgID});
        }
    }

    CatalogueBatch batch(catalogue);
    if (!batch.started()) {
        context.log.error(kTag, batch.started().failure());
        return false;
    }
    if (!toBuild.isEmpty()) {
        const Result<BuildSummary> built =
            writeCatalogueRecords(catalogue, context, albumPath, toBuild, nullptr, false);
        if (!built) {
            // Logged by the builder; the batch is rolled back, so the album stays as it was.
            return false;
        }
    }
    // Records of vanished files and every record of a name beyond its oldest one.
    for (qsizetype r = 0; r < records.size(); ++r) {
        if (found.at(r)) {
            continue;
        }
        context.pump();
        const Result<void> deleted = catalogue.deleteRecord(records.at(r).imgID);
        if (!deleted) {
            context.log.error(kTag, deleted.failure());
            return false;
        }
    }
    const Result<void> committed = batch.commit();
    if (!committed) {
        context.log.error(kTag, committed.failure());
        return false;
    }
    return true;
}
