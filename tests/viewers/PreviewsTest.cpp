// The preview windows: caption, client size and place from the page's record, the GIF window's own
// size, the JPEG window decoding at the page's scale with its progress in the caption, previews of
// files gone since, Escape, and the two AVI previews.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "viewers/View_AVI.h"
#include "viewers/previews/Pw_AVI_V.h"
#include "viewers/previews/Pw_AVI_W.h"

#include <QDialog>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

using namespace viewertest;

namespace {

// What a preview window looked like once shown.
struct Seen
{
    QString title;
    QSize size;
    QPoint pos;
    QColor colour;
    bool busy = true;
    int result = -1;
};

class PreviewsTest : public ViewerFixture
{
protected:
    static QPoint screenTopLeft() { return QGuiApplication::primaryScreen()->availableGeometry().topLeft(); }

    // Runs the preview window `name` for real: `beforeShow` runs on it before it is shown,
    // `whileShown` once it is shown (and may wait); then it is closed, by Escape when `escape` is
    // set, else (or when Escape did not close it) with the result 7.
    void runWindow(const QString &name, Seen &seen, std::function<void(QDialog *)> whileShown = {},
                   bool escape = false, std::function<void(QDialog *)> beforeShow = {})
    {
        ui.onModal(name, [&seen, whileShown, escape, beforeShow](QDialog *d) {
            if (beforeShow)
                beforeShow(d);
            QTimer::singleShot(0, d, [&seen, whileShown, escape, d] {
                if (whileShown)
                    whileShown(d);
                seen.title = d->windowTitle();
                seen.size = d->size();
                seen.pos = d->pos();
                seen.colour = d->findChild<QScrollArea *>("scrollPreview")
                                  ->viewport()
                                  ->palette()
                                  .color(QPalette::Window);
                seen.busy = busy();
                if (escape) {
                    QWidget *target = d->focusWidget() ? d->focusWidget() : d;
                    QTest::keyClick(target, Qt::Key_Escape);
                }
                QTimer::singleShot(0, d, [d] {
                    if (d->isVisible())
                        d->done(7);
                });
            });
            seen.result = d->exec();
            return seen.result;
        });
    }
};

struct ImageCase
{
    const char *file;
    const char *window;
    const char *viewName; // the picture control of the window
    QColor colour;        // the page's
};

const ImageCase kImageCases[] = {
    {"rose.bmp", "frmPreview_BMP", "ImageBMP", QColor(0xD1, 0xEB, 0xFE)},
    {"rose.pcx", "frmPreview_PCX", "PicPcx", QColor(0x80, 0xFF, 0x80)},
    {"rose.tif", "frmPreview_TIF", "PicTIF", QColor(0x80, 0x80, 0xC0)},
    {"shapes.wmf", "frmPreview_WMF", "PicWMF", QColor(0x80, 0xFF, 0xFF)},
    {"shapes.emf", "frmPreview_EMF", "PicEMF", QColor(0x40, 0x80, 0x80)},
};

} // namespace

TEST_F(PreviewsTest, APicturePreviewShowsTheRecordsNameAndSizeAtTheTopLeft)
{
    put("pictures/rose.bmp");
    put("pictures/rose.pcx");
    put("pictures/rose.tif");
    putBytes("shapes.wmf", wmfBytes({192, 96}));
    putBytes("shapes.emf", emfBytes({192, 96}));
    for (const ImageCase &c : kImageCases) {
        SCOPED_TRACE(c.file);
        show(c.file);
        Seen seen;
        QSize pictureSize;
        runWindow(c.window, seen, [&](QDialog *d) {
            if (auto *picture = d->findChild<TPicture *>(c.viewName))
                pictureSize = QSize(picture->pictureWidth(), picture->pictureHeight());
            else if (auto *view = d->findChild<TImageEn *>(c.viewName))
                pictureSize = QSize(view->bitmapWidth(), view->bitmapHeight());
        });
        pane->button(ViewerCommand::Preview)->click();
        const QSize size = c.file == QLatin1String("shapes.wmf") || c.file == QLatin1String("shapes.emf")
                               ? QSize(191, 95)
                               : QSize(70, 46);
        EXPECT_EQ(seen.title,
                  QStringLiteral("%1 (%2 x %3)").arg(c.file).arg(size.width()).arg(size.height()));
        EXPECT_EQ(seen.size, size);
        EXPECT_EQ(pictureSize, size);
        EXPECT_EQ(seen.pos, screenTopLeft());
        EXPECT_EQ(seen.colour, c.colour);
        EXPECT_FALSE(seen.busy) << "the busy cursor goes when the window shows";
        EXPECT_EQ(seen.result, 7);
    }
    EXPECT_EQ(ui.modalWindows.size(), std::size(kImageCases));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(plainBeeps(), 0);
}

