#include "ViewerMedia.h"

#include "MediaWriters.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdlib>
#include <gif_lib.h>
#include <uemf.h>
#include <uwmf.h>

namespace viewertest {

namespace {

QByteArray written(const QImage &image, const char *format,
                   const std::function<void(QImageWriter &)> &tune = {})
{
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    if (tune)
        tune(writer);
    if (!writer.write(image))
        return {};
    return buf.data();
}

QByteArray readBack(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void put16(QByteArray &b, int at, int v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}

QRgb paletteColour(int i)
{
    return qRgb(i, 255 - i, (i * 3) & 0xff);
}

int gifWrite(GifFileType *gif, const GifByteType *bytes, int n)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(bytes), n);
    return n;
}

} // namespace

QImage pattern(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x ^ y) & 0xff));
    return img;
}

QByteArray bmpBytes(QSize size)
{
    return written(pattern(size), "bmp");
}

QByteArray jpegBytes(QSize size, bool progressive)
{
    return written(pattern(size), "jpeg", [progressive](QImageWriter &w) {
        w.setQuality(85);
        w.setProgressiveScanWrite(progressive);
    });
}

QByteArray tiffBytes(QSize size)
{
    return written(pattern(size), "tiff");
}

QByteArray pcxBytes(QSize size)
{
    const int w = size.width(), h = size.height();
    const int bytesPerLine = (w + 1) & ~1;
    QByteArray out(128, '\0');
    out[0] = 10; // manufacturer
    out[1] = 5;  // version with a 256-colour palette
    out[2] = 1;  // run-length coded
    out[3] = 8;  // bits a pixel
    put16(out, 8, w - 1);
    put16(out, 10, h - 1);
    put16(out, 12, 96);
    put16(out, 14, 96);
    out[65] = 1; // one plane
    put16(out, 66, bytesPerLine);
    put16(out, 68, 1);
    for (int y = 0; y < h; ++y) {
        QByteArray line(bytesPerLine, '\0');
        for (int x = 0; x < w; ++x)
            line[x] = char((x * 7 + y * 13) & 0xff);
        for (int x = 0; x < bytesPerLine;) {
            int run = 1;
            while (x + run < bytesPerLine && run < 63 && line[x + run] == line[x])
                ++run;
            const auto value = uchar(line[x]);
            if (run > 1 || value >= 0xC0)
                out.append(char(0xC0 | run));
            out.append(char(value));
            x += run;
        }
    }
    out.append(char(0x0C));
    for (int i = 0; i < 256; ++i) {
        const QRgb c = paletteColour(i);
        out.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    return out;
}

QByteArray gifBytes(QSize size)
{
    QByteArray out;
    int error = 0;
    GifFileType *gif = EGifOpen(&out, gifWrite, &error);
    if (!gif)
        return {};
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) {
        const QRgb c = paletteColour(i);
        colours[i] = GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }
    ColorMapObject *map = GifMakeMapObject(256, colours);
    bool ok = EGifPutScreenDesc(gif, size.width(), size.height(), 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, size.width(), size.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(size_t(size.width()));
    for (int y = 0; ok && y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            line[size_t(x)] = GifPixelType((x * 7 + y * 13) & 0xff);
        ok = EGifPutLine(gif, line.data(), size.width()) == GIF_OK;
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return ok ? out : QByteArray();
}

QByteArray wmfBytes(QSize pixels, bool withEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.wmf");
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    wmf_start(path.toLocal8Bit().constData(), 100000, 50000, &wt);
    wmf_htable_create(16, 16, &wht);
    // Inches of the placeable header at 96 dots an inch; 1440 units an inch.
    U_PAIRF inches{float(pixels.width()) / 96.0f, float(pixels.height()) / 96.0f};
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(&inches, 1440)), wt, 1);
    auto add = [&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); };
    const int w = pixels.width() * 15, h = pixels.height() * 15;
    add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    add(U_WMRSETWINDOWEXT_set(point16_set(int16_t(w), int16_t(h))));
    uint32_t brush = 0;
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(200, 0, 0), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRRECTANGLE_set(U_RECT16_set(point16_set(0, 0), point16_set(int16_t(w / 2), int16_t(h / 2)))));
    if (withEnd)
        add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return readBack(path);
}

QByteArray emfBytes(QSize pixels, bool withEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.emf");
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    emf_start(path.toLocal8Bit().constData(), 100000, 50000, &et);
    emf_htable_create(16, 16, &eht);
    auto rect = [](int l, int t, int r, int b) { return rectl_set(pointl_set(l, t), pointl_set(r, b)); };
    auto add = [&](char *rec) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(rec), et, U_REC_FREE); };
    const int w = pixels.width(), h = pixels.height();
    // The frame in hundredths of a millimetre: 2540 an inch of 96 pixels.
    add(U_EMRHEADER_set(rect(0, 0, w - 1, h - 1), rect(0, 0, w * 2540 / 96, h * 2540 / 96), nullptr, 0,
                        nullptr, sizel_set(1920, 1080), sizel_set(508, 286), 0));
    uint32_t brush = 0;
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, colorref3_set(0, 0, 200), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRRECTANGLE_set(rect(0, 0, w / 2, h / 2)));
    if (withEnd)
        add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
    return readBack(path);
}

QByteArray wavBytes(int ms)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.wav");
    if (!mediatest::writeSineWav(path, "pcm_s16le", 440.0, ms, 22050))
        return {};
    return readBack(path);
}

QByteArray midiBytes(int ms)
{
    // 480 ticks a beat of 500 ms.
    const auto ticks = uint32_t(ms * 480 / 500);
    mediatest::MidiTrackBuilder t;
    t.tempo(0, 500000);
    t.program(0, 0, 0);
    t.noteOn(0, 0, 60, 100);
    t.noteOff(ticks, 0, 60);
    t.endOfTrack(0);
    return mediatest::midiFile(0, 480, {t.bytes});
}

} // namespace viewertest
