#include "unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool runUnprivileged(const std::function<bool()> &body)
{
    if (geteuid() != 0) {
        return body();
    }
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) {
            _exit(3);
        }
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void makeTraversable(const QString &top, const QString &path)
{
    const QString root = QDir::cleanPath(QFileInfo(top).absoluteFilePath());
    QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (p.startsWith(root)) {
        QFile::setPermissions(p,
                              QFile::permissions(p) | QFileDevice::ExeOther | QFileDevice::ExeGroup
                                  | QFileDevice::ReadOther | QFileDevice::ReadGroup);
        if (p == root) {
            break;
        }
        p = QFileInfo(p).absolutePath();
    }
}
