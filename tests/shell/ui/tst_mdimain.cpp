#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "frmbrowser.h"
#include "frmmsgbox.h"
#include "photodeletion.h"
#include "picturemaker.h"
#include "shellfixture.h"
#include "shelltexts.h"

class TestMDIMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandPanel_data();
    void commandPanel();
    void messagePanelEmptiesOverPanels();
    void menus_data();
    void menus();
    void gaugeShowsPercentAndColour_data();
    void gaugeShowsPercentAndColour();
    void hideRolloverHelp();
    void closeButtonFollowsWidth();
    void closeWindowBelow();
    void windowMenuTilesAndListsWindows();
    void deletePhoto_data();
    void deletePhoto();
    void organizeWizardWithOnlyMainOpensAtOnce();
    void organizeWizardAsksToCloseOtherWindows_data();
    void organizeWizardAsksToCloseOtherWindows();
    void renameWithNothingTicked();
    void renameAsksForCategory();
    void pasteWithoutPicture();
    void pasteWithPicture();
    void openImage();
    void backgroundColourTakenEvenWhenCancelled();
    void firstCancelledColourKeepsThePageColour();
    void closeHidesAndShutdownEnds();
    void shutdownStopsWhenAPageRefuses();
    void helpTipsItemStoresSetting();
    void showHelpStartsTheHelpProgram();
    void browserWindow();
    void aboutShowsSplash();

private:
    FakeAlbumPage *addPage(ShellFixture &f)
    {
        auto *page = new FakeAlbumPage;
        f.main->mdiArea()->addSubWindow(page)->show();
        f.program.trackWindow(page);
        return page;
    }
};

void TestMDIMain::commandPanel_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("captionText");
    QTest::addColumn<QString>("pictureHover");
    QTest::addColumn<QString>("captionHover");

    const QString rename = QStringLiteral(
        "  Easily rename multiple photos for a category. Example: If your Category is "
        "Hawaii_Vacation then all selected Photos will be renamed Hawaii_Vacation01, "
        "Hawaii_Vacation02 etc.\n  How?: Click the small blue box next to each photo to select. "
        "Click on this Rename button.");
    const QString resize = QStringLiteral(
        "   If your camera resolution is over 1 megapixel the photos can be large in size. This "
        "option resizes your photos for easy emailing (does not change the originals & only "
        "resizes large photos ).\n  How?: Open an Album. Click the small blue box next to each "
        "photo to select. Click this resize button.");
    const QString print = QStringLiteral(
        "  This Option enables the printing of Thumbnails for a complete Album or Printing one "
        "Picture.\n  How?:Click Print with nothing open or Open an Album and then click PRINT to "
        "printout an Album thumbnail print or Open a Picture and select print.");
    const QString order = QStringLiteral("  Buy T-Shirts, Mousepads, Tote Bags and have Prints & "
                                         "Calendars made. Plus share your Photos.");

    QTest::newRow("new") << "imgMnuNew"
                         << "lblNew"
                         << "New Album"
                         << "  Create a New Album to store photos in"
                         << "  Create a New Album to store photos in";
    QTest::newRow("open album") << "imgMnuOpenAlbum"
                                << "lblOpenAlbum"
                                << "Open Album"
                                << "  Open and View photos in an existing album"
                                << "  Open and View photos in an existing album or Folder";
    QTest::newRow("open image") << "imgMnuOpenImage"
                                << "lblOpenImage"
                                << "Open Image"
                                << "  Open and view a single photo"
                                << "  Open and view a single photo";
    QTest::newRow("download") << "imgDownload"
                              << "lblDownload"
                              << "Download"
                              << "  Download Photos from Camera or Media Drive"
                              << "  Download Photos from Camera or Media Drive";
    QTest::newRow("wizard")
        << "imgMnuOrgWizard"
        << "lblOrganize"
        << "Organize Wizard"
        << "  Photo Organization Wizard - Helps organize your photos into Albums."
        << "  Photo Organization Wizard - Helps organize your photos into Albums.";
    QTest::newRow("rename") << "imgMnuRename"
                            << "lblrename"
                            << "Rename" << rename << rename;
    QTest::newRow("resize") << "imgMnuResizeForEmail"
                            << "lblResize"
                            << "Resize" << resize << resize;
    QTest::newRow("web page")
        << "imgMnuHTML"
        << "lblHTML"
        << "Web Page"
        << "  Creates a Web Page out of your Albums Photos for displaying on your website"
        << "  Creates a Web Page out of your Albums Photos for displaying on your website";
    QTest::newRow("ftp") << "imgMnuFTP"
                         << "lblFTP"
                         << "FTP"
                         << "  Upload / Download files to your websites FTP Server"
                         << "  Upload / Download files to your websites FTP Server";
    QTest::newRow("print") << "imgMnuPrint"
                           << "lblPrint"
                           << "Print" << print << print;
    QTest::newRow("go online") << "imgMnuOrder"
                               << "Label2"
                               << "Go Online" << order
                               << order + QStringLiteral(" Needs Internet Connection");
}

