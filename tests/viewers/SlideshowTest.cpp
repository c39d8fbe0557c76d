// The slide show on a fake clock: the pictures of the list from the selected one, each for the
// interval, the selection following; the end without Loop, the turn again with it, a shuffled order
// holding every file once, a sound played to its end before the next file, Escape ending it all.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "viewers/zoom/FullScreen.h"
#include "viewers/zoom/Slideshow.h"
#include "viewers/zoom/ViewerZoom.h"

#include <algorithm>

using namespace viewertest;

namespace {

class FakeClock : public SlideClock
{
public:
    void start(int ms) override { asked.push_back(ms); }
    void stop() override { ++stops; }
    // The slide is due now.
    void fire() { emit due(); }
    std::vector<int> asked;
    int stops = 0;
};

class SlideshowTest : public ViewerFixture
{
protected:
    SlideshowTest()
    {
        auto fake = std::make_unique<FakeClock>();
        clock = fake.get();
        show().setClock(std::move(fake));
        for (const char *name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
            putBytes(name, bmpBytes({40, 30}));
            list.rows.push_back({name, true});
        }
        list.rows.insert(list.rows.begin(), {"Sous-dossier", false});
    }
    Slideshow &show() const { return pane->slideshow(); }
    QString onView() const { return app.st.Viewed[mtBMP].FileName; }

    FakeClock *clock = nullptr;
};

} // namespace

TEST_F(SlideshowTest, PicturesFollowEachOtherFromTheSelectedOneAndTheShowEndsAfterTheLast)
{
    select("b.bmp");
    show().start();
    ASSERT_TRUE(show().running());
    EXPECT_TRUE(pane->fullScreen().active());
    EXPECT_EQ(show().order(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(onView(), "b.bmp");
    EXPECT_EQ(list.selections.back(), 2);
    EXPECT_EQ(clock->asked, std::vector<int>{4000});
    clock->fire();
    EXPECT_EQ(onView(), "c.bmp");
    EXPECT_EQ(list.selections.back(), 3);
    clock->fire();
    EXPECT_EQ(onView(), "d.bmp");
    // After the last file without Loop: the show and full screen end.
    clock->fire();
    EXPECT_FALSE(show().running());
    EXPECT_FALSE(pane->fullScreen().active());
    EXPECT_EQ(clock->asked.size(), 3u);
}

TEST_F(SlideshowTest, LoopTurnsAgainAndEscapeEndsTheShow)
{
    app.st.settings.Slide_Loop = true;
    app.st.settings.Slide_Interval = 9;
    select("c.bmp");
    show().start();
    EXPECT_EQ(show().order(), (std::vector<int>{3, 4, 1, 2}));
    for (const char *expected : {"d.bmp", "a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
        clock->fire();
        EXPECT_EQ(onView(), expected);
    }
    EXPECT_EQ(clock->asked.back(), 9000);
    QWidget *window = pane->fullScreen().window();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(show().running());
    EXPECT_FALSE(pane->fullScreen().active());
    EXPECT_GT(clock->stops, 0);
    const QString last = onView();
    clock->fire();
    EXPECT_EQ(onView(), last);
}

TEST_F(SlideshowTest, ShuffleShowsEveryFileOnceTheSelectedOneFirst)
{
    app.st.settings.Slide_Shuffle = true;
    show().setSeed(7);
    select("a.bmp");
    show().start();
    std::vector<int> order = show().order();
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order.front(), 1);
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int>{1, 2, 3, 4}));
    std::vector<QString> seen{onView()};
    for (int i = 0; i < 3; ++i) {
        clock->fire();
        seen.push_back(onView());
    }
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], list.rows[size_t(order[i])].name);
    // Other seeds give other orders: the order is drawn, not fixed.
    bool differs = false;
    for (unsigned seed = 1; seed < 20 && !differs; ++seed) {
        show().end();
        show().setSeed(seed);
        select("a.bmp");
        show().start();
        differs = show().order() != order;
    }
    EXPECT_TRUE(differs);
    show().end();
}

TEST_F(SlideshowTest, ASoundPlaysToItsEndBeforeTheNextFile)
{
    putBytes("son.wav", wavBytes(300));
    list.rows.insert(list.rows.begin() + 2, {"son.wav", true});
    select("a.bmp");
    show().start();
    clock->fire();
    ASSERT_EQ(page(), "WAV");
    EXPECT_EQ(app.st.Viewed[mtWAV].Path, drivePath("son.wav"));
    // No interval for a sound: its end moves on; the clock only watches for an end never reported.
    ASSERT_EQ(clock->asked.size(), 2u);
    ASSERT_GT(app.st.Viewed[mtWAV].LengthMs, 0);
    EXPECT_EQ(clock->asked[1], app.st.Viewed[mtWAV].LengthMs + 2000);
    ASSERT_TRUE(waitFor([&] { return onView() == "b.bmp"; }, 10000));
    EXPECT_EQ(page(), "BMP");
    EXPECT_EQ(clock->asked.size(), 3u);
    show().end();
}

TEST_F(SlideshowTest, ASoundThatCannotBeLoadedStaysTheIntervalAndTheShowGoesOn)
{
    putBytes("abime.wav", QByteArray("RIFF\x10\0\0\0WAVEjunk", 16));
    list.rows.insert(list.rows.begin() + 2, {"abime.wav", true});
    ui.acceptOkBoxes = true; // the file's error, said as for any file that cannot be shown
    select("a.bmp");
    show().start();
    clock->fire();
    ASSERT_FALSE(ui.messages.empty());
    // The damaged sound is given the pictures' interval instead of waiting for an end of play.
    ASSERT_EQ(clock->asked.size(), 2u);
    EXPECT_EQ(clock->asked[1], 1000 * app.st.settings.Slide_Interval);
    clock->fire();
    ASSERT_TRUE(waitFor([&] { return onView() == "b.bmp"; }, 5000));
    EXPECT_TRUE(show().running());
    show().end();
}

TEST_F(SlideshowTest, AListWithoutFilesBeeps)
{
    list.rows = {{"Sous-dossier", false}};
    show().start();
    EXPECT_FALSE(show().running());
    EXPECT_EQ(plainBeeps(), 1);
    EXPECT_FALSE(pane->fullScreen().active());
}

TEST_F(SlideshowTest, PngAndWebpPicturesAnimatedOrNotStayTheInterval)
{
    put("pictures/anim.apng", "e.apng");
    put("pictures/alpha.webp", "f.webp");
    list.rows.push_back({"e.apng", true});
    list.rows.push_back({"f.webp", true});
    select("e.apng");
    show().start();
    ASSERT_TRUE(show().running());
    EXPECT_EQ(page(), "PNG");
    EXPECT_EQ(app.st.Viewed[mtPNG].FileName, "e.apng");
    // An animation is a picture: it stays the interval, it does not wait for an end.
    EXPECT_EQ(clock->asked, std::vector<int>{4000});
    EXPECT_TRUE(pane->zoom().zoomed()) << "full screen shows it on the zoom view";
    clock->fire();
    EXPECT_EQ(page(), "WEBP");
    EXPECT_EQ(app.st.Viewed[mtWEBP].FileName, "f.webp");
    EXPECT_EQ(clock->asked, (std::vector<int>{4000, 4000}));
    clock->fire();
    EXPECT_FALSE(show().running());
}
