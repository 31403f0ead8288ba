#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "errorlog.h"
#include "testhome.h"
#include "unprivileged.h"

using namespace Qt::StringLiterals;

class TestErrorLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesHaveTheirShapes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("common") << ErrorLog::errorLine(u"modMain - ListFiles",
                                                       Failures::pathNotFound())
                                << u"Error in [modMain - ListFiles] Path not found - 76"_s;
        QTest::newRow("empty description")
            << ErrorLog::errorLine(u"clsMain - ReadWinIniSetting", Failure{5, {}})
            << u"Error in [clsMain - ReadWinIniSetting]  - 5"_s;
        QTest::newRow("negative number")
            << ErrorLog::errorLine(u"x - y", Failure{-2147467259, u"Unspecified"_s})
            << u"Error in [x - y] Unspecified - -2147467259"_s;
        QTest::newRow("ftp")
            << ErrorLog::ftpErrorLine(u"FrmFTP_cmdConnect_Click",
                                      Failure{35750, u"Unable to connect"_s})
            << u"Error occurred in FrmFTP_cmdConnect_Click : Error No. 35750 : Error Desc --> Unable to connect"_s;
    }

    void linesHaveTheirShapes()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(line, expected);
    }

    void entriesAreSeparatedByAnEmptyLine()
    {
        TestHome home;
        QVERIFY(!QFile::exists(home.values().ErrorLogPath));
        const ErrorLog log(home.values().ErrorLogPath);
        log.error(u"modMain - ListFiles", Failures::pathNotFound());
        log.info(u"Café, naïve & 'quoted'; #1"_s);

        const QString text = QString::fromLocal8Bit(home.logText());
        static const QRegularExpression shape(
            uR"(^(\S.*) Error in \[modMain - ListFiles\] Path not found - 76\r\n\r\n(\S.*) Café, naïve & 'quoted'; #1\r\n\r\n$)"_s);
        const QRegularExpressionMatch m = shape.match(text);
        QVERIFY2(m.hasMatch(), qPrintable(text));
        QVERIFY(!m.captured(1).isEmpty());
    }

    void messageBecomesTheEntry()
    {
        TestHome home;
        QString message = u"hello"_s;
        WriteToErrorFile(message, home.values().ErrorLogPath);
        QVERIFY(message.endsWith(u" hello\r\n"_s));
        QCOMPARE(home.logText(), (message + u"\r\n"_s).toLocal8Bit());
    }

    void unwritableLogIsSilent()
    {
        TestHome home;
        // A folder where the log should be: it can be neither opened nor written, as root too.
        const QString path = home.makeFolder(u"errorlog.log"_s);
        const ErrorLog log(path);
        log.error(u"modMain - ListFiles", Failures::pathNotFound());
        QVERIFY(QFileInfo(path).isDir());

        ErrorLog missing(u"/nonexistent-folder/errorlog.log"_s);
        missing.info(u"dropped"_s);
        QVERIFY(!QFile::exists(missing.path()));
    }

    void readOnlyLogGetsNoEntry()
    {
        TestHome home;
        const QString path = home.values().ErrorLogPath;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kept\r\n");
        f.close();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther);
        makeTraversable(home.root(), path);
        QVERIFY(runUnprivileged([&] {
            ErrorLog(path).info(u"nothing"_s);
            return true;
        }));
        QCOMPARE(home.logText(), "kept\r\n"_ba);
    }
};

QTEST_GUILESS_MAIN(TestErrorLog)
#include "tst_errorlog.moc"
