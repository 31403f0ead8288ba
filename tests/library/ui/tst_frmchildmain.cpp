#include <cmath>
#include <memory>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTextEdit>

#include "albumpages.h"
#include "albumsync.h"
#include "appstate.h"
#include "cataloguebuilder.h"
#include "frmchildmain.h"
#include "frmmsgbox.h"
#include "libraryfixture.h"
#include "mdimain.h"
#include "msgboxprogress.h"
#include "pagecanvas.h"
#include "pagelayout.h"
#include "pagemodel.h"
#include "picturemaker.h"
#include "program.h"
#include "scripteddialogs.h"
#include "startupvalues.h"
#include "testhome.h"

using namespace Qt::StringLiterals;

namespace {

/// A program on a fresh home with scripted dialogs and its main window shown; album folders are
/// made below the fixture's folder.
struct PageFixture
{
    PageFixture()
    {
        main->resize(1000, 700);
        main->show();
    }
    ~PageFixture()
    {
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// A folder holding count photos p0.jpg, p1.jpg, ...
    QString album(const QString &name, int count) const
    {
        const QString folder = home.makeFolder(name);
        for (int i = 0; i < count; ++i) {
            LibraryFixture::photo(folder + u"/p%1.jpg"_s.arg(i), QSize(320, 240), {}, i);
        }
        return folder;
    }

    frmChildMain *folderPage(const QString &folder)
    {
        frmChildMain *page = loadAlbumPage(program);
        buildFolderPage(program, *page, folder);
        return page;
    }

    frmChildMain *cataloguePage(const QString &folder)
    {
        ResizeAndWriteImagesToDatabase(libraryContext(program), folder, QString(), false, false);
        frmChildMain *page = loadAlbumPage(program);
        buildCataloguePage(program, *page, folder);
        return page;
    }

    QList<StoredRecord> records() const
    {
        return LibraryFixture::readRecords(home.values().cataloguePath());
    }

    TestHome home;
    std::unique_ptr<AppState> state = home.makeState();
    ScriptedDialogs dialogs;
    Program program{*state, dialogs};
    std::unique_ptr<MDIMain> main = std::make_unique<MDIMain>(program);
};

QPoint at(frmChildMain *page, int index, PagePart part)
{
    return page->Picture1()->partRect(index, part).center();
}

void click(frmChildMain *page, int index, PagePart part, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(page->Picture1(), button, {}, at(page, index, part));
}

void hover(QWidget *widget, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove,
                     pos,
                     widget->mapToGlobal(pos),
                     Qt::NoButton,
                     Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

/// The four highlight parts of a cell: frame, picture, name box, name label ("-" when normal).
QString whiteParts(const CellMarks &m)
{
    return QString(m.frameWhite ? u'F' : u'-') + (m.pictureWhite ? u'P' : u'-')
        + (m.nameBoxWhite ? u'B' : u'-') + (m.nameLabelWhite ? u'L' : u'-');
}

bool goneAfterDeletion(const QPointer<frmChildMain> &page)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return page.isNull();
}

} // namespace

class TestFrmChildMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tickingKeepsSelectedPhotosInTickingOrder();
    void selectAllTicksEveryPhotoAndUntickingClearsThem();
    void highlightFollowsClicks_data();
    void highlightFollowsClicks();
    void closeWithTickedPhotosAsksOnce_data();
    void closeWithTickedPhotosAsksOnce();
    void wizardPageNeverAsksAndIgnoresDoubleClicks();
    void rightClickOnCatalogueCellDeletesThatPhoto();
    void rightClickOnCanvasShowsPageMenu();
    void renameInPlace();
    void doubleClickShowsViewerOrInvalidMessage();
    void hoverTextsGoToMessagePanel_data();
    void hoverTextsGoToMessagePanel();
    void backgroundColourCommand_data();
    void backgroundColourCommand();
    void cellsArePaintedAtTheirLayoutPlaces();
    void cellsArePaintedWhileThePageIsBuilt();
    void openAlbumCategorizedAndReopened();
    void openAlbumNotCategorized();
    void openAlbumWithCorruptCatalogueShowsFolder();
    void builderProgressDialog();
    void promotionPicturesAreCatalogued();
};

