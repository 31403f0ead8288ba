#include "imageman.h"

#include <cmath>

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QTransform>

#include "picturecodec.h"
#include "pictureheader.h"
#include "vipsadapter.h"

struct ImageMan::Private
{
    QImage image; // the pixels held; smaller than size after a reduced decode
    QSize size; // the picture's own size
    QString path;
    int dpiX = 0;
    int dpiY = 0;
    PictureFormat format = PictureFormat::Unknown;

    QSizeF viewSize{100, 100};
    int autoScale = 0;
    double scaleLeft = 0;
    double scaleTop = 0;
    double scaleWidth = 100;
    double scaleHeight = 100;
    int drawMode = 0;
    QRectF sourceRect;
    QRectF destinationRect;
    int revision = 0;

    QString exportFormat = QStringLiteral("JPG");
    int quality = 75;
    int compression = 0;
    QString saveOptions;

    void resetScale()
    {
        scaleLeft = 0;
        scaleTop = 0;
        scaleWidth = viewSize.width();
        scaleHeight = viewSize.height();
    }

    // A new picture is shown whole, 1:1 from its top-left corner, until the caller fits it.
    void resetView()
    {
        resetScale();
        sourceRect = QRectF(QPointF(0, 0), QSizeF(size));
        destinationRect = sourceRect;
        ++revision;
    }

    void take(DecodedPicture &&decoded, const QString &fromPath)
    {
        image = std::move(decoded.image);
        size = decoded.size;
        dpiX = decoded.dpiX;
        dpiY = decoded.dpiY;
        format = decoded.format;
        path = fromPath;
        resetView();
    }

    void empty()
    {
        image = QImage();
        size = QSize();
        path.clear();
        dpiX = dpiY = 0;
        format = PictureFormat::Unknown;
        resetView();
    }
};

namespace {

// Picture-changing operations keep the colour class where they can: a 2-colour picture stays
// 2-colour and a palette picture keeps its palette (the catalogue chooses its format by it).
QImage restoreColours(const QImage &changed, const QImage &original)
{
    if (changed.format() == original.format()) {
        return changed;
    }
    switch (original.format()) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8: {
        const QImage rgb = changed.convertToFormat(QImage::Format_RGB32);
        return rgb.convertToFormat(original.format(), original.colorTable(), Qt::DiffuseDither);
    }
    case QImage::Format_Grayscale8:
        return changed.convertToFormat(QImage::Format_Grayscale8);
    default:
        return changed;
    }
}

Failure emptyFailure()
{
    return Failures::invalidProcedureCall();
}

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
    Result<DecodedPicture> decoded = PictureCodec::decodeFile(path, decodeHint, kMaxPixels);
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
    Result<DecodedPicture> decoded = PictureCodec::decodeBytes(bytes, kMaxPixels);
    if (!decoded) {
        d->empty();
        return decoded.failure();
    }
    d->take(std::move(decoded.value()), QString());
    return {};
}

