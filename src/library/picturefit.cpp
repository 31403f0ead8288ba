#include "picturefit.h"

#include <QRectF>

#include "imageman.h"

Result<void> LoadFaxImage(ImageMan &engine, const ErrorLog &log)
{
    const int width = engine.imageWidth();
    const int height = engine.imageHeight();
    if (engine.isEmpty() || width <= 0 || height <= 0) {
        const Failure failure = Failures::invalidProcedureCall();
        log.error(u"modMain - LoadFaxImage", failure);
        return failure;
    }
    engine.setDrawMode(3);
    engine.tag = QString::number(height) + QStringLiteral(" x ") + QString::number(width);
    const double ratio = engine.viewSize().width() / width;
    const int dpiX = engine.horizontalDpi();
    const int dpiY = engine.verticalDpi();
    const double aspect = (dpiX != 0 && dpiY != 0) ? double(dpiX) / dpiY : 1.0;
    engine.setSourceRect(QRectF(0, 0, width, height));
    engine.setDestinationRect(QRectF(0, 0, width * ratio, height * ratio * aspect));
    engine.refresh();
    return {};
}

Result<void> CenterGraphic(ImageMan &engine, bool keepScale, const ErrorLog &log)
{
    const double imageWidth = engine.imageWidth();
    const double imageHeight = engine.imageHeight();
    double scaleWidth = engine.scaleWidth();
    double scaleHeight = engine.scaleHeight();
    if (scaleWidth <= 0 || scaleHeight <= 0) {
        scaleWidth = engine.viewSize().width();
        scaleHeight = engine.viewSize().height();
    }
    if (engine.isEmpty() || imageWidth <= 0 || imageHeight <= 0 || scaleWidth <= 0
        || scaleHeight <= 0) {
        const Failure failure = Failures::invalidProcedureCall();
        log.error(u"modMain - CenterGraphic", failure);
        return failure;
    }
    if (keepScale) {
        engine.setScaleTop((imageHeight - scaleHeight) / 2);
        engine.setScaleLeft((imageWidth - scaleWidth) / 2);
        engine.refresh();
        return {};
    }
    engine.setAutoScale(0);
    const double rx = imageWidth / scaleWidth;
    const double ry = imageHeight / scaleHeight;
    if (rx > ry) {
        scaleHeight = scaleHeight * rx;
        engine.setScaleWidth(imageWidth);
        engine.setScaleHeight(scaleHeight);
        engine.setScaleLeft(0);
        engine.setScaleTop((imageHeight - scaleHeight) / 2);
    } else {
        scaleWidth = scaleWidth * ry;
        engine.setScaleHeight(imageHeight);
        engine.setScaleWidth(scaleWidth);
        engine.setScaleTop(0);
        engine.setScaleLeft((imageWidth - scaleWidth) / 2);
    }
    engine.refresh();
    return {};
}
