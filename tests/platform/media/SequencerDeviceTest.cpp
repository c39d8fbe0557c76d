// Sequencer device: a tune rendered through the soundfont, timed by its tempo map.
#include "MediaTestSupport.h"
#include "MediaWriters.h"
#include "platform/media/MciDevice.h"
#include "platform/media/SequencerDriver.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace mediatest;
using platform::MciDevice;
using platform::MciNotify;

TEST(SequencerDevice, TuneSoundsForTheLengthOfItsTempoMap)
{
    QTemporaryDir dir;
    for (int format : {0, 1}) {
        const QString file = dir.filePath(QString("tune%1.mid").arg(format));
        ASSERT_TRUE(writeFile(file, twoSecondTune(format)));
        std::vector<float> heard;
        std::vector<MciNotify> notes;
        {
            DiskCapture capture(dir.path());
            MciDevice dev;
            QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
            const platform::MciResult r = dev.open(file);
            ASSERT_TRUE(r.ok()) << r.english.toStdString();
            EXPECT_EQ(dev.lengthMs(), 2000);
            ASSERT_TRUE(dev.play(true).ok());
            ASSERT_TRUE(waitUntil([&] { return dev.positionMs() > 500; }));
            ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
            EXPECT_EQ(notes, std::vector<MciNotify>{MciNotify::Successful});
            EXPECT_EQ(dev.positionMs(), 2000);
            dev.close();
            heard = capture.samples();
        }
        const Sound s = analyse(heard, DiskCapture::kChannels, DiskCapture::kRate, 0.002f);
        EXPECT_GT(s.rms, 0.005) << "the tune is not silent";
        // The notes run from the first tick to the end of the map; the sound is cut there.
        EXPECT_NEAR(s.durationSec, 2.0, 0.1) << format;
    }
}

TEST(SequencerDevice, StopSeekAndRewind)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("tune.mid");
    ASSERT_TRUE(writeFile(file, twoSecondTune()));
    MciDevice dev;
    std::vector<MciNotify> notes;
    QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
    ASSERT_TRUE(dev.open(file).ok());
    ASSERT_TRUE(dev.seek(1500).ok());
    ASSERT_TRUE(dev.play(true).ok());
    ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
    EXPECT_EQ(notes.back(), MciNotify::Successful);
    ASSERT_TRUE(dev.play(true).ok()); // from the end: rewinds
    ASSERT_TRUE(waitUntil([&] { return dev.positionMs() > 100; }));
    EXPECT_LT(dev.positionMs(), 1900);
    dev.stop();
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 2; }));
    EXPECT_EQ(notes.back(), MciNotify::Aborted);
}

TEST(SequencerDevice, BrokenFilesAndMissingSoundfontFail)
{
    QTemporaryDir dir;
    QByteArray broken = twoSecondTune();
    broken[18] = char(0x40); // first track length past the end
    writeFile(dir.filePath("broken.mid"), broken);
    writeFile(dir.filePath("notracks.mid"), midiFile(1, 480, {}));
    writeFile(dir.filePath("empty.mid"), {});
    for (const char *name : {"broken.mid", "notracks.mid", "empty.mid"}) {
        MciDevice dev;
        EXPECT_EQ(dev.open(dir.filePath(name)).code, platform::MCIERR_INVALID_FILE) << name;
        EXPECT_FALSE(dev.isOpen());
    }
    writeFile(dir.filePath("tune.mid"), twoSecondTune());
    qputenv("LUMAVISTA_SOUNDFONT", QFile::encodeName(dir.filePath("none.sf2")));
    MciDevice dev;
    const platform::MciResult r = dev.open(dir.filePath("tune.mid"));
    qunsetenv("LUMAVISTA_SOUNDFONT");
    EXPECT_EQ(r.code, platform::MCIERR_SEQ_NOMIDIPRESENT);
    EXPECT_FALSE(dev.isOpen());
}

namespace {
QString installedSoundfont()
{
    for (const QString &f : platform::media::SequencerDriver::soundFontCandidates())
        if (QFileInfo::exists(f))
            return f;
    return {};
}
} // namespace

TEST(SequencerDevice, SoundfontLoadsBesideTheOpenAndOutlivesAnEarlyClose)
{
    const QString font = installedSoundfont();
    if (font.isEmpty())
        GTEST_SKIP() << "no General MIDI soundfont installed";
    QTemporaryDir dir;
    const QString file = dir.filePath("tune.mid");
    ASSERT_TRUE(writeFile(file, twoSecondTune()));
    // A soundfont no earlier test loaded, so this open starts a load of its own.
    const QString copy = dir.filePath("copy.sf2");
    ASSERT_TRUE(QFile::copy(font, copy));
    qputenv("LUMAVISTA_SOUNDFONT", QFile::encodeName(copy));
    {
        MciDevice first;
        ASSERT_TRUE(first.open(file).ok());
        first.close(); // most likely while the soundfont is still loading
    }
    std::vector<float> heard;
    {
        DiskCapture capture(dir.path());
        MciDevice dev;
        std::vector<MciNotify> notes;
        QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
        ASSERT_TRUE(dev.open(file).ok());
        ASSERT_TRUE(dev.play(true).ok());
        ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
        EXPECT_EQ(notes, std::vector<MciNotify>{MciNotify::Successful});
        dev.close();
        heard = capture.samples();
    }
    qunsetenv("LUMAVISTA_SOUNDFONT");
    const Sound s = analyse(heard, DiskCapture::kChannels, DiskCapture::kRate, 0.002f);
    EXPECT_GT(s.rms, 0.005) << "the synthesiser handed back by the early close plays";
}

TEST(SequencerDevice, SoundfontThatWillNotLoadEndsThePlayInsteadOfHanging)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("tune.mid");
    ASSERT_TRUE(writeFile(file, twoSecondTune()));
    ASSERT_TRUE(writeFile(dir.filePath("garbage.sf2"), QByteArray(4096, 'x')));
    qputenv("LUMAVISTA_SOUNDFONT", QFile::encodeName(dir.filePath("garbage.sf2")));
    MciDevice dev;
    std::vector<MciNotify> notes;
    QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
    const platform::MciResult r = dev.open(file);
    qunsetenv("LUMAVISTA_SOUNDFONT");
    ASSERT_TRUE(r.ok());
    ASSERT_TRUE(dev.play(true).ok());
    // The play ends instead of hanging on a synthesiser that never comes.
    ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
    EXPECT_EQ(notes.back(), MciNotify::Successful);
}
