// TfrmPreview_AVI_VIDEO: holds the media player of video previews, MediaPlayerPreviewAVI, which has
// no display of its own: the video device shows the clip in a window of its own. Made at start,
// never shown. Each video type has its own (code "AVI": frmPreview_AVI_VIDEO, MediaPlayerPreviewAVI;
// "MP4": frmPreview_MP4_VIDEO, MediaPlayerPreviewMP4 ...).
#pragma once

#include <QWidget>

class TMediaPlayer;

class TfrmPreview_AVI_VIDEO : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmPreview_AVI_VIDEO(QWidget *parent = nullptr, const char *code = "AVI");
    ~TfrmPreview_AVI_VIDEO() override;
    TMediaPlayer *MediaPlayerPreviewAVI = nullptr;
};
