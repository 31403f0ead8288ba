#include <stdexcept>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "frmmsgbox.h"
#include "frmsplash.h"
#include "shellfixture.h"
#include "shelltexts.h"
#include "startupsequence.h"

class TestStartupSequence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstStartOnFreshHome();
    void laterStartWithTipsOffShowsNoneOfIt();
    void failingStepDoesNotStopStartup();
    void splashClosesItself_data();
    void splashClosesItself();

private:
    static QString setting(const AppState &state, const char *key)
    {
        return state.settings.ReadWinIniSetting(SettingsStore::kSection, QLatin1String(key));
    }
};

void TestStartupSequence::firstStartOnFreshHome()
{
    ShellFixture f;
    MDIMain &main = *f.main;
    QStringList events;
    f.program.commands.cataloguePromoPictures = [&events] {
        events << "catalogue";
    };
    f.program.commands.showOrgWizard = [&events] {
        events << "wizard";
    };

    f.dialogs.onExec(ScriptedDialogs::inspect(
        [&](QDialog &dialog) {
            auto &splash = static_cast<frmSplash &>(dialog);
            QVERIFY(main.isVisible());
            QCOMPARE(splash.lblPlatform()->text(), QStringLiteral("Windows 9x/XP/2000"));
            QCOMPARE(splash.lblVersion()->text(), versionText());
            events << "splash";
        },
        ScriptedDialogs::click(QStringLiteral("SSPanel1"))));
    f.dialogs.onExec(ScriptedDialogs::inspect(
        [&](QDialog &) {
            QVERIFY(main.isVisible());
            events << "tip";
        },
        ScriptedDialogs::click(QStringLiteral("cmdClose"))));
    f.dialogs.onExec(ScriptedDialogs::inspect(
        [&](QDialog &dialog) {
            auto &box = static_cast<frmMsgBox &>(dialog);
            QCOMPARE(box.Tag, QStringLiteral("noactionneeded"));
            QVERIFY(box.isHelpBold());
            events << "notice";
        },
        ScriptedDialogs::click(QStringLiteral("cmdCancel"))));
    f.dialogs.onExec(ScriptedDialogs::inspect(
        [&](QDialog &dialog) {
            auto &box = static_cast<frmMsgBox &>(dialog);
            QCOMPARE(box.Tag, QStringLiteral("runwizard"));
            QVERIFY(box.isHelpBold());
            events << "offer";
        },
        ScriptedDialogs::click(QStringLiteral("cmdOK"))));

    runStartupSequence(f.program, main, {QDate(2004, 8, 17)});

    // The offer's OK runs the Organize Wizard command, which finds no other window open.
    QCOMPARE(events, QStringList({"splash", "tip", "notice", "catalogue", "offer", "wizard"}));
    QCOMPARE(f.dialogs.execNames(),
             QStringList({"frmSplash", "frmTips", "frmMsgBox", "frmMsgBox"}));
    QVERIFY(f.program.tipTable.contains(f.dialogs.shown.at(1).text));

    const ScriptedDialogs::Shown notice = f.dialogs.shown.at(2);
    QCOMPARE(notice.text, ShellTexts::firstRunNotice());
    QCOMPARE(notice.texts.value("cmdCancel"), QStringLiteral("OK"));
    for (const char *hidden : {"cmdOK", "txtEntry", "lblMsg"}) {
        QVERIFY2(notice.hidden.contains(QLatin1String(hidden)), hidden);
    }
    const ScriptedDialogs::Shown offer = f.dialogs.shown.at(3);
    QCOMPARE(offer.text, ShellTexts::runWizardOffer());
    QVERIFY(offer.hidden.contains("txtEntry"));
    QVERIFY(offer.hidden.contains("lblMsg"));
    QVERIFY(!offer.hidden.contains("cmdOK"));

    QCOMPARE(setting(*f.state, "tips"), QStringLiteral("1"));
    QCOMPARE(setting(*f.state, "registered"), QStringLiteral("1"));
    QCOMPARE(setting(*f.state, "NewInstall"), QStringLiteral("1"));
    QVERIFY(f.home.logText().contains("EXIF reader is built in (exiv2 "));

    QVERIFY(main.windowTitle().endsWith(QStringLiteral("Aug-17-2004")));
    QCOMPARE(main.windowTitle(), mainWindowCaption(QDate(2004, 8, 17)));
    QVERIFY(!main.menuItem(QStringLiteral("mnuSave"))->isVisible());
    QVERIFY(main.menuItem(QStringLiteral("mnuHelpTips"))->isChecked());
    auto *zoom = main.findChild<QComboBox *>(QStringLiteral("cboZoom"));
    QStringList zooms;
    for (int i = 0; i < zoom->count(); ++i) {
        zooms << zoom->itemText(i);
    }
    QCOMPARE(zooms, QStringList({"25%", "50%", "75%", "100%", "200%"}));
    QCOMPARE(f.state->startup.ReservedPanelHeight,
             QString::number(main.reservedPanelHeightTwips()));
    QVERIFY(main.reservedPanelHeightTwips() > 800);
    QVERIFY(main.isVisible());
    QVERIFY(!f.program.msgBox.isLoaded());
    QVERIFY(!f.program.splashWindow.isLoaded());
    QVERIFY(!f.program.tipsWindow.isLoaded());
}

