// The zoom of the picture pages and full screen, reached through real wheel, mouse and key events on
// the real controls: steps and limits, the point under the cursor kept, pan bounds, metafiles drawn
// again at the zoom, fit keeping the aspect, Stretch taking the zoom away, Keep_Zoom, and full
// screen entered by a double click and left by Escape with the window as it was.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "viewers/View_BMP.h"
#include "viewers/View_ImageEn.h"
#include "viewers/zoom/FullScreen.h"
#include "viewers/zoom/ViewerZoom.h"
#include "viewers/zoom/ZoomSteps.h"
#include "viewers/zoom/ZoomView.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QWheelEvent>
#include <cmath>

using namespace viewertest;

namespace {

// One notch of the wheel over a widget, as X delivers it.
void wheel(QWidget *w, QPoint at, bool up, Qt::KeyboardModifiers mods = Qt::ControlModifier)
{
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, up ? 120 : -120), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// A drag with the left button from a point by an offset, in a few moves.
void drag(QWidget *w, QPoint from, QPoint by)
{
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(w, from + by * i / 4);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, from + by);
}

class ZoomTest : public ViewerFixture
{
protected:
    ViewerZoom &zoom() const { return pane->zoom(); }
    ZoomView *view() const { return zoom().view(); }
    QWidget *viewport() const { return view()->viewport(); }
    // The picture's point (in its own pixels) under a point of the zoom view's viewport.
    QPointF pictureAt(QPoint p) const
    {
        const QRect r = view()->pictureRect();
        return QPointF(p - r.topLeft()) / view()->zoom();
    }
    QString statusZoom() const { return status.panels[4]; }
    TPicture *picBMP() const { return pane->page<TViewPageBMP>(mtBMP)->picBMP; }

    void SetUp() override { app.status = &status; }
    void TearDown() override { app.status = nullptr; }

    FakeStatus status;
};

} // namespace

TEST(ZoomSteps, StepsOfAboutAQuarterFromOneSixteenthTo32AndBack)
{
    std::vector<double> up{zoom::kMinimum};
    while (zoom::stepIn(up.back()) != up.back())
        up.push_back(zoom::stepIn(up.back()));
    EXPECT_DOUBLE_EQ(up.back(), zoom::kMaximum);
    for (size_t i = 1; i < up.size(); ++i) {
        const double ratio = up[i] / up[i - 1];
        EXPECT_GE(ratio, 1.2) << up[i];
        EXPECT_LE(ratio, 1.3) << up[i];
    }
    // 100 %, 200 % and 50 % are steps; Zoom out walks the same steps back.
    for (double z : {1.0, 2.0, 0.5})
        EXPECT_NE(std::find(up.begin(), up.end(), z), up.end()) << z;
    std::vector<double> down{zoom::kMaximum};
    while (zoom::stepOut(down.back()) != down.back())
        down.push_back(zoom::stepOut(down.back()));
    EXPECT_EQ(std::vector<double>(down.rbegin(), down.rend()), up);
    // A fit between two steps goes to the neighbouring ones.
    EXPECT_DOUBLE_EQ(zoom::stepIn(0.9), 1.0);
    EXPECT_DOUBLE_EQ(zoom::stepOut(0.9), 0.8);
    EXPECT_EQ(zoom::percent(zoom::stepIn(1.6)), 200);
    // Fit: the aspect kept, a small picture enlarged only when asked.
    EXPECT_DOUBLE_EQ(zoom::fitting({400, 100}, {200, 200}, true), 0.5);
    EXPECT_DOUBLE_EQ(zoom::fitting({100, 50}, {400, 400}, true), 4.0);
    EXPECT_DOUBLE_EQ(zoom::fitting({100, 50}, {400, 400}, false), 1.0);
    EXPECT_DOUBLE_EQ(zoom::clamped(1000), zoom::kMaximum);
    EXPECT_DOUBLE_EQ(zoom::clamped(std::nan("")), 1.0);
}

