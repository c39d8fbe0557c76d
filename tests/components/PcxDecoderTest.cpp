// PCX decoding: ImageMagick fixtures, hand-built planar, CGA and palette variants, damage.
#include "PictureTestSupport.h"

#include "components/decoders/ImageLimits.h"
#include "components/decoders/PcxDecoder.h"

#include <QtEndian>

using namespace picturetest;

namespace {

// Builds a PCX file: header fields, then each line's planes run-length coded (or plain).
struct PcxWriter
{
    int version = 5, bpp = 1, planes = 4, width = 8, height = 2;
    bool rle = true;
    QList<QRgb> headerPalette;
    uchar header4 = 0;    // fourth palette byte (CGA colour set)
    int bytesPerLine = 0; // 0: the length of the first line given
    QByteArray encode(const QList<QByteArray> &planeLines) const
    {
        QByteArray h(128, '\0');
        auto *p = reinterpret_cast<uchar *>(h.data());
        p[0] = 0x0a;
        p[1] = uchar(version);
        p[2] = rle ? 1 : 0;
        p[3] = uchar(bpp);
        qToLittleEndian<quint16>(quint16(width - 1), p + 8);
        qToLittleEndian<quint16>(quint16(height - 1), p + 10);
        for (int i = 0; i < headerPalette.size() && i < 16; ++i) {
            p[16 + 3 * i] = uchar(qRed(headerPalette[i]));
            p[17 + 3 * i] = uchar(qGreen(headerPalette[i]));
            p[18 + 3 * i] = uchar(qBlue(headerPalette[i]));
        }
        if (header4)
            p[19] = header4;
        p[65] = uchar(planes);
        const int bpl = bytesPerLine > 0 ? bytesPerLine : int(planeLines.value(0).size());
        qToLittleEndian<quint16>(quint16(bpl), p + 66);
        QByteArray out = h;
        for (const QByteArray &line : planeLines) {
            for (char ch : line) {
                const uchar c = uchar(ch);
                if (rle && (c & 0xc0) == 0xc0)
                    out.append(char(0xc1));
                out.append(char(c));
            }
        }
        return out;
    }
};

QImage decode(const QByteArray &data, QString *errorOut = nullptr)
{
    const platform::ErrorOr<QImage> img = pictures::decodePcx(data);
    if (errorOut)
        *errorOut = img ? QString() : img.error().message;
    return img ? *img : QImage();
}

} // namespace

TEST(PcxDecoder, MatchesImageMagickFixtures)
{
    for (const char *name : {"rose.pcx", "rose-8.pcx", "rose-mono.pcx"}) {
        SCOPED_TRACE(name);
        QString error;
        const QImage img = decode(readFixture(name), &error);
        ASSERT_FALSE(img.isNull()) << error.toStdString();
        const QImage expected(fixture(QString::fromLatin1(name) + ".png"));
        EXPECT_EQ(maxChannelDifference(img, expected), 0);
    }
}

TEST(PcxDecoder, MonochromeOnlyForOneBitOnePlane)
{
    EXPECT_EQ(decode(readFixture("rose-mono.pcx")).format(), QImage::Format_Mono);
    EXPECT_NE(decode(readFixture("rose-8.pcx")).depth(), 1);
    EXPECT_NE(decode(readFixture("rose.pcx")).depth(), 1);
}

TEST(PcxDecoder, FourPlanesOfOneBitIndexTheHeaderPalette)
{
    PcxWriter w;
    for (int i = 0; i < 16; ++i)
        w.headerPalette << qRgb(i * 16, 255 - i * 16, i * 8);
    // Pixel x of line 0 has index x (planes give bits 0..3); line 1 has index 15 - x.
    QList<QByteArray> lines;
    for (int y = 0; y < 2; ++y) {
        for (int plane = 0; plane < 4; ++plane) {
            uchar byte = 0;
            for (int x = 0; x < 8; ++x) {
                const int index = y == 0 ? x : 15 - x;
                if (index & (1 << plane))
                    byte |= uchar(0x80 >> x);
            }
            lines << QByteArray(1, char(byte));
        }
    }
    const QImage img = decode(w.encode(lines));
    ASSERT_FALSE(img.isNull());
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(img.pixel(x, 0), w.headerPalette[x]);
        EXPECT_EQ(img.pixel(x, 1), w.headerPalette[15 - x]);
    }
}