TEST_F(PreviewsTest, APictureLargerThanTheScreenKeepsItsWholeSize)
{
    putBytes("big.bmp", bmpBytes({2000, 1500}));
    show("big.bmp");
    ASSERT_LT(QGuiApplication::primaryScreen()->availableGeometry().width(), 2000);
    Seen seen;
    int hMax = -1, vMax = -1;
    runWindow("frmPreview_BMP", seen, [&](QDialog *d) {
        auto *scroll = d->findChild<QScrollArea *>("scrollPreview");
        hMax = scroll->horizontalScrollBar()->maximum();
        vMax = scroll->verticalScrollBar()->maximum();
    });
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_EQ(seen.title, "big.bmp (2000 x 1500)");
    EXPECT_EQ(seen.size, QSize(2000, 1500));
    EXPECT_EQ(seen.pos, screenTopLeft());
    EXPECT_EQ(hMax, 0) << "the whole picture shows: nothing to scroll";
    EXPECT_EQ(vMax, 0);
}

TEST_F(PreviewsTest, TheGifPreviewKeepsItsOwnSizeAndPlays)
{
    put("pictures/anim.gif");
    show("anim.gif");
    Seen seen;
    bool animating = false;
    runWindow("frmPreview_GIF", seen, [&](QDialog *d) {
        auto *gif = d->findChild<TGIFImage *>("ImageGIF");
        animating = gif->animate() && gif->isRunning();
    });
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_EQ(seen.title, "anim.gif");
    EXPECT_EQ(seen.size, QSize(544, 375));
    EXPECT_EQ(seen.pos, screenTopLeft());
    EXPECT_EQ(seen.colour, QColor(Qt::white));
    EXPECT_TRUE(animating);
    EXPECT_FALSE(seen.busy);
}

TEST_F(PreviewsTest, AGifThatFailedOnThePageLeavesThePreviewOnThePreviousOne)
{
    put("pictures/rose.gif");
    putBytes("broken.gif", "GIF89a but nothing more");
    show("rose.gif");
    ui.answerMessage(platform::mbOK);
    show("broken.gif");
    ASSERT_EQ(takeMessages().size(), 1u);
    Seen seen;
    runWindow("frmPreview_GIF", seen);
    PreviewCurrentFile(*pane);
    EXPECT_EQ(seen.title, "rose.gif");
}

