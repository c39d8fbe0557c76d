#include "viewers/View_Sound.h"

#include "platform/media/AudioOutput.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "components/media/TMediaPlayer.h"
#include "viewers/Backgrnd.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QTimer *timer(QWidget *page, const QString &name, int interval)
{
    auto *t = new QTimer(page);
    t->setObjectName(name);
    t->setInterval(interval);
    t->setSingleShot(interval == 1);
    return t;
}
} // namespace

TViewPageSound::TViewPageSound(ViewerPane &pane, QStackedWidget *book, const char *name, MediaType type,
                               const char *positionTimer)
    : ViewerPage(pane, book, name, type), m_name(QString::fromLatin1(name))
{
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    m_panel = new QWidget(this);
    m_panel->setObjectName("pnlPosition" + m_name);
    m_panel->setFixedHeight(113);
    auto *pl = new QVBoxLayout(m_panel);
    // The bar keeps 4 pixels on each side and 8 above, whatever the pane's width.
    pl->setContentsMargins(4, 8, 4, 4);
    m_bar = new QProgressBar(m_panel);
    m_bar->setObjectName("ProgressBar" + m_name);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    pl->addWidget(m_bar);
    m_box = new QGroupBox(SelectText("Durée", "Time"), m_panel);
    m_box->setObjectName("GroupBox" + m_name);
    auto *grid = new QGridLayout(m_box);
    m_totalCaption = new QLabel(SelectText("Total:", "Total:"), m_box);
    m_playedCaption = new QLabel(SelectText("Joué:", "Played:"), m_box);
    m_total = new QLabel(m_box);
    m_total->setObjectName("lblTotalTime" + m_name);
    m_played = new QLabel(m_box);
    m_played->setObjectName("lblPlayedTime" + m_name);
    grid->addWidget(m_totalCaption, 0, 0);
    grid->addWidget(m_total, 0, 1);
    grid->addWidget(m_playedCaption, 1, 0);
    grid->addWidget(m_played, 1, 1);
    grid->setColumnStretch(1, 1);
    pl->addWidget(m_box);
    lay->addWidget(m_panel);
    m_background = new QLabel(this);
    m_background->setObjectName("picBackground" + m_name);
    m_background->setScaledContents(true);
    m_background->setMinimumSize(1, 1);
    m_background->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    lay->addWidget(m_background, 1);
    m_player = pagekit::mediaPlayer(this, ("MediaPlayer" + m_name).toLatin1().constData());
    m_autoRepeat = timer(this, "timAutoRepeat" + m_name, 1);
    m_position = timer(this, QString::fromLatin1(positionTimer), 300);
    connect(m_player, &TMediaPlayer::OnNotify, this, &TViewPageSound::playerNotify);
    connect(m_position, &QTimer::timeout, this, &TViewPageSound::positionTick);
    connect(m_autoRepeat, &QTimer::timeout, this, &TViewPageSound::autoRepeatTick);
    m_releaseOutput = new QTimer(this);
    m_releaseOutput->setSingleShot(true);
    m_releaseOutput->setInterval(kKeepOutputMs);
    connect(m_releaseOutput, &QTimer::timeout, this, [this] { m_keepOutput.reset(); });
}

void TViewPageSound::clearTimes()
{
    m_total->clear();
    m_played->clear();
    // An empty range would make the bar a busy indicator: an empty bar is a range of one.
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
}

platform::Status TViewPageSound::load(const QString &path)
{
    App &app = this->app();
    ViewedRecord &r = record();
    pagekit::BusyCursor busy;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_position->stop();
    closePlayer();
    m_pane.showViewerPage(this);
    r.Path = path;
    m_player->setFileName(pagekit::nativePath(app, path));
    busy.release();
    platform::Status status = m_player->Open();
    if (status.ok()) {
        m_player->setTimeFormat(tfMilliseconds);
        r.LengthMs = m_player->Length();
        r.Repeat = m_pane.loopPressed();
        clearTimes();
        m_player->setNotify(true);
        status = m_player->Play();
    }
    if (!status.ok()) {
        // Nothing of an earlier file may stay on show for this one.
        m_player->Close();
        r.LengthMs = 0;
        clearTimes();
        return status;
    }
    ++m_playsStarted;
    const int length = m_player->Length();
    m_total->setText(FormatDuration(length));
    m_bar->setRange(0, qMax(1, length));
    m_position->start();
    return status;
}

