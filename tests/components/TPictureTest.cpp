// The picture control with BMP and ICO files: pixels, facts, failures, drawing.
#include "PictureTestSupport.h"

#include "components/EInvalidGraphic.h"
#include "components/TPicture.h"

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
        pic.loadFromFile(fixture(name));
        const QImage expected(fixture(QString::fromLatin1(name) + ".png"));
        EXPECT_EQ(pic.pictureWidth(), expected.width());
        EXPECT_EQ(pic.pictureHeight(), expected.height());
        EXPECT_EQ(maxChannelDifference(pic.image(), expected), 0);
    }
}

TEST_F(TPictureTest, MonochromeMeansOneBitBitmap)
{
    TPicture pic;
    pic.loadFromFile(fixture("rose-mono.bmp"));
    EXPECT_TRUE(pic.isMonochrome());
    pic.loadFromFile(fixture("rose-4bit.bmp"));
    EXPECT_FALSE(pic.isMonochrome());
    pic.loadFromFile(fixture("rose.ico"));
    EXPECT_FALSE(pic.isMonochrome());
}

TEST_F(TPictureTest, IconTakesTheStandardSizedImage)
{
    TPicture pic;
    pic.loadFromFile(fixture("rose.ico"));
    EXPECT_EQ(pic.pictureWidth(), 32);
    EXPECT_EQ(pic.pictureHeight(), 32);
}

TEST_F(TPictureTest, FailuresRaiseAndLeaveTheControlEmpty)
{
    TPicture pic;
    pic.loadFromFile(fixture("rose.bmp"));
    EXPECT_THROW(pic.loadFromFile(fixture("damaged-truncated.bmp")), EInvalidGraphic);
    EXPECT_TRUE(pic.isEmpty());
    EXPECT_EQ(pic.pictureWidth(), 0);
    EXPECT_EQ(pic.pictureHeight(), 0);
    EXPECT_THROW(pic.loadFromFile(fixture("damaged-garbage.ico")), EInvalidGraphic);
    EXPECT_THROW(pic.loadFromFile(fixture("no-such-file.bmp")), EFileOpenError);
    // A GIF renamed to .bmp is not a bitmap.
    QTemporaryDir dir;
    const QString renamed = dir.filePath("really-a-gif.bmp");
    ASSERT_TRUE(QFile::copy(fixture("rose.gif"), renamed));
    EXPECT_THROW(pic.loadFromFile(renamed), EInvalidGraphic);
}

TEST_F(TPictureTest, DrawsNaturalCentredOrStretched)
{
    TPicture pic;
    pic.loadFromFile(fixture("rose-mono.bmp"));
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
    pic.loadFromFile(fixture("rose.bmp"));
    EXPECT_EQ(pic.size(), QSize(70, 46));
    EXPECT_EQ(pic.sizeHint(), QSize(70, 46));
    pic.loadFromFile(fixture("rose.ico"));
    EXPECT_EQ(pic.size(), QSize(32, 32));
}

TEST_F(TPictureTest, HoldsJpegDecodedAtFirstDrawWithProgressForwarded)
{
    TPicture pic;
    QList<TJPEGImage::Stage> stages;
    QObject::connect(&pic, &TPicture::progress, [&](TJPEGImage::Stage s, int) { stages << s; });
    pic.loadFromFile(fixture("rose.jpg"));
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
