#include <thread>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "imageman.h"
#include "picturemaker.h"
#include "smalldisk.h"
#include "unprivileged.h"

using namespace Qt::StringLiterals;

namespace {

enum class Kind { Photo, Mono, Palette16, Palette256 };

QImage makePicture(Kind kind, QSize size)
{
    switch (kind) {
    case Kind::Photo:
        return PictureMaker::photo(size, 3);
    case Kind::Mono:
        return PictureMaker::monochrome(size);
    case Kind::Palette16:
        return PictureMaker::palette(size, 16);
    case Kind::Palette256:
        return PictureMaker::palette(size, 256);
    }
    return {};
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The compression tag (259) of a TIFF's first directory, read independently of the engine.
int tiffCompression(const QByteArray &b)
{
    if (b.size() < 8) {
        return -1;
    }
    const bool le = b.startsWith("II");
    auto u16 = [&](qsizetype o) -> quint32 {
        const auto p = reinterpret_cast<const uchar *>(b.constData() + o);
        return le ? quint32(p[0] | (p[1] << 8)) : quint32((p[0] << 8) | p[1]);
    };
    auto u32 = [&](qsizetype o) -> quint32 {
        return le ? u16(o) | (u16(o + 2) << 16) : (u16(o) << 16) | u16(o + 2);
    };
    const qsizetype ifd = u32(4);
    if (ifd + 2 > b.size()) {
        return -1;
    }
    const int count = int(u16(ifd));
    for (int i = 0; i < count && ifd + 2 + i * 12 + 12 <= b.size(); ++i) {
        const qsizetype e = ifd + 2 + i * 12;
        if (u16(e) == 259) {
            return int(u16(e + 8));
        }
    }
    return 1; // no tag: uncompressed
}

// Mean, spread and fine detail (mean difference between neighbours) of the grey levels, to
// tell what an adjustment did.
struct GreyStats
{
    double mean = 0;
    double spread = 0;
    double detail = 0;
};

GreyStats greyStats(const QImage &image)
{
    const QImage g = image.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    double sum2 = 0;
    double diff = 0;
    const double n = double(g.width()) * g.height();
    for (int y = 0; y < g.height(); ++y) {
        const uchar *line = g.constScanLine(y);
        for (int x = 0; x < g.width(); ++x) {
            sum += line[x];
            sum2 += double(line[x]) * line[x];
            if (x > 0) {
                diff += qAbs(int(line[x]) - int(line[x - 1]));
            }
        }
    }
    GreyStats s;
    s.mean = sum / n;
    s.spread = std::sqrt(qMax(0.0, sum2 / n - s.mean * s.mean));
    s.detail = diff / (double(g.width() - 1) * g.height());
    return s;
}

QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList({u".glimmerbook-*"_s}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestImageMan : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString file(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void exportFormats_data();
    void exportFormats();
    void undecodable_data();
    void undecodable();
    void missingAndUnreadableFiles();
    void jpegResolutionSources();
    void decodeHintKeepsPictureSize();
    void fitIntoKeepsColoursAndAspect_data();
    void fitIntoKeepsColoursAndAspect();
    void saveAsNeverOverwritesWhenOff();
    void saveAsOptions();
    void saveAsRefusals();
    void saveAsOnAFullDisk();
    void awkwardNames_data();
    void awkwardNames();
    void rotate_data();
    void rotate();
    void adjustments_data();
    void adjustments();
    void viewFitAndFaxAspect();
    void copiesAndClear();
    void argumentsOutOfRange();
    void instancesOnSeveralThreads();
};

// Every format the albums hold is read back with its size, colours and recorded resolution.
void TestImageMan::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<bool>("rle");
    QTest::addColumn<qint64>("colours");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("tolerance"); // per channel, at the probed pixels

    const int photo = int(Kind::Photo);
    const int mono = int(Kind::Mono);
    const int p16 = int(Kind::Palette16);
    const int p256 = int(Kind::Palette256);
    QTest::newRow("jpg true colour 300 dpi")
        << u"a.jpg"_s << photo << 300 << 300 << false << 16777216LL << u"JPG"_s << 40;
    QTest::newRow("png unequal dpi 200x100")
        << u"b.png"_s << photo << 200 << 100 << false << 16777216LL << u"PNG"_s << 0;
    QTest::newRow("bmp true colour 72 dpi")
        << u"c.bmp"_s << photo << 72 << 72 << false << 16777216LL << u"BMP"_s << 0;
    QTest::newRow("tif true colour 150 dpi")
        << u"d.tif"_s << photo << 150 << 150 << false << 16777216LL << u"TIF"_s << 0;
    QTest::newRow("png 1-bit") << u"e.png"_s << mono << 96 << 96 << false << 2LL << u"PNG"_s << 0;
    QTest::newRow("tif 1-bit fax 204x98")
        << u"f.tif"_s << mono << 204 << 98 << false << 2LL << u"TIF"_s << 0;
    QTest::newRow("bmp 1-bit") << u"g.bmp"_s << mono << 96 << 96 << false << 2LL << u"BMP"_s << 0;
    QTest::newRow("png 16 colours")
        << u"h.png"_s << p16 << 96 << 96 << false << 16LL << u"PNG"_s << 0;
    QTest::newRow("bmp 256 colours")
        << u"i.bmp"_s << p256 << 96 << 96 << false << 256LL << u"BMP"_s << 0;
    QTest::newRow("gif 1-bit, no dpi")
        << u"j.gif"_s << mono << 0 << 0 << false << 2LL << u"GIF"_s << 0;
    QTest::newRow("gif 16 colours")
        << u"k.gif"_s << p16 << 0 << 0 << false << 16LL << u"GIF"_s << 0;
    QTest::newRow("gif 256 colours")
        << u"l.gif"_s << p256 << 0 << 0 << false << 256LL << u"GIF"_s << 0;
    QTest::newRow("pcx true colour, no dpi")
        << u"m.pcx"_s << photo << 0 << 0 << false << 16777216LL << u"PCX"_s << 0;
    QTest::newRow("pcx 300 dpi") << u"n.pcx"_s << photo << 300 << 300 << false << 16777216LL
                                 << u"PCX"_s << 0;
    QTest::newRow("tga plain") << u"o.tga"_s << photo << 0 << 0 << false << 16777216LL << u"TGA"_s
                               << 0;
    QTest::newRow("tga run-length")
        << u"p.tga"_s << photo << 0 << 0 << true << 16777216LL << u"TGA"_s << 0;
}

void TestImageMan::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(bool, rle);
    QFETCH(qint64, colours);
    QFETCH(QString, format);
    QFETCH(int, tolerance);

    const QImage original = makePicture(Kind(kind), QSize(67, 45));
    const QString path = file(name);
    QVERIFY(PictureMaker::write(original, path, dpiX, dpiY, rle));

    ImageMan im;
    const Result<void> loaded = im.setPicture(path);
    QVERIFY2(loaded.ok(), qPrintable(loaded.failure().description));
    QCOMPARE(im.picture(), path);
    QCOMPARE(im.imageWidth(), 67);
    QCOMPARE(im.imageHeight(), 45);
    QCOMPARE(im.colorCount(), colours);
    QCOMPARE(im.horizontalDpi(), dpiX);
    QCOMPARE(im.verticalDpi(), dpiY);
    QCOMPARE(im.formatName(), format);
    QVERIFY(!im.isReduced());

    // Orientation and colours survive: probe the corners and the middle.
    const QImage got = im.image().convertToFormat(QImage::Format_RGB32);
    const QImage want = original.convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(1, 1), QPoint(65, 1), QPoint(1, 43), QPoint(33, 22)}) {
        const QRgb a = got.pixel(p);
        const QRgb b = want.pixel(p);
        const int diff = qMax(qAbs(qRed(a) - qRed(b)),
                              qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
        QVERIFY2(diff <= tolerance,
                 qPrintable(u"pixel %1,%2 differs by %3"_s.arg(p.x()).arg(p.y()).arg(diff)));
    }
}

