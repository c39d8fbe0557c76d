// TAVIControl: which clips it takes, and the closed / open / play rules.
#include "components/media/TAVIControl.h"
#include "MediaTestSupport.h"
#include "MediaWriters.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace mediatest;

namespace {

class AVIControl : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString clip(AviVideo video, int frames = 6, bool sound = false, int fps = 20)
    {
        AviSpec spec;
        spec.video = video;
        spec.frames = frames;
        spec.sound = sound;
        spec.fps = fps;
        spec.width = 40;
        spec.height = 30;
        const QString file = dir.filePath(QString("clip%1.avi").arg(++count));
        writeFile(file, aviFile(spec));
        return file;
    }
    int count = 0;
};

} // namespace

TEST_F(AVIControl, AcceptsSilentUncompressedAndRle8Only)
{
    TAVIControl control;
    for (AviVideo video : {AviVideo::Raw8, AviVideo::Raw24, AviVideo::Rle8}) {
        EXPECT_TRUE(control.Open(clip(video))) << int(video);
        EXPECT_EQ(control.AVIState(), avOpen);
        EXPECT_EQ(control.size(), QSize(40, 30)) << "sized to the clip";
        EXPECT_EQ(control.FrameCount(), 6);
    }
    EXPECT_FALSE(control.Open(clip(AviVideo::Raw8, 6, true))) << "a clip with sound";
    EXPECT_EQ(control.AVIState(), avClosed);
    const QString mpeg = dir.filePath("mpeg4.avi");
    ASSERT_TRUE(encodeAvi(mpeg, "mpeg4", 64, 48, 10, 5, false));
    EXPECT_FALSE(control.Open(mpeg)) << "compressed";
    const QString mjpeg = dir.filePath("mjpeg.avi");
    ASSERT_TRUE(encodeAvi(mjpeg, "mjpeg", 64, 48, 10, 5, false));
    EXPECT_FALSE(control.Open(mjpeg)) << "compressed";
    writeFile(dir.filePath("empty.avi"), {});
    EXPECT_FALSE(control.Open(dir.filePath("empty.avi")));
    EXPECT_FALSE(control.Open(dir.filePath("missing.avi")));
    EXPECT_EQ(control.AVIState(), avClosed);
}

TEST_F(AVIControl, PlaysOnceFromFirstToLastThenFallsBackToOpen)
{
    for (AviVideo video : {AviVideo::Rle8, AviVideo::Raw8}) {
        TAVIControl control;
        std::vector<int> shown;
        QObject::connect(&control, &TAVIControl::FrameShown, [&](int i) { shown.push_back(i); });
        control.setFileName(clip(video, 6));
        control.setAVIState(avPlay); // opens the named clip itself
        EXPECT_EQ(control.AVIState(), avPlay);
        ASSERT_TRUE(waitUntil([&] { return control.AVIState() == avOpen; }));
        EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 5}));
        EXPECT_EQ(paletteIndexOf(control.CurrentPicture()), 5) << "stays on the last frame";
        EXPECT_EQ(control.CurrentPicture().pixel(0, 0) & 0xffffff, paletteColour(5) & 0xffffff);
    }
}

TEST_F(AVIControl, AutoRepeatPlaysEndlesslyAndRestartsWhenChanged)
{
    TAVIControl control;
    std::vector<int> shown;
    QObject::connect(&control, &TAVIControl::FrameShown, [&](int i) { shown.push_back(i); });
    ASSERT_TRUE(control.Open(clip(AviVideo::Rle8, 4, false, 40)));
    control.setAutoRepeat(true);
    EXPECT_EQ(control.AVIState(), avOpen) << "outside play the change waits for the next play";
    control.setAVIState(avPlay);
    ASSERT_TRUE(waitUntil([&] { return shown.size() >= 10; }));
    EXPECT_EQ(control.AVIState(), avPlay);
    EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 10),
              (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1}));

    // Turning repeat off while playing restarts from the first frame, once.
    ASSERT_TRUE(waitUntil([&] { return control.CurrentFrame() == 2; }));
    shown.clear();
    control.setAutoRepeat(false);
    ASSERT_TRUE(waitUntil([&] { return control.AVIState() == avOpen; }));
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(AVIControl, SeekShowsTheFrameAndStops)
{
    TAVIControl control;
    ASSERT_TRUE(control.Open(clip(AviVideo::Raw24, 8, false, 10)));
    control.setAutoRepeat(true);
    control.setAVIState(avPlay);
    ASSERT_TRUE(waitUntil([&] { return control.CurrentFrame() >= 1; }));
    control.Seek(6);
    EXPECT_EQ(control.AVIState(), avOpen);
    ASSERT_TRUE(waitUntil([&] { return control.CurrentFrame() == 6; }));
    QTest::qWait(300);
    EXPECT_EQ(control.CurrentFrame(), 6) << "stopped on it";
    EXPECT_EQ(paletteIndexOf(control.CurrentPicture()), 6);
    control.Seek(0);
    ASSERT_TRUE(waitUntil([&] { return control.CurrentFrame() == 0; }));

    control.setAVIState(avClosed);
    EXPECT_EQ(control.AVIState(), avClosed);
    EXPECT_EQ(control.CurrentFrame(), -1);
    control.Seek(3); // nothing to show when closed
    QTest::qWait(50);
    EXPECT_EQ(control.CurrentFrame(), -1);
}
