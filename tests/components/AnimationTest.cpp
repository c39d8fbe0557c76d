// PNG (still and animated) and WebP decoding, and the player control of those pictures.
#include "PictureTestSupport.h"

#include "components/TAnimatedImage.h"
#include "components/decoders/Animation.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/PngDecoder.h"
#include "components/decoders/WebpDecoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QtEndian>
#include <functional>

using namespace picturetest;
using pictures::Animation;

namespace {

// Largest difference of any premultiplied channel: what a composition onto a page shows.
int premultipliedDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return worst;
}

// Runs the event loop until done() holds or ms have passed; whether it holds.
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

Animation decodeFixture(const QString &name)
{
    platform::ErrorOr<Animation> a = pictures::decodeAnimation(readFixture(name));
    EXPECT_TRUE(a.ok()) << name.toStdString() << ": " << (a.ok() ? "" : a.error().message.toStdString());
    return a.ok() ? *a : Animation();
}

class AnimationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApp();
        m_limit = pictures::maxImageBytes();
    }
    void TearDown() override { pictures::setMaxImageBytes(m_limit); }

private:
    qint64 m_limit = 0;
};

} // namespace

TEST_F(AnimationTest, StillPicturesKeepTheirAlpha)
{
    for (const char *name : {"alpha.png", "alpha.webp"}) {
        SCOPED_TRACE(name);
        const Animation a = decodeFixture(QString::fromLatin1(name));
        ASSERT_EQ(a.frames.size(), 1);
        EXPECT_FALSE(a.animated());
        EXPECT_TRUE(a.transparent);
        EXPECT_EQ(a.size, QSize(8, 6));
        EXPECT_EQ(a.plays, 1);
        const QImage &f = a.frames[0];
        EXPECT_EQ(f.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(f.pixel(1, 1), qRgba(127, 0, 0, 127)); // red at half opacity (127), premultiplied
        EXPECT_EQ(f.pixel(6, 4), qRgba(0, 0, 255, 255));
    }
    // An opaque lossy WebP gives the pixels libwebp's own tool gives.
    const Animation rose = decodeFixture("rose.webp");
    ASSERT_EQ(rose.frames.size(), 1);
    EXPECT_FALSE(rose.transparent);
    QImage expected(fixture("rose.webp.png"));
    EXPECT_LE(premultipliedDifference(rose.frames[0], expected), 2);
}

TEST_F(AnimationTest, AnimatedPngFramesMatchTheirSources)
{
    const Animation a = decodeFixture("anim.apng");
    ASSERT_EQ(a.frames.size(), 3);
    EXPECT_TRUE(a.animated());
    EXPECT_EQ(a.size, QSize(32, 24));
    EXPECT_EQ(a.plays, 0);
    EXPECT_EQ(a.delaysMs, (QList<int>{200, 200, 200}));
    // The later frames are only the rows that changed: each must be composed on the one before.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(
            premultipliedDifference(a.frames[i], QImage(fixture(QStringLiteral("anim.apng-%1.png").arg(i)))),
            0)
            << "frame " << i;
    EXPECT_NE(a.frames[0], a.frames[1]);

    const Animation alpha = decodeFixture("alpha-anim.apng");
    ASSERT_EQ(alpha.frames.size(), 3);
    EXPECT_TRUE(alpha.transparent);
    EXPECT_EQ(alpha.plays, 2);
    EXPECT_EQ(alpha.delaysMs, (QList<int>{250, 250, 250}));
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(premultipliedDifference(alpha.frames[i],
                                          QImage(fixture(QStringLiteral("alpha-anim-%1.png").arg(i)))),
                  1)
            << "frame " << i;
}

TEST_F(AnimationTest, AnimatedWebpFramesTimesAndPlays)
{
    const Animation a = decodeFixture("alpha-anim.webp");
    ASSERT_EQ(a.frames.size(), 3);
    EXPECT_EQ(a.size, QSize(12, 10));
    EXPECT_TRUE(a.transparent);
    EXPECT_EQ(a.plays, 3);
    EXPECT_EQ(a.delaysMs, (QList<int>{100, 200, 300}));
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(
            premultipliedDifference(a.frames[i], QImage(fixture(QStringLiteral("alpha-anim-%1.png").arg(i)))),
            1)
            << "frame " << i;
    // Each frame's disposal clears the square before: frame 2 holds only the blue one.
    EXPECT_EQ(qAlpha(a.frames[2].pixel(1, 4)), 0);
}

