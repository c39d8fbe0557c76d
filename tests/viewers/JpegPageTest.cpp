// The JPEG page: the settings as the decoder's options (scale, clamped when hand-edited), damage found
// at the load or only while decoding, and the decode run from the event loop after the load, with
// the progress label and the coarse passes of a progressive file painted as it goes.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "app/Settings.h"
#include "components/TPicture.h"
#include "viewers/View_JPG.h"

#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>

using namespace viewertest;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class JpegPageTest : public ViewerFixture
{
protected:
    TPicture *picture() const { return pane->page<TViewPageJPG>(mtJPG)->picJPG; }
    QLabel *label() const { return pane->page<TViewPageJPG>(mtJPG)->lblProgressJPG; }
    bool decoded() const { return !picture()->isEmpty() && picture()->isDecoded(); }
    // Waits for the deferred decode of the picture on the page.
    ::testing::AssertionResult decodeEnds()
    {
        if (!waitFor([this] { return picture()->isEmpty() || picture()->isDecoded(); }))
            return ::testing::AssertionFailure() << "the decode did not run";
        return ::testing::AssertionSuccess();
    }
    // Makes every time check of the decode under way half a second and more later than the last,
    // so that each check may report progress.
    void slowClock()
    {
        ASSERT_NE(picture()->jpeg(), nullptr);
        picture()->jpeg()->setClock([t = qint64(0)]() mutable { return t += 600; });
    }
};

} // namespace

