// The main window's commands. Most hand over to the subsystem that carries them
// (Program::commands); the rest do their small work here.

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTextEdit>

#include "appstate.h"
#include "dialogs.h"
#include "frmbrowser.h"
#include "frmmsgbox.h"
#include "frmsplash.h"
#include "mdimain.h"
#include "photodeletion.h"
#include "program.h"
#include "shelltexts.h"

void MDIMain::runCommand(MainCommand command)
{
    switch (command) {
    case MainCommand::None:
    case MainCommand::ToggleTips:
        return;
    case MainCommand::NewAlbum:
        return NewAlbumCommand();
    case MainCommand::OpenAlbum:
        return OpenAlbumCommand();
    case MainCommand::OpenImage:
        return OpenImageCommand();
    case MainCommand::Download:
        return DownloadCommand();
    case MainCommand::OrganizeWizard:
        return OrganizeWizardCommand();
    case MainCommand::Rename:
        return RenameCommand();
    case MainCommand::Resize:
        return ResizeCommand();
    case MainCommand::WebPage:
        return WebPageCommand();
    case MainCommand::Ftp:
        return FtpCommand();
    case MainCommand::Print:
        return PrintCommand();
    case MainCommand::GoOnline:
        return GoOnlineCommand();
    case MainCommand::SaveImageAs:
        return SaveImageAsCommand();
    case MainCommand::Exit:
        return ExitCommand();
    case MainCommand::Cascade:
        return CascadeCommand();
    case MainCommand::Tile:
        return TileCommand();
    case MainCommand::Website:
        return WebsiteCommand();
    case MainCommand::ShowHelp:
        return ShowHelpCommand();
    case MainCommand::Shutdown:
        return ShutdownCommand();
    case MainCommand::About:
        return AboutCommand();
    case MainCommand::Paste:
        return PasteCommand();
    case MainCommand::Background:
        return BackgroundCommand();
    case MainCommand::DeletePhoto:
        return DeletePhotoCommand();
    }
}

void MDIMain::NewAlbumCommand()
{
    Program::run(m_program.commands.newAlbum);
}

void MDIMain::OpenAlbumCommand()
{
    Program::run(m_program.commands.openAlbum);
}

void MDIMain::OpenImageCommand()
{
    const QString path =
        m_program.dialogs().openFileName(nullptr,
                                         QStringLiteral("Open"),
                                         m_program.state().startup.ApplicationFolder,
                                         ShellTexts::openImageFilter(),
                                         ShellTexts::openImageDefaultSuffix());
    if (!path.isEmpty() && m_program.commands.openImageInViewer) {
        m_program.commands.openImageInViewer(path);
    }
}

void MDIMain::DownloadCommand()
{
    Program::run(m_program.commands.download);
}

void MDIMain::OrganizeWizardCommand()
{
    if (m_program.loadedWindowCount() > 1) {
        frmMsgBox &box = m_program.msgBox.load();
        box.cmdCancel()->setText(QStringLiteral("NO"));
        box.setHelpBold(true);
        box.setHelpText(ShellTexts::closeWindowsQuestion());
        box.Tag = QStringLiteral("closewindows");
        box.txtEntry()->hide();
        box.lblMsg()->hide();
        box.showModal();
        // The answer is in the tag of the dialog, which its buttons only hide.
        if (frmMsgBox *answered = m_program.msgBox.loaded(); answered && answered->Tag == u"NO") {
            m_program.msgBox.unload();
            return;
        }
    }
    m_program.unloadAllWindowsExceptMain();
    m_program.msgBox.unload();
    Program::run(m_program.commands.showOrgWizard);
}

void MDIMain::RenameCommand()
{
    frmMsgBox &box = m_program.msgBox.load();
    if (m_program.state().SelectedPhotos.isEmpty()) {
        box.lblMsg()->hide();
        box.txtEntry()->hide();
        box.setHelpText(ShellTexts::noPhotosSelected());
        box.showModal();
        return;
    }
    box.setHelpBold(true);
    box.setHelpText(ShellTexts::renameCategoryHelp());
    box.lblMsg()->setText(ShellTexts::renameEntryLabel());
    box.lblMsg()->show();
    box.txtEntry()->show();
    box.Tag = QStringLiteral("album");
    box.showModal();
}

void MDIMain::ResizeCommand()
{
    Program::run(m_program.commands.resize);
}

void MDIMain::WebPageCommand()
{
    Program::run(m_program.commands.webPage);
}

void MDIMain::FtpCommand()
{
    Program::run(m_program.commands.ftp);
}

void MDIMain::PrintCommand()
{
    Program::run(m_program.commands.print);
}

