// GIF facts from the block structure, frame composition and playback of TGIFImage.
#include "PictureTestSupport.h"

#include "components/TGIFImage.h"
#include "components/decoders/GifDecoder.h"

#include <QTemporaryDir>

using namespace picturetest;

namespace {

// Writes small GIFs by hand: a 4-colour global palette (black, red, green, blue) and image data
// as literal LZW codes with a clear code every two, so the code size never grows.
struct GifFrameDesc
{
    QRect rect;
    QList<int> pixels; // row by row, in display order
    int delayCs = 10;
    int disposal = 0;
    int transparent = -1;
    bool interlaced = false;
};

QByteArray lzwLiterals(const QList<int> &indices)
{
    QList<int> codes{4};
    int sinceClear = 0;
    for (int v : indices) {
        if (sinceClear == 2) {
            codes << 4;
            sinceClear = 0;
        }
        codes << v;
        ++sinceClear;
    }
    codes << 5;
    QByteArray bytes;
    quint32 acc = 0;
    int bits = 0;
    for (int c : codes) {
        acc |= quint32(c) << bits;
        bits += 3;
        while (bits >= 8) {
            bytes.append(char(acc & 0xff));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits)
        bytes.append(char(acc & 0xff));
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); i += 255) {
        const QByteArray part = bytes.mid(i, 255);
        out.append(char(part.size()));
        out.append(part);
    }
    out.append('\0');
    return out;
}

QByteArray makeGif(QSize screen, const QList<GifFrameDesc> &frames, int loop = -1)
{
    QByteArray g("GIF89a");
    auto word = [&](int v) {
        g.append(char(v & 0xff));
        g.append(char((v >> 8) & 0xff));
    };
    word(screen.width());
    word(screen.height());
    g.append(char(0x81)); // global table of 4 colours
    g.append('\0');
    g.append('\0');
    g.append(QByteArray("\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff", 12));
    if (loop >= 0) {
        g.append("\x21\xff\x0bNETSCAPE2.0\x03\x01");
        word(loop);
        g.append('\0');
    }
    for (const GifFrameDesc &f : frames) {
        g.append("\x21\xf9\x04", 3);
        g.append(char((f.disposal << 2) | (f.transparent >= 0 ? 1 : 0)));
        word(f.delayCs);
        g.append(char(f.transparent >= 0 ? f.transparent : 0));
        g.append('\0');
        g.append(',');
        word(f.rect.x());
        word(f.rect.y());
        word(f.rect.width());
        word(f.rect.height());
        g.append(char(f.interlaced ? 0x40 : 0));
        g.append(char(2));
        QList<int> order = f.pixels;
        if (f.interlaced) {
            order.clear();
            const int w = f.rect.width(), h = f.rect.height();
            for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
                for (int y = start; y < h; y += step)
                    order << f.pixels.mid(y * w, w);
        }
        g.append(lzwLiterals(order));
    }
    g.append(';');
    return g;
}

QString writeTemp(QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return path;
}

GifFrameDesc solid(QRect r, int index, int disposal = 0, int delay = 10)
{
    GifFrameDesc f;
    f.rect = r;
    f.pixels = QList<int>(r.width() * r.height(), index);
    f.disposal = disposal;
    f.delayCs = delay;
    return f;
}

} // namespace

class GifTest : public ::testing::Test
{
protected:
    void SetUp() override { ensureApp(); }
    QTemporaryDir dir;
};

TEST_F(GifTest, FactsOfImageMagickFixtures)
{
    TGIFImage gif;
    ASSERT_TRUE(gif.loadFromFile(fixture("rose.gif")));
    EXPECT_EQ(gif.imageWidth(), 70);
    EXPECT_EQ(gif.imageHeight(), 46);
    EXPECT_EQ(gif.frameCount(), 1);
    EXPECT_FALSE(gif.isAnimated());
    EXPECT_FALSE(gif.isInterlaced());
    EXPECT_FALSE(gif.isTransparent());
    EXPECT_EQ(gif.speed(), 100);

    ASSERT_TRUE(gif.loadFromFile(fixture("rose-interlaced.gif")));
    EXPECT_TRUE(gif.isInterlaced());
    EXPECT_FALSE(gif.isTransparent());
    ASSERT_TRUE(gif.loadFromFile(fixture("rose-transparent.gif")));
    EXPECT_TRUE(gif.isTransparent());
    EXPECT_FALSE(gif.isInterlaced());

    ASSERT_TRUE(gif.loadFromFile(fixture("anim.gif")));
    EXPECT_EQ(gif.frameCount(), 4);
    EXPECT_TRUE(gif.isAnimated());
    EXPECT_EQ(gif.loopCount(), 1);
    EXPECT_EQ(gif.imageWidth(), 40);
    EXPECT_EQ(gif.imageHeight(), 30);
}

