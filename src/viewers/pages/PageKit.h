// What the viewer pages are built from: a page of the notebook, a background picture filling it, a
// coloured scroll box, a picture control inside a scroll box, a hidden media player, a sunken frame.
#pragma once

#include <QColor>
#include <QObject>
#include <QScrollArea>

class App;
class QAbstractScrollArea;
class QFrame;
class QLabel;
class QStackedWidget;
class QWidget;
class TMediaPlayer;
class TPicture;

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

// The native path of a drive path (empty when its letter is no drive: the load then fails).
QString nativePath(const App &app, const QString &drivePath);
// The name part of a drive path.
QString nameOf(const QString &drivePath);
// Lays a picture out in its scroll box: scaled to the box when stretched, else at its natural size
// from the top-left corner, so that the box scrolls over exactly the picture.
void showPictureIn(QScrollArea *scroll, TPicture *picture, bool stretched);
// Gives a control (and a scroll box's viewport) its page colour.
void colour(QWidget *control, const QColor &colour);
// Places a frame with its centre at a third of the notebook's width and height.
void centreAtAThird(QWidget *frame, QSize notebook);
// A drag with the left button over the scroll area's viewport pans a picture larger than it.
void panByDragging(QAbstractScrollArea *scroll);
// Shows the top-left corner of a scroll box.
void scrollToOrigin(QScrollArea *scroll);
// What every loader does around its work: the busy cursor on, and off again however it ends.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
    // Puts the cursor back now (before a message box).
    void release();

private:
    bool m_on = true;
};

template <class Control> Control *pictureIn(QScrollArea *scroll, const char *name, bool fill)
{
    auto *pic = new Control;
    pic->setObjectName(name);
    scroll->setWidget(pic);
    scroll->setWidgetResizable(fill);
    return pic;
}

} // namespace pagekit
