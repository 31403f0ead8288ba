#include "picturecodec.h"

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <mutex>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryFile>

#include "safefile.h"
#include "vipsadapter.h"

namespace PictureCodec {

using Engine::PictureHeader;
using Engine::qtFormatName;
using Engine::readPictureHeader;

namespace {

void startCodecs()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Qt refuses to allocate a decoded picture beyond this; the header check comes first,
        // this catches formats whose header we could not read. 256 MP at 4 bytes a pixel.
        QImageReader::setAllocationLimit(1024);
    });
}

bool tooLarge(QSize size, qint64 maxPixels)
{
    return size.isValid() && qint64(size.width()) * qint64(size.height()) > maxPixels;
}

// Keeps every held picture in an 8-bit-per-channel format the rest of the engine handles.
QImage normalised(QImage image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return image;
    case QImage::Format_MonoLSB:
        return image.convertToFormat(QImage::Format_Mono);
    case QImage::Format_Grayscale16:
        return image.convertToFormat(QImage::Format_Grayscale8);
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
    }
}

int ceilDiv8(qint64 v, int m)
{
    return int((v * m + 7) / 8);
}

// The scaled size to ask Qt's JPEG reader for: libjpeg decodes at M/8 (M = 1..8) in one pass.
// Picks the smallest M whose result still covers the hint, and a size for which the reader
// chooses that same M, so no second scaling pass runs.
QSize jpegScaledSize(QSize full, QSize hint)
{
    const qint64 w = full.width();
    const qint64 h = full.height();
    for (int m = 1; m < 8; ++m) {
        const QSize exact(ceilDiv8(w, m), ceilDiv8(h, m));
        if (exact.width() < hint.width() || exact.height() < hint.height()) {
            continue;
        }
        const double f = qMin(double(w) / exact.width(), double(h) / exact.height());
        if (qBound(1, int(std::ceil(8 / f - 1e-9)), 8) == m) {
            return exact;
        }
        // Round down instead: the reader still picks m and trims a fraction of a pixel.
        const QSize lower(qMax<qint64>(1, w * m / 8), qMax<qint64>(1, h * m / 8));
        if (lower.width() >= hint.width() && lower.height() >= hint.height()) {
            return lower;
        }
    }
    return {};
}

Result<Decoded>
decodeWithQt(QIODevice &device, const PictureHeader &header, QSize hint, qint64 maxPixels)
{
    QImageReader reader(&device, qtFormatName(header.format));
    reader.setAutoTransform(false);
    QSize full = header.size;
    if (!full.isValid()) {
        full = reader.size(); // a format whose header we do not read ourselves
    }
    if (tooLarge(full, maxPixels)) {
        return Failures::undecodablePicture();
    }
    bool scaled = false;
    if (header.format == PictureFormat::Jpeg && hint.isValid() && !hint.isEmpty()
        && full.isValid()) {
        const QSize target = jpegScaledSize(full, hint);
        if (target.isValid()) {
            reader.setScaledSize(target);
            scaled = true;
        }
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return Failures::undecodablePicture();
    }
    if (header.format == PictureFormat::Gif && !header.gifPalette.isEmpty()
        && !image.hasAlphaChannel()) {
        // Qt decodes GIFs to true colour; the file's own palette gives the colours back exactly.
        image = image.convertToFormat(QImage::Format_Indexed8,
                                      header.gifPalette,
                                      Qt::ThresholdDither | Qt::AvoidDither);
    }
    Decoded out;
    out.image = normalised(std::move(image));
    out.size = scaled ? full : out.image.size();
    out.dpiX = header.dpiX;
    out.dpiY = header.dpiY;
    out.format = header.format;
    return out;
}

Result<Decoded> decodeWithMagick(const QString &path, const PictureHeader &header, qint64 maxPixels)
{
    const char *coder = header.format == PictureFormat::Pcx ? "PCX" : "TGA";
    Result<QImage> image = VipsAdapter::loadWithMagick(path, coder, maxPixels);
    if (!image) {
        return image.failure();
    }
    Decoded out;
    out.image = normalised(image.value());
    out.size = out.image.size();
    out.dpiX = header.dpiX;
    out.dpiY = header.dpiY;
    out.format = header.format;
    return out;
}

