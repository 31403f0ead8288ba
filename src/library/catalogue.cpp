#include "catalogue.h"

#include "imageman.h"

Qt::CaseSensitivity catalogueNameCaseSensitivity()
{
    // Follow the file systems this program is built for: Linux compares names exactly, so two
    // folders or files that differ only in letter case are different albums and photos.
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool sameCatalogueName(const QString &a, const QString &b)
{
    return a.compare(b, catalogueNameCaseSensitivity()) == 0;
}

QString catalogueEqualityCollation()
{
    return catalogueNameCaseSensitivity() == Qt::CaseSensitive ? QStringLiteral("BINARY")
                                                               : QStringLiteral("NOCASE");
}

bool albumNameLess(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

CatalogueBatch::CatalogueBatch(Catalogue &catalogue)
    : m_catalogue(catalogue)
    , m_owner(!catalogue.isInBatch())
{
    if (m_owner) {
        m_started = catalogue.beginBatch();
        m_open = m_started.ok();
    }
}

CatalogueBatch::~CatalogueBatch()
{
    if (m_open) {
        m_catalogue.rollbackBatch();
    }
}

Result<void> CatalogueBatch::commit()
{
    if (!m_owner) {
        return {};
    }
    if (!m_open) {
        return m_started.ok() ? Result<void>(Failures::invalidProcedureCall()) : m_started;
    }
    m_open = false;
    return m_catalogue.commitBatch();
}

Result<QList<CatalogueRecord>>
GetDatabaseImages(Catalogue &catalogue, const QString &albumPath, const ErrorLog &log)
{
    Result<QList<CatalogueRecord>> records = catalogue.albumRecords(albumPath);
    if (!records) {
        log.error(u"modMain - GetDatabaseImages", records.failure());
    }
    return records;
}

Result<QByteArray> encodeThumbnail(ImageMan &engine)
{
    const qint64 colours = engine.colorCount();
    if (colours > 256) {
        engine.setExportFormat(QStringLiteral("JPG"));
    } else if (colours > 2) {
        engine.setExportFormat(QStringLiteral("PNG"));
    } else {
        engine.setExportFormat(QStringLiteral("TIF"));
        engine.setCompression(4);
    }
    Result<QByteArray> encoded = engine.exportToMemory();
    if (!encoded && encoded.failure().number == FailureNumber::UnsupportedExportFormat) {
        engine.setExportFormat(QStringLiteral("PNG"));
        encoded = engine.exportToMemory();
    }
    if (!encoded) {
        return encoded.failure();
    }
    QByteArray stored = std::move(encoded.value());
    stored.append('\0');
    return stored;
}

Result<QByteArray> SetImage(ImageMan &engine, const ErrorLog &log)
{
    Result<QByteArray> stored = encodeThumbnail(engine);
    if (!stored) {
        log.error(u"modmain - SetImage", stored.failure());
    }
    return stored;
}

Result<void> GetImage(ImageMan &engine, const QByteArray &stored, const ErrorLog &log)
{
    const Result<void> loaded = engine.loadFromMemory(stored);
    if (!loaded) {
        log.error(u"modmain - GetImage", loaded.failure());
    }
    return loaded;
}
