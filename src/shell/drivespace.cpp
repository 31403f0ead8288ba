#include "drivespace.h"

#include <cmath>

#include <QStorageInfo>

Result<DriveSpace> driveSpaceOf(const QString &path)
{
    const QStorageInfo storage(path);
    if (!storage.isValid() || !storage.isReady() || storage.bytesTotal() <= 0) {
        return Failures::pathNotFound();
    }
    return DriveSpace{storage.bytesAvailable(), storage.bytesTotal(), storage.bytesFree()};
}

int freeSpacePercent(qint64 available, qint64 total)
{
    if (total <= 0 || available <= 0) {
        return 0;
    }
    if (available >= total) {
        return 100;
    }
    const double percent = static_cast<double>(available) / static_cast<double>(total) * 100.0;
    const double whole = std::floor(percent);
    const double fraction = percent - whole;
    int rounded = static_cast<int>(whole);
    if (fraction > 0.5 || (fraction == 0.5 && rounded % 2 != 0)) {
        ++rounded;
    }
    return rounded;
}

quint32 freeSpaceGaugeColour(int percent)
{
    return percent > 25 ? 0x004000u : 0x800000u;
}
