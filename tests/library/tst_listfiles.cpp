#include <QDir>
#include <QFile>
#include <QTest>

#include "listfiles.h"
#include "startupvalues.h"
#include "testhome.h"
#include "unprivileged.h"

using namespace Qt::StringLiterals;

namespace {

void touch(const QString &path)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("x");
    }
}

QStringList sortedNames(QStringList paths)
{
    QStringList names;
    for (const QString &p : paths) {
        if (!p.isEmpty()) {
            names.append(p.mid(p.lastIndexOf(u'/') + 1));
        }
    }
    names.sort();
    return names;
}

} // namespace

class TestListFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesAreTestedByContainment_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("listed");
        const QList<std::pair<QString, bool>> rows = {
            {u"IMG_0001.JPG"_s, true},
            {u"img_0001.jpg"_s, true},
            {u"Img.Jpg"_s, true},
            {u"scan.tiff"_s, true},
            {u"photo.jpeg"_s, false},
            {u"holiday.jpg.bak"_s, true},
            {u"old.bmp.zip"_s, true},
            {u"picture.gif"_s, true},
            {u"a.jpg.tif"_s, true},
            {u"card.PCX"_s, true},
            {u"logo.tga"_s, true},
            {u"jpg"_s, false},
            {u"notes.txt"_s, false},
            {u"x.png"_s, false},
            {u".jpg"_s, true},
            {u"endsjpg"_s, false},
            {u"Tom & Jerry's #1; é.jpg"_s, true},
        };
        for (const auto &[name, listed] : rows) {
            QTest::newRow(qPrintable(name)) << name << listed;
        }
    }

    void namesAreTestedByContainment()
    {
        QFETCH(QString, name);
        QFETCH(bool, listed);
        QCOMPARE(isPictureFileName(name, defaultPictureExtensions()), listed);
    }

    void pathListShape()
    {
        TestHome home;
        const ErrorLog log(home.values().ErrorLogPath);
        const QString empty = home.makeFolder(u"empty"_s);
        touch(empty + u"/readme.txt"_s);
        QCOMPARE(ListFiles(empty, false, defaultPictureExtensions(), log), QStringList());

        const QString one = home.makeFolder(u"one; two #3"_s);
        touch(one + u"/a.jpg.tif"_s);
        const QStringList list = ListFiles(one, false, defaultPictureExtensions(), log);
        QCOMPARE(list, QStringList({QString(), one + u"/a.jpg.tif"_s}));
        QCOMPARE(photoCount(list), 1);
        QVERIFY(home.logText().isEmpty());
    }

    void hiddenFilesAndFolderNames()
    {
        TestHome home;
        const ErrorLog log(home.values().ErrorLogPath);
        const QString album = home.makeFolder(u"album"_s);
        touch(album + u"/.hidden.jpg"_s);
        touch(album + u"/b.gif"_s);
        QDir(album).mkdir(u"folder.jpg"_s);
        QFile::link(album + u"/b.gif"_s, album + u"/link.bmp"_s);
        QCOMPARE(sortedNames(ListFiles(album, false, defaultPictureExtensions(), log)),
                 QStringList({u".hidden.jpg"_s, u"b.gif"_s, u"link.bmp"_s}));
    }

    void subfoldersFollowDepthFirst()
    {
        TestHome home;
        const ErrorLog log(home.values().ErrorLogPath);
        const QString root = home.makeFolder(u"card"_s);
        touch(root + u"/top.jpg"_s);
        home.makeFolder(u"card/A/deep"_s);
        touch(root + u"/A/a.jpg"_s);
        touch(root + u"/A/deep/d.jpg"_s);
        home.makeFolder(u"card/B"_s);
        touch(root + u"/B/b.jpg"_s);

        QCOMPARE(ListFiles(root, false, defaultPictureExtensions(), log),
                 QStringList({QString(), root + u"/top.jpg"_s}));

        const QStringList all = ListFiles(root, true, defaultPictureExtensions(), log);
        QCOMPARE(all.size(), 5);
        QCOMPARE(all[1], root + u"/top.jpg"_s);
        // Each subfolder's whole subtree comes before the next subfolder.
        const qsizetype a = all.indexOf(root + u"/A/a.jpg"_s);
        const qsizetype d = all.indexOf(root + u"/A/deep/d.jpg"_s);
        const qsizetype b = all.indexOf(root + u"/B/b.jpg"_s);
        QVERIFY(a > 1 && d > a);
        QVERIFY(b > 1);
        QVERIFY((b > d) || (b < a));
    }

    void missingFolderIsLoggedAndEmpty()
    {
        TestHome home;
        const ErrorLog log(home.values().ErrorLogPath);
        QCOMPARE(ListFiles(home.root() + u"/gone"_s, false, defaultPictureExtensions(), log),
                 QStringList());
        QVERIFY(home.logText().contains("Error in [modMain - ListFiles] Path not found - 76"));
    }

    void unreadableSubfolderKeepsTheRest()
    {
        TestHome home;
        const QString root = home.makeFolder(u"card"_s);
        touch(root + u"/top.jpg"_s);
        const QString locked = home.makeFolder(u"card/locked"_s);
        touch(locked + u"/hidden.jpg"_s);
        makeTraversable(home.root(), root);
        // The log must be writable by the unprivileged scan.
        const QString logFolder = home.makeFolder(u"log"_s);
        QFile::setPermissions(logFolder, QFileDevice::Permissions(0x7777));
        const QString logPath = logFolder + u"/errorlog.log"_s;
        QFile::setPermissions(locked, QFileDevice::WriteOwner);

        const bool keptTheRest = runUnprivileged([&] {
            const QStringList list =
                ListFiles(root, true, defaultPictureExtensions(), ErrorLog(logPath));
            return list == QStringList({QString(), root + u"/top.jpg"_s});
        });
        QFile::setPermissions(locked,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                  | QFileDevice::ExeOwner);
        QVERIFY(keptTheRest);
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(
            log.readAll().contains("Error in [modMain - ListFilesPriv] Permission denied - 70"));
    }
};

QTEST_GUILESS_MAIN(TestListFiles)
#include "tst_listfiles.moc"