void TestFrmChildMain::tickingKeepsSelectedPhotosInTickingOrder()
{
    PageFixture f;
    const QString folder = f.album(u"ticks"_s, 5);
    frmChildMain *page = f.folderPage(folder);
    QCOMPARE(page->model().count(), 5);

    click(page, 3, PagePart::chkSelected);
    click(page, 1, PagePart::chkSelected);
    QCOMPARE(f.state->SelectedPhotos.values(),
             (QStringList{u"3#"_s + folder + u"/p3.jpg"_s, u"1#"_s + folder + u"/p1.jpg"_s}));
    QVERIFY(page->marks(3).ticked);

    click(page, 3, PagePart::chkSelected);
    QCOMPARE(f.state->SelectedPhotos.values(), QStringList{u"1#"_s + folder + u"/p1.jpg"_s});
    QVERIFY(!page->marks(3).ticked);

    // A band tagged "skip" changes its tick without touching the selection.
    CellMarks skip = page->marks(4);
    skip.chkSelectedTag = u"skip"_s;
    page->setMarks(4, skip);
    click(page, 4, PagePart::chkSelected);
    QVERIFY(page->marks(4).ticked);
    QCOMPARE(f.state->SelectedPhotos.count(), 1);
    QVERIFY(f.home.logText().isEmpty());
}

void TestFrmChildMain::selectAllTicksEveryPhotoAndUntickingClearsThem()
{
    PageFixture f;
    const QString folder = f.album(u"five"_s, 5);
    frmChildMain *page = f.folderPage(folder);

    page->chkSelect()->click();
    QStringList expected;
    for (int i = 0; i < 5; ++i) {
        expected.append(u"%1#%2/p%1.jpg"_s.arg(i).arg(folder));
        QVERIFY(page->marks(i).ticked);
    }
    QCOMPARE(f.state->SelectedPhotos.values(), expected);

    page->chkSelect()->click();
    QVERIFY(f.state->SelectedPhotos.isEmpty());
    QVERIFY(!page->selection().anyTicked());
}

void TestFrmChildMain::highlightFollowsClicks_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("white");
    QTest::addColumn<int>("highlighted");

    QTest::newRow("first click turns only the frame white")
        << QStringList{u"imX 0"_s} << QStringList{u"F---"_s, u"----"_s, u"----"_s} << 0;
    QTest::newRow("0 then 2 leaves only 2 white")
        << QStringList{u"imX 0"_s, u"imX 2"_s} << QStringList{u"----"_s, u"----"_s, u"FPBL"_s} << 2;
    QTest::newRow("2 twice leaves none white")
        << QStringList{u"imX 2"_s, u"imX 2"_s} << QStringList{u"----"_s, u"----"_s, u"----"_s} << 2;
    QTest::newRow("0, 2, 0") << QStringList{u"imX 0"_s, u"imX 2"_s, u"imX 0"_s}
                             << QStringList{u"FPBL"_s, u"----"_s, u"----"_s} << 0;
    QTest::newRow("dates highlight like pictures")
        << QStringList{u"lblDate 0"_s, u"lblDate 1"_s}
        << QStringList{u"----"_s, u"FPBL"_s, u"----"_s} << 1;
}

void TestFrmChildMain::highlightFollowsClicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, white);
    QFETCH(int, highlighted);
    PageFixture f;
    frmChildMain *page = f.folderPage(f.album(u"light"_s, 3));
    QVERIFY(!f.state->HighlightedCell);

    for (const QString &c : clicks) {
        const QStringList parts = c.split(u' ');
        click(page, parts.at(1).toInt(), parts.at(0) == u"imX" ? PagePart::imX : PagePart::lblDate);
    }
    QStringList actual;
    for (int i = 0; i < 3; ++i) {
        actual.append(whiteParts(page->marks(i)));
    }
    QCOMPARE(actual, white);
    QCOMPARE(f.state->HighlightedCell, std::optional<int>(highlighted));
}

