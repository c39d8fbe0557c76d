// Page "GIF": a white scroll box holding the GIF player (centred, looping, tiled while Tile is
// down). LoadGIF shows a file playing and records its facts in ViewedGIF; a file that cannot be
// shown gives the file access error, leaves the player hidden and stopped and ViewedGIF as it was.
#pragma once

#include <QWidget>

class QScrollArea;
class QStackedWidget;
class TGIFImage;
class ViewerPane;

class TViewPageGIF : public QWidget
{
    Q_OBJECT
public:
    TViewPageGIF(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *ScrollGIF = nullptr;
    TGIFImage *picGIF = nullptr;

    void LoadGIF(const QString &path);
    // Stop: the current frame stays.
    void StopGIF();

private:
    ViewerPane &m_pane;
};
