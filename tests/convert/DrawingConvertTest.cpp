// Drawings written with libUEMF's writers, converted to SVG and to pixels: the PNG at the drawing's
// own size is the viewer's bitmap, a PNG at a chosen width is the same drawing scaled, and the SVG
// that librsvg renders is close to the PNG (it draws smooth edges where GDI draws hard ones).
#include "ConvertTestSupport.h"

#include "components/TImageEn.h"
#include "convert/Converter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <uemf.h>
#include <uwmf.h>

using namespace converttest;

namespace {

U_COLORREF rgb(int r, int g, int b)
{
    return colorref3_set(uint8_t(r), uint8_t(g), uint8_t(b));
}

U_POINT16 p16(int x, int y)
{
    return point16_set(int16_t(x), int16_t(y));
}

// A 2 by 1 inch placeable picture (192 x 96 pixels): a red square on the left, a blue triangle,
// a green ellipse on the right, a black band across the top clipped to the middle. withEnd false
// leaves out the end record (a damaged file).
void writeWmf(const QString &path, bool withEnd = true)
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
    add(wcreatepenindirect_set(&pen, wht, U_PEN_set(U_PS_NULL, 1, rgb(0, 0, 0))));
    add(wselectobject_set(pen, wht));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, rgb(255, 0, 0), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRRECTANGLE_set(U_RECT16_set(p16(0, 0), p16(1200, 1200))));
    add(wdeleteobject_set(&brush, wht));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, rgb(0, 0, 255), 0)));
    add(wselectobject_set(brush, wht));
    const U_POINT16 tri[3] = {p16(1300, 1300), p16(1900, 1300), p16(1600, 200)};
    add(U_WMRPOLYGON_set(3, tri));
    add(wdeleteobject_set(&brush, wht));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, rgb(0, 160, 0), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRELLIPSE_set(U_RECT16_set(p16(2000, 200), p16(2800, 1200))));
    add(wdeleteobject_set(&brush, wht));
    add(U_WMRSAVEDC_set());
    add(U_WMRINTERSECTCLIPRECT_set(U_RECT16_set(p16(1300, 0), p16(2000, 1440))));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, rgb(0, 0, 0), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRRECTANGLE_set(U_RECT16_set(p16(0, 0), p16(2880, 150))));
    add(U_WMRRESTOREDC_set(-1));
    if (withEnd)
        add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
}

// 192 x 96 pixels: a red square, a blue ellipse in an anisotropic mapping.
void writeEmf(const QString &path)
{
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    emf_start(path.toLocal8Bit().constData(), 100000, 50000, &et);
    emf_htable_create(128, 128, &eht);
    auto rect = [](int l, int t, int r, int b) { return rectl_set(pointl_set(l, t), pointl_set(r, b)); };
    auto add = [&](char *rec) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(rec), et, U_REC_FREE); };
    add(U_EMRHEADER_set(rect(0, 0, 191, 95), rect(0, 0, 5080, 2540), nullptr, 0, nullptr,
                        sizel_set(1920, 1080), sizel_set(508, 286), 0));
    uint32_t pen = 0, brush = 0;
    add(createpen_set(&pen, eht, logpen_set(U_PS_NULL, point32_set(0, 0), rgb(0, 0, 0))));
    add(selectobject_set(pen, eht));
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, rgb(255, 0, 0), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRRECTANGLE_set(rect(10, 10, 70, 70)));
    add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    add(U_EMRSETWINDOWEXTEX_set(sizel_set(1000, 1000)));
    add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(100, 100)));
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, rgb(0, 0, 255), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRELLIPSE_set(rect(1000, 100, 1800, 800)));
    add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
}

platform::ErrorOr<QString> convertTo(const QString &input, const QString &folder, const QString &format,
                                     int width = 0)
{
    convert::Options options;
    options.width = width;
    return convert::convertFile(convert::Job{input, folder, format}, options);
}

// Root mean square difference of the colour channels, 0..255.
double rmse(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32).convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                sum += double(d) * d;
        }
    return std::sqrt(sum / (3.0 * x.width() * x.height()));
}

