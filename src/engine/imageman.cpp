#include "imageman.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "imageman_p.h"
#include "picturecodec.h"

namespace {

struct SaveOptions
{
    bool append = false;
    bool overwrite = false;
    QString folder;
    int lossyQuality = -1;
};

SaveOptions parseSaveOptions(const QString &text)
{
    SaveOptions o;
    const QStringList lines =
        text.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            continue;
        }
        const QString key = line.left(eq).trimmed().toUpper();
        const QString value = line.mid(eq + 1).trimmed();
        const bool on = value.compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0;
        if (key == QLatin1String("APPEND")) {
            o.append = on;
        } else if (key == QLatin1String("OVERWRITE")) {
            o.overwrite = on;
        } else if (key == QLatin1String("PATH")) {
            o.folder = value;
        } else if (key == QLatin1String("LOSSY_QUALITY")) {
            bool ok = false;
            const int q = value.toInt(&ok);
            if (ok) {
                o.lossyQuality = q;
            }
        }
    }
    return o;
}

} // namespace

ImageMan::ImageMan()
    : d(std::make_unique<Private>())
{}

ImageMan::~ImageMan() = default;

ImageMan::ImageMan(const ImageMan &other)
    : tag(other.tag)
    , d(std::make_unique<Private>(*other.d))
{}

ImageMan &ImageMan::operator=(const ImageMan &other)
{
    if (this != &other) {
        tag = other.tag;
        *d = *other.d;
    }
    return *this;
}

ImageMan::ImageMan(ImageMan &&other) noexcept
    : tag(std::move(other.tag))
    , d(std::exchange(other.d, std::make_unique<Private>()))
{}

ImageMan &ImageMan::operator=(ImageMan &&other) noexcept
{
    if (this != &other) {
        tag = std::move(other.tag);
        std::swap(d, other.d);
        *other.d = Private();
    }
    return *this;
}

// --- load -----------------------------------------------------------------------------------

Result<void> ImageMan::setPicture(const QString &path, QSize decodeHint)
{
    if (path.isEmpty()) {
        clear();
        return {};
    }
    Result<PictureCodec::Decoded> decoded = PictureCodec::decodeFile(path, decodeHint, kMaxPixels);
    if (!decoded) {
        d->empty();
        return decoded.failure();
    }
    d->take(std::move(decoded.value()), path);
    return {};
}

QString ImageMan::picture() const
{
    return d->path;
}

Result<void> ImageMan::loadFromMemory(const QByteArray &bytes)
{
    Result<PictureCodec::Decoded> decoded = PictureCodec::decodeBytes(bytes, kMaxPixels);
    if (!decoded) {
        d->empty();
        return decoded.failure();
    }
    d->take(std::move(decoded.value()), QString());
    return {};
}

void ImageMan::setImage(const QImage &image)
{
    PictureCodec::Decoded p;
    if (!image.isNull()) {
        p.image = image;
        if (p.image.format() == QImage::Format_MonoLSB) {
            p.image = p.image.convertToFormat(QImage::Format_Mono);
        } else if (p.image.depth() > 32 || p.image.format() == QImage::Format_Alpha8) {
            p.image = p.image.convertToFormat(QImage::Format_ARGB32);
        }
        p.size = image.size();
    }
    d->take(std::move(p), QString());
}

void ImageMan::clear()
{
    d->empty();
}

bool ImageMan::isEmpty() const
{
    return d->image.isNull();
}

bool ImageMan::isReduced() const
{
    return !d->image.isNull() && d->image.size() != d->size;
}

QString ImageMan::formatName() const
{
    switch (d->format) {
    case Engine::PictureFormat::Jpeg:
        return QStringLiteral("JPG");
    case Engine::PictureFormat::Png:
        return QStringLiteral("PNG");
    case Engine::PictureFormat::Gif:
        return QStringLiteral("GIF");
    case Engine::PictureFormat::Bmp:
        return QStringLiteral("BMP");
    case Engine::PictureFormat::Tiff:
        return QStringLiteral("TIF");
    case Engine::PictureFormat::Pcx:
        return QStringLiteral("PCX");
    case Engine::PictureFormat::Tga:
        return QStringLiteral("TGA");
    case Engine::PictureFormat::Unknown:
        break;
    }
    return {};
}

// --- measure --------------------------------------------------------------------------------

int ImageMan::imageWidth() const
{
    return d->size.isValid() ? d->size.width() : 0;
}

int ImageMan::imageHeight() const
{
    return d->size.isValid() ? d->size.height() : 0;
}

qint64 ImageMan::colorCount() const
{
    return PictureCodec::colourClass(d->image);
}

int ImageMan::horizontalDpi() const
{
    return d->dpiX;
}

int ImageMan::verticalDpi() const
{
    return d->dpiY;
}

// --- encode ---------------------------------------------------------------------------------

QString ImageMan::exportFormat() const
{
    return d->exportFormat;
}

void ImageMan::setExportFormat(const QString &format)
{
    d->exportFormat = format;
}

int ImageMan::quality() const
{
    return d->quality;
}

void ImageMan::setQuality(int q)
{
    d->quality = qBound(1, q, 100);
}

int ImageMan::compression() const
{
    return d->compression;
}

void ImageMan::setCompression(int c)
{
    d->compression = c;
}

Result<QByteArray> ImageMan::exportToMemory() const
{
    if (d->image.isNull()) {
        return invalidCall();
    }
    const QString name = d->exportFormat.trimmed().toUpper();
    Engine::PictureFormat format = Engine::PictureFormat::Unknown;
    if (name == QLatin1String("JPG") || name == QLatin1String("JPEG")) {
        format = Engine::PictureFormat::Jpeg;
    } else if (name == QLatin1String("PNG")) {
        format = Engine::PictureFormat::Png;
    } else if (name == QLatin1String("TIF") || name == QLatin1String("TIFF")) {
        format = Engine::PictureFormat::Tiff;
    } else {
        return Failures::unsupportedExportFormat();
    }
    return PictureCodec::encode(d->image, format, d->quality, d->compression, d->dpiX, d->dpiY);
}

// --- save -----------------------------------------------------------------------------------

QString ImageMan::saveOptions() const
{
    return d->saveOptions;
}

void ImageMan::setSaveOptions(const QString &options)
{
    d->saveOptions = options;
}

Result<void> ImageMan::saveAs(const QString &path) const
{
    if (d->image.isNull() || path.isEmpty()) {
        return invalidCall();
    }
    // A reduced decode holds fewer pixels than the photo: saving it would lose the photo.
    if (isReduced()) {
        return invalidCall();
    }
    const SaveOptions options = parseSaveOptions(d->saveOptions);
    if (options.append) {
        return invalidCall(); // adding pages to an existing file is not offered
    }
    QString target = path;
    if (QDir::isRelativePath(path) && !options.folder.isEmpty()) {
        target = QDir(options.folder).filePath(path);
    }
    Engine::PictureFormat format = PictureCodec::formatFromExtension(QFileInfo(target).suffix());
    if (format == Engine::PictureFormat::Unknown) {
        format = d->format; // "holiday.jpg.bak" is saved as what it was loaded as
    }
    if (format == Engine::PictureFormat::Unknown) {
        return Failures::unsupportedExportFormat();
    }
    const int quality = options.lossyQuality > 0 ? options.lossyQuality : d->quality;
    Result<QByteArray> bytes =
        PictureCodec::encode(d->image, format, quality, d->compression, d->dpiX, d->dpiY);
    if (!bytes) {
        return bytes.failure();
    }
    return PictureCodec::writeWhole(target, bytes.value(), options.overwrite);
}
