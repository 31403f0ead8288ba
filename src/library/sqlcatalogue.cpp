#include <algorithm>
#include <atomic>
#include <functional>

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "catalogue.h"

namespace {

Failure sqlFailure(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty()) {
        text = error.text();
    }
    if (text.isEmpty()) {
        text = QStringLiteral("Catalogue database error");
    }
    return {FailureNumber::CatalogueError, text.trimmed()};
}

QString uniqueConnectionName()
{
    static std::atomic<quint64> counter{0};
    return QStringLiteral("glimmerbook-catalogue-") + QString::number(++counter);
}

/// A picture column value: NULL for no picture.
QVariant imageValue(const QByteArray &bytes)
{
    return bytes.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(bytes);
}

/// The catalogue on a Qt SQL connection. Only the SQLite dialect is written out here; the
/// statements are plain SQL with bound values, so another driver needs its own table creation
/// only.
class SqlCatalogue final : public Catalogue
{
public:
    /// Takes over the connection registered under name; the destructor removes it.
    explicit SqlCatalogue(const QString &connectionName)
        : m_db(QSqlDatabase::database(connectionName, false))
    {}

    ~SqlCatalogue() override
    {
        const QString name = m_db.connectionName();
        m_insert.reset();
        m_update.reset();
        if (m_inBatch) {
            m_db.rollback();
        }
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }

    Result<void> open()
    {
        if (!m_db.open()) {
            return sqlFailure(m_db.lastError());
        }
        return prepareTable();
    }

    Result<void> prepareTable()
    {
        QSqlQuery q(m_db);
        if (!q.exec(QStringLiteral("SELECT type, name FROM sqlite_master WHERE name IN "
                                   "('Images', 'idxImagesPathName')"))) {
            return sqlFailure(q.lastError());
        }
        bool haveTable = false;
        bool haveIndex = false;
        while (q.next()) {
            haveTable = haveTable || q.value(1).toString() == QLatin1String("Images");
            haveIndex = haveIndex || q.value(1).toString() == QLatin1String("idxImagesPathName");
        }
        q.finish();
        if (!haveTable) {
            if (!q.exec(QStringLiteral(
                    "CREATE TABLE IF NOT EXISTS Images ("
                    "imgID INTEGER PRIMARY KEY AUTOINCREMENT, imgName TEXT, imgPath TEXT, "
                    "Image BLOB, imgDate TEXT, imgTime TEXT, intPromo INTEGER DEFAULT 0)"))) {
                return sqlFailure(q.lastError());
            }
        }
        if (!haveIndex) {
            if (!q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS idxImagesPathName ON Images "
                                       "(imgPath, imgName)"))) {
                // A read-only catalogue that lacks only the index still answers every query.
                if (!haveTable) {
                    return sqlFailure(q.lastError());
                }
            }
        }
        return {};
    }

    Result<QList<CatalogueRecord>> albumRecords(const QString &albumPath) override
    {
        return albumQuery(QStringLiteral("imgID, imgName, imgPath, Image, imgDate, intPromo"),
                          albumPath,
                          [](const QSqlQuery &q, CatalogueRecord &r) {
                              r.imgID = q.value(0).toLongLong();
                              r.imgName = q.value(1).toString();
                              r.imgPath = q.value(2).toString();
                              r.Image = q.value(3).toByteArray();
                              r.imgDate = q.value(4).toString();
                              r.intPromo = q.value(5).toInt();
                          });
    }

    Result<QList<CatalogueRecord>> syncRecords(const QString &albumPath) override
    {
        return albumQuery(QStringLiteral("imgName, imgDate, imgPath, imgTime, imgID"),
                          albumPath,
                          [](const QSqlQuery &q, CatalogueRecord &r) {
                              r.imgName = q.value(0).toString();
                              r.imgDate = q.value(1).toString();
                              r.imgPath = q.value(2).toString();
                              r.imgTime = q.value(3).toString();
                              r.imgID = q.value(4).toLongLong();
                          });
    }

    Result<std::optional<CatalogueRecord>> findRecord(qint64 imgID) override
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT imgID, imgName, imgPath, Image, imgDate, imgTime, "
                                 "intPromo FROM Images WHERE imgID = ?"));
        q.addBindValue(imgID);
        if (!q.exec()) {
            return sqlFailure(q.lastError());
        }
        if (!q.next()) {
            if (q.lastError().isValid()) {
                return sqlFailure(q.lastError());
            }
            return std::optional<CatalogueRecord>();
        }
        CatalogueRecord r;
        r.imgID = q.value(0).toLongLong();
        r.imgName = q.value(1).toString();
        r.imgPath = q.value(2).toString();
        r.Image = q.value(3).toByteArray();
        r.imgDate = q.value(4).toString();
        r.imgTime = q.value(5).toString();
        r.intPromo = q.value(6).toInt();
        return std::optional<CatalogueRecord>(std::move(r));
    }

    Result<qint64> addRecord(const CatalogueEntry &entry) override
    {
        const Result<QSqlQuery *> prepared =
            preparedOnce(m_insert,
                         QStringLiteral("INSERT INTO Images (imgPath, imgName, imgDate, imgTime, "
                                        "Image) VALUES (?, ?, ?, ?, ?)"));
        if (!prepared) {
            return prepared.failure();
        }
        QSqlQuery &q = *prepared.value();
        bindEntry(q, entry);
        if (!q.exec()) {
            return sqlFailure(q.lastError());
        }
        const qint64 id = q.lastInsertId().toLongLong();
        q.finish();
        return id;
    }

    Result<void> updateRecord(qint64 imgID, const CatalogueEntry &entry) override
    {
        const Result<QSqlQuery *> prepared =
            preparedOnce(m_update,
                         QStringLiteral("UPDATE Images SET imgPath = ?, imgName = ?, imgDate = ?, "
                                        "imgTime = ?, Image = ? WHERE imgID = ?"));
        if (!prepared) {
            return prepared.failure();
        }
        QSqlQuery &q = *prepared.value();
        bindEntry(q, entry);
        q.bindValue(5, imgID);
        return execChangingOne(q);
    }

    Result<void> setRecordPath(qint64 imgID, const QString &albumPath) override
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("UPDATE Images SET imgPath = ? WHERE imgID = ?"));
        q.addBindValue(albumPath);
        q.addBindValue(imgID);
        return execChangingOne(q);
    }

    Result<void> deleteRecord(qint64 imgID) override
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("DELETE FROM Images WHERE imgID = ?"));
        q.addBindValue(imgID);
        return execChangingOne(q);
    }

    Result<void> beginBatch() override
    {
        if (m_inBatch) {
            return Failures::invalidProcedureCall();
        }
        if (!m_db.transaction()) {
            return sqlFailure(m_db.lastError());
        }
        m_inBatch = true;
        return {};
    }

    bool isInBatch() const override { return m_inBatch; }

    Result<void> commitBatch() override
    {
        if (!m_inBatch) {
            return Failures::invalidProcedureCall();
        }
        if (m_insert) {
            m_insert->finish();
        }
        if (m_update) {
            m_update->finish();
        }
        if (!m_db.commit()) {
            const Failure failure = sqlFailure(m_db.lastError());
            m_db.rollback();
            m_inBatch = false;
            return failure;
        }
        m_inBatch = false;
        return {};
    }

    void rollbackBatch() override
    {
        if (m_inBatch) {
            m_db.rollback();
            m_inBatch = false;
        }
    }

