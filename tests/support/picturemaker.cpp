#include "picturemaker.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

namespace PictureMaker {

namespace {

void putU16(QByteArray &out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(bytes) == bytes.size();
}

// TGA 2.0: true colour, bottom-up rows, BGR, optionally run-length encoded, with the footer.
QByteArray encodeTga(const QImage &source, bool rle)
{
    const QImage img = source.convertToFormat(QImage::Format_RGB32);
    QByteArray out;
    out.append(char(0)); // id length
    out.append(char(0)); // no colour map
    out.append(char(rle ? 10 : 2)); // image type
    out.append(QByteArray(5, '\0')); // colour map spec
    putU16(out, 0); // x origin
    putU16(out, 0); // y origin
    putU16(out, img.width());
    putU16(out, img.height());
    out.append(char(24)); // bits per pixel
    out.append(char(0)); // descriptor: bottom-left origin
    QList<QRgb> pixels;
    pixels.reserve(qsizetype(img.width()) * img.height());
    for (int y = img.height() - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            pixels.append(line[x]);
        }
    }
    auto putPixel = [&out](QRgb p) {
        out.append(char(qBlue(p)));
        out.append(char(qGreen(p)));
        out.append(char(qRed(p)));
    };
    if (!rle) {
        for (QRgb p : pixels) {
            putPixel(p);
        }
    } else {
        qsizetype i = 0;
        while (i < pixels.size()) {
            qsizetype run = 1;
            while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i]) {
                ++run;
            }
            if (run >= 2) {
                out.append(char(0x80 | (run - 1)));
                putPixel(pixels[i]);
                i += run;
                continue;
            }
            qsizetype raw = 1;
            while (i + raw < pixels.size() && raw < 128
                   && !(i + raw + 1 < pixels.size() && pixels[i + raw] == pixels[i + raw + 1])) {
                ++raw;
            }
            out.append(char(raw - 1));
            for (qsizetype k = 0; k < raw; ++k) {
                putPixel(pixels[i + k]);
            }
            i += raw;
        }
    }
    out.append(QByteArray(8, '\0')); // extension and developer offsets
    out.append("TRUEVISION-XFILE.");
    out.append(char(0));
    return out;
}

void pcxRun(QByteArray &out, const uchar *data, int count)
{
    int i = 0;
    while (i < count) {
        int run = 1;
        while (i + run < count && run < 63 && data[i + run] == data[i]) {
            ++run;
        }
        if (run > 1 || data[i] >= 0xC0) {
            out.append(char(0xC0 | run));
        }
        out.append(char(data[i]));
        i += run;
    }
}

// PCX version 5, 24-bit as three 8-bit planes per line, run-length encoded.
QByteArray encodePcx(const QImage &source, int dpiX, int dpiY)
{
    const QImage img = source.convertToFormat(QImage::Format_RGB32);
    const int w = img.width();
    const int h = img.height();
    const int bytesPerLine = (w + 1) & ~1;
    QByteArray out;
    out.append(char(10));
    out.append(char(5));
    out.append(char(1));
    out.append(char(8));
    putU16(out, 0);
    putU16(out, 0);
    putU16(out, w - 1);
    putU16(out, h - 1);
    putU16(out, dpiX);
    putU16(out, dpiY);
    out.append(QByteArray(48, '\0'));
    out.append(char(0));
    out.append(char(3));
    putU16(out, bytesPerLine);
    putU16(out, 1);
    putU16(out, 0);
    putU16(out, 0);
    out.append(QByteArray(54, '\0'));
    QByteArray plane(bytesPerLine, '\0');
    for (int y = 0; y < h; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int c = 0; c < 3; ++c) {
            for (int x = 0; x < w; ++x) {
                const QRgb p = line[x];
                plane[x] = char(c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p));
            }
            pcxRun(out, reinterpret_cast<const uchar *>(plane.constData()), bytesPerLine);
        }
    }
    return out;
}

// GIF89a with the picture's own palette (true colour is reduced to 256 colours first). The LZW
// stream restarts before its code table grows, so every code has the same width: valid, simple,
// and any decoder reads it.
QByteArray encodeGif(const QImage &source)
{
    QImage img = source;
    if (img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB) {
        img = img.convertToFormat(QImage::Format_Indexed8);
    } else if (img.format() != QImage::Format_Indexed8) {
        img = img.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8);
    }
    QList<QRgb> table = img.colorTable();
    int bits = 1;
    while ((1 << bits) < table.size()) {
        ++bits;
    }
    table.resize(1 << bits, qRgb(0, 0, 0));
    QByteArray out("GIF89a");
    putU16(out, img.width());
    putU16(out, img.height());
    out.append(char(0x80 | ((bits - 1) << 4) | (bits - 1)));
    out.append(char(0));
    out.append(char(0));
    for (QRgb c : table) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2C));
    putU16(out, 0);
    putU16(out, 0);
    putU16(out, img.width());
    putU16(out, img.height());
    out.append(char(0));
    const int minCode = qMax(2, bits);
    out.append(char(minCode));
    const int clear = 1 << minCode;
    const int width = minCode + 1;
    QByteArray data;
    quint32 acc = 0;
    int accBits = 0;
    auto put = [&](int code) {
        acc |= quint32(code) << accBits;
        accBits += width;
        while (accBits >= 8) {
            data.append(char(acc & 0xff));
            acc >>= 8;
            accBits -= 8;
        }
    };
    int sinceClear = clear; // forces a clear code first
    for (int y = 0; y < img.height(); ++y) {
        const uchar *line = img.constScanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            if (sinceClear >= clear - 2) {
                put(clear);
                sinceClear = 0;
            }
            put(line[x]);
            ++sinceClear;
        }
    }
    put(clear + 1);
    if (accBits > 0) {
        data.append(char(acc & 0xff));
    }
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const QByteArray block = data.mid(i, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0));
    out.append(char(0x3B));
    return out;
}

} // namespace

