// Wave audio device: what comes out, times, notifications and bad files.
#include "MediaTestSupport.h"
#include "MediaWriters.h"
#include "platform/media/AudioOutput.h"
#include "platform/media/MciDevice.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace mediatest;
using platform::MciDevice;
using platform::MciNotify;

namespace {

class WaveDevice : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    std::vector<MciNotify> notes;
    void watch(MciDevice &dev)
    {
        QObject::connect(&dev, &MciDevice::notify, [this](MciNotify k) { notes.push_back(k); });
    }
};

} // namespace

TEST_F(WaveDevice, SineComesOutAtItsFrequencyAndDuration)
{
    ASSERT_TRUE(writeSineWav(path("a.wav"), "pcm_s16le", 440.0, 1000, 22050, 1));
    std::vector<float> heard;
    {
        DiskCapture capture(dir.path());
        MciDevice dev;
        watch(dev);
        ASSERT_TRUE(dev.open(path("a.wav")).ok());
        EXPECT_EQ(dev.lengthMs(), 1000);
        ASSERT_TRUE(dev.play(true).ok());
        ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
        EXPECT_EQ(notes, std::vector<MciNotify>{MciNotify::Successful});
        EXPECT_EQ(dev.positionMs(), 1000);
        dev.close();
        heard = capture.samples();
    }
    const Sound s = analyse(heard, DiskCapture::kChannels, DiskCapture::kRate);
    EXPECT_NEAR(s.frequency, 440.0, 5.0);
    EXPECT_NEAR(s.durationSec, 1.0, 0.02);
    // A mono sine of amplitude 0.5 spread over two channels at equal power: 0.5 / 2 RMS.
    EXPECT_NEAR(s.rms, 0.25, 0.03);
}

TEST_F(WaveDevice, EveryCommonWaveEncodingDecodes)
{
    for (const char *codec : {"pcm_u8", "pcm_s16le", "pcm_s24le", "pcm_s32le", "pcm_f32le", "pcm_f64le",
                              "pcm_mulaw", "pcm_alaw", "adpcm_ms", "adpcm_ima_wav", "libgsm_ms"}) {
        const QString file = path(QString("%1.wav").arg(codec));
        ASSERT_TRUE(writeSineWav(file, codec, 300.0, 400, 22050, 2)) << codec;
        std::vector<float> heard;
        {
            DiskCapture capture(dir.path());
            MciDevice dev;
            watch(dev);
            notes.clear();
            ASSERT_TRUE(dev.open(file).ok()) << codec;
            EXPECT_NEAR(double(dev.lengthMs()), 400.0, 60.0) << codec;
            ASSERT_TRUE(dev.play(true).ok()) << codec;
            ASSERT_TRUE(waitUntil([&] { return !notes.empty(); })) << codec;
            dev.close();
            heard = capture.samples();
        }
        const Sound s = analyse(heard, DiskCapture::kChannels, DiskCapture::kRate, 0.05f);
        EXPECT_NEAR(s.frequency, 300.0, 15.0) << codec;
        EXPECT_NEAR(s.durationSec, 0.4, 0.06) << codec;
    }
}

TEST_F(WaveDevice, NotificationKinds)
{
    ASSERT_TRUE(writeSineWav(path("long.wav"), "pcm_s16le", 440.0, 5000));
    MciDevice dev;
    watch(dev);
    ASSERT_TRUE(dev.open(path("long.wav")).ok());

    ASSERT_TRUE(dev.play(true).ok());
    EXPECT_TRUE(notes.empty()) << "a notification is an event, never sent from inside the command";
    ASSERT_TRUE(dev.stop().ok());
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 1; }));
    EXPECT_EQ(notes.back(), MciNotify::Aborted);

    ASSERT_TRUE(dev.play(true).ok());
    ASSERT_TRUE(dev.play(true).ok());
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 2; }));
    EXPECT_EQ(notes.back(), MciNotify::Superseded);

    dev.close();
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 3; }));
    EXPECT_EQ(notes.back(), MciNotify::Aborted);

    // A play without the request sends nothing.
    ASSERT_TRUE(dev.open(path("long.wav")).ok());
    ASSERT_TRUE(dev.play(false).ok());
    dev.stop();
    QTest::qWait(200);
    EXPECT_EQ(notes.size(), 3u);
}

