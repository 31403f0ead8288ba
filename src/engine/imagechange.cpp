#include <cmath>

#include <QPainter>
#include <QTransform>

#include "imageman.h"
#include "imageman_p.h"
#include "vipsadapter.h"

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

} // namespace

// --- change ---------------------------------------------------------------------------------

Result<void> ImageMan::rotate(int hundredthsOfDegree, const QColor &fill)
{
    if (d->image.isNull()) {
        return invalidCall();
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
        return invalidCall();
    }
    d->image = d->image.convertToFormat(QImage::Format_RGB32);
    ++d->revision;
    return {};
}

Result<void> ImageMan::applyFilter(int filter)
{
    if (d->image.isNull() || filter < 0 || filter > 4) {
        return invalidCall();
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
        return invalidCall();
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
        return invalidCall();
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
        return invalidCall();
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
