#include <functional>
#include <memory>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "appstate.h"
#include "dialogs.h"
#include "errorlog.h"
#include "frmtips.h"
#include "mdimain.h"
#include "program.h"
#include "settingsstore.h"
#include "showingdialogs.h"
#include "testhome.h"
#include "tips.h"

using namespace Qt::StringLiterals;

namespace {

struct Fixture
{
    Fixture()
        : state(home.makeState())
        , program(*state, dialogs)
    {}

    /// The stored "tips" setting, read back from the settings file by a store of its own.
    QString storedTips() const
    {
        return SettingsStore(home.iniPath()).ReadWinIniSetting(u"glimmerbook"_s, u"tips"_s);
    }

    TestHome home;
    std::unique_ptr<AppState> state;
    ShowingDialogs dialogs;
    Program program;
};

void press(QWidget *control)
{
    QVERIFY(control);
    QTest::mouseClick(control, Qt::LeftButton);
}

} // namespace

class TestFrmTips : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlsAndCaptions()
    {
        Fixture f;
        frmTips tips(f.program);
        QCOMPARE(tips.windowTitle(), u" Glimmerbook Tip of The Day"_s);

        const QList<std::pair<QString, QString>> captions{
            {u"Label1"_s, u"Did You Know ?"_s},
            {u"pnlView"_s, u"View Photos from an Existing Album"_s},
            {u"Label2"_s, u"Glimmerbook - Sponsor of the Miss Glimmerbook America Contest"_s},
        };
        for (const auto &[name, caption] : captions) {
            auto *label = tips.findChild<QLabel *>(name);
            QVERIFY2(label, qPrintable(name));
            QCOMPARE(label->text(), caption);
        }
        QCOMPARE(tips.findChild<QPushButton *>(u"cmdNext"_s)->text(), u"&Next Tip >>"_s);
        QCOMPARE(tips.findChild<QPushButton *>(u"cmdClose"_s)->text(), u"&Close"_s);
        QCOMPARE(tips.findChild<QCheckBox *>(u"chkShowTips"_s)->text(),
                 u"Don't Show Tips on Startup"_s);
        QVERIFY(!tips.findChild<QPushButton *>(u"cmdOpen"_s)->icon().isNull());
        QVERIFY(tips.findChild<QLabel *>(u"lblTip1"_s));

        // The first tip is the one start-up drew, shown whole and as plain text.
        const QString first = ShowTipOfTheDay(LoadTipOfTheDay(), f.state->log);
        tips.setTipText(first);
        QCOMPARE(tips.lblTip1()->text(), first);
        QCOMPARE(tips.lblTip1()->textFormat(), Qt::PlainText);
    }

    void loadShowsTheStoredChoice_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("ticked");

        QTest::newRow("tips off") << u"0"_s << true;
        QTest::newRow("tips on") << u"1"_s << false;
        QTest::newRow("missing") << QString() << false;
        QTest::newRow("other value") << u"no"_s << false;
    }
    void loadShowsTheStoredChoice()
    {
        QFETCH(QString, stored);
        QFETCH(bool, ticked);

        Fixture f;
        if (!stored.isNull()) {
            f.state->settings.WriteWinIniSetting(u"glimmerbook"_s, u"tips"_s, stored);
        }
        frmTips tips(f.program);
        QCOMPARE(tips.chkShowTips()->isChecked(), ticked);
    }

    void sixteenPressesOfNextTip()
    {
        Fixture f;
        frmTips tips(f.program);
        const QStringList table = LoadTipOfTheDay();
        tips.setTips(table);
        tips.setTipText(table.at(6));
        tips.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tips));

        QStringList shown;
        for (int i = 0; i < 16; ++i) {
            press(tips.cmdNext());
            shown.append(tips.lblTip1()->text());
        }
        // Tips 1 to 14 whatever tip start-up chose, then a press that changes nothing, then tip 1.
        QCOMPARE(shown.mid(0, 14), table);
        QCOMPARE(shown.at(14), table.at(13));
        QCOMPARE(shown.at(15), table.at(0));
        QCOMPARE(tips.cmdNextTag, u"2"_s);
        QVERIFY(tips.isVisible());

        // A window made afresh starts from tip 1 again.
        frmTips again(f.program);
        QCOMPARE(again.cmdNextTag, QString());
        press(again.cmdNext());
        QCOMPARE(again.lblTip1()->text(), table.at(0));
    }

    void closeStoresOnlyWhenTicked_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("after");

        QTest::newRow("ticked") << u"1"_s << true << u"0"_s;
        QTest::newRow("unticked keeps on") << u"1"_s << false << u"1"_s;
        QTest::newRow("unticked keeps missing") << QString() << false << QString();
        QTest::newRow("untick a stored off") << u"0"_s << false << u"0"_s;
    }
    void closeStoresOnlyWhenTicked()
    {
        QFETCH(QString, before);
        QFETCH(bool, tick);
        QFETCH(QString, after);

        Fixture f;
        if (!before.isNull()) {
            f.state->settings.WriteWinIniSetting(u"glimmerbook"_s, u"tips"_s, before);
        }
        frmTips tips(f.program);
        f.dialogs.handlers.append([&](QDialog &) {
            if (tips.chkShowTips()->isChecked() != tick) {
                press(tips.chkShowTips());
            }
            press(tips.cmdClose());
        });
        tips.showModal();

        QVERIFY(!tips.isVisible());
        QCOMPARE(f.storedTips(), after);
        if (after.isNull()) {
            QVERIFY(!QFile::exists(f.home.iniPath()));
        }
        QVERIFY(f.home.logText().isEmpty());
    }

    void openingAnAlbumClosesTheTipFirst_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("panel") << u"pnlView"_s;
        QTest::newRow("button") << u"cmdOpen"_s;
    }
    void openingAnAlbumClosesTheTipFirst()
    {
        QFETCH(QString, control);

        Fixture f;
        f.state->settings.WriteWinIniSetting(u"glimmerbook"_s, u"tips"_s, u"1"_s);
        frmTips tips(f.program);
        QList<bool> tipVisibleAtOpen;
        f.program.commands.openAlbum = [&] {
            tipVisibleAtOpen.append(tips.isVisible());
        };
        f.dialogs.handlers.append([&](QDialog &) {
            press(tips.chkShowTips()); // ticked, but only Close stores the choice
            press(tips.findChild<QWidget *>(control));
        });
        tips.showModal();

        QCOMPARE(tipVisibleAtOpen, QList<bool>{false});
        QCOMPARE(f.storedTips(), u"1"_s);
    }
};

QTEST_MAIN(TestFrmTips)
#include "tst_frmtips.moc"
