#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include "settingsstore.h"
#include "smalldisk.h"
#include "testhome.h"
#include "unprivileged.h"

using namespace Qt::StringLiterals;

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

private Q_SLOTS:
    void readsStoredValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray longValue(200, 'x');
        QTest::newRow("plain") << "[glimmerbook]\ntips=1\n"_ba << u"tips"_s << u"1"_s;
        QTest::newRow("missing key") << "[glimmerbook]\ntips=1\n"_ba << u"registered"_s << u""_s;
        QTest::newRow("empty value") << "[glimmerbook]\ntips=\n"_ba << u"tips"_s << u""_s;
        QTest::newRow("blanks around") << "[glimmerbook]\ntips =   0  \n"_ba << u"tips"_s << u"0"_s;
        QTest::newRow("not found in any case")
            << "[glimmerbook]\ntips=was Not Found here\n"_ba << u"tips"_s << u""_s;
        QTest::newRow("cut to 127") << "[glimmerbook]\ntips="_ba + longValue + "\n"
                                    << u"tips"_s << QString(127, u'x');
        QTest::newRow("case-blind names") << "[GlimmerBook]\nTIPS=1\n"_ba << u"Tips"_s << u"1"_s;
        QTest::newRow("other section only") << "[other]\ntips=1\n"_ba << u"tips"_s << u""_s;
        QTest::newRow("crlf lines") << "[glimmerbook]\r\ntips=1\r\n"_ba << u"tips"_s << u"1"_s;
        QTest::newRow("first of two")
            << "[glimmerbook]\ntips=1\ntips=0\n"_ba << u"tips"_s << u"1"_s;
        QTest::newRow("comment is no key") << "[glimmerbook]\n;tips=1\n"_ba << u"tips"_s << u""_s;
        QTest::newRow("not an ini file")
            << "\x01\x02garbage ]] [[ ==\n\xff\xfe"_ba << u"tips"_s << u""_s;
    }

    void readsStoredValues()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        TestHome home;
        QDir().mkpath(QFileInfo(home.iniPath()).absolutePath());
        writeFile(home.iniPath(), file);
        const SettingsStore store(home.iniPath(), ErrorLog(home.values().ErrorLogPath));
        QCOMPARE(store.ReadWinIniSetting(u"glimmerbook"_s, key), expected);
        QVERIFY(home.logText().isEmpty());
    }

    void missingFileReadsEmpty()
    {
        TestHome home;
        const SettingsStore store(home.iniPath(), ErrorLog(home.values().ErrorLogPath));
        QCOMPARE(store.ReadWinIniSetting(u"glimmerbook"_s, u"tips"_s), QString());
    }

    void writesKeepOtherLinesByteForByte()
    {
        TestHome home;
        QDir().mkpath(QFileInfo(home.iniPath()).absolutePath());
        writeFile(home.iniPath(), "; kept\n[fonts]\nsize=9\n\n[GLIMMERBOOK]\ntips=1\n"_ba);
        const SettingsStore store(home.iniPath(), ErrorLog(home.values().ErrorLogPath));

        store.WriteWinIniSetting(u"glimmerbook"_s, u"TIPS"_s, 0);
        store.WriteWinIniSetting(u"glimmerbook"_s, u"registered"_s, u"1"_s);
        store.WriteWinIniSetting(u"new"_s, u"NewInstall"_s, u"1"_s);

        QFile f(home.iniPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(
            f.readAll(),
            "; kept\n[fonts]\nsize=9\n\n[GLIMMERBOOK]\nTIPS=0\nregistered=1\n\n[new]\nNewInstall=1\n"_ba);
        QCOMPARE(store.ReadWinIniSetting(u"glimmerbook"_s, u"tips"_s), u"0"_s);
    }

    void firstWriteCreatesFolderAndFile()
    {
        TestHome home;
        const SettingsStore store(home.iniPath(), ErrorLog(home.values().ErrorLogPath));
        store.WriteWinIniSetting(SettingsStore::kSection, u"tips"_s, u"1"_s);
        QFile f(home.iniPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), "[glimmerbook]\ntips=1\n"_ba);
    }

    void valueWithLineBreakStaysOneLine()
    {
        TestHome home;
        const SettingsStore store(home.iniPath(), ErrorLog(home.values().ErrorLogPath));
        store.WriteWinIniSetting(SettingsStore::kSection, u"tips"_s, u"1\n[evil]\nx=2"_s);
        store.WriteWinIniSetting(SettingsStore::kSection, u"registered"_s, u"1"_s);
        QCOMPARE(store.ReadWinIniSetting(SettingsStore::kSection, u"tips"_s), u"1 [evil] x=2"_s);
        QCOMPARE(store.ReadWinIniSetting(SettingsStore::kSection, u"registered"_s), u"1"_s);
    }

    void unreadableFileIsLoggedNotThrown()
    {
        TestHome home;
        const QString folder = home.makeFolder(u"locked"_s);
        const QString ini = folder + u"/win.ini"_s;
        writeFile(ini, "[glimmerbook]\ntips=1\n"_ba);
        QFile::setPermissions(ini, QFileDevice::WriteOwner);
        const QString logFolder = home.makeFolder(u"log"_s);
        QFile::setPermissions(logFolder, QFileDevice::Permissions(0x7777));
        const QString logPath = logFolder + u"/errorlog.log"_s;
        makeTraversable(home.root(), folder);

        QVERIFY(runUnprivileged([&] {
            const SettingsStore store(ini, ErrorLog(logPath));
            return store.ReadWinIniSetting(SettingsStore::kSection, u"tips"_s).isEmpty();
        }));
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains(
            "Error in [clsMain - ReadWinIniSetting] Permission denied - 70"));
    }

    void fullDiskKeepsTheOldFile()
    {
        SmallDisk disk(64);
        if (!disk.isMounted()) {
            QSKIP("a small file system cannot be mounted here");
        }
        TestHome home;
        const QString ini = disk.path() + u"/win.ini"_s;
        writeFile(ini, "[glimmerbook]\ntips=1\n"_ba);
        disk.fill();
        const SettingsStore store(ini, ErrorLog(home.values().ErrorLogPath));
        store.WriteWinIniSetting(SettingsStore::kSection, u"registered"_s, QString(4000, u'1'));
        QCOMPARE(store.ReadWinIniSetting(SettingsStore::kSection, u"tips"_s), u"1"_s);
        QVERIFY(home.logText().contains("Error in [clsMain - WriteWinIniSetting] "));
    }

    void writeToReadOnlyFolderIsLogged()
    {
        TestHome home;
        const SettingsStore store(u"/proc/glimmerbook/win.ini"_s,
                                  ErrorLog(home.values().ErrorLogPath));
        store.WriteWinIniSetting(SettingsStore::kSection, u"tips"_s, u"1"_s);
        QVERIFY(home.logText().contains("Error in [clsMain - WriteWinIniSetting] "));
    }

    // Random text must never crash the reader, and a written value must always read back.
    void fuzzedFilesStayReadable()
    {
        QRandomGenerator rng(20041208);
        const QByteArray alphabet("[]=;# \t\r\nabcglimmerbookTIPS01\xc3\xa9\x00", 33);
        for (int round = 0; round < 2000; ++round) {
            QByteArray text;
            const int len = rng.bounded(120);
            for (int i = 0; i < len; ++i) {
                text.append(alphabet[rng.bounded(alphabet.size())]);
            }
            (void)IniText::value(text, u"glimmerbook"_s, u"tips"_s);
            const QString v = QString::number(rng.bounded(1000));
            const QByteArray written = IniText::withValue(text, u"glimmerbook"_s, u"tips"_s, v);
            const std::optional<QString> back =
                IniText::value(written, u"glimmerbook"_s, u"tips"_s);
            QVERIFY2(back && *back == v, text.toPercentEncoding().constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
