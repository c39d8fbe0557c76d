// Pages "PCX", "TIF", "WMF" and "EMF": a coloured scroll box holding an image view of the same
// colour that decodes the file (a metafile drawn on a bitmap one pixel smaller than the picture in
// each direction; the WMF view in 256 colours) and scrolls over it from its top-left corner. Each
// Load records the view's facts (ViewedPCX ...); a file that cannot be shown gives the file access
// error, a view blank in the page's colour, and a record of 0 by 0 with the file's path and name.
#pragma once

#include <QWidget>

class QScrollArea;
class QStackedWidget;
class TImageEn;
class ViewerPane;
struct ViewedPictureRecord;

// What the four pages share.
class TViewPageImageEn : public QWidget
{
    Q_OBJECT
public:
    TViewPageImageEn(ViewerPane &pane, QStackedWidget *book, const char *name, const QColor &colour,
                     ViewedPictureRecord &record);

protected:
    void load(const QString &path, QScrollArea *scroll, TImageEn *view);
    QScrollArea *m_scroll = nullptr;
    TImageEn *m_view = nullptr;

private:
    ViewerPane &m_pane;
    QString m_name;
    ViewedPictureRecord &m_record;
};

class TViewPagePCX : public TViewPageImageEn
{
    Q_OBJECT
public:
    TViewPagePCX(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *ScrollPCX = nullptr;
    TImageEn *PicPcx = nullptr;
    void LoadPCX(const QString &path) { load(path, ScrollPCX, PicPcx); }
};

class TViewPageTIF : public TViewPageImageEn
{
    Q_OBJECT
public:
    TViewPageTIF(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *ScrollTIF = nullptr;
    TImageEn *picTIF = nullptr;
    void LoadTIF(const QString &path) { load(path, ScrollTIF, picTIF); }
};

class TViewPageWMF : public TViewPageImageEn
{
    Q_OBJECT
public:
    TViewPageWMF(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *ScrollWMF = nullptr;
    TImageEn *picWMF = nullptr;
    void LoadWMF(const QString &path) { load(path, ScrollWMF, picWMF); }
};

class TViewPageEMF : public TViewPageImageEn
{
    Q_OBJECT
public:
    TViewPageEMF(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *ScrollEMF = nullptr;
    TImageEn *picEMF = nullptr;
    void LoadEMF(const QString &path) { load(path, ScrollEMF, picEMF); }
};
