// The picture preview windows, made for one preview and freed after: TfrmPreview_BMP (ImageBMP,
// centred), TfrmPreview_GIF (ImageGIF, centred, keeping its own outer size), TfrmPreview_JPG
// (picPreviewJPG, decoded once the window shows, its progress in the caption) and the image-view
// windows of PCX (PicPcx, 256 colours), TIF (PicTIF), WMF (PicWMF, 256 colours) and EMF (PicEMF),
// and the player windows of PNG (ImagePNG) and WebP (ImageWEBP).
#pragma once

#include "components/TJPEGImage.h"
#include "viewers/previews/PreviewWindow.h"

class QTimer;
class TAnimatedImage;
class TGIFImage;
class TImageEn;
class TPicture;

class TfrmPreview_BMP : public TPreviewWindow
{
    Q_OBJECT
public:
    explicit TfrmPreview_BMP(QWidget *parent);
    TPicture *ImageBMP = nullptr;
};

class TfrmPreview_GIF : public TPreviewWindow
{
    Q_OBJECT
public:
    explicit TfrmPreview_GIF(QWidget *parent);
    TGIFImage *ImageGIF = nullptr;
};

class TfrmPreview_JPG : public TPreviewWindow
{
    Q_OBJECT
public:
    explicit TfrmPreview_JPG(QWidget *parent);
    TPicture *picPreviewJPG = nullptr;
    QTimer *timPreviewJPG = nullptr;

    void picPreviewJPGProgress(TJPEGImage::Stage stage, int percent);

private:
    bool m_firstProgress = true;
    QString m_savedCaption;
};

// PCX, TIF, WMF and EMF: an image view in the page's colour.
class TfrmPreview_Image : public TPreviewWindow
{
    Q_OBJECT
public:
    TfrmPreview_Image(QWidget *parent, const char *name, const char *viewName, bool eightBit);
    TImageEn *view = nullptr;
};

// PNG and WebP: the picture player from the window's top-left corner.
class TfrmPreview_Animated : public TPreviewWindow
{
    Q_OBJECT
public:
    TfrmPreview_Animated(QWidget *parent, const char *name, const char *pictureName);
    TAnimatedImage *picture = nullptr;
};
