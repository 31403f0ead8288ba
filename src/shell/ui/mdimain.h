#pragma once

#include <QColor>
#include <QHash>
#include <QMainWindow>
#include <QString>

#include "commandtable.h"
#include "program.h"

class Program;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;

/// The program's main window: a frame whose client area holds the album pages and viewers, with
/// the command panel (pnlToolbar), the message panel (pnlMsgs), the free-space gauge, the zoom
/// list, the menus and the two pop-up menus the album pages show. Closing it only hides it; the
/// Shutdown command ends the program. Most commands hand over to Program::commands.
class MDIMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit MDIMain(Program &program, QWidget *parent = nullptr);
    ~MDIMain() override;

    QMdiArea *mdiArea() const { return m_area; }

    /// "unload" only while the Shutdown command closes the window for good.
    QString Tag;
    /// The Delete Photo item's tag: the photo's full path + " | " + its cell index (deleteTag()).
    /// The album page sets it before it shows deletionMenu().
    QString mnuDeleteTag;

    /// The pop-up menu "PopupMenu" (mnuPop) an album page shows on a right click on its background.
    QMenu *popupMenu() const { return m_mnuPop; }
    /// The pop-up menu "Deletion" (mnuPopDelete) an album page shows on a right click on a photo.
    QMenu *deletionMenu() const { return m_mnuPopDelete; }
    /// A menu item by its name ("mnuSave", "mnuHelpTips", ...), or nullptr.
    QAction *menuItem(const QString &name) const;
    /// The album page the page commands act on: the active window inside the main window when it
    /// is an album page, else the first album page found, else nullptr.
    AlbumPageView *activeAlbumPage() const;

    /// Sets the message panel's text as given ("" empties it).
    void setMessageText(const QString &text);
    QString messageText() const;
    /// Shows the hover text of a command-panel control (empty for controls without one).
    void showHoverText(const QString &objectName);

    /// Shows the free space of the filesystem holding the program home in the gauge; a failure
    /// is logged under "modMain - DisplayDriveSpaceInfo" and the gauge keeps its state.
    void DisplayDriveSpaceInfo();
    /// Shows available of total bytes in the gauge: the rounded percentage, dark green above 25,
    /// dark red at or below.
    void setDriveSpace(qint64 available, qint64 total);
    int driveSpacePercent() const;
    QColor driveSpaceColour() const { return m_gaugeColour; }

    /// Fills cboZoom with "25%", "50%", "75%", "100%", "200%" (start-up).
    void fillZoomList();
    /// Puts cmdCloseOpenWindow and pnlEmblem at left = width − button width − 200 twips.
    void placeCloseButton();
    /// Height of pnlMsgs + height of pnlToolbar + 800, in twips.
    int reservedPanelHeightTwips() const;
    /// Ticks or unticks Help, "Show Tips on Startup".
    void setTipsTicked(bool ticked);
    /// The page builders' progress: the bar pgBar (0 to maximum) and the counter lblFileCounter
    /// in the status area, hidden until showProgress().
    QProgressBar *pgBar() const { return m_pgBar; }
    QLabel *lblFileCounter() const { return m_lblFileCounter; }
    /// Shows the bar from 0 to maximum at value 0 with an empty counter.
    void showProgress(int maximum);
    /// Sets the bar's value and the counter's caption.
    void setProgress(int value, const QString &counterText);
    /// Clears the counter and hides the bar.
    void hideProgress();
    /// The pause timer of printing: when it fires it sets PrintTimerElapsed and stops.
    QTimer *tmrPrint() const { return m_tmrPrint; }

    /// Runs a command of the command table.
    void runCommand(MainCommand command);

public Q_SLOTS:
    void NewAlbumCommand();
    void OpenAlbumCommand();
    void OpenImageCommand();
    void DownloadCommand();
    /// Asks to close the other windows when there are any ("closewindows"), then opens the
    /// organisation wizard. Also run by the prompt dialog's "runwizard" OK.
    void OrganizeWizardCommand();
    void RenameCommand();
    void ResizeCommand();
    void WebPageCommand();
    void FtpCommand();
    void PrintCommand();
    void GoOnlineCommand();
    void WebsiteCommand();
    void SaveImageAsCommand();
    void PasteCommand();
    void BackgroundCommand();
    void DeletePhotoCommand();
    void CascadeCommand();
    void TileCommand();
    void ShowHelpCommand();
    void AboutCommand();
    /// Help, "Show Tips on Startup": stores "tips" = "1" when ticked, "0" when not.
    void HelpTipsCommand(bool ticked);
    /// Hides the program (the window's close request).
    void ExitCommand();
    /// Ends the program: Tag "unload", then the close request.
    void ShutdownCommand();
    /// Unloads the window active inside the main window; nothing when there is none.
    void cmdCloseOpenWindow_Click();

Q_SIGNALS:
    /// The Shutdown command closed the window for good; the program ends.
    void shutdownRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPanels();
    void buildMenus();
    void fillWindowList();
    void showBrowser(const QString &address, bool letEventsRun);
    QString hoverTextAt(QWidget *panel, const QPoint &pos) const;

    Program &m_program;
    QMdiArea *m_area = nullptr;
    QFrame *m_pnlToolbar = nullptr;
    QLabel *m_pnlMsgs = nullptr;
    QCheckBox *m_chkHelp = nullptr;
    QComboBox *m_cboZoom = nullptr;
    QPushButton *m_cmdCloseOpenWindow = nullptr;
    QLabel *m_pnlEmblem = nullptr;
    QProgressBar *m_pnlDriveSpace = nullptr;
    QProgressBar *m_pgBar = nullptr;
    QLabel *m_lblFileCounter = nullptr;
    QTimer *m_tmrPrint = nullptr;
    QMenu *m_mnuWindow = nullptr;
    QMenu *m_mnuPop = nullptr;
    QMenu *m_mnuPopDelete = nullptr;
    QList<QAction *> m_windowListActions;
    QHash<QString, QAction *> m_menuItems;
    QHash<QObject *, MainCommand> m_clickCommands;
    QColor m_gaugeColour;
    /// The colour dialog's colour, kept between uses like the dialog component's own.
    // Starts as the page's own colour, so a colour dialog cancelled at its first use changes nothing.
    QColor m_pickedBackground = AlbumPageView::defaultBackground();
};
