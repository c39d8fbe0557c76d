// The EXIF orientation of JPEG files written by ImageMagick, and the turn that shows each upright:
// the eight orientations, and data without EXIF or damaged.
#include "PictureTestSupport.h"

#include "components/TPicture.h"
#include "components/decoders/ExifOrientation.h"

#include <QFile>
#include <gtest/gtest.h>

using picturetest::fixture;

namespace {

QByteArray bytesOf(const QString &name)
{
    QFile f(fixture(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The quadrants of upright.png: red, lime / blue, white (JPEG keeps them within a few levels).
void expectUpright(const QImage &image)
{
    ASSERT_EQ(image.size(), QSize(32, 16));
    const auto near = [](QRgb got, QRgb want) {
        return std::abs(qRed(got) - qRed(want)) < 24 && std::abs(qGreen(got) - qGreen(want)) < 24 &&
               std::abs(qBlue(got) - qBlue(want)) < 24;
    };
    EXPECT_TRUE(near(image.pixel(3, 3), qRgb(255, 0, 0))) << std::hex << image.pixel(3, 3);
    EXPECT_TRUE(near(image.pixel(28, 3), qRgb(0, 255, 0))) << std::hex << image.pixel(28, 3);
    EXPECT_TRUE(near(image.pixel(3, 12), qRgb(0, 0, 255))) << std::hex << image.pixel(3, 12);
    EXPECT_TRUE(near(image.pixel(28, 12), qRgb(255, 255, 255))) << std::hex << image.pixel(28, 12);
}

} // namespace

TEST(ExifOrientation, EachOfTheEightOrientationsIsReadAndTurnedUpright)
{
    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE(o);
        const QString name = QStringLiteral("orient-%1.jpg").arg(o);
        const QByteArray data = bytesOf(name);
        ASSERT_FALSE(data.isEmpty());
        EXPECT_EQ(pictures::exifOrientation(data), o);
        const QImage stored = QImage::fromData(data, "JPEG");
        EXPECT_EQ(pictures::uprightSize(stored.size(), o), QSize(32, 16));
        expectUpright(pictures::upright(stored, o));

        // The picture control shows it upright while asked to, its own size unchanged.
        TPicture picture;
        ASSERT_TRUE(picture.loadFromFile(fixture(name)).ok());
        EXPECT_EQ(picture.fileOrientation(), o);
        picture.setExifOrientation(true);
        EXPECT_EQ(QSize(picture.pictureWidth(), picture.pictureHeight()), stored.size());
        EXPECT_EQ(picture.shownSize(), QSize(32, 16));
        expectUpright(picture.image());
        picture.setExifOrientation(false);
        EXPECT_EQ(picture.shownSize(), stored.size());
        EXPECT_EQ(picture.image().size(), stored.size());
    }
}

TEST(ExifOrientation, DataWithoutEXIFOrDamagedIsUpright)
{
    EXPECT_EQ(pictures::exifOrientation({}), 1);
    EXPECT_EQ(pictures::exifOrientation("\xFF\xD8\xFF"), 1);
    EXPECT_EQ(pictures::exifOrientation(bytesOf("rose.jpg")), 1);
    // The orientation entry's value cut off, then the whole APP1 segment's length lying.
    QByteArray cut = bytesOf("orient-6.jpg");
    const qsizetype at = cut.indexOf("Exif");
    ASSERT_GT(at, 0);
    QByteArray truncated = cut.left(at + 20);
    EXPECT_EQ(pictures::exifOrientation(truncated), 1);
    QByteArray lying = cut;
    lying[at - 2] = char(0xFF);
    lying[at - 1] = char(0xFF);
    const int read = pictures::exifOrientation(lying);
    EXPECT_TRUE(read >= 1 && read <= 8);
    // A value out of range is upright.
    QByteArray odd = cut;
    const qsizetype entry = odd.indexOf(QByteArray("\x12\x01\x03\x00", 4), at);
    ASSERT_GT(entry, 0);
    odd[entry + 8] = char(9);
    EXPECT_EQ(pictures::exifOrientation(odd), 1);
}
