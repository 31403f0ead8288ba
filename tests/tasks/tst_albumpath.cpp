#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "albumpath.h"
#include "drives.h"
#include "unprivileged.h"

using namespace Qt::StringLiterals;

class tst_AlbumPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newAlbumPath_data();
    void newAlbumPath();
    void ensureAlbumFolder();
    void readOnlyParentRefuses();
    void removableMarks_data();
    void removableMarks();
};

void tst_AlbumPath::newAlbumPath_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("name") << u"Holiday 2004"_s << u"/home/anna"_s << u"/home/anna/Holiday 2004"_s;
    QTest::newRow("folder ends with /") << u"Trip"_s << u"/home/anna/"_s << u"/home/anna/Trip"_s;
    QTest::newRow("at the root") << u"Trip"_s << u"/"_s << u"/Trip"_s;
    QTest::newRow("absolute") << u"/media/card/Trip"_s << u"/home/anna"_s << u"/media/card/Trip"_s;
    QTest::newRow("absolute, trailing /") << u"/srv/Trip/"_s << u"/home"_s << u"/srv/Trip"_s;
    QTest::newRow("empty") << QString() << u"/home/anna"_s << u"/home/anna"_s;
    QTest::newRow("a name with a backslash is one name") << u"a\\b"_s << u"/x"_s << u"/x/a\\b"_s;
}

void tst_AlbumPath::newAlbumPath()
{
    QFETCH(QString, typed);
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    const Result<QString> path = AlbumPath::newAlbumPath(typed, folder);
    QVERIFY(path.ok());
    QCOMPARE(path.value(), expected);

    const Result<QString> slash = AlbumPath::newAlbumPath(u"a/b"_s, folder);
    QVERIFY(!slash.ok());
    QCOMPARE(slash.failure().number, AlbumPath::kBadFileName);
}

void tst_AlbumPath::ensureAlbumFolder()
{
    QTemporaryDir dir;
    const QString album = dir.path() + u"/O'Brien #1"_s;
    Result<bool> made = AlbumPath::ensureAlbumFolder(album);
    QVERIFY(made.ok());
    QVERIFY(made.value());
    made = AlbumPath::ensureAlbumFolder(album);
    QVERIFY(made.ok());
    QVERIFY(!made.value());

    QCOMPARE(AlbumPath::ensureAlbumFolder(dir.path() + u"/a/b"_s).failure(),
             Failures::pathNotFound());
    QFile file(dir.path() + u"/file"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(AlbumPath::ensureAlbumFolder(file.fileName()).failure(),
             Failures::pathFileAccessError());
}

void tst_AlbumPath::readOnlyParentRefuses()
{
    QTemporaryDir dir;
    const QString locked = dir.path() + u"/locked"_s;
    QVERIFY(QDir().mkdir(locked));
    QVERIFY(QFile::setPermissions(locked,
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                      | QFile::ExeOther));
    makeTraversable(dir.path(), locked);
    const bool refused = runUnprivileged([&] {
        const Result<bool> made = AlbumPath::ensureAlbumFolder(locked + u"/Holiday"_s);
        return !made.ok() && made.failure() == Failures::permissionDenied();
    });
    QVERIFY(refused);
    QVERIFY(!QFileInfo::exists(locked + u"/Holiday"_s));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void tst_AlbumPath::removableMarks_data()
{
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<bool>("removable");
    QTest::newRow("card partition") << "/dev/sdb1"_ba << true;
    QTest::newRow("card disk") << "/dev/sdb"_ba << true;
    QTest::newRow("fixed disk partition") << "/dev/sda2"_ba << false;
    QTest::newRow("USB disk without the mark") << "/dev/sdc1"_ba << true;
    QTest::newRow("memory card slot") << "/dev/mmcblk0p1"_ba << true;
    QTest::newRow("unknown device") << "/dev/sdz9"_ba << false;
    QTest::newRow("not a device") << "tmpfs"_ba << false;
}

void tst_AlbumPath::removableMarks()
{
    QFETCH(QByteArray, device);
    QFETCH(bool, removable);
    // A small copy of the kernel's device tree: class/block entries are links into devices/.
    QTemporaryDir sys;
    const auto disk =
        [&](const QString &bus, const QString &name, const char *mark, const QStringList &parts) {
            const QString folder = sys.path() + u"/devices/pci0/"_s + bus + u'/' + name;
            QDir().mkpath(folder);
            QFile removableFile(folder + u"/removable"_s);
            QVERIFY(removableFile.open(QIODevice::WriteOnly));
            removableFile.write(mark);
            removableFile.close();
            QDir().mkpath(sys.path() + u"/class/block"_s);
            QFile::link(folder, sys.path() + u"/class/block/"_s + name);
            for (const QString &part : parts) {
                QDir().mkpath(folder + u'/' + part);
                QFile partition(folder + u'/' + part + u"/partition"_s);
                QVERIFY(partition.open(QIODevice::WriteOnly));
                partition.write("1\n");
                partition.close();
                QFile::link(folder + u'/' + part, sys.path() + u"/class/block/"_s + part);
            }
        };
    disk(u"ata1"_s, u"sda"_s, "0\n", {u"sda1"_s, u"sda2"_s});
    disk(u"ata2"_s, u"sdb"_s, "1\n", {u"sdb1"_s});
    disk(u"usb1"_s, u"sdc"_s, "0\n", {u"sdc1"_s});
    disk(u"mmc0"_s, u"mmcblk0"_s, "0\n", {u"mmcblk0p1"_s});

    QCOMPARE(Drives::isRemovableDevice(device, sys.path()), removable);
    Drives::Drive drive{u"/media/card"_s, u"CARD"_s, removable};
    QCOMPARE(Drives::caption(drive).endsWith(u" (Removable)"_s), removable);
}

QTEST_GUILESS_MAIN(tst_AlbumPath)

#include "tst_albumpath.moc"
