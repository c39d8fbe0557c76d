// The video pages: a clip the animation control accepts plays on "AVI_WIN", one it refuses as video
// on "AVI_VIDEO"; Stop and Loop in both modes, notices of interrupted video plays, and clips that
// neither can play.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "MediaWriters.h"
#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "viewers/View_AVI.h"

#include <QListWidget>
#include <QTimer>

using namespace viewertest;

namespace {

class VideoPagesTest : public ViewerFixture
{
protected:
    VideoPagesTest()
    {
        put("media/raw8_silent.avi");
        put("media/mpeg4_sound.avi");
        // Short clips for the tests that wait for several ends: 4 frames at 20 a second, silent
        // and uncompressed for the animation control, with sound for the video device.
        mediatest::AviSpec clip;
        clip.frames = 4;
        clip.fps = 20;
        putBytes("short.avi", mediatest::aviFile(clip));
        EXPECT_TRUE(mediatest::encodeAvi(nativeOf("short_sound.avi"), "mpeg4", 32, 24, 20, 6, true));
        QObject::connect(video(), &TMediaPlayer::OnNotify, host.get(), [this](TMediaPlayer *p) {
            notices.push_back(p->NotifyValue());
            armedAfterNotice.push_back(pane->page<TViewPageAVI_WIN>(mtAVI)->timRepeatAVI->isActive());
        });
        QObject::connect(control(), &TAVIControl::FrameShown, host.get(),
                         [this](int i) { frames.push_back(i); });
    }

    TAVIControl *control() const { return pane->page<TViewPageAVI_WIN>(mtAVI)->AVIControlWIN; }
    TMediaPlayer *video() const { return pane->page<TViewPageAVI_WIN>(mtAVI)->pageAVI_VIDEO->MediaPlayerAVI; }
    int count(TMPNotifyValues v) const { return int(std::count(notices.begin(), notices.end(), v)); }
    // Whether the clip came back to its first frame after its last one since frames were cleared.
    bool wrapped() const
    {
        const auto last = std::find(frames.begin(), frames.end(), control()->FrameCount() - 1);
        return last != frames.end() && std::find(last, frames.end(), 0) != frames.end();
    }

    std::vector<TMPNotifyValues> notices;
    std::vector<bool> armedAfterNotice;
    std::vector<int> frames;
};

} // namespace

