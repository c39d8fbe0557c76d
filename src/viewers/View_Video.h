// Pages "MP4" and "MKV": clips played as video with their sound by the media player, drawn into
// an empty list control filling the page (ListViewMP4Player, teal once the page's background is
// applied), as an AVI that the animation control refuses is played; the animation control takes
// AVI clips only. Loop is read at the end of each play (the replay waits for timRepeatMP4, 1 ms);
// Stop closes the video; Preview plays the clip in the video device's own window.
//
// Rules:
// - Every load first closes the page's and the preview's players: at most one clip of the type plays.
// - A clip that cannot be played fails the load: the notebook stays on its page, the record says no
//   video of it (length 0).
#pragma once

#include "viewers/ViewerPage.h"

class QListWidget;
class QTimer;
class TMediaPlayer;
class TfrmPreview_AVI_VIDEO;
class VideoPlay;

class TViewPageVideo : public ViewerPage
{
    Q_OBJECT
public:
    // code: the page's name and its controls' suffix ("MP4": ListViewMP4Player, MediaPlayerMP4 ...).
    TViewPageVideo(ViewerPane &pane, QStackedWidget *book, const char *code, MediaType type);
    QListWidget *ListViewPlayer = nullptr;
    TMediaPlayer *MediaPlayer = nullptr;
    QTimer *timRepeat = nullptr;
    TfrmPreview_AVI_VIDEO *frmPreview = nullptr;

    ViewerTools tools() const override { return {.stop = true, .preview = true, .loop = true}; }
    platform::Status load(const QString &path) override;
    void stop() override;
    void setLoop(bool pressed) override;
    QString playCaption() const override;
    void applyBackground() override;
    void preview() override;
    void closeDevices() override;

private:
    VideoPlay *m_video = nullptr;
};
