#pragma once

#include <QImage>
#include <QSize>
#include <QString>

/// Pictures made at run time for the tests: every supported format, plus broken ones.
namespace PictureMaker {

/// A photo-like true-colour picture (gradients and shapes, so encoders have work to do).
QImage photo(const QSize &size, int seed = 0);
/// A 1-bit black-and-white picture.
QImage monochrome(const QSize &size);
/// An 8-bit palette picture with the given number of colours (2..256).
QImage palette(const QSize &size, int colours);

/// Writes image to path in the format of the path's extension: jpg, png, bmp, gif, tif, pcx, tga.
/// TGA is written run-length encoded when rle is true. dpi 0 records no resolution.
/// Returns false when the file could not be written.
bool write(const QImage &image, const QString &path, int dpiX = 0, int dpiY = 0, bool rle = false);
/// Shortcut: a photo of size written to path.
bool writePhoto(const QString &path, const QSize &size, int seed = 0);

/// A JPEG cut off after its first third.
bool writeTruncatedJpeg(const QString &path, const QSize &size);
/// A file with a picture extension that holds text, not a picture.
bool writeCorrupt(const QString &path);
/// A zero-byte file.
bool writeEmpty(const QString &path);
/// A JPEG header claiming width x height pixels, with no picture data after it.
bool writeHugeJpegHeader(const QString &path, int width, int height);

} // namespace PictureMaker
