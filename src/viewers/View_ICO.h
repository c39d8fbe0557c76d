// Page "ICO": a tiled background and a 100 by 100 sunken frame holding the icon, centred. LoadICO
// shows a file and records its size in ViewedICO (0 by 0 when it cannot be shown).
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QStackedWidget;
class TPicture;
class ViewerPane;

class TViewPageICO : public QWidget
{
    Q_OBJECT
public:
    TViewPageICO(ViewerPane &pane, QStackedWidget *book);
    QLabel *picBackgroundICO = nullptr;
    QFrame *pnlICO = nullptr;
    TPicture *picICO = nullptr;

    void LoadICO(const QString &path);

private:
    ViewerPane &m_pane;
};
