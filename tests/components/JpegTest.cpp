// TJPEGImage: header-only reading, lazy decoding, options, sizes, pixels against djpeg,
// progress events with a controlled clock.
#include "PictureTestSupport.h"

#include "components/TJPEGImage.h"
#include "components/decoders/ImageLimits.h"

#include <QBuffer>
#include <QImageWriter>

using namespace picturetest;

namespace {

QByteArray encodeJpeg(QSize size, bool progressive)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x ^ y) & 0xff));
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, "jpeg");
    writer.setQuality(80);
    writer.setProgressiveScanWrite(progressive);
    writer.write(img);
    return buf.data();
}

const QByteArray &bigJpeg()
{
    static const QByteArray data = encodeJpeg({1600, 1200}, false);
    return data;
}

struct Event
{
    TJPEGImage::Stage stage;
    int percent;
    qint64 at;
};

} // namespace

TEST(Jpeg, SizesAtEveryScale)
{
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.loadFromData(bigJpeg()).ok());
    const QSize expected[] = {{1600, 1200}, {800, 600}, {400, 300}, {200, 150}};
    for (int scale = 0; scale < 4; ++scale) {
        jpeg.setScale(scale);
        EXPECT_EQ(QSize(jpeg.width(), jpeg.height()), expected[scale]);
        EXPECT_EQ(jpeg.bitmap().size(), expected[scale]);
    }
    // Sizes that do not divide round up, as libjpeg scales them.
    ASSERT_TRUE(jpeg.loadFromFile(fixture("rose.jpg")).ok());
    jpeg.setScale(3);
    EXPECT_EQ(QSize(jpeg.width(), jpeg.height()), QSize(9, 6));
    EXPECT_EQ(jpeg.bitmap().size(), QSize(9, 6));
}

TEST(Jpeg, ScalesOutsideTheRangeAreClamped)
{
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.loadFromFile(fixture("rose.jpg")).ok());
    jpeg.bitmap();
    int changes = 0;
    QObject::connect(&jpeg, &TJPEGImage::changed, [&] { ++changes; });
    jpeg.setScale(4);
    EXPECT_EQ(jpeg.scale(), 3);
    EXPECT_EQ(jpeg.width(), 9);
    EXPECT_EQ(changes, 1);
    jpeg.setScale(100); // still 3: nothing to discard
    EXPECT_EQ(changes, 1);
    jpeg.setScale(-1);
    EXPECT_EQ(jpeg.scale(), 0);
    EXPECT_EQ(jpeg.bitmap().size(), QSize(70, 46));
}

TEST(Jpeg, ReadingKeepsTheDataAndDecodesOnlyWhenAsked)
{
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.loadFromFile(fixture("rose-progressive.jpg")).ok());
    EXPECT_FALSE(jpeg.hasBitmap());
    EXPECT_TRUE(jpeg.isProgressive());
    EXPECT_EQ(jpeg.width(), 70);
    jpeg.bitmap();
    EXPECT_TRUE(jpeg.hasBitmap());
    ASSERT_TRUE(jpeg.loadFromFile(fixture("rose.jpg")).ok());
    EXPECT_FALSE(jpeg.isProgressive());
    EXPECT_FALSE(jpeg.hasBitmap());
}

TEST(Jpeg, PixelsMatchDjpeg)
{
    const struct
    {
        const char *file, *expected;
        int scale;
        bool progressiveDisplay;
    } cases[] = {{"rose.jpg", "rose.jpg.png", 0, false},
                 {"rose.jpg", "rose.jpg.half.png", 1, false},
                 {"rose-progressive.jpg", "rose-progressive.jpg.png", 0, false},
                 // Scan by scan, the last scan on the chosen settings gives the same picture.
                 {"rose-progressive.jpg", "rose-progressive.jpg.png", 0, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.expected);
        TJPEGImage jpeg;
        ASSERT_TRUE(jpeg.loadFromFile(fixture(c.file)).ok());
        jpeg.setScale(c.scale);
        jpeg.setProgressiveDisplay(c.progressiveDisplay);
        EXPECT_EQ(maxChannelDifference(jpeg.bitmap(), QImage(fixture(c.expected))), 0);
    }
}

