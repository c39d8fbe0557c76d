// TfrmPreview_AVI_VIDEO: the preview window of AVI clips played by the media player. Created hidden at
// start and kept for the whole run.
#pragma once

#include <QDialog>

class TfrmPreview_AVI_VIDEO : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPreview_AVI_VIDEO(QWidget *parent = nullptr);
};
