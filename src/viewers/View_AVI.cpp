#include "viewers/View_AVI.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/previews/Pw_AVI_V.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

TViewPageAVI_WIN::TViewPageAVI_WIN(ViewerPane &pane, QStackedWidget *book) : QWidget(book), m_pane(pane)
{
    pagekit::becomePage(this, book, "AVI_WIN");
    picBackGroundAVI_WIN = pagekit::backgroundPicture(this, "picBackGroundAVI_WIN");
    AVIControlWIN = new TAVIControl(this);
    AVIControlWIN->setObjectName("AVIControlWIN");
    timRepeatAVI = new QTimer(this);
    timRepeatAVI->setObjectName("timRepeatAVI");
    timRepeatAVI->setInterval(1);
    timRepeatAVI->setSingleShot(true);
    connect(timRepeatAVI, &QTimer::timeout, this, &TViewPageAVI_WIN::timRepeatAVITimer);
}

TViewPageAVI_VIDEO::TViewPageAVI_VIDEO(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "AVI_VIDEO");
    ListViewAVIPlayer = new QListWidget(this);
    ListViewAVIPlayer->setObjectName("ListViewAVIPlayer");
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(ListViewAVIPlayer);
    MediaPlayerAVI = pagekit::mediaPlayer(this, "MediaPlayerAVI");
    MediaPlayerAVI->setDisplay(ListViewAVIPlayer->viewport());
}

void TViewPageAVI_WIN::LoadAVI(const QString &path)
{
    App &app = m_pane.app;
    if (!app.st.FormReady)
        return;
    pagekit::BusyCursor busy;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    TMediaPlayer *video = m_pane.pageAVI_VIDEO->MediaPlayerAVI;
    TMediaPlayer *preview = m_pane.frmPreview_AVI_VIDEO->MediaPlayerPreviewAVI;
    if (preview->DeviceID() != 0)
        preview->Close();
    if (video->DeviceID() != 0)
        video->Close();
    m_pane.pageAVI_VIDEO->ListViewAVIPlayer->clear();
    m_pane.pageAVI_VIDEO->ListViewAVIPlayer->viewport()->update();
    AVIControlWIN->setAVIState(avClosed);
    ViewedAVIRecord &r = app.st.ViewedAVI;
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    r.Repeat = m_pane.btnLoop->isChecked();
    const QString native = pagekit::nativePath(app, path);
    if (AVIControlWIN->Open(native)) {
        r.InWindow = true;
        r.LengthMs = 0;
        m_pane.showViewerPage(QStringLiteral("AVI_WIN"));
        // Loop may have changed while another type was on view, which the control did not hear of.
        AVIControlWIN->setAutoRepeat(r.Repeat);
        AVIControlWIN->setAVIState(avPlay);
        return;
    }
    // Refused by the animation control: played as video, with its sound.
    video->setFileName(native);
    busy.release();
    platform::Status status = video->Open();
    if (status.ok()) {
        video->setNotify(true);
        video->setTimeFormat(tfMilliseconds);
        r.LengthMs = video->Length();
        status = video->Play();
    }
    if (!status.ok()) {
        video->Close();
        // The record speaks of this file: no video of it plays.
        r.InWindow = false;
        r.LengthMs = 0;
        ShowFileAccessError(app);
        m_pane.pageAVI_VIDEO->ListViewAVIPlayer->viewport()->update();
        return;
    }
    ++m_playsStarted;
    m_pane.showViewerPage(QStringLiteral("AVI_VIDEO"));
    r.InWindow = false;
}

void TViewPageAVI_WIN::MediaPlayerAVINotify()
{
    TMediaPlayer *video = m_pane.pageAVI_VIDEO->MediaPlayerAVI;
    if (++m_notices != m_playsStarted || video->NotifyValue() != nvSuccessful)
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    timRepeatAVI->start();
}

void TViewPageAVI_WIN::timRepeatAVITimer()
{
    timRepeatAVI->stop();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    TMediaPlayer *video = m_pane.pageAVI_VIDEO->MediaPlayerAVI;
    if (!m_pane.btnLoop->isChecked() || video->DeviceID() == 0)
        return;
    video->setNotify(true);
    if (video->Play().ok())
        ++m_playsStarted;
}

void TViewPageAVI_WIN::StopAVI()
{
    timRepeatAVI->stop();
    if (m_pane.app.st.ViewedAVI.InWindow) {
        AVIControlWIN->Seek(0);
        return;
    }
    TMediaPlayer *video = m_pane.pageAVI_VIDEO->MediaPlayerAVI;
    if (video->DeviceID() != 0)
        video->Close();
    m_pane.pageAVI_VIDEO->ListViewAVIPlayer->viewport()->update();
}

void TViewPageAVI_WIN::setLoop(bool pressed)
{
    AVIControlWIN->setAutoRepeat(pressed);
    m_pane.app.st.ViewedAVI.Repeat = pressed;
}
