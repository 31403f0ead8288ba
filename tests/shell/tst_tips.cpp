#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include "errorlog.h"
#include "testhome.h"
#include "tips.h"

using namespace Qt::StringLiterals;

class TestTips : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableKeepsItsTextsAndQuirks()
    {
        const QStringList tips = LoadTipOfTheDay();
        QCOMPARE(tips.size(), 14);

        // The first tip keeps "backgound" and the quote that is never closed.
        QCOMPARE(
            tips.at(0),
            u"To change the background of the Thumbnail Viewer window - Right Click on the "
            "backgound of the window and select 'Change Background Color from the Popup Menu"_s);
        QVERIFY(tips.at(4).startsWith(u"Photo's off a 2 megapixel or higher camera"_s));
        QVERIFY(tips.at(4).contains(u"resize these photo's for email"_s));
        QVERIFY(tips.at(3).endsWith(u"Enter your notes and press \"Save Notes\"."_s));
        QCOMPARE(tips.at(11),
                 u"Always keep your original photo's safe. If you need to resize them, then make "
                 "copies as resized images print poorly at Photo Labs."_s);
        QVERIFY(tips.at(13).startsWith(u"To copy a photo from your webpage"_s));
        QVERIFY(tips.at(13).endsWith(
            u"select \"Paste\". A thumbnail will be created of the New Picture."_s));
        for (const QString &tip : tips) {
            QVERIFY2(!tip.isEmpty() && tip == tip.trimmed(), qPrintable(tip));
        }
    }

    void drawMapsToEveryIndexEvenly_data()
    {
        QTest::addColumn<double>("draw");
        QTest::addColumn<int>("index");

        QTest::newRow("zero") << 0.0 << 1;
        QTest::newRow("just below 1/14") << (1.0 / 14.0) - 1e-12 << 1;
        QTest::newRow("1/14") << 1.0 / 14.0 + 1e-12 << 2;
        QTest::newRow("middle") << 0.5 << 8;
        QTest::newRow("just below one") << 0.9999999999 << 14;
    }
    void drawMapsToEveryIndexEvenly()
    {
        QFETCH(double, draw);
        QFETCH(int, index);
        QCOMPARE(tipIndexForDraw(draw, 14), index);
    }

    void randomTipIsAlwaysFromTheTable()
    {
        TestHome home;
        const ErrorLog log(home.values().ErrorLogPath);
        const QStringList tips = LoadTipOfTheDay();
        QRandomGenerator random(20040817);
        QSet<QString> seen;
        for (int i = 0; i < 2000; ++i) {
            const QString tip = ShowTipOfTheDay(tips, log, random);
            QVERIFY(tips.contains(tip));
            seen.insert(tip);
        }
        // Every tip can come first.
        QCOMPARE(seen.size(), 14);
        // The program's own generator, seeded afresh, stays in the table as well.
        QVERIFY(tips.contains(ShowTipOfTheDay(tips, log)));
        QVERIFY(home.logText().isEmpty());
    }

    void emptyTableIsLogged()
    {
        TestHome home;
        const ErrorLog log(home.values().ErrorLogPath);
        QCOMPARE(ShowTipOfTheDay({}, log), QString());
        QVERIFY(home.logText().contains(
            "Error in [modmain - ShowTipOfTheDay] Subscript out of range - 9"));
    }

    void sixteenPressesOfNextTip()
    {
        // Tips 1 to 14, then a press that changes nothing, then tip 1 again.
        QString tag;
        QList<int> shown;
        for (int press = 1; press <= 16; ++press) {
            const NextTipStep step = nextTipStep(tag, 14);
            shown.append(step.tipIndex);
            tag = step.tag;
        }
        const QList<int> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 1};
        QCOMPARE(shown, expected);
        QCOMPARE(tag, u"2"_s);
    }

    void oddPositionTags_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("tipIndex");
        QTest::addColumn<QString>("nextTag");

        QTest::newRow("empty starts at one") << u""_s << 1 << u"2"_s;
        QTest::newRow("last") << u"14"_s << 14 << u"15"_s;
        QTest::newRow("past the end") << u"15"_s << 0 << u""_s;
        QTest::newRow("zero") << u"0"_s << 0 << u""_s;
        QTest::newRow("leading digits") << u"3x"_s << 3 << u"4"_s;
        QTest::newRow("not a number") << u"abc"_s << 0 << u""_s;
        QTest::newRow("huge") << u"99999999999999"_s << 0 << u""_s;
    }
    void oddPositionTags()
    {
        QFETCH(QString, tag);
        QFETCH(int, tipIndex);
        QFETCH(QString, nextTag);
        const NextTipStep step = nextTipStep(tag, 14);
        QCOMPARE(step.tipIndex, tipIndex);
        QCOMPARE(step.tag, nextTag);
    }
};

QTEST_GUILESS_MAIN(TestTips)
#include "tst_tips.moc"