TEST_F(ZoomTest, CtrlWheelZoomsAboutThePointUnderTheCursorWithinTheLimits)
{
    // Larger than the pane: a smaller picture stays wholly in view, which may move the point.
    putBytes("big.bmp", bmpBytes({800, 600}));
    show("big.bmp");
    ASSERT_EQ(page(), "BMP");
    EXPECT_EQ(statusZoom(), "Zoom 100 %");
    EXPECT_FALSE(zoom().zoomed());
    // A wheel without Ctrl leaves the page as it is.
    wheel(picBMP(), {100, 80}, true, Qt::NoModifier);
    EXPECT_FALSE(zoom().zoomed());

    // The first notch leaves the page's own display for the zoom view; the point stays put.
    wheel(picBMP(), {100, 80}, true);
    ASSERT_TRUE(zoom().zoomed());
    EXPECT_TRUE(view()->isVisible());
    EXPECT_DOUBLE_EQ(view()->zoom(), 1.25);
    EXPECT_EQ(statusZoom(), "Zoom 125 %");
    const QPoint cursor =
        viewport()->mapFrom(pane->notebook(), picBMP()->mapTo(pane->notebook(), QPoint(100, 80)));
    EXPECT_NEAR(pictureAt(cursor).x(), 100, 1);
    EXPECT_NEAR(pictureAt(cursor).y(), 80, 1);

    // Further notches on the view itself.
    const QPoint at(300, 200);
    const QPointF under = pictureAt(at);
    for (int i = 0; i < 6; ++i) {
        wheel(viewport(), at, true);
        EXPECT_NEAR(pictureAt(at).x(), under.x(), 1) << view()->zoom();
        EXPECT_NEAR(pictureAt(at).y(), under.y(), 1) << view()->zoom();
    }
    EXPECT_EQ(statusZoom(), QStringLiteral("Zoom %1 %").arg(zoom::percent(view()->zoom())));
    for (int i = 0; i < 40; ++i)
        wheel(viewport(), at, true);
    EXPECT_DOUBLE_EQ(view()->zoom(), 32);
    EXPECT_EQ(statusZoom(), "Zoom 3200 %");
    for (int i = 0; i < 60; ++i)
        wheel(viewport(), at, false);
    EXPECT_DOUBLE_EQ(view()->zoom(), 1.0 / 16);
    EXPECT_EQ(statusZoom(), "Zoom 6 %");
    // Zoomed out the picture stays wholly in the view.
    EXPECT_TRUE(viewport()->rect().contains(view()->pictureRect()));

    // Actual size gives the page back its own display.
    zoom().actualSize();
    EXPECT_FALSE(zoom().zoomed());
    EXPECT_FALSE(view()->isVisible());
    EXPECT_EQ(statusZoom(), "Zoom 100 %");
}

TEST_F(ZoomTest, ADragPansALargePictureWithinItsBounds)
{
    putBytes("p.bmp", bmpBytes({400, 300}));
    show("p.bmp");
    for (int i = 0; i < 6; ++i) // 400 %: 1600 x 1200
        zoom().zoomIn();
    ASSERT_DOUBLE_EQ(view()->zoom(), 4);
    const QRect start = view()->pictureRect();
    drag(viewport(), {300, 200}, {-100, -60});
    EXPECT_EQ(view()->pictureRect().topLeft(), start.topLeft() + QPoint(-100, -60));
    EXPECT_EQ(view()->horizontalScrollBar()->value(), -view()->pictureRect().x());
    // Far past the corner: the picture still covers the view.
    drag(viewport(), {300, 200}, {-5000, -5000});
    const QRect r = view()->pictureRect();
    EXPECT_EQ(r.right(), viewport()->width() - 1);
    EXPECT_EQ(r.bottom(), viewport()->height() - 1);
    drag(viewport(), {100, 100}, {5000, 5000});
    EXPECT_EQ(view()->pictureRect().topLeft(), QPoint(0, 0));
    // Smaller than the view, a drag moves nothing.
    zoom().actualSize();
    zoom().zoomOut();
    const QRect small = view()->pictureRect();
    drag(viewport(), {small.center()}, {40, 40});
    EXPECT_EQ(view()->pictureRect(), small);
}

