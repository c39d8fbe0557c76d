// The video pages. An AVI is first offered to the animation control ("AVI_WIN": a tiled background
// and the control, sized to the clip), which plays silent, simply coded clips by itself; one it
// refuses is played as video with its sound by the media player, drawn into "AVI_VIDEO"'s surface
// (an empty list control filling the page). Viewed[mtAVI] remembers which (InWindow), since Stop,
// Loop, the preview and the properties differ: Stop shows the clip's first frame or closes the
// video; Loop is the control's AutoRepeat, or for video read again at the end of each play (the
// replay waits for a 1 ms timer, timRepeatAVI). The AVI_WIN page is the type's page and owns the
// AVI_VIDEO page and the two preview windows (made with it, kept for the run).
//
// Rules:
// - Every load first closes the video players (the page's and the preview's) and the animation
//   control: at most one clip plays.
// - Only the Successful notice of the video play under way arms the replay (notices come one per
//   play, in order; those of plays a Stop or a load interrupted are ignored).
// - A clip neither can play fails the load; the notebook stays on its page and the record says no
//   video (InWindow false, length 0).
#pragma once

#include "viewers/ViewerPage.h"

class QLabel;
class QListWidget;
class QTimer;
class TAVIControl;
class TMediaPlayer;
class TfrmPreview_AVI_VIDEO;
class TfrmPreview_AVI_WINDOWS;
class VideoPlay;

class TViewPageAVI_VIDEO : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageAVI_VIDEO(QStackedWidget *book);
    QListWidget *ListViewAVIPlayer = nullptr;
    TMediaPlayer *MediaPlayerAVI = nullptr;
};

class TViewPageAVI_WIN : public ViewerPage
{
    Q_OBJECT
public:
    TViewPageAVI_WIN(ViewerPane &pane, QStackedWidget *book);
    QLabel *picBackGroundAVI_WIN = nullptr;
    TAVIControl *AVIControlWIN = nullptr;
    QTimer *timRepeatAVI = nullptr;
    TViewPageAVI_VIDEO *pageAVI_VIDEO = nullptr;
    TfrmPreview_AVI_VIDEO *frmPreview_AVI_VIDEO = nullptr;
    TfrmPreview_AVI_WINDOWS *frmPreview_AVI_WINDOWS = nullptr;

    ViewerTools tools() const override { return {.stop = true, .preview = true, .loop = true}; }
    platform::Status load(const QString &path) override;
    void stop() override;
    void setLoop(bool pressed) override;
    QString playCaption() const override;
    void applyBackground() override;
    void preview() override;
    void closeDevices() override;
    // The end of a video play (MediaPlayerAVI's notification), and the replay it arms.
    void MediaPlayerAVINotify();
    void timRepeatAVITimer();

private:
    VideoPlay *m_video = nullptr; // MediaPlayerAVI's plays
};
