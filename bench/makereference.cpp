// make-reference DIR [--photos N]
// The reference set the benchmarks run on, made once:
//   DIR/photos  N photo-like JPEGs of 4000 x 3000 at quality 90 (default 200)
//   DIR/mixed   a few pictures of every other album format (TIF, TIF G4, BMP, PCX, TGA, GIF)
//   DIR/scan    10,000 files for the folder scan: photos of every extension and other files
// The pictures have gradients, hard edges and sensor-like noise so that their encoded size and
// decoding work are those of camera photos (about 3 to 5 MB each), not of flat test cards.

#include <atomic>
#include <thread>
#include <vector>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

#include "benchcommands.h"
#include "benchsupport.h"
#include "imageman.h"

namespace {

constexpr int kNoiseSide = 1024;

QByteArray makeNoise()
{
    QByteArray noise(kNoiseSide * kNoiseSide, '\0');
    QRandomGenerator rng(2024);
    for (char &c : noise) {
        c = char(int(rng.bounded(25)) - 12);
    }
    return noise;
}

QImage photoLike(QSize size, int seed, const QByteArray &noise)
{
    QImage img(size, QImage::Format_RGB32);
    QRandomGenerator rng(quint32(seed) * 7919 + 1);
    const int w = size.width();
    const int h = size.height();
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient sky(0, 0, 0, h * 0.6);
        sky.setColorAt(0, QColor::fromHsv((seed * 23) % 360, 90, 240));
        sky.setColorAt(1, QColor::fromHsv((seed * 23 + 30) % 360, 40, 200));
        p.fillRect(QRect(0, 0, w, h * 6 / 10), sky);
        QLinearGradient ground(0, h * 0.6, 0, h);
        ground.setColorAt(0, QColor::fromHsv((seed * 41 + 90) % 360, 140, 150));
        ground.setColorAt(1, QColor::fromHsv((seed * 41 + 120) % 360, 170, 60));
        p.fillRect(QRect(0, h * 6 / 10, w, h - h * 6 / 10), ground);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 40; ++i) { // houses, trees, people: hard edges of every size
            const QColor c =
                QColor::fromHsv(rng.bounded(360), 60 + rng.bounded(180), 40 + rng.bounded(200));
            const int rw = 20 + rng.bounded(w / 5);
            const int rh = 20 + rng.bounded(h / 4);
            const QRect r(rng.bounded(w), h / 3 + rng.bounded(h * 2 / 3), rw, rh);
            if (i % 3 == 0) {
                QRadialGradient g(r.center(), qMax(rw, rh) / 2.0);
                g.setColorAt(0, c.lighter(150));
                g.setColorAt(1, c.darker(170));
                p.setBrush(g);
                p.drawEllipse(r);
            } else {
                p.setBrush(c);
                p.drawRect(r);
            }
        }
        for (int i = 0; i < 300; ++i) { // twigs, wires and grass: fine detail
            p.setPen(
                QPen(QColor::fromHsv(rng.bounded(360), 80, rng.bounded(256)), 1 + rng.bounded(4)));
            const QPoint a(rng.bounded(w), rng.bounded(h));
            p.drawLine(a, a + QPoint(rng.bounded(400) - 200, rng.bounded(400) - 200));
        }
    }
    const int ox = (seed * 131) % kNoiseSide;
    const int oy = (seed * 257) % kNoiseSide;
    const auto *n = reinterpret_cast<const signed char *>(noise.constData());
    for (int y = 0; y < h; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        const signed char *row = n + ((y + oy) % kNoiseSide) * kNoiseSide;
        for (int x = 0; x < w; ++x) {
            const int v = row[(x + ox) % kNoiseSide];
            const int v2 = row[(x + ox + 311) % kNoiseSide];
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + v, 255),
                           qBound(0, qGreen(c) + (v + v2) / 2, 255),
                           qBound(0, qBlue(c) + v2, 255));
        }
    }
    return img;
}

bool writeJpeg(const QImage &img, const QString &path, int quality)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(quality);
    return writer.write(img);
}