void TestMDIMain::commandPanel()
{
    QFETCH(QString, picture);
    QFETCH(QString, caption);
    QFETCH(QString, captionText);
    QFETCH(QString, pictureHover);
    QFETCH(QString, captionHover);

    ShellFixture f;
    f.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.main.get()));
    auto *pictureWidget = f.main->findChild<QWidget *>(picture);
    auto *captionLabel = f.main->findChild<QLabel *>(caption);
    QVERIFY(pictureWidget);
    QVERIFY(captionLabel);
    QCOMPARE(captionLabel->text(), captionText);
    auto *button = qobject_cast<QToolButton *>(pictureWidget);
    QVERIFY(button && !button->icon().isNull());

    QTest::mouseMove(pictureWidget);
    QTRY_COMPARE(f.main->messageText(), pictureHover);
    QTest::mouseMove(captionLabel);
    QTRY_COMPARE(f.main->messageText(), captionHover);
}

void TestMDIMain::messagePanelEmptiesOverPanels()
{
    ShellFixture f;
    f.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.main.get()));
    auto *picture = f.main->findChild<QWidget *>(QStringLiteral("imgMnuNew"));
    auto *toolbar = f.main->findChild<QWidget *>(QStringLiteral("pnlToolbar"));

    QTest::mouseMove(picture);
    QTRY_VERIFY(!f.main->messageText().isEmpty());
    // The toolbar's right end is free of pictures.
    QTest::mouseMove(toolbar, QPoint(toolbar->width() - 190, toolbar->height() - 4));
    QTRY_COMPARE(f.main->messageText(), QString());

    QTest::mouseMove(picture);
    QTRY_VERIFY(!f.main->messageText().isEmpty());
    QTest::mouseMove(f.main->mdiArea()->viewport());
    QTRY_COMPARE(f.main->messageText(), QString());
}

void TestMDIMain::menus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("mnuNewAlbum") << "mnuNewAlbum"
                                 << "&New Album"
                                 << "Ctrl+N" << true;
    QTest::newRow("mnuOpenAlbum") << "mnuOpenAlbum"
                                  << "&Open Album"
                                  << "Ctrl+O" << true;
    QTest::newRow("mnuOpenImage") << "mnuOpenImage"
                                  << "Open &Image"
                                  << "Ctrl+I" << true;
    // Hidden until the viewer shows it; a hidden item is also disabled.
    QTest::newRow("mnuSave") << "mnuSave"
                             << "Save Image As"
                             << "" << false;
    QTest::newRow("mnuHTML") << "mnuHTML"
                             << "Create Web Page"
                             << "" << true;
    QTest::newRow("mnuPrint") << "mnuPrint"
                              << "&Print"
                              << "Ctrl+P" << true;
    QTest::newRow("MnuExit") << "MnuExit"
                             << "E&xit"
                             << "" << true;
    QTest::newRow("mnuResize") << "mnuResize"
                               << "Resize Photo Copies"
                               << "" << true;
    QTest::newRow("mnuRename") << "mnuRename"
                               << "Rename Multiple Photos"
                               << "" << true;
    QTest::newRow("mnuOrder") << "mnuOrder"
                              << "Order Prints Online"
                              << "" << true;
    QTest::newRow("mnuShare") << "mnuShare"
                              << "Share Photos Online"
                              << "" << true;
    QTest::newRow("mnuCascade") << "mnuCascade"
                                << "Cascade"
                                << "" << true;
    QTest::newRow("mnuTile") << "mnuTile"
                             << "Tile"
                             << "" << true;
    QTest::newRow("mnuWebsite") << "mnuWebsite"
                                << "Glimmerbook Website"
                                << "" << true;
    QTest::newRow("mnuHelpTips") << "mnuHelpTips"
                                 << "Show Tips on Startup"
                                 << "" << true;
    QTest::newRow("mnuShowHelp") << "mnuShowHelp"
                                 << "Show Help"
                                 << "" << true;
    QTest::newRow("mnuShutdown") << "mnuShutdown"
                                 << "Shutdown (Do not listen for camera connections)"
                                 << "" << true;
    QTest::newRow("mnuAbout") << "mnuAbout"
                              << "About"
                              << "" << true;
    QTest::newRow("mnuOEdit") << "mnuOEdit"
                              << "Edit"
                              << "" << false;
    QTest::newRow("mnuOCopy") << "mnuOCopy"
                              << "Copy"
                              << "" << false;
    QTest::newRow("mnuPasteClp")
        << "mnuPasteClp"
        << "Paste New Image (TIP: Name your pic once pasted so it gets saved)"
        << "" << true;
    QTest::newRow("mnuBackground") << "mnuBackground"
                                   << "Change Background Color"
                                   << "" << true;
    QTest::newRow("mnuhEdit") << "mnuhEdit"
                              << "Edit"
                              << "" << false;
    QTest::newRow("mnuhPaste") << "mnuhPaste"
                               << "Paste"
                               << "" << false;
    QTest::newRow("mnuhCopy") << "mnuhCopy"
                              << "Copy"
                              << "" << false;
    QTest::newRow("mnuDelete") << "mnuDelete"
                               << "Delete Photo"
                               << "" << true;
}

