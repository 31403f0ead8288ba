#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include "commandtable.h"
#include "drivespace.h"
#include "photodeletion.h"
#include "singleinstance.h"
#include "startupsteps.h"
#include "testhome.h"

class TestShellRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freeSpacePercent_data();
    void freeSpacePercent();
    void gaugeColour_data();
    void gaugeColour();
    void driveSpaceOfMissingPath();
    void hoverTextsKeepDoubleAmpersandsUntilShown();
    void deleteTag_data();
    void deleteTag();
    void deletePhotoFile();
    void tipsSetting_data();
    void tipsSetting();
    void exifReaderRegisteredOnce();
    void firstRunOnce();
    void requestReachesRunningInstance();
    void noInstanceNoAnswer();
    void serverNamePerHome();
};

void TestShellRules::freeSpacePercent_data()
{
    QTest::addColumn<qint64>("available");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("percent");

    const qint64 gib = qint64(1) << 30;
    QTest::newRow("1 of 4 GB") << gib << 4 * gib << 25;
    QTest::newRow("24.5 to even 24") << qint64(245) << qint64(1000) << 24;
    QTest::newRow("25.5 to even 26") << qint64(255) << qint64(1000) << 26;
    QTest::newRow("25.51 up") << qint64(2551) << qint64(10000) << 26;
    QTest::newRow("beyond 32 bits") << 3 * gib * 1024 << 8 * gib * 1024 << 38;
    QTest::newRow("nothing free") << qint64(0) << gib << 0;
    QTest::newRow("all free") << gib << gib << 100;
    QTest::newRow("no total") << qint64(5) << qint64(0) << 0;
}

void TestShellRules::freeSpacePercent()
{
    QFETCH(qint64, available);
    QFETCH(qint64, total);
    QFETCH(int, percent);
    QCOMPARE(::freeSpacePercent(available, total), percent);
}

void TestShellRules::gaugeColour_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("0") << 0 << 0x800000u;
    QTest::newRow("25") << 25 << 0x800000u;
    QTest::newRow("26") << 26 << 0x004000u;
    QTest::newRow("100") << 100 << 0x004000u;
}

void TestShellRules::gaugeColour()
{
    QFETCH(int, percent);
    QFETCH(quint32, colour);
    QCOMPARE(freeSpaceGaugeColour(percent), colour);
}

void TestShellRules::driveSpaceOfMissingPath()
{
    TestHome home;
    const Result<DriveSpace> real = driveSpaceOf(home.home());
    QVERIFY(real.ok());
    QVERIFY(real.value().total > 0);
    QVERIFY(!driveSpaceOf(home.root() + QStringLiteral("/not/here")).ok());
}

void TestShellRules::hoverTextsKeepDoubleAmpersandsUntilShown()
{
    const QString stored = storedHoverText(QStringLiteral("imgMnuOrder"));
    QVERIFY(stored.contains(QStringLiteral("Prints && Calendars")));
    QVERIFY(displayedHoverText(stored).contains(QStringLiteral("Prints & Calendars")));
    QCOMPARE(storedHoverText(QStringLiteral("cboZoom")), QString());
    // Every control of the command panel has its text.
    for (const PanelCommand &c : panelCommands()) {
        QVERIFY2(storedHoverText(c.picture).startsWith(QStringLiteral("  ")),
                 qPrintable(c.picture));
        QVERIFY2(storedHoverText(c.caption).startsWith(QStringLiteral("  ")),
                 qPrintable(c.caption));
    }
}

void TestShellRules::deleteTag_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("pathPart");
    QTest::addColumn<int>("index");

    QTest::newRow("usual") << "/p/a.jpg | 7"
                           << "/p/a.jpg " << 7;
    QTest::newRow("bar in the name") << "/p/x | y.jpg | 12"
                                     << "/p/x | y.jpg " << 12;
    QTest::newRow("no index") << "/p/a.jpg"
                              << "/p/a.jpg" << -1;
    QTest::newRow("index not a number") << "/p/a.jpg | x"
                                        << "/p/a.jpg " << -1;
    QTest::newRow("empty") << ""
                           << "" << -1;
}

void TestShellRules::deleteTag()
{
    QFETCH(QString, tag);
    QFETCH(QString, pathPart);
    QFETCH(int, index);

    const DeleteTarget target = parseDeleteTag(tag);
    QCOMPARE(target.pathPart, pathPart);
    QCOMPARE(target.index.value_or(-1), index);
    QCOMPARE(target.filePath(), pathPart.trimmed());
}