TEST_F(WaveDevice, PositionAdvancesAndPlayAfterTheEndRewinds)
{
    ASSERT_TRUE(writeSineWav(path("s.wav"), "pcm_s16le", 440.0, 600));
    MciDevice dev;
    watch(dev);
    EXPECT_FALSE(dev.isOpen());
    ASSERT_TRUE(dev.open(path("s.wav")).ok());
    EXPECT_NE(dev.deviceId(), 0u);
    EXPECT_EQ(dev.positionMs(), 0);
    ASSERT_TRUE(dev.play(true).ok());
    ASSERT_TRUE(waitUntil([&] { return dev.positionMs() > 100; }));
    ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
    EXPECT_EQ(dev.positionMs(), 600);

    // At the end: play starts over from the beginning and reaches the end again.
    ASSERT_TRUE(dev.play(true).ok());
    EXPECT_LT(dev.positionMs(), 300);
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 2; }));
    EXPECT_EQ(notes.back(), MciNotify::Successful);

    // Seek stops, and play goes on from there.
    ASSERT_TRUE(dev.seek(400).ok());
    EXPECT_EQ(dev.positionMs(), 400);
    ASSERT_TRUE(dev.play(true).ok());
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 3; }));
    EXPECT_EQ(dev.positionMs(), 600);
    dev.close();
    EXPECT_EQ(dev.deviceId(), 0u);
}

TEST_F(WaveDevice, StopKeepsThePosition)
{
    ASSERT_TRUE(writeSineWav(path("s.wav"), "pcm_s16le", 440.0, 3000));
    MciDevice dev;
    ASSERT_TRUE(dev.open(path("s.wav")).ok());
    ASSERT_TRUE(dev.play(false).ok());
    ASSERT_TRUE(waitUntil([&] { return dev.positionMs() >= 300; }));
    dev.stop();
    const int64_t at = dev.positionMs();
    QTest::qWait(150);
    EXPECT_EQ(dev.positionMs(), at);
    ASSERT_TRUE(dev.play(false).ok());
    ASSERT_TRUE(waitUntil([&] { return dev.positionMs() > at + 100; }));
}

