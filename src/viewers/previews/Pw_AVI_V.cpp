#include "viewers/previews/Pw_AVI_V.h"

#include "components/media/TMediaPlayer.h"

TfrmPreview_AVI_VIDEO::TfrmPreview_AVI_VIDEO(QWidget *parent, const char *code) : QWidget(parent)
{
    const QString type = QString::fromLatin1(code);
    setObjectName("frmPreview_" + type + "_VIDEO");
    MediaPlayerPreviewAVI = new TMediaPlayer(this);
    MediaPlayerPreviewAVI->setObjectName("MediaPlayerPreview" + type);
    setVisible(false);
}

TfrmPreview_AVI_VIDEO::~TfrmPreview_AVI_VIDEO()
{
    // The clip's own window goes with the program's.
    if (MediaPlayerPreviewAVI->DeviceID() != 0)
        MediaPlayerPreviewAVI->Close();
}
