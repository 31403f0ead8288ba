// The album picker's modes: what each opener sets up, and what OK and Cancel do in each.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

#include "albumpath.h"
#include "albumpicker.h"
#include "appstate.h"
#include "frmdirlistbox.h"
#include "frmmsgbox.h"
#include "mdimain.h"
#include "program.h"

namespace {

const QString kOKTag = QStringLiteral("frmDirListBox - cmdOK_Click");

constexpr int kTwipsPerPixel = 15;

int px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

void setTransparentWithoutBorder(QLabel *label)
{
    label->setAutoFillBackground(false);
    label->setFrameStyle(QFrame::NoFrame);
}

} // namespace

void frmDirListBox::setUpOpenMode()
{
    Tag.clear();
    m_txtAlbum->hide();
    m_lblDirections->move(m_lblDirections->x(), m_txtAlbum->y());
}

void frmDirListBox::setUpNewAlbumMode()
{
    Tag = QStringLiteral("new_album");
    const QString applicationFolder = m_program.state().startup.ApplicationFolder;
    // Tag is set first, so the folder list names its folder in lblHelp from now on.
    setFolderListPath(applicationFolder);
    m_dirMain->hide();
    m_lblFileCount->hide();

    setTransparentWithoutBorder(m_lblHelp);
    QFont bold = m_lblHelp->font();
    bold.setBold(true);
    m_lblHelp->setFont(bold);
    m_lblHelp->move(m_lblHelp->x(), px(500));
    m_lblHelp->setText(QStringLiteral("Current Folder: ") + folderListPath());
    m_lblHelp->adjustSize();
    m_lblHelp->show();

    setTransparentWithoutBorder(m_lblDirections);
    m_lblDirections->setText(QStringLiteral("Enter the Name for your New Album:"));
    m_lblDirections->move(m_lblDirections->x(), m_Drive1->geometry().bottom() + 1 + px(50));

    m_txtAlbum->clear();
    m_txtAlbum->setReadOnly(false);
    m_txtAlbum->move(m_txtAlbum->x(), m_lblDirections->geometry().bottom() + 1 + px(20));
    m_txtAlbum->show();
    m_txtAlbum->setFocus();

    setWindowTitle(QStringLiteral("Enter the New Album name"));
    setSizeTwips(width() * kTwipsPerPixel, 2790);
}

void frmDirListBox::setUpManualDownloadMode()
{
    Tag = QStringLiteral("manualdownload");
    m_program.state().ManualDownloadActive = true;
    m_txtAlbum->show();
    m_txtAlbum->setReadOnly(true);
    m_lblDirections->move(m_lblDirections->x(), px(240));
    m_lblDirections->setText(QStringLiteral("Select Your Photo Files Location:"));
    m_lblDirections->adjustSize();
    setWindowTitle(QStringLiteral("Select your Photo Files Location:"));
    // Wide enough to bring the camera and card reader help into view.
    setSizeTwips(11640, height() * kTwipsPerPixel);
}

void frmDirListBox::setUpHandleMediaFoundMode()
{
    Tag = QStringLiteral("HandleMediaFound");
    m_lblDirections->setText(QStringLiteral("Select or Enter a New Album for your Photos:"));
    m_txtAlbum->clear();
    QPalette colours = m_txtAlbum->palette();
    colours.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xC0));
    m_txtAlbum->setPalette(colours);
    // The program's own drive, then its folder; neither runs a folder click.
    const QString applicationFolder = m_program.state().startup.ApplicationFolder;
    setDriveOf(applicationFolder);
    setFolderListPath(applicationFolder);
}

void frmDirListBox::setUpAlbumMode()
{
    Tag = QStringLiteral("album");
    QPalette colours = m_lblDirections->palette();
    colours.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    m_lblDirections->setPalette(colours);
    m_lblDirections->setText(
        QStringLiteral("Enter a New Album Name or select an Album to save these photos in:"));
}

void frmDirListBox::setUpPrintMode()
{
    Tag = QStringLiteral("print");
    m_txtAlbum->setReadOnly(true);
}

void frmDirListBox::cmdOK_Click()
{
    setResult(QDialog::Accepted);
    if (Tag.isEmpty()) {
        openAlbum(selectedFolder());
    } else if (Tag == u"new_album") {
        openNewAlbum();
    } else if (Tag == u"print") {
        txtAlbumTag = m_txtAlbum->text();
        hide();
    } else if (Tag == u"album") {
        const AlbumPickerHooks &hooks = albumPickerHooks(m_program);
        if (hooks.albumModeOK) {
            hooks.albumModeOK(*this);
        } else {
            hide();
        }
    } else {
        // "manualdownload", "HandleMediaFound": the opener reads the choice from the hidden
        // picker. A mode nobody knows answers the same way rather than leaving the user stuck.
        hide();
    }
}

void frmDirListBox::openNewAlbum()
{
    const QString typed = m_txtAlbum->text();
    const Result<QString> path = AlbumPath::newAlbumPath(typed, folderListPath());
    if (!path) {
        refuseAlbum(typed, path.failure());
        return;
    }
    const Result<bool> made = AlbumPath::ensureAlbumFolder(path.value());
    if (!made) {
        refuseAlbum(typed, made.failure());
        return;
    }
    openAlbum(path.value());
}

void frmDirListBox::refuseAlbum(const QString &typedName, const Failure &failure)
{
    // Nothing opens and the picker stays up, so the user can choose another name.
    m_program.state().log.error(kOKTag, failure);
    ShowNotice(m_program,
               QStringLiteral("\nThe Album \"") + typedName
                   + QStringLiteral("\" could not be created.\n") + failure.description,
               true,
               false);
}

void frmDirListBox::openAlbum(const QString &albumPath)
{
    // The picker is gone after unloadMe(); only locals are used from there on.
    Program &program = m_program;
    program.state().CurrentAlbumPath = albumPath;
    unloadMe();
    if (program.commands.openAlbumPage) {
        program.commands.openAlbumPage(albumPath);
    }
}

void frmDirListBox::cmdCancel_Click()
{
    setResult(QDialog::Rejected);
    AppState &state = m_program.state();
    if (Tag == u"new_album" || Tag == u"manualdownload") {
        state.ManualDownloadActive = false;
        unloadMe();
        return;
    }
    cmdCancelTag = QStringLiteral("cancel");
    state.LastPickedFolder.clear();
    hide();
}
