#pragma once

#include <functional>

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class AppState;
class Dialogs;
class MDIMain;
class frmBrowser;
class frmMsgBox;
class frmSplash;
class frmTips;

/// A single-instance window loaded on first use. unload() destroys it (after the current event),
/// so the next load() sees the window's load state again; hiding it instead keeps its state for
/// the caller to read. Program::holdInSlot() gives a slot its factory and counts its window
/// among the loaded windows.
/// Set on a window that a WindowSlot unloaded and that waits for its destruction.
inline constexpr char kUnloadedProperty[] = "glimUnloaded";

template <typename W>
class WindowSlot
{
public:
    using Factory = std::function<W *()>;

    void setFactory(Factory factory) { m_factory = std::move(factory); }
    /// Called with the window when it is unloaded, before it is hidden.
    void setUnloadHook(std::function<void(QWidget *)> hook) { m_unloadHook = std::move(hook); }
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
            // Counted as gone at once, even before it is destroyed.
            w->setProperty(kUnloadedProperty, true);
            if (m_unloadHook) {
                m_unloadHook(w);
            }
            w->hide();
            w->deleteLater();
        }
    }

private:
    QPointer<W> m_window;
    Factory m_factory;
    std::function<void(QWidget *)> m_unloadHook;
};

/// What the main window asks of an album page without knowing its class.
class AlbumPageView
{
public:
    /// The album page's own background, dark green, until the user picks another.
    static QColor defaultBackground() { return QColor(0x00, 0x40, 0x00); }

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
    /// The tip of the day window (its Close and Open handlers only hide it; start-up unloads it).
    WindowSlot<frmTips> tipsWindow;
    /// The splash window, shown at start-up and by Help, About.
    WindowSlot<frmSplash> splashWindow;
    /// The small browser window of Go Online and the website item.
    WindowSlot<frmBrowser> browserWindow;

    /// The tip table, filled once at start-up (LoadTipOfTheDay).
    QStringList tipTable;

    /// Gives slot its factory (make receives the main window as parent) and counts its window as
    /// loaded from load() to unload().
    template <typename W>
    void holdInSlot(WindowSlot<W> &slot, std::function<W *(QWidget *parent)> make)
    {
        slot.setFactory([this, &slot, make] {
            W *window = make(mainWindowWidget());
            trackWindow(window, [&slot] {
                slot.unload();
                return true;
            });
            return window;
        });
        slot.setUnloadHook([this](QWidget *window) {
            untrackWindow(window);
        });
    }

    /// Counts a loaded window (album pages, viewer, dialogs) for loadedWindowCount() and
    /// unloadAllWindowsExceptMain() until it is destroyed or untracked. unload closes the window
    /// and returns false when it refused; without one, close() is used and the closed window is
    /// destroyed.
    void trackWindow(QWidget *window, std::function<bool()> unload = {});
    /// Stops counting a window (it was unloaded).
    void untrackWindow(QWidget *window);
    /// Loaded windows, the main window included (the main window counts once).
    int loadedWindowCount() const;
    /// Unloads every loaded window except the main window. An album page may refuse (its close
    /// question answered No); it then stays. Returns true when all are gone.
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
    struct Tracked
    {
        QPointer<QWidget> window;
        std::function<bool()> unload;
    };

    QWidget *mainWindowWidget() const;

    AppState &m_state;
    Dialogs &m_dialogs;
    QPointer<MDIMain> m_mainWindow;
    QList<Tracked> m_windows;
};
