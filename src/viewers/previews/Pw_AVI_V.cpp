#include "viewers/previews/Pw_AVI_V.h"

#include "components/media/TMediaPlayer.h"

TfrmPreview_AVI_VIDEO::TfrmPreview_AVI_VIDEO(QWidget *parent) : QWidget(parent)
{
    setObjectName("frmPreview_AVI_VIDEO");
    MediaPlayerPreviewAVI = new TMediaPlayer(this);
    MediaPlayerPreviewAVI->setObjectName("MediaPlayerPreviewAVI");
    setVisible(false);
}

TfrmPreview_AVI_VIDEO::~TfrmPreview_AVI_VIDEO()
{
    // The clip's own window goes with the program's.
    if (MediaPlayerPreviewAVI->DeviceID() != 0)
        MediaPlayerPreviewAVI->Close();
}