TEST_F(GifTest, FramesMatchImageMagick)
{
    TGIFImage gif;
    for (const char *name : {"rose.gif", "rose-interlaced.gif", "rose-transparent.gif"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(gif.loadFromFile(fixture(name)));
        EXPECT_EQ(
            maxChannelDifference(gif.currentFrame(), QImage(fixture(QString::fromLatin1(name) + ".png"))), 0);
    }
    // Composed with disposals none, background (cleared) and previous (restored).
    ASSERT_TRUE(gif.loadFromFile(fixture("anim.gif")));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(gif.currentIndex(), i);
        EXPECT_EQ(maxChannelDifference(gif.currentFrame(), QImage(fixture(QString("anim-%1.png").arg(i)))),
                  0);
        gif.advanceFrame();
    }
}

TEST_F(GifTest, DelaysAreRaisedAndScaledBySpeed)
{
    EXPECT_EQ(pictures::gifFrameDelayMs(0), 100);
    EXPECT_EQ(pictures::gifFrameDelayMs(1), 100);
    EXPECT_EQ(pictures::gifFrameDelayMs(2), 20);
    TGIFImage gif;
    ASSERT_TRUE(gif.loadFromFile(fixture("anim.gif")));
    EXPECT_EQ(gif.currentDelayMs(), 100); // written as 0
    gif.advanceFrame();
    gif.advanceFrame();
    EXPECT_EQ(gif.currentDelayMs(), 250);
    gif.setSpeed(200);
    EXPECT_EQ(gif.currentDelayMs(), 125);
}

TEST_F(GifTest, LoopCountOfTheFileIsHonoured)
{
    TGIFImage gif;
    ASSERT_TRUE(gif.loadFromFile(fixture("anim.gif"))); // repeats once: two plays
    int steps = 0;
    while (gif.advanceFrame() && steps < 100)
        ++steps;
    EXPECT_EQ(steps, 2 * 4 - 1);
    EXPECT_EQ(gif.currentIndex(), 3); // stays on the last frame

    gif.setLoop(false);
    ASSERT_TRUE(gif.loadFromFile(fixture("anim.gif")));
    steps = 0;
    while (gif.advanceFrame() && steps < 100)
        ++steps;
    EXPECT_EQ(steps, 3);

    // No loop block: one play; loop count 0: for ever.
    gif.setLoop(true);
    const QList<GifFrameDesc> two{solid({0, 0, 2, 2}, 1), solid({0, 0, 2, 2}, 2)};
    ASSERT_TRUE(gif.loadFromFile(writeTemp(dir, "once.gif", makeGif({2, 2}, two))));
    EXPECT_EQ(gif.loopCount(), -1);
    EXPECT_TRUE(gif.advanceFrame());
    EXPECT_FALSE(gif.advanceFrame());
    ASSERT_TRUE(gif.loadFromFile(writeTemp(dir, "ever.gif", makeGif({2, 2}, two, 0))));
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(gif.advanceFrame());
}

TEST_F(GifTest, AnimateRunsAndStopFreezesTheFrame)
{
    TGIFImage gif;
    ASSERT_TRUE(gif.loadFromFile(fixture("anim.gif")));
    EXPECT_FALSE(gif.isRunning());
    gif.setAnimate(true);
    EXPECT_TRUE(gif.isRunning());
    gif.advanceFrame();
    const int index = gif.currentIndex();
    const QImage frame = gif.currentFrame();
    gif.setAnimate(false);
    EXPECT_FALSE(gif.isRunning());
    EXPECT_EQ(gif.currentIndex(), index);
    EXPECT_EQ(gif.currentFrame(), frame);
    // A single frame has nothing to play.
    ASSERT_TRUE(gif.loadFromFile(fixture("rose.gif")));
    gif.setAnimate(true);
    EXPECT_FALSE(gif.isRunning());
}

