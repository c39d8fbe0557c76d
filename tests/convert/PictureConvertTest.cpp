// Pictures made by ImageMagick and libjpeg's tools, converted to PNG and WebP: the output's pixels
// are the viewer's own decode of the input, damaged files fail without leaving any output.
#include "ConvertTestSupport.h"

#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TJPEGImage.h"
#include "components/TPicture.h"
#include "convert/Converter.h"
#include "convert/PictureConverter.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

using namespace converttest;

namespace {

// What the viewer page of the file's type shows.
QImage viewerDecode(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"jpg") {
        TJPEGImage jpeg;
        if (!jpeg.loadFromFile(path))
            return {};
        return jpeg.bitmap();
    }
    if (ext == u"gif") {
        TGIFImage gif;
        if (!gif.loadFromFile(path))
            return {};
        return gif.currentFrame();
    }
    if (ext == u"bmp") {
        TPicture pic;
        if (!pic.loadFromFile(path))
            return {};
        return pic.image();
    }
    TImageEn view;
    if (!view.loadFromFile(path))
        return {};
    return view.bitmap();
}

platform::ErrorOr<QString> convertTo(const QString &input, const QString &folder, const QString &format)
{
    return convert::convertFile(convert::Job{input, folder, format}, convert::Options{});
}

} // namespace

TEST(PictureConvert, OutputPixelsAreTheViewersDecodeInPngAndWebp)
{
    const QStringList inputs{"rose.bmp",           "rose-4bit.bmp", "rose-mono.bmp", "rose.jpg",
                             "rose.pcx",           "rose-8.pcx",    "rose-mono.pcx", "rose.tif",
                             "rose-g4.tif",        "rose-lzw.tif",  "rose-gray.tif", "rose.gif",
                             "rose-interlaced.gif"};
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (const QString &name : inputs) {
        SCOPED_TRACE(name.toStdString());
        const QString input = fixture(name);
        const QImage expected = viewerDecode(input);
        ASSERT_FALSE(expected.isNull());
        for (const QString format : {"png", "webp"}) {
            SCOPED_TRACE(format.toStdString());
            const platform::ErrorOr<QString> out = convertTo(input, tmp.filePath(name), format);
            ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
            EXPECT_EQ(QFileInfo(*out).fileName(), QFileInfo(name).completeBaseName() + "." + format);
            QImageReader reader(*out);
            EXPECT_EQ(reader.format(), format.toLatin1());
            EXPECT_TRUE(samePixels(reader.read(), expected));
        }
    }
}

TEST(PictureConvert, AnIconGivesItsLargestImage)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString ico = tmp.filePath("sizes.ico");
    ASSERT_TRUE(runTool("convert", {"rose:", "-define", "icon:auto-resize=16,48,32", ico}));
    // ImageMagick's own reading of the 48-pixel entry (the second it wrote).
    const QString reference = tmp.filePath("reference.png");
    ASSERT_TRUE(runTool("convert", {ico + "[1]", "PNG32:" + reference}));

    const platform::ErrorOr<QString> out = convertTo(ico, tmp.filePath("out"), "png");
    ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
    const QImage img(*out);
    EXPECT_EQ(img.size(), QSize(48, 48));
    EXPECT_TRUE(samePixels(img, QImage(reference)));
}

TEST(PictureConvert, DamagedPicturesFailAndLeaveNothing)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (const QString name :
         {"damaged-truncated.bmp", "damaged-garbage.ico", "damaged-truncated.gif", "damaged-header.jpg",
          "damaged-truncated.jpg", "damaged-truncated.pcx", "damaged-ifd.tif", "damaged-truncated.tif"}) {
        SCOPED_TRACE(name.toStdString());
        const platform::ErrorOr<QString> out = convertTo(fixture(name), tmp.path(), "png");
        ASSERT_FALSE(out.ok());
        EXPECT_TRUE(out.error().message.contains(name)) << out.error().message.toStdString();
        EXPECT_NE(out.error().kind, platform::Error::Kind::Io);
    }
    EXPECT_TRUE(filesBelow(tmp.path()).isEmpty()) << filesBelow(tmp.path()).join(' ').toStdString();
}

TEST(PictureConvert, AFullDiskIsAnIoFailure)
{
    const platform::Status status = convert::writePicture(QImage(fixture("rose.bmp")), "/dev/full", "png");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, platform::Error::Kind::Io);
}

// A camera's portrait photo comes out upright, as the viewer shows it: the eight EXIF orientations
// of one picture (made by ImageMagick) all give the same upright PNG.
TEST(PictureConvert, JpegsComeOutUprightAsTheirExifOrientationSays)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const auto near = [](QRgb got, QRgb want) {
        return std::abs(qRed(got) - qRed(want)) < 24 && std::abs(qGreen(got) - qGreen(want)) < 24 &&
               std::abs(qBlue(got) - qBlue(want)) < 24;
    };
    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE(o);
        const platform::ErrorOr<QString> out = convertTo(fixture(QStringLiteral("orient-%1.jpg").arg(o)),
                                                         tmp.filePath(QString::number(o)), "png");
        ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
        const QImage img(*out);
        ASSERT_EQ(img.size(), QSize(32, 16));
        EXPECT_TRUE(near(img.pixel(3, 3), qRgb(255, 0, 0)));
        EXPECT_TRUE(near(img.pixel(28, 3), qRgb(0, 255, 0)));
        EXPECT_TRUE(near(img.pixel(3, 12), qRgb(0, 0, 255)));
        EXPECT_TRUE(near(img.pixel(28, 12), qRgb(255, 255, 255)));
    }
}