// What the catalogue stores: JPG for true colour, PNG for palettes, TIF G4 for 2 colours.
void TestImageMan::exportFormats_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("compression");
    QTest::addColumn<QByteArray>("magic"); // empty: the export must fail
    QTest::addColumn<int>("tiffTag"); // compression tag expected in a TIFF, else 0

    QTest::newRow("photo as JPG") << int(Kind::Photo) << u"JPG"_s << 0 << QByteArray("\xFF\xD8\xFF")
                                  << 0;
    QTest::newRow("photo as jpg, lower case")
        << int(Kind::Photo) << u"jpg"_s << 0 << QByteArray("\xFF\xD8\xFF") << 0;
    QTest::newRow("16 colours as PNG")
        << int(Kind::Palette16) << u"PNG"_s << 0 << QByteArray("\x89PNG") << 0;
    QTest::newRow("256 colours as PNG")
        << int(Kind::Palette256) << u"PNG"_s << 0 << QByteArray("\x89PNG") << 0;
    QTest::newRow("2 colours as TIF G4")
        << int(Kind::Mono) << u"TIF"_s << 4 << QByteArray("II*") << 4;
    QTest::newRow("photo as plain TIF")
        << int(Kind::Photo) << u"TIF"_s << 0 << QByteArray("II*") << 1;
    QTest::newRow("G4 refused for a photo")
        << int(Kind::Photo) << u"TIF"_s << 4 << QByteArray() << 0;
    QTest::newRow("GIF refused") << int(Kind::Photo) << u"GIF"_s << 0 << QByteArray() << 0;
    QTest::newRow("unknown format refused")
        << int(Kind::Mono) << u"XYZ"_s << 0 << QByteArray() << 0;
}

