// The picture control with BMP and ICO files: pixels, facts, failures, drawing.
#include "PictureTestSupport.h"

#include "components/TPicture.h"
#include "components/decoders/ImageLimits.h"

#include <QTemporaryDir>

using namespace picturetest;

class TPictureTest : public ::testing::Test
{
protected:
    void SetUp() override { ensureApp(); }
};

TEST_F(TPictureTest, BitmapsMatchImageMagickFixtures)
{
    for (const char *name : {"rose.bmp", "rose-mono.bmp", "rose-4bit.bmp", "rose-rle8.bmp", "rose.ico"}) {
        SCOPED_TRACE(name);
        TPicture pic;
        ASSERT_TRUE(pic.loadFromFile(fixture(name)).ok());
        const QImage expected(fixture(QString::fromLatin1(name) + ".png"));
        EXPECT_EQ(pic.pictureWidth(), expected.width());
        EXPECT_EQ(pic.pictureHeight(), expected.height());
        EXPECT_EQ(maxChannelDifference(pic.image(), expected), 0);
    }
}

TEST_F(TPictureTest, MonochromeMeansOneBitBitmap)
{
    TPicture pic;
    ASSERT_TRUE(pic.loadFromFile(fixture("rose-mono.bmp")).ok());
    EXPECT_TRUE(pic.isMonochrome());
    ASSERT_TRUE(pic.loadFromFile(fixture("rose-4bit.bmp")).ok());
    EXPECT_FALSE(pic.isMonochrome());
    ASSERT_TRUE(pic.loadFromFile(fixture("rose.ico")).ok());
    EXPECT_FALSE(pic.isMonochrome());
}

TEST_F(TPictureTest, IconTakesTheStandardSizedImage)
{
    TPicture pic;
    ASSERT_TRUE(pic.loadFromFile(fixture("rose.ico")).ok());
    EXPECT_EQ(pic.pictureWidth(), 32);
    EXPECT_EQ(pic.pictureHeight(), 32);
}

TEST_F(TPictureTest, FailuresReturnTheirKindAndLeaveTheControlEmpty)
{
    using Kind = platform::Error::Kind;
    TPicture pic;
    ASSERT_TRUE(pic.loadFromFile(fixture("rose.bmp")).ok());
    const QString truncated = fixture("damaged-truncated.bmp");
    platform::Status status = pic.loadFromFile(truncated);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::InvalidData);
    EXPECT_EQ(status.message(), QStringLiteral("Bitmap file \"%1\" is truncated").arg(truncated));
    EXPECT_TRUE(pic.isEmpty());
    EXPECT_EQ(pic.pictureWidth(), 0);
    EXPECT_EQ(pic.pictureHeight(), 0);

    const QString garbage = fixture("damaged-garbage.ico");
    status = pic.loadFromFile(garbage);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::InvalidData);
    EXPECT_TRUE(status.message().startsWith(QStringLiteral("Cannot read picture \"%1\": ").arg(garbage)));
    status = pic.loadFromFile(fixture("no-such-file.bmp"));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::FileOpen);
    status = pic.loadFromFile(fixture("no-such-file.jpg"));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::FileOpen);
    EXPECT_EQ(pic.jpeg(), nullptr);
    // A GIF renamed to .bmp is not a bitmap.
    QTemporaryDir dir;
    const QString renamed = dir.filePath("really-a-gif.bmp");
    ASSERT_TRUE(QFile::copy(fixture("rose.gif"), renamed));
    status = pic.loadFromFile(renamed);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::InvalidData);
    EXPECT_TRUE(pic.isEmpty());
}

TEST_F(TPictureTest, PicturesOverTheLimitAreTooLarge)
{
    TPicture pic;
    const qint64 limit = pictures::maxImageBytes();
    // rose.bmp takes 9806 bytes on disk and 70 x 46 x 4 = 12880 decoded.
    pictures::setMaxImageBytes(12000);
    const platform::Status bmp = pic.loadFromFile(fixture("rose.bmp"));
    const platform::Status jpeg = pic.loadFromFile(fixture("rose.jpg"));
    pictures::setMaxImageBytes(1000);
    const QString path = fixture("rose.bmp");
    const platform::Status file = pic.loadFromFile(path);
    pictures::setMaxImageBytes(limit);
    ASSERT_FALSE(bmp.ok());
    EXPECT_EQ(bmp.error().kind, platform::Error::Kind::TooLarge);
    ASSERT_FALSE(jpeg.ok());
    EXPECT_EQ(jpeg.error().kind, platform::Error::Kind::TooLarge);
    ASSERT_FALSE(file.ok());
    EXPECT_EQ(file.error().kind, platform::Error::Kind::TooLarge);
    EXPECT_EQ(file.message(), QStringLiteral("File \"%1\" is too large").arg(path));
    EXPECT_TRUE(pic.isEmpty());
}

