// Pages "MID" and "WAV", and "MP3", "OGG" and "FLAC" as the WAV page (TViewPageSound itself, its
// controls named after the page: lblTotalTimeMP3, MediaPlayerMP3, timPositionMP3 ...): a top panel
// with the progress bar and the "Durée" box (total and played times), a stretched background
// below, and the hidden media player. Load opens the file on the player's device and plays it; the
// position timer (300 ms) moves the bar and the played time; at the end of a play, with Repeat
// (taken from Loop at the load, changed by Loop), the device is closed and the file loaded again by
// the auto-repeat timer (1 ms, one shot). Stop clears Repeat before it closes, so the interrupted
// play does not start again.
//
// Rules:
// - Only the notification of the play under way, and only a Successful one, ends a play: the
//   Aborted or Superseded notice of a play that a Stop, a new load or a new Play interrupted is
//   ignored (notices come one per play, in order).
// - A load that fails leaves the page stopped and empty: no times, the bar at 0, the record's
//   length 0.
#pragma once

#include "viewers/ViewerPage.h"

#include <memory>

class QGroupBox;
class QLabel;
class QProgressBar;
class QTimer;
class TMediaPlayer;

// What every sound page does, over the controls each names its own way.
class TViewPageSound : public ViewerPage
{
    Q_OBJECT
public:
    TViewPageSound(ViewerPane &pane, QStackedWidget *book, const char *name, MediaType type,
                   const char *positionTimer);

    ViewerTools tools() const override { return {.stop = true, .loop = true}; }
    platform::Status load(const QString &path) override;
    void stop() override;
    void setLoop(bool pressed) override;
    QString playCaption() const override;
    void applyBackground() override;
    void closeDevices() override;
    // The end of a play (the player's notification).
    void playerNotify();
    void positionTick();
    void autoRepeatTick();
    // How long the sound output stays open after the page closes its device.
    static constexpr int kKeepOutputMs = 2000;
    bool keepsOutput() const { return m_keepOutput != nullptr; }

protected:
    QWidget *m_panel = nullptr;
    QProgressBar *m_bar = nullptr;
    QGroupBox *m_box = nullptr;
    QLabel *m_totalCaption = nullptr, *m_playedCaption = nullptr, *m_total = nullptr, *m_played = nullptr;
    QLabel *m_background = nullptr;
    TMediaPlayer *m_player = nullptr;
    QTimer *m_autoRepeat = nullptr, *m_position = nullptr;

private:
    void clearTimes();
    void closePlayer();

    QString m_name;
    int m_playsStarted = 0; // plays asked to notify their end, and notices received since
    int m_notices = 0;
    std::shared_ptr<void> m_keepOutput;
    QTimer *m_releaseOutput = nullptr;
};

class TViewPageMID : public TViewPageSound
{
    Q_OBJECT
public:
    TViewPageMID(ViewerPane &pane, QStackedWidget *book);
    QWidget *pnlPositionMID = nullptr;
    QProgressBar *ProgressBarMID = nullptr;
    QGroupBox *GroupBoxMID = nullptr;
    QLabel *lblTotalMID = nullptr, *lblPlayedMID = nullptr, *lblTotalTimeMID = nullptr,
           *lblPlayedTimeMID = nullptr;
    QLabel *picBackgroundMID = nullptr;
    TMediaPlayer *MediaPlayerMID = nullptr;
    QTimer *timAutoRepeatMID = nullptr, *timPositionMID = nullptr;
};

class TViewPageWAV : public TViewPageSound
{
    Q_OBJECT
public:
    TViewPageWAV(ViewerPane &pane, QStackedWidget *book);
    QWidget *pnlPositionWAV = nullptr;
    QProgressBar *ProgressBarWAV = nullptr;
    QGroupBox *GroupBoxWAV = nullptr;
    QLabel *lblTotalWAV = nullptr, *lblPlayedWAV = nullptr, *lblTotalTimeWAV = nullptr,
           *lblPlayedTimeWAV = nullptr;
    QLabel *picBackgroundWAV = nullptr;
    TMediaPlayer *MediaPlayerWAV = nullptr;
    QTimer *timAutoRepeatWAV = nullptr, *timPositionWav = nullptr;
};
