// WMF and EMF playback: pictures written with libUEMF's writers, checked at chosen pixels.
#include "PictureTestSupport.h"

#include "components/TImageEn.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/MetafilePlayer.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <uemf.h>
#include <uemf_utf.h>
#include <uwmf.h>

using namespace picturetest;

namespace {

U_COLORREF rgb(int r, int g, int b)
{
    return colorref3_set(uint8_t(r), uint8_t(g), uint8_t(b));
}

U_POINT16 p16(int x, int y)
{
    return point16_set(int16_t(x), int16_t(y));
}

U_RECT16 r16(int l, int t, int r, int b)
{
    return U_RECT16_set(p16(l, t), p16(r, b));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A 2 x 2 24-bit bitmap: top row red, green; bottom row blue, white (stored bottom-up).
struct TinyDib
{
    U_BITMAPINFOHEADER header = bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, 16, 2835, 2835, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    char px[16] = {'\xff', 0, 0,      '\xff', '\xff', '\xff', 0, 0,  // blue, white
                   0,      0, '\xff', 0,      '\xff', 0,      0, 0}; // red, green
    ~TinyDib() { std::free(info); }
};

// Left half red (solid), right half a hatched ellipse, a clipped black band, a triangle, text
// and a stretched bitmap, on a 2 by 1 inch placeable picture at 1440 units an inch.
QByteArray makeWmf(const QString &path, bool placeable, bool withEnd = true)
{
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    wmf_start(path.toLocal8Bit().constData(), 100000, 50000, &wt);
    wmf_htable_create(128, 128, &wht);
    U_PAIRF size{2.0f, 1.0f};
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(placeable ? &size : nullptr, 1440)),
                      wt, 1);
    auto add = [&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); };
    add(U_WMRSETWINDOWORG_set(p16(0, 0)));
    add(U_WMRSETWINDOWEXT_set(p16(2880, 1440)));
    uint32_t brush = 0, pen = 0, font = 0;
    add(wcreatepenindirect_set(&pen, wht, U_PEN_set(U_PS_NULL, 1, rgb(0, 0, 0))));
    add(wselectobject_set(pen, wht));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, rgb(255, 0, 0), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRRECTANGLE_set(r16(0, 0, 1440, 1440)));
    add(wdeleteobject_set(&brush, wht));
    add(U_WMRSETBKMODE_set(U_OPAQUE));
    add(U_WMRSETBKCOLOR_set(rgb(255, 255, 0)));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_HATCHED, rgb(0, 128, 0), U_HS_CROSS)));
    add(wselectobject_set(brush, wht));
    add(U_WMRELLIPSE_set(r16(1600, 100, 2800, 1340)));
    add(wdeleteobject_set(&brush, wht));
    add(U_WMRSAVEDC_set());
    add(U_WMRINTERSECTCLIPRECT_set(r16(1440, 0, 2160, 1440)));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, rgb(0, 0, 0), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRRECTANGLE_set(r16(1440, 0, 2880, 240)));
    add(U_WMRRESTOREDC_set(-1));
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, rgb(0, 0, 255), 0)));
    add(wselectobject_set(brush, wht));
    const U_POINT16 tri[3] = {p16(100, 300), p16(700, 300), p16(400, 900)};
    add(U_WMRPOLYGON_set(3, tri));
    char face[] = "Sans";
    U_FONT *uf = U_FONT_set(-300, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, face);
    add(wcreatefontindirect_set(&font, wht, uf));
    std::free(uf);
    add(wselectobject_set(font, wht));
    add(U_WMRSETTEXTCOLOR_set(rgb(255, 255, 255)));
    add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    char text[] = "HHHH";
    add(U_WMRTEXTOUT_set(p16(100, 950), text));
    TinyDib dib;
    add(U_WMRSTRETCHDIB_set(p16(800, 1000), p16(480, 360), p16(0, 0), p16(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY,
                            dib.info, 16, dib.px));
    if (withEnd)
        add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return readAll(path);
}