void TestMDIMain::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, enabled);

    ShellFixture f;
    QAction *item = f.main->menuItem(name);
    QVERIFY(item);
    QCOMPARE(item->objectName(), name);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), QKeySequence(shortcut));
    QCOMPARE(item->isEnabled(), enabled);
    QCOMPARE(item->isVisible(), name != u"mnuSave");

    // The bar holds the five menus in order; the two pop-up menus stay out of it.
    QStringList bar;
    const QList<QAction *> barActions = f.main->menuBar()->actions();
    for (QAction *a : barActions) {
        bar << a->menu()->objectName() + QLatin1Char('=') + a->text();
    }
    QCOMPARE(bar,
             QStringList({"mnuFile=&File",
                          "mnuEdit=&Edit Photos",
                          "mnuOrderShare=&Order Prints",
                          "mnuWindow=&Window",
                          "mnuHelp=&Help"}));
    QCOMPARE(f.main->popupMenu()->objectName(), QStringLiteral("mnuPop"));
    QCOMPARE(f.main->popupMenu()->title(), QStringLiteral("PopupMenu"));
    QCOMPARE(f.main->deletionMenu()->objectName(), QStringLiteral("mnuPopDelete"));
    QCOMPARE(f.main->deletionMenu()->title(), QStringLiteral("Deletion"));
}

void TestMDIMain::gaugeShowsPercentAndColour_data()
{
    QTest::addColumn<qint64>("available");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("colour");

    const qint64 gib = qint64(1) << 30;
    QTest::newRow("1 of 4 GB") << gib << 4 * gib << 25 << "#800000";
    QTest::newRow("26 percent") << qint64(26) << qint64(100) << 26 << "#004000";
    QTest::newRow("25.5 rounds to 26") << qint64(255) << qint64(1000) << 26 << "#004000";
    QTest::newRow("empty disk") << qint64(0) << gib << 0 << "#800000";
}

void TestMDIMain::gaugeShowsPercentAndColour()
{
    QFETCH(qint64, available);
    QFETCH(qint64, total);
    QFETCH(int, percent);
    QFETCH(QString, colour);

    ShellFixture f;
    f.main->setDriveSpace(available, total);
    auto *gauge = f.main->findChild<QProgressBar *>(QStringLiteral("pnlDriveSpace"));
    QCOMPARE(gauge->value(), percent);
    QCOMPARE(f.main->driveSpacePercent(), percent);
    QCOMPARE(f.main->driveSpaceColour().name(), colour);
    QVERIFY(gauge->styleSheet().contains(colour));
}

