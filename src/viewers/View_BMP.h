// Page "BMP": a coloured scroll box holding the bitmap at its natural size from the top-left
// corner (scroll ranges equal to its size), or scaled to the page while Stretch is down. LoadBMP
// shows a file and records its facts in ViewedBMP; a file that cannot be shown gives the file access
// error and an empty page recorded 0 by 0.
#pragma once

#include <QWidget>

class QScrollArea;
class QStackedWidget;
class TPicture;
class ViewerPane;

class TViewPageBMP : public QWidget
{
    Q_OBJECT
public:
    TViewPageBMP(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *scrollBMP = nullptr;
    TPicture *picBMP = nullptr;

    void LoadBMP(const QString &path);

private:
    ViewerPane &m_pane;
};