// 192 x 96 pixels (a frame of 50.8 x 25.4 mm): red square in pixels, then an anisotropic
// mapping (logical 1000 = 100 pixels) for a green ellipse, a blue path triangle, a clipped
// pie, a stretched bitmap and text.
QByteArray makeEmf(const QString &path, bool withEnd = true)
{
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    emf_start(path.toLocal8Bit().constData(), 100000, 50000, &et);
    emf_htable_create(128, 128, &eht);
    auto rect = [](int l, int t, int r, int b) { return rectl_set(pointl_set(l, t), pointl_set(r, b)); };
    auto add = [&](char *rec) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(rec), et, U_REC_FREE); };
    add(U_EMRHEADER_set(rect(0, 0, 191, 95), rect(0, 0, 5080, 2540), nullptr, 0, nullptr,
                        sizel_set(1920, 1080), sizel_set(508, 286), 0));
    uint32_t pen = 0, brush = 0, font = 0;
    add(createpen_set(&pen, eht, logpen_set(U_PS_NULL, point32_set(0, 0), rgb(0, 0, 0))));
    add(selectobject_set(pen, eht));
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, rgb(255, 0, 0), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRRECTANGLE_set(rect(10, 10, 60, 60)));
    add(U_EMRSAVEDC_set());
    add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    add(U_EMRSETWINDOWEXTEX_set(sizel_set(1000, 1000)));
    add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(100, 100)));
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, rgb(0, 255, 0), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRELLIPSE_set(rect(700, 100, 900, 500)));
    add(U_EMRRESTOREDC_set(-1));
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, rgb(0, 0, 255), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRBEGINPATH_set());
    add(U_EMRMOVETOEX_set(pointl_set(100, 10)));
    add(U_EMRLINETO_set(pointl_set(140, 10)));
    add(U_EMRLINETO_set(pointl_set(120, 50)));
    add(U_EMRENDPATH_set());
    add(U_EMRFILLPATH_set(rect(100, 10, 140, 50)));
    add(U_EMRSAVEDC_set());
    add(U_EMRINTERSECTCLIPRECT_set(rect(150, 0, 170, 95)));
    add(U_EMRPIE_set(rect(140, 10, 190, 60), pointl_set(190, 35), pointl_set(165, 10)));
    add(U_EMRRESTOREDC_set(-1));
    TinyDib dib;
    add(U_EMRSTRETCHDIBITS_set(rect(10, 70, 50, 94), pointl_set(10, 70), pointl_set(40, 24), pointl_set(0, 0),
                               pointl_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, dib.info, 16, dib.px));
    uint16_t *faceName = U_Utf8ToUtf16le("Sans", 0, nullptr);
    U_LOGFONT lf = logfont_set(-20, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, faceName);
    std::free(faceName);
    uint16_t noName[1] = {0};
    const U_LOGFONT_PANOSE lfp =
        logfont_panose_set(lf, noName, noName, 0, panose_set(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    add(extcreatefontindirectw_set(&font, eht, nullptr, reinterpret_cast<const char *>(&lfp)));
    add(selectobject_set(font, eht));
    add(U_EMRSETTEXTCOLOR_set(rgb(255, 0, 255)));
    add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    uint16_t *str = U_Utf8ToUtf16le("HHHH", 0, nullptr);
    uint32_t spacing[4] = {14, 14, 14, 14};
    char *text = emrtext_set(pointl_set(70, 65), 4, 2, str, U_ETO_NONE, rect(0, 0, 0, 0), spacing);
    std::free(str);
    add(U_EMREXTTEXTOUTW_set(rect(70, 65, 130, 90), U_GM_COMPATIBLE, 1.0f, 1.0f,
                             reinterpret_cast<PU_EMRTEXT>(text)));
    std::free(text);
    if (withEnd)
        add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
    return readAll(path);
}

bool anyPixel(const QImage &img, QRect area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((img.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                return true;
    return false;
}

} // namespace

class MetafileTest : public ::testing::Test
{
protected:
    void SetUp() override { ensureApp(); }
    QTemporaryDir dir;
};

TEST_F(MetafileTest, WmfSizeComesFromThePlaceableHeaderOrTheWindow)
{
    const platform::ErrorOr<QSize> placed = pictures::wmfPictureSize(makeWmf(dir.filePath("a.wmf"), true));
    ASSERT_TRUE(placed) << placed.error().message.toStdString();
    EXPECT_EQ(*placed, QSize(192, 96));
    const platform::ErrorOr<QSize> windowed = pictures::wmfPictureSize(makeWmf(dir.filePath("b.wmf"), false));
    ASSERT_TRUE(windowed);
    EXPECT_EQ(*windowed, QSize(2880, 1440));

    TImageEn view;
    ASSERT_TRUE(view.loadFromFile(dir.filePath("a.wmf")).ok());
    EXPECT_EQ(view.bitmapWidth(), 191); // one pixel narrower and lower than the picture
    EXPECT_EQ(view.bitmapHeight(), 95);
    EXPECT_FALSE(view.isMonochrome());
}

TEST_F(MetafileTest, WmfRecordsDrawAtTheirPlaces)
{
    const platform::ErrorOr<QImage> drawn =
        pictures::renderWmf(makeWmf(dir.filePath("a.wmf"), true), Qt::white);
    ASSERT_TRUE(drawn) << drawn.error().message.toStdString();
    const QImage &img = *drawn;
    EXPECT_EQ(img.pixel(40, 80), qRgb(255, 0, 0));                    // solid rectangle
    EXPECT_TRUE(anyPixel(img, {140, 40, 12, 12}, qRgb(0, 128, 0)));   // hatch lines
    EXPECT_TRUE(anyPixel(img, {140, 40, 12, 12}, qRgb(255, 255, 0))); // on the background colour
    EXPECT_EQ(img.pixel(120, 5), qRgb(0, 0, 0));                      // band inside the clip
    EXPECT_NE(img.pixel(180, 5), qRgb(0, 0, 0));                      // band outside the clip
    EXPECT_EQ(img.pixel(26, 30), qRgb(0, 0, 255));                    // triangle
    EXPECT_EQ(img.pixel(4, 30), qRgb(255, 0, 0));                     // beside it
    EXPECT_TRUE(anyPixel(img, {6, 64, 40, 16}, qRgb(255, 255, 255))); // text
    EXPECT_EQ(img.pixel(60, 70), qRgb(255, 0, 0));                    // bitmap, top left quarter
    EXPECT_EQ(img.pixel(76, 70), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(60, 88), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(76, 88), qRgb(255, 255, 255));
    if (qEnvironmentVariableIsSet("LUMA_KEEP_RENDERS"))
        img.save(qEnvironmentVariable("LUMA_KEEP_RENDERS") + "/wmf.png"),
            QFile::copy(dir.filePath("a.wmf"), qEnvironmentVariable("LUMA_KEEP_RENDERS") + "/scene.wmf");
}

TEST_F(MetafileTest, EmfSizeAndRecords)
{
    const QByteArray data = makeEmf(dir.filePath("a.emf"));
    const platform::ErrorOr<QSize> size = pictures::emfPictureSize(data);
    ASSERT_TRUE(size) << size.error().message.toStdString();
    EXPECT_EQ(*size, QSize(192, 96));
    const platform::ErrorOr<QImage> drawn = pictures::renderEmf(data, Qt::white);
    ASSERT_TRUE(drawn) << drawn.error().message.toStdString();
    const QImage &img = *drawn;
    EXPECT_EQ(img.size(), QSize(191, 95));
    EXPECT_EQ(img.pixel(35, 35), qRgb(255, 0, 0)); // rectangle in pixels
    EXPECT_EQ(img.pixel(80, 30), qRgb(0, 255, 0)); // ellipse through the anisotropic mapping
    EXPECT_EQ(img.pixel(66, 30), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(120, 20), qRgb(0, 0, 255)); // filled path
    EXPECT_EQ(img.pixel(104, 45), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(168, 28), qRgb(0, 0, 255)); // pie inside the clip
    EXPECT_EQ(img.pixel(175, 28), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(20, 75), qRgb(255, 0, 0)); // bitmap quarters
    EXPECT_EQ(img.pixel(40, 75), qRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(20, 90), qRgb(0, 0, 255));
    EXPECT_TRUE(anyPixel(img, {70, 65, 60, 25}, qRgb(255, 0, 255))); // text
    if (qEnvironmentVariableIsSet("LUMA_KEEP_RENDERS"))
        img.save(qEnvironmentVariable("LUMA_KEEP_RENDERS") + "/emf.png"),
            QFile::copy(dir.filePath("a.emf"), qEnvironmentVariable("LUMA_KEEP_RENDERS") + "/scene.emf");
}

TEST_F(MetafileTest, DamagedMetafilesFail)
{
    using Kind = platform::Error::Kind;
    const auto damaged = [](const platform::ErrorOr<QImage> &result) {
        return !result && result.error().kind == Kind::InvalidData;
    };
    const QByteArray wmf = makeWmf(dir.filePath("a.wmf"), true);
    EXPECT_TRUE(damaged(pictures::renderWmf(wmf.left(wmf.size() - 40), Qt::white)));
    const platform::ErrorOr<QImage> unended =
        pictures::renderWmf(makeWmf(dir.filePath("c.wmf"), true, false), Qt::white);
    EXPECT_TRUE(damaged(unended));
    EXPECT_TRUE(!unended && unended.error().message.contains("end record"));
    QByteArray badSize = wmf;
    badSize[22 + 18 + 0] = char(0x7f); // first record claims a huge size
    badSize[22 + 18 + 2] = char(0x7f);
    EXPECT_TRUE(damaged(pictures::renderWmf(badSize, Qt::white)));
    EXPECT_TRUE(damaged(pictures::renderWmf("junk", Qt::white)));

    const QByteArray emf = makeEmf(dir.filePath("a.emf"));
    EXPECT_TRUE(damaged(pictures::renderEmf(emf.left(emf.size() - 30), Qt::white)));
    EXPECT_TRUE(damaged(pictures::renderEmf(makeEmf(dir.filePath("c.emf"), false), Qt::white)));
    QByteArray odd = emf;
    odd[4] = char(odd[4] + 2); // header size not a multiple of four
    EXPECT_TRUE(damaged(pictures::renderEmf(odd, Qt::white)));

    // A picture over the limit is too large, not damaged.
    const qint64 saved = pictures::maxImageBytes();
    pictures::setMaxImageBytes(100 * 100 * 4);
    const platform::ErrorOr<QImage> big = pictures::renderEmf(emf, Qt::white);
    pictures::setMaxImageBytes(saved);
    ASSERT_FALSE(big);
    EXPECT_EQ(big.error().kind, Kind::TooLarge);
}

TEST_F(MetafileTest, ImageViewLoadsByExtensionAndClearsWithoutResizing)
{
    using Kind = platform::Error::Kind;
    TImageEn view;
    view.setBackground(QColor(1, 2, 3));
    makeEmf(dir.filePath("pic.EMF"));
    ASSERT_TRUE(view.loadFromFile(dir.filePath("pic.EMF")).ok());
    EXPECT_EQ(view.bitmap().pixel(5, 5), qRgb(1, 2, 3)); // drawn on the background colour
    ASSERT_TRUE(view.loadFromFile(fixture("rose-mono.pcx")).ok());
    EXPECT_TRUE(view.isMonochrome());
    const QString damaged = fixture("damaged-ifd.tif");
    platform::Status status = view.loadFromFile(damaged);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::InvalidData);
    EXPECT_TRUE(status.message().startsWith(QStringLiteral("Cannot read picture \"%1\": ").arg(damaged)));
    EXPECT_EQ(view.bitmapWidth(), 70); // a failed load keeps the last bitmap
    view.clear();
    EXPECT_EQ(view.bitmapWidth(), 70);
    EXPECT_EQ(view.bitmapHeight(), 46);
    EXPECT_EQ(view.bitmap().pixel(10, 10), qRgb(1, 2, 3));
    EXPECT_FALSE(view.isMonochrome());
    const QString bmp = fixture("rose.bmp");
    status = view.loadFromFile(bmp); // not a type it shows
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::InvalidData);
    EXPECT_EQ(status.message(),
              QStringLiteral("Cannot read picture \"%1\": unknown picture type \"bmp\"").arg(bmp));
    status = view.loadFromFile(fixture("missing.pcx"));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, Kind::FileOpen);
    ASSERT_TRUE(view.loadFromFile(fixture("rose-zip.tif")).ok());
    EXPECT_EQ(view.bitmapWidth(), 70);
}

