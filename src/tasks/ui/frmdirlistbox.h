#pragma once

#include <QDialog>
#include <QString>

#include "failure.h"

class Program;
class QComboBox;
class QFileSystemModel;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;

/// The program's one folder chooser: a drive list, a folder tree and a one-line name box.
///
/// Load it through albumPickerSlot(program) (albumpicker.h); loading runs the load step (the
/// folder list opens at LastPickedFolder, else at the application folder, and one folder click
/// runs). The opener then writes the mode word into Tag with one of the setUp...Mode() helpers,
/// calls showModal(), and reads its answer when that returns:
///
/// | Tag                | OK                                              | Cancel |
/// |--------------------|-------------------------------------------------|------------------------|
/// | ""                 | opens the selected folder as the album, unloads | cancel mark, hides | |
/// "new_album"        | creates the typed album if missing, opens it,   | clears                 |
/// |                    | unloads                                         | ManualDownloadActive, |
/// |                    |                                                 | unloads | |
/// "manualdownload"   | hides; the opener reads folderListPath()        | as "new_album"         |
/// | "HandleMediaFound" | hides; the opener reads txtAlbum and the path   | cancel mark, hides | |
/// "album"            | the rename hook of albumpicker.h                | cancel mark, hides     |
/// | "print"            | txtAlbumTag := name box text, hides             | cancel mark, hides |
///
/// The cancel mark is cmdCancelTag == "cancel"; a hiding Cancel also empties LastPickedFolder.
/// A hidden picker keeps its Tag, tags and entries until the opener unloads it; an unloaded one
/// is destroyed after the current event, so reach the picker through the slot every time.
class frmDirListBox : public QDialog
{
    Q_OBJECT

public:
    explicit frmDirListBox(Program &program, QWidget *parent = nullptr);
    ~frmDirListBox() override;

    /// The mode word (see the table above).
    QString Tag;
    /// "cancel" after a hiding Cancel.
    QString cmdCancelTag;
    /// The album chosen in mode "print" (the name box's text at OK).
    QString txtAlbumTag;

    QFrame *SSPanel1() const { return m_SSPanel1; }
    /// The name box: the clicked folder's full path, or a typed album name.
    QLineEdit *txtAlbum() const { return m_txtAlbum; }
    /// The drive list; each entry's data (Qt::UserRole) is the drive's mount point.
    QComboBox *Drive1() const { return m_Drive1; }
    /// The folder list. A single click selects a folder, a double click opens it.
    QTreeView *dirMain() const { return m_dirMain; }
    QLabel *lblDirections() const { return m_lblDirections; }
    QLabel *lblHelp() const { return m_lblHelp; }
    /// "Contains n Images" for the clicked folder.
    QLabel *lblFileCount() const { return m_lblFileCount; }
    QPushButton *cmdOK() const { return m_cmdOK; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }
    /// The camera and card reader help, just beyond the normal width.
    QGroupBox *SSFrame1() const { return m_SSFrame1; }

    /// The folder the folder list has open (set by setFolderListPath or a double click).
    QString folderListPath() const { return m_folderListPath; }
    /// Opens path in the folder list: the tree shows it expanded and selected, and the selected
    /// entry becomes path. Runs no folder click. A path on another volume re-roots the tree.
    void setFolderListPath(const QString &path);
    /// The folder list's entry at its list index: the clicked folder, else the open folder.
    QString selectedFolder() const;
    /// The mount point shown in the drive list.
    QString drive() const;
    /// Shows the drive that holds path in the drive list without running the drive change.
    void setDriveOf(const QString &path);

    /// Dialog size in twips (client area), as openers resize it.
    void setSizeTwips(int widthTwips, int heightTwips);

    /// Mode "" for the open-album command: name box hidden, directions at the name box's top.
    void setUpOpenMode();
    /// Mode "new_album": the name box for a new album inside the application folder.
    void setUpNewAlbumMode();
    /// Mode "manualdownload": ManualDownloadActive set, read-only name box, help frame shown.
    void setUpManualDownloadMode();
    /// Mode "HandleMediaFound": empty pale-yellow name box, folder list at the application
    /// folder on its drive.
    void setUpHandleMediaFoundMode();
    /// Mode "album": dark red directions asking for the target album of a category rename.
    void setUpAlbumMode();
    /// Mode "print": read-only name box; OK leaves the album in txtAlbumTag.
    void setUpPrintMode();

    /// Shows the picker modally with the main window as owner, through the program's dialog
    /// seam. Returns when a button hid or unloaded it; the picker may be unloaded by then.
    int showModal();

public Q_SLOTS:
    /// Folder click: the selected folder goes into the name box and LastPickedFolder, and its
    /// photo count into lblFileCount. Failures are logged under "frmDirListBox - dirMain_click".
    void dirMain_Click();
    /// The drive list's change: opens the chosen drive's root; a drive that cannot be opened is
    /// reported with a modal notice and the folder list stays where it was.
    void Drive1_Change();
    /// OK, by mode. Failures are logged under "frmDirListBox - cmdOK_Click" and stop the handler
    /// with the picker still shown.
    void cmdOK_Click();
    /// Cancel, by mode. Never fails.
    void cmdCancel_Click();

protected:
    /// Escape and the window's close button answer like Cancel, so a picker closed from its
    /// frame never reads as a choice.
    void reject() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void fillDriveList();
    void Form_Load();
    void setTreeRoot(const QString &rootPath);
    void folderDoubleClicked(const QModelIndex &index);
    void currentFolderChanged(const QModelIndex &current);
    void openNewAlbum();
    void openAlbum(const QString &albumPath);
    void refuseAlbum(const QString &typedName, const Failure &failure);
    void unloadMe();

    Program &m_program;
    QString m_folderListPath;
    QString m_selectedFolder;
    QString m_treeRoot;
    int m_shownDrive = -1;
    /// Set while the picker moves the tree or the drive list itself: those moves are no clicks.
    bool m_quiet = false;

    QFrame *m_SSPanel1 = nullptr;
    QLineEdit *m_txtAlbum = nullptr;
    QComboBox *m_Drive1 = nullptr;
    QTreeView *m_dirMain = nullptr;
    QFileSystemModel *m_folders = nullptr;
    QLabel *m_lblDirections = nullptr;
    QLabel *m_lblHelp = nullptr;
    QLabel *m_lblFileCount = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
    QGroupBox *m_SSFrame1 = nullptr;
    QLabel *m_Image1 = nullptr;
    QLabel *m_Image2 = nullptr;
};
