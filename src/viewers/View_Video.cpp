#include "viewers/View_Video.h"

#include "app/App.h"
#include "app/Language.h"
#include "components/media/TMediaPlayer.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/pages/VideoPlay.h"
#include "viewers/previews/Previews.h"
#include "viewers/previews/Pw_AVI_V.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

TViewPageVideo::TViewPageVideo(ViewerPane &pane, QStackedWidget *book, const char *code, MediaType type)
    : ViewerPage(pane, book, code, type)
{
    const QString name = QString::fromLatin1(code);
    ListViewPlayer = new QListWidget(this);
    ListViewPlayer->setObjectName("ListView" + name + "Player");
    ListViewPlayer->setAccessibleName(SelectText("Vidéo", "Video")); // the clip plays in it
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(ListViewPlayer);
    MediaPlayer = pagekit::mediaPlayer(this, ("MediaPlayer" + name).toLatin1().constData());
    MediaPlayer->setDisplay(ListViewPlayer->viewport());
    timRepeat = new QTimer(this);
    timRepeat->setObjectName("timRepeat" + name);
    timRepeat->setInterval(1);
    timRepeat->setSingleShot(true);
    m_video = new VideoPlay(pane, MediaPlayer, ListViewPlayer, timRepeat);
    connect(m_video, &VideoPlay::ended, this, &ViewerPage::playEnded);
    frmPreview = new TfrmPreview_AVI_VIDEO(this, code);
}

platform::Status TViewPageVideo::load(const QString &path)
{
    pagekit::BusyCursor busy;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    TMediaPlayer *preview = frmPreview->MediaPlayerPreviewAVI;
    if (preview->DeviceID() != 0)
        preview->Close();
    m_video->close();
    m_video->clearSurface();
    ViewedRecord &r = record();
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    r.Repeat = m_pane.loopPressed();
    r.InWindow = false;
    busy.release();
    int length = 0;
    const platform::Status status = m_video->start(pagekit::nativePath(app(), path), length);
    r.LengthMs = status.ok() ? length : 0;
    if (status.ok())
        m_pane.showViewerPage(this);
    return status;
}

void TViewPageVideo::stop()
{
    m_video->close();
}

void TViewPageVideo::setLoop(bool pressed)
{
    // Read again at the end of each play.
    record().Repeat = pressed;
}

QString TViewPageVideo::playCaption() const
{
    return SelectText("&Jouer le fichier", "&Play file");
}

void TViewPageVideo::applyBackground()
{
    pagekit::colour(ListViewPlayer, QColor(0x00, 0x80, 0x80));
}

void TViewPageVideo::preview()
{
    PreviewVideo(app(), record(), frmPreview->MediaPlayerPreviewAVI, MediaPlayer);
}

void TViewPageVideo::closeDevices()
{
    TMediaPlayer *preview = frmPreview->MediaPlayerPreviewAVI;
    if (preview->DeviceID() != 0)
        preview->Close();
    m_video->close();
}
