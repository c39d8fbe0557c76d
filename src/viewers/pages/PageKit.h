// What the viewer pages are built from: a page of the notebook, a background picture filling it, a
// coloured scroll box, a picture control inside a scroll box, a hidden media player, a sunken frame.
#pragma once

#include <QColor>
#include <QObject>
#include <QScrollArea>

class QFrame;
class QLabel;
class QStackedWidget;
class QWidget;
class TMediaPlayer;

namespace pagekit {

// Makes page a page of the notebook named name (the name the viewers select it by, and what a screen
// reader says of it); it fills its background.
void becomePage(QWidget *page, QStackedWidget *book, const char *name);
// A picture that fills its page behind the other controls (stretched or tiled by the viewer); the
// page keeps it filling when it is resized.
QLabel *backgroundPicture(QWidget *page, const char *name);
// A scroll box filling page, in colour.
QScrollArea *scrollBox(QWidget *page, const char *name, const QColor &colour);
TMediaPlayer *mediaPlayer(QWidget *page, const char *name);
QFrame *sunkenFrame(QWidget *page, const char *name, int size = 100);

template <class Control> Control *pictureIn(QScrollArea *scroll, const char *name, bool fill)
{
    auto *pic = new Control;
    pic->setObjectName(name);
    scroll->setWidget(pic);
    scroll->setWidgetResizable(fill);
    return pic;
}

} // namespace pagekit
