// The two video pages. "AVI_WIN": a tiled background and the animation control (it sizes itself to
// the clip). "AVI_VIDEO": an empty list control filling the page, used only as the display surface
// of the hidden media player.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QStackedWidget;
class QTimer;
class TAVIControl;
class TMediaPlayer;

class TViewPageAVI_WIN : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageAVI_WIN(QStackedWidget *book);
    QLabel *picBackGroundAVI_WIN = nullptr;
    TAVIControl *AVIControlWIN = nullptr;
    // Restarts a clip at its end when Loop is down (1 ms, one shot).
    QTimer *timRepeatAVI = nullptr;
};

class TViewPageAVI_VIDEO : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageAVI_VIDEO(QStackedWidget *book);
    QListWidget *ListViewAVIPlayer = nullptr;
    TMediaPlayer *MediaPlayerAVI = nullptr;
};
