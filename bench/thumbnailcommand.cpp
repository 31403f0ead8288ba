// thumbnail FOLDER [--workers N]
// Per photo, what the catalogue builder does: decode with the thumbnail hint, fit into the
// 98-pixel box and encode the way the catalogue stores it (JPG at quality 75 above 256 colours,
// PNG above 2, TIF G4 for 2 colours, PNG when the format is refused).

#include <atomic>
#include <thread>
#include <vector>

#include <QElapsedTimer>
#include <QSize>

#include "benchcommands.h"
#include "benchsupport.h"
#include "catalogue.h"
#include "errorlog.h"
#include "imageman.h"
#include "listfiles.h"
#include "startupvalues.h"

namespace {

constexpr int kThumbnailBox = 98;

struct Outcome
{
    std::atomic<int> done{0};
    std::atomic<int> undecodable{0};
    std::atomic<qint64> storedBytes{0};
};

void thumbnail(const QString &path, Outcome &outcome)
{
    ImageMan im;
    const QSize box(kThumbnailBox, kThumbnailBox);
    if (!im.setPicture(path, box).ok() || !im.fitInto(box).ok()) {
        ++outcome.undecodable;
        return;
    }
    im.setQuality(75);
    // Encoded exactly as the catalogue stores it (format by colour count, one zero byte after).
    const Result<QByteArray> stored = encodeThumbnail(im);
    if (!stored) {
        ++outcome.undecodable;
        return;
    }
    outcome.storedBytes += stored.value().size();
    ++outcome.done;
}

} // namespace

int runThumbnail(const QStringList &args)
{
    const QStringList rest = Bench::positional(args, {QStringLiteral("--workers")});
    if (rest.size() != 1) {
        Bench::complain(QStringLiteral("usage: glimmerbook-bench thumbnail FOLDER [--workers N]"));
        return 2;
    }
    const int workers =
        qMax(1, Bench::option(args, QStringLiteral("--workers"), QStringLiteral("1")).toInt());
    const QStringList list = ListFiles(rest.first(), false, defaultPictureExtensions(), ErrorLog());
    const QStringList photos = list.mid(1); // entry 0 of the path list is empty

    Outcome outcome;
    std::atomic<qsizetype> next{0};
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) {
        threads.emplace_back([&] {
            for (qsizetype i = next++; i < photos.size(); i = next++) {
                thumbnail(photos[i], outcome);
            }
        });
    }
    for (std::thread &t : threads) {
        t.join();
    }
    const double seconds = timer.nsecsElapsed() / 1e9;

    Bench::say(QStringLiteral("workers=%1 thumbnails=%2 undecodable=%3 stored_kb=%4")
                   .arg(workers)
                   .arg(outcome.done.load())
                   .arg(outcome.undecodable.load())
                   .arg(outcome.storedBytes.load() / 1024.0, 0, 'f', 1));
    Bench::say(QStringLiteral("photos=%1 seconds=%2 per_s=%3 peak_rss_mb=%4")
                   .arg(photos.size())
                   .arg(seconds, 0, 'f', 3)
                   .arg(seconds > 0 ? photos.size() / seconds : 0.0, 0, 'f', 2)
                   .arg(Bench::peakRssMb(), 0, 'f', 1));
    return outcome.done.load() > 0 || photos.isEmpty() ? 0 : 1;
}
