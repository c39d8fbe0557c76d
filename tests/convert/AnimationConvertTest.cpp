// Animations made by ImageMagick (a GIF with disposal and delays of 0 to 50 hundredths) and the
// fixtures' cursor, converted to animated PNG and animated WebP: every frame's pixels, every delay
// and the play count as the viewer plays them, read back by ffmpeg and by libwebp.
#include "ConvertTestSupport.h"

#include "components/TAniFile.h"
#include "convert/AnimationConverter.h"
#include "convert/Converter.h"
#include "convert/PictureConverter.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>
#include <webp/demux.h>

using namespace converttest;

namespace {

struct Apng
{
    int plays = -1;
    QList<int> delaysMs;
};

// The acTL and fcTL chunks of an animated PNG.
Apng readApng(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray d = f.readAll();
    Apng a;
    for (qsizetype i = 8; i + 12 <= d.size();) {
        const auto *p = reinterpret_cast<const uchar *>(d.constData() + i);
        const quint32 length = qFromBigEndian<quint32>(p);
        const QByteArray type = d.mid(i + 4, 4);
        if (type == "acTL" && length >= 8)
            a.plays = int(qFromBigEndian<quint32>(p + 12));
        if (type == "fcTL" && length >= 26) {
            const int num = qFromBigEndian<quint16>(p + 8 + 20), den = qFromBigEndian<quint16>(p + 8 + 22);
            a.delaysMs << (den ? num * 1000 / den : num * 10);
        }
        i += 12 + qsizetype(length);
    }
    return a;
}

// ffmpeg's decoding of an animated PNG, one picture per frame.
QList<QImage> ffmpegFrames(const QString &path, const QString &folder)
{
    QDir().mkpath(folder);
    if (!runTool("ffmpeg", {"-v", "error", "-f", "apng", "-i", path, "-vsync", "passthrough", "-pix_fmt",
                            "rgba", folder + "/f-%03d.png"}))
        return {};
    QList<QImage> frames;
    for (const QString &name : QDir(folder).entryList({"f-*.png"}, QDir::Files, QDir::Name))
        frames << QImage(folder + "/" + name);
    return frames;
}

struct WebpAnimation
{
    QList<QImage> frames;
    QList<int> delaysMs;
    int plays = -1;
};

// libwebp's own decoding of an animated (or still) WebP: the canvas after each frame.
WebpAnimation readWebp(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    WebPData data{reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())};
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        return {};
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder *decoder = WebPAnimDecoderNew(&data, &options);
    if (!decoder)
        return {};
    WebPAnimInfo info;
    WebpAnimation a;
    if (WebPAnimDecoderGetInfo(decoder, &info)) {
        a.plays = int(info.loop_count);
        int before = 0;
        while (WebPAnimDecoderHasMoreFrames(decoder)) {
            uint8_t *pixels = nullptr;
            int timestamp = 0;
            if (!WebPAnimDecoderGetNext(decoder, &pixels, &timestamp))
                break;
            a.frames << QImage(pixels, int(info.canvas_width), int(info.canvas_height),
                               int(info.canvas_width) * 4, QImage::Format_RGBA8888)
                            .copy();
            a.delaysMs << timestamp - before;
            before = timestamp;
        }
    }
    WebPAnimDecoderDelete(decoder);
    return a;
}

platform::ErrorOr<QString> convertTo(const QString &input, const QString &folder, const QString &format)
{
    return convert::convertFile(convert::Job{input, folder, format}, convert::Options{});
}

} // namespace

TEST(AnimationConvert, AGifBecomesAnAnimatedPngWithItsFramesDelaysAndLoop)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const platform::ErrorOr<QString> out = convertTo(fixture("anim.gif"), tmp.path(), "png");
    ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
    const QList<QImage> frames = ffmpegFrames(*out, tmp.filePath("frames"));
    ASSERT_EQ(frames.size(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        // ImageMagick's own composition of the GIF's frames.
        EXPECT_TRUE(samePixels(frames[i], QImage(fixture(QStringLiteral("anim-%1.png").arg(i)))));
    }
    const Apng apng = readApng(*out);
    // Written 0, 0, 25 and 50 hundredths: the first two raised to a tenth, as the player does.
    EXPECT_EQ(apng.delaysMs, QList<int>({100, 100, 250, 500}));
    EXPECT_EQ(apng.plays, 2); // a loop block that repeats once
}

