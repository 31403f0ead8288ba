#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QTest>

#include "albumsync.h"
#include "cataloguebuilder.h"
#include "libraryfixture.h"

using namespace Qt::StringLiterals;

namespace {

const QByteArray kMarker("untouched");

QList<StoredRecord> ofAlbum(const QList<StoredRecord> &records, const QString &album)
{
    QList<StoredRecord> out;
    for (const StoredRecord &r : records) {
        if (r.imgPath == album) {
            out.append(r);
        }
    }
    return out;
}

QStringList sortedNames(const QList<StoredRecord> &records)
{
    QStringList out;
    for (const StoredRecord &r : records) {
        out.append(r.imgName);
    }
    out.sort();
    return out;
}

/// An album of three photos and a second album, both catalogued; every stored picture is then
/// replaced by a marker, so a record the sync rewrites shows.
struct SyncFixture : LibraryFixture
{
    SyncFixture()
    {
        album = makeAlbum(u"Trip #1 'summer'"_s);
        other = makeAlbum(u"Other"_s);
        for (const QString &n : {u"a.jpg"_s, u"b#2.jpg"_s, u"c & d.jpg"_s}) {
            photo(album + u'/' + n);
        }
        photo(other + u"/a.jpg"_s);
        ResizeAndWriteImagesToDatabase(context, album, {}, false, false);
        ResizeAndWriteImagesToDatabase(context, other, {}, false, false);
        execute(u"UPDATE Images SET Image = ?"_s, {kMarker});
        before = records();
    }

    bool sync(int *asked = nullptr)
    {
        return DatabaseSyncAndRead(context, album, [asked] {
            if (asked) {
                ++*asked;
            }
            return true;
        });
    }

    QString album;
    QString other;
    QList<StoredRecord> before;
};

} // namespace

class TestAlbumSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anUnchangedAlbumChangesNothing()
    {
        SyncFixture f;
        QCOMPARE(f.before.size(), 4);
        int asked = 0;
        QVERIFY(f.sync(&asked));
        QCOMPARE(asked, 0);
        // "b#2.jpg" included: a "#" in a name is not a reason to catalogue it again.
        QCOMPARE(f.records(), f.before);
        QCOMPARE(f.logText(), QString());
    }

    void aNewPhotoGetsOneRecord()
    {
        SyncFixture f;
        QVERIFY(f.photo(f.album + u"/new #5.jpg"_s));
        QVERIFY(f.sync());
        const QList<StoredRecord> after = f.records();
        QCOMPARE(after.size(), 5);
        QCOMPARE(after.mid(0, 4), f.before);
        QCOMPARE(after.at(4).imgName, u"new #5.jpg"_s);
        QCOMPARE(after.at(4).imgPath, f.album);
        QVERIFY(after.at(4).Image.startsWith("\xFF\xD8"));
    }

    void aDeletedPhotoLosesItsRecord()
    {
        SyncFixture f;
        QVERIFY(QFile::remove(f.album + u"/b#2.jpg"_s));
        QVERIFY(f.sync());
        QList<StoredRecord> expected = f.before;
        expected.removeIf([](const StoredRecord &r) {
            return r.imgName == u"b#2.jpg"_s;
        });
        QCOMPARE(expected.size(), 3);
        QCOMPARE(f.records(), expected);
    }

    void anEditedPhotoKeepsExactlyOneFreshRecord_data()
    {
        QTest::addColumn<QDateTime>("modified");
        QTest::newRow("another day") << QDateTime(QDate(2004, 2, 4), QTime(14, 5));
        QTest::newRow("another minute") << QDateTime(QDate(2004, 2, 3), QTime(14, 6));
    }
    void anEditedPhotoKeepsExactlyOneFreshRecord()
    {
        QFETCH(QDateTime, modified);
        SyncFixture f;
        const QString edited = u"c & d.jpg"_s;
        QVERIFY(f.photo(f.album + u'/' + edited, QSize(200, 300), modified, 7));
        QVERIFY(f.sync());
        const QList<StoredRecord> after = f.records();
        QCOMPARE(after.size(), f.before.size());
        for (int i = 0; i < after.size(); ++i) {
            const StoredRecord &r = after.at(i);
            if (r.imgName == edited && r.imgPath == f.album) {
                QCOMPARE(r.imgID, f.before.at(i).imgID);
                QCOMPARE(r.imgDate, catalogueDate(modified));
                QCOMPARE(r.imgTime, catalogueTime(modified));
                QVERIFY(r.Image != kMarker);
                QVERIFY(r.Image.startsWith("\xFF\xD8"));
            } else {
                QCOMPARE(r, f.before.at(i));
            }
        }
    }

    void duplicateRecordsAreReducedToTheOldest()
    {
        SyncFixture f;
        // Cataloguing the album a second time adds a second record per photo.
        QVERIFY(ResizeAndWriteImagesToDatabase(f.context, f.album, {}, false, false).ok());
        QCOMPARE(ofAlbum(f.records(), f.album).size(), 6);
        QVERIFY(f.sync());
        QCOMPARE(f.records(), f.before);
    }

    void anAlbumWithoutRecordsAsksFirst()
    {
        LibraryFixture f;
        const QString album = f.makeAlbum(u"fresh"_s);
        QVERIFY(f.photo(album + u"/a.jpg"_s));
        QVERIFY(f.photo(album + u"/b.jpg"_s));
        int asked = 0;
        QVERIFY(!DatabaseSyncAndRead(f.context, album, [&asked] {
            ++asked;
            return false;
        }));
        QCOMPARE(asked, 1);
        QCOMPARE(f.records().size(), 0);

        RecordingProgress progress;
        QVERIFY(DatabaseSyncAndRead(
            f.context,
            album,
            [] {
                return true;
            },
            &progress));
        QCOMPARE(progress.events.first(), u"begin 2 0"_s);
        QCOMPARE(progress.events.last(), u"end"_s);
        QCOMPARE(sortedNames(f.records()), QStringList({u"a.jpg"_s, u"b.jpg"_s}));
        QCOMPARE(categorizeQuestionText(),
                 u"\nWould you like to Categorize this Album ?\nCategorizing an Album speeds "
                 "thumbnail load time by 500%\nand you can search all your albums for specific "
                 "photos."_s);
    }

    void namesAndAlbumsThatDifferOnlyInCaseStayApart()
    {
        LibraryFixture f;
        const QString upper = f.makeAlbum(u"Trip"_s);
        const QString lower = f.makeAlbum(u"trip"_s);
        QVERIFY(f.photo(upper + u"/A.jpg"_s));
        QVERIFY(f.photo(upper + u"/a.jpg"_s));
        QVERIFY(f.photo(lower + u"/a.jpg"_s));
        QVERIFY(DatabaseSyncAndRead(f.context, upper, [] {
            return true;
        }));
        QVERIFY(DatabaseSyncAndRead(f.context, lower, [] {
            return true;
        }));
        const QList<StoredRecord> before = f.records();
        QCOMPARE(sortedNames(ofAlbum(before, upper)), QStringList({u"A.jpg"_s, u"a.jpg"_s}));
        QCOMPARE(sortedNames(ofAlbum(before, lower)), QStringList({u"a.jpg"_s}));

        QVERIFY(QFile::remove(lower + u"/a.jpg"_s));
        QVERIFY(f.photo(lower + u"/b.jpg"_s));
        QVERIFY(DatabaseSyncAndRead(f.context, lower, [] {
            return true;
        }));
        QVERIFY(DatabaseSyncAndRead(f.context, upper, [] {
            return true;
        }));
        const QList<StoredRecord> after = f.records();
        QCOMPARE(ofAlbum(after, upper), ofAlbum(before, upper));
        QCOMPARE(sortedNames(ofAlbum(after, lower)), QStringList({u"b.jpg"_s}));
    }

    void anAlbumFolderThatIsGoneKeepsItsRecords()
    {
        SyncFixture f;
        QVERIFY(QDir().rename(f.album, f.album + u" (unmounted)"_s));
        int asked = 0;
        QVERIFY(!f.sync(&asked));
        QCOMPARE(asked, 0);
        QCOMPARE(f.records(), f.before);
        QVERIFY(f.logText().contains(
            u"Error in [modMain - DatabaseSyncAndRead] Path not found - 76"_s));
    }

    void aLockedCatalogueChangesNothingAndSendsThePageToTheFolder()
    {
        SyncFixture f;
        f.context.catalogueBusyTimeoutMs = 50;
        QVERIFY(f.photo(f.album + u"/new.jpg"_s));
        QVERIFY(QFile::remove(f.album + u"/a.jpg"_s));
        {
            CatalogueWriteLock lock(f.context.cataloguePath);
            QVERIFY(lock.isLocked());
            QVERIFY(!f.sync());
        }
        QCOMPARE(f.records(), f.before);
        QVERIFY(f.logText().contains(u"locked"_s));

        // Once the other program lets go, the same sync goes through.
        QVERIFY(f.sync());
        QCOMPARE(sortedNames(ofAlbum(f.records(), f.album)),
                 QStringList({u"b#2.jpg"_s, u"c & d.jpg"_s, u"new.jpg"_s}));
    }

    void aCatalogueThatCannotBeUsedSendsThePageToTheFolder()
    {
        SyncFixture f;
        QFile file(f.context.cataloguePath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(2048, '\x7f'));
        file.close();
        int asked = 0;
        QVERIFY(!f.sync(&asked));
        QCOMPARE(asked, 0);
        QVERIFY(f.logText().contains(u"Error in [modMain - DatabaseSyncAndRead] "_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(2048, '\x7f'));
    }

    void aReadOnlyCatalogueThatNeedsChangesSendsThePageToTheFolder()
    {
        SyncFixture f;
        QVERIFY(f.photo(f.album + u"/new.jpg"_s));
        const QString path = f.context.cataloguePath;
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        bool immutable = false;
        if (geteuid() == 0) {
            immutable = QProcess::execute(u"chattr"_s, {u"+i"_s, path}) == 0;
            if (!immutable) {
                QSKIP("cannot make the catalogue read-only here");
            }
        }
        const bool synced = f.sync();
        if (immutable) {
            QProcess::execute(u"chattr"_s, {u"-i"_s, path});
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(!synced);
        QVERIFY(f.logText().contains(u"Error in [modMain - DatabaseSyncAndRead] "_s)
                || f.logText().contains(u"Error in [modMain - ResizeAndWriteImagesToDatabase] "_s));
        QCOMPARE(f.records(), f.before);
    }
};

QTEST_GUILESS_MAIN(TestAlbumSync)
#include "tst_albumsync.moc"