TEST_F(WaveDevice, BadFilesFailAtOpenWithTheDeviceError)
{
    writeFile(path("empty.wav"), {});
    writeFile(path("text.wav"), "this is a text file, not a sound\n");
    ASSERT_TRUE(writeSineWav(path("good.wav"), "pcm_s16le", 440.0, 500));
    QFile good(path("good.wav"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    writeFile(path("riffonly.wav"), bytes.left(12));
    writeFile(path("header.wav"), bytes.left(30));

    const std::vector<std::pair<QString, int>> cases = {
        {path("missing.wav"), platform::MCIERR_FILE_NOT_FOUND},
        {path("empty.wav"), platform::MCIERR_INVALID_FILE},
        {path("text.wav"), platform::MCIERR_INVALID_FILE},
        {path("riffonly.wav"), platform::MCIERR_INVALID_FILE},
        {path("header.wav"), platform::MCIERR_INVALID_FILE},
        {path("sound.xyz"), platform::MCIERR_EXTENSION_NOT_FOUND},
    };
    for (const auto &[file, code] : cases) {
        MciDevice dev;
        const platform::MciResult r = dev.open(file);
        EXPECT_EQ(r.code, code) << file.toStdString();
        EXPECT_FALSE(r.message.isEmpty());
        EXPECT_FALSE(dev.isOpen());
    }
}

TEST_F(WaveDevice, DataChunkLongerThanTheFilePlaysWhatIsThere)
{
    ASSERT_TRUE(writeSineWav(path("good.wav"), "pcm_s16le", 440.0, 1000, 22050, 1));
    QFile f(path("good.wav"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    const int data = bytes.indexOf("data");
    ASSERT_GT(data, 0);
    // The header claims ten times the sound; only half of the real sound is left in the file.
    const uint32_t claimed = 22050 * 2 * 10;
    memcpy(bytes.data() + data + 4, &claimed, 4);
    bytes.truncate(data + 8 + 22050);
    writeFile(path("short.wav"), bytes);

    MciDevice dev;
    watch(dev);
    ASSERT_TRUE(dev.open(path("short.wav")).ok());
    EXPECT_NEAR(double(dev.lengthMs()), 500.0, 5.0);
    ASSERT_TRUE(dev.play(true).ok());
    ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
    EXPECT_EQ(notes.back(), MciNotify::Successful);
}

TEST_F(WaveDevice, NoAudioDeviceFailsCleanly)
{
    ASSERT_TRUE(writeSineWav(path("a.wav"), "pcm_s16le", 440.0, 200));
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    MciDevice dev;
    const platform::MciResult r = dev.open(path("a.wav"));
    qputenv("SDL_AUDIODRIVER", "dummy");
    EXPECT_EQ(r.code, platform::MCIERR_HARDWARE);
    EXPECT_FALSE(dev.isOpen());
    EXPECT_TRUE(dev.open(path("a.wav")).ok()) << "a later open finds the output again";
}

TEST_F(WaveDevice, TwoDevicesShareTheOutput)
{
    ASSERT_TRUE(writeSineWav(path("a.wav"), "pcm_s16le", 440.0, 400));
    ASSERT_TRUE(writeSineWav(path("b.wav"), "pcm_s16le", 660.0, 300));
    MciDevice a, b;
    int ended = 0;
    for (MciDevice *d : {&a, &b})
        QObject::connect(d, &MciDevice::notify, [&](MciNotify k) { ended += k == MciNotify::Successful; });
    ASSERT_TRUE(a.open(path("a.wav")).ok());
    ASSERT_TRUE(b.open(path("b.wav")).ok());
    EXPECT_NE(a.deviceId(), b.deviceId());
    ASSERT_TRUE(a.play(true).ok());
    ASSERT_TRUE(b.play(true).ok());
    ASSERT_TRUE(waitUntil([&] { return ended == 2; }));
}

TEST_F(WaveDevice, AHeldOutputOutlivesTheCloseOfItsLastDevice)
{
    using platform::media::AudioOutput;
    ASSERT_TRUE(writeSineWav(path("a.wav"), "pcm_s16le", 440.0, 300));
    MciDevice dev;
    ASSERT_TRUE(dev.open(path("a.wav")).ok());
    auto inUse = AudioOutput::acquire();
    ASSERT_TRUE(inUse.ok());
    const void *first = inUse->get();
    std::shared_ptr<void> held = AudioOutput::hold();
    ASSERT_TRUE(held);
    EXPECT_EQ(held.get(), first);
    *inUse = nullptr;
    dev.close();
    auto next = AudioOutput::acquire();
    ASSERT_TRUE(next.ok());
    EXPECT_EQ(next->get(), first) << "the held output is the one the next device finds";
    *next = nullptr;
    held.reset();
    ASSERT_TRUE(dev.open(path("a.wav")).ok()) << "a new output opens once the hold is gone";
    ASSERT_TRUE(dev.play(true).ok());
    watch(dev);
    ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
    EXPECT_EQ(notes.back(), MciNotify::Successful);
}

TEST_F(WaveDevice, NoHoldWithoutAnAudioDevice)
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    const std::shared_ptr<void> held = platform::media::AudioOutput::hold();
    qputenv("SDL_AUDIODRIVER", "dummy");
    EXPECT_FALSE(held);
}
