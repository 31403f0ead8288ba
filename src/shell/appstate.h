#pragma once

#include <optional>

#include <QObject>
#include <QString>
#include <QStringList>

#include "errorlog.h"
#include "keyedcollection.h"
#include "settingsstore.h"
#include "startupvalues.h"

/// The program-wide shared values. One object, owned by the composition root and handed to
/// whoever needs it; each value has one owner that writes it (noted beside it).
class AppState : public QObject
{
    Q_OBJECT

public:
    AppState(StartupValues values, QString iniPath, QObject *parent = nullptr);

    /// Start-up values (set once).
    StartupValues startup;
    /// The error log at startup.ErrorLogPath.
    ErrorLog log;
    /// The settings store.
    SettingsStore settings;

    /// Ticked cells of the current album page: key = cell index as text, value = index + "#" +
    /// full path, in ticking order. Owner: the album page window.
    KeyedCollection SelectedPhotos;
    /// The cell highlighted last, or none. Owner: the album page window.
    std::optional<int> HighlightedCell;
    /// An album page window is loaded. Owner: the album page window.
    bool AlbumWindowOpen = false;
    /// The folder of the album shown. Owner: the album picker.
    QString CurrentAlbumPath;
    /// Where the album picker opens next. Owner: the album picker.
    QString LastPickedFolder;
    /// The album page is shown for the organisation wizard. Owner: the wizard.
    bool WizardPageMode = false;
    /// The category typed for a batch rename. Owner: the rename.
    QString RenameCategory;
    /// A download is running. Owner: the media download.
    bool MediaPromptActive = false;
    bool ManualDownloadActive = false;
    /// A viewer window is loaded and the cell it shows. Owner: the viewer.
    bool ViewerLoaded = false;
    int ViewerPhotoIndex = -1;
    /// The pause flag. Owner: printing.
    bool PrintTimerElapsed = false;
    /// Thirteen texts read from a photo's EXIF data. Owner: the photo information.
    QStringList EXIFRecord;

    /// Tells the windows that SelectedPhotos changed.
    void notifySelectionChanged() { Q_EMIT selectionChanged(); }

Q_SIGNALS:
    void selectionChanged();
};