void TestFrmChildMain::closeWithTickedPhotosAsksOnce_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("stays");
    QTest::newRow("Yes keeps the page") << QMessageBox::Yes << true;
    QTest::newRow("No closes it") << QMessageBox::No << false;
}

void TestFrmChildMain::closeWithTickedPhotosAsksOnce()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, stays);
    PageFixture f;
    const QString folder = f.album(u"close"_s, 3);
    f.state->CurrentAlbumPath = folder;
    QPointer<frmChildMain> page = f.folderPage(folder);
    QVERIFY(f.state->AlbumWindowOpen);
    click(page, 0, PagePart::chkSelected);
    click(page, 2, PagePart::chkSelected);
    click(page, 1, PagePart::imX);

    f.dialogs.answerMessageBox(answer);
    QCOMPARE(page->unload(), !stays);
    const QList<ScriptedDialogs::Shown> asked = f.dialogs.shownOfKind(u"messageBox"_s);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.at(0).title, u"Unsaved Photo's Exist"_s);
    QCOMPARE(asked.at(0).text,
             u"You have unsaved Photo's on this page. Do you want to save these photo's?\n"
             "All photo's with a Tick on the left are unsaved.\n"
             "Enter a new Name for them by clicking the Name above the photo and then press "
             "Enter."_s);
    QCOMPARE(asked.at(0).icon, QMessageBox::Question);
    QCOMPARE(asked.at(0).buttons, QMessageBox::Yes | QMessageBox::No);

    QCOMPARE(goneAfterDeletion(page), !stays);
    if (stays) {
        QCOMPARE(f.state->SelectedPhotos.count(), 2);
        QCOMPARE(f.state->CurrentAlbumPath, folder);
        QVERIFY(f.state->AlbumWindowOpen);
        QCOMPARE(f.program.loadedWindowCount(), 2);
    } else {
        QVERIFY(f.state->SelectedPhotos.isEmpty());
        QVERIFY(!f.state->HighlightedCell);
        QVERIFY(f.state->CurrentAlbumPath.isEmpty());
        QVERIFY(!f.state->AlbumWindowOpen);
        QCOMPARE(f.program.loadedWindowCount(), 1);
    }
}

void TestFrmChildMain::wizardPageNeverAsksAndIgnoresDoubleClicks()
{
    PageFixture f;
    const QString folder = f.album(u"wizard"_s, 3);
    f.state->WizardPageMode = true;
    int viewerCalls = 0;
    albumPageHooks(f.program).showPhotoInViewer = [&](int, frmChildMain &, bool) {
        ++viewerCalls;
    };
    QPointer<frmChildMain> page = showWizardAlbumPage(f.program, folder);
    QVERIFY(page);
    QVERIFY(page->isWizardPage());
    QCOMPARE(page->model().count(), 3);
    QVERIFY(page->windowTitle().isEmpty());
    // Right of the wizard's 4710 twips.
    QCOMPARE(page->subWindow()->x(), 4710 / 15);
    QCOMPARE(page->pageBackground(), QColor(0xE0, 0xE0, 0xE0));

    QTest::mouseDClick(page->Picture1(), Qt::LeftButton, {}, at(page, 1, PagePart::imX));
    QCOMPARE(viewerCalls, 0);

    click(page, 0, PagePart::chkSelected);
    click(page, 1, PagePart::chkSelected);
    QVERIFY(page->unload());
    QVERIFY(f.dialogs.shownOfKind(u"messageBox"_s).isEmpty());
    QVERIFY(goneAfterDeletion(page));
}