// path: the file behind device, or empty for a picture in memory (the ImageMagick loader then
// reads a private temporary copy).
Result<Decoded> decodeDevice(QIODevice &device, const QString &path, QSize hint, qint64 maxPixels)
{
    startCodecs();
    const PictureHeader header = readPictureHeader(device);
    if (tooLarge(header.size, maxPixels) || !header.complete
        || (header.format != PictureFormat::Unknown && !header.size.isValid())) {
        return Failures::undecodablePicture();
    }
    // Qt reads uncompressed true-colour TGA 2.0 files; the other kinds go to ImageMagick.
    const bool plainTga =
        header.format == PictureFormat::Tga && header.tgaType == 2 && header.tgaFooter;
    if (header.format != PictureFormat::Pcx && (header.format != PictureFormat::Tga || plainTga)) {
        Result<Decoded> decoded = decodeWithQt(device, header, hint, maxPixels);
        if (decoded || !plainTga) {
            return decoded;
        }
        device.seek(0);
    }
    if (!path.isEmpty()) {
        return decodeWithMagick(path, header, maxPixels);
    }
    QTemporaryFile copy(
        QDir::tempPath() + QStringLiteral("/glimmerbook-XXXXXX.")
        + (header.format == PictureFormat::Pcx ? QStringLiteral("pcx") : QStringLiteral("tga")));
    if (!copy.open() || copy.write(device.readAll()) < 0 || !copy.flush()) {
        return Failures::undecodablePicture();
    }
    return decodeWithMagick(copy.fileName(), header, maxPixels);
}

Result<QByteArray>
encodeWithQt(const QImage &image, const char *format, int quality, int tiffCompression)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    if (tiffCompression >= 0) {
        writer.setCompression(tiffCompression);
    }
    if (!writer.write(image)) {
        return Failure{FailureNumber::ImagingError, writer.errorString()};
    }
    return bytes;
}

int bitDepthFor(qint64 colours)
{
    return colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
}

Failure failureFromErrno(int error)
{
    return Failures::fromErrno(error);
}

// Creates a new file beside target for the bytes, with the usual permissions for new files.
int createTemporary(const QString &folder, QString *name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = QDir(folder).filePath(QStringLiteral(".glimmerbook-%1.part")
                                          .arg(QRandomGenerator::global()->generate64(), 0, 36));
        const int fd = ::open(QFile::encodeName(*name).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

Result<void> writeNew(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    QString temporary;
    const int fd = createTemporary(folder, &temporary);
    if (fd < 0) {
        return failureFromErrno(errno);
    }
    const QByteArray tempName = QFile::encodeName(temporary);
    const auto discard = [&](int error) -> Result<void> {
        ::unlink(tempName.constData());
        return failureFromErrno(error);
    };
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return discard(error);
        }
        done += n;
    }
    if (::fsync(fd) != 0 && errno != EINVAL) {
        const int error = errno;
        ::close(fd);
        return discard(error);
    }
    if (::close(fd) != 0) {
        return discard(errno);
    }
    const QByteArray target = QFile::encodeName(path);
    // A hard link never replaces an existing file: the name appears whole or not at all.
    if (::link(tempName.constData(), target.constData()) == 0) {
        ::unlink(tempName.constData());
        return {};
    }
    const int linkError = errno;
    if (linkError == EEXIST) {
        return discard(EEXIST);
    }
    // File systems without hard links (memory cards): rename without replacing, where the
    // kernel offers it, else check and rename.
    if (::renameat2(AT_FDCWD, tempName.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE)
        == 0) {
        return {};
    }
    if (errno == EEXIST) {
        return discard(EEXIST);
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return discard(errno);
    }
    struct stat st;
    if (::lstat(target.constData(), &st) == 0) {
        return discard(EEXIST);
    }
    if (::rename(tempName.constData(), target.constData()) != 0) {
        return discard(errno);
    }
    return {};
}

