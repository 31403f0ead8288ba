#pragma once

#include <optional>

#include <QString>

#include "failure.h"

/// What the album page puts into the Delete Photo item's tag: full path + " | " + cell index.
struct DeleteTarget
{
    /// The text before the "|", its trailing blank kept (the question shows it).
    QString pathPart;
    /// The cell index after the "|", or nothing when it is not a number.
    std::optional<int> index;

    /// The file to delete: pathPart without the blanks around it.
    QString filePath() const { return pathPart.trimmed(); }
};

/// The tag for a photo at a cell of the album page.
QString deleteTag(const QString &path, int index);

/// Splits a tag at its last "|" (a file name may contain "|"; the index never does). A tag without
/// "|" is all path and has no index.
DeleteTarget parseDeleteTag(const QString &tag);

/// Deletes the photo's file, unless it is read-only (no write permission for its owner): such a
/// file is kept and the result is "Permission denied". A missing file is "File not found".
/// Never deletes a folder.
Result<void> deletePhotoFile(const QString &path);