private:
    /// The statement kept in slot, prepared on first use (a builder run adds many records).
    Result<QSqlQuery *> preparedOnce(std::optional<QSqlQuery> &slot, const QString &statement)
    {
        if (!slot) {
            slot.emplace(m_db);
            if (!slot->prepare(statement)) {
                const Failure failure = sqlFailure(slot->lastError());
                slot.reset();
                return failure;
            }
        }
        return &*slot;
    }

    /// Binds the five columns a builder writes, in the order of the insert and update texts.
    static void bindEntry(QSqlQuery &q, const CatalogueEntry &entry)
    {
        q.bindValue(0, entry.imgPath);
        q.bindValue(1, entry.imgName);
        q.bindValue(2, entry.imgDate);
        q.bindValue(3, entry.imgTime);
        q.bindValue(4, imageValue(entry.Image));
    }

    /// One album's records with the given columns, in name order; readRow fills a record from
    /// the current row.
    Result<QList<CatalogueRecord>>
    albumQuery(const QString &columns,
               const QString &albumPath,
               const std::function<void(const QSqlQuery &, CatalogueRecord &)> &readRow)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT %1 FROM Images WHERE imgPath = ? COLLATE %2 ")
                      .arg(columns, catalogueEqualityCollation())
                  + nameOrder());
        q.addBindValue(albumPath);
        if (!q.exec()) {
            return sqlFailure(q.lastError());
        }
        QList<CatalogueRecord> records;
        while (q.next()) {
            CatalogueRecord r;
            readRow(q, r);
            records.append(std::move(r));
        }
        if (q.lastError().isValid()) {
            return sqlFailure(q.lastError());
        }
        sortByName(records);
        return records;
    }

    /// The database sorts by name and age; the final order is albumNameLess(), whose case
    /// folding goes beyond the database's ASCII-only NOCASE. The sort is stable, so records of
    /// the same name stay oldest first.
    static QString nameOrder()
    {
        return QStringLiteral("ORDER BY imgName COLLATE NOCASE ASC, imgName ASC, imgID ASC");
    }

    static void sortByName(QList<CatalogueRecord> &records)
    {
        std::stable_sort(records.begin(),
                         records.end(),
                         [](const CatalogueRecord &a, const CatalogueRecord &b) {
                             return albumNameLess(a.imgName, b.imgName);
                         });
    }

    static Result<void> execChangingOne(QSqlQuery &q)
    {
        if (!q.exec()) {
            return sqlFailure(q.lastError());
        }
        const int changed = q.numRowsAffected();
        q.finish();
        if (changed <= 0) {
            return Failures::noCurrentRecord();
        }
        return {};
    }

    QSqlDatabase m_db;
    std::optional<QSqlQuery> m_insert;
    std::optional<QSqlQuery> m_update;
    bool m_inBatch = false;
};

} // namespace

Result<std::unique_ptr<Catalogue>> openCatalogue(const QString &path, int busyTimeoutMs)
{
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        return Failures::pathFileAccessError();
    }
    const QString name = uniqueConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=")
                             + QString::number(busyTimeoutMs));
    }
    auto catalogue = std::make_unique<SqlCatalogue>(name);
    const Result<void> opened = catalogue->open();
    if (!opened) {
        return opened.failure();
    }
    return std::unique_ptr<Catalogue>(std::move(catalogue));
}
