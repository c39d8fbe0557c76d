// TMediaPlayer: the commands the sound and video pages send, their errors and notifications,
// and the pages' loop pattern (close at the end, load again).
#include "components/media/TMediaPlayer.h"
#include "MediaTestSupport.h"
#include "MediaWriters.h"

#include <QListView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace mediatest;

TEST(TMediaPlayer, CommandsReturnTheDeviceError)
{
    QTemporaryDir dir;
    TMediaPlayer player;
    player.setFileName(dir.filePath("missing.wav"));
    platform::Status status = player.Open();
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, platform::Error::Kind::Device);
    EXPECT_EQ(status.error().code, platform::MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(status.message(),
              platform::mciError(platform::MCIERR_FILE_NOT_FOUND, player.FileName()).message);
    EXPECT_EQ(player.DeviceID(), 0u);

    // Without a device every command fails alike, and a failed play still takes the request.
    player.setNotify(true);
    const platform::Status play = player.Play();
    EXPECT_FALSE(player.Notify());
    for (const platform::Status &failed : {play, player.Stop(), player.Seek(10)}) {
        ASSERT_FALSE(failed.ok());
        EXPECT_EQ(failed.error().kind, platform::Error::Kind::Device);
        EXPECT_EQ(failed.error().code, platform::MCIERR_DEVICE_NOT_OPEN);
        EXPECT_EQ(failed.message(), platform::mciError(platform::MCIERR_DEVICE_NOT_OPEN).message);
    }

    writeFile(dir.filePath("text.mid"), "not a tune");
    player.setFileName(dir.filePath("text.mid"));
    status = player.Open();
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().kind, platform::Error::Kind::Device);
    EXPECT_NE(status.error().code, 0);
    EXPECT_FALSE(status.message().isEmpty());
    EXPECT_EQ(player.DeviceID(), 0u);
}

TEST(TMediaPlayer, AFailedOpenClosesTheDeviceItHad)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeSineWav(dir.filePath("a.wav"), "pcm_s16le", 440.0, 100));
    TMediaPlayer player;
    player.setFileName(dir.filePath("a.wav"));
    ASSERT_TRUE(player.Open().ok());
    EXPECT_NE(player.DeviceID(), 0u);
    ASSERT_TRUE(player.Seek(50).ok());
    EXPECT_EQ(player.Position(), 50);
    player.setFileName(dir.filePath("missing.wav"));
    EXPECT_FALSE(player.Open().ok());
    EXPECT_EQ(player.DeviceID(), 0u);
    EXPECT_FALSE(player.Play().ok());
}

TEST(TMediaPlayer, NotifyIsARequestForTheNextPlay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeSineWav(dir.filePath("a.wav"), "pcm_s16le", 440.0, 300));
    TMediaPlayer player;
    std::vector<TMPNotifyValues> got;
    QObject::connect(&player, &TMediaPlayer::OnNotify,
                     [&](TMediaPlayer *p) { got.push_back(p->NotifyValue()); });
    player.setFileName(dir.filePath("a.wav"));
    ASSERT_TRUE(player.Open().ok());
    EXPECT_NE(player.DeviceID(), 0u);
    player.setTimeFormat(tfMilliseconds);
    EXPECT_EQ(player.Length(), 300);
    player.setNotify(true);
    ASSERT_TRUE(player.Play().ok());
    EXPECT_FALSE(player.Notify()) << "consumed by the play";
    ASSERT_TRUE(waitUntil([&] { return !got.empty(); }));
    EXPECT_EQ(got, std::vector<TMPNotifyValues>{nvSuccessful});
    EXPECT_EQ(player.Position(), 300);

    // Without a new request the next play ends silently.
    ASSERT_TRUE(player.Play().ok());
    ASSERT_TRUE(waitUntil([&] { return player.Position() == 300 && !player.device().isPlaying(); }));
    QTest::qWait(100);
    EXPECT_EQ(got.size(), 1u);

    player.setNotify(true);
    ASSERT_TRUE(player.Play().ok());
    ASSERT_TRUE(player.Stop().ok());
    ASSERT_TRUE(waitUntil([&] { return got.size() == 2; }));
    EXPECT_EQ(got.back(), nvAborted);
    player.Close();
    EXPECT_EQ(player.DeviceID(), 0u);
}

