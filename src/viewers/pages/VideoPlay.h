// The video half of a video page: a media player drawing into the page's surface (an empty list
// control), and the replay at the end of each play while Loop is down. The replay waits for a
// 1 ms timer and lets pending events run both in the notice's handler and in the timer, so the
// notice has been fully handled before the next play is issued.
//
// Rules:
// - Only the Successful notice of the play under way ends a play and arms the replay (notices come
//   one per play, in order; those of plays a close or a new start interrupted are ignored).
// - A start that fails leaves no device open and the surface empty.
#pragma once

#include "platform/Result.h"

#include <QObject>

class QListWidget;
class QTimer;
class TMediaPlayer;
class ViewerPane;

class VideoPlay : public QObject
{
    Q_OBJECT
public:
    VideoPlay(ViewerPane &pane, TMediaPlayer *player, QListWidget *surface, QTimer *repeat);

    // Opens the file (a native path) and plays it; lengthMs is the device's length.
    platform::Status start(const QString &native, int &lengthMs);
    // Closes the device if one is open (the picture disappears) and disarms the replay.
    void close();
    // Empties the surface (what the last picture left on it).
    void clearSurface();
    // The player's notice, and the replay it arms.
    void notified();
    void repeatTick();

signals:
    // A play reached its end.
    void ended();

private:
    ViewerPane &m_pane;
    TMediaPlayer *m_player;
    QListWidget *m_surface;
    QTimer *m_repeat;
    int m_playsStarted = 0; // plays asked to notify their end, and notices received since
    int m_notices = 0;
};
