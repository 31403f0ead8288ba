// scan FOLDER
// The album folder scan: how long listing the photos of one large folder takes.

#include <QDir>
#include <QElapsedTimer>

#include "benchcommands.h"
#include "benchsupport.h"
#include "errorlog.h"
#include "listfiles.h"
#include "startupvalues.h"

int runScan(const QStringList &args)
{
    const QStringList rest = Bench::positional(args, {});
    if (rest.size() != 1) {
        Bench::complain(QStringLiteral("usage: glimmerbook-bench scan FOLDER"));
        return 2;
    }
    const QString folder = rest.first();
    QElapsedTimer timer;
    timer.start();
    const QStringList list = ListFiles(folder, false, defaultPictureExtensions(), ErrorLog());
    const double seconds = timer.nsecsElapsed() / 1e9;
    // Counted after the clock stops: only the scan itself is measured.
    const qsizetype files =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).size();
    Bench::say(QStringLiteral("files=%1 photos=%2 seconds=%3")
                   .arg(files)
                   .arg(photoCount(list))
                   .arg(seconds, 0, 'f', 4));
    return 0;
}
