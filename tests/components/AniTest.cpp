// Animated cursors: RIFF ACON parsing, frames and rates, leniency, TAniFile and TAniIcon rules.
#include "PictureTestSupport.h"

#include "components/TAniIcon.h"
#include "components/decoders/ImageLimits.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

using namespace picturetest;

namespace {

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

// An icon (or, with cursor set, a cursor) of one colour, written by Qt's ICO writer.
QByteArray iconBytes(QColor colour, int size = 32, bool cursor = false)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(colour);
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, "ico");
    writer.write(img);
    QByteArray data = buf.data();
    if (cursor && data.size() > 12) {
        data[2] = 2;                                      // type: cursor
        qToLittleEndian<quint16>(5, data.data() + 6 + 4); // hot spot x
        qToLittleEndian<quint16>(7, data.data() + 6 + 6); // hot spot y
    }
    return data;
}

QByteArray chunk(const char *id, const QByteArray &body, bool pad = true)
{
    QByteArray c(id, 4);
    c += le32(quint32(body.size()));
    c += body;
    if (pad && (body.size() & 1))
        c += '\0';
    return c;
}

struct AniLayout
{
    QList<QByteArray> icons;
    QList<quint32> rates;
    QList<quint32> seq;
    quint32 headerFrames = 0, headerSteps = 0, dispRate = 6;
    bool pad = true;
    QByteArray build() const
    {
        QByteArray anih;
        for (quint32 v : {36u, headerFrames ? headerFrames : quint32(icons.size()),
                          headerSteps ? headerSteps : quint32(seq.isEmpty() ? icons.size() : seq.size()), 0u,
                          0u, 0u, 0u, dispRate, 1u})
            anih += le32(v);
        QByteArray body("ACON");
        body += chunk("anih", anih);
        auto list = [](const QList<quint32> &l) {
            QByteArray b;
            for (quint32 v : l)
                b += le32(v);
            return b;
        };
        if (!rates.isEmpty())
            body += chunk("rate", list(rates));
        if (!seq.isEmpty())
            body += chunk("seq ", list(seq));
        QByteArray frames("fram");
        for (const QByteArray &icon : icons)
            frames += chunk("icon", icon, pad);
        body += chunk("LIST", frames, pad);
        return chunk("RIFF", body);
    }
};

QString write(QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return path;
}

} // namespace

class AniTest : public ::testing::Test
{
protected:
    void SetUp() override { ensureApp(); }
    QTemporaryDir dir;
};

