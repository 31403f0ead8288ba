#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include "catalogue.h"
#include "imageman.h"
#include "libraryfixture.h"
#include "picturemaker.h"

using namespace Qt::StringLiterals;

namespace {

CatalogueEntry entry(const QString &path, const QString &name, const QByteArray &image = {})
{
    return {path, name, u"02/03/2004"_s, u"14:05"_s, image};
}

QStringList names(const QList<CatalogueRecord> &records)
{
    QStringList out;
    for (const CatalogueRecord &r : records) {
        out.append(r.imgName);
    }
    return out;
}

/// The value of TIFF tag 259 (compression) of the first directory, or -1.
int tiffCompression(const QByteArray &tiff)
{
    if (tiff.size() < 8) {
        return -1;
    }
    const bool little = tiff.startsWith("II");
    auto u16 = [&](qsizetype at) -> quint32 {
        const auto b0 = quint8(tiff.at(at));
        const auto b1 = quint8(tiff.at(at + 1));
        return little ? (b0 | b1 << 8) : (b1 | b0 << 8);
    };
    auto u32 = [&](qsizetype at) -> quint32 {
        return little ? (u16(at) | u16(at + 2) << 16) : (u16(at) << 16 | u16(at + 2));
    };
    const quint32 ifd = u32(4);
    if (ifd + 2 > quint32(tiff.size())) {
        return -1;
    }
    const quint32 entries = u16(ifd);
    for (quint32 i = 0; i < entries; ++i) {
        const qsizetype at = ifd + 2 + i * 12;
        if (at + 12 > tiff.size()) {
            return -1;
        }
        if (u16(at) == 259) {
            return int(u16(at + 8));
        }
    }
    return -1;
}

/// Makes a file read-only even for root (immutable), and undoes it on destruction.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString &path)
        : m_path(path)
    {
        QFile::setPermissions(path,
                              QFileDevice::ReadOwner | QFileDevice::ReadGroup
                                  | QFileDevice::ReadOther);
        if (geteuid() == 0) {
            m_immutable = QProcess::execute(u"chattr"_s, {u"+i"_s, path}) == 0;
            m_ok = m_immutable;
        } else {
            m_ok = true;
        }
    }
    ~ReadOnlyFile()
    {
        if (m_immutable) {
            QProcess::execute(u"chattr"_s, {u"-i"_s, m_path});
        }
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_immutable = false;
    bool m_ok = false;
};

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createsTheFileTheTableAndTheIndex()
    {
        LibraryFixture f;
        const QString path = f.home.values().cataloguePath();
        QVERIFY(!QFile::exists(path));
        {
            auto opened = openCatalogue(path);
            QVERIFY(opened.ok());
            QVERIFY(opened.value()->addRecord(entry(u"/a"_s, u"x.jpg"_s)).ok());
        }
        QVERIFY(QFile::exists(path));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"inspect"_s);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(u"PRAGMA table_info(Images)"_s));
            QStringList columns;
            while (q.next()) {
                columns.append(q.value(1).toString() + u' ' + q.value(2).toString());
            }
            QCOMPARE(columns,
                     QStringList({u"imgID INTEGER"_s,
                                  u"imgName TEXT"_s,
                                  u"imgPath TEXT"_s,
                                  u"Image BLOB"_s,
                                  u"imgDate TEXT"_s,
                                  u"imgTime TEXT"_s,
                                  u"intPromo INTEGER"_s}));
            QVERIFY(q.exec(u"PRAGMA index_info(idxImagesPathName)"_s));
            QStringList indexed;
            while (q.next()) {
                indexed.append(q.value(2).toString());
            }
            QCOMPARE(indexed, QStringList({u"imgPath"_s, u"imgName"_s}));
        }
        QSqlDatabase::removeDatabase(u"inspect"_s);
        const QList<StoredRecord> stored = f.records();
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().intPromo, 0);
        QVERIFY(stored.first().imageIsNull);

        // Opening again keeps what is there.
        auto again = openCatalogue(path);
        QVERIFY(again.ok());
        QCOMPARE(again.value()->albumRecords(u"/a"_s).value().size(), 1);
    }

    void pathsAndNamesAreStoredAndMatchedAsTheyAre_data()
    {
        QTest::addColumn<QString>("album");
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << u"/photos/Tom's trip"_s << u"Tom's.jpg"_s;
        QTest::newRow("hash") << u"/photos/#1 album"_s << u"a#b#c.jpg"_s;
        QTest::newRow("semicolon") << u"/photos/a;b"_s << u"x;y.jpg"_s;
        QTest::newRow("ampersand") << u"/photos/Tom & Jerry"_s << u"Tom & Jerry.jpg"_s;
        QTest::newRow("non-ASCII") << u"/fotos/Ærø Ünïcødé 東京"_s << u"été ß 写真.jpg"_s;
        QTest::newRow("sql-looking") << u"/x' OR '1'='1"_s << u"'); DROP TABLE Images; --.jpg"_s;
        QTest::newRow("percent and underscore") << u"/p/100%_a"_s << u"50%_off.jpg"_s;
    }
    void pathsAndNamesAreStoredAndMatchedAsTheyAre()
    {
        QFETCH(QString, album);
        QFETCH(QString, name);
        LibraryFixture f;
        auto opened = openCatalogue(f.context.cataloguePath);
        QVERIFY(opened.ok());
        Catalogue &c = *opened.value();
        QVERIFY(c.addRecord(entry(album, name)).ok());
        QVERIFY(c.addRecord(entry(u"/photos/other"_s, name)).ok());

        const auto records = c.albumRecords(album);
        QVERIFY(records.ok());
        QCOMPARE(records.value().size(), 1);
        QCOMPARE(records.value().first().imgName, name);
        QCOMPARE(records.value().first().imgPath, album);
        const auto forSync = c.syncRecords(album);
        QVERIFY(forSync.ok());
        QCOMPARE(forSync.value().size(), 1);
        QCOMPARE(forSync.value().first().imgName, name);
        QCOMPARE(forSync.value().first().imgTime, u"14:05"_s);
        QCOMPARE(f.records().size(), 2);
    }

    void albumsThatDifferOnlyInCaseStayApart()
    {
        LibraryFixture f;
        auto opened = openCatalogue(f.context.cataloguePath);
        QVERIFY(opened.ok());
        Catalogue &c = *opened.value();
        QVERIFY(c.addRecord(entry(u"/p/Trip"_s, u"a.jpg"_s)).ok());
        QVERIFY(c.addRecord(entry(u"/p/trip"_s, u"b.jpg"_s)).ok());
        QVERIFY(c.addRecord(entry(u"/p/trip"_s, u"c.jpg"_s)).ok());
        QCOMPARE(names(c.albumRecords(u"/p/Trip"_s).value()), QStringList({u"a.jpg"_s}));
        QCOMPARE(names(c.albumRecords(u"/p/trip"_s).value()),
                 QStringList({u"b.jpg"_s, u"c.jpg"_s}));
        QCOMPARE(c.syncRecords(u"/p/TRIP"_s).value().size(), 0);
        QVERIFY(sameCatalogueName(u"a.jpg"_s, u"a.jpg"_s));
        QVERIFY(!sameCatalogueName(u"A.jpg"_s, u"a.jpg"_s));
    }

    void albumRecordsComeInNameOrderOldestFirst()
    {
        LibraryFixture f;
        auto opened = openCatalogue(f.context.cataloguePath);
        QVERIFY(opened.ok());
        Catalogue &c = *opened.value();
        QVERIFY(c.albumRecords(u"/p"_s).value().isEmpty());
        QList<qint64> ids;
        for (const QString &n : {u"b.jpg"_s, u"C.jpg"_s, u"a.jpg"_s, u"A.jpg"_s, u"b.jpg"_s}) {
            ids.append(c.addRecord(entry(u"/p"_s, n, QByteArray("pic-") + n.toUtf8())).value());
        }
        const QList<CatalogueRecord> records = c.albumRecords(u"/p"_s).value();
        QCOMPARE(names(records),
                 QStringList({u"A.jpg"_s, u"a.jpg"_s, u"b.jpg"_s, u"b.jpg"_s, u"C.jpg"_s}));
        QCOMPARE(records.at(2).imgID, ids.at(0));
        QCOMPARE(records.at(3).imgID, ids.at(4));
        // The album query's columns: no time, the picture and intPromo.
        QCOMPARE(records.at(0).Image, QByteArray("pic-A.jpg"));
        QCOMPARE(records.at(0).imgPath, u"/p"_s);
        QCOMPARE(records.at(0).imgDate, u"02/03/2004"_s);
        QVERIFY(records.at(0).imgTime.isEmpty());
        QCOMPARE(records.at(0).intPromo, 0);
        QCOMPARE(names(c.syncRecords(u"/p"_s).value()), names(records));

        // Letters beyond ASCII fold too, as on the folder page ("Éb" after "éa").
        QVERIFY(c.addRecord(entry(u"/q"_s, u"Éb.jpg"_s)).ok());
        QVERIFY(c.addRecord(entry(u"/q"_s, u"éa.jpg"_s)).ok());
        QCOMPARE(names(c.albumRecords(u"/q"_s).value()), QStringList({u"éa.jpg"_s, u"Éb.jpg"_s}));
        QVERIFY(albumNameLess(u"éa.jpg"_s, u"Éb.jpg"_s));
    }

    void recordsAreFoundRewrittenMovedAndDeletedById()
    {
        LibraryFixture f;
        auto opened = openCatalogue(f.context.cataloguePath);
        QVERIFY(opened.ok());
        Catalogue &c = *opened.value();
        const qint64 id = c.addRecord(entry(u"/p"_s, u"a.jpg"_s, "abc")).value();
        const qint64 other = c.addRecord(entry(u"/p"_s, u"b.jpg"_s, "xyz")).value();

        auto found = c.findRecord(id);
        QVERIFY(found.ok() && found.value().has_value());
        QCOMPARE(found.value()->imgName, u"a.jpg"_s);
        QCOMPARE(found.value()->Image, QByteArray("abc"));
        QVERIFY(c.findRecord(9999).value() == std::nullopt);

        QVERIFY(c.updateRecord(id, {u"/p"_s, u"a.jpg"_s, u"12/31/2010"_s, u"23:59"_s, {}}).ok());
        QVERIFY(c.setRecordPath(other, u"/q/it's"_s).ok());
        QList<StoredRecord> stored = f.records();
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored.at(0).imgID, id);
        QCOMPARE(stored.at(0).imgDate, u"12/31/2010"_s);
        QCOMPARE(stored.at(0).imgTime, u"23:59"_s);
        QVERIFY(stored.at(0).imageIsNull);
        QCOMPARE(stored.at(1).imgPath, u"/q/it's"_s);
        QCOMPARE(stored.at(1).Image, QByteArray("xyz"));

        QVERIFY(c.deleteRecord(id).ok());
        QCOMPARE(f.records().size(), 1);
        QCOMPARE(c.deleteRecord(id).failure().number, FailureNumber::NoCurrentRecord);
        QCOMPARE(c.updateRecord(id, entry(u"/p"_s, u"a.jpg"_s)).failure().number,
                 FailureNumber::NoCurrentRecord);
        QCOMPARE(c.setRecordPath(id, u"/x"_s).failure().number, FailureNumber::NoCurrentRecord);
    }

    void aBatchIsKeptOnlyWhenCommitted()
    {
        LibraryFixture f;
        auto opened = openCatalogue(f.context.cataloguePath);
        QVERIFY(opened.ok());
        Catalogue &c = *opened.value();
        {
            CatalogueBatch batch(c);
            QVERIFY(batch.started().ok());
            QVERIFY(c.addRecord(entry(u"/p"_s, u"dropped.jpg"_s)).ok());
        }
        QCOMPARE(f.records().size(), 0);
        {
            CatalogueBatch batch(c);
            QVERIFY(c.addRecord(entry(u"/p"_s, u"kept.jpg"_s)).ok());
            {
                CatalogueBatch inner(c);
                QVERIFY(c.addRecord(entry(u"/p"_s, u"inner.jpg"_s)).ok());
                QVERIFY(inner.commit().ok());
            }
            QVERIFY(c.isInBatch());
            QVERIFY(batch.commit().ok());
        }
        QCOMPARE(f.records().size(), 2);
        QVERIFY(!c.isInBatch());
    }

    void eachCatalogueHasItsOwnConnection()
    {
        LibraryFixture f;
        const QStringList before = QSqlDatabase::connectionNames();
        {
            auto a = openCatalogue(f.context.cataloguePath);
            auto b = openCatalogue(f.context.cataloguePath);
            QVERIFY(a.ok() && b.ok());
            QVERIFY(a.value()->addRecord(entry(u"/p"_s, u"a.jpg"_s)).ok());
            QCOMPARE(b.value()->albumRecords(u"/p"_s).value().size(), 1);
            QCOMPARE(QSqlDatabase::connectionNames().size(), before.size() + 2);
        }
        QCOMPARE(QSqlDatabase::connectionNames(), before);
    }

    void aCorruptFileIsRefusedAndLeftAlone()
    {
        LibraryFixture f;
        const QString path = f.context.cataloguePath;
        const QByteArray garbage = QByteArray("this is not a catalogue").repeated(100);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(garbage);
        file.close();

        auto opened = openCatalogue(path);
        QVERIFY(!opened.ok());
        QCOMPARE(opened.failure().number, FailureNumber::CatalogueError);
        QVERIFY(!opened.failure().description.isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), garbage);
    }

    void aReadOnlyFileIsReadButNotWritten()
    {
        LibraryFixture f;
        const QString path = f.context.cataloguePath;
        {
            auto opened = openCatalogue(path);
            QVERIFY(opened.ok());
            QVERIFY(opened.value()->addRecord(entry(u"/p"_s, u"a.jpg"_s)).ok());
        }
        ReadOnlyFile readOnly(path);
        if (!readOnly.ok()) {
            QSKIP("cannot make the catalogue read-only here");
        }
        auto opened = openCatalogue(path);
        QVERIFY(opened.ok());
        Catalogue &c = *opened.value();
        QCOMPARE(c.albumRecords(u"/p"_s).value().size(), 1);
        const auto added = c.addRecord(entry(u"/p"_s, u"b.jpg"_s));
        QVERIFY(!added.ok());
        QCOMPARE(added.failure().number, FailureNumber::CatalogueError);
        QVERIFY2(added.failure().description.contains(u"readonly"_s)
                     || added.failure().description.contains(u"read-only"_s),
                 qPrintable(added.failure().description));
    }

    void aLockedFileIsAFailureNotAWait()
    {
        LibraryFixture f;
        const QString path = f.context.cataloguePath;
        QVERIFY(openCatalogue(path).ok());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"locker"_s);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(u"BEGIN EXCLUSIVE"_s));
            auto opened = openCatalogue(path, 100);
            QVERIFY(!opened.ok());
            QCOMPARE(opened.failure().number, FailureNumber::CatalogueError);
            QVERIFY2(opened.failure().description.contains(u"locked"_s),
                     qPrintable(opened.failure().description));
            QVERIFY(q.exec(u"ROLLBACK"_s));
        }
        QSqlDatabase::removeDatabase(u"locker"_s);
        QVERIFY(openCatalogue(path).ok());
    }

    void setImageChoosesTheFormatByColourCount_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QByteArray>("signature");
        QTest::newRow("2 colours: TIFF G4")
            << PictureMaker::monochrome(QSize(98, 74)) << QByteArray();
        QTest::newRow("16 colours: PNG")
            << PictureMaker::palette(QSize(98, 74), 16) << QByteArray("\x89PNG");
        QTest::newRow("256 colours: PNG")
            << PictureMaker::palette(QSize(98, 74), 256) << QByteArray("\x89PNG");
        QTest::newRow("true colour: JPEG")
            << PictureMaker::photo(QSize(98, 74)) << QByteArray("\xFF\xD8\xFF");
    }
    void setImageChoosesTheFormatByColourCount()
    {
        QFETCH(QImage, picture);
        QFETCH(QByteArray, signature);
        LibraryFixture f;
        ImageMan engine;
        engine.setImage(picture);
        engine.setQuality(75);
        const Result<QByteArray> stored = SetImage(engine, f.context.log);
        QVERIFY(stored.ok());
        const QByteArray &bytes = stored.value();

        // One zero byte after exactly what the engine encodes in the chosen format.
        const Result<QByteArray> encoded = engine.exportToMemory();
        QVERIFY(encoded.ok());
        QCOMPARE(bytes.size(), encoded.value().size() + 1);
        QCOMPARE(bytes.back(), '\0');
        QCOMPARE(bytes.chopped(1), encoded.value());
        if (signature.isEmpty()) {
            QVERIFY(bytes.startsWith("II*") || bytes.startsWith(QByteArray("MM\0*", 4)));
            QCOMPARE(tiffCompression(bytes), 4);
        } else {
            QVERIFY(bytes.startsWith(signature));
        }

        // Through the catalogue and back: the same bytes, and the engine decodes them.
        auto opened = openCatalogue(f.context.cataloguePath);
        QVERIFY(opened.ok());
        QVERIFY(opened.value()->addRecord(entry(u"/p"_s, u"a.jpg"_s, bytes)).ok());
        const QList<CatalogueRecord> records = opened.value()->albumRecords(u"/p"_s).value();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().Image, bytes);
        ImageMan reader;
        QVERIFY(GetImage(reader, records.first().Image, f.context.log).ok());
        QCOMPARE(reader.imageWidth(), picture.width());
        QCOMPARE(reader.imageHeight(), picture.height());
        QCOMPARE(f.logText(), QString());
    }

    void encodingAndDecodingFailuresAreLoggedUnderTheirTags()
    {
        LibraryFixture f;
        ImageMan empty;
        QVERIFY(!SetImage(empty, f.context.log).ok());
        QVERIFY(f.logText().contains(u"Error in [modmain - SetImage] "_s));
        ImageMan reader;
        QVERIFY(!GetImage(reader, QByteArray("not a picture") + '\0', f.context.log).ok());
        QVERIFY(f.logText().contains(u"Error in [modmain - GetImage] "_s));
    }

    void albumQueryFailureIsLogged()
    {
        LibraryFixture f;
        auto opened = openCatalogue(f.context.cataloguePath);
        QVERIFY(opened.ok());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"dropper"_s);
            db.setDatabaseName(f.context.cataloguePath);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(u"DROP TABLE Images"_s));
        }
        QSqlDatabase::removeDatabase(u"dropper"_s);
        QVERIFY(!GetDatabaseImages(*opened.value(), u"/p"_s, f.context.log).ok());
        QVERIFY(f.logText().contains(u"Error in [modMain - GetDatabaseImages] "_s));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