TEST_F(AnimationTest, DamagedFilesAreRefused)
{
    for (const char *name :
         {"damaged-truncated.png", "damaged-header.png", "damaged-truncated.webp", "damaged-header.webp"}) {
        SCOPED_TRACE(name);
        platform::ErrorOr<Animation> a = pictures::decodeAnimation(readFixture(QString::fromLatin1(name)));
        ASSERT_FALSE(a.ok());
        EXPECT_EQ(a.error().kind, platform::Error::Kind::InvalidData);
    }
    EXPECT_FALSE(pictures::decodeAnimation(QByteArray()).ok());
    EXPECT_FALSE(pictures::decodeAnimation(QByteArray("GIF89a not ours")).ok());
    // Data of the other format than asked.
    using pictures::AnimationFormat;
    EXPECT_FALSE(pictures::decodeAnimation(readFixture("alpha.webp"), AnimationFormat::Png).ok());
    EXPECT_FALSE(pictures::decodeAnimation(readFixture("alpha.png"), AnimationFormat::Webp).ok());
    EXPECT_TRUE(pictures::decodeAnimation(readFixture("alpha.webp"), AnimationFormat::Webp).ok());
    EXPECT_TRUE(pictures::decodeAnimation(readFixture("alpha.png"), AnimationFormat::Png).ok());
    // A signature of one format with the body of nothing.
    EXPECT_FALSE(pictures::decodePng(QByteArray("\x89PNG\r\n\x1a\n", 8)).ok());
    EXPECT_FALSE(pictures::decodeWebp(QByteArray("RIFF\0\0\0\0WEBP", 12)).ok());

    // A chunk whose length runs past the end of the data (here a text chunk of nearly 2 GB in a
    // file of 280 bytes) is not handed to libpng, which would allocate that length.
    QFile reproducer(
        QStringLiteral(LUMA_SOURCE_DIR "/fuzz/corpus/animation/text-chunk-longer-than-the-file.png"));
    ASSERT_TRUE(reproducer.open(QIODevice::ReadOnly));
    const QByteArray longChunk = reproducer.readAll();
    ASSERT_EQ(longChunk.size(), 280);
    platform::ErrorOr<pictures::PngFacts> facts = pictures::scanPng(longChunk);
    ASSERT_TRUE(facts.ok());
    EXPECT_EQ(facts->wholeSize, 219);
    (void)pictures::decodePng(longChunk);

    // An animation cut in its second frame keeps the first.
    const Animation cut = decodeFixture("cut-anim.apng");
    ASSERT_EQ(cut.frames.size(), 1);
    EXPECT_FALSE(cut.animated());
    EXPECT_EQ(premultipliedDifference(cut.frames[0], QImage(fixture("anim.apng-0.png"))), 0);
}

TEST_F(AnimationTest, SizesOverTheLimitAreRefusedBeforeDecoding)
{
    // A header asking for 100000 x 100000 pixels (its checksum no longer matches: nothing reads on).
    QByteArray huge = readFixture("alpha.png");
    qToBigEndian<quint32>(100000, huge.data() + 16);
    qToBigEndian<quint32>(100000, huge.data() + 20);
    platform::ErrorOr<Animation> a = pictures::decodePng(huge);
    ASSERT_FALSE(a.ok());
    EXPECT_EQ(a.error().kind, platform::Error::Kind::TooLarge);

    // Three frames of 32 x 24 need 9216 bytes: one frame fits a limit of 8000, three do not.
    pictures::setMaxImageBytes(8000);
    a = pictures::decodeAnimation(readFixture("anim.apng"));
    ASSERT_FALSE(a.ok());
    EXPECT_EQ(a.error().kind, platform::Error::Kind::TooLarge);
    EXPECT_TRUE(pictures::decodeAnimation(readFixture("anim.apng-0.png")).ok());
    pictures::setMaxImageBytes(12 * 10 * 4 * 2);
    a = pictures::decodeAnimation(readFixture("alpha-anim.webp"));
    ASSERT_FALSE(a.ok());
    EXPECT_EQ(a.error().kind, platform::Error::Kind::TooLarge);
    pictures::setMaxImageBytes(100);
    a = pictures::decodeAnimation(readFixture("alpha.webp"));
    ASSERT_FALSE(a.ok());
    EXPECT_EQ(a.error().kind, platform::Error::Kind::TooLarge);
}

