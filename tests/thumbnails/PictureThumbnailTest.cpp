// Thumbnails of pictures and drawings made by ImageMagick and libUEMF: size within the box with the
// aspect kept, the colours where the picture has them, the page or frame or image the rules say.
#include "ThumbnailTestSupport.h"

#include "thumbnails/Thumbnail.h"

#include <QFile>
#include <QTemporaryDir>
#include <uemf.h>
#include <uwmf.h>

using namespace thumbtest;

namespace {

class PictureThumbnails : public ::testing::Test
{
protected:
    // A 400 x 200 picture, red on the left half and blue on the right, in the given file.
    QString halves(const QString &name, const QStringList &extra = {})
    {
        const QString out = dir.filePath(name);
        QStringList args{"-size", "200x200", "xc:red", "-size", "200x200", "xc:blue", "+append"};
        args << extra << out;
        EXPECT_TRUE(runTool("convert", args)) << name.toStdString();
        return out;
    }
    QTemporaryDir dir;
};

void expectHalves(const platform::ErrorOr<QImage> &thumb, QSize size)
{
    ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
    EXPECT_EQ(thumb->size(), size);
    EXPECT_TRUE(near(*thumb, 3, thumb->height() / 2, Qt::red));
    EXPECT_TRUE(near(*thumb, thumb->width() - 4, thumb->height() / 2, Qt::blue));
}

TEST_F(PictureThumbnails, EachStillPictureTypeFitsTheBoxWithItsColours)
{
    for (const char *name : {"p.bmp", "p.jpg", "p.gif", "p.pcx", "p.tif", "p.png", "p.webp"}) {
        SCOPED_TRACE(name);
        const QString path = halves(QString::fromLatin1(name));
        expectHalves(thumbs::makeThumbnail(path, 128), QSize(128, 64));
        // The large size of the cache.
        expectHalves(thumbs::makeThumbnail(path, 256), QSize(256, 128));
    }
}

// A see-through PNG keeps its alpha; an animation shows its first frame.
TEST_F(PictureThumbnails, PngAndWebpKeepTheirAlphaAndShowTheFirstFrame)
{
    for (const char *name : {"alpha.png", "alpha.webp", "alpha-anim.apng", "alpha-anim.webp"}) {
        SCOPED_TRACE(name);
        const QImage original = QImage(fixture(QStringLiteral("pictures/") + name));
        const platform::ErrorOr<QImage> thumb =
            thumbs::makeThumbnail(fixture(QStringLiteral("pictures/") + name), 128);
        ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
        EXPECT_TRUE(thumb->hasAlphaChannel());
        EXPECT_LT(qAlpha(thumb->pixel(0, 0)), 255);
        EXPECT_EQ(thumb->size(), original.size()); // small pictures are not enlarged
    }
    EXPECT_FALSE(thumbs::makeThumbnail(fixture("pictures/damaged-header.png"), 128));
    EXPECT_FALSE(thumbs::makeThumbnail(fixture("pictures/damaged-header.webp"), 128));
}

TEST_F(PictureThumbnails, SmallPicturesAreNotEnlarged)
{
    const QString out = dir.filePath("small.bmp");
    ASSERT_TRUE(runTool("convert", {"-size", "40x20", "xc:lime", out}));
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(out, 128);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->size(), QSize(40, 20));
    EXPECT_TRUE(near(*thumb, 20, 10, QColor(0, 255, 0)));
}

TEST_F(PictureThumbnails, JpegDecodesAtTheScaleNearestAboveTheBox)
{
    EXPECT_EQ(thumbs::jpegScaleForBox(1600, 1200, 128), 3); // 200 x 150 still fills 128 x 96
    EXPECT_EQ(thumbs::jpegScaleForBox(1000, 1000, 128), 2); // an eighth (125) would be short
    EXPECT_EQ(thumbs::jpegScaleForBox(600, 300, 128), 2);   // 150 x 75 for 128 x 64
    EXPECT_EQ(thumbs::jpegScaleForBox(200, 100, 128), 0);   // a half would be short of 128
    EXPECT_EQ(thumbs::jpegScaleForBox(100, 50, 128), 0);    // smaller than the box: whole
    EXPECT_EQ(thumbs::jpegScaleForBox(4000, 3000, 256), 3);
    // A 4000 x 3000 photo whose full decode would break a tight pixel limit is decoded at an eighth.
    const QString out = dir.filePath("photo.jpg");
    // Portrait: 1500 x 2000.
    ASSERT_TRUE(runTool("convert", {"-size", "2000x1500", "gradient:red-blue", "-rotate", "90", out}));
    thumbs::Limits limits;
    limits.maxPicturePixels = 300 * 300;
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(out, 128, limits);
    ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
    EXPECT_EQ(thumb->size(), QSize(96, 128));
}

