#include "failure.h"

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFileInfo>

namespace Failures {

Failure invalidProcedureCall()
{
    return {FailureNumber::InvalidProcedureCall,
            QStringLiteral("Invalid procedure call or argument")};
}

Failure fileNotFound()
{
    return {FailureNumber::FileNotFound, QStringLiteral("File not found")};
}

Failure fileAlreadyExists()
{
    return {FailureNumber::FileAlreadyExists, QStringLiteral("File already exists")};
}

Failure diskFull()
{
    return {FailureNumber::DiskFull, QStringLiteral("Disk full")};
}

Failure permissionDenied()
{
    return {FailureNumber::PermissionDenied, QStringLiteral("Permission denied")};
}

Failure pathFileAccessError()
{
    return {FailureNumber::PathFileAccessError, QStringLiteral("Path/File access error")};
}

Failure pathNotFound()
{
    return {FailureNumber::PathNotFound, QStringLiteral("Path not found")};
}

Failure noCurrentRecord()
{
    return {FailureNumber::NoCurrentRecord,
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted")};
}

Failure undecodablePicture()
{
    return {FailureNumber::UndecodablePicture,
            QStringLiteral("Invalid or unsupported picture file")};
}

Failure unsupportedExportFormat()
{
    return {FailureNumber::UnsupportedExportFormat, QStringLiteral("Unsupported Export Format")};
}

Failure fromErrno(int error)
{
    switch (error) {
    case ENOENT:
        return fileNotFound();
    case ENOTDIR:
        return pathNotFound();
    case EACCES:
    case EPERM:
    case EROFS:
        return permissionDenied();
    case EEXIST:
        return fileAlreadyExists();
    case ENOSPC:
    case EDQUOT:
        return diskFull();
    default:
        return {FailureNumber::PathFileAccessError, QString::fromLocal8Bit(std::strerror(error))};
    }
}

Failure fromFileError(QFileDevice::FileError error, const QString &path)
{
    const int saved = errno; // the failed write's reason (a full disk), read before anything else
    switch (error) {
    case QFileDevice::NoError:
        return {};
    case QFileDevice::PermissionsError:
        return permissionDenied();
    case QFileDevice::ResourceError:
        return diskFull();
    case QFileDevice::OpenError: {
        const QFileInfo info(path);
        if (!path.isEmpty() && !info.dir().exists()) {
            return pathNotFound();
        }
        if (!path.isEmpty() && !info.exists()) {
            return fileNotFound();
        }
        return permissionDenied();
    }
    case QFileDevice::WriteError:
        return saved == ENOSPC || saved == EDQUOT ? diskFull() : pathFileAccessError();
    default:
        return pathFileAccessError();
    }
}

} // namespace Failures
