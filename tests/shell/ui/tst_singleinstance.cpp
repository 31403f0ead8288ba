// The program as processes: one instance per program home, a second start hands over and ends,
// closing hides, Shutdown ends, and a killed instance's socket does not block the next start.
// The processes run with GLIMMERBOOK_UNATTENDED=1 (start-up dialogs close at once) and
// GLIMMERBOOK_TEST_CONTROL=1 (the instance answers "state", "close" and "shutdown").

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include "singleinstance.h"
#include "testhome.h"

namespace {
constexpr int kStartTimeoutMs = 30000;
}

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartShowsFirstAndEnds();
    void killedInstanceDoesNotBlockNextStart();

private:
    struct Instance
    {
        TestHome home;
        QString name = SingleInstance::serverNameFor(home.home());

        void start(QProcess &process) const
        {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("GLIMMERBOOK_HOME"), home.home());
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.root() + QStringLiteral("/config"));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.insert(QStringLiteral("GLIMMERBOOK_UNATTENDED"), QStringLiteral("1"));
            env.insert(QStringLiteral("GLIMMERBOOK_TEST_CONTROL"), QStringLiteral("1"));
            process.setProcessEnvironment(env);
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process.start(QStringLiteral(GLIMMERBOOK_EXE), {});
        }

        QString ask(const QString &request) const
        {
            return SingleInstance::ask(name, request, 2000).value_or(QStringLiteral("no instance"));
        }
    };
};

void TestSingleInstance::secondStartShowsFirstAndEnds()
{
    Instance instance;
    QProcess first;
    instance.start(first);
    QVERIFY(first.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(instance.ask("state"), QStringLiteral("visible"), kStartTimeoutMs);

    // Closing hides the window; the program keeps running.
    QCOMPARE(instance.ask("close"), QStringLiteral("closing"));
    QTRY_COMPARE_WITH_TIMEOUT(instance.ask("state"), QStringLiteral("hidden"), kStartTimeoutMs);
    QCOMPARE(first.state(), QProcess::Running);

    QProcess second;
    instance.start(second);
    QVERIFY(second.waitForFinished(kStartTimeoutMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(instance.ask("state"), QStringLiteral("visible maximized"));
    QCOMPARE(first.state(), QProcess::Running);

    // Shutdown ends the program.
    QCOMPARE(instance.ask("shutdown"), QStringLiteral("ending"));
    QVERIFY(first.waitForFinished(kStartTimeoutMs));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(instance.ask("state"), QStringLiteral("no instance"));
}

void TestSingleInstance::killedInstanceDoesNotBlockNextStart()
{
    Instance instance;
    const QString socketFile = QDir::isAbsolutePath(instance.name)
        ? instance.name
        : QDir::tempPath() + QLatin1Char('/') + instance.name;
    {
        QProcess killed;
        instance.start(killed);
        QTRY_COMPARE_WITH_TIMEOUT(instance.ask("state"),
                                  QStringLiteral("visible"),
                                  kStartTimeoutMs);
        killed.kill();
        QVERIFY(killed.waitForFinished());
    }
    QVERIFY2(QFile::exists(socketFile), "the killed instance leaves its socket behind");

    QProcess next;
    instance.start(next);
    QTRY_COMPARE_WITH_TIMEOUT(instance.ask("state"), QStringLiteral("visible"), kStartTimeoutMs);
    QCOMPARE(next.state(), QProcess::Running);
    QCOMPARE(instance.ask("shutdown"), QStringLiteral("ending"));
    QVERIFY(next.waitForFinished(kStartTimeoutMs));
    QCOMPARE(next.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
