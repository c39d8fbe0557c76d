#include "components/decoders/PcxDecoder.h"

#include "components/decoders/ImageLimits.h"

#include <QtEndian>
#include <cstring>
#include <vector>

namespace pictures {

using platform::ErrorOr;

namespace {

constexpr int HeaderSize = 128;

// The 16 colours of the EGA/VGA default palette, used by files that carry no palette.
constexpr QRgb DefaultPalette[16] = {0xff000000, 0xff0000aa, 0xff00aa00, 0xff00aaaa, 0xffaa0000, 0xffaa00aa,
                                     0xffaa5500, 0xffaaaaaa, 0xff555555, 0xff5555ff, 0xff55ff55, 0xff55ffff,
                                     0xffff5555, 0xffff55ff, 0xffffff55, 0xffffffff};

QList<QRgb> headerPalette(const uchar *h)
{
    QList<QRgb> pal(16);
    bool any = false;
    for (int i = 0; i < 16; ++i) {
        pal[i] = qRgb(h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]);
        any = any || (pal[i] & 0xffffff);
    }
    if (!any) // an all-black palette is a writer that left it out
        for (int i = 0; i < 16; ++i)
            pal[i] = DefaultPalette[i];
    return pal;
}

// CGA mode: the background colour in the high nibble of the first palette byte; the fourth
// byte selects the foreground set (bit 6: cyan/magenta/white rather than green/red/brown) and
// its intensity (bit 5).
QList<QRgb> cgaPalette(const uchar *h)
{
    const int background = h[16] >> 4;
    const bool second = h[19] & 0x40;
    const int bright = (h[19] & 0x20) ? 8 : 0;
    QList<QRgb> pal(4);
    pal[0] = DefaultPalette[background];
    const int set[2][3] = {{2, 4, 6}, {3, 5, 7}};
    for (int i = 0; i < 3; ++i)
        pal[i + 1] = DefaultPalette[set[second ? 1 : 0][i] + bright];
    return pal;
}

} // namespace

ErrorOr<PcxHeaderInfo> readPcxHeader(QByteArrayView data)
{
    PcxHeaderInfo info;
    if (data.size() < HeaderSize)
        return invalidData(QStringLiteral("PCX header truncated"));
    const auto *h = reinterpret_cast<const uchar *>(data.data());
    if (h[0] != 0x0a)
        return invalidData(QStringLiteral("not a PCX file"));
    info.version = h[1];
    if (info.version > 5)
        return invalidData(QStringLiteral("unknown PCX version %1").arg(info.version));
    if (h[2] > 1)
        return invalidData(QStringLiteral("unknown PCX encoding %1").arg(h[2]));
    info.rle = h[2] == 1;
    info.bitsPerPlane = h[3];
    info.planes = h[65];
    const int xmin = qFromLittleEndian<quint16>(h + 4), ymin = qFromLittleEndian<quint16>(h + 6);
    const int xmax = qFromLittleEndian<quint16>(h + 8), ymax = qFromLittleEndian<quint16>(h + 10);
    if (xmax < xmin || ymax < ymin)
        return invalidData(QStringLiteral("bad PCX window"));
    info.width = xmax - xmin + 1;
    info.height = ymax - ymin + 1;
    const int bpp = info.bitsPerPlane, planes = info.planes;
    const bool indexed = (bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8) && planes >= 1 && bpp * planes <= 8;
    const bool trueColour = bpp == 8 && (planes == 3 || planes == 4);
    if (!indexed && !trueColour)
        return invalidData(
            QStringLiteral("unsupported PCX layout: %1 bits x %2 planes").arg(bpp).arg(planes));
    if (!imageSizeAllowed(info.width, info.height))
        return sizeRefusal(info.width, info.height, QStringLiteral("PCX picture too large"));
    return info;
}

