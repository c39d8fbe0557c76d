#include "viewers/previews/Pw_AVI_W.h"

#include "components/media/TAVIControl.h"

#include <QKeyEvent>
#include <QVBoxLayout>

TfrmPreview_AVI_WINDOWS::TfrmPreview_AVI_WINDOWS(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    setObjectName("frmPreview_AVI_WINDOWS");
    AVIControlWINPreView = new TAVIControl(this);
    AVIControlWINPreView->setObjectName("AVIControlWINPreView");
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(AVIControlWINPreView);
    setVisible(false);
}

void TfrmPreview_AVI_WINDOWS::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->ignore(); // only the close box closes it
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmPreview_AVI_WINDOWS::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
}

void TfrmPreview_AVI_WINDOWS::FormDeactivate()
{
    AVIControlWINPreView->setAutoRepeat(false);
}
