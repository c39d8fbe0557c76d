// Thumbnails of sounds (sox), tunes (abc2midi) and clips (ffmpeg): a waveform with one lane per
// channel, a piano roll with time across and pitch up, a frame from a tenth into the clip; damaged
// files, cancels and timeouts fail with a reason.
#include "ThumbnailTestSupport.h"

#include "thumbnails/Thumbnail.h"

#include <QFile>
#include <QTemporaryDir>

using namespace thumbtest;

namespace {

const QColor kWave(0x1e, 0x50, 0xa0);

// Rows of column x drawn in the waveform's colour.
int waveRows(const QImage &img, int x, int fromY, int toY)
{
    int n = 0;
    for (int y = fromY; y < toY; ++y)
        if (near(img, x, y, kWave, 30))
            ++n;
    return n;
}

class MediaThumbnails : public ::testing::Test
{
protected:
    QTemporaryDir dir;
};

TEST_F(MediaThumbnails, WaveformHasOneLanePerChannel)
{
    // Left: a loud tone; right: silence.
    const QString wav = dir.filePath("stereo.wav");
    ASSERT_TRUE(runTool("sox", {"-n", "-r", "8000", "-b", "16", wav, "synth", "2", "sine", "440", "vol",
                                "0.9", "remix", "1", "0"}));
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(wav, 128);
    ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
    ASSERT_EQ(thumb->size(), QSize(128, 96));
    for (int x : {5, 64, 120}) {
        // The tone spans most of the upper lane (48 rows); the silent lane is its middle line only.
        EXPECT_GE(waveRows(*thumb, x, 0, 48), 35) << x;
        EXPECT_LE(waveRows(*thumb, x, 48, 96), 2) << x;
    }
}

TEST_F(MediaThumbnails, WaveformFollowsTheSoundAcrossTime)
{
    // One second of silence, then one of a tone, in one channel.
    const QString wav = dir.filePath("late.wav");
    ASSERT_TRUE(runTool("sox", {"-n", "-r", "11025", "-b", "16", "-c", "1", wav, "synth", "1", "sine", "300",
                                "pad", "1", "0"}));
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(wav, 128);
    ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
    ASSERT_EQ(thumb->size(), QSize(128, 96));
    EXPECT_LE(waveRows(*thumb, 20, 0, 96), 2);
    EXPECT_GE(waveRows(*thumb, 100, 0, 96), 60);
}

TEST_F(MediaThumbnails, PianoRollRisesWithTheScaleInTheChannelsColour)
{
    const QString mid = dir.filePath("scale.mid");
    ASSERT_TRUE(
        runTool("abc2midi", {"-", "-o", mid}, "X:1\nT:scale\nM:4/4\nL:1/4\nQ:1/4=120\nK:C\nCDEF GABc|\n"));
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(mid, 128);
    ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
    ASSERT_EQ(thumb->size(), QSize(128, 96));
    // The first channel's colour; the height of the first and the last note drawn.
    const QColor first(0xe6, 0x19, 0x4b);
    const auto noteRow = [&](int x) {
        for (int y = 0; y < thumb->height(); ++y)
            if (near(*thumb, x, y, first, 10))
                return y;
        return -1;
    };
    const int start = noteRow(4), end = noteRow(thumb->width() - 6);
    ASSERT_GE(start, 0);
    ASSERT_GE(end, 0);
    EXPECT_GT(start, end + 40); // an octave up: higher on the picture
    // Between notes and around them: the dark background.
    EXPECT_TRUE(near(*thumb, 64, 1, QColor(0x1c, 0x1c, 0x28), 20));
}

TEST_F(MediaThumbnails, PianoRollGivesEachChannelItsColour)
{
    const QString mid = dir.filePath("two.mid");
    ASSERT_TRUE(runTool("abc2midi", {"-", "-o", mid},
                        "X:1\nT:two\nM:4/4\nL:1/2\nK:C\nV:1\nc'c'|c'c'|\nV:2\nC,C,|C,C,|\n"));
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(mid, 128);
    ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
    int firstColour = 0, secondColour = 0;
    for (int y = 0; y < thumb->height(); ++y) {
        firstColour += near(*thumb, 30, y, QColor(0xe6, 0x19, 0x4b), 10) ? 1 : 0;
        secondColour += near(*thumb, 30, y, QColor(0x3c, 0xb4, 0x4b), 10) ? 1 : 0;
    }
    EXPECT_GT(firstColour, 0);
    EXPECT_GT(secondColour, 0);
}

TEST_F(MediaThumbnails, ClipShowsItsPictureFromATenthIn)
{
    // Ten seconds: red for half a second, then blue. A tenth in (one second) is blue.
    const QString avi = dir.filePath("clip.avi");
    ASSERT_TRUE(runTool("ffmpeg", {"-v", "error", "-y", "-filter_complex",
                                   "color=c=red:s=160x120:r=10:d=0.5[a];color=c=blue:s=160x120:r=10:d=9.5[b];"
                                   "[a][b]concat=n=2:v=1:a=0",
                                   "-c:v", "mpeg4", "-q:v", "2", "-g", "10", avi}));
    const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(avi, 128);
    ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
    EXPECT_EQ(thumb->size(), QSize(128, 96));
    EXPECT_TRUE(near(*thumb, 64, 48, Qt::blue));
    // A clip too short to seek into still gives its first picture.
    const QString shortAvi = dir.filePath("short.avi");
    ASSERT_TRUE(runTool("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=lime:s=64x48:r=5:d=0.2",
                                   "-c:v", "mjpeg", shortAvi}));
    const platform::ErrorOr<QImage> small = thumbs::makeThumbnail(shortAvi, 128);
    ASSERT_TRUE(small) << small.error().message.toStdString();
    EXPECT_EQ(small->size(), QSize(64, 48));
    EXPECT_TRUE(near(*small, 32, 24, QColor(0, 255, 0)));
}