QImage photo(const QSize &size, int seed)
{
    QImage img(size, QImage::Format_RGB32);
    QRandomGenerator rng(quint32(seed) + 1);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 120) % 360, 160, 90));
    p.fillRect(img.rect(), sky);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        p.setBrush(
            QColor::fromHsv(rng.bounded(360), 100 + rng.bounded(155), 80 + rng.bounded(175)));
        const int w = 1 + rng.bounded(qMax(1, size.width() / 3));
        const int h = 1 + rng.bounded(qMax(1, size.height() / 3));
        p.drawEllipse(rng.bounded(qMax(1, size.width())),
                      rng.bounded(qMax(1, size.height())),
                      w,
                      h);
    }
    p.end();
    return img;
}

QImage monochrome(const QSize &size)
{
    QImage img(size, QImage::Format_Mono);
    img.setColor(0, qRgb(255, 255, 255));
    img.setColor(1, qRgb(0, 0, 0));
    img.fill(0);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (((x / 8) + (y / 8)) % 2 == 0) {
                img.setPixel(x, y, 1);
            }
        }
    }
    return img;
}

QImage palette(const QSize &size, int colours)
{
    QImage img(size, QImage::Format_Indexed8);
    img.setColorCount(colours);
    for (int i = 0; i < colours; ++i) {
        img.setColor(i, QColor::fromHsv((i * 360) / colours, 200, 220).rgb());
    }
    for (int y = 0; y < size.height(); ++y) {
        uchar *line = img.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            line[x] = uchar((x / 4 + y / 4) % colours);
        }
    }
    return img;
}

bool write(const QImage &image, const QString &path, int dpiX, int dpiY, bool rle)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    QImage img = image;
    if (dpiX > 0 && dpiY > 0) {
        img.setDotsPerMeterX(qRound(dpiX / 0.0254));
        img.setDotsPerMeterY(qRound(dpiY / 0.0254));
    }
    if (ext == QLatin1String("tga")) {
        return writeBytes(path, encodeTga(img, rle));
    }
    if (ext == QLatin1String("pcx")) {
        return writeBytes(path, encodePcx(img, dpiX, dpiY));
    }
    QByteArray format = ext.toLatin1();
    if (format == "jpg") {
        format = "jpeg";
    } else if (format == "tif") {
        format = "tiff";
    }
    if (format == "gif") {
        return writeBytes(path, encodeGif(img)); // Qt has no GIF writer
    }
    QImageWriter writer(path, format);
    if (format == "jpeg") {
        writer.setQuality(90);
    }
    return writer.write(img);
}

bool writePhoto(const QString &path, const QSize &size, int seed)
{
    return write(photo(size, seed), path);
}

bool writeTruncatedJpeg(const QString &path, const QSize &size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    photo(size).save(&buffer, "JPEG", 90);
    return writeBytes(path, bytes.left(bytes.size() / 3));
}

bool writeCorrupt(const QString &path)
{
    return writeBytes(path, QByteArray("This is not a picture, only some text.\n").repeated(20));
}

bool writeEmpty(const QString &path)
{
    return writeBytes(path, QByteArray());
}

bool writeHugeJpegHeader(const QString &path, int width, int height)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    photo(QSize(16, 16)).save(&buffer, "JPEG", 90);
    // Patch the frame header (SOF0 or SOF2) so the file claims the large size.
    for (qsizetype i = 2; i + 9 < bytes.size(); ++i) {
        const uchar m = uchar(bytes[i + 1]);
        if (uchar(bytes[i]) == 0xFF && (m == 0xC0 || m == 0xC2)) {
            bytes[i + 5] = char((height >> 8) & 0xff);
            bytes[i + 6] = char(height & 0xff);
            bytes[i + 7] = char((width >> 8) & 0xff);
            bytes[i + 8] = char(width & 0xff);
            return writeBytes(path, bytes);
        }
    }
    return false;
}

} // namespace PictureMaker
