// The DIB decoder on bitmap bodies written by ImageMagick: pixels, the kind of each failure, and
// the one completeness test the picture control and the property window share.
#include "PictureTestSupport.h"

#include "components/decoders/DibDecoder.h"
#include "components/decoders/ImageLimits.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

using namespace picturetest;
using Kind = platform::Error::Kind;

namespace {

QByteArray readFixture(const char *name)
{
    QFile f(fixture(QString::fromLatin1(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A bitmap file's body: what follows the 14-byte file header.
QByteArrayView body(const QByteArray &file)
{
    return QByteArrayView(file).sliced(14);
}

} // namespace

TEST(DibDecoder, BodiesOfBitmapFilesMatchTheirFixtures)
{
    ensureApp();
    for (const char *name : {"rose.bmp", "rose-mono.bmp", "rose-4bit.bmp", "rose-rle8.bmp"}) {
        SCOPED_TRACE(name);
        const QByteArray file = readFixture(name);
        ASSERT_GT(file.size(), 54);
        const platform::ErrorOr<QImage> img = pictures::decodePackedDib(body(file));
        ASSERT_TRUE(img) << img.error().message.toStdString();
        const QImage expected(fixture(QString::fromLatin1(name) + ".png"));
        EXPECT_EQ(img->size(), expected.size());
        EXPECT_EQ(maxChannelDifference(*img, expected), 0);
    }
}

TEST(DibDecoder, DamageIsInvalidDataAndASizeOverTheLimitIsTooLarge)
{
    ensureApp();
    const QByteArray file = readFixture("rose.bmp");
    ASSERT_GT(file.size(), 54);
    const auto kindOf = [](const platform::ErrorOr<QImage> &result) {
        return result ? std::optional<Kind>() : std::optional<Kind>(result.error().kind);
    };
    EXPECT_EQ(kindOf(pictures::decodePackedDib(body(file).first(10))), Kind::InvalidData);
    EXPECT_EQ(kindOf(pictures::decodePackedDib(body(file).first(body(file).size() - 200))),
              Kind::InvalidData);
    QByteArray badBits = file;
    badBits[14 + 14] = char(7); // seven bits a pixel
    EXPECT_EQ(kindOf(pictures::decodePackedDib(body(badBits))), Kind::InvalidData);
    QByteArray empty = file;
    empty[14 + 4] = empty[14 + 5] = empty[14 + 6] = empty[14 + 7] = 0; // no width
    EXPECT_EQ(kindOf(pictures::decodePackedDib(body(empty))), Kind::InvalidData);

    const platform::ErrorOr<pictures::DibInfo> info = pictures::readDibHeader(body(file));
    ASSERT_TRUE(info);
    const qint64 saved = pictures::maxImageBytes();
    pictures::setMaxImageBytes(info->width * info->height * 4 - 1);
    const platform::ErrorOr<QImage> big = pictures::decodePackedDib(body(file));
    pictures::setMaxImageBytes(saved);
    EXPECT_EQ(kindOf(big), Kind::TooLarge);
}

TEST(DibDecoder, RowsArePaddedToFourBytesAndAFileMustHoldThemAll)
{
    EXPECT_EQ(pictures::dibRowStride(1, 1), 4);
    EXPECT_EQ(pictures::dibRowStride(32, 1), 4);
    EXPECT_EQ(pictures::dibRowStride(33, 1), 8);
    EXPECT_EQ(pictures::dibRowStride(3, 24), 12);
    EXPECT_EQ(pictures::dibRowStride(5, 4), 4);
    EXPECT_EQ(pictures::dibRowStride(70, 8), 72);

    for (const char *name : {"rose.bmp", "rose-mono.bmp", "rose-4bit.bmp"}) {
        SCOPED_TRACE(name);
        const QByteArray file = readFixture(name);
        EXPECT_TRUE(pictures::bitmapFileComplete(file, file.size()));
        EXPECT_FALSE(pictures::bitmapFileComplete(file, file.size() - 1));
    }
    // Run-length data has no fixed length: the pixels need only start inside the file.
    const QByteArray rle = readFixture("rose-rle8.bmp");
    EXPECT_TRUE(pictures::bitmapFileComplete(rle, rle.size() - 10));
    EXPECT_FALSE(pictures::bitmapFileComplete(rle, 54));
    EXPECT_FALSE(pictures::bitmapFileComplete(QByteArray("BM"), 2));
}

TEST(DibDecoder, AnEmbeddedPngAnswersToThePictureLimit)
{
    ensureApp();
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "png"));
    // A 40-byte header: size, width, height, one plane, no bit count, BI_PNG.
    QByteArray header(40, '\0');
    qToLittleEndian<quint32>(40, header.data());
    qToLittleEndian<qint32>(100, header.data() + 4);
    qToLittleEndian<qint32>(80, header.data() + 8);
    qToLittleEndian<quint16>(1, header.data() + 12);
    qToLittleEndian<quint32>(5, header.data() + 16);

    const platform::ErrorOr<QImage> shown = pictures::decodeDib(header, png);
    ASSERT_TRUE(shown) << shown.error().message.toStdString();
    EXPECT_EQ(shown->size(), QSize(100, 80));
    EXPECT_EQ(shown->pixel(50, 40), qRgb(10, 200, 30));

    const qint64 saved = pictures::maxImageBytes();
    pictures::setMaxImageBytes(100 * 80 * 4 - 1);
    const platform::ErrorOr<QImage> refused = pictures::decodeDib(header, png);
    pictures::setMaxImageBytes(saved);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, Kind::TooLarge);
}
