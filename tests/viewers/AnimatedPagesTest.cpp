// The PNG and WebP pages: the records of a load, alpha on the page's colour (in the window, the
// zoom and full screen), animations that play, Stop and Play, Stretch and Tile, the preview, and
// files that cannot be shown.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "components/TAnimatedImage.h"
#include "viewers/View_Animated.h"
#include "viewers/zoom/FullScreen.h"
#include "viewers/zoom/ViewerZoom.h"
#include "viewers/zoom/ZoomView.h"

#include <QBuffer>
#include <QDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

using namespace viewertest;

namespace {

const QColor kPngColour(0xE6, 0xE0, 0xF8);
const QColor kWebpColour(0xFF, 0xE4, 0xCC);

// Half-opaque red (alpha 127) over a colour, as the page draws it.
QRgb halfRedOver(const QColor &c)
{
    const auto over = [](int top, int bottom) { return (top * 127 + bottom * 128 + 127) / 255; };
    return qRgb(over(255, c.red()), over(0, c.green()), over(0, c.blue()));
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
           std::abs(qBlue(a) - qBlue(b)) <= 1;
}

class AnimatedPagesTest : public ViewerFixture
{
protected:
    TViewPageAnimated *pageOf(MediaType t) const { return pane->page<TViewPageAnimated>(t); }
    TAnimatedImage *player(MediaType t) const { return pageOf(t)->picture(); }
    QImage shot(MediaType t) const
    {
        return pageOf(t)->scroll()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

} // namespace

TEST_F(AnimatedPagesTest, ALoadRecordsThePicturesFactsOnThePageOfItsType)
{
    struct Case
    {
        const char *file;
        MediaType type;
        const char *page;
        int width, height, frames;
        bool transparent;
    };
    const Case cases[] = {
        {"alpha.png", mtPNG, "PNG", 8, 6, 1, true},
        {"anim.apng", mtPNG, "PNG", 32, 24, 3, false},
        {"alpha-anim.apng", mtPNG, "PNG", 12, 10, 3, true},
        {"alpha.webp", mtWEBP, "WEBP", 8, 6, 1, true},
        {"rose.webp", mtWEBP, "WEBP", 70, 46, 1, false},
        {"alpha-anim.webp", mtWEBP, "WEBP", 12, 10, 3, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        put(QStringLiteral("pictures/") + c.file);
        show(c.file);
        EXPECT_EQ(page(), c.page);
        const ViewedRecord &r = app.st.Viewed[c.type];
        EXPECT_EQ(r.Width, c.width);
        EXPECT_EQ(r.Height, c.height);
        EXPECT_EQ(r.FileName, c.file);
        EXPECT_EQ(r.Path, drivePath(c.file));
        EXPECT_EQ(r.FrameCount, c.frames);
        EXPECT_EQ(r.Animated, c.frames > 1);
        EXPECT_EQ(r.Transparent, c.transparent);
        EXPECT_FALSE(r.Tile);
        // At its natural size from the top-left corner.
        EXPECT_EQ(player(c.type)->size(), QSize(c.width, c.height));
        EXPECT_EQ(player(c.type)->isRunning(), c.frames > 1);
        EXPECT_FALSE(busy());
    }
    EXPECT_TRUE(ui.messages.empty());
    // A PNG named .png that holds frames plays as well.
    put("pictures/anim.apng", "renamed.png");
    show("renamed.png");
    EXPECT_EQ(app.st.Viewed[mtPNG].FrameCount, 3);
    EXPECT_TRUE(player(mtPNG)->isRunning());
}

TEST_F(AnimatedPagesTest, TheToolbarOffersWhatThePagesDo)
{
    put("pictures/alpha.png");
    put("pictures/alpha.webp");
    for (const char *file : {"alpha.png", "alpha.webp"}) {
        SCOPED_TRACE(file);
        show(file);
        using C = ViewerCommand;
        EXPECT_TRUE(pane->button(C::Play)->isEnabled());
        EXPECT_TRUE(pane->button(C::Stop)->isEnabled());
        EXPECT_TRUE(pane->button(C::Preview)->isEnabled());
        EXPECT_FALSE(pane->button(C::Loop)->isEnabled());
        EXPECT_TRUE(pane->button(C::Stretch)->isEnabled());
        EXPECT_TRUE(pane->button(C::Tile)->isEnabled());
        EXPECT_EQ(PlayCaptionOfType(*pane, app.st.OnView.FileType),
                  QString::fromUtf8("&Jouer/Rafraîchir l'image"));
    }
}

TEST_F(AnimatedPagesTest, AlphaShowsThePagesColour)
{
    put("pictures/alpha.png");
    put("pictures/alpha.webp");
    const std::pair<const char *, MediaType> files[] = {{"alpha.png", mtPNG}, {"alpha.webp", mtWEBP}};
    for (const auto &[file, type] : files) {
        SCOPED_TRACE(file);
        show(file);
        const QColor colour = type == mtPNG ? kPngColour : kWebpColour;
        const QImage s = shot(type);
        EXPECT_TRUE(near(s.pixel(1, 1), halfRedOver(colour))) << std::hex << s.pixel(1, 1);
        EXPECT_EQ(s.pixel(6, 4), qRgb(0, 0, 255));
        EXPECT_EQ(s.pixel(30, 30), colour.rgb()) << "beyond the picture: the page";

        // Zoomed, and in full screen (on black there), the picture stands on the page's colour.
        pane->zoom().zoomIn();
        ASSERT_TRUE(pane->zoom().zoomed());
        for (bool full : {false, true}) {
            SCOPED_TRACE(full ? "full screen" : "zoomed");
            if (full) {
                pane->fullScreen().enter();
                ASSERT_TRUE(pane->fullScreen().active());
            }
            ZoomView *view = pane->zoom().view();
            ASSERT_TRUE(waitFor([&] { return view->isVisible() && !view->pictureRect().isEmpty(); }));
            const QImage z = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect r = view->pictureRect();
            EXPECT_TRUE(near(z.pixel(r.left() + 2, r.top() + 2), halfRedOver(colour)))
                << std::hex << z.pixel(r.left() + 2, r.top() + 2);
            EXPECT_EQ(z.pixel(r.right() - 2, r.bottom() - 2), qRgb(0, 0, 255));
        }
        pane->fullScreen().leave();
        pane->zoom().actualSize();
    }
}

TEST_F(AnimatedPagesTest, AnAnimationPlaysStopFreezesItAndPlayStartsItAgain)
{
    put("pictures/anim.apng");
    put("pictures/alpha-anim.webp");
    const std::pair<const char *, MediaType> files[] = {{"anim.apng", mtPNG}, {"alpha-anim.webp", mtWEBP}};
    for (const auto &[file, type] : files) {
        SCOPED_TRACE(file);
        show(file);
        TAnimatedImage *p = player(type);
        ASSERT_TRUE(p->isRunning());
        EXPECT_EQ(p->currentIndex(), 0);
        const QImage first = shot(type);
        ASSERT_TRUE(waitFor([&] { return p->currentIndex() == 1; }, 3000));
        // The page shows the new frame.
        ASSERT_TRUE(waitFor([&] { return shot(type) != first; }, 3000));

        pane->button(ViewerCommand::Stop)->click();
        EXPECT_FALSE(p->isRunning());
        const int frozen = p->currentIndex();
        const QImage still = shot(type);
        waitFor([] { return false; }, 500);
        EXPECT_EQ(p->currentIndex(), frozen);
        EXPECT_EQ(shot(type), still);

        pane->button(ViewerCommand::Play)->click();
        EXPECT_EQ(p->currentIndex(), 0);
        EXPECT_TRUE(p->isRunning());
    }
}

TEST_F(AnimatedPagesTest, StretchAndTileStayFromFileToFile)
{
    put("pictures/alpha.png");
    put("pictures/alpha.webp");
    show("alpha.png");
    QScrollArea *box = pageOf(mtPNG)->scroll();
    pane->button(ViewerCommand::Tile)->click();
    ASSERT_TRUE(pane->button(ViewerCommand::Tile)->isChecked());
    EXPECT_TRUE(app.st.Viewed[mtPNG].Tile);
    ASSERT_TRUE(waitFor([&] { return player(mtPNG)->size() == box->viewport()->size(); }));
    QImage s = shot(mtPNG);
    EXPECT_TRUE(near(s.pixel(8 + 1, 6 + 1), halfRedOver(kPngColour)));
    EXPECT_EQ(s.pixel(16 + 6, 12 + 4), qRgb(0, 0, 255));

    // The next file of the other type is tiled too, and its record says so.
    show("alpha.webp");
    EXPECT_TRUE(player(mtWEBP)->tile());
    EXPECT_TRUE(app.st.Viewed[mtWEBP].Tile);
    pane->button(ViewerCommand::Tile)->click();
    EXPECT_FALSE(app.st.Viewed[mtWEBP].Tile);

    // Stretch: the picture scaled to the box.
    pane->button(ViewerCommand::Stretch)->click();
    QScrollArea *webpBox = pageOf(mtWEBP)->scroll();
    ASSERT_TRUE(waitFor([&] { return player(mtWEBP)->size() == webpBox->viewport()->size(); }));
    s = shot(mtWEBP);
    const QSize view = webpBox->viewport()->size();
    EXPECT_EQ(s.pixel(view.width() - 3, view.height() - 3), qRgb(0, 0, 255));
    EXPECT_TRUE(near(s.pixel(3, view.height() / 2), halfRedOver(kWebpColour)));
    show("alpha.png");
    EXPECT_TRUE(player(mtPNG)->stretch());
    pane->button(ViewerCommand::Stretch)->click();
    ASSERT_TRUE(waitFor([&] { return player(mtPNG)->size() == QSize(8, 6); }));
}

TEST_F(AnimatedPagesTest, ALargePictureScrollsOverItsWholeSize)
{
    QImage big(1200, 900, QImage::Format_ARGB32);
    big.fill(qRgba(0, 128, 0, 255));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(big.save(&buffer, "PNG"));
    }
    putBytes("big.png", bytes);
    show("big.png");
    QScrollArea *box = pageOf(mtPNG)->scroll();
    QScrollBar *h = box->horizontalScrollBar();
    QScrollBar *v = box->verticalScrollBar();
    ASSERT_TRUE(waitFor([&] {
        return h->maximum() == 1200 - box->viewport()->width() &&
               v->maximum() == 900 - box->viewport()->height();
    }));
    h->setValue(h->maximum());
    v->setValue(v->maximum());
    show("big.png");
    EXPECT_EQ(h->value(), 0);
    EXPECT_EQ(v->value(), 0);
}

TEST_F(AnimatedPagesTest, TheApngPreviewPlaysAtThePicturesSizeOnThePagesColour)
{
    put("pictures/anim.apng");
    show("anim.apng");
    QString title;
    QSize size;
    QColor colour;
    bool playing = false;
    int result = -1;
    ui.onModal("frmPreview_PNG", [&](QDialog *d) {
        QTimer::singleShot(0, d, [&, d] {
            title = d->windowTitle();
            size = d->size();
            colour =
                d->findChild<QScrollArea *>("scrollPreview")->viewport()->palette().color(QPalette::Window);
            auto *picture = d->findChild<TAnimatedImage *>("ImagePNG");
            playing = picture && picture->isRunning();
            QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
        });
        result = d->exec();
        return result;
    });
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_EQ(title, "anim.apng (32 x 24)");
    EXPECT_EQ(size, QSize(32, 24));
    EXPECT_EQ(colour, kPngColour);
    EXPECT_TRUE(playing);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(AnimatedPagesTest, AFileThatCannotBeShownGivesTheMessageAndTheProgramGoesOn)
{
    put("pictures/alpha-anim.webp", "good.webp");
    put("pictures/anim.apng", "good.png");
    const auto fixtureBytes = [this](const char *name) {
        QFile f(dataFile(QStringLiteral("pictures/") + name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    };
    struct Bad
    {
        const char *name;
        QByteArray bytes;
        bool exists;
    };
    const Bad bad[] = {
        {"truncated.png", fixtureBytes("damaged-truncated.png"), true},
        {"header.png", fixtureBytes("damaged-header.png"), true},
        {"text.apng", "This is a plain text file, not a picture.\n", true},
        {"truncated.webp", fixtureBytes("damaged-truncated.webp"), true},
        {"header.webp", fixtureBytes("damaged-header.webp"), true},
        {"empty.webp", QByteArray(), true},
        {"a webp named png.png", fixtureBytes("alpha.webp"), true},
        {"vanished.png", QByteArray(), false},
    };
    for (const Bad &b : bad) {
        SCOPED_TRACE(b.name);
        const QString name = QString::fromLatin1(b.name);
        const MediaType type = TypeOfFile(name);
        const QString good = type == mtPNG ? QStringLiteral("good.png") : QStringLiteral("good.webp");
        show(good);
        ASSERT_TRUE(ui.messages.empty());
        ASSERT_TRUE(player(type)->isRunning());
        if (b.exists)
            putBytes(name, b.bytes);
        ui.answerMessage(platform::mbOK);
        show(name);
        ASSERT_EQ(takeMessages(), std::vector<QString>{accessError()});
        EXPECT_EQ(page(), type == mtPNG ? "PNG" : "WEBP");
        EXPECT_TRUE(player(type)->isEmpty());
        EXPECT_FALSE(player(type)->isRunning());
        EXPECT_EQ(shot(type).pixel(2, 2), (type == mtPNG ? kPngColour : kWebpColour).rgb());
        EXPECT_FALSE(busy());
        const ViewedRecord &r = app.st.Viewed[type];
        EXPECT_EQ(r.Width, 0);
        EXPECT_EQ(r.Height, 0);
        EXPECT_EQ(r.Path, drivePath(name));
        EXPECT_EQ(r.FileName, name);
        EXPECT_EQ(r.FrameCount, 0);
        // No zoom, no copy of a picture that is not there.
        EXPECT_FALSE(pageOf(type)->zoomPicture());
    }
    // And the next good file shows.
    show("good.png");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(app.st.Viewed[mtPNG].FrameCount, 3);
}