void TestStartupSequence::laterStartWithTipsOffShowsNoneOfIt()
{
    TestHome home;
    {
        const auto state = home.makeState();
        ScriptedDialogs dialogs;
        Program program(*state, dialogs);
        MDIMain main(program);
        runStartupSequence(program, main);
        QCOMPARE(dialogs.execNames(),
                 QStringList({"frmSplash", "frmTips", "frmMsgBox", "frmMsgBox"}));
        state->settings.WriteWinIniSetting(SettingsStore::kSection,
                                           QStringLiteral("tips"),
                                           QStringLiteral("0"));
    }
    const QByteArray logAfterFirst = home.logText();

    const auto state = home.makeState();
    ScriptedDialogs dialogs;
    Program program(*state, dialogs);
    MDIMain main(program);
    int catalogued = 0;
    program.commands.cataloguePromoPictures = [&catalogued] {
        ++catalogued;
    };
    runStartupSequence(program, main);

    QCOMPARE(dialogs.execNames(), QStringList{"frmSplash"});
    QCOMPARE(catalogued, 0);
    QVERIFY(!main.menuItem(QStringLiteral("mnuHelpTips"))->isChecked());
    QCOMPARE(home.logText(), logAfterFirst);
    QVERIFY(main.isVisible());
}

void TestStartupSequence::failingStepDoesNotStopStartup()
{
    ShellFixture f;
    f.program.commands.cataloguePromoPictures = [] {
        throw std::runtime_error("disk on fire");
    };

    runStartupSequence(f.program, *f.main);

    QVERIFY(f.home.logText().contains("Error in [MDIMain - MDIForm_Load] disk on fire - 5"));
    QCOMPARE(f.dialogs.execNames(),
             QStringList({"frmSplash", "frmTips", "frmMsgBox", "frmMsgBox"}));
    QCOMPARE(f.dialogs.shown.last().text, ShellTexts::runWizardOffer());
    QVERIFY(f.main->isVisible());
}

void TestStartupSequence::splashClosesItself_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("timer") << "timer";
    QTest::newRow("key") << "key";
    QTest::newRow("click on the panel") << "click";
}

void TestStartupSequence::splashClosesItself()
{
    QFETCH(QString, how);

    frmSplash splash;
    auto *timer = splash.findChild<QTimer *>(QStringLiteral("tmrSplash"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 5000);
    QVERIFY(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"))
                .match(splash.lblVersion()->text())
                .hasMatch());
    QCOMPARE(splash.findChild<QLabel *>(QStringLiteral("pnlWebAddress"))->text(),
             vendorWebAddress()
                 + QStringLiteral(".  Professional Photo Management Suite For MS Windows."));

    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    if (how == u"timer") {
        splash.setSplashInterval(20);
    } else if (how == u"key") {
        QTest::keyClick(&splash, Qt::Key_Space);
    } else {
        QTest::mouseClick(splash.findChild<QWidget *>(QStringLiteral("SSPanel1")), Qt::LeftButton);
    }
    QTRY_VERIFY(!splash.isVisible());
    QCOMPARE(splash.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestStartupSequence)
#include "tst_startupsequence.moc"
