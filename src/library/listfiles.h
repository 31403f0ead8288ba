#pragma once

#include <QString>
#include <QStringList>

#include "errorlog.h"

/// The photos of an album folder.
///
/// The path list: entry 0 is empty and the photos' full paths follow at entries 1..n, so the
/// photo count is the last index. A scan that found nothing gives an empty list. Paths are kept
/// as separate entries, so a name holding ";" stays whole.
///
/// A file is a photo when its name contains "." followed by one of the picture extensions
/// anywhere, compared without regard to case: "holiday.jpg.bak" and "scan.tiff" are photos,
/// "photo.jpeg" is not. Hidden files are listed. Folder names are never tested.
QStringList ListFiles(const QString &folderPath,
                      bool includeSubfolders,
                      const QStringList &pictureExtensions,
                      const ErrorLog &log);

/// The worker: the photos of one opened folder, in directory order, each listed at most once,
/// followed (when includeSubfolders) by each subfolder's whole subtree in turn. A folder that
/// cannot be read is logged under "modMain - ListFilesPriv" and gives what was gathered so far.
QStringList ListFilesPriv(const QString &folderPath,
                          bool includeSubfolders,
                          const QStringList &pictureExtensions,
                          const ErrorLog &log);

/// Whether a file name counts as a photo (see ListFiles).
bool isPictureFileName(QStringView fileName, const QStringList &pictureExtensions);

/// The photo count of a path list (its last index, never negative).
inline qsizetype photoCount(const QStringList &pathList)
{
    return pathList.isEmpty() ? 0 : pathList.size() - 1;
}
