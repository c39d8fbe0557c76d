#include "viewers/Pw_AVI_V.h"

TfrmPreview_AVI_VIDEO::TfrmPreview_AVI_VIDEO(QWidget *parent) : QDialog(parent)
{
    setObjectName("frmPreview_AVI_VIDEO");
    setVisible(false);
}
