// The video pages. An AVI is first offered to the animation control ("AVI_WIN": a tiled background
// and the control, sized to the clip), which plays silent, simply coded clips by itself; one it
// refuses is played as video with its sound by the media player, drawn into "AVI_VIDEO"'s surface
// (an empty list control filling the page). ViewedAVI remembers which (InWindow), since Stop, Loop,
// the preview and the properties differ: Stop shows the clip's first frame or closes the video;
// Loop is the control's AutoRepeat, or for video read again at the end of each play (the replay
// waits for a 1 ms timer, timRepeatAVI).
//
// Rules:
// - Every load first closes the video players (the page's and the preview's) and the animation
//   control: at most one clip plays.
// - Only the Successful notice of the video play under way arms the replay (notices come one per
//   play, in order; those of plays a Stop or a load interrupted are ignored).
// - A clip neither can play gives the file access error; the notebook stays on its page and the
//   record says no video (InWindow false, length 0).
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QStackedWidget;
class QTimer;
class TAVIControl;
class TMediaPlayer;
class ViewerPane;

class TViewPageAVI_WIN : public QWidget
{
    Q_OBJECT
public:
    TViewPageAVI_WIN(ViewerPane &pane, QStackedWidget *book);
    QLabel *picBackGroundAVI_WIN = nullptr;
    TAVIControl *AVIControlWIN = nullptr;
    QTimer *timRepeatAVI = nullptr;

    void LoadAVI(const QString &path);
    void StopAVI();
    void setLoop(bool pressed);
    // The end of a video play (MediaPlayerAVI's notification), and the replay it arms.
    void MediaPlayerAVINotify();
    void timRepeatAVITimer();

private:
    ViewerPane &m_pane;
    int m_playsStarted = 0; // video plays asked to notify their end, and notices received since
    int m_notices = 0;
};

class TViewPageAVI_VIDEO : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageAVI_VIDEO(QStackedWidget *book);
    QListWidget *ListViewAVIPlayer = nullptr;
    TMediaPlayer *MediaPlayerAVI = nullptr;
};
