#include "vipsadapter.h"

#include <cstring>
#include <mutex>

#include <QFile>
#include <QFileInfo>

#include <vips/vips8>
// After vips8: the vector switch is declared in a header that needs the ones before it.
#include <vips/vector.h>

using vips::VError;
using vips::VImage;
using vips::VOption;

namespace VipsAdapter {

namespace {

Failure imagingFailure(const char *what)
{
    return {FailureNumber::ImagingError, QString::fromUtf8(what).trimmed()};
}

Failure fromError(const VError &error)
{
    vips_error_clear();
    return imagingFailure(error.what());
}

// Frees a blob handed out by the library once its bytes are copied.
struct BlobDeleter
{
    void operator()(VipsBlob *blob) const { vips_area_unref(VIPS_AREA(blob)); }
};
using BlobPtr = std::unique_ptr<VipsBlob, BlobDeleter>;

QByteArray blobBytes(VipsBlob *raw)
{
    BlobPtr blob(raw);
    size_t size = 0;
    const void *data = vips_blob_get(blob.get(), &size);
    return QByteArray(static_cast<const char *>(data), qsizetype(size));
}

// A packed copy of the picture's pixels that the library reads in place. The buffer must live
// as long as any image computed from it, so callers keep the Pixels object until they have
// written their result out.
struct Pixels
{
    QByteArray bytes;
    VImage image;
    bool hasAlpha = false;
};

Pixels toVips(const QImage &source, bool keepGrey)
{
    Pixels p;
    QImage img;
    int bands = 3;
    if (keepGrey && source.isGrayscale() && !source.hasAlphaChannel()) {
        img = source.convertToFormat(QImage::Format_Grayscale8);
        bands = 1;
    } else if (source.hasAlphaChannel()) {
        img = source.convertToFormat(QImage::Format_RGBA8888);
        bands = 4;
        p.hasAlpha = true;
    } else {
        img = source.convertToFormat(QImage::Format_RGB888);
    }
    const int w = img.width();
    const int h = img.height();
    const qsizetype row = qsizetype(w) * bands;
    p.bytes.resize(row * h);
    for (int y = 0; y < h; ++y) {
        std::memcpy(p.bytes.data() + row * y, img.constScanLine(y), size_t(row));
    }
    p.image = VImage::new_from_memory(p.bytes.data(),
                                      size_t(p.bytes.size()),
                                      w,
                                      h,
                                      bands,
                                      VIPS_FORMAT_UCHAR);
    p.image = p.image.copy(
        VImage::option()->set("interpretation",
                              bands == 1 ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB));
    return p;
}

// Brings any decoded image to 8-bit grey, RGB or RGBA and copies it into a QImage.
QImage toQImage(VImage image)
{
    int bands = image.bands();
    if (image.format() != VIPS_FORMAT_UCHAR || (bands != 1 && bands != 3)) {
        const bool grey = bands <= 2;
        image = image.colourspace(grey ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB);
        if (image.format() != VIPS_FORMAT_UCHAR) {
            image = image.cast(VIPS_FORMAT_UCHAR);
        }
        bands = image.bands();
        if (bands == 2) {
            image = image.extract_band(0);
            bands = 1;
        } else if (bands > 4) {
            image = image.extract_band(0, VImage::option()->set("n", 4));
            bands = 4;
        }
    }
    size_t size = 0;
    void *raw = image.write_to_memory(&size);
    std::unique_ptr<void, decltype(&g_free)> guard(raw, &g_free);
    const int w = image.width();
    const int h = image.height();
    const QImage::Format format = bands == 1 ? QImage::Format_Grayscale8
        : bands == 3                         ? QImage::Format_RGB888
                                             : QImage::Format_RGBA8888;
    QImage out(w, h, format);
    if (out.isNull()) {
        return {};
    }
    const size_t row = size_t(w) * size_t(bands);
    for (int y = 0; y < h; ++y) {
        std::memcpy(out.scanLine(y), static_cast<const uchar *>(raw) + row * size_t(y), row);
    }
    return bands == 3 ? out.convertToFormat(QImage::Format_RGB32) : out;
}

VImage matrix3(std::initializer_list<double> values, double scale, double offset)
{
    std::vector<double> v(values);
    VImage m = VImage::new_matrix(3, 3, v.data(), int(v.size()));
    m.set("scale", scale);
    m.set("offset", offset);
    return m;
}

} // namespace

bool ensureStarted()
{
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        started = vips_init("glimmerbook") == 0;
        if (started) {
            // Every operation here runs once on its own picture: caching them only costs memory.
            vips_cache_set_max(0);
            // The run-time generated vector code is freed unsafely when pictures are worked on
            // from several threads at once (a crash seen in the thread test); the plain C paths
            // are fast enough for the few operations that come here.
            vips_vector_set_enabled(FALSE);
        }
    });
    return started;
}

Result<QImage> loadWithMagick(const QString &path, const char *coder, qint64 maxPixels)
{
    if (!ensureStarted()) {
        return imagingFailure("the imaging library did not start");
    }
    try {
        // "CODER:" before the name makes ImageMagick use that coder whatever the extension.
        // An absolute name, so that no name is read as one of ImageMagick's "@list" files.
        const QByteArray name =
            QByteArray(coder) + ':' + QFile::encodeName(QFileInfo(path).absoluteFilePath());
        VImage image = VImage::magickload(name.constData(),
                                          VImage::option()->set("fail_on", VIPS_FAIL_ON_ERROR));
        if (qint64(image.width()) * image.height() > maxPixels) {
            return Failures::undecodablePicture();
        }
        // ImageMagick hands over bottom-up TGA rows as they are, with an orientation note.
        if (image.get_typeof(VIPS_META_ORIENTATION) != 0) {
            image = image.autorot();
        }
        QImage out = toQImage(image);
        if (out.isNull()) {
            return Failures::undecodablePicture();
        }
        return out;
    } catch (const VError &) {
        vips_error_clear();
        return Failures::undecodablePicture();
    }
}

