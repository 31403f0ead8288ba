// glimmerbook-bench: measures the program's heavy paths on a folder of photos.
// Each subcommand prints what it measured; the last line is key=value pairs for scripts.

#include <QCoreApplication>
#include <QStringList>

#include "benchcommands.h"
#include "benchsupport.h"

namespace {

const BenchCommand kCommands[] = {
    {"thumbnail", "thumbnail FOLDER [--workers N]", runThumbnail},
    {"scan", "scan FOLDER", runScan},
    {"make-reference", "make-reference DIR [--photos N]", runMakeReference},
    {"catalogue", "catalogue FOLDER [--workers N]", runCatalogue},
    {"open-album", "open-album FOLDER [--workers N]", runOpenAlbum},
};

int usage()
{
    Bench::complain(QStringLiteral("usage: glimmerbook-bench SUBCOMMAND ..."));
    for (const BenchCommand &c : kCommands) {
        Bench::complain(QStringLiteral("  ") + QLatin1String(c.usage));
    }
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // No window system: the measured work is the engine's, as in the catalogue builder.
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        return usage();
    }
    const QString name = args.takeFirst();
    for (const BenchCommand &c : kCommands) {
        if (name == QLatin1String(c.name)) {
            return c.run(args);
        }
    }
    return usage();
}
