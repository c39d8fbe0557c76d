// Pages "MID" and "WAV": a top panel with the progress bar and the "Durée" box (total and played
// times), below it a stretched background, and the hidden media player; the timers that follow the
// position (300 ms) and restart a tune at its end when Loop is down (1 ms, one shot).
#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QProgressBar;
class QStackedWidget;
class QTimer;
class TMediaPlayer;

class TViewPageMID : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageMID(QStackedWidget *book);
    QWidget *pnlPositionMID = nullptr;
    QProgressBar *ProgressBarMID = nullptr;
    QGroupBox *GroupBoxMID = nullptr;
    QLabel *lblTotalMID = nullptr, *lblPlayedMID = nullptr, *lblTotalTimeMID = nullptr,
           *lblPlayedTimeMID = nullptr;
    QLabel *picBackgroundMID = nullptr;
    TMediaPlayer *MediaPlayerMID = nullptr;
    QTimer *timAutoRepeatMID = nullptr, *timPositionMID = nullptr;
};

class TViewPageWAV : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageWAV(QStackedWidget *book);
    QWidget *pnlPositionWAV = nullptr;
    QProgressBar *ProgressBarWAV = nullptr;
    QGroupBox *GroupBoxWAV = nullptr;
    QLabel *lblTotalWAV = nullptr, *lblPlayedWAV = nullptr, *lblTotalTimeWAV = nullptr,
           *lblPlayedTimeWAV = nullptr;
    QLabel *picBackgroundWAV = nullptr;
    TMediaPlayer *MediaPlayerWAV = nullptr;
    QTimer *timAutoRepeatWAV = nullptr, *timPositionWav = nullptr;
};
