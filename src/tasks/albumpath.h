#pragma once

#include <QString>

#include "failure.h"

/// Rules of the album picker that need no window.
namespace AlbumPath {

/// Number of the failure for a typed album name that cannot be a folder name ("a/b", a name
/// holding a NUL character): the classic runtime's "Bad file name or number".
inline constexpr long kBadFileName = 52;

/// "Contains " + count + " Images"; a negative count reads 0.
QString fileCountText(qsizetype count);

/// The folder a typed album name stands for. An absolute path is the album itself; any other
/// name is one folder inside folderListPath, joined with a single "/" (an empty name gives
/// folderListPath itself). The result is a clean path without a trailing separator, so the same
/// album is always written the same way. A relative name with a "/" in it, or with a NUL
/// character, fails with kBadFileName: an album name is one folder's name.
Result<QString> newAlbumPath(const QString &typedName, const QString &folderListPath);

/// Makes sure the album folder exists. Returns true when it was created now, false when it was
/// there already; creates one level only (the parent must exist), never changes an existing
/// folder. Fails with "Path not found" for a missing parent, "Permission denied" for a parent
/// that cannot be written, "Path/File access error" when a file holds the name.
Result<bool> ensureAlbumFolder(const QString &path);

} // namespace AlbumPath
