#include "viewers/View_AVI.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "viewers/Backgrnd.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/pages/VideoPlay.h"
#include "viewers/previews/Previews.h"
#include "viewers/previews/Pw_AVI_V.h"
#include "viewers/previews/Pw_AVI_W.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

TViewPageAVI_WIN::TViewPageAVI_WIN(ViewerPane &pane, QStackedWidget *book)
    : ViewerPage(pane, book, "AVI_WIN", mtAVI)
{
    picBackGroundAVI_WIN = pagekit::backgroundPicture(this, "picBackGroundAVI_WIN");
    AVIControlWIN = new TAVIControl(this);
    AVIControlWIN->setObjectName("AVIControlWIN");
    timRepeatAVI = new QTimer(this);
    timRepeatAVI->setObjectName("timRepeatAVI");
    timRepeatAVI->setInterval(1);
    timRepeatAVI->setSingleShot(true);
    pageAVI_VIDEO = new TViewPageAVI_VIDEO(book);
    m_video =
        new VideoPlay(pane, pageAVI_VIDEO->MediaPlayerAVI, pageAVI_VIDEO->ListViewAVIPlayer, timRepeatAVI);
    connect(m_video, &VideoPlay::ended, this, &ViewerPage::playEnded);
    frmPreview_AVI_VIDEO = new TfrmPreview_AVI_VIDEO(this);
    frmPreview_AVI_WINDOWS = new TfrmPreview_AVI_WINDOWS(this);
    // The video plays on the second page: a right click there offers the viewer popup too.
    m_pane.offerPopup(pageAVI_VIDEO);
}

TViewPageAVI_VIDEO::TViewPageAVI_VIDEO(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "AVI_VIDEO");
    ListViewAVIPlayer = new QListWidget(this);
    ListViewAVIPlayer->setObjectName("ListViewAVIPlayer");
    ListViewAVIPlayer->setAccessibleName(SelectText("Vidéo", "Video")); // the clip plays in it
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(ListViewAVIPlayer);
    MediaPlayerAVI = pagekit::mediaPlayer(this, "MediaPlayerAVI");
    MediaPlayerAVI->setDisplay(ListViewAVIPlayer->viewport());
}

platform::Status TViewPageAVI_WIN::load(const QString &path)
{
    pagekit::BusyCursor busy;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    TMediaPlayer *preview = frmPreview_AVI_VIDEO->MediaPlayerPreviewAVI;
    if (preview->DeviceID() != 0)
        preview->Close();
    m_video->close();
    m_video->clearSurface();
    AVIControlWIN->setAVIState(avClosed);
    ViewedRecord &r = record();
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    r.Repeat = m_pane.loopPressed();
    const QString native = pagekit::nativePath(app(), path);
    if (AVIControlWIN->Open(native)) {
        r.InWindow = true;
        r.LengthMs = 0;
        m_pane.showViewerPage(this);
        // Loop may have changed while another type was on view, which the control did not hear of.
        AVIControlWIN->setAutoRepeat(r.Repeat);
        AVIControlWIN->setAVIState(avPlay);
        return {};
    }
    // Refused by the animation control: played as video, with its sound.
    busy.release();
    int length = 0;
    const platform::Status status = m_video->start(native, length);
    // The record speaks of this file: on a failure no video of it plays.
    r.InWindow = false;
    r.LengthMs = status.ok() ? length : 0;
    if (status.ok())
        m_pane.showViewerPage(pageAVI_VIDEO);
    return status;
}

void TViewPageAVI_WIN::MediaPlayerAVINotify()
{
    m_video->notified();
}

void TViewPageAVI_WIN::timRepeatAVITimer()
{
    m_video->repeatTick();
}

void TViewPageAVI_WIN::stop()
{
    timRepeatAVI->stop();
    if (record().InWindow) {
        AVIControlWIN->Seek(0);
        return;
    }
    m_video->close();
}

void TViewPageAVI_WIN::setLoop(bool pressed)
{
    AVIControlWIN->setAutoRepeat(pressed);
    record().Repeat = pressed;
}

QString TViewPageAVI_WIN::playCaption() const
{
    return SelectText("&Jouer le fichier", "&Play file");
}

void TViewPageAVI_WIN::applyBackground()
{
    pagekit::colour(pageAVI_VIDEO->ListViewAVIPlayer, QColor(0x00, 0x80, 0x80));
    TfrmStoreBackground store;
    TileImage(store.PicStoreAVI->pixmap(), picBackGroundAVI_WIN);
    // Let the tiles paint before the clip opens, without taking a click meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TViewPageAVI_WIN::preview()
{
    PreviewAVI(*this);
}

void TViewPageAVI_WIN::closeDevices()
{
    TMediaPlayer *previewPlayer = frmPreview_AVI_VIDEO->MediaPlayerPreviewAVI;
    if (previewPlayer->DeviceID() != 0)
        previewPlayer->Close();
    frmPreview_AVI_WINDOWS->hide();
    if (pageAVI_VIDEO->MediaPlayerAVI->DeviceID() != 0)
        pageAVI_VIDEO->MediaPlayerAVI->Close();
}