ErrorOr<QImage> decodePcx(QByteArrayView data)
{
    const ErrorOr<PcxHeaderInfo> header = readPcxHeader(data);
    if (!header)
        return header.error();
    const PcxHeaderInfo &info = *header;
    const auto *h = reinterpret_cast<const uchar *>(data.data());
    const int w = info.width, ht = info.height, bpp = info.bitsPerPlane, planes = info.planes;
    int bytesPerLine = qFromLittleEndian<quint16>(h + 66);
    const int minBytes = (w * bpp + 7) / 8;
    if (bytesPerLine < minBytes)
        return invalidData(QStringLiteral("PCX line length too short"));
    const qint64 lineBytes = qint64(bytesPerLine) * planes;
    const qint64 total = lineBytes * ht;
    const auto *src = h + HeaderSize;
    const auto *end = reinterpret_cast<const uchar *>(data.data()) + data.size();
    // A run codes at most 63 bytes in 2: refuse at once data that cannot hold the picture.
    if ((end - src) * (info.rle ? 32 : 1) < total)
        return invalidData(QStringLiteral("PCX data truncated"));

    const bool trueColour = planes >= 3 && bpp == 8;
    const bool mono = bpp == 1 && planes == 1;
    QImage img(w, ht,
               trueColour ? (planes == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32)
                          : (mono ? QImage::Format_Mono : QImage::Format_Indexed8));
    if (img.isNull())
        return tooLarge(QStringLiteral("out of memory"));

    std::vector<uchar> line(static_cast<size_t>(lineBytes));
    int runLeft = 0;
    uchar runValue = 0;
    for (int y = 0; y < ht; ++y) {
        // Runs may cross line ends: many writers do so, and the format allows it in practice.
        qint64 filled = 0;
        while (filled < lineBytes) {
            if (runLeft > 0) {
                const qint64 n = qMin<qint64>(runLeft, lineBytes - filled);
                std::memset(line.data() + filled, runValue, size_t(n));
                filled += n;
                runLeft -= int(n);
                continue;
            }
            if (src >= end)
                return invalidData(QStringLiteral("PCX data truncated"));
            if (!info.rle) {
                const qint64 n = qMin<qint64>(end - src, lineBytes - filled);
                std::memcpy(line.data() + filled, src, size_t(n));
                src += n;
                filled += n;
                continue;
            }
            const uchar b = *src++;
            if ((b & 0xc0) == 0xc0) {
                if (src >= end)
                    return invalidData(QStringLiteral("PCX data truncated"));
                runLeft = b & 0x3f;
                runValue = *src++;
            } else {
                line[size_t(filled++)] = b;
            }
        }
        uchar *dst = img.scanLine(y);
        if (trueColour) {
            auto *out = reinterpret_cast<QRgb *>(dst);
            const uchar *r = line.data(), *g = r + bytesPerLine, *b = g + bytesPerLine;
            const uchar *a = planes == 4 ? b + bytesPerLine : nullptr;
            for (int x = 0; x < w; ++x)
                out[x] = qRgba(r[x], g[x], b[x], a ? a[x] : 255);
        } else if (mono || (bpp == 8 && planes == 1)) {
            std::memcpy(dst, line.data(), size_t(mono ? (w + 7) / 8 : w));
        } else {
            const int mask = (1 << bpp) - 1;
            for (int x = 0; x < w; ++x) {
                const int bit = x * bpp;
                int index = 0;
                for (int p = 0; p < planes; ++p) {
                    const uchar byte = line[size_t(p) * bytesPerLine + bit / 8];
                    index |= ((byte >> (8 - bpp - bit % 8)) & mask) << (p * bpp);
                }
                dst[x] = uchar(index);
            }
        }
    }

    if (mono) {
        // The header's first two colours, as written; a file that leaves them equal means
        // black and white.
        const QRgb c0 = qRgb(h[16], h[17], h[18]), c1 = qRgb(h[19], h[20], h[21]);
        if (c0 == c1)
            img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        else
            img.setColorTable({c0, c1});
    } else if (!trueColour) {
        QList<QRgb> pal;
        const int colours = 1 << (bpp * planes);
        if (colours == 256) {
            // The VGA palette: a 0x0C byte then 768 bytes at the very end of the file.
            const qsizetype at = data.size() - 769;
            if (info.version >= 5 && at >= HeaderSize && h[at] == 0x0c) {
                for (int i = 0; i < 256; ++i)
                    pal << qRgb(h[at + 1 + 3 * i], h[at + 2 + 3 * i], h[at + 3 + 3 * i]);
            } else {
                for (int i = 0; i < 256; ++i)
                    pal << qRgb(i, i, i);
            }
        } else if (bpp == 2 && planes == 1 && info.version < 5) {
            pal = cgaPalette(h);
        } else if (info.version == 3) {
            pal = QList<QRgb>(std::begin(DefaultPalette), std::end(DefaultPalette));
        } else {
            pal = headerPalette(h);
        }
        pal.resize(256, qRgb(0, 0, 0));
        img.setColorTable(pal);
    }
    return img;
}

} // namespace pictures