TEST_F(AnimationTest, ChunkFactsOfAnAnimatedPng)
{
    platform::ErrorOr<pictures::PngFacts> facts = pictures::scanPng(readFixture("anim.apng"));
    ASSERT_TRUE(facts.ok());
    EXPECT_TRUE(facts->animated);
    EXPECT_EQ(facts->announcedFrames, 3);
    EXPECT_FALSE(facts->alpha);
    facts = pictures::scanPng(readFixture("alpha.png"));
    ASSERT_TRUE(facts.ok());
    EXPECT_FALSE(facts->animated);
    EXPECT_TRUE(facts->alpha);
    EXPECT_EQ(pictures::animationDelayMs(0), 100);
    EXPECT_EQ(pictures::animationDelayMs(10), 100);
    EXPECT_EQ(pictures::animationDelayMs(40), 40);
}

TEST_F(AnimationTest, PlayerHonoursPlaysAndStopFreezesTheFrame)
{
    TAnimatedImage player;
    EXPECT_FALSE(player.loadFromFile(fixture("no-such-file.png")).ok());
    EXPECT_TRUE(player.isEmpty());
    ASSERT_TRUE(player.loadFromFile(fixture("alpha-anim.apng")).ok()); // two plays of three frames
    EXPECT_EQ(player.frameCount(), 3);
    EXPECT_TRUE(player.isAnimated());
    int steps = 0;
    while (player.advanceFrame() && steps < 100)
        ++steps;
    EXPECT_EQ(steps, 2 * 3 - 1);
    EXPECT_EQ(player.currentIndex(), 2); // the last frame stays

    ASSERT_TRUE(player.loadFromFile(fixture("anim.apng")).ok()); // for ever
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(player.advanceFrame());
    EXPECT_EQ(player.currentIndex(), 20 % 3);

    // The timer moves the frames on by itself; Stop keeps the frame on view.
    ASSERT_TRUE(player.loadFromFile(fixture("anim.apng")).ok());
    int frames = 0;
    QObject::connect(&player, &TAnimatedImage::frameChanged, [&frames] { ++frames; });
    player.setAnimate(true);
    EXPECT_EQ(player.currentDelayMs(), 200);
    EXPECT_TRUE(waitFor([&] { return player.currentIndex() == 2; }, 3000));
    player.setAnimate(false);
    EXPECT_FALSE(player.isRunning());
    const int index = player.currentIndex();
    const QImage frame = player.currentFrame();
    waitFor([] { return false; }, 450);
    EXPECT_EQ(player.currentIndex(), index);
    EXPECT_EQ(player.currentFrame(), frame);
    EXPECT_GE(frames, 2);

    // A damaged file leaves the control empty and stopped.
    player.setAnimate(true);
    const platform::Status bad = player.loadFromFile(fixture("damaged-truncated.webp"));
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().kind, platform::Error::Kind::InvalidData);
    EXPECT_TRUE(player.isEmpty());
    EXPECT_FALSE(player.isRunning());
}

TEST_F(AnimationTest, AlphaShowsWhatIsBehindStretchedOrTiled)
{
    QWidget page;
    page.setAutoFillBackground(true);
    QPalette palette = page.palette();
    palette.setColor(QPalette::Window, QColor(0x20, 0x40, 0x60));
    page.setPalette(palette);
    page.resize(40, 30);
    auto *player = new TAnimatedImage(&page);
    ASSERT_TRUE(player->loadFromFile(fixture("alpha.png")).ok());
    player->resize(8, 6);
    // Half red (alpha 127) over the colour.
    const auto over = [](int top, int bottom) { return (top * 127 + bottom * 128 + 127) / 255; };
    QImage shot = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb half = shot.pixel(1, 1);
    EXPECT_NEAR(qRed(half), over(255, 0x20), 1);
    EXPECT_NEAR(qGreen(half), over(0, 0x40), 1);
    EXPECT_NEAR(qBlue(half), over(0, 0x60), 1);
    EXPECT_EQ(shot.pixel(6, 1), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(20, 20), qRgb(0x20, 0x40, 0x60)); // beyond the picture: the page

    player->resize(16, 12);
    player->setTile(true);
    shot = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(8 + 1, 6 + 1), half);
    EXPECT_EQ(shot.pixel(8 + 6, 6 + 1), qRgb(0, 0, 255));
    player->setStretch(true); // stretch wins over tile: each source pixel twice as large
    shot = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(13, 4), qRgb(0, 0, 255));
    EXPECT_NEAR(qRed(shot.pixel(3, 4)), qRed(half), 1);
}