void TestImageMan::exportFormats()
{
    QFETCH(int, kind);
    QFETCH(QString, format);
    QFETCH(int, compression);
    QFETCH(QByteArray, magic);
    QFETCH(int, tiffTag);

    ImageMan im;
    im.setImage(makePicture(Kind(kind), QSize(98, 73)));
    const qint64 colours = im.colorCount();
    im.setExportFormat(format);
    im.setCompression(compression);
    im.setQuality(75);
    const Result<QByteArray> bytes = im.exportToMemory();
    if (magic.isEmpty()) {
        QVERIFY(!bytes.ok());
        QCOMPARE(bytes.failure().number, 32501L);
        QCOMPARE(bytes.failure().description, u"Unsupported Export Format"_s);
        return;
    }
    QVERIFY2(bytes.ok(), qPrintable(bytes.failure().description));
    QVERIFY(bytes.value().startsWith(magic));
    if (tiffTag != 0) {
        QCOMPARE(tiffCompression(bytes.value()), tiffTag);
    }

    // The catalogue stores the bytes followed by one zero byte; they load back the same.
    ImageMan back;
    QVERIFY(back.loadFromMemory(bytes.value() + QByteArray(1, '\0')).ok());
    QCOMPARE(back.picture(), QString());
    QCOMPARE(back.imageWidth(), 98);
    QCOMPARE(back.imageHeight(), 73);
    QCOMPARE(back.colorCount(), colours);
}

void TestImageMan::undecodable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // empty: made by the named maker below
    QTest::addColumn<int>("maker");

    QTest::newRow("text named .jpg") << u"text.jpg"_s << QByteArray() << 0;
    QTest::newRow("truncated jpeg") << u"cut.jpg"_s << QByteArray() << 1;
    QTest::newRow("zero bytes") << u"empty.tif"_s << QByteArray() << 2;
    QTest::newRow("jpeg header claiming 30000 x 30000") << u"huge.jpg"_s << QByteArray() << 3;
    QTest::newRow("png header claiming 30000 x 30000") << u"huge.png"_s << QByteArray() << 4;
    QTest::newRow("truncated png") << u"cut.png"_s << QByteArray() << 5;
    QTest::newRow("truncated gif") << u"cut.gif"_s << QByteArray() << 6;
    QTest::newRow("truncated tiff") << u"cut.tif"_s << QByteArray() << 7;
    QTest::newRow("truncated bmp") << u"cut.bmp"_s << QByteArray() << 8;
    QTest::newRow("truncated pcx") << u"cut.pcx"_s << QByteArray() << 9;
    QTest::newRow("truncated rle tga") << u"cut.tga"_s << QByteArray() << 10;
    QTest::newRow("random bytes")
        << u"noise.gif"_s << QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9).repeated(50)
        << -1;
}

void TestImageMan::undecodable()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, maker);

    const QString path = file(u"bad-"_s + name);
    const auto truncated = [&](const QString &ext, bool rle = false) {
        const QString whole = file(u"whole."_s + ext);
        QVERIFY(PictureMaker::write(PictureMaker::photo(QSize(120, 90)), whole, 0, 0, rle));
        const QByteArray all = readAll(whole);
        QVERIFY(writeAll(path, all.left(all.size() / 2)));
    };
    switch (maker) {
    case -1:
        QVERIFY(writeAll(path, bytes));
        break;
    case 0:
        QVERIFY(PictureMaker::writeCorrupt(path));
        break;
    case 1:
        QVERIFY(PictureMaker::writeTruncatedJpeg(path, QSize(200, 150)));
        break;
    case 2:
        QVERIFY(PictureMaker::writeEmpty(path));
        break;
    case 3:
        QVERIFY(PictureMaker::writeHugeJpegHeader(path, 30000, 30000));
        break;
    case 4: {
        QVERIFY(PictureMaker::write(PictureMaker::photo(QSize(16, 16)), path));
        QByteArray png = readAll(path);
        const QByteArray big("\x00\x00\x75\x30\x00\x00\x75\x30", 8); // 30000 x 30000
        png.replace(16, 8, big);
        QVERIFY(writeAll(path, png));
        break;
    }
    case 5:
        truncated(u"png"_s);
        break;
    case 6:
        truncated(u"gif"_s);
        break;
    case 7:
        truncated(u"tif"_s);
        break;
    case 8:
        truncated(u"bmp"_s);
        break;
    case 9:
        truncated(u"pcx"_s);
        break;
    case 10:
        truncated(u"tga"_s, true);
        break;
    }

    // A previously loaded picture does not survive a failed load.
    ImageMan im;
    im.setImage(PictureMaker::photo(QSize(10, 10)));
    const Result<void> r = im.setPicture(path);
    QVERIFY(!r.ok());
    QCOMPARE(r.failure().number, 32500L);
    QVERIFY(im.isEmpty());
    QCOMPARE(im.picture(), QString());
    QCOMPARE(im.imageWidth(), 0);

    const Result<void> m = im.loadFromMemory(readAll(path));
    QVERIFY(!m.ok());
    QCOMPARE(m.failure().number, 32500L);
}

