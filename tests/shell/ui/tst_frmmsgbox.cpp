#include <functional>
#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include "appstate.h"
#include "dialogs.h"
#include "frmmsgbox.h"
#include "mdimain.h"
#include "program.h"
#include "showingdialogs.h"
#include "testhome.h"

using namespace Qt::StringLiterals;

namespace {

void press(QPushButton *button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

/// A program on a fresh home whose cross-window commands write what they were asked into calls,
/// each marked with whether the prompt dialog was still loaded at that moment.
struct Fixture
{
    Fixture()
        : state(home.makeState())
        , program(*state, dialogs)
    {
        auto record = [this](const QString &what) {
            calls.append(what + (program.msgBox.isLoaded() ? u" [loaded]"_s : QString()));
        };
        Program::Commands &c = program.commands;
        c.clearWizardAlbumName = [record] {
            record(u"clearWizardAlbumName"_s);
        };
        c.unloadAlbumWindow = [record] {
            record(u"unloadAlbumWindow"_s);
        };
        c.showWizardAlbumPage = [record](const QString &folder) {
            record(u"showWizardAlbumPage "_s + folder);
        };
        c.resetWizardToFirstStep = [record](bool runFolderChange) {
            record(u"resetWizardToFirstStep "_s + (runFolderChange ? u"true"_s : u"false"_s));
        };
        c.openAlbumPickerForRename = [this, record] {
            record(u"openAlbumPickerForRename "_s + state->RenameCategory);
        };
        c.showOrgWizard = [record] {
            record(u"showOrgWizard"_s);
        };
        c.takeFtpProfileEditorMark = [this] {
            return std::exchange(ftpEditorMark, false);
        };
        c.showFtpProfileEditor = [record] {
            record(u"showFtpProfileEditor"_s);
        };
    }
    ~Fixture()
    {
        program.msgBox.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// Shows the dialog modally with mode and has handler answer it.
    void answer(const QString &mode, const ShowingDialogs::Handler &handler)
    {
        frmMsgBox &box = program.msgBox.load();
        box.Tag = mode;
        dialogs.handlers.append(handler);
        box.showModal();
    }

    TestHome home;
    std::unique_ptr<AppState> state;
    ShowingDialogs dialogs;
    Program program;
    QStringList calls;
    bool ftpEditorMark = false;
};

frmMsgBox &asBox(QDialog &dialog)
{
    return static_cast<frmMsgBox &>(dialog);
}

} // namespace

class TestFrmMsgBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsInItsLoadState()
    {
        Fixture f;
        frmMsgBox &box = f.program.msgBox.load();

        auto *panel = box.findChild<QLabel *>(u"SSPanel2"_s);
        QVERIFY(panel);
        QCOMPARE(panel->text(), u"Glimmerbook "_s);
        QCOMPARE(box.findChild<QTextEdit *>(u"txtHelpMsg"_s), box.txtHelpMsg());
        QCOMPARE(box.findChild<QLabel *>(u"lblMsg"_s), box.lblMsg());
        QCOMPARE(box.findChild<QLineEdit *>(u"txtEntry"_s), box.txtEntry());
        QCOMPARE(box.findChild<QProgressBar *>(u"pgBar"_s), box.pgBar());
        QCOMPARE(box.findChild<QPushButton *>(u"cmdOK"_s), box.cmdOK());
        QCOMPARE(box.findChild<QPushButton *>(u"cmdCancel"_s), box.cmdCancel());
        QCOMPARE(box.findChild<QPushButton *>(u"cmdWebPage"_s), box.cmdWebPage());
        QVERIFY(box.windowTitle().isEmpty());

        auto checkLoadState = [](frmMsgBox &b) {
            QCOMPARE(b.helpText(), QString());
            QCOMPARE(b.lblMsg()->text(), u"##"_s);
            QCOMPARE(b.txtEntry()->text(), QString());
            QCOMPARE(b.cmdOK()->text(), u"OK"_s);
            QCOMPARE(b.cmdCancel()->text(), u"Cancel"_s);
            QVERIFY(!b.lblMsg()->isHidden());
            QVERIFY(!b.txtEntry()->isHidden());
            QVERIFY(!b.cmdOK()->isHidden());
            QVERIFY(!b.cmdCancel()->isHidden());
            QVERIFY(b.pgBar()->isHidden());
            QVERIFY(b.cmdWebPage()->isHidden());
            QCOMPARE(b.Tag, QString());
            QCOMPARE(b.cmdCancelTag, QString());
            QCOMPARE(b.cmdWebPageTag, QString());
        };
        checkLoadState(box);

        // Change everything, unload: the next load is back to the load state.
        box.setHelpText(u"\nSomething"_s);
        box.lblMsg()->setText(u"Enter the Category for the Photos:"_s);
        box.txtEntry()->setText(u"Beach"_s);
        box.cmdCancel()->setText(u"NO"_s);
        box.cmdOK()->hide();
        box.pgBar()->show();
        box.cmdWebPage()->show();
        box.Tag = u"categorize"_s;
        box.cmdCancelTag = u"wizardend"_s;
        box.cmdWebPageTag = u"/tmp/page.htm"_s;
        QPointer<frmMsgBox> old = &box;
        f.program.msgBox.unload();
        QVERIFY(!f.program.msgBox.isLoaded());
        QTRY_VERIFY(old.isNull());
        checkLoadState(f.program.msgBox.load());
    }

    void buttonsAnswerByMode_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("cancelTagBefore");
        QTest::addColumn<bool>("mediaPrompt");
        QTest::addColumn<bool>("manualDownload");
        QTest::addColumn<bool>("ftpEditorMark");
        QTest::addColumn<QString>("button");
        // Expected: still loaded (then hidden), the tags, what was asked of other windows.
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("cancelTag");
        QTest::addColumn<QStringList>("calls");

        const QStringList none;
        const QStringList editor{u"showFtpProfileEditor"_s};

        // clang-format off
        QTest::newRow("notice, Cancel unloads even during a download") << u"noactionneeded"_s << u""_s << true << false << false << u"Cancel"_s << false << u""_s << u""_s << none;
        QTest::newRow("closewindows OK") << u"closewindows"_s << u""_s << false << false << false << u"OK"_s << true << u"OK"_s << u""_s << none;
        QTest::newRow("closewindows Cancel") << u"closewindows"_s << u""_s << true << false << false << u"Cancel"_s << true << u"NO"_s << u""_s << none;
        QTest::newRow("categorize OK") << u"categorize"_s << u""_s << false << false << false << u"OK"_s << true << u"OK"_s << u""_s << none;
        QTest::newRow("categorize Cancel") << u"categorize"_s << u""_s << false << false << false << u"Cancel"_s << true << u"NO"_s << u""_s << none;
        QTest::newRow("media question OK") << u"mediaconnection"_s << u""_s << true << false << false << u"OK"_s << false << u""_s << u""_s << none;
        QTest::newRow("media question Cancel") << u"mediaconnection"_s << u""_s << true << false << false << u"Cancel"_s << true << u"mediaconnection"_s << u"cancel"_s << none;
        QTest::newRow("download progress Cancel") << u""_s << u""_s << false << true << false << u"Cancel"_s << true << u""_s << u"cancel"_s << none;
        QTest::newRow("download question OK") << u""_s << u""_s << false << true << false << u"OK"_s << false << u""_s << u""_s << none;
        QTest::newRow("plain message Cancel") << u""_s << u""_s << false << false << false << u"Cancel"_s << false << u""_s << u""_s << none;
        QTest::newRow("plain message OK") << u""_s << u""_s << false << false << false << u"OK"_s << false << u""_s << u""_s << none;
        QTest::newRow("profile editor notice OK") << u""_s << u""_s << false << false << true << u"OK"_s << false << u""_s << u""_s << editor;
        QTest::newRow("profile editor notice Cancel") << u""_s << u""_s << false << false << true << u"Cancel"_s << false << u""_s << u""_s << editor;
        QTest::newRow("download comes before the profile editor") << u""_s << u""_s << false << true << true << u"Cancel"_s << true << u""_s << u"cancel"_s << none;
        QTest::newRow("album Cancel") << u"album"_s << u""_s << false << false << false << u"Cancel"_s << false << u""_s << u""_s << none;
        QTest::newRow("runwizard Cancel during a download") << u"runwizard"_s << u""_s << true << false << false << u"Cancel"_s << true << u"runwizard"_s << u"cancel"_s << none;
        QTest::newRow("wizard end Cancel")
            << u"wizard#/photos/trip"_s << u"wizardend"_s << true << false << false << u"Cancel"_s << false << u""_s << u""_s
            << QStringList{u"resetWizardToFirstStep false [loaded]"_s, u"unloadAlbumWindow"_s};
        QTest::newRow("wizard end OK, folder cut at the next #")
            << u"wizard#/a#b"_s << u"wizardend"_s << false << false << false << u"OK"_s << false << u""_s << u""_s
            << QStringList{u"clearWizardAlbumName [loaded]"_s, u"unloadAlbumWindow [loaded]"_s, u"showWizardAlbumPage /a"_s, u"resetWizardToFirstStep true"_s};
        // clang-format on
    }
    void buttonsAnswerByMode()
    {
        QFETCH(QString, mode);
        QFETCH(QString, cancelTagBefore);
        QFETCH(bool, mediaPrompt);
        QFETCH(bool, manualDownload);
        QFETCH(bool, ftpEditorMark);
        QFETCH(QString, button);
        QFETCH(bool, loaded);
        QFETCH(QString, tag);
        QFETCH(QString, cancelTag);
        QFETCH(QStringList, calls);

        Fixture f;
        f.state->MediaPromptActive = mediaPrompt;
        f.state->ManualDownloadActive = manualDownload;
        f.ftpEditorMark = ftpEditorMark;
        QPointer<frmMsgBox> box = &f.program.msgBox.load();
        box->cmdCancelTag = cancelTagBefore;
        f.answer(mode, [&](QDialog &d) {
            press(button == u"OK" ? asBox(d).cmdOK() : asBox(d).cmdCancel());
        });

        QCOMPARE(f.program.msgBox.isLoaded(), loaded);
        if (loaded) {
            // Hidden, not unloaded: the same dialog keeps the answer for the caller.
            QCOMPARE(f.program.msgBox.loaded(), box.data());
            QVERIFY(!box->isVisible());
            QCOMPARE(box->Tag, tag);
            QCOMPARE(box->cmdCancelTag, cancelTag);
        } else {
            QTRY_VERIFY(box.isNull());
        }
        QCOMPARE(f.calls, calls);
        // A mark the dialog acted on is consumed; one it never reached is kept.
        QCOMPARE(f.ftpEditorMark, ftpEditorMark && !calls.contains(u"showFtpProfileEditor"_s));
        QVERIFY(f.home.logText().isEmpty());
    }