TEST_F(PictureThumbnails, TiffGivesItsFirstPageGifAndIconTheirRules)
{
    const QString tif = dir.filePath("pages.tif");
    ASSERT_TRUE(runTool("convert", {"-size", "60x30", "xc:red", "-size", "30x60", "xc:blue", tif}));
    platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(tif, 128);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->size(), QSize(60, 30));
    EXPECT_TRUE(near(*thumb, 30, 15, Qt::red));

    const QString gif = dir.filePath("anim.gif");
    ASSERT_TRUE(
        runTool("convert", {"-delay", "20", "-size", "80x40", "xc:yellow", "xc:blue", "xc:red", gif}));
    thumb = thumbs::makeThumbnail(gif, 128);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->size(), QSize(80, 40));
    EXPECT_TRUE(near(*thumb, 40, 20, Qt::yellow));

    // The largest of the icon's images, not the one a list shows.
    const QString ico = dir.filePath("multi.ico");
    ASSERT_TRUE(runTool("convert", {"-size", "16x16", "xc:red", "-size", "64x64", "xc:blue", "-size", "32x32",
                                    "xc:lime", ico}));
    thumb = thumbs::makeThumbnail(ico, 128);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->size(), QSize(64, 64));
    EXPECT_TRUE(near(*thumb, 32, 32, Qt::blue));
}

TEST_F(PictureThumbnails, AnimatedCursorGivesItsFirstStep)
{
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(fixture("pictures/cursor.ani"), 128);
    ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
    EXPECT_FALSE(thumb->isNull());
    EXPECT_LE(thumb->width(), 128);
    EXPECT_EQ(thumb->format(), QImage::Format_ARGB32);
}

U_POINT16 p16(int x, int y)
{
    return point16_set(int16_t(x), int16_t(y));
}

// A 2 by 1 inch drawing (192 x 96 pixels): red on the left half, blue on the right.
void writeWmf(const QString &path)
{
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    wmf_start(path.toLocal8Bit().constData(), 100000, 50000, &wt);
    wmf_htable_create(128, 128, &wht);
    U_PAIRF size{2.0f, 1.0f};
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(&size, 1440)), wt, 1);
    auto add = [&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); };
    add(U_WMRSETWINDOWORG_set(p16(0, 0)));
    add(U_WMRSETWINDOWEXT_set(p16(2880, 1440)));
    uint32_t brush = 0, pen = 0;
    add(wcreatepenindirect_set(&pen, wht, U_PEN_set(U_PS_NULL, 1, colorref3_set(0, 0, 0))));
    add(wselectobject_set(pen, wht));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRRECTANGLE_set(U_RECT16_set(p16(0, 0), p16(1440, 1440))));
    add(wdeleteobject_set(&brush, wht));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(0, 0, 255), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRRECTANGLE_set(U_RECT16_set(p16(1440, 0), p16(2880, 1440))));
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
}

// The same drawing as an enhanced metafile.
void writeEmf(const QString &path)
{
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    emf_start(path.toLocal8Bit().constData(), 100000, 50000, &et);
    emf_htable_create(128, 128, &eht);
    auto rect = [](int l, int t, int r, int b) { return rectl_set(pointl_set(l, t), pointl_set(r, b)); };
    auto add = [&](char *rec) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(rec), et, U_REC_FREE); };
    // Frame in hundredths of a millimetre: 2 x 1 inch.
    add(U_EMRHEADER_set(rect(0, 0, 191, 95), rect(0, 0, 5080, 2540), nullptr, 0, nullptr,
                        sizel_set(1920, 1080), sizel_set(508, 286), 0));
    uint32_t pen = 0, brush = 0;
    add(createpen_set(&pen, eht, logpen_set(U_PS_NULL, point32_set(0, 0), colorref3_set(0, 0, 0))));
    add(selectobject_set(pen, eht));
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRRECTANGLE_set(rect(0, 0, 96, 96)));
    add(deleteobject_set(&brush, eht));
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, colorref3_set(0, 0, 255), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRRECTANGLE_set(rect(96, 0, 192, 96)));
    add(deleteobject_set(&brush, eht));
    add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
}