TEST_F(AniTest, FramesRatesAndSequence)
{
    AniLayout layout;
    layout.icons = {iconBytes(Qt::red), iconBytes(Qt::green), iconBytes(Qt::blue)};
    layout.seq = {0, 2, 1, 2};
    layout.rates = {3, 6, 9, 12};
    TAniFile file;
    ASSERT_TRUE(file.loadFromFile(write(dir, "seq.ani", layout.build())).ok());
    ASSERT_EQ(file.frameCount(), 3);
    ASSERT_EQ(file.stepCount(), 4);
    EXPECT_EQ(file.stepImage(1).pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(file.stepImage(2).pixelColor(10, 10), QColor(Qt::green));
    EXPECT_EQ(file.stepJiffies(0), 3);
    EXPECT_EQ(file.stepJiffies(3), 12);
    EXPECT_EQ(file.stepMs(1), 100); // 6 jiffies of 1/60 s
    EXPECT_EQ(file.size(), QSize(32, 32));
}

TEST_F(AniTest, HeaderRateFillsMissingRatesAndCursorFramesRead)
{
    AniLayout layout;
    layout.icons = {iconBytes(Qt::red, 32, true), iconBytes(Qt::green, 32, true)};
    layout.dispRate = 4;
    TAniFile file;
    ASSERT_TRUE(file.loadFromFile(write(dir, "cursor.ANI", layout.build())).ok());
    ASSERT_EQ(file.stepCount(), 2);
    EXPECT_EQ(file.stepJiffies(1), 4);
    EXPECT_EQ(file.frame(1).pixelColor(3, 3), QColor(Qt::green));
}

TEST_F(AniTest, LenientWithCommonFaults)
{
    // Odd-sized chunks without pad bytes, header counts that disagree with the chunks, and
    // sequence entries naming frames that do not exist.
    AniLayout layout;
    QByteArray odd = iconBytes(Qt::red);
    odd += 'x'; // an odd size
    layout.icons = {odd, iconBytes(Qt::blue)};
    layout.pad = false;
    layout.headerFrames = 7;
    layout.headerSteps = 9;
    layout.seq = {1, 5, 0};
    layout.rates = {2, 3, 4};
    TAniFile file;
    ASSERT_TRUE(file.loadFromFile(write(dir, "faulty.ani", layout.build())).ok());
    EXPECT_EQ(file.frameCount(), 2);
    ASSERT_EQ(file.stepCount(), 2);
    EXPECT_EQ(file.stepImage(0).pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(file.stepJiffies(1), 4); // the rate of the step kept, not of the dropped one
}

TEST_F(AniTest, OnlyExistingAniNamesLoadAndBadDataFails)
{
    AniLayout layout;
    layout.icons = {iconBytes(Qt::red)};
    const QByteArray good = layout.build();
    TAniFile file;
    ASSERT_TRUE(file.loadFromFile(write(dir, "first.ani", good)).ok());
    ASSERT_EQ(file.frameCount(), 1);

    // Refused by name or missing: nothing loaded and nothing to report.
    AniLayout other;
    other.icons = {iconBytes(Qt::green), iconBytes(Qt::blue)};
    EXPECT_TRUE(file.loadFromFile(write(dir, "wrong.cur", other.build())).ok());
    EXPECT_EQ(file.frameCount(), 1);
    EXPECT_TRUE(file.loadFromFile(dir.filePath("missing.ani")).ok());
    EXPECT_EQ(file.frameCount(), 1);

    AniLayout broken;
    broken.icons = {QByteArray("not an icon")};
    AniLayout empty;
    const QByteArray bad[] = {good.left(good.size() / 2), "RIFF is not here", broken.build(), empty.build()};
    int changes = 0;
    QObject::connect(&file, &TAniFile::changed, [&] { ++changes; });
    for (const QByteArray &data : bad) {
        SCOPED_TRACE(data.left(12).toHex().toStdString());
        const platform::Status status = file.loadFromFile(write(dir, "bad.ani", data));
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().kind, platform::Error::Kind::InvalidData);
        EXPECT_TRUE(status.message().startsWith("Animated cursor error: ")) << status.message().toStdString();
    }
    EXPECT_EQ(file.frameCount(), 1); // the previous cursor stays
    EXPECT_EQ(changes, 0);

    const qint64 limit = pictures::maxImageBytes();
    pictures::setMaxImageBytes(good.size() - 1);
    const platform::Status big = file.loadFromFile(write(dir, "big.ani", other.build()));
    pictures::setMaxImageBytes(limit);
    ASSERT_FALSE(big.ok());
    EXPECT_EQ(big.error().kind, platform::Error::Kind::TooLarge);
    EXPECT_EQ(file.frameCount(), 1);
}

TEST_F(AniTest, IconControlTakesTheCursorSizeAndStepsWhenAnimated)
{
    AniLayout layout;
    layout.icons = {iconBytes(Qt::red, 48), iconBytes(Qt::green, 48)};
    layout.rates = {1, 1};
    TAniIcon icon;
    icon.resize(32, 32);
    ASSERT_TRUE(icon.aniFile()->loadFromFile(write(dir, "big.ani", layout.build())).ok());
    EXPECT_EQ(icon.width(), 48);
    EXPECT_EQ(icon.height(), 48);
    EXPECT_FALSE(icon.isRunning());
    icon.setAnimated(true);
    EXPECT_TRUE(icon.isRunning());
    icon.advanceStep();
    EXPECT_EQ(icon.currentStep(), 1);
    EXPECT_EQ(icon.grab().toImage().pixelColor(24, 24), QColor(Qt::green));
    icon.advanceStep();
    EXPECT_EQ(icon.currentStep(), 0);
    icon.setAnimated(false);
    EXPECT_FALSE(icon.isRunning());
}

TEST_F(AniTest, CursorFixturesMadeFromImageMagickCursors)
{
    for (const char *name : {"cursor.ani", "cursor-unpadded.ani"}) {
        SCOPED_TRACE(name);
        TAniIcon icon;
        ASSERT_TRUE(icon.aniFile()->loadFromFile(fixture(name)).ok());
        TAniFile *file = icon.aniFile();
        ASSERT_EQ(file->frameCount(), 3);
        ASSERT_EQ(file->stepCount(), 4);
        const QColor colours[] = {Qt::red, QColor(0, 255, 0), Qt::blue, QColor(0, 255, 0)};
        for (int step = 0; step < 4; ++step) {
            EXPECT_EQ(file->stepImage(step).pixelColor(16, 16), colours[step]);
            EXPECT_EQ(file->stepJiffies(step), 5 * (step + 1));
        }
        EXPECT_EQ(icon.size(), QSize(32, 32));
    }
}
