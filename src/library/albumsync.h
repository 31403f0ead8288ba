#pragma once

#include <functional>

#include <QString>

#include "librarycontext.h"

class BuilderProgress;

/// The question asked when an album has no records, for the prompt dialog in mode "categorize".
QString categorizeQuestionText();

/// Brings an album's catalogue records in line with the photos in its folder (no subfolders).
///
/// An album without records: askCategorize() is called (true = OK). OK catalogues the whole album
/// (progress through progress) and returns true; anything else writes nothing and returns false.
///
/// An album with records, matched by file name the way catalogueNameCaseSensitivity() says:
/// a photo without record gets one; a photo whose last-modified date or minute differs from its
/// record's gets its record rewritten in place (new date, time and thumbnail; the imgID stays);
/// records of files no longer in the folder and every record of a name beyond its oldest are
/// deleted. All of it is one batch, and no other record changes. Returns true.
///
/// Returns false (the caller then builds the page from the folder) when the album folder is
/// missing or unreadable (its records are kept: the media may only be unmounted), when the
/// catalogue cannot be opened or read, or when its changes could not be written: the failure is
/// logged as "modMain - DatabaseSyncAndRead". Nothing is shown to the user.
bool DatabaseSyncAndRead(const LibraryContext &context,
                         const QString &albumPath,
                         const std::function<bool()> &askCategorize,
                         BuilderProgress *progress = nullptr);
