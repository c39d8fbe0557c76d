#include "components/decoders/PngChunks.h"

#include "components/decoders/ImageLimits.h"

#include <QtEndian>
#include <algorithm>
#include <zlib.h>

namespace pictures {

namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
// The format's own limit on a chunk's length.
constexpr quint32 kMaxChunk = 0x7fffffffu;
constexpr qint64 kBlock = 64 * 1024;

bool validDepth(int colourType, int depth)
{
    switch (colourType) {
    case 0:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

struct Chunk
{
    quint32 length = 0;
    QByteArray type;
    QByteArray data; // kept only for the small chunks read here
    bool crcOk = false;
};

// Reads one chunk whole (checking its CRC block by block); false when the file ends inside it.
bool readChunk(QIODevice &in, Chunk &c, qint64 keep)
{
    const QByteArray head = in.read(8);
    if (head.size() != 8)
        return false;
    c.length = qFromBigEndian<quint32>(head.constData());
    c.type = head.mid(4, 4);
    if (c.length > kMaxChunk)
        return false;
    uLong crc = crc32(0L, reinterpret_cast<const Bytef *>(c.type.constData()), 4);
    c.data.clear();
    for (qint64 left = c.length; left > 0;) {
        const QByteArray block = in.read(std::min(left, kBlock));
        if (block.isEmpty())
            return false;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(block.constData()), uInt(block.size()));
        if (c.data.size() < keep)
            c.data += block.left(keep - c.data.size());
        left -= block.size();
    }
    const QByteArray tail = in.read(4);
    if (tail.size() != 4)
        return false;
    c.crcOk = qFromBigEndian<quint32>(tail.constData()) == quint32(crc);
    return true;
}

} // namespace

platform::ErrorOr<PngInfo> readPngInfo(QIODevice &in)
{
    if (in.read(8) != QByteArray(kSignature, 8))
        return invalidData(QStringLiteral("not a PNG file"));
    Chunk c;
    if (!readChunk(in, c, 13) || c.type != "IHDR" || c.length != 13)
        return invalidData(QStringLiteral("PNG header missing"));
    const auto *h = reinterpret_cast<const uchar *>(c.data.constData());
    const quint32 width = qFromBigEndian<quint32>(h), height = qFromBigEndian<quint32>(h + 4);
    PngInfo info;
    info.bitDepth = h[8];
    info.colourType = h[9];
    if (width == 0 || height == 0 || width > kMaxChunk || height > kMaxChunk ||
        !validDepth(info.colourType, info.bitDepth) || h[10] != 0 || h[11] != 0 || h[12] > 1)
        return invalidData(QStringLiteral("PNG header invalid"));
    info.width = int(width);
    info.height = int(height);
    info.alpha = info.colourType == 4 || info.colourType == 6;
    bool crcOk = c.crcOk, pictureData = false;
    for (;;) {
        if (!readChunk(in, c, 8))
            return info; // cut short
        crcOk = crcOk && c.crcOk;
        if (c.type == "IEND") {
            info.complete = crcOk && pictureData;
            return info;
        }
        if (c.type == "IDAT") {
            pictureData = true;
        } else if (c.type == "tRNS" && !pictureData) {
            info.alpha = true;
        } else if (c.type == "acTL" && !pictureData && c.data.size() == 8) {
            // The animation's frames, the default picture among them or not.
            const quint32 frames = qFromBigEndian<quint32>(c.data.constData());
            if (frames > 0 && frames <= quint32(INT32_MAX))
                info.frames = int(frames);
        }
    }
}

} // namespace pictures