TEST_F(PictureThumbnails, DrawingsAreDrawnAtTheBoxSize)
{
    const QString wmf = dir.filePath("d.wmf"), emf = dir.filePath("d.emf");
    writeWmf(wmf);
    writeEmf(emf);
    for (const QString &path : {wmf, emf}) {
        SCOPED_TRACE(path.toStdString());
        expectHalves(thumbs::makeThumbnail(path, 128), QSize(128, 64));
        // Larger than the drawing's own size: drawn there, not a scaled bitmap.
        const platform::ErrorOr<QImage> large = thumbs::makeThumbnail(path, 256);
        expectHalves(large, QSize(256, 128));
        // Sharp at the border between the halves: no blend of red and blue wider than a pixel.
        int blended = 0;
        for (int x = 0; x < 256; ++x) {
            const QColor c = large->pixelColor(x, 64);
            if (c.red() > 40 && c.blue() > 40)
                ++blended;
        }
        EXPECT_LE(blended, 1);
    }
}

TEST_F(PictureThumbnails, DamagedPicturesFailWithAReason)
{
    for (const char *name : {"damaged-truncated.bmp", "damaged-header.jpg", "damaged-truncated.gif",
                             "damaged-truncated.pcx", "damaged-ifd.tif", "damaged-garbage.ico"}) {
        SCOPED_TRACE(name);
        const platform::ErrorOr<QImage> thumb =
            thumbs::makeThumbnail(fixture(QStringLiteral("pictures/") + name), 128);
        ASSERT_FALSE(thumb);
        EXPECT_FALSE(thumb.error().message.isEmpty());
    }
    // Bytes of nothing in particular under each picture name.
    for (const char *name :
         {"x.bmp", "x.jpg", "x.gif", "x.ani", "x.ico", "x.pcx", "x.tif", "x.wmf", "x.emf"}) {
        SCOPED_TRACE(name);
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(300, '\x5a'));
        f.close();
        EXPECT_FALSE(thumbs::makeThumbnail(f.fileName(), 128));
    }
    EXPECT_FALSE(thumbs::makeThumbnail(dir.filePath("missing.bmp"), 128));
    EXPECT_FALSE(thumbs::makeThumbnail(dir.filePath("notes.txt"), 128));
}

TEST_F(PictureThumbnails, PictureBombsAreRefusedBeforeDecoding)
{
    // A PCX header that claims 60000 x 60000 pixels of 24-bit colour, followed by a few bytes.
    QByteArray pcx(128, '\0');
    pcx[0] = 0x0a;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    const quint16 last = 59999;
    pcx[8] = char(last & 0xff);
    pcx[9] = char(last >> 8);
    pcx[10] = char(last & 0xff);
    pcx[11] = char(last >> 8);
    pcx[65] = 3;
    pcx[66] = char(60000 & 0xff);
    pcx[67] = char(60000 >> 8);
    pcx.append(QByteArray(64, '\xc1'));
    QFile f(dir.filePath("bomb.pcx"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(pcx);
    f.close();
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(f.fileName(), 128);
    ASSERT_FALSE(thumb);
    EXPECT_EQ(thumb.error().kind, platform::Error::Kind::TooLarge);

    // A file over the size limit is not even read.
    thumbs::Limits small;
    small.maxFileBytes = 1000;
    const platform::ErrorOr<QImage> big = thumbs::makeThumbnail(halves("big.bmp"), 128, small);
    ASSERT_FALSE(big);
    EXPECT_EQ(big.error().kind, platform::Error::Kind::TooLarge);
}

} // namespace