TEST(AnimationConvert, ACursorPlaysItsStepsAtItsRatesForever)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    TAniFile ani;
    ASSERT_TRUE(ani.loadFromFile(fixture("cursor.ani")).ok());
    ASSERT_GT(ani.stepCount(), 1);
    const platform::ErrorOr<QString> out = convertTo(fixture("cursor.ani"), tmp.path(), "png");
    ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
    EXPECT_TRUE(out->endsWith("cursor.png"));
    const QList<QImage> frames = ffmpegFrames(*out, tmp.filePath("frames"));
    ASSERT_EQ(frames.size(), ani.stepCount());
    QList<int> delays;
    for (int step = 0; step < ani.stepCount(); ++step) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(samePixels(frames[step], ani.stepImage(step)));
        delays << ani.stepMs(step);
    }
    const Apng apng = readApng(*out);
    EXPECT_EQ(apng.delaysMs, delays);
    EXPECT_EQ(apng.plays, 0);
}

TEST(AnimationConvert, AnimatedWebpKeepsEveryFrameItsTimeTheLoopAndTransparency)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // The GIF, as the APNG test reads it: ImageMagick's composition of its frames.
    const platform::ErrorOr<QString> gif = convertTo(fixture("anim.gif"), tmp.path(), "webp");
    ASSERT_TRUE(gif.ok()) << gif.error().message.toStdString();
    EXPECT_TRUE(gif->endsWith("anim.webp"));
    const WebpAnimation fromGif = readWebp(*gif);
    ASSERT_EQ(fromGif.frames.size(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(samePixels(fromGif.frames[i], QImage(fixture(QStringLiteral("anim-%1.png").arg(i)))));
    }
    EXPECT_EQ(fromGif.delaysMs, QList<int>({100, 100, 250, 500}));
    EXPECT_EQ(fromGif.plays, 2);

    // The cursor: its steps at their rates, forever, its transparent pixels kept.
    TAniFile ani;
    ASSERT_TRUE(ani.loadFromFile(fixture("cursor.ani")).ok());
    const platform::ErrorOr<QString> cursor = convertTo(fixture("cursor.ani"), tmp.path(), "webp");
    ASSERT_TRUE(cursor.ok()) << cursor.error().message.toStdString();
    const WebpAnimation fromAni = readWebp(*cursor);
    ASSERT_EQ(fromAni.frames.size(), ani.stepCount());
    QList<int> delays;
    for (int step = 0; step < ani.stepCount(); ++step) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(samePixels(fromAni.frames[step], ani.stepImage(step)));
        delays << ani.stepMs(step);
    }
    EXPECT_EQ(fromAni.delaysMs, delays);
    EXPECT_EQ(fromAni.plays, 0);
    EXPECT_TRUE(fromAni.frames.first().hasAlphaChannel());
    // A still GIF still becomes a still WebP.
    ASSERT_TRUE(convertTo(fixture("rose.gif"), tmp.path(), "webp").ok());
    EXPECT_EQ(readWebp(tmp.filePath("rose.webp")).frames.size(), 1);
    // A damaged animation leaves nothing behind.
    EXPECT_FALSE(convertTo(fixture("damaged-truncated.gif"), tmp.filePath("out"), "webp").ok());
    EXPECT_TRUE(filesBelow(tmp.filePath("out")).isEmpty());
}

TEST(AnimationConvert, AnAnimatedGifIsNoStillPictureButOneFrameIs)
{
    const platform::ErrorOr<QImage> still = convert::decodePicture(fixture("anim.gif"));
    ASSERT_FALSE(still.ok());
    EXPECT_TRUE(still.error().message.contains("animated"));
    EXPECT_TRUE(convert::isAnimatedPicture(fixture("anim.gif")));
    EXPECT_FALSE(convert::isAnimatedPicture(fixture("rose.gif")));
    EXPECT_FALSE(convert::isAnimatedPicture(fixture("damaged-truncated.gif")));
}