void TestFrmChildMain::rightClickOnCatalogueCellDeletesThatPhoto()
{
    PageFixture f;
    const QString folder = f.album(u"Tom's & Jerry's #1"_s, 5);
    frmChildMain *page = f.cataloguePage(folder);
    QCOMPARE(page->model().kind(), PageModel::Kind::Catalogue);
    QCOMPARE(page->model().count(), 5);

    click(page, 4, PagePart::imX, Qt::RightButton);
    QCOMPARE(f.main->mnuDeleteTag, folder + u"/p4.jpg | 4"_s);
    QVERIFY(f.main->deletionMenu()->isVisible());
    f.main->deletionMenu()->hide();

    f.dialogs.answerMessageBox(QMessageBox::Yes);
    f.main->DeletePhotoCommand();
    QVERIFY(!QFile::exists(folder + u"/p4.jpg"_s));
    const CellMarks &m = page->marks(4);
    QCOMPARE(page->model().cell(4).caption, u"Deleted"_s);
    QCOMPARE(m.txtName, u"Deleted"_s);
    QVERIFY(page->model().cell(4).dateText.isEmpty());
    QVERIFY(!m.imgCameraEnabled);
    QVERIFY(!m.imXVisible);
    QCOMPARE(m.lblHolderCaption, u"File deleted. This box will clear when reloading photo's."_s);
    // The other cells and the catalogue stay as they were.
    QCOMPARE(page->model().cell(3).caption, u"p3.jpg"_s);
    QCOMPARE(f.records().size(), 5);
    // Its picture is gone from the page: a right click there is one on the mount now.
    f.main->mnuDeleteTag.clear();
    click(page, 4, PagePart::imX, Qt::RightButton);
    QVERIFY(f.main->mnuDeleteTag.isEmpty());
}

void TestFrmChildMain::rightClickOnCanvasShowsPageMenu()
{
    PageFixture f;
    frmChildMain *page = f.folderPage(f.album(u"menu"_s, 2));
    const QRect frame = page->Picture1()->partRect(1, PagePart::None);
    QTest::mouseClick(page->Picture1(),
                      Qt::RightButton,
                      {},
                      QPoint(frame.right() + 8, frame.center().y()));
    QVERIFY(f.main->popupMenu()->isVisible());
    QVERIFY(!f.main->deletionMenu()->isVisible());
    f.main->popupMenu()->hide();
}

void TestFrmChildMain::renameInPlace()
{
    PageFixture f;
    const QString folder = f.album(u"rename"_s, 3);
    frmChildMain *page = f.folderPage(folder);
    struct Call
    {
        int index;
        QString mode;
        QString oldPath;
        QString caption;
    };
    QList<Call> calls;
    albumPageHooks(f.program).renameFile =
        [&](int index, frmChildMain &p, const QString &mode, const QString &oldPath) {
            calls.append({index, mode, oldPath, p.model().cell(index).caption});
        };

    click(page, 1, PagePart::lblName);
    QLineEdit *box = page->txtName();
    QVERIFY(!box->isHidden());
    QCOMPARE(box->text(), u"p1.jpg"_s);
    QCOMPARE(box->geometry(), page->Picture1()->partRect(1, PagePart::lblName));

    // Blanks only: the notice, no rename, the box stays open.
    box->setText(u"   "_s);
    QTest::keyClick(box, Qt::Key_Return);
    const QList<ScriptedDialogs::Shown> notices = f.dialogs.shownOfKind(u"exec"_s);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.at(0).objectName, u"frmMsgBox"_s);
    QCOMPARE(notices.at(0).text,
             u"\nYou have not entered a name for your Photo. Enter a Name and then Contine."_s);
    QVERIFY(calls.isEmpty());
    QVERIFY(!box->isHidden());
    QCOMPARE(page->model().cell(1).caption, u"p1.jpg"_s);
    f.program.msgBox.unload();

    box->setText(u"Tom & Jerry.jpg"_s);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.at(0).index, 1);
    QVERIFY(calls.at(0).mode.isEmpty());
    QVERIFY(calls.at(0).oldPath.isEmpty());
    QVERIFY(box->isHidden());
    QCOMPARE(page->marks(1).txtName, u"Tom & Jerry.jpg"_s);
    // The label shows the name as typed: its caption keeps "&" literal.
    QCOMPARE(calls.at(0).caption, u"Tom && Jerry.jpg"_s);

    // A pasted photo hands its camera tag and its old file to the rename.
    CellMarks pasted = page->marks(2);
    pasted.imgCameraTag = u"pasted"_s;
    pasted.lblNameTag = u"/tmp/GBk_Temp/7912.jpg"_s;
    page->setMarks(2, pasted);
    click(page, 2, PagePart::lblName);
    page->txtName()->setText(u"Sunset"_s);
    QTest::keyClick(page->txtName(), Qt::Key_Return);
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls.at(1).mode, u"pasted"_s);
    QCOMPARE(calls.at(1).oldPath, u"/tmp/GBk_Temp/7912.jpg"_s);
}