void ImageMan::setImage(const QImage &image)
{
    DecodedPicture p;
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
    case PictureFormat::Jpeg:
        return QStringLiteral("JPG");
    case PictureFormat::Png:
        return QStringLiteral("PNG");
    case PictureFormat::Gif:
        return QStringLiteral("GIF");
    case PictureFormat::Bmp:
        return QStringLiteral("BMP");
    case PictureFormat::Tiff:
        return QStringLiteral("TIF");
    case PictureFormat::Pcx:
        return QStringLiteral("PCX");
    case PictureFormat::Tga:
        return QStringLiteral("TGA");
    case PictureFormat::Unknown:
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

// --- view -----------------------------------------------------------------------------------

QSizeF ImageMan::viewSize() const
{
    return d->viewSize;
}

void ImageMan::setViewSize(const QSizeF &pixels)
{
    d->viewSize = QSizeF(qMax<qreal>(0, pixels.width()), qMax<qreal>(0, pixels.height()));
    // Like a resized control: the scale region becomes the new size, from the top-left corner.
    d->resetScale();
    ++d->revision;
}

int ImageMan::autoScale() const
{
    return d->autoScale;
}

void ImageMan::setAutoScale(int mode)
{
    d->autoScale = mode;
}

double ImageMan::scaleLeft() const
{
    return d->scaleLeft;
}

double ImageMan::scaleTop() const
{
    return d->scaleTop;
}

double ImageMan::scaleWidth() const
{
    return d->scaleWidth;
}

double ImageMan::scaleHeight() const
{
    return d->scaleHeight;
}

void ImageMan::setScaleLeft(double v)
{
    d->scaleLeft = v;
}

void ImageMan::setScaleTop(double v)
{
    d->scaleTop = v;
}

void ImageMan::setScaleWidth(double v)
{
    d->scaleWidth = v;
}

void ImageMan::setScaleHeight(double v)
{
    d->scaleHeight = v;
}

int ImageMan::drawMode() const
{
    return d->drawMode;
}

void ImageMan::setDrawMode(int mode)
{
    d->drawMode = mode;
}

QRectF ImageMan::sourceRect() const
{
    return d->sourceRect;
}

QRectF ImageMan::destinationRect() const
{
    return d->destinationRect;
}

void ImageMan::setSourceRect(const QRectF &r)
{
    d->sourceRect = r;
}

void ImageMan::setDestinationRect(const QRectF &r)
{
    d->destinationRect = r;
}

void ImageMan::refresh()
{
    ++d->revision;
}

int ImageMan::revision() const
{
    return d->revision;
}

QRectF ImageMan::pictureRectInView() const
{
    const QSizeF view = d->viewSize;
    if (d->image.isNull() || view.isEmpty()) {
        return {};
    }
    const double w = d->size.width();
    const double h = d->size.height();
    if (d->autoScale == 1) {
        const double s = qMin(view.width() / w, view.height() / h);
        return QRectF((view.width() - w * s) / 2, (view.height() - h * s) / 2, w * s, h * s);
    }
    if (d->autoScale == 2) {
        return QRectF(QPointF(0, 0), view);
    }
    // The picture as laid out in its own pixels: whole, or in draw mode 3 the source part with
    // the destination's proportions (a fax's true shape), as large as fits in the source area
    // and centred there. So a fit computed from imageWidth()/imageHeight() shows all of it.
    QRectF laid(0, 0, w, h);
    if (d->drawMode == 3) {
        const QRectF s = d->sourceRect;
        const QRectF t = d->destinationRect;
        if (s.isValid() && t.isValid()) {
            const double tall = t.height() / t.width();
            if (s.width() * tall <= s.height()) {
                const double lh = s.width() * tall;
                laid = QRectF(s.left(), s.top() + (s.height() - lh) / 2, s.width(), lh);
            } else {
                const double lw = s.height() / tall;
                laid = QRectF(s.left() + (s.width() - lw) / 2, s.top(), lw, s.height());
            }
        }
    }
    if (!(d->scaleWidth > 0) || !(d->scaleHeight > 0)) {
        return {};
    }
    const double sx = view.width() / d->scaleWidth;
    const double sy = view.height() / d->scaleHeight;
    return QRectF((laid.left() - d->scaleLeft) * sx,
                  (laid.top() - d->scaleTop) * sy,
                  laid.width() * sx,
                  laid.height() * sy);
}

QImage ImageMan::renderView(const QColor &background) const
{
    const QSize out = d->viewSize.toSize();
    if (out.isEmpty()) {
        return {};
    }
    QImage canvas(out, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(background);
    const QRectF target = pictureRectInView();
    if (target.isEmpty()) {
        return canvas;
    }
    // The part of the picture that is drawn, in held pixels (the held picture may be reduced).
    QRectF source(0, 0, d->size.width(), d->size.height());
    if (d->autoScale == 0 && d->drawMode == 3 && d->sourceRect.isValid()) {
        source = d->sourceRect.intersected(source);
    }
    const double hx = double(d->image.width()) / d->size.width();
    const double hy = double(d->image.height()) / d->size.height();
    const QRectF held(source.left() * hx,
                      source.top() * hy,
                      source.width() * hx,
                      source.height() * hy);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, d->image, held);
    painter.end();
    return canvas;
}

QImage ImageMan::image() const
{
    return d->image;
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
        return emptyFailure();
    }
    const QString name = d->exportFormat.trimmed().toUpper();
    PictureFormat format = PictureFormat::Unknown;
    if (name == QLatin1String("JPG") || name == QLatin1String("JPEG")) {
        format = PictureFormat::Jpeg;
    } else if (name == QLatin1String("PNG")) {
        format = PictureFormat::Png;
    } else if (name == QLatin1String("TIF") || name == QLatin1String("TIFF")) {
        format = PictureFormat::Tiff;
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
        return emptyFailure();
    }
    // A reduced decode holds fewer pixels than the photo: saving it would lose the photo.
    if (isReduced()) {
        return emptyFailure();
    }
    const SaveOptions options = parseSaveOptions(d->saveOptions);
    if (options.append) {
        return emptyFailure(); // adding pages to an existing file is not offered
    }
    QString target = path;
    if (QDir::isRelativePath(path) && !options.folder.isEmpty()) {
        target = QDir(options.folder).filePath(path);
    }
    PictureFormat format = PictureCodec::formatFromExtension(QFileInfo(target).suffix());
    if (format == PictureFormat::Unknown) {
        format = d->format; // "holiday.jpg.bak" is saved as what it was loaded as
    }
    if (format == PictureFormat::Unknown) {
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

// --- change ---------------------------------------------------------------------------------

Result<void> ImageMan::rotate(int hundredthsOfDegree, const QColor &fill)
{
    if (d->image.isNull()) {
        return emptyFailure();
    }
    int turn = hundredthsOfDegree % 36000;
    if (turn < 0) {
        turn += 36000;
    }
    if (turn == 0) {
        ++d->revision;
        return {};
    }
    const bool wasReduced = isReduced();
    const double degrees = turn / 100.0;
    QTransform t;
    t.rotate(degrees);
    QImage turned;
    if (turn % 9000 == 0) {
        // Quarter turns move pixels without resampling.
        turned = restoreColours(d->image.transformed(t), d->image);
        if (turn != 18000) {
            std::swap(d->dpiX, d->dpiY);
        }
    } else {
        const QImage rotated = d->image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                   .transformed(t, Qt::SmoothTransformation);
        turned = QImage(rotated.size(), QImage::Format_RGB32);
        turned.fill(fill);
        QPainter painter(&turned);
        painter.drawImage(0, 0, rotated);
    }
    if (turned.isNull()) {
        return Failure{FailureNumber::ImagingError,
                       QStringLiteral("Not enough memory to turn the picture")};
    }
    if (turn % 9000 == 0) {
        if (turn != 18000) {
            d->size.transpose();
        }
    } else {
        d->size = wasReduced ? t.mapRect(QRectF(QPointF(0, 0), QSizeF(d->size))).size().toSize()
                             : turned.size();
    }
    d->image = std::move(turned);
    d->resetView();
    return {};
}

Result<void> ImageMan::convertTo24Bit()
{
    if (d->image.isNull()) {
        return emptyFailure();
    }
    d->image = d->image.convertToFormat(QImage::Format_RGB32);
    ++d->revision;
    return {};
}

Result<void> ImageMan::applyFilter(int filter)
{
    if (d->image.isNull() || filter < 0 || filter > 4) {
        return emptyFailure();
    }
    Result<QImage> out = VipsAdapter::filter(d->image, filter);
    if (!out) {
        return out.failure();
    }
    d->image = out.value();
    ++d->revision;
    return {};
}

Result<void> ImageMan::adjustBrightness(int value)
{
    if (d->image.isNull() || value < -250 || value > 250) {
        return emptyFailure();
    }
    if (value == 0) {
        return {};
    }
    Result<QImage> out = VipsAdapter::linear(d->image, 1.0, value);
    if (!out) {
        return out.failure();
    }
    d->image = out.value();
    ++d->revision;
    return {};
}

Result<void> ImageMan::adjustContrast(int value)
{
    if (d->image.isNull() || value < 1 || value > 100) {
        return emptyFailure();
    }
    if (value == kNeutralContrast) {
        return {};
    }
    // Levels move away from (or towards) mid-grey by value / 50: 100 doubles every difference,
    // 25 halves it, 1 leaves an almost flat grey.
    const double gain = double(value) / kNeutralContrast;
    Result<QImage> out = VipsAdapter::linear(d->image, gain, 128.0 * (1.0 - gain));
    if (!out) {
        return out.failure();
    }
    d->image = out.value();
    ++d->revision;
    return {};
}

Result<void> ImageMan::fitInto(const QSize &box)
{
    if (d->image.isNull() || box.width() <= 0 || box.height() <= 0) {
        return emptyFailure();
    }
    const double w = d->size.width();
    const double h = d->size.height();
    const double s = qMin(1.0, qMin(box.width() / w, box.height() / h));
    const QSize target(qMax(1, int(std::lround(w * s))), qMax(1, int(std::lround(h * s))));
    if (d->image.size() != target) {
        QImage source = d->image;
        if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_Indexed8) {
            // Resample in grey or colour, then map back onto the picture's own colours.
            source = source.convertToFormat(source.isGrayscale() ? QImage::Format_Grayscale8
                                                                 : QImage::Format_RGB32);
        }
        QImage scaled = source.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (scaled.isNull()) {
            return Failure{FailureNumber::ImagingError,
                           QStringLiteral("Not enough memory to resize the picture")};
        }
        d->image = restoreColours(scaled, d->image);
    }
    d->size = target;
    d->resetView();
    return {};
}