void TestImageMan::missingAndUnreadableFiles()
{
    ImageMan im;
    Result<void> r = im.setPicture(file(u"no such photo.jpg"_s));
    QCOMPARE(r.failure().number, 53L);
    r = im.setPicture(m_dir.path());
    QVERIFY(!r.ok());

    // An unreadable photo, tried without the superuser's rights.
    const QString path = file(u"locked.jpg"_s);
    QVERIFY(PictureMaker::writePhoto(path, QSize(20, 20)));
    makeTraversable(m_dir.path(), path);
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    const bool refused = runUnprivileged([&] {
        ImageMan other;
        const Result<void> locked = other.setPicture(path);
        return !locked.ok() && locked.failure().number == 70 && other.isEmpty();
    });
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(refused);
}

// Cameras write a JFIF block without units and put the resolution into EXIF.
void TestImageMan::jpegResolutionSources()
{
    const QString path = file(u"camera.jpg"_s);
    QVERIFY(PictureMaker::write(PictureMaker::photo(QSize(40, 30)), path, 300, 300));
    QByteArray jpeg = readAll(path);
    QCOMPARE(QByteArray(jpeg.constData() + 6, 4), QByteArray("JFIF"));
    jpeg[13] = 0; // density units: none, the numbers are an aspect ratio only
    QVERIFY(writeAll(path, jpeg));
    ImageMan im;
    QVERIFY(im.setPicture(path).ok());
    QCOMPARE(im.horizontalDpi(), 0);
    QCOMPARE(im.verticalDpi(), 0);

    // EXIF block after the JFIF one: big-endian TIFF header, IFD0 with XResolution 180/1,
    // YResolution 90/1 and ResolutionUnit 2 (inches).
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);
    const auto u16 = [&tiff](int v) {
        tiff.append(char(v >> 8)).append(char(v & 0xff));
    };
    const auto u32 = [&](quint32 v) {
        u16(int(v >> 16));
        u16(int(v & 0xffff));
    };
    const auto entry = [&](int tag, int type, quint32 value) { // one value per entry
        u16(tag);
        u16(type);
        u32(1);
        u32(type == 3 ? value << 16 : value); // a SHORT sits in the first half of the field
    };
    const quint32 rationals = 8 + 2 + 3 * 12 + 4; // after the header and the directory
    u16(3);
    entry(282, 5, rationals);
    entry(283, 5, rationals + 8);
    entry(296, 3, 2);
    u32(0);
    for (const quint32 v : {180u, 1u, 90u, 1u}) {
        u32(v);
    }
    QByteArray app1("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.size());
    app1.append(char(length >> 8)).append(char(length & 0xff)).append("Exif\0\0", 6).append(tiff);
    const int jfifEnd = 4 + ((uchar(jpeg[4]) << 8) | uchar(jpeg[5]));
    jpeg.insert(jfifEnd, app1);
    QVERIFY(writeAll(path, jpeg));
    QVERIFY(im.setPicture(path).ok());
    QCOMPARE(im.imageWidth(), 40);
    QCOMPARE(im.horizontalDpi(), 180);
    QCOMPARE(im.verticalDpi(), 90);
}

// The thumbnail path decodes a JPEG at a fraction of its size but keeps speaking in its pixels.
void TestImageMan::decodeHintKeepsPictureSize()
{
    const QString jpg = file(u"big.jpg"_s);
    QVERIFY(PictureMaker::writePhoto(jpg, QSize(1600, 1200)));
    const QString png = file(u"big.png"_s);
    QVERIFY(PictureMaker::writePhoto(png, QSize(400, 300)));

    ImageMan im;
    QVERIFY(im.setPicture(jpg, QSize(98, 98)).ok());
    QCOMPARE(im.imageWidth(), 1600);
    QCOMPARE(im.imageHeight(), 1200);
    QVERIFY(im.isReduced());
    QCOMPARE(im.image().size(), QSize(200, 150)); // libjpeg's 1/8 scale, still above 98
    // Never below the hint: a 250-pixel hint needs 1/4 scale.
    QVERIFY(im.setPicture(jpg, QSize(250, 140)).ok());
    QCOMPARE(im.image().size(), QSize(400, 300));

    // A reduced picture is never saved over a photo.
    im.setSaveOptions(u"APPEND = OFF\rOVERWRITE = ON\r"_s);
    const Result<void> saved = im.saveAs(file(u"reduced.jpg"_s));
    QVERIFY(!saved.ok());
    QVERIFY(!QFile::exists(file(u"reduced.jpg"_s)));

    QVERIFY(im.setPicture(jpg, QSize(98, 98)).ok());
    QVERIFY(im.fitInto(QSize(98, 98)).ok());
    QCOMPARE(QSize(im.imageWidth(), im.imageHeight()), QSize(98, 74));
    QCOMPARE(im.image().size(), QSize(98, 74));
    QVERIFY(!im.isReduced());

    // Other formats ignore the hint.
    QVERIFY(im.setPicture(png, QSize(98, 98)).ok());
    QVERIFY(!im.isReduced());
    QCOMPARE(im.image().size(), QSize(400, 300));
}

