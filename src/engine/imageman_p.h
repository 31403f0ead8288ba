#pragma once

// The state behind an ImageMan, shared by the engine's source files (not part of the contract).

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include "failure.h"
#include "imageman.h"
#include "picturecodec.h"
#include "pictureheader.h"

struct ImageMan::Private
{
    QImage image; // the pixels held; smaller than size after a reduced decode
    QSize size; // the picture's own size
    QString path;
    int dpiX = 0;
    int dpiY = 0;
    Engine::PictureFormat format = Engine::PictureFormat::Unknown;

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

    void take(PictureCodec::Decoded &&decoded, const QString &fromPath)
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
        format = Engine::PictureFormat::Unknown;
        resetView();
    }
};

/// What every operation answers when there is no picture, or an argument is out of range.
inline Failure invalidCall()
{
    return Failures::invalidProcedureCall();
}
