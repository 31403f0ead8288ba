#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "failure.h"

/// The drives the pickers offer: the mounted volumes that hold folders.
namespace Drives {

/// Number of the failure for a drive that cannot be opened now (unmounted since the list was
/// made, medium gone): the classic runtime's "Device unavailable".
inline constexpr long kDeviceUnavailable = 68;

struct Drive
{
    /// The folder the volume is mounted on, for example "/" or "/media/anna/CARD".
    QString rootPath;
    /// The volume's label, or its device when it has none.
    QString name;
    /// The volume lives on a removable device (a card, a camera, a stick).
    bool removable = false;
};

/// The mounted volumes whose mount point is a folder, sorted by mount point, each once.
/// sysRoot is where the kernel's device tree is read from (removable marks).
QList<Drive> mountedDrives(const QString &sysRoot = QStringLiteral("/sys"));

/// The drive list's line for a drive: mount point, the name in brackets when it differs from
/// the mount point, and " (Removable)" for removable ones.
QString caption(const Drive &drive);

/// Whether the block device (for example "/dev/sdb1") is removable: its disk carries the
/// kernel's removable mark (a partition answers for its disk), it hangs off a USB bus, or it is
/// a memory card slot (mmcblk). False for anything that is not a block device.
bool isRemovableDevice(const QByteArray &device, const QString &sysRoot = QStringLiteral("/sys"));

/// The mount point of the volume holding path (for a path that does not exist, the volume of
/// its nearest existing folder); "/" when nothing better is known.
QString rootPathOf(const QString &path);

/// Checks that the drive's folder can be opened now. Fails with kDeviceUnavailable when the
/// folder is gone or its volume is not ready, "Permission denied" when it cannot be read.
Result<void> checkReady(const QString &rootPath);

} // namespace Drives
