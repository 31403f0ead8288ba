#include "albumpages.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "albumsync.h"
#include "appstate.h"
#include "cataloguebuilder.h"
#include "frmchildmain.h"
#include "frmmsgbox.h"
#include "mdimain.h"
#include "msgboxprogress.h"
#include "pagelayout.h"
#include "pagemodel.h"
#include "program.h"
#include "startupvalues.h"

namespace {

const QString kRegistryName = QStringLiteral("glimAlbumPageRegistry");

class AlbumPageRegistry : public QObject
{
public:
    explicit AlbumPageRegistry(Program &program)
        : QObject(&program)
    {
        setObjectName(kRegistryName);
    }

    AlbumPageHooks hooks;
};

/// The main window's message panel is disabled while a page is built, and enabled again when
/// the build ends however it ends.
class MessagePanelPause
{
public:
    explicit MessagePanelPause(Program &program)
    {
        if (MDIMain *main = program.mainWindow()) {
            m_panel = main->findChild<QWidget *>(QStringLiteral("pnlMsgs"));
        }
        if (m_panel) {
            m_panel->setEnabled(false);
        }
    }
    ~MessagePanelPause()
    {
        if (m_panel) {
            m_panel->setEnabled(true);
        }
    }
    MessagePanelPause(const MessagePanelPause &) = delete;
    MessagePanelPause &operator=(const MessagePanelPause &) = delete;

private:
    QPointer<QWidget> m_panel;
};

/// The main window's caption of today, and its progress bar hidden.
void restoreMainWindow(Program &program)
{
    if (MDIMain *main = program.mainWindow()) {
        main->setWindowTitle(mainWindowCaption(QDate::currentDate()));
        main->hideProgress();
    }
}

bool isStopped(const Result<int> &built)
{
    return !built && built.failure().number == Failures::invalidProcedureCall().number;
}

} // namespace

AlbumPageHooks &albumPageHooks(Program &program)
{
    const QObjectList &children = program.children();
    for (QObject *child : children) {
        if (child->objectName() == kRegistryName) {
            if (auto *found = dynamic_cast<AlbumPageRegistry *>(child)) {
                return found->hooks;
            }
        }
    }
    return (new AlbumPageRegistry(program))->hooks;
}

LibraryContext libraryContext(const Program &program)
{
    return LibraryContext::fromStartup(program.state().startup);
}

frmChildMain *loadAlbumPage(Program &program)
{
    auto *page = new frmChildMain(program);
    if (QMdiSubWindow *frame = page->subWindow()) {
        frame->show();
    } else {
        page->show();
    }
    return page;
}

QList<frmChildMain *> albumPages(Program &program)
{
    QList<frmChildMain *> pages;
    const auto take = [&pages](QWidget *w) {
        if (auto *page = qobject_cast<frmChildMain *>(w); page && !page->isUnloaded()) {
            pages.append(page);
        }
    };
    if (MDIMain *main = program.mainWindow()) {
        const QList<QMdiSubWindow *> frames = main->mdiArea()->subWindowList();
        for (QMdiSubWindow *frame : frames) {
            take(frame->widget());
        }
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        take(w);
    }
    return pages;
}

frmChildMain *activeAlbumPage(Program &program)
{
    if (MDIMain *main = program.mainWindow()) {
        if (QMdiSubWindow *current = main->mdiArea()->currentSubWindow()) {
            if (auto *page = qobject_cast<frmChildMain *>(current->widget());
                page && !page->isUnloaded()) {
                return page;
            }
        }
    }
    const QList<frmChildMain *> pages = albumPages(program);
    return pages.isEmpty() ? nullptr : pages.first();
}

void SelectAllPhotos(Program &program)
{
    if (frmChildMain *page = activeAlbumPage(program)) {
        page->setAllTicked(true);
    }
}

void UnselectAllPhotos(Program &program)
{
    if (frmChildMain *page = activeAlbumPage(program)) {
        page->setAllTicked(false);
    }
}

