#pragma once

#include <QString>
#include <QtGlobal>

#include "failure.h"

/// Byte counts of one filesystem as the free-space gauge sees them.
struct DriveSpace
{
    /// Free bytes available to this user.
    qint64 available = 0;
    qint64 total = 0;
    /// Free bytes, including those reserved for the administrator.
    qint64 free = 0;
};

/// The byte counts of the filesystem holding path; path not found when it has none.
Result<DriveSpace> driveSpaceOf(const QString &path);

/// available ÷ total × 100 rounded to an integer, halves to the even integer (24.5 → 24,
/// 25.5 → 26). 0 when total is not positive; never below 0 or above 100.
int freeSpacePercent(qint64 available, qint64 total);

/// The gauge colour as 0xRRGGBB: dark green (0x004000) above 25 percent, dark red (0x800000)
/// at or below.
quint32 freeSpaceGaugeColour(int percent);
