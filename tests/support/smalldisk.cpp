#include "smalldisk.h"

#include <sys/mount.h>

#include <QByteArray>
#include <QFile>

SmallDisk::SmallDisk(int kilobytes)
{
    const QByteArray target = QFile::encodeName(m_dir.path());
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    m_mounted =
        m_dir.isValid() && mount("tmpfs", target.constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted) {
        umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
}

void SmallDisk::fill() const
{
    QFile filler(path() + QStringLiteral("/.filler"));
    if (!filler.open(QIODevice::WriteOnly)) {
        return;
    }
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {}
}