void TestImageMan::fitIntoKeepsColoursAndAspect_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("landscape photo")
        << int(Kind::Photo) << QSize(400, 300) << QSize(98, 98) << QSize(98, 74);
    QTest::newRow("portrait photo")
        << int(Kind::Photo) << QSize(1536, 2048) << QSize(98, 98) << QSize(74, 98);
    QTest::newRow("2 colours stay 2")
        << int(Kind::Mono) << QSize(640, 480) << QSize(98, 98) << QSize(98, 74);
    QTest::newRow("16 colours stay 16")
        << int(Kind::Palette16) << QSize(300, 300) << QSize(98, 98) << QSize(98, 98);
    QTest::newRow("256 colours stay 256")
        << int(Kind::Palette256) << QSize(300, 200) << QSize(98, 98) << QSize(98, 65);
    QTest::newRow("small picture not enlarged")
        << int(Kind::Photo) << QSize(50, 40) << QSize(98, 98) << QSize(50, 40);
    QTest::newRow("thin strip keeps a pixel")
        << int(Kind::Photo) << QSize(2000, 1) << QSize(98, 98) << QSize(98, 1);
}

void TestImageMan::fitIntoKeepsColoursAndAspect()
{
    QFETCH(int, kind);
    QFETCH(QSize, size);
    QFETCH(QSize, box);
    QFETCH(QSize, expected);

    ImageMan im;
    im.setImage(makePicture(Kind(kind), size));
    const qint64 colours = im.colorCount();
    QVERIFY(im.fitInto(box).ok());
    QCOMPARE(QSize(im.imageWidth(), im.imageHeight()), expected);
    QCOMPARE(im.image().size(), expected);
    QCOMPARE(im.colorCount(), colours);
}

void TestImageMan::saveAsNeverOverwritesWhenOff()
{
    const QString path = file(u"keep.jpg"_s);
    QVERIFY(PictureMaker::writePhoto(path, QSize(64, 48)));
    const QByteArray before = readAll(path);

    ImageMan im;
    im.setImage(PictureMaker::photo(QSize(30, 20), 9));
    im.setSaveOptions(u"APPEND = OFF\rOVERWRITE = OFF\r"_s);
    Result<void> r = im.saveAs(path);
    QCOMPARE(r.failure().number, 58L);
    QCOMPARE(readAll(path), before);
    // No options at all is just as careful.
    im.setSaveOptions(QString());
    QCOMPARE(im.saveAs(path).failure().number, 58L);
    QCOMPARE(readAll(path), before);

    im.setSaveOptions(u"APPEND = OFF\rOVERWRITE = ON\rLOSSY_QUALITY = 99\r"_s);
    QVERIFY(im.saveAs(path).ok());
    ImageMan back;
    QVERIFY(back.setPicture(path).ok());
    QCOMPARE(back.imageWidth(), 30);
    QVERIFY(leftovers(m_dir.path()).isEmpty());
}

void TestImageMan::saveAsOptions()
{
    const QString sub = file(u"saved"_s);
    QVERIFY(QDir().mkpath(sub));
    ImageMan im;
    const QString source = file(u"source.pcx"_s);
    QVERIFY(PictureMaker::write(PictureMaker::photo(QSize(80, 60)), source));
    QVERIFY(im.setPicture(source).ok());

    // PATH puts a bare name into its folder; the extension picks the format.
    im.setSaveOptions(u"APPEND = OFF\rPATH = "_s + sub
                      + u"\rOVERWRITE = ON\rLOSSY_QUALITY = 99\r"_s);
    QVERIFY(im.saveAs(u"high.jpg"_s).ok());
    im.setSaveOptions(u"APPEND = OFF\rPATH = "_s + sub
                      + u"\rOVERWRITE = ON\rLOSSY_QUALITY = 10\r"_s);
    QVERIFY(im.saveAs(u"low.jpg"_s).ok());
    QVERIFY(QFileInfo(sub + u"/low.jpg"_s).size() < QFileInfo(sub + u"/high.jpg"_s).size());

    // An unknown extension keeps the format the picture came in.
    QVERIFY(im.saveAs(u"copy.pcx.bak"_s).ok());
    ImageMan back;
    QVERIFY(back.setPicture(sub + u"/copy.pcx.bak"_s).ok());
    QCOMPARE(back.formatName(), u"PCX"_s);

    for (const QString &name : {u"x.png"_s, u"x.bmp"_s, u"x.tif"_s, u"x.gif"_s, u"x.tga"_s}) {
        QVERIFY2(im.saveAs(name).ok(), qPrintable(name));
        QVERIFY(back.setPicture(sub + u'/' + name).ok());
        QCOMPARE(back.imageWidth(), 80);
    }
    QVERIFY(leftovers(sub).isEmpty());
}