TEST_F(ZoomTest, FitKeepsTheAspectAndFollowsThePane)
{
    putBytes("wide.bmp", bmpBytes({1600, 400}));
    show("wide.bmp");
    zoom().fitToWindow();
    ASSERT_TRUE(zoom().zoomed());
    const QRect r = view()->pictureRect();
    EXPECT_TRUE(viewport()->rect().contains(r));
    EXPECT_EQ(r.width(), viewport()->width());
    EXPECT_NEAR(double(r.width()) / r.height(), 4.0, 0.05);
    host->resize(500, 480);
    ASSERT_TRUE(waitFor([&] { return view()->pictureRect().width() == viewport()->width(); }));
    EXPECT_NEAR(double(view()->pictureRect().width()) / view()->pictureRect().height(), 4.0, 0.05);
    // A step from a fit goes to the step beside it.
    const double fitted = view()->zoom();
    zoom().zoomIn();
    EXPECT_DOUBLE_EQ(view()->zoom(), zoom::stepIn(fitted));
}

TEST_F(ZoomTest, MetafilesAreDrawnAgainAtTheZoomWithSharpEdges)
{
    putBytes("p.wmf", wmfBytes({200, 160}));
    show("p.wmf");
    auto *pageWMF = pane->page<TViewPageImageEn>(mtWMF);
    const QImage own = pageWMF->view()->bitmap();
    ASSERT_FALSE(own.isNull());
    for (int i = 0; i < 6; ++i)
        zoom().zoomIn();
    ASSERT_DOUBLE_EQ(view()->zoom(), 4);
    // The red quarter's right edge, seen along a row through it, once the sharp picture is played.
    drag(viewport(), {10, 10}, {5000, 5000});
    viewport()->repaint();
    ASSERT_TRUE(waitFor([&] { return view()->picture()->settled(); }));
    const QImage shot = viewport()->grab().toImage();
    const QRect r = view()->pictureRect();
    const int row = r.top() + 100;
    ASSERT_LT(row, shot.height());
    int lastRed = -1, firstBackground = -1;
    for (int x = std::max(0, r.left()); x < std::min(shot.width(), r.right()); ++x) {
        const QColor c = shot.pixelColor(x, row);
        if (c.red() > 150 && c.green() < 80)
            lastRed = x;
        else if (lastRed >= 0 && c == pageWMF->zoomBackground() && firstBackground < 0)
            firstBackground = x;
    }
    ASSERT_GT(lastRed, 0);
    ASSERT_GT(firstBackground, lastRed);
    // The outline is a pixel wide or two at any zoom when played again; a bitmap enlarged four
    // times would show it four pixels wide.
    EXPECT_LE(firstBackground - lastRed - 1, 2);
    // ... and the red quarter is four times as wide as on the page's own bitmap.
    int ownRed = 0;
    for (int x = 0; x < own.width(); ++x)
        ownRed += own.pixelColor(x, 25).red() > 150 && own.pixelColor(x, 25).green() < 80;
    EXPECT_NEAR(lastRed - r.left() + 1, ownRed * 4, 6);
}