void TestFrmChildMain::doubleClickShowsViewerOrInvalidMessage()
{
    PageFixture f;
    const QString folder = f.album(u"broken"_s, 1);
    QVERIFY(PictureMaker::writeCorrupt(folder + u"/p1.jpg"_s));
    QVERIFY(PictureMaker::writeCorrupt(folder + u"/p2.jpg"_s));
    frmChildMain *page = f.folderPage(folder);
    QVERIFY(page->marks(1).isInvalid());
    QList<std::pair<int, bool>> viewed;
    albumPageHooks(f.program).showPhotoInViewer = [&](int index, frmChildMain &, bool pasted) {
        viewed.append({index, pasted});
    };

    int okLeft = -1;
    int cancelLeft = -2;
    f.dialogs.onExec(ScriptedDialogs::inspect([&](QDialog &d) {
        auto &box = static_cast<frmMsgBox &>(d);
        okLeft = box.cmdOK()->x();
        cancelLeft = box.cmdCancel()->x();
    }));
    QTest::mouseDClick(page->Picture1(), Qt::LeftButton, {}, at(page, 1, PagePart::imX));
    const QList<ScriptedDialogs::Shown> shown = f.dialogs.shownOfKind(u"exec"_s);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text,
             u"This photo has been corrupted (damaged) or is invalid as a photo file and cannot "
             "be shown."_s);
    QVERIFY(shown.at(0).hidden.contains(u"lblMsg"_s));
    QVERIFY(shown.at(0).hidden.contains(u"txtEntry"_s));
    QVERIFY(shown.at(0).hidden.contains(u"cmdCancel"_s));
    QVERIFY(!shown.at(0).hidden.contains(u"cmdOK"_s));
    QCOMPARE(okLeft, cancelLeft);
    QVERIFY(viewed.isEmpty());
    f.program.msgBox.unload();

    QTest::mouseDClick(page->Picture1(), Qt::LeftButton, {}, at(page, 0, PagePart::imX));
    QCOMPARE(viewed, (QList<std::pair<int, bool>>{{0, false}}));

    // A pasted photo is never refused: its invalid mark goes and the viewer is told it is pasted.
    CellMarks pasted = page->marks(2);
    pasted.imgCameraTag = u"pasted"_s;
    page->setMarks(2, pasted);
    QTest::mouseDClick(page->Picture1(), Qt::LeftButton, {}, at(page, 2, PagePart::imX));
    QCOMPARE(viewed.last(), (std::pair<int, bool>{2, true}));
    QVERIFY(!page->marks(2).isInvalid());
    QCOMPARE(f.dialogs.shownOfKind(u"exec"_s).size(), 1);
}

void TestFrmChildMain::hoverTextsGoToMessagePanel_data()
{
    QTest::addColumn<int>("part");
    QTest::addColumn<bool>("redBand");
    QTest::addColumn<QString>("text");

    QTest::newRow("picture")
        << int(PagePart::imX) << false
        << u"  Click name at the top of photo to rename photo | Click PRINT for thumbnail printout of Album. | Double click Photo for larger view | Right Click Photo to DELETE."_s;
    QTest::newRow("tick band")
        << int(PagePart::chkSelected) << false
        << u"  Click on the name at the top of any photo to easily rename the photo | Click on PRINT to print a thumbnail printout of your Album."_s;
    QTest::newRow("red tick band")
        << int(PagePart::chkSelected) << true
        << u"  Red Tabs on the side of the Photo Thumbnail mean the Photo has not been saved. All pasted Photos already have a checkmark\n  and you can Click on the Rename Multiple icon to save or Click on the Name above the photo and rename it there."_s;
    QTest::newRow("camera")
        << int(PagePart::imgCamera) << false
        << u"  Click here to save comments and notes to your Photos. | Click to view Photo Information like Camera Make Model, F stop Setting, Aperture and Speed used for this photo"_s;
    QTest::newRow("name")
        << int(PagePart::lblName) << false
        << u"  Click on the name at the top of any photo to easily rename the photo"_s;
    QTest::newRow("date")
        << int(PagePart::lblDate) << false
        << u"  Click on the name at the top of any photo to easily rename the photo"_s;
    QTest::newRow("canvas")
        << int(PagePart::None) << false
        << u"  Click a File Name to rename the File | Right Click for Menu choices"_s;
}