// A full disk: the failure says so, the photo being replaced is kept whole, nothing is left.
void TestImageMan::saveAsOnAFullDisk()
{
    SmallDisk disk(256);
    if (!disk.isMounted()) {
        QSKIP("a small file system cannot be mounted here");
    }
    const QString photo = disk.path() + u"/photo.bmp"_s;
    QVERIFY(PictureMaker::write(PictureMaker::photo(QSize(40, 30)), photo));
    const QByteArray before = readAll(photo);
    disk.fill();

    ImageMan im;
    im.setImage(PictureMaker::photo(QSize(400, 300), 3));
    im.setSaveOptions(u"APPEND = OFF\rOVERWRITE = ON\r"_s);
    const Result<void> replaced = im.saveAs(photo);
    QCOMPARE(replaced.failure().number, 61L);
    QCOMPARE(readAll(photo), before);
    // A small picture is only buffered when written: its failure shows when the file is closed.
    ImageMan small;
    small.setImage(PictureMaker::photo(QSize(4, 4)));
    small.setSaveOptions(u"APPEND = OFF\rOVERWRITE = ON\r"_s);
    QCOMPARE(small.saveAs(photo).failure().number, 61L);
    QCOMPARE(readAll(photo), before);
    const Result<void> added = im.saveAs(disk.path() + u"/new.bmp"_s);
    QCOMPARE(added.failure().number, 61L);
    QCOMPARE(QDir(disk.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{u"photo.bmp"_s});
}

void TestImageMan::saveAsRefusals()
{
    ImageMan im;
    im.setSaveOptions(u"APPEND = OFF\rOVERWRITE = ON\r"_s);
    QCOMPARE(im.saveAs(file(u"empty.jpg"_s)).failure().number, 5L);
    im.setImage(PictureMaker::photo(QSize(20, 20)));
    QCOMPARE(im.saveAs(file(u"no folder/x.jpg"_s)).failure().number, 76L);
    QCOMPARE(im.saveAs(file(u"what.xyz"_s)).failure().number, 32501L);
    QVERIFY(!QFile::exists(file(u"what.xyz"_s)));

    // A read-only folder, and a read-only photo in a writable one, refused cleanly (tried
    // without the superuser's rights): nothing written, nothing left behind, nothing replaced.
    const QString locked = file(u"locked"_s);
    const QString open = file(u"open"_s);
    QVERIFY(QDir().mkpath(locked));
    QVERIFY(QDir().mkpath(open));
    const QString protectedPhoto = open + u"/protected.jpg"_s;
    QVERIFY(PictureMaker::writePhoto(protectedPhoto, QSize(16, 16)));
    const QByteArray before = readAll(protectedPhoto);
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                              | QFileDevice::ExeOther);
    QFile::setPermissions(open,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                              | QFileDevice::ReadOther | QFileDevice::WriteOther
                              | QFileDevice::ExeOther);
    QFile::setPermissions(protectedPhoto, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    makeTraversable(m_dir.path(), locked);
    const bool refused = runUnprivileged([&] {
        const Result<void> intoLocked = im.saveAs(locked + u"/x.jpg"_s);
        const Result<void> overProtected = im.saveAs(protectedPhoto);
        return !intoLocked.ok() && intoLocked.failure().number == 70 && !overProtected.ok()
            && overProtected.failure().number == 70;
    });
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(refused);
    QVERIFY(QDir(locked).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QCOMPARE(readAll(protectedPhoto), before);
    QCOMPARE(QDir(open).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"protected.jpg"_s});
}

void TestImageMan::awkwardNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << u"Tom's day.jpg"_s;
    QTest::newRow("semicolon") << u"a;b.png"_s;
    QTest::newRow("hash and ampersand") << u"#1 & #2.tif"_s;
    QTest::newRow("blanks") << u"  two  blanks .bmp"_s;
    QTest::newRow("non-ASCII gif") << u"Åsa på ön ß.gif"_s;
    QTest::newRow("non-ASCII pcx") << u"Éte; l'été #3 & co.pcx"_s;
    QTest::newRow("brackets tga") << u"scan [1] %d.tga"_s;
}

void TestImageMan::awkwardNames()
{
    QFETCH(QString, name);
    const QString path = file(name);
    QVERIFY(PictureMaker::write(PictureMaker::photo(QSize(33, 21)), path, 0, 0, true));
    ImageMan im;
    const Result<void> r = im.setPicture(path);
    QVERIFY2(r.ok(), qPrintable(r.failure().description));
    QCOMPARE(im.imageWidth(), 33);

    const QString copy = file(u"copy of "_s + name);
    im.setSaveOptions(u"APPEND = OFF\rOVERWRITE = OFF\r"_s);
    QVERIFY(im.saveAs(copy).ok());
    ImageMan back;
    QVERIFY(back.setPicture(copy).ok());
    QCOMPARE(back.imageHeight(), 21);
}

void TestImageMan::rotate_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("angle");
    QTest::addColumn<QSize>("expected");
    QTest::addColumn<QPoint>("cornerGoesTo"); // where the top-left pixel lands

    QTest::newRow("photo 90") << int(Kind::Photo) << 9000 << QSize(30, 40) << QPoint(29, 0);
    QTest::newRow("photo 180") << int(Kind::Photo) << 18000 << QSize(40, 30) << QPoint(39, 29);
    QTest::newRow("photo 270") << int(Kind::Photo) << 27000 << QSize(30, 40) << QPoint(0, 39);
    QTest::newRow("2 colours 90") << int(Kind::Mono) << 9000 << QSize(30, 40) << QPoint(29, 0);
    QTest::newRow("16 colours 270")
        << int(Kind::Palette16) << 27000 << QSize(30, 40) << QPoint(0, 39);
}

