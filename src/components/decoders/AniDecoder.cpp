#include "components/decoders/AniDecoder.h"

#include "components/decoders/ImageLimits.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <cstring>

namespace pictures {

namespace {

// Rate used when neither the "rate" chunk nor the header gives one (a sixth of a second).
constexpr int FallbackRate = 10;

bool looksLikeId(const uchar *p, qsizetype pos, qsizetype end)
{
    if (pos < 0 || pos + 8 > end)
        return false;
    for (int i = 0; i < 4; ++i) {
        const uchar ch = p[pos + i];
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' '))
            return false;
    }
    return true;
}

// Where the chunk after one at pos with size bytes starts: padded to an even offset, unless
// the writer forgot the pad byte and a chunk id sits right after the data.
qsizetype nextChunk(const uchar *p, qsizetype pos, quint32 size, qsizetype end)
{
    const qsizetype plain = pos + 8 + qsizetype(size);
    if (!(size & 1))
        return plain;
    if (!looksLikeId(p, plain + 1, end) && looksLikeId(p, plain, end))
        return plain;
    return plain + 1;
}

quint32 u32(const uchar *p)
{
    return qFromLittleEndian<quint32>(p);
}

platform::ErrorOr<QImage> readIcon(const uchar *p, qsizetype size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(p), size);
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "ico");
    QImage img = reader.read();
    if (img.isNull())
        return invalidData(QStringLiteral("cannot read cursor frame: %1").arg(reader.errorString()));
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

platform::ErrorOr<AniData> decodeAni(QByteArrayView data)
{
    AniData out;
    const auto *p = reinterpret_cast<const uchar *>(data.data());
    qsizetype end = data.size();
    if (end < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "ACON", 4) != 0)
        return invalidData(QStringLiteral("not an animated cursor file"));
    const qint64 riffEnd = qint64(u32(p + 4)) + 8;
    if (riffEnd >= 12 && riffEnd < end)
        end = qsizetype(riffEnd);

    bool haveHeader = false;
    QList<int> seq, rate;
    qint64 decodedBytes = 0;
    qsizetype pos = 12;
    while (pos + 8 <= end) {
        const uchar *id = p + pos;
        const quint32 size = u32(p + pos + 4);
        const qsizetype body = pos + 8;
        const qsizetype avail = qMin<qsizetype>(qsizetype(size), end - body);
        if (std::memcmp(id, "anih", 4) == 0) {
            uchar header[36] = {0};
            std::memcpy(header, p + body, size_t(qMin<qsizetype>(avail, 36)));
            out.headerFrames = int(qMin<quint32>(u32(header + 4), 0x7fffffff));
            out.headerSteps = int(qMin<quint32>(u32(header + 8), 0x7fffffff));
            out.defaultRate = int(qMin<quint32>(u32(header + 28), 0x7fffffff));
            haveHeader = true;
        } else if (std::memcmp(id, "rate", 4) == 0 || std::memcmp(id, "seq ", 4) == 0) {
            QList<int> &list = id[0] == 'r' ? rate : seq;
            list.clear();
            for (qsizetype i = 0; i + 4 <= avail; i += 4)
                list << int(qMin<quint32>(u32(p + body + i), 0x7fffffff));
        } else if (std::memcmp(id, "LIST", 4) == 0 && avail >= 4 && std::memcmp(p + body, "fram", 4) == 0) {
            const qsizetype listEnd = body + avail;
            qsizetype sub = body + 4;
            while (sub + 8 <= listEnd) {
                const quint32 subSize = u32(p + sub + 4);
                const qsizetype subAvail = qMin<qsizetype>(qsizetype(subSize), listEnd - sub - 8);
                if (std::memcmp(p + sub, "icon", 4) == 0) {
                    platform::ErrorOr<QImage> frame = readIcon(p + sub + 8, subAvail);
                    if (!frame)
                        return frame.error();
                    decodedBytes += frame->sizeInBytes();
                    if (decodedBytes > maxImageBytes())
                        return tooLarge(QStringLiteral("animated cursor too large"));
                    out.frames << *frame;
                }
                sub = nextChunk(p, sub, subSize, listEnd);
            }
        }
        pos = nextChunk(p, pos, size, end);
    }
    if (!haveHeader)
        return invalidData(QStringLiteral("animated cursor has no header"));
    if (out.frames.isEmpty())
        return invalidData(QStringLiteral("animated cursor has no frames"));
    const int frameCount = int(out.frames.size());
    if (seq.isEmpty()) {
        for (int i = 0; i < frameCount; ++i)
            out.sequence << i;
    } else {
        // Rates belong to steps: keep each kept step's rate beside it.
        QList<int> keptRates;
        for (int i = 0; i < seq.size(); ++i) {
            if (seq[i] < 0 || seq[i] >= frameCount)
                continue;
            out.sequence << seq[i];
            if (i < rate.size())
                keptRates << rate[i];
        }
        if (rate.size() >= seq.size())
            rate = keptRates;
        if (out.sequence.isEmpty())
            for (int i = 0; i < frameCount; ++i)
                out.sequence << i;
    }
    const int fallback = out.defaultRate > 0 ? out.defaultRate : FallbackRate;
    for (int i = 0; i < out.sequence.size(); ++i)
        out.rates << qMax(1, i < rate.size() ? rate[i] : fallback);
    return out;
}

} // namespace pictures