void TestFrmChildMain::hoverTextsGoToMessagePanel()
{
    QFETCH(int, part);
    QFETCH(bool, redBand);
    QFETCH(QString, text);
    PageFixture f;
    frmChildMain *page = f.folderPage(f.album(u"hover"_s, 2));
    if (redBand) {
        CellMarks m = page->marks(1);
        m.chkSelectedColour = CellMarks::unsavedTickBandColour();
        page->setMarks(1, m);
    }
    const QRect frame = page->Picture1()->partRect(1, PagePart::None);
    const QPoint pos = PagePart(part) == PagePart::None
        ? QPoint(frame.right() + 8, frame.center().y())
        : at(page, 1, PagePart(part));
    hover(page->Picture1(), pos);
    QCOMPARE(f.main->messageText(), text);

    hover(page->chkSelect(), QPoint(2, 2));
    QCOMPARE(f.main->messageText(),
             u"  Select this option to select or deselect all the photos with one click"_s);
}

void TestFrmChildMain::backgroundColourCommand_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("selectAllText");
    QTest::newRow("white") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("dark red") << QColor(0x80, 0, 0) << QColor(Qt::white);
}

void TestFrmChildMain::backgroundColourCommand()
{
    QFETCH(QColor, colour);
    QFETCH(QColor, selectAllText);
    PageFixture f;
    frmChildMain *page = f.folderPage(f.album(u"colour"_s, 1));
    f.dialogs.answerColor(colour);
    f.main->BackgroundCommand();
    QCOMPARE(page->pageBackground(), colour);
    QCOMPARE(page->palette().color(QPalette::Window), colour);
    QCOMPARE(page->chkSelect()->palette().color(QPalette::WindowText), selectAllText);
    QCOMPARE(page->Picture1()->grab().toImage().pixelColor(2, 40), colour);
}

void TestFrmChildMain::cellsArePaintedAtTheirLayoutPlaces()
{
    PageFixture f;
    const int count = 9;
    frmChildMain *page = f.folderPage(f.album(u"grid"_s, count));
    PageCanvas *canvas = page->Picture1();
    const int widthTwips = canvas->width() * PageLayout::kTwipsPerPixel;
    QVERIFY(PageLayout::cellsPerRow(widthTwips) < count); // two rows at least
    QVERIFY(canvas->height() >= std::ceil(PageLayout::canvasHeight(count, widthTwips) / 15.0));

    const auto frameProbe = [&](int i) {
        // Inside the frame, between the tick band and the mount.
        const QRect frame = twipsToPixels(PageLayout::cellGeometry(i, widthTwips).Shape1);
        return QPoint(frame.left() + 14, frame.top() + 60);
    };
    QImage shot = canvas->grab().toImage();
    for (int i = 0; i < count; ++i) {
        const PageLayout::CellGeometry g = PageLayout::cellGeometry(i, widthTwips);
        const QRect frame = twipsToPixels(g.Shape1);
        QCOMPARE(shot.pixelColor(frameProbe(i)), cellColour());
        QCOMPARE(shot.pixelColor(frame.left() - 3, frame.center().y()), QColor(0, 0x40, 0));
        QVERIFY(shot.pixelColor(twipsToPixels(g.imX).center()) != cellColour());
    }
    click(page, 0, PagePart::imX);
    shot = canvas->grab().toImage();
    QCOMPARE(shot.pixelColor(frameProbe(0)), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(frameProbe(1)), cellColour());
}