TEST(Jpeg, EightBitAndGrayscaleOutputUse236Colours)
{
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.loadFromData(encodeJpeg({300, 200}, true)).ok());
    jpeg.setPixelFormat(TJPEGImage::Format8Bit);
    for (bool fast : {false, true}) {
        for (bool progressive : {false, true}) {
            SCOPED_TRACE(fast * 2 + progressive);
            jpeg.setPerformance(fast ? TJPEGImage::BestSpeed : TJPEGImage::BestQuality);
            jpeg.setProgressiveDisplay(progressive);
            jpeg.setSmoothing(!jpeg.smoothing()); // forces a new decode
            const QImage img = jpeg.bitmap();
            EXPECT_EQ(img.format(), QImage::Format_Indexed8);
            EXPECT_LE(img.colorCount(), 236);
            EXPECT_GT(img.colorCount(), 16);
        }
    }
    jpeg.setPixelFormat(TJPEGImage::Format24Bit);
    jpeg.setGrayscale(true);
    const QImage grey = jpeg.bitmap();
    EXPECT_EQ(grey.format(), QImage::Format_Indexed8);
    EXPECT_LE(grey.colorCount(), 236);
    for (QRgb c : grey.colorTable())
        EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
    jpeg.setGrayscale(false);
    EXPECT_EQ(jpeg.bitmap().format(), QImage::Format_RGB888);
}

TEST(Jpeg, OptionChangesDiscardTheBitmapOnlyWhenTheyChangeSomething)
{
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.loadFromFile(fixture("rose.jpg")).ok());
    int changes = 0;
    QObject::connect(&jpeg, &TJPEGImage::changed, [&] { ++changes; });
    auto decoded = [&] {
        jpeg.bitmap();
        return jpeg.hasBitmap();
    };
    ASSERT_TRUE(decoded());
    jpeg.setScale(0);
    jpeg.setGrayscale(false);
    jpeg.setPerformance(TJPEGImage::BestQuality);
    jpeg.setPixelFormat(TJPEGImage::Format24Bit);
    jpeg.setSmoothing(true);
    jpeg.setProgressiveDisplay(true); // never discards
    EXPECT_TRUE(jpeg.hasBitmap());
    EXPECT_EQ(changes, 0);

    jpeg.setScale(2);
    EXPECT_FALSE(jpeg.hasBitmap());
    ASSERT_TRUE(decoded());
    jpeg.setGrayscale(true);
    EXPECT_FALSE(jpeg.hasBitmap());
    ASSERT_TRUE(decoded());
    jpeg.setPerformance(TJPEGImage::BestSpeed);
    EXPECT_FALSE(jpeg.hasBitmap());
    ASSERT_TRUE(decoded());
    jpeg.setPixelFormat(TJPEGImage::Format8Bit);
    EXPECT_FALSE(jpeg.hasBitmap());
    ASSERT_TRUE(decoded());
    jpeg.setSmoothing(false);
    EXPECT_FALSE(jpeg.hasBitmap());
    EXPECT_EQ(changes, 5);
}

TEST(Jpeg, QuickDecodeSendsOnlyStartingAndEnding)
{
    TJPEGImage jpeg;
    jpeg.setClock([] { return qint64(1000); }); // time stands still: never 500 ms
    ASSERT_TRUE(jpeg.loadFromData(bigJpeg()).ok());
    QList<Event> events;
    QObject::connect(&jpeg, &TJPEGImage::progress, [&](TJPEGImage::Stage s, int p) {
        events << Event{s, p, 0};
    });
    jpeg.bitmap();
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0].stage, TJPEGImage::Stage::Starting);
    EXPECT_EQ(events[0].percent, 0);
    EXPECT_EQ(events[1].stage, TJPEGImage::Stage::Ending);
    EXPECT_EQ(events[1].percent, 100);
}