TEST_F(GifTest, HandMadeFramesComposeAndReportFacts)
{
    GifFrameDesc first = solid({0, 0, 4, 4}, 1, 0);  // red, kept
    GifFrameDesc second = solid({1, 1, 2, 2}, 2, 3); // green, then the red under it restored
    GifFrameDesc third;
    third.rect = QRect(0, 0, 4, 4);
    third.interlaced = true;
    third.transparent = 0;
    for (int i = 0; i < 16; ++i)
        third.pixels << (i / 4 == 2 ? 3 : 0); // row 2 blue, the rest transparent
    TGIFImage gif;
    ASSERT_TRUE(gif.loadFromFile(writeTemp(dir, "hand.gif", makeGif({4, 4}, {first, second, third}, 0))));
    EXPECT_EQ(gif.frameCount(), 3);
    EXPECT_TRUE(gif.isAnimated());
    EXPECT_TRUE(gif.isInterlaced());
    EXPECT_TRUE(gif.isTransparent());
    EXPECT_EQ(gif.currentFrame().pixel(0, 0), qRgb(255, 0, 0));
    gif.advanceFrame();
    EXPECT_EQ(gif.currentFrame().pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(gif.currentFrame().pixel(0, 0), qRgb(255, 0, 0));
    gif.advanceFrame();
    EXPECT_EQ(gif.currentFrame().pixel(1, 1), qRgb(255, 0, 0)); // restored
    EXPECT_EQ(gif.currentFrame().pixel(3, 2), qRgb(0, 0, 255));
    EXPECT_EQ(gif.currentFrame().pixel(3, 3), qRgb(255, 0, 0)); // transparent index kept red
}

// Pixels are placed by counting rows and columns as they come: a frame that runs past the
// screen's right and bottom edges keeps each row at its place, and what lies outside is dropped.
TEST_F(GifTest, FrameCrossingTheScreenEdgesKeepsItsRows)
{
    GifFrameDesc frame;
    frame.rect = QRect(2, 1, 3, 4); // columns 2..4 and rows 1..4 of a 4 x 4 screen
    frame.pixels = {1, 2, 3, 3, 2, 1, 2, 0, 1, 1, 1, 1};
    frame.transparent = 0;
    const QByteArray data = makeGif({4, 4}, {frame});
    const platform::ErrorOr<pictures::GifFacts> facts = pictures::scanGif(data);
    ASSERT_TRUE(facts) << facts.error().message.toStdString();
    pictures::GifComposer composer(data, *facts);
    ASSERT_TRUE(composer.advance());
    const QImage &c = composer.canvas();
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    EXPECT_EQ(c.pixel(2, 1), red);
    EXPECT_EQ(c.pixel(3, 1), green); // its third column is off the screen
    EXPECT_EQ(c.pixel(2, 2), blue);
    EXPECT_EQ(c.pixel(3, 2), green);
    EXPECT_EQ(c.pixel(2, 3), green);
    EXPECT_EQ(qAlpha(c.pixel(3, 3)), 0); // transparent index: the canvas shows through
    EXPECT_EQ(qAlpha(c.pixel(1, 1)), 0); // left of the frame
    EXPECT_EQ(qAlpha(c.pixel(0, 3)), 0);
}

TEST_F(GifTest, TruncatedAndDamagedFiles)
{
    const QByteArray whole = makeGif({4, 4}, {solid({0, 0, 4, 4}, 1), solid({0, 0, 4, 4}, 2)});
    TGIFImage gif;
    // Cut inside the second frame: the complete first frame remains.
    ASSERT_TRUE(gif.loadFromFile(writeTemp(dir, "cut2.gif", whole.left(whole.size() - 6))));
    EXPECT_EQ(gif.frameCount(), 1);
    // Cut inside the first frame: nothing to show, and the picture loaded before stays.
    using Kind = platform::Error::Kind;
    const qsizetype firstEnd = whole.indexOf(',') + 12;
    platform::Status status = gif.loadFromFile(writeTemp(dir, "cut1.gif", whole.left(firstEnd)));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::InvalidData);
    EXPECT_EQ(status.message(), QStringLiteral("GIF file has no complete image"));
    EXPECT_EQ(gif.frameCount(), 1);
    status = gif.loadFromFile(fixture("damaged-truncated.gif"));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::InvalidData);
    status = gif.loadFromFile(fixture("no-such-file.gif"));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::FileOpen);
    status = gif.loadFromFile(fixture("rose.bmp"));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::InvalidData);
    EXPECT_EQ(status.message(), QStringLiteral("not a GIF file"));
    // A frame far outside a small screen is clipped, not drawn out of bounds.
    ASSERT_TRUE(gif.loadFromFile(writeTemp(dir, "outside.gif", makeGif({2, 2}, {solid({1, 1, 30, 30}, 3)}))));
    EXPECT_EQ(gif.currentFrame().pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(gif.currentFrame().pixel(0, 0)), 0);
    // A screen of 0 x 0 takes the frames' extent.
    ASSERT_TRUE(gif.loadFromFile(writeTemp(dir, "noscreen.gif", makeGif({0, 0}, {solid({2, 1, 3, 3}, 1)}))));
    EXPECT_EQ(gif.imageWidth(), 5);
    EXPECT_EQ(gif.imageHeight(), 4);
    // A screen too large for the picture limit is refused.
    status = gif.loadFromFile(writeTemp(dir, "huge.gif", makeGif({65535, 65535}, {solid({0, 0, 1, 1}, 1)})));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::TooLarge);
}

TEST_F(GifTest, TileAndCenterDrawing)
{
    TGIFImage gif;
    ASSERT_TRUE(gif.loadFromFile(fixture("rose.gif")));
    gif.resize(150, 100);
    const QImage frame = gif.currentFrame();
    gif.setTile(true);
    QImage shot = gif.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shot.pixel(70 + 5, 46 + 7), frame.pixel(5, 7));
    EXPECT_EQ(shot.pixel(140 + 3, 92 + 2), frame.pixel(3, 2));
    gif.setTile(false);
    gif.setCenter(true);
    shot = gif.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shot.pixel(40 + 5, 27 + 7), frame.pixel(5, 7));
}