void TestFrmChildMain::cellsArePaintedWhileThePageIsBuilt()
{
    PageFixture f;
    const QString folder = f.album(u"live"_s, 24);
    frmChildMain *page = loadAlbumPage(f.program);
    QVERIFY(QTest::qWaitForWindowExposed(page));

    struct PaintWatch : QObject
    {
        const PageModel *model = nullptr;
        int paintedDuringBuild = 0;
        int maxProgress = -1;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && model->isBuilding() && model->count() > 0) {
                ++paintedDuringBuild;
            }
            return false;
        }
    } watch;
    watch.model = &page->model();
    page->Picture1()->installEventFilter(&watch);
    QStringList counters;
    connect(&page->model(), &PageModel::progressed, this, [&] {
        // The main window shows the counter of the photo being loaded.
        counters.append(f.main->lblFileCounter()->text());
        QVERIFY(f.main->pgBar()->isVisible());
    });

    buildFolderPage(f.program, *page, folder);
    QCOMPARE(page->model().count(), 24);
    QVERIFY(watch.paintedDuringBuild > 0);
    QVERIFY(!f.main->pgBar()->isVisible());
    QVERIFY(f.main->lblFileCounter()->text().isEmpty());
    QCOMPARE(page->windowTitle(), folder);
    QCOMPARE(f.main->windowTitle(), mainWindowCaption(QDate::currentDate()));
    // The counter is redrawn at a human pace, always for the first and the last photo.
    QCOMPARE(counters.size(), 24);
    QCOMPARE(counters.first(), u"Loading file: 1 of 24 total files"_s);
    QCOMPARE(counters.last(), u"Loading file: 24 of 24 total files"_s);
}

void TestFrmChildMain::openAlbumCategorizedAndReopened()
{
    PageFixture f;
    const QString folder = f.album(u"Tom's & Jerry's #1"_s, 3);
    f.dialogs.onExec(ScriptedDialogs::click(u"cmdOK"_s));
    QPointer<frmChildMain> page = openAlbumPage(f.program, folder);
    QVERIFY(page);

    const QList<ScriptedDialogs::Shown> asked = f.dialogs.shownOfKind(u"exec"_s);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.at(0).objectName, u"frmMsgBox"_s);
    QCOMPARE(asked.at(0).text, categorizeQuestionText());
    QCOMPARE(asked.at(0).texts.value(u"cmdCancel"_s), u"NO"_s);
    for (const QString &hidden : {u"pgBar"_s, u"lblMsg"_s, u"txtEntry"_s}) {
        QVERIFY2(asked.at(0).hidden.contains(hidden), qPrintable(hidden));
    }
    QVERIFY(!asked.at(0).hidden.contains(u"cmdOK"_s));
    QVERIFY(!f.program.msgBox.isLoaded());

    const QList<StoredRecord> stored = f.records();
    QCOMPARE(stored.size(), 3);
    for (const StoredRecord &r : stored) {
        QCOMPARE(r.imgPath, folder);
        QVERIFY(!r.imageIsNull);
    }
    QCOMPARE(page->model().kind(), PageModel::Kind::Catalogue);
    QCOMPARE(page->model().count(), 3);
    QCOMPARE(page->model().cell(2).Shape1Tag, folder + u"/p2.jpg"_s);
    QVERIFY(!page->model().cell(2).picture.isNull());
    QCOMPARE(page->Tag, folder);
    QCOMPARE(page->windowTitle(), folder);
    QCOMPARE(f.state->CurrentAlbumPath, folder);
    QVERIFY(f.state->AlbumWindowOpen);
    QVERIFY(f.main->findChild<QWidget *>(u"pnlMsgs"_s)->isEnabled());
    QVERIFY(!f.main->pgBar()->isVisible());

    // Opened again: no question, the page comes from the catalogue, the old page is gone.
    QPointer<frmChildMain> again = openAlbumPage(f.program, folder);
    QVERIFY(again);
    QVERIFY(again != page);
    QVERIFY(goneAfterDeletion(page));
    QCOMPARE(f.dialogs.shownOfKind(u"exec"_s).size(), 1);
    QCOMPARE(f.records().size(), 3);
    QCOMPARE(again->model().kind(), PageModel::Kind::Catalogue);
    QCOMPARE(again->model().count(), 3);
    QCOMPARE(f.state->CurrentAlbumPath, folder);
    QCOMPARE(albumPages(f.program).size(), 1);
}

