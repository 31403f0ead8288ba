#pragma once

#include <QString>
#include <QTemporaryDir>

/// A tiny file system of its own (tmpfs) mounted on a temporary folder, to see what the program
/// does when the disk is full. Needs root's right to mount; isMounted() tells whether it worked.
class SmallDisk
{
public:
    explicit SmallDisk(int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    /// Fills the remaining space with one file, so that the next write fails.
    void fill() const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
