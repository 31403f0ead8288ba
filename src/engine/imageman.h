#pragma once

#include <memory>

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include "failure.h"

/// The imaging engine every picture operation goes through: one instance holds one picture, the
/// view parameters that say which part of it is shown, and the settings used when it is encoded.
///
/// Formats: JPEG, TIFF (CCITT G4 included), BMP, PCX, TGA (plain and RLE), GIF, PNG.
/// A picture that cannot be decoded (corrupt, truncated, empty, not a picture, or larger than
/// kMaxPixels) is refused with failure 32500 and leaves the instance empty. No operation throws.
///
/// Threads: separate instances may be used on separate threads at the same time (the codecs and
/// the imaging library are set up once, safely); one instance is used by one thread at a time.
/// Copies are cheap (the pixels are shared until one side changes them).
class ImageMan
{
public:
    /// Pictures with more pixels than this are refused as undecodable (no huge allocation).
    static constexpr qint64 kMaxPixels = 256LL * 1000 * 1000;

    ImageMan();
    ~ImageMan();
    ImageMan(const ImageMan &other);
    ImageMan &operator=(const ImageMan &other);
    ImageMan(ImageMan &&) noexcept;
    ImageMan &operator=(ImageMan &&) noexcept;

    // --- load -------------------------------------------------------------------------------

    /// Decodes the file. picture() then reads back the path. Failures: 53 file not found,
    /// 70 permission denied, 75 a folder, 32500 undecodable (also truncated files and pictures
    /// over kMaxPixels, refused from the header before decoding). On failure the instance is
    /// left empty. The format comes from the file's content, never from its name. Pixels are
    /// kept as stored: an EXIF orientation is not applied. An empty path just clears.
    /// Safe to call on separate instances from several threads at once.
    ///
    /// With a decodeHint the engine may decode a JPEG at a reduced scale whose size is still at
    /// least the hint in both directions (the fast thumbnail path). imageWidth()/imageHeight()
    /// and the view parameters still speak in the picture's own pixels; only the pixel data held
    /// is smaller.
    Result<void> setPicture(const QString &path, QSize decodeHint = {});
    /// The path of the picture loaded from a file; "" when empty or loaded from memory.
    QString picture() const;
    /// Decodes an encoded picture held in memory (any supported format; trailing bytes after the
    /// picture, such as the catalogue's zero byte, are allowed). picture() reads "" afterwards.
    Result<void> loadFromMemory(const QByteArray &bytes);
    /// Takes a picture from memory (clipboard paste, the invalid-photo picture).
    void setImage(const QImage &image);
    /// Empties the instance.
    void clear();
    bool isEmpty() const;
    /// True when the pixels held are fewer than the picture's (a decodeHint load). saveAs()
    /// refuses such a picture with failure 5, so a photo is never replaced by its thumbnail.
    bool isReduced() const;
    /// The format the picture was decoded from: "JPG", "PNG", "GIF", "BMP", "TIF", "PCX", "TGA",
    /// or "" (set with setImage(), or not recognised).
    QString formatName() const;

    // --- measure ----------------------------------------------------------------------------

    int imageWidth() const;
    int imageHeight() const;
    /// 2 for a black-and-white picture, 16 or 256 for palette and grey pictures (a palette of
    /// up to 2 entries counts 2, up to 16 counts 16, more counts 256), 16777216 for true colour
    /// (alpha included); 0 when empty.
    qint64 colorCount() const;
    /// Recorded resolution in dots per inch; 0 when the file records none (read from JFIF or
    /// EXIF, PNG pHYs in metres, TIFF, BMP, PCX; GIF and TGA record none).
    int horizontalDpi() const;
    int verticalDpi() const;

    // --- view parameters (the control's view onto the picture) -------------------------------