void TestMDIMain::hideRolloverHelp()
{
    ShellFixture f;
    f.main->show();
    auto *chkHelp = f.main->findChild<QCheckBox *>(QStringLiteral("chkHelp"));
    auto *pnlMsgs = f.main->findChild<QLabel *>(QStringLiteral("pnlMsgs"));
    QCOMPARE(chkHelp->text(), QStringLiteral("Hide Rollover Help"));
    QVERIFY(pnlMsgs->isVisible());
    chkHelp->click();
    QVERIFY(!pnlMsgs->isVisible());
    chkHelp->click();
    QVERIFY(pnlMsgs->isVisible());
}

void TestMDIMain::closeButtonFollowsWidth()
{
    ShellFixture f;
    f.main->show();
    auto *button = f.main->findChild<QPushButton *>(QStringLiteral("cmdCloseOpenWindow"));
    auto *emblem = f.main->findChild<QLabel *>(QStringLiteral("pnlEmblem"));
    QCOMPARE(button->text(), QStringLiteral("Close Window Below"));
    QCOMPARE(emblem->text(), QStringLiteral("Glimmerbook"));
    for (int width : {1000, 820}) {
        f.main->resize(width, 600);
        // 200 twips at 15 twips per pixel.
        QTRY_COMPARE(button->x(), f.main->width() - button->width() - 13);
        QCOMPARE(emblem->x(), button->x());
    }
}

void TestMDIMain::closeWindowBelow()
{
    ShellFixture f;
    auto *button = f.main->findChild<QPushButton *>(QStringLiteral("cmdCloseOpenWindow"));
    button->click(); // nothing open: nothing happens

    f.main->show();
    addPage(f);
    QPointer<FakeAlbumPage> second = addPage(f);
    f.main->mdiArea()->setActiveSubWindow(f.main->mdiArea()->subWindowList().last());
    button->click();
    QTRY_VERIFY(second.isNull());
    QCOMPARE(f.main->mdiArea()->subWindowList().size(), 1);
}

void TestMDIMain::windowMenuTilesAndListsWindows()
{
    ShellFixture f;
    f.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.main.get()));
    addPage(f)->setWindowTitle(QStringLiteral("Trip"));
    addPage(f)->setWindowTitle(QStringLiteral("Home"));

    f.main->menuItem(QStringLiteral("mnuTile"))->trigger();
    const QList<QMdiSubWindow *> windows = f.main->mdiArea()->subWindowList();
    const int width = f.main->mdiArea()->viewport()->width();
    QCOMPARE(windows.at(0)->geometry(), QRect(0, 0, width, windows.at(0)->height()));
    QCOMPARE(windows.at(1)->geometry(),
             QRect(0, windows.at(0)->height(), width, windows.at(0)->height()));

    auto *menu = f.main->findChild<QMenu *>(QStringLiteral("mnuWindow"));
    Q_EMIT menu->aboutToShow();
    QStringList listed;
    QAction *trip = nullptr;
    const QList<QAction *> actions = menu->actions();
    for (QAction *a : actions) {
        if (!a->isSeparator()) {
            listed << a->text();
        }
        if (a->text() == u"&1 Trip") {
            trip = a;
        }
    }
    QCOMPARE(listed, QStringList({"Cascade", "Tile", "&1 Trip", "&2 Home"}));
    trip->trigger();
    QCOMPARE(f.main->mdiArea()->currentSubWindow(), windows.at(0));
}

void TestMDIMain::deletePhoto_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("fileStays");
    QTest::addColumn<bool>("cellMarked");
    QTest::addColumn<QString>("logged");

    QTest::newRow("answered No") << "beach's day.jpg" << false << int(QMessageBox::No) << true
                                 << false << "";
    QTest::newRow("answered Yes") << "beach's day.jpg" << false << int(QMessageBox::Yes) << false
                                  << true << "";
    QTest::newRow("read-only file")
        << "kept.jpg" << true << int(QMessageBox::Yes) << true << true
        << "Error in [MDIMain - MnuPasteCLP_Click] Permission denied - 70";
    QTest::newRow("bar in the name")
        << "a | b.jpg" << false << int(QMessageBox::Yes) << false << true << "";
}