Result<QByteArray> encodeTiffG4(const QImage &image, int dpiX, int dpiY)
{
    if (!ensureStarted()) {
        return imagingFailure("the imaging library did not start");
    }
    // Two grey levels: the lighter colour becomes white, the darker black.
    QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    int lo = 255;
    int hi = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *line = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            lo = qMin(lo, int(line[x]));
            hi = qMax(hi, int(line[x]));
        }
    }
    const int threshold = lo == hi ? 128 : (lo + hi + 1) / 2;
    for (int y = 0; y < grey.height(); ++y) {
        uchar *line = grey.scanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            const bool white = lo == hi ? line[x] >= 128 : line[x] >= threshold;
            line[x] = white ? 255 : 0;
        }
    }
    try {
        Pixels p = toVips(grey, true);
        VOption *options = VImage::option()
                               ->set("compression", VIPS_FOREIGN_TIFF_COMPRESSION_CCITTFAX4)
                               ->set("bitdepth", 1)
                               ->set("strip", true);
        if (dpiX > 0 && dpiY > 0) {
            options->set("resunit", VIPS_FOREIGN_TIFF_RESUNIT_INCH)
                ->set("xres", dpiX / 25.4)
                ->set("yres", dpiY / 25.4);
        }
        return blobBytes(p.image.tiffsave_buffer(options));
    } catch (const VError &e) {
        return fromError(e);
    }
}

Result<QByteArray> encodeGif(const QImage &image, int bitDepth)
{
    if (!ensureStarted()) {
        return imagingFailure("the imaging library did not start");
    }
    try {
        Pixels p = toVips(image, false);
        return blobBytes(
            p.image.gifsave_buffer(VImage::option()->set("bitdepth", qBound(1, bitDepth, 8))));
    } catch (const VError &e) {
        return fromError(e);
    }
}

Result<QByteArray> encodeMagick(const QImage &image, const char *coder)
{
    if (!ensureStarted()) {
        return imagingFailure("the imaging library did not start");
    }
    try {
        Pixels p = toVips(image, false);
        return blobBytes(p.image.magicksave_buffer(VImage::option()->set("format", coder)));
    } catch (const VError &e) {
        return fromError(e);
    }
}

Result<QImage> filter(const QImage &image, int filter)
{
    if (!ensureStarted()) {
        return imagingFailure("the imaging library did not start");
    }
    try {
        Pixels p = toVips(image, false);
        VImage colour =
            p.hasAlpha ? p.image.extract_band(0, VImage::option()->set("n", 3)) : p.image;
        VImage out;
        switch (filter) {
        case 0: // Sharpen: unsharp mask on lightness, colours kept
            out = colour.sharpen(VImage::option()->set("sigma", 1.0));
            out = out.colourspace(VIPS_INTERPRETATION_sRGB);
            break;
        case 1: // Blur
            out = colour.gaussblur(1.5);
            break;
        case 2: { // Emboss: grey relief lit from the top left, mid-grey where the picture is flat
            const VImage grey = colour.colourspace(VIPS_INTERPRETATION_B_W);
            out = grey.conv(matrix3({-1, -1, 0, -1, 0, 1, 0, 1, 1}, 1, 128),
                            VImage::option()->set("precision", VIPS_PRECISION_INTEGER));
            const VImage relief = out.cast(VIPS_FORMAT_UCHAR);
            out = VImage::bandjoin({relief, relief, relief});
            out = out.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
            break;
        }
        case 3: // Edge Detect: four-neighbour Laplacian
            out = colour.conv(matrix3({0, -1, 0, -1, 4, -1, 0, -1, 0}, 1, 0),
                              VImage::option()->set("precision", VIPS_PRECISION_INTEGER));
            break;
        case 4: // Edge Detect More!: eight-neighbour Laplacian, finds more and fainter edges
            out = colour.conv(matrix3({-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1, 0),
                              VImage::option()->set("precision", VIPS_PRECISION_INTEGER));
            break;
        default:
            return Failures::invalidProcedureCall();
        }
        if (out.format() != VIPS_FORMAT_UCHAR) {
            out = out.cast(VIPS_FORMAT_UCHAR);
        }
        if (p.hasAlpha) {
            out = out.bandjoin(p.image.extract_band(3));
        }
        QImage result = toQImage(out);
        if (result.isNull()) {
            return imagingFailure("the filtered picture could not be made");
        }
        return result;
    } catch (const VError &e) {
        return fromError(e);
    }
}

Result<QImage> linear(const QImage &image, double gain, double offset)
{
    if (!ensureStarted()) {
        return imagingFailure("the imaging library did not start");
    }
    try {
        Pixels p = toVips(image, false);
        std::vector<double> a{gain, gain, gain};
        std::vector<double> b{offset, offset, offset};
        if (p.hasAlpha) {
            a.push_back(1);
            b.push_back(0);
        }
        // cast() clips to 0..255, so brightening white stays white.
        VImage out = p.image.linear(a, b).cast(VIPS_FORMAT_UCHAR);
        QImage result = toQImage(out);
        if (result.isNull()) {
            return imagingFailure("the adjusted picture could not be made");
        }
        return result;
    } catch (const VError &e) {
        return fromError(e);
    }
}

} // namespace VipsAdapter