TEST_F(MetafileTest, ImageViewTellsPicturesOverTheLimitFromDamage)
{
    TImageEn view;
    makeWmf(dir.filePath("a.wmf"), true); // 192 x 96
    makeEmf(dir.filePath("a.emf"));       // 192 x 96
    const qint64 limit = pictures::maxImageBytes();
    // Over the picture size of every file below, under each one's size on disk.
    pictures::setMaxImageBytes(12000);
    const platform::Status pcx = view.loadFromFile(fixture("rose-mono.pcx")); // 70 x 46
    const platform::Status wmf = view.loadFromFile(dir.filePath("a.wmf"));
    const platform::Status emf = view.loadFromFile(dir.filePath("a.emf"));
    pictures::setMaxImageBytes(limit);
    for (const platform::Status &status : {pcx, wmf, emf}) {
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().kind, platform::Error::Kind::TooLarge) << status.message().toStdString();
    }
    EXPECT_TRUE(view.bitmap().isNull());
    const platform::Status cut = view.loadFromFile(fixture("damaged-truncated.pcx"));
    ASSERT_FALSE(cut.ok());
    EXPECT_EQ(cut.error().kind, platform::Error::Kind::InvalidData);
}

// drawWmf and drawEmf play what the render functions play, onto a bitmap the caller gives.
TEST_F(MetafileTest, DrawingOntoAGivenBitmapPlaysTheSamePicture)
{
    const QByteArray wmf = makeWmf(dir.filePath("a.wmf"), true);
    const QByteArray emf = makeEmf(dir.filePath("a.emf"));
    for (const bool enhanced : {false, true}) {
        SCOPED_TRACE(enhanced ? "emf" : "wmf");
        const QByteArray &data = enhanced ? emf : wmf;
        const platform::ErrorOr<QImage> played =
            enhanced ? pictures::renderEmf(data, Qt::white) : pictures::renderWmf(data, Qt::white);
        ASSERT_TRUE(played) << played.error().message.toStdString();
        const QImage &rendered = *played;
        // At the picture's own size (192 x 96) the rendered bitmap is the drawn one less a pixel.
        QImage full(192, 96, QImage::Format_RGB32);
        full.fill(Qt::white);
        const platform::Status drawn =
            enhanced ? pictures::drawEmf(data, full) : pictures::drawWmf(data, full);
        ASSERT_TRUE(drawn.ok()) << drawn.message().toStdString();
        EXPECT_EQ(full.copy(0, 0, 191, 95), rendered);
        // At half the size, the same picture scaled: a solid red area lands at half its place, and
        // the target is not cleared first.
        QImage half(96, 48, QImage::Format_RGB32);
        half.fill(Qt::black);
        ASSERT_TRUE((enhanced ? pictures::drawEmf(data, half) : pictures::drawWmf(data, half)).ok());
        const QPoint red = enhanced ? QPoint(35, 35) : QPoint(20, 10);
        EXPECT_EQ(half.pixel(red / 2), qRgb(255, 0, 0));
        EXPECT_EQ(half.pixel(enhanced ? QPoint(90, 2) : QPoint(90, 46)), qRgb(0, 0, 0));
    }
}

