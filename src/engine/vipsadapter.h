#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "failure.h"

/// The engine's door to the imaging library: everything Qt's codecs do not offer. Every call
/// catches the library's exceptions and hands back a Result; the library's headers stay in the
/// adapter's .cpp. Safe to call from several threads at once (the library is initialised once).
namespace VipsAdapter {

/// Initialises the imaging library once per process; later calls are free. False when the
/// library could not start (every other call then fails with ImagingError).
bool ensureStarted();

/// Decodes a picture file through the library's ImageMagick loader with the named coder
/// ("PCX", "TGA"), so the file's name does not decide the format. Refuses pictures over
/// maxPixels before any pixel is decoded. Failure 32500 when the file cannot be decoded.
Result<QImage> loadWithMagick(const QString &path, const char *coder, qint64 maxPixels);

/// Encodes a 2-colour picture as TIFF with CCITT group 4 compression (tag value 4). The lighter
/// of the picture's two colours becomes white. dpi 0 records no resolution.
Result<QByteArray> encodeTiffG4(const QImage &image, int dpiX, int dpiY);
/// Encodes as GIF with at most 2^bitDepth colours (1..8).
Result<QByteArray> encodeGif(const QImage &image, int bitDepth);
/// Encodes through the ImageMagick saver with the named coder ("PCX", "TGA").
Result<QByteArray> encodeMagick(const QImage &image, const char *coder);

/// 0 sharpen, 1 blur, 2 emboss, 3 edge detect, 4 edge detect more. The result is true colour.
Result<QImage> filter(const QImage &image, int filter);
/// out = in * gain + offset on the colour channels (alpha untouched), clipped to 0..255.
Result<QImage> linear(const QImage &image, double gain, double offset);

} // namespace VipsAdapter
