#pragma once

#include <functional>

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class AppState;
class Dialogs;
class MDIMain;
class frmMsgBox;

/// A single-instance window loaded on first use. unload() destroys it (after the current event),
/// so the next load() sees the window's load state again; hiding it instead keeps its state for
/// the caller to read.
template <typename W>
class WindowSlot
{
public:
    using Factory = std::function<W *()>;

    void setFactory(Factory factory) { m_factory = std::move(factory); }
    /// The window, created on first use.
    W &load()
    {
        if (!m_window) {
            m_window = m_factory();
        }
        return *m_window;
    }
    /// The window when loaded, else nullptr.
    W *loaded() const { return m_window.data(); }
    bool isLoaded() const { return !m_window.isNull(); }
    /// Hides and destroys the window; safe to call from the window's own handlers.
    void unload()
    {
        if (W *w = m_window.data()) {
            m_window.clear();
            w->hide();
            w->deleteLater();
        }
    }

private:
    QPointer<W> m_window;
    Factory m_factory;
};

/// What the main window asks of an album page without knowing its class.
class AlbumPageView
{
public:
    virtual ~AlbumPageView() = default;
    /// Marks cell index as deleted (picture cleared, "Deleted", holder text).
    virtual void markCellDeleted(int index) = 0;
    /// Page and canvas background; the select-all box's text turns black on white, else white.
    virtual void setPageBackground(const QColor &colour) = 0;
};

/// The program object: the shared state, the dialog seam, the main window, the single-instance
/// windows, and the commands that reach windows of other subsystems. Owned by the composition
/// root; every window gets a reference.
class Program : public QObject
{
    Q_OBJECT

public:
    Program(AppState &state, Dialogs &dialogs, QObject *parent = nullptr);
    ~Program() override;

    AppState &state() const { return m_state; }
    Dialogs &dialogs() const { return m_dialogs; }

    MDIMain *mainWindow() const { return m_mainWindow; }
    void setMainWindow(MDIMain *window) { m_mainWindow = window; }

    /// The prompt dialog.
    WindowSlot<frmMsgBox> msgBox;

    /// Tracks a loaded window (album pages, viewer, dialogs) for the loaded-window count and for
    /// unloadAllWindowsExceptMain(). Untracked automatically when destroyed.
    void trackWindow(QWidget *window);
    /// Loaded windows, the main window included (the main window counts once).
    int loadedWindowCount() const;
    /// Unloads every loaded window except the main window. An album page may refuse (its close
    /// question answered Yes); it then stays. Returns true when all are gone.
    bool unloadAllWindowsExceptMain();

    /// Commands carried by other subsystems. Each stays empty (does nothing) until the
    /// composition root wires the subsystem that carries it.
    struct Commands
    {
        std::function<void()> openAlbum;
        std::function<void()> newAlbum;
        std::function<void()> download;
        std::function<void()> showOrgWizard;
        std::function<void()> resize;
        std::function<void()> webPage;
        std::function<void()> ftp;
        std::function<void()> print;
        std::function<void()> pastePicture;
        std::function<void(const QString &path)> openImageInViewer;
        std::function<void()> saveImageAs;
        /// Closes the current album page and opens albumPath in a new one: sync with the
        /// catalogue, then the page from the catalogue or from the folder.
        std::function<void(const QString &albumPath)> openAlbumPage;
        /// Catalogues the promotion pictures (first run).
        std::function<void()> cataloguePromoPictures;
        /// The album picker in mode "album" after a rename category was entered.
        std::function<void()> openAlbumPickerForRename;
        /// The wizard's end: show the album page of folder built from the folder.
        std::function<void(const QString &folder)> showWizardAlbumPage;
        /// Puts the wizard back to its first step; runFolderChange also runs its folder-list
        /// change handling and clears the step marker.
        std::function<void(bool runFolderChange)> resetWizardToFirstStep;
        /// Clears the wizard's album name box.
        std::function<void()> clearWizardAlbumName;
        /// Unloads the album page window.
        std::function<void()> unloadAlbumWindow;
        /// The FTP profile editor carries "msgformloaded"; returns whether it did and clears it.
        std::function<bool()> takeFtpProfileEditorMark;
        /// Shows the FTP profile editor modally.
        std::function<void()> showFtpProfileEditor;
        /// The media watcher reported free-space changes or a download ended.
        std::function<void()> refreshDriveSpace;
    } commands;

    /// Runs a command when it is wired.
    static void run(const std::function<void()> &command)
    {
        if (command) {
            command();
        }
    }

private:
    AppState &m_state;
    Dialogs &m_dialogs;
    QPointer<MDIMain> m_mainWindow;
    QList<QPointer<QWidget>> m_windows;
};
