// Pages "GIF", "PCX", "TIF", "WMF", "EMF" and "ICO". GIF: a white scroll box holding the GIF player
// (centred, looping). PCX, TIF, WMF, EMF: a coloured scroll box holding an image view of the same
// colour (the WMF one in 256 colours, the PCX one with scroll bars). ICO: a tiled background and a
// 100 by 100 sunken frame holding the centred icon.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QScrollArea;
class QStackedWidget;
class TGIFImage;
class TImageEn;
class TPicture;

class TViewPageGIF : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageGIF(QStackedWidget *book);
    QScrollArea *ScrollGIF = nullptr;
    TGIFImage *picGIF = nullptr;
};

class TViewPagePCX : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPagePCX(QStackedWidget *book);
    QScrollArea *ScrollPCX = nullptr;
    TImageEn *PicPcx = nullptr;
};

class TViewPageTIF : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageTIF(QStackedWidget *book);
    QScrollArea *ScrollTIF = nullptr;
    TImageEn *picTIF = nullptr;
};

class TViewPageWMF : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageWMF(QStackedWidget *book);
    QScrollArea *ScrollWMF = nullptr;
    TImageEn *picWMF = nullptr;
};

class TViewPageEMF : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageEMF(QStackedWidget *book);
    QScrollArea *ScrollEMF = nullptr;
    TImageEn *picEMF = nullptr;
};

class TViewPageICO : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageICO(QStackedWidget *book);
    QLabel *picBackgroundICO = nullptr;
    QFrame *pnlICO = nullptr;
    TPicture *picICO = nullptr;
};
