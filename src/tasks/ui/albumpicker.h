#pragma once

#include <functional>

#include "program.h"

class frmDirListBox;

/// Where the album picker lives for the program's lifetime.
///
/// The program object's own slots belong to the shell, so the picker's slot is kept in a small
/// registry object created on first use as a child of the Program (it goes when the program
/// goes, and destroys a picker still loaded then). Openers reach the picker only through
/// albumPickerSlot(program): load() gives the loaded picker or loads a fresh one (running its
/// load step), unload() closes it.
WindowSlot<frmDirListBox> &albumPickerSlot(Program &program);

/// What the picker calls in features that are wired later by the composition root.
struct AlbumPickerHooks
{
    /// OK in mode "album": renames the ticked photos into the picker's album and closes the
    /// picker. Unwired, OK only hides the picker, so the opener's modal call returns.
    std::function<void(frmDirListBox &picker)> albumModeOK;
};

/// The picker's hooks for program (same registry as the slot).
AlbumPickerHooks &albumPickerHooks(Program &program);

/// The main window's Open Album: closes any earlier picker, loads a fresh one in the empty
/// mode and shows it modally. OK there opens the selected folder through
/// program.commands.openAlbumPage.
void OpenAlbumCommand(Program &program);

/// The main window's New Album: loads a fresh picker in mode "new_album" and shows it modally.
/// OK creates the typed album when it is missing and opens it through
/// program.commands.openAlbumPage.
void NewAlbumCommand(Program &program);

/// The picker in mode "album", after the prompt dialog took a rename category (fits
/// program.commands.openAlbumPickerForRename). OK runs AlbumPickerHooks::albumModeOK.
void OpenAlbumPickerForRename(Program &program);