TEST_F(ZoomTest, StretchOrTileTakesTheZoomAwayAndTheirDisplayStaysAsItWas)
{
    putBytes("p.bmp", bmpBytes({400, 300}));
    show("p.bmp");
    int changes = 0;
    bool last = zoom().available();
    QObject::connect(&zoom(), &ViewerZoom::availabilityChanged, [&](bool on) {
        ++changes;
        last = on;
    });
    ASSERT_TRUE(zoom().available());
    zoom().zoomIn();
    ASSERT_TRUE(zoom().zoomed());
    pane->button(ViewerCommand::Stretch)->click();
    EXPECT_FALSE(zoom().available());
    EXPECT_FALSE(last);
    EXPECT_FALSE(view()->isVisible());
    EXPECT_TRUE(picBMP()->stretch());
    EXPECT_EQ(statusZoom(), "");
    // Ctrl+wheel then scrolls nothing into a zoom.
    wheel(picBMP(), {10, 10}, true);
    EXPECT_FALSE(zoom().zoomed());
    zoom().zoomIn();
    EXPECT_FALSE(zoom().zoomed());
    pane->button(ViewerCommand::Stretch)->click();
    EXPECT_TRUE(zoom().available());
    EXPECT_TRUE(last);
    EXPECT_EQ(changes, 2);
    // The page comes back at actual size, not at the zoom Stretch interrupted.
    EXPECT_FALSE(zoom().zoomed());
    // Sounds are not zoomed.
    putBytes("s.wav", wavBytes(200));
    show("s.wav");
    EXPECT_FALSE(zoom().available());
    EXPECT_EQ(statusZoom(), "");
}

TEST_F(ZoomTest, ANewFileStartsAtActualSizeUnlessKeepZoomIsSet)
{
    putBytes("a.bmp", bmpBytes({400, 300}));
    putBytes("b.jpg", jpegBytes({300, 200}, false));
    show("a.bmp");
    zoom().zoomIn();
    zoom().zoomIn();
    show("b.jpg");
    ASSERT_EQ(page(), "JPG");
    ASSERT_TRUE(waitFor([&] { return zoom().available(); }));
    EXPECT_FALSE(zoom().zoomed());
    EXPECT_EQ(statusZoom(), "Zoom 100 %");

    app.st.settings.Keep_Zoom = true;
    show("a.bmp");
    zoom().zoomIn();
    zoom().zoomIn();
    show("b.jpg");
    // The JPEG is offered the zoom once decoded, at the zoom kept.
    ASSERT_TRUE(waitFor([&] { return zoom().zoomed(); }));
    EXPECT_DOUBLE_EQ(view()->zoom(), 1.6);
    EXPECT_EQ(view()->picture()->size(), QSize(300, 200));
    EXPECT_EQ(statusZoom(), "Zoom 160 %");
    // A fit is kept as a fit.
    zoom().fitToWindow();
    show("a.bmp");
    EXPECT_TRUE(view()->fitting());
    EXPECT_TRUE(viewport()->rect().contains(view()->pictureRect()));
}

