#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "failure.h"
#include "pictureheader.h"

/// Decoding and encoding of whole pictures, and writing them to disk without half-written files.
/// Stateless apart from the one-time set-up of the codecs; safe on several threads at once.
namespace PictureCodec {

using Engine::PictureFormat;

/// A picture as decoded for the engine.
struct Decoded
{
    /// The pixels held; smaller than size when a reduced decode was asked for.
    QImage image;
    /// The picture's own size in pixels.
    QSize size;
    /// Recorded resolution, 0 when the file records none.
    int dpiX = 0;
    int dpiY = 0;
    PictureFormat format = PictureFormat::Unknown;
};

/// Decodes the file at path. 53 missing, 70 unreadable, 75 a folder, 32500 undecodable or larger
/// than maxPixels (checked from the header, before any pixel is decoded). With a decodeHint a
/// JPEG is decoded at 1/2, 1/4 or 1/8 scale, never smaller than the hint in either direction.
Result<Decoded> decodeFile(const QString &path, QSize decodeHint, qint64 maxPixels);
/// Decodes an encoded picture held in memory; bytes after the picture are ignored.
Result<Decoded> decodeBytes(const QByteArray &bytes, qint64 maxPixels);

/// The format a file name extension stands for ("jpg", "jpeg", "png", "bmp", "gif", "tif",
/// "tiff", "pcx", "tga"; case ignored), or Unknown.
PictureFormat formatFromExtension(const QString &extension);

/// 2, 16, 256 or 16777216 (0 for a null image): the colour class the picture's format holds.
qint64 colourClass(const QImage &image);

/// Encodes image. quality 1..100 for JPEG; compression for TIFF: 4 = CCITT G4 (2-colour pictures
/// only, else failure 32501), 0 = none, anything else LZW. Failure 32501 for Unknown.
Result<QByteArray>
encode(const QImage &image, PictureFormat format, int quality, int compression, int dpiX, int dpiY);

/// Writes bytes to path whole or not at all, through a temporary file in the same folder.
/// An existing file is replaced (keeping its permissions) only when overwrite is true; otherwise
/// failure 58, also when the file appears while writing. Failures: 76 folder missing,
/// 70 permission, 61 disk full, 75 other.
Result<void> writeWhole(const QString &path, const QByteArray &bytes, bool overwrite);

} // namespace PictureCodec