TEST_F(TPictureTest, AJpegThatFailsToDecodeDrawsNothingAndKeepsTheReason)
{
    TPicture pic;
    ASSERT_TRUE(pic.loadFromFile(fixture("damaged-truncated.jpg")).ok());
    pic.resize(70, 46);
    pic.setAutoFillBackground(true);
    QPalette pal = pic.palette();
    pal.setColor(QPalette::Window, QColor(10, 200, 30));
    pic.setPalette(pal);
    int decodes = 0;
    QObject::connect(&pic, &TPicture::progress,
                     [&](TJPEGImage::Stage s, int) { decodes += s == TJPEGImage::Stage::Starting; });

    const QImage shot = pic.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(10, 10), qRgb(10, 200, 30));
    EXPECT_TRUE(pic.drawError().startsWith("JPEG error: ")) << pic.drawError().toStdString();
    EXPECT_EQ(decodes, 1);
    pic.grab(); // the failure is not tried again at every paint
    EXPECT_EQ(decodes, 1);
    EXPECT_TRUE(pic.image().isNull());

    // An option change allows a new attempt.
    pic.jpeg()->setGrayscale(true);
    EXPECT_TRUE(pic.drawError().isEmpty());
    pic.grab();
    EXPECT_EQ(decodes, 3); // image() above decoded once more, then this paint
    EXPECT_FALSE(pic.drawError().isEmpty());
}

TEST_F(TPictureTest, DrawsNaturalCentredOrStretched)
{
    TPicture pic;
    ASSERT_TRUE(pic.loadFromFile(fixture("rose-mono.bmp")).ok());
    pic.resize(140, 92);
    const QImage src = pic.image().convertToFormat(QImage::Format_RGB32);
    auto shot = [&] { return pic.grab().toImage().convertToFormat(QImage::Format_RGB32); };

    pic.setAutoFillBackground(true);
    QPalette pal = pic.palette();
    pal.setColor(QPalette::Window, QColor(10, 200, 30));
    pic.setPalette(pal);

    QImage img = shot();
    EXPECT_EQ(img.pixel(5, 5), src.pixel(5, 5));
    EXPECT_EQ(img.pixel(100, 80), qRgb(10, 200, 30)); // outside the picture

    pic.setCenter(true);
    img = shot();
    EXPECT_EQ(img.pixel(35 + 5, 23 + 5), src.pixel(5, 5));
    EXPECT_EQ(img.pixel(2, 2), qRgb(10, 200, 30));

    pic.setStretch(true);
    img = shot();
    EXPECT_EQ(img.pixel(139, 91) & 0xffffff, src.pixel(69, 45) & 0xffffff);
    EXPECT_EQ(img.pixel(0, 0) & 0xffffff, src.pixel(0, 0) & 0xffffff);
}

TEST_F(TPictureTest, AutoSizeFollowsThePicture)
{
    TPicture pic;
    pic.setAutoSize(true);
    ASSERT_TRUE(pic.loadFromFile(fixture("rose.bmp")).ok());
    EXPECT_EQ(pic.size(), QSize(70, 46));
    EXPECT_EQ(pic.sizeHint(), QSize(70, 46));
    ASSERT_TRUE(pic.loadFromFile(fixture("rose.ico")).ok());
    EXPECT_EQ(pic.size(), QSize(32, 32));
}

TEST_F(TPictureTest, HoldsJpegDecodedAtFirstDrawWithProgressForwarded)
{
    TPicture pic;
    QList<TJPEGImage::Stage> stages;
    QObject::connect(&pic, &TPicture::progress, [&](TJPEGImage::Stage s, int) { stages << s; });
    ASSERT_TRUE(pic.loadFromFile(fixture("rose.jpg")).ok());
    ASSERT_NE(pic.jpeg(), nullptr);
    EXPECT_FALSE(pic.jpeg()->hasBitmap());
    EXPECT_EQ(pic.pictureWidth(), 70);
    pic.resize(70, 46);
    const QImage shot = pic.grab().toImage();
    EXPECT_TRUE(pic.jpeg()->hasBitmap());
    EXPECT_EQ(shot.pixel(10, 10) & 0xffffff, QImage(fixture("rose.jpg.png")).pixel(10, 10) & 0xffffff);
    ASSERT_GE(stages.size(), 2);
    EXPECT_EQ(stages.first(), TJPEGImage::Stage::Starting);
    EXPECT_EQ(stages.last(), TJPEGImage::Stage::Ending);

    pic.jpeg()->setScale(1);
    EXPECT_EQ(pic.pictureWidth(), 35);
    EXPECT_FALSE(pic.jpeg()->hasBitmap());
}
