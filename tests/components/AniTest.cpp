// Animated cursors: RIFF ACON parsing, frames and rates, leniency, TAniFile and TAniIcon rules.
#include "PictureTestSupport.h"

#include "components/EInvalidGraphic.h"
#include "components/TAniIcon.h"

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
    file.loadFromFile(write(dir, "seq.ani", layout.build()));
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
    file.loadFromFile(write(dir, "cursor.ANI", layout.build()));
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
    file.loadFromFile(write(dir, "faulty.ani", layout.build()));
    EXPECT_EQ(file.frameCount(), 2);
    ASSERT_EQ(file.stepCount(), 2);
    EXPECT_EQ(file.stepImage(0).pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(file.stepJiffies(1), 4); // the rate of the step kept, not of the dropped one
}

TEST_F(AniTest, OnlyExistingAniNamesLoadAndBadDataRaises)
{
    AniLayout layout;
    layout.icons = {iconBytes(Qt::red)};
    const QByteArray good = layout.build();
    TAniFile file;
    file.loadFromFile(write(dir, "first.ani", good));
    ASSERT_EQ(file.frameCount(), 1);

    AniLayout other;
    other.icons = {iconBytes(Qt::green), iconBytes(Qt::blue)};
    file.loadFromFile(write(dir, "wrong.cur", other.build())); // refused by name, silently
    EXPECT_EQ(file.frameCount(), 1);
    file.loadFromFile(dir.filePath("missing.ani"));
    EXPECT_EQ(file.frameCount(), 1);

    EXPECT_THROW(file.loadFromFile(write(dir, "cut.ani", good.left(good.size() / 2))), EInvalidGraphic);
    EXPECT_THROW(file.loadFromFile(write(dir, "text.ani", "RIFF is not here")), EInvalidGraphic);
    AniLayout broken;
    broken.icons = {QByteArray("not an icon")};
    EXPECT_THROW(file.loadFromFile(write(dir, "broken.ani", broken.build())), EInvalidGraphic);
    AniLayout empty;
    EXPECT_THROW(file.loadFromFile(write(dir, "empty.ani", empty.build())), EInvalidGraphic);
    EXPECT_EQ(file.frameCount(), 1); // the previous cursor stays
}

TEST_F(AniTest, IconControlTakesTheCursorSizeAndStepsWhenAnimated)
{
    AniLayout layout;
    layout.icons = {iconBytes(Qt::red, 48), iconBytes(Qt::green, 48)};
    layout.rates = {1, 1};
    TAniIcon icon;
    icon.resize(32, 32);
    icon.aniFile()->loadFromFile(write(dir, "big.ani", layout.build()));
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
        icon.aniFile()->loadFromFile(fixture(name));
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
