// Page "ANI": a tiled background and a 100 by 100 sunken frame holding the animated-cursor player.
// LoadANI shows a cursor animated and records the player's size in ViewedANI; a file that is not a
// cursor that can be read (missing, another extension, damaged) gives the file access error and
// leaves the player hidden and stopped.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QStackedWidget;
class TAniIcon;
class ViewerPane;

class TViewPageANI : public QWidget
{
    Q_OBJECT
public:
    TViewPageANI(ViewerPane &pane, QStackedWidget *book);
    QLabel *picBackgroundANI = nullptr;
    QFrame *pnlANI = nullptr;
    TAniIcon *picANI = nullptr;

    void LoadANI(const QString &path);
    // Stop: the cursor stays on its current step.
    void StopANI();

private:
    ViewerPane &m_pane;
};