void TestImageMan::rotate()
{
    QFETCH(int, kind);
    QFETCH(int, angle);
    QFETCH(QSize, expected);
    QFETCH(QPoint, cornerGoesTo);

    QImage original = makePicture(Kind(kind), QSize(40, 30))
                          .convertToFormat(kind == int(Kind::Photo)
                                               ? QImage::Format_RGB32
                                               : makePicture(Kind(kind), QSize(1, 1)).format());
    if (kind == int(Kind::Photo)) {
        original.setPixel(0, 0, qRgb(255, 0, 0));
    } else {
        original.setPixel(0, 0, 1); // a colour of its own palette
    }
    ImageMan im;
    im.setImage(original);
    const qint64 colours = im.colorCount();
    QVERIFY(im.rotate(angle).ok());
    QCOMPARE(QSize(im.imageWidth(), im.imageHeight()), expected);
    QCOMPARE(im.image().size(), expected);
    QCOMPARE(im.colorCount(), colours);
    QCOMPARE(im.image().pixel(cornerGoesTo), original.pixel(0, 0));
}

void TestImageMan::adjustments_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("value");
    // How mean, spread and fine detail move: -1 down, 0 about the same, 1 up, 2 not checked.
    QTest::addColumn<int>("mean");
    QTest::addColumn<int>("spread");
    QTest::addColumn<int>("detail");

    QTest::newRow("brightness +80") << u"brightness"_s << 80 << 1 << 0 << 0;
    QTest::newRow("brightness -250") << u"brightness"_s << -250 << -1 << -1 << -1;
    QTest::newRow("contrast neutral 50") << u"contrast"_s << 50 << 0 << 0 << 0;
    QTest::newRow("contrast 100") << u"contrast"_s << 100 << 0 << 1 << 1;
    QTest::newRow("contrast 1") << u"contrast"_s << 1 << 0 << -1 << -1;
    QTest::newRow("sharpen") << u"filter"_s << 0 << 0 << 2 << 1;
    QTest::newRow("blur") << u"filter"_s << 1 << 0 << 2 << -1;
    QTest::newRow("emboss") << u"filter"_s << 2 << 0 << -1 << 2;
    QTest::newRow("edge detect") << u"filter"_s << 3 << -1 << 2 << 2;
    QTest::newRow("edge detect more") << u"filter"_s << 4 << -1 << 2 << 2;
}

void TestImageMan::adjustments()
{
    QFETCH(QString, op);
    QFETCH(int, value);
    QFETCH(int, mean);
    QFETCH(int, spread);
    QFETCH(int, detail);

    // Noise on a mid-grey ramp: every adjustment has something to work on.
    QImage picture(120, 90, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const int v = qBound(0, 70 + x + int(rng.bounded(40)) - 20, 255);
            picture.setPixel(x, y, qRgb(v, v, qBound(0, v + 10, 255)));
        }
    }
    ImageMan im;
    im.setImage(picture);
    Result<void> r;
    if (op == u"brightness"_s) {
        r = im.adjustBrightness(value);
    } else if (op == u"contrast"_s) {
        r = im.adjustContrast(value);
    } else {
        r = im.applyFilter(value);
    }
    QVERIFY2(r.ok(), qPrintable(r.failure().description));
    QCOMPARE(im.image().size(), picture.size());

    const GreyStats before = greyStats(picture);
    const GreyStats after = greyStats(im.image());
    const auto moved = [](double was, double is) {
        const double margin = qMax(2.0, was * 0.1);
        return is > was + margin ? 1 : is < was - margin ? -1 : 0;
    };
    if (mean != 2) {
        QCOMPARE(moved(before.mean, after.mean), mean);
    }
    if (spread != 2) {
        QCOMPARE(moved(before.spread, after.spread), spread);
    }
    if (detail != 2) {
        QCOMPARE(moved(before.detail, after.detail), detail);
    }
}

