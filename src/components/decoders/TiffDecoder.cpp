#include "components/decoders/TiffDecoder.h"

#include "components/decoders/ImageLimits.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <tiffio.h>

namespace pictures {

namespace {

// The file in memory, read through libtiff's client I/O.
struct MemFile
{
    const char *data;
    toff_t size;
    toff_t pos;
    QString error;
};

tmsize_t readProc(thandle_t h, void *buf, tmsize_t n)
{
    auto *f = static_cast<MemFile *>(h);
    if (n <= 0 || f->pos >= f->size)
        return 0;
    const toff_t count = qMin<toff_t>(toff_t(n), f->size - f->pos);
    std::memcpy(buf, f->data + f->pos, size_t(count));
    f->pos += count;
    return tmsize_t(count);
}

tmsize_t writeProc(thandle_t, void *, tmsize_t)
{
    return -1;
}

toff_t seekProc(thandle_t h, toff_t off, int whence)
{
    auto *f = static_cast<MemFile *>(h);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = f->pos;
    else if (whence == SEEK_END)
        base = f->size;
    // Unsigned arithmetic wraps a negative offset the way libtiff passes it.
    f->pos = base + off;
    return f->pos;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t h)
{
    return static_cast<MemFile *>(h)->size;
}

int mapProc(thandle_t, void **, toff_t *)
{
    return 0;
}

void unmapProc(thandle_t, void *, toff_t) {}

int errorHandler(TIFF *, void *user, const char *module, const char *fmt, va_list ap)
{
    char buf[512];
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    auto *f = static_cast<MemFile *>(user);
    if (f->error.isEmpty())
        f->error =
            module ? QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(module), QString::fromLocal8Bit(buf))
                   : QString::fromLocal8Bit(buf);
    return 1; // handled: nothing reaches the terminal
}

int warningHandler(TIFF *, void *, const char *, const char *, va_list)
{
    return 1;
}

// Closes the file on every way out of a decode.
using TiffHandle = std::unique_ptr<TIFF, decltype(&TIFFClose)>;

platform::ErrorOr<TiffHandle> openTiff(MemFile &file)
{
    TIFFOpenOptions *opts = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(opts, errorHandler, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, warningHandler, &file);
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts, tmsize_t(maxImageBytes()));
    // "m": never memory-map; the data is ours already.
    TIFF *tif = TIFFClientOpenExt("picture", "rm", &file, readProc, writeProc, seekProc, closeProc, sizeProc,
                                  mapProc, unmapProc, opts);
    TIFFOpenOptionsFree(opts);
    if (!tif)
        return invalidData(file.error.isEmpty() ? QStringLiteral("not a TIFF file") : file.error);
    return TiffHandle(tif, &TIFFClose);
}

bool isBilevel(uint16_t bits, uint16_t samples, uint16_t photometric)
{
    return bits == 1 && samples == 1 &&
           (photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK);
}

} // namespace

platform::ErrorOr<TiffHeaderInfo> readTiffHeader(QByteArrayView data)
{
    MemFile file{data.data(), toff_t(data.size()), 0, {}};
    platform::ErrorOr<TiffHandle> opened = openTiff(file);
    if (!opened)
        return opened.error();
    TIFF *tif = opened->get();
    uint32_t w = 0, h = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TiffHeaderInfo info;
    info.width = qint64(w);
    info.height = qint64(h);
    info.bilevel = isBilevel(bits, samples, photometric);
    return info;
}

platform::ErrorOr<QImage> decodeTiff(QByteArrayView data)
{
    MemFile file{data.data(), toff_t(data.size()), 0, {}};
    platform::ErrorOr<TiffHandle> opened = openTiff(file);
    if (!opened)
        return opened.error();
    TIFF *tif = opened->get();

    uint32_t w = 0, h = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE, extra = 0;
    uint16_t *extraTypes = nullptr;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra, &extraTypes);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    if (!imageSizeAllowed(w, h))
        return sizeRefusal(w, h, QStringLiteral("TIFF picture size %1 x %2 is not allowed").arg(w).arg(h));
    char message[1024] = {0};
    if (!TIFFRGBAImageOK(tif, message))
        return invalidData(QString::fromLocal8Bit(message));
    QImage img(int(w), int(h), QImage::Format_RGBA8888);
    if (img.isNull())
        return tooLarge(QStringLiteral("out of memory"));
    // The raster is rows of R,G,B,A bytes, top row first with ORIENTATION_TOPLEFT.
    static_assert(sizeof(uint32_t) == 4);
    const bool ok = img.bytesPerLine() == qsizetype(w) * 4 &&
                    TIFFReadRGBAImageOriented(tif, w, h, reinterpret_cast<uint32_t *>(img.bits()),
                                              ORIENTATION_TOPLEFT, 0);
    if (!ok || !file.error.isEmpty())
        return invalidData(file.error.isEmpty() ? QStringLiteral("cannot read TIFF image data") : file.error);
    if (isBilevel(bits, samples, photometric))
        return img.convertToFormat(QImage::Format_Mono, {qRgb(0, 0, 0), qRgb(255, 255, 255)},
                                   Qt::ThresholdDither);
    const bool alpha = extra > 0 || samples == 2 || (samples == 4 && photometric != PHOTOMETRIC_SEPARATED);
    return img.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

} // namespace pictures