    /// The control's size in pixels (the area the picture is drawn into); 100 x 100 at first.
    QSizeF viewSize() const;
    void setViewSize(const QSizeF &pixels);
    /// 0 = the scale region below is used; 1 and 2 = the engine fits the picture itself.
    int autoScale() const;
    void setAutoScale(int mode);
    /// The picture region shown, in picture pixels (may extend beyond the picture).
    double scaleLeft() const;
    double scaleTop() const;
    double scaleWidth() const;
    double scaleHeight() const;
    void setScaleLeft(double v);
    void setScaleTop(double v);
    void setScaleWidth(double v);
    void setScaleHeight(double v);
    /// Draw mode (3 = scaled drawing with source and destination rectangles).
    int drawMode() const;
    void setDrawMode(int mode);
    /// Source rectangle in picture pixels and destination rectangle in view pixels.
    QRectF sourceRect() const;
    QRectF destinationRect() const;
    void setSourceRect(const QRectF &r);
    void setDestinationRect(const QRectF &r);
    /// Where the picture lands in the view, in view pixels (may reach outside the view); empty
    /// when nothing is drawn. autoScale 0: the scale region is mapped onto the whole view; in
    /// draw mode 3 the source part of the picture is drawn with the proportions of the
    /// destination rectangle (pictures with unequal resolutions), as large as fits inside the
    /// source part's own area and centred in it, so a fit computed from imageWidth() and
    /// imageHeight() shows the whole picture at its true shape. autoScale 1: the whole picture
    /// fitted, aspect kept, centred. autoScale 2: the whole picture stretched over the view.
    /// Loading a picture resets the scale region to (0, 0, view size) and the source and
    /// destination rectangles to the whole picture; setViewSize() resets the scale region.
    QRectF pictureRectInView() const;
    /// Redraws with the current parameters (bumps revision()).
    void refresh();
    int revision() const;
    /// What the control shows: the view parameters applied to the picture, at viewSize().
    QImage renderView(const QColor &background = Qt::white) const;
    /// The decoded picture as held (possibly reduced, see setPicture()).
    QImage image() const;

    /// A free text carried with the instance (the page builder keeps "H x W" here).
    QString tag;

    // --- encode -----------------------------------------------------------------------------

    /// "JPG", "PNG" or "TIF" (case ignored); anything else makes exportToMemory() refuse.
    QString exportFormat() const;
    void setExportFormat(const QString &format);
    /// Quality 1..100 for JPEG (member 13); 75 before catalogue work, 99 before saves.
    int quality() const;
    void setQuality(int q);
    /// Compression (member 11); for TIF 4 = CCITT G4 (2-colour pictures only), 0 = none, any
    /// other value LZW. JPG, PNG and the other formats ignore it.
    int compression() const;
    void setCompression(int c);
    /// Encodes the picture in exportFormat(). Failure "Unsupported Export Format" (32501) when
    /// the format is unknown or cannot hold this picture (TIF with compression 4 on a picture of
    /// more than 2 colours).
    Result<QByteArray> exportToMemory() const;

    // --- save -------------------------------------------------------------------------------

    /// Lines ended by "\r": "APPEND = OFF", optional "PATH = " + folder, "OVERWRITE = ON|OFF",
    /// optional "LOSSY_QUALITY = n".
    QString saveOptions() const;
    void setSaveOptions(const QString &options);
    /// Writes the picture to path (format from the extension; a relative name goes into the
    /// PATH option's folder). The file is written whole or not at all: an existing file is only
    /// replaced when OVERWRITE = ON, and then through a temporary file renamed over it.
    /// A name whose extension is not a picture format is written in formatName()'s format.
    /// Failures: 58 exists, 70 permission (also a read-only file with OVERWRITE = ON),
    /// 61 disk full, 76 path not found, 32501 format, 5 when empty, reduced (isReduced()) or
    /// asked to APPEND = ON (adding pages is not offered). A failed save leaves no file behind.
    Result<void> saveAs(const QString &path) const;

    // --- change -----------------------------------------------------------------------------

    /// Turns the picture clockwise by hundredthsOfDegree. Quarter turns (9000, 18000, 27000)
    /// move pixels exactly, keep the colour class and swap the resolutions; other angles give a
    /// true-colour picture with the uncovered corners filled with fill. 5 when empty.
    Result<void> rotate(int hundredthsOfDegree, const QColor &fill = Qt::white);
    /// Makes the picture 24-bit true colour (any alpha is dropped). 5 when empty.
    Result<void> convertTo24Bit();
    /// 0 "Sharpen", 1 "Blur", 2 "Emboss" (grey relief), 3 "Edge Detect", 4 "Edge Detect More!"
    /// (finds fainter edges too). 5 for any other number or when empty.
    Result<void> applyFilter(int filter);
    /// Brightness -250..250: adds value to every colour level (0..255), clipped; 0 leaves the
    /// picture unchanged. Like the filters and contrast, the result is true colour.
    Result<void> adjustBrightness(int value);
    /// Contrast 1..100 (kNeutralContrast = 50 leaves the picture unchanged): every level moves
    /// away from mid-grey by value / 50, so 100 doubles the differences and 1 leaves a flat grey.
    Result<void> adjustContrast(int value);
    static constexpr int kNeutralContrast = 50;
    /// Replaces the picture by one scaled to fit inside box (aspect kept, at least 1 x 1, never
    /// enlarged). The colour class is kept: a 2-colour picture stays 2-colour, a palette picture
    /// keeps its palette, so colorCount() is the same afterwards.
    Result<void> fitInto(const QSize &box);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