TEST_F(MetafileTest, DrawingRefusesWhatRenderingRefuses)
{
    using Kind = platform::Error::Kind;
    QImage target(32, 32, QImage::Format_RGB32);
    const QByteArray wmf = makeWmf(dir.filePath("a.wmf"), true);
    const QByteArray emf = makeEmf(dir.filePath("a.emf"));
    platform::Status s = pictures::drawWmf("junk", target);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.error().kind, Kind::InvalidData);
    s = pictures::drawWmf(makeWmf(dir.filePath("c.wmf"), true, false), target);
    ASSERT_FALSE(s.ok());
    EXPECT_TRUE(s.message().contains("end record")) << s.message().toStdString();
    s = pictures::drawEmf(emf.left(emf.size() - 30), target);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.error().kind, Kind::InvalidData);
    QImage none;
    EXPECT_FALSE(pictures::drawWmf(wmf, none).ok());
    EXPECT_FALSE(pictures::drawEmf(emf, none).ok());

    // The picture's own size is held to the limit even though the target is small.
    const qint64 limit = pictures::maxImageBytes();
    pictures::setMaxImageBytes(12000);
    const platform::Status bigWmf = pictures::drawWmf(wmf, target);
    const platform::Status bigEmf = pictures::drawEmf(emf, target);
    pictures::setMaxImageBytes(limit);
    for (const platform::Status &status : {bigWmf, bigEmf}) {
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().kind, Kind::TooLarge) << status.message().toStdString();
    }
}
