#include "components/decoders/GifDecoder.h"

#include "components/decoders/ImageLimits.h"

#include <QPainter>
#include <QtEndian>
#include <cstring>
#include <vector>

namespace pictures {

namespace {

// Bounds-checked reader over the file.
struct Cursor
{
    const uchar *p;
    qsizetype size;
    qsizetype pos = 0;
    bool has(qsizetype n) const { return pos + n <= size; }
    int byte() { return p[pos++]; }
    int word()
    {
        const int v = p[pos] | (p[pos + 1] << 8);
        pos += 2;
        return v;
    }
    // Skips a chain of sub-blocks; false when the file ends inside it.
    bool skipSubBlocks()
    {
        while (has(1)) {
            const int len = byte();
            if (len == 0)
                return true;
            if (!has(len))
                return false;
            pos += len;
        }
        return false;
    }
};

bool readPalette(Cursor &c, int flags, QList<QRgb> &palette)
{
    const int count = 1 << ((flags & 7) + 1);
    if (!c.has(3 * qsizetype(count)))
        return false;
    palette.resize(count);
    for (int i = 0; i < count; ++i) {
        const uchar *q = c.p + c.pos + 3 * i;
        palette[i] = qRgb(q[0], q[1], q[2]);
    }
    c.pos += 3 * count;
    return true;
}

} // namespace

platform::ErrorOr<GifFacts> scanGif(QByteArrayView data)
{
    GifFacts facts;
    Cursor c{reinterpret_cast<const uchar *>(data.data()), data.size()};
    if (!c.has(13) || (std::memcmp(c.p, "GIF87a", 6) != 0 && std::memcmp(c.p, "GIF89a", 6) != 0))
        return invalidData(QStringLiteral("not a GIF file"));
    c.pos = 6;
    facts.width = c.word();
    facts.height = c.word();
    const int flags = c.byte();
    c.pos += 2; // background colour, aspect ratio
    QList<QRgb> global;
    if ((flags & 0x80) && !readPalette(c, flags, global))
        return invalidData(QStringLiteral("GIF colour table truncated"));

    GifFrameInfo pending; // carries the graphic control block to the next image
    bool ended = false;
    while (!ended && c.has(1)) {
        const int kind = c.byte();
        if (kind == 0x3b) {
            ended = true;
        } else if (kind == 0x21) {
            if (!c.has(1))
                break;
            const int label = c.byte();
            const qsizetype start = c.pos;
            if (label == 0xf9 && c.has(5) && c.p[c.pos] >= 4) {
                const int packed = c.p[c.pos + 1];
                pending.disposal = (packed >> 2) & 7;
                pending.delayCs = qFromLittleEndian<quint16>(c.p + c.pos + 2);
                pending.transparentIndex = (packed & 1) ? c.p[c.pos + 4] : -1;
            } else if (label == 0xff && c.has(12 + 4) && c.p[c.pos] == 11 &&
                       (std::memcmp(c.p + c.pos + 1, "NETSCAPE2.0", 11) == 0 ||
                        std::memcmp(c.p + c.pos + 1, "ANIMEXTS1.0", 11) == 0) &&
                       c.p[c.pos + 12] >= 3 && c.p[c.pos + 13] == 1) {
                facts.loopCount = qFromLittleEndian<quint16>(c.p + c.pos + 14);
            }
            c.pos = start;
            if (!c.skipSubBlocks())
                break;
        } else if (kind == 0x2c) {
            if (!c.has(9))
                break;
            GifFrameInfo frame = pending;
            pending = GifFrameInfo();
            const int x = c.word(), y = c.word(), w = c.word(), h = c.word();
            const int f = c.byte();
            frame.rect = QRect(x, y, w, h);
            frame.interlaced = f & 0x40;
            if (f & 0x80) {
                if (!readPalette(c, f, frame.palette))
                    break;
            } else {
                frame.palette = global;
            }
            if (!c.has(1))
                break;
            frame.minCodeSize = c.byte();
            frame.dataOffset = c.pos;
            if (!c.skipSubBlocks())
                break; // cut short: dropped
            facts.interlaced = facts.interlaced || frame.interlaced;
            facts.transparent = facts.transparent || frame.transparentIndex >= 0;
            facts.frames << frame;
        } else {
            break; // not a block: the rest is damage
        }
    }
    if (facts.frames.isEmpty())
        return invalidData(QStringLiteral("GIF file has no complete image"));
    if (facts.width == 0 || facts.height == 0) {
        // Some writers leave the screen empty: the frames decide.
        QRect all;
        for (const auto &fr : std::as_const(facts.frames))
            all |= fr.rect;
        facts.width = all.right() + 1;
        facts.height = all.bottom() + 1;
    }
    if (!imageSizeAllowed(facts.width, facts.height))
        return sizeRefusal(facts.width, facts.height, QStringLiteral("GIF screen too large"));
    return facts;
}

int gifFrameDelayMs(int delayCs)
{
    return delayCs <= 1 ? 100 : delayCs * 10;
}

GifComposer::GifComposer(const QByteArray &data, const GifFacts &facts) : m_data(data), m_facts(facts)
{
    reset();
}

void GifComposer::reset()
{
    m_index = -1;
    m_saved = QImage();
    if (m_facts.frames.isEmpty())
        return;
    m_canvas = QImage(m_facts.width, m_facts.height, QImage::Format_ARGB32);
    m_canvas.fill(Qt::transparent);
}

bool GifComposer::advance()
{
    if (m_facts.frames.isEmpty() || m_canvas.isNull())
        return false;
    if (m_index + 1 >= frameCount())
        reset();
    if (m_index >= 0) {
        const GifFrameInfo &prev = m_facts.frames[m_index];
        if (prev.disposal == 2) {
            QPainter p(&m_canvas);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.fillRect(prev.rect, Qt::transparent);
        } else if (prev.disposal == 3 && !m_saved.isNull()) {
            m_canvas = m_saved;
        }
    }
    ++m_index;
    const GifFrameInfo &frame = m_facts.frames[m_index];
    if (frame.disposal == 3)
        m_saved = m_canvas.copy();
    drawFrame(frame);
    return true;
}

// LZW decoding straight onto the canvas: no buffer the size of the frame, so a frame far larger
// than the screen costs no memory.
void GifComposer::drawFrame(const GifFrameInfo &frame)
{
    const int fw = frame.rect.width(), fh = frame.rect.height();
    const int minCode = frame.minCodeSize;
    if (fw <= 0 || fh <= 0 || minCode < 2 || minCode > 8 || !frame.rect.intersects(m_canvas.rect()) ||
        !imageSizeAllowed(fw, fh))
        return;
    const qint64 total = qint64(fw) * fh;
    const int cw = m_canvas.width(), ch = m_canvas.height();
    const auto *src = reinterpret_cast<const uchar *>(m_data.constData());
    const qsizetype size = m_data.size();

    qint64 written = 0;
    // Rows of an interlaced frame come in four passes.
    auto rowOf = [&](qint64 r) -> qint64 {
        if (!frame.interlaced)
            return r;
        const qint64 p1 = (fh + 7) / 8, p2 = (fh + 3) / 8, p3 = (fh + 1) / 4;
        if (r < p1)
            return r * 8;
        r -= p1;
        if (r < p2)
            return r * 8 + 4;
        r -= p2;
        if (r < p3)
            return r * 4 + 2;
        return (r - p3) * 2 + 1;
    };
    // The canvas row of frame row r, or null when it lies off the canvas.
    auto lineOf = [&](qint64 r) -> QRgb * {
        const qint64 y = frame.rect.y() + rowOf(r);
        return (y >= 0 && y < ch) ? reinterpret_cast<QRgb *>(m_canvas.scanLine(int(y))) : nullptr;
    };
    // The next pixel's row and column are counted as pixels come: no division a pixel.
    qint64 row = 0;
    int col = 0;
    QRgb *line = lineOf(0);
    const QRgb *palette = frame.palette.constData();
    const int paletteSize = int(frame.palette.size());
    const int left = frame.rect.x(), transparent = frame.transparentIndex;
    auto put = [&](int index) {
        const int x = left + col;
        if (line && x >= 0 && x < cw && index != transparent && index < paletteSize)
            line[x] = palette[index];
        ++written;
        if (++col == fw) {
            col = 0;
            ++row;
            line = row < fh ? lineOf(row) : nullptr;
        }
    };

    const int clear = 1 << minCode, eoi = clear + 1;
    int codeSize = minCode + 1, next = eoi + 1, prev = -1, first = 0;
    std::vector<quint16> prefix(4096);
    std::vector<uchar> suffix(4096), stack(4097);
    for (int i = 0; i < clear; ++i)
        suffix[size_t(i)] = uchar(i);

    qsizetype pos = frame.dataOffset, blockLeft = 0;
    quint32 bits = 0;
    int bitCount = 0;
    while (written < total) {
        while (bitCount < codeSize) {
            if (blockLeft == 0) {
                if (pos >= size || src[pos] == 0)
                    return; // data ended early: the rest of the frame stays as it was
                blockLeft = src[pos++];
            }
            if (pos >= size)
                return;
            bits |= quint32(src[pos++]) << bitCount;
            bitCount += 8;
            --blockLeft;
        }
        int code = int(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;
        if (code == clear) {
            codeSize = minCode + 1;
            next = eoi + 1;
            prev = -1;
            continue;
        }
        if (code == eoi)
            return;
        if (prev < 0) {
            if (code >= clear)
                return;
            put(code);
            prev = first = code;
            continue;
        }
        int sp = 0, in = code;
        if (code > next || (code == next && next >= 4096))
            return; // damaged stream
        if (code == next) {
            stack[size_t(sp++)] = uchar(first);
            in = prev;
        }
        while (in >= clear && sp < 4096) {
            stack[size_t(sp++)] = suffix[size_t(in)];
            in = prefix[size_t(in)];
        }
        stack[size_t(sp++)] = suffix[size_t(in)];
        first = suffix[size_t(in)];
        while (sp > 0 && written < total)
            put(stack[size_t(--sp)]);
        if (next < 4096) {
            prefix[size_t(next)] = quint16(prev);
            suffix[size_t(next)] = uchar(first);
            ++next;
            if (next == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        prev = code;
    }
}

} // namespace pictures
