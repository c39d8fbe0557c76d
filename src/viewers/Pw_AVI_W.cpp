#include "viewers/Pw_AVI_W.h"

TfrmPreview_AVI_WINDOWS::TfrmPreview_AVI_WINDOWS(QWidget *parent) : QDialog(parent)
{
    setObjectName("frmPreview_AVI_WINDOWS");
    setVisible(false);
}
