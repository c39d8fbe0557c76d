// TfrmPreview_AVI_VIDEO: holds the media player of video previews, MediaPlayerPreviewAVI, which has
// no display of its own: the video device shows the clip in a window of its own. Made at start,
// never shown.
#pragma once

#include <QWidget>

class TMediaPlayer;

class TfrmPreview_AVI_VIDEO : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmPreview_AVI_VIDEO(QWidget *parent = nullptr);
    ~TfrmPreview_AVI_VIDEO() override;
    TMediaPlayer *MediaPlayerPreviewAVI = nullptr;
};
