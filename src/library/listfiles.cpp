#include "listfiles.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

struct DirCloser
{
    void operator()(DIR *d) const { closedir(d); }
};

/// Reads the folder's entries directly: a listing of thousands of files must not cost a stat
/// per file when the file system reports the entry type itself.
Result<void> scanFolder(const QString &folderPath,
                        bool includeSubfolders,
                        const QStringList &extensions,
                        const ErrorLog &log,
                        QStringList &out)
{
    const QByteArray encoded = QFile::encodeName(folderPath);
    std::unique_ptr<DIR, DirCloser> dir(opendir(encoded.constData()));
    if (!dir) {
        return Failures::fromErrno(errno);
    }
    const QString prefix =
        folderPath.endsWith(QLatin1Char('/')) ? folderPath : folderPath + QLatin1Char('/');
    QList<QString> subfolders;
    errno = 0;
    while (dirent *entry = readdir(dir.get())) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            // Follow links and ask when the file system does not say: a link to a photo is a photo.
            struct stat st;
            const QByteArray full = encoded + '/' + name;
            if (stat(full.constData(), &st) != 0) {
                continue;
            }
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_REG) {
            const QString fileName = QFile::decodeName(name);
            if (isPictureFileName(fileName, extensions)) {
                out.append(prefix + fileName);
            }
        } else if (type == DT_DIR && includeSubfolders) {
            subfolders.append(prefix + QFile::decodeName(name));
        }
        errno = 0;
    }
    if (errno != 0) {
        return Failures::fromErrno(errno);
    }
    dir.reset();
    for (const QString &sub : subfolders) {
        out.append(ListFilesPriv(sub, true, extensions, log));
    }
    return {};
}

} // namespace

bool isPictureFileName(QStringView fileName, const QStringList &pictureExtensions)
{
    for (const QString &ext : pictureExtensions) {
        const qsizetype need = ext.size() + 1;
        for (qsizetype dot = fileName.indexOf(u'.'); dot >= 0 && dot + need <= fileName.size();
             dot = fileName.indexOf(u'.', dot + 1)) {
            if (fileName.sliced(dot + 1, ext.size()).compare(ext, Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
    }
    return false;
}

QStringList ListFilesPriv(const QString &folderPath,
                          bool includeSubfolders,
                          const QStringList &pictureExtensions,
                          const ErrorLog &log)
{
    QStringList found;
    const Result<void> scanned =
        scanFolder(folderPath, includeSubfolders, pictureExtensions, log, found);
    if (!scanned) {
        log.error(u"modMain - ListFilesPriv", scanned.failure());
    }
    return found;
}

QStringList ListFiles(const QString &folderPath,
                      bool includeSubfolders,
                      const QStringList &pictureExtensions,
                      const ErrorLog &log)
{
    const QFileInfo folder(folderPath);
    if (folderPath.isEmpty() || !folder.isDir()) {
        log.error(u"modMain - ListFiles", Failures::pathNotFound());
        return {};
    }
    if (!folder.isReadable() || !folder.isExecutable()) {
        log.error(u"modMain - ListFiles", Failures::permissionDenied());
        return {};
    }
    const QString path = QDir::cleanPath(folder.absoluteFilePath());
    QStringList photos = ListFilesPriv(path, includeSubfolders, pictureExtensions, log);
    if (photos.isEmpty()) {
        return {};
    }
    photos.prepend(QString());
    return photos;
}
