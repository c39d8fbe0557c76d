#include "viewers/previews/Previews.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/TAnimatedImage.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "platform/Ui.h"
#include "viewers/View_AVI.h"
#include "viewers/View_JPG.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/previews/Pw_AVI_V.h"
#include "viewers/previews/Pw_AVI_W.h"
#include "viewers/previews/Pw_Pictures.h"

#include <QCoreApplication>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>

namespace {

QString sizedCaption(const QString &name, int width, int height)
{
    return QStringLiteral("%1 (%2 x %3)").arg(name).arg(width).arg(height);
}

void refused(App &app, pagekit::BusyCursor &busy, bool beep)
{
    busy.release();
    ShowFileAccessError(app);
    if (beep)
        app.ui().beep(platform::BeepKind::Plain);
}

} // namespace

void PreviewImage(App &app, const ViewedRecord &record, const PreviewLook &look)
{
    pagekit::BusyCursor busy;
    TfrmPreview_Image window(app.mainWindow, look.form, look.view, look.eightBit);
    window.view->setBackground(look.colour);
    if (!window.view->loadFromFile(pagekit::nativePath(app, record.Path)).ok()) {
        refused(app, busy, true);
        return;
    }
    window.placeAtTopLeft();
    window.setWindowTitle(sizedCaption(record.FileName, record.Width, record.Height));
    window.setClientSize(record.Width, record.Height);
    window.setColour(look.colour);
    QObject::connect(&window, &TPreviewWindow::activated, &window, [&busy] { busy.release(); });
    app.ui().execModal(&window);
}

void PreviewBMP(App &app, const ViewedRecord &r, const QColor &colour)
{
    pagekit::BusyCursor busy;
    TfrmPreview_BMP window(app.mainWindow);
    if (!window.ImageBMP->loadFromFile(pagekit::nativePath(app, r.Path)).ok()) {
        refused(app, busy, true);
        return;
    }
    window.placeAtTopLeft();
    window.setWindowTitle(sizedCaption(r.FileName, r.Width, r.Height));
    window.setClientSize(r.Width, r.Height);
    window.setColour(colour);
    QObject::connect(&window, &TPreviewWindow::activated, &window, [&busy] { busy.release(); });
    app.ui().execModal(&window);
}

void PreviewGIF(App &app, const ViewedRecord &r, const QColor &colour)
{
    TfrmPreview_GIF window(app.mainWindow);
    pagekit::BusyCursor busy;
    if (!window.ImageGIF->loadFromFile(pagekit::nativePath(app, r.Path)).ok()) {
        window.ImageGIF->setVisible(false);
        window.ImageGIF->setAnimate(false);
        refused(app, busy, false);
        return;
    }
    window.placeAtTopLeft();
    window.setWindowTitle(r.FileName);
    // The window keeps its own size; it scrolls over a larger picture.
    window.ImageGIF->setMinimumSize(r.Width, r.Height);
    window.setColour(colour);
    QObject::connect(&window, &TPreviewWindow::activated, &window, [&window, &busy] {
        window.ImageGIF->setAnimate(true);
        busy.release();
    });
    app.ui().execModal(&window);
}

void PreviewAnimated(App &app, const ViewedRecord &r, const AnimatedLook &look)
{
    pagekit::BusyCursor busy;
    TfrmPreview_Animated window(app.mainWindow, look.form, look.picture);
    window.picture->setFormat(look.format);
    if (!window.picture->loadFromFile(pagekit::nativePath(app, r.Path)).ok()) {
        refused(app, busy, true);
        return;
    }
    window.placeAtTopLeft();
    window.setWindowTitle(sizedCaption(r.FileName, r.Width, r.Height));
    window.setClientSize(r.Width, r.Height);
    window.setColour(look.colour);
    QObject::connect(&window, &TPreviewWindow::activated, &window, [&window, &busy] {
        window.picture->setAnimate(true);
        busy.release();
    });
    app.ui().execModal(&window);
}

void PreviewJPG(App &app, const ViewedRecord &r, const QColor &colour)
{
    pagekit::BusyCursor busy;
    TfrmPreview_JPG window(app.mainWindow);
    window.setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    window.setColour(colour);
    window.setClientSize(r.Width, r.Height);
    window.setWindowTitle(sizedCaption(r.FileName, r.Width, r.Height));
    window.picPreviewJPG->clear();
    // Read once the window shows at its final size; a file that cannot be read, or whose data is
    // damaged, leaves it empty.
    QObject::connect(window.timPreviewJPG, &QTimer::timeout, &window, [&] {
        window.timPreviewJPG->stop();
        TPicture *picture = window.picPreviewJPG;
        if (!picture->loadFromFile(pagekit::nativePath(app, r.Path)).ok())
            picture->clear();
        busy.release();
        ApplyJpegOptions(app, picture);
        // A camera's portrait photo turned upright: the window turns with it.
        const QSize shown = picture->isEmpty() ? QSize(r.Width, r.Height) : picture->shownSize();
        window.setClientSize(shown.width(), shown.height());
        if (!picture->isEmpty() && !picture->decodeNow().ok())
            picture->clear();
    });
    app.ui().execModal(&window);
}

void PreviewAVI(TViewPageAVI_WIN &page)
{
    App &app = page.pane().app;
    const ViewedRecord &r = app.st.Viewed[mtAVI];
    const QString native = pagekit::nativePath(app, r.Path);
    if (r.InWindow) {
        TfrmPreview_AVI_WINDOWS &window = *page.frmPreview_AVI_WINDOWS;
        page.AVIControlWIN->setAVIState(avClosed);
        TAVIControl *control = window.AVIControlWINPreView;
        if (!control->Open(native))
            return;
        // The preview repeats while Loop is down, as the page does.
        control->setAutoRepeat(page.pane().loopPressed());
        control->setAVIState(avPlay);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        window.setWindowTitle(r.FileName);
        window.resize(control->sizeHint());
        app.ui().execModal(&window);
        control->setAVIState(avClosed);
        window.FormDeactivate();
        if (app.selectionList)
            app.selectionList->refreshSelectedItem();
        return;
    }
    PreviewVideo(app, r, page.frmPreview_AVI_VIDEO->MediaPlayerPreviewAVI,
                 page.pageAVI_VIDEO->MediaPlayerAVI);
}

void PreviewVideo(App &app, const ViewedRecord &r, TMediaPlayer *preview, TMediaPlayer *onPage)
{
    const QString native = pagekit::nativePath(app, r.Path);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (preview->DeviceID() != 0)
        preview->Close();
    if (onPage->DeviceID() != 0)
        onPage->Close();
    preview->setFileName(native);
    platform::Status status = preview->Open();
    if (status.ok())
        status = preview->Play();
    if (!status.ok()) {
        preview->Close();
        ShowFileAccessError(app);
    }
}
