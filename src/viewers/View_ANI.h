// Page "ANI": a tiled background and a 100 by 100 sunken frame holding the animated-cursor player.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QStackedWidget;
class TAniIcon;

class TViewPageANI : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageANI(QStackedWidget *book);
    QLabel *picBackgroundANI = nullptr;
    QFrame *pnlANI = nullptr;
    TAniIcon *picANI = nullptr;
};