TEST(Jpeg, RunningEventsFollowTheTimingRules)
{
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        TJPEGImage jpeg;
        qint64 now = 0;
        int checks = 0;
        // Each time check moves the clock 120 ms on.
        jpeg.setClock([&] {
            ++checks;
            return now += 120;
        });
        ASSERT_TRUE(jpeg.loadFromData(encodeJpeg({800, 600}, progressive)).ok());
        jpeg.setProgressiveDisplay(progressive);
        QList<Event> events;
        QObject::connect(&jpeg, &TJPEGImage::progress, [&](TJPEGImage::Stage s, int p) {
            events << Event{s, p, now};
        });
        jpeg.bitmap();
        ASSERT_GE(events.size(), 3);
        EXPECT_EQ(events.first().stage, TJPEGImage::Stage::Starting);
        EXPECT_EQ(events.last().stage, TJPEGImage::Stage::Ending);
        EXPECT_EQ(events.last().percent, 100);
        qint64 previousAt = 120; // the first check only starts the clock
        int previousPercent = 0;
        for (qsizetype i = 1; i + 1 < events.size(); ++i) {
            EXPECT_EQ(events[i].stage, TJPEGImage::Stage::Running);
            EXPECT_GE(events[i].at - previousAt, 500);
            EXPECT_NE(events[i].percent, previousPercent);
            EXPECT_GE(events[i].percent, 0);
            EXPECT_LE(events[i].percent, 100);
            previousAt = events[i].at;
            previousPercent = events[i].percent;
        }
        EXPECT_GT(checks, 5);
    }
}

TEST(Jpeg, DamagedDataFailsThroughTheComponent)
{
    TJPEGImage jpeg;
    platform::Status status = jpeg.loadFromFile(fixture("damaged-header.jpg"));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, platform::Error::Kind::InvalidData);
    EXPECT_TRUE(status.message().startsWith("JPEG error: ")) << status.message().toStdString();
    EXPECT_TRUE(jpeg.isEmpty());
    EXPECT_EQ(jpeg.width(), 0);
    status = jpeg.loadFromFile(fixture("no-such-file.jpg"));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, platform::Error::Kind::FileOpen);
    EXPECT_TRUE(status.message().startsWith("Cannot open file ")) << status.message().toStdString();
    status = jpeg.loadFromData("definitely not a JPEG");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, platform::Error::Kind::InvalidData);

    // The header reads; the data ends early: decoding fails and says so with Ending at 0%.
    ASSERT_TRUE(jpeg.loadFromFile(fixture("damaged-truncated.jpg")).ok());
    QList<Event> events;
    QObject::connect(&jpeg, &TJPEGImage::progress, [&](TJPEGImage::Stage s, int p) {
        events << Event{s, p, 0};
    });
    EXPECT_TRUE(jpeg.lastDecode().ok()); // nothing tried yet
    EXPECT_TRUE(jpeg.bitmap().isNull());
    EXPECT_FALSE(jpeg.hasBitmap());
    ASSERT_FALSE(jpeg.lastDecode().ok());
    EXPECT_EQ(jpeg.lastDecode().error().kind, platform::Error::Kind::InvalidData);
    EXPECT_TRUE(jpeg.lastDecode().message().startsWith("JPEG error: "));
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.last().stage, TJPEGImage::Stage::Ending);
    EXPECT_EQ(events.last().percent, 0);

    // A new option forgets the failure until the next decode tries again.
    jpeg.setGrayscale(true);
    EXPECT_TRUE(jpeg.lastDecode().ok());
    EXPECT_TRUE(jpeg.bitmap().isNull());
    EXPECT_FALSE(jpeg.lastDecode().ok());
}

TEST(Jpeg, AnUnreadableFileKeepsThePictureAndAnOversizedOneIsTooLarge)
{
    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.loadFromFile(fixture("rose.jpg")).ok());
    const platform::Status missing = jpeg.loadFromFile(fixture("no-such-file.jpg"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().kind, platform::Error::Kind::FileOpen);
    EXPECT_EQ(jpeg.width(), 70);

    const qint64 limit = pictures::maxImageBytes();
    pictures::setMaxImageBytes(1000 * 1000 * 4);
    const platform::Status big = jpeg.loadFromData(bigJpeg());
    pictures::setMaxImageBytes(limit);
    ASSERT_FALSE(big.ok());
    EXPECT_EQ(big.error().kind, platform::Error::Kind::TooLarge);
    EXPECT_TRUE(jpeg.isEmpty());
}
