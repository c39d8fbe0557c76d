#include "components/decoders/DibDecoder.h"

#include "components/decoders/ImageLimits.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <cstring>

namespace pictures {

using platform::ErrorOr;
using platform::Status;

namespace {

constexpr quint32 BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiJpeg = 4, BiPng = 5,
                  BiAlphaBitfields = 6;

quint32 le32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}
quint16 le16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

// Shift and width of a bit-field mask, to scale its value to 8 bits.
struct Field
{
    quint32 mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Field(quint32 m) : mask(m)
    {
        if (!m)
            return;
        while (!((m >> shift) & 1))
            ++shift;
        while (bits + shift < 32 && ((m >> (shift + bits)) & 1))
            ++bits;
    }
    int value(quint32 px) const
    {
        if (!mask)
            return 0;
        const quint32 v = (px & mask) >> shift;
        if (bits >= 8)
            return int((v >> (bits - 8)) & 0xff);
        // Scale so a full field reaches 255.
        return int(v * 255 / ((1u << bits) - 1));
    }
};

// Runs of 8- or 4-bit run-length coding, written into an Indexed8 image stored bottom-up.
Status decodeRle(QByteArrayView bits, bool four, QImage &img)
{
    const int w = img.width(), h = img.height();
    int x = 0, y = h - 1;
    qsizetype i = 0;
    const auto *p = reinterpret_cast<const uchar *>(bits.data());
    const qsizetype n = bits.size();
    auto put = [&](int index) {
        if (x < w && y >= 0)
            img.scanLine(y)[x] = uchar(index);
        ++x;
    };
    while (i + 1 < n && y >= 0) {
        const int count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(four ? ((k & 1) ? (value & 0x0f) : (value >> 4)) : value);
        } else if (value == 0) {
            x = 0;
            --y;
        } else if (value == 1) {
            return {};
        } else if (value == 2) {
            if (i + 1 >= n)
                break;
            x += p[i];
            y -= p[i + 1];
            i += 2;
        } else {
            const int bytes = four ? (value + 1) / 2 : value;
            if (i + bytes > n)
                return invalidData(QStringLiteral("truncated run-length data"));
            for (int k = 0; k < value; ++k)
                put(four ? ((k & 1) ? (p[i + k / 2] & 0x0f) : (p[i + k / 2] >> 4)) : p[i + k]);
            i += (bytes + 1) & ~1;
        }
    }
    return {}; // a missing end marker is common and harmless
}

} // namespace

qint64 dibRowStride(qint64 width, int bitCount)
{
    return ((width * bitCount + 31) / 32) * 4;
}

ErrorOr<DibInfo> readDibHeader(QByteArrayView bmi)
{
    if (bmi.size() < 12)
        return invalidData(QStringLiteral("bitmap header too short"));
    DibInfo info;
    const char *p = bmi.data();
    info.headerSize = le32(p);
    qint64 colors = 0;
    if (info.headerSize == 12) {
        info.width = le16(p + 4);
        info.height = le16(p + 6);
        info.bitCount = le16(p + 10);
        info.compression = BiRgb;
        if (info.bitCount <= 8)
            info.colorTableBytes = (qint64(1) << info.bitCount) * 3;
    } else {
        if (info.headerSize < 40 || info.headerSize > bmi.size())
            return invalidData(QStringLiteral("bad bitmap header size"));
        info.width = qint32(le32(p + 4));
        const qint32 h = qint32(le32(p + 8));
        info.topDown = h < 0;
        info.height = h < 0 ? -qint64(h) : h;
        info.bitCount = le16(p + 14);
        info.compression = le32(p + 16);
        colors = le32(p + 32);
        if (info.bitCount <= 8) {
            const qint64 maxColors = qint64(1) << info.bitCount;
            info.colorTableBytes = 4 * ((colors > 0 && colors < maxColors) ? colors : maxColors);
        } else {
            info.colorTableBytes = (colors > 0 && colors <= 256) ? 4 * colors : 0;
        }
        // Bit-field masks follow a 40-byte header.
        if (info.headerSize == 40 &&
            (info.compression == BiBitfields || info.compression == BiAlphaBitfields))
            info.colorTableBytes += info.compression == BiBitfields ? 12 : 16;
    }
    switch (info.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    case 0:
        if (info.compression == BiJpeg || info.compression == BiPng)
            break;
        [[fallthrough]];
    default:
        return invalidData(QStringLiteral("unsupported bit count %1").arg(info.bitCount));
    }
    if (info.compression != BiJpeg && info.compression != BiPng && !imageSizeAllowed(info.width, info.height))
        return sizeRefusal(info.width, info.height, QStringLiteral("bad or too large bitmap size"));
    return info;
}

