// Lengths of sounds and clips read from the file alone, as the devices would report them.
#include "platform/media/MediaLength.h"
#include "MediaWriters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::media::probeMediaLengthMs;

namespace {

QString fixture(const char *name)
{
    const QString data = qEnvironmentVariable("LUMA_TEST_DATA", QStringLiteral(LUMA_SOURCE_DATA));
    return data + QStringLiteral("/media/") + QString::fromLatin1(name);
}

} // namespace

TEST(MediaLength, CheckedInFixtures)
{
    const std::pair<const char *, int64_t> cases[] = {
        {"sine440_250ms_u8.wav", 250},
        {"c4_one_beat.mid", 500},
        {"raw8_silent.avi", 1000},
        {"mpeg4_sound.avi", 1000},
    };
    for (const auto &[name, ms] : cases)
        EXPECT_EQ(probeMediaLengthMs(fixture(name)), ms) << name;
}

TEST(MediaLength, FilesWrittenHere)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString wav = tmp.filePath("tone.wav");
    ASSERT_TRUE(mediatest::writeSineWav(wav, "pcm_s16le", 440, 3700, 8000));
    EXPECT_NEAR(double(probeMediaLengthMs(wav)), 3700.0, 30.0);
    // The extension chooses the device, whatever its case.
    const QString upper = tmp.filePath("TONE.WAV");
    ASSERT_TRUE(QFile::copy(wav, upper));
    EXPECT_EQ(probeMediaLengthMs(upper), probeMediaLengthMs(wav));

    const QString mid = tmp.filePath("tune.mid");
    ASSERT_TRUE(mediatest::writeFile(mid, mediatest::twoSecondTune()));
    EXPECT_EQ(probeMediaLengthMs(mid), 2000);

    mediatest::AviSpec spec;
    spec.fps = 10;
    spec.frames = 25;
    const QString avi = tmp.filePath("clip.avi");
    ASSERT_TRUE(mediatest::writeFile(avi, mediatest::aviFile(spec)));
    EXPECT_EQ(probeMediaLengthMs(avi), 2500);
}

TEST(MediaLength, NothingToMeasure)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString garbage = tmp.filePath("garbage");
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, '\x5a'));
    f.close();
    for (const char *ext : {".wav", ".mid", ".avi", ".mp3"}) {
        SCOPED_TRACE(ext);
        ASSERT_TRUE(QFile::copy(garbage, garbage + ext));
        EXPECT_EQ(probeMediaLengthMs(garbage + ext), 0);
        EXPECT_EQ(probeMediaLengthMs(tmp.filePath("gone") + ext), 0);
    }
    // A sound under a name no device takes.
    const QString renamed = tmp.filePath("sine.snd");
    ASSERT_TRUE(QFile::copy(fixture("sine440_250ms_u8.wav"), renamed));
    EXPECT_EQ(probeMediaLengthMs(renamed), 0);
}
