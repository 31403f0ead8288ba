#include <QPainter>

#include "imageman.h"
#include "imageman_p.h"

// The view parameters: how the control shows its picture.

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
