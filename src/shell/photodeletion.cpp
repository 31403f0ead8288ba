#include "photodeletion.h"

#include <QFile>
#include <QFileInfo>

QString deleteTag(const QString &path, int index)
{
    return path + QStringLiteral(" | ") + QString::number(index);
}

DeleteTarget parseDeleteTag(const QString &tag)
{
    DeleteTarget target;
    const qsizetype bar = tag.lastIndexOf(QLatin1Char('|'));
    if (bar < 0) {
        target.pathPart = tag;
        return target;
    }
    target.pathPart = tag.left(bar);
    bool ok = false;
    const int index = tag.mid(bar + 1).trimmed().toInt(&ok);
    if (ok && index >= 0) {
        target.index = index;
    }
    return target;
}

Result<void> deletePhotoFile(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink())) {
        return Failures::fileNotFound();
    }
    if (info.isDir()) {
        return Failures::pathFileAccessError();
    }
    // Deleting is not forced: a read-only photo stays, whatever rights the folder gives.
    if (!info.isSymLink() && !(info.permissions() & QFileDevice::WriteOwner)) {
        return Failures::permissionDenied();
    }
    QFile file(path);
    if (!file.remove()) {
        return Failures::fromFileError(file.error(), path);
    }
    return {};
}