bool askCategorize(Program &program)
{
    frmMsgBox &box = program.msgBox.load();
    box.pgBar()->hide();
    box.cmdOK()->show();
    QPushButton *no = box.cmdCancel();
    no->move(box.cmdOK()->width() + box.cmdOK()->x() + 100 / PageLayout::kTwipsPerPixel, no->y());
    no->show();
    no->setText(QStringLiteral("NO"));
    box.lblMsg()->hide();
    box.txtEntry()->hide();
    box.setHelpFont(QStringLiteral("Arial"), 9);
    box.setHelpText(categorizeQuestionText());
    box.Tag = QStringLiteral("categorize");
    box.showModal();
    // Both answers only hide the dialog; the answer is its tag.
    const frmMsgBox *answered = program.msgBox.loaded();
    const bool ok = answered && answered->Tag == u"OK";
    program.msgBox.unload();
    return ok;
}

Result<int> buildFolderPage(Program &program, frmChildMain &page, const QString &albumPath)
{
    const QPointer<frmChildMain> alive(&page);
    const Result<int> built =
        ShowPictureThumbnails(page.model(), libraryContext(program), albumPath, false);
    restoreMainWindow(program);
    if (alive && !alive->isUnloaded() && !program.state().WizardPageMode) {
        alive->setWindowTitle(albumPath);
    }
    return built;
}

Result<int> buildCataloguePage(Program &program, frmChildMain &page, const QString &albumPath)
{
    const Result<int> built =
        ShowPictureThumbnailsFromDatabase(page.model(), libraryContext(program), albumPath);
    if (MDIMain *main = program.mainWindow()) {
        main->hideProgress();
    }
    return built;
}

bool unloadAlbumWindow(Program &program)
{
    bool all = true;
    const QList<frmChildMain *> pages = albumPages(program);
    for (frmChildMain *page : pages) {
        if (!page->unload()) {
            all = false;
        }
    }
    return all;
}

frmChildMain *openAlbumPage(Program &program, const QString &albumPath)
{
    AppState &state = program.state();
    state.CurrentAlbumPath = albumPath;
    unloadAlbumWindow(program);
    QCoreApplication::processEvents();
    // Closing the earlier page emptied the album path; the album shown from now on is this one.
    state.CurrentAlbumPath = albumPath;

    const QPointer<frmChildMain> page = loadAlbumPage(program);
    QCoreApplication::processEvents();
    if (!page || page->isUnloaded()) {
        return nullptr;
    }
    page->Tag = albumPath;
    page->setWindowTitle(albumPath);

    {
        const MessagePanelPause paused(program);
        MsgBoxBuilderProgress progress(program);
        const bool fromCatalogue = DatabaseSyncAndRead(
            libraryContext(program),
            albumPath,
            [&program] {
                return askCategorize(program);
            },
            &progress);
        if (page && !page->isUnloaded()) {
            if (!fromCatalogue) {
                buildFolderPage(program, *page, albumPath);
            } else {
                const Result<int> built = buildCataloguePage(program, *page, albumPath);
                if (!built && !isStopped(built) && page && !page->isUnloaded()) {
                    // The catalogue could not be read (the failure is logged): the album is
                    // shown from its folder instead.
                    buildFolderPage(program, *page, albumPath);
                }
            }
        }
    }
    restoreMainWindow(program);
    return page && !page->isUnloaded() ? page.data() : nullptr;
}

frmChildMain *showWizardAlbumPage(Program &program, const QString &folder)
{
    unloadAlbumWindow(program);
    QCoreApplication::processEvents();
    const QPointer<frmChildMain> page = loadAlbumPage(program);
    QCoreApplication::processEvents();
    if (!page || page->isUnloaded()) {
        return nullptr;
    }
    {
        const MessagePanelPause paused(program);
        buildFolderPage(program, *page, folder);
    }
    return page && !page->isUnloaded() ? page.data() : nullptr;
}

void cataloguePromoPictures(Program &program)
{
    MsgBoxBuilderProgress progress(program);
    // Failures are logged by the builder; the program starts all the same.
    (void)ResizeAndWriteImagesToDatabase(libraryContext(program),
                                         program.state().startup.promoFolder(),
                                         QString(),
                                         false,
                                         true,
                                         &progress);
}