void TestMDIMain::deletePhoto()
{
    QFETCH(QString, name);
    QFETCH(bool, readOnly);
    QFETCH(int, answer);
    QFETCH(bool, fileStays);
    QFETCH(bool, cellMarked);
    QFETCH(QString, logged);

    ShellFixture f;
    const QString path = f.home.makeFolder(QStringLiteral("Album")) + QLatin1Char('/') + name;
    QVERIFY(PictureMaker::writePhoto(path, QSize(40, 30)));
    if (readOnly) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    }
    FakeAlbumPage *page = addPage(f);
    f.main->mnuDeleteTag = deleteTag(path, 3);
    f.dialogs.answerMessageBox(QMessageBox::StandardButton(answer));

    f.main->menuItem(QStringLiteral("mnuDelete"))->trigger();

    const QList<ScriptedDialogs::Shown> asked = f.dialogs.shownOfKind(QStringLiteral("messageBox"));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.at(0).title, QStringLiteral("Confirm Photo Deletetion"));
    QCOMPARE(asked.at(0).text, QStringLiteral("Ok to delete Photo ") + path + QStringLiteral(" ?"));
    QCOMPARE(asked.at(0).buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(asked.at(0).icon, QMessageBox::Question);
    QCOMPARE(QFile::exists(path), fileStays);
    QCOMPARE(page->marked, cellMarked ? QList<int>{3} : QList<int>{});
    if (logged.isEmpty()) {
        QCOMPARE(f.home.logText(), QByteArray());
    } else {
        QVERIFY2(f.home.logText().contains(logged.toUtf8()), f.home.logText().constData());
    }
}

void TestMDIMain::organizeWizardWithOnlyMainOpensAtOnce()
{
    ShellFixture f;
    int wizards = 0;
    f.program.commands.showOrgWizard = [&wizards] {
        ++wizards;
    };
    f.main->findChild<QToolButton *>(QStringLiteral("imgMnuOrgWizard"))->click();
    QCOMPARE(wizards, 1);
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestMDIMain::organizeWizardAsksToCloseOtherWindows_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("pageStays");
    QTest::addColumn<int>("wizards");

    QTest::newRow("NO") << "cmdCancel" << true << 0;
    QTest::newRow("OK") << "cmdOK" << false << 1;
}

void TestMDIMain::organizeWizardAsksToCloseOtherWindows()
{
    QFETCH(QString, button);
    QFETCH(bool, pageStays);
    QFETCH(int, wizards);

    ShellFixture f;
    f.main->show();
    int opened = 0;
    f.program.commands.showOrgWizard = [&opened] {
        ++opened;
    };
    QPointer<FakeAlbumPage> page = addPage(f);
    f.dialogs.onExec(ScriptedDialogs::click(button));

    f.main->OrganizeWizardCommand();

    QCOMPARE(f.dialogs.execNames(), QStringList{"frmMsgBox"});
    const ScriptedDialogs::Shown question = f.dialogs.shown.at(0);
    QCOMPARE(question.text, ShellTexts::closeWindowsQuestion());
    QCOMPARE(question.texts.value("cmdCancel"), QStringLiteral("NO"));
    QVERIFY(question.hidden.contains("txtEntry"));
    QVERIFY(question.hidden.contains("lblMsg"));
    QCOMPARE(opened, wizards);
    QVERIFY(!f.program.msgBox.isLoaded());
    if (pageStays) {
        QVERIFY(page);
        QCOMPARE(f.program.loadedWindowCount(), 2);
    } else {
        QTRY_VERIFY(page.isNull());
        QCOMPARE(f.program.loadedWindowCount(), 1);
    }
}

void TestMDIMain::renameWithNothingTicked()
{
    ShellFixture f;
    int pickers = 0;
    f.program.commands.openAlbumPickerForRename = [&pickers] {
        ++pickers;
    };
    f.dialogs.onExec(ScriptedDialogs::click(QStringLiteral("cmdCancel")));

    f.main->menuItem(QStringLiteral("mnuRename"))->trigger();

    QCOMPARE(f.dialogs.execNames(), QStringList{"frmMsgBox"});
    QCOMPARE(f.dialogs.shown.at(0).text, ShellTexts::noPhotosSelected());
    QVERIFY(f.dialogs.shown.at(0).hidden.contains("txtEntry"));
    QCOMPARE(pickers, 0);
}