void TViewPageSound::positionTick()
{
    const int position = m_player->Position();
    m_played->setText(FormatDuration(position));
    m_played->repaint();
    m_bar->setValue(position);
}

void TViewPageSound::playerNotify()
{
    // One notice per play, in order: only the last one is of the play under way.
    if (++m_notices != m_playsStarted || m_player->NotifyValue() != nvSuccessful)
        return;
    m_position->stop();
    m_played->clear();
    m_bar->setValue(0);
    emit playEnded();
    if (!record().Repeat)
        return; // the device stays open at the end, the total on show
    closePlayer();
    if (m_pane.loopPressed())
        m_autoRepeat->start();
}

void TViewPageSound::autoRepeatTick()
{
    m_autoRepeat->stop();
    // A load under way (it lets events run) would be loaded over: try again just after it.
    const QString path = record().Path;
    if (!m_pane.loadAgain(this, path))
        m_autoRepeat->start();
}

void TViewPageSound::stop()
{
    m_position->stop();
    m_autoRepeat->stop();
    m_bar->setValue(0);
    m_played->clear();
    record().Repeat = false;
    closePlayer();
}

void TViewPageSound::setLoop(bool pressed)
{
    record().Repeat = pressed;
}

QString TViewPageSound::playCaption() const
{
    return SelectText("&Jouer le fichier", "&Play file");
}

void TViewPageSound::applyBackground()
{
    // The sounds FFmpeg decodes have the wave sound's tiles.
    TfrmStoreBackground store;
    TileImage((type() == mtMID ? store.PicStoreMID : store.PicStoreWAV)->pixmap(), m_background);
}

void TViewPageSound::closeDevices()
{
    if (m_player->DeviceID() != 0)
        m_player->Close();
}

// Closing the last device closes the sound card too, which waits for SDL's audio thread for tens
// of milliseconds on this thread; the next file usually follows a Stop at once, so the output is
// kept open a moment after each close and the next device finds it.
void TViewPageSound::closePlayer()
{
    if (m_player->DeviceID() == 0)
        return;
    m_keepOutput = platform::media::AudioOutput::hold();
    m_player->Close();
    m_releaseOutput->start();
}

TViewPageMID::TViewPageMID(ViewerPane &pane, QStackedWidget *book)
    : TViewPageSound(pane, book, "MID", mtMID, "timPositionMID")
{
    pnlPositionMID = m_panel;
    ProgressBarMID = m_bar;
    GroupBoxMID = m_box;
    lblTotalMID = m_totalCaption;
    lblPlayedMID = m_playedCaption;
    lblTotalTimeMID = m_total;
    lblPlayedTimeMID = m_played;
    picBackgroundMID = m_background;
    MediaPlayerMID = m_player;
    timAutoRepeatMID = m_autoRepeat;
    timPositionMID = m_position;
}

TViewPageWAV::TViewPageWAV(ViewerPane &pane, QStackedWidget *book)
    : TViewPageSound(pane, book, "WAV", mtWAV, "timPositionWav")
{
    pnlPositionWAV = m_panel;
    ProgressBarWAV = m_bar;
    GroupBoxWAV = m_box;
    lblTotalWAV = m_totalCaption;
    lblPlayedWAV = m_playedCaption;
    lblTotalTimeWAV = m_total;
    lblPlayedTimeWAV = m_played;
    picBackgroundWAV = m_background;
    MediaPlayerWAV = m_player;
    timAutoRepeatWAV = m_autoRepeat;
    timPositionWav = m_position;
}