    void unloadedAnswerReadsAsEmpty()
    {
        // A download question answered with OK: the caller's look at the Cancel tag finds a fresh
        // dialog whose tag is empty (go on).
        Fixture f;
        f.state->MediaPromptActive = true;
        QPointer<frmMsgBox> first = &f.program.msgBox.load();
        first->cmdCancelTag = u"cancel"_s;
        f.answer(u"mediaconnection"_s, [](QDialog &d) {
            press(asBox(d).cmdOK());
        });
        QCOMPARE(f.program.msgBox.load().cmdCancelTag, QString());
        QCOMPARE(f.program.msgBox.load().Tag, QString());
        QTRY_VERIFY(first.isNull());
    }

    void wizardModeWithoutFolderIsLogged()
    {
        Fixture f;
        f.answer(u"wizard"_s, [](QDialog &d) {
            press(asBox(d).cmdOK());
        });

        // The handler stopped after clearing the album name: the dialog stays up as it was.
        QCOMPARE(f.calls, QStringList{u"clearWizardAlbumName [loaded]"_s});
        QVERIFY(f.program.msgBox.isLoaded());
        QVERIFY(f.program.msgBox.loaded()->isVisible());
        QCOMPARE(f.program.msgBox.loaded()->Tag, u"wizard"_s);
        QVERIFY(!f.state->WizardPageMode);
        QVERIFY(f.home.logText().contains(
            "Error in [frmMsgBox - cmdOK_Click] Subscript out of range - 9"));
    }

