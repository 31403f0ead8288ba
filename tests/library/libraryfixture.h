#pragma once

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "cataloguebuilder.h"
#include "librarycontext.h"
#include "picturemaker.h"
#include "testhome.h"

/// A catalogue record as the tests read it straight from the file.
struct StoredRecord
{
    qint64 imgID = 0;
    QString imgName;
    QString imgPath;
    QByteArray Image;
    bool imageIsNull = true;
    QString imgDate;
    QString imgTime;
    int intPromo = 0;

    bool operator==(const StoredRecord &) const = default;
};

/// A program home with a catalogue, album folders and a context that does not pump events.
class LibraryFixture
{
public:
    explicit LibraryFixture(int workers = 2)
    {
        context = LibraryContext::fromStartup(home.values());
        context.workers = workers;
        context.processEvents = {};
    }

    QString makeAlbum(const QString &relative) const { return home.makeFolder(relative); }

    /// The time the tests' photos were last modified unless they say otherwise.
    static QDateTime defaultModified() { return QDateTime(QDate(2004, 2, 3), QTime(14, 5)); }

    /// Writes a photo and sets its last-modified time (defaultModified() when invalid).
    static bool photo(const QString &path,
                      const QSize &size = QSize(320, 240),
                      const QDateTime &modified = {},
                      int seed = 0)
    {
        if (!PictureMaker::writePhoto(path, size, seed)) {
            return false;
        }
        return setModified(path, modified.isValid() ? modified : defaultModified());
    }

    static bool setModified(const QString &path, const QDateTime &modified)
    {
        QFile f(path);
        return f.open(QIODevice::ReadWrite)
            && f.setFileTime(modified, QFileDevice::FileModificationTime);
    }

    /// Every record of the catalogue file, in imgID order (read through a connection of its own).
    QList<StoredRecord> records() const { return readRecords(home.values().cataloguePath()); }

    static QList<StoredRecord> readRecords(const QString &path)
    {
        QList<StoredRecord> out;
        const QString name = QStringLiteral("test-reader");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            if (db.open()) {
                QSqlQuery q(db);
                if (q.exec(QStringLiteral("SELECT imgID, imgName, imgPath, Image, imgDate, "
                                          "imgTime, intPromo FROM Images ORDER BY imgID"))) {
                    while (q.next()) {
                        StoredRecord r;
                        r.imgID = q.value(0).toLongLong();
                        r.imgName = q.value(1).toString();
                        r.imgPath = q.value(2).toString();
                        r.imageIsNull = q.value(3).isNull();
                        r.Image = q.value(3).toByteArray();
                        r.imgDate = q.value(4).toString();
                        r.imgTime = q.value(5).toString();
                        r.intPromo = q.value(6).toInt();
                        out.append(r);
                    }
                }
            }
        }
        QSqlDatabase::removeDatabase(name);
        return out;
    }

    /// Runs one statement on the catalogue file through a connection of its own.
    bool execute(const QString &statement, const QVariantList &values = {}) const
    {
        bool ok = false;
        const QString name = QStringLiteral("test-writer");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(home.values().cataloguePath());
            if (db.open()) {
                QSqlQuery q(db);
                q.prepare(statement);
                for (const QVariant &v : values) {
                    q.addBindValue(v);
                }
                ok = q.exec();
            }
        }
        QSqlDatabase::removeDatabase(name);
        return ok;
    }

    QString logText() const { return QString::fromLocal8Bit(home.logText()); }

    TestHome home;
    LibraryContext context;
};

/// Another program holding the catalogue's write lock (readers still read) while it lives.
class CatalogueWriteLock
{
public:
    explicit CatalogueWriteLock(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(path);
        m_locked = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~CatalogueWriteLock()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(kName, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(kName);
    }
    bool isLocked() const { return m_locked; }

private:
    static inline const QString kName = QStringLiteral("test-locker");
    bool m_locked = false;
};

/// Remembers what a whole-album run reported.
class RecordingProgress : public BuilderProgress
{
public:
    void begin(int count, bool firstCatalogue) override
    {
        events.append(QStringLiteral("begin %1 %2").arg(count).arg(firstCatalogue));
    }
    void advance(int i, int n) override
    {
        events.append(CatalogueBuilderText::categorizingCaption(i, n));
    }
    void end() override { events.append(QStringLiteral("end")); }

    QStringList events;
};
