#include "albumpath.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/types.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace AlbumPath {

QString fileCountText(qsizetype count)
{
    return QStringLiteral("Contains ") + QString::number(count < 0 ? 0 : count)
        + QStringLiteral(" Images");
}

Result<QString> newAlbumPath(const QString &typedName, const QString &folderListPath)
{
    if (typedName.contains(QChar(u'\0'))) {
        return Failure{kBadFileName, QStringLiteral("Bad file name or number")};
    }
    if (QDir::isAbsolutePath(typedName)) {
        return QDir::cleanPath(typedName);
    }
    if (typedName.contains(QLatin1Char('/'))) {
        return Failure{kBadFileName, QStringLiteral("Bad file name or number")};
    }
    QString path = folderListPath;
    if (!path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
    }
    return QDir::cleanPath(path + typedName);
}

Result<bool> ensureAlbumFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        return false;
    }
    if (info.exists() || info.isSymLink()) {
        // A file (or a dangling link) already holds the name.
        return Failures::pathFileAccessError();
    }
    const QByteArray encoded = QFile::encodeName(path);
    if (::mkdir(encoded.constData(), 0777) != 0) {
        const int error = errno;
        if (error == ENOENT) {
            return Failures::pathNotFound();
        }
        return Failures::fromErrno(error);
    }
    return true;
}

} // namespace AlbumPath
