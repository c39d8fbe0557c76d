#include "viewers/View_AVI.h"

#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "viewers/pages/PageKit.h"

#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

TViewPageAVI_WIN::TViewPageAVI_WIN(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "AVI_WIN");
    picBackGroundAVI_WIN = pagekit::backgroundPicture(this, "picBackGroundAVI_WIN");
    AVIControlWIN = new TAVIControl(this);
    AVIControlWIN->setObjectName("AVIControlWIN");
    timRepeatAVI = new QTimer(this);
    timRepeatAVI->setObjectName("timRepeatAVI");
    timRepeatAVI->setInterval(1);
    timRepeatAVI->setSingleShot(true);
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
