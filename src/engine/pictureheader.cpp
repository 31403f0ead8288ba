#include "pictureheader.h"

#include <cmath>

#include <QByteArray>
#include <QIODevice>

namespace Engine {

namespace {

quint16 le16(const uchar *p)
{
    return quint16(p[0] | (p[1] << 8));
}

quint32 le32(const uchar *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

quint16 be16(const uchar *p)
{
    return quint16((p[0] << 8) | p[1]);
}

quint32 be32(const uchar *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

int roundDpi(double dpi)
{
    if (!(dpi > 0) || dpi > 1e6) {
        return 0;
    }
    return int(std::lround(dpi));
}

// Reads exactly n bytes at offset; false when the device holds fewer.
bool readAt(QIODevice &device, qint64 offset, char *out, qint64 n)
{
    if (offset < 0 || n < 0 || offset + n > device.size() || !device.seek(offset)) {
        return false;
    }
    return device.read(out, n) == n;
}

// A TIFF structure (a TIFF file, or the EXIF block of a JPEG) read through the device at base.
class TiffReader
{
public:
    TiffReader(QIODevice &device, qint64 base, qint64 limit)
        : m_device(device)
        , m_base(base)
        , m_limit(limit)
    {}

    bool open()
    {
        uchar head[8];
        if (!read(0, head, 8)) {
            return false;
        }
        if (head[0] == 'I' && head[1] == 'I' && head[2] == 42 && head[3] == 0) {
            m_little = true;
        } else if (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && head[3] == 42) {
            m_little = false;
        } else {
            return false;
        }
        m_ifd = u32(head + 4);
        return true;
    }

    // Walks the first picture's directory: size, resolution and compression.
    void readFirstDirectory(PictureHeader &header, bool wantSize)
    {
        uchar countBytes[2];
        if (!read(m_ifd, countBytes, 2)) {
            header.complete = false;
            return;
        }
        const int count = u16(countBytes);
        double xres = 0;
        double yres = 0;
        int unit = 2; // inches unless the file says otherwise
        int width = 0;
        int height = 0;
        for (int i = 0; i < count && i < 1000; ++i) {
            uchar e[12];
            if (!read(m_ifd + 2 + qint64(i) * 12, e, 12)) {
                header.complete = false;
                break;
            }
            const int tag = u16(e);
            const int type = u16(e + 2);
            const auto value = [&]() -> quint32 {
                return type == 3 ? u16(e + 8) : u32(e + 8);
            };
            switch (tag) {
            case 256:
                width = int(value());
                break;
            case 257:
                height = int(value());
                break;
            case 259:
                header.tiffCompression = int(value());
                break;
            case 282:
                xres = rational(type, u32(e + 8));
                break;
            case 283:
                yres = rational(type, u32(e + 8));
                break;
            case 296:
                unit = int(value());
                break;
            default:
                break;
            }
        }
        if (wantSize && width > 0 && height > 0) {
            header.size = QSize(width, height);
        }
        if (unit == 2) {
            header.dpiX = roundDpi(xres);
            header.dpiY = roundDpi(yres);
        } else if (unit == 3) {
            header.dpiX = roundDpi(xres * 2.54);
            header.dpiY = roundDpi(yres * 2.54);
        }
    }

private:
    bool read(qint64 offset, uchar *out, qint64 n)
    {
        if (offset < 0 || offset + n > m_limit) {
            return false;
        }
        return readAt(m_device, m_base + offset, reinterpret_cast<char *>(out), n);
    }
    quint16 u16(const uchar *p) const { return m_little ? le16(p) : be16(p); }
    quint32 u32(const uchar *p) const { return m_little ? le32(p) : be32(p); }
    double rational(int type, quint32 offset)
    {
        if (type != 5) {
            return 0;
        }
        uchar r[8];
        if (!read(offset, r, 8)) {
            return 0;
        }
        const quint32 num = u32(r);
        const quint32 den = u32(r + 4);
        return den == 0 ? 0 : double(num) / double(den);
    }

    QIODevice &m_device;
    qint64 m_base;
    qint64 m_limit;
    bool m_little = true;
    quint32 m_ifd = 0;
};

// Searches backwards from the end of the device for the JPEG end marker, not before from.
bool hasJpegEnd(QIODevice &device, qint64 from)
{
    const qint64 size = device.size();
    constexpr qint64 kChunk = 64 * 1024;
    qint64 end = size;
    QByteArray buffer;
    while (end > from) {
        const qint64 start = qMax(from, end - kChunk);
        buffer.resize(end - start + 1);
        // One byte of overlap so a marker split across two chunks is still seen.
        const qint64 n = qMin(end + 1, size) - start;
        if (!readAt(device, start, buffer.data(), n)) {
            return false;
        }
        for (qint64 i = n - 2; i >= 0; --i) {
            if (uchar(buffer[i]) == 0xFF && uchar(buffer[i + 1]) == 0xD9) {
                return true;
            }
        }
        end = start;
    }
    return false;
}

void readJpeg(QIODevice &device, PictureHeader &h)
{
    qint64 pos = 2;
    bool jfifDpi = false;
    bool sawFrame = false;
    for (int guard = 0; guard < 10000; ++guard) {
        uchar m[2];
        if (!readAt(device, pos, reinterpret_cast<char *>(m), 2)) {
            h.complete = false;
            return;
        }
        if (m[0] != 0xFF) {
            h.complete = false; // garbage where a marker belongs
            return;
        }
        if (m[1] == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        const uchar marker = m[1];
        pos += 2;
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue;
        }
        if (marker == 0xD9) {
            h.complete = false; // end before any picture data
            return;
        }
        uchar lenBytes[2];
        if (!readAt(device, pos, reinterpret_cast<char *>(lenBytes), 2)) {
            h.complete = false;
            return;
        }
        const int length = be16(lenBytes);
        if (length < 2) {
            h.complete = false;
            return;
        }
        const bool isFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (isFrame) {
            uchar f[5];
            if (!readAt(device, pos + 2, reinterpret_cast<char *>(f), 5)) {
                h.complete = false;
                return;
            }
            h.size = QSize(be16(f + 3), be16(f + 1));
            sawFrame = true;
        } else if (marker == 0xE0 && length >= 16) {
            uchar j[14];
            if (readAt(device, pos + 2, reinterpret_cast<char *>(j), 14)
                && QByteArray(reinterpret_cast<char *>(j), 5) == QByteArray("JFIF", 5)) {
                const int units = j[7];
                const int xd = be16(j + 8);
                const int yd = be16(j + 10);
                if (units == 1 || units == 2) {
                    const double f = units == 1 ? 1.0 : 2.54;
                    h.dpiX = roundDpi(xd * f);
                    h.dpiY = roundDpi(yd * f);
                    jfifDpi = h.dpiX > 0 && h.dpiY > 0;
                }
            }
        } else if (marker == 0xE1 && length >= 16 && !jfifDpi) {
            char id[6];
            if (readAt(device, pos + 2, id, 6) && QByteArray(id, 6) == QByteArray("Exif\0\0", 6)) {
                TiffReader exif(device, pos + 8, length - 8);
                if (exif.open()) {
                    PictureHeader exifHeader;
                    exif.readFirstDirectory(exifHeader, false);
                    if (exifHeader.dpiX > 0 && exifHeader.dpiY > 0) {
                        h.dpiX = exifHeader.dpiX;
                        h.dpiY = exifHeader.dpiY;
                    }
                }
            }
        } else if (marker == 0xDA) {
            // Entropy-coded data follows; a whole file ends with the end marker after it.
            if (!sawFrame) {
                h.complete = false;
                return;
            }
            h.complete = hasJpegEnd(device, pos + length);
            return;
        }
        pos += length;
    }
    h.complete = false;
}

void readPng(QIODevice &device, PictureHeader &h)
{
    qint64 pos = 8;
    bool sawEnd = false;
    for (int guard = 0; guard < 1000000; ++guard) {
        uchar c[8];
        if (!readAt(device, pos, reinterpret_cast<char *>(c), 8)) {
            break;
        }
        const quint32 length = be32(c);
        const QByteArray type(reinterpret_cast<char *>(c + 4), 4);
        if (type == "IHDR" && length >= 8) {
            uchar d[8];
            if (readAt(device, pos + 8, reinterpret_cast<char *>(d), 8)) {
                const quint32 w = be32(d);
                const quint32 hh = be32(d + 4);
                // Sizes beyond int range are kept as "huge" so the size cap refuses them.
                h.size = QSize(int(qMin<quint32>(w, 1u << 30)), int(qMin<quint32>(hh, 1u << 30)));
            }
        } else if (type == "pHYs" && length >= 9) {
            uchar d[9];
            if (readAt(device, pos + 8, reinterpret_cast<char *>(d), 9) && d[8] == 1) {
                h.dpiX = roundDpi(be32(d) * 0.0254);
                h.dpiY = roundDpi(be32(d + 4) * 0.0254);
            }
        } else if (type == "IEND") {
            sawEnd = true;
            break;
        }
        pos += 12 + qint64(length);
    }
    h.complete = sawEnd && h.size.isValid();
}

QList<QRgb> readGifTable(QIODevice &device, qint64 pos, int entries)
{
    QByteArray t(entries * 3, '\0');
    if (!readAt(device, pos, t.data(), t.size())) {
        return {};
    }
    QList<QRgb> table;
    for (int i = 0; i < entries; ++i) {
        table.append(qRgb(uchar(t[3 * i]), uchar(t[3 * i + 1]), uchar(t[3 * i + 2])));
    }
    return table;
}

void readGif(QIODevice &device, PictureHeader &h)
{
    uchar d[7];
    if (!readAt(device, 6, reinterpret_cast<char *>(d), 7)) {
        h.complete = false;
        return;
    }
    h.size = QSize(le16(d), le16(d + 2));
    qint64 pos = 13;
    if (d[4] & 0x80) {
        const int entries = 2 << (d[4] & 7);
        h.gifPalette = readGifTable(device, pos, entries);
        pos += 3 * entries;
    }
    // The first frame may bring its own table; extensions before it are skipped.
    for (int guard = 0; guard < 10000; ++guard) {
        char block = 0;
        if (!readAt(device, pos, &block, 1)) {
            break;
        }
        if (uchar(block) == 0x21) {
            pos += 2;
            uchar len = 0;
            while (readAt(device, pos, reinterpret_cast<char *>(&len), 1) && len != 0) {
                pos += 1 + len;
            }
            pos += 1;
        } else if (uchar(block) == 0x2C) {
            uchar desc[9];
            if (readAt(device, pos + 1, reinterpret_cast<char *>(desc), 9) && (desc[8] & 0x80)) {
                h.gifPalette = readGifTable(device, pos + 10, 2 << (desc[8] & 7));
            }
            break;
        } else {
            break;
        }
    }
    // A whole GIF ends with its trailer byte; zero bytes after it are padding.
    const qint64 size = device.size();
    const qint64 tail = qMin<qint64>(size, 64);
    QByteArray end(tail, '\0');
    if (!readAt(device, size - tail, end.data(), tail)) {
        h.complete = false;
        return;
    }
    qsizetype last = end.size() - 1;
    while (last >= 0 && end[last] == '\0') {
        --last;
    }
    h.complete = last >= 0 && end[last] == char(0x3B);
}

void readBmp(QIODevice &device, PictureHeader &h)
{
    uchar d[50];
    if (!readAt(device, 0, reinterpret_cast<char *>(d), 26)) {
        h.complete = false;
        return;
    }
    const quint32 dataOffset = le32(d + 10);
    const quint32 dibSize = le32(d + 14);
    int bits = 0;
    int compression = 0;
    if (dibSize == 12) {
        h.size = QSize(le16(d + 18), le16(d + 20));
        bits = le16(d + 24);
    } else if (dibSize >= 40 && readAt(device, 0, reinterpret_cast<char *>(d), 50)) {
        const qint32 w = qint32(le32(d + 18));
        const qint32 hh = qint32(le32(d + 22));
        h.size = QSize(qAbs(w), hh == INT32_MIN ? INT32_MAX : qAbs(hh));
        bits = le16(d + 28);
        compression = int(le32(d + 30));
        h.dpiX = roundDpi(le32(d + 38) * 0.0254);
        h.dpiY = roundDpi(le32(d + 42) * 0.0254);
    } else {
        h.complete = false;
        return;
    }
    if (compression == 0 && bits > 0 && h.size.isValid()) {
        const qint64 stride = ((qint64(h.size.width()) * bits + 31) / 32) * 4;
        h.complete = device.size() >= qint64(dataOffset) + stride * h.size.height();
    }
}

void readPcx(const uchar *d, PictureHeader &h)
{
    const int xmin = le16(d + 4);
    const int ymin = le16(d + 6);
    const int xmax = le16(d + 8);
    const int ymax = le16(d + 10);
    if (xmax >= xmin && ymax >= ymin) {
        h.size = QSize(xmax - xmin + 1, ymax - ymin + 1);
    }
    h.dpiX = le16(d + 12);
    h.dpiY = le16(d + 14);
    if (h.dpiX == 0 || h.dpiY == 0) {
        h.dpiX = h.dpiY = 0;
    }
}

bool looksLikePcx(const uchar *d, qint64 n)
{
    return n >= 128 && d[0] == 0x0A && (d[1] <= 5 && d[1] != 1) && d[2] == 1
        && (d[3] == 1 || d[3] == 2 || d[3] == 4 || d[3] == 8);
}

bool looksLikeTga(const uchar *d, qint64 n)
{
    if (n < 18) {
        return false;
    }
    const int mapType = d[1];
    const int type = d[2];
    const int bits = d[16];
    if (mapType > 1) {
        return false;
    }
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11) {
        return false;
    }
    if ((type == 1 || type == 9) != (mapType == 1)) {
        return false;
    }
    if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32) {
        return false;
    }
    return le16(d + 12) > 0 && le16(d + 14) > 0;
}

} // namespace

PictureHeader readPictureHeader(QIODevice &device)
{
    PictureHeader h;
    uchar d[128] = {};
    device.seek(0);
    const qint64 n = device.read(reinterpret_cast<char *>(d), sizeof d);
    if (n < 8) {
        device.seek(0);
        return h;
    }
    if (d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) {
        h.format = PictureFormat::Jpeg;
        readJpeg(device, h);
    } else if (QByteArray(reinterpret_cast<char *>(d), 8) == QByteArray("\x89PNG\r\n\x1a\n", 8)) {
        h.format = PictureFormat::Png;
        readPng(device, h);
    } else if (d[0] == 'G' && d[1] == 'I' && d[2] == 'F' && d[3] == '8') {
        h.format = PictureFormat::Gif;
        readGif(device, h);
    } else if (d[0] == 'B' && d[1] == 'M') {
        h.format = PictureFormat::Bmp;
        readBmp(device, h);
    } else if ((d[0] == 'I' && d[1] == 'I' && d[2] == 42 && d[3] == 0)
               || (d[0] == 'M' && d[1] == 'M' && d[2] == 0 && d[3] == 42)) {
        h.format = PictureFormat::Tiff;
        TiffReader tiff(device, 0, device.size());
        if (tiff.open()) {
            tiff.readFirstDirectory(h, true);
        }
    } else if (looksLikePcx(d, n)) {
        h.format = PictureFormat::Pcx;
        readPcx(d, h);
    } else if (looksLikeTga(d, n)) {
        // TGA has no signature: a header with sensible values is the best sign there is.
        h.format = PictureFormat::Tga;
        h.tgaType = d[2];
        h.size = QSize(le16(d + 12), le16(d + 14));
        char footer[18];
        h.tgaFooter = readAt(device, device.size() - 18, footer, 18)
            && QByteArray(footer, 18) == QByteArray("TRUEVISION-XFILE.\0", 18);
    }
    device.seek(0);
    return h;
}

QByteArray qtFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Jpeg:
        return "jpeg";
    case PictureFormat::Png:
        return "png";
    case PictureFormat::Gif:
        return "gif";
    case PictureFormat::Bmp:
        return "bmp";
    case PictureFormat::Tiff:
        return "tiff";
    case PictureFormat::Tga:
        return "tga";
    default:
        return {};
    }
}

} // namespace Engine