TEST_F(PreviewsTest, TheJpegPreviewDecodesAtThePagesScaleWithItsProgressInTheCaption)
{
    put("pictures/rose.jpg");
    app.st.settings.JPEG_Scale = 2;
    show("rose.jpg");
    Seen seen;
    QSize decoded;
    runWindow("frmPreview_JPG", seen, [&](QDialog *d) {
        auto *picture = d->findChild<TPicture *>("picPreviewJPG");
        EXPECT_TRUE(waitFor([&] { return !picture->isEmpty() && picture->isDecoded(); }));
        decoded = picture->image().size();
    });
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_EQ(seen.title, "rose.jpg (18 x 12)");
    EXPECT_EQ(seen.size, QSize(18, 12));
    EXPECT_EQ(decoded, QSize(18, 12));
    EXPECT_FALSE(seen.busy);

    // A long decode reports in the caption, which comes back at the end.
    app.st.settings.JPEG_Scale = 0;
    putBytes("big.jpg", jpegBytes({1600, 1200}, true));
    show("big.jpg");
    QStringList captions;
    runWindow(
        "frmPreview_JPG", seen,
        [&](QDialog *d) {
            auto *picture = d->findChild<TPicture *>("picPreviewJPG");
            EXPECT_TRUE(waitFor([&] { return !picture->isEmpty() && picture->isDecoded(); }));
        },
        false,
        [&](QDialog *d) {
            auto *picture = d->findChild<TPicture *>("picPreviewJPG");
            // Every time check of the decode half a second and more after the last one.
            QObject::connect(picture, &TPicture::pictureChanged, d, [picture] {
                if (picture->jpeg())
                    picture->jpeg()->setClock([t = qint64(0)]() mutable { return t += 600; });
            });
            QObject::connect(picture, &TPicture::progress, d, [&captions, d](TJPEGImage::Stage stage, int) {
                if (stage == TJPEGImage::Stage::Running)
                    captions << d->windowTitle();
            });
        });
    pane->button(ViewerCommand::Preview)->click();
    ASSERT_FALSE(captions.isEmpty());
    static const QRegularExpression kCaption(QStringLiteral("^Chargement:\\d+% \\.\\.\\.$"));
    for (const QString &caption : captions)
        EXPECT_TRUE(kCaption.match(caption).hasMatch()) << caption.toStdString();
    EXPECT_EQ(seen.title, "big.jpg (1600 x 1200)");
    EXPECT_EQ(seen.size, QSize(1600, 1200));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PreviewsTest, AJpegWhoseDataIsDamagedPreviewsEmptyWithoutAMessage)
{
    put("pictures/damaged-truncated.jpg");
    ui.answerMessage(platform::mbOK); // the page's own report of the damage
    show("damaged-truncated.jpg");
    ASSERT_TRUE(waitFor([&] { return !ui.messages.empty(); }));
    takeMessages();
    Seen seen;
    bool empty = false;
    runWindow("frmPreview_JPG", seen, [&](QDialog *d) {
        auto *picture = d->findChild<TPicture *>("picPreviewJPG");
        // The timer's load and decode run before this: shown, then left empty.
        EXPECT_TRUE(waitFor([&] { return !d->findChild<QTimer *>("timPreviewJPG")->isActive(); }));
        empty = picture->isEmpty();
    });
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_TRUE(empty);
    EXPECT_FALSE(seen.busy);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(plainBeeps(), 0);
}

TEST_F(PreviewsTest, AFileGoneSinceItWasShownGivesTheMessageAndNoWindow)
{
    put("pictures/rose.bmp");
    put("pictures/rose.pcx");
    put("pictures/rose.tif");
    putBytes("shapes.wmf", wmfBytes({192, 96}));
    putBytes("shapes.emf", emfBytes({192, 96}));
    put("pictures/rose.gif");
    int beeps = 0;
    for (const char *file : {"rose.bmp", "rose.pcx", "rose.tif", "shapes.wmf", "shapes.emf", "rose.gif"}) {
        SCOPED_TRACE(file);
        show(file);
        ASSERT_TRUE(QFile::remove(nativeOf(file)));
        ui.answerMessage(platform::mbOK);
        pane->button(ViewerCommand::Preview)->click();
        EXPECT_EQ(takeMessages(), std::vector<QString>{accessError()});
        // A beep after the message, except for a GIF.
        if (QByteArray(file) != "rose.gif")
            ++beeps;
        EXPECT_EQ(plainBeeps(), beeps);
        EXPECT_FALSE(busy());
    }
    EXPECT_TRUE(ui.modalWindows.empty());
}

