#pragma once

#include <QList>
#include <QRgb>
#include <QSize>

class QIODevice;

/// The engine's internal helpers (not part of its contract).
namespace Engine {

/// The picture formats the engine tells apart by their first bytes.
enum class PictureFormat {
    Unknown,
    Jpeg,
    Png,
    Gif,
    Bmp,
    Tiff,
    Pcx,
    Tga,
};

/// What a picture file says about itself before any pixel is decoded.
struct PictureHeader
{
    PictureFormat format = PictureFormat::Unknown;
    /// The picture's size as its header records it; invalid when the header gives none.
    QSize size;
    /// Recorded resolution in dots per inch; 0 when the file records none.
    int dpiX = 0;
    int dpiY = 0;
    /// False when the file visibly ends early (no end marker, fewer bytes than the header needs).
    bool complete = true;
    /// TGA image type (1, 2, 3 plain; 9, 10, 11 run-length encoded); 0 for other formats.
    int tgaType = 0;
    /// True when a TGA ends with the TGA 2.0 footer.
    bool tgaFooter = false;
    /// The colour table a GIF's first frame is drawn with (the decoder gives true colour).
    QList<QRgb> gifPalette;
    /// TIFF compression tag of the first picture; 0 for other formats.
    int tiffCompression = 0;
};

/// Reads the header of the picture held by device (seekable, opened for reading) without
/// decoding pixels. Never reads more than the header structures need, apart from the search for
/// a JPEG's end marker. Leaves the device positioned at 0.
PictureHeader readPictureHeader(QIODevice &device);

/// The short name Qt's image reader uses for format ("jpeg", "png", ...), or empty.
QByteArray qtFormatName(PictureFormat format);

} // namespace Engine
