// TfrmPreview_AVI_WINDOWS: the preview window of clips the animation control plays, made at start
// and kept hidden between previews; its control AVIControlWINPreView fills it. Escape does not
// close it. When it loses the focus, its clip stops repeating.
#pragma once

#include <QDialog>

class TAVIControl;

class TfrmPreview_AVI_WINDOWS : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPreview_AVI_WINDOWS(QWidget *parent = nullptr);
    TAVIControl *AVIControlWINPreView = nullptr;

    void FormDeactivate();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
};