Result<void> replaceExisting(const QString &path, const QByteArray &bytes)
{
    return replaceFileWhole(path, bytes);
}

} // namespace

Result<Decoded> decodeFile(const QString &path, QSize decodeHint, qint64 maxPixels)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        return Failures::fileNotFound();
    }
    if (info.isDir()) {
        return Failures::pathFileAccessError();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Failures::fromFileError(file.error(), path);
    }
    if (file.size() == 0 || file.isSequential()) {
        return Failures::undecodablePicture();
    }
    return decodeDevice(file, path, decodeHint, maxPixels);
}

Result<Decoded> decodeBytes(const QByteArray &bytes, qint64 maxPixels)
{
    if (bytes.isEmpty()) {
        return Failures::undecodablePicture();
    }
    QByteArray copy = bytes; // shares the data; QBuffer needs a non-const array
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return decodeDevice(buffer, QString(), QSize(), maxPixels);
}

PictureFormat formatFromExtension(const QString &extension)
{
    const QString e = extension.toLower();
    if (e == QLatin1String("jpg") || e == QLatin1String("jpeg")) {
        return PictureFormat::Jpeg;
    }
    if (e == QLatin1String("png")) {
        return PictureFormat::Png;
    }
    if (e == QLatin1String("bmp")) {
        return PictureFormat::Bmp;
    }
    if (e == QLatin1String("gif")) {
        return PictureFormat::Gif;
    }
    if (e == QLatin1String("tif") || e == QLatin1String("tiff")) {
        return PictureFormat::Tiff;
    }
    if (e == QLatin1String("pcx")) {
        return PictureFormat::Pcx;
    }
    if (e == QLatin1String("tga")) {
        return PictureFormat::Tga;
    }
    return PictureFormat::Unknown;
}

qint64 colourClass(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Invalid:
        return 0;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 2;
    case QImage::Format_Indexed8: {
        const int n = image.colorCount();
        return n <= 2 ? 2 : n <= 16 ? 16 : 256;
    }
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return 256;
    default:
        return 16777216;
    }
}

Result<QByteArray>
encode(const QImage &image, PictureFormat format, int quality, int compression, int dpiX, int dpiY)
{
    if (image.isNull()) {
        return Failures::invalidProcedureCall();
    }
    switch (format) {
    case PictureFormat::Jpeg:
        return encodeWithQt(image, "jpeg", qBound(1, quality, 100), -1);
    case PictureFormat::Png:
        return encodeWithQt(image, "png", -1, -1);
    case PictureFormat::Bmp:
        return encodeWithQt(image, "bmp", -1, -1);
    case PictureFormat::Tiff:
        if (compression == 4) {
            if (colourClass(image) != 2) {
                return Failures::unsupportedExportFormat();
            }
            return VipsAdapter::encodeTiffG4(image, dpiX, dpiY);
        }
        return encodeWithQt(image, "tiff", -1, compression == 0 ? 0 : 1);
    case PictureFormat::Gif:
        return VipsAdapter::encodeGif(image, bitDepthFor(colourClass(image)));
    case PictureFormat::Pcx:
        return VipsAdapter::encodeMagick(image, "PCX");
    case PictureFormat::Tga:
        return VipsAdapter::encodeMagick(image, "TGA");
    case PictureFormat::Unknown:
        break;
    }
    return Failures::unsupportedExportFormat();
}

Result<void> writeWhole(const QString &path, const QByteArray &bytes, bool overwrite)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.fileName().isEmpty()) {
        return Failures::invalidProcedureCall();
    }
    if (!info.absoluteDir().exists()) {
        return Failures::pathNotFound();
    }
    if (info.exists() || info.isSymLink()) {
        if (!overwrite) {
            return Failures::fileAlreadyExists();
        }
        if (info.isDir()) {
            return Failures::pathFileAccessError();
        }
        // A read-only photo is one the user protected: it is not replaced behind their back.
        if (!info.isWritable()) {
            return Failures::permissionDenied();
        }
        return replaceExisting(path, bytes);
    }
    return writeNew(path, bytes);
}

} // namespace PictureCodec