class DrawingConvert : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        wmf = tmp.filePath("scene.wmf");
        emf = tmp.filePath("scene.emf");
        writeWmf(wmf);
        writeEmf(emf);
    }
    QTemporaryDir tmp;
    QString wmf, emf;
};

} // namespace

TEST_F(DrawingConvert, PngAtTheDrawingsOwnSizeIsTheViewersBitmap)
{
    for (const QString &input : {wmf, emf}) {
        SCOPED_TRACE(input.toStdString());
        TImageEn view;
        ASSERT_TRUE(view.loadFromFile(input).ok());
        const platform::ErrorOr<QString> out = convertTo(input, tmp.filePath("own"), "png");
        ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
        EXPECT_TRUE(samePixels(QImage(*out), view.bitmap()));
    }
}

TEST_F(DrawingConvert, PngAtAChosenWidthIsTheDrawingScaled)
{
    const platform::ErrorOr<QString> out = convertTo(wmf, tmp.filePath("wide"), "png", 573);
    ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
    const QImage img(*out);
    // The viewer's bitmap is 191 x 95; three times as wide keeps its proportions.
    EXPECT_EQ(img.size(), QSize(573, 285));
    const double s = 3 * 192.0 / 2880; // pixels per logical unit
    EXPECT_EQ(img.pixel(int(600 * s), int(600 * s)), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(int(1600 * s), int(1100 * s)), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(int(2400 * s), int(700 * s)), qRgb(0, 160, 0));
    EXPECT_EQ(img.pixel(int(2400 * s), int(1350 * s)), qRgb(255, 255, 255));
    // The square ends where the drawing says, within the one pixel that rounding moves it.
    EXPECT_EQ(img.pixel(int(1200 * s) - 2, 10), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(int(1200 * s) + 2, 10), qRgb(255, 255, 255));
}

TEST_F(DrawingConvert, SvgKeepsVectorsThatRenderCloseToThePng)
{
    for (const QString &input : {wmf, emf}) {
        SCOPED_TRACE(input.toStdString());
        const platform::ErrorOr<QString> svg = convertTo(input, tmp.filePath("svg"), "svg");
        ASSERT_TRUE(svg.ok()) << svg.error().message.toStdString();
        EXPECT_TRUE(svg->endsWith(".svg"));
        QFile f(*svg);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        EXPECT_TRUE(text.contains("<svg"));
        EXPECT_TRUE(text.contains("<path") || text.contains("<polygon") || text.contains("<rect"));
        EXPECT_FALSE(text.contains("<image")) << "shapes were drawn as a bitmap";

        const platform::ErrorOr<QString> png = convertTo(input, tmp.filePath("png"), "png");
        ASSERT_TRUE(png.ok());
        const QImage ours(*png);
        const QString rendered = tmp.filePath("rendered.png");
        QFile::remove(rendered);
        ASSERT_TRUE(runTool("rsvg-convert", {"--background-color=white", "-o", rendered, *svg}));
        const QImage theirs(rendered);
        ASSERT_EQ(theirs.size(), ours.size());
        EXPECT_LT(rmse(ours, theirs), 12.0);
        if (input == wmf) {
            // The clip holds in the SVG: the band is black only between 1300 and 2000 units.
            EXPECT_EQ(theirs.pixel(40, 4) & 0xffffff, 0xff0000u);
            EXPECT_EQ(theirs.pixel(106, 4) & 0xffffff, 0x000000u);
            EXPECT_EQ(theirs.pixel(170, 4) & 0xffffff, 0xffffffu);
        }
    }
}

TEST_F(DrawingConvert, ADamagedDrawingLeavesNoOutputInAnyFormat)
{
    const QString damaged = tmp.filePath("damaged.wmf");
    writeWmf(damaged, false);
    for (const QString format : {"svg", "png"}) {
        SCOPED_TRACE(format.toStdString());
        const platform::ErrorOr<QString> out = convertTo(damaged, tmp.filePath("out"), format);
        ASSERT_FALSE(out.ok());
        EXPECT_TRUE(out.error().message.contains("damaged.wmf"));
        EXPECT_TRUE(filesBelow(tmp.filePath("out")).isEmpty())
            << filesBelow(tmp.filePath("out")).join(' ').toStdString();
    }
}
