#include "viewers/previews/Previews.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "platform/Ui.h"
#include "viewers/View_AVI.h"
#include "viewers/View_BMP.h"
#include "viewers/View_GIF.h"
#include "viewers/View_ImageEn.h"
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

QColor colourOf(const QScrollArea *scroll)
{
    return scroll->palette().color(QPalette::Window);
}

void refused(App &app, pagekit::BusyCursor &busy, bool beep)
{
    busy.release();
    ShowFileAccessError(app);
    if (beep)
        app.ui().beep(platform::BeepKind::Plain);
}

// The still-image family: a window over an image view, from a page's record.
void previewImage(ViewerPane &pane, const char *name, const char *viewName, bool eightBit,
                  const ViewedPictureRecord &record, const QScrollArea *pageScroll)
{
    App &app = pane.app;
    pagekit::BusyCursor busy;
    TfrmPreview_Image window(app.mainWindow, name, viewName, eightBit);
    window.view->setBackground(colourOf(pageScroll));
    if (!window.view->loadFromFile(pagekit::nativePath(app, record.Path)).ok()) {
        refused(app, busy, true);
        return;
    }
    window.placeAtTopLeft();
    window.setWindowTitle(sizedCaption(record.FileName, record.Width, record.Height));
    window.setClientSize(record.Width, record.Height);
    window.setColour(colourOf(pageScroll));
    QObject::connect(&window, &TPreviewWindow::activated, &window, [&busy] { busy.release(); });
    app.ui().execModal(&window);
}

} // namespace

void PreviewBMP(ViewerPane &pane)
{
    App &app = pane.app;
    const ViewedPictureRecord &r = app.st.ViewedBMP;
    pagekit::BusyCursor busy;
    TfrmPreview_BMP window(app.mainWindow);
    if (!window.ImageBMP->loadFromFile(pagekit::nativePath(app, r.Path)).ok()) {
        refused(app, busy, true);
        return;
    }
    window.placeAtTopLeft();
    window.setWindowTitle(sizedCaption(r.FileName, r.Width, r.Height));
    window.setClientSize(r.Width, r.Height);
    window.setColour(colourOf(pane.pageBMP->scrollBMP));
    QObject::connect(&window, &TPreviewWindow::activated, &window, [&busy] { busy.release(); });
    app.ui().execModal(&window);
}

void PreviewGIF(ViewerPane &pane)
{
    App &app = pane.app;
    const ViewedGIFRecord &r = app.st.ViewedGIF;
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
    window.setColour(colourOf(pane.pageGIF->ScrollGIF));
    QObject::connect(&window, &TPreviewWindow::activated, &window, [&window, &busy] {
        window.ImageGIF->setAnimate(true);
        busy.release();
    });
    app.ui().execModal(&window);
}

void PreviewJPG(ViewerPane &pane)
{
    App &app = pane.app;
    const ViewedJPGRecord &r = app.st.ViewedJPG;
    pagekit::BusyCursor busy;
    TfrmPreview_JPG window(app.mainWindow);
    window.setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    window.setColour(colourOf(pane.pageJPG->scrollJPG));
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
        window.setClientSize(r.Width, r.Height);
        if (!picture->isEmpty() && !picture->decodeNow().ok())
            picture->clear();
    });
    app.ui().execModal(&window);
}

void PreviewPCX(ViewerPane &pane)
{
    previewImage(pane, "frmPreview_PCX", "PicPcx", true, pane.app.st.ViewedPCX, pane.pagePCX->ScrollPCX);
}

void PreviewTIF(ViewerPane &pane)
{
    previewImage(pane, "frmPreview_TIF", "PicTIF", false, pane.app.st.ViewedTIF, pane.pageTIF->ScrollTIF);
}

void PreviewWMF(ViewerPane &pane)
{
    previewImage(pane, "frmPreview_WMF", "PicWMF", true, pane.app.st.ViewedWMF, pane.pageWMF->ScrollWMF);
}

void PreviewEMF(ViewerPane &pane)
{
    previewImage(pane, "frmPreview_EMF", "PicEMF", false, pane.app.st.ViewedEMF, pane.pageEMF->ScrollEMF);
}

void PreviewAVI(ViewerPane &pane)
{
    App &app = pane.app;
    const ViewedAVIRecord &r = app.st.ViewedAVI;
    const QString native = pagekit::nativePath(app, r.Path);
    if (r.InWindow) {
        TfrmPreview_AVI_WINDOWS &window = *pane.frmPreview_AVI_WINDOWS;
        pane.pageAVI_WIN->AVIControlWIN->setAVIState(avClosed);
        TAVIControl *control = window.AVIControlWINPreView;
        if (!control->Open(native))
            return;
        // The preview repeats while Loop is down, as the page does.
        control->setAutoRepeat(pane.btnLoop->isChecked());
        control->setAVIState(avPlay);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        window.setWindowTitle(r.FileName);
        window.resize(control->sizeHint());
        app.ui().execModal(&window);
        control->setAVIState(avClosed);
        window.FormDeactivate();
        if (app.lists)
            app.lists->refreshSelectedItem();
        return;
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    TMediaPlayer *preview = pane.frmPreview_AVI_VIDEO->MediaPlayerPreviewAVI;
    TMediaPlayer *page = pane.pageAVI_VIDEO->MediaPlayerAVI;
    if (preview->DeviceID() != 0)
        preview->Close();
    if (page->DeviceID() != 0)
        page->Close();
    preview->setFileName(native);
    platform::Status status = preview->Open();
    if (status.ok())
        status = preview->Play();
    if (!status.ok()) {
        preview->Close();
        ShowFileAccessError(app);
    }
}

void ShowPreview(ViewerPane &pane, MediaType type)
{
    switch (type) {
    case mtAVI:
        PreviewAVI(pane);
        return;
    case mtBMP:
        PreviewBMP(pane);
        return;
    case mtJPG:
        PreviewJPG(pane);
        return;
    case mtGIF:
        PreviewGIF(pane);
        return;
    case mtPCX:
        PreviewPCX(pane);
        return;
    case mtTIF:
        PreviewTIF(pane);
        return;
    case mtWMF:
        PreviewWMF(pane);
        return;
    case mtEMF:
        PreviewEMF(pane);
        return;
    default:
        return;
    }
}