void TestShellRules::deletePhotoFile()
{
    TestHome home;
    const QString folder = home.makeFolder(QStringLiteral("album"));
    const QString photo = folder + QStringLiteral("/one.jpg");
    const QString locked = folder + QStringLiteral("/locked.jpg");
    for (const QString &path : {photo, locked}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("photo");
    }
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadOther));

    QVERIFY(::deletePhotoFile(photo).ok());
    QVERIFY(!QFile::exists(photo));
    QCOMPARE(::deletePhotoFile(photo).failure().number, FailureNumber::FileNotFound);
    QCOMPARE(::deletePhotoFile(locked).failure().number, FailureNumber::PermissionDenied);
    QVERIFY(QFile::exists(locked));
    QVERIFY(!::deletePhotoFile(folder).ok());
    QVERIFY(QDir(folder).exists());
}

void TestShellRules::tipsSetting_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("after");

    QTest::newRow("missing becomes 1") << QString() << true << "1";
    QTest::newRow("1") << "1" << true << "1";
    QTest::newRow("0") << "0" << false << "0";
    QTest::newRow("other") << "yes" << false << "yes";
}

void TestShellRules::tipsSetting()
{
    QFETCH(QString, stored);
    QFETCH(bool, shown);
    QFETCH(QString, after);

    TestHome home;
    const auto state = home.makeState();
    const QString tips = QStringLiteral("tips");
    if (!stored.isNull()) {
        state->settings.WriteWinIniSetting(SettingsStore::kSection, tips, stored);
    }
    QCOMPARE(StartupSteps::prepareTips(state->settings), shown);
    QCOMPARE(state->settings.ReadWinIniSetting(SettingsStore::kSection, tips), after);
}

void TestShellRules::exifReaderRegisteredOnce()
{
    TestHome home;
    const auto state = home.makeState();
    QVERIFY(StartupSteps::registerExifReaderOnce(state->settings, state->log));
    const QByteArray log = home.logText();
    QVERIFY(log.contains("EXIF reader is built in (exiv2 "
                         + StartupSteps::exifReaderVersion().toUtf8() + ")"));
    QVERIFY(log.contains("EXIF reader check | ReturnValue = 0"));
    QCOMPARE(
        state->settings.ReadWinIniSetting(SettingsStore::kSection, QStringLiteral("registered")),
        QStringLiteral("1"));

    QVERIFY(!StartupSteps::registerExifReaderOnce(state->settings, state->log));
    QCOMPARE(home.logText(), log);
}

void TestShellRules::firstRunOnce()
{
    TestHome home;
    const auto state = home.makeState();
    QVERIFY(StartupSteps::beginFirstRun(state->settings));
    QCOMPARE(
        state->settings.ReadWinIniSetting(SettingsStore::kSection, QStringLiteral("NewInstall")),
        QStringLiteral("1"));
    QVERIFY(!StartupSteps::beginFirstRun(state->settings));
}

void TestShellRules::requestReachesRunningInstance()
{
    TestHome home;
    SingleInstance first(SingleInstance::serverNameFor(home.home()));
    QStringList requests;
    first.setHandler([&requests](const QString &request) {
        requests << request;
        return QStringLiteral("shown");
    });
    QVERIFY(first.listen().ok());
    QVERIFY(first.isListening());

    // The answering side needs this thread's event loop, so the asking side runs in another.
    std::optional<QString> reply;
    QThread *asker = QThread::create([&reply, name = first.serverName()] {
        reply = SingleInstance::ask(name, SingleInstance::kShowRequest, 10000);
    });
    QSignalSpy done(asker, &QThread::finished);
    asker->start();
    QVERIFY(done.wait(20000));
    delete asker;
    QCOMPARE(reply, std::optional<QString>(QStringLiteral("shown")));
    QCOMPARE(requests, QStringList{"show"});
}

void TestShellRules::noInstanceNoAnswer()
{
    TestHome home;
    QCOMPARE(SingleInstance::ask(SingleInstance::serverNameFor(home.home()),
                                 QStringLiteral("show"),
                                 500),
             std::nullopt);
}

void TestShellRules::serverNamePerHome()
{
    TestHome a;
    TestHome b;
    const QString nameA = SingleInstance::serverNameFor(a.home());
    QCOMPARE(SingleInstance::serverNameFor(a.home() + QStringLiteral("/")), nameA);
    QVERIFY(nameA != SingleInstance::serverNameFor(b.home()));
    QVERIFY(nameA.contains(QString::number(::getuid())));
}

QTEST_GUILESS_MAIN(TestShellRules)
#include "tst_shellrules.moc"