void TestFrmChildMain::openAlbumNotCategorized()
{
    PageFixture f;
    const QString folder = f.album(u"plain"_s, 3);
    f.dialogs.onExec(ScriptedDialogs::click(u"cmdCancel"_s));
    frmChildMain *page = openAlbumPage(f.program, folder);
    QVERIFY(page);
    QCOMPARE(f.dialogs.shownOfKind(u"exec"_s).size(), 1);
    QVERIFY(f.records().isEmpty());
    QCOMPARE(page->model().kind(), PageModel::Kind::Folder);
    QCOMPARE(page->model().count(), 3);
    QCOMPARE(page->model().cell(0).imXPicture, folder + u"/p0.jpg"_s);
    QCOMPARE(page->windowTitle(), folder);
}

void TestFrmChildMain::openAlbumWithCorruptCatalogueShowsFolder()
{
    PageFixture f;
    const QString folder = f.album(u"fallback"_s, 3);
    QFile catalogue(f.home.values().cataloguePath());
    QVERIFY(catalogue.open(QIODevice::WriteOnly));
    catalogue.write(QByteArray(4096, 'x'));
    catalogue.close();

    frmChildMain *page = openAlbumPage(f.program, folder);
    QVERIFY(page);
    QVERIFY(f.dialogs.shownOfKind(u"exec"_s).isEmpty());
    QCOMPARE(page->model().kind(), PageModel::Kind::Folder);
    QCOMPARE(page->model().count(), 3);
    QVERIFY(f.home.logText().contains("Error in [modMain - DatabaseSyncAndRead] "));
    // The user's catalogue file is left as it was.
    QCOMPARE(QFileInfo(f.home.values().cataloguePath()).size(), 4096);
}

void TestFrmChildMain::builderProgressDialog()
{
    PageFixture f;
    MsgBoxBuilderProgress progress(f.program);
    progress.begin(3, false);
    frmMsgBox *box = f.program.msgBox.loaded();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QCOMPARE(box->pgBar()->maximum(), 3);
    QVERIFY(!box->pgBar()->isHidden());
    QVERIFY(box->cmdOK()->isHidden());
    QVERIFY(box->txtEntry()->isHidden());
    QVERIFY(box->cmdCancel()->x() >= box->width());
    QVERIFY(box->txtHelpMsg()->isReadOnly());
    QVERIFY(box->isHelpBold());
    QVERIFY(box->isHelpCentred());
    QCOMPARE(box->helpText(), CatalogueBuilderText::message(false));
    QCOMPARE(box->lblMsg()->text(), u"Categorizing Photo 1 of 1"_s);

    progress.advance(2, 3);
    QCOMPARE(box->pgBar()->value(), 2);
    QCOMPARE(box->lblMsg()->text(), u"Categorizing Photo 2 of 3"_s);
    const QRect caption = box->lblMsg()->geometry();
    QVERIFY(std::abs(caption.center().x() - box->width() / 2) <= 1);

    progress.end();
    QVERIFY(!f.program.msgBox.isLoaded());
}

void TestFrmChildMain::promotionPicturesAreCatalogued()
{
    PageFixture f;
    const QString promo = f.home.values().promoFolder();
    QDir().mkpath(promo);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(PictureMaker::writePhoto(promo + u"/promo%1.jpg"_s.arg(i), QSize(400, 300), i));
    }
    cataloguePromoPictures(f.program);
    const QList<StoredRecord> stored = f.records();
    QCOMPARE(stored.size(), 2);
    QCOMPARE(stored.at(0).imgPath, promo);
    QVERIFY(!f.program.msgBox.isLoaded());
}

QTEST_MAIN(TestFrmChildMain)
#include "tst_frmchildmain.moc"