TEST(TMediaPlayer, StaysInvisible)
{
    QWidget page;
    TMediaPlayer player(&page);
    page.show();
    player.show();
    EXPECT_FALSE(player.isVisible());
}

TEST(TMediaPlayer, VideoDrawsIntoItsDisplay)
{
    QTemporaryDir dir;
    AviSpec spec;
    spec.video = AviVideo::Raw24;
    spec.width = 48;
    spec.height = 40;
    spec.frames = 4;
    spec.sound = true;
    ASSERT_TRUE(writeFile(dir.filePath("c.avi"), aviFile(spec)));
    QListView surface;
    surface.resize(200, 200);
    surface.show();
    TMediaPlayer player;
    player.setDisplay(&surface);
    player.setFileName(dir.filePath("c.avi"));
    ASSERT_TRUE(player.Open().ok());
    EXPECT_EQ(player.Length(), 400);
    bool ended = false;
    QObject::connect(&player, &TMediaPlayer::OnNotify, [&] { ended = true; });
    player.setNotify(true);
    ASSERT_TRUE(player.Play().ok());
    ASSERT_TRUE(waitUntil([&] { return ended; }));
    auto *drawn = surface.viewport()->findChild<QWidget *>("videoSurface");
    ASSERT_NE(drawn, nullptr);
    EXPECT_TRUE(drawn->isVisible());
    EXPECT_EQ(drawn->grab().toImage().pixel(24, 20) & 0xffffff, paletteColour(3) & 0xffffff);
    player.Close();
    QTest::qWait(20); // the surface goes with the device
    EXPECT_EQ(surface.viewport()->findChild<QWidget *>("videoSurface"), nullptr);
}

// The sound pages' loop: on the end notification close the device, and a 1 ms timer loads and
// plays the file again. A hundred rounds must leave no thread, descriptor or device behind.
class LoopPattern : public ::testing::TestWithParam<const char *>
{
};

TEST_P(LoopPattern, ReplaysAHundredTimes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(GetParam());
    if (file.endsWith(".wav")) {
        ASSERT_TRUE(writeSineWav(file, "pcm_s16le", 880.0, 40));
    } else {
        MidiTrackBuilder t;
        t.noteOn(0, 0, 72, 100);
        t.noteOff(24, 0, 72); // 24 ticks at 480 a beat, 120 bpm: 25 ms
        t.endOfTrack(0);
        ASSERT_TRUE(writeFile(file, midiFile(0, 480, {t.bytes})));
    }
    TMediaPlayer player;
    QTimer repeat;
    repeat.setSingleShot(true);
    repeat.setInterval(1);
    int rounds = 0;
    int successes = 0;
    auto load = [&] {
        if (player.DeviceID() != 0)
            player.Close();
        player.setFileName(file);
        EXPECT_TRUE(player.Open().ok());
        player.setTimeFormat(tfMilliseconds);
        player.setNotify(true);
        EXPECT_TRUE(player.Play().ok());
        ++rounds;
    };
    QObject::connect(&player, &TMediaPlayer::OnNotify, [&](TMediaPlayer *p) {
        successes += p->NotifyValue() == nvSuccessful;
        if (p->DeviceID() != 0)
            p->Close();
        if (rounds < 100)
            repeat.start();
    });
    QObject::connect(&repeat, &QTimer::timeout, load);

    load(); // the first round loads the libraries; count resources after it
    ASSERT_TRUE(waitUntil([&] { return successes == 1; }));
    const int threads = threadCount();
    const int files = openFileCount();
    ASSERT_TRUE(waitUntil([&] { return successes == 100; }, 100000)) << successes;
    EXPECT_EQ(rounds, 100);
    EXPECT_EQ(player.DeviceID(), 0u);
    EXPECT_LE(threadCount(), threads);
    EXPECT_LE(openFileCount(), files);
}

INSTANTIATE_TEST_SUITE_P(TMediaPlayer, LoopPattern, ::testing::Values("short.wav", "short.mid"));