void TestMDIMain::renameAsksForCategory()
{
    ShellFixture f;
    int pickers = 0;
    f.program.commands.openAlbumPickerForRename = [&pickers] {
        ++pickers;
    };
    QVERIFY(f.state->SelectedPhotos.add(QStringLiteral("0"), QStringLiteral("0#/a/b.jpg")).ok());
    f.dialogs.onExec(ScriptedDialogs::inspect(
        [](QDialog &dialog) {
            auto &box = static_cast<frmMsgBox &>(dialog);
            QCOMPARE(box.Tag, QStringLiteral("album"));
            QVERIFY(box.isHelpBold());
            box.txtEntry()->setText(QStringLiteral("Hawaii"));
        },
        ScriptedDialogs::click(QStringLiteral("cmdOK"))));

    f.main->RenameCommand();

    const ScriptedDialogs::Shown asked = f.dialogs.shown.at(0);
    QCOMPARE(asked.text, ShellTexts::renameCategoryHelp());
    QCOMPARE(asked.texts.value("lblMsg"), QStringLiteral("Enter the Category for the Photos:"));
    QVERIFY(!asked.hidden.contains("txtEntry"));
    QCOMPARE(f.state->RenameCategory, QStringLiteral("Hawaii"));
    QCOMPARE(pickers, 1);
}

void TestMDIMain::pasteWithoutPicture()
{
    ShellFixture f;
    int pasted = 0;
    f.program.commands.pastePicture = [&pasted] {
        ++pasted;
    };
    QGuiApplication::clipboard()->setText(QStringLiteral("only words"));
    bool centred = false;
    f.dialogs.onExec(ScriptedDialogs::inspect([&centred](QDialog &dialog) {
        centred = static_cast<frmMsgBox &>(dialog).isHelpCentred();
    }));

    f.main->menuItem(QStringLiteral("mnuPasteClp"))->trigger();

    QCOMPARE(pasted, 0);
    QCOMPARE(f.dialogs.execNames(), QStringList{"frmMsgBox"});
    QCOMPARE(f.dialogs.shown.at(0).text, ShellTexts::noClipboardImage());
    QVERIFY(!f.dialogs.shown.at(0).hidden.contains("cmdCancel"));
    QVERIFY(centred);
}

void TestMDIMain::pasteWithPicture()
{
    ShellFixture f;
    int pasted = 0;
    f.program.commands.pastePicture = [&pasted] {
        ++pasted;
    };
    QGuiApplication::clipboard()->setImage(PictureMaker::photo(QSize(20, 10)));

    f.main->PasteCommand();

    QCOMPARE(pasted, 1);
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestMDIMain::openImage()
{
    ShellFixture f;
    QStringList opened;
    f.program.commands.openImageInViewer = [&opened](const QString &path) {
        opened << path;
    };
    f.dialogs.answerOpenFileName(QStringLiteral("/photos/one.jpg"));

    f.main->menuItem(QStringLiteral("mnuOpenImage"))->trigger();
    f.main->OpenImageCommand(); // cancelled: nothing opens

    QCOMPARE(opened, QStringList{"/photos/one.jpg"});
    const ScriptedDialogs::Shown asked = f.dialogs.shown.at(0);
    QCOMPARE(asked.kind, QStringLiteral("openFileName"));
    QCOMPARE(asked.filter,
             QStringLiteral("All Picture Files (*.bmp *.pcx *.tif *.gif *.jpg *.tga)"));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("jpg"));
    QCOMPARE(asked.startFolder, f.home.home());
}

void TestMDIMain::backgroundColourTakenEvenWhenCancelled()
{
    ShellFixture f;
    FakeAlbumPage *page = addPage(f);
    f.dialogs.answerColor(Qt::white);

    f.main->menuItem(QStringLiteral("mnuBackground"))->trigger();
    f.main->BackgroundCommand(); // cancelled: the dialog's colour stays white

    QCOMPARE(page->backgrounds, QList<QColor>({QColor(Qt::white), QColor(Qt::white)}));
}

void TestMDIMain::firstCancelledColourKeepsThePageColour()
{
    ShellFixture f;
    FakeAlbumPage *page = addPage(f);

    f.main->BackgroundCommand(); // cancelled at its first use

    QCOMPARE(page->backgrounds, QList<QColor>({AlbumPageView::defaultBackground()}));
}

