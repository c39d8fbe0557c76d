// Facts read from a file's header against what the viewer's component reports once it has loaded
// the whole file: the properties window must tell what the viewer would show.
#include "PictureTestSupport.h"

#include "components/MediaFacts.h"
#include "components/TAniFile.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <uemf.h>
#include <uwmf.h>

using namespace picturetest;

namespace {

struct Loaded
{
    bool ok = false;
    int width = 0, height = 0;
    bool monochrome = false;
};

// What the component of the file's viewer page reports.
Loaded loadWithComponent(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    Loaded l;
    if (ext == "bmp" || ext == "ico") {
        TPicture p;
        l.ok = p.loadFromFile(path).ok();
        l.width = p.pictureWidth();
        l.height = p.pictureHeight();
        l.monochrome = p.isMonochrome();
    } else if (ext == "ani") {
        TAniFile a;
        l.ok = a.loadFromFile(path).ok();
        l.width = l.ok ? a.size().width() : 0;
        l.height = l.ok ? a.size().height() : 0;
    } else {
        TImageEn v;
        l.ok = v.loadFromFile(path).ok();
        l.width = v.bitmapWidth();
        l.height = v.bitmapHeight();
        l.monochrome = v.isMonochrome();
    }
    return l;
}

QStringList fixturesWith(const QStringList &patterns)
{
    QStringList out;
    const QDir dir(QFileInfo(fixture("rose.bmp")).absolutePath());
    for (const QString &name : dir.entryList(patterns, QDir::Files, QDir::Name))
        out << dir.filePath(name);
    return out;
}

QByteArray jpegOf(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, "JPG");
    return b;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A placeable WMF of width x height units at 1440 an inch, or one sized by its window alone.
void writeWmf(const QString &path, float inchesWide, float inchesHigh, bool placeable)
{
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    wmf_start(path.toLocal8Bit().constData(), 100000, 50000, &wt);
    wmf_htable_create(128, 128, &wht);
    U_PAIRF size{inchesWide, inchesHigh};
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(placeable ? &size : nullptr, 1440)),
                      wt, 1);
    const auto add = [&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); };
    const auto p16 = [](int x, int y) { return point16_set(int16_t(x), int16_t(y)); };
    add(U_WMRSETWINDOWORG_set(p16(0, 0)));
    add(U_WMRSETWINDOWEXT_set(p16(int(inchesWide * 100), int(inchesHigh * 100))));
    add(U_WMRRECTANGLE_set(U_RECT16_set(p16(0, 0), p16(50, 50))));
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
}

// An EMF whose frame is width x height pixels.
void writeEmf(const QString &path, int width, int height)
{
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    emf_start(path.toLocal8Bit().constData(), 100000, 50000, &et);
    emf_htable_create(128, 128, &eht);
    const auto rect = [](int l, int t, int r, int b) {
        return rectl_set(pointl_set(l, t), pointl_set(r, b));
    };
    const auto add = [&](char *rec) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(rec), et, U_REC_FREE); };
    // The frame in hundredths of a millimetre at 96 pixels an inch.
    add(U_EMRHEADER_set(rect(0, 0, width - 1, height - 1), rect(0, 0, width * 2540 / 96, height * 2540 / 96),
                        nullptr, 0, nullptr, sizel_set(1920, 1080), sizel_set(508, 286), 0));
    add(U_EMRRECTANGLE_set(rect(1, 1, width / 2, height / 2)));
    add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
}

void expectSame(const QString &path, const mediafacts::PictureFacts &facts, const Loaded &loaded)
{
    SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
    if (!loaded.ok) {
        // What the viewer cannot show has no facts either.
        EXPECT_FALSE(facts.ok);
        EXPECT_EQ(facts.width, 0);
        EXPECT_EQ(facts.height, 0);
        return;
    }
    EXPECT_TRUE(facts.ok);
    EXPECT_EQ(facts.width, loaded.width);
    EXPECT_EQ(facts.height, loaded.height);
    EXPECT_EQ(facts.monochrome, loaded.monochrome);
}

} // namespace

class MediaFactsTest : public ::testing::Test
{
protected:
    void SetUp() override { ensureApp(); }
    QTemporaryDir dir;
};

TEST_F(MediaFactsTest, PicturesAsTheirComponentLoadsThem)
{
    const QStringList files = fixturesWith({"*.bmp", "*.ico", "*.pcx", "*.tif", "*.ani"});
    ASSERT_GE(files.size(), 20);
    for (const QString &path : files)
        expectSame(path, mediafacts::readPictureFacts(path), loadWithComponent(path));
}