ErrorOr<QImage> decodeDib(QByteArrayView bmi, QByteArrayView bits)
{
    const ErrorOr<DibInfo> header = readDibHeader(bmi);
    if (!header)
        return header.error();
    const DibInfo &info = *header;
    if (info.compression == BiJpeg || info.compression == BiPng) {
        QByteArray copy(bits.data(), bits.size());
        QBuffer buf(&copy);
        QImageReader reader(&buf, info.compression == BiJpeg ? "jpeg" : "png");
        // The embedded picture's own size answers to the same limit as every other picture.
        const QSize claimed = reader.size();
        if (claimed.isValid() && !imageSizeAllowed(claimed.width(), claimed.height()))
            return sizeRefusal(claimed.width(), claimed.height(),
                               QStringLiteral("embedded picture too large"));
        QImage img = reader.read();
        if (img.isNull())
            return invalidData(reader.errorString());
        return img;
    }
    const char *base = bmi.data();
    const bool core = info.headerSize == 12;
    if (info.headerSize + info.colorTableBytes > bmi.size())
        return invalidData(QStringLiteral("colour table truncated"));
    const char *table = base + info.headerSize;
    const int w = int(info.width), h = int(info.height);

    if (info.compression == BiRle8 || info.compression == BiRle4) {
        QImage img(w, h, QImage::Format_Indexed8);
        if (img.isNull())
            return tooLarge(QStringLiteral("out of memory"));
        img.fill(0);
        if (const Status rle = decodeRle(bits, info.compression == BiRle4, img); !rle)
            return rle.error();
        QList<QRgb> ct(256, qRgb(0, 0, 0));
        for (qint64 i = 0; i < info.colorTableBytes / 4 && i < 256; ++i)
            ct[i] = qRgb(uchar(table[4 * i + 2]), uchar(table[4 * i + 1]), uchar(table[4 * i]));
        img.setColorTable(ct);
        return img;
    }
    if (info.compression != BiRgb && info.compression != BiBitfields &&
        info.compression != BiAlphaBitfields) {
        return invalidData(QStringLiteral("unsupported bitmap compression %1").arg(info.compression));
    }

    const qint64 stride = dibRowStride(w, info.bitCount);
    // The last row need not be padded: some writers stop at the last pixel.
    const qint64 need = stride * (h - 1) + (qint64(w) * info.bitCount + 7) / 8;
    if (bits.size() < need)
        return invalidData(QStringLiteral("bitmap bits truncated"));
    const auto *px = reinterpret_cast<const uchar *>(bits.data());

    if (info.bitCount <= 8) {
        const bool mono = info.bitCount == 1;
        QImage img(w, h, mono ? QImage::Format_Mono : QImage::Format_Indexed8);
        if (img.isNull())
            return tooLarge(QStringLiteral("out of memory"));
        const int entries = int(1 << info.bitCount);
        const int step = core ? 3 : 4;
        QList<QRgb> ct(entries, qRgb(0, 0, 0));
        for (int i = 0; i < entries && qint64(i + 1) * step <= info.colorTableBytes; ++i)
            ct[i] = qRgb(uchar(table[step * i + 2]), uchar(table[step * i + 1]), uchar(table[step * i]));
        img.setColorTable(ct);
        const qint64 rowBytes = (qint64(w) * info.bitCount + 7) / 8;
        for (int y = 0; y < h; ++y) {
            const uchar *src = px + stride * (info.topDown ? y : h - 1 - y);
            uchar *dst = img.scanLine(y);
            if (mono || info.bitCount == 8) {
                std::memcpy(dst, src, size_t(rowBytes));
            } else {
                for (int x = 0; x < w; ++x)
                    dst[x] = (x & 1) ? (src[x / 2] & 0x0f) : (src[x / 2] >> 4);
            }
        }
        return img;
    }

    quint32 rm = 0x00ff0000, gm = 0x0000ff00, bm = 0x000000ff, am = 0;
    if (info.bitCount == 16) {
        rm = 0x7c00;
        gm = 0x03e0;
        bm = 0x001f;
    }
    if (info.compression == BiBitfields || info.compression == BiAlphaBitfields) {
        if (bmi.size() < 40 + 12)
            return invalidData(QStringLiteral("bit-field masks missing"));
        rm = le32(base + 40);
        gm = le32(base + 44);
        bm = le32(base + 48);
        if (info.compression == BiAlphaBitfields && bmi.size() >= 56)
            am = le32(base + 52);
    }
    const Field fr(rm), fg(gm), fb(bm), fa(am);
    QImage img(w, h, am ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (img.isNull())
        return tooLarge(QStringLiteral("out of memory"));
    for (int y = 0; y < h; ++y) {
        const uchar *src = px + stride * (info.topDown ? y : h - 1 - y);
        auto *dst = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (info.bitCount == 24) {
                const uchar *s = src + 3 * x;
                dst[x] = qRgb(s[2], s[1], s[0]);
                continue;
            }
            const quint32 v = info.bitCount == 16 ? qFromLittleEndian<quint16>(src + 2 * x)
                                                  : qFromLittleEndian<quint32>(src + 4 * x);
            dst[x] = qRgba(fr.value(v), fg.value(v), fb.value(v), am ? fa.value(v) : 255);
        }
    }
    return img;
}

ErrorOr<QImage> decodePackedDib(QByteArrayView dib)
{
    const ErrorOr<DibInfo> info = readDibHeader(dib);
    if (!info)
        return info.error();
    const qint64 split = info->headerSize + info->colorTableBytes;
    if (split > dib.size())
        return invalidData(QStringLiteral("colour table truncated"));
    return decodeDib(dib.first(split), dib.sliced(split));
}

bool bitmapFileComplete(QByteArrayView start, qint64 fileSize)
{
    if (start.size() < 14 + 12 || fileSize < 14 + 12)
        return false;
    const char *p = start.data();
    const quint32 offBits = le32(p + 10);
    const quint32 headerSize = le32(p + 14);
    if (headerSize < 40 || start.size() < 14 + 40)
        return offBits <= quint64(fileSize);
    const qint32 w = qint32(le32(p + 18));
    const qint32 h = qint32(le32(p + 22));
    const int bits = le16(p + 28);
    const quint32 compression = le32(p + 30);
    if (compression != BiRgb && compression != BiBitfields)
        return offBits < quint64(fileSize); // run-length data has no fixed length
    const qint64 need = qint64(offBits) + dibRowStride(w, bits) * (h < 0 ? -qint64(h) : qint64(h));
    return w > 0 && need <= fileSize;
}

} // namespace pictures
