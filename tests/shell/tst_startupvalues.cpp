#include <QDir>
#include <QFile>
#include <QTest>

#include "startupvalues.h"
#include "testhome.h"

using namespace Qt::StringLiterals;

class TestStartupValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionCarriesTheDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("ending");
        QTest::newRow("august") << QDate(2004, 8, 17) << u" | Aug-17-2004"_s;
        QTest::newRow("single-digit day") << QDate(2026, 1, 5) << u" | Jan-05-2026"_s;
        QTest::newRow("december") << QDate(2026, 12, 31) << u" | Dec-31-2026"_s;
    }

    void captionCarriesTheDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, ending);
        const QString caption = mainWindowCaption(date);
        QVERIFY(caption.startsWith(u"Glimmerbook | Visit us at "_s + vendorWebAddress()));
        QVERIFY2(caption.endsWith(ending), qPrintable(caption));
    }

    void pathsFollowTheProgramHome()
    {
        qputenv("GLIMMERBOOK_HOME", "/srv/albums/Glimmer Home");
        const StartupValues v = StartupValues::fromEnvironment();
        QCOMPARE(v.ApplicationFolder, u"/srv/albums/Glimmer Home"_s);
        QCOMPARE(v.ErrorLogPath, u"/srv/albums/Glimmer Home/errorlog.log"_s);
        QCOMPARE(v.TempFolderPath, u"/srv/albums/Glimmer Home/GBk_Temp"_s);
        QCOMPARE(v.cataloguePath(), u"/srv/albums/Glimmer Home/glimmerbook.mdb"_s);
        QCOMPARE(v.PictureExtensions,
                 QStringList({u"jpg"_s, u"tif"_s, u"bmp"_s, u"pcx"_s, u"tga"_s, u"gif"_s}));
        qunsetenv("GLIMMERBOOK_HOME");
        QCOMPARE(StartupValues::fromEnvironment().ApplicationFolder,
                 QDir::homePath() + u"/Glimmerbook"_s);
    }

    void tempFolderIsOwnerOnly()
    {
        TestHome home;
        const Result<QString> made = home.values().ensureTempFolder();
        QVERIFY(made.ok());
        const QFileDevice::Permissions perms = QFile::permissions(made.value());
        QVERIFY(perms.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                | QFileDevice::ExeOwner));
        QVERIFY(!(perms
                  & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                     | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther)));
        QVERIFY(home.values().ensureTempFolder().ok());
    }

    void promoPicturesAreCopiedOnce()
    {
        TestHome home;
        const QString source = home.makeFolder(u"installed-promo"_s);
        QFile a(source + u"/a.jpg"_s);
        QVERIFY(a.open(QIODevice::WriteOnly));
        a.write("one");
        a.close();

        QVERIFY(copyPromoPictures(home.values(), source).ok());
        const QString copied = home.values().promoFolder() + u"/a.jpg"_s;
        QVERIFY(QFile::exists(copied));

        // A promo folder the user already has is left alone.
        QFile::remove(copied);
        QVERIFY(copyPromoPictures(home.values(), source).ok());
        QVERIFY(!QFile::exists(copied));
    }

    void shippedPromoPicturesAreFound()
    {
        const QString folder = promoSourceFolder();
        QVERIFY(!folder.isEmpty());
        QVERIFY(!QDir(folder).entryList({u"*.jpg"_s}, QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStartupValues)
#include "tst_startupvalues.moc"