TEST_F(MediaFactsTest, BitmapsWrittenByQt)
{
    struct Case
    {
        const char *name;
        QImage::Format format;
        int width, height;
    };
    const Case cases[] = {
        {"mono.bmp", QImage::Format_Mono, 33, 17},
        {"indexed.bmp", QImage::Format_Indexed8, 5, 300},
        {"rgb.bmp", QImage::Format_RGB32, 640, 1},
    };
    for (const Case &c : cases) {
        QImage image(c.width, c.height, c.format);
        if (c.format == QImage::Format_Mono || c.format == QImage::Format_Indexed8)
            image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        image.fill(1);
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(image.save(path, "BMP"));
        const mediafacts::PictureFacts facts = mediafacts::readPictureFacts(path);
        expectSame(path, facts, loadWithComponent(path));
        EXPECT_EQ(facts.width, c.width);
        EXPECT_EQ(facts.monochrome, c.format == QImage::Format_Mono);
    }
}

TEST_F(MediaFactsTest, MetafilesAsTheImageViewDrawsThem)
{
    const QString placeable = dir.filePath("placeable.wmf"), windowed = dir.filePath("windowed.wmf"),
                  enhanced = dir.filePath("frame.emf"), odd = dir.filePath("odd.emf");
    writeWmf(placeable, 1.5f, 0.75f, true);
    writeWmf(windowed, 3.0f, 2.0f, false);
    writeEmf(enhanced, 200, 100);
    writeEmf(odd, 37, 251);
    for (const QString &path : {placeable, windowed, enhanced, odd}) {
        const Loaded loaded = loadWithComponent(path);
        EXPECT_TRUE(loaded.ok) << path.toStdString();
        expectSame(path, mediafacts::readPictureFacts(path), loaded);
    }
    // Garbage under a metafile's name.
    ASSERT_TRUE(writeBytes(dir.filePath("bad.wmf"), QByteArray(100, '\x01')));
    ASSERT_TRUE(writeBytes(dir.filePath("bad.emf"), QByteArray(100, '\x01')));
    for (const char *name : {"bad.wmf", "bad.emf"})
        expectSame(dir.filePath(name), mediafacts::readPictureFacts(dir.filePath(name)),
                   loadWithComponent(dir.filePath(name)));
}

TEST_F(MediaFactsTest, JpegAtEveryScale)
{
    QStringList files = fixturesWith({"*.jpg"});
    // Sizes that do not divide by eight round as the decoder does.
    for (const QSize size : {QSize(4000, 3000), QSize(1001, 667), QSize(9, 7), QSize(1, 1)}) {
        const QString path = dir.filePath(QStringLiteral("%1x%2.jpg").arg(size.width()).arg(size.height()));
        ASSERT_TRUE(writeBytes(path, jpegOf(size.width(), size.height())));
        files << path;
    }
    for (const QString &path : files) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        TPicture picture;
        const bool loaded = picture.loadFromFile(path).ok() && picture.decodeNow().ok();
        for (int scale = 0; scale <= 3; ++scale) {
            SCOPED_TRACE(scale);
            const mediafacts::PictureFacts facts = mediafacts::readJpegFacts(path, scale);
            if (!loaded) {
                EXPECT_EQ(facts.width, 0);
                EXPECT_EQ(facts.height, 0);
                continue;
            }
            picture.jpeg()->setScale(scale);
            EXPECT_EQ(facts.width, picture.pictureWidth());
            EXPECT_EQ(facts.height, picture.pictureHeight());
            EXPECT_EQ(facts.width, picture.image().width());
            EXPECT_EQ(facts.height, picture.image().height());
            EXPECT_FALSE(facts.monochrome);
        }
    }
    // A scale out of range is the nearest one.
    const QString big = dir.filePath("4000x3000.jpg");
    EXPECT_EQ(mediafacts::readJpegFacts(big, 7).width, 500);
    EXPECT_EQ(mediafacts::readJpegFacts(big, -1).width, 4000);
}

// Files cut anywhere: the facts say nothing exactly when the viewer would show nothing.
TEST_F(MediaFactsTest, FilesCutShortAtAnyLength)
{
    const char *files[] = {
        "rose.bmp",    "rose-mono.bmp",        "rose-rle8.bmp", "rose.pcx", "rose-mono.pcx",
        "rose.jpg",    "rose-progressive.jpg", "rose.ico",      "rose.tif", "rose-lzw.tif",
        "rose-g4.tif", "rose-tiled.tif",       "rose.gif",      "anim.gif", "cursor.ani"};
    for (const char *name : files) {
        const QByteArray whole = readFixture(name);
        ASSERT_FALSE(whole.isEmpty()) << name;
        const QString ext = QFileInfo(name).suffix();
        for (int step = 1; step <= 20; ++step) {
            const qsizetype length = whole.size() - whole.size() * step / 41;
            SCOPED_TRACE(testing::Message() << name << " cut to " << length);
            const QString path = dir.filePath(QStringLiteral("cut%1.").arg(step) + ext);
            ASSERT_TRUE(writeBytes(path, whole.left(length)));
            if (ext == "jpg") {
                TPicture picture;
                const bool shown = picture.loadFromFile(path).ok() && picture.decodeNow().ok();
                EXPECT_EQ(mediafacts::readJpegFacts(path, 0).ok, shown);
            } else if (ext == "gif") {
                TGIFImage player;
                EXPECT_EQ(mediafacts::readGifFacts(path).ok, player.loadFromFile(path).ok());
            } else {
                expectSame(path, mediafacts::readPictureFacts(path), loadWithComponent(path));
            }
        }
    }
}