void TestMDIMain::closeHidesAndShutdownEnds()
{
    ShellFixture f;
    QSignalSpy ended(f.main.get(), &MDIMain::shutdownRequested);
    f.main->show();
    QPointer<FakeAlbumPage> page = addPage(f);
    QVERIFY(f.state->SelectedPhotos.add(QStringLiteral("1"), QStringLiteral("1#/a.jpg")).ok());

    f.main->menuItem(QStringLiteral("MnuExit"))->trigger();

    QVERIFY(!f.main->isVisible());
    QVERIFY(f.state->SelectedPhotos.isEmpty());
    QTRY_VERIFY(page.isNull());
    QCOMPARE(f.program.loadedWindowCount(), 1);
    QCOMPARE(ended.count(), 0);

    f.main->show();
    addPage(f);
    f.main->menuItem(QStringLiteral("mnuShutdown"))->trigger();
    QCOMPARE(f.main->Tag, QStringLiteral("unload"));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(f.program.loadedWindowCount(), 1);
}

void TestMDIMain::shutdownStopsWhenAPageRefuses()
{
    class StubbornPage : public FakeAlbumPage
    {
    protected:
        void closeEvent(QCloseEvent *event) override { event->ignore(); }
    };
    ShellFixture f;
    QSignalSpy ended(f.main.get(), &MDIMain::shutdownRequested);
    f.main->show();
    auto *page = new StubbornPage;
    f.main->mdiArea()->addSubWindow(page)->show();
    f.program.trackWindow(page);

    f.main->ShutdownCommand();

    QCOMPARE(ended.count(), 0);
    QVERIFY(f.main->isVisible());
    QVERIFY(f.main->Tag.isEmpty());
}

void TestMDIMain::helpTipsItemStoresSetting()
{
    ShellFixture f;
    QAction *item = f.main->menuItem(QStringLiteral("mnuHelpTips"));
    const auto tips = [&f] {
        return f.state->settings.ReadWinIniSetting(SettingsStore::kSection, QStringLiteral("tips"));
    };
    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(tips(), QStringLiteral("1"));
    item->trigger();
    QVERIFY(!item->isChecked());
    QCOMPARE(tips(), QStringLiteral("0"));
}

void TestMDIMain::showHelpStartsTheHelpProgram()
{
    ShellFixture f;
    f.main->menuItem(QStringLiteral("mnuShowHelp"))->trigger(); // missing: nothing, no log
    QCOMPARE(f.home.logText(), QByteArray());

    const QString help = f.home.home() + QStringLiteral("/gbkhelp");
    QFile script(help);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\ntouch \"$0.ran\"\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    f.main->ShowHelpCommand();
    QTRY_VERIFY(QFile::exists(help + QStringLiteral(".ran")));
}

void TestMDIMain::browserWindow()
{
    ShellFixture f;
    f.main->setMessageText(QStringLiteral("  something"));
    f.main->findChild<QToolButton *>(QStringLiteral("imgMnuOrder"))->click();

    frmBrowser *browser = f.program.browserWindow.loaded();
    QVERIFY(browser);
    QVERIFY(browser->isVisible());
    QCOMPARE(browser->pnlAddress()->text(), QStringLiteral("Glimmerbook  "));
    QCOMPARE(browser->txtAddress()->text(), ShellTexts::vendorUploadsPage());
    QCOMPARE(f.main->messageText(), QString());

    browser->txtAddress()->setText(QStringLiteral("http://example.org/typed"));
    QTest::keyClick(browser->txtAddress(), Qt::Key_Return);
    browser->cmdBack()->click();
    browser->cmdFwd()->click();

    QStringList opened;
    for (const ScriptedDialogs::Shown &s : f.dialogs.shownOfKind(QStringLiteral("openUrl"))) {
        opened << s.text;
    }
    QCOMPARE(opened,
             QStringList({ShellTexts::vendorUploadsPage(),
                          "http://example.org/typed",
                          ShellTexts::vendorUploadsPage(),
                          "http://example.org/typed"}));
    QCOMPARE(browser->txtAddress()->text(), QStringLiteral("http://example.org/typed"));
}

void TestMDIMain::aboutShowsSplash()
{
    ShellFixture f;
    f.main->menuItem(QStringLiteral("mnuAbout"))->trigger();
    QCOMPARE(f.dialogs.execNames(), QStringList{"frmSplash"});
    QVERIFY(!f.program.splashWindow.isLoaded());
}

QTEST_MAIN(TestMDIMain)
#include "tst_mdimain.moc"
