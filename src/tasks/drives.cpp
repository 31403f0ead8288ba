#include "drives.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

namespace Drives {

namespace {

Failure deviceUnavailable()
{
    return {kDeviceUnavailable, QStringLiteral("Device unavailable")};
}

bool readsOne(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    return f.readAll().trimmed() == "1";
}

} // namespace

bool isRemovableDevice(const QByteArray &device, const QString &sysRoot)
{
    if (!device.startsWith("/dev/")) {
        return false;
    }
    // /dev/disk/by-label/... and similar are links to the real node.
    const QString node = QFileInfo(QFile::decodeName(device)).canonicalFilePath();
    const QString name = QFileInfo(node.isEmpty() ? QFile::decodeName(device) : node).fileName();
    if (name.isEmpty()) {
        return false;
    }
    const QString entry =
        QFileInfo(sysRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (entry.isEmpty()) {
        return false;
    }
    // Card slots and USB disks often carry no removable mark of their own, yet they are what a
    // camera or a card reader looks like.
    if (name.startsWith(u"mmcblk") || entry.contains(QStringLiteral("/usb"))) {
        return true;
    }
    if (QFileInfo::exists(entry + QStringLiteral("/partition"))) {
        // A partition's own folder sits inside its disk's folder, which carries the mark.
        return readsOne(QFileInfo(entry).absolutePath() + QStringLiteral("/removable"));
    }
    return readsOne(entry + QStringLiteral("/removable"));
}

QList<Drive> mountedDrives(const QString &sysRoot)
{
    QList<Drive> drives;
    QSet<QString> seen;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &volume : volumes) {
        const QString root = volume.rootPath();
        // Single files bound into place (containers do that) are not drives.
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir()
            || seen.contains(root)) {
            continue;
        }
        seen.insert(root);
        Drive drive;
        drive.rootPath = root;
        drive.name =
            volume.name().isEmpty() ? QString::fromLocal8Bit(volume.device()) : volume.name();
        drive.removable = isRemovableDevice(volume.device(), sysRoot);
        drives.append(drive);
    }
    std::sort(drives.begin(), drives.end(), [](const Drive &a, const Drive &b) {
        return a.rootPath < b.rootPath;
    });
    return drives;
}

QString caption(const Drive &drive)
{
    QString text = drive.rootPath;
    if (!drive.name.isEmpty() && drive.name != drive.rootPath) {
        text += QStringLiteral("  [") + drive.name + QLatin1Char(']');
    }
    if (drive.removable) {
        text += QStringLiteral(" (Removable)");
    }
    return text;
}

QString rootPathOf(const QString &path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!existing.isEmpty() && !QFileInfo::exists(existing)) {
        const QString up = QFileInfo(existing).absolutePath();
        if (up == existing) {
            break;
        }
        existing = up;
    }
    const QStorageInfo volume(existing);
    if (!volume.isValid() || volume.rootPath().isEmpty()) {
        return QStringLiteral("/");
    }
    return volume.rootPath();
}

Result<void> checkReady(const QString &rootPath)
{
    const QFileInfo folder(rootPath);
    if (rootPath.isEmpty() || !folder.isDir()) {
        return deviceUnavailable();
    }
    const QStorageInfo volume(rootPath);
    if (!volume.isValid() || !volume.isReady()) {
        return deviceUnavailable();
    }
    if (!folder.isReadable() || !folder.isExecutable()) {
        return Failures::permissionDenied();
    }
    return {};
}

} // namespace Drives