void MDIMain::showBrowser(const QString &address, bool letEventsRun)
{
    frmBrowser &browser = m_program.browserWindow.load();
    browser.navigate(address);
    if (letEventsRun) {
        QCoreApplication::processEvents();
    }
    if (frmBrowser *loaded = m_program.browserWindow.loaded()) {
        loaded->show();
        loaded->raise();
    }
}

void MDIMain::GoOnlineCommand()
{
    showBrowser(ShellTexts::vendorUploadsPage(), false);
}

void MDIMain::WebsiteCommand()
{
    showBrowser(ShellTexts::vendorHomePage(), true);
}

void MDIMain::SaveImageAsCommand()
{
    Program::run(m_program.commands.saveImageAs);
}

void MDIMain::PasteCommand()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasImage()) {
        Program::run(m_program.commands.pastePicture);
        return;
    }
    frmMsgBox &box = m_program.msgBox.load();
    box.setHelpCentred(true);
    box.setHelpText(ShellTexts::noClipboardImage());
    box.lblMsg()->hide();
    box.txtEntry()->hide();
    box.cmdCancel()->show();
    box.showModal();
}

void MDIMain::BackgroundCommand()
{
    // The colour is taken whether or not the dialog was confirmed: a cancelled dialog gives the
    // colour it opened with.
    m_pickedBackground = m_program.dialogs().color(this, m_pickedBackground);
    if (AlbumPageView *page = activeAlbumPage()) {
        page->setPageBackground(m_pickedBackground);
    }
}

void MDIMain::DeletePhotoCommand()
{
    const DeleteTarget target = parseDeleteTag(mnuDeleteTag);
    const QMessageBox::StandardButton answer =
        m_program.dialogs().messageBox(this,
                                       QMessageBox::Question,
                                       ShellTexts::deleteConfirmTitle(),
                                       ShellTexts::deleteConfirmText(target.pathPart),
                                       QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return;
    }
    const Result<void> deleted = deletePhotoFile(target.filePath());
    if (!deleted) {
        m_program.state().log.error(u"MDIMain - MnuPasteCLP_Click", deleted.failure());
    }
    // The cell is marked in every case; the catalogue record stays as it is.
    if (AlbumPageView *page = activeAlbumPage(); page && target.index) {
        page->markCellDeleted(*target.index);
    }
}

AlbumPageView *MDIMain::activeAlbumPage() const
{
    const auto pageOf = [](QMdiSubWindow *sub) -> AlbumPageView * {
        if (!sub) {
            return nullptr;
        }
        if (auto *page = dynamic_cast<AlbumPageView *>(sub->widget())) {
            return page;
        }
        return dynamic_cast<AlbumPageView *>(sub);
    };
    if (AlbumPageView *page = pageOf(m_area->currentSubWindow())) {
        return page;
    }
    const QList<QMdiSubWindow *> windows = m_area->subWindowList();
    for (QMdiSubWindow *sub : windows) {
        if (AlbumPageView *page = pageOf(sub)) {
            return page;
        }
    }
    return nullptr;
}

void MDIMain::CascadeCommand()
{
    m_area->cascadeSubWindows();
}

void MDIMain::TileCommand()
{
    // Tiled horizontally: each window the full width, one above the other.
    const QList<QMdiSubWindow *> windows = m_area->subWindowList();
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *sub : windows) {
        if (sub->isVisible() && !sub->isMinimized()) {
            shown.append(sub);
        }
    }
    if (shown.isEmpty()) {
        return;
    }
    const QRect area = m_area->viewport()->rect();
    const int height = area.height() / int(shown.size());
    int top = 0;
    for (QMdiSubWindow *sub : shown) {
        sub->showNormal();
        sub->setGeometry(0, top, area.width(), height);
        top += height;
    }
}

void MDIMain::ShowHelpCommand()
{
    // A missing help program is no error worth telling: nothing starts.
    (void)QProcess::startDetached(m_program.state().startup.ApplicationFolder
                                  + QStringLiteral("/gbkhelp"));
}

void MDIMain::AboutCommand()
{
    frmSplash &splash = m_program.splashWindow.load();
    m_program.dialogs().exec(splash);
    m_program.splashWindow.unload();
}

void MDIMain::HelpTipsCommand(bool ticked)
{
    m_program.state().settings.WriteWinIniSetting(SettingsStore::kSection,
                                                  QStringLiteral("tips"),
                                                  ticked ? QStringLiteral("1")
                                                         : QStringLiteral("0"));
}

void MDIMain::ExitCommand()
{
    close();
}

void MDIMain::ShutdownCommand()
{
    Tag = QStringLiteral("unload");
    close();
}

void MDIMain::cmdCloseOpenWindow_Click()
{
    if (QMdiSubWindow *active = m_area->currentSubWindow()) {
        active->close();
    }
}
