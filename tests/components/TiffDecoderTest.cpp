// TIFF decoding through libtiff: ImageMagick fixtures in many codings, damage, limits.
#include "PictureTestSupport.h"

#include "components/decoders/ImageLimits.h"
#include "components/decoders/TiffDecoder.h"

using namespace picturetest;

TEST(TiffDecoder, MatchesImageMagickFixtures)
{
    // Palette colours go from 16 to 8 bits: libtiff truncates where ImageMagick rounds.
    const struct
    {
        const char *name;
        int tolerance;
    } cases[] = {{"rose.tif", 0},          {"rose-lzw.tif", 0},   {"rose-zip.tif", 0},
                 {"rose-packbits.tif", 0}, {"rose-g4.tif", 0},    {"rose-gray.tif", 0},
                 {"rose-palette.tif", 1},  {"rose-tiled.tif", 0}, {"rose-16bit.tif", 0},
                 {"rose-jpeg.tif", 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const platform::ErrorOr<QImage> decoded = pictures::decodeTiff(readFixture(c.name));
        ASSERT_TRUE(decoded) << decoded.error().message.toStdString();
        const QImage &img = *decoded;
        const QImage expected(fixture(QString::fromLatin1(c.name) + ".png"));
        const int diff = maxChannelDifference(img, expected);
        EXPECT_GE(diff, 0);
        EXPECT_LE(diff, c.tolerance);
    }
}

TEST(TiffDecoder, OneBitImagesAreMonochrome)
{
    EXPECT_EQ(pictures::decodeTiff(readFixture("rose-g4.tif"))->format(), QImage::Format_Mono);
    EXPECT_NE(pictures::decodeTiff(readFixture("rose-gray.tif"))->depth(), 1);
}

TEST(TiffDecoder, DamagedFilesFailWithLibtiffsMessage)
{
    for (const char *name : {"damaged-ifd.tif", "damaged-truncated.tif"}) {
        SCOPED_TRACE(name);
        const platform::ErrorOr<QImage> decoded = pictures::decodeTiff(readFixture(name));
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.error().kind, platform::Error::Kind::InvalidData);
        EXPECT_FALSE(decoded.error().message.isEmpty());
    }
    EXPECT_FALSE(pictures::decodeTiff(QByteArray()));
    EXPECT_FALSE(pictures::decodeTiff(QByteArray("II*\0", 4)));
}

TEST(TiffDecoder, PicturesOverTheLimitAreRefused)
{
    const qint64 saved = pictures::maxImageBytes();
    pictures::setMaxImageBytes(70 * 46 * 4 - 1);
    const platform::ErrorOr<QImage> refused = pictures::decodeTiff(readFixture("rose.tif"));
    pictures::setMaxImageBytes(saved);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, platform::Error::Kind::TooLarge);
    EXPECT_TRUE(pictures::decodeTiff(readFixture("rose.tif")));
}