// The page builder's fit: a loaded picture, its fax proportions, then a centred fit.
void TestImageMan::viewFitAndFaxAspect()
{
    const QString fax = file(u"fax.tif"_s);
    QVERIFY(PictureMaker::write(PictureMaker::monochrome(QSize(200, 100)), fax, 200, 100));
    ImageMan im;
    im.setViewSize(QSizeF(100, 100));
    QVERIFY(im.setPicture(fax).ok());
    QCOMPARE(im.scaleWidth(), 100.0);
    QCOMPARE(im.sourceRect(), QRectF(0, 0, 200, 100));

    // Fit without draw mode 3: 200 x 100 in a 100 x 100 view, centred vertically.
    const double rx = im.imageWidth() / im.scaleWidth();
    im.setAutoScale(0);
    im.setScaleWidth(im.imageWidth());
    im.setScaleHeight(im.scaleHeight() * rx);
    im.setScaleTop((im.imageHeight() - im.scaleHeight()) / 2);
    QCOMPARE(im.pictureRectInView(), QRectF(0, 25, 100, 50));
    const QImage shown = im.renderView(Qt::red);
    QCOMPARE(shown.size(), QSize(100, 100));
    QCOMPARE(shown.pixel(50, 10), QColor(Qt::red).rgb()); // above the picture
    QVERIFY(shown.pixel(50, 50) != QColor(Qt::red).rgb());

    // Draw mode 3 with a destination twice as tall per pixel: the fax (200 dpi across, 100
    // down, so one inch square) is drawn square, whole, inside the same fit.
    const double ratio = im.viewSize().width() / im.imageWidth();
    const double aspect = double(im.horizontalDpi()) / im.verticalDpi();
    im.setDrawMode(3);
    im.setSourceRect(QRectF(0, 0, im.imageWidth(), im.imageHeight()));
    im.setDestinationRect(QRectF(0, 0, im.imageWidth() * ratio, im.imageHeight() * ratio * aspect));
    QCOMPARE(im.pictureRectInView(), QRectF(25, 25, 50, 50));

    // autoScale 1 fits by itself; a reduced decode lands in the same place.
    const QString jpg = file(u"wide.jpg"_s);
    QVERIFY(PictureMaker::writePhoto(jpg, QSize(1600, 800)));
    im.setAutoScale(1);
    QVERIFY(im.setPicture(jpg, QSize(50, 50)).ok());
    QVERIFY(im.isReduced());
    QCOMPARE(im.pictureRectInView(), QRectF(0, 25, 100, 50));
    const int before = im.revision();
    im.refresh();
    QVERIFY(im.revision() != before);
}

void TestImageMan::copiesAndClear()
{
    ImageMan a;
    a.setImage(PictureMaker::photo(QSize(20, 10)));
    a.tag = u"10 x 20"_s;
    ImageMan b = a;
    QCOMPARE(b.image(), a.image());
    QCOMPARE(b.tag, a.tag);
    QVERIFY(b.rotate(9000).ok());
    QCOMPARE(a.imageWidth(), 20); // the copy turned, not the original
    a.clear();
    QVERIFY(a.isEmpty());
    QCOMPARE(a.colorCount(), 0LL);
    QCOMPARE(a.picture(), QString());
    QCOMPARE(a.exportToMemory().failure().number, 5L);
    QCOMPARE(b.imageWidth(), 10);
}

void TestImageMan::argumentsOutOfRange()
{
    ImageMan im;
    QCOMPARE(im.rotate(9000).failure().number, 5L); // nothing loaded
    QCOMPARE(im.fitInto(QSize(98, 98)).failure().number, 5L);
    im.setImage(PictureMaker::photo(QSize(20, 20)));
    QCOMPARE(im.applyFilter(5).failure().number, 5L);
    QCOMPARE(im.applyFilter(-1).failure().number, 5L);
    QCOMPARE(im.adjustBrightness(251).failure().number, 5L);
    QCOMPARE(im.adjustContrast(0).failure().number, 5L);
    QCOMPARE(im.adjustContrast(101).failure().number, 5L);
    QCOMPARE(im.fitInto(QSize(0, 98)).failure().number, 5L);
    im.setSaveOptions(u"APPEND = ON\rOVERWRITE = ON\r"_s);
    QCOMPARE(im.saveAs(file(u"appended.jpg"_s)).failure().number, 5L);
    QVERIFY(!QFile::exists(file(u"appended.jpg"_s)));
    QCOMPARE(im.imageWidth(), 20); // refusals leave the picture alone
}

// Separate instances work on separate threads at the same time (the catalogue's worker pool).
void TestImageMan::instancesOnSeveralThreads()
{
    QStringList paths;
    const QStringList exts{u"jpg"_s, u"pcx"_s, u"tga"_s, u"gif"_s, u"tif"_s, u"png"_s};
    for (int i = 0; i < 12; ++i) {
        paths << file(u"t%1.%2"_s.arg(i).arg(exts[i % exts.size()]));
        QVERIFY(PictureMaker::write(PictureMaker::photo(QSize(300 + i, 200), i),
                                    paths.last(),
                                    0,
                                    0,
                                    i % 2));
    }
    std::vector<QByteArray> results(4 * paths.size());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < paths.size(); ++i) {
                ImageMan im;
                if (!im.setPicture(paths[i], QSize(98, 98)).ok() || !im.fitInto(QSize(98, 98)).ok()
                    || !im.applyFilter(1).ok()) {
                    continue;
                }
                im.setExportFormat(u"PNG"_s);
                results[t * paths.size() + i] = im.exportToMemory().valueOr(QByteArray());
            }
        });
    }
    for (auto &t : threads) {
        t.join();
    }
    for (int i = 0; i < paths.size(); ++i) {
        QVERIFY2(!results[i].isEmpty(), qPrintable(paths[i]));
        for (int t = 1; t < 4; ++t) {
            QCOMPARE(results[t * paths.size() + i], results[i]);
        }
    }
}

QTEST_GUILESS_MAIN(TestImageMan)
#include "tst_imageman.moc"