TEST_F(PreviewsTest, EscapeClosesEveryPicturePreview)
{
    put("pictures/rose.bmp");
    put("pictures/rose.pcx");
    put("pictures/rose.tif");
    putBytes("shapes.wmf", wmfBytes({192, 96}));
    putBytes("shapes.emf", emfBytes({192, 96}));
    put("pictures/rose.gif");
    put("pictures/rose.jpg");
    const std::pair<const char *, const char *> previews[] = {
        {"rose.bmp", "frmPreview_BMP"},   {"rose.pcx", "frmPreview_PCX"},   {"rose.tif", "frmPreview_TIF"},
        {"shapes.wmf", "frmPreview_WMF"}, {"shapes.emf", "frmPreview_EMF"}, {"rose.gif", "frmPreview_GIF"},
        {"rose.jpg", "frmPreview_JPG"},
    };
    for (const auto &[file, window] : previews) {
        SCOPED_TRACE(file);
        show(file);
        Seen seen;
        runWindow(window, seen, {}, true);
        pane->button(ViewerCommand::Preview)->click();
        EXPECT_EQ(seen.result, QDialog::Rejected);
    }
}

TEST_F(PreviewsTest, AClipOfTheAnimationControlPreviewsInItsWindowAndComesBackAfter)
{
    put("media/raw8_silent.avi");
    show("raw8_silent.avi");
    TAVIControl *pageControl = pane->page<TViewPageAVI_WIN>(mtAVI)->AVIControlWIN;
    Seen seen;
    TAVIState pageState = avPlay, previewState = avClosed;
    QSize controlSize;
    ui.onModal("frmPreview_AVI_WINDOWS", [&](QDialog *d) {
        QTimer::singleShot(0, d, [&, d] {
            auto *control = d->findChild<TAVIControl *>("AVIControlWINPreView");
            pageState = pageControl->AVIState();
            previewState = control->AVIState();
            controlSize = control->size();
            seen.title = d->windowTitle();
            seen.size = d->size();
            QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
            QTimer::singleShot(0, d, [d] {
                if (d->isVisible())
                    d->done(7);
            });
        });
        seen.result = d->exec();
        return seen.result;
    });
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_EQ(seen.title, "raw8_silent.avi");
    EXPECT_EQ(seen.result, 7) << "Escape does not close it";
    EXPECT_EQ(pageState, avClosed) << "the page's clip stops for the preview";
    EXPECT_EQ(previewState, avPlay);
    EXPECT_EQ(seen.size, controlSize);
    EXPECT_FALSE(controlSize.isEmpty());
    EXPECT_EQ(list.refreshes, 1) << "the list shows the clip on its page again";
    EXPECT_FALSE(
        pane->page<TViewPageAVI_WIN>(mtAVI)->frmPreview_AVI_WINDOWS->AVIControlWINPreView->AutoRepeat());
}

TEST_F(PreviewsTest, AVideoPreviewPlaysInTheDevicesOwnWindowAndClosesThePages)
{
    put("media/mpeg4_sound.avi");
    show("mpeg4_sound.avi");
    TMediaPlayer *page = pane->page<TViewPageAVI_WIN>(mtAVI)->pageAVI_VIDEO->MediaPlayerAVI;
    TMediaPlayer *preview = pane->page<TViewPageAVI_WIN>(mtAVI)->frmPreview_AVI_VIDEO->MediaPlayerPreviewAVI;
    ASSERT_NE(page->DeviceID(), 0u);
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_TRUE(ui.modalWindows.empty()) << "not modal";
    EXPECT_EQ(page->DeviceID(), 0u);
    EXPECT_NE(preview->DeviceID(), 0u);
    EXPECT_TRUE(preview->device().isPlaying());
    // A new load closes the preview's video too.
    show("mpeg4_sound.avi");
    EXPECT_EQ(preview->DeviceID(), 0u);
    EXPECT_NE(page->DeviceID(), 0u);
    // Gone from the disk since: the message.
    ASSERT_TRUE(QFile::remove(nativeOf("mpeg4_sound.avi")));
    ui.answerMessage(platform::mbOK);
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{accessError()});
    EXPECT_EQ(preview->DeviceID(), 0u);
    EXPECT_EQ(page->DeviceID(), 0u);
}