TEST_F(VideoPagesTest, AClipTheAnimationControlAcceptsPlaysOnItsPageOnce)
{
    show("raw8_silent.avi");
    EXPECT_EQ(page(), "AVI_WIN");
    const ViewedRecord &r = app.st.Viewed[mtAVI];
    EXPECT_TRUE(r.InWindow);
    EXPECT_EQ(r.LengthMs, 0);
    EXPECT_EQ(r.FileName, "raw8_silent.avi");
    EXPECT_EQ(r.Path, drivePath("raw8_silent.avi"));
    EXPECT_FALSE(r.Repeat);
    EXPECT_EQ(control()->AVIState(), avPlay);
    EXPECT_EQ(video()->DeviceID(), 0u);
    EXPECT_FALSE(busy());
    // Loop released: once through, then it rests on its last frame.
    ASSERT_TRUE(waitFor([&] { return control()->AVIState() == avOpen; }));
    EXPECT_EQ(control()->CurrentFrame(), control()->FrameCount() - 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(VideoPagesTest, AClipItRefusesPlaysAsVideoWithItsLength)
{
    show("mpeg4_sound.avi");
    EXPECT_EQ(page(), "AVI_VIDEO");
    const ViewedRecord &r = app.st.Viewed[mtAVI];
    EXPECT_FALSE(r.InWindow);
    EXPECT_EQ(r.LengthMs, 1000);
    EXPECT_EQ(r.FileName, "mpeg4_sound.avi");
    EXPECT_NE(video()->DeviceID(), 0u);
    EXPECT_EQ(control()->AVIState(), avClosed);
    EXPECT_FALSE(busy());
    // Loop released: at its end the video rests on its last frame, the device open.
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    ASSERT_TRUE(waitFor([&] { return !pane->page<TViewPageAVI_WIN>(mtAVI)->timRepeatAVI->isActive(); }));
    EXPECT_NE(video()->DeviceID(), 0u);
    EXPECT_FALSE(video()->device().isPlaying());
    EXPECT_EQ(video()->Position(), video()->Length());
    // A clip for the animation control next closes the video.
    show("raw8_silent.avi");
    EXPECT_EQ(video()->DeviceID(), 0u);
    EXPECT_TRUE(app.st.Viewed[mtAVI].InWindow);
    EXPECT_EQ(app.st.Viewed[mtAVI].LengthMs, 0);
}

TEST_F(VideoPagesTest, AClipNeitherCanPlayGivesTheMessageAndTheNotebookStaysOnItsPage)
{
    put("pictures/rose.bmp");
    QFile whole(dataFile("media/mpeg4_sound.avi"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const struct
    {
        const char *name;
        QByteArray bytes;
        bool exists;
    } cases[] = {
        {"renamed.avi", "This is a plain text file, not a clip.\n", true},
        {"empty.avi", QByteArray(), true},
        {"truncated.avi", whole.read(40), true},
        {"vanished.avi", QByteArray(), false},
    };
    for (const char *before : {"rose.bmp", "mpeg4_sound.avi", "raw8_silent.avi"}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(before) + " then " + c.name);
            show(before);
            const QString shown = page();
            if (c.exists)
                putBytes(c.name, c.bytes);
            ui.answerMessage(platform::mbOK);
            show(c.name);
            EXPECT_EQ(takeMessages(), std::vector<QString>{accessError()});
            EXPECT_EQ(page(), shown);
            EXPECT_FALSE(app.st.Viewed[mtAVI].InWindow);
            EXPECT_EQ(app.st.Viewed[mtAVI].LengthMs, 0);
            EXPECT_EQ(app.st.Viewed[mtAVI].FileName, c.name);
            EXPECT_EQ(video()->DeviceID(), 0u);
            EXPECT_EQ(control()->AVIState(), avClosed);
            EXPECT_FALSE(busy());
        }
    }
}

TEST_F(VideoPagesTest, StopShowsTheFirstFrameOrClosesTheVideo)
{
    show("raw8_silent.avi");
    ASSERT_TRUE(waitFor([&] { return control()->CurrentFrame() >= 2; }));
    pane->button(ViewerCommand::Stop)->click();
    ASSERT_TRUE(waitFor([&] { return control()->CurrentFrame() == 0; }));
    EXPECT_EQ(control()->AVIState(), avOpen);

    show("mpeg4_sound.avi");
    ASSERT_NE(video()->DeviceID(), 0u);
    pane->button(ViewerCommand::Stop)->click();
    EXPECT_EQ(video()->DeviceID(), 0u);
    EXPECT_EQ(page(), "AVI_VIDEO");
    // Play loads it again.
    pane->button(ViewerCommand::Play)->click();
    EXPECT_NE(video()->DeviceID(), 0u);
    EXPECT_TRUE(video()->device().isPlaying());
    ASSERT_TRUE(waitFor([&] { return count(nvAborted) == 1; }));
    EXPECT_TRUE(video()->device().isPlaying()) << "the stopped play's notice leaves the new one alone";
}

TEST_F(VideoPagesTest, LoopRepeatsTheAnimationControlsClipUntilReleased)
{
    show("short.avi");
    pane->button(ViewerCommand::Loop)->click();
    EXPECT_TRUE(control()->AutoRepeat());
    EXPECT_TRUE(app.st.Viewed[mtAVI].Repeat);
    frames.clear();
    ASSERT_TRUE(waitFor([&] { return wrapped(); }));
    EXPECT_EQ(control()->AVIState(), avPlay);
    // Released: the clip plays once more from its start and stops at its end.
    pane->button(ViewerCommand::Loop)->click();
    EXPECT_FALSE(control()->AutoRepeat());
    EXPECT_FALSE(app.st.Viewed[mtAVI].Repeat);
    ASSERT_TRUE(waitFor([&] { return control()->AVIState() == avOpen; }));
    EXPECT_EQ(control()->CurrentFrame(), control()->FrameCount() - 1);
    // Loaded with Loop pressed, it repeats from the start.
    pane->button(ViewerCommand::Loop)->click();
    show("short.avi");
    EXPECT_TRUE(app.st.Viewed[mtAVI].Repeat);
    frames.clear();
    ASSERT_TRUE(waitFor([&] { return wrapped(); }));
    EXPECT_EQ(control()->AVIState(), avPlay);
}

TEST_F(VideoPagesTest, TheAnimationControlRepeatsAsLoopStandsWhateverTypeItWasPressedOn)
{
    putBytes("tune.wav", wavBytes(200));
    // Pressed while a sound was on view: the clip shown next repeats.
    show("tune.wav");
    pane->button(ViewerCommand::Loop)->click();
    show("short.avi");
    EXPECT_TRUE(app.st.Viewed[mtAVI].Repeat);
    EXPECT_TRUE(control()->AutoRepeat());
    frames.clear();
    ASSERT_TRUE(waitFor([&] { return wrapped(); }));
    EXPECT_EQ(control()->AVIState(), avPlay);
    // Released while a sound was on view: the clip shown next plays once.
    show("tune.wav");
    pane->button(ViewerCommand::Loop)->click();
    show("short.avi");
    EXPECT_FALSE(app.st.Viewed[mtAVI].Repeat);
    EXPECT_FALSE(control()->AutoRepeat());
    ASSERT_TRUE(waitFor([&] { return control()->AVIState() == avOpen; }));
    EXPECT_EQ(control()->CurrentFrame(), control()->FrameCount() - 1);
}

TEST_F(VideoPagesTest, LoopReplaysTheVideoAtItsEndUntilReleased)
{
    show("short_sound.avi");
    pane->button(ViewerCommand::Loop)->click();
    EXPECT_TRUE(app.st.Viewed[mtAVI].Repeat);
    const uint32_t device = video()->DeviceID();
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    EXPECT_EQ(armedAfterNotice.back(), true);
    ASSERT_TRUE(waitFor([&] { return video()->device().isPlaying(); })) << "played again";
    EXPECT_EQ(video()->DeviceID(), device) << "on the same device, from the start";
    // Released: the next end is the last.
    pane->button(ViewerCommand::Loop)->click();
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 2; }));
    ASSERT_TRUE(waitFor([&] { return !pane->page<TViewPageAVI_WIN>(mtAVI)->timRepeatAVI->isActive(); }));
    EXPECT_FALSE(video()->device().isPlaying());
    EXPECT_EQ(video()->Position(), video()->Length());
    EXPECT_EQ(count(nvSuperseded), 0);
}

TEST_F(VideoPagesTest, NoticesOfInterruptedVideoPlaysDoNotArmTheReplay)
{
    show("mpeg4_sound.avi");
    pane->button(ViewerCommand::Loop)->click();
    show("mpeg4_sound.avi"); // Play during the play
    ASSERT_TRUE(waitFor([&] { return !notices.empty(); }));
    EXPECT_EQ(notices, std::vector<TMPNotifyValues>{nvAborted});
    EXPECT_EQ(armedAfterNotice, std::vector<bool>{false});
    EXPECT_TRUE(video()->device().isPlaying());
    // A Stop's notice arrives once the device is closed: nothing is played.
    pane->button(ViewerCommand::Stop)->click();
    ASSERT_TRUE(waitFor([&] { return notices.size() == 2; }));
    EXPECT_EQ(notices.back(), nvAborted);
    EXPECT_EQ(armedAfterNotice.back(), false);
    EXPECT_EQ(video()->DeviceID(), 0u);
    EXPECT_EQ(count(nvSuperseded), 0);
}
