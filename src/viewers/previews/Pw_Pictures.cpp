#include "viewers/previews/Pw_Pictures.h"

#include "app/Language.h"
#include "components/TAnimatedImage.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"

#include <QTimer>

TfrmPreview_BMP::TfrmPreview_BMP(QWidget *parent) : TPreviewWindow(parent, "frmPreview_BMP")
{
    ImageBMP = new TPicture;
    ImageBMP->setObjectName("ImageBMP");
    ImageBMP->setCenter(true);
    setContent(ImageBMP, true);
}

TfrmPreview_GIF::TfrmPreview_GIF(QWidget *parent) : TPreviewWindow(parent, "frmPreview_GIF")
{
    ImageGIF = new TGIFImage;
    ImageGIF->setObjectName("ImageGIF");
    ImageGIF->setCenter(true);
    setContent(ImageGIF, true);
    resize(544, 375);
}

TfrmPreview_JPG::TfrmPreview_JPG(QWidget *parent) : TPreviewWindow(parent, "frmPreview_JPG")
{
    picPreviewJPG = new TPicture;
    picPreviewJPG->setObjectName("picPreviewJPG");
    // Decoded by the preview once shown, so that the caption can report the progress.
    picPreviewJPG->setDecodeOnPaint(false);
    setContent(picPreviewJPG, true);
    timPreviewJPG = new QTimer(this);
    timPreviewJPG->setObjectName("timPreviewJPG");
    timPreviewJPG->setInterval(1);
    timPreviewJPG->setSingleShot(true);
    connect(picPreviewJPG, &TPicture::progress, this, &TfrmPreview_JPG::picPreviewJPGProgress);
    connect(this, &TPreviewWindow::activated, this, [this] {
        m_firstProgress = true;
        timPreviewJPG->start();
    });
}

void TfrmPreview_JPG::picPreviewJPGProgress(TJPEGImage::Stage stage, int percent)
{
    switch (stage) {
    case TJPEGImage::Stage::Starting:
        m_savedCaption = windowTitle();
        return;
    case TJPEGImage::Stage::Running:
        if (m_firstProgress) {
            m_firstProgress = false;
            m_savedCaption = windowTitle();
        }
        setWindowTitle(SelectText("Chargement:", "Loading: ") + QString::asprintf("%d%%", percent) +
                       QStringLiteral(" ..."));
        repaint();
        return;
    case TJPEGImage::Stage::Ending:
        setWindowTitle(m_savedCaption);
        repaint();
        return;
    }
}

TfrmPreview_Image::TfrmPreview_Image(QWidget *parent, const char *name, const char *viewName, bool eightBit)
    : TPreviewWindow(parent, name)
{
    view = new TImageEn;
    view->setObjectName(viewName);
    view->setEightBit(eightBit);
    // The window scrolls over the picture, not the view.
    view->setScrollBars(false);
    setContent(view, true);
}

TfrmPreview_Animated::TfrmPreview_Animated(QWidget *parent, const char *name, const char *pictureName)
    : TPreviewWindow(parent, name)
{
    picture = new TAnimatedImage;
    picture->setObjectName(pictureName);
    setContent(picture, true);
}
