#include "viewers/View_Sound.h"

#include "app/Language.h"
#include "components/media/TMediaPlayer.h"
#include "viewers/pages/PageKit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The controls both sound pages have, under their own names.
struct SoundPageControls
{
    QWidget *pnlPosition = nullptr;
    QProgressBar *progressBar = nullptr;
    QGroupBox *groupBox = nullptr;
    QLabel *lblTotal = nullptr, *lblPlayed = nullptr, *lblTotalTime = nullptr, *lblPlayedTime = nullptr;
    QLabel *picBackground = nullptr;
    TMediaPlayer *mediaPlayer = nullptr;
    QTimer *timAutoRepeat = nullptr, *timPosition = nullptr;
};

QTimer *timer(QWidget *page, const QString &name, int interval)
{
    auto *t = new QTimer(page);
    t->setObjectName(name);
    t->setInterval(interval);
    t->setSingleShot(interval == 1);
    return t;
}

// Builds a sound page on page; suffix names its controls ("MID", "WAV").
SoundPageControls build(QWidget *page, QStackedWidget *book, const QString &suffix,
                        const QString &positionTimer)
{
    pagekit::becomePage(page, book, suffix.toLatin1().constData());
    SoundPageControls c;
    auto *lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    c.pnlPosition = new QWidget(page);
    c.pnlPosition->setObjectName("pnlPosition" + suffix);
    c.pnlPosition->setFixedHeight(113);
    auto *pl = new QVBoxLayout(c.pnlPosition);
    c.progressBar = new QProgressBar(c.pnlPosition);
    c.progressBar->setObjectName("ProgressBar" + suffix);
    c.progressBar->setRange(0, 100);
    c.progressBar->setValue(0);
    c.progressBar->setTextVisible(false);
    pl->addWidget(c.progressBar);
    c.groupBox = new QGroupBox(SelectText("Durée", "Time"), c.pnlPosition);
    c.groupBox->setObjectName("GroupBox" + suffix);
    auto *grid = new QGridLayout(c.groupBox);
    c.lblTotal = new QLabel(SelectText("Total:", "Total:"), c.groupBox);
    c.lblPlayed = new QLabel(SelectText("Joué:", "Played:"), c.groupBox);
    c.lblTotalTime = new QLabel(c.groupBox);
    c.lblTotalTime->setObjectName("lblTotalTime" + suffix);
    c.lblPlayedTime = new QLabel(c.groupBox);
    c.lblPlayedTime->setObjectName("lblPlayedTime" + suffix);
    grid->addWidget(c.lblTotal, 0, 0);
    grid->addWidget(c.lblTotalTime, 0, 1);
    grid->addWidget(c.lblPlayed, 1, 0);
    grid->addWidget(c.lblPlayedTime, 1, 1);
    grid->setColumnStretch(1, 1);
    pl->addWidget(c.groupBox);
    lay->addWidget(c.pnlPosition);
    c.picBackground = new QLabel(page);
    c.picBackground->setObjectName("picBackground" + suffix);
    c.picBackground->setScaledContents(true);
    c.picBackground->setMinimumSize(1, 1);
    c.picBackground->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    lay->addWidget(c.picBackground, 1);
    c.mediaPlayer = pagekit::mediaPlayer(page, ("MediaPlayer" + suffix).toLatin1().constData());
    c.timAutoRepeat = timer(page, "timAutoRepeat" + suffix, 1);
    c.timPosition = timer(page, positionTimer, 300);
    return c;
}

} // namespace

TViewPageMID::TViewPageMID(QStackedWidget *book) : QWidget(book)
{
    const SoundPageControls c = build(this, book, "MID", "timPositionMID");
    pnlPositionMID = c.pnlPosition;
    ProgressBarMID = c.progressBar;
    GroupBoxMID = c.groupBox;
    lblTotalMID = c.lblTotal;
    lblPlayedMID = c.lblPlayed;
    lblTotalTimeMID = c.lblTotalTime;
    lblPlayedTimeMID = c.lblPlayedTime;
    picBackgroundMID = c.picBackground;
    MediaPlayerMID = c.mediaPlayer;
    timAutoRepeatMID = c.timAutoRepeat;
    timPositionMID = c.timPosition;
}

TViewPageWAV::TViewPageWAV(QStackedWidget *book) : QWidget(book)
{
    const SoundPageControls c = build(this, book, "WAV", "timPositionWav");
    pnlPositionWAV = c.pnlPosition;
    ProgressBarWAV = c.progressBar;
    GroupBoxWAV = c.groupBox;
    lblTotalWAV = c.lblTotal;
    lblPlayedWAV = c.lblPlayed;
    lblTotalTimeWAV = c.lblTotalTime;
    lblPlayedTimeWAV = c.lblPlayedTime;
    picBackgroundWAV = c.picBackground;
    MediaPlayerWAV = c.mediaPlayer;
    timAutoRepeatWAV = c.timAutoRepeat;
    timPositionWav = c.timPosition;
}
