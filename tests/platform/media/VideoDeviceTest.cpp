// AVI video device: pictures in order with the sound, the display surface, and bad clips.
#include "MediaTestSupport.h"
#include "MediaWriters.h"
#include "platform/media/MciDevice.h"

#include <QApplication>
#include <QListView>
#include <gtest/gtest.h>

using namespace mediatest;
using platform::MciDevice;
using platform::MciNotify;

TEST(VideoDevice, FramesComeInOrderWithTheSound)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("clip.avi");
    ASSERT_TRUE(encodeAvi(file, "mpeg4", 160, 120, 10, 20, true, 440.0));
    QListView surface;
    surface.resize(400, 300);
    std::vector<int> shown;
    std::vector<MciNotify> notes;
    std::vector<float> heard;
    {
        DiskCapture capture(dir.path());
        MciDevice dev;
        QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
        QObject::connect(&dev, &MciDevice::framePresented,
                         [&](const QImage &picture, qint64) { shown.push_back(greyIndexOf(picture)); });
        ASSERT_TRUE(dev.open(file, &surface).ok());
        EXPECT_NEAR(double(dev.lengthMs()), 2000.0, 50.0);
        ASSERT_TRUE(dev.play(true).ok());
        ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
        EXPECT_EQ(notes.back(), MciNotify::Successful);
        // The picture sits at its natural size in the display's drawing area.
        auto *drawn = surface.viewport()->findChild<QWidget *>("videoSurface");
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(drawn->size(), QSize(160, 120));
        EXPECT_TRUE(drawn->isVisible() || !surface.isVisible());
        dev.close();
        heard = capture.samples();
    }
    ASSERT_FALSE(shown.empty());
    // In order, none twice, and most of them drawn (a loaded machine may skip a late one).
    for (size_t i = 1; i < shown.size(); ++i)
        EXPECT_LT(shown[i - 1], shown[i]) << "at " << i;
    EXPECT_GE(shown.size(), 15u);
    EXPECT_EQ(shown.back(), 19);
    const Sound s = analyse(heard, DiskCapture::kChannels, DiskCapture::kRate, 0.05f);
    EXPECT_NEAR(s.frequency, 440.0, 10.0);
    EXPECT_NEAR(s.durationSec, 2.0, 0.1);
}

TEST(VideoDevice, WithoutDisplayTheClipHasAWindowOfItsOwn)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("silent.avi");
    AviSpec spec;
    spec.video = AviVideo::Rle8;
    spec.frames = 5;
    ASSERT_TRUE(writeFile(file, aviFile(spec)));
    MciDevice dev;
    std::vector<int> shown;
    std::vector<MciNotify> notes;
    QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
    QObject::connect(&dev, &MciDevice::framePresented,
                     [&](const QImage &picture, qint64) { shown.push_back(paletteIndexOf(picture)); });
    ASSERT_TRUE(dev.open(file).ok()) << "a silent clip needs no audio output";
    EXPECT_EQ(dev.lengthMs(), 500);
    ASSERT_TRUE(dev.play(true).ok());
    QWidget *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "videoSurface" && w->isVisible())
            window = w;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "silent.avi");
    ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
    EXPECT_EQ(shown.back(), 4);
    EXPECT_EQ(shown.front(), 0);

    // Closing that window stops the play.
    ASSERT_TRUE(dev.play(true).ok());
    window->close();
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 2; }));
    EXPECT_EQ(notes.back(), MciNotify::Aborted);
    EXPECT_FALSE(dev.isPlaying());
}

TEST(VideoDevice, BadClipsFailOrPlayWhatTheyCan)
{
    QTemporaryDir dir;
    AviSpec spec;
    spec.frames = 6;
    spec.sound = true;
    const QByteArray good = aviFile(spec);

    // No streams at all: the header lists none and the file has no movie data.
    QByteArray noStreams = good.left(good.indexOf("LIST", 12));
    writeFile(dir.filePath("nostreams.avi"), noStreams);
    writeFile(dir.filePath("empty.avi"), {});
    writeFile(dir.filePath("text.avi"), "plain text\n");
    writeFile(dir.filePath("cut.avi"), good.left(40));
    for (const char *name : {"nostreams.avi", "empty.avi", "text.avi", "cut.avi"}) {
        MciDevice dev;
        EXPECT_EQ(dev.open(dir.filePath(name)).code, platform::MCIERR_INVALID_FILE) << name;
    }

    // An index whose entries point far outside the file, and a clip cut in its movie data.
    QByteArray badIndex = good;
    const int idx = badIndex.lastIndexOf("idx1");
    for (int at = idx + 8 + 8; at + 4 <= badIndex.size(); at += 16) {
        const uint32_t far = 0x7ffffff0;
        memcpy(badIndex.data() + at, &far, 4);
    }
    writeFile(dir.filePath("badindex.avi"), badIndex);
    writeFile(dir.filePath("truncated.avi"), good.left(good.size() * 2 / 3));
    for (const char *name : {"badindex.avi", "truncated.avi"}) {
        MciDevice dev;
        std::vector<MciNotify> notes;
        QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
        const platform::MciResult r = dev.open(dir.filePath(name));
        if (!r.ok()) {
            EXPECT_EQ(r.code, platform::MCIERR_INVALID_FILE) << name;
            continue;
        }
        ASSERT_TRUE(dev.play(true).ok()) << name;
        EXPECT_TRUE(waitUntil([&] { return !notes.empty(); })) << name << " must end, not hang";
    }
}