// The later types' sounds and clips, in containers FFmpeg probes, whatever the extension's case.
TEST_F(MediaThumbnails, LaterSoundsAndClipsHaveTheirWaveformAndPicture)
{
    struct Sound
    {
        const char *name, *container, *codec;
    };
    for (const Sound &c : {Sound{"tone.mp3", "mp3", "libmp3lame"}, Sound{"tone.OPUS", "ogg", "libopus"},
                           Sound{"tone.flac", "flac", "flac"}}) {
        SCOPED_TRACE(c.name);
        const QString sound = dir.filePath(c.name);
        ASSERT_TRUE(runTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "sine=f=440:d=1", "-af",
                                       "volume=4", "-f", c.container, "-c:a", c.codec, sound}));
        const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(sound, 128);
        ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
        EXPECT_GE(waveRows(*thumb, 64, 0, thumb->height()), 40);
    }
    for (const char *name : {"clip.mkv", "clip.WEBM", "clip.m4v"}) {
        SCOPED_TRACE(name);
        const QString clip = dir.filePath(name);
        const bool vp9 = !QString(name).endsWith("m4v");
        ASSERT_TRUE(
            runTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "color=c=blue:s=80x60:r=10:d=1", "-c:v",
                               vp9 ? "libvpx-vp9" : "mpeg4", "-f", vp9 ? "matroska" : "mp4", clip}));
        const platform::ErrorOr<QImage> thumb = thumbs::makeThumbnail(clip, 128);
        ASSERT_TRUE(thumb) << thumb.error().message.toStdString();
        EXPECT_EQ(thumb->size(), QSize(80, 60));
        EXPECT_TRUE(near(*thumb, 40, 30, Qt::blue));
    }
}

TEST_F(MediaThumbnails, DamagedSoundsTunesAndClipsFail)
{
    for (const char *name : {"bad.wav", "bad.mid", "bad.avi"}) {
        SCOPED_TRACE(name);
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16) + QByteArray(200, '\x33'));
        f.close();
        EXPECT_FALSE(thumbs::makeThumbnail(f.fileName(), 128));
    }
    // A tune cut in its first track.
    QFile tune(fixture("media/c4_one_beat.mid"));
    ASSERT_TRUE(tune.open(QIODevice::ReadOnly));
    const QByteArray whole = tune.readAll();
    QFile cut(dir.filePath("cut.mid"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.left(whole.size() / 2));
    cut.close();
    EXPECT_FALSE(thumbs::makeThumbnail(cut.fileName(), 128));
    // The whole tune is fine.
    EXPECT_TRUE(thumbs::makeThumbnail(fixture("media/c4_one_beat.mid"), 128));
}

TEST_F(MediaThumbnails, CancelAndTimeLimitStopTheWork)
{
    const QString wav = dir.filePath("long.wav");
    ASSERT_TRUE(
        runTool("sox", {"-n", "-r", "44100", "-b", "16", "-c", "2", wav, "synth", "60", "sine", "440"}));
    std::atomic<bool> cancel{true};
    thumbs::Limits cancelled;
    cancelled.cancel = &cancel;
    const platform::ErrorOr<QImage> stopped = thumbs::makeThumbnail(wav, 128, cancelled);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error().kind, platform::Error::Kind::Other);
    EXPECT_EQ(stopped.error().code, 1);
    thumbs::Limits hurried;
    hurried.maxMilliseconds = 0;
    const platform::ErrorOr<QImage> late = thumbs::makeThumbnail(wav, 128, hurried);
    ASSERT_FALSE(late);
    EXPECT_TRUE(late.error().message.contains("took longer")) << late.error().message.toStdString();
    EXPECT_TRUE(thumbs::makeThumbnail(wav, 128));
}

} // namespace