TEST_F(ZoomTest, ADoubleClickGoesFullScreenTheKeysMoveAndEscapeComesBack)
{
    for (const char *name : {"a.bmp", "b.bmp", "c.bmp"})
        putBytes(name, bmpBytes({240, 160}));
    list.rows = {{"a.bmp", true}, {"b.bmp", true}, {"c.bmp", true}};
    show("a.bmp");
    // The viewer's page had the keyboard before.
    pane->page(mtBMP)->findChild<QScrollArea *>()->setFocus();
    QWidget *focusBefore = QApplication::focusWidget();
    const QSize paneSize = pane->notebook()->size();

    QTest::mouseDClick(picBMP(), Qt::LeftButton, Qt::NoModifier, {20, 20});
    FullScreen &full = pane->fullScreen();
    ASSERT_TRUE(full.active());
    QWidget *window = full.window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->objectName(), "frmFullScreen");
    EXPECT_TRUE(window->isFullScreen());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_TRUE(window->isAncestorOf(pane->notebook()));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::black));
    // The picture fitted without being enlarged: 240 x 160 at 100 %, centred.
    ASSERT_TRUE(zoom().zoomed());
    EXPECT_DOUBLE_EQ(view()->zoom(), 1);
    EXPECT_EQ(view()->pictureRect().center(), viewport()->rect().center());

    QTest::keyClick(window, Qt::Key_PageDown);
    ASSERT_FALSE(list.selections.empty());
    EXPECT_EQ(list.selections.back(), 1);
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_EQ(list.selections.back(), 2);
    QTest::keyClick(window, Qt::Key_Home);
    EXPECT_EQ(list.selections.back(), 0);
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(list.selections.back(), 2);
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_EQ(list.selections.back(), 1);
    // The zoom keys zoom there.
    QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view()->zoom(), 1.25);

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(full.active());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(pane->isAncestorOf(pane->notebook()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    EXPECT_EQ(pane->notebook()->size(), paneSize);
    EXPECT_EQ(QApplication::focusWidget(), focusBefore);
    // The window's zoom: actual size, as before full screen.
    EXPECT_FALSE(zoom().zoomed());

    // F11 toggles it as well.
    full.enter();
    ASSERT_TRUE(full.active());
    ASSERT_TRUE(QTest::qWaitForWindowActive(full.window()));
    QTest::keyClick(full.window(), Qt::Key_F11);
    EXPECT_FALSE(full.active());
}

TEST_F(ZoomTest, TheMousePointerHidesInFullScreenAfterTwoSecondsStill)
{
    putBytes("a.bmp", bmpBytes({240, 160}));
    show("a.bmp");
    FullScreen &full = pane->fullScreen();
    EXPECT_EQ(full.pointerTimeLeft(), -1);
    full.enter();
    EXPECT_FALSE(full.pointerHidden());
    EXPECT_GT(full.pointerTimeLeft(), FullScreen::kPointerDelayMs - 500);
    EXPECT_LE(full.pointerTimeLeft(), FullScreen::kPointerDelayMs + 100);
    ASSERT_TRUE(waitFor([&] { return full.pointerHidden(); }, 3 * FullScreen::kPointerDelayMs));
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BlankCursor);
    // A move shows it again and counts the two seconds anew.
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 60), viewport()->mapToGlobal(QPointF(60, 60)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport(), &move);
    EXPECT_FALSE(full.pointerHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_GT(full.pointerTimeLeft(), FullScreen::kPointerDelayMs - 500);
    full.leave();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(full.pointerTimeLeft(), -1);
}

TEST_F(ZoomTest, AtActualSizeADragPansThePagesOwnScrollBox)
{
    putBytes("big.bmp", bmpBytes({1200, 900}));
    show("big.bmp");
    auto *box = pane->page<TViewPageBMP>(mtBMP)->scrollBMP;
    ASSERT_TRUE(waitFor([&] { return box->horizontalScrollBar()->maximum() > 0; }));
    // The box pans (a drag on the picture reaches it there; sent to the box itself, which does not
    // move, the test's positions stay where a mouse would be).
    drag(box->viewport(), {300, 200}, {-120, -80});
    EXPECT_EQ(box->horizontalScrollBar()->value(), 120);
    EXPECT_EQ(box->verticalScrollBar()->value(), 80);
    drag(box->viewport(), {400, 300}, {5000, 5000});
    EXPECT_EQ(box->horizontalScrollBar()->value(), 0);
    EXPECT_FALSE(zoom().zoomed());
    // A drag that starts on the picture pans the box too.
    drag(picBMP(), {300, 200}, {-60, -40});
    EXPECT_GT(box->horizontalScrollBar()->value(), 0);
    EXPECT_GT(box->verticalScrollBar()->value(), 0);
    // The metafile and other image views pan the same way.
    putBytes("big.pcx", pcxBytes({1200, 900}));
    show("big.pcx");
    TImageEn *pcx = pane->page<TViewPageImageEn>(mtPCX)->view();
    ASSERT_TRUE(waitFor([&] { return pcx->horizontalScrollBar()->maximum() > 0; }));
    drag(pcx->viewport(), {300, 200}, {-50, -40});
    EXPECT_EQ(pcx->horizontalScrollBar()->value(), 50);
    EXPECT_EQ(pcx->verticalScrollBar()->value(), 40);
}