TEST_F(JpegPageTest, ScaleOneShowsAndRecordsHalfTheSize)
{
    app.st.settings.JPEG_Scale = 1;
    putBytes("big.jpg", jpegBytes({1600, 1200}, false));
    show("big.jpg");
    EXPECT_EQ(page(), "JPG");
    EXPECT_EQ(app.st.Viewed[mtJPG].Width, 800);
    EXPECT_EQ(app.st.Viewed[mtJPG].Height, 600);
    EXPECT_EQ(app.st.Viewed[mtJPG].FileName, "big.jpg");
    EXPECT_EQ(app.st.Viewed[mtJPG].Path, drivePath("big.jpg"));
    ASSERT_TRUE(decodeEnds());
    EXPECT_EQ(picture()->image().size(), QSize(800, 600));
    EXPECT_EQ(picture()->size(), QSize(800, 600));
    QScrollArea *box = pane->page<TViewPageJPG>(mtJPG)->scrollJPG;
    ASSERT_TRUE(
        waitFor([&] { return box->horizontalScrollBar()->maximum() == 800 - box->viewport()->width(); }));
    EXPECT_EQ(box->verticalScrollBar()->maximum(), 600 - box->viewport()->height());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(JpegPageTest, AHandEditedScaleIsBroughtIntoItsRange)
{
    put("pictures/rose.jpg");
    const struct
    {
        const char *line;
        QSize size;
    } cases[] = {{"JPEG_Scale=7", {9, 6}}, {"JPEG_Scale=-2", {70, 46}}, {"JPEG_Scale=2", {18, 12}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        writeSettings({c.line});
        LoadSettings(app);
        show("rose.jpg");
        EXPECT_EQ(QSize(app.st.Viewed[mtJPG].Width, app.st.Viewed[mtJPG].Height), c.size);
        ASSERT_TRUE(decodeEnds());
        EXPECT_EQ(picture()->image().size(), c.size);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(JpegPageTest, AnOptionChangedThenPlayShowsThePictureWithIt)
{
    put("pictures/rose.jpg");
    show("rose.jpg");
    ASSERT_TRUE(decodeEnds());
    EXPECT_EQ(picture()->image().size(), QSize(70, 46));
    EXPECT_FALSE(picture()->image().allGray());
    app.st.settings.JPEG_Scale = 2;
    app.st.settings.JPEG_Grayscale = true;
    pane->button(ViewerCommand::Play)->click();
    EXPECT_EQ(app.st.Viewed[mtJPG].Width, 18);
    ASSERT_TRUE(decodeEnds());
    EXPECT_EQ(picture()->image().size(), QSize(18, 12));
    EXPECT_TRUE(picture()->image().allGray());
}

TEST_F(JpegPageTest, DamageFoundWhileDecodingGivesTheMessageAndAnEmptyPage)
{
    put("pictures/rose.jpg");
    put("pictures/damaged-truncated.jpg");
    show("rose.jpg");
    ASSERT_TRUE(decodeEnds());
    ui.answerMessage(platform::mbOK);
    show("damaged-truncated.jpg");
    // The header was fine: the load itself went through.
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_GT(app.st.Viewed[mtJPG].Width, 0);
    ASSERT_TRUE(waitFor([&] { return !ui.messages.empty(); }));
    EXPECT_EQ(takeMessages(), std::vector<QString>{accessError()});
    EXPECT_TRUE(picture()->isEmpty());
    EXPECT_EQ(app.st.Viewed[mtJPG].Width, 0);
    EXPECT_EQ(app.st.Viewed[mtJPG].Height, 0);
    EXPECT_EQ(app.st.Viewed[mtJPG].FileName, "damaged-truncated.jpg");
    EXPECT_EQ(app.st.Viewed[mtJPG].Path, drivePath("damaged-truncated.jpg"));
    EXPECT_TRUE(label()->isHidden());
    EXPECT_FALSE(busy());
    // The next load is not troubled by it.
    show("rose.jpg");
    ASSERT_TRUE(decodeEnds());
    EXPECT_EQ(picture()->image().size(), QSize(70, 46));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(JpegPageTest, TheLabelShowsTheProgressOfALongDecodeAndGoesAtItsEnd)
{
    for (bool progressiveDisplay : {true, false}) {
        SCOPED_TRACE(progressiveDisplay);
        app.st.settings.JPEG_Progressive_Display = progressiveDisplay;
        putBytes("big.jpg", jpegBytes({1600, 1200}, true));
        PaintCounter labelPaints(label());
        struct Seen
        {
            bool visible;
            QString text;
        };
        std::vector<Seen> running;
        int events = 0;
        QObject::connect(picture(), &TPicture::progress, label(), [&](TJPEGImage::Stage stage, int) {
            ++events;
            if (stage == TJPEGImage::Stage::Running)
                running.push_back({label()->isVisible(), label()->text()});
        });
        show("big.jpg");
        // The load returned before anything was decoded: the decode runs from the event loop.
        EXPECT_EQ(events, 0);
        EXPECT_FALSE(decoded());
        EXPECT_FALSE(label()->isVisible());
        slowClock();
        ASSERT_TRUE(decodeEnds());
        ASSERT_TRUE(decoded());
        ASSERT_FALSE(running.empty());
        static const QRegularExpression kText(QStringLiteral("^Chargement:(\\d+)% \\.\\.\\.$"));
        int last = -1;
        for (const Seen &s : running) {
            EXPECT_TRUE(s.visible);
            const QRegularExpressionMatch m = kText.match(s.text);
            ASSERT_TRUE(m.hasMatch()) << s.text.toStdString();
            const int percent = m.captured(1).toInt();
            EXPECT_NE(percent, last) << "sent only when it changed";
            EXPECT_LE(percent, 100);
            last = percent;
        }
        EXPECT_GT(labelPaints.paints, 0) << "painted while the decode ran";
        EXPECT_FALSE(label()->isVisible());
        EXPECT_FALSE(busy());
        QObject::disconnect(picture(), &TPicture::progress, label(), nullptr);
    }
}

TEST_F(JpegPageTest, AProgressiveFileShowsItsCoarsePassesBeforeTheEnd)
{
    putBytes("big.jpg", jpegBytes({1600, 1200}, true));
    for (bool progressiveDisplay : {true, false}) {
        SCOPED_TRACE(progressiveDisplay);
        app.st.settings.JPEG_Progressive_Display = progressiveDisplay;
        show("big.jpg");
        ASSERT_NE(picture()->jpeg(), nullptr);
        int passes = 0;
        int paintsDuringPasses = 0;
        PaintCounter paints(picture());
        QObject::connect(picture()->jpeg(), &TJPEGImage::passDecoded, picture(), [&](const QImage &partial) {
            ++passes;
            EXPECT_EQ(partial.size(), QSize(1600, 1200));
            paintsDuringPasses = paints.paints;
        });
        ASSERT_TRUE(decodeEnds());
        ASSERT_TRUE(decoded());
        if (progressiveDisplay) {
            EXPECT_GT(passes, 1);
            EXPECT_GT(paintsDuringPasses, 0) << "each coarse pass is painted as it comes";
        } else {
            EXPECT_EQ(passes, 0);
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}
