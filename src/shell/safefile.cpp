#include "safefile.h"

#include <QSaveFile>

Result<void> replaceFileWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return Failures::fromFileError(file.error(), path);
    }
    // A short write is often only buffered: flush here, because a failure found while the file
    // is committed is not always reported and an empty file would replace the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const Failure failure = Failures::fromFileError(file.error(), path);
        file.cancelWriting();
        return failure.number ? failure : Failures::diskFull();
    }
    if (!file.commit()) {
        return Failures::fromFileError(file.error(), path);
    }
    return {};
}