// Pictures that differ by the rounding of half-transparent pixels at most (premultiplied on the way).
bool closePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            if (qAlpha(p) == 0 && qAlpha(q) == 0)
                continue;
            if (std::abs(qAlpha(p) - qAlpha(q)) > 2 || std::abs(qRed(p) - qRed(q)) > 3 ||
                std::abs(qGreen(p) - qGreen(q)) > 3 || std::abs(qBlue(p) - qBlue(q)) > 3)
                return false;
        }
    return true;
}

// PNG and WebP may be either: an animated one converts as an animation, frame for frame, into the
// other format; a still one as a picture, its alpha kept.
TEST(AnimationConvert, ApngAndAnimatedWebpBecomeEachOtherStillOnesStayPictures)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    EXPECT_TRUE(convert::isAnimatedPicture(fixture("alpha-anim.apng")));
    EXPECT_TRUE(convert::isAnimatedPicture(fixture("alpha-anim.webp")));
    EXPECT_FALSE(convert::isAnimatedPicture(fixture("alpha.png")));
    EXPECT_FALSE(convert::isAnimatedPicture(fixture("rose.webp")));
    EXPECT_FALSE(convert::decodePicture(fixture("alpha-anim.apng")).ok());

    const platform::ErrorOr<QString> webp = convertTo(fixture("alpha-anim.apng"), tmp.filePath("w"), "webp");
    ASSERT_TRUE(webp.ok()) << webp.error().message.toStdString();
    const WebpAnimation fromApng = readWebp(*webp);
    ASSERT_EQ(fromApng.frames.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(
            closePixels(fromApng.frames[i], QImage(fixture(QStringLiteral("alpha-anim-%1.png").arg(i)))))
            << i;

    const platform::ErrorOr<QString> apng = convertTo(fixture("alpha-anim.webp"), tmp.filePath("p"), "png");
    ASSERT_TRUE(apng.ok()) << apng.error().message.toStdString();
    EXPECT_EQ(ffmpegFrames(*apng, tmp.filePath("frames")).size(), 3);

    const platform::ErrorOr<QString> still = convertTo(fixture("alpha.png"), tmp.filePath("s"), "webp");
    ASSERT_TRUE(still.ok()) << still.error().message.toStdString();
    const QImage back = QImageReader(*still).read();
    EXPECT_TRUE(back.hasAlphaChannel());
    EXPECT_TRUE(closePixels(back, QImage(fixture("alpha.png"))));
    EXPECT_FALSE(convertTo(fixture("damaged-header.webp"), tmp.filePath("d"), "png").ok());
    EXPECT_TRUE(filesBelow(tmp.filePath("d")).isEmpty());
}

// Whether a PNG or WebP is an animation is read from its first chunks, also in files far larger
// than what is read of them.
TEST(AnimationConvert, LargePngsAndWebpsAreToldAnimatedFromTheirHead)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString still = tmp.filePath("bruit.png"), moving = tmp.filePath("bruit.apng");
    const QString webp = tmp.filePath("bruit.webp");
    // Noise, which nothing compresses below the part read.
    ASSERT_TRUE(runTool("convert", {"-size", "640x640", "xc:gray", "+noise", "Random", still}));
    ASSERT_TRUE(runTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i",
                                   "nullsrc=s=640x480:r=5,geq=random(1)*255:128:128", "-frames:v", "3",
                                   "-plays", "0", "-f", "apng", moving}));
    // Two frames that differ (img2webp makes one of two equal ones).
    const QString other = tmp.filePath("autre.png");
    ASSERT_TRUE(runTool("convert", {"-size", "640x640", "xc:gray", "+noise", "Random", other}));
    ASSERT_TRUE(runTool("img2webp", {"-lossless", still, other, "-o", webp}));
    for (const QString &path : {still, moving, webp})
        ASSERT_GT(QFileInfo(path).size(), 256 * 1024) << path.toStdString();
    EXPECT_FALSE(convert::isAnimatedPicture(still));
    EXPECT_TRUE(convert::isAnimatedPicture(moving));
    EXPECT_TRUE(convert::isAnimatedPicture(webp));
}
