#pragma once

#include <functional>

#include <QList>
#include <QString>

#include "failure.h"
#include "librarycontext.h"

class Program;
class frmChildMain;

/// What the album page calls in features that the composition root wires later. Each hook left
/// empty does nothing.
struct AlbumPageHooks
{
    /// RenameFile: the name box of cell index was left with a name; the name label already shows
    /// it and the box is hidden. mode is the camera icon's tag ("pasted" for a pasted photo),
    /// oldPath the name label's tag (the pasted photo's file).
    std::function<void(int index, frmChildMain &page, const QString &mode, const QString &oldPath)>
        renameFile;
    /// ShowPhotoInViewer: the photo of cell index, large; pasted for a pasted photo.
    std::function<void(int index, frmChildMain &page, bool pasted)> showPhotoInViewer;
    /// The photo information of cell index (ClearEXIFRecord, GetEXIFInformation,
    /// PopulateEXIFForm): path is the photo's full path, empty for a pasted photo.
    std::function<void(int index, frmChildMain &page, const QString &path)> showPhotoInformation;
};

/// The album page hooks of program (one set for the program's lifetime).
AlbumPageHooks &albumPageHooks(Program &program);

/// The library's context for the program's home: its log, its catalogue, its picture
/// extensions; window messages run between photos.
LibraryContext libraryContext(const Program &program);

/// Loads a new album page window inside the main window and shows it (its load step runs).
frmChildMain *loadAlbumPage(Program &program);
/// The album pages loaded, oldest first.
QList<frmChildMain *> albumPages(Program &program);
/// The album page the page commands act on: the active window inside the main window when it is
/// an album page, else the first album page, else nullptr.
frmChildMain *activeAlbumPage(Program &program);

/// Ticks every photo of the active album page (each tick runs the page's tick handler).
void SelectAllPhotos(Program &program);
/// Unticks every photo of the active album page.
void UnselectAllPhotos(Program &program);

/// Asks in the prompt dialog (mode "categorize") whether to categorise an album; true for OK.
bool askCategorize(Program &program);

/// Opening an album (Open Album, New Album): CurrentAlbumPath becomes albumPath; the album pages
/// loaded are closed through their close handling; a new page is loaded with Tag and caption
/// albumPath; with the message panel disabled, the album is synchronised with the catalogue
/// (asking to categorise an album without records) and the page is built from the catalogue, or
/// from the folder without subfolders when the album is not catalogued or the catalogue cannot be
/// read. Progress shows on the main window; the message panel is enabled and the main window's
/// caption restored at the end. Returns the page, or nullptr when it was closed during the build.
frmChildMain *openAlbumPage(Program &program, const QString &albumPath);

/// The organisation wizard's page: the album pages are unloaded and a page of folder is loaded
/// (as WizardPageMode places it) and built from the folder without subfolders.
frmChildMain *showWizardAlbumPage(Program &program, const QString &folder);

/// Unloads the album pages through their close handling; false when one stayed open.
bool unloadAlbumWindow(Program &program);

/// The first run's catalogue of the promotion pictures, with the first-run progress dialog.
void cataloguePromoPictures(Program &program);

/// Builds page from the folder albumPath (no subfolders); at the end the main window's caption is
/// restored and, unless the page is a wizard page, the page's caption becomes albumPath.
Result<int> buildFolderPage(Program &program, frmChildMain &page, const QString &albumPath);
/// Builds page from the album's catalogue records.
Result<int> buildCataloguePage(Program &program, frmChildMain &page, const QString &albumPath);
