#include "pagemodel.h"

#include <algorithm>

#include <QFileInfo>
#include <QPointer>

#include "catalogue.h"
#include "cataloguebuilder.h"
#include "imageman.h"
#include "listfiles.h"
#include "orderedpool.h"
#include "pagelayout.h"
#include "picturefit.h"

namespace {

const QString kFolderTag = QStringLiteral("modMain - ShowPictureThumbnails");
const QString kCatalogueTag = QStringLiteral("modMain - ShowPictureThumbnailsFromDatabase");

/// What a worker made of one photo's picture.
struct DecodedPicture
{
    QImage picture;
    QString sizeTag;
    QString dateText;
    bool invalid = false;
    std::optional<Failure> failure;
};

/// Fits the engine's picture into the cell as the window shows it and keeps what it shows.
void showInCell(ImageMan &engine, const ErrorLog &log, DecodedPicture &out)
{
    if (!LoadFaxImage(engine, log)) {
        return;
    }
    out.sizeTag = engine.tag;
    if (!CenterGraphic(engine, false, log)) {
        return;
    }
    // Three bytes a pixel: 5,000 cells of 86 x 56 stay near 72 MB.
    out.picture = engine.renderView(cellColour()).convertToFormat(QImage::Format_RGB888);
}

ImageMan cellEngine()
{
    ImageMan engine;
    engine.setViewSize(QSizeF(PageLayout::pictureAreaPixels()));
    return engine;
}

DecodedPicture decodeFile(const QString &path, const ErrorLog &log)
{
    DecodedPicture out;
    const QFileInfo info(path);
    if (info.exists()) {
        out.dateText = catalogueDate(info.lastModified());
    }
    ImageMan engine = cellEngine();
    const Result<void> loaded = engine.setPicture(path, PageLayout::pictureAreaPixels());
    if (!loaded) {
        if (loaded.failure().number == FailureNumber::UndecodablePicture) {
            out.invalid = true;
        } else {
            out.failure = loaded.failure();
        }
        return out;
    }
    showInCell(engine, log, out);
    return out;
}

DecodedPicture decodeStored(const QByteArray &stored, const ErrorLog &log)
{
    DecodedPicture out;
    if (stored.isEmpty()) {
        // Catalogued without a picture: the photo could not be decoded then.
        out.invalid = true;
        return out;
    }
    ImageMan engine = cellEngine();
    // GetImage's work; its failure is logged by the page's own thread, in cell order.
    const Result<void> loaded = engine.loadFromMemory(stored);
    if (!loaded) {
        out.failure = loaded.failure();
        return out;
    }
    showInCell(engine, log, out);
    return out;
}

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void fillNameAndTip(PageCell &cell, const QString &fileName, const DecodedPicture &decoded)
{
    cell.fileName = fileName;
    cell.caption = nameCaption(fileName);
    cell.captionCentred = isCaptionCentred(cell.caption);
    cell.sizeTag = decoded.sizeTag;
    cell.toolTip = cellToolTip(cell.caption, cell.sizeTag);
    cell.invalid = decoded.invalid;
    cell.picture = decoded.picture;
}

} // namespace

/// The builders' access to a page: each build carries the generation it started, so a build
/// that was cancelled, cleared or replaced by a newer one stops at its next cell.
class PageFiller
{
public:
    static quint64 begin(PageModel &page, PageModel::Kind kind, const QString &album)
    {
        if (page.m_building) {
            Q_EMIT page.buildFinished(false);
        }
        page.m_cells.clear();
        Q_EMIT page.cleared();
        page.m_kind = kind;
        page.m_albumPath = album;
        page.m_building = true;
        return ++page.m_generation;
    }

    static bool isCurrent(const QPointer<PageModel> &page, quint64 generation)
    {
        return page && page->m_generation == generation;
    }

    static void append(PageModel &page, PageCell cell)
    {
        cell.index = page.count();
        page.m_cells.append(std::move(cell));
        Q_EMIT page.cellsInserted(page.count() - 1, page.count() - 1);
    }

    static void finish(const QPointer<PageModel> &page, quint64 generation, bool completed)
    {
        if (!isCurrent(page, generation)) {
            return;
        }
        page->m_building = false;
        Q_EMIT page->buildFinished(completed);
    }

    /// Runs the ordered decode and delivery; returns the cell count or failure 5 when stopped.
    static Result<int> run(PageModel &target,
                           quint64 generation,
                           int count,
                           const LibraryContext &context,
                           const std::function<DecodedPicture(int)> &work,
                           const std::function<PageCell(int, DecodedPicture &)> &makeCell)
    {
        QPointer<PageModel> page(&target);
        Q_EMIT target.buildStarted(count);
        const std::function<bool(int, DecodedPicture &)> deliver = [&](int i,
                                                                       DecodedPicture &decoded) {
            if (!isCurrent(page, generation)) {
                return false;
            }
            Q_EMIT page->progressed(i, count, loadingCounterText(i, count));
            if (!isCurrent(page, generation)) {
                return false;
            }
            append(*page, makeCell(i, decoded));
            return true;
        };
        const bool completed = runInOrder<DecodedPicture>(count,
                                                          context.workers,
                                                          work,
                                                          deliver,
                                                          context.processEvents);
        finish(page, generation, completed);
        if (!completed) {
            return Failures::invalidProcedureCall();
        }
        return count;
    }
};