    void wizardEndSetsPageMode()
    {
        Fixture f;
        bool modeAtPage = false;
        f.program.commands.showWizardAlbumPage = [&](const QString &) {
            modeAtPage = f.state->WizardPageMode;
        };
        f.answer(u"wizard#/photos/My Trip"_s, [](QDialog &d) {
            press(asBox(d).cmdOK());
        });
        QVERIFY(modeAtPage);
        QVERIFY(f.state->WizardPageMode);
    }

    void albumStoresTheCategory_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("typed") << u"Beach; Day #2 'é'"_s;
        QTest::newRow("empty") << u""_s;
    }
    void albumStoresTheCategory()
    {
        QFETCH(QString, entry);
        Fixture f;
        f.state->RenameCategory = u"previous"_s;
        f.answer(u"album"_s, [&](QDialog &d) {
            asBox(d).txtEntry()->setText(entry);
            press(asBox(d).cmdOK());
        });
        QCOMPARE(f.state->RenameCategory, entry);
        // The picker opens after the dialog is gone, with the category already stored.
        QCOMPARE(f.calls, QStringList{u"openAlbumPickerForRename "_s + entry});
    }

    void runWizardWithoutMainWindowOpensTheWizard()
    {
        Fixture f;
        f.answer(u"runwizard"_s, [](QDialog &d) {
            press(asBox(d).cmdOK());
        });
        QVERIFY(!f.program.msgBox.isLoaded());
        QCOMPARE(f.calls, QStringList{u"showOrgWizard"_s});
    }

    void runWizardRunsTheMainWindowCommand()
    {
        Fixture f;
        MDIMain main(f.program);
        // Another window is open, so the main window's command first asks to close it.
        QWidget other;
        f.program.trackWindow(&other, [&other] {
            return other.close();
        });

        QPointer<frmMsgBox> offer;
        f.dialogs.handlers.append([&](QDialog &d) {
            offer = &asBox(d);
            QCOMPARE(d.parentWidget(), &main);
            press(asBox(d).cmdOK());
        });
        QString closeQuestionMode;
        f.dialogs.handlers.append([&](QDialog &d) {
            closeQuestionMode = asBox(d).Tag;
            QVERIFY(&asBox(d) != offer.data());
            press(asBox(d).cmdOK());
        });
        frmMsgBox &box = f.program.msgBox.load();
        box.Tag = u"runwizard"_s;
        box.showModal();

        QCOMPARE(f.dialogs.execCount, 2);
        QCOMPARE(closeQuestionMode, u"closewindows"_s);
        QCOMPARE(f.calls, QStringList{u"showOrgWizard"_s});
        QVERIFY(!f.program.msgBox.isLoaded());
        QTRY_VERIFY(main.findChildren<frmMsgBox *>().isEmpty());
    }

    void closingTheWindowAnswersLikeItsButtons_data()
    {
        QTest::addColumn<bool>("cancelOffered");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("cancelTag");

        // A download question closed with Escape is a "stop".
        QTest::newRow("Cancel offered") << true << true << u"cancel"_s;
        // A message whose only button is OK (Cancel hidden) closes like OK: unloaded.
        QTest::newRow("only OK offered") << false << false << u""_s;
    }
    void closingTheWindowAnswersLikeItsButtons()
    {
        QFETCH(bool, cancelOffered);
        QFETCH(bool, loaded);
        QFETCH(QString, cancelTag);

        Fixture f;
        f.state->ManualDownloadActive = true;
        f.program.msgBox.load().cmdCancel()->setVisible(cancelOffered);
        f.answer(u"mediaconnection"_s, [](QDialog &d) {
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QCOMPARE(f.program.msgBox.isLoaded(), loaded);
        if (loaded) {
            QVERIFY(!f.program.msgBox.loaded()->isVisible());
            QCOMPARE(f.program.msgBox.loaded()->cmdCancelTag, cancelTag);
        }
    }

    void realModalLoopEndsOnHideAndOnUnload()
    {
        TestHome home;
        auto state = home.makeState();
        Dialogs realDialogs;
        Program program(*state, realDialogs);

        // Hidden by a yes/no answer: exec returns, the answer is kept.
        frmMsgBox &box = program.msgBox.load();
        box.Tag = u"closewindows"_s;
        QTimer::singleShot(0, &box, [&box] {
            QTest::mouseClick(box.cmdCancel(), Qt::LeftButton);
        });
        box.showModal();
        QCOMPARE(box.Tag, u"NO"_s);
        QVERIFY(box.isHidden());

        // Unloaded by a plain message's OK: exec returns and the dialog goes.
        box.Tag.clear();
        QPointer<frmMsgBox> guard = &box;
        QTimer::singleShot(0, &box, [&box] {
            QTest::mouseClick(box.cmdOK(), Qt::LeftButton);
        });
        box.showModal();
        QVERIFY(!program.msgBox.isLoaded());
        QTRY_VERIFY(guard.isNull());
    }

    void showNotice_data()
    {
        QTest::addColumn<bool>("modal");
        QTest::addColumn<bool>("topmost");
        QTest::newRow("modal") << true << false;
        QTest::newRow("modeless") << false << false;
        QTest::newRow("modeless on top") << false << true;
    }
    void showNotice()
    {
        QFETCH(bool, modal);
        QFETCH(bool, topmost);

        Fixture f;
        frmMsgBox &box = f.program.msgBox.load();
        box.Tag = u"categorize"_s;
        const QString text = u"\nEnter a Profile Name for the FTP Site"_s;

        auto check = [&](frmMsgBox &b) {
            QCOMPARE(b.helpText(), text);
            QVERIFY(b.isHelpBold());
            QVERIFY(b.txtHelpMsg()->font().bold());
            QCOMPARE(b.txtHelpMsg()->document()->defaultTextOption().alignment(), Qt::AlignHCenter);
            QVERIFY(b.lblMsg()->isHidden());
            QVERIFY(b.txtEntry()->isHidden());
            QCOMPARE(b.Tag, u"categorize"_s);
            QVERIFY(b.isVisible());
        };
        bool checkedInside = false;
        f.dialogs.handlers.append([&](QDialog &d) {
            check(asBox(d));
            checkedInside = true;
        });

        ShowNotice(f.program, text, modal, topmost);

        QCOMPARE(f.dialogs.execCount, modal ? 1 : 0);
        QCOMPARE(checkedInside, modal);
        if (!modal) {
            check(box);
            QCOMPARE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint), topmost);
        }
    }

    void topmostKeepsPlaceAndSize()
    {
        QWidget window;
        window.setGeometry(140, 120, 320, 200);
        SetWindowTopmost(&window, true);
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isHidden()); // setting the flag never shows a window

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect before = window.geometry();

        SetWindowTopmost(&window, false);
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), before);

        SetWindowTopmost(&window, true);
        QVERIFY(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), before);
    }

    void progressWindowStopsADownload()
    {
        Fixture f;
        f.state->MediaPromptActive = true;
        frmMsgBox &box = f.program.msgBox.load();
        box.setHelpText(u"Downloading photos ....."_s);
        box.pgBar()->setRange(0, 3);
        box.pgBar()->show();
        box.showModeless(true);
        QVERIFY(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        for (int i = 1; i <= 3 && box.cmdCancelTag != u"cancel"; ++i) {
            box.pgBar()->setValue(i);
            if (i == 2) {
                press(box.cmdCancel());
            }
        }
        QCOMPARE(box.pgBar()->value(), 2);
        QVERIFY(f.program.msgBox.isLoaded());
        QVERIFY(!box.isVisible());
        // The next caller finds the texts and settings as they were left.
        QCOMPARE(box.helpText(), u"Downloading photos ....."_s);
        QVERIFY(!box.pgBar()->isHidden());
    }

    void webPageButtonOpensThePage()
    {
        Fixture f;
        const QString page = f.home.makeFolder(u"Web_Page_08172004"_s) + u"/My Trip #1.htm"_s;

        frmMsgBox &box = f.program.msgBox.load();
        box.cmdWebPage()->show();
        box.cmdWebPageTag = page;
        box.showModeless(false);
        // No browser takes it here: nothing is reported and the dialog stays.
        press(box.cmdWebPage());

        QCOMPARE(f.dialogs.urls, QList<QUrl>{QUrl::fromLocalFile(page)});
        QVERIFY(box.isVisible());
        QVERIFY(f.home.logText().isEmpty());
    }
};

QTEST_MAIN(TestFrmMsgBox)
#include "tst_frmmsgbox.moc"
