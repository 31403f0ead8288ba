#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>

#include "errorlog.h"
#include "failure.h"

class ImageMan;

/// One record of the catalogue's Images table.
struct CatalogueRecord
{
    qint64 imgID = 0;
    QString imgName;
    QString imgPath;
    /// The stored thumbnail: the encoded picture followed by one zero byte. Empty when the
    /// photo could not be decoded when it was catalogued (the column is NULL then).
    QByteArray Image;
    QString imgDate;
    QString imgTime;
    int intPromo = 0;
};

/// What the builder writes into a record. An empty Image is stored as NULL.
struct CatalogueEntry
{
    QString imgPath;
    QString imgName;
    QString imgDate;
    QString imgTime;
    QByteArray Image;
};

/// How the catalogue compares album paths and file names: the way this system's file systems
/// do. On Linux "Trip" and "trip" are two folders, so they are two albums, and "A.jpg" and
/// "a.jpg" are two photos. This is the only place that decides it; the SQL queries use the
/// matching collation (see catalogueEqualityCollation()).
Qt::CaseSensitivity catalogueNameCaseSensitivity();
/// Whether two album paths or two file names are the same for the catalogue.
bool sameCatalogueName(const QString &a, const QString &b);
/// The SQL collation that compares the way catalogueNameCaseSensitivity() says.
QString catalogueEqualityCollation();
/// The order of an album's photos on its page, the same for folder and catalogue pages: letter
/// case ignored (Unicode case folding: "Éa.jpg" sorts with "éb.jpg"), then the exact text, so
/// names that differ only in case keep a fixed order.
bool albumNameLess(const QString &a, const QString &b);

/// The catalogue store. One object owns one connection of its own; it is used on the thread
/// that opened it. Every operation returns its failure instead of logging it: callers log under
/// their own tags. Text values are always passed as bound parameters, so apostrophes, "#", ";"
/// and any other character in paths and names are stored and matched as they are.
///
/// Album records come in albumNameLess() order (A.jpg, b.jpg, C.jpg), records of the same name
/// oldest first.
class Catalogue
{
public:
    virtual ~Catalogue() = default;

    /// The album query: imgID, imgName, imgPath, Image, imgDate, intPromo of one album's
    /// records in name order (imgTime is left empty). An album without records gives an empty
    /// list.
    virtual Result<QList<CatalogueRecord>> albumRecords(const QString &albumPath) = 0;
    /// The sync query: imgName, imgDate, imgPath, imgTime and imgID of one album's records in
    /// name order (no Image).
    virtual Result<QList<CatalogueRecord>> syncRecords(const QString &albumPath) = 0;
    /// The record with this id, or nothing.
    virtual Result<std::optional<CatalogueRecord>> findRecord(qint64 imgID) = 0;
    /// Adds a record and returns its imgID. intPromo keeps the column's default.
    virtual Result<qint64> addRecord(const CatalogueEntry &entry) = 0;
    /// Rewrites path, name, date, time and picture of an existing record. Failure 3021 when
    /// no record has this id.
    virtual Result<void> updateRecord(qint64 imgID, const CatalogueEntry &entry) = 0;
    /// Moves a record to another album (only imgPath changes). Failure 3021 when missing.
    virtual Result<void> setRecordPath(qint64 imgID, const QString &albumPath) = 0;
    /// Deletes a record. Failure 3021 when missing.
    virtual Result<void> deleteRecord(qint64 imgID) = 0;

    /// Groups the following writes into one transaction, until commitBatch() or
    /// rollbackBatch(). Batches do not nest (see CatalogueBatch).
    virtual Result<void> beginBatch() = 0;
    virtual bool isInBatch() const = 0;
    virtual Result<void> commitBatch() = 0;
    virtual void rollbackBatch() = 0;
};

/// A write batch that is rolled back unless committed. Inside a batch already open on the same
/// catalogue it joins that batch: commit() then leaves the committing to the outer batch.
class CatalogueBatch
{
public:
    explicit CatalogueBatch(Catalogue &catalogue);
    ~CatalogueBatch();
    CatalogueBatch(const CatalogueBatch &) = delete;
    CatalogueBatch &operator=(const CatalogueBatch &) = delete;

    /// The failure of beginning the batch, if any.
    const Result<void> &started() const { return m_started; }
    Result<void> commit();

private:
    Catalogue &m_catalogue;
    Result<void> m_started;
    bool m_owner = false;
    bool m_open = false;
};

/// Opens the catalogue file at path, creating the file, the Images table and its index on
/// (imgPath, imgName) when they are missing. A read-only file opens for reading (writes then
/// fail); a locked file is waited for up to busyTimeoutMs; a corrupt file or one that is not a
/// catalogue is a failure (3146, with the database's text). Never throws.
Result<std::unique_ptr<Catalogue>> openCatalogue(const QString &path, int busyTimeoutMs = 5000);

/// The album query of the page builder. Logs a failure as "modMain - GetDatabaseImages".
Result<QList<CatalogueRecord>>
GetDatabaseImages(Catalogue &catalogue, const QString &albumPath, const ErrorLog &log);

/// The value SetImage stores for the picture the engine holds: above 256 colours a JPEG (at the
/// engine's quality), above 2 a PNG, 2 or fewer a TIFF with compression 4 (CCITT G4); a format
/// the engine refuses as "Unsupported Export Format" falls back to PNG. One zero byte follows
/// the encoded picture. Does not log.
Result<QByteArray> encodeThumbnail(ImageMan &engine);
/// encodeThumbnail(), logging a failure as "modmain - SetImage".
Result<QByteArray> SetImage(ImageMan &engine, const ErrorLog &log);
/// Gives the engine exactly the stored bytes (trailing zero byte included) to decode. Logs a
/// failure as "modmain - GetImage".
Result<void> GetImage(ImageMan &engine, const QByteArray &stored, const ErrorLog &log);