QString nameCaption(const QString &fileName)
{
    QString caption = fileName;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

bool isCaptionCentred(const QString &caption)
{
    // Characters, not UTF-16 units: a name with an emoji counts it once.
    const qsizetype characters = std::count_if(caption.cbegin(), caption.cend(), [](QChar c) {
        return !c.isLowSurrogate();
    });
    return characters <= 14;
}

QString cellToolTip(const QString &caption, const QString &sizeTag)
{
    return QStringLiteral("Name:= ") + caption + QStringLiteral(" | Size:= ") + sizeTag;
}

QString loadingCounterText(int i, int count)
{
    return QStringLiteral("Loading file: ") + QString::number(i + 1) + QStringLiteral(" of ")
        + QString::number(count) + QStringLiteral(" total files");
}

QColor cellColour()
{
    return QColor(0xC0, 0xC0, 0xFF);
}

PageModel::PageModel(QObject *parent)
    : QObject(parent)
{}

PageModel::~PageModel() = default;

QStringList PageModel::lstPictureFiles() const
{
    QStringList paths;
    paths.reserve(m_cells.size());
    for (const PageCell &c : m_cells) {
        paths.append(c.path());
    }
    std::stable_sort(paths.begin(), paths.end(), albumNameLess);
    return paths;
}

int PageModel::canvasHeight(int windowWidth) const
{
    return PageLayout::canvasHeight(count(), windowWidth);
}

void PageModel::updateCell(int index, const PageCell &cell)
{
    if (index < 0 || index >= count()) {
        return;
    }
    m_cells[index] = cell;
    m_cells[index].index = index;
    Q_EMIT cellChanged(index);
}

int PageModel::appendCell(PageCell cell)
{
    PageFiller::append(*this, std::move(cell));
    return count() - 1;
}

void PageModel::clear()
{
    ++m_generation;
    const bool wasBuilding = m_building;
    m_building = false;
    m_cells.clear();
    m_kind = Kind::Empty;
    if (wasBuilding) {
        Q_EMIT buildFinished(false);
    }
    Q_EMIT cleared();
}

void PageModel::cancel()
{
    if (!m_building) {
        return;
    }
    ++m_generation;
    m_building = false;
    Q_EMIT buildFinished(false);
}

Result<int> ShowPictureThumbnails(PageModel &page,
                                  const LibraryContext &context,
                                  const QString &albumPath,
                                  bool includeSubfolders)
{
    QStringList paths =
        ListFiles(albumPath, includeSubfolders, context.PictureExtensions, context.log);
    if (!paths.isEmpty()) {
        paths.removeFirst();
    }
    std::stable_sort(paths.begin(), paths.end(), albumNameLess);

    const quint64 generation = PageFiller::begin(page, PageModel::Kind::Folder, albumPath);
    const ErrorLog log = context.log;
    const std::function<DecodedPicture(int)> work = [&paths, log](int i) {
        return decodeFile(paths.at(i), log);
    };
    const std::function<PageCell(int, DecodedPicture &)> makeCell = [&](int i,
                                                                        DecodedPicture &decoded) {
        if (decoded.failure) {
            context.log.error(kFolderTag, *decoded.failure);
        }
        PageCell cell;
        cell.imXPicture = paths.at(i);
        cell.dateText = decoded.dateText;
        fillNameAndTip(cell, fileNameOf(paths.at(i)), decoded);
        return cell;
    };
    return PageFiller::run(page,
                           generation,
                           static_cast<int>(paths.size()),
                           context,
                           work,
                           makeCell);
}

Result<int> ShowPictureThumbnailsFromDatabase(PageModel &page,
                                              const LibraryContext &context,
                                              const QString &albumPath)
{
    const quint64 generation = PageFiller::begin(page, PageModel::Kind::Catalogue, albumPath);
    QList<CatalogueRecord> records;
    {
        Result<std::unique_ptr<Catalogue>> opened =
            openCatalogue(context.cataloguePath, context.catalogueBusyTimeoutMs);
        if (!opened) {
            context.log.error(kCatalogueTag, opened.failure());
            PageFiller::finish(QPointer<PageModel>(&page), generation, false);
            return opened.failure();
        }
        Result<QList<CatalogueRecord>> read =
            GetDatabaseImages(*opened.value(), albumPath, context.log);
        if (!read) {
            context.log.error(kCatalogueTag, read.failure());
            PageFiller::finish(QPointer<PageModel>(&page), generation, false);
            return read.failure();
        }
        records = std::move(read.value());
        // The connection closes here: the page needs nothing more from the catalogue.
    }

    const ErrorLog log = context.log;
    const std::function<DecodedPicture(int)> work = [&records, log](int i) {
        return decodeStored(records.at(i).Image, log);
    };
    const std::function<PageCell(int, DecodedPicture &)> makeCell = [&](int i,
                                                                        DecodedPicture &decoded) {
        if (decoded.failure) {
            context.log.error(u"modmain - GetImage", *decoded.failure);
        }
        const CatalogueRecord &record = records.at(i);
        PageCell cell;
        cell.Shape1Tag = joinPath(record.imgPath, record.imgName);
        cell.imgID = record.imgID;
        cell.dateText =
            record.imgDate.isEmpty() ? QString() : normalisedCatalogueDate(record.imgDate);
        fillNameAndTip(cell, record.imgName, decoded);
        return cell;
    };
    return PageFiller::run(page,
                           generation,
                           static_cast<int>(records.size()),
                           context,
                           work,
                           makeCell);
}