TEST_F(MediaFactsTest, JpegEndMarkersInsideSegmentsDoNotCount)
{
    // An Exif-like segment holding a whole small JPEG (with its own end marker) before the frame.
    const QByteArray thumbnail = jpegOf(8, 8);
    QByteArray segment = "\xFF\xE1";
    segment += char((thumbnail.size() + 2) >> 8);
    segment += char((thumbnail.size() + 2) & 0xFF);
    segment += thumbnail;
    QByteArray whole = jpegOf(64, 48);
    whole.insert(2, segment);
    const std::pair<QByteArray, bool> cases[] = {
        {whole, true},
        {whole + QByteArray(100, '\x00'), true}, // padding after the end
        {whole.left(whole.size() - 2), false},   // the end marker cut off
        {whole.left(whole.size() - 40), false},  // scan data cut
    };
    int n = 0;
    for (const auto &[bytes, complete] : cases) {
        SCOPED_TRACE(n);
        const QString path = dir.filePath(QStringLiteral("exif%1.jpg").arg(n++));
        ASSERT_TRUE(writeBytes(path, bytes));
        TPicture picture;
        const bool shown = picture.loadFromFile(path).ok() && picture.decodeNow().ok();
        EXPECT_EQ(shown, complete);
        const mediafacts::PictureFacts facts = mediafacts::readJpegFacts(path, 0);
        EXPECT_EQ(facts.ok, complete);
        EXPECT_EQ(facts.width, complete ? 64 : 0);
    }
}

TEST_F(MediaFactsTest, JpegFrameHeaderBeyondTheFirstBlock)
{
    // A comment of 300 kB before the frame header: more than the first read holds.
    QByteArray data = jpegOf(64, 48);
    QByteArray comments;
    for (int i = 0; i < 5; ++i) {
        const QByteArray body(60000, 'c');
        comments += "\xFF\xFE";
        comments += char((body.size() + 2) >> 8);
        comments += char((body.size() + 2) & 0xFF);
        comments += body;
    }
    data.insert(2, comments);
    const QString path = dir.filePath("late.jpg");
    ASSERT_TRUE(writeBytes(path, data));
    TPicture picture;
    ASSERT_TRUE(picture.loadFromFile(path).ok());
    const mediafacts::PictureFacts facts = mediafacts::readJpegFacts(path, 0);
    EXPECT_EQ(facts.width, picture.pictureWidth());
    EXPECT_EQ(facts.height, 48);
}

TEST_F(MediaFactsTest, GifsAsThePlayerCountsThem)
{
    const QStringList files = fixturesWith({"*.gif"});
    ASSERT_GE(files.size(), 4);
    for (const QString &path : files) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        TGIFImage player;
        const bool loaded = player.loadFromFile(path).ok();
        const mediafacts::GifFacts facts = mediafacts::readGifFacts(path);
        EXPECT_EQ(facts.ok, loaded);
        if (!loaded) {
            EXPECT_EQ(facts.width, 0);
            EXPECT_EQ(facts.frameCount, 0);
            continue;
        }
        EXPECT_EQ(facts.width, player.imageWidth());
        EXPECT_EQ(facts.height, player.imageHeight());
        EXPECT_EQ(facts.frameCount, player.frameCount());
        EXPECT_EQ(facts.animated, player.isAnimated());
        EXPECT_EQ(facts.interlaced, player.isInterlaced());
        EXPECT_EQ(facts.transparent, player.isTransparent());
    }
}

TEST_F(MediaFactsTest, MissingFilesHaveNoFacts)
{
    const QString gone = dir.filePath("gone");
    for (const char *ext : {".bmp", ".ico", ".pcx", ".tif", ".wmf", ".emf", ".ani", ".xyz"})
        EXPECT_FALSE(mediafacts::readPictureFacts(gone + ext).ok) << ext;
    EXPECT_FALSE(mediafacts::readJpegFacts(gone + ".jpg", 0).ok);
    EXPECT_FALSE(mediafacts::readGifFacts(gone + ".gif").ok);
    EXPECT_EQ(mediafacts::readSoundLengthMs(gone + ".wav"), 0);
    const mediafacts::ClipFacts clip = mediafacts::readClipFacts(gone + ".avi");
    EXPECT_FALSE(clip.inWindow);
    EXPECT_EQ(clip.lengthMs, 0);
}