bool makePhotos(const QString &folder, int count, const QByteArray &noise)
{
    std::atomic<int> next{0};
    std::atomic<bool> ok{true};
    std::vector<std::thread> threads;
    const int workers = qMax(1u, std::thread::hardware_concurrency());
    for (int t = 0; t < workers; ++t) {
        threads.emplace_back([&] {
            for (int i = next++; i < count; i = next++) {
                const QString path = QDir(folder).filePath(
                    QStringLiteral("IMG_%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0')));
                if (!writeJpeg(photoLike(QSize(4000, 3000), i, noise), path, 90)) {
                    ok = false;
                }
            }
        });
    }
    for (std::thread &t : threads) {
        t.join();
    }
    return ok;
}

bool makeMixed(const QString &folder, const QByteArray &noise)
{
    ImageMan im;
    im.setSaveOptions(QStringLiteral("APPEND = OFF\rOVERWRITE = ON\r"));
    for (int i = 0; i < 3; ++i) {
        const QImage photo = photoLike(QSize(1600, 1200), 500 + i, noise);
        im.setImage(photo);
        im.setCompression(0);
        for (const char *ext : {"tif", "bmp", "pcx", "tga"}) {
            if (!im.saveAs(QDir(folder).filePath(
                               QStringLiteral("mixed_%1.%2").arg(i).arg(QLatin1String(ext))))
                     .ok()) {
                return false;
            }
        }
        im.setImage(photo.convertToFormat(QImage::Format_Indexed8));
        if (!im.saveAs(QDir(folder).filePath(QStringLiteral("mixed_%1.gif").arg(i))).ok()) {
            return false;
        }
        im.setImage(photo.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
        im.setCompression(4);
        if (!im.saveAs(QDir(folder).filePath(QStringLiteral("fax_%1.tif").arg(i))).ok()) {
            return false;
        }
    }
    return true;
}

bool makeScanFolder(const QString &folder)
{
    // 10,000 names: mostly camera photos, every album extension, and files that are not photos.
    static const char *const kKinds[] =
        {"jpg", "jpg", "jpg", "jpg", "JPG", "tif", "bmp", "gif", "txt", "thm"};
    for (int i = 0; i < 10000; ++i) {
        const QString name = QStringLiteral("DSC_%1.%2")
                                 .arg(i, 5, 10, QLatin1Char('0'))
                                 .arg(QLatin1String(kKinds[i % 10]));
        QFile f(QDir(folder).filePath(name));
        if (!f.open(QIODevice::WriteOnly)) {
            return false;
        }
    }
    return true;
}

} // namespace

int runMakeReference(const QStringList &args)
{
    const QStringList rest = Bench::positional(args, {QStringLiteral("--photos")});
    if (rest.size() != 1) {
        Bench::complain(QStringLiteral("usage: glimmerbook-bench make-reference DIR [--photos N]"));
        return 2;
    }
    const int count =
        Bench::option(args, QStringLiteral("--photos"), QStringLiteral("200")).toInt();
    const QDir dir(rest.first());
    const QString photos = dir.filePath(QStringLiteral("photos"));
    const QString mixed = dir.filePath(QStringLiteral("mixed"));
    const QString scan = dir.filePath(QStringLiteral("scan"));
    for (const QString &d : {photos, mixed, scan}) {
        if (!QDir().mkpath(d)) {
            Bench::complain(QStringLiteral("cannot create ") + d);
            return 1;
        }
    }
    QElapsedTimer timer;
    timer.start();
    const QByteArray noise = makeNoise();
    if (!makePhotos(photos, count, noise) || !makeMixed(mixed, noise) || !makeScanFolder(scan)) {
        Bench::complain(QStringLiteral("could not write the reference set in ") + dir.path());
        return 1;
    }
    Bench::say(QStringLiteral("reference photos=%1 seconds=%2")
                   .arg(count)
                   .arg(timer.nsecsElapsed() / 1e9, 0, 'f', 1));
    return 0;
}