TEST(PcxDecoder, VersionThreeUsesTheDefaultPalette)
{
    PcxWriter w;
    w.version = 3;
    w.planes = 4;
    w.width = 8;
    w.height = 1;
    w.headerPalette = QList<QRgb>(16, qRgb(1, 2, 3)); // ignored: version 3 carries no palette
    // All four planes set: index 15, white in the default palette; plane 0 only: dark blue.
    const QImage img = decode(w.encode({QByteArray(1, char(0xff)), QByteArray(1, char(0x0f)),
                                        QByteArray(1, char(0x0f)), QByteArray(1, char(0x0f))}));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixel(7, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0xaa));
}

TEST(PcxDecoder, TwoBitCgaPictureTakesBackgroundAndColourSet)
{
    PcxWriter w;
    w.version = 2;
    w.bpp = 2;
    w.planes = 1;
    w.width = 4;
    w.height = 1;
    w.headerPalette = {qRgb(1 << 4, 0, 0)};                           // background: colour 1 (blue)
    w.header4 = 0x40 | 0x20;                                          // cyan/magenta/white set, bright
    const QImage img = decode(w.encode({QByteArray(1, char(0x1b))})); // 00 01 10 11
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0xaa));
    EXPECT_EQ(img.pixel(1, 0), qRgb(0x55, 0xff, 0xff));
    EXPECT_EQ(img.pixel(2, 0), qRgb(0xff, 0x55, 0xff));
    EXPECT_EQ(img.pixel(3, 0), qRgb(0xff, 0xff, 0xff));
}

TEST(PcxDecoder, PlainDataAndRunsAcrossLineEnds)
{
    PcxWriter w;
    w.bpp = 8;
    w.planes = 1;
    w.width = 4;
    w.height = 2;
    w.rle = false;
    QByteArray data = w.encode({QByteArray("\x01\x02\x03\x04", 4), QByteArray("\x05\x06\x07\x08", 4)});
    QImage img = decode(data);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixelIndex(3, 1), 8);
    // Without the palette at the end, 8-bit pictures are grey levels.
    EXPECT_EQ(img.pixel(1, 0), qRgb(2, 2, 2));

    // One run of 6 bytes covering the end of line 0 and the start of line 1.
    w.rle = true;
    w.bytesPerLine = 4;
    QByteArray runs = w.encode({});
    runs.append("\x01\x02", 2);
    runs.append(char(0xc6));
    runs.append(char(9));
    img = decode(runs);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixelIndex(1, 0), 2);
    EXPECT_EQ(img.pixelIndex(2, 0), 9);
    EXPECT_EQ(img.pixelIndex(3, 1), 9);
}

TEST(PcxDecoder, DamagedAndHostileFilesFail)
{
    QString error;
    EXPECT_TRUE(decode(readFixture("damaged-truncated.pcx"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(decode(QByteArray(100, '\x0a')).isNull()); // header cut short
    EXPECT_TRUE(decode(QByteArray("GIF89a") + QByteArray(200, 0)).isNull());

    QByteArray data = readFixture("rose.pcx");
    ASSERT_FALSE(data.isEmpty());
    QByteArray bad = data;
    bad[3] = 3; // three bits a plane
    EXPECT_TRUE(decode(bad).isNull());
    bad = data;
    qToLittleEndian<quint16>(10, reinterpret_cast<uchar *>(bad.data()) + 66); // lines too short
    EXPECT_TRUE(decode(bad).isNull());
    // A window of 65536 x 65536 is refused before anything is allocated.
    bad = data;
    qToLittleEndian<quint16>(0xffff, reinterpret_cast<uchar *>(bad.data()) + 8);
    qToLittleEndian<quint16>(0xffff, reinterpret_cast<uchar *>(bad.data()) + 10);
    EXPECT_TRUE(decode(bad, &error).isNull());
    EXPECT_TRUE(error.contains("large"));
    // 20000 x 2000 is allowed in size but far more than the data can hold.
    bad = data;
    qToLittleEndian<quint16>(19999, reinterpret_cast<uchar *>(bad.data()) + 8);
    qToLittleEndian<quint16>(1999, reinterpret_cast<uchar *>(bad.data()) + 10);
    qToLittleEndian<quint16>(20000, reinterpret_cast<uchar *>(bad.data()) + 66);
    EXPECT_TRUE(decode(bad, &error).isNull());
    EXPECT_TRUE(error.contains("truncated"));
}
