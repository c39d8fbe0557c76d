// TfrmPreview_AVI_WINDOWS: the preview window of AVI clips played by the animation control. Created
// hidden at start and kept for the whole run.
#pragma once

#include <QDialog>

class TfrmPreview_AVI_WINDOWS : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPreview_AVI_WINDOWS(QWidget *parent = nullptr);
};
